#include "Toolkit/ColoredView.h"

#include <QPaintEvent>
#include <QPainter>

void ColoredView::setColor(const QColor& color) {
    m_pColor = color;
    update();
}

void ColoredView::paintEvent(QPaintEvent* event) {
    if (!m_pColor)
        return;
    QPainter painter(this);
    painter.fillRect(event->rect(), *m_pColor);
}
