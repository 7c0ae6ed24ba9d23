#pragma once

#include "Browser/Common/SharedTexts.h"

#include <QString>

// Every text the copies table and its menus show: its own below,
// the ones it shares with the other results tables from SharedTexts.
namespace CopiesTableTexts {

using namespace SharedTexts;

inline const QString lockedHeader = QStringLiteral("Duplicates in Duplicate Folders");
inline const QString similarHeader = QStringLiteral("Similar folders");
inline const QString showFolderInHeaps = QStringLiteral("Show Folder in Heaps");

// The command bar and its menu.
inline const QString autoSelect = QStringLiteral("Auto Select");
inline const QString menuAutoSelect = QStringLiteral("Select Automatically");
inline const QString menuNewest = QStringLiteral("Select Newest");
inline const QString menuOldest = QStringLiteral("Select Oldest");
inline const QString menuAny = QStringLiteral("Select All but One");
inline const QString menuDeselectAll = QStringLiteral("Deselect All");

// The row menu (%1: a folder's or the item's name).
inline const QString selectCopies = QStringLiteral("Select Copies");
inline const QString selectAllCopiesIn = QStringLiteral("Select All Copies in \"%1\"");
inline const QString deselectAllCopiesIn = QStringLiteral("Deselect All Copies in \"%1\"");
inline const QString keepAllCopiesIn = QStringLiteral("Keep All Copies in \"%1\"");
inline const QString addToAlwaysSelectList = QStringLiteral("Add \"%1\" to Always Select List");
inline const QString addToNeverSelectList = QStringLiteral("Add \"%1\" to Never Select List");

} // namespace CopiesTableTexts
