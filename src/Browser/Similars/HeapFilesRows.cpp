#include "Browser/Similars/HeapFilesRows.h"

#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "Platform/Dispatch.h"
#include "Platform/PathAt.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesHeap.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

namespace HeapFilesRows {

std::vector<CopySnapshot> takeSnapshot(const DuplicatesHeap& heap, bool withNames) {
    FolderSystemItem* main = heap.getMainFolderItem();
    const QByteArray mainPath = main ? main->path() : QByteArray();
    const auto& items = heap.getDuplicateItems().items();
    std::vector<CopySnapshot> out(items.size());
    // Each copy is a few reads into the result, tens of thousands of them: slices are taken
    // on a few threads while this one waits, and so changes nothing.
    constexpr std::size_t kSlice = 4096;
    Dispatch::applyInSlices(items.size(), kSlice, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            const auto& copy = items[i];
            if (!copy)
                continue;
            CopySnapshot& snapshot = out[i];
            snapshot.copy = copy;
            snapshot.groupKey = copy->getGroup().get();
            snapshot.inMainFolder = copy->parentFolderPathView() == mainPath;
            // The copy keeps its node's path: the name is read from it, not from the tree.
            if (withNames && copy->getFileSystemItem())
                snapshot.displayName = FileSystemItem::displayNameOfPath(copy->getFileItemPath());
        }
    });
    std::erase_if(out, [](const CopySnapshot& snapshot) { return !snapshot.copy; });
    return out;
}

namespace {

// |name| with each code unit folded as QString::compare() folds it without regard to case (a
// low surrogate as the second half of its pair): comparing two keys code unit by code unit,
// then by length, orders the names as that comparison does.
std::u16string caseInsensitiveKey(QStringView name) {
    std::u16string key;
    key.reserve(std::size_t(name.size()));
    char16_t last = 0;
    for (const QChar unit : name) {
        const char16_t c = unit.unicode();
        if (QChar::isLowSurrogate(c) && QChar::isHighSurrogate(last))
            key.push_back(
                QChar::lowSurrogate(QChar::toCaseFolded(QChar::surrogateToUcs4(last, c))));
        else
            key.push_back(char16_t(QChar::toCaseFolded(char32_t(c))));
        last = c;
    }
    return key;
}

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
    static constexpr std::size_t kSlice = 1024;
    // A heap's copies lie in two folders, mostly taken in turn: a slice keeps the last few
    // folders it opened, so that it opens each of them once.
    static constexpr std::size_t kOpenFolders = 4;

    std::shared_ptr<const std::vector<CopyPath>> paths;
    std::vector<std::vector<const DuplicateItem*>> goneBySlice;
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::condition_variable allDone;
    std::size_t done = 0;

    struct OpenFolder {
        QByteArrayView path;
        int fd = -1; // -1: it could not be opened, so its files are looked up by their paths
        std::size_t lastUse = 0;
    };

