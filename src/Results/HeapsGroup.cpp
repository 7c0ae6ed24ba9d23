#include "Results/HeapsGroup.h"

#include "FileTree/FolderSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeap.h"
#include "Results/HeapsFolderData.h"

#include <algorithm>
#include <unordered_map>

HeapsGroup::HeapsGroup(std::shared_ptr<HeapsFolderData> mainFolder)
    : m_pMainFolder(std::move(mainFolder)) {}

std::vector<uint64_t> HeapsGroup::getAllSubHeapsKeys() const {
    std::vector<uint64_t> keys;
    keys.reserve(m_arrHeaps.size());
    for (const auto& [key, heap] : m_arrHeaps)
        keys.push_back(key);
    return keys;
}

std::vector<std::shared_ptr<DuplicatesHeap>> HeapsGroup::buildAllSubHeapsArray() const {
    std::vector<std::shared_ptr<DuplicatesHeap>> heaps;
    heaps.reserve(m_arrHeaps.size());
    for (const auto& [key, heap] : m_arrHeaps)
        heaps.push_back(heap);
    return heaps;
}

bool HeapsGroup::isHeapWithDuplicateFolder(const DuplicatesHeap& heap) {
    const FolderSystemItem* a = heap.getMainFolderItem();
    const FolderSystemItem* b = heap.getSecondFolderItem();
    return (a && a->getDuplicateItem()) || (b && b->getDuplicateItem());
}

void HeapsGroup::addHeap(const std::shared_ptr<DuplicatesHeap>& heap) {
    if (!heap || !m_pMainFolder)
        return;
    if (heap->getMainFolderItem() != m_pMainFolder->getFolderSystemItem())
        return;
    if (isHeapWithDuplicateFolder(*heap)) {
        m_arrHeapsWithDuplicatesFolder.push_back(heap);
        return;
    }
    const std::shared_ptr<HeapsFolderData>& partner = heap->getSecondHeapsFolderData();
    if (!partner || m_arrHeaps.contains(partner->getID()))
        return;
    m_arrHeaps.emplace(partner->getID(), heap);
    m_arrSecondFoldersForHeaps.insert(partner->getFolderSystemItem());
    // The main folder's copies in the partner's groups are its copies in the groups the two
    // share, which a heap made from this main folder data holds already, in the main
    // folder's order.
    if (heap->getMainHeapsFolderData() == m_pMainFolder) {
        const auto& copies = heap->getDuplicateItems().items();
        const std::size_t mainCopies = std::min(heap->getCountOfMainFolderItems(), copies.size());
        for (std::size_t i = 0; i < mainCopies; ++i)
            m_arrMainFolderItemsInHeaps.add(copies[i]);
        return;
    }
    m_pMainFolder->forEachItemInGroups(partner->getGroups(),
                                       [this](const std::shared_ptr<DuplicateItem>& copy) {
                                           m_arrMainFolderItemsInHeaps.add(copy);
                                       });
}

std::shared_ptr<DuplicatesHeap> HeapsGroup::getHeapForKey(uint64_t partnerFolderNumber) const {
    const auto found = m_arrHeaps.find(partnerFolderNumber);
    return found == m_arrHeaps.end() ? nullptr : found->second;
}

bool HeapsGroup::isCanBeUsedForFastRecalculation() const {
    return !m_arrHeaps.empty() || !m_arrHeapsWithDuplicatesFolder.empty();
}

void HeapsGroup::fastRecalculateHeap(const DuplicatesHeap& heap) {
    addHeap(DuplicatesHeap::buildHeapWithFolder(m_pMainFolder, heap.getSecondHeapsFolderData()));
}

void HeapsGroup::fastRecalculateGroup(const HeapsGroup& earlier) {
    for (const auto& [key, heap] : earlier.m_arrHeaps)
        fastRecalculateHeap(*heap);
    for (const auto& heap : earlier.m_arrHeapsWithDuplicatesFolder)
        fastRecalculateHeap(*heap);
}

bool HeapsGroup::isHasLastItemsInItems(const OrderedSet<DuplicateItem>& items) {
    if (items.empty())
        return false;
    std::unordered_map<const DuplicatesGroup*, uint64_t> unselectedPerGroup;
    for (const auto& copy : items.items()) {
        if (copy->isSelected())
            continue;
        const std::shared_ptr<DuplicatesGroup> group = copy->getGroup();
        if (!group)
            continue;
        const uint64_t unselected = ++unselectedPerGroup[group.get()];
        if (unselected + group->getSelectedCountWithDuplicatesFolderContent() ==
            group->getTotalCount())
            return true;
    }
    return false;
}

bool HeapsGroup::isHasLastItems() const {
    return isHasLastItemsInItems(m_arrMainFolderItemsInHeaps);
}

void HeapsGroup::calculateCountOfItems(uint64_t* countOfItems, uint64_t* countOfSelectedItems,
                                       uint64_t* countOfSimilarSelectedItems,
                                       uint64_t* totalSize) const {
    FolderSystemItem* mainFolder = m_pMainFolder ? m_pMainFolder->getFolderSystemItem() : nullptr;
    const auto& partners = m_arrSecondFoldersForHeaps;
    HeapsFolderData::countCopies(
        m_arrMainFolderItemsInHeaps, mainFolder,
        mainFolder ? mainFolder->childrenArray().size() : 0,
        [&partners, mainFolder](const FolderSystemItem* p) {
            return p != mainFolder && partners.contains(const_cast<FolderSystemItem*>(p));
        },
        countOfItems, countOfSelectedItems, countOfSimilarSelectedItems, totalSize);
}
