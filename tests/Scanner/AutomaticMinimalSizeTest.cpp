// The automatic minimal file size, the default of every user's scan, end to end on a real
// tree, with the scan's clock in the test's hands: nothing here waits for real seconds.
#include "ScanFixture.h"
#include "ScanResultListener.h"
#include "TestSupport.h"

#include "FileTree/FolderSystemItem.h"
#include "FileTree/VolumeSystemItem.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Scanner/DuplicatesFilter.h"
#include "Scanner/DuplicatesFolderFilter.h"
#include "Scanner/DuplicatesFolderFilterListener.h"
#include "Scanner/FoldersScanner.h"
#include "Scanner/ScanClock.h"
#include "Walker/ContentHasher.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

using namespace ScanFixture;

namespace {

constexpr std::int64_t kSecond = 1'000'000'000;
std::atomic<std::int64_t> g_now{kSecond};
std::int64_t manualClock() {
    return g_now.load();
}

// Held shut until the test opens it (at the latest when the test ends); shared, so a digest
// thread waiting at it never refers to the test's own objects.
class Gate {
public:
    void wait() {
        std::unique_lock lock(m_mutex);
        m_opened.wait(lock, [this] { return m_open; });
    }
    void open() {
        const std::lock_guard lock(m_mutex);
        m_open = true;
        m_opened.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_opened;
    bool m_open = false;
};

// Reads files as the file system's own hasher does, records every path it is asked for,
// and runs an action before the first digest of a path holding a given fragment. Installed
// process-wide, so the digests of the scan's own separations come here.
class HookedHasher final : public ContentHasher {
public:
    explicit HookedHasher(std::shared_ptr<ContentHasher> disk) : m_disk(std::move(disk)) {}
    void before(const QByteArray& fragment, std::function<void()> action) {
        const std::lock_guard lock(m_mutex);
        m_actions.push_back({fragment, std::move(action)});
    }
    std::vector<QByteArray> hashed() const {
        const std::lock_guard lock(m_mutex);
        return m_hashed;
    }
    std::optional<QString> hashforFile(const QByteArray& path) override {
        asked(path);
        return m_disk->hashforFile(path);
    }
    std::optional<QString> hashforFilePartly(const QByteArray& path, std::uint64_t size,
                                             std::uint64_t blockLength,
                                             std::uint64_t threshold) override {
        asked(path);
        return m_disk->hashforFilePartly(path, size, blockLength, threshold);
    }

private:
    void asked(const QByteArray& path) {
        std::function<void()> action;
        {
            const std::lock_guard lock(m_mutex);
            m_hashed.push_back(path);
            for (auto& [fragment, pending] : m_actions) {
                if (pending && path.contains(fragment)) {
                    action = std::move(pending);
                    pending = nullptr;
                    break;
                }
            }
        }
        if (action)
            action();
    }

    const std::shared_ptr<ContentHasher> m_disk;
    mutable std::mutex m_mutex;
    std::vector<std::pair<QByteArray, std::function<void()>>> m_actions;
    std::vector<QByteArray> m_hashed;
};

// A real tree in a temporary folder, the scan's clock in the test's hands and every digest
// of the process going through a hooked hasher.
class BudgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_now.store(kSecond);
        ScanClock::setSource(&manualClock);
        hasher = std::make_shared<HookedHasher>(ContentHasher::standard());
        ContentHasher::setStandard(hasher);
    }
    void TearDown() override {
        gate->open();
        ContentHasher::setStandard(nullptr);
        ScanClock::setSource(nullptr);
    }
    QByteArray root() const { return QFile::encodeName(dir.path()); }
    void write(const QByteArray& relative, const QByteArray& bytes) {
        ASSERT_TRUE(TestSupport::writeFile(root() + '/' + relative, bytes));
    }
    bool wasHashed(const QByteArray& fragment) const {
        const auto paths = hasher->hashed();
        return std::any_of(paths.begin(), paths.end(),
                           [&](const QByteArray& path) { return path.contains(fragment); });
    }

    QTemporaryDir dir;
    std::shared_ptr<HookedHasher> hasher;
    std::shared_ptr<Gate> gate = std::make_shared<Gate>();
};

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

