#pragma once

#include "Results/OrderedSet.h"

#include <cstdint>
#include <map>
#include <memory>
#include <unordered_set>
#include <vector>

class DuplicateItem;
class DuplicatesHeap;
class FolderSystemItem;
class HeapsFolderData;

// All heaps of one main folder: its partners (by folder number), the heaps in which either
// folder is itself a duplicate folder (held apart), and the main folder's copies that take
// part in its heaps. Made by the heaps' validation; read by the interface.
class HeapsGroup final {
public:
    explicit HeapsGroup(std::shared_ptr<HeapsFolderData> mainFolder);
    HeapsGroup(const HeapsGroup&) = delete;
    HeapsGroup& operator=(const HeapsGroup&) = delete;

    const std::shared_ptr<HeapsFolderData>& getMainFolder() const { return m_pMainFolder; }
    const OrderedSet<DuplicateItem>& getItemsInMainFolderThatParticipateInHeaps() const {
        return m_arrMainFolderItemsInHeaps;
    }
    // The partner folder numbers, in increasing order.
    std::vector<uint64_t> getAllSubHeapsKeys() const;
    const std::vector<std::shared_ptr<DuplicatesHeap>>& getAllSubHeapsWithDuplicatesFolder() const {
        return m_arrHeapsWithDuplicatesFolder;
    }
    std::vector<std::shared_ptr<DuplicatesHeap>> buildAllSubHeapsArray() const;
    uint64_t getCountOfHeapsInGroup() const { return m_arrHeaps.size(); }
    const std::unordered_set<FolderSystemItem*>& getSecondFoldersForHeaps() const {
        return m_arrSecondFoldersForHeaps;
    }

    // Takes a heap of this main folder: one with a duplicate folder goes apart; otherwise
    // the first heap with a partner is kept. Nothing for null or another main folder.
    void addHeap(const std::shared_ptr<DuplicatesHeap>& heap);
    // Either folder of the heap is itself a copy in a folder group.
    static bool isHeapWithDuplicateFolder(const DuplicatesHeap& heap);
    std::shared_ptr<DuplicatesHeap> getHeapForKey(uint64_t partnerFolderNumber) const;
    bool isCanBeUsedForFastRecalculation() const;
    // Rebuilds the heaps with the partners of an earlier group of the same folder.
    void fastRecalculateGroup(const HeapsGroup& earlier);
    void fastRecalculateHeap(const DuplicatesHeap& heap);

    bool isHasLastItems() const;
    // Whether selecting every copy of `items` would select every copy of one of their groups.
    static bool isHasLastItemsInItems(const OrderedSet<DuplicateItem>& items);

    void calculateCountOfItems(uint64_t* countOfItems, uint64_t* countOfSelectedItems,
                               uint64_t* countOfSimilarSelectedItems, uint64_t* totalSize) const;

private:
    std::shared_ptr<HeapsFolderData> m_pMainFolder;
    OrderedSet<DuplicateItem> m_arrMainFolderItemsInHeaps;
    std::unordered_set<FolderSystemItem*> m_arrSecondFoldersForHeaps;
    std::map<uint64_t, std::shared_ptr<DuplicatesHeap>> m_arrHeaps;
    std::vector<std::shared_ptr<DuplicatesHeap>> m_arrHeapsWithDuplicatesFolder;
};
