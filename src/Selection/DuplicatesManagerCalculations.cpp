// The result manager's overview calculations; the work itself is in OverviewCalculations.
#include "Results/DuplicatesManager.h"
#include "Selection/OverviewCalculations.h"

void DuplicatesManager::calculateTenBiggestHeapsWithDelegate(
    std::shared_ptr<DuplicatesManagerDelegate> delegate) {
    OverviewCalculations::calculateTenBiggestHeapsWithDelegate(std::move(delegate));
}

void DuplicatesManager::calculateBiggestEasyForRemoveHeapsWithDelegate(
    std::shared_ptr<DuplicatesManagerDelegate> delegate) {
    OverviewCalculations::calculateBiggestEasyForRemoveHeapsWithDelegate(std::move(delegate));
}

void DuplicatesManager::calculateBiggestGroupsWithDelegate(
    std::shared_ptr<DuplicatesManagerDelegate> delegate) {
    OverviewCalculations::calculateBiggestGroupsWithDelegate(std::move(delegate));
}

void DuplicatesManager::calculateDuplicatesForAutoselectWithDelegate(
    std::shared_ptr<DuplicatesManagerDelegate> delegate) {
    OverviewCalculations::calculateDuplicatesForAutoselectWithDelegate(std::move(delegate));
}

std::vector<std::shared_ptr<DuplicatesHeap>>
DuplicatesManager::pleaseCalculateBiggestHeapsWithMaxResultCount(std::size_t maxResultCount) {
    return OverviewCalculations::pleaseCalculateBiggestHeapsWithMaxResultCount(duplicateContainer(),
                                                                               maxResultCount);
}
