#pragma once

#include <QPoint>
#include <QRectF>

#include <optional>

class QAbstractItemView;
class QEvent;
class QObject;

// A mouse press on a results table's viewport over one of its rows, as its cells hit-test it.
struct RowPress {
    QPoint position; // viewport coordinates
    Qt::MouseButton button = Qt::NoButton;
    Qt::KeyboardModifiers modifiers;
    int row = -1;
    QRectF bounds; // the row in viewport coordinates

    // |event| sent to |watched| as a press over a row of |list|; nothing for any other event,
    // another object, or a press below the last row.
    static std::optional<RowPress> of(QAbstractItemView* list, QObject* watched, QEvent* event);
};
