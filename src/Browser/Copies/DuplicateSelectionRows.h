#pragma once

// The row layout of the copies table: D plain copies, then (when there are L > 0 locked
// copies, those inside duplicate folders) a header and the L locked copies, then (when there
// are H > 0 similar folders) the similar-folders row, followed by its H folders while the
// section is expanded. With S = D + (L + 1 when L > 0): rows 0..D-1 plain copies, D the
// locked header, D+1..D+L locked copies, S the similar-folders row, S+1..S+H the folders.
// Pure arithmetic; the rows are never re-ordered.
struct DuplicateSelectionRows {
    enum class Kind {
        None,
        Copy,
        LockedHeader,
        LockedCopy,
        SimilarCollapsed, // the "ShowSimilarCell" row
        SimilarHeader,
        SimilarFolder,
    };

    static constexpr int kCopyRowHeight = 38;
    static constexpr int kHeaderRowHeight = 29;

    int plainCount = 0;  // D
    int lockedCount = 0; // L
    int heapCount = 0;   // H
    bool heapsVisible = false;

    // S: the row of the similar-folders row (one past the locked section).
    int similarRow() const { return plainCount + (lockedCount > 0 ? lockedCount + 1 : 0); }
    int rowCount() const;
    Kind kind(int row) const;
    // The position of |row| inside its section (copy, locked copy or folder number); -1 for
    // header rows and rows out of range.
    int indexInSection(int row) const;
    int height(int row) const;

    int rowForPlainCopy(int index) const { return index; }
    int rowForLockedCopy(int index) const { return plainCount + index + 1; }
    // The row of similar folder |index|; 0 while the section is collapsed, as for any item
    // found in no visible row.
    int rowForSimilarFolder(int index) const { return heapsVisible ? similarRow() + index + 1 : 0; }
};
