#pragma once

#include "Results/OrderedSet.h"

#include <cstdint>
#include <functional>
#include <memory>

class DuplicateItem;
class DuplicatesGroup;
class FolderSystemItem;

// One folder's share in the heaps of similar folders: the copies that lie directly in the
// folder and belong to a group, their groups and their total logical size.
//
// The folder node is a plain pointer: the heaps live inside the result container, which
// keeps the scanned tree alive. The folder is null for copies that are scanned roots.
// Made and changed by one thread at a time (the scan's stage, then the main thread).
class HeapsFolderData final {
public:
    // initWithFolder:. Takes the next process-unique folder number (from 1) and reads the
    // folder's copies.
    explicit HeapsFolderData(FolderSystemItem* folder);
    HeapsFolderData(const HeapsFolderData&) = delete;
    HeapsFolderData& operator=(const HeapsFolderData&) = delete;

    uint64_t getID() const { return m_nID; }
    // Reads again every direct child of the folder that carries a copy belonging to a group,
    // whatever its category.
    void updateData();
    FolderSystemItem* getFolderSystemItem() const { return m_pFolder; }
    // Takes one copy that lies directly in the folder (nothing when it is already known):
    // the same as updateData() for a group that has just joined, without reading every
    // child of the folder again.
    void addDuplicateItem(const std::shared_ptr<DuplicateItem>& copy);
    // Lets go of a group that is leaving its category, and of its copies that lie directly
    // in the folder; called while the group still holds them. Nothing for a group the folder
    // does not know.
    void removeGroup(const DuplicatesGroup& group);
    // Lets go of one copy that leaves its group, and of the group too when `lastOfItsGroup`
    // (no other copy of the group lies directly in the folder).
    void removeDuplicateItem(const DuplicateItem& copy, const DuplicatesGroup& group,
                             bool lastOfItsGroup);

    // Row counts for the similar-folders lists; each out-parameter is filled only when given.
    void calculateCountOfItems(uint64_t* countOfItems, uint64_t* countOfSelectedItems,
                               uint64_t* countOfSimilarSelectedItems, uint64_t* totalSize) const;

    const OrderedSet<DuplicatesGroup>& getGroups() const { return m_arrGroups; }
    const OrderedSet<DuplicateItem>& getItems() const { return m_arrItems; }
    // The folder's copies whose group is in `groups`.
    OrderedSet<DuplicateItem>
    getItemsFromFolderInGroups(const OrderedSet<DuplicatesGroup>& groups) const;
    // Calls `visit` with the same copies in the same order, without gathering them.
    void forEachItemInGroups(
        const OrderedSet<DuplicatesGroup>& groups,
        const std::function<void(const std::shared_ptr<DuplicateItem>&)>& visit) const;
    // Readies the folder data for reading from several threads at once while nothing changes
    // it: closes the holes its sets would close on their first read, and lets the folder and
    // its ancestors remember whether they are packages.
    void prepareForSharedReads();
    uint64_t getAllDuplicatesSize() const { return m_nAllDuplicatesSize; }
    // The folder's groups whose every copy is selected.
    uint64_t calculateCountOfGroupsThatFullySelected() const;

    // The number of distinct nodes of selected copies of the groups of `items` whose parent
    // passes `parentTest`; the "similar selected" count of the similar-folders rows.
    static uint64_t
    countSimilarSelected(const OrderedSet<DuplicateItem>& items,
                         const std::function<bool(const FolderSystemItem*)>& parentTest);

    // The four counts of a similar-folders row over `items`, the copies that `folder` shows.
    // When the folder node is itself a copy, it stands for all of them: `countWhenFolderCopy`
    // copies are selected if that copy is, the size is the folder's, and none is similar.
    // Every out-parameter is optional.
    static void countCopies(const OrderedSet<DuplicateItem>& items, FolderSystemItem* folder,
                            uint64_t countWhenFolderCopy,
                            const std::function<bool(const FolderSystemItem*)>& similarParent,
                            uint64_t* countOfItems, uint64_t* countOfSelectedItems,
                            uint64_t* countOfSimilarSelectedItems, uint64_t* totalSize);

private:
    uint64_t m_nID;
    FolderSystemItem* m_pFolder;
    uint64_t m_nAllDuplicatesSize = 0;
    OrderedSet<DuplicateItem> m_arrItems;
    OrderedSet<DuplicatesGroup> m_arrGroups;
};
