#include "Removal/ScannedCopy.h"

#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "Platform/FileManager.h"
#include "Platform/PathAt.h"
#include "Results/DuplicateItem.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Names the scan never makes nodes of: their presence is no change.
bool isNeverScannedName(const char* name) {
    return std::strcmp(name, ".DS_Store") == 0 || std::strcmp(name, "Thumbs.db") == 0 ||
           std::strcmp(name, ".localized") == 0;
}

void collectScanned(const FolderSystemItem& folder, const QByteArray& prefix,
                    std::vector<ScannedCopy::Entry>& out) {
    for (const FileSystemItem* child : folder.childrenArray()) {
        ScannedCopy::Entry entry;
        entry.relativePath = prefix + child->name();
        entry.isFolder = child->isDir();
        entry.size = entry.isFolder ? 0 : child->logicalSize();
        out.push_back(entry);
        if (const FolderSystemItem* sub = child->asFolder())
            collectScanned(*sub, entry.relativePath + '/', out);
    }
}

// Lists the folder open at `dirFd` into `out`. False at the first thing the scan cannot
// have seen as it is now: a link, a device or pipe, another file system, an unreadable
// folder.
bool collectOnDisk(int dirFd, dev_t device, const QByteArray& prefix,
                   std::vector<ScannedCopy::Entry>& out) {
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return false;
    }
    bool ok = true;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            ok = errno == 0;
            break;
        }
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            ok = false;
            break;
        }
        if (S_ISREG(st.st_mode)) {
            if (!isNeverScannedName(name))
                out.push_back({prefix + name, false, st.st_size});
            continue;
        }
        if (!S_ISDIR(st.st_mode) || st.st_dev != device) {
            ok = false;
            break;
        }
        out.push_back({prefix + name, true, 0});
        const int sub =
            ::openat(::dirfd(dir), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub < 0 || !collectOnDisk(sub, device, prefix + name + '/', out)) {
            ok = false;
            break;
        }
    }
    ::closedir(dir);
    return ok;
}

} // namespace

std::shared_ptr<const ScannedCopy> ScannedCopy::snapshot(const DuplicateItem& item) {
    const FileSystemItem* node = item.getFileSystemItem();
    if (!node || item.getFileItemPath().isEmpty())
        return nullptr;
    auto copy = std::make_shared<ScannedCopy>();
    copy->path = item.getFileItemPath();
    copy->isFolder = node->isDir();
    const DuplicateItem::ScannedIdentity& identity = item.getScannedIdentity();
    copy->device = identity.device;
    copy->inode = identity.inode;
    copy->changeTimeNs = identity.changeTimeNs;
    if (copy->isFolder) {
        collectScanned(*node->asFolder(), QByteArray(), copy->entries);
        std::sort(copy->entries.begin(), copy->entries.end());
    } else {
        copy->size = node->logicalSize();
        copy->modificationTimeNs = item.getScannedModificationTimeNs();
    }
    return copy;
}

bool ScannedCopy::isUnchangedOnDisk(const FileManager& fileManager) const {
    const FileAttributes attributes = fileManager.attributesOfItemAtPath(path);
    if (!isFolder) {
        return attributes.kind == FileKind::File && attributes.size == size && modificationTimeNs &&
               attributes.modificationTimeNs == *modificationTimeNs;
    }
    if (attributes.kind != FileKind::Folder)
        return false;
    const PathAt at(path);
    const int fd = at.isValid() ? ::openat(at.dirFd(), at.name(),
                                           O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)
                                : -1;
    if (fd < 0)
        return false;
    std::vector<Entry> found;
    found.reserve(entries.size());
    if (!collectOnDisk(fd, dev_t(attributes.device), QByteArray(), found))
        return false;
    std::sort(found.begin(), found.end());
    return found == entries;
}
