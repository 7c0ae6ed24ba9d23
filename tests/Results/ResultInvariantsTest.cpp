#include "ResultFixture.h"

#include "Selection/OperationsManager.h"

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

// Runs seeded random sequences of the commands the interface gives (select, deselect, remove,
// remove a group from the list, exclude, select or keep all in a folder, force selection,
// clean-up) on a result with nested duplicate folders, and checks after every command that
// the totals, the links between nodes and copies, the duplicate folders and the selection
// agree with each other.
struct ResultInvariantsTest : ResultFixture {
    std::vector<FileSystemItem*> nodes;

    // Three identical folders P1..P3, each holding S/a.txt, S/b.jpg, S/D/e.txt, c.txt and a
    // package T.app/p.txt; a folder L holding a fourth S (not a copy of the others' parents)
    // and more loose copies. The groups are added in a seeded order, as different scans may.
    std::shared_ptr<DuplicatesContainer> build(unsigned seed) {
        std::vector<FileSystemItem*> as, bs, cs, es, ps, subs, deeps, tops;
        for (const char* name : {"P1", "P2", "P3"}) {
            FolderSystemItem* top = folder(root, name);
            FolderSystemItem* sub = folder(top, "S");
            FolderSystemItem* deep = folder(sub, "D");
            FolderSystemItem* package = folder(top, "T.app");
            as.push_back(file(sub, "a.txt", 100, 'a'));
            bs.push_back(file(sub, "b.jpg", 50, 'b'));
            es.push_back(file(deep, "e.txt", 30, 'e'));
            cs.push_back(file(top, "c.txt", 70, 'c'));
            ps.push_back(file(package, "p.txt", 20, 'p'));
            tops.push_back(top);
            subs.push_back(sub);
            deeps.push_back(deep);
        }
        FolderSystemItem* loose = folder(root, "L");
        FolderSystemItem* looseSub = folder(loose, "S");
        FolderSystemItem* looseDeep = folder(looseSub, "D");
        as.push_back(file(looseSub, "a.txt", 100, 'a'));
        bs.push_back(file(looseSub, "b.jpg", 50, 'b'));
        es.push_back(file(looseDeep, "e.txt", 30, 'e'));
        as.push_back(file(loose, "a2.txt", 100, 'a'));
        cs.push_back(file(loose, "c.txt", 70, 'c'));
        es.push_back(file(root, "e.txt", 30, 'e'));
        subs.push_back(looseSub);
        deeps.push_back(looseDeep);
        root->calctotalsize();
        nodes = root->childrenDeepArray();

        std::vector<std::vector<FileSystemItem*>> sets{as, bs, cs, es, ps, subs, deeps, tops};
        std::mt19937 order(seed);
        std::shuffle(sets.begin(), sets.end(), order);
        auto result = DuplicatesContainer::create(seed % 2 == 0);
        for (const auto& set : sets) {
            result->addGroupWithItems(QList<FileSystemItem*>(set.begin(), set.end()));
        }
        result->saveRoots({root});
        result->validateEmptyDataAfterRemoveWithListener(nullptr);
        return result;
    }

    // `settled`: a clean-up has run since the last structural change, or the result is the
    // shown one (whose hidden groups come back at once), so the hidden category holds only
    // groups whose every copy lies inside duplicate folders.
    void checkInvariants(const DuplicatesContainer& result, bool settled) {
        std::set<const DuplicatesGroup*> typed;
        for (std::size_t index = 0; index < result.getCategories().size(); ++index) {
            const auto& category = result.getCategories()[index];
            const bool hidden = index == result.getCategories().size() - 1;
            uint64_t total = 0, count = 0, selected = 0, actual = 0, removable = 0, green = 0,
                     blue = 0, red = 0;
            for (const auto& group : category->getGroups()) {
                EXPECT_EQ(group->getCategory(), category);
                if (!hidden) {
                    typed.insert(group.get());
                }
                total += group->getTotalSize();
                count += group->getTotalCount();
                selected += group->getSelectedSize();
                actual += group->getActualSelectedCount();
                removable += group->getSizeThatCanBeRemoved();
                green += group->getGreenSize();
                blue += group->getBlueSize();
                red += group->getRedSize();
                checkGroup(*group, hidden, settled);
            }
            SCOPED_TRACE("category " + std::to_string(index));
            EXPECT_EQ(category->getTotalSize(), total);
            EXPECT_EQ(category->getTotalCount(), count);
            EXPECT_EQ(category->getTotalSelectedSize(), selected);
            EXPECT_EQ(category->getCountOfActualSelectedItems(), actual);
            EXPECT_EQ(category->getSizeThatCanBeRemoved(), removable);
            EXPECT_EQ(category->getTotalGreenSize(), green);
            EXPECT_EQ(category->getTotalBlueSize(), blue);
            EXPECT_EQ(category->getTotalRedSize(), red);
        }
        std::set<const DuplicatesGroup*> listed;
        for (const auto& group : result.getAllFilesGroups()) {
            listed.insert(group.get());
        }
        EXPECT_EQ(listed, typed);
        for (const FileSystemItem* node : nodes) {
            if (const DuplicateItem* copy = node->getDuplicateItem()) {
                const auto group = copy->getGroup();
                ASSERT_TRUE(group) << node->path().constData();
                EXPECT_TRUE(group->getCategory()) << node->path().constData();
            }
        }
    }

