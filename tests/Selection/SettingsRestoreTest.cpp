#include "ResultFixture.h"

#include "Categories/Settings.h"
#include "Platform/UserDefaults.h"
#include "Results/DuplicateItem.h"
#include "Selection/SettingsRestore.h"

#include <gtest/gtest.h>

namespace {

using Paths = QList<QByteArray>;

TEST(SettingsRestore, AllSettingsBackToDefaultsAndFullySelectedGroupsDeselected) {
    using namespace Settings;
    // Settings no restore touches.
    setSortType(SortTypeName);
    setSortDirection(SortDirectionAscending);
    setCleanedFileSize(123456);
    setCleanedFileCount(42);
    setHashBlockSize(16384);
    setShowShortFilePath(true);
    setShowUserDirectoryAtFirstTime(false);
    setLastTenFolders({"/srv/a", "/srv/b"});
    setShowOverlayOverviewScreen(false);
    setShowOverlayCategoryScreen(false);
    setShowOverlaySimilarsScreen(false);
    setWelcomeScreenAppearanceCount(9);
    // Settings every restore puts back.
    setForceFullHashCalculation(true);
    setScanInHiddenFolders(true);
    setDefineMinimalDuplicatesFileSizeAutomatically(false);
    setMinDuplicatesFileSize(5);
    setExcludeFolders({});
    setExcludeFiles({"/x"});
    setExcludeExtensions({".y"});
    setAutoAlwaysSelectFolders({});
    setAutoNeverSelectFolders({});
    setMoveCleanedDuplicatesToTheTrashCan(false);
    setAllowRemovingAllDuplicateCopies(true);
    setRemoveEmptyFolders(true);
    setShowRemoveLastInCategoriesMessage(false);
    setShowRemoveLastInHeapsMessage(false);
    setShowNewScanMessage(false);
    setShowRemovePermanentlyItemsOnRemoteDisksMessage(false);
    setShowRemovePermanentlyMessage(false);
    setShowRestartScanMessage(false);

    // One group with every copy selected (allowed while the permission is on), one with a
    // copy left.
    ResultFixture fixture;
    fixture.write({{"a/x.txt", "xx"},
                   {"b/x.txt", "xx"},
                   {"a/y.txt", "yy"},
                   {"b/y.txt", "yy"},
                   {"c/y.txt", "yy"}});
    fixture.build();
    for (const char* path : {"a/x.txt", "b/x.txt", "a/y.txt", "b/y.txt"})
        ASSERT_TRUE(fixture.item(path)->selectItemForced(true)) << path;

    SelectionNotificationCounter notifications;
    restoreDefaultsForAllSettings();
    EXPECT_EQ(notifications.count(), 1);
    EXPECT_EQ(fixture.selected(), (Paths{"a/y.txt", "b/y.txt"}));

    EXPECT_EQ(sortType(), SortTypeName);
    EXPECT_EQ(sortDirection(), SortDirectionAscending);
    EXPECT_EQ(cleanedFileSize(), 123456u);
    EXPECT_EQ(cleanedFileCount(), 42u);
    EXPECT_EQ(hashBlockSize(), 16384u);
    EXPECT_TRUE(showShortFilePath());
    EXPECT_FALSE(showUserDirectoryAtFirstTime());
    EXPECT_EQ(lastTenFolders(), (QStringList{"/srv/a", "/srv/b"}));
    EXPECT_FALSE(showOverlayOverviewScreen());
    EXPECT_FALSE(showOverlayCategoryScreen());
    EXPECT_FALSE(showOverlaySimilarsScreen());
    EXPECT_EQ(welcomeScreenAppearanceCount(), 9u);

    EXPECT_FALSE(forceFullHashCalculation());
    EXPECT_FALSE(scanInHiddenFolders());
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    EXPECT_FALSE(defaults.contains(Key::defineMinimalDuplicatesFileSizeAutomatically));
    EXPECT_FALSE(defaults.contains(Key::minDuplicatesFileSize));
    EXPECT_TRUE(defineMinimalDuplicatesFileSizeAutomatically());
    EXPECT_EQ(minDuplicatesFileSize(), 1048576u);
    EXPECT_EQ(excludeFolders(), createDefaultExcludeFoldersArray());
    EXPECT_EQ(excludeFiles(), createDefaultExcludeFilesArray());
    EXPECT_EQ(excludeExtensions(), createDefaultExcludeExtensionsArray());
    EXPECT_EQ(autoAlwaysSelectFolders(), createDefaultAutoSelectFoldersArray());
    EXPECT_EQ(autoNeverSelectFolders(), createDefaultNeverSelectFoldersArray());
    for (const char* key : {Key::excludeFolders, Key::excludeFiles, Key::excludeExtensions,
                            Key::autoAlwaysSelectFolders, Key::autoNeverSelectFolders})
        EXPECT_TRUE(defaults.contains(key)) << key;
    EXPECT_TRUE(moveCleanedDuplicatesToTheTrashCan());
    EXPECT_FALSE(allowRemovingAllDuplicateCopies());
    EXPECT_FALSE(removeEmptyFolders());
    EXPECT_TRUE(showRemoveLastInCategoriesMessage());
    EXPECT_TRUE(showRemoveLastInHeapsMessage());
    EXPECT_TRUE(showNewScanMessage());
    EXPECT_TRUE(showRemovePermanentlyItemsOnRemoteDisksMessage());
    EXPECT_TRUE(showRemovePermanentlyMessage());
    EXPECT_TRUE(showRestartScanMessage());
}

TEST(SettingsRestore, WithoutAResultOnlyTheSettingsChange) {
    Settings::setAllowRemovingAllDuplicateCopies(true);
    SelectionNotificationCounter notifications;
    Settings::restoreRemoveDefaults();
    EXPECT_FALSE(Settings::allowRemovingAllDuplicateCopies());
    EXPECT_EQ(notifications.count(), 0);
}

} // namespace
