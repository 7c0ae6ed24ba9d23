#include "Browser/Similars/PickerCheckbox.h"

#include "Browser/Similars/PickerTexts.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/DarkImageName.h"

namespace {

const QString kOff = QStringLiteral("checkbox0");
const QString kOn = QStringLiteral("checkbox1");
const QString kMixed = QStringLiteral("checkbox-");
const QString kOffRed = QStringLiteral("checkbox0_red");
const QString kOnRed = QStringLiteral("checkbox1_red");
const QString kMixedRed = QStringLiteral("checkbox-_red");
const QString kLastCopy = QStringLiteral("checkbox_LastCopy");
const QString kLink = QStringLiteral("link_folders");

PickerCheckboxLook linkLook() {
    PickerCheckboxLook look;
    look.action = PickerCheckboxAction::DuplicateFolder;
    look.image = kLink;
    look.toolTip = PickerTexts::openInDuplicateFolders;
    look.trackingEnabled = true;
    return look;
}

PickerCheckboxLook lastCopyLook() {
    PickerCheckboxLook look;
    look.action = PickerCheckboxAction::LastCopy;
    look.image = kLastCopy;
    look.toolTip = PickerTexts::lastCopiesTip;
    return look;
}

PickerCheckboxLook plainLook(int state, const QString& image, const QString& alternate) {
    PickerCheckboxLook look;
    look.state = state;
    look.image = image;
    look.alternateImage = alternate;
    return look;
}

} // namespace

namespace PickerCheckbox {

PickerCheckboxLook folderLook(const FolderCheckboxFacts& f) {
    if (f.duplicateFolder)
        return linkLook();
    const bool none = f.selected == 0;
    const bool partial = !none && f.selected < f.count;
    PickerCheckboxLook look;
    if (f.allow) {
        if (none)
            look = f.last ? plainLook(0, kOffRed, kOnRed) : plainLook(0, kOff, kOn);
        else if (partial)
            look = f.full > 0 ? plainLook(1, kOffRed, kMixedRed) : plainLook(1, kOff, kMixed);
        else
            look = f.full > 0 ? plainLook(1, kOffRed, kOnRed) : plainLook(1, kOff, kOn);
    } else {
        if (none)
            look = f.selectable ? plainLook(0, kOff, kOn) : lastCopyLook();
        else
            look = plainLook(1, kOff, partial ? kMixed : kOn);
    }
    if (look.action == PickerCheckboxAction::Toggle)
        look.toolTip = look.state ? PickerTexts::folderDeselectTip : PickerTexts::folderSelectTip;
    return look;
}

PickerCheckboxLook heapLook(const HeapCheckboxFacts& f) {
    if (f.duplicateFolder)
        return linkLook();
    const bool none = f.selected == 0;
    const bool partial = !none && f.selected < f.count;
    PickerCheckboxLook look;
    if (f.allow) {
        if (none)
            look = f.lastInSecond ? plainLook(0, kOffRed, kOnRed) : plainLook(0, kOff, kOn);
        else if (partial)
            look = f.full ? plainLook(1, kOffRed, kMixedRed) : plainLook(1, kOff, kMixed);
        else
            look = f.full ? plainLook(1, kOffRed, kOnRed) : plainLook(1, kOff, kOn);
    } else {
        if (none)
            look = f.removable ? plainLook(0, kOff, kOn) : lastCopyLook();
        else
            look = plainLook(1, kOff, partial ? kMixed : kOn);
    }
    if (look.action == PickerCheckboxAction::Toggle)
        look.toolTip = (look.state ? PickerTexts::heapDeselectTip : PickerTexts::heapSelectTip)
                           .arg(f.mainFolderName);
    return look;
}

void apply(ButtonWithTrackingArea& button, const PickerCheckboxLook& look) {
    const auto dark = [](const QString& name) {
        return name.isEmpty() ? QString() : DarkImageName::prependDarkPrefixIfNeeded(name);
    };
    // Only the check box toggles; the link and the refused box are plain presses, so a
    // click never shows them in another state before the press is answered.
    const bool toggle = look.action == PickerCheckboxAction::Toggle;
    button.setButtonType(toggle ? TitleButton::ButtonType::Toggle
                                : TitleButton::ButtonType::Momentary);
    button.setCheckable(toggle);
    button.setState(toggle ? look.state : 0);
    button.setTrackingEnabled(false);
    button.setImage(dark(look.image));
    button.setAlternateImage(dark(look.alternateImage));
    button.setMainImage(dark(look.image));
    button.setHoveredImage(dark(look.image));
    button.setTrackingEnabled(look.trackingEnabled);
    button.setDisabled(false);
    button.setEnabled(true);
    button.setToolTip(look.toolTip);
}

} // namespace PickerCheckbox
