#include "Categories/Settings.h"
#include "Platform/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

namespace K = Settings::Key;

const char* const kAllKeys[] = {
    K::sortType,
    K::sortDirection,
    K::cleanedFileSize,
    K::cleanedFileCount,
    K::defineMinimalDuplicatesFileSizeAutomatically,
    K::minDuplicatesFileSize,
    K::hashBlockSize,
    K::showShortFilePath,
    K::scanInHiddenFolders,
    K::forceFullHashCalculation,
    K::showUserDirectoryAtFirstTime,
    K::excludeFolders,
    K::excludeFiles,
    K::excludeExtensions,
    K::autoAlwaysSelectFolders,
    K::autoNeverSelectFolders,
    K::moveCleanedDuplicatesToTheTrashCan,
    K::allowRemovingAllDuplicateCopies,
    K::removeEmptyFolders,
    K::showRemoveLastInCategoriesMessage,
    K::showRemoveLastInHeapsMessage,
    K::showNewScanMessage,
    K::showRemovePermanentlyItemsOnRemoteDisksMessage,
    K::showRemovePermanentlyMessage,
    K::showRestartScanMessage,
    K::lastTenFolders,
    K::showOverlayOverviewScreen,
    K::showOverlayCategoryScreen,
    K::showOverlaySimilarsScreen,
    K::welcomeScreenAppearanceCount,
};

QByteArray settingsFileText() {
    QFile file(UserDefaults::standardUserDefaults().fileName());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Replaces the settings file as an editor or an earlier run would have left it, and makes
// the store read it again. The store notices a change by the file's size and time, and the
// time may not have moved, so the new text never has the old size.
void replaceSettingsFile(QByteArray text) {
    auto& defaults = UserDefaults::standardUserDefaults();
    QFile file(defaults.fileName());
    if (file.exists() && file.size() == text.size())
        text += '\n';
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(text), text.size());
    file.close();
    defaults.synchronize();
}

// Makes the store read back what it wrote, as on the next launch.
void reloadFromDisk() {
    replaceSettingsFile(settingsFileText() + "\n; reloaded\n");
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { clear(); }
    void TearDown() override { clear(); }
    static void clear() {
        for (const char* key : kAllKeys)
            UserDefaults::standardUserDefaults().removeObject(QString::fromLatin1(key));
    }
    const QString home = QDir::homePath();
};

} // namespace

TEST_F(SettingsTest, EmptyFileAnswersEveryDefault) {
    replaceSettingsFile("");
    for (const char* key : kAllKeys)
        ASSERT_FALSE(UserDefaults::standardUserDefaults().contains(key)) << key;

    EXPECT_EQ(Settings::sortType(), Settings::SortTypeSize);
    EXPECT_EQ(Settings::sortDirection(), Settings::SortDirectionDescending);
    EXPECT_EQ(Settings::cleanedFileSize(), 0u);
    EXPECT_EQ(Settings::cleanedFileCount(), 0u);
    EXPECT_TRUE(Settings::defineMinimalDuplicatesFileSizeAutomatically());
    EXPECT_EQ(Settings::minDuplicatesFileSize(), 1048576u);
    EXPECT_EQ(Settings::hashBlockSize(), 8192u);
    EXPECT_FALSE(Settings::showShortFilePath());
    EXPECT_FALSE(Settings::scanInHiddenFolders());
    EXPECT_FALSE(Settings::forceFullHashCalculation());
    EXPECT_TRUE(Settings::showUserDirectoryAtFirstTime());
    EXPECT_EQ(Settings::excludeFolders(),
              (QStringList{"/proc", "/sys", "/dev", "/run", "/usr", home + "/.cache",
                           home + "/.local/share/Trash"}));
    EXPECT_EQ(Settings::excludeFiles(),
              (QStringList{home + "/Pictures/digikam4.db", home + "/Pictures/thumbnails-digikam.db",
                           home + "/.local/share/shotwell/data/photo.db"}));
    EXPECT_EQ(Settings::excludeExtensions(),
              (QStringList{".framework", ".build", ".plist", ".def", ".info", ".lib", ".dylib",
                           ".lproj", ".entitlements"}));
    EXPECT_EQ(Settings::autoAlwaysSelectFolders(), QStringList{home + "/Downloads"});
    EXPECT_EQ(Settings::autoNeverSelectFolders(),
              (QStringList{home + "/Movies/iMovie Events", home + "/Movies/iMovie Projects",
                           home + "/Music/iTunes"}));
    EXPECT_TRUE(Settings::moveCleanedDuplicatesToTheTrashCan());
    EXPECT_FALSE(Settings::allowRemovingAllDuplicateCopies());
    EXPECT_FALSE(Settings::removeEmptyFolders());
    EXPECT_TRUE(Settings::showRemoveLastInCategoriesMessage());
    EXPECT_TRUE(Settings::showRemoveLastInHeapsMessage());
    EXPECT_TRUE(Settings::showNewScanMessage());
    EXPECT_TRUE(Settings::showRemovePermanentlyItemsOnRemoteDisksMessage());
    EXPECT_TRUE(Settings::showRemovePermanentlyMessage());
    EXPECT_TRUE(Settings::showRestartScanMessage());
    EXPECT_TRUE(Settings::lastTenFolders().isEmpty());
    EXPECT_TRUE(Settings::showOverlayOverviewScreen());
    EXPECT_TRUE(Settings::showOverlayCategoryScreen());
    EXPECT_TRUE(Settings::showOverlaySimilarsScreen());
    EXPECT_EQ(Settings::welcomeScreenAppearanceCount(), 0u);

    // Reading writes nothing.
    EXPECT_TRUE(settingsFileText().trimmed().isEmpty()) << settingsFileText().constData();
}

