#include "Browser/Similars/PickerRows.h"

#include "FileTree/FolderSystemItem.h"
#include "Platform/Dispatch.h"
#include "Results/HeapsGroup.h"

#include <QFile>

#include <algorithm>
#include <array>

namespace PickerRows {

void fillSimilarSelectedCount(PickerRow& row) {
    if (!row.similarSelectedPending)
        return;
    PickerRow::PendingCount& pending = *row.similarSelectedPending;
    if (!pending.counted) {
        pending.counted = true;
        if (pending.group)
            pending.group->calculateCountOfItems(nullptr, nullptr, &pending.value, nullptr);
    }
    row.similarSelectedCount = pending.value;
    row.similarSelectedPending.reset();
}

QString nameWithoutExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

PickerFolderFacts factsOf(const FolderSystemItem* folder) {
    PickerFolderFacts facts;
    if (!folder)
        return facts;
    facts.path = folder->path();
    facts.displayName = FileSystemItem::displayNameOfPath(facts.path);
    facts.sortName = nameWithoutExtension(facts.displayName).toCaseFolded();
    facts.sortPath = QFile::decodeName(facts.path).toCaseFolded();
    facts.childCount = int(folder->childrenArray().size());
    return facts;
}

std::vector<std::shared_ptr<const PickerFolderFacts>>
factsOfAll(const std::vector<const FolderSystemItem*>& folders) {
    constexpr std::size_t kSlice = 256;
    std::vector<std::shared_ptr<const PickerFolderFacts>> out(folders.size());
    Dispatch::apply((folders.size() + kSlice - 1) / kSlice, [&](std::size_t slice) {
        const std::size_t end = std::min(folders.size(), (slice + 1) * kSlice);
        for (std::size_t i = slice * kSlice; i < end; ++i)
            out[i] = std::make_shared<const PickerFolderFacts>(factsOf(folders[i]));
    });
    return out;
}

namespace {

// A stable sort of a long list in quarters on a few threads, merged in order: the same order
// as one stable sort gives. |less| must be safe to call from several threads at once.
template <typename Less>
void stableSortRows(std::vector<PickerRow>& rows, Less less) {
    constexpr std::size_t kParts = 4;
    constexpr std::size_t kAlone = 4096;
    if (rows.size() < kAlone) {
        std::stable_sort(rows.begin(), rows.end(), less);
        return;
    }
    std::array<std::size_t, kParts + 1> bounds{};
    for (std::size_t p = 0; p <= kParts; ++p)
        bounds[p] = rows.size() * p / kParts;
    const auto at = [&rows](std::size_t index) { return rows.begin() + std::ptrdiff_t(index); };
    Dispatch::apply(
        kParts, [&](std::size_t p) { std::stable_sort(at(bounds[p]), at(bounds[p + 1]), less); });
    Dispatch::apply(2, [&](std::size_t half) {
        const std::size_t first = bounds[2 * half];
        std::inplace_merge(at(first), at(bounds[2 * half + 1]), at(bounds[2 * half + 2]), less);
    });
    std::inplace_merge(rows.begin(), at(bounds[2]), rows.end(), less);
}

} // namespace

void sortRows(std::vector<PickerRow>& rows, int sortType, int sortDirection) {
    const bool descending = sortDirection == 1;
    // Rows with equal keys follow their folders' paths, so a rebuild from the result and a
    // re-sort of the rows on screen give the same order, whatever order either started in.
    static const QString noPath;
    const auto pathOf = [](const PickerRow& row) -> const QString& {
        return row.facts ? row.facts->sortPath : noPath;
    };
    const auto byNumber = [&rows, descending, pathOf](auto key) {
        stableSortRows(rows, [key, descending, pathOf](const PickerRow& a, const PickerRow& b) {
            if (key(a) != key(b))
                return descending ? key(a) > key(b) : key(a) < key(b);
            return pathOf(a) < pathOf(b);
        });
    };
    // Text keys read the other way: direction 1 is A to Z.
    const auto byText = [&rows, descending, pathOf](auto key) {
        static const QString empty;
        const auto text = [key](const PickerRow& row) -> const QString& {
            return row.facts ? key(*row.facts) : empty;
        };
        stableSortRows(rows, [text, descending, pathOf](const PickerRow& a, const PickerRow& b) {
            const int order = text(a).compare(text(b));
            if (order != 0)
                return descending ? order < 0 : order > 0;
            return pathOf(a) < pathOf(b);
        });
    };
    switch (sortType) {
    case 0:
    case 1:
    case 2:
        byNumber([](const PickerRow& r) { return r.duplicateSize; });
        break;
    case 3:
        byText([](const PickerFolderFacts& f) -> const QString& { return f.sortName; });
        break;
    case 4:
        byNumber([](const PickerRow& r) { return r.count; });
        break;
    case 5:
        byNumber([](const PickerRow& r) { return r.selectedCount; });
        break;
    case 6:
        byText([](const PickerFolderFacts& f) -> const QString& { return f.sortPath; });
        break;
    default:
        break;
    }
}

} // namespace PickerRows
