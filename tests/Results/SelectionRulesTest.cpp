#include "ResultFixture.h"

#include <map>
#include <string>
#include <vector>

namespace {

// Folders A and B (a duplicate folder pair when the row asks for it) and C, D, E, each
// holding one x.txt of 100 bytes.
struct SelectionRulesTest : ResultFixture {
    std::map<std::string, FileSystemItem*> nodes;

    void SetUp() override {
        ResultFixture::SetUp();
        for (const char* name : {"A", "B", "C", "D", "E"}) {
            FolderSystemItem* holder = folder(root, name);
            nodes[name] = holder;
            nodes[std::string(name) + "/x"] = file(holder, "x.txt", 100);
        }
        root->calctotalsize();
    }

    QList<FileSystemItem*> pick(std::initializer_list<const char*> names) {
        QList<FileSystemItem*> picked;
        for (const char* name : names) {
            picked.append(nodes.at(name));
        }
        return picked;
    }
};

TEST_F(SelectionRulesTest, LastCopyGuard) {
    struct Step {
        const char* copy;
        bool forced;
        bool selected;
    };
    struct Row {
        const char* name;
        std::initializer_list<const char*> copies;
        bool folderPair;    // A and B become a folder group before anything is selected
        bool selectFolderA; // and A is selected
        std::vector<Step> steps;
    };
    const Row rows[] = {
        {"two copies",
         {"C/x", "D/x"},
         false,
         false,
         {{"C/x", false, true}, {"D/x", false, false}, {"D/x", true, true}}},
        {"three copies, one inside a selected duplicate folder",
         {"A/x", "C/x", "D/x"},
         true,
         true,
         {{"C/x", false, true}, {"D/x", false, false}, {"D/x", true, true}}},
        {"a copy whose duplicate folder is not selected",
         {"A/x", "C/x", "D/x"},
         true,
         false,
         {{"A/x", false, false}, {"A/x", true, false}, {"C/x", false, true}}},
        {"a selected copy is not selected again",
         {"C/x", "D/x", "E/x"},
         false,
         false,
         {{"C/x", false, true}, {"C/x", true, false}, {"D/x", false, true}, {"E/x", false, false}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto result = DuplicatesContainer::create(false);
        ASSERT_TRUE(result->addGroupWithItems(pick(row.copies)));
        if (row.folderPair) {
            ASSERT_TRUE(result->addGroupWithItems(pick({"A", "B"})));
            EXPECT_TRUE(copyOf(nodes["A/x"])->hasAssociatedDuplicateFolder());
        }
        if (row.selectFolderA) {
            ASSERT_TRUE(copyOf(nodes["A"])->selectItemForced(false));
            EXPECT_TRUE(copyOf(nodes["A/x"])->isSelected());
        }
        for (const Step& step : row.steps) {
            SCOPED_TRACE(std::string(step.copy) + (step.forced ? " forced" : " not forced"));
            const bool wasSelected = copyOf(nodes[step.copy])->isSelected();
            EXPECT_EQ(copyOf(nodes[step.copy])->selectItemForced(step.forced), step.selected);
            EXPECT_EQ(copyOf(nodes[step.copy])->isSelected(), wasSelected || step.selected);
        }
        result.reset();
        // Dropping the result unlinks every node.
        EXPECT_EQ(copyOf(nodes["C/x"]), nullptr);
        EXPECT_EQ(copyOf(nodes["A"]), nullptr);
    }
}

TEST_F(SelectionRulesTest, EveryCopySelectedByForceMakesTheBarRed) {
    const auto group = container->addGroupWithItems(pick({"C/x", "D/x"}));
    ASSERT_TRUE(group);
    EXPECT_EQ(group->getGreenSize(), 0u);
    EXPECT_EQ(group->getBlueSize(), 0u);
    ASSERT_TRUE(copyOf(nodes["C/x"])->selectItemForced(false));
    EXPECT_EQ(group->getGreenSize(), 100u); // one of two selected
    EXPECT_EQ(group->getBlueSize(), 100u);  // exactly one unselected: the kept copy shows
    EXPECT_EQ(group->getRedSize(), 0u);
    ASSERT_TRUE(copyOf(nodes["D/x"])->selectItemForced(true));
    EXPECT_EQ(group->getGreenSize(), 0u);
    EXPECT_EQ(group->getBlueSize(), 0u);
    EXPECT_EQ(group->getRedSize(), 200u);
    const auto category = group->getCategory();
    ASSERT_TRUE(category);
    EXPECT_EQ(category->getTotalRedSize(), 200u);
    EXPECT_EQ(category->getTotalSelectedSize(), 200u);
    EXPECT_EQ(category->getCountOfActualSelectedItems(), 2u);
}

TEST_F(SelectionRulesTest, CountingOfCopiesInsideAndOutsideDuplicateFolders) {
    const auto group = container->addGroupWithItems(pick({"A/x", "C/x", "D/x"}));
    ASSERT_TRUE(group);
    const auto category = group->getCategory();
    ASSERT_TRUE(category);
    struct Expected {
        uint64_t total, kept, removableSize, removableCount;
    };
    const auto check = [&](const Expected& expected) {
        EXPECT_EQ(group->getTotalSize(), expected.total);
        EXPECT_EQ(group->getNotRemovedSize(), expected.kept);
        EXPECT_EQ(group->getSizeThatCanBeRemoved(), expected.removableSize);
        EXPECT_EQ(group->getCountOfDuplicatesThatCanBeRemoved(), expected.removableCount);
        // The category follows every change of its only group.
        EXPECT_EQ(category->getTotalSize(), expected.total);
        EXPECT_EQ(category->getSizeThatCanBeRemoved(), expected.removableSize);
    };
    {
        SCOPED_TRACE("three copies outside duplicate folders");
        check({300, 100, 200, 2});
    }
    // A (holding A/x) becomes a duplicate folder.
    ASSERT_TRUE(container->addGroupWithItems(pick({"A", "B"})));
    ASSERT_TRUE(copyOf(nodes["A/x"])->hasAssociatedDuplicateFolder());
    {
        SCOPED_TRACE("one copy gained a duplicate folder");
        check({200, 0, 200, 2});
    }
    group->removeDuplicateItem(copyOf(nodes["A/x"]));
    {
        SCOPED_TRACE("that copy left the group");
        check({200, 100, 100, 1});
        EXPECT_EQ(group->getTotalCount(), 2u);
        EXPECT_EQ(category->getTotalCount(), 2u);
    }
}

TEST_F(SelectionRulesTest, NestedBatchesPostOneSelectionNotification) {
    std::vector<std::shared_ptr<DuplicatesGroup>> groups;
    for (int i = 0; i < 10; ++i) {
        FileSystemItem* first =
            file(root, QByteArray("g") + QByteArray::number(i) + "a.txt", 10 + i);
        FileSystemItem* second =
            file(root, QByteArray("g") + QByteArray::number(i) + "b.txt", 10 + i);
        groups.push_back(container->addGroupWithItems({first, second}));
        ASSERT_TRUE(groups.back());
    }
    selectionPosts = 0;
    DuplicatesGroup::BeginSelectionGroup();
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(groups[i]->getItems().front()->selectItemForced(false));
    }
    DuplicatesGroup::BeginSelectionGroup();
    for (int i = 5; i < 10; ++i) {
        ASSERT_TRUE(groups[i]->getItems().front()->selectItemForced(false));
    }
    DuplicatesGroup::EndSelectionGroup();
    EXPECT_EQ(selectionPosts, 0);
    DuplicatesGroup::EndSelectionGroup();
    EXPECT_EQ(selectionPosts, 1);
    EXPECT_EQ(DuplicatesGroup::selectionBatchDepth(), 0);

    // Outside a batch every change posts once; a refused one posts nothing.
    groups[0]->getItems().front()->deselectItem();
    EXPECT_EQ(selectionPosts, 2);
    EXPECT_FALSE(groups[1]->getItems().back()->selectItemForced(false));
    EXPECT_EQ(selectionPosts, 2);

    // An end without a begin still resets the depth and posts.
    DuplicatesGroup::EndSelectionGroup();
    EXPECT_EQ(DuplicatesGroup::selectionBatchDepth(), 0);
    EXPECT_EQ(selectionPosts, 3);
}

TEST_F(SelectionRulesTest, CopiesInsideAFolderFollowItsSelection) {
    FileSystemItem* inner = file(static_cast<FolderSystemItem*>(nodes["A"]), "y.jpg", 50);
    FileSystemItem* innerOther = file(static_cast<FolderSystemItem*>(nodes["C"]), "y.jpg", 50);
    const auto files = container->addGroupWithItems(pick({"A/x", "C/x"}));
    const auto pictures = container->addGroupWithItems({inner, innerOther});
    ASSERT_TRUE(files && pictures);
    ASSERT_TRUE(container->addGroupWithItems(pick({"A", "B"})));

    selectionPosts = 0;
    ASSERT_TRUE(copyOf(nodes["A"])->selectItemForced(false));
    EXPECT_TRUE(copyOf(nodes["A/x"])->isSelected());
    EXPECT_TRUE(copyOf(inner)->isSelected());
    EXPECT_FALSE(copyOf(nodes["C/x"])->isSelected());
    EXPECT_EQ(selectionPosts, 1);
    // Copies inside the selected folder are in its group's selection but not in its sizes.
    EXPECT_EQ(files->getSelectedCountWithDuplicatesFolderContent(), 1u);
    EXPECT_EQ(files->getActualSelectedCount(), 0u);
    EXPECT_EQ(files->getSelectedSize(), 0u);

    // While the folder is selected its copies cannot be deselected on their own.
    copyOf(nodes["A/x"])->deselectItem();
    EXPECT_TRUE(copyOf(nodes["A/x"])->isSelected());

    selectionPosts = 0;
    copyOf(nodes["A"])->deselectItem();
    EXPECT_FALSE(copyOf(nodes["A/x"])->isSelected());
    EXPECT_FALSE(copyOf(inner)->isSelected());
    EXPECT_EQ(selectionPosts, 1);
    EXPECT_EQ(files->getSelectedCountWithDuplicatesFolderContent(), 0u);
}

// The selected count and size always cover exactly the selected copies that have no
// duplicate folder now, also when a selected copy gains or loses its folder; the remove
// list and its count agree.
TEST_F(SelectionRulesTest, SelectedCopyChangingItsDuplicateFolderKeepsTheCountsTrue) {
    const auto check = [&](const std::shared_ptr<DuplicatesGroup>& group) {
        uint64_t count = 0;
        uint64_t size = 0;
        for (const auto& item : group->getSelectedItems()) {
            if (!item->hasAssociatedDuplicateFolder()) {
                ++count;
                size += item->getFileItemSize();
            }
        }
        EXPECT_EQ(group->getActualSelectedCount(), count);
        EXPECT_EQ(group->getSelectedSize(), size);
        uint64_t listed = 0;
        for (const auto& item : container->buildRemoveList()) {
            listed += item->getFileItemSize();
        }
        EXPECT_EQ(container->getItemsCountInRemoveList(), container->buildRemoveList().size());
        EXPECT_EQ(container->getRemoveListTotalSize(), listed);
    };
    const auto files = container->addGroupWithItems(pick({"A/x", "C/x", "D/x"}));
    ASSERT_TRUE(files);
    DuplicateItem* inside = copyOf(nodes["A/x"]);
    {
        SCOPED_TRACE("a selected copy gains a duplicate folder");
        ASSERT_TRUE(inside->selectItemForced(false));
        ASSERT_TRUE(container->addGroupWithItems(pick({"A", "B"})));
        ASSERT_TRUE(inside->hasAssociatedDuplicateFolder());
        check(files);
        // Its folder is not selected, so it may leave the selection; nothing stays counted.
        inside->deselectItem();
        EXPECT_FALSE(inside->isSelected());
        check(files);
        EXPECT_EQ(files->getActualSelectedCount(), 0u);
    }
    {
        SCOPED_TRACE("a copy selected with its folder loses the folder");
        ASSERT_TRUE(copyOf(nodes["A"])->selectItemForced(false));
        ASSERT_TRUE(inside->isSelected());
        ASSERT_TRUE(copyOf(nodes["C/x"])->selectItemForced(false));
        check(files);
        // The folder group goes (as the clean-up does with a folder group left with one copy).
        const auto folders = container->getCategoryWithType(DuplicatesCategoryTypeFolder);
        folders->removeGroup(copyOf(nodes["A"])->getGroup());
        ASSERT_FALSE(inside->hasAssociatedDuplicateFolder());
        ASSERT_TRUE(inside->isSelected());
        check(files);
        EXPECT_EQ(files->getActualSelectedCount(), 2u);
        copyOf(nodes["C/x"])->deselectItem();
        check(files);
        EXPECT_EQ(files->getActualSelectedCount(), 1u);
        EXPECT_EQ(files->getSelectedSize(), 100u);
        EXPECT_EQ(files->getCategory()->getTotalSelectedSize(), 100u);
    }
}

} // namespace
