#include "Results/DuplicatesHeap.h"

#include "FileTree/FolderSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesGroup.h"
#include "Results/HeapsFolderData.h"
#include "Results/HeapsGroup.h"

#include <algorithm>
#include <vector>

namespace {

bool isInGroup(const std::shared_ptr<DuplicateItem>& copy, const DuplicatesGroup* group) {
    return copy && group && copy->getGroup().get() == group;
}

// Folders of which both carry a copy and whose copies, or their enclosing duplicate folders,
// share a group are copies of each other; comparing them as similar would be meaningless.
bool areCopiesOfEachOther(const FolderSystemItem* a, const FolderSystemItem* b) {
    DuplicateItem* da = a->getDuplicateItem();
    DuplicateItem* db = b->getDuplicateItem();
    if (!da || !db)
        return false;
    const std::shared_ptr<DuplicatesGroup> ga = da->getGroup();
    const std::shared_ptr<DuplicatesGroup> gb = db->getGroup();
    if (ga && ga == gb)
        return true;
    const std::shared_ptr<DuplicateItem> fa = da->getAssociatedDuplicateFolder();
    const std::shared_ptr<DuplicateItem> fb = db->getAssociatedDuplicateFolder();
    if (isInGroup(fa, gb.get()))
        return true;
    if (isInGroup(fb, ga.get()))
        return true;
    if (fa && isInGroup(fb, fa->getGroup().get()))
        return true;
    return false;
}

bool shareTwoGroups(const HeapsFolderData& a, const HeapsFolderData& b) {
    const OrderedSet<DuplicatesGroup>& ga = a.getGroups();
    const OrderedSet<DuplicatesGroup>& gb = b.getGroups();
    const OrderedSet<DuplicatesGroup>& smaller = ga.size() <= gb.size() ? ga : gb;
    const OrderedSet<DuplicatesGroup>& larger = ga.size() <= gb.size() ? gb : ga;
    int common = 0;
    for (const auto& group : smaller.items()) {
        if (larger.contains(group.get()) && ++common == 2)
            return true;
    }
    return false;
}

} // namespace

std::shared_ptr<DuplicatesHeap>
DuplicatesHeap::buildHeapWithFolder(const std::shared_ptr<HeapsFolderData>& mainFolder,
                                    const std::shared_ptr<HeapsFolderData>& secondFolder) {
    if (!mainFolder || !secondFolder || mainFolder == secondFolder)
        return nullptr;
    FolderSystemItem* a = mainFolder->getFolderSystemItem();
    FolderSystemItem* b = secondFolder->getFolderSystemItem();
    if (!a || !b || a == b)
        return nullptr;
    if (a->isInPackage() || b->isInPackage())
        return nullptr;
    if (areCopiesOfEachOther(a, b))
        return nullptr;
    // Most candidate partners share a single group: that is told from the smaller of the
    // two folders' groups, without building the heap.
    if (!shareTwoGroups(*mainFolder, *secondFolder))
        return nullptr;
    auto heap = std::make_shared<DuplicatesHeap>(mainFolder, secondFolder);
    if (heap->getCountOfGroups() < 2)
        return nullptr;
    return heap;
}

DuplicatesHeap::DuplicatesHeap(std::shared_ptr<HeapsFolderData> mainFolder,
                               std::shared_ptr<HeapsFolderData> secondFolder)
    : m_pMainFolderData(std::move(mainFolder)), m_pSecondFolderData(std::move(secondFolder)) {
    m_arrGroups = buildGroupsIntersection();
    if (m_arrGroups.empty())
        return;
    uint64_t sum = 0;
    for (const auto* folder : {m_pMainFolderData.get(), m_pSecondFolderData.get()}) {
        folder->forEachItemInGroups(m_arrGroups, [&](const std::shared_ptr<DuplicateItem>& copy) {
            if (m_arrItems.add(copy))
                sum += copy->getFileItemSize();
        });
        if (folder == m_pMainFolderData.get())
            m_nMainFolderItems = m_arrItems.size();
    }
    m_nHeapHalfSize = sum >> 1;
}

OrderedSet<DuplicatesGroup> DuplicatesHeap::buildGroupsIntersection() const {
    OrderedSet<DuplicatesGroup> common;
    if (!m_pMainFolderData || !m_pSecondFolderData)
        return common;
    const OrderedSet<DuplicatesGroup>& main = m_pMainFolderData->getGroups();
    const OrderedSet<DuplicatesGroup>& second = m_pSecondFolderData->getGroups();
    if (second.size() < main.size()) {
        // From the smaller side, put back in the main folder's order.
        std::vector<std::pair<std::size_t, std::shared_ptr<DuplicatesGroup>>> found;
        for (const auto& group : second.items()) {
            const std::size_t index = main.indexOf(group.get());
            if (index < main.size())
                found.emplace_back(index, group);
        }
        std::sort(found.begin(), found.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& [index, group] : found)
            common.add(std::move(group));
        return common;
    }
    for (const auto& group : main.items()) {
        if (second.contains(group.get()))
            common.add(group);
    }
    return common;
}

bool DuplicatesHeap::sameAs(const DuplicatesHeap& other) const {
    const FolderSystemItem* a = getMainFolderItem();
    const FolderSystemItem* b = getSecondFolderItem();
    const FolderSystemItem* c = other.getMainFolderItem();
    const FolderSystemItem* d = other.getSecondFolderItem();
    return (a == c && b == d) || (a == d && b == c);
}

FolderSystemItem* DuplicatesHeap::getMainFolderItem() const {
    return m_pMainFolderData ? m_pMainFolderData->getFolderSystemItem() : nullptr;
}

FolderSystemItem* DuplicatesHeap::getSecondFolderItem() const {
    return m_pSecondFolderData ? m_pSecondFolderData->getFolderSystemItem() : nullptr;
}

bool DuplicatesHeap::isHasLastItemsInHeapsFolderData(const HeapsFolderData& folderData) const {
    return HeapsGroup::isHasLastItemsInItems(folderData.getItemsFromFolderInGroups(m_arrGroups));
}

bool DuplicatesHeap::isHasLastItemsInMainFolder() const {
    return m_pMainFolderData && isHasLastItemsInHeapsFolderData(*m_pMainFolderData);
}

bool DuplicatesHeap::isHasLastItemsInSecondFolder() const {
    return m_pSecondFolderData && isHasLastItemsInHeapsFolderData(*m_pSecondFolderData);
}

void DuplicatesHeap::calculateForSecondFolderCountOfItems(uint64_t* countOfItems,
                                                          uint64_t* countOfSelectedItems,
                                                          uint64_t* countOfSimilarSelectedItems,
                                                          uint64_t* totalSize) const {
    const OrderedSet<DuplicateItem> items =
        m_pSecondFolderData ? m_pSecondFolderData->getItemsFromFolderInGroups(m_arrGroups)
                            : OrderedSet<DuplicateItem>();
    FolderSystemItem* second = getSecondFolderItem();
    const FolderSystemItem* mainFolder = getMainFolderItem();
    HeapsFolderData::countCopies(
        items, second, second ? second->childrenArray().size() : 0,
        [mainFolder](const FolderSystemItem* p) { return p == mainFolder; }, countOfItems,
        countOfSelectedItems, countOfSimilarSelectedItems, totalSize);
}
