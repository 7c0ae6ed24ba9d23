#include "ReadOnlyFile.h"

#include "Platform/PathAt.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ReadOnlyFile::ReadOnlyFile(const QByteArray& path) {
    const PathAt at(path);
    if (at.isValid())
        openAt(at.dirFd(), at.name());
}

ReadOnlyFile::ReadOnlyFile(int folderFd, const char* name) {
    openAt(folderFd, name);
}

void ReadOnlyFile::openAt(int folderFd, const char* name) {
    // O_NONBLOCK keeps open() from waiting on a FIFO writer; the fstat below then turns
    // the FIFO away. On a regular file the flag has no effect on reads.
    int fd;
    do {
        fd = ::openat(folderFd, name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return;
    }
    m_fd = fd;
    m_size = st.st_size;
}

ReadOnlyFile::~ReadOnlyFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

std::int64_t ReadOnlyFile::readAt(void* buffer, std::size_t length, std::int64_t offset) const {
    if (m_fd < 0 || offset < 0)
        return -1;
    for (;;) {
        const ssize_t n = ::pread(m_fd, buffer, length, offset);
        if (n >= 0)
            return n;
        if (errno != EINTR)
            return -1;
    }
}

void ReadOnlyFile::adviseSequential() const {
    if (m_fd >= 0)
        ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
}

void ReadOnlyFile::adviseWillNeed(std::int64_t offset, std::int64_t length) const {
    if (m_fd >= 0 && offset >= 0 && length > 0)
        ::posix_fadvise(m_fd, offset, length, POSIX_FADV_WILLNEED);
}

void ReadOnlyFile::adviseRandom() const {
    if (m_fd >= 0)
        ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_RANDOM);
}
