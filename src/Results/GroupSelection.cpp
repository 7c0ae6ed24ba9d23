#include "GroupSelection.h"

#include "DuplicateItem.h"
#include "DuplicatesGroup.h"

void GroupSelection::addItem(DuplicateItem* item) {
    if (!item) {
        return;
    }
    m_pGroup->onGroupWillChange(m_pGroup);
    m_arrSelectedItems.add(item->shared_from_this());
    if (!item->hasAssociatedDuplicateFolder()) {
        ++m_nCountWithoutAssociatedDuplicateFolder;
        m_nTotalSize += item->getFileItemSize();
    }
    item->onItemSelectionChanged(item);
    m_pGroup->onGroupDidChanged(m_pGroup);
}

void GroupSelection::removeItem(DuplicateItem* item) {
    if (!item || !m_arrSelectedItems.contains(item)) {
        return;
    }
    // The set may hold the last strong reference to a copy that already left its group.
    const auto keep = item->shared_from_this();
    m_pGroup->onGroupWillChange(m_pGroup);
    m_arrSelectedItems.remove(item);
    if (!item->hasAssociatedDuplicateFolder()) {
        if (m_nCountWithoutAssociatedDuplicateFolder > 0) {
            --m_nCountWithoutAssociatedDuplicateFolder;
        }
        const uint64_t size = item->getFileItemSize();
        m_nTotalSize = size > m_nTotalSize ? 0 : m_nTotalSize - size;
    }
    item->onItemSelectionChanged(item);
    m_pGroup->onGroupDidChanged(m_pGroup);
}

void GroupSelection::updateAfterItemMovedToOrFromFolderDuplicates(DuplicateItem* item) {
    if (!item || !m_arrSelectedItems.contains(item)) {
        return;
    }
    m_pGroup->onGroupWillChange(m_pGroup);
    const uint64_t size = item->getFileItemSize();
    if (item->hasAssociatedDuplicateFolder()) {
        if (m_nCountWithoutAssociatedDuplicateFolder > 0) {
            --m_nCountWithoutAssociatedDuplicateFolder;
        }
        m_nTotalSize = size > m_nTotalSize ? 0 : m_nTotalSize - size;
    } else {
        ++m_nCountWithoutAssociatedDuplicateFolder;
        m_nTotalSize += size;
    }
    m_pGroup->onGroupDidChanged(m_pGroup);
}
