#pragma once

#include <QByteArray>

#include <sys/stat.h>

// A path of any length made usable by the *at() calls (openat, fstatat, unlinkat,
// renameat). An ordinary path is used as it is, relative to the working folder. A path the
// kernel would refuse as too long (PATH_MAX bytes or more) is resolved piece by piece: its
// parent folder is opened in steps, each shorter than PATH_MAX and relative to the
// descriptor of the step before, and the last component is then named relative to that
// parent. So a folder's depth never keeps its files from being read, compared or removed.
//
// The steps follow symbolic links in the parent's components just as the kernel does for a
// whole path; the last component is left to the caller's flags (AT_SYMLINK_NOFOLLOW,
// O_NOFOLLOW). Names stay raw bytes. One object is used by one thread; the descriptor, when
// one was opened, is closed with it.
class PathAt final {
public:
    // With `splitAlways` an ordinary path is split too: dirFd() is then its parent folder
    // and name() its last component (trailing "/" dropped), as a removal needs.
    explicit PathAt(const QByteArray& path, bool splitAlways = false);
    ~PathAt();
    PathAt(const PathAt&) = delete;
    PathAt& operator=(const PathAt&) = delete;

    // False when the parent of a long path could not be opened (errno kept) or the path is
    // empty or holds a NUL byte (errno ENOENT or EINVAL).
    bool isValid() const { return m_valid; }
    // The folder `name()` is relative to: AT_FDCWD for an ordinary path.
    int dirFd() const { return m_dirFd; }
    const char* name() const { return m_name.constData(); }

    // Shorter paths go to the kernel whole.
    static bool isLong(const QByteArray& path);
    // lstat (stat with `followLink`) of a path of any length; answers false (errno kept) when
    // nothing can be read there.
    static bool stat(const QByteArray& path, struct stat* st, bool followLink = false);

private:
    int m_dirFd;
    bool m_ownsFd = false;
    bool m_valid = false;
    QByteArray m_name;
};
