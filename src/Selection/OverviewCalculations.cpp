#include "Selection/OverviewCalculations.h"

#include "Categories/AppNotification.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "Platform/Dispatch.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesManager.h"
#include "Selection/AutoSelectManager.h"
#include "Selection/OverviewHeapsSnapshot.h"

#include <QHash>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace OverviewCalculations {
namespace {

// Counts "DuplicatesContainerDataChangedNotification" posts: an answer computed for an older
// count describes a result that is gone.
std::atomic<std::uint64_t> s_dataGeneration{0};

std::mutex s_gateMutex;
std::function<void()> s_workerGate;

void observeDataChanges() {
    static std::once_flag once;
    std::call_once(once, [] {
        static const char owner = 0;
        NotificationCenter::defaultCenter().addObserver(
            static_cast<const void*>(&owner),
            AppNotification::DuplicatesContainerDataChangedNotificationName(),
            [](const Notification&) { s_dataGeneration.fetch_add(1); });
    });
}

void passWorkerGate() {
    std::function<void()> gate;
    {
        std::lock_guard lock(s_gateMutex);
        gate = s_workerGate;
    }
    if (gate)
        gate();
}

// Runs `start` on the main thread: at once there, else queued.
bool onMainThread(const std::function<void()>& start) {
    if (Dispatch::isMainThread())
        return true;
    Dispatch::mainQueue().async(start);
    return false;
}

// Answers and snapshots over a large result hold a million reference counts, each on its
// own line of memory: let go of at one go, they would keep the main thread for tens of
// milliseconds. They are let go of a slice per main-queue turn instead, from the back.
constexpr std::size_t kReleasedPerTurn = 20000;

template <typename T>
void releaseInSteps(std::vector<T>&& values, std::function<void()> then = {},
                    std::size_t perTurn = kReleasedPerTurn) {
    if (values.size() <= perTurn) {
        values = {};
        if (then)
            then();
        return;
    }
    auto held = std::make_shared<std::vector<T>>(std::move(values));
    held->resize(held->size() - perTurn);
    Dispatch::mainQueue().async([held, then = std::move(then), perTurn] {
        releaseInSteps(std::move(*held), then, perTurn);
    });
}

// Only the snapshots that hold something per copy are worth it; the others go at once.
template <typename Snapshot>
void releaseSnapshotInSteps(Snapshot&) {}

// A folder's entry holds the heaps of its heaps group, a handful each: fewer entries a turn.
template <>
void releaseSnapshotInSteps(HeapsSnapshot& snapshot) {
    releaseInSteps(std::move(snapshot.folders), {}, kReleasedPerTurn / 5);
}

// The common road: snapshot (already taken, on the main thread) -> compute on the global
// queue -> deliver on the main thread unless the result changed meanwhile. The snapshot
// travels back to the main thread so that the copies and groups it holds are let go there.
//
// The container queues its data-changed notification on the main queue. A notification
// queued before the snapshot describes the state the snapshot saw, so the count to compare
// with is taken by a marker queued behind it, at the snapshot: every notification posted
// after the marker and before the delivery was queued after the snapshot.
template <typename Snapshot, typename Result>
void run(std::shared_ptr<Snapshot> snapshot, std::function<Result(const Snapshot&)> compute,
         std::function<void(DuplicatesManagerDelegate&, const Result&)> deliver,
         std::shared_ptr<DuplicatesManagerDelegate> delegate) {
    auto baseline = std::make_shared<std::optional<std::uint64_t>>();
    Dispatch::mainQueue().async([baseline] { *baseline = s_dataGeneration.load(); });
    Dispatch::globalQueue().async([snapshot, compute, deliver, delegate, baseline]() mutable {
        passWorkerGate();
        Result result = compute(*snapshot);
        Dispatch::mainQueue().async([snapshot = std::move(snapshot), result = std::move(result),
                                     deliver = std::move(deliver), delegate = std::move(delegate),
                                     baseline = std::move(baseline)]() mutable {
            const bool current =
                baseline->has_value() && **baseline == s_dataGeneration.load() &&
                DuplicatesManager::sharedManager().duplicateContainer() == snapshot->container;
            if (current && delegate)
                deliver(*delegate, result);
            releaseInSteps(std::move(result));
            releaseSnapshotInSteps(*snapshot);
        });
    });
}

// ---- Biggest groups.

struct GroupsSnapshot {
    std::shared_ptr<DuplicatesContainer> container;
    std::vector<std::pair<std::shared_ptr<DuplicatesGroup>, std::uint64_t>> groups;
};

template <>
void releaseSnapshotInSteps(GroupsSnapshot& snapshot) {
    releaseInSteps(std::move(snapshot.groups));
}

std::vector<std::shared_ptr<DuplicatesGroup>> computeBiggestGroups(const GroupsSnapshot& snapshot) {
    auto sorted = snapshot.groups;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    std::vector<std::shared_ptr<DuplicatesGroup>> result;
    result.reserve(sorted.size());
    for (auto& entry : sorted)
        result.push_back(std::move(entry.first));
    return result;
}

// ---- Automatic-selection candidates.

struct AutoselectSnapshot {
    // What may change on the main thread while the worker runs: which copies a group has,
    // which node a copy stands for, whether it lies in a duplicate folder. Everything the
    // worker derives from a node (its path, size and parsed name) never changes for the
    // tree's life, so it is read there.
    struct Copy {
        std::shared_ptr<DuplicateItem> item;
        FileSystemItem* node = nullptr;
        bool hasAssociatedDuplicateFolder = false;
    };
    std::shared_ptr<DuplicatesContainer> container;
    std::vector<std::shared_ptr<DuplicatesGroup>> groups;
    std::vector<Copy> copies;           // every group's copies, group after group, in copy order
    std::vector<std::size_t> groupEnds; // one per group: where its copies end in `copies`
    // The folders above the copies with their parsed names, read here so that the worker
    // never builds a folder's name; only the few folders are hashed.
    QHash<FileSystemItem*, const AutoSelectName*> folderNames;
};

template <>
void releaseSnapshotInSteps(AutoselectSnapshot& snapshot) {
    // The copies go before the groups they belong to, as when the snapshot goes at once.
    auto groups =
        std::make_shared<std::vector<std::shared_ptr<DuplicatesGroup>>>(std::move(snapshot.groups));
    releaseInSteps(std::move(snapshot.copies), [groups] { releaseInSteps(std::move(*groups)); });
}

std::shared_ptr<AutoselectSnapshot> takeAutoselectSnapshot() {
    auto snapshot = std::make_shared<AutoselectSnapshot>();
    snapshot->container = DuplicatesManager::sharedManager().duplicateContainer();
    if (!snapshot->container)
        return snapshot;
    snapshot->groups = snapshot->container->getAllFilesGroups();
    snapshot->groupEnds.reserve(snapshot->groups.size());
    std::uint64_t copies = 0; // a hint: the typed categories' copies
    for (int type = 0; type <= 6; ++type)
        if (const auto category = snapshot->container->getCategoryWithType(type))
            copies += category->getTotalCount();
    // In three passes over flat lists, with the next entries' memory asked for ahead: a
    // reference count taken is an atomic step that waits for every read before it, so in one
    // pass the cache misses of a million copies would come one after the other.
    std::vector<const std::shared_ptr<DuplicateItem>*> members;
    members.reserve(std::size_t(copies));
    for (const auto& group : snapshot->groups) {
        for (const auto& item : group->itemsView())
            members.push_back(&item);
        snapshot->groupEnds.push_back(members.size());
    }
    constexpr std::size_t kAhead = 32;
    const std::size_t count = members.size();
    auto& list = snapshot->copies;
    list.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        // Two steps ahead: the slot holding a copy's pointer, then the copy itself from its
        // reference count, which lies just before it, over the lines of the fields read here.
        if (i + 2 * kAhead < count)
            __builtin_prefetch(members[i + 2 * kAhead]);
        if (i + kAhead < count) {
            if (const auto* ahead = reinterpret_cast<const char*>(members[i + kAhead]->get())) {
                for (int line = 0; line < 3; ++line)
                    __builtin_prefetch(ahead - 16 + 64 * line, 1);
            }
        }
        const std::shared_ptr<DuplicateItem>& item = *members[i];
        FileSystemItem* node = item ? item->getFileSystemItem() : nullptr;
        list.push_back({item, node, item && item->hasAssociatedDuplicateFolder()});
    }
    auto& folderNames = snapshot->folderNames;
    FileSystemItem* lastFolder = nullptr;
    for (std::size_t i = 0; i < count; ++i) {
        if (i + kAhead < count && list[i + kAhead].node)
            __builtin_prefetch(list[i + kAhead].node);
        FileSystemItem* folder = list[i].node ? list[i].node->parent() : nullptr;
        if (folder == lastFolder)
            continue;
        lastFolder = folder;
        for (; folder && !folderNames.contains(folder); folder = folder->parent())
            folderNames.insert(folder, folder->getAutoSelectData());
    }
    return snapshot;
}

