#include "SafeRemoval.h"

#include "Platform/RemoveTree.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const char* const kProtectedTopFolders[] = {"bin", "boot", "dev",  "etc",   "lib",   "proc",  "sys",
                                            "usr", "var",  "sbin", "lib32", "lib64", "libx32"};

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
    for (const char* top : kProtectedTopFolders) {
        if (components.front() == top)
            return EPERM;
    }
    return 0;
}

int removePath(const std::string& path) {
    if (const int refusal = checkPath(path); refusal != 0)
        return refusal;
    const std::vector<std::string> components = splitComponents(path);
    int dirFd = ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return errno;
    for (std::size_t i = 0; i + 1 < components.size(); ++i) {
        // O_NOFOLLOW makes a link in the way fail with ELOOP (or ENOTDIR with O_DIRECTORY)
        // instead of being followed; nothing is ever resolved through one.
        const int next =
            ::openat(dirFd, components[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int err = errno;
        ::close(dirFd);
        if (next < 0)
            return err;
        dirFd = next;
    }
    const char* name = components.back().c_str();
    struct stat st {};
    int result = 0;
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        result = errno;
    else if (S_ISLNK(st.st_mode))
        result = ELOOP;
    else
        result = removeTreeAt(dirFd, name, st.st_dev);
    ::close(dirFd);
    return result;
}

} // namespace SafeRemoval
