#include "Browser/Similars/HeapFilesRows.h"

#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "Platform/Dispatch.h"
#include "Platform/PathAt.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesHeap.h"

#include <QHash>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

namespace HeapFilesRows {

std::vector<CopySnapshot> takeSnapshot(const DuplicatesHeap& heap, bool withNames) {
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
        if (withNames && copy->getFileSystemItem())
            snapshot.displayName = FileSystemItem::displayNameOfPath(copy->getFileItemPath());
        out.push_back(std::move(snapshot));
    }
    return out;
}

namespace {

// Where the last "/" of |path| stands when its parent can be opened on its own: an ordinary
// path with a parent of its own and a name after it; -1 for every other path.
qsizetype splitPoint(const QByteArray& path) {
    if (path.isEmpty() || PathAt::isLong(path) || path.contains('\0'))
        return -1;
    const qsizetype slash = path.lastIndexOf('/');
    return slash > 0 && slash + 1 < path.size() ? slash : -1;
}

} // namespace

std::vector<CopyPath> pathsOf(const std::vector<CopySnapshot>& snapshot) {
    std::vector<CopyPath> paths;
    paths.reserve(snapshot.size());
    for (const CopySnapshot& copy : snapshot)
        paths.push_back({copy.copy.get(), copy.copy->getFileItemPath()});
    return paths;
}

struct MovedOrDeletedLookup::State {
    std::vector<CopyPath> paths;
    // Copies whose folder can be opened, by folder path: (folder, index in paths).
    std::vector<std::pair<QByteArrayView, std::size_t>> byParent;
    // Where each slice of byParent begins; one more entry for the end.
    std::vector<std::size_t> sliceStarts;
    std::vector<std::vector<const DuplicateItem*>> goneBySlice;
    // The copies decided without a folder of their own (empty, long or bare paths).
    std::vector<const DuplicateItem*> goneAlone;
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::condition_variable allDone;
    std::size_t done = 0;

    void lookUp(std::size_t slice) {
        struct stat info {};
        auto& gone = goneBySlice[slice];
        const std::size_t end = sliceStarts[slice + 1];
        for (std::size_t run = sliceStarts[slice]; run < end;) {
            const QByteArrayView parent = byParent[run].first;
            std::size_t runEnd = run;
            while (runEnd < end && byParent[runEnd].first == parent)
                ++runEnd;
            // The path up to the folder resolves as it would inside the file's own path.
            const int dir =
                ::open(parent.toByteArray().constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            for (std::size_t k = run; k < runEnd; ++k) {
                const CopyPath& entry = paths[byParent[k].second];
                const bool present =
                    dir >= 0 ? ::fstatat(dir, entry.path.constData() + parent.size() + 1, &info,
                                         AT_SYMLINK_NOFOLLOW) == 0
                             : PathAt::stat(entry.path, &info);
                if (!present)
                    gone.push_back(entry.copy);
            }
            if (dir >= 0)
                ::close(dir);
            run = runEnd;
        }
    }
    void work() {
        const std::size_t slices = goneBySlice.size();
        for (std::size_t slice = next++; slice < slices; slice = next++) {
            lookUp(slice);
            const std::lock_guard lock(mutex);
            if (++done == slices)
                allDone.notify_all();
        }
    }
};

MovedOrDeletedLookup::MovedOrDeletedLookup(std::vector<CopyPath> paths)
    : m_state(std::make_shared<State>()) {
    constexpr std::size_t kSlice = 2048;
    State& s = *m_state;
    s.paths = std::move(paths);
    s.byParent.reserve(s.paths.size());
    struct stat info {};
    for (std::size_t i = 0; i < s.paths.size(); ++i) {
        const QByteArray& path = s.paths[i].path;
        if (path.isEmpty()) {
            s.goneAlone.push_back(s.paths[i].copy);
            continue;
        }
        const qsizetype slash = splitPoint(path);
        if (slash < 0) {
            if (!PathAt::stat(path, &info))
                s.goneAlone.push_back(s.paths[i].copy);
            continue;
        }
        s.byParent.emplace_back(QByteArrayView(path).first(slash), i);
    }
    // The copies of one folder side by side, so that a slice opens each folder once; the
    // folders in the order first met (a heap's copies lie in two).
    QHash<QByteArrayView, std::size_t> folderOrder;
    std::vector<std::size_t> folderOf(s.byParent.size());
    for (std::size_t k = 0; k < s.byParent.size(); ++k) {
        auto found = folderOrder.constFind(s.byParent[k].first);
        if (found == folderOrder.cend())
            found = folderOrder.insert(s.byParent[k].first, folderOrder.size());
        folderOf[k] = *found;
    }
    std::vector<std::size_t> order(s.byParent.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return folderOf[a] < folderOf[b]; });
    std::vector<std::pair<QByteArrayView, std::size_t>> grouped;
    grouped.reserve(order.size());
    for (const std::size_t k : order)
        grouped.push_back(s.byParent[k]);
    s.byParent = std::move(grouped);
    for (std::size_t at = 0; at < s.byParent.size(); at += kSlice)
        s.sliceStarts.push_back(at);
    s.sliceStarts.push_back(s.byParent.size());
    s.goneBySlice.resize(s.sliceStarts.size() - 1);
}

void MovedOrDeletedLookup::start() {
    constexpr std::size_t kHelpers = 3;
    const std::size_t slices = m_state->goneBySlice.size();
    // A helper that starts after the last slice was taken finds nothing left and ends.
    for (std::size_t h = 0; h < std::min(kHelpers, slices); ++h)
        Dispatch::globalQueue().async([state = m_state] { state->work(); });
}

std::vector<const DuplicateItem*> MovedOrDeletedLookup::finish() {
    State& s = *m_state;
    s.work();
    {
        // Slices still being looked up by a helper: at most one each.
        std::unique_lock lock(s.mutex);
        s.allDone.wait(lock, [&] { return s.done == s.goneBySlice.size(); });
    }
    std::vector<const DuplicateItem*> gone = std::move(s.goneAlone);
    for (const auto& slice : s.goneBySlice)
        gone.insert(gone.end(), slice.begin(), slice.end());
    return gone;
}

std::vector<const DuplicateItem*> movedOrDeletedCopies(std::vector<CopyPath> paths) {
    MovedOrDeletedLookup lookup(std::move(paths));
    lookup.start();
    return lookup.finish();
}

std::vector<HeapGroupEntry> buildWorkingArray(const std::vector<CopySnapshot>& copies,
                                              const std::vector<CopyPath>* paths) {
    std::vector<HeapGroupEntry> entries;
    std::unordered_map<const void*, std::size_t> entryOfGroup;
    // At most one entry per copy: the list never moves its entries while it grows.
    entries.reserve(copies.size());
    entryOfGroup.reserve(copies.size());
    for (std::size_t i = 0; i < copies.size(); ++i) {
        const CopySnapshot& copy = copies[i];
        auto [found, added] = entryOfGroup.try_emplace(copy.groupKey, entries.size());
        if (added)
            entries.emplace_back();
        HeapGroupEntry& entry = entries[found->second];
        const int side = copy.inMainFolder ? 0 : 1;
        if (side == 0 && entry.lists[0].empty()) {
            // A copy lets go of its node and its path together: no path, no name.
            const bool fromPath = paths && i < paths->size() && copy.displayName.isEmpty() &&
                                  !(*paths)[i].path.isEmpty();
            entry.leftName =
                fromPath ? FileSystemItem::displayNameOfPath((*paths)[i].path) : copy.displayName;
        }
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
