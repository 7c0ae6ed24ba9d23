#pragma once

#include "Selection/DuplicatesManagerDelegate.h"

#include <functional>
#include <memory>
#include <vector>

// The overview calculations of the result manager: the biggest groups and the candidates of
// automatic selection.
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

void calculateBiggestGroupsWithDelegate(std::shared_ptr<DuplicatesManagerDelegate> delegate);
void calculateDuplicatesForAutoselectWithDelegate(
    std::shared_ptr<DuplicatesManagerDelegate> delegate);

// For tests: `gate` runs on the worker at the start of every calculation, before it computes
// (for example to hold the worker while the main thread changes the result). Empty: none.
void setWorkerGateForTesting(std::function<void()> gate);

} // namespace OverviewCalculations
