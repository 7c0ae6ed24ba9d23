#pragma once

#include "Toolkit/Palette.h"
#include "Toolkit/TitleButton.h"

// The restore-defaults button of the preferences: the title in toolbarButtonsTextColor,
// lifted by 2 points.
class RestorePreferencesButton : public TitleButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RestorePreferencesButton)

public:
    explicit RestorePreferencesButton(QWidget* parent = nullptr) : TitleButton(parent) {
        setColor(Palette::toolbarButtonsTextColor());
    }

    void setColor(const QColor& color) {
        applyTitleAttributes({.color = color, .baselineOffset = 2.0});
    }

protected:
    void titleDidChange() override { setColor(Palette::toolbarButtonsTextColor()); }
};
