#include "ResultFixture.h"

#include "Platform/Dispatch.h"

#include <algorithm>
#include <set>

namespace {

// A and B are identical folders, each holding x.txt (100 bytes) and y.jpg (50 bytes); C holds
// one more x.txt. As a scan makes them: the file groups first, then the folder group, which
// hides the picture group (every copy inside a duplicate folder).
struct ContainerTest : ResultFixture {
    FolderSystemItem *a = nullptr, *b = nullptr, *c = nullptr;
    FileSystemItem *ax = nullptr, *ay = nullptr, *bx = nullptr, *by = nullptr, *cx = nullptr;

    void SetUp() override {
        ResultFixture::SetUp();
        a = folder(root, "A");
        b = folder(root, "B");
        c = folder(root, "C");
        ax = file(a, "x.txt", 100);
        ay = file(a, "y.jpg", 50, 'y');
        bx = file(b, "x.txt", 100);
        by = file(b, "y.jpg", 50, 'y');
        cx = file(c, "x.txt", 100);
        root->calctotalsize();
    }

    void buildScanResult(const std::shared_ptr<DuplicatesContainer>& result) {
        ASSERT_TRUE(result->addGroupWithItems({ax, bx, cx}));
        ASSERT_TRUE(result->addGroupWithItems({ay, by}));
        ASSERT_TRUE(result->addGroupWithItems({a, b}));
        result->saveRoots({root});
    }

