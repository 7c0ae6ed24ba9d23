#pragma once

#include "OrderedSet.h"

#include <cstdint>
#include <memory>
#include <vector>

class DuplicateItem;
class DuplicatesGroup;

// The copies of one group chosen for removal: every selected copy (those inside duplicate
// folders included), and the count and size of those that have no associated duplicate
// folder. Owned by its group.
class GroupSelection final {
public:
    explicit GroupSelection(DuplicatesGroup* group) : m_pGroup(group) {}
    GroupSelection(const GroupSelection&) = delete;
    GroupSelection& operator=(const GroupSelection&) = delete;

    // No membership test: the group has made it.
    void addItem(DuplicateItem* item);
    // Nothing when `item` is not selected.
    void removeItem(DuplicateItem* item);
    // A selected `item` gained or lost its associated duplicate folder: its share moves into
    // or out of the count and size, so that they always cover exactly the selected copies
    // that have no duplicate folder now (else a later deselection would leave a stale count
    // behind, or take away another copy's share). Nothing when `item` is not selected.
    void updateAfterItemMovedToOrFromFolderDuplicates(DuplicateItem* item);

    const std::vector<std::shared_ptr<DuplicateItem>>& getItems() const {
        return m_arrSelectedItems.items();
    }
    bool containsItem(const DuplicateItem* item) const { return m_arrSelectedItems.contains(item); }
    uint64_t getDirtyItemsCount() const { return m_arrSelectedItems.size(); }
    uint64_t getActualItemsCount() const {
        return m_nCountWithoutAssociatedDuplicateFolder > 0
                   ? static_cast<uint64_t>(m_nCountWithoutAssociatedDuplicateFolder)
                   : 0;
    }
    uint64_t getTotalSize() const { return m_nTotalSize; }

private:
    DuplicatesGroup* m_pGroup;
    OrderedSet<DuplicateItem> m_arrSelectedItems;
    uint64_t m_nTotalSize = 0;
    int64_t m_nCountWithoutAssociatedDuplicateFolder = 0;
};
