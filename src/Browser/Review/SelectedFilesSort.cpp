#include "Browser/Review/SelectedFilesSort.h"

#include "FileTree/FileSystemItem.h"
#include "Results/DuplicateItem.h"

#include <QCollator>
#include <QFile>

#include <algorithm>
#include <cstdint>

namespace {

QCollator makeCollator() {
    // The C locale's collation knows neither case nor numbers; English stands in for it.
    const QLocale system;
    QCollator collator(system.language() == QLocale::C ? QLocale(QLocale::English) : system);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

const QCollator& collator() {
    static const QCollator made = makeCollator();
    return made;
}

QString displayPath(const DuplicateItem& item) {
    return QFile::decodeName(item.getFileItemPath());
}

// Sorts by a key worked out once per copy; |less| compares two keys in the ascending sense
// of the table (direction 1), and direction 0 reverses it.
template <typename Key, typename MakeKey, typename Less>
void sortByKey(std::vector<std::shared_ptr<DuplicateItem>>& items, int direction, MakeKey makeKey,
               Less less) {
    std::vector<std::pair<Key, std::shared_ptr<DuplicateItem>>> keyed;
    keyed.reserve(items.size());
    for (auto& item : items)
        keyed.emplace_back(makeKey(*item), std::move(item));
    if (direction != 0)
        std::stable_sort(keyed.begin(), keyed.end(),
                         [&](const auto& a, const auto& b) { return less(a.first, b.first); });
    else
        std::stable_sort(keyed.begin(), keyed.end(),
                         [&](const auto& a, const auto& b) { return less(b.first, a.first); });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        items[i] = std::move(keyed[i].second);
}

} // namespace

namespace SelectedFilesSort {

QString nameKey(const DuplicateItem& item) {
    const FileSystemItem* node = item.getFileSystemItem();
    QString name = node ? node->displayName() : QFile::decodeName(item.getFileItemPath());
    if (const qsizetype slash = name.lastIndexOf(QLatin1Char('/')); slash >= 0)
        name = name.mid(slash + 1);
    // As the platform drops an extension: a leading dot alone is no extension.
    if (const qsizetype dot = name.lastIndexOf(QLatin1Char('.')); dot > 0)
        name.truncate(dot);
    return name;
}

int compareNames(const QString& a, const QString& b) {
    return collator().compare(a, b);
}

void sortItems(std::vector<std::shared_ptr<DuplicateItem>>& items, int sortType, int direction) {
    std::erase(items, nullptr);
    switch (sortType) {
    case 0:
    case 1:
    case 4:
        sortByKey<std::uint64_t>(
            items, direction, [](const DuplicateItem& item) { return item.getFileItemSize(); },
            [](std::uint64_t a, std::uint64_t b) { return a > b; });
        break;
    case 2:
        sortByKey<int>(
            items, direction, [](const DuplicateItem& item) { return item.getType(); },
            [](int a, int b) { return a < b; });
        break;
    case 3: {
        // Sort keys make the collation of many names cheap; equal keys are equal names.
        sortByKey<QCollatorSortKey>(
            items, direction,
            [](const DuplicateItem& item) { return collator().sortKey(nameKey(item)); },
            [](const QCollatorSortKey& a, const QCollatorSortKey& b) { return a.compare(b) < 0; });
        break;
    }
    case 5:
        sortByKey<bool>(
            items, direction, [](const DuplicateItem& item) { return item.isSelected(); },
            [](bool a, bool b) { return a && !b; });
        break;
    case 6:
        sortByKey<QString>(
            items, direction, [](const DuplicateItem& item) { return displayPath(item); },
            [](const QString& a, const QString& b) {
                return QString::compare(a, b, Qt::CaseInsensitive) < 0;
            });
        break;
    default:
        break;
    }
}

} // namespace SelectedFilesSort
