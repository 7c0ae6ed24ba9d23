#pragma once

// Shared by the tests that start the real privileged tool.
#include "Removal/PrivilegedRemovalProtocol.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PrivilegedRemovalSupport {

using Identity = PrivilegedRemovalProtocol::ItemIdentity;

inline QString toolPath() {
    return QCoreApplication::applicationDirPath() + "/../app/Tarvique";
}

inline bool exists(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0;
}

// The sizes of the regular files below the folder open at `fd` (taken over), as the scan
// counts them.
inline std::uint64_t sizeBelow(int fd) {
    DIR* dir = ::fdopendir(fd);
    if (!dir)
        return 0;
    std::uint64_t size = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        struct stat st {};
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0 ||
            ::fstatat(::dirfd(dir), name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISREG(st.st_mode) && !PrivilegedRemovalProtocol::isNeverScannedName(name))
            size += std::uint64_t(st.st_size);
        else if (S_ISDIR(st.st_mode))
            size += sizeBelow(::openat(::dirfd(dir), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW));
    }
    ::closedir(dir);
    return size;
}

// The item's device, inode and kind (links not followed), with a folder's size left 0: for
// requests that must be refused before the tool looks inside (a system folder is not walked).
inline Identity shallowIdentityOf(const QByteArray& path) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        return {};
    return {std::uint64_t(st.st_dev), std::uint64_t(st.st_ino),
            S_ISDIR(st.st_mode) ? Identity::Folder : Identity::File,
            S_ISDIR(st.st_mode) ? 0 : std::uint64_t(st.st_size)};
}

// What a scan would have recorded of the item at `path` now (links not followed); an
// identity that matches nothing when nothing is there.
inline Identity identityOf(const QByteArray& path) {
    Identity identity = shallowIdentityOf(path);
    if (identity.kind == Identity::Folder && identity.inode != 0)
        identity.size = sizeBelow(::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW));
    return identity;
}

} // namespace PrivilegedRemovalSupport
