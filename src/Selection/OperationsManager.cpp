#include "Selection/OperationsManager.h"

#include "Categories/Settings.h"

#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesManager.h"
#include "Selection/AutoSelectManager.h"

#include <QDateTime>
#include <QFile>

#include <limits>
#include <unordered_map>

namespace {

// Brackets a run of selection changes: one notification when the outermost batch ends.
class SelectionBatch final {
public:
    SelectionBatch() { DuplicatesGroup::BeginSelectionGroup(); }
    ~SelectionBatch() { DuplicatesGroup::EndSelectionGroup(); }
    SelectionBatch(const SelectionBatch&) = delete;
    SelectionBatch& operator=(const SelectionBatch&) = delete;
};

bool isNeverCopy(const DuplicateItem& item, const AutoSelectManager& manager) {
    return manager.getChoiceUsingUserAutoSelectPathsForPath(item.getFileItemPath()) ==
           kAutoSelectChoiceNever;
}

std::uint64_t selectedCount(const std::shared_ptr<DuplicatesGroup>& group) {
    return group ? group->getSelectedCountWithDuplicatesFolderContent() : 0;
}

// The copies lying directly in `folder`, by group, groups in the order first met.
struct FolderBuckets {
    std::vector<std::shared_ptr<DuplicatesGroup>> groups;
    std::vector<OperationsManager::Items> items;
};

FolderBuckets gatherDirectCopies(FolderSystemItem* folder) {
    FolderBuckets buckets;
    if (!folder)
        return buckets;
    std::unordered_map<std::uint64_t, std::size_t> indexOfGroup;
    for (FileSystemItem* child : folder->childrenArray()) {
        DuplicateItem* item = child ? child->getDuplicateItem() : nullptr;
        std::shared_ptr<DuplicatesGroup> group = item ? item->getGroup() : nullptr;
        if (!group)
            continue;
        auto [it, inserted] = indexOfGroup.try_emplace(group->getGroupID(), buckets.groups.size());
        if (inserted) {
            buckets.groups.push_back(group);
            buckets.items.emplace_back();
        }
        buckets.items[it->second].push_back(item->shared_from_this());
    }
    return buckets;
}

// The folder node that the result holds for `path`, when the path names one exactly.
FolderSystemItem* folderAtPath(const QByteArray& path) {
    auto container = DuplicatesManager::sharedManager().duplicateContainer();
    if (!container)
        return nullptr;
    const auto nodes = container->findSystemItemWithPath(path);
    if (nodes.empty())
        return nullptr;
    FileSystemItem* node = *nodes.begin();
    if (!node || !node->isDir())
        return nullptr;
    const QByteArray nodePath = node->path();
    // The given path and the folder's own may differ by a final "/", nothing more.
    if (nodePath != path && nodePath != path + '/' && nodePath + '/' != path)
        return nullptr;
    return node->asFolder();
}

AutoSelectManager& sharedAutoSelectManager() {
    return DuplicatesManager::sharedManager().getAutoSelectManager();
}

} // namespace

void OperationsManager::removeGroupFromDuplicatesList(
    const std::shared_ptr<DuplicatesGroup>& group) {
    auto container = DuplicatesManager::sharedManager().duplicateContainer();
    if (!group || !container)
        return;
    const Items items = group->getItems();
    container->removeDuplicateItemsFromLogicalStructure(items);
    container->validateEmptyDataAfterRemoveWithListener(nullptr);
}

void OperationsManager::performAutoSelectForGroups(const Groups& groups) {
    const Items proposal =
        sharedAutoSelectManager().getDuplicateItemsForAutoSelectFromGroups(groups);
    SelectionBatch batch;
    for (const auto& item : proposal)
        item->selectItemForced(false);
}

void OperationsManager::selectForRemoveAllDuplicatesInFolderWithPath(const QByteArray& path) {
    if (FolderSystemItem* folder = folderAtPath(path))
        selectForRemoveAllDuplicatesInFolder(folder);
}

void OperationsManager::keepAllDuplicatesInFolderWithPath(const QByteArray& path) {
    if (FolderSystemItem* folder = folderAtPath(path))
        keepAllDuplicatesInFolder(folder);
}

void OperationsManager::addToSkipListAndExclude(const QByteArray& path, bool isFile) {
    const QString text = QFile::decodeName(path);
    QStringList list = isFile ? Settings::excludeFiles() : Settings::excludeFolders();
    if (!list.contains(text)) {
        list.append(text);
        isFile ? Settings::setExcludeFiles(list) : Settings::setExcludeFolders(list);
    }
    excludeItemsInFolderWithPath(path);
}

void OperationsManager::excludeItemsInFolderWithPath(const QByteArray& path) {
    auto container = DuplicatesManager::sharedManager().duplicateContainer();
    if (!container)
        return;
    for (FileSystemItem* node : container->findSystemItemWithPath(path)) {
        if (!node)
            continue;
        if (DuplicateItem* own = node->getDuplicateItem()) {
            if (auto group = own->getGroup())
                group->removeDuplicateItemFromLogicalStructure(own);
        } else if (node->isDir()) {
            for (FileSystemItem* below : node->asFolder()->duplicatesDeepArray()) {
                // An earlier removal in this loop may already have taken this copy out.
                DuplicateItem* item = below->getDuplicateItem();
                if (!item)
                    continue;
                if (auto group = item->getGroup())
                    group->removeDuplicateItemFromLogicalStructureWithSubItems(item, false);
            }
        }
    }
    container->validateEmptyDataAfterRemoveWithListener(nullptr);
}

