#pragma once

#include "Toolkit/TitleButton.h"

// The image button of the dark interface (window buttons, screen buttons, the check boxes
// of the results lists). While tracking is enabled it shows its hovered image as long as
// the pointer is over it and its main image otherwise; with tracking disabled it never
// swaps and hovered() stays false. disabled() makes it swallow presses, so no click is
// sent, while its look and the platform's enabled state stay as they are. Drags over it
// are swallowed too, so they never move the window.
//
// Hover follows the button's current bounds (also after a resize). When made, and again
// when shown, the image is brought in line with where the pointer is at that moment.
class ButtonWithTrackingArea : public TitleButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ButtonWithTrackingArea)

public:
    explicit ButtonWithTrackingArea(QWidget* parent = nullptr);

    QString mainImage() const { return m_mainImage; }
    void setMainImage(const QString& name) { m_mainImage = name; }
    QString hoveredImage() const { return m_hoveredImage; }
    void setHoveredImage(const QString& name) { m_hoveredImage = name; }

    bool trackingEnabled() const { return m_trackingEnabled; }
    void setTrackingEnabled(bool enabled) { m_trackingEnabled = enabled; }
    bool disabled() const { return m_disabled; }
    void setDisabled(bool disabled) { m_disabled = disabled; }
    bool hovered() const { return m_hovered; }

    // Title colour: toolbarButtonsTextColor in "HelveticaNeue" at the current size.
    void setSelfColor(const QColor& color);

    // What the platform sends when the pointer enters or leaves (also sent by the button
    // itself when it checks where the pointer is).
    void mouseEntered();
    void mouseExited();

protected:
    void titleDidChange() override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void createTrackingArea();

    bool m_trackingEnabled = false;
    bool m_disabled = false;
    bool m_hovered = false;
    QString m_mainImage;
    QString m_hoveredImage;
};
