#include "Toolkit/MBCoverFlowScroller.h"

#include "Toolkit/CoverFlowGeometry.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/ImageStore.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {
QString dark(const char* name) {
    return DarkImageName::prependDarkPrefixIfNeeded(QString::fromLatin1(name));
}
} // namespace

MBCoverFlowScroller::MBCoverFlowScroller(QWidget* parent)
    : QWidget(parent), startPart(dark("scrolling0_start")), middlePart(dark("scrolling0_mid")),
      endPart(dark("scrolling0_end")), knobStartPart(dark("scrolling1_start")),
      knobMiddlePart(dark("scrolling1_mid")), knobEndPart(dark("scrolling1_end")) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void MBCoverFlowScroller::setNumberOfIncrements(unsigned increments) {
    _numberOfIncrements = increments;
    setKnobProportion(CoverFlowGeometry::knobProportion(increments));
}

long MBCoverFlowScroller::integerValue() const {
    return CoverFlowGeometry::integerValue(m_value, _numberOfIncrements);
}

void MBCoverFlowScroller::setIntegerValue(long step) {
    setDoubleValue(CoverFlowGeometry::valueForInteger(step, _numberOfIncrements));
}

void MBCoverFlowScroller::setDoubleValue(double value) {
    m_value = std::clamp(value, 0.0, 1.0);
    update();
}

void MBCoverFlowScroller::setKnobProportion(double proportion) {
    m_knobProportion = std::clamp(proportion, 0.0, 1.0);
    update();
}

QRectF MBCoverFlowScroller::knobRectForDisplay() const {
    // 6 points high and drawn from the top: the y-up and top-down rectangles coincide.
    return CoverFlowGeometry::knobRect(width(), m_value, m_knobProportion);
}

void MBCoverFlowScroller::paintEvent(QPaintEvent*) {
    // With one card or none there is nothing to scroll, and nothing is drawn.
    if (m_knobProportion >= 1.0)
        return;
    QPainter painter(this);
    // The whole scroller is redrawn every time, so the track always spans the full width.
    drawBackgroundInRect(painter, rect());
    drawKnob(painter);
}

void MBCoverFlowScroller::drawBackgroundInRect(QPainter& painter, const QRectF& rect) {
    const double h = CoverFlowGeometry::kScrollerHeight;
    ImageStore::draw(painter, startPart, QRectF(0, 0, h, h));
    ImageStore::draw(painter, middlePart, QRectF(h, 0, rect.width() - 2 * h, h));
    ImageStore::draw(painter, endPart, QRectF(rect.width() - h, 0, h, h));
}

void MBCoverFlowScroller::drawKnob(QPainter& painter) {
    const double h = CoverFlowGeometry::kScrollerHeight;
    const QRectF knob = knobRectForDisplay();
    const double kx = std::floor(knob.x());
    const double kw = std::floor(knob.width());
    ImageStore::draw(painter, knobStartPart, QRectF(kx, 0, h, h));
    ImageStore::draw(painter, knobMiddlePart, QRectF(kx + h, 0, kw - 2 * h, h));
    ImageStore::draw(painter, knobEndPart, QRectF(kx + kw - h, 0, h, h));
}

void MBCoverFlowScroller::moveKnobTo(double x) {
    const QRectF knob = knobRectForDisplay();
    const double room = width() - knob.width();
    setDoubleValue(room > 0 ? x / room : 0.0);
    m_hitPart = KnobPart;
    if (m_action)
        m_action(this);
}

void MBCoverFlowScroller::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_knobProportion >= 1.0) {
        m_hitPart = NoPart;
        return;
    }
    const QRectF knob = knobRectForDisplay();
    const double x = event->position().x();
    m_dragging = true;
    if (knob.left() <= x && x <= knob.right()) {
        m_grabOffset = x - knob.left();
        m_hitPart = KnobPart;
        if (m_action)
            m_action(this);
        return;
    }
    // A press on the track brings the knob's middle under the pointer.
    m_grabOffset = knob.width() / 2.0;
    moveKnobTo(x - m_grabOffset);
}

void MBCoverFlowScroller::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging)
        moveKnobTo(event->position().x() - m_grabOffset);
}

void MBCoverFlowScroller::mouseReleaseEvent(QMouseEvent*) {
    m_dragging = false;
}
