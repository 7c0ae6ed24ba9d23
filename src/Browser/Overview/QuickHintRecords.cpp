#include "Browser/Overview/QuickHintRecords.h"

#include "Categories/FileSize.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeap.h"
#include "Results/DuplicatesHeaps.h"
#include "Results/DuplicatesManager.h"
#include "Results/HeapsFolderData.h"
#include "Selection/DuplicatesManagerDelegate.h"

#include <algorithm>

namespace {

constexpr size_t kMaxHints = 10;
constexpr size_t kBatch = 5;
// The balancing moves at most twenty big groups out of the list, each from within its first
// twelve, and keeps at most ten: it never reaches past the 31st biggest group. A result can
// have hundreds of thousands of groups; their texts are not worth making.
constexpr size_t kGroupHintsUsed = 31;

// Removes element |index| of |from| and appends it to |to|.
void moveElement(std::vector<QuickHintRecord>& from, size_t index,
                 std::vector<QuickHintRecord>& to) {
    to.push_back(std::move(from[index]));
    from.erase(from.begin() + std::ptrdiff_t(index));
}

void cutTo(std::vector<QuickHintRecord>& list, size_t length) {
    if (list.size() > length)
        list.resize(length);
}

} // namespace

QString QuickHintRecord::plainText() const {
    QString text;
    for (const HintTextPart& part : name)
        text += part.text;
    return text;
}

