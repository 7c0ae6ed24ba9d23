#pragma once

#include "Toolkit/Palette.h"
#include "Toolkit/TitleButton.h"

// Link-style button (the logo link of the About window): an underlined bright blue
// title and the pointing-hand cursor over its bounds.
// The colour is applied when made and again after every title change.
class DarkBlueUnderlineTitleButton : public TitleButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DarkBlueUnderlineTitleButton)

public:
    explicit DarkBlueUnderlineTitleButton(QWidget* parent = nullptr) : TitleButton(parent) {
        setCursor(Qt::PointingHandCursor);
        setSelfColor(Palette::properColorWithRedGreenBlueAlpha(0.0f, 156 / 255.0f, 1.0f, 1.0f));
    }

    void setSelfColor(const QColor& color) {
        applyTitleAttributes({.color = color, .underline = true});
    }

protected:
    void titleDidChange() override {
        setSelfColor(Palette::properColorWithRedGreenBlueAlpha(0.0f, 156 / 255.0f, 1.0f, 1.0f));
    }
};
