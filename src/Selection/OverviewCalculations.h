#pragma once

#include "Selection/DuplicatesManagerDelegate.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

class DuplicatesContainer;

// The four overview calculations of the result manager: the ten biggest heaps, the heaps
// easiest to remove, the biggest groups and the candidates of automatic selection.
//
// A calculation is started on the main thread. It takes a snapshot of what it needs from the
// current container there and then (the groups, the copies with their paths, sizes and
// parsed names, the heaps with their sizes), computes on the global concurrent queue from
// that snapshot alone, and answers its delegate on the main thread. So the user may change
// the selection, or the result itself, while it runs: the answer is the one for the moment
// it started. An answer that arrives after the result changed (a
// "DuplicatesContainerDataChangedNotification" was posted, or the result manager took
// another container) is dropped; the views ask again on that notification. The automatic
// selection inside a calculation uses a manager of its own. The snapshot and the delegate
// are released on the main thread.
namespace OverviewCalculations {

using Heaps = std::vector<std::shared_ptr<DuplicatesHeap>>;

void calculateTenBiggestHeapsWithDelegate(std::shared_ptr<DuplicatesManagerDelegate> delegate);
void calculateBiggestEasyForRemoveHeapsWithDelegate(
    std::shared_ptr<DuplicatesManagerDelegate> delegate);
void calculateBiggestGroupsWithDelegate(std::shared_ptr<DuplicatesManagerDelegate> delegate);
void calculateDuplicatesForAutoselectWithDelegate(
    std::shared_ptr<DuplicatesManagerDelegate> delegate);

// The biggest heaps of `container` (null: none), at most `maxResultCount` unless heaps tie
// with the last one kept, biggest half size first, each pair of folders once. Synchronous;
// main thread.
Heaps pleaseCalculateBiggestHeapsWithMaxResultCount(
    const std::shared_ptr<DuplicatesContainer>& container, std::size_t maxResultCount);

// For tests: `gate` runs on the worker at the start of every calculation, before it computes
// (for example to hold the worker while the main thread changes the result). Empty: none.
void setWorkerGateForTesting(std::function<void()> gate);

} // namespace OverviewCalculations
