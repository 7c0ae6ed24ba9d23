#include "Browser/GroupList/GroupListRows.h"

#include "FileTree/FileSystemItem.h"
#include "FileTree/FileType.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesGroup.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <thread>
#include <unordered_map>

namespace {

std::size_t stringBytes(const QString& text) {
    // Shared texts (the group keeps its name) are counted once, by their owner.
    return text.isDetached() ? std::size_t(text.capacity()) * sizeof(QChar) : 0;
}

} // namespace

const QStringList& GroupListRows::sizeSectionTitles() {
    static const QStringList titles = {
        QStringLiteral("Less than 100KB"),     QStringLiteral("From 100 KB to 1 MB"),
        QStringLiteral("From 1 MB to 10 MB"),  QStringLiteral("From 10 MB to 100 MB"),
        QStringLiteral("From 100 MB to 1 GB"), QStringLiteral("From 1 GB to 10GB"),
        QStringLiteral("More than 10 GB"),
    };
    return titles;
}

int GroupListRows::sizeSectionOf(std::uint64_t key) {
    std::uint64_t bound = 100000;
    for (int band = 0; band < 6; ++band, bound *= 10)
        if (key < bound)
            return band;
    return 6;
}

void GroupListRows::setSource(const std::vector<std::shared_ptr<DuplicatesGroup>>& groups) {
    m_entries.clear();
    m_entries.reserve(groups.size());
    m_entryOfGroup.clear();
    m_entryOfGroup.reserve(groups.size());
    for (const auto& group : groups) {
        if (!group)
            continue;
        const auto first = group->getFirstItem();
        const FileSystemItem* node = first ? first->getFileSystemItem() : nullptr;
        if (!node)
            continue;
        GroupListEntry entry;
        entry.group = group;
        entry.firstNode = node;
        entry.size = static_cast<std::uint64_t>(node->logicalSize());
        entry.count = group->getTotalCount();
        m_entryOfGroup.emplace(group.get(), std::uint32_t(m_entries.size()));
        m_entries.push_back(std::move(entry));
    }
    m_rows.clear();
    m_headerTitles.clear();
    m_rowOfEntry.assign(m_entries.size(), -1);
    m_nameKeysNext = 0;
    m_typeTextsNext = 0;
    m_searchNamesNext = 0;
    m_filterValid = false;
    m_filtered.clear();
    m_filterText.clear();
}

void GroupListRows::fillTypeTexts(const GroupListEntry& entry) const {
    if (entry.firstNode->isDir()) {
        entry.typeKey = QStringLiteral("aaa");
        entry.typeTitle = QStringLiteral("Folders");
        return;
    }
    const QByteArrayView extension = FileType::pathExtensionView(entry.firstNode->nameView());
    if (extension.isEmpty()) {
        entry.typeKey = QStringLiteral("zzz");
        entry.typeTitle = QStringLiteral("Others");
        return;
    }
    const QByteArray raw = QByteArray::fromRawData(extension.data(), extension.size());
    auto known = m_extensionTexts.constFind(raw);
    if (known == m_extensionTexts.cend()) {
        const QString decoded = QFile::decodeName(raw);
        known = m_extensionTexts.insert(extension.toByteArray(),
                                        {decoded.toCaseFolded(), decoded.toUpper()});
    }
    entry.typeKey = known->first;
    entry.typeTitle = known->second;
}

const QString& GroupListRows::typeKeyOf(const GroupListEntry& entry) const {
    if (entry.typeKey.isNull())
        fillTypeTexts(entry);
    return entry.typeKey;
}

const QString& GroupListRows::typeTitleOf(const GroupListEntry& entry) const {
    if (entry.typeTitle.isNull())
        fillTypeTexts(entry);
    return entry.typeTitle;
}

