#pragma once

#include "Toolkit/Palette.h"
#include "Toolkit/TitleButton.h"

// The underlined link of the no-duplicates screen, in noDuplicatesTextColor, with the
// pointing-hand cursor over its bounds.
// The colour is applied when made and again after every title change.
class NoDupsUnderlineButton : public TitleButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NoDupsUnderlineButton)

public:
    explicit NoDupsUnderlineButton(QWidget* parent = nullptr) : TitleButton(parent) {
        setCursor(Qt::PointingHandCursor);
        setSelfColor(Palette::noDuplicatesTextColor());
    }

    void setSelfColor(const QColor& color) {
        applyTitleAttributes({.color = color, .underline = true});
    }

protected:
    void titleDidChange() override { setSelfColor(Palette::noDuplicatesTextColor()); }
};