namespace QuickHintRecords {

QString truncateMiddleOfString(const QString& text, int maxLength) {
    if (text.size() <= maxLength)
        return text;
    const int keep = (maxLength - 3) / 2;
    return text.left(keep) + QStringLiteral("...") + text.right(keep);
}

std::pair<QString, QString> distinguishingNames(const FileSystemItem* a, const FileSystemItem* b) {
    if (!a || !b)
        return {a ? a->displayName() : QString(), b ? b->displayName() : QString()};
    QString nameA = a->displayName();
    QString nameB = b->displayName();
    if (nameA != nameB || a == b)
        return {nameA, nameB};
    // Parents are added one at a time, on both sides, while the two still read the same and
    // either has a parent left.
    const FileSystemItem* upA = a->parent();
    const FileSystemItem* upB = b->parent();
    while (nameA == nameB && (upA || upB)) {
        if (upA) {
            nameA = upA->displayName() + QLatin1Char('/') + nameA;
            upA = upA->parent();
        }
        if (upB) {
            nameB = upB->displayName() + QLatin1Char('/') + nameB;
            upB = upB->parent();
        }
    }
    return {nameA, nameB};
}

std::vector<QuickHintRecord>
biggestGroupHints(const std::vector<std::shared_ptr<DuplicatesGroup>>& groups) {
    std::vector<QuickHintRecord> hints;
    for (const std::shared_ptr<DuplicatesGroup>& group : groups) {
        if (hints.size() == kGroupHintsUsed)
            break;
        const std::shared_ptr<DuplicateItem> first = group ? group->getFirstItem() : nullptr;
        if (!first || !first->getFileSystemItem())
            continue;
        const FileSystemItem* item = first->getFileSystemItem();
        const auto count = group->getCountOfDuplicatesThatCanBeRemoved();
        const std::uint64_t removable = group->getSizeThatCanBeRemoved();
        if (removable == 0)
            continue;
        const bool isFolder = item->isDir();
        QuickHintRecord hint;
        hint.name = {
            {QStringLiteral("Select and remove"), false},
            {QStringLiteral(" %1 %2 of ")
                 .arg(count)
                 .arg(count == 1 ? QStringLiteral("duplicate") : QStringLiteral("duplicates")),
             false},
            {QStringLiteral("\"%1\"").arg(truncateMiddleOfString(item->displayName(), 32)), true},
            {QStringLiteral(" %1 to clean up %2")
                 .arg(isFolder ? QStringLiteral("folder") : QStringLiteral("file"),
                      FileSize::formatMemoryStringDot1(removable)),
             false}};
        hint.size = removable;
        hint.hasArray = true;
        hint.groups = {group};
        hints.push_back(std::move(hint));
    }
    return hints;
}

std::vector<QuickHintRecord> autoselectHints(const std::vector<AutoSelectCandidate>& candidates) {
    // The batches' sizes first; only the ten biggest batches become hints.
    struct Batch {
        size_t start = 0;
        std::uint64_t size = 0;
    };
    std::vector<Batch> batches;
    for (size_t start = 0; start < candidates.size(); start += kBatch) {
        Batch batch{start, 0};
        for (size_t i = start; i < std::min(start + kBatch, candidates.size()); ++i)
            batch.size += candidates[i].size;
        batches.push_back(batch);
    }
    std::stable_sort(batches.begin(), batches.end(),
                     [](const Batch& a, const Batch& b) { return a.size > b.size; });
    if (batches.size() > kMaxHints)
        batches.resize(kMaxHints);

    std::vector<QuickHintRecord> hints;
    for (const Batch& batch : batches) {
        if (batch.size == 0)
            break; // the rest are empty too
        QuickHintRecord hint;
        hint.size = batch.size;
        hint.hasArray = true;
        std::uint64_t copies = 0;
        for (size_t i = batch.start; i < std::min(batch.start + kBatch, candidates.size()); ++i) {
            hint.groups.push_back(candidates[i].group);
            for (const std::shared_ptr<DuplicateItem>& copy : candidates[i].duplicateArray) {
                hint.duplicates.push_back(copy);
                ++copies;
            }
        }
        hint.name = {
            {QStringLiteral("Click to autoselect"), false},
            {QStringLiteral(" %1 %2 of files to ")
                 .arg(copies)
                 .arg(copies == 1 ? QStringLiteral("copy") : QStringLiteral("copies")),
             false},
            {QString(), true},
            {QStringLiteral("clean up %1").arg(FileSize::formatMemoryStringDot1(hint.size)),
             false}};
        hints.push_back(std::move(hint));
    }
    return hints;
}

std::vector<QuickHintRecord>
similarFolderHints(const std::vector<std::shared_ptr<DuplicatesHeap>>& heaps) {
    std::vector<QuickHintRecord> hints;
    for (const std::shared_ptr<DuplicatesHeap>& heap : heaps) {
        if (hints.size() == kMaxHints)
            break;
        if (!heap)
            continue;
        std::uint64_t total = 0;
        heap->calculateForSecondFolderCountOfItems(nullptr, nullptr, nullptr, &total);
        if (total == 0)
            continue;
        const auto [mainName, secondName] =
            distinguishingNames(heap->getMainFolderItem(), heap->getSecondFolderItem());
        QuickHintRecord hint;
        hint.name = {
            {QStringLiteral("Select and remove"), false},
            {QStringLiteral(" duplicates in similar folders "), false},
            {truncateMiddleOfString(mainName, 16), true},
            {QStringLiteral(" and "), false},
            {truncateMiddleOfString(secondName, 16), true},
            {QStringLiteral(" to clean up %1").arg(FileSize::formatMemoryStringDot1(total)),
             false}};
        hint.size = total;
        hint.heap = heap;
        hints.push_back(std::move(hint));
    }
    return hints;
}

int splitHintsBetweenArrays(std::vector<QuickHintRecord>& g, std::vector<QuickHintRecord>& a,
                            std::vector<QuickHintRecord>& s) {
    for (int pass = 0; pass < 10; ++pass) {
        if (a.size() <= 9 && a.size() <= s.size() && g.size() > a.size() + 1)
            moveElement(g, a.size() + 1, a);
        if (s.size() <= 9 && s.size() < a.size() && g.size() > s.size() + 1)
            moveElement(g, s.size() + 1, s);
    }
    if (s.empty()) {
        if (!a.empty()) {
            const size_t length = std::min(g.size(), a.size());
            cutTo(g, length);
            cutTo(a, length);
        } else {
            cutTo(g, kMaxHints);
        }
    }
    if (a.empty()) {
        if (!s.empty()) {
            const size_t length = std::min(g.size(), s.size());
            cutTo(g, length);
            cutTo(s, length);
        } else {
            cutTo(g, kMaxHints);
        }
    }
    if (!g.empty() && !a.empty() && !s.empty()) {
        const size_t length = std::min(a.size(), s.size());
        cutTo(g, length);
        cutTo(a, length);
        cutTo(s, length);
    }
    return (g.empty() ? 0 : 100) + (a.empty() ? 0 : 70) + (s.empty() ? 0 : 70);
}

bool heapIsInResult(const DuplicatesHeap& heap) {
    const std::shared_ptr<DuplicatesContainer> container =
        DuplicatesManager::sharedManager().duplicateContainer();
    if (!container || !container->getHeaps())
        return false;
    bool main = false;
    bool second = false;
    for (const auto& [path, data] : container->getHeaps()->getAllFoldersData()) {
        main = main || data->getFolderSystemItem() == heap.getMainFolderItem();
        second = second || data->getFolderSystemItem() == heap.getSecondFolderItem();
    }
    return main && second;
}

} // namespace QuickHintRecords
