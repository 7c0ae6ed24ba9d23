#include "Browser/Similars/HeapFilesRows.h"

#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesHeap.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace HeapFilesRows {

std::vector<CopySnapshot> takeSnapshot(const DuplicatesHeap& heap) {
    std::vector<CopySnapshot> out;
    FolderSystemItem* main = heap.getMainFolderItem();
    const QByteArray mainPath = main ? main->path() : QByteArray();
    const auto& items = heap.getDuplicateItems().items();
    out.reserve(items.size());
    for (const auto& copy : items) {
        if (!copy)
            continue;
        CopySnapshot snapshot;
        snapshot.copy = copy;
        snapshot.groupKey = copy->getGroup().get();
        snapshot.inMainFolder = copy->parentFolderPathView() == mainPath;
        // The copy keeps its node's path: the name is read from it, not from the tree again.
        if (copy->getFileSystemItem())
            snapshot.displayName = FileSystemItem::displayNameOfPath(copy->getFileItemPath());
        out.push_back(std::move(snapshot));
    }
    return out;
}

std::vector<HeapGroupEntry> buildWorkingArray(const std::vector<CopySnapshot>& copies) {
    std::vector<HeapGroupEntry> entries;
    std::unordered_map<const void*, std::size_t> entryOfGroup;
    for (const CopySnapshot& copy : copies) {
        auto [found, added] = entryOfGroup.try_emplace(copy.groupKey, entries.size());
        if (added)
            entries.emplace_back();
        HeapGroupEntry& entry = entries[found->second];
        const int side = copy.inMainFolder ? 0 : 1;
        if (side == 0 && entry.lists[0].empty())
            entry.leftName = copy.displayName;
        entry.lists[side].push_back(copy.copy);
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const HeapGroupEntry& a, const HeapGroupEntry& b) {
                         const bool aLeft = !a.lists[0].empty();
                         const bool bLeft = !b.lists[0].empty();
                         if (!aLeft || !bLeft)
                             return aLeft && !bLeft;
                         return a.leftName.compare(b.leftName, Qt::CaseInsensitive) < 0;
                     });
    return entries;
}

std::vector<HeapPairRow> buildPairRows(const std::vector<HeapGroupEntry>& entries,
                                       int selectedGroup) {
    std::vector<HeapPairRow> rows;
    for (std::size_t g = 0; g < entries.size(); ++g) {
        const auto& left = entries[g].lists[0];
        const auto& right = entries[g].lists[1];
        const std::size_t n = std::max(left.size(), right.size());
        for (std::size_t i = 0; i < n; ++i) {
            HeapPairRow row;
            row.left = i < left.size() ? left[i] : nullptr;
            row.right = i < right.size() ? right[i] : nullptr;
            row.info = {i == 0, i + 1 == n, int(g) == selectedGroup, int(g)};
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

namespace {

std::vector<FileSystemItem*> uniqueChildren(std::span<FileSystemItem* const> children,
                                            const std::vector<HeapGroupEntry>& entries, int side) {
    std::unordered_set<const FileSystemItem*> shared;
    for (const HeapGroupEntry& entry : entries)
        for (const auto& copy : entry.lists[side])
            if (copy)
                shared.insert(copy->getFileSystemItem());
    std::vector<FileSystemItem*> out;
    for (FileSystemItem* child : children)
        if (child && !shared.contains(child))
            out.push_back(child);
    return out;
}

} // namespace

std::vector<HeapOtherRow> buildOtherRows(std::span<FileSystemItem* const> mainChildren,
                                         std::span<FileSystemItem* const> secondChildren,
                                         const std::vector<HeapGroupEntry>& entries) {
    const auto left = uniqueChildren(mainChildren, entries, 0);
    const auto right = uniqueChildren(secondChildren, entries, 1);
    const std::size_t m = std::max(left.size(), right.size());
    std::vector<HeapOtherRow> rows;
    rows.reserve(m);
    for (std::size_t i = 0; i < m; ++i)
        rows.push_back({i < left.size() ? left[i] : nullptr,
                        i < right.size() ? right[i] : nullptr,
                        {i == 0, i + 1 == m, false, 0}});
    return rows;
}

} // namespace HeapFilesRows

HeapTableRows::Kind HeapTableRows::kind(int row) const {
    if (!m_hasHeap || row < 0 || row >= rowCount())
        return Kind::None;
    if (row < pairCount())
        return Kind::Pair;
    return row == pairCount() ? Kind::Header : Kind::Other;
}

const HeapPairRow* HeapTableRows::pairRow(int row) const {
    return kind(row) == Kind::Pair ? &m_pairs[std::size_t(row)] : nullptr;
}

const HeapOtherRow* HeapTableRows::otherRow(int row) const {
    return kind(row) == Kind::Other ? &m_others[std::size_t(row - pairCount() - 1)] : nullptr;
}

int HeapTableRows::getRowIndexByGroup(int groupIndex) const {
    for (std::size_t i = 0; i < m_pairs.size(); ++i)
        if (m_pairs[i].info.groupIndex == groupIndex)
            return int(i);
    return 0;
}

int HeapTableRows::getRowIndexByOtherFile(const FileSystemItem* item) const {
    if (!item)
        return 0;
    for (std::size_t k = 0; k < m_others.size(); ++k)
        if (m_others[k].left == item || m_others[k].right == item)
            return pairCount() + 1 + int(k);
    return 0;
}

int HeapTableRows::sideOfOtherFile(const FileSystemItem* item) const {
    if (!item)
        return -1;
    for (const HeapOtherRow& row : m_others) {
        if (row.left == item)
            return 0;
        if (row.right == item)
            return 1;
    }
    return -1;
}
