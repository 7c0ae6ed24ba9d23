#include "Results/DuplicatesManager.h"
#include "Results/DuplicatesContainer.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

struct HintRow {
    int screen;
    const char* image;
    int position;
    const char* photo;
    const char* bottom;
};

TEST(DuplicatesManagerTest, HelpOverlayTableForEveryScreen) {
    const HintRow expected[] = {
        {0, "overview1", 10, "", ""},  {1, "overview1_1", 12, "", ""},
        {2, "overview2", 5, "", ""},   {3, "overview3", 5, "", ""},
        {4, "overview4", 3, "", ""},   {4, "overview4_1", 8, "", ""},
        {5, "overview5_1", 8, "", ""}, {5, "overview5_2", 7, "", ""},
        {6, "heaps_1", 7, "", ""},     {7, "heaps_2_1", 0, "heaps_2_2", "heaps_2_3"},
        {8, "heaps_3_2", 2, "", ""},   {8, "heaps_3_3", 0, "", ""},
        {8, "heaps_3_1", 0, "", ""},   {9, "heaps_4_1", 0, "", ""},
        {9, "heaps_4_2", 0, "", ""},   {9, "heaps_4_3", 0, "", ""},
        {9, "heaps_4_4", 0, "", ""},   {9, "heaps_4_5", 6, "", ""},
        {10, "Pictures_1", 3, "", ""}, {10, "Pictures_2", 8, "", ""},
        {10, "Pictures_3", 0, "", ""}, {10, "Pictures_4", 4, "", ""},
    };
    DuplicatesManager& manager = DuplicatesManager::sharedManager();
    manager.createOverlayHintsArray();
    const OverlayScreensTable& table = manager.overlayScreensDictionary();
    EXPECT_EQ(table.keys(), (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    QMap<int, int> nextHint;
    for (const HintRow& row : expected) {
        const int index = nextHint[row.screen]++;
        SCOPED_TRACE(std::to_string(row.screen) + "/" + std::to_string(index));
        const QList<OverlayHint> hints = table.value(row.screen);
        ASSERT_LT(index, hints.size());
        const OverlayHint& hint = hints[index];
        EXPECT_EQ(hint.imageLink, row.image);
        EXPECT_EQ(hint.position, row.position);
        EXPECT_EQ(hint.photoLink, row.photo);
        EXPECT_EQ(hint.bottomImageLink, row.bottom);
        EXPECT_TRUE(hint.frames.isEmpty());
    }
    for (auto screen = table.begin(); screen != table.end(); ++screen) {
        EXPECT_EQ(screen.value().size(), nextHint[screen.key()]) << "screen " << screen.key();
    }
}

TEST(DuplicatesManagerTest, FramesAreTheTablesOwnList) {
    DuplicatesManager& manager = DuplicatesManager::sharedManager();
    manager.createOverlayHintsArray();
    QList<QRectF>& frames = DuplicatesManager::getFramesArrayForScreenAndHint(7, 0);
    frames.append(QRectF(10, 20, 30, 40));
    const OverlayHint& hint = manager.overlayScreensDictionary()[7][0];
    EXPECT_EQ(hint.imageLink, "heaps_2_1");
    ASSERT_EQ(hint.frames.size(), 1);
    EXPECT_EQ(hint.frames.front(), QRectF(10, 20, 30, 40));
    frames.clear();
    EXPECT_TRUE(manager.overlayScreensDictionary()[7][0].frames.isEmpty());
}

TEST(DuplicatesManagerTest, ClearingTheScanSummaryKeepsTheResult) {
    DuplicatesManager& manager = DuplicatesManager::sharedManager();
    const auto container = DuplicatesContainer::create(false);
    manager.setDuplicateContainer(container);
    manager.setScanStartDate(QDateTime::currentDateTimeUtc());
    manager.setScanFinishDate(QDateTime::currentDateTimeUtc());
    manager.setScannedFolders({"/home/me/Pictures"});
    manager.setFoundSize(1234);
    manager.setRemovedSize(56);
    manager.setScanSettingsChanged(true);

    manager.clearScanBasicInformation();
    EXPECT_EQ(manager.duplicateContainer(), container);
    EXPECT_FALSE(manager.scanStartDate().isValid());
    EXPECT_FALSE(manager.scanFinishDate().isValid());
    EXPECT_TRUE(manager.scannedFolders().isEmpty());
    EXPECT_FALSE(manager.foundSize().has_value());
    EXPECT_FALSE(manager.removedSize().has_value());
    EXPECT_FALSE(manager.scanSettingsChanged());
    manager.setDuplicateContainer(nullptr);
}

TEST(DuplicatesManagerTest, OneInstanceForEveryThread) {
    DuplicatesManager* seen[4] = {};
    std::vector<std::thread> threads;
    for (auto& slot : seen) {
        threads.emplace_back([&slot] { slot = &DuplicatesManager::sharedManager(); });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (DuplicatesManager* each : seen) {
        EXPECT_EQ(each, &DuplicatesManager::sharedManager());
    }
    EXPECT_FALSE(DuplicatesManager::sharedManager().overlayOnScreen());
}

} // namespace
