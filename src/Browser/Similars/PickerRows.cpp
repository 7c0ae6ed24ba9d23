#include "Browser/Similars/PickerRows.h"

#include "FileTree/FolderSystemItem.h"

#include <QFile>

#include <algorithm>

namespace PickerRows {

QString nameWithoutExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

PickerFolderFacts factsOf(const FolderSystemItem* folder) {
    PickerFolderFacts facts;
    if (!folder)
        return facts;
    facts.displayName = folder->displayName();
    facts.path = folder->path();
    facts.sortName = nameWithoutExtension(facts.displayName).toCaseFolded();
    facts.sortPath = QFile::decodeName(facts.path).toCaseFolded();
    facts.childCount = int(folder->childrenArray().size());
    return facts;
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