    std::shared_ptr<DuplicatesCategory> category(int type) const {
        return container->getCategoryWithType(type);
    }
    static std::shared_ptr<DuplicatesGroup> groupOf(const FileSystemItem* node) {
        return node->getDuplicateItem() ? node->getDuplicateItem()->getGroup() : nullptr;
    }
};

TEST_F(ContainerTest, RoutesGroupsByTypeAndHidesGroupsInsideDuplicateFolders) {
    EXPECT_EQ(container->getCategoryWithType(-1), nullptr);
    EXPECT_EQ(container->getCategoryWithType(7), nullptr);
    EXPECT_EQ(container->getCategoryWithType(1000), nullptr);
    EXPECT_EQ(container->addGroupWithItems({ax}), nullptr);
    EXPECT_EQ(container->addGroupWithItems({}), nullptr);
    EXPECT_EQ(copyOf(ax), nullptr);

    buildScanResult(container);
    EXPECT_EQ(groupOf(ax)->getCategory(), category(DuplicatesCategoryTypeDocument));
    EXPECT_EQ(groupOf(a)->getCategory(), category(DuplicatesCategoryTypeFolder));
    // The picture group moved on to the hidden category while the folder group joined: a new
    // group, not in the list of all groups.
    const auto hidden = container->getHiddenCategoryOfDuplicates();
    ASSERT_EQ(hidden->getGroupsCount(), 1u);
    EXPECT_EQ(groupOf(ay)->getCategory(), hidden);
    EXPECT_EQ(copyOf(ay)->getAssociatedDuplicateFolder().get(), copyOf(a));
    EXPECT_EQ(container->getAllFilesGroups().size(), 2u);
    EXPECT_EQ(category(DuplicatesCategoryTypeImage)->getGroupsCount(), 0u);
    EXPECT_EQ(category(DuplicatesCategoryTypeImage)->getTotalSize(), 0u);
    // Copies inside duplicate folders add nothing to the sizes: only C/x counts.
    EXPECT_EQ(category(DuplicatesCategoryTypeDocument)->getTotalSize(), 100u);
    EXPECT_EQ(container->getAllFilesSize(), 100u + 2 * 150u);
}

TEST_F(ContainerTest, RemoveListHoldsSelectedFoldersButNotTheCopiesInside) {
    buildScanResult(container);
    EXPECT_TRUE(container->buildRemoveList().empty());
    ASSERT_TRUE(copyOf(a)->selectItemForced(false));
    ASSERT_TRUE(copyOf(cx)->selectItemForced(false));
    EXPECT_TRUE(copyOf(ax)->isSelected());
    EXPECT_TRUE(copyOf(ay)->isSelected());
    const auto list = container->buildRemoveList();
    std::set<const DuplicateItem*> listed;
    for (const auto& item : list) {
        listed.insert(item.get());
    }
    EXPECT_EQ(listed, (std::set<const DuplicateItem*>{copyOf(a), copyOf(cx)}));
    EXPECT_EQ(container->getItemsCountInRemoveList(), 2u);
    EXPECT_EQ(container->getRemoveListTotalSize(), 150u + 100u);
}

TEST_F(ContainerTest, CleanUpAfterRemovingAFolderCopy) {
    buildScanResult(container);
    const int64_t rootSizeBefore = root->gettotalsize();
    ASSERT_TRUE(copyOf(b)->selectItemForced(false));
    container->removeDuplicateItemsFromLogicalStructure(container->buildRemoveList());

    // The folder and everything inside it left the groups and the tree; groups below two
    // copies stay until the clean-up.
    EXPECT_FALSE(root->containsObject(b));
    EXPECT_EQ(root->gettotalsize(), rootSizeBefore - b->gettotalsize());
    EXPECT_EQ(copyOf(b), nullptr);
    EXPECT_EQ(copyOf(bx), nullptr);
    EXPECT_EQ(copyOf(by), nullptr);
    const auto folders = category(DuplicatesCategoryTypeFolder);
    ASSERT_EQ(folders->getGroupsCount(), 1u);
    EXPECT_EQ(folders->getTotalCount(), 1u);
    EXPECT_EQ(container->getHiddenCategoryOfDuplicates()->getTotalCount(), 1u);

    dataChangedPosts = 0;
    container->validateEmptyDataAfterRemoveWithListener(nullptr);
    // Queued, never posted inside the clean-up.
    EXPECT_EQ(dataChangedPosts, 0);

    // The folder group went first, which freed A's copies from their duplicate folder; the
    // hidden pass then dropped the picture group, left with one copy.
    EXPECT_EQ(folders->getGroupsCount(), 0u);
    EXPECT_EQ(container->getHiddenCategoryOfDuplicates()->getGroupsCount(), 0u);
    EXPECT_EQ(copyOf(ay), nullptr);
    ASSERT_EQ(container->getAllFilesGroups().size(), 1u);
    const auto files = container->getAllFilesGroups().front();
    EXPECT_EQ(files->getTotalCount(), 2u);
    EXPECT_FALSE(copyOf(ax)->hasAssociatedDuplicateFolder());
    EXPECT_EQ(files->getTotalSize(), 200u);
    EXPECT_EQ(category(DuplicatesCategoryTypeDocument)->getTotalSize(), 200u);

    ASSERT_TRUE(TestSupport::waitFor([&] { return dataChangedPosts == 1; }));
    TestSupport::spinFor(50);
    EXPECT_EQ(dataChangedPosts, 1);
    EXPECT_TRUE(dataChangedOnMainThread);

    // A clean-up that changes nothing still posts, once.
    container->validateEmptyDataAfterRemoveWithListener(nullptr);
    ASSERT_TRUE(TestSupport::waitFor([&] { return dataChangedPosts == 2; }));
    TestSupport::spinFor(50);
    EXPECT_EQ(dataChangedPosts, 2);
}

TEST_F(ContainerTest, CleanUpRestoresHiddenGroupsThatLeftTheirFolders) {
    buildScanResult(container);
    const auto hiddenGroup = groupOf(ay);
    const uint64_t hiddenNumber = hiddenGroup->getGroupID();
    // The folder group is taken out of the lists (as the interface does), so A and B are no
    // longer duplicate folders. During a scan the interface shows another result, so the
    // picture group waits in the hidden category for the clean-up.
    category(DuplicatesCategoryTypeFolder)->removeGroup(groupOf(a));
    EXPECT_EQ(groupOf(ay), hiddenGroup);
    EXPECT_FALSE(hiddenGroup->isFullyInDuplicatesFolders());
    EXPECT_EQ(groupOf(ax)->getTotalSize(), 300u);

    container->validateEmptyDataAfterRemoveWithListener(nullptr);
    const auto restored = groupOf(ay);
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->getCategory(), category(DuplicatesCategoryTypeImage));
    EXPECT_NE(restored->getGroupID(), hiddenNumber);
    EXPECT_EQ(container->getHiddenCategoryOfDuplicates()->getGroupsCount(), 0u);
    EXPECT_EQ(category(DuplicatesCategoryTypeImage)->getTotalSize(), 100u);
    EXPECT_EQ(container->getAllFilesGroups().size(), 2u);
    ASSERT_TRUE(TestSupport::waitFor([&] { return dataChangedPosts == 1; }));
}

