#pragma once

#include "DuplicatesGroupListener.h"
#include "FileTree/DuplicatesCategoryType.h"
#include "OrderedSet.h"

#include <QList>

#include <cstdint>
#include <memory>
#include <vector>

class DuplicatesCategoryListener;
class DuplicatesContainer;
class DuplicatesGroup;
class FileSystemItem;

// The groups of one category (pictures, movies, ..., folders, or one of the container's two
// type -1 categories) with nine running totals over them, so that sizes and counts per
// category are read without walking the groups.
//
// The category owns its groups. Its listener (the container, for the typed categories) is
// weak. Every change of a group reaches the category as one will-change report (the group's
// old values are subtracted) and one did-change report (its new values are added); a total
// that would go below 0 is held at 0. No locks: one thread at a time changes a result.
class DuplicatesCategory final : public DuplicatesGroupListener,
                                 public std::enable_shared_from_this<DuplicatesCategory> {
public:
    // initWithType:withListener:. `listener` may be empty (the two type -1 categories).
    static std::shared_ptr<DuplicatesCategory>
    create(int type, std::weak_ptr<DuplicatesCategoryListener> listener = {});

    int getType() const { return m_eType; }
    // The container's small-duplicates category: its copies are only provisional, so a copy
    // of any other category takes a node's link over from them (never the other way round).
    bool isSmallDuplicatesCategory() const { return m_bIsSmallDuplicatesCategory; }
    void setSmallDuplicatesCategory(bool small) { m_bIsSmallDuplicatesCategory = small; }
    // The listener's container; null without a listener.
    std::shared_ptr<DuplicatesContainer> getContainer() const;

    // The only way a group comes into being. Fewer than two items make none. The answer is
    // the new group, also when it has at once moved on to another category (a group whose
    // copies all lie inside duplicate folders goes to the hidden category while it joins).
    std::shared_ptr<DuplicatesGroup> addGroupWithItems(const QList<FileSystemItem*>& items);
    // Takes a member out and dissolves it; nothing for null or a group of another category.
    void removeGroup(const std::shared_ptr<DuplicatesGroup>& group);
    // A snapshot of the groups, in the order they joined.
    std::vector<std::shared_ptr<DuplicatesGroup>> getGroups() const;
    // The same list without a copy, for reading many groups; valid until the groups change.
    const std::vector<std::shared_ptr<DuplicatesGroup>>& groupsView() const {
        return m_arrGroups.items();
    }
    bool containsGroup(const DuplicatesGroup* group) const { return m_arrGroups.contains(group); }
    std::size_t getGroupsCount() const { return m_arrGroups.size(); }

    uint64_t getTotalSize() const { return unsignedTotal(m_nTotalSize); }
    uint64_t getTotalCount() const { return unsignedTotal(m_nTotalCount); }
    uint64_t getTotalSelectedSize() const { return unsignedTotal(m_nSelectedSize); }
    uint64_t getCountOfActualSelectedItems() const { return unsignedTotal(m_nActualSelectedCount); }
    uint64_t getSizeThatCanBeRemoved() const { return unsignedTotal(m_nSizeThatCanBeRemoved); }
    uint64_t getTotalGreenSize() const { return unsignedTotal(m_nTotalGreenSize); }
    uint64_t getTotalBlueSize() const { return unsignedTotal(m_nTotalBlueSize); }
    uint64_t getTotalRedSize() const { return unsignedTotal(m_nTotalRedSize); }

    // Removes every group with fewer than two copies; answers how many went.
    int removeEmptyGroups();
    void removeAllGroups();

    void onGroupWillChange(DuplicatesGroup* group) override;
    void onGroupDidChanged(DuplicatesGroup* group) override;

    DuplicatesCategory(int type, std::weak_ptr<DuplicatesCategoryListener> listener);
    DuplicatesCategory(const DuplicatesCategory&) = delete;
    DuplicatesCategory& operator=(const DuplicatesCategory&) = delete;

private:
    static uint64_t unsignedTotal(int64_t total) {
        return total > 0 ? static_cast<uint64_t>(total) : 0;
    }
    void applyGroupValues(const DuplicatesGroup& group, int sign);

    int m_eType;
    bool m_bIsSmallDuplicatesCategory = false;
    OrderedSet<DuplicatesGroup> m_arrGroups;
    std::weak_ptr<DuplicatesCategoryListener> m_pListener;
    int64_t m_nTotalSize = 0;
    int64_t m_nSelectedSize = 0;
    int64_t m_nSizeThatCanBeRemoved = 0;
    int64_t m_nTotalGreenSize = 0;
    int64_t m_nTotalBlueSize = 0;
    int64_t m_nTotalRedSize = 0;
    int64_t m_nTotalCount = 0;
    int64_t m_nActualSelectedCount = 0;
    int64_t m_nSelectedCountWithDuplicatesFolderContent = 0;
};
