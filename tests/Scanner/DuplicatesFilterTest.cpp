#include "ScanFixture.h"
#include "TestSupport.h"

#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Platform/Dispatch.h"
#include "Platform/UserDefaults.h"
#include "Results/DuplicatesContainer.h"
#include "Scanner/DuplicatesFilter.h"
#include "Scanner/DuplicatesFilterProgressListener.h"
#include "Scanner/PromoPanelGate.h"
#include "Walker/FileSeparator.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <limits>
#include <mutex>
#include <set>

using namespace ScanFixture;

namespace {

constexpr uint64_t kAutomatic = std::numeric_limits<uint64_t>::max();

class RecordingListener final : public DuplicatesFilterProgressListener {
public:
    void onDuplicatesFilesFilterProgressChanged(float) override {}
    void onChangedSizeOfPossibleHeapsAndSizeOfPossibleDuplicateFolders(uint64_t,
                                                                       uint64_t) override {}
    void onFilteredFilesCountEachHasSizeWithType(int32_t count, uint64_t, int type) override {
        filtered.push_back({count, type});
    }
    void onFinishSearchDuplicatesFilesWithType(int type) override { finishedTypes.insert(type); }
    void onFinishFilterWithResultContainer(
        const std::shared_ptr<DuplicatesContainer>& container) override {
        ++finishCount;
        result = container;
    }

    std::vector<std::pair<int32_t, int>> filtered;
    std::set<int> finishedTypes;
    int finishCount = 0;
    std::shared_ptr<DuplicatesContainer> result;
};

struct FilterRun {
    explicit FilterRun(uint64_t minimal, bool includeHidden = true)
        : queuePointer(std::make_shared<Dispatch::SerialQueue>("test.filter")),
          queue(*queuePointer), filter(std::make_shared<DuplicatesFilter>(minimal, false)),
          listener(std::make_shared<RecordingListener>()), hidden(includeHidden) {
        filter->setWorkingQueue(queuePointer);
        filter->setListener(listener);
    }
    std::vector<uint64_t> file(const std::vector<FileSystemItem*>& items) {
        std::vector<uint64_t> answers;
        queue.sync([&] {
            for (FileSystemItem* item : items)
                answers.push_back(filter->addFileItem(item, false, hidden));
        });
        return answers;
    }
    bool compare(const std::vector<FileSystemItem*>& items) {
        file(items);
        filter->filterDuplicates();
        return TestSupport::waitFor([&] { return listener->result != nullptr; }, 20000);
    }

