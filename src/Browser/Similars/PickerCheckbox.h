#pragma once

#include <QString>

#include <cstdint>

class ButtonWithTrackingArea;

// The one button of a row of the similar-folder lists: a whole-folder check box, the
// refused check box of a folder that holds only last copies, or the link of a folder that
// is itself a duplicate folder. Its look is derived from the row's counts every time the
// row is filled; nothing of it is remembered.
enum class PickerCheckboxAction { Toggle, LastCopy, DuplicateFolder };

struct PickerCheckboxLook {
    PickerCheckboxAction action = PickerCheckboxAction::Toggle;
    int state = 0;
    // Base picture names, before the dark prefix; an empty alternate shows none.
    QString image;
    QString alternateImage;
    QString toolTip;
    bool trackingEnabled = false;

    bool operator==(const PickerCheckboxLook&) const = default;
};

// What the folder list's look depends on.
struct FolderCheckboxFacts {
    bool duplicateFolder = false; // the folder is itself a duplicate folder
    uint64_t count = 0;           // n: the row's "count"
    uint64_t selected = 0;        // s: the row's "selectedCount"
    bool allow = false;           // selecting every copy of a group is allowed
    bool last = false;            // some group's unselected copies all lie in the folder
    uint64_t full = 0;            // groups of the folder with every copy selected
    bool selectable = false;      // a copy may still be selected without taking a last one
};

// What the similar-folder list's look depends on.
struct HeapCheckboxFacts {
    bool duplicateFolder = false; // the similar folder is itself a duplicate folder
    uint64_t count = 0;           // C
    uint64_t selected = 0;        // S
    bool allow = false;
    bool lastInSecond = false; // selecting the folder's copies would take a group's last copy
    bool full = false;         // one of its copies belongs to a wholly selected group
    bool removable = false;    // an unselected copy may be selected under the guard
    QString mainFolderName;    // display name of the folder chosen on the left
};

namespace PickerCheckbox {

PickerCheckboxLook folderLook(const FolderCheckboxFacts& facts);
PickerCheckboxLook heapLook(const HeapCheckboxFacts& facts);

// Sets |button| up as |look| says: pictures through the dark prefix, the toggle's
// state, hover tracking (the link swaps nothing but its main and hovered picture).
void apply(ButtonWithTrackingArea& button, const PickerCheckboxLook& look);

} // namespace PickerCheckbox
