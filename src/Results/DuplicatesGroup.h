#pragma once

#include "DuplicatesCategoryListener.h"
#include "DuplicatesGroupListener.h"

#include <QList>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class DuplicateItem;
class DuplicatesCategory;
class DuplicatesContainer;
class FileSystemItem;
class GroupContent;
class GroupSelection;

// One set of files or folders with identical content. Its copies are DuplicateItem objects,
// each linked both ways with its scanned node. The group enforces the selection rules (the
// last-copy guard; copies inside a duplicate folder follow that folder) and reports every
// change of its values to the category that made it, bracketed by will-change and
// did-change, however deeply the changes nest.
//
// Life: made by a category with its nodes; joins that category once (the copies are built,
// the nodes dropped); changes through selection and copies leaving; dissolved when it leaves
// its category (copies let go, category cleared), never to join again. A move to another
// category is always a new group with a new number.
//
// Ownership: the category owns the group; the group's links to its category and listener are
// weak. Groups are changed by one thread at a time: the scan's stages while a scan runs, the
// main thread afterwards. Selection happens on the main thread.
class DuplicatesGroup final : public DuplicatesCategoryListener,
                              public DuplicatesGroupListener,
                              public std::enable_shared_from_this<DuplicatesGroup> {
public:
    // initWithItems:withListener:. Only DuplicatesCategory::addGroupWithItems makes groups.
    static std::shared_ptr<DuplicatesGroup> create(const QList<FileSystemItem*>& items,
                                                   std::weak_ptr<DuplicatesGroupListener> listener);

    // YES for any copy while the group's category has type -1; otherwise whether the group
    // holds the copy.
    bool isHasItem(const DuplicateItem* item) const;

    // Selects `item` under the rules: never the copy already selected or a non-member;
    // without `forced`, never when that would leave no copy unselected; never a copy whose
    // duplicate folder is not selected, even when forced. Selecting a folder copy makes the
    // copies beneath it follow, in one selection batch. Answers whether it was selected.
    bool selectItemForced(DuplicateItem* item, bool forced);
    // Deselects `item`; a copy whose duplicate folder is selected stays selected.
    void deselectItem(DuplicateItem* item);

    // Takes a removed or excluded copy out of the result; for a folder copy every copy beneath
    // it leaves its own group as well.
    void removeDuplicateItemFromLogicalStructure(DuplicateItem* item);
    void removeDuplicateItemFromLogicalStructureWithSubItems(DuplicateItem* item, bool subItems);

    bool isFullyInDuplicatesFolders() const { return m_bIsFullyInDuplicatesFolders; }
    bool calculateIsFullyInDuplicatesFolders() const;
    // Recomputes the flag and moves the group between a typed and the hidden category when it
    // changed (see the source for when).
    void recalculateIsFullyInDuplicatesFolders();

    // Dissolves this group and makes a new one from its nodes in `category`; nothing for
    // null. Fewer than two nodes make no new group.
    void moveToCategory(const std::shared_ptr<DuplicatesCategory>& category);

    // `item` gained or lost its associated duplicate folder: its share moves between the
    // copies inside and outside duplicate folders and, when it is selected, into or out of
    // the selected count and size.
    void updateGroupInfoAfterItemMovedToOrFromFolderDuplicates(DuplicateItem* item);

    // Reports of this group's own copies list and selection.
    void onGroupWillChange(DuplicatesGroup* group) override;
    void onGroupDidChanged(DuplicatesGroup* group) override;

    // The name to show: the first copy whose name carries no copy marks, else the first copy.
    QString calculateGroupName() const;
    // The name, worked out on first use and again after a copy left.
    QString getGroupName();

    // The nodes of the current copies, in list order (empty without copies).
    QList<FileSystemItem*> getFileSystemItems() const;

    // A copy leaves the group.
    void removeDuplicateItem(DuplicateItem* item);

    bool isAllItemsInPackages() const;

    void notifyListenerThatGroupWillChange();
    void notifyListenerThatGroupDidChanged();

    uint64_t getGroupID() const { return m_nGroupID; }
    std::shared_ptr<DuplicatesCategory> getCategory() const { return m_pCategory.lock(); }
    // The copies in the order they were added; empty without content.
    std::vector<std::shared_ptr<DuplicateItem>> getItems() const;
    // The same list without a copy, for reading every copy of many groups; valid until the
    // group's copies change.
    const std::vector<std::shared_ptr<DuplicateItem>>& itemsView() const;
    // The first copy; null without copies.
    std::shared_ptr<DuplicateItem> getFirstItem() const;
    // Every selected copy (those inside duplicate folders included), in selection order.
    std::vector<std::shared_ptr<DuplicateItem>> getSelectedItems() const;
    // The same list without a copy; valid until the selection changes.
    const std::vector<std::shared_ptr<DuplicateItem>>& selectedItemsView() const;
    bool isInSelection(const DuplicateItem* item) const;
    bool isPackageContent() const { return m_bIsPackageContent; }

    // The nine values a category sums.
    uint64_t getTotalSize() const;
    uint64_t getSelectedSize() const;
    uint64_t getSizeThatCanBeRemoved() const;
    uint64_t getTotalCount() const;
    uint64_t getSelectedCountWithDuplicatesFolderContent() const;
    uint64_t getActualSelectedCount() const;
    uint64_t getCountOfDuplicatesThatCanBeRemoved() const;
    // The kept size: the copy that stays when all others go (0 while a copy lies inside a
    // duplicate folder); 0 without content.
    uint64_t getNotRemovedSize() const;
    // Bar sizes: green is the selected size unless every copy is selected; blue the kept size
    // when exactly one copy is unselected; red the total size when every copy is selected.
    uint64_t getGreenSize() const;
    uint64_t getBlueSize() const;
    uint64_t getRedSize() const;

    // The selection batch, process-wide and nestable: one
    // "DuplicateItemSelectionChangedNotification" when the outermost batch ends, or one per
    // change outside a batch. The depth is atomic, so a worker may read it safely, but
    // selection itself belongs to the main thread.
    static void BeginSelectionGroup();
    static void EndSelectionGroup();
    static void sendNotificationThatSelectionChangedIfNeeded();
    static int selectionBatchDepth();
    // Grows whenever any group's copies change (a copy joins or leaves, or moves into or out
    // of a duplicate folder), never for a selection change: a cache over the copies of many
    // groups stays valid while it is unchanged.
    static uint64_t contentGeneration();
    // Moves on at every change this group announces to its listener (selection or copies),
    // so a cache of the group's bar sizes stays valid while it is unchanged. Main thread.
    uint64_t changeStamp() const { return m_nChangeStamp; }

    // DuplicatesCategoryListener: the calls of the category that holds this group.
    std::shared_ptr<DuplicatesContainer> getContainer() const override;
    void onGroupAddedToCategory(const std::shared_ptr<DuplicatesGroup>& group,
                                const std::shared_ptr<DuplicatesCategory>& category) override;
    void
    onGroupWillRemovedFromCategory(const std::shared_ptr<DuplicatesGroup>& group,
                                   const std::shared_ptr<DuplicatesCategory>& category) override;
    void
    onGroupDidRemovedFromCategory(const std::shared_ptr<DuplicatesGroup>& group,
                                  const std::shared_ptr<DuplicatesCategory>& category) override;

    DuplicatesGroup(const QList<FileSystemItem*>& items,
                    std::weak_ptr<DuplicatesGroupListener> listener);
    ~DuplicatesGroup() override;
    DuplicatesGroup(const DuplicatesGroup&) = delete;
    DuplicatesGroup& operator=(const DuplicatesGroup&) = delete;

private:
    void addToSelection(DuplicateItem* item);
    void followFolderSelection(DuplicateItem* folderItem);

    std::optional<QString> m_sGroupName;
    uint64_t m_nGroupID;
    bool m_bIsFullyInDuplicatesFolders = false;
    bool m_bIsPackageContent = false;
    bool m_bCanBeAddedToCategory = true;
    std::weak_ptr<DuplicatesCategory> m_pCategory;
    std::weak_ptr<DuplicatesGroupListener> m_pListener;
    QList<FileSystemItem*> m_arrFileSystemItems;
    std::shared_ptr<GroupContent> m_pContent;
    std::shared_ptr<GroupSelection> m_pSelection;
    int m_nNotificationDeep = 0;
    uint64_t m_nChangeStamp = 0;
    bool m_bDissolving = false;

    // Groups may be made on a worker queue while the main thread reads, so the number
    // counter is atomic.
    static std::atomic<uint64_t> s_nNextGroupID;
    static std::atomic<int> s_nSelectionBatchDepth;
    static std::atomic<uint64_t> s_nContentGeneration;
    static std::atomic<uint64_t> s_nChangeClock;
};
