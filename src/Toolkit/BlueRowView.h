#pragma once

#include <QRectF>

class QPainter;

// The selection of a row drawn with the tiled picture "bgSelect1" (named in full).
class BlueRowView final {
public:
    BlueRowView() = delete;

    static void drawSelectionInRect(QPainter& painter, const QRectF& rect);
};
