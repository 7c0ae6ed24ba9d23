#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// The application's user settings, kept in the standard user defaults. Nothing is
// registered at start-up: every getter answers the setting's default while its key is
// absent (only absence falls back: a stored NO or a stored empty list is answered as
// stored). Every setter writes at once and syncs the file. Getters and setters are safe
// from any thread; the store itself keeps no state.
namespace Settings {

// The keys, exactly as they are stored. The three overlay keys really are spelt "Sceen".
namespace Key {
inline constexpr char sortType[] = "KEY_sortType";
inline constexpr char sortDirection[] = "KEY_sortDirection";
inline constexpr char cleanedFileSize[] = "KEY_cleanedFileSize";
inline constexpr char cleanedFileCount[] = "KEY_cleanedFileCount";
inline constexpr char defineMinimalDuplicatesFileSizeAutomatically[] =
    "us:defineMinimalDuplicatesFileSizeAutomatically";
inline constexpr char minDuplicatesFileSize[] = "us:minDuplicatesFileSize";
inline constexpr char hashBlockSize[] = "s:hashBlockSize";
inline constexpr char showShortFilePath[] = "KEY_showShortFilePath";
inline constexpr char scanInHiddenFolders[] = "KEY_scanInHiddenFolders";
inline constexpr char forceFullHashCalculation[] = "KEY_forceFullHashCalculation";
inline constexpr char showUserDirectoryAtFirstTime[] = "KEY_showUserDirectoryAtFirstTime";
inline constexpr char excludeFolders[] = "KEY_exclude_folders";
inline constexpr char excludeFiles[] = "KEY_exclude_files";
inline constexpr char excludeExtensions[] = "KEY_exclude_extensions";
inline constexpr char autoAlwaysSelectFolders[] = "KEY_autoAlwaysSelect_folders";
inline constexpr char autoNeverSelectFolders[] = "KEY_autoNeverSelect_folders";
inline constexpr char moveCleanedDuplicatesToTheTrashCan[] =
    "KEY_moveCleanedDuplicatesToTheTrashCan";
inline constexpr char allowRemovingAllDuplicateCopies[] = "KEY_allowRemovingAllDuplicateCopies";
inline constexpr char removeEmptyFolders[] = "KEY_removeEmptyFolders";
inline constexpr char showRemoveLastInCategoriesMessage[] = "KEY_showRemoveLastInCategoriesMessage";
inline constexpr char showRemoveLastInHeapsMessage[] = "KEY_showRemoveLastInHeapsMessage";
inline constexpr char showNewScanMessage[] = "KEY_showNewScanMessage";
inline constexpr char showRemovePermanentlyItemsOnRemoteDisksMessage[] =
    "KEY_showRemovePermanentlyItemsOnRemoteDisksMessage";
inline constexpr char showRemovePermanentlyMessage[] = "KEY_showRemovePermanentlyMessage";
inline constexpr char showRestartScanMessage[] = "KEY_showRestartScanMessage";
inline constexpr char lastTenFolders[] = "KEY_last_ten_folders";
inline constexpr char showOverlayOverviewScreen[] = "KEY_showOverlayOverviewSceen";
inline constexpr char showOverlayCategoryScreen[] = "KEY_showOverlayCategorySceen";
inline constexpr char showOverlaySimilarsScreen[] = "KEY_showOverlaySimilarsSceen";
inline constexpr char welcomeScreenAppearanceCount[] = "KEY_welcomeScreenAppearanceCount";
} // namespace Key

// Sort key of every result list.
enum SortType : int {
    SortTypeSize = 0,
    SortTypeTotalSize = 1,
    SortTypeType = 2,
    SortTypeName = 3,
    SortTypeCount = 4,
    SortTypeSelected = 5,
    SortTypePath = 6,
};

enum SortDirection : int {
    SortDirectionAscending = 0,
    SortDirectionDescending = 1,
};

// Defaults that other parts compare against.
inline constexpr std::uint64_t kDefaultMinDuplicatesFileSize = 0x100000;
inline constexpr std::uint64_t kDefaultHashBlockSize = 8192;
// A stored block length outside this range reads as the default: 0 would make every
// same-size file look equal, a huge one would read whole files into memory three times.
inline constexpr std::uint64_t kMinHashBlockSize = 4096;
inline constexpr std::uint64_t kMaxHashBlockSize = 64ull * 1024 * 1024;

// ---- Generic typed reads and writes. A stored value that cannot be read as the asked
// type (an edited file) reads as the default.
std::uint64_t getUnsignedLongLongValueForKeyWithDefaultValue(const QString& key,
                                                             std::uint64_t defaultValue);
void saveUnsignedLongLongValueForKey(std::uint64_t value, const QString& key);
bool getBoolValueForKeyWithDefaultValue(const QString& key, bool defaultValue);
void saveBoolValueForKey(bool value, const QString& key);
// A stored empty list answers empty, not the default.
QStringList getArrayValueForKeyWithDefaultValue(const QString& key,
                                                const QStringList& defaultValue);
// Stores the list exactly as given: no validation, no sorting, doubles kept.
void saveArrayValueForKey(const QStringList& value, const QString& key);

// ---- Default lists, built anew on every call, with the running user's home folder
// filled in.
QStringList createDefaultExcludeFoldersArray();
QStringList createDefaultExcludeFilesArray();
QStringList createDefaultExcludeExtensionsArray();
// The always-select folders.
QStringList createDefaultAutoSelectFoldersArray();
QStringList createDefaultNeverSelectFoldersArray();

// ---- The settings.
SortType sortType();
void setSortType(SortType value);
SortDirection sortDirection();
void setSortDirection(SortDirection value);

std::uint64_t cleanedFileSize();
void setCleanedFileSize(std::uint64_t value);
std::uint64_t cleanedFileCount();
void setCleanedFileCount(std::uint64_t value);

bool defineMinimalDuplicatesFileSizeAutomatically();
void setDefineMinimalDuplicatesFileSizeAutomatically(bool value);
std::uint64_t minDuplicatesFileSize();
void setMinDuplicatesFileSize(std::uint64_t value);
// Piece length of partial content digests; always within [kMinHashBlockSize,
// kMaxHashBlockSize].
std::uint64_t hashBlockSize();
void setHashBlockSize(std::uint64_t value);

bool showShortFilePath();
void setShowShortFilePath(bool value);
bool scanInHiddenFolders();
void setScanInHiddenFolders(bool value);
bool forceFullHashCalculation();
void setForceFullHashCalculation(bool value);
bool showUserDirectoryAtFirstTime();
void setShowUserDirectoryAtFirstTime(bool value);

QStringList excludeFolders();
void setExcludeFolders(const QStringList& value);
QStringList excludeFiles();
void setExcludeFiles(const QStringList& value);
QStringList excludeExtensions();
void setExcludeExtensions(const QStringList& value);
QStringList autoAlwaysSelectFolders();
void setAutoAlwaysSelectFolders(const QStringList& value);
QStringList autoNeverSelectFolders();
void setAutoNeverSelectFolders(const QStringList& value);

bool moveCleanedDuplicatesToTheTrashCan();
void setMoveCleanedDuplicatesToTheTrashCan(bool value);
bool allowRemovingAllDuplicateCopies();
void setAllowRemovingAllDuplicateCopies(bool value);
bool removeEmptyFolders();
void setRemoveEmptyFolders(bool value);
bool showRemoveLastInCategoriesMessage();
void setShowRemoveLastInCategoriesMessage(bool value);
bool showRemoveLastInHeapsMessage();
void setShowRemoveLastInHeapsMessage(bool value);
bool showNewScanMessage();
void setShowNewScanMessage(bool value);
bool showRemovePermanentlyItemsOnRemoteDisksMessage();
void setShowRemovePermanentlyItemsOnRemoteDisksMessage(bool value);
bool showRemovePermanentlyMessage();
void setShowRemovePermanentlyMessage(bool value);
bool showRestartScanMessage();
void setShowRestartScanMessage(bool value);

// Recently chosen folders, newest first; empty by default.
QStringList lastTenFolders();
void setLastTenFolders(const QStringList& value);

// True while the help overlay of that screen has not been shown yet.
bool showOverlayOverviewScreen();
void setShowOverlayOverviewScreen(bool value);
bool showOverlayCategoryScreen();
void setShowOverlayCategoryScreen(bool value);
bool showOverlaySimilarsScreen();
void setShowOverlaySimilarsScreen(bool value);

std::uint64_t welcomeScreenAppearanceCount();
void setWelcomeScreenAppearanceCount(std::uint64_t value);

} // namespace Settings
