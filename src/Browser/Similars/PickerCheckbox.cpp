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

// Both lists' boxes follow one table: |redWhenNone| is the folder's last-copies fact, |full|
// whether a group of its copies is wholly selected, |selectable| whether a copy may still
// be selected under the guard. Tool tips are left to the list.
PickerCheckboxLook lookOf(bool duplicateFolder, uint64_t count, uint64_t selected, bool allow,
                          bool redWhenNone, bool full, bool selectable) {
    if (duplicateFolder)
        return linkLook();
    const bool none = selected == 0;
    const bool partial = !none && selected < count;
    if (allow) {
        if (none)
            return redWhenNone ? plainLook(0, kOffRed, kOnRed) : plainLook(0, kOff, kOn);
        if (partial)
            return full ? plainLook(1, kOffRed, kMixedRed) : plainLook(1, kOff, kMixed);
        return full ? plainLook(1, kOffRed, kOnRed) : plainLook(1, kOff, kOn);
    }
    if (none)
        return selectable ? plainLook(0, kOff, kOn) : lastCopyLook();
    return plainLook(1, kOff, partial ? kMixed : kOn);
}

} // namespace

namespace PickerCheckbox {

PickerCheckboxLook folderLook(const FolderCheckboxFacts& f) {
    PickerCheckboxLook look =
        lookOf(f.duplicateFolder, f.count, f.selected, f.allow, f.last, f.full > 0, f.selectable);
    if (look.action == PickerCheckboxAction::Toggle)
        look.toolTip = look.state ? PickerTexts::folderDeselectTip : PickerTexts::folderSelectTip;
    return look;
}

PickerCheckboxLook heapLook(const HeapCheckboxFacts& f) {
    PickerCheckboxLook look = lookOf(f.duplicateFolder, f.count, f.selected, f.allow,
                                     f.lastInSecond, f.full, f.removable);
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
