#pragma once

#include <QString>

#include <array>

class DuplicateItem;
class DuplicatesHeap;

// The looks of the two-folder table's check boxes under the last-copy rules: one per side of a
// pair row, one per folder in the header band. Worked out from the model at every reload;
// pure but for reading the model. Main thread.
namespace HeapCheckboxRules {

enum class Action {
    Press,        // selects or deselects
    Disabled,     // a last copy that may not be selected: the allow-all popup
    LockedFile,   // a copy in a duplicate folder: jump to it in the folders category
    LockedFolder, // a folder that is itself a duplicate
};

struct Look {
    QString image;
    QString alternateImage;
    bool state = false;
    QString tooltip;
    Action action = Action::Press;
    bool hoverSwap = false;
    // The base name of the picture on screen: the alternate one while on, when there is one.
    QString shownImage() const {
        return state && !alternateImage.isEmpty() ? alternateImage : image;
    }
    friend bool operator==(const Look&, const Look&) = default;
};

// The copy is not selected and is its group's last unselected copy.
bool isLastUnselectedCopy(const DuplicateItem& copy);

Look rowCheckboxLook(const DuplicateItem& copy, bool allowRemovingAll);

// The header check box of the heap's main folder (|mainFolder|) or second folder.
Look headerCheckboxLook(const DuplicatesHeap& heap, bool mainFolder, bool allowRemovingAll);
// Both at once, [0] the main folder's, from one pass over the heap's copies.
std::array<Look, 2> headerCheckboxLooks(const DuplicatesHeap& heap, bool allowRemovingAll);

} // namespace HeapCheckboxRules
