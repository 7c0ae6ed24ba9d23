#pragma once

#include "Toolkit/Palette.h"
#include "Toolkit/TitleButton.h"

// A button with a green title.
// The colour is applied when made and again after every title change.
class GreenButton : public TitleButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GreenButton)

public:
    explicit GreenButton(QWidget* parent = nullptr) : TitleButton(parent) {
        setSelfColor(Palette::properColorWithRedGreenBlueAlpha(35 / 255.0f, 136 / 255.0f,
                                                               46 / 255.0f, 1.0f));
    }

    void setSelfColor(const QColor& color) { applyTitleAttributes({.color = color}); }

protected:
    void titleDidChange() override {
        setSelfColor(Palette::properColorWithRedGreenBlueAlpha(35 / 255.0f, 136 / 255.0f,
                                                               46 / 255.0f, 1.0f));
    }
};
