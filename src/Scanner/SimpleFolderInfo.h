#pragma once

#include <QString>

#include <vector>

class FolderSystemItem;

// A candidate folder of the identical-folder stage: its identifier, whether it can still be
// a duplicate, and the grouping and orderings of candidates. The groups are plain lists of
// folders, each list one set of candidates of equal identifier.
class SimpleFolderInfo final {
public:
    using Group = std::vector<FolderSystemItem*>;
    using Groups = std::vector<Group>;

    explicit SimpleFolderInfo(FolderSystemItem* folder) : m_pFolderItem(folder) {}

    FolderSystemItem* getSystemItem() const { return m_pFolderItem; }
    // The folder identifier: logical size and count of all nodes below, "%lld_%lu".
    QString buildSimplyHash() const { return buildIdentifierForMethod(1); }
    // Method 1 is the only one: any other answers an empty string.
    QString buildIdentifierForMethod(int method) const;
    QString buildSizeAndChildrenCountIdentifier() const;
    // NO when the folder, or anything below it, was compared and found unique (checked for
    // duplicates without a copy). Items never compared do not count against it.
    bool isCanBeDuplicate() const;

    static Groups GroupFolders(const std::vector<FolderSystemItem*>& folders, int method);
    static Groups
    GroupFoldersBySizeAndChildrenCount(const std::vector<FolderSystemItem*>& folders) {
        return GroupFolders(folders, 1);
    }
    // By the logical size of the first member, largest first (stable).
    static Groups PreSortedGroupsBySizeFromBigToSmall(Groups groups);
    // Largest folder families first; within a family the inner, smaller folders first.
    static Groups SortedGroupsBySizeFromBigToSmall(const Groups& groups);
    // By logical size, then by descendant count, both ascending (stable).
    static Groups SortedGroupsBySizeFromSmallToBig(Groups groups);

private:
    FolderSystemItem* m_pFolderItem;
};