    std::shared_ptr<Dispatch::SerialQueue> queuePointer;
    Dispatch::SerialQueue& queue;
    std::shared_ptr<DuplicatesFilter> filter;
    std::shared_ptr<RecordingListener> listener;
    bool hidden;
};

class DuplicatesFilterTest : public ::testing::Test {
protected:
    QByteArray root() const { return QFile::encodeName(dir.path()); }
    void write(const QByteArray& relative, const QByteArray& bytes) {
        ASSERT_TRUE(TestSupport::writeFile(root() + '/' + relative, bytes));
    }
    QTemporaryDir dir;
};

TEST_F(DuplicatesFilterTest, FilingFollowsSizeHiddenAndTypeRules) {
    write("zero1.txt", {});
    write("zero2.txt", {});
    write("at_min.txt", content(1, 100));
    write("below_min.txt", content(2, 99));
    write(".hidden_in_visible.txt", content(3, 100));
    write(".hidden/visible_in_hidden.txt", content(4, 100));
    write("three/a.jpg", content(5, 300));
    write("three/b.jpg", content(6, 300));
    write("three/c.jpg", content(7, 300));
    write("three/d.pdf", content(8, 300));
    const BuiltTree built = buildTree(root());

    struct Case {
        uint64_t minimal;
        const char* path;
        uint64_t answer;
    };
    const Case cases[] = {
        {kAutomatic, "zero1.txt", 1},
        {0, "zero1.txt", 1},
        {1, "zero1.txt", 0},
        {100, "at_min.txt", 1},
        {100, "below_min.txt", 0},
        {0, ".hidden_in_visible.txt", 1},
        {0, ".hidden/visible_in_hidden.txt", 0},
    };
    for (const Case& c : cases) {
        FilterRun run(c.minimal, false);
        EXPECT_EQ(run.file({built.node(c.path)}), std::vector<uint64_t>{c.answer}) << c.path;
    }
    FilterRun run(kAutomatic, false);
    EXPECT_EQ(run.file({built.node("zero1.txt"), built.node("zero2.txt")}),
              (std::vector<uint64_t>{1, 2}));
    EXPECT_EQ(run.file({built.node("three/a.jpg"), built.node("three/b.jpg"),
                        built.node("three/d.pdf"), built.node("three/c.jpg")}),
              (std::vector<uint64_t>{1, 2, 1, 3}));
}

TEST_F(DuplicatesFilterTest, GroupsOnlyWholeContentCopiesAndNeverOneFileTwice) {
    write("a/small.txt", content(1, 500));
    write("b/small.txt", content(1, 500));
    write("a/big.jpg", content(2, 100000));
    write("b/big_copy.jpg", content(2, 100000));
    write("c/big_other.jpg", content(3, 100000));
    // Equal at start, middle and end, different elsewhere; an extension that gets no second
    // whole-file pass by name.
    write("a/pieces.dat", piecesEqualContent(7, 1));
    write("b/pieces.dat", piecesEqualContent(7, 2));
    write("a/linked.mp3", content(4, 7000));
    write("b/copy.mp3", content(4, 7000));
    ASSERT_EQ(::link((root() + "/a/linked.mp3").constData(), (root() + "/c/link.mp3").constData()),
              0);
    const BuiltTree built = buildTree(root());

    FilterRun run(kAutomatic);
    ASSERT_TRUE(run.compare(built.files));
    const QByteArray r = root();
    const auto groups = groupPaths(*run.listener->result);
    // The hard-linked pair is one file: one of its two names stands with the real copy.
    const std::vector<QByteArray> big{r + "/a/big.jpg", r + "/b/big_copy.jpg"};
    const std::vector<QByteArray> small{r + "/a/small.txt", r + "/b/small.txt"};
    const std::vector<QByteArray> viaLink{r + "/b/copy.mp3", r + "/c/link.mp3"};
    const std::vector<QByteArray> viaFile{r + "/a/linked.mp3", r + "/b/copy.mp3"};
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0], big);
    EXPECT_TRUE(groups[1] == viaFile || groups[2] == viaLink);
    EXPECT_EQ(groups[1] == viaFile ? groups[2] : groups[1], small);
    EXPECT_EQ(run.listener->finishCount, 1);
}

TEST_F(DuplicatesFilterTest, EqualContentOfTwoTypesIsNeverOneGroup) {
    // Many small sets, so they share digest separations.
    for (int i = 0; i < 40; ++i) {
        const QByteArray bytes = content(i, 100 + i);
        write("img" + QByteArray::number(i) + ".jpg", bytes);
        write("doc" + QByteArray::number(i) + ".pdf", bytes);
    }
    write("x/copy7.jpg", content(7, 107));
    write("x/empty.jpg", {});
    write("y/empty.jpg", {});
    write("y/empty.pdf", {});
    const BuiltTree built = buildTree(root());
    FilterRun run(0);
    ASSERT_TRUE(run.compare(built.files));
    const QByteArray r = root();
    EXPECT_EQ(groupPaths(*run.listener->result),
              (std::vector<std::vector<QByteArray>>{{r + "/img7.jpg", r + "/x/copy7.jpg"},
                                                    {r + "/x/empty.jpg", r + "/y/empty.jpg"}}));
}

