// The result manager's overview calculations; the work itself is in OverviewCalculations.
#include "Results/DuplicatesManager.h"
#include "Selection/OverviewCalculations.h"

void DuplicatesManager::calculateBiggestGroupsWithDelegate(
    std::shared_ptr<DuplicatesManagerDelegate> delegate) {
    OverviewCalculations::calculateBiggestGroupsWithDelegate(std::move(delegate));
}

void DuplicatesManager::calculateDuplicatesForAutoselectWithDelegate(
    std::shared_ptr<DuplicatesManagerDelegate> delegate) {
    OverviewCalculations::calculateDuplicatesForAutoselectWithDelegate(std::move(delegate));
}
