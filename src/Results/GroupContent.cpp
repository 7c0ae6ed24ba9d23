#include "GroupContent.h"

#include "DuplicateItem.h"
#include "DuplicatesCategory.h"
#include "DuplicatesGroup.h"

#include "FileTree/FileSystemItem.h"

GroupContent::~GroupContent() {
    for (const auto& item : m_arrItems.items()) {
        if (FileSystemItem* node = item->getFileSystemItem()) {
            node->clearDuplicateItemLink(item.get());
        }
    }
}

void GroupContent::addItem(FileSystemItem* node) {
    if (!node) {
        return;
    }
    if (const auto category = m_pGroup->getCategory();
        category && category->getType() != -1 && node->isInPackage()) {
        return;
    }
    // The copy joins the list before it is initialised, so that the group's membership test
    // inside the initialiser passes.
    auto item = std::make_shared<DuplicateItem>();
    m_arrItems.add(item);
    item->initWithFileItemWithGroup(node, m_pGroup->shared_from_this());
    if (node->getDuplicateItem() == item.get()) {
        updateDataAfterAddItem(item.get());
    } else {
        m_arrItems.remove(item.get());
    }
}

void GroupContent::removeItem(DuplicateItem* item) {
    if (!containsItem(item)) {
        return;
    }
    const auto keep = item->shared_from_this();
    m_pGroup->onGroupWillChange(m_pGroup);
    updateDataAfterRemoveItem(item);
    item->onItemWillRemovedFromGroup(item, m_pGroup);
    m_arrItems.remove(item);
    if (m_nCountOfItemsInDuplicatesFolders == 0 && m_nNotRemovedSize == 0 && !m_arrItems.empty()) {
        // The kept copy left: the first remaining copy is kept instead.
        m_nNotRemovedSize = m_arrItems.first()->getFileItemSize();
        if (m_nCountOfItemsThatCanBeRemoved > 0) {
            --m_nCountOfItemsThatCanBeRemoved;
        }
    }
    m_pGroup->onGroupDidChanged(m_pGroup);
}

std::vector<FileSystemItem*> GroupContent::createArrayWithFileSystemItems() const {
    std::vector<FileSystemItem*> nodes;
    nodes.reserve(m_arrItems.size());
    for (const auto& item : m_arrItems.items()) {
        if (FileSystemItem* node = item->getFileSystemItem()) {
            nodes.push_back(node);
        }
    }
    return nodes;
}

void GroupContent::updateGroupInfoAfterItemMovedToOrFromFolderDuplicates(DuplicateItem* item) {
    if (!item) {
        return;
    }
    m_pGroup->onGroupWillChange(m_pGroup);
    const bool inside = item->hasAssociatedDuplicateFolder();
    const uint64_t size = item->getFileItemSize();
    updateDataAfterRemoveItemWithSizeInDuplicatesFolder(size, !inside);
    updateDataAfterAddItemWithSizeInDuplicatesFolder(size, inside);
    m_pGroup->onGroupDidChanged(m_pGroup);
}

void GroupContent::updateDataAfterAddItem(const DuplicateItem* item) {
    updateDataAfterAddItemWithSizeInDuplicatesFolder(item->getFileItemSize(),
                                                     item->hasAssociatedDuplicateFolder());
}

void GroupContent::updateDataAfterRemoveItem(const DuplicateItem* item) {
    updateDataAfterRemoveItemWithSizeInDuplicatesFolder(item->getFileItemSize(),
                                                        item->hasAssociatedDuplicateFolder());
}

void GroupContent::updateDataAfterAddItemWithSizeInDuplicatesFolder(uint64_t size,
                                                                    bool inDuplicatesFolder) {
    if (inDuplicatesFolder) {
        // The former kept copy becomes removable: this copy stays with its folder.
        if (m_nNotRemovedSize != 0) {
            ++m_nCountOfItemsThatCanBeRemoved;
        }
        ++m_nCountOfItemsInDuplicatesFolders;
        m_nNotRemovedSize = 0;
        return;
    }
    if (m_nNotRemovedSize != 0 || m_nCountOfItemsInDuplicatesFolders >= 1) {
        ++m_nCountOfItemsThatCanBeRemoved;
    }
    m_nTotalSize += size;
    if (m_nNotRemovedSize == 0 && m_nCountOfItemsInDuplicatesFolders == 0) {
        m_nNotRemovedSize = size;
    }
}

void GroupContent::updateDataAfterRemoveItemWithSizeInDuplicatesFolder(uint64_t size,
                                                                       bool inDuplicatesFolder) {
    if (inDuplicatesFolder) {
        if (m_nCountOfItemsInDuplicatesFolders > 0) {
            --m_nCountOfItemsInDuplicatesFolders;
        }
        return;
    }
    if (m_nCountOfItemsThatCanBeRemoved > 0) {
        --m_nCountOfItemsThatCanBeRemoved;
    }
    m_nTotalSize = size >= m_nTotalSize ? 0 : m_nTotalSize - size;
    if (m_nTotalSize == 0) {
        m_nNotRemovedSize = 0;
    }
}