// The clean-up in steps ends where the clean-up at once does, in many short steps, and
// passes over groups that something else took out between two steps.
TEST_F(ContainerTest, CleanUpInStepsEndsAsAtOnceWhileTheResultChangesBetweenSteps) {
    FolderSystemItem* kept = folder(root, "kept");
    FolderSystemItem* copies = folder(root, "copies");
    constexpr int kPairs = 1500;
    std::vector<FileSystemItem*> copyNodes;
    for (int i = 0; i < kPairs; ++i) {
        const QByteArray name = QByteArray::number(i) + ".txt";
        FileSystemItem* first = file(kept, name, 10 + i % 7, char('a' + i % 20));
        FileSystemItem* second = file(copies, name, 10 + i % 7, char('a' + i % 20));
        ASSERT_TRUE(container->addGroupWithItems({first, second}));
        copyNodes.push_back(second);
    }
    buildScanResult(container);
    root->calctotalsize();
    std::vector<std::shared_ptr<DuplicateItem>> removed;
    for (FileSystemItem* node : copyNodes)
        removed.push_back(copyOf(node)->shared_from_this());
    removed.push_back(copyOf(b)->shared_from_this());
    container->removeDuplicateItemsFromLogicalStructure(removed);
    const auto documents = category(DuplicatesCategoryTypeDocument);
    ASSERT_EQ(documents->getGroupsCount(), std::size_t(kPairs) + 1);

    dataChangedPosts = 0;
    const auto step = container->validateEmptyDataAfterRemoveInSteps(nullptr);
    ASSERT_TRUE(step());
    int steps = 1;
    bool tookOneOut = false;
    while (step()) {
        ++steps;
        // A group still waiting for the clean-up leaves by another way.
        if (!tookOneOut && steps == 2) {
            const auto waiting =
                groupOf(kept->childWithName(QByteArray::number(kPairs - 1) + ".txt"));
            ASSERT_TRUE(waiting);
            documents->removeGroup(waiting);
            tookOneOut = true;
        }
        ASSERT_LT(steps, 100);
    }
    EXPECT_GT(steps, 2);
    // Exactly the state of the clean-up at once (see CleanUpAfterRemovingAFolderCopy).
    EXPECT_EQ(documents->getGroupsCount(), 1u);
    EXPECT_EQ(category(DuplicatesCategoryTypeFolder)->getGroupsCount(), 0u);
    EXPECT_EQ(container->getHiddenCategoryOfDuplicates()->getGroupsCount(), 0u);
    ASSERT_EQ(container->getAllFilesGroups().size(), 1u);
    EXPECT_EQ(container->getAllFilesGroups().front()->getTotalCount(), 2u);
    EXPECT_FALSE(copyOf(ax)->hasAssociatedDuplicateFolder());
    EXPECT_EQ(copyOf(ay), nullptr);
    EXPECT_EQ(documents->getTotalSize(), 200u);
    ASSERT_TRUE(TestSupport::waitFor([&] { return dataChangedPosts == 1; }));
    EXPECT_FALSE(step());
    TestSupport::spinFor(20);
    EXPECT_EQ(dataChangedPosts, 1);
}

TEST_F(ContainerTest, HiddenGroupOfTheShownResultComesBackAtOnce) {
    buildScanResult(container);
    DuplicatesManager::sharedManager().setDuplicateContainer(container);
    category(DuplicatesCategoryTypeFolder)->removeGroup(groupOf(a));
    ASSERT_TRUE(groupOf(ay));
    EXPECT_EQ(groupOf(ay)->getCategory(), category(DuplicatesCategoryTypeImage));
    EXPECT_EQ(container->getHiddenCategoryOfDuplicates()->getGroupsCount(), 0u);
}

