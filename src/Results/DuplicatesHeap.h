#pragma once

#include "Results/OrderedSet.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class DuplicateItem;
class DuplicatesGroup;
class FolderSystemItem;
class HeapsFolderData;

// One heap: a pair of different folders that directly hold copies of at least two common
// duplicate groups, neither inside a package, and not copies of each other. Owns both folder
// data objects it was made with (shared with the heaps that made them).
class DuplicatesHeap final {
public:
    // The heap of `mainFolder` with `secondFolder`, or null when the two cannot make one
    // (same folder, a missing folder, package content, folders that are copies of each
    // other, fewer than two common groups).
    static std::shared_ptr<DuplicatesHeap>
    buildHeapWithFolder(const std::shared_ptr<HeapsFolderData>& mainFolder,
                        const std::shared_ptr<HeapsFolderData>& secondFolder);

    DuplicatesHeap(std::shared_ptr<HeapsFolderData> mainFolder,
                   std::shared_ptr<HeapsFolderData> secondFolder);
    DuplicatesHeap(const DuplicatesHeap&) = delete;
    DuplicatesHeap& operator=(const DuplicatesHeap&) = delete;

    // The groups of the main folder that the second folder also holds.
    OrderedSet<DuplicatesGroup> buildGroupsIntersection() const;
    // The copies of both folders in the common groups.
    const OrderedSet<DuplicateItem>& getDuplicateItems() const { return m_arrItems; }
    // How many of getDuplicateItems(), from the front, are the main folder's.
    std::size_t getCountOfMainFolderItems() const { return m_nMainFolderItems; }
    uint64_t getHeapSize() const { return m_nHeapHalfSize * 2; }
    uint64_t getHeapHalfSize() const { return m_nHeapHalfSize; }
    uint64_t getCountOfGroups() const { return m_arrGroups.size(); }
    const OrderedSet<DuplicatesGroup>& getGroups() const { return m_arrGroups; }
    // The same two folders, in either order.
    bool sameAs(const DuplicatesHeap& other) const;
    FolderSystemItem* getMainFolderItem() const;
    FolderSystemItem* getSecondFolderItem() const;
    const std::shared_ptr<HeapsFolderData>& getMainHeapsFolderData() const {
        return m_pMainFolderData;
    }
    const std::shared_ptr<HeapsFolderData>& getSecondHeapsFolderData() const {
        return m_pSecondFolderData;
    }

    // Whether selecting the folder's copies in the common groups would select every copy of
    // one of those groups.
    bool isHasLastItemsInMainFolder() const;
    bool isHasLastItemsInSecondFolder() const;
    bool isHasLastItemsInHeapsFolderData(const HeapsFolderData& folderData) const;

    // Row counts of the second folder; each out-parameter is filled only when given.
    void calculateForSecondFolderCountOfItems(uint64_t* countOfItems,
                                              uint64_t* countOfSelectedItems,
                                              uint64_t* countOfSimilarSelectedItems,
                                              uint64_t* totalSize) const;

private:
    std::shared_ptr<HeapsFolderData> m_pMainFolderData;
    std::shared_ptr<HeapsFolderData> m_pSecondFolderData;
    OrderedSet<DuplicatesGroup> m_arrGroups;
    uint64_t m_nHeapHalfSize = 0;
    OrderedSet<DuplicateItem> m_arrItems;
    std::size_t m_nMainFolderItems = 0;
};
