#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>
#include <span>
#include <vector>

class DuplicateItem;
class DuplicatesHeap;
class FileSystemItem;

// The records of the two-folder table.
struct HeapRowInfo {
    bool firstInGroup = false;
    bool lastInGroup = false;
    bool selected = false;
    int groupIndex = 0;
    friend bool operator==(const HeapRowInfo&, const HeapRowInfo&) = default;
};

// The copies of one duplicate group common to the two folders: index 0 those lying directly
// in the main folder, index 1 the others (the second folder's), each in the order met.
struct HeapGroupEntry {
    std::array<std::vector<std::shared_ptr<DuplicateItem>>, 2> lists;
    // The display name of the first left copy; empty when the left list is empty.
    QString leftName;
};

// A pair row: the i-th copies of an entry's two lists side by side; null for an empty side.
struct HeapPairRow {
    std::shared_ptr<DuplicateItem> left;
    std::shared_ptr<DuplicateItem> right;
    HeapRowInfo info;
};

// A unique-file row: the i-th unique child of each folder; null for an empty side.
struct HeapOtherRow {
    FileSystemItem* left = nullptr;
    FileSystemItem* right = nullptr;
    HeapRowInfo info;
};

namespace HeapFilesRows {

// What the row-building worker needs of one copy, read on the main thread: the worker never
// touches the live result, which the main thread may change while it runs. The group is an
// opaque key there; the copy itself is only carried through to the rows.
struct CopySnapshot {
    std::shared_ptr<DuplicateItem> copy;
    const void* groupKey = nullptr;
    bool inMainFolder = false;
    QString displayName;
};

// The heap's copies in the order its set yields them. Main thread. Without |withNames| the
// display names are left empty, for buildWorkingArray() to read from the copies' paths.
std::vector<CopySnapshot> takeSnapshot(const DuplicatesHeap& heap, bool withNames = true);

struct CopyPath {
    const DuplicateItem* copy = nullptr;
    QByteArray path;
};

// Looks up which copies are gone from where the scan saw them (moved or deleted): the answer
// of each copy's isMovedByUserOrDeleted() for its path (an empty one is gone), but a slice of
// copies opens each parent folder once and looks its files up relative to it. A heap holds
// tens of thousands of copies and every lookup is a call into the kernel: start() lets a few
// threads of the global queue take slices of them while the caller does other work; finish()
// takes the slices left on the calling thread and answers once all are looked up. Any thread.
class MovedOrDeletedLookup final {
public:
    explicit MovedOrDeletedLookup(std::vector<CopyPath> paths);
    explicit MovedOrDeletedLookup(std::shared_ptr<const std::vector<CopyPath>> paths);
    void start();
    // The copies gone, in the order given.
    std::vector<const DuplicateItem*> finish();

private:
    struct State;
    std::shared_ptr<State> m_state;
};
// The same at once, on the calling thread and its helpers.
std::vector<const DuplicateItem*> movedOrDeletedCopies(std::vector<CopyPath> paths);
// The paths of the copies of |snapshot| as they are now (a copy may let go of its own on
// the main thread while a worker looks them up). Main thread.
std::vector<CopyPath> pathsOf(const std::vector<CopySnapshot>& snapshot);

// One entry per group, copies grouped through a hash of the group keys (linear, not one
// comparison per entry built so far), sorted by the first left copy's name without regard to
// case; entries without a left copy come last; ties keep the order met. Any thread.
// With |paths| (pathsOf(copies)) and a snapshot taken without names, an entry's name is read
// from its first left copy's path, as takeSnapshot() would have read it: only the names the
// entries sort by are decoded.
std::vector<HeapGroupEntry> buildWorkingArray(std::vector<CopySnapshot> copies,
                                              const std::vector<CopyPath>* paths = nullptr);

// The pairs section for |entries|, "selected" on the rows of |selectedGroup|.
std::vector<HeapPairRow> buildPairRows(const std::vector<HeapGroupEntry>& entries,
                                       int selectedGroup);

// The unique-files section: each folder's children, in their stored order, without the file
// items of the copies of that side's lists (a hash set, so large folders stay linear), paired
// row by row.
std::vector<HeapOtherRow> buildOtherRows(std::span<FileSystemItem* const> mainChildren,
                                         std::span<FileSystemItem* const> secondChildren,
                                         const std::vector<HeapGroupEntry>& entries);

} // namespace HeapFilesRows

// The table's rows: P pair rows, the unique-files header row at P (while a heap is shown),
// then the unique-file rows. Lookups index the lists directly.
class HeapTableRows final {
public:
    enum class Kind { None, Pair, Header, Other };

    HeapTableRows() = default;
    HeapTableRows(std::vector<HeapPairRow> pairs, std::vector<HeapOtherRow> others)
        : m_pairs(std::move(pairs)), m_others(std::move(others)), m_hasHeap(true) {}

    int rowCount() const { return m_hasHeap ? int(m_pairs.size() + m_others.size()) + 1 : 0; }
    int pairCount() const { return int(m_pairs.size()); }
    int otherCount() const { return int(m_others.size()); }
    // The header row's index; -1 without a heap.
    int headerRow() const { return m_hasHeap ? pairCount() : -1; }
    Kind kind(int row) const;
    // Null unless |row| is of that kind.
    const HeapPairRow* pairRow(int row) const;
    const HeapOtherRow* otherRow(int row) const;
    const std::vector<HeapPairRow>& pairs() const { return m_pairs; }
    const std::vector<HeapOtherRow>& others() const { return m_others; }
    // The first pair row of group |groupIndex|; 0 when no row carries it.
    int getRowIndexByGroup(int groupIndex) const;
    // The row of the first unique-file row holding |item| on either side; 0 when none.
    int getRowIndexByOtherFile(const FileSystemItem* item) const;
    // Which side of its unique-file row holds |item|: 0 left, 1 right, -1 none.
    int sideOfOtherFile(const FileSystemItem* item) const;

private:
    std::vector<HeapPairRow> m_pairs;
    std::vector<HeapOtherRow> m_others;
    bool m_hasHeap = false;
};
