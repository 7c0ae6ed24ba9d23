#pragma once

#include "Toolkit/TitleButton.h"

// The category buttons of the results toolbar, the chart switches and the remove, select,
// deselect and cancel buttons of the results browser: the title in a colour of the
// caller's choice (white until setColor()), lifted by 1 point. disabled() swallows presses
// and drags, so no click is sent, while the platform's enabled state stays untouched.
class WhiteTitleButton : public TitleButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WhiteTitleButton)

public:
    explicit WhiteTitleButton(QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    // Stores the colour and re-applies the title in it.
    void setColor(const QColor& color);
    bool disabled() const { return m_disabled; }
    void setDisabled(bool disabled) { m_disabled = disabled; }

protected:
    // For the grey twin, which starts in another colour.
    WhiteTitleButton(const QColor& initialColor, QWidget* parent);

    void titleDidChange() override { setColor(m_color); }
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QColor m_color;
    bool m_disabled = false;
};

// WhiteTitleButton's twin whose title starts in light grey (215, 216, 221).
class WhiteGrayTitleButton : public WhiteTitleButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WhiteGrayTitleButton)

public:
    explicit WhiteGrayTitleButton(QWidget* parent = nullptr);
};
