#pragma once

#include "Toolkit/TitleButton.h"

#include <optional>

// A button whose title colour the caller sets; until then the title keeps the default
// colour it was made with, and nothing is applied.
class ColoredTitleButton : public TitleButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ColoredTitleButton)

public:
    explicit ColoredTitleButton(QWidget* parent = nullptr) : TitleButton(parent) {}

    std::optional<QColor> titleColorSet() const { return m_pColor; }
    void setTitleColor(const QColor& color) {
        m_pColor = color;
        updateTitleColor(color);
    }

protected:
    void titleDidChange() override {
        if (m_pColor)
            updateTitleColor(*m_pColor);
    }

private:
    void updateTitleColor(const QColor& color) { applyTitleAttributes({.color = color}); }

    std::optional<QColor> m_pColor;
};
