#pragma once

#include "Toolkit/Palette.h"
#include "Toolkit/TitleButton.h"

// Check boxes of the preferences and of the results popups: the title in
// commonTextColor, lifted by 1 point. Made as a check box (ButtonType::Switch).
// The colour is applied when made and again after every title change.
class CommonBlackButton : public TitleButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CommonBlackButton)

public:
    explicit CommonBlackButton(QWidget* parent = nullptr) : TitleButton(parent) {
        setButtonType(ButtonType::Switch);
        setSelfColor(Palette::commonTextColor());
    }

    void setSelfColor(const QColor& color) {
        applyTitleAttributes({.color = color, .baselineOffset = 1.0});
    }

protected:
    void titleDidChange() override { setSelfColor(Palette::commonTextColor()); }
};
