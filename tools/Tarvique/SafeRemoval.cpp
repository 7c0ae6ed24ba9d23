#include "SafeRemoval.h"

#include "Platform/RemoveTree.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

const char* const kProtectedTopFolders[] = {"bin",  "boot",  "dev",   "etc",   "lib",
                                            "proc", "run",   "sys",   "usr",   "var",
                                            "sbin", "lib32", "lib64", "libx32"};

// Deeper folders than this are not walked: the walk holds a descriptor per level.
constexpr int kMaxDepth = 512;

std::vector<std::string> splitComponents(const std::string& path) {
    std::vector<std::string> components;
    std::size_t start = 1;
    while (start <= path.size()) {
        const std::size_t slash = path.find('/', start);
        const std::size_t end = slash == std::string::npos ? path.size() : slash;
        components.push_back(path.substr(start, end - start));
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    return components;
}

class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd& operator=(Fd&& other) noexcept {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

struct FileId {
    dev_t device;
    ino_t inode;
    bool operator==(const FileId&) const = default;
};

FileId idOf(const struct stat& st) {
    return {st.st_dev, st.st_ino};
}

// The mount a descriptor lies on; 0 where the kernel cannot tell.
std::uint64_t mountIdOf(int fd) {
    struct statx stx {};
    if (::statx(fd, "", AT_EMPTY_PATH | AT_SYMLINK_NOFOLLOW, STATX_MNT_ID, &stx) != 0 ||
        !(stx.stx_mask & STATX_MNT_ID))
        return 0;
    return stx.stx_mnt_id;
}

bool onDifferentMounts(int a, int b) {
    const std::uint64_t first = mountIdOf(a);
    const std::uint64_t second = mountIdOf(b);
    return first != 0 && second != 0 && first != second;
}

// The folders that are someone's home: every home of the password database, as it resolves
// (links followed, but no automounted home mounted just to be looked at).
std::vector<FileId> homeFolders() {
    std::vector<FileId> homes;
    struct stat st {};
    ::setpwent();
    while (const passwd* entry = ::getpwent()) {
        if (entry->pw_dir && entry->pw_dir[0] == '/' &&
            ::fstatat(AT_FDCWD, entry->pw_dir, &st, AT_NO_AUTOMOUNT) == 0 && S_ISDIR(st.st_mode))
            homes.push_back(idOf(st));
    }
    ::endpwent();
    return homes;
}

bool contains(const std::vector<FileId>& ids, const FileId& id) {
    for (const FileId& each : ids) {
        if (each == id)
            return true;
    }
    return false;
}

// The mount points of this process's namespace, unescaped ("\040" is a space).
int readMountPoints(std::vector<std::string>* points) {
    FILE* file = std::fopen("/proc/self/mountinfo", "re");
    if (!file)
        return errno ? errno : EIO;
    char* line = nullptr;
    std::size_t capacity = 0;
    while (::getline(&line, &capacity, file) > 0) {
        // "id parent major:minor root mount-point options ...": the fifth field.
        const char* field = line;
        for (int i = 0; i < 4 && field; ++i) {
            field = std::strchr(field, ' ');
            if (field)
                ++field;
        }
        if (!field)
            continue;
        std::string point;
        for (const char* c = field; *c && *c != ' ' && *c != '\n'; ++c) {
            if (c[0] == '\\' && c[1] >= '0' && c[1] <= '3' && c[2] >= '0' && c[2] <= '7' &&
                c[3] >= '0' && c[3] <= '7') {
                point.push_back(char((c[1] - '0') * 64 + (c[2] - '0') * 8 + (c[3] - '0')));
                c += 3;
            } else {
                point.push_back(*c);
            }
        }
        points->push_back(std::move(point));
    }
    std::free(line);
    std::fclose(file);
    return 0;
}

// EBUSY when something is mounted at `path` or anywhere below it.
int checkNoMountAtOrBelow(const std::string& path) {
    std::vector<std::string> points;
    if (const int error = readMountPoints(&points); error != 0)
        return error;
    const std::string below = path + "/";
    for (const std::string& point : points) {
        if (point == path || point.compare(0, below.size(), below) == 0)
            return EBUSY;
    }
    return 0;
}

struct Walk {
    dev_t device;
    std::uint64_t mountId;
    const std::vector<FileId>* homes;
    std::uint64_t size = 0;
};

// Calls `visit(folderFd, name)` for each entry of the folder open at `fd` (taken over) but
// "." and "..", until a call answers an error; answers that error, or the reading's own.
template <typename Visit>
int forEachEntry(int fd, Visit&& visit) {
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    int result = 0;
    while (result == 0) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            result = errno;
            break;
        }
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        result = visit(::dirfd(dir), entry->d_name);
    }
    ::closedir(dir);
    return result;
}