TEST_F(BudgetTest, TheComparisonEndsAtTheFirstGroupSavedAfterThirtySeconds) {
    // Three sets, compared largest first: "big" and "mid" fill a digest separation each, so
    // the three are digested side by side. Reading "big" takes the clock past the budget;
    // "mid" is held until the report of the big group has stopped the comparison; "small"
    // is free to finish first, behind "mid".
    const int many = int(DuplicatesFilter::kFilesPerSeparation);
    for (int i = 0; i < many; ++i) {
        write("big/" + QByteArray::number(i) + ".bin", content(1, 40000));
        write("mid/" + QByteArray::number(i) + ".bin", content(2, 20000));
    }
    write("small/a.bin", content(3, 5000));
    write("small/b.bin", content(3, 5000));
    // Two identical folders of files below the size of the big set.
    for (const char* folder : {"fa", "fb"})
        write(QByteArray(folder) + "/one.dat", content(4, 3000));
    hasher->before("/big/", [] { g_now.fetch_add(31 * kSecond); });
    hasher->before("/mid/", [gate = gate] { gate->wait(); });

    auto listener = std::make_shared<ScanResultListener>();
    auto scanner = FoldersScanner::create({root()}, listener);
    scanner->startScanAndUseAutoDefineMinimalFileSize();
    // The big group's report has been handled on the main thread, and with it the stop.
    ASSERT_TRUE(TestSupport::waitFor(
        [&] { return scanner->getCountOfActualDuplicates() >= uint64_t(many); }, 60000));
    gate->open();
    ASSERT_TRUE(TestSupport::waitFor([&] { return listener->told == 1; }, 60000));

    // Only the big group: the small set, digested before the held one, is not kept while a
    // larger set is missing.
    const auto groups = groupPaths(*listener->container, true);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups.front().size(), size_t(many));
    EXPECT_TRUE(groups.front().front().startsWith(root() + "/big/"));
    // The minimal size handed to the folder stage is the big group's: the identical folders
    // of smaller files are not compared.
    EXPECT_EQ(listener->container->getCategoryWithType(6)->getGroupsCount(), 0u);
    // Sets digested but not kept count as never compared, so they keep no folder from being
    // a candidate later.
    for (const char* file : {"/mid/0.bin", "/small/a.bin", "/fa/one.dat"}) {
        const auto nodes = listener->container->findSystemItemWithPath(root() + file);
        ASSERT_EQ(nodes.size(), 1) << file;
        EXPECT_FALSE(nodes.front()->isCheckedForDuplicates()) << file;
    }
    EXPECT_FLOAT_EQ(scanner->getDuplicatesFilesFilterProgress(), 1.0f);
    EXPECT_GT(scanner->getSearchDuplicatesDuration(), 30.0);
    EXPECT_EQ(scanner->getCurrentState(), FoldersScannerStateComplete);
}

class FolderStageListener final : public DuplicatesFolderFilterListener {
public:
    void onFoundDuplicatesFoldersWithTotalSize(uint64_t, float, uint64_t) override {}
    void onUpdateSizesUsingContainer(const std::array<uint64_t, 6>&) override {}
    void onDuplicatedFolderFilteringCompleteWithContainer(
        const std::shared_ptr<DuplicatesContainer>&) override {
        completed.fetch_add(1);
    }
    std::atomic<int> completed{0};
};

TEST_F(BudgetTest, TheFolderStageStartsNoGroupAfterThirtySecondsBiggestFamiliesFirst) {
    // The x family (x1 and x2 of 2,700 bytes, each holding an identical y of 1,700) is bigger
    // than the w family (500). Largest family first and inner folders first within it, so
    // the y folders are compared first; smallest first, w would be.
    for (const char* x : {"x1", "x2"}) {
        write(QByteArray(x) + "/y/f.dat", content(1, 1000));
        write(QByteArray(x) + "/y/g.dat", content(2, 700));
        write(QByteArray(x) + "/h.dat", content(3, 1000));
    }
    for (const char* w : {"w1", "w2"})
        write(QByteArray(w) + "/f.dat", content(4, 500));
    const BuiltTree built = buildTree(root());
    // As the size filter left it: the f files are one group, everything else never compared.
    auto container = DuplicatesContainer::create(false);
    for (const char* f : {"x1/y/f.dat", "x2/y/f.dat"})
        built.node(f)->setIsCheckedForDuplicates(true);
    ASSERT_TRUE(container->addGroupWithItems({built.node("x1/y/f.dat"), built.node("x2/y/f.dat")}));
    // Comparing the y folders reads g, and that takes the clock past the budget.
    hasher->before("/y/g.dat", [] { g_now.fetch_add(31 * kSecond); });

    auto listener = std::make_shared<FolderStageListener>();
    auto filter = std::make_shared<DuplicatesFolderFilter>(
        container, FoldersScanner::kAutomaticMinimalFileSize);
    filter->setListener(listener);
    filter->findFoldersDuplicatesInRoots({built.root}, false);
    ASSERT_TRUE(TestSupport::waitFor([&] { return listener->completed.load() == 1; }));

    // The y folders were found identical; no group was started after that.
    const auto folders = container->getCategoryWithType(6)->getGroups();
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(pathsOf(*folders.front()),
              (std::vector<QByteArray>{root() + "/x1/y", root() + "/x2/y"}));
    EXPECT_FALSE(wasHashed("/w1/"));
    EXPECT_FALSE(wasHashed("/h.dat"));
    EXPECT_FALSE(built.folder("x1")->isCheckedForDuplicates());
    EXPECT_FALSE(built.folder("w1")->isCheckedForDuplicates());
    // The stage still completed: the f group, wholly inside the duplicate y folders, is
    // hidden.
    EXPECT_EQ(container->getHiddenCategoryOfDuplicates()->getGroupsCount(), 1u);
    EXPECT_GT(filter->getSearchDuplicatesDuration(), 30.0);
}

} // namespace
