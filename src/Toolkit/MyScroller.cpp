#include "Toolkit/MyScroller.h"

#include "Toolkit/Palette.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <typeinfo>

namespace {

constexpr qreal kKnobWidth = 5.0;
constexpr qreal kKnobRadius = 3.0;
constexpr qreal kMinimumKnob = 18.0;

QColor grey(int level) {
    const float component = float(level) / 255.0f;
    return Palette::properColorWithRedGreenBlueAlpha(component, component, component, 1);
}

} // namespace

MyScroller::MyScroller(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {}

bool MyScroller::isCompatibleWithOverlayScrollers() const {
    return typeid(*this) == typeid(MyScroller);
}

qreal MyScroller::scrollerWidthForControlSize(int) {
    return 11.0;
}

QSize MyScroller::sizeHint() const {
    const int thickness = int(scrollerWidthForControlSize());
    return orientation() == Qt::Vertical ? QSize(thickness, 40) : QSize(40, thickness);
}

qreal MyScroller::length() const {
    return orientation() == Qt::Vertical ? height() : width();
}

qreal MyScroller::along(const QPointF& point) const {
    return orientation() == Qt::Vertical ? point.y() : point.x();
}

QRectF MyScroller::knobRect() const {
    const qreal total = length();
    const qreal range = qreal(maximum()) - minimum();
    qreal knob = total;
    qreal start = 0;
    if (range > 0) {
        knob = std::clamp(total * pageStep() / (range + pageStep()), std::min(kMinimumKnob, total),
                          total);
        start = (total - knob) * (value() - minimum()) / range;
    }
    return orientation() == Qt::Vertical ? QRectF(0, start, width(), knob)
                                         : QRectF(start, 0, knob, height());
}

void MyScroller::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The painting is worked out for a vertical scroller; a horizontal one is the same
    // turned on its side.
    QRectF knob = knobRect();
    qreal thickness = width();
    qreal span = height();
    if (orientation() == Qt::Horizontal) {
        painter.translate(0, height());
        painter.rotate(-90);
        knob = QRectF(0, knobRect().x(), height(), knobRect().width());
        thickness = height();
        span = width();
    }
    painter.fillRect(QRectF(0, 0, thickness, span), grey(85));
    painter.fillRect(QRectF(0, 0, 1, span), grey(74));
    painter.fillRect(QRectF(thickness - 1, 0, 1, span), grey(70));
    if (maximum() <= minimum())
        return;
    const QRectF thin(knob.x() + (knob.width() - kKnobWidth) / 2, knob.y(), kKnobWidth,
                      knob.height());
    QPainterPath path;
    path.addRoundedRect(thin, kKnobRadius, kKnobRadius);
    painter.fillPath(
        path, Palette::properColorWithRedGreenBlueAlpha(35 / 255.0f, 31 / 255.0f, 32 / 255.0f, 1));
}

void MyScroller::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || maximum() <= minimum()) {
        event->ignore();
        return;
    }
    const QRectF knob = knobRect();
    const qreal at = along(event->position());
    const qreal knobStart = orientation() == Qt::Vertical ? knob.top() : knob.left();
    const qreal knobLength = orientation() == Qt::Vertical ? knob.height() : knob.width();
    if (at >= knobStart && at <= knobStart + knobLength) {
        m_dragging = true;
        m_grabOffset = at - knobStart;
        setSliderDown(true);
    } else {
        triggerAction(at < knobStart ? SliderPageStepSub : SliderPageStepAdd);
    }
    event->accept();
}

void MyScroller::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging) {
        event->ignore();
        return;
    }
    const QRectF knob = knobRect();
    const qreal knobLength = orientation() == Qt::Vertical ? knob.height() : knob.width();
    const qreal travel = length() - knobLength;
    if (travel > 0) {
        const qreal start = std::clamp(along(event->position()) - m_grabOffset, 0.0, travel);
        setSliderPosition(minimum() + int(std::lround(start / travel * (maximum() - minimum()))));
    }
    event->accept();
}

void MyScroller::mouseReleaseEvent(QMouseEvent* event) {
    if (m_dragging) {
        m_dragging = false;
        setSliderDown(false);
    }
    event->accept();
}
