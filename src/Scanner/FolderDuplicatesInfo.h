#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>

class FileSystemItem;
class FolderSystemItem;

// The signature of one folder over its direct children: how many there are, how many are
// folders, how many were compared and found unique, how many are not compared yet, and per
// duplicate group how many of them are copies in it. Two folders whose signatures differ
// cannot be identical. Used on the folder separators' queue only.
class FolderDuplicatesInfo final {
public:
    // initWithFolder:. Reads the signature at once.
    explicit FolderDuplicatesInfo(FolderSystemItem* folder);

    FolderSystemItem* getFolder() const { return m_pFolder; }
    void updateData();
    // Forgets the group table; the counts stay.
    void resetGroupsInfo();
    // Takes one direct child that has just been compared into the signature; nothing for an
    // item of another folder or one not yet marked checked.
    void updateDataAfterProcessedItem(const FileSystemItem* item);

    bool isHasUniqueItems() const { return m_nCountOfUniqueItems > 0; }
    int64_t getCountOfNotCheckedItems() const { return m_nCountOfNotCheckedItems; }
    int64_t getCountOfSubFolders() const { return m_nCountOfSubFolders; }
    int64_t getCountOfItems() const { return m_nCountOfItems; }
    int64_t getCountOfDuplicatesGroups() const { return m_nCountOfDuplicatesGroups; }
    std::optional<int32_t> getCountOfDuplicatesInGroupWithID(uint64_t groupID) const;
    bool isEqualToFolderInfo(const FolderDuplicatesInfo& other) const;

private:
    FolderSystemItem* m_pFolder;
    std::unordered_map<uint64_t, int32_t> m_arrGroupInfo;
    int64_t m_nCountOfItems = 0;
    int64_t m_nCountOfSubFolders = 0;
    int64_t m_nCountOfUniqueItems = 0;
    int64_t m_nCountOfNotCheckedItems = 0;
    int64_t m_nCountOfDuplicatesGroups = 0;
};
