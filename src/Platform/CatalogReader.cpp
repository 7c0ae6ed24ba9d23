#include "Platform/CatalogReader.h"

#include "Platform/PathAt.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

namespace {

struct LinuxDirent64 {
    ino64_t d_ino;
    off64_t d_off;
    unsigned short d_reclen;
    unsigned char d_type;
    char d_name[];
};

constexpr std::size_t kBufferSize = 32 * 1024;

bool isDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

} // namespace

CatalogReader::CatalogReader() : m_buffer(kBufferSize) {}

CatalogReader::~CatalogReader() {
    close();
}

bool CatalogReader::open(const QByteArray& path, bool followLink) {
    close();
    int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK;
    if (!followLink)
        flags |= O_NOFOLLOW;
    const PathAt at(path);
    if (!at.isValid())
        return false;
    const int fd = ::openat(at.dirFd(), at.name(), flags);
    if (fd < 0)
        return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode)) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return false;
    }
    m_fd = fd;
    m_device = st.st_dev;
    m_inode = st.st_ino;
    m_eof = false;
    m_bufferUsed = m_bufferPos = 0;
    return true;
}

void CatalogReader::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_bufferUsed = m_bufferPos = 0;
}

bool CatalogReader::isOnPseudoFileSystem() const {
    struct statfs fs;
    if (m_fd < 0 || ::fstatfs(m_fd, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEVPTS_SUPER_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case PSTOREFS_MAGIC:
    case BPF_FS_MAGIC:
    case 0x62656570: // configfs
    case 0x65735543: // fusectl
    case 0x19800202: // mqueue
    case HUGETLBFS_MAGIC:
        return true;
    default:
        break;
    }
    // devtmpfs reports the tmpfs magic; tell it apart by its usual mount point's device.
    if (static_cast<unsigned long>(fs.f_type) == TMPFS_MAGIC) {
        struct stat dev;
        if (::stat("/dev", &dev) == 0 && dev.st_dev == m_device)
            return true;
    }
    return false;
}

CatalogReader::Status CatalogReader::readBulk(std::vector<Entry>& out, std::size_t max) {
    out.clear();
    if (m_fd < 0)
        return Status::Error;
    while (out.size() < max) {
        if (m_bufferPos >= m_bufferUsed) {
            if (m_eof)
                return Status::End;
            // The names handed out point into the buffer; refill it only for a new batch.
            if (!out.empty())
                return Status::More;
            const long n = ::syscall(SYS_getdents64, m_fd, m_buffer.data(), m_buffer.size());
            if (n < 0)
                return Status::Error;
            if (n == 0) {
                m_eof = true;
                return Status::End;
            }
            m_bufferUsed = std::size_t(n);
            m_bufferPos = 0;
        }
        auto* d = reinterpret_cast<LinuxDirent64*>(m_buffer.data() + m_bufferPos);
        m_bufferPos += d->d_reclen;
        if (isDotOrDotDot(d->d_name))
            continue;

        Entry entry;
        entry.name = QByteArrayView(d->d_name, qsizetype(std::strlen(d->d_name)));
        entry.inode = d->d_ino;
        if (d->d_type == DT_LNK) {
            // A link is an alias: no node, never followed, so its target is never asked.
            entry.kind = Kind::Link;
            entry.finderFlags = kAliasFlag;
        } else if (d->d_type == DT_FIFO || d->d_type == DT_SOCK || d->d_type == DT_CHR ||
                   d->d_type == DT_BLK) {
            entry.kind = Kind::Other;
        } else {
            struct stat st;
            if (::fstatat(m_fd, d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // gone since the folder was listed
            entry.device = st.st_dev;
            entry.inode = st.st_ino;
            entry.logicalSize = st.st_size;
            entry.physicalSize = std::int64_t(st.st_blocks) * 512;
            if (S_ISDIR(st.st_mode)) {
                entry.kind = Kind::Directory;
                entry.isDirectory = true;
            } else if (S_ISREG(st.st_mode)) {
                entry.kind = Kind::File;
            } else if (S_ISLNK(st.st_mode)) {
                entry.kind = Kind::Link;
                entry.finderFlags = kAliasFlag;
            } else {
                entry.kind = Kind::Other;
            }
        }
        out.push_back(entry);
    }
    return m_eof && m_bufferPos >= m_bufferUsed ? Status::End : Status::More;
}