TEST_F(DuplicatesFilterTest, FixedModeClosesTheTypeBeforeEachSavedGroup) {
    write("a.jpg", content(1, 2000));
    write("b.jpg", content(1, 2000));
    write("a.mp3", content(2, 3000));
    write("b.mp3", content(2, 3000));
    const BuiltTree built = buildTree(root());
    FilterRun run(1);
    ASSERT_TRUE(run.compare(built.files));
    EXPECT_EQ(run.listener->finishedTypes, (std::set<int>{1}));
    EXPECT_EQ(run.listener->filtered, (std::vector<std::pair<int32_t, int>>{{2, 0}, {2, 2}}));
}

TEST_F(DuplicatesFilterTest, StopBeforeAnyGroupLeavesNoSmallestSize) {
    for (int i = 0; i < 40; ++i)
        write(QByteArray("f") + QByteArray::number(i) + ".bin", content(i % 2, 50000));
    const BuiltTree built = buildTree(root());
    FilterRun run(kAutomatic);
    run.file(built.files);
    // A stop before the comparison is forgotten when it starts.
    run.queue.sync([&] { run.filter->stopFilterDuplicates(); });
    {
        // The digest separation is set up but cannot begin before the stop has reached it.
        TestSupport::QueueGate gate(FileSeparator::workingQueue());
        run.filter->filterDuplicates();
        run.queue.sync([&] { run.filter->stopFilterDuplicates(); });
    }
    ASSERT_TRUE(TestSupport::waitFor([&] { return run.listener->result != nullptr; }));
    EXPECT_EQ(run.listener->finishCount, 1);
    EXPECT_TRUE(run.listener->filtered.empty());
    EXPECT_EQ(run.filter->getCurrentMinimalFileSize(), kAutomatic);
    EXPECT_TRUE(groupPaths(*run.listener->result).empty());
    // The stopped separation gave its files back.
    for (FileSystemItem* file : built.files)
        EXPECT_FALSE(file->isCheckedForDuplicates());
}

TEST_F(DuplicatesFilterTest, AStopAfterTheComparisonChangesNothing) {
    write("a.txt", content(1, 500));
    write("b.txt", content(1, 500));
    const BuiltTree built = buildTree(root());
    FilterRun run(kAutomatic);
    ASSERT_TRUE(run.compare(built.files));
    run.queue.sync([&] { run.filter->stopFilterDuplicates(); });
    TestSupport::spinFor(100);
    for (FileSystemItem* file : built.files)
        EXPECT_TRUE(file->isCheckedForDuplicates());
    EXPECT_EQ(groupPaths(*run.listener->result).size(), 1u);
    EXPECT_EQ(run.listener->finishCount, 1);
}

TEST_F(DuplicatesFilterTest, PromotionalPanelIsAskedWithTheCandidateCount) {
    for (int i = 0; i < 1000; ++i)
        write(QByteArray("e") + QByteArray::number(i) + ".txt", {});
    const BuiltTree built = buildTree(root());
    UserDefaults::standardUserDefaults().setObject("ZEMBROOK_DIALOG_DATA:is_can_show_dialog", true);
    int opened = 0;
    PromoPanelGate::setPanelOpener([&] { ++opened; });
    {
        FilterRun run(kAutomatic);
        std::vector<FileSystemItem*> fewer(built.files.begin(), built.files.end() - 1);
        ASSERT_TRUE(run.compare(fewer));
        TestSupport::spinFor(50);
        EXPECT_EQ(opened, 0);
    }
    for (FileSystemItem* file : built.files)
        file->setIsCheckedForDuplicates(false);
    {
        FilterRun run(kAutomatic);
        ASSERT_TRUE(run.compare(built.files));
        ASSERT_TRUE(TestSupport::waitFor([&] { return opened == 1; }));
    }
    PromoPanelGate::setPanelOpener({});
    UserDefaults::standardUserDefaults().removeObject("ZEMBROOK_DIALOG_DATA:is_can_show_dialog");
    UserDefaults::standardUserDefaults().removeObject("ZEMBROOK_DIALOG_DATA:next_show_date");
    UserDefaults::standardUserDefaults().removeObject("ZEMBROOK_DIALOG_DATA:showed_version");
}

} // namespace
