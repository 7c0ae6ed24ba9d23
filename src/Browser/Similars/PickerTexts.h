#pragma once

#include "Browser/Common/SharedTexts.h"

#include <QString>

// The texts of the folder list and the similar-folder list of the similar-folders view.
// "%1"... stand where the texts take values, in the order the texts name them.
namespace PickerTexts {

using namespace SharedTexts;

// Rows.
inline const QString countLabel = QStringLiteral("%1 duplicates of %2");
inline const QString duplicate = QStringLiteral("duplicate");
inline const QString duplicates = QStringLiteral("duplicates");
inline const QString thatIs = QStringLiteral("that is");
inline const QString thoseAre = QStringLiteral("those are");
inline const QString noFolderFound = QStringLiteral("No folders found");
inline const QString searchPlaceholder = QStringLiteral("Search");

// Folder list tooltips.
inline const QString folderSizeTip = QStringLiteral("%1 of common duplicates with similar folders");
inline const QString folderCountTip = QStringLiteral("%1 common duplicates with similar folders");
inline const QString folderSelectedTip = QStringLiteral("%1 %2 selected in \"%3\"");
inline const QString folderSimilarSelectedTip = QStringLiteral("%1 %2 selected in similar folders");

// Similar-folder list tooltips.
inline const QString heapSizeTip = QStringLiteral("%1 of common duplicates with \"%2\"");
inline const QString heapCountTip = QStringLiteral("%1 common duplicates with \"%2\"");
inline const QString heapSelectedTip =
    QStringLiteral("%1 %2 selected in \"%3\" %4 common with similar folder \"%5\"");
inline const QString heapSimilarSelectedTip =
    QStringLiteral("%1 common %2 selected in similar folder \"%3\"");

// Check boxes.
inline const QString& lastCopiesTip = SharedTexts::lastCopiesFolderTip;
inline const QString folderSelectTip =
    QStringLiteral("Select all duplicates common with similar folders");
inline const QString folderDeselectTip =
    QStringLiteral("Deselect all duplicates common with similar folders");
inline const QString& heapSelectTip = SharedTexts::selectAllCommonTip;
inline const QString& heapDeselectTip = SharedTexts::deselectAllCommonTip;

// The last-copies question.
inline const QString& lastCopiesQuestion = SharedTexts::lastCopiesInFolder;

// Context menus.
inline const QString& folderSelectAll = SharedTexts::selectAllCommonWithSimilar;
inline const QString folderDeselectAll =
    QStringLiteral("Deselect All Duplicates Common with Similar Folders");
inline const QString& heapSelectAll = SharedTexts::selectAllCommonWith;
inline const QString& heapDeselectAll = SharedTexts::deselectAllCommonWith;
inline const QString showSimilarFolders = QStringLiteral("Show Similar Folders for \"%1\"");

} // namespace PickerTexts
