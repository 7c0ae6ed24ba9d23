#pragma once

#include "Toolkit/Palette.h"
#include "Toolkit/TitleButton.h"

// A header button with a steel-blue title.
// The colour is applied when made and again after every title change.
class HeaderButton : public TitleButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HeaderButton)

public:
    explicit HeaderButton(QWidget* parent = nullptr) : TitleButton(parent) {
        setSelfColor(Palette::properColorWithRedGreenBlueAlpha(78 / 255.0f, 115 / 255.0f,
                                                               145 / 255.0f, 1.0f));
    }

    void setSelfColor(const QColor& color) { applyTitleAttributes({.color = color}); }

protected:
    void titleDidChange() override {
        setSelfColor(Palette::properColorWithRedGreenBlueAlpha(78 / 255.0f, 115 / 255.0f,
                                                               145 / 255.0f, 1.0f));
    }
};
