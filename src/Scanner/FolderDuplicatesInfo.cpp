#include "Scanner/FolderDuplicatesInfo.h"

#include "FileTree/FolderSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesGroup.h"

FolderDuplicatesInfo::FolderDuplicatesInfo(FolderSystemItem* folder) : m_pFolder(folder) {
    updateData();
}

void FolderDuplicatesInfo::updateData() {
    resetGroupsInfo();
    m_nCountOfSubFolders = 0;
    m_nCountOfUniqueItems = 0;
    m_nCountOfItems = 0;
    if (!m_pFolder) {
        m_nCountOfNotCheckedItems = 0;
        return;
    }
    const auto children = m_pFolder->childrenArray();
    m_nCountOfItems = int64_t(children.size());
    m_nCountOfNotCheckedItems = m_nCountOfItems;
    for (const FileSystemItem* child : children) {
        updateDataAfterProcessedItem(child);
        if (child->isDir())
            ++m_nCountOfSubFolders;
    }
}

void FolderDuplicatesInfo::resetGroupsInfo() {
    m_arrGroupInfo.clear();
    m_nCountOfDuplicatesGroups = 0;
}

void FolderDuplicatesInfo::updateDataAfterProcessedItem(const FileSystemItem* item) {
    if (!item || !m_pFolder || item->parent() != m_pFolder || !item->isCheckedForDuplicates())
        return;
    --m_nCountOfNotCheckedItems;
    const DuplicateItem* copy = item->getDuplicateItem();
    const std::shared_ptr<DuplicatesGroup> group = copy ? copy->getGroup() : nullptr;
    if (!group) {
        ++m_nCountOfUniqueItems;
        return;
    }
    auto [entry, added] = m_arrGroupInfo.try_emplace(group->getGroupID(), 0);
    ++entry->second;
    if (added)
        ++m_nCountOfDuplicatesGroups;
}

std::optional<int32_t>
FolderDuplicatesInfo::getCountOfDuplicatesInGroupWithID(uint64_t groupID) const {
    const auto found = m_arrGroupInfo.find(groupID);
    if (found == m_arrGroupInfo.end())
        return std::nullopt;
    return found->second;
}

bool FolderDuplicatesInfo::isEqualToFolderInfo(const FolderDuplicatesInfo& other) const {
    if (!m_pFolder || !other.m_pFolder)
        return false;
    if (isHasUniqueItems() || other.isHasUniqueItems())
        return false;
    if (m_nCountOfNotCheckedItems != other.m_nCountOfNotCheckedItems ||
        m_nCountOfItems != other.m_nCountOfItems ||
        m_nCountOfSubFolders != other.m_nCountOfSubFolders ||
        m_nCountOfDuplicatesGroups != other.m_nCountOfDuplicatesGroups)
        return false;
    for (const auto& [groupID, count] : m_arrGroupInfo) {
        const auto theirs = other.getCountOfDuplicatesInGroupWithID(groupID);
        if (!theirs || *theirs != count)
            return false;
    }
    // The content of an empty folder (or of a package) is not in the tree: such folders are
    // alike only under the same name.
    if (m_pFolder->childrenArray().empty())
        return m_pFolder->nameView() == other.m_pFolder->nameView();
    return true;
}
