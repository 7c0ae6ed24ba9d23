#pragma once

#include <QString>

class ButtonWithTrackingArea;

// Gives a screen's image button its pictures by a base name: the base as image and main
// image, "<base>_hover" when hovered and "<base>_click" while pressed, each in its dark
// form; hover tracking is turned on.
void setScreenButtonImages(ButtonWithTrackingArea* button, const QString& base);
