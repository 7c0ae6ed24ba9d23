#include "Platform/PathAt.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

bool PathAt::isLong(const QByteArray& path) {
    return path.size() >= PATH_MAX;
}

bool PathAt::stat(const QByteArray& path, struct stat* st, bool followLink) {
    const PathAt at(path);
    return at.isValid() &&
           ::fstatat(at.dirFd(), at.name(), st, followLink ? 0 : AT_SYMLINK_NOFOLLOW) == 0;
}

PathAt::PathAt(const QByteArray& path, bool splitAlways) : m_dirFd(AT_FDCWD) {
    if (path.isEmpty() || path.contains('\0')) {
        errno = path.isEmpty() ? ENOENT : EINVAL;
        return;
    }
    if (!splitAlways && !isLong(path)) {
        m_name = path;
        m_valid = true;
        return;
    }
    // Runs of "/" become one, so no step after the first starts at the root.
    QByteArray trimmed;
    trimmed.reserve(path.size());
    for (const char c : path) {
        if (c != '/' || !trimmed.endsWith('/'))
            trimmed.append(c);
    }
    while (trimmed.size() > 1 && trimmed.endsWith('/'))
        trimmed.chop(1);
    const qsizetype lastSlash = trimmed.lastIndexOf('/');
    if (lastSlash < 0) {
        if (isLong(trimmed)) {
            errno = ENAMETOOLONG; // one name longer than any file system allows
            return;
        }
        m_name = trimmed; // a name in the working folder
        m_valid = true;
        return;
    }
    m_name = trimmed.mid(lastSlash + 1);
    // The parent, without its trailing "/" (a leading "/" stays, so the first step starts
    // at the root).
    const QByteArray parent = trimmed.left(lastSlash);

    int fd = AT_FDCWD;
    qsizetype start = 0;
    while (start < parent.size()) {
        qsizetype end = parent.size();
        if (end - start >= PATH_MAX) {
            // Cut at the last "/" that keeps the step below PATH_MAX; a single component is
            // at most NAME_MAX bytes, so one always exists past the start.
            end = parent.lastIndexOf('/', start + PATH_MAX - 1);
            if (end <= start) {
                if (fd != AT_FDCWD)
                    ::close(fd);
                errno = ENAMETOOLONG;
                return;
            }
        }
        QByteArray step = parent.mid(start, end - start);
        if (step.isEmpty())
            step = "/";
        int next;
        do {
            next = ::openat(fd, step.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        } while (next < 0 && errno == EINTR);
        const int saved = errno;
        if (fd != AT_FDCWD)
            ::close(fd);
        if (next < 0) {
            errno = saved;
            return;
        }
        fd = next;
        start = end + 1; // past the "/"
    }
    if (fd == AT_FDCWD) {
        // The parent is the root.
        fd = ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return;
    }
    m_dirFd = fd;
    m_ownsFd = true;
    m_valid = true;
}

PathAt::~PathAt() {
    if (m_ownsFd && m_dirFd >= 0)
        ::close(m_dirFd);
}
