#include "Toolkit/WhiteTitleButton.h"

#include "Toolkit/Palette.h"

#include <QMouseEvent>

WhiteTitleButton::WhiteTitleButton(QWidget* parent)
    : WhiteTitleButton(Palette::properColorWithRedGreenBlueAlpha(1, 1, 1, 1), parent) {}

WhiteTitleButton::WhiteTitleButton(const QColor& initialColor, QWidget* parent)
    : TitleButton(parent) {
    setColor(initialColor);
}

void WhiteTitleButton::setColor(const QColor& color) {
    m_color = color;
    applyTitleAttributes({.color = color, .baselineOffset = 1.0});
}

void WhiteTitleButton::mousePressEvent(QMouseEvent* event) {
    if (m_disabled) {
        event->accept();
        return;
    }
    TitleButton::mousePressEvent(event);
}

void WhiteTitleButton::mouseMoveEvent(QMouseEvent* event) {
    if (m_disabled) {
        event->accept();
        return;
    }
    TitleButton::mouseMoveEvent(event);
}

WhiteGrayTitleButton::WhiteGrayTitleButton(QWidget* parent)
    : WhiteTitleButton(
          Palette::properColorWithRedGreenBlueAlpha(215 / 255.0f, 216 / 255.0f, 221 / 255.0f, 1.0f),
          parent) {}
