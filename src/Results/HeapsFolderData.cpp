#include "Results/HeapsFolderData.h"

#include "FileTree/FolderSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesGroup.h"

#include <algorithm>
#include <atomic>
#include <unordered_set>

namespace {

std::atomic<uint64_t> s_nextFolderID{1};

} // namespace

HeapsFolderData::HeapsFolderData(FolderSystemItem* folder)
    : m_nID(s_nextFolderID.fetch_add(1)), m_pFolder(folder) {
    updateData();
}

void HeapsFolderData::updateData() {
    m_nAllDuplicatesSize = 0;
    m_arrItems.clear();
    m_arrGroups.clear();
    if (!m_pFolder)
        return;
    for (FileSystemItem* child : m_pFolder->childrenArray()) {
        DuplicateItem* copy = child->getDuplicateItem();
        if (!copy)
            continue;
        std::shared_ptr<DuplicatesGroup> group = copy->getGroup();
        if (!group)
            continue;
        m_nAllDuplicatesSize += copy->getFileItemSize();
        m_arrItems.add(copy->shared_from_this());
        m_arrGroups.add(std::move(group));
    }
}

void HeapsFolderData::addDuplicateItem(const std::shared_ptr<DuplicateItem>& copy) {
    if (!copy)
        return;
    std::shared_ptr<DuplicatesGroup> group = copy->getGroup();
    if (!group || !m_arrItems.add(copy))
        return;
    m_nAllDuplicatesSize += copy->getFileItemSize();
    m_arrGroups.add(std::move(group));
}

void HeapsFolderData::removeGroup(const DuplicatesGroup& group) {
    if (!m_arrGroups.remove(&group))
        return;
    for (const auto& copy : group.itemsView()) {
        if (copy && m_arrItems.remove(copy.get()))
            m_nAllDuplicatesSize -= std::min(m_nAllDuplicatesSize, copy->getFileItemSize());
    }
}

void HeapsFolderData::removeDuplicateItem(const DuplicateItem& copy, const DuplicatesGroup& group,
                                          bool lastOfItsGroup) {
    if (m_arrItems.remove(&copy))
        m_nAllDuplicatesSize -= std::min(m_nAllDuplicatesSize, copy.getFileItemSize());
    if (lastOfItsGroup)
        m_arrGroups.remove(&group);
}

OrderedSet<DuplicateItem>
HeapsFolderData::getItemsFromFolderInGroups(const OrderedSet<DuplicatesGroup>& groups) const {
    OrderedSet<DuplicateItem> answer;
    forEachItemInGroups(groups,
                        [&](const std::shared_ptr<DuplicateItem>& copy) { answer.add(copy); });
    return answer;
}

void HeapsFolderData::forEachItemInGroups(
    const OrderedSet<DuplicatesGroup>& groups,
    const std::function<void(const std::shared_ptr<DuplicateItem>&)>& visit) const {
    // A folder of thousands of copies is asked this for every partner it shares a few groups
    // with: going through the few groups' copies instead of all of its own keeps that linear.
    // Either way the copies come in this folder's order.
    const std::vector<std::shared_ptr<DuplicateItem>>& items = m_arrItems.items();
    std::size_t groupCopies = 0;
    for (const auto& group : groups.items())
        groupCopies += group->itemsView().size();
    if (groupCopies < items.size()) {
        std::vector<std::size_t> found;
        found.reserve(groupCopies);
        for (const auto& group : groups.items()) {
            for (const auto& copy : group->itemsView()) {
                const std::size_t index = m_arrItems.indexOf(copy.get());
                if (index < items.size())
                    found.push_back(index);
            }
        }
        std::sort(found.begin(), found.end());
        found.erase(std::unique(found.begin(), found.end()), found.end());
        for (const std::size_t index : found)
            visit(items[index]);
        return;
    }
    for (const auto& copy : items) {
        const std::shared_ptr<DuplicatesGroup> group = copy->getGroup();
        if (group && groups.contains(group.get()))
            visit(copy);
    }
}

void HeapsFolderData::prepareForSharedReads() {
    m_arrItems.items();
    m_arrGroups.items();
    if (m_pFolder)
        m_pFolder->isInPackage();
}

uint64_t HeapsFolderData::calculateCountOfGroupsThatFullySelected() const {
    uint64_t count = 0;
    for (const auto& group : m_arrGroups.items()) {
        if (group->getTotalCount() == group->getSelectedCountWithDuplicatesFolderContent())
            ++count;
    }
    return count;
}

uint64_t HeapsFolderData::countSimilarSelected(
    const OrderedSet<DuplicateItem>& items,
    const std::function<bool(const FolderSystemItem*)>& parentTest) {
    std::unordered_set<const FileSystemItem*> nodes;
    std::unordered_set<const DuplicatesGroup*> seenGroups;
    for (const auto& copy : items.items()) {
        const std::shared_ptr<DuplicatesGroup> group = copy->getGroup();
        // Most groups have nothing selected: they need no bookkeeping at all.
        if (!group || group->getSelectedCountWithDuplicatesFolderContent() == 0 ||
            !seenGroups.insert(group.get()).second)
            continue;
        for (const auto& selected : group->getSelectedItems()) {
            const FileSystemItem* node = selected->getFileSystemItem();
            if (node && parentTest(node->parent()))
                nodes.insert(node);
        }
    }
    return nodes.size();
}

void HeapsFolderData::countCopies(const OrderedSet<DuplicateItem>& items, FolderSystemItem* folder,
                                  uint64_t countWhenFolderCopy,
                                  const std::function<bool(const FolderSystemItem*)>& similarParent,
                                  uint64_t* countOfItems, uint64_t* countOfSelectedItems,
                                  uint64_t* countOfSimilarSelectedItems, uint64_t* totalSize) {
    if (countOfItems)
        *countOfItems = items.size();
    DuplicateItem* folderCopy = folder ? folder->getDuplicateItem() : nullptr;
    if (folderCopy) {
        if (countOfSelectedItems)
            *countOfSelectedItems = folderCopy->isSelected() ? countWhenFolderCopy : 0;
        if (totalSize)
            *totalSize = uint64_t(std::max<int64_t>(0, folder->logicalSize()));
        if (countOfSimilarSelectedItems)
            *countOfSimilarSelectedItems = 0;
        return;
    }
    uint64_t selected = 0;
    uint64_t size = 0;
    for (const auto& copy : items.items()) {
        size += copy->getFileItemSize();
        if (copy->isSelected())
            ++selected;
    }
    if (countOfSelectedItems)
        *countOfSelectedItems = selected;
    if (totalSize)
        *totalSize = size;
    if (countOfSimilarSelectedItems)
        *countOfSimilarSelectedItems = countSimilarSelected(items, similarParent);
}

void HeapsFolderData::calculateCountOfItems(uint64_t* countOfItems, uint64_t* countOfSelectedItems,
                                            uint64_t* countOfSimilarSelectedItems,
                                            uint64_t* totalSize) const {
    const FolderSystemItem* self = m_pFolder;
    countCopies(
        m_arrItems, m_pFolder, m_arrItems.size(),
        [self](const FolderSystemItem* p) { return p != self; }, countOfItems, countOfSelectedItems,
        countOfSimilarSelectedItems, totalSize);
}