TEST_F(ContainerTest, AMoveDissolvesTheGroupAndMakesANewOne) {
    buildScanResult(container);
    const auto old = groupOf(cx);
    const auto oldCopy = old->getItems().back();
    ASSERT_TRUE(copyOf(cx)->selectItemForced(false));
    old->moveToCategory(container->getHiddenCategoryOfDuplicates());
    EXPECT_EQ(old->getCategory(), nullptr);
    EXPECT_EQ(old->getTotalCount(), 0u);
    EXPECT_EQ(oldCopy->getGroup(), nullptr);
    EXPECT_TRUE(oldCopy->getFileItemPath().isEmpty());
    EXPECT_EQ(oldCopy->getFileSystemItem(), nullptr);
    const auto moved = groupOf(cx);
    ASSERT_TRUE(moved);
    EXPECT_NE(moved->getGroupID(), old->getGroupID());
    EXPECT_EQ(moved->getCategory(), container->getHiddenCategoryOfDuplicates());
    EXPECT_EQ(moved->getSelectedCountWithDuplicatesFolderContent(), 0u);
    EXPECT_EQ(category(DuplicatesCategoryTypeDocument)->getTotalSize(), 0u);
    EXPECT_EQ(category(DuplicatesCategoryTypeDocument)->getTotalSelectedSize(), 0u);

    // Removing a group that is not in the category, or twice, changes the totals once.
    category(DuplicatesCategoryTypeDocument)->removeGroup(moved);
    const auto hidden = container->getHiddenCategoryOfDuplicates();
    const uint64_t count = hidden->getTotalCount();
    hidden->removeGroup(moved);
    hidden->removeGroup(moved);
    EXPECT_EQ(hidden->getTotalCount(), count - 3);
}

TEST_F(ContainerTest, PackageContentGroupDisappearsWhileJoining) {
    FolderSystemItem* app = folder(root, "Tool.app");
    FileSystemItem* inside = file(app, "data.txt", 20);
    FileSystemItem* outsidePackage = file(c, "data.txt", 20);
    FolderSystemItem* app2 = folder(root, "Other.app");
    FileSystemItem* inside2 = file(app2, "data.txt", 20);
    ASSERT_TRUE(app->isPackage());
    const auto group = container->addGroupWithItems({inside, inside2});
    ASSERT_TRUE(group);
    EXPECT_TRUE(group->isPackageContent());
    EXPECT_TRUE(group->isFullyInDuplicatesFolders());
    EXPECT_EQ(group->getTotalCount(), 0u);
    EXPECT_EQ(group->getCategory(), nullptr);
    EXPECT_EQ(container->getHiddenCategoryOfDuplicates()->getGroupsCount(), 0u);
    EXPECT_TRUE(container->getAllFilesGroups().empty());
    EXPECT_EQ(copyOf(inside), nullptr);

    // A typed group refuses the package content but keeps the rest.
    const auto mixed = container->addGroupWithItems({outsidePackage, inside, inside2});
    ASSERT_TRUE(mixed);
    EXPECT_EQ(mixed->getTotalCount(), 1u);
}

TEST_F(ContainerTest, SmallDuplicatesCategoryNeverTakesATypedCopy) {
    FileSystemItem* loose = file(c, "z.txt", 100);
    const auto typed = container->addGroupWithItems({cx, loose});
    ASSERT_TRUE(typed);
    DuplicateItem* typedCopy = copyOf(cx);
    ASSERT_TRUE(typedCopy);

    // While folders are compared, C/x is met again in a small same-content set.
    const auto small = container->getSmallDuplicatesCategory();
    ASSERT_TRUE(small->addGroupWithItems({cx, bx}));
    EXPECT_EQ(copyOf(cx), typedCopy);
    ASSERT_TRUE(copyOf(bx));
    EXPECT_EQ(copyOf(bx)->getGroup()->getCategory(), small);

    small->removeAllGroups();
    EXPECT_EQ(small->getGroupsCount(), 0u);
    EXPECT_EQ(copyOf(cx), typedCopy);
    EXPECT_EQ(copyOf(bx), nullptr);
    EXPECT_EQ(typedCopy->getGroup(), typed);
    EXPECT_EQ(typed->getTotalCount(), 2u);
    EXPECT_EQ(typedCopy->getFileItemPath(), cx->path());

    // The last-copy guard still holds for the typed group.
    ASSERT_TRUE(typedCopy->selectItemForced(false));
    EXPECT_FALSE(copyOf(loose)->selectItemForced(false));

    // A small set whose every node already has a copy has no copies at all; the guard does
    // not wrap "copies minus one" round for it.
    const auto empty = small->addGroupWithItems({cx, loose});
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->getTotalCount(), 0u);
    EXPECT_FALSE(empty->selectItemForced(copyOf(loose), false));
    EXPECT_FALSE(copyOf(loose)->isSelected());
}

