#include "Selection/OverviewCalculations.h"

#include "Categories/AppNotification.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "Platform/Dispatch.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicateItem.h"
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
void releaseInSteps(std::vector<T>&& values, std::function<void()> then = {}) {
    if (values.size() <= kReleasedPerTurn) {
        values = {};
        if (then)
            then();
        return;
    }
    auto held = std::make_shared<std::vector<T>>(std::move(values));
    held->resize(held->size() - kReleasedPerTurn);
    Dispatch::mainQueue().async(
        [held, then = std::move(then)] { releaseInSteps(std::move(*held), then); });
}

// Only the snapshots that hold something per copy are worth it; the others go at once.
template <typename Snapshot>
void releaseSnapshotInSteps(Snapshot&) {}

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
    struct CopyFacts {
        const AutoSelectName* name = nullptr;
        std::uint64_t size = 0;
    };
    std::shared_ptr<DuplicatesContainer> container;
    std::vector<std::shared_ptr<DuplicatesGroup>> groups;
    std::vector<std::vector<AutoSelectInput>> inputs; // per group, in copy order
    std::vector<std::vector<CopyFacts>> facts;        // the same shape as the inputs
    // The folders above the copies with their parsed names. With the copies' own names in
    // the facts, every node a computation may look at has its name read here on the main
    // thread, so the worker never builds one. Only the few folders are hashed here; the
    // tables over every copy are the worker's job, a million copies would keep the main
    // thread for a second.
    QHash<FileSystemItem*, const AutoSelectName*> folderNames;
};

template <>
void releaseSnapshotInSteps(AutoselectSnapshot& snapshot) {
    // The copies go before the groups they belong to, as when the snapshot goes at once.
    auto groups =
        std::make_shared<std::vector<std::shared_ptr<DuplicatesGroup>>>(std::move(snapshot.groups));
    auto facts = std::make_shared<std::vector<std::vector<AutoselectSnapshot::CopyFacts>>>(
        std::move(snapshot.facts));
    releaseInSteps(std::move(snapshot.inputs), [groups, facts] {
        releaseInSteps(std::move(*facts), [groups] { releaseInSteps(std::move(*groups)); });
    });
}

std::shared_ptr<AutoselectSnapshot> takeAutoselectSnapshot() {
    auto snapshot = std::make_shared<AutoselectSnapshot>();
    snapshot->container = DuplicatesManager::sharedManager().duplicateContainer();
    if (!snapshot->container)
        return snapshot;
    snapshot->groups = snapshot->container->getAllFilesGroups();
    snapshot->inputs.reserve(snapshot->groups.size());
    snapshot->facts.reserve(snapshot->groups.size());
    auto& folderNames = snapshot->folderNames;
    for (const auto& group : snapshot->groups) {
        const auto items = group->getItems();
        std::vector<AutoSelectInput> inputs;
        std::vector<AutoselectSnapshot::CopyFacts> facts;
        inputs.reserve(items.size());
        facts.reserve(items.size());
        for (const auto& item : items) {
            inputs.push_back(AutoSelectInput::fromItem(item));
            FileSystemItem* node = inputs.back().node;
            facts.push_back({node ? node->getAutoSelectData() : nullptr, item->getFileItemSize()});
            for (FileSystemItem* folder = node ? node->parent() : nullptr;
                 folder && !folderNames.contains(folder); folder = folder->parent())
                folderNames.insert(folder, folder->getAutoSelectData());
        }
        snapshot->inputs.push_back(std::move(inputs));
        snapshot->facts.push_back(std::move(facts));
    }
    return snapshot;
}

std::vector<AutoSelectCandidate> computeAutoselectCandidates(const AutoselectSnapshot& snapshot) {
    std::size_t copies = 0;
    for (const auto& inputs : snapshot.inputs)
        copies += inputs.size();
    std::unordered_map<const DuplicateItem*, std::pair<std::size_t, std::uint64_t>> groupAndSize;
    groupAndSize.reserve(copies);
    QHash<FileSystemItem*, const AutoSelectName*> names = snapshot.folderNames;
    names.reserve(qsizetype(copies) + snapshot.folderNames.size());
    for (std::size_t g = 0; g < snapshot.inputs.size(); ++g) {
        for (std::size_t i = 0; i < snapshot.inputs[g].size(); ++i) {
            const AutoSelectInput& input = snapshot.inputs[g][i];
            const AutoselectSnapshot::CopyFacts& facts = snapshot.facts[g][i];
            groupAndSize.emplace(input.item.get(), std::pair(g, facts.size));
            if (input.node)
                names.insert(input.node, facts.name);
        }
    }

    AutoSelectManager manager;
    manager.prepareForStartByLoadingLatestUserSettings();
    const AutoSelectManager::Items proposal = manager.proposeForPreparedGroups(
        snapshot.inputs, [&names](FileSystemItem* node) { return names.value(node, nullptr); });

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