TEST_F(SettingsTest, DefaultListsAreBuiltAnewAndFollowTheHomeFolder) {
    QStringList first = Settings::createDefaultExcludeFoldersArray();
    first.append("/mnt");
    EXPECT_EQ(Settings::createDefaultExcludeFoldersArray().size(), 7);

    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", "/home/somebody");
    const QStringList folders = Settings::excludeFolders();
    const QStringList always = Settings::createDefaultAutoSelectFoldersArray();
    qputenv("HOME", oldHome);
    EXPECT_EQ(folders.last(), "/home/somebody/.local/share/Trash");
    EXPECT_EQ(always, QStringList{"/home/somebody/Downloads"});
}

TEST_F(SettingsTest, StoredValuesSurviveAReloadAndOnlyAbsenceFallsBack) {
    Settings::setExcludeFolders({});
    Settings::setExcludeExtensions({".iso"});
    Settings::setLastTenFolders({"/data/b, with comma", "/data/a", "/data/b, with comma"});
    Settings::setShowUserDirectoryAtFirstTime(false);
    Settings::setDefineMinimalDuplicatesFileSizeAutomatically(false);
    Settings::setMinDuplicatesFileSize(0);
    Settings::setCleanedFileSize(18446744073709551615ull);
    Settings::setCleanedFileCount(12);
    Settings::setSortType(Settings::SortTypePath);
    Settings::setSortDirection(Settings::SortDirectionAscending);
    Settings::setWelcomeScreenAppearanceCount(3);

    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "as written" : "read back from the file");
        EXPECT_TRUE(Settings::excludeFolders().isEmpty());
        EXPECT_EQ(Settings::excludeExtensions(), QStringList{".iso"});
        // Lists are kept exactly as handed over, doubles included.
        EXPECT_EQ(Settings::lastTenFolders(),
                  (QStringList{"/data/b, with comma", "/data/a", "/data/b, with comma"}));
        EXPECT_FALSE(Settings::showUserDirectoryAtFirstTime());
        EXPECT_FALSE(Settings::defineMinimalDuplicatesFileSizeAutomatically());
        EXPECT_EQ(Settings::minDuplicatesFileSize(), 0u);
        EXPECT_EQ(Settings::cleanedFileSize(), 18446744073709551615ull);
        EXPECT_EQ(Settings::cleanedFileCount(), 12u);
        EXPECT_EQ(Settings::sortType(), Settings::SortTypePath);
        EXPECT_EQ(Settings::sortDirection(), Settings::SortDirectionAscending);
        EXPECT_EQ(Settings::welcomeScreenAppearanceCount(), 3u);
        reloadFromDisk();
    }
    // The empty list is really in the file, as the INI format writes it, and read back it
    // is a present key without a valid value.
    EXPECT_FALSE(UserDefaults::standardUserDefaults().objectForKey(K::excludeFolders).isValid());
    EXPECT_TRUE(settingsFileText().contains("KEY_exclude_folders=@Invalid()"))
        << settingsFileText().constData();

    UserDefaults::standardUserDefaults().removeObject(K::excludeFolders);
    EXPECT_EQ(Settings::excludeFolders(), Settings::createDefaultExcludeFoldersArray());
}

