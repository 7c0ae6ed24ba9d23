#pragma once

#include "OrderedSet.h"

#include <cstdint>
#include <memory>
#include <vector>

class DuplicateItem;
class DuplicatesGroup;
class FileSystemItem;

// The copies of one group with its running counts: the total size of the copies outside
// duplicate folders, the kept size (the copy that stays when all others go; 0 while any copy
// lies inside a duplicate folder, since that copy stays with its folder), the number of
// copies inside duplicate folders and the number of removable copies. Counts never go below
// 0 and sizes are held at 0 instead of wrapping.
//
// Owned by its group; the back link is a plain pointer because the group outlives it.
class GroupContent final {
public:
    explicit GroupContent(DuplicatesGroup* group) : m_pGroup(group) {}
    // Unlinks the nodes of copies that never left (the result itself goes away).
    ~GroupContent();
    GroupContent(const GroupContent&) = delete;
    GroupContent& operator=(const GroupContent&) = delete;

    // Makes the copy of `node`. Package content is refused by typed categories. The copy
    // stays only when the node ends up linked to it. Sends no change reports: the caller
    // brackets it.
    void addItem(FileSystemItem* node);
    // `item` leaves: counts, the copy is told, and a new kept copy is chosen when needed.
    void removeItem(DuplicateItem* item);

    // In the order they were added; valid until the copies change.
    const std::vector<std::shared_ptr<DuplicateItem>>& getItems() const {
        return m_arrItems.items();
    }
    std::shared_ptr<DuplicateItem> getFirstItem() const { return m_arrItems.first(); }
    bool containsItem(const DuplicateItem* item) const { return m_arrItems.contains(item); }
    uint64_t getTotalSize() const { return m_nTotalSize; }
    uint64_t getNotRemovedSize() const { return m_nNotRemovedSize; }
    uint64_t getSizeThatCanBeRemoved() const {
        return m_nTotalSize > m_nNotRemovedSize ? m_nTotalSize - m_nNotRemovedSize : 0;
    }
    std::vector<FileSystemItem*> createArrayWithFileSystemItems() const;
    uint64_t getItemsCount() const { return m_arrItems.size(); }
    uint64_t getItemsCountThatCanBeRemoved() const {
        return m_nCountOfItemsThatCanBeRemoved > 0
                   ? static_cast<uint64_t>(m_nCountOfItemsThatCanBeRemoved)
                   : 0;
    }
    int64_t getCountOfItemsInDuplicatesFolders() const {
        return m_nCountOfItemsInDuplicatesFolders;
    }

    // `item` gained or lost its associated duplicate folder: its former share is taken out
    // and its current one put in.
    void updateGroupInfoAfterItemMovedToOrFromFolderDuplicates(DuplicateItem* item);

    void updateDataAfterAddItem(const DuplicateItem* item);
    void updateDataAfterRemoveItem(const DuplicateItem* item);
    void updateDataAfterAddItemWithSizeInDuplicatesFolder(uint64_t size, bool inDuplicatesFolder);
    void updateDataAfterRemoveItemWithSizeInDuplicatesFolder(uint64_t size,
                                                             bool inDuplicatesFolder);

private:
    DuplicatesGroup* m_pGroup;
    OrderedSet<DuplicateItem> m_arrItems;
    uint64_t m_nTotalSize = 0;
    uint64_t m_nNotRemovedSize = 0;
    int64_t m_nCountOfItemsInDuplicatesFolders = 0;
    int64_t m_nCountOfItemsThatCanBeRemoved = 0;
};
