#pragma once

#include <QString>

// Every text the two-folder table, its header band, its menus and the two-circle view show.
namespace HeapFilesTexts {

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

inline const QString lastCopyTip =
    QStringLiteral("This file is the last unselected copy of duplicates. If you want to select "
                   "all copies change the option in Preferences.");
inline const QString lastCopiesFolderTip =
    QStringLiteral("This folder has the last unselected copies of duplicates. If you want to "
                   "select all copies change the option in Preferences.");
inline const QString deselectFromRemoval = QStringLiteral("Deselect from removal");
inline const QString selectForRemovalTip = QStringLiteral("Select for removal");
inline const QString openInDuplicateFolders = QStringLiteral("Open in Duplicate Folders");
// %1 the display name of the other folder of the heap.
inline const QString selectAllCommonTip =
    QStringLiteral("Select all duplicates common with \"%1\"");
inline const QString deselectAllCommonTip =
    QStringLiteral("Deselect all duplicates common with \"%1\"");

// Menus.
inline const QString deselect = QStringLiteral("Deselect");
inline const QString selectForRemoval = QStringLiteral("Select for Removal");
inline const QString showInDuplicates = QStringLiteral("Show in Duplicates");
inline const QString showInFileManager = QStringLiteral("Show in File Manager");
inline const QString properties = QStringLiteral("Properties");
inline const QString open = QStringLiteral("Open");
inline const QString openWith = QStringLiteral("Open With");
inline const QString defaultApplication = QStringLiteral("%1 (default)");
inline const QString other = QStringLiteral("Other...");
inline const QString selectAllCommonWith =
    QStringLiteral("Select All Duplicates Common with \"%1\"");
inline const QString deselectAllCommonWith =
    QStringLiteral("Deselect All Duplicates Common with \"%1\"");
inline const QString showInDuplicateFolders = QStringLiteral("Show in Duplicate Folders");
inline const QString selectAllCommonWithSimilar =
    QStringLiteral("Select All Duplicates Common with Similar Folders");
inline const QString addToSkipList = QStringLiteral("Add \"%1\" to Skip List");

// The unique-files header row.
inline const QString uniqueFilesTitle = QStringLiteral("Files found in only one of the folders");

// The two-circle view.
// %1 the count, %2 the size text.
inline const QString duplicatesUsed = QStringLiteral("%1 duplicates used %2");
// %1 the count, %2 "file" or "files".
inline const QString uniqueLine = QStringLiteral("%1 unique %2");
inline const QString files = QStringLiteral("files");
inline const QString show = QStringLiteral("Show");

} // namespace HeapFilesTexts
