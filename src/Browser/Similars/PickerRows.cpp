#include "Browser/Similars/PickerRows.h"

#include "FileTree/FolderSystemItem.h"
#include "Platform/Dispatch.h"
#include "Results/HeapsGroup.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cstdint>

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
    Dispatch::applyInSlices(folders.size(), kSlice, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i)
            out[i] = std::make_shared<const PickerFolderFacts>(factsOf(folders[i]));
    });
    return out;
}

namespace {

// A stable sort of a long list in quarters on a few threads, merged in order: the same order
// as one stable sort gives. |less| must be safe to call from several threads at once.
// The threads sort row numbers, ties broken by the number, and merge them into lists made
// here: nothing is allocated on a helper, whose allocator may first have to sort out a
// large result freed before (a stall of tens of milliseconds).
template <typename Less>
void stableSortRows(std::vector<PickerRow>& rows, Less less) {
    constexpr std::size_t kParts = 4;
    constexpr std::size_t kAlone = 4096;
    if (rows.size() < kAlone) {
        std::stable_sort(rows.begin(), rows.end(), less);
        return;
    }
    const auto before = [&rows, &less](std::uint32_t a, std::uint32_t b) {
        if (less(rows[a], rows[b]))
            return true;
        return !less(rows[b], rows[a]) && a < b;
    };
    std::vector<std::uint32_t> order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = std::uint32_t(i);
    std::vector<std::uint32_t> halves(rows.size());
    std::array<std::size_t, kParts + 1> bounds{};
    for (std::size_t p = 0; p <= kParts; ++p)
        bounds[p] = rows.size() * p / kParts;
    const auto at = [](std::vector<std::uint32_t>& list, std::size_t index) {
        return list.begin() + std::ptrdiff_t(index);
    };
    Dispatch::apply(kParts, [&](std::size_t p) {
        std::sort(at(order, bounds[p]), at(order, bounds[p + 1]), before);
    });
    Dispatch::apply(2, [&](std::size_t half) {
        const std::size_t first = bounds[2 * half];
        const std::size_t middle = bounds[2 * half + 1];
        const std::size_t last = bounds[2 * half + 2];
        std::merge(at(order, first), at(order, middle), at(order, middle), at(order, last),
                   at(halves, first), before);
    });
    std::merge(halves.begin(), at(halves, bounds[2]), at(halves, bounds[2]), halves.end(),
               order.begin(), before);
    std::vector<PickerRow> sorted;
    sorted.reserve(rows.size());
    for (const std::uint32_t i : order)
        sorted.push_back(std::move(rows[i]));
    rows = std::move(sorted);
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
