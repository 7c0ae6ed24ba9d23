#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cerrno>
#include <cstdint>

// What went wrong in a file operation. `code` is one of the codes below, or a negative errno
// value for every other failure; 0 means no error.
struct FileError {
    int code = 0;
    QString description;

    bool isError() const { return code != 0; }
};

// The kind of item found at a path. Symbolic links are never followed: a link is a link,
// whatever it points to.
enum class FileKind { None, File, Folder, Link, Other };

// What lstat tells of a path. `kind` is None when nothing is there or it cannot be read;
// `error` then says why.
struct FileAttributes {
    FileKind kind = FileKind::None;
    std::int64_t size = 0;               // logical size in bytes (st_size)
    std::int64_t modificationTimeNs = 0; // st_mtim in nanoseconds since 1970
    std::uint64_t device = 0;            // st_dev
    std::uint64_t inode = 0;             // st_ino
    std::int64_t changeTimeNs = 0;       // st_ctim in nanoseconds since 1970
    // With kind None: the errno value of the failed look-up. Only ENOENT and ENOTDIR mean
    // that nothing is at the path; EACCES, EIO and the rest mean it could not be read.
    int error = 0;
    // With kind None: a folder on the way to the path is now a symbolic link, so the path
    // does not lead where it did (error is then ELOOP).
    bool throughLink = false;

    bool exists() const { return kind != FileKind::None; }
    // Nothing is at the path: no other failure of the look-up counts.
    bool isGone() const { return kind == FileKind::None && (error == ENOENT || error == ENOTDIR); }
};

// Files and folders as the removal sees them. Paths are raw bytes. No call ever follows a
// symbolic link, neither in the last component nor in the folders on the way: each path is
// opened one folder at a time without following links (PathAtNoFollow) and the item is then
// read, listed, removed or moved relative to its parent's descriptor; a path through a link
// fails with ELOOP. A link is removed or trashed as itself, and a recursive removal never
// leaves the file system of the folder it started in. Safe to call from any thread; the default
// manager keeps no state. Subclasses may stand in for the Trash or for removal in tests.
class FileManager {
public:
    // No permission to write (remove, move to the Trash, create).
    static constexpr int NoWritePermissionError = 513;
    // No permission to read (list a folder).
    static constexpr int NoReadPermissionError = 257;
    // The item's volume has no Trash.
    static constexpr int VolumeHasNoTrashError = 3328;

    static FileManager& defaultManager();

    FileManager() = default;
    virtual ~FileManager() = default;
    FileManager(const FileManager&) = delete;
    FileManager& operator=(const FileManager&) = delete;

    virtual FileAttributes attributesOfItemAtPath(const QByteArray& path) const;
    // True when anything, a dangling link included, is at the path.
    bool fileExistsAtPath(const QByteArray& path) const;

    // Removes a file, a link or a whole folder. Answers true when nothing is left at the
    // path; on failure fills `error` (513 for a refused removal, 257 for a folder that
    // cannot be listed) and whatever was removed before the failure stays removed.
    virtual bool removeItemAtPath(const QByteArray& path, FileError* error) const;

    // Moves the item to the freedesktop.org Trash of its volume: the user's own Trash under
    // $XDG_DATA_HOME for the home volume, $topdir/.Trash/$uid (a sticky, shared .Trash) or
    // $topdir/.Trash-$uid at the top of any other volume. The .trashinfo record is written
    // first and removed again when the move fails. The root volume, when it is not the
    // home one, and a volume where no Trash can be made answer 3328.
    virtual bool trashItemAtPath(const QByteArray& path, FileError* error) const;

    // The names of a folder's entries, "." and ".." left out. Answers false with `error`
    // set when the folder cannot be listed.
    virtual bool contentsOfDirectoryAtPath(const QByteArray& path, QList<QByteArray>* names,
                                           FileError* error) const;

    // The volume of a path (see VolumeInfo): its mount point followed by "/" (empty on the
    // root volume), and the name to show for it.
    virtual QByteArray volumePathPrefixOfPath(const QByteArray& path) const;
    virtual QString localizedNameOfVolumeForPath(const QByteArray& path) const;

    // The last path component decoded for display.
    static QString displayNameAtPath(const QByteArray& path);

    // Maps an errno value to the codes above: EACCES, EPERM and EROFS become 513 when
    // writing and 257 when reading; every other value becomes -errno.
    static int errorCodeForErrno(int errnoValue, bool writing);
    static FileError errorForErrno(int errnoValue, bool writing, const QByteArray& path);
};