TEST_F(ContainerTest, TypedGroupTakesNodesOverFromSmallSets) {
    // A and B are first met as a small same-content set, then become a folder group.
    const auto small = container->getSmallDuplicatesCategory();
    ASSERT_TRUE(small->addGroupWithItems({a, b}));
    DuplicateItem* provisional = copyOf(a);
    ASSERT_TRUE(provisional);
    EXPECT_EQ(copyOf(ax), nullptr);
    ASSERT_TRUE(container->addGroupWithItems({ax, bx}));
    EXPECT_EQ(copyOf(ax)->getAssociatedDuplicateFolder().get(), provisional);

    const auto folders = container->addGroupWithItems({a, b});
    ASSERT_TRUE(folders);
    EXPECT_EQ(folders->getTotalCount(), 2u);
    EXPECT_EQ(copyOf(a)->getGroup(), folders);
    EXPECT_EQ(copyOf(ax)->getAssociatedDuplicateFolder().get(), copyOf(a));

    small->removeAllGroups();
    EXPECT_EQ(copyOf(a)->getGroup(), folders);
    EXPECT_EQ(copyOf(ax)->getAssociatedDuplicateFolder().get(), copyOf(a));
    EXPECT_EQ(groupOf(ax)->getCategory(), container->getHiddenCategoryOfDuplicates());
}

TEST_F(ContainerTest, NodeLinksOnlyToAMemberOfItsGroup) {
    const auto stray = std::make_shared<DuplicateItem>();
    ax->setDuplicateItem(stray.get());
    EXPECT_EQ(copyOf(ax), nullptr);

    buildScanResult(container);
    DuplicateItem* copy = copyOf(ax);
    ax->setDuplicateItem(stray.get());
    EXPECT_EQ(copyOf(ax), copy);
    // A copy of another typed group does not take the node either.
    const auto other = container->addGroupWithItems({ax, cx});
    ASSERT_TRUE(other);
    EXPECT_EQ(copyOf(ax), copy);

    // Clearing a folder's link ties the copies below to nothing.
    a->setDuplicateItem(nullptr);
    EXPECT_FALSE(copy->hasAssociatedDuplicateFolder());
}

TEST_F(ContainerTest, CopyInsideNestedDuplicateFoldersFollowsTheOuterOne) {
    FolderSystemItem* outer1 = folder(root, "O1");
    FolderSystemItem* outer2 = folder(root, "O2");
    FolderSystemItem* inner1 = folder(outer1, "I");
    FolderSystemItem* inner2 = folder(outer2, "I");
    FileSystemItem* f1 = file(inner1, "f.txt", 30);
    FileSystemItem* f2 = file(inner2, "f.txt", 30);
    root->calctotalsize();
    // The order of a scan: file groups, then inner folders before outer ones.
    ASSERT_TRUE(container->addGroupWithItems({f1, f2}));
    ASSERT_TRUE(container->addGroupWithItems({inner1, inner2}));
    EXPECT_EQ(copyOf(f1)->getAssociatedDuplicateFolder().get(), copyOf(inner1));
    ASSERT_TRUE(container->addGroupWithItems({outer1, outer2}));
    EXPECT_EQ(copyOf(f1)->getAssociatedDuplicateFolder().get(), copyOf(outer1));
    EXPECT_EQ(copyOf(inner1)->getAssociatedDuplicateFolder().get(), copyOf(outer1));
    EXPECT_EQ(groupOf(inner1)->getCategory(), container->getHiddenCategoryOfDuplicates());

    // The outer folder's link is cleared: the copy is tied to the inner folder again.
    category(DuplicatesCategoryTypeFolder)->removeGroup(groupOf(outer1));
    EXPECT_EQ(copyOf(outer1), nullptr);
    EXPECT_FALSE(copyOf(inner1)->hasAssociatedDuplicateFolder());
    EXPECT_EQ(copyOf(f1)->getAssociatedDuplicateFolder().get(), copyOf(inner1));
    EXPECT_EQ(copyOf(f2)->getAssociatedDuplicateFolder().get(), copyOf(inner2));

    container->validateEmptyDataAfterRemoveWithListener(nullptr);
    EXPECT_EQ(groupOf(inner1)->getCategory(), category(DuplicatesCategoryTypeFolder));
    EXPECT_EQ(copyOf(f1)->getAssociatedDuplicateFolder().get(), copyOf(inner1));
    EXPECT_EQ(groupOf(f1)->getCategory(), container->getHiddenCategoryOfDuplicates());
}

