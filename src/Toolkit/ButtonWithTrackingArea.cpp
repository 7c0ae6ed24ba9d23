#include "Toolkit/ButtonWithTrackingArea.h"

#include "Toolkit/Palette.h"

#include <QCursor>
#include <QMouseEvent>

ButtonWithTrackingArea::ButtonWithTrackingArea(QWidget* parent) : TitleButton(parent) {
    createTrackingArea();
    m_hovered = false;
    setSelfColor(Palette::toolbarButtonsTextColor());
}

void ButtonWithTrackingArea::setSelfColor(const QColor& color) {
    applyTitleAttributes({.color = color, .fontName = QStringLiteral("HelveticaNeue")});
}

void ButtonWithTrackingArea::titleDidChange() {
    setSelfColor(Palette::toolbarButtonsTextColor());
}

void ButtonWithTrackingArea::createTrackingArea() {
    if (rect().contains(mapFromGlobal(QCursor::pos())) && isVisible())
        mouseEntered();
    else
        mouseExited();
}

void ButtonWithTrackingArea::mouseEntered() {
    if (!m_trackingEnabled)
        return;
    setImage(m_hoveredImage);
    m_hovered = true;
}

void ButtonWithTrackingArea::mouseExited() {
    if (!m_trackingEnabled)
        return;
    setImage(m_mainImage);
    m_hovered = false;
}

void ButtonWithTrackingArea::enterEvent(QEnterEvent* event) {
    TitleButton::enterEvent(event);
    mouseEntered();
}

void ButtonWithTrackingArea::leaveEvent(QEvent* event) {
    TitleButton::leaveEvent(event);
    mouseExited();
}

void ButtonWithTrackingArea::showEvent(QShowEvent* event) {
    TitleButton::showEvent(event);
    createTrackingArea();
}

void ButtonWithTrackingArea::mousePressEvent(QMouseEvent* event) {
    if (m_disabled) {
        event->accept();
        return;
    }
    TitleButton::mousePressEvent(event);
}

void ButtonWithTrackingArea::mouseMoveEvent(QMouseEvent* event) {
    TitleButton::mouseMoveEvent(event);
    event->accept();
}