    void lookUp(std::size_t slice) {
        const std::vector<CopyPath>& all = *paths;
        auto& gone = goneBySlice[slice];
        std::array<OpenFolder, kOpenFolders> open{};
        std::size_t opened = 0;
        std::size_t uses = 0;
        struct stat info {};
        const std::size_t end = std::min(all.size(), (slice + 1) * kSlice);
        for (std::size_t i = slice * kSlice; i < end; ++i) {
            const QByteArray& path = all[i].path;
            bool present = false;
            const qsizetype slash = path.isEmpty() ? -1 : splitPoint(path);
            if (slash < 0) {
                present = !path.isEmpty() && PathAt::stat(path, &info);
            } else {
                const QByteArrayView parent = QByteArrayView(path).first(slash);
                OpenFolder* folder = nullptr;
                for (std::size_t k = 0; k < opened && !folder; ++k)
                    if (open[k].path == parent)
                        folder = &open[k];
                if (!folder) {
                    if (opened < kOpenFolders) {
                        folder = &open[opened++];
                    } else {
                        folder = &*std::min_element(
                            open.begin(), open.end(),
                            [](const auto& a, const auto& b) { return a.lastUse < b.lastUse; });
                        if (folder->fd >= 0)
                            ::close(folder->fd);
                    }
                    folder->path = parent;
                    // The path up to the folder resolves as it would inside the file's path.
                    folder->fd =
                        ::open(parent.toByteArray().constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
                }
                folder->lastUse = ++uses;
                present = folder->fd >= 0 ? ::fstatat(folder->fd, path.constData() + slash + 1,
                                                      &info, AT_SYMLINK_NOFOLLOW) == 0
                                          : PathAt::stat(path, &info);
            }
            if (!present)
                gone.push_back(all[i].copy);
        }
        for (std::size_t k = 0; k < opened; ++k)
            if (open[k].fd >= 0)
                ::close(open[k].fd);
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
    : MovedOrDeletedLookup(std::make_shared<const std::vector<CopyPath>>(std::move(paths))) {}

MovedOrDeletedLookup::MovedOrDeletedLookup(std::shared_ptr<const std::vector<CopyPath>> paths)
    : m_state(std::make_shared<State>()) {
    m_state->paths = std::move(paths);
    m_state->goneBySlice.resize((m_state->paths->size() + State::kSlice - 1) / State::kSlice);
}

void MovedOrDeletedLookup::start() {
    // A helper that starts after the last slice was taken finds nothing left and ends.
    constexpr std::size_t kHelpers = 6;
    const std::size_t slices = m_state->goneBySlice.size();
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
    std::vector<const DuplicateItem*> gone;
    for (const auto& slice : s.goneBySlice)
        gone.insert(gone.end(), slice.begin(), slice.end());
    return gone;
}

std::vector<const DuplicateItem*> movedOrDeletedCopies(std::vector<CopyPath> paths) {
    MovedOrDeletedLookup lookup(std::move(paths));
    lookup.start();
    return lookup.finish();
}

std::vector<HeapGroupEntry> buildWorkingArray(std::vector<CopySnapshot> copies,
                                              const std::vector<CopyPath>* paths) {
    std::vector<HeapGroupEntry> entries;
    std::unordered_map<const void*, std::size_t> entryOfGroup;
    // At most one entry per copy: the list never moves its entries while it grows.
    entries.reserve(copies.size());
    entryOfGroup.reserve(copies.size());
    // A heap yields a group's copies mostly side by side: the entry of the last copy is tried
    // before the hash.
    const void* lastKey = nullptr;
    std::size_t lastEntry = 0;
    // Per entry, the copy its left name is read from.
    constexpr std::size_t kNoCopy = SIZE_MAX;
    std::vector<std::size_t> firstLeft;
    firstLeft.reserve(copies.size());
    for (std::size_t i = 0; i < copies.size(); ++i) {
        CopySnapshot& copy = copies[i];
        if (entries.empty() || copy.groupKey != lastKey) {
            auto [found, added] = entryOfGroup.try_emplace(copy.groupKey, entries.size());
            if (added) {
                entries.emplace_back();
                firstLeft.push_back(kNoCopy);
            }
            lastKey = copy.groupKey;
            lastEntry = found->second;
        }
        HeapGroupEntry& entry = entries[lastEntry];
        const int side = copy.inMainFolder ? 0 : 1;
        if (side == 0 && entry.lists[0].empty())
            firstLeft[lastEntry] = i;
        entry.lists[side].push_back(std::move(copy.copy));
    }
    // The names are decoded and folded once each (the sort then compares plain code units),
    // tens of thousands of them: in slices on a few threads.
    std::vector<std::u16string> keys(entries.size());
    constexpr std::size_t kSlice = 2048;
    Dispatch::applyInSlices(entries.size(), kSlice, [&](std::size_t begin, std::size_t end) {
        for (std::size_t e = begin; e < end; ++e) {
            const std::size_t i = firstLeft[e];
            if (i == kNoCopy)
                continue;
            // A copy lets go of its node and its path together: no path, no name.
            const CopySnapshot& copy = copies[i];
            const bool fromPath = paths && i < paths->size() && copy.displayName.isEmpty() &&
                                  !(*paths)[i].path.isEmpty();
            entries[e].leftName =
                fromPath ? FileSystemItem::displayNameOfPath((*paths)[i].path) : copy.displayName;
            keys[e] = caseInsensitiveKey(entries[e].leftName);
        }
    });
    std::vector<std::size_t> order(entries.size());
    for (std::size_t e = 0; e < entries.size(); ++e)
        order[e] = e;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const bool aLeft = !entries[a].lists[0].empty();
        const bool bLeft = !entries[b].lists[0].empty();
        if (!aLeft || !bLeft)
            return aLeft && !bLeft;
        return keys[a] < keys[b];
    });
    std::vector<HeapGroupEntry> sorted;
    sorted.reserve(entries.size());
    for (const std::size_t e : order)
        sorted.push_back(std::move(entries[e]));
    return sorted;
}

std::vector<HeapPairRow> buildPairRows(const std::vector<HeapGroupEntry>& entries,
                                       int selectedGroup) {
    std::size_t count = 0;
    for (const HeapGroupEntry& entry : entries)
        count += std::max(entry.lists[0].size(), entry.lists[1].size());
    std::vector<HeapPairRow> rows;
    rows.reserve(count);
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
    // A sorted list rather than a hash set: one allocation instead of one per copy.
    std::vector<const FileSystemItem*> shared;
    for (const HeapGroupEntry& entry : entries)
        for (const auto& copy : entry.lists[side])
            if (copy)
                shared.push_back(copy->getFileSystemItem());
    const std::less<const FileSystemItem*> before;
    std::sort(shared.begin(), shared.end(), before);
    std::vector<FileSystemItem*> out;
    for (FileSystemItem* child : children)
        if (child && !std::binary_search(shared.begin(), shared.end(), child, before))
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