    void checkGroup(const DuplicatesGroup& group, bool hidden, bool settled) {
        uint64_t outsideSize = 0, selectedCount = 0, selectedSize = 0;
        bool anyOutside = false;
        for (const auto& copy : group.getItems()) {
            const FileSystemItem* node = copy->getFileSystemItem();
            ASSERT_TRUE(node);
            SCOPED_TRACE(node->path().toStdString());
            EXPECT_EQ(copy->getGroup().get(), &group);
            EXPECT_EQ(node->getDuplicateItem(), copy.get());
            // The associated duplicate folder is the topmost ancestor that carries a copy.
            const DuplicateItem* topmost = nullptr;
            for (const FileSystemItem* above = node->parent(); above; above = above->parent()) {
                if (above->getDuplicateItem()) {
                    topmost = above->getDuplicateItem();
                }
            }
            EXPECT_EQ(copy->getAssociatedDuplicateFolder().get(), topmost);
            EXPECT_EQ(copy->isSelected(), group.isInSelection(copy.get()));
            if (copy->hasAssociatedDuplicateFolder()) {
                // A copy inside a duplicate folder is selected only together with it.
                if (copy->isSelected()) {
                    EXPECT_TRUE(copy->getAssociatedDuplicateFolder()->isSelected());
                }
                continue;
            }
            anyOutside = true;
            outsideSize += copy->getFileItemSize();
            if (copy->isSelected()) {
                ++selectedCount;
                selectedSize += copy->getFileItemSize();
            }
        }
        EXPECT_EQ(group.getTotalSize(), outsideSize);
        EXPECT_EQ(group.getActualSelectedCount(), selectedCount);
        EXPECT_EQ(group.getSelectedSize(), selectedSize);
        EXPECT_EQ(group.getSelectedCountWithDuplicatesFolderContent(),
                  group.getSelectedItems().size());
        if (group.getTotalCount() > 0 && (!hidden || settled)) {
            EXPECT_EQ(anyOutside, !hidden);
        }
    }
};

TEST_F(ResultInvariantsTest, RandomCommandsKeepTotalsLinksAndSelectionConsistent) {
    constexpr unsigned kRuns = 150;
    constexpr int kCommands = 30;
    for (unsigned seed = 0; seed < kRuns; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        QTemporaryDir top;
        ASSERT_TRUE(top.isValid());
        tree = ScanTree::create();
        root = VolumeSystemItem::initWithPath(*tree, QFile::encodeName(top.path()), 0, 0);
        const auto result = build(seed);
        // The shown result takes the interface's commands; another one only the model's own.
        const bool shown = seed % 3 != 0;
        DuplicatesManager::sharedManager().setDuplicateContainer(shown ? result : nullptr);
        checkInvariants(*result, true);
        std::mt19937 random(seed);
        for (int step = 0; step < kCommands && !HasFailure(); ++step) {
            std::vector<std::shared_ptr<DuplicateItem>> copies;
            for (const auto& category : result->getCategories()) {
                for (const auto& group : category->getGroups()) {
                    const auto items = group->getItems();
                    copies.insert(copies.end(), items.begin(), items.end());
                }
            }
            if (copies.empty()) {
                break;
            }
            const auto copy = copies[random() % copies.size()];
            FileSystemItem* node = copy->getFileSystemItem();
            FileSystemItem* folderNode = node;
            for (int up = int(random() % 3); up > 0 && folderNode->parent(); --up) {
                folderNode = folderNode->parent();
            }
            if (!folderNode->isDir()) {
                folderNode = folderNode->parent();
            }
            const QByteArray path = folderNode->path();
            const unsigned command = random() % (shown ? 14 : 10);
            SCOPED_TRACE("step " + std::to_string(step) + ", command " + std::to_string(command) +
                         ", " + copy->getFileItemPath().toStdString() + ", " + path.toStdString());
            bool settled = shown;
            auto& operations = DuplicatesManager::sharedManager().getOperationsManager();
            switch (command) {
            case 0:
            case 1:
            case 2:
                copy->selectItemForced(false);
                break;
            case 3:
                copy->selectItemForced(true);
                break;
            case 4:
            case 5:
                copy->deselectItem();
                break;
            case 6:
                result->removeDuplicateItemsFromLogicalStructure({copy});
                break;
            case 7:
                result->removeDuplicateItemsFromLogicalStructure(result->buildRemoveList());
                result->validateEmptyDataAfterRemoveWithListener(nullptr);
                settled = true;
                break;
            case 8:
                result->removeDuplicateItemsFromLogicalStructure(copy->getGroup()->getItems());
                result->validateEmptyDataAfterRemoveWithListener(nullptr);
                settled = true;
                break;
            case 9:
                result->validateEmptyDataAfterRemoveWithListener(nullptr);
                settled = true;
                break;
            case 10:
                operations.selectForRemoveAllDuplicatesInFolderWithPath(path);
                break;
            case 11:
                operations.keepAllDuplicatesInFolderWithPath(path);
                break;
            case 12:
                operations.excludeItemsInFolderWithPath(random() % 2 ? path : node->path());
                break;
            default:
                operations.performForceSelectForGroups({copy->getGroup()});
                break;
            }
            checkInvariants(*result, settled);
        }
        DuplicatesManager::sharedManager().setDuplicateContainer(nullptr);
        if (HasFailure()) {
            return;
        }
    }
}

} // namespace
