#include "Browser/Copies/DuplicateSelectionRows.h"

int DuplicateSelectionRows::rowCount() const {
    int rows = similarRow();
    if (heapCount > 0)
        rows += 1 + (heapsVisible ? heapCount : 0);
    return rows;
}

DuplicateSelectionRows::Kind DuplicateSelectionRows::kind(int row) const {
    if (row < 0 || row >= rowCount())
        return Kind::None;
    if (row < plainCount)
        return Kind::Copy;
    if (lockedCount > 0 && row == plainCount)
        return Kind::LockedHeader;
    const int s = similarRow();
    if (row < s)
        return Kind::LockedCopy;
    if (row == s)
        return heapsVisible ? Kind::SimilarHeader : Kind::SimilarCollapsed;
    return Kind::SimilarFolder;
}

int DuplicateSelectionRows::indexInSection(int row) const {
    switch (kind(row)) {
    case Kind::Copy:
        return row;
    case Kind::LockedCopy:
        return row - plainCount - 1;
    case Kind::SimilarFolder:
        return row - similarRow() - 1;
    default:
        return -1;
    }
}

int DuplicateSelectionRows::height(int row) const {
    switch (kind(row)) {
    case Kind::LockedHeader:
    case Kind::SimilarHeader:
        return kHeaderRowHeight;
    case Kind::None:
        return 0;
    default:
        return kCopyRowHeight;
    }
}
