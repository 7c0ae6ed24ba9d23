#pragma once

#include "Browser/Common/SharedTexts.h"

#include <QString>

// Every text the two-folder table, its header band, its menus and the two-circle view show:
// its own below, the ones it shares with the other results tables from SharedTexts.
namespace HeapFilesTexts {

using namespace SharedTexts;

inline const QString lastCopyTip = SharedTexts::lastCopyTip.arg(SharedTexts::fileWord);

// Menus.
inline const QString showInDuplicates = QStringLiteral("Show in Duplicates");

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
