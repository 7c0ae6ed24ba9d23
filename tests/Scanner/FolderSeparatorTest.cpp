#include "ScanFixture.h"
#include "TestSupport.h"

#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Platform/Dispatch.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Scanner/FolderSeparator.h"
#include "Scanner/FolderSeparatorForContainer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>

using namespace ScanFixture;

namespace {

class Listener final : public FolderSeparatorForContainerListener {
public:
    void onFinishFolderSeparator(FolderSeparatorForContainer*, const FolderSets& sets,
                                 const std::shared_ptr<DuplicatesContainer>&) override {
        result = sets;
        ++finished;
    }
    FolderSets result;
    std::atomic<int> finished{0};
};

class FolderSeparatorTest : public ::testing::Test {
protected:
    QByteArray root() const { return QFile::encodeName(dir.path()); }
    void write(const QByteArray& relative, const QByteArray& bytes) {
        ASSERT_TRUE(TestSupport::writeFile(root() + '/' + relative, bytes));
    }
    void mkdir(const QByteArray& relative) {
        ASSERT_TRUE(QDir().mkpath(dir.path() + '/' + relative));
    }

    // Separates the named folders of a fresh tree; answers the sets as sorted relative names.
    std::vector<std::vector<QByteArray>> separate(const std::vector<QByteArray>& names,
                                                  bool stopAtOnce = false) {
        built = buildTree(root());
        container = DuplicatesContainer::create(false);
        std::vector<FolderSystemItem*> folders;
        for (const QByteArray& name : names)
            folders.push_back(built.folder(name));
        auto listener = std::make_shared<Listener>();
        auto separator = std::make_shared<FolderSeparatorForContainer>();
        {
            // With a stop, the separation waits at the gate until the stop is queued behind
            // its start: the stop lands before any comparison, however busy the machine.
            std::optional<TestSupport::QueueGate> gate;
            if (stopAtOnce)
                gate.emplace(FolderSeparator::workingQueue());
            separator->separateItemsToContainerWithListener(folders, container, listener);
            if (stopAtOnce)
                separator->stop();
        }
        EXPECT_TRUE(TestSupport::waitFor([&] { return listener->finished.load() == 1; }, 20000));
        std::vector<std::vector<QByteArray>> sets;
        for (const auto& set : listener->result) {
            std::vector<QByteArray> relative;
            for (FolderSystemItem* folder : set)
                relative.push_back(folder->name());
            std::sort(relative.begin(), relative.end());
            sets.push_back(relative);
        }
        std::sort(sets.begin(), sets.end());
        return sets;
    }

    QTemporaryDir dir;
    BuiltTree built;
    std::shared_ptr<DuplicatesContainer> container;
};

using Sets = std::vector<std::vector<QByteArray>>;

TEST_F(FolderSeparatorTest, FoldersWithTheSameFilesAreIdentical) {
    for (const char* folder : {"x", "y"}) {
        write(QByteArray(folder) + "/one.txt", content(1, 300));
        write(QByteArray(folder) + "/two.jpg", content(2, 5000));
        write(QByteArray(folder) + "/sub/three.dat", content(3, 700));
    }
    EXPECT_EQ(separate({"x", "y"}), (Sets{{"x", "y"}}));
    // The equal files met on the way became same-content sets; each folder's copies now
    // lie in the folder group.
    EXPECT_GE(container->getSmallDuplicatesCategory()->getGroupsCount(), 3u);
    ASSERT_EQ(container->getCategoryWithType(6)->getGroupsCount(), 1u);
}

TEST_F(FolderSeparatorTest, SameSizeDifferentContentSplitsWithNoResult) {
    write("x/a.txt", content(1, 300));
    write("y/a.txt", content(2, 300));
    EXPECT_EQ(separate({"x", "y"}), Sets{});
    EXPECT_TRUE(built.folder("x")->isCheckedForDuplicates());
    EXPECT_TRUE(built.folder("y")->isCheckedForDuplicates());
}

TEST_F(FolderSeparatorTest, EmptyFoldersAreIdenticalOnlyUnderTheSameName) {
    mkdir("p/empty");
    mkdir("q/empty");
    mkdir("r/other");
    EXPECT_EQ(separate({"p/empty", "q/empty"}), (Sets{{"empty", "empty"}}));
    EXPECT_EQ(separate({"p/empty", "r/other"}), Sets{});
}

TEST_F(FolderSeparatorTest, OnlyTheDifferingMiddleFolderIsLeftAlone) {
    write("f1/a.txt", content(1, 300));
    write("f2/a.txt", content(9, 300));
    write("f3/a.txt", content(1, 300));
    EXPECT_EQ(separate({"f1", "f2", "f3"}), (Sets{{"f1", "f3"}}));
}

TEST_F(FolderSeparatorTest, OneFolderReachedTwiceIsNotItsOwnCopy) {
    mkdir("real/empty");
    ASSERT_TRUE(QFile::link(dir.path() + "/real", dir.path() + "/alias"));
    // A second node for the same empty folder on disk, as a bind mount would give.
    built = buildTree(root());
    container = DuplicatesContainer::create(false);
    FolderSystemItem* alias =
        FolderSystemItem::initWithPathSize(*built.tree, "alias", built.root, 0, false, 0, false, 0);
    FolderSystemItem* second =
        FolderSystemItem::initWithPathSize(*built.tree, "empty", alias, 0, false, 0, false, 0);
    auto listener = std::make_shared<Listener>();
    auto separator = std::make_shared<FolderSeparatorForContainer>();
    separator->separateItemsToContainerWithListener({built.folder("real/empty"), second}, container,
                                                    listener);
    ASSERT_TRUE(TestSupport::waitFor([&] { return listener->finished.load() == 1; }));
    EXPECT_TRUE(listener->result.empty());
    EXPECT_EQ(container->getCategoryWithType(6)->getGroupsCount(), 0u);
}

TEST_F(FolderSeparatorTest, AStopEndsTheWholeSeparationWithNoResult) {
    for (const char* folder : {"x", "y"}) {
        for (int i = 0; i < 30; ++i)
            write(QByteArray(folder) + "/f" + QByteArray::number(i) + ".bin",
                  content(i, 60000 + i));
        write(QByteArray(folder) + "/sub/inner.bin", content(99, 5000));
    }
    EXPECT_EQ(separate({"x", "y"}, true), Sets{});
    EXPECT_TRUE(built.folder("x")->isCheckedForDuplicates());
    EXPECT_TRUE(built.folder("y")->isCheckedForDuplicates());
    EXPECT_EQ(container->getCategoryWithType(6)->getGroupsCount(), 0u);
}

} // namespace