TEST_F(ContainerTest, FindsNodesByPath) {
    const QByteArray base = root->path();
    VolumeSystemItem* first = VolumeSystemItem::initWithPath(*tree, base + "/A", 0, 0);
    VolumeSystemItem* second = VolumeSystemItem::initWithPath(*tree, base + "/B/", 0, 0);
    FolderSystemItem* sub =
        FolderSystemItem::initWithPathSize(*tree, "sub", first, 0, false, 0, false, 0);
    FileSystemItem* leaf = FileSystemItem::initWithPathSize(*tree, "leaf", sub, 1, 0, false, 1);
    container->saveRoots({first, second});

    struct Row {
        QByteArray path;
        QList<FileSystemItem*> expected;
    };
    const Row rows[] = {
        {base, {first, second}},   {base + "/", {first, second}}, {base + "/A", {first}},
        {base + "/A/sub", {sub}},  {base + "/A/sub/", {sub}},     {base + "/A/sub/leaf", {leaf}},
        {base + "/A/missing", {}}, {base + "/Other", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        EXPECT_EQ(container->findSystemItemWithPath(row.path), row.expected);
    }
}

TEST_F(ContainerTest, CopiesAnswerTheirFileFacts) {
    buildScanResult(container);
    DuplicateItem* copy = copyOf(cx);
    EXPECT_EQ(copy->getFileItemPath(), cx->path());
    EXPECT_EQ(copy->getParentFolderItemPath(), c->path());
    EXPECT_EQ(copy->getLevel(), int(cx->path().count('/')));
    EXPECT_EQ(copy->getType(), DuplicatesCategoryTypeDocument);
    EXPECT_EQ(copyOf(a)->getTypeUsingFileSystemItem(), DuplicatesCategoryTypeFolder);
    EXPECT_EQ(copyOf(ay)->getType(), -1); // hidden category
    EXPECT_FALSE(copy->isMovedByUserOrDeleted());
    struct stat info {};
    ASSERT_EQ(::lstat(cx->path().constData(), &info), 0);
    EXPECT_EQ(copy->getLastModificationDate().toSecsSinceEpoch(), info.st_mtim.tv_sec);

    // A copy whose file went away, in a tree of paths that do not exist.
    auto other = ScanTree::create();
    VolumeSystemItem* top = VolumeSystemItem::initWithPath(*other, "/a", 0, 0);
    FolderSystemItem* folderB =
        FolderSystemItem::initWithPathSize(*other, "b", top, 0, false, 0, false, 0);
    FileSystemItem* one =
        FileSystemItem::initWithPathSize(*other, "c.txt", folderB, 1, 0, false, 1);
    FileSystemItem* two =
        FileSystemItem::initWithPathSize(*other, "d.txt", folderB, 1, 0, false, 1);
    auto result = DuplicatesContainer::create(false);
    ASSERT_TRUE(result->addGroupWithItems({one, two}));
    EXPECT_EQ(copyOf(one)->getLevel(), 3);
    EXPECT_EQ(copyOf(one)->getParentFolderItemPath(), "/a/b");
    // Files right under a root: the root's own path, "/" for the volume root, and a root
    // written with a closing "/" without it.
    for (const QByteArray& rootPath : {QByteArray("/"), QByteArray("/data/")}) {
        SCOPED_TRACE(rootPath.toStdString());
        auto rooted = ScanTree::create();
        VolumeSystemItem* volume = VolumeSystemItem::initWithPath(*rooted, rootPath, 0, 0);
        FileSystemItem* first =
            FileSystemItem::initWithPathSize(*rooted, "e.txt", volume, 1, 0, false, 1);
        FileSystemItem* second =
            FileSystemItem::initWithPathSize(*rooted, "f.txt", volume, 1, 0, false, 1);
        auto rootedResult = DuplicatesContainer::create(false);
        ASSERT_TRUE(rootedResult->addGroupWithItems({first, second}));
        const QByteArray parent = rootPath == "/" ? QByteArray("/") : QByteArray("/data");
        EXPECT_EQ(copyOf(first)->getFileItemPath(), rootPath + "e.txt");
        EXPECT_EQ(copyOf(first)->getParentFolderItemPath(), parent);
        EXPECT_EQ(copyOf(second)->parentFolderPathView(), parent);
    }
    EXPECT_TRUE(copyOf(one)->isMovedByUserOrDeleted());
    EXPECT_EQ(copyOf(one)->getLastModificationDate().toSecsSinceEpoch(), 0);
}

TEST_F(ContainerTest, GroupNameSkipsNamesWithCopyMarks) {
    FileSystemItem* copyName = file(c, "report copy.txt", 40);
    FileSystemItem* plain = file(c, "report.txt", 40);
    const auto group = container->addGroupWithItems({copyName, plain});
    ASSERT_TRUE(group);
    EXPECT_EQ(group->getGroupName(), "report.txt");
    group->removeDuplicateItem(copyOf(plain));
    EXPECT_EQ(group->getGroupName(), "report copy.txt");
}

TEST_F(ContainerTest, GroupNumbersStayUniqueWhenGroupsAreMadeOnWorkers) {
    constexpr int kGroupsPerWorker = 200;
    std::vector<std::shared_ptr<ScanTree>> trees{ScanTree::create(), ScanTree::create()};
    std::vector<std::shared_ptr<DuplicatesContainer>> results{DuplicatesContainer::create(false),
                                                              DuplicatesContainer::create(false)};
    std::vector<std::vector<uint64_t>> numbers(2);
    Dispatch::SerialQueue first("test.groups.1");
    Dispatch::SerialQueue second("test.groups.2");
    Dispatch::DispatchGroup done;
    Dispatch::SerialQueue* queues[] = {&first, &second};
    for (int worker = 0; worker < 2; ++worker) {
        done.async(*queues[worker], [&, worker] {
            ScanTree& arena = *trees[worker];
            VolumeSystemItem* top = VolumeSystemItem::initWithPath(arena, "/nowhere", 0, 0);
            for (int i = 0; i < kGroupsPerWorker; ++i) {
                const QByteArray name = QByteArray::number(i) + ".txt";
                FileSystemItem* one =
                    FileSystemItem::initWithPathSize(arena, "1_" + name, top, 5, 0, false, 5);
                FileSystemItem* two =
                    FileSystemItem::initWithPathSize(arena, "2_" + name, top, 5, 0, false, 5);
                if (const auto group = results[worker]->addGroupWithItems({one, two})) {
                    numbers[worker].push_back(group->getGroupID());
                }
            }
        });
    }
    // Meanwhile the main thread reads the process-wide counters.
    for (int i = 0; i < 1000; ++i) {
        EXPECT_EQ(DuplicatesGroup::selectionBatchDepth(), 0);
    }
    ASSERT_TRUE(done.wait(10000));
    std::set<uint64_t> unique;
    for (const auto& list : numbers) {
        EXPECT_EQ(list.size(), std::size_t(kGroupsPerWorker));
        unique.insert(list.begin(), list.end());
    }
    EXPECT_EQ(unique.size(), std::size_t(2 * kGroupsPerWorker));
}

} // namespace
