#include "ScreenButtonImages.h"

#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/DarkImageName.h"

void setScreenButtonImages(ButtonWithTrackingArea* button, const QString& base) {
    using DarkImageName::prependDarkPrefixIfNeeded;
    const QString image = prependDarkPrefixIfNeeded(base);
    button->setEnabled(true);
    button->setTrackingEnabled(true);
    button->setImagePosition(TitleButton::ImagePosition::ImageOnly);
    button->setMainImage(image);
    button->setImage(image);
    button->setHoveredImage(prependDarkPrefixIfNeeded(base + QStringLiteral("_hover")));
    button->setAlternateImage(prependDarkPrefixIfNeeded(base + QStringLiteral("_click")));
    button->sizeToFit();
}
