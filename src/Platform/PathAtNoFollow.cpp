#include "Platform/PathAtNoFollow.h"

#include <QList>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The components of a path, runs of "/" made one; `absolute` tells whether it began at the
// root. A "." or ".." is refused: a recorded path never holds one, and ".." would climb out
// of the folder just checked.
bool splitComponents(const QByteArray& path, std::vector<QByteArray>* parts, bool* absolute) {
    *absolute = path.startsWith('/');
    for (const QByteArray& part : path.split('/')) {
        if (part.isEmpty())
            continue;
        if (part == "." || part == "..")
            return false;
        parts->push_back(part);
    }
    return !parts->empty();
}

int openStep(int dirFd, const char* name) {
    int fd;
    do {
        fd = ::openat(dirFd, name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int openStart(bool absolute) {
    return ::open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
}

} // namespace

PathAtNoFollow::PathAtNoFollow(const QByteArray& path) {
    std::vector<QByteArray> parts;
    bool absolute = false;
    if (path.contains('\0') || !splitComponents(path, &parts, &absolute)) {
        m_error = path.isEmpty() ? ENOENT : EINVAL;
        return;
    }
    m_name = parts.back();
    m_parentPath = absolute ? QByteArray("/") : QByteArray();
    int fd = openStart(absolute);
    if (fd < 0) {
        m_error = errno;
        return;
    }
    struct stat st {};
    m_devices.push_back(::fstat(fd, &st) == 0 ? st.st_dev : dev_t(0));
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        const char* step = parts[i].constData();
        const int next = openStep(fd, step);
        if (next < 0) {
            m_error = errno;
            // O_NOFOLLOW | O_DIRECTORY fails on a link with ELOOP or ENOTDIR, as it does on
            // a file: only a look at the entry tells a link (the path was redirected) from
            // a file (the path is gone).
            if ((m_error == ELOOP || m_error == ENOTDIR) &&
                ::fstatat(fd, step, &st, AT_SYMLINK_NOFOLLOW) == 0) {
                m_throughLink = S_ISLNK(st.st_mode);
                if (!m_throughLink)
                    m_error = ENOTDIR;
            }
            ::close(fd);
            return;
        }
        ::close(fd);
        fd = next;
        m_devices.push_back(::fstat(fd, &st) == 0 ? st.st_dev : dev_t(0));
        if (!m_parentPath.isEmpty() && !m_parentPath.endsWith('/'))
            m_parentPath += '/';
        m_parentPath += parts[i];
    }
    m_dirFd = fd;
}

PathAtNoFollow::~PathAtNoFollow() {
    if (m_dirFd >= 0)
        ::close(m_dirFd);
}

bool PathAtNoFollow::stat(struct stat* st) const {
    if (m_dirFd < 0) {
        errno = m_error ? m_error : EBADF;
        return false;
    }
    return ::fstatat(m_dirFd, m_name.constData(), st, AT_SYMLINK_NOFOLLOW) == 0;
}

int PathAtNoFollow::openPrefix(const QByteArray& path, std::size_t count) {
    std::vector<QByteArray> parts;
    bool absolute = false;
    if (path.contains('\0') || !splitComponents(path, &parts, &absolute)) {
        errno = EINVAL;
        return -1;
    }
    int fd = openStart(absolute);
    for (std::size_t i = 0; fd >= 0 && i < count && i < parts.size(); ++i) {
        const int next = openStep(fd, parts[i].constData());
        const int saved = errno;
        ::close(fd);
        fd = next;
        errno = saved;
    }
    return fd;
}
