#pragma once

#include "Toolkit/Palette.h"
#include "Toolkit/TitleButton.h"

// A link-style button with an underlined light blue title; the cursor stays as it is.
// The colour is applied when made and again after every title change.
class BlueUnderlineTitleButton : public TitleButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BlueUnderlineTitleButton)

public:
    explicit BlueUnderlineTitleButton(QWidget* parent = nullptr) : TitleButton(parent) {
        setSelfColor(Palette::properColorWithRedGreenBlueAlpha(78 / 255.0f, 161 / 255.0f,
                                                               209 / 255.0f, 1.0f));
    }

    void setSelfColor(const QColor& color) {
        applyTitleAttributes({.color = color, .underline = true});
    }

protected:
    void titleDidChange() override {
        setSelfColor(Palette::properColorWithRedGreenBlueAlpha(78 / 255.0f, 161 / 255.0f,
                                                               209 / 255.0f, 1.0f));
    }
};