TEST_F(SettingsTest, OverlayKeysAreStoredWithTheirOwnSpelling) {
    Settings::setShowOverlayOverviewScreen(false);
    Settings::setShowOverlayCategoryScreen(false);
    Settings::setShowOverlaySimilarsScreen(false);
    const QByteArray text = settingsFileText();
    EXPECT_TRUE(text.contains("\nKEY_showOverlayOverviewSceen=false")) << text.constData();
    EXPECT_TRUE(text.contains("\nKEY_showOverlayCategorySceen=false")) << text.constData();
    EXPECT_TRUE(text.contains("\nKEY_showOverlaySimilarsSceen=false")) << text.constData();
    EXPECT_FALSE(text.contains("Screen"));
    EXPECT_FALSE(Settings::showOverlayOverviewScreen());
    EXPECT_FALSE(Settings::showOverlayCategoryScreen());
    EXPECT_FALSE(Settings::showOverlaySimilarsScreen());
}

TEST_F(SettingsTest, HashBlockSizeOutsideTheSaneRangeReadsAsTheDefault) {
    const struct {
        const char* stored;
        std::uint64_t expected;
    } cases[] = {
        {"0", 8192},      {"4095", 8192},         {"4096", 4096},
        {"65536", 65536}, {"67108864", 67108864}, {"67108865", 8192},
        {"-1", 8192},     {"lots", 8192},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        replaceSettingsFile(QByteArray("[General]\ns%3AhashBlockSize=") + c.stored + "\n");
        ASSERT_TRUE(UserDefaults::standardUserDefaults().contains(K::hashBlockSize));
        EXPECT_EQ(Settings::hashBlockSize(), c.expected);
    }
    Settings::setHashBlockSize(0);
    EXPECT_EQ(Settings::hashBlockSize(), 8192u);
}

TEST_F(SettingsTest, EditedValuesOfTheWrongTypeReadAsDefaults) {
    replaceSettingsFile("[General]\n"
                        "KEY_sortDirection=down\n"
                        "KEY_cleanedFileSize=a lot\n"
                        "KEY_showNewScanMessage=0\n"
                        "KEY_removeEmptyFolders=1\n"
                        "KEY_moveCleanedDuplicatesToTheTrashCan=maybe\n"
                        "KEY_exclude_files=/only/one\n");
    EXPECT_EQ(Settings::sortDirection(), Settings::SortDirectionDescending);
    EXPECT_EQ(Settings::cleanedFileSize(), 0u);
    EXPECT_FALSE(Settings::showNewScanMessage());
    EXPECT_TRUE(Settings::removeEmptyFolders());
    EXPECT_TRUE(Settings::moveCleanedDuplicatesToTheTrashCan());
    EXPECT_EQ(Settings::excludeFiles(), QStringList{"/only/one"});
}

TEST_F(SettingsTest, ReadsAndWritesFromManyThreadsAtOnce) {
    const QStringList listA{"/a"};
    const QStringList listB{"/b", "/c"};
    std::atomic<bool> stop{false};
    std::atomic<int> bad{0};
    std::atomic<int> reads{0};
    std::vector<std::thread> readers;
    for (int i = 0; i < 4; ++i) {
        readers.emplace_back([&] {
            while (!stop) {
                const std::uint64_t size = Settings::hashBlockSize();
                const QStringList list = Settings::excludeFolders();
                if ((size != 8192 && size != 16384) ||
                    (list != listA && list != listB &&
                     list != Settings::createDefaultExcludeFoldersArray()))
                    ++bad;
                ++reads;
            }
        });
    }
    for (int i = 0; i < 100; ++i) {
        Settings::setHashBlockSize(i % 2 ? 16384 : 8192);
        Settings::setExcludeFolders(i % 2 ? listA : listB);
    }
    while (reads < 100)
        std::this_thread::yield();
    stop = true;
    for (auto& thread : readers)
        thread.join();
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(Settings::hashBlockSize(), 16384u);
    EXPECT_EQ(Settings::excludeFolders(), listA);
}
