#include "Toolkit/ScrollViewWithBorder.h"

#include "Toolkit/MyScroller.h"
#include "Toolkit/Palette.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

ScrollViewWithBorder::ScrollViewWithBorder(QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setViewportMargins(1, 1, 1, 1);
    setVerticalScrollBar(new MyScroller(Qt::Vertical, this));
    setHorizontalScrollBar(new MyScroller(Qt::Horizontal, this));
}

bool ScrollViewWithBorder::event(QEvent* event) {
    const bool handled = QScrollArea::event(event);
    if (event->type() == QEvent::Paint) {
        // The area's own paint event (the viewport paints separately) draws the ring
        // between the bounds and the bounds inset by 1 point.
        QPainter painter(this);
        QPainterPath ring;
        ring.setFillRule(Qt::OddEvenFill);
        ring.addRect(QRectF(rect()).adjusted(-1, -1, 1, 1));
        ring.addRect(QRectF(rect()).adjusted(1, 1, -1, -1));
        const float level = 113 / 255.0f;
        painter.fillPath(ring, Palette::properColorWithRedGreenBlueAlpha(level, level, level, 1));
    }
    return handled;
}
