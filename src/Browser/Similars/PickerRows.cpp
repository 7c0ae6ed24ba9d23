#include "Browser/Similars/PickerRows.h"

#include "FileTree/FolderSystemItem.h"
#include "Platform/Dispatch.h"
#include "Results/HeapsGroup.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>

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
    constexpr std::size_t kHelpers = 3;
    const std::size_t slices = (folders.size() + kSlice - 1) / kSlice;
    using Facts = std::shared_ptr<const PickerFolderFacts>;
    std::vector<Facts> out(folders.size());
    const auto read = [](const FolderSystemItem* folder) {
        return std::make_shared<const PickerFolderFacts>(factsOf(folder));
    };
    if (slices <= 1) {
        for (std::size_t i = 0; i < folders.size(); ++i)
            out[i] = read(folders[i]);
        return out;
    }
    // Each thread takes the next slice not taken yet; a helper that starts after the last
    // slice was taken has nothing left to do and touches nothing.
    struct Shared {
        const std::vector<const FolderSystemItem*>* folders;
        std::vector<Facts>* out;
        std::size_t slices;
        std::atomic<std::size_t> next{0};
        std::mutex mutex;
        std::condition_variable allDone;
        std::size_t done = 0;
    };
    auto shared = std::make_shared<Shared>();
    shared->folders = &folders;
    shared->out = &out;
    shared->slices = slices;
    const auto work = [read](Shared& s) {
        for (std::size_t slice = s.next++; slice < s.slices; slice = s.next++) {
            const std::size_t end = std::min(s.folders->size(), (slice + 1) * kSlice);
            for (std::size_t i = slice * kSlice; i < end; ++i)
                (*s.out)[i] = read((*s.folders)[i]);
            const std::lock_guard lock(s.mutex);
            if (++s.done == s.slices)
                s.allDone.notify_all();
        }
    };
    for (std::size_t h = 0; h < std::min(kHelpers, slices - 1); ++h)
        Dispatch::globalQueue().async([shared, work] { work(*shared); });
    work(*shared);
    // Slices still being read by a helper: at most one each.
    std::unique_lock lock(shared->mutex);
    shared->allDone.wait(lock, [&] { return shared->done == shared->slices; });
    return out;
}

void sortRows(std::vector<PickerRow>& rows, int sortType, int sortDirection) {
    const bool descending = sortDirection == 1;
    // Rows with equal keys follow their folders' paths, so a rebuild from the result and a
    // re-sort of the rows on screen give the same order, whatever order either started in.
    static const QString noPath;
    const auto pathOf = [](const PickerRow& row) -> const QString& {
        return row.facts ? row.facts->sortPath : noPath;
    };
    const auto byNumber = [&rows, descending, pathOf](auto key) {
        std::stable_sort(rows.begin(), rows.end(),
                         [key, descending, pathOf](const PickerRow& a, const PickerRow& b) {
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
        std::stable_sort(rows.begin(), rows.end(),
                         [text, descending, pathOf](const PickerRow& a, const PickerRow& b) {
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