bool GroupListRows::buildNameKeysStep(std::size_t maxEntries) {
    const std::size_t end = std::min(m_entries.size(), m_nameKeysNext + maxEntries);
    for (; m_nameKeysNext < end; ++m_nameKeysNext) {
        GroupListEntry& entry = m_entries[m_nameKeysNext];
        entry.nameKey = entry.group->getGroupName().toCaseFolded();
        const QString extension = FileType::pathExtension(entry.nameKey);
        entry.stemLength = entry.nameKey.size() - (extension.isEmpty() ? 0 : extension.size() + 1);
    }
    return nameKeysBuilt();
}

bool GroupListRows::buildTypeTextsStep(std::size_t maxEntries) {
    const std::size_t end = std::min(m_entries.size(), m_typeTextsNext + maxEntries);
    for (; m_typeTextsNext < end; ++m_typeTextsNext)
        typeKeyOf(m_entries[m_typeTextsNext]);
    return typeTextsBuilt();
}

void GroupListRows::buildNameKeys() {
    buildNameKeysStep(m_entries.size());
}

bool GroupListRows::buildSearchNamesStep(std::size_t maxEntries) {
    const std::size_t end = std::min(m_entries.size(), m_searchNamesNext + maxEntries);
    fillSearchNames(m_entries, m_searchNamesNext, end);
    m_searchNamesNext = end;
    return searchNamesBuilt();
}

void GroupListRows::buildSearchNames(std::size_t minSliceEntries) {
    // A search typed before the idle steps finished waits for the rest, and a million
    // copies read from scattered memory take a few hundred milliseconds on one core. The
    // slices go to threads of their own (not the shared pool, where they could wait behind
    // long background work) while this thread takes one and waits for the others. Nothing
    // changes a group meanwhile: only this thread does, and it is busy here. Each thread
    // writes only the entries of its slice.
    const std::size_t begin = m_searchNamesNext;
    const std::size_t left = m_entries.size() - begin;
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t slices =
        std::min({cores, kMaxSearchNameThreads,
                  std::max<std::size_t>(1, left / std::max<std::size_t>(1, minSliceEntries))});
    if (slices <= 1) {
        buildSearchNamesStep(left);
        return;
    }
    const std::size_t per = (left + slices - 1) / slices;
    std::vector<std::thread> helpers;
    helpers.reserve(slices - 1);
    for (std::size_t slice = 1; slice < slices; ++slice) {
        const std::size_t from = std::min(m_entries.size(), begin + slice * per);
        const std::size_t to = std::min(m_entries.size(), from + per);
        helpers.emplace_back([this, from, to] { fillSearchNames(m_entries, from, to); });
    }
    fillSearchNames(m_entries, begin, std::min(m_entries.size(), begin + per));
    for (std::thread& helper : helpers)
        helper.join();
    m_searchNamesNext = m_entries.size();
}

void GroupListRows::fillSearchNames(std::vector<GroupListEntry>& entries, std::size_t from,
                                    std::size_t to) {
    QByteArray raw;
    for (std::size_t index = from; index < to; ++index) {
        GroupListEntry& entry = entries[index];
        // The raw names joined first and decoded once: no name holds "/", so it keeps one
        // name's match from running into the next. Each name is the last component of the
        // path the copy keeps (reading the copy's node as well costs another trip to
        // memory per copy, and a million copies are read here).
        raw.clear();
        for (const auto& item : entry.group->itemsView()) {
            QByteArrayView path = item->getFileItemPath();
            while (path.size() > 1 && path.endsWith('/'))
                path.chop(1);
            if (path.isEmpty())
                continue;
            if (!raw.isEmpty())
                raw += '/';
            raw += path.sliced(path.lastIndexOf('/') + 1);
        }
        entry.searchNames = QFile::decodeName(raw).toCaseFolded();
    }
}

void GroupListRows::filter(const QString& foldedText) {
    // A longer text that holds the last one matches only where the last one did.
    const bool narrowing = m_filterValid && foldedText.contains(m_filterText);
    std::vector<std::uint32_t> kept;
    const auto test = [&](std::uint32_t index) {
        if (m_entries[index].searchNames.contains(foldedText))
            kept.push_back(index);
    };
    if (foldedText.contains(QLatin1Char('/'))) {
        // Names never hold "/".
    } else if (narrowing) {
        for (std::uint32_t index : m_filtered)
            test(index);
    } else {
        buildSearchNames();
        kept.reserve(m_entries.size() / 4);
        for (std::uint32_t index = 0; index < m_entries.size(); ++index)
            test(index);
    }
    m_filtered = std::move(kept);
    m_filterText = foldedText;
    m_filterValid = true;
}

