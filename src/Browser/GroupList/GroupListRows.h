#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

class DuplicatesGroup;
class FileSystemItem;

// What the group list knows of one group between two refreshes of its source: the numbers
// that do not change while the result stands still, read when the source is set, and the
// texts it sorts and searches by, decoded on the first sort or search that needs them and
// kept until the next refresh. The name shown and the selected count are never copied: the
// group answers them at once (it keeps its name once worked out).
struct GroupListEntry {
    std::shared_ptr<DuplicatesGroup> group;
    const FileSystemItem* firstNode = nullptr; // the first copy's node, alive with the group
    std::uint64_t size = 0;                    // the first copy's logical size
    std::uint64_t count = 0;                   // the number of copies
    // Name and path orders: the name case-folded, and its length without the extension.
    QString nameKey;
    qsizetype stemLength = 0;
    // Type order and icons: the first copy's extension case-folded ("aaa" for a folder,
    // "zzz" without extension) and the section title ("Folders", "Others" or the extension
    // in upper case).
    mutable QString typeKey;
    mutable QString typeTitle;
    // Search: the copies' names case-folded and joined by "/".
    QString searchNames;
};

// The rows of the group list for one source of groups. Everything here is plain data and
// runs on the main thread (a search that must decode many names borrows helper threads and
// waits for them); the group list owns one and rebuilds its rows on every change of
// source, sort, search or (sorted by selection) selection.
class GroupListRows final {
public:
    // A row is an entry index (0 and up), the closing row of the quest mode, or a section
    // header (kFirstHeaderRow - title index).
    static constexpr std::int32_t kClosingRow = -1;
    static constexpr std::int32_t kFirstHeaderRow = -2;

    // Size bands of the size orders, smallest first.
    static const QStringList& sizeSectionTitles();
    // The band of a size key: 0 below 100,000 bytes ... 6 from 10^10 bytes.
    static int sizeSectionOf(std::uint64_t key);

    // Replaces the source (a refresh): every group with at least one copy gets an entry, in
    // the given order. The search, the rows and every decoded text are cleared.
    void setSource(const std::vector<std::shared_ptr<DuplicatesGroup>>& groups);
    const std::vector<GroupListEntry>& entries() const { return m_entries; }

    // Builds the rows: sorted by |sortType| (0 to 6; another value keeps the source order)
    // and |sortDirection| (1 largest first / A to Z, 0 the reverse; ties keep the source
    // order), kept by |searchText| (any copy's name contains it, without regard to case),
    // with the section headers of sort types 0, 1, 2 and 5, and the closing row when
    // |closingRow|.
    void build(int sortType, int sortDirection, const QString& searchText, bool closingRow);

    const std::vector<std::int32_t>& rows() const { return m_rows; }
    int rowCount() const { return int(m_rows.size()); }
    bool isGroupRow(int row) const { return row >= 0 && row < rowCount() && m_rows[row] >= 0; }
    bool isHeaderRow(int row) const {
        return row >= 0 && row < rowCount() && m_rows[row] <= kFirstHeaderRow;
    }
    bool isClosingRow(int row) const {
        return row >= 0 && row < rowCount() && m_rows[row] == kClosingRow;
    }
    // The entry of a group row, else null.
    const GroupListEntry* entryAt(int row) const {
        return isGroupRow(row) ? &m_entries[std::size_t(m_rows[row])] : nullptr;
    }
    QString headerTitleAt(int row) const;
    // The type texts of |entry|, decoded on first use.
    const QString& typeKeyOf(const GroupListEntry& entry) const;
    const QString& typeTitleOf(const GroupListEntry& entry) const;
    // The row of |group|; -1 when it is not listed.
    int rowOfGroup(const DuplicatesGroup* group) const;
    // The groups of the rows, in row order, headers and the closing row left out.
    std::vector<std::shared_ptr<DuplicatesGroup>> listedGroups() const;
    // The first group row at or after (step 1) or at or before (step -1) |row|; -1 if none.
    int groupRowFrom(int row, int step) const;

    // At most this many threads decode a search's missing names, each a slice of at least
    // kMinSliceEntries entries.
    static constexpr std::size_t kMaxSearchNameThreads = 8;
    static constexpr std::size_t kMinSliceEntries = 20000;

    // Decodes the search names of up to |maxEntries| more entries (the group list does so
    // while the user is idle, so the first search finds most of them ready); answers
    // whether every entry has them now. A search decodes whatever is left.
    bool buildSearchNamesStep(std::size_t maxEntries);
    bool searchNamesBuilt() const { return m_searchNamesNext >= m_entries.size(); }
    // Decodes every missing search name at once, in slices of at least |minSliceEntries|
    // entries on several threads; the result is the same as in steps.
    void buildSearchNames(std::size_t minSliceEntries = kMinSliceEntries);
    // The same for the name keys of the name and path orders.
    bool buildNameKeysStep(std::size_t maxEntries);
    bool nameKeysBuilt() const { return m_nameKeysNext >= m_entries.size(); }
    // The same for the type texts of the type order (which also decodes them on use).
    bool buildTypeTextsStep(std::size_t maxEntries);
    bool typeTextsBuilt() const { return m_typeTextsNext >= m_entries.size(); }
    bool allTextsBuilt() const { return searchNamesBuilt() && nameKeysBuilt() && typeTextsBuilt(); }

    // Bytes the entries and rows hold, their texts included.
    std::size_t memoryUsage() const;

private:
    // The search names of entries [from, to); touches nothing else, so disjoint ranges may
    // be filled at the same time.
    static void fillSearchNames(std::vector<GroupListEntry>& entries, std::size_t from,
                                std::size_t to);
    void buildNameKeys();
    void fillTypeTexts(const GroupListEntry& entry) const;
    void filter(const QString& foldedText);
    void sortIndices(std::vector<std::uint32_t>& indices, int sortType, int sortDirection);
    void addSections(const std::vector<std::uint32_t>& sorted, int sortType, int sortDirection);

    std::vector<GroupListEntry> m_entries;
    std::unordered_map<const DuplicatesGroup*, std::uint32_t> m_entryOfGroup;
    std::vector<std::int32_t> m_rows;
    std::vector<QString> m_headerTitles;
    // entry index -> row, -1 when not listed.
    std::vector<std::int32_t> m_rowOfEntry;
    std::size_t m_nameKeysNext = 0;    // the entries before it have their name keys
    std::size_t m_typeTextsNext = 0;   // the entries before it have their type texts
    std::size_t m_searchNamesNext = 0; // the entries before it have their search names
    // Few extensions serve many groups: their texts are made once and shared.
    mutable QHash<QByteArray, std::pair<QString, QString>> m_extensionTexts;
    // The last search and the entries it kept, in source order: a search text that contains
    // the last one only looks among those.
    QString m_filterText;
    std::vector<std::uint32_t> m_filtered;
    bool m_filterValid = false;
};
