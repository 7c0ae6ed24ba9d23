#pragma once

// Which results list last fed the preview panel; it comes back as the "Type" of the
// panel's key presses, and only the list of that type reacts to them.
enum QuickLookSourceType : int {
    QuickLookSourceTypeNone = 0,
    QuickLookSourceTypeGroupList = 1,
    QuickLookSourceTypeCopiesTable = 2,
    QuickLookSourceTypeFolderPicker = 3,
    QuickLookSourceTypeHeapsPicker = 4,
    QuickLookSourceTypeTwoFolderTable = 5, // also the heap view
};
