#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class DuplicatesContainer;
class DuplicatesHeap;
class FolderSystemItem;

namespace OverviewCalculations {

// What the heap calculations read of a result, taken on the main thread: per folder of the
// heaps' folder table, its total duplicate size and the heaps of its heaps group with their
// half sizes and folders. The worker reads nothing else.
struct HeapEntry {
    std::shared_ptr<DuplicatesHeap> heap;
    std::uint64_t halfSize = 0;
    const FolderSystemItem* mainFolder = nullptr;
    const FolderSystemItem* secondFolder = nullptr;
    std::uint64_t mainFolderID = 0;
    std::uint64_t secondFolderID = 0;

    // The same two folders, in either order.
    bool sameAs(const HeapEntry& other) const {
        return (mainFolder == other.mainFolder && secondFolder == other.secondFolder) ||
               (mainFolder == other.secondFolder && secondFolder == other.mainFolder);
    }
};

struct HeapsFolderEntry {
    std::uint64_t allDuplicatesSize = 0;
    std::vector<HeapEntry> heaps; // the heaps of the folder's heaps group (none without one)
};

struct HeapsSnapshot {
    std::shared_ptr<DuplicatesContainer> container;
    std::vector<HeapsFolderEntry> folders;
};

// Main thread. An empty snapshot for no container or a container without heaps.
std::shared_ptr<HeapsSnapshot>
takeHeapsSnapshot(const std::shared_ptr<DuplicatesContainer>& container);

// Any thread; reads only the snapshot.
std::vector<std::shared_ptr<DuplicatesHeap>> computeBiggestHeaps(const HeapsSnapshot& snapshot,
                                                                 std::size_t maxResultCount);
std::vector<std::shared_ptr<DuplicatesHeap>>
computeEasyForRemoveHeaps(const HeapsSnapshot& snapshot, std::size_t maxResultCount);

} // namespace OverviewCalculations
