#pragma once

#include "DuplicatesCategoryListener.h"
#include "OrderedSet.h"

#include <QByteArray>
#include <QList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class DuplicateItem;
class DuplicatesCategory;
class DuplicatesGroup;
class DuplicatesHeaps;
class ExcludeChecker;
class FileSystemItem;
class HeapsValidateProgressListener;
class ScanTree;

// The result of one scan: the scanned roots, the duplicate groups sorted into seven typed
// categories (pictures, movies, music, documents, archives, others, folders), a hidden
// category for groups whose every copy lies inside duplicate folders, a small-duplicates
// category for same-content sets met while folders are compared (emptied when the scan ends),
// the list of all groups of the typed categories, the heaps of similar folders when asked for,
// and the exclusion checker of the moment the scan started.
//
// Ownership: made only through create(), held with std::shared_ptr (the size filter, then the
// scan controller, then the result manager). It owns its categories, which own their groups.
// Holding the roots keeps their scanned tree alive for the life of the result.
//
// No locks: one scan stage at a time fills it while the scan runs, the main thread changes it
// afterwards. The data-changed notification is always posted on the main queue.
class DuplicatesContainer final : public DuplicatesCategoryListener,
                                  public std::enable_shared_from_this<DuplicatesContainer> {
public:
    // initWithHeaps:. With heaps, the container keeps the heaps of similar folders up to date
    // with the groups of its typed categories.
    static std::shared_ptr<DuplicatesContainer> create(bool withHeaps);
    ~DuplicatesContainer() override;
    DuplicatesContainer(const DuplicatesContainer&) = delete;
    DuplicatesContainer& operator=(const DuplicatesContainer&) = delete;

    // Replaces the roots (and holds their trees).
    void saveRoots(const QList<FileSystemItem*>& roots);
    const QList<FileSystemItem*>& getRoots() const { return m_arrRoots; }

    // The nodes that stand for `path`: every root at or under it, or the one node inside a
    // root that the path names. Empty when there is none. A final "/" makes no difference.
    QList<FileSystemItem*> findSystemItemWithPath(const QByteArray& path) const;

    const std::shared_ptr<DuplicatesCategory>& getHiddenCategoryOfDuplicates() const {
        return m_pHiddenCategoryOfDuplicates;
    }
    const std::shared_ptr<DuplicatesCategory>& getSmallDuplicatesCategory() const {
        return m_pSmallDuplicatesCategory;
    }
    const std::shared_ptr<ExcludeChecker>& getExcludeChecker() const { return m_pExcludeChecker; }
    // Null when the container has no heaps.
    const std::shared_ptr<DuplicatesHeaps>& getHeaps() const { return m_pHeaps; }
    bool isMadeWithHeaps() const { return m_bWithHeaps; }

    // Routes a set of identical items to the typed category of the first item's type
    // (folders that are not packages: 6). Fewer than two items, or a type without category,
    // make no group.
    std::shared_ptr<DuplicatesGroup> addGroupWithItems(const QList<FileSystemItem*>& items);

    // The typed category for 0 to 6; null for anything else, -1 included.
    std::shared_ptr<DuplicatesCategory> getCategoryWithType(int type) const;
    // The typed categories (0 to 6 in order) followed by the hidden category.
    const std::array<std::shared_ptr<DuplicatesCategory>, 8>& getCategories() const {
        return m_arrCategories;
    }

    // Every group that currently belongs to a typed category, in the order they joined. The
    // list itself, valid until the groups change.
    const std::vector<std::shared_ptr<DuplicatesGroup>>& getAllFilesGroups() const {
        return m_arrAllFilesGroups.items();
    }

    uint64_t getAllFilesSize() const;
    // The copies a removal run is to remove: every selected copy that has no associated
    // duplicate folder (the folder takes those with it), typed categories then the hidden one.
    std::vector<std::shared_ptr<DuplicateItem>> buildRemoveList() const;
    uint64_t getItemsCountInRemoveList() const;
    uint64_t getRemoveListTotalSize() const;

    // Takes removed or excluded copies out of their groups and their nodes out of the tree.
    // Groups that fall below two copies stay until the next clean-up.
    void removeDuplicateItemsFromLogicalStructure(
        const std::vector<std::shared_ptr<DuplicateItem>>& items);

    // The clean-up after a scan, a removal or an exclusion: empty groups go, hidden groups
    // that no longer lie wholly inside duplicate folders come back, groups that now do are
    // hidden, the heaps are validated; then "DuplicatesContainerDataChangedNotification" is
    // queued on the main queue, once, whether or not anything changed.
    void validateEmptyDataAfterRemoveWithListener(HeapsValidateProgressListener* listener);
    // The same clean-up as a job of short steps, for the main thread when it must stay
    // responsive over hundreds of thousands of groups: each call does a little and answers
    // false once the clean-up is complete. The job holds the container. The heaps, when
    // the container has them, are validated in one step.
    std::function<bool()>
    validateEmptyDataAfterRemoveInSteps(HeapsValidateProgressListener* listener);

    // Removes the groups with fewer than two copies; answers how many (0 for no category).
    int removeEmptyGroupsFromCategoryWithType(int type);
    int removeEmptyGroupsFromCategory(const std::shared_ptr<DuplicatesCategory>& category);
    // The clean-up without heaps and notification: empty groups, restore, hide.
    void removeDuplicatesGroupsThatFullyInDuplicatesFoldersOrReturnItBack();
    void restoreDuplicatesGroupsThatNotFullyInDuplicatesFolders(
        const std::vector<std::shared_ptr<DuplicatesGroup>>& groups);
    void removeDuplicatesGroupsThatFullyInDuplicatesFolders(
        const std::vector<std::shared_ptr<DuplicatesGroup>>& groups);

    // DuplicatesCategoryListener, for the typed categories.
    std::shared_ptr<DuplicatesContainer> getContainer() const override;
    void onGroupAddedToCategory(const std::shared_ptr<DuplicatesGroup>& group,
                                const std::shared_ptr<DuplicatesCategory>& category) override;
    void
    onGroupWillRemovedFromCategory(const std::shared_ptr<DuplicatesGroup>& group,
                                   const std::shared_ptr<DuplicatesCategory>& category) override;
    void
    onGroupDidRemovedFromCategory(const std::shared_ptr<DuplicatesGroup>& group,
                                  const std::shared_ptr<DuplicatesCategory>& category) override;

    explicit DuplicatesContainer(bool withHeaps);

private:
    class Cleanup;

    // One group of the clean-up: back to its typed category when it no longer lies wholly
    // inside duplicate folders; into the hidden category when it now does.
    void restoreGroupIfNotFullyInDuplicatesFolders(const std::shared_ptr<DuplicatesGroup>& group);
    void hideGroupIfFullyInDuplicatesFolders(const std::shared_ptr<DuplicatesGroup>& group);

    QList<FileSystemItem*> m_arrRoots;
    std::vector<std::shared_ptr<ScanTree>> m_rootTrees;
    std::array<std::shared_ptr<DuplicatesCategory>, 8> m_arrCategories;
    OrderedSet<DuplicatesGroup> m_arrAllFilesGroups;
    std::shared_ptr<DuplicatesHeaps> m_pHeaps;
    std::shared_ptr<DuplicatesCategory> m_pHiddenCategoryOfDuplicates;
    std::shared_ptr<DuplicatesCategory> m_pSmallDuplicatesCategory;
    std::shared_ptr<ExcludeChecker> m_pExcludeChecker;
    bool m_bWithHeaps;
};