std::vector<AutoSelectCandidate> computeAutoselectCandidates(const AutoselectSnapshot& snapshot) {
    AutoSelectManager manager;
    manager.prepareForStartByLoadingLatestUserSettings();
    // Only folder rules read a copy's path.
    const bool pathsRead =
        !manager.alwaysSelectPaths().isEmpty() || !manager.neverSelectPaths().isEmpty();

    std::unordered_map<const DuplicateItem*, std::pair<std::size_t, std::uint64_t>> groupAndSize;
    groupAndSize.reserve(snapshot.copies.size());
    std::vector<std::vector<AutoSelectInput>> inputs(snapshot.groupEnds.size());
    std::size_t begin = 0;
    for (std::size_t g = 0; g < snapshot.groupEnds.size(); ++g) {
        const std::size_t end = snapshot.groupEnds[g];
        inputs[g].reserve(end - begin);
        for (std::size_t i = begin; i < end; ++i) {
            const AutoselectSnapshot::Copy& copy = snapshot.copies[i];
            AutoSelectInput input;
            input.item = copy.item;
            input.node = copy.node;
            input.hasAssociatedDuplicateFolder = copy.hasAssociatedDuplicateFolder;
            // A copy's path is its node's path while it has a node, else empty.
            if (pathsRead && copy.node)
                input.path = copy.node->path();
            const std::int64_t size = copy.node ? copy.node->logicalSize() : 0;
            groupAndSize.emplace(copy.item.get(),
                                 std::pair(g, std::uint64_t(std::max<std::int64_t>(0, size))));
            inputs[g].push_back(std::move(input));
        }
        begin = end;
    }

    // The computation looks at the copies and the folders above them. The copies' own names
    // were built when they were linked to their members, so looking them up builds nothing.
    const auto& folderNames = snapshot.folderNames;
    const AutoSelectManager::Items proposal =
        manager.proposeForPreparedGroups(inputs, [&folderNames](FileSystemItem* node) {
            const auto found = folderNames.constFind(node);
            if (found != folderNames.cend())
                return found.value();
            return node ? node->getAutoSelectDataIfBuilt() : nullptr;
        });

    std::unordered_map<std::size_t, std::size_t> candidateOfGroup;
    std::vector<AutoSelectCandidate> candidates;
    for (const auto& item : proposal) {
        const auto found = groupAndSize.find(item.get());
        if (found == groupAndSize.end())
            continue;
        const auto [groupIndex, size] = found->second;
        auto [it, inserted] = candidateOfGroup.try_emplace(groupIndex, candidates.size());
        if (inserted)
            candidates.push_back(AutoSelectCandidate{snapshot.groups[groupIndex], {}, 0});
        AutoSelectCandidate& candidate = candidates[it->second];
        candidate.duplicateArray.push_back(item);
        candidate.size += size;
    }
    std::stable_sort(
        candidates.begin(), candidates.end(),
        [](const AutoSelectCandidate& a, const AutoSelectCandidate& b) { return a.size > b.size; });
    return candidates;
}

} // namespace

