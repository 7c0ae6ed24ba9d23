#include "Toolkit/Backgrounds.h"

#include "Toolkit/Palette.h"

#include <QLinearGradient>
#include <QPainter>

namespace {

QColor grey(int level, float alpha = 1.0f) {
    const float component = float(level) / 255.0f;
    return Palette::properColorWithRedGreenBlueAlpha(component, component, component, alpha);
}

// A y-up rectangle of a view |height| tall, as Qt places it.
QRectF flipped(qreal x, qreal y, qreal w, qreal h, qreal height) {
    return QRectF(x, height - y - h, w, h);
}

// Fills |rect| with a gradient whose |top| colour is at its upper edge.
void fillTopDown(QPainter& painter, const QRectF& rect, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.fillRect(rect, gradient);
}

} // namespace

void ViewWithCommonBackground::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), grey(70));
}

void GrayContainerView::setLayerBorder(const QColor& color, qreal width, qreal cornerRadius) {
    m_borderColor = color;
    m_borderWidth = width;
    m_cornerRadius = cornerRadius;
    update();
}

void GrayContainerView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal w = width();
    const qreal h = height();
    painter.fillRect(rect(), grey(79));
    fillTopDown(painter, flipped(0, h - 4, w, 4, h), grey(0, 0.25f), grey(0, 0.0f));
    if (m_borderWidth <= 0)
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(m_borderColor, m_borderWidth));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = m_borderWidth / 2;
    painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), m_cornerRadius,
                            m_cornerRadius);
}

void BottombarBackgroundView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal w = width();
    const qreal h = height();
    painter.fillRect(flipped(0, h - 1, w, 1, h), grey(133));
    painter.fillRect(flipped(0, 0, w, h - 1, h), Palette::toolbarTexturedBackgroundColor());
}

void ToolbarBackgroundView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal w = width();
    const qreal h = height();
    if (h > 25)
        painter.fillRect(flipped(0, 25, w, h - 25, h), Palette::toolbarTexturedBackgroundColor());
    painter.fillRect(flipped(0, 24, w, 1, h), grey(74));
    fillTopDown(painter, flipped(0, 0, w, 24, h), grey(87), grey(70));
}
