#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class DuplicatesGroup;

// What the group list knows of one group between two refreshes of its source: the texts it
// sorts, searches and shows, decoded once, and the numbers that do not change while the
// result stands still. The selected count is never cached: it changes with every click and
// the group answers it at once.
struct GroupListEntry {
    std::shared_ptr<DuplicatesGroup> group;
    QString name;             // the group name as shown
    QString nameKey;          // the name case-folded, for the name and path orders
    qsizetype stemLength = 0; // length of nameKey without its extension
    QString typeKey;          // case-folded extension of the first copy, "aaa" for a folder,
                              // "zzz" without extension
    QString typeTitle;        // "Folders", "Others" or the extension in upper case
    QString searchNames;      // the copies' names case-folded and joined by "/"; built on the
                              // first search after a refresh
    std::uint64_t size = 0;   // the first copy's logical size
    std::uint64_t count = 0;  // the number of copies
    bool searchNamesBuilt = false;
};

// The rows of the group list for one source of groups. Everything here is plain data and
// runs on the main thread; the group list owns one and rebuilds its rows on every change of
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
    // the given order. The search and the rows are cleared.
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
    // The row of |group|; -1 when it is not listed.
    int rowOfGroup(const DuplicatesGroup* group) const;
    // The groups of the rows, in row order, headers and the closing row left out.
    std::vector<std::shared_ptr<DuplicatesGroup>> listedGroups() const;
    // The first group row at or after (step 1) or at or before (step -1) |row|; -1 if none.
    int groupRowFrom(int row, int step) const;

    // Bytes the entries and rows hold, their texts included.
    std::size_t memoryUsage() const;

private:
    void buildSearchNames();
    void filter(const QString& foldedText);
    void sortIndices(std::vector<std::uint32_t>& indices, int sortType, int sortDirection) const;
    void addSections(const std::vector<std::uint32_t>& sorted, int sortType, int sortDirection);

    std::vector<GroupListEntry> m_entries;
    std::unordered_map<const DuplicatesGroup*, std::uint32_t> m_entryOfGroup;
    std::vector<std::int32_t> m_rows;
    std::vector<QString> m_headerTitles;
    // entry index -> row, -1 when not listed.
    std::vector<std::int32_t> m_rowOfEntry;
    // The last search and the entries it kept, in source order: a search text that contains
    // the last one only looks among those.
    QString m_filterText;
    std::vector<std::uint32_t> m_filtered;
    bool m_filterValid = false;
};
