#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class DuplicatesHeap;
class FolderSystemItem;
class HeapsFolderData;
class HeapsGroup;

// The facts of a folder that do not change with the selection: read once per folder and
// kept until the result changes.
struct PickerFolderFacts {
    QString displayName;
    QByteArray path;
    QString sortName; // display name without its extension, case-folded
    QString sortPath; // decoded path, case-folded
    int childCount = 0;
};

// One row of the similar-folder lists ("element", "count", "selectedCount",
// "similarSelectedCount", "duplicateSize", "selected"). The folder list's element is the
// folder's heaps data, the similar-folder list's the heap; `folder` is the folder the row
// names (the heap's second folder there).
struct PickerRow {
    std::shared_ptr<HeapsFolderData> folderData;
    std::shared_ptr<DuplicatesHeap> heap;
    FolderSystemItem* folder = nullptr;
    std::shared_ptr<const PickerFolderFacts> facts; // shared with the list's cache
    uint64_t count = 0;
    uint64_t selectedCount = 0;
    uint64_t similarSelectedCount = 0;
    uint64_t duplicateSize = 0;
    bool selected = false;
    // Set while similarSelectedCount is still to be counted: the count walks the selected
    // copies of every group the folder shares, so a list of thousands of folders counts it
    // only for the rows someone reads (see fillSimilarSelectedCount). Shared by the copies
    // of the row (the list's and the model's), so the count is made once for them all.
    struct PendingCount {
        std::shared_ptr<HeapsGroup> group;
        bool counted = false;
        uint64_t value = 0;
    };
    std::shared_ptr<PendingCount> similarSelectedPending;
};

namespace PickerRows {

// Reads the facts of |folder| (null gives empty facts). Reads only the folder's name and
// those of the folders above it, which never change: safe on any thread.
PickerFolderFacts factsOf(const FolderSystemItem* folder);

// factsOf for every folder of |folders|, in their order. The calling thread works through
// them in slices together with a few threads of the global queue and returns when all are
// read; should the pool be busy, the caller reads them all itself.
std::vector<std::shared_ptr<const PickerFolderFacts>>
factsOfAll(const std::vector<const FolderSystemItem*>& folders);

// Counts |row|'s similarSelectedCount when it is still pending. The rows' readers call it
// before they read the number.
void fillSimilarSelectedCount(PickerRow& row);

// A name without its extension: "photos.old" gives "photos", ".hidden" stays whole.
QString nameWithoutExtension(const QString& name);

// Sorts by the settings' sort type and direction, keeping rows with equal keys in the
// order they had: types 0, 1 and 2 by duplicate size, 3 by name, 4 by count, 5 by selected
// count, 6 by path; any other type keeps the order. Direction 1 puts the largest number
// first and sorts texts from A to Z; direction 0 the reverse of both.
void sortRows(std::vector<PickerRow>& rows, int sortType, int sortDirection);

} // namespace PickerRows
