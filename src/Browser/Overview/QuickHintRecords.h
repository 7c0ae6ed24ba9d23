#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class DuplicateItem;
class DuplicatesGroup;
class DuplicatesHeap;
class FileSystemItem;
struct AutoSelectCandidate;

// One part of a hint's text; bold parts use the bold face.
struct HintTextPart {
    QString text;
    bool bold = false;
};

// One clickable hint of the "Cleanup Hints" panel. What it acts on is held weakly: a group,
// copy or heap that left the result is skipped, never acted on.
struct QuickHintRecord {
    std::vector<HintTextPart> name; // "name"
    std::uint64_t size = 0;         // "size": the bytes the hint would free
    bool hasArray = false;          // "array": a biggest-group or automatic-selection hint
    std::vector<std::weak_ptr<DuplicatesGroup>> groups;
    std::weak_ptr<DuplicatesHeap> heap;                   // "heap": a similar-folder hint
    std::vector<std::weak_ptr<DuplicateItem>> duplicates; // "duplicatesArray"

    QString plainText() const;
};

namespace QuickHintRecords {

// The first and last (max - 3) / 2 characters around "..." when longer than |maxLength|.
QString truncateMiddleOfString(const QString& text, int maxLength);

// The names that tell two folders apart: their own names, or, when those are equal, each
// led by as few of its parent folders' names as it takes to tell them apart ("a/sub4" and
// "b/sub4").
std::pair<QString, QString> distinguishingNames(const FileSystemItem* a, const FileSystemItem* b);

// Every list leaves out what would free nothing (empty files, a heap of empty copies).
// "Select and remove N duplicates of "name" file to clean up R"; nothing for a group without
// copies.
std::vector<QuickHintRecord>
biggestGroupHints(const std::vector<std::shared_ptr<DuplicatesGroup>>& groups);
// Batches of five candidates, biggest batch first, at most ten.
std::vector<QuickHintRecord> autoselectHints(const std::vector<AutoSelectCandidate>& candidates);
// One per heap, at most ten, in the answer's order; folders of the same name are told apart
// by their parents.
std::vector<QuickHintRecord>
similarFolderHints(const std::vector<std::shared_ptr<DuplicatesHeap>>& heaps);

// Fills the automatic-selection and similar-folder slots that lack hints of their own with
// further big groups, keeping the rows in size order, and cuts the lists to whole rows.
// Answers the panel's height: 100 with group hints, plus 70 for each other kind shown.
int splitHintsBetweenArrays(std::vector<QuickHintRecord>& groups,
                            std::vector<QuickHintRecord>& autoselect,
                            std::vector<QuickHintRecord>& heaps);

// Whether |heap| still belongs to the current result: both its folders are in the result's
// table of similar folders.
bool heapIsInResult(const DuplicatesHeap& heap);

} // namespace QuickHintRecords
