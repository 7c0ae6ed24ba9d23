#pragma once

#include <QString>

#include <memory>
#include <vector>

class DuplicateItem;

// The review panel's order of its copies by the shared sort settings.
namespace SelectedFilesSort {

// Sorts |items| by |sortType| (0, 1 and 4 size, 2 type, 3 name, 5 selected, 6 path) in
// |direction| (1: largest, lowest type, A to Z, selected first; 0: the reverse). Any other
// type leaves the order. Equal keys keep their order. Main thread (reads the result model).
void sortItems(std::vector<std::shared_ptr<DuplicateItem>>& items, int sortType, int direction);

// The name a copy is sorted by: its display name without the last extension.
QString nameKey(const DuplicateItem& item);

// A natural, case-insensitive order of names: numbers inside names compare by value, so
// "Photo 2" comes before "Photo 10"; a consistent order for any set of names. <0, 0, >0.
int compareNames(const QString& a, const QString& b);

} // namespace SelectedFilesSort
