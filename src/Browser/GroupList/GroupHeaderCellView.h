#pragma once

#include <QBrush>
#include <QRectF>
#include <QString>

class QPainter;

// The section header row of the group list: a grey band with a light line along its top, a
// dark one along its bottom, and the section title.
class GroupHeaderCellView final {
public:
    GroupHeaderCellView();
    // Paints the header over |bounds| (Qt coordinates).
    void draw(QPainter& painter, const QRectF& bounds, const QString& title) const;

private:
    QBrush m_body;
};
