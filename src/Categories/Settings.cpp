#include "Settings.h"

#include "Platform/UserDefaults.h"

#include <QDir>
#include <QVariant>

#include <optional>

namespace Settings {

namespace {

UserDefaults& defaults() {
    return UserDefaults::standardUserDefaults();
}

// Stored values come back either as written (same session) or as the text of the INI file
// (after a reload), so every read accepts both.
std::optional<std::uint64_t> toUnsigned(const QVariant& value) {
    if (!value.isValid())
        return std::nullopt;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? 1 : 0;
    bool ok = false;
    const qulonglong number = value.toString().trimmed().toULongLong(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

std::optional<bool> toBool(const QVariant& value) {
    if (!value.isValid())
        return std::nullopt;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.toString().trimmed().toLower();
    if (text == u"true")
        return true;
    if (text == u"false")
        return false;
    bool ok = false;
    const qlonglong number = text.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return number != 0;
}

std::optional<int> toInt(const QVariant& value) {
    if (!value.isValid())
        return std::nullopt;
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

int getIntValueForKeyWithDefaultValue(const QString& key, int defaultValue) {
    return toInt(defaults().objectForKey(key)).value_or(defaultValue);
}

void saveIntValueForKey(int value, const QString& key) {
    defaults().setObject(key, value);
}

// "/Users/<name>" of the original defaults is the home folder here.
QStringList inHome(std::initializer_list<const char*> relativePaths) {
    const QString home = QDir::homePath();
    QStringList list;
    for (const char* path : relativePaths)
        list.append(QDir::cleanPath(home + QLatin1Char('/') + QLatin1String(path)));
    return list;
}

QString key(const char* name) {
    return QString::fromLatin1(name);
}

} // namespace

std::uint64_t getUnsignedLongLongValueForKeyWithDefaultValue(const QString& key,
                                                             std::uint64_t defaultValue) {
    return toUnsigned(defaults().objectForKey(key)).value_or(defaultValue);
}

void saveUnsignedLongLongValueForKey(std::uint64_t value, const QString& key) {
    defaults().setObject(key, QVariant::fromValue<qulonglong>(value));
}

bool getBoolValueForKeyWithDefaultValue(const QString& key, bool defaultValue) {
    return toBool(defaults().objectForKey(key)).value_or(defaultValue);
}

void saveBoolValueForKey(bool value, const QString& key) {
    defaults().setObject(key, value);
}

QStringList getArrayValueForKeyWithDefaultValue(const QString& key,
                                                const QStringList& defaultValue) {
    // The INI format writes an empty list as "@Invalid()", which reads back as an invalid
    // value while the key is present: that is a stored empty list, not an absent one.
    const std::optional<QVariant> value = defaults().storedObjectForKey(key);
    if (!value)
        return defaultValue;
    if (!value->isValid())
        return QStringList();
    return value->toStringList();
}

void saveArrayValueForKey(const QStringList& value, const QString& key) {
    defaults().setObject(key, value);
}

QStringList createDefaultExcludeFoldersArray() {
    // The system's own trees: kernel interfaces, devices, runtime state and installed
    // software take the place of the macOS "/System" and "/Library"; in the home, the
    // applications' caches and the Trash hold copies nobody means to keep.
    QStringList list{QStringLiteral("/proc"), QStringLiteral("/sys"), QStringLiteral("/dev"),
                     QStringLiteral("/run"), QStringLiteral("/usr")};
    list += inHome({".cache", ".local/share/Trash"});
    return list;
}

QStringList createDefaultExcludeFilesArray() {
    // The photo managers' own libraries, whose thumbnails and previews copy the pictures.
    return inHome({"Pictures/digikam4.db", "Pictures/thumbnails-digikam.db",
                   ".local/share/shotwell/data/photo.db"});
}

QStringList createDefaultExcludeExtensionsArray() {
    return {
        QStringLiteral(".framework"), QStringLiteral(".build"), QStringLiteral(".plist"),
        QStringLiteral(".def"),       QStringLiteral(".info"),  QStringLiteral(".lib"),
        QStringLiteral(".dylib"),     QStringLiteral(".lproj"), QStringLiteral(".entitlements")};
}

QStringList createDefaultAutoSelectFoldersArray() {
    return inHome({"Downloads"});
}

QStringList createDefaultNeverSelectFoldersArray() {
    return inHome({"Movies/iMovie Events", "Movies/iMovie Projects", "Music/iTunes"});
}

SortType sortType() {
    return static_cast<SortType>(getIntValueForKeyWithDefaultValue(key(Key::sortType), 0));
}
void setSortType(SortType value) {
    saveIntValueForKey(value, key(Key::sortType));
}

SortDirection sortDirection() {
    return static_cast<SortDirection>(
        getIntValueForKeyWithDefaultValue(key(Key::sortDirection), SortDirectionDescending));
}
void setSortDirection(SortDirection value) {
    saveIntValueForKey(value, key(Key::sortDirection));
}

#define SORVANTA_U64_SETTING(getter, setter, defaultValue)                                         \
    std::uint64_t getter() {                                                                       \
        return getUnsignedLongLongValueForKeyWithDefaultValue(key(Key::getter), defaultValue);     \
    }                                                                                              \
    void setter(std::uint64_t value) {                                                             \
        saveUnsignedLongLongValueForKey(value, key(Key::getter));                                  \
    }

#define SORVANTA_BOOL_SETTING(getter, setter, defaultValue)                                        \
    bool getter() {                                                                                \
        return getBoolValueForKeyWithDefaultValue(key(Key::getter), defaultValue);                 \
    }                                                                                              \
    void setter(bool value) {                                                                      \
        saveBoolValueForKey(value, key(Key::getter));                                              \
    }

#define SORVANTA_LIST_SETTING(getter, setter, defaultList)                                         \
    QStringList getter() {                                                                         \
        return getArrayValueForKeyWithDefaultValue(key(Key::getter), defaultList);                 \
    }                                                                                              \
    void setter(const QStringList& value) {                                                        \
        saveArrayValueForKey(value, key(Key::getter));                                             \
    }

SORVANTA_U64_SETTING(cleanedFileSize, setCleanedFileSize, 0)
SORVANTA_U64_SETTING(cleanedFileCount, setCleanedFileCount, 0)
SORVANTA_BOOL_SETTING(defineMinimalDuplicatesFileSizeAutomatically,
                      setDefineMinimalDuplicatesFileSizeAutomatically, true)
SORVANTA_U64_SETTING(minDuplicatesFileSize, setMinDuplicatesFileSize, kDefaultMinDuplicatesFileSize)

std::uint64_t hashBlockSize() {
    const std::uint64_t size = getUnsignedLongLongValueForKeyWithDefaultValue(
        key(Key::hashBlockSize), kDefaultHashBlockSize);
    if (size < kMinHashBlockSize || size > kMaxHashBlockSize)
        return kDefaultHashBlockSize;
    return size;
}
void setHashBlockSize(std::uint64_t value) {
    saveUnsignedLongLongValueForKey(value, key(Key::hashBlockSize));
}

SORVANTA_BOOL_SETTING(showShortFilePath, setShowShortFilePath, false)
SORVANTA_BOOL_SETTING(scanInHiddenFolders, setScanInHiddenFolders, false)
SORVANTA_BOOL_SETTING(forceFullHashCalculation, setForceFullHashCalculation, false)
SORVANTA_BOOL_SETTING(showUserDirectoryAtFirstTime, setShowUserDirectoryAtFirstTime, true)

SORVANTA_LIST_SETTING(excludeFolders, setExcludeFolders, createDefaultExcludeFoldersArray())
SORVANTA_LIST_SETTING(excludeFiles, setExcludeFiles, createDefaultExcludeFilesArray())
SORVANTA_LIST_SETTING(excludeExtensions, setExcludeExtensions,
                      createDefaultExcludeExtensionsArray())
SORVANTA_LIST_SETTING(autoAlwaysSelectFolders, setAutoAlwaysSelectFolders,
                      createDefaultAutoSelectFoldersArray())
SORVANTA_LIST_SETTING(autoNeverSelectFolders, setAutoNeverSelectFolders,
                      createDefaultNeverSelectFoldersArray())

SORVANTA_BOOL_SETTING(moveCleanedDuplicatesToTheTrashCan, setMoveCleanedDuplicatesToTheTrashCan,
                      true)
SORVANTA_BOOL_SETTING(allowRemovingAllDuplicateCopies, setAllowRemovingAllDuplicateCopies, false)
SORVANTA_BOOL_SETTING(removeEmptyFolders, setRemoveEmptyFolders, false)
SORVANTA_BOOL_SETTING(showRemoveLastInCategoriesMessage, setShowRemoveLastInCategoriesMessage, true)
SORVANTA_BOOL_SETTING(showRemoveLastInHeapsMessage, setShowRemoveLastInHeapsMessage, true)
SORVANTA_BOOL_SETTING(showNewScanMessage, setShowNewScanMessage, true)
SORVANTA_BOOL_SETTING(showRemovePermanentlyItemsOnRemoteDisksMessage,
                      setShowRemovePermanentlyItemsOnRemoteDisksMessage, true)
SORVANTA_BOOL_SETTING(showRemovePermanentlyMessage, setShowRemovePermanentlyMessage, true)
SORVANTA_BOOL_SETTING(showRestartScanMessage, setShowRestartScanMessage, true)

SORVANTA_LIST_SETTING(lastTenFolders, setLastTenFolders, QStringList())

SORVANTA_BOOL_SETTING(showOverlayOverviewScreen, setShowOverlayOverviewScreen, true)
SORVANTA_BOOL_SETTING(showOverlayCategoryScreen, setShowOverlayCategoryScreen, true)
SORVANTA_BOOL_SETTING(showOverlaySimilarsScreen, setShowOverlaySimilarsScreen, true)

SORVANTA_U64_SETTING(welcomeScreenAppearanceCount, setWelcomeScreenAppearanceCount, 0)

#undef SORVANTA_U64_SETTING
#undef SORVANTA_BOOL_SETTING
#undef SORVANTA_LIST_SETTING

} // namespace Settings