void OperationsManager::selectForRemoveAllDuplicatesInFolder(FolderSystemItem* folder) {
    const FolderBuckets buckets = gatherDirectCopies(folder);
    SelectionBatch batch;
    for (std::size_t i = 0; i < buckets.groups.size(); ++i) {
        const auto& group = buckets.groups[i];
        const Items& items = buckets.items[i];
        const std::uint64_t total = group->getTotalCount();
        const std::uint64_t selected = selectedCount(group);
        const std::uint64_t unselected = total > selected ? total - selected : 0;
        if (unselected <= items.size()) {
            // Selecting them all would leave no copy: let the force rules choose the one
            // that stays.
            performForceSelectForItems(items);
        } else {
            for (const auto& item : items)
                item->selectItemForced(false);
        }
    }
}

void OperationsManager::keepAllDuplicatesInFolder(FolderSystemItem* folder) {
    const FolderBuckets buckets = gatherDirectCopies(folder);
    SelectionBatch batch;
    for (std::size_t i = 0; i < buckets.groups.size(); ++i) {
        for (const auto& item : buckets.items[i])
            item->deselectItem();
        for (const auto& item : buckets.groups[i]->getItems()) {
            FileSystemItem* node = item->getFileSystemItem();
            if (node && node->parent() != folder)
                item->selectItemForced(false);
        }
    }
}

void OperationsManager::performForceSelectForGroups(const Groups& groups) {
    SelectionBatch batch;
    for (const auto& group : groups) {
        if (group)
            performForceSelectForItems(group->getItems());
    }
}

void OperationsManager::performForceSelectForItems(const Items& items) {
    if (items.empty() || !items.front())
        return;
    AutoSelectManager& manager = sharedAutoSelectManager();
    manager.prepareForStartByLoadingLatestUserSettings();
    if (trySelectAllPossibleDuplicatesFromItemsUsingPreparedAutoSelectManager(items, manager))
        return;

    const auto group = items.front()->getGroup();
    const Items proposal = manager.getDuplicateItemsForAutoSelectFromItems(items);
    SelectionBatch batch;
    for (const auto& item : proposal)
        item->selectItemForced(false);

    if (!group)
        return;
    const std::uint64_t total = group->getTotalCount();
    const std::uint64_t wanted = total > 0 ? total - 1 : 0;
    if (selectedCount(group) < wanted)
        selectOldestDuplicatesFromItemsUsingPreparedAutoSelectManager(items, manager);
    if (selectedCount(group) < wanted)
        selectAllWithNotMinimalLevelInArrayUsingPreparedAutoSelectManager(items, manager);
    if (selectedCount(group) < wanted)
        selectAllButNotFirstInArrayUsingPreparedAutoSelectManager(items, manager);
}

bool OperationsManager::trySelectAllPossibleDuplicatesFromItemsUsingPreparedAutoSelectManager(
    const Items& items, const AutoSelectManager& manager) {
    if (items.empty() || !items.front())
        return false;
    const auto group = items.front()->getGroup();
    if (!group)
        return false;
    bool someCopyStays = false;
    for (const auto& item : group->getItems()) {
        if (!item->isSelected() &&
            (item->hasAssociatedDuplicateFolder() || isNeverCopy(*item, manager))) {
            someCopyStays = true;
            break;
        }
    }
    if (!someCopyStays)
        return false;
    SelectionBatch batch;
    for (const auto& item : items) {
        if (item && !item->isSelected() && !isNeverCopy(*item, manager))
            item->selectItemForced(false);
    }
    return true;
}

void OperationsManager::selectOldestDuplicatesFromItemsUsingPreparedAutoSelectManager(
    const Items& items, const AutoSelectManager& manager) {
    QDateTime earliest;
    for (const auto& item : items) {
        if (!item || item->isSelected())
            continue;
        const QDateTime date = item->getLastModificationDate();
        if (!earliest.isValid() || date < earliest)
            earliest = date;
    }
    if (!earliest.isValid())
        return;
    for (const auto& item : items) {
        if (item && !item->isSelected() && item->getLastModificationDate() != earliest &&
            !isNeverCopy(*item, manager))
            item->selectItemForced(false);
    }
}

void OperationsManager::selectAllWithNotMinimalLevelInArrayUsingPreparedAutoSelectManager(
    const Items& items, const AutoSelectManager& manager) {
    SelectionBatch batch;
    int lowest = std::numeric_limits<int>::max();
    for (const auto& item : items) {
        if (item && !item->isSelected())
            lowest = std::min(lowest, item->getLevel());
    }
    for (const auto& item : items) {
        if (item && !item->isSelected() && item->getLevel() != lowest &&
            !isNeverCopy(*item, manager))
            item->selectItemForced(false);
    }
}

void OperationsManager::selectAllButNotFirstInArrayUsingPreparedAutoSelectManager(
    const Items& items, const AutoSelectManager& manager) {
    SelectionBatch batch;
    bool firstSeen = false;
    for (const auto& item : items) {
        if (!item || item->isSelected())
            continue;
        if (!firstSeen) {
            firstSeen = true;
            continue;
        }
        if (!isNeverCopy(*item, manager))
            item->selectItemForced(false);
    }
}
