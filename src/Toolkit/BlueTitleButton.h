#pragma once

#include "Toolkit/Palette.h"
#include "Toolkit/TitleButton.h"

// Sort buttons of the results toolbar and the selected-files panel: the title in
// toolbarSizeTextColor.
// The colour is applied when made and again after every title change.
class BlueTitleButton : public TitleButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BlueTitleButton)

public:
    explicit BlueTitleButton(QWidget* parent = nullptr) : TitleButton(parent) {
        setSelfColor(Palette::toolbarSizeTextColor());
    }

    void setSelfColor(const QColor& color) { applyTitleAttributes({.color = color}); }

protected:
    void titleDidChange() override { setSelfColor(Palette::toolbarSizeTextColor()); }
};
