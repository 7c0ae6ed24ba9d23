#include "Removal/ScannedCopy.h"

#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "Platform/FileManager.h"
#include "Platform/PathAtNoFollow.h"
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
// folder (then `*readError` gets its errno value).
bool collectOnDisk(int dirFd, dev_t device, std::int64_t changedAfterNs, const QByteArray& prefix,
                   std::vector<ScannedCopy::Entry>& out, int* readError) {
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        *readError = errno;
        ::close(dirFd);
        return false;
    }
    bool ok = true;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            ok = errno == 0;
            if (!ok)
                *readError = errno;
            break;
        }
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            *readError = errno;
            ok = false;
            break;
        }
        // Rewritten, replaced or renamed since: times put back by hand leave this one.
        if (std::int64_t(st.st_ctim.tv_sec) * 1000000000 + std::int64_t(st.st_ctim.tv_nsec) >=
                changedAfterNs &&
            !isNeverScannedName(name)) {
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
        if (sub < 0)
            *readError = errno;
        if (sub < 0 ||
            !collectOnDisk(sub, device, changedAfterNs, prefix + name + '/', out, readError)) {
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
    copy->recordedAtNs = identity.recordedAtNs;
    if (copy->isFolder) {
        collectScanned(*node->asFolder(), QByteArray(), copy->entries);
        std::sort(copy->entries.begin(), copy->entries.end());
    } else {
        copy->size = node->logicalSize();
        copy->modificationTimeNs = item.getScannedModificationTimeNs();
    }
    return copy;
}

ScannedCopy::DiskState ScannedCopy::stateOnDisk(const FileManager& fileManager, int* error) const {
    const auto unreadable = [&](int errnoValue) {
        if (error)
            *error = errnoValue;
        return DiskState::Unreadable;
    };
    const FileAttributes attributes = fileManager.attributesOfItemAtPath(path);
    if (!attributes.exists()) {
        if (attributes.throughLink)
            return DiskState::Changed;
        if (attributes.isGone())
            return DiskState::Gone;
        return unreadable(attributes.error ? attributes.error : EIO);
    }
    // The same item as recorded: a copy replaced by another file, by a hard link of another
    // copy or by a mount over it has another device or inode; one rewritten in place, even
    // with its times put back, has a later change time.
    if (inode == 0 || !changeTimeNs || attributes.device != device || attributes.inode != inode ||
        attributes.changeTimeNs != *changeTimeNs)
        return DiskState::Changed;
    if (!isFolder) {
        return attributes.kind == FileKind::File && attributes.size == size && modificationTimeNs &&
                       attributes.modificationTimeNs == *modificationTimeNs
                   ? DiskState::Unchanged
                   : DiskState::Changed;
    }
    if (attributes.kind != FileKind::Folder)
        return DiskState::Changed;
    const PathAtNoFollow at(path);
    if (!at.isValid())
        return at.isThroughLink() ? DiskState::Changed : unreadable(at.error());
    const int fd = ::openat(at.dirFd(), at.name(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno == ELOOP || errno == ENOTDIR ? DiskState::Changed : unreadable(errno);
    // The folder listed is the one just looked at, not one put in its place since.
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || std::uint64_t(opened.st_dev) != device ||
        std::uint64_t(opened.st_ino) != inode) {
        ::close(fd);
        return DiskState::Changed;
    }
    std::vector<Entry> found;
    found.reserve(entries.size());
    int readError = 0;
    if (!recordedAtNs) {
        ::close(fd);
        return DiskState::Changed;
    }
    if (!collectOnDisk(fd, dev_t(device), *recordedAtNs, QByteArray(), found, &readError))
        return readError ? unreadable(readError) : DiskState::Changed;
    std::sort(found.begin(), found.end());
    return found == entries ? DiskState::Unchanged : DiskState::Changed;
}
