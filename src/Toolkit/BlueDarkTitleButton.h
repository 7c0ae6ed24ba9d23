#pragma once

#include "Toolkit/Palette.h"
#include "Toolkit/TitleButton.h"

// A tab-like button: white and medium weight while selected, toolbarButtonsTextColor and
// regular weight otherwise; the title lifted by 1 point.
class BlueDarkTitleButton : public TitleButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BlueDarkTitleButton)

public:
    explicit BlueDarkTitleButton(QWidget* parent = nullptr) : TitleButton(parent) {
        setSelfColor();
    }

    bool selected() const { return m_selected; }
    // Stores the flag and re-applies the title's colour and weight at once.
    void setSelected(bool selected) {
        m_selected = selected;
        setSelfColor();
    }

protected:
    void titleDidChange() override { setSelfColor(); }

private:
    void setSelfColor() {
        applyTitleAttributes(
            {.color = m_selected ? Palette::commonTextColor() : Palette::toolbarButtonsTextColor(),
             .baselineOffset = 1.0,
             .fontName = m_selected ? QStringLiteral("HelveticaNeue-Medium")
                                    : QStringLiteral("HelveticaNeue")});
    }

    bool m_selected = false;
};
