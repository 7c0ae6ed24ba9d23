#include "RemoveTree.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int fail(bool* writing, bool isWriting, int error) {
    if (writing)
        *writing = isWriting;
    return error;
}

} // namespace

int removeTreeAt(int dirFd, const char* name, dev_t device, bool* writing) {
    struct stat st {};
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return fail(writing, false, errno);
    if (!S_ISDIR(st.st_mode))
        return ::unlinkat(dirFd, name, 0) == 0 ? 0 : fail(writing, true, errno);
    if (st.st_dev != device)
        return fail(writing, true, EXDEV);
    const int fd = ::openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return fail(writing, false, errno);
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        const int err = errno;
        ::close(fd);
        return fail(writing, false, err);
    }
    int failure = 0;
    while (failure == 0) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            if (errno != 0)
                failure = fail(writing, false, errno);
            break;
        }
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        failure = removeTreeAt(fd, entry->d_name, device, writing);
    }
    ::closedir(dir);
    if (failure != 0)
        return failure;
    return ::unlinkat(dirFd, name, AT_REMOVEDIR) == 0 ? 0 : fail(writing, true, errno);
}
