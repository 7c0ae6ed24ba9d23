// The automatic minimal file size, the default of every user's scan, end to end on a real
// tree, with the scan's clock in the test's hands: nothing here waits for real seconds.
#include "ScanFixture.h"
#include "ScanResultListener.h"
#include "TestSupport.h"

#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Scanner/FoldersScanner.h"
#include "Scanner/ScanClock.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

using namespace ScanFixture;

namespace {

constexpr std::int64_t kSecond = 1'000'000'000;
std::atomic<std::int64_t> g_now{kSecond};
std::int64_t manualClock() {
    return g_now.load();
}

class AutomaticMinimalSizeTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_now.store(kSecond);
        ScanClock::setSource(&manualClock);
        // Three pairs of equal files, largest first in the order of comparison, and two
        // identical folders of smaller files.
        write("big/a.bin", content(1, 60000));
        write("big/b.bin", content(1, 60000));
        write("mid/a.bin", content(2, 30000));
        write("mid/b.bin", content(2, 30000));
        write("small/a.bin", content(3, 9000));
        write("small/b.bin", content(3, 9000));
        for (const char* folder : {"fa", "fb"}) {
            write(QByteArray(folder) + "/one.dat", content(4, 5000));
            write(QByteArray(folder) + "/two.dat", content(5, 5001));
        }
    }
    void TearDown() override { ScanClock::setSource(nullptr); }

    QByteArray root() const { return QFile::encodeName(dir.path()); }
    void write(const QByteArray& relative, const QByteArray& bytes) {
        ASSERT_TRUE(TestSupport::writeFile(root() + '/' + relative, bytes));
    }
    // Scans the tree with the automatic minimal size; the clock moves on by
    // `secondsIntoComparison` as the comparison starts.
    void scan(int secondsIntoComparison) {
        listener = std::make_shared<ScanResultListener>();
        scanner = FoldersScanner::create({root()}, listener);
        scanner->setStateChangeHandler([secondsIntoComparison](FoldersScannerState state) {
            if (state == FoldersScannerStateFilteringFiles)
                g_now.fetch_add(secondsIntoComparison * kSecond);
        });
        scanner->startScanAndUseAutoDefineMinimalFileSize();
        ASSERT_TRUE(TestSupport::waitFor([&] { return listener->told == 1; }, 60000));
        EXPECT_EQ(scanner->getCurrentState(), FoldersScannerStateComplete);
    }
    std::vector<QByteArray> folderGroupNames() const {
        std::vector<QByteArray> names;
        for (const auto& group : listener->container->getCategoryWithType(6)->getGroups())
            for (const QByteArray& path : pathsOf(*group))
                names.push_back(path.mid(root().size() + 1));
        std::sort(names.begin(), names.end());
        return names;
    }
    bool hasPair(const char* folder) const {
        const QByteArray r = root() + '/' + folder;
        const auto groups = groupPaths(*listener->container);
        return std::find(groups.begin(), groups.end(),
                         std::vector<QByteArray>{r + "/a.bin", r + "/b.bin"}) != groups.end();
    }

    QTemporaryDir dir;
    std::shared_ptr<ScanResultListener> listener;
    std::shared_ptr<FoldersScanner> scanner;
};

TEST_F(AutomaticMinimalSizeTest, WithinTheBudgetEverySetIsComparedAndFoldersOfAnySize) {
    scan(10);
    EXPECT_TRUE(hasPair("big"));
    EXPECT_TRUE(hasPair("mid"));
    EXPECT_TRUE(hasPair("small"));
    // The comparison ran to its end: the folder stage takes folders of every size.
    EXPECT_EQ(folderGroupNames(), (std::vector<QByteArray>{"fa", "fb"}));
    // 10 of the 30 seconds would read as a third, but the folder stage has reported its
    // progress, so the file stage reads as done.
    EXPECT_GT(scanner->getDuplicatesFoldersFilterProgress(), 0.0f);
    EXPECT_FLOAT_EQ(scanner->getDuplicatesFilesFilterProgress(), 1.0f);
    EXPECT_DOUBLE_EQ(scanner->getSearchDuplicatesDuration(), 10.0);
}

TEST_F(AutomaticMinimalSizeTest, PastTheBudgetTheScanGoesOnWithTheLargestSetsFound) {
    scan(31);
    // The first group saved after the budget stops the comparison; the largest set is
    // compared first, so it is always found, and the scan still ends with a result.
    EXPECT_TRUE(hasPair("big"));
    // No smaller set is ever found while a larger one is missing.
    EXPECT_TRUE(!hasPair("small") || hasPair("mid"));
    EXPECT_FLOAT_EQ(scanner->getDuplicatesFilesFilterProgress(), 1.0f);
    EXPECT_GT(scanner->getSearchDuplicatesDuration(), 30.0);
}

} // namespace