void setWorkerGateForTesting(std::function<void()> gate) {
    std::lock_guard lock(s_gateMutex);
    s_workerGate = std::move(gate);
}

void calculateBiggestGroupsWithDelegate(std::shared_ptr<DuplicatesManagerDelegate> delegate) {
    if (!onMainThread([delegate] { calculateBiggestGroupsWithDelegate(delegate); }))
        return;
    observeDataChanges();
    auto snapshot = std::make_shared<GroupsSnapshot>();
    snapshot->container = DuplicatesManager::sharedManager().duplicateContainer();
    if (snapshot->container) {
        for (const auto& group : snapshot->container->getAllFilesGroups())
            snapshot->groups.emplace_back(group, group->getSizeThatCanBeRemoved());
    }
    run<GroupsSnapshot, std::vector<std::shared_ptr<DuplicatesGroup>>>(
        std::move(snapshot), computeBiggestGroups,
        [](DuplicatesManagerDelegate& d, const std::vector<std::shared_ptr<DuplicatesGroup>>& r) {
            d.onCalculatedBiggestGroups(r);
        },
        std::move(delegate));
}

void calculateDuplicatesForAutoselectWithDelegate(
    std::shared_ptr<DuplicatesManagerDelegate> delegate) {
    if (!onMainThread([delegate] { calculateDuplicatesForAutoselectWithDelegate(delegate); }))
        return;
    observeDataChanges();
    run<AutoselectSnapshot, std::vector<AutoSelectCandidate>>(
        takeAutoselectSnapshot(), computeAutoselectCandidates,
        [](DuplicatesManagerDelegate& d, const std::vector<AutoSelectCandidate>& r) {
            d.onCalculatedDuplicatesForAutoselect(r);
        },
        std::move(delegate));
}

