#include "Toolkit/TextContainerView.h"

#include "Toolkit/Palette.h"

#include <QPainter>
#include <QPainterPath>

TextContainerView::TextContainerView(QWidget* parent)
    : QWidget(parent), m_backgroundColor(Palette::coverFlowBackgroundColor()) {}

void TextContainerView::setBackgroundColor(const QColor& color) {
    m_backgroundColor = color;
    update();
}

void TextContainerView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath fill;
    fill.addRoundedRect(QRectF(rect()), 10, 10);
    painter.fillPath(fill, m_backgroundColor);
    painter.setPen(QPen(Palette::coverFlowBorderColor(), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(0.5, 0.5, width() - 1, height() - 1), 10, 10);
}
