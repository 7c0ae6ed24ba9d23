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
    // Folders: when the group was formed; an entry below changed later is a change.
    std::optional<std::int64_t> recordedAtNs;
    std::vector<Entry> entries; // folders: every entry below, sorted

    // Taken from a copy of the result model. Main thread. Nothing for a copy that has left
    // its group (no node, no path).
    static std::shared_ptr<const ScannedCopy> snapshot(const DuplicateItem& item);

    // What the disk shows at `path` now.
    enum class DiskState {
        Unchanged,  // still this copy
        Changed,    // something else is there, or the path now runs through a link
        Gone,       // nothing is there (ENOENT or ENOTDIR on the path itself)
        Unreadable, // it cannot be told: the look-up failed otherwise (errno given)
    };

    // Unchanged when the item at `path` is still this copy: the same item (device, inode,
    // change time), a regular file of the scanned size and modification time, or a folder
    // whose entries, all the way down, are the scanned ones (the names that never become
    // nodes, such as ".DS_Store", aside). A link, a device or another file system inside
    // counts as a change, a folder inside that cannot be read as Unreadable. A copy whose
    // identity could not be recorded is never Unchanged. Never follows a symbolic link,
    // neither at the path nor on the way to it. `error` gets the errno value of an
    // Unreadable answer. Any thread.
    DiskState stateOnDisk(const FileManager& fileManager, int* error = nullptr) const;
    bool isUnchangedOnDisk(const FileManager& fileManager) const {
        return stateOnDisk(fileManager) == DiskState::Unchanged;
    }
    // The same item as `other` was when both were recorded (device and inode).
    bool isSameItemAs(const ScannedCopy& other) const {
        return inode != 0 && device == other.device && inode == other.inode;
    }
};