// Adds up the regular files below the folder open at `fd` (taken over). Refuses a home
// folder (EPERM) or another mount (EBUSY) anywhere inside.
int walkFolder(int fd, Walk& walk, int depth) {
    if (depth > kMaxDepth) {
        ::close(fd);
        return ELOOP;
    }
    return forEachEntry(fd, [&](int folderFd, const char* name) {
        struct stat st {};
        if (::fstatat(folderFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return errno;
        if (S_ISREG(st.st_mode)) {
            if (!PrivilegedRemovalProtocol::isNeverScannedName(name))
                walk.size += std::uint64_t(st.st_size);
            return 0;
        }
        if (!S_ISDIR(st.st_mode))
            return 0;
        if (st.st_dev != walk.device)
            return EBUSY;
        if (contains(*walk.homes, idOf(st)))
            return EPERM;
        const int sub = ::openat(folderFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub < 0)
            return errno;
        const std::uint64_t mountId = mountIdOf(sub);
        if (walk.mountId != 0 && mountId != 0 && mountId != walk.mountId) {
            ::close(sub);
            return EBUSY;
        }
        return walkFolder(sub, walk, depth + 1);
    });
}

// Removes everything inside the folder open at `fd` (taken over), never leaving `device`.
int emptyFolder(int fd, dev_t device) {
    return forEachEntry(fd, [device](int folderFd, const char* name) {
        return removeTreeAt(folderFd, name, device);
    });
}

bool sameAs(int fd, const char* path) {
    struct stat opened {
    }, named{};
    return ::fstat(fd, &opened) == 0 && ::stat(path, &named) == 0 && idOf(opened) == idOf(named);
}

} // namespace

namespace SafeRemoval {

int checkPath(const std::string& path) {
    if (path.empty() || path[0] != '/')
        return EINVAL;
    if (path.size() >= PATH_MAX || path.find('\0') != std::string::npos)
        return ENAMETOOLONG;
    if (path == "/")
        return EPERM;
    const std::vector<std::string> components = splitComponents(path);
    for (const std::string& component : components) {
        if (component.empty() || component == "." || component == "..")
            return EINVAL;
    }
    // A top-level folder is never one copy among others: it is a system's or a volume's.
    if (components.size() == 1)
        return EPERM;
    if (components.size() == 2 && components.front() == "home")
        return EPERM;
    for (const char* top : kProtectedTopFolders) {
        if (components.front() == top)
            return EPERM;
    }
    return 0;
}

int removePath(const std::string& path, const Identity& identity) {
    if (const int refusal = checkPath(path); refusal != 0)
        return refusal;
    const std::vector<std::string> components = splitComponents(path);
    Fd parent(::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (parent.get() < 0)
        return errno;
    for (std::size_t i = 0; i + 1 < components.size(); ++i) {
        // O_NOFOLLOW makes a link in the way fail with ELOOP (or ENOTDIR with O_DIRECTORY)
        // instead of being followed; nothing is ever resolved through one.
        Fd next(::openat(parent.get(), components[i].c_str(),
                         O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (next.get() < 0)
            return errno;
        parent = std::move(next);
    }
    const char* name = components.back().c_str();
    const bool isFolder = identity.kind == Identity::Folder;
    // A file is only looked at (O_PATH opens neither a FIFO nor a device); a folder is
    // opened for reading, and its content is later removed through this very descriptor.
    Fd target(::openat(parent.get(), name,
                       isFolder ? O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC
                                : O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (target.get() < 0)
        return errno == ENOTDIR && isFolder ? ESTALE : errno;
    struct stat st {
    }, parentSt{};
    if (::fstat(target.get(), &st) != 0 || ::fstat(parent.get(), &parentSt) != 0)
        return errno;
    if (S_ISLNK(st.st_mode))
        return ELOOP;
    if (std::uint64_t(st.st_dev) != identity.device || std::uint64_t(st.st_ino) != identity.inode)
        return ESTALE;
    if (isFolder ? !S_ISDIR(st.st_mode) : !S_ISREG(st.st_mode))
        return ESTALE;
    if (!isFolder && std::uint64_t(st.st_size) != identity.size)
        return ESTALE;

    // The text rules again, by identity: a parent reached under another name is still the
    // root or /home.
    if (sameAs(parent.get(), "/") || sameAs(parent.get(), "/home"))
        return EPERM;
    const std::vector<FileId> homes = homeFolders();
    if (contains(homes, idOf(st)))
        return EPERM;
    if (st.st_dev != parentSt.st_dev || onDifferentMounts(target.get(), parent.get()))
        return EBUSY;
    if (const int mounted = checkNoMountAtOrBelow(path); mounted != 0)
        return mounted;

    if (!isFolder)
        return ::unlinkat(parent.get(), name, 0) == 0 ? 0 : errno;

    Walk walk{st.st_dev, mountIdOf(target.get()), &homes};
    const int copy = ::fcntl(target.get(), F_DUPFD_CLOEXEC, 0);
    if (copy < 0)
        return errno;
    if (const int refusal = walkFolder(copy, walk, 0); refusal != 0)
        return refusal;
    // Less is what a removal without rights leaves when it stopped half-way; more is
    // something the scan never saw.
    if (walk.size > identity.size)
        return ESTALE;
    // The walk shared the descriptor's position: start the removal from the first entry.
    if (::lseek(target.get(), 0, SEEK_SET) != 0)
        return errno;
    if (const int failure = emptyFolder(target.release(), st.st_dev); failure != 0)
        return failure;
    return ::unlinkat(parent.get(), name, AT_REMOVEDIR) == 0 ? 0 : errno;
}

} // namespace SafeRemoval
