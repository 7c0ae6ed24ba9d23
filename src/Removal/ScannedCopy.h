#pragma once

#include <QByteArray>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class DuplicateItem;
class FileManager;

// What one copy looked like when it was scanned: enough to tell, on disk and from any
// thread, whether the item at its path still is that copy. Taken on the main thread from
// the result model, which only that thread may read while a removal runs.
struct ScannedCopy {
    // One entry below a scanned folder, by its path relative to that folder.
    struct Entry {
        QByteArray relativePath;
        bool isFolder = false;
        std::int64_t size = 0; // files only

        bool operator==(const Entry&) const = default;
        bool operator<(const Entry& other) const { return relativePath < other.relativePath; }
    };

    QByteArray path;
    bool isFolder = false;
    std::int64_t size = 0;                          // files: the logical size
    std::optional<std::int64_t> modificationTimeNs; // files: when the group was formed
    // Which item the path held when the group was formed (0 when it could not be read):
    // a copy replaced in place, a hard link or a bind mount of another copy shows here.
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::optional<std::int64_t> changeTimeNs; // st_ctim, nanoseconds since 1970
    std::vector<Entry> entries;               // folders: every entry below, sorted

    // Taken from a copy of the result model. Main thread. Nothing for a copy that has left
    // its group (no node, no path).
    static std::shared_ptr<const ScannedCopy> snapshot(const DuplicateItem& item);

    // True when the item at `path` is still this copy: a regular file of the scanned size
    // and modification time, or a folder whose entries, all the way down, are the scanned
    // ones (the names that never become nodes, such as ".DS_Store", aside). A link, a
    // device, an unreadable folder or another file system inside counts as a change.
    // Never follows a symbolic link. Any thread.
    bool isUnchangedOnDisk(const FileManager& fileManager) const;
};