void GroupListRows::sortIndices(std::vector<std::uint32_t>& indices, int sortType,
                                int sortDirection) {
    const bool descending = sortDirection == 1;
    if (sortType < 0 || sortType > 6)
        return;
    if (sortType == 3 || sortType == 6)
        buildNameKeys();
    if (sortType == 2 || sortType == 3 || sortType == 6) {
        // Text keys: A to Z with direction 1; equal keys keep the source order either way.
        std::vector<std::pair<QStringView, std::uint32_t>> keyed;
        keyed.reserve(indices.size());
        for (std::uint32_t index : indices) {
            const GroupListEntry& e = m_entries[index];
            const QStringView key = sortType == 2   ? QStringView(typeKeyOf(e))
                                    : sortType == 3 ? QStringView(e.nameKey).left(e.stemLength)
                                                    : QStringView(e.nameKey);
            keyed.emplace_back(key, index);
        }
        std::sort(keyed.begin(), keyed.end(), [descending](const auto& a, const auto& b) {
            const int order = a.first.compare(b.first);
            if (order != 0)
                return descending ? order < 0 : order > 0;
            return a.second < b.second;
        });
        for (std::size_t i = 0; i < keyed.size(); ++i)
            indices[i] = keyed[i].second;
        return;
    }
    // Number keys: largest first with direction 1.
    std::vector<std::pair<std::uint64_t, std::uint32_t>> keyed;
    keyed.reserve(indices.size());
    for (std::uint32_t index : indices) {
        const GroupListEntry& e = m_entries[index];
        std::uint64_t key = 0;
        switch (sortType) {
        case 0:
            key = e.size;
            break;
        case 1:
            key = e.size * e.count;
            break;
        case 4:
            key = e.count;
            break;
        default:
            key = e.group->getSelectedCountWithDuplicatesFolderContent();
            break;
        }
        keyed.emplace_back(key, index);
    }
    std::sort(keyed.begin(), keyed.end(), [descending](const auto& a, const auto& b) {
        if (a.first != b.first)
            return descending ? a.first > b.first : a.first < b.first;
        return a.second < b.second;
    });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        indices[i] = keyed[i].second;
}

void GroupListRows::addSections(const std::vector<std::uint32_t>& sorted, int sortType,
                                int sortDirection) {
    // Each group's section, then the sections in their order, each with its groups in the
    // sorted order.
    std::vector<int> sectionOf(sorted.size());
    std::vector<QString> titles;
    std::vector<int> order;
    if (sortType == 0 || sortType == 1) {
        for (std::size_t i = 0; i < sorted.size(); ++i) {
            const GroupListEntry& e = m_entries[sorted[i]];
            sectionOf[i] = sizeSectionOf(sortType == 0 ? e.size : e.size * e.count);
        }
        titles.assign(sizeSectionTitles().begin(), sizeSectionTitles().end());
        for (int band = 0; band < 7; ++band)
            order.push_back(sortDirection == 1 ? 6 - band : band);
    } else if (sortType == 5) {
        for (std::size_t i = 0; i < sorted.size(); ++i)
            sectionOf[i] =
                m_entries[sorted[i]].group->getSelectedCountWithDuplicatesFolderContent() > 0 ? 0
                                                                                              : 1;
        titles = {QStringLiteral("Selected"), QStringLiteral("Not Selected")};
        order = sortDirection == 1 ? std::vector<int>{0, 1} : std::vector<int>{1, 0};
    } else {
        // One section per kind, in the reverse of the order in which the kinds first occur.
        std::unordered_map<QString, int> known;
        for (std::size_t i = 0; i < sorted.size(); ++i) {
            const GroupListEntry& e = m_entries[sorted[i]];
            const QString& kind = typeTitleOf(e);
            auto found = known.find(kind);
            if (found == known.end()) {
                found = known.emplace(kind, int(titles.size())).first;
                titles.push_back(kind);
            }
            sectionOf[i] = found->second;
        }
        for (int section = int(titles.size()) - 1; section >= 0; --section)
            order.push_back(section);
    }

    std::vector<std::vector<std::uint32_t>> buckets(titles.size());
    for (std::size_t i = 0; i < sorted.size(); ++i)
        buckets[std::size_t(sectionOf[i])].push_back(sorted[i]);
    m_rows.reserve(sorted.size() + titles.size() + 1);
    for (int section : order) {
        const auto& bucket = buckets[std::size_t(section)];
        if (bucket.empty())
            continue;
        m_rows.push_back(kFirstHeaderRow - std::int32_t(m_headerTitles.size()));
        m_headerTitles.push_back(titles[std::size_t(section)]);
        for (std::uint32_t index : bucket)
            m_rows.push_back(std::int32_t(index));
    }
}

