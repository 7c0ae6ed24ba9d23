#pragma once

#include "Results/OrderedSet.h"

#include <QByteArray>
#include <QHashFunctions>
#include <QString>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class DuplicateItem;
class DuplicatesContainer;
class DuplicatesGroup;
class FileSystemItem;
class HeapsFolderData;
class HeapsGroup;
class HeapsValidateProgressListener;

// The heaps of similar folders of one result container: pairs of folders that directly hold
// copies of at least two common duplicate groups. It learns every group of the typed
// categories as it joins or leaves, keeps one HeapsFolderData per folder that directly holds
// copies, builds the heaps per folder (HeapsGroup) when the result is validated, and offers
// the totals and the small-items pass that the scan runs at its end.
//
// Owned by its container. No locks: the scan's stages change it one at a time, the main
// thread afterwards. Size reports to a validation listener arrive on the main queue.
class DuplicatesHeaps final {
public:
    // Key (a size and an extension, or a size and a descendant count) to the nodes under it.
    using ItemsByKey = std::map<QString, std::vector<FileSystemItem*>>;

    DuplicatesHeaps();
    ~DuplicatesHeaps();
    DuplicatesHeaps(const DuplicatesHeaps&) = delete;
    DuplicatesHeaps& operator=(const DuplicatesHeaps&) = delete;

    // Reads again the folder data of each path.
    void updateDataOfFolders(const std::vector<QByteArray>& paths);
    // The distinct parent folder paths of the group's copies.
    static std::vector<QByteArray> getAllFoldersOfGroup(const DuplicatesGroup& group);
    // Sent by the container for every group of a typed category as it joins or leaves.
    void addGroup(const std::shared_ptr<DuplicatesGroup>& group);
    void removeGroup(const std::shared_ptr<DuplicatesGroup>& group);
    // A copy is about to leave its group (removed or excluded) while the group stays: its
    // folder lets go of it, and of the group when no other copy of the group lies there.
    void copyWillLeaveGroup(const DuplicateItem& copy, const DuplicatesGroup& group);

    // The paths of the folders holding copies of the folder's groups (its own included).
    std::vector<QByteArray>
    getPossibleHeapsIntersectionPathsForFolder(const HeapsFolderData& folder) const;
    std::shared_ptr<HeapsGroup>
    createHeapsGroupOfFolder(const std::shared_ptr<HeapsFolderData>& folder);

    // How validation spreads the folders over the pool: `threads` at most (0: as many as
    // the machine has, up to eight; 1: all on the calling thread), in slices of
    // `sliceFolders` folders. The result is the same either way; for tests and benchmarks.
    static void setValidationConcurrency(unsigned threads, std::size_t sliceFolders);

    // Rebuilds every heap, synchronously. `listener` may be null; it is called on the
    // validating thread (see HeapsValidateProgressListener). With `retired`, the heaps it
    // replaces go there instead of being destroyed at once: they may hold the last hold on
    // a great many removed copies, which the caller can then let go of a few at a time.
    void validateEmptyDataAfterRemoveWithListener(
        HeapsValidateProgressListener* listener,
        std::vector<std::shared_ptr<HeapsGroup>>* retired = nullptr);

    void recalculateHeapsInfo();
    // The estimate gathered while groups joined, never less than the last computed total.
    uint64_t getPossibleHeapsSize() const;
    uint64_t getTotalHeapsSize();
    // Bar sizes over the heaps; each out-parameter is filled only when given.
    void calculateTotalGreenSize(uint64_t* green, uint64_t* blue, uint64_t* red) const;

    const std::unordered_map<QByteArray, std::shared_ptr<HeapsFolderData>>&
    getAllFoldersData() const {
        return m_arrFoldersData;
    }
    // Null before the first validation and for an unknown path.
    std::shared_ptr<HeapsGroup> buildHeapsGroupForFolderWithPath(const QByteArray& path) const;
    std::shared_ptr<HeapsGroup> getHeapsGroupForFolderData(const HeapsFolderData& folder) const;

    // The small-items pass of the end of a scan: fills `files` and `folders` with the sets of
    // small items worth comparing again, empties the container's small-duplicates category
    // and regroups what needs no new comparison. `isContainerChanged` (when given) answers
    // whether that category held any copy.
    void getSmallFilesThatNeedToBeCheckedForBetterHeaps(ItemsByKey& files, ItemsByKey& folders,
                                                        DuplicatesContainer& container,
                                                        bool withHiddenFolders,
                                                        bool* isContainerChanged);

private:
    struct Participation;

    // createHeapsGroupOfFolder without changing anything: safe on several threads at once
    // after prepareForSharedReads() while nothing else changes the heaps or the groups.
    std::shared_ptr<HeapsGroup>
    buildHeapsGroupOfFolder(const std::shared_ptr<HeapsFolderData>& folder) const;
    // Calls `visit` with the folder data of each candidate partner path, once each.
    void forEachCandidatePartner(
        const HeapsFolderData& folder,
        const std::function<void(const std::shared_ptr<HeapsFolderData>&)>& visit) const;
    void prepareForSharedReads();
    void removeNotValidPathsWithListener(HeapsValidateProgressListener* listener);
    void removeFolderDataWithPath(const QByteArray& path);
    // The folder data of `path`, shown or hidden; null for none.
    HeapsFolderData* folderDataWithPath(const QByteArray& path) const;
    void forgetIntersection(const HeapsFolderData& folder, const DuplicatesGroup& group);
    void moveToHiddenFolderDataWithPath(const QByteArray& path);
    void restoreAllHiddenFolderDatas();
    // Calls `visit` with every copy outside duplicate folders that takes part in a heap of
    // its folder, folder by folder in path order.
    void forEachParticipatingCopy(
        const std::function<void(const std::shared_ptr<DuplicateItem>&)>& visit) const;
    void notifyListener(HeapsValidateProgressListener* listener, uint64_t size, float progress,
                        bool forced);
    std::vector<QByteArray> allPaths() const;
    // The participating copies by group, built again when the heaps or any group's copies
    // changed since the last build; forgets the old one first.
    const Participation& participation() const;
    void forgetParticipation();
    static void fillResultDict(ItemsByKey& result, const ItemsByKey& smallItems,
                               const ItemsByKey& smallDuplicates);

    std::unordered_map<QByteArray, std::shared_ptr<HeapsFolderData>> m_arrFoldersData;
    std::unordered_map<uint64_t, OrderedSet<DuplicatesGroup>> m_arrFoldersIntersections;
    std::unordered_map<QByteArray, std::shared_ptr<HeapsFolderData>> m_arrHiddenFoldersData;
    std::optional<std::unordered_map<uint64_t, std::shared_ptr<HeapsGroup>>> m_arrHeapsGroups;
    bool m_bNeedRecalculateTotalHeapsSize = true;
    // What the bar totals need of the participating copies, gathered once per change of the
    // heaps or of the groups' copies instead of on every selection change (a walk over
    // every copy of a large result would take the main thread a second).
    mutable std::unique_ptr<Participation> m_pParticipation;
    uint64_t m_nPossibleHeapsSize = 0;
    uint64_t m_nTotalHeapsSize = 0;
    std::optional<std::chrono::steady_clock::time_point> m_pLastNotificationDate;
};
