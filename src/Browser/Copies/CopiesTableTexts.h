#pragma once

#include <QString>

// Every text the copies table, its menus and the allow-all-copies popup show.
namespace CopiesTableTexts {

inline const QString lockedHeader = QStringLiteral("Duplicates in Duplicate Folders");
inline const QString similarHeader = QStringLiteral("Similar folders");
inline const QString openInDuplicateFolders = QStringLiteral("Open in Duplicate Folders");
inline const QString showFolderInHeaps = QStringLiteral("Show Folder in Heaps");
inline const QString deselectFromRemoval = QStringLiteral("Deselect from removal");
inline const QString selectForRemovalTip = QStringLiteral("Select for removal");
// %1: "folder" or "file".
inline const QString lastCopyTip =
    QStringLiteral("This %1 is the last unselected copy of duplicates. If you want to select all "
                   "copies change the option in Preferences.");
inline const QString folderWord = QStringLiteral("folder");
inline const QString fileWord = QStringLiteral("file");

// The last-copy question.
inline const QString attention = QStringLiteral("Attention");
// %1: "folder" or "file"; %2: the display name.
inline const QString allCopiesWillBeSelected =
    QStringLiteral("All copies of the %1 \"%2\" will be selected for removal.");
inline const QString doNotShowAgain = QStringLiteral("Do not show this message again");
inline const QString ok = QStringLiteral("OK");
inline const QString cancel = QStringLiteral("Cancel");

// The command bar and its menu.
inline const QString autoSelect = QStringLiteral("Auto Select");
inline const QString menuAutoSelect = QStringLiteral("Select Automatically");
inline const QString menuNewest = QStringLiteral("Select Newest");
inline const QString menuOldest = QStringLiteral("Select Oldest");
inline const QString menuAny = QStringLiteral("Select All but One");
inline const QString menuDeselectAll = QStringLiteral("Deselect All");

// The row menu (%1: a folder's or the item's name).
inline const QString deselect = QStringLiteral("Deselect");
inline const QString selectForRemoval = QStringLiteral("Select for Removal");
inline const QString selectCopies = QStringLiteral("Select Copies");
inline const QString selectAllCopiesIn = QStringLiteral("Select All Copies in \"%1\"");
inline const QString deselectAllCopiesIn = QStringLiteral("Deselect All Copies in \"%1\"");
inline const QString keepAllCopiesIn = QStringLiteral("Keep All Copies in \"%1\"");
inline const QString addToSkipList = QStringLiteral("Add \"%1\" to Skip List");
inline const QString addToAlwaysSelectList = QStringLiteral("Add \"%1\" to Always Select List");
inline const QString addToNeverSelectList = QStringLiteral("Add \"%1\" to Never Select List");
inline const QString showInFileManager = QStringLiteral("Show in File Manager");
inline const QString properties = QStringLiteral("Properties");
inline const QString open = QStringLiteral("Open");
inline const QString openWith = QStringLiteral("Open With");
inline const QString defaultApplication = QStringLiteral("%1 (default)");
inline const QString other = QStringLiteral("Other...");
inline const QString openWithSelectedApplication = QStringLiteral("Open with selected application");

// The allow-all-copies popup.
inline const QString allowTitle = QStringLiteral("Last copies are protected");
inline const QString allowCheckbox = QStringLiteral("Allow selecting all copies of a group");
inline const QString close = QStringLiteral("Close");

} // namespace CopiesTableTexts
