#pragma once

#include <QByteArray>

#include <sys/stat.h>

#include <vector>

// The parent folder of a path, opened one component at a time from the root (or the working
// folder for a relative path) with O_NOFOLLOW | O_DIRECTORY, so that no symbolic link on the
// way is ever followed: a folder that became a link since the path was recorded stops the
// walk instead of leading somewhere else. Whatever is then done to the last component is
// done relative to the opened parent (fstatat, unlinkat, renameat), so the folders cannot be
// swapped under the caller between a check and the act either. Any depth works: no call
// ever gets more than one component.
//
// Descriptors are O_PATH: walking needs only the right to search each folder, as the
// kernel's own lookup does. One object is used by one thread; its descriptor is closed
// with it.
class PathAtNoFollow final {
public:
    explicit PathAtNoFollow(const QByteArray& path);
    ~PathAtNoFollow();
    PathAtNoFollow(const PathAtNoFollow&) = delete;
    PathAtNoFollow& operator=(const PathAtNoFollow&) = delete;

    // The parent was opened.
    bool isValid() const { return m_dirFd >= 0; }
    // Why not: the errno value of the step that failed (ENOENT or ENOTDIR when a folder on
    // the way is missing or is a file, EACCES when one cannot be searched, EINVAL for an
    // empty path, a NUL byte or a "." or ".." component). 0 when valid.
    int error() const { return m_error; }
    // A folder on the way is now a symbolic link: the path no longer leads where it did.
    bool isThroughLink() const { return m_throughLink; }

    int dirFd() const { return m_dirFd; }
    const char* name() const { return m_name.constData(); }
    // The path of the parent as walked (runs of "/" made one); "/" for the root, empty for
    // the working folder.
    const QByteArray& parentPath() const { return m_parentPath; }

    // fstatat of the last component relative to the parent, never following a link.
    // False (errno set) when the parent is not valid or nothing can be read there.
    bool stat(struct stat* st) const;

    // The device of every folder walked, from the first one (the root, or the working
    // folder) to the parent: a caller can find where the last file system begins.
    const std::vector<dev_t>& devices() const { return m_devices; }
    // The number of components of parentPath() (0 for the root).
    std::size_t depth() const { return m_devices.empty() ? 0 : m_devices.size() - 1; }

    // Opens `path`'s first `count` components the same way (an O_PATH descriptor, or -1
    // with errno set). For a Trash at the top of a volume.
    static int openPrefix(const QByteArray& path, std::size_t count);

private:
    int m_dirFd = -1;
    int m_error = 0;
    bool m_throughLink = false;
    QByteArray m_name;
    QByteArray m_parentPath;
    std::vector<dev_t> m_devices;
};
