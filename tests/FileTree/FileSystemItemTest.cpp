#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"

#include "TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <thread>

namespace {

struct Fixture : ::testing::Test {
    std::shared_ptr<ScanTree> tree = ScanTree::create();

    VolumeSystemItem* root(QByteArrayView path = "/") {
        return VolumeSystemItem::initWithPath(*tree, path, 1000, 500);
    }
    FolderSystemItem* folder(FolderSystemItem* parent, QByteArrayView name, bool hidden = false) {
        return FolderSystemItem::initWithPathSize(*tree, name, parent, 0, false, 0, hidden, 0);
    }
    FileSystemItem* file(FolderSystemItem* parent, QByteArrayView name, std::int64_t size,
                         std::int64_t logical, bool hidden = false) {
        return FileSystemItem::initWithPathSize(*tree, name, parent, size, 0, hidden, logical);
    }
};

using FileSystemItemTest = Fixture;
using FolderSystemItemTest = Fixture;

TEST_F(FileSystemItemTest, PathsJoinWithOneSlashAndRootKeepsWholePath) {
    VolumeSystemItem* slash = root("/");
    FolderSystemItem* users = folder(slash, "Users");
    FileSystemItem* doc = file(users, "a.txt", 10, 5);
    EXPECT_EQ(slash->path(), "/");
    EXPECT_EQ(users->path(), "/Users");
    EXPECT_EQ(doc->path(), "/Users/a.txt");

    VolumeSystemItem* start = root("/home/me/Pictures");
    EXPECT_EQ(start->name(), "/home/me/Pictures");
    EXPECT_EQ(start->path(), "/home/me/Pictures");
    EXPECT_EQ(start->parent(), nullptr);
    EXPECT_FALSE(start->isTopHiddenFlag());
    EXPECT_EQ(file(start, "x", 1, 1)->path(), "/home/me/Pictures/x");
    EXPECT_EQ(start->displayName(), "Pictures");

    // A start folder given with a trailing "/" gets no second one.
    EXPECT_EQ(file(root("/srv/data/"), "y", 1, 1)->path(), "/srv/data/y");
}

TEST_F(FileSystemItemTest, PathsOfDeepChainsAreWhole) {
    // Deeper and shallower than the chain a path is usually built from at once.
    for (const int depth : {3, 127, 128, 129, 300}) {
        SCOPED_TRACE(depth);
        FolderSystemItem* parent = root("/top");
        QByteArray expected = "/top";
        for (int i = 0; i < depth; ++i) {
            const QByteArray name = "d" + QByteArray::number(i);
            parent = folder(parent, name);
            expected += "/" + name;
        }
        EXPECT_EQ(file(parent, "leaf", 1, 1)->path(), expected + "/leaf");
        EXPECT_EQ(parent->path(), expected);
    }
}

TEST_F(FileSystemItemTest, NamesAreRawBytesAndPathReopensTheFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray base = QFile::encodeName(dir.path());
    const QByteArray invalid("caf\xe9\xff.bin", 9);
    ASSERT_TRUE(TestSupport::writeFile(base + "/" + invalid, "payload"));

    VolumeSystemItem* top = root(base);
    FileSystemItem* node = file(top, invalid, 4096, 7);
    EXPECT_EQ(node->name(), invalid);
    EXPECT_EQ(node->nameView(), QByteArrayView(invalid));
    // Open through the raw bytes, not through a decoded name.
    FILE* raw = ::fopen(node->path().constData(), "rb");
    ASSERT_NE(raw, nullptr);
    char buffer[16] = {};
    EXPECT_EQ(::fread(buffer, 1, sizeof buffer, raw), 7u);
    ::fclose(raw);
    EXPECT_FALSE(node->displayName().isEmpty());
    EXPECT_TRUE(node->getFileItemLastModificationDate().isValid());

    FileSystemItem* gone = file(top, "removed", 1, 1);
    EXPECT_FALSE(gone->getFileItemLastModificationDate().isValid());
    EXPECT_EQ(gone->displayName(), "removed");
}

TEST_F(FileSystemItemTest, FileAnswersNeutralValuesAndNeverNegativeTotal) {
    VolumeSystemItem* top = root();
    FileSystemItem* negative = file(top, "neg", -4096, 3, false);
    EXPECT_EQ(negative->calctotalsize(), 0);
    EXPECT_EQ(negative->gettotalsize(), -4096);
    EXPECT_EQ(negative->logicalSize(), 3);
    EXPECT_FALSE(negative->isDir());
    EXPECT_FALSE(negative->isPackage());
    EXPECT_EQ(negative->childWithName("x"), nullptr);
    negative->recalculateCountOfDeepChildren();
    EXPECT_EQ(negative->getCountOfDeepChildren(), 0u);
    EXPECT_EQ(negative->getCountOfDeepFilesWithHidden(true), 0u);
    EXPECT_EQ(negative->getDuplicateItem(), nullptr);
    EXPECT_FALSE(negative->isCheckedForDuplicates());
    negative->setIsCheckedForDuplicates(true);
    EXPECT_TRUE(negative->isCheckedForDuplicates());
}

TEST_F(FileSystemItemTest, TimeCodeHasNoEffect) {
    VolumeSystemItem* top = root();
    FileSystemItem* a = FileSystemItem::initWithPathSize(*tree, "f", top, 10, 0, false, 5);
    FileSystemItem* b = FileSystemItem::initWithPathSize(*tree, "f", top, 10, 0xff, false, 5);
    EXPECT_EQ(a->isHiddenFlag(), b->isHiddenFlag());
    EXPECT_EQ(a->gettotalsize(), b->gettotalsize());
    EXPECT_EQ(a->path(), b->path());
}

TEST_F(FileSystemItemTest, HiddenTerritoryAndPackages) {
    VolumeSystemItem* top = root("/data");
    FolderSystemItem* hidden = folder(top, ".cache", true);
    FileSystemItem* inside = file(hidden, "visible", 1, 1);
    EXPECT_TRUE(hidden->isHiddenFlag());
    EXPECT_FALSE(inside->isHiddenFlag());
    EXPECT_TRUE(inside->isTopHiddenFlag());
    inside->setHiddenFlag(true);
    EXPECT_TRUE(inside->isHiddenFlag());
    inside->setHiddenFlag(false);
    EXPECT_FALSE(inside->isHiddenFlag());

    FolderSystemItem* app =
        FolderSystemItem::initWithPathSize(*tree, "Tool.app", top, 0, true, 0, false, 0);
    FileSystemItem* binary = file(app, "bin", 1, 1);
    EXPECT_TRUE(app->isPackage());
    EXPECT_FALSE(app->isInPackage());
    EXPECT_TRUE(binary->isInPackage());
    FolderSystemItem* nested = folder(app, "Contents");
    EXPECT_TRUE(nested->isInPackage());
    EXPECT_FALSE(nested->isPackage());
}

TEST_F(FolderSystemItemTest, PackageAnswerByPathRules) {
    VolumeSystemItem* top = root("/opt");
    struct Case {
        const char* name;
        bool package;
    } cases[] = {{"Lib.framework", true},
                 {"Lib.FRAMEWORK", false},
                 {"Viewer.app", true},
                 {".app", false},
                 {"plain", false}};
    for (const Case& c : cases)
        EXPECT_EQ(folder(top, c.name)->isPackage(), c.package) << c.name;
    EXPECT_TRUE(root("/Applications/Viewer.app")->isPackage());
    EXPECT_FALSE(root("/home/me")->isPackage());
}

TEST_F(FolderSystemItemTest, EmptyFolderAnswersNothing) {
    VolumeSystemItem* top = root();
    FolderSystemItem* empty = folder(top, "empty");
    EXPECT_TRUE(empty->childrenArray().empty());
    empty->recalculateCountOfDeepChildren();
    EXPECT_EQ(empty->getCountOfDeepChildren(), 0u);
    EXPECT_EQ(empty->getCountOfDeepFilesWithHidden(true), 0u);
    EXPECT_EQ(empty->calctotalsize(), 0);
    EXPECT_EQ(empty->logicalSize(), 0);
    EXPECT_EQ(empty->childWithName("x"), nullptr);
    EXPECT_FALSE(empty->containsObject(top));
    empty->removeChild(top);
    EXPECT_TRUE(empty->childrenDeepArray().empty());
}

TEST_F(FolderSystemItemTest, TotalsCountsAndRemoval) {
    VolumeSystemItem* top = root("/r");
    FolderSystemItem* a = folder(top, "a");
    FolderSystemItem* b = folder(a, "b");
    FileSystemItem* f1 = file(b, "f1", 4096, 100);
    file(b, "f2", 8192, 200);
    file(a, "f3", 4096, 1);
    file(a, "f4", 0, 0);
    FolderSystemItem* c = folder(b, "c");
    file(c, "f5", 4096, 3);

    EXPECT_EQ(top->calctotalsizeex(), 4096 + 8192 + 4096 + 4096);
    EXPECT_EQ(top->logicalSize(), 304);
    EXPECT_EQ(a->gettotalsize(), 20480);
    EXPECT_EQ(b->logicalSize(), 303);

    top->recalculateCountOfDeepChildren();
    EXPECT_EQ(top->getCountOfDeepChildren(), 8u);
    EXPECT_EQ(a->getCountOfDeepChildren(), 7u);
    EXPECT_EQ(b->getCountOfDeepChildren(), 4u);

    // Another folder's child is refused and changes nothing.
    EXPECT_FALSE(a->removeChildAndRecalc(f1));
    EXPECT_EQ(a->gettotalsize(), 20480);

    EXPECT_TRUE(b->removeChildAndRecalc(f1));
    EXPECT_EQ(b->gettotalsize(), 16384 - 4096);
    EXPECT_EQ(a->gettotalsize(), 20480 - 4096);
    EXPECT_EQ(top->gettotalsize(), 20480 - 4096);
    EXPECT_EQ(b->logicalSize(), 303);
    EXPECT_EQ(top->logicalSize(), 304);
    EXPECT_FALSE(b->containsObject(f1));
    EXPECT_EQ(b->childWithName("f1"), nullptr);
    EXPECT_EQ(b->childWithName("f2")->logicalSize(), 200);

    // Sizes never fall below 0.
    c->decreaseTotalSize(1 << 30);
    EXPECT_EQ(c->gettotalsize(), 0);
    EXPECT_EQ(top->gettotalsize(), 0);
}

TEST_F(FolderSystemItemTest, DeepFileCountsRespectHiddenTerritory) {
    VolumeSystemItem* top = root();
    FolderSystemItem* f = folder(top, "f");
    file(f, "visible", 1, 1);
    file(f, ".hidden", 1, 1, true);
    FolderSystemItem* h = folder(f, ".h", true);
    file(h, "one", 1, 1);
    file(h, "two", 1, 1);
    EXPECT_EQ(f->getCountOfDeepFilesWithHidden(false), 1u);
    EXPECT_EQ(f->getCountOfDeepFilesWithHidden(true), 4u);
    EXPECT_EQ(h->getCountOfDeepFilesWithHidden(false), 0u);
}

TEST_F(FolderSystemItemTest, FlatListsKeepTheirOrder) {
    VolumeSystemItem* top = root();
    FolderSystemItem* f = folder(top, "F");
    FolderSystemItem* a = folder(f, "A");
    FileSystemItem* b = file(f, "b", 1, 1);
    FolderSystemItem* c = folder(f, "C");
    FileSystemItem* a1 = file(a, "a1", 1, 1);
    FolderSystemItem* a2 = folder(a, "A2");
    FileSystemItem* c1 = file(c, "c1", 1, 1);

    using Nodes = FolderSystemItem::Nodes;
    EXPECT_EQ(f->childrenDeepArray(), (Nodes{a, b, c, a1, a2, c1}));
    EXPECT_EQ(f->subFoldersDeepArray(), (Nodes{a, a2, c}));
    EXPECT_TRUE(f->duplicatesDeepArray().empty());
    const auto direct = f->childrenArray();
    EXPECT_EQ(Nodes(direct.begin(), direct.end()), (Nodes{a, b, c}));
}

TEST_F(FolderSystemItemTest, NoParentInitialiserLinksParentOnly) {
    VolumeSystemItem* top = root("/t");
    FileSystemItem* loose =
        FileSystemItem::initWithPathSizeNoParent(*tree, "x", top, 1, 0, false, 1);
    FolderSystemItem* looseFolder =
        FolderSystemItem::initWithPathSizeNoParent(*tree, "d", top, 1, false, 0, false, 1);
    EXPECT_EQ(loose->parent(), top);
    EXPECT_EQ(looseFolder->parent(), top);
    EXPECT_TRUE(top->childrenArray().empty());
    EXPECT_EQ(loose->path(), "/t/x");
    top->addChild(loose);
    EXPECT_TRUE(top->containsObject(loose));
}

TEST_F(FolderSystemItemTest, TrimmedChildrenListsKeepTheirEntriesAndGrowAgain) {
    using Nodes = FolderSystemItem::Nodes;
    VolumeSystemItem* top = root("/t");
    FolderSystemItem* empty = folder(top, "empty");
    FolderSystemItem* full = folder(top, "full");
    Nodes files;
    for (int i = 0; i < 5; ++i) // 5 entries in room for 8
        files.push_back(file(full, QByteArray::number(i), 1, 1));
    const std::size_t before = tree->childrenBytes();

    tree->trimChildrenLists();
    EXPECT_EQ(tree->childrenBytes(), before - 3 * sizeof(FileSystemItem*));
    EXPECT_TRUE(empty->childrenArray().empty());
    const auto kept = full->childrenArray();
    EXPECT_EQ(Nodes(kept.begin(), kept.end()), files);
    EXPECT_EQ(top->childrenDeepArray().size(), 7u);

    files.push_back(file(full, "late", 1, 1));
    const auto grown = full->childrenArray();
    EXPECT_EQ(Nodes(grown.begin(), grown.end()), files);
    EXPECT_TRUE(full->containsObject(files.back()));
}

TEST(ScanTreeTest, EveryNodeFindsItsTreeAndKeepsItAlive) {
    std::weak_ptr<ScanTree> watch;
    FileSystemItem* leaf = nullptr;
    std::shared_ptr<ScanTree> kept;
    {
        auto tree = ScanTree::create();
        watch = tree;
        VolumeSystemItem* r1 = VolumeSystemItem::initWithPath(*tree, "/one", 0, 0);
        VolumeSystemItem* r2 = VolumeSystemItem::initWithPath(*tree, "/two", 0, 0);
        leaf = FileSystemItem::initWithPathSize(*tree, "leaf", r2, 1, 0, false, 1);
        EXPECT_EQ(r1->tree(), tree);
        EXPECT_EQ(leaf->tree(), tree);
        kept = leaf->tree();
    }
    EXPECT_FALSE(watch.expired());
    EXPECT_EQ(leaf->path(), "/two/leaf");
    kept.reset();
    EXPECT_TRUE(watch.expired());
}

TEST(ScanTreeTest, AdoptedObjectsGoWithTheTree) {
    int deleted = 0;
    static int* counter = nullptr;
    counter = &deleted;
    {
        auto tree = ScanTree::create();
        tree->adopt(new int(1), [](void* p) {
            delete static_cast<int*>(p);
            ++*counter;
        });
        tree->adopt(nullptr, [](void*) { ++*counter; });
    }
    EXPECT_EQ(deleted, 1);
}

TEST(ScanTreeTest, AnObjectAttachedToANodeIsKeptOnceAndGoesWithTheTree) {
    int deleted = 0;
    static int* counter = nullptr;
    counter = &deleted;
    const auto deleter = [](void* p) {
        delete static_cast<int*>(p);
        ++*counter;
    };
    {
        auto tree = ScanTree::create();
        const int node = 0;
        EXPECT_EQ(tree->attachedTo(&node), nullptr);
        int* first = new int(1);
        EXPECT_EQ(tree->attach(&node, first, deleter), first);
        // A second one for the same node is not needed: it goes at once.
        EXPECT_EQ(tree->attach(&node, new int(2), deleter), first);
        EXPECT_EQ(deleted, 1);
        EXPECT_EQ(tree->attachedTo(&node), first);
        EXPECT_EQ(tree->attach(&node, nullptr, deleter), first);
    }
    EXPECT_EQ(deleted, 2);
}

TEST(ScanTreeTest, ThreadsMakeNodesAtOnceWithoutMixingThem) {
    auto tree = ScanTree::create();
    VolumeSystemItem* top = VolumeSystemItem::initWithPath(*tree, "/many", 0, 0);
    constexpr int kThreads = 4;
    constexpr int kPerThread = 20000;
    std::vector<std::vector<FileSystemItem*>> made(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            FolderSystemItem* own = FolderSystemItem::initWithPathSizeNoParent(
                *tree, "d" + QByteArray::number(t), top, 0, false, 0, false, 0);
            made[t].push_back(own);
            for (int i = 0; i < kPerThread; ++i) {
                const QByteArray name = QByteArray::number(t) + "_" + QByteArray::number(i);
                made[t].push_back(
                    FileSystemItem::initWithPathSizeNoParent(*tree, name, own, i, 0, false, i));
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    std::set<FileSystemItem*> distinct;
    for (int t = 0; t < kThreads; ++t) {
        auto* own = made[t][0]->asFolder();
        top->addChild(own);
        for (int i = 1; i <= kPerThread; ++i) {
            FileSystemItem* node = made[t][std::size_t(i)];
            own->addChild(node);
            distinct.insert(node);
            ASSERT_EQ(node->name(), QByteArray::number(t) + "_" + QByteArray::number(i - 1));
            ASSERT_EQ(node->tree(), tree);
        }
    }
    EXPECT_EQ(distinct.size(), std::size_t(kThreads * kPerThread));
    top->calctotalsize();
    const std::int64_t perThread = std::int64_t(kPerThread) * (kPerThread - 1) / 2;
    EXPECT_EQ(top->logicalSize(), kThreads * perThread);
    EXPECT_GT(tree->bytesInUse(), std::size_t(kThreads * kPerThread) * sizeof(FileSystemItem));
}

// Each name is kept right after its node: names of every length, from empty to a root's
// whole path, read back intact while nodes of both kinds fill several chunks around them,
// and a name no file system could hold is refused.
TEST_F(FileSystemItemTest, NamesOfEveryLengthStayIntactBesideTheirNodes) {
    const QByteArray longPath = "/" + QByteArray(4094, 'p');
    VolumeSystemItem* top = root(longPath);
    std::vector<std::pair<FileSystemItem*, QByteArray>> made;
    for (int i = 0; i < 20000; ++i) {
        const QByteArray name = QByteArray(i % 256, char('a' + i % 26)) + QByteArray::number(i);
        FileSystemItem* node =
            i % 3 == 0 ? static_cast<FileSystemItem*>(folder(top, name)) : file(top, name, i, i);
        made.emplace_back(node, name);
    }
    FileSystemItem* unnamed = file(top, "", 1, 1);
    EXPECT_EQ(top->name(), longPath);
    EXPECT_EQ(unnamed->name(), QByteArray());
    for (const auto& [node, name] : made) {
        ASSERT_EQ(node->name(), name);
        ASSERT_EQ(node->path(), longPath + "/" + name);
    }
    EXPECT_THROW(file(top, QByteArray(int(ScanTree::kChunkSize), 'x'), 1, 1), std::length_error);
}

} // namespace