void calculateTenBiggestHeapsWithDelegate(std::shared_ptr<DuplicatesManagerDelegate> delegate) {
    if (!onMainThread([delegate] { calculateTenBiggestHeapsWithDelegate(delegate); }))
        return;
    observeDataChanges();
    run<HeapsSnapshot, Heaps>(
        takeHeapsSnapshot(DuplicatesManager::sharedManager().duplicateContainer()),
        [](const HeapsSnapshot& s) { return computeBiggestHeaps(s, 10); },
        [](DuplicatesManagerDelegate& d, const Heaps& r) { d.onCalculatedTenBiggestHeaps(r); },
        std::move(delegate));
}

void calculateBiggestEasyForRemoveHeapsWithDelegate(
    std::shared_ptr<DuplicatesManagerDelegate> delegate) {
    if (!onMainThread([delegate] { calculateBiggestEasyForRemoveHeapsWithDelegate(delegate); }))
        return;
    observeDataChanges();
    run<HeapsSnapshot, Heaps>(
        takeHeapsSnapshot(DuplicatesManager::sharedManager().duplicateContainer()),
        [](const HeapsSnapshot& s) { return computeEasyForRemoveHeaps(s, 10); },
        [](DuplicatesManagerDelegate& d, const Heaps& r) {
            d.onCalculateBiggestEasyForRemoveHeaps(r);
        },
        std::move(delegate));
}

Heaps pleaseCalculateBiggestHeapsWithMaxResultCount(
    const std::shared_ptr<DuplicatesContainer>& container, std::size_t maxResultCount) {
    const auto snapshot = takeHeapsSnapshot(container);
    return computeBiggestHeaps(*snapshot, maxResultCount);
}

} // namespace OverviewCalculations
