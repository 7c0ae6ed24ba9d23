#pragma once

#include <QString>

// The texts that the copies table, the two-folder table and the pickers show alike, and
// those of the pieces they share (the allow-all-copies popup, the application chooser); each
// view's own texts file takes them in, so a shared wording changes here once.
namespace SharedTexts {

// The last-copy questions.
inline const QString attention = QStringLiteral("Attention");
inline const QString ok = QStringLiteral("OK");
inline const QString cancel = QStringLiteral("Cancel");
inline const QString doNotShowAgain = QStringLiteral("Do not show this message again");
// %1 "folder" or "file", %2 the display name.
inline const QString allCopiesWillBeSelected =
    QStringLiteral("All copies of the %1 \"%2\" will be selected for removal.");
inline const QString folderWord = QStringLiteral("folder");
inline const QString fileWord = QStringLiteral("file");
// %1 the folder's display name.
inline const QString lastCopiesInFolder =
    QStringLiteral("You are selecting the last copies of duplicates in the folder \"%1\" "
                   "including the original ones.");

// Check box tips.
inline const QString deselectFromRemoval = QStringLiteral("Deselect from removal");
inline const QString selectForRemovalTip = QStringLiteral("Select for removal");
// %1: "folder" or "file".
inline const QString lastCopyTip =
    QStringLiteral("This %1 is the last unselected copy of duplicates. If you want to select all "
                   "copies change the option in Preferences.");
inline const QString openInDuplicateFolders = QStringLiteral("Open in Duplicate Folders");
inline const QString lastCopiesFolderTip =
    QStringLiteral("This folder has the last unselected copies of duplicates. If you want to "
                   "select all copies change the option in Preferences.");
// %1 the display name of the other folder.
inline const QString selectAllCommonTip =
    QStringLiteral("Select all duplicates common with \"%1\"");
inline const QString deselectAllCommonTip =
    QStringLiteral("Deselect all duplicates common with \"%1\"");

// Row and folder menus.
inline const QString deselect = QStringLiteral("Deselect");
inline const QString selectForRemoval = QStringLiteral("Select for Removal");
// %1 the display name of the other folder.
inline const QString selectAllCommonWith =
    QStringLiteral("Select All Duplicates Common with \"%1\"");
inline const QString deselectAllCommonWith =
    QStringLiteral("Deselect All Duplicates Common with \"%1\"");
inline const QString selectAllCommonWithSimilar =
    QStringLiteral("Select All Duplicates Common with Similar Folders");
inline const QString showInDuplicateFolders = QStringLiteral("Show in Duplicate Folders");
inline const QString addToSkipList = QStringLiteral("Add \"%1\" to Skip List");
inline const QString showInFileManager = QStringLiteral("Show in File Manager");
inline const QString properties = QStringLiteral("Properties");
inline const QString open = QStringLiteral("Open");
inline const QString openWith = QStringLiteral("Open With");
inline const QString defaultApplication = QStringLiteral("%1 (default)");
inline const QString other = QStringLiteral("Other...");

// The "Other..." chooser of "Open With".
inline const QString openWithSelectedApplication = QStringLiteral("Open with selected application");

// The popup that allows selecting every copy.
inline const QString allowTitle = QStringLiteral("Last copies are protected");
inline const QString allowCheckbox = QStringLiteral("Allow selecting all copies of a group");
inline const QString close = QStringLiteral("Close");

} // namespace SharedTexts
