#include "Selection/OverviewHeapsSnapshot.h"

#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesHeap.h"
#include "Results/DuplicatesHeaps.h"
#include "Results/HeapsFolderData.h"
#include "Results/HeapsGroup.h"

#include <algorithm>
#include <unordered_map>

namespace OverviewCalculations {
namespace {

void sortByHalfSize(std::vector<HeapEntry>& heaps) {
    std::stable_sort(heaps.begin(), heaps.end(), [](const HeapEntry& a, const HeapEntry& b) {
        return a.halfSize > b.halfSize;
    });
}

std::vector<std::shared_ptr<DuplicatesHeap>> heapsOf(const std::vector<HeapEntry>& entries,
                                                     std::size_t count) {
    std::vector<std::shared_ptr<DuplicatesHeap>> heaps;
    for (std::size_t i = 0; i < entries.size() && i < count; ++i)
        heaps.push_back(entries[i].heap);
    return heaps;
}

} // namespace

std::shared_ptr<HeapsSnapshot>
takeHeapsSnapshot(const std::shared_ptr<DuplicatesContainer>& container) {
    auto snapshot = std::make_shared<HeapsSnapshot>();
    snapshot->container = container;
    const auto heaps = container ? container->getHeaps() : nullptr;
    if (!heaps)
        return snapshot;
    for (const auto& [path, folderData] : heaps->getAllFoldersData()) {
        if (!folderData)
            continue;
        HeapsFolderEntry entry;
        entry.allDuplicatesSize = folderData->getAllDuplicatesSize();
        if (const auto group = heaps->buildHeapsGroupForFolderWithPath(path)) {
            for (const auto& heap : group->buildAllSubHeapsArray()) {
                if (!heap)
                    continue;
                HeapEntry h;
                h.heap = heap;
                h.halfSize = heap->getHeapHalfSize();
                h.mainFolder = heap->getMainFolderItem();
                h.secondFolder = heap->getSecondFolderItem();
                if (const auto& main = heap->getMainHeapsFolderData())
                    h.mainFolderID = main->getID();
                if (const auto& second = heap->getSecondHeapsFolderData())
                    h.secondFolderID = second->getID();
                entry.heaps.push_back(std::move(h));
            }
        }
        snapshot->folders.push_back(std::move(entry));
    }
    return snapshot;
}

std::vector<std::shared_ptr<DuplicatesHeap>> computeBiggestHeaps(const HeapsSnapshot& snapshot,
                                                                 std::size_t maxResultCount) {
    if (maxResultCount == 0)
        return {};
    std::vector<const HeapsFolderEntry*> folders;
    for (const HeapsFolderEntry& folder : snapshot.folders)
        folders.push_back(&folder);
    std::stable_sort(folders.begin(), folders.end(), [](const auto* a, const auto* b) {
        return a->allDuplicatesSize > b->allDuplicatesSize;
    });

    // Folders are met biggest first; once more than enough heaps are kept, nothing smaller
    // than the last place kept can enter any more, so smaller folders and heaps are skipped.
    std::vector<HeapEntry> result;
    std::uint64_t threshold = 0;
    bool grown = false;
    for (const HeapsFolderEntry* folder : folders) {
        if (folder->allDuplicatesSize < threshold)
            continue;
        for (const HeapEntry& heap : folder->heaps) {
            if (heap.halfSize < threshold)
                continue;
            const bool known =
                std::any_of(result.begin(), result.end(),
                            [&](const HeapEntry& kept) { return kept.sameAs(heap); });
            if (!known) {
                result.push_back(heap);
                grown = true;
            }
        }
        if (grown && result.size() > maxResultCount) {
            sortByHalfSize(result);
            threshold = result[maxResultCount - 1].halfSize;
            // Heaps tied with the last place stay.
            while (!result.empty() && result.back().halfSize < threshold)
                result.pop_back();
            grown = false;
        }
    }
    sortByHalfSize(result);
    return heapsOf(result, result.size());
}

std::vector<std::shared_ptr<DuplicatesHeap>>
computeEasyForRemoveHeaps(const HeapsSnapshot& snapshot, std::size_t maxResultCount) {
    // A folder that forms exactly one heap; a pair of folders that each form only their heap
    // with each other is counted once.
    std::unordered_map<std::uint64_t, std::size_t> candidateOfFolder;
    std::vector<HeapEntry> candidates;
    for (const HeapsFolderEntry& folder : snapshot.folders) {
        if (folder.heaps.size() != 1)
            continue;
        const HeapEntry& heap = folder.heaps.front();
        const auto partner = candidateOfFolder.find(heap.secondFolderID);
        if (partner != candidateOfFolder.end() && candidates[partner->second].sameAs(heap))
            continue;
        const auto own = candidateOfFolder.find(heap.mainFolderID);
        if (own != candidateOfFolder.end()) {
            candidates[own->second] = heap;
        } else {
            candidateOfFolder.emplace(heap.mainFolderID, candidates.size());
            candidates.push_back(heap);
        }
    }
    if (candidates.empty())
        return computeBiggestHeaps(snapshot, maxResultCount);
    sortByHalfSize(candidates);
    return heapsOf(candidates, maxResultCount);
}

} // namespace OverviewCalculations
