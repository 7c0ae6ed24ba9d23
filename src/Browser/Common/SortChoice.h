#pragma once

#include "Categories/Settings.h"

namespace SortChoice {

// Choosing the current sort type again flips the direction; another type is taken as it is.
inline void tryToSetSortType(int type) {
    if (Settings::sortType() != type) {
        Settings::setSortType(static_cast<Settings::SortType>(type));
        return;
    }
    Settings::setSortDirection(Settings::sortDirection() != 0 ? Settings::SortDirectionAscending
                                                              : Settings::SortDirectionDescending);
}

} // namespace SortChoice