void GroupListRows::build(int sortType, int sortDirection, const QString& searchText,
                          bool closingRow) {
    std::vector<std::uint32_t> indices;
    if (searchText.isEmpty()) {
        indices.resize(m_entries.size());
        for (std::uint32_t i = 0; i < indices.size(); ++i)
            indices[i] = i;
    } else {
        const QString folded = searchText.toCaseFolded();
        if (!m_filterValid || folded != m_filterText)
            filter(folded);
        indices = m_filtered;
    }
    sortIndices(indices, sortType, sortDirection);

    m_rows.clear();
    m_headerTitles.clear();
    if (sortType == 0 || sortType == 1 || sortType == 2 || sortType == 5)
        addSections(indices, sortType, sortDirection);
    else
        m_rows.assign(indices.begin(), indices.end());
    if (closingRow)
        m_rows.push_back(kClosingRow);

    std::fill(m_rowOfEntry.begin(), m_rowOfEntry.end(), -1);
    for (std::size_t row = 0; row < m_rows.size(); ++row)
        if (m_rows[row] >= 0)
            m_rowOfEntry[std::size_t(m_rows[row])] = std::int32_t(row);
}

QString GroupListRows::headerTitleAt(int row) const {
    if (!isHeaderRow(row))
        return {};
    return m_headerTitles[std::size_t(kFirstHeaderRow - m_rows[row])];
}

int GroupListRows::rowOfGroup(const DuplicatesGroup* group) const {
    const auto found = m_entryOfGroup.find(group);
    return found == m_entryOfGroup.end() ? -1 : m_rowOfEntry[found->second];
}

std::vector<std::shared_ptr<DuplicatesGroup>> GroupListRows::listedGroups() const {
    std::vector<std::shared_ptr<DuplicatesGroup>> groups;
    for (std::int32_t row : m_rows)
        if (row >= 0)
            groups.push_back(m_entries[std::size_t(row)].group);
    return groups;
}

int GroupListRows::groupRowFrom(int row, int step) const {
    for (; row >= 0 && row < rowCount(); row += step)
        if (m_rows[std::size_t(row)] >= 0)
            return row;
    return -1;
}

std::size_t GroupListRows::memoryUsage() const {
    std::size_t bytes = m_entries.capacity() * sizeof(GroupListEntry) +
                        m_rows.capacity() * sizeof(std::int32_t) +
                        m_rowOfEntry.capacity() * sizeof(std::int32_t) +
                        m_filtered.capacity() * sizeof(std::uint32_t) +
                        // A node of the group map: its pointer, index, hash link and bucket.
                        m_entryOfGroup.size() * 4 * sizeof(void*);
    for (const GroupListEntry& e : m_entries)
        bytes += stringBytes(e.nameKey) + stringBytes(e.typeKey) + stringBytes(e.typeTitle) +
                 stringBytes(e.searchNames);
    return bytes;
}
