#include "Platform/FileManager.h"

#include "Platform/PathAtNoFollow.h"
#include "Platform/RemoveTree.h"
#include "Platform/VolumeInfo.h"

#include <QFile>

// GLib uses "signals" as a member name; Qt defines it as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

FileKind kindOfMode(mode_t mode) {
    if (S_ISREG(mode))
        return FileKind::File;
    if (S_ISDIR(mode))
        return FileKind::Folder;
    if (S_ISLNK(mode))
        return FileKind::Link;
    return FileKind::Other;
}

struct ParentAndName {
    QByteArray parent;
    QByteArray name;
};

// Splits "/a/b/c" into "/a/b" and "c"; a trailing "/" is dropped first.
ParentAndName splitPath(QByteArray path) {
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return {".", path};
    return {slash == 0 ? QByteArray("/") : path.left(slash), path.mid(slash + 1)};
}

// The Trash record's deletion date, local time as the freedesktop.org Trash asks.
QByteArray deletionDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return QByteArray(text);
}

// renameat that never replaces what is at the target; a file system that cannot promise it
// atomically gets a look first.
bool renameWithoutReplacing(int fromFd, const char* from, int toFd, const QByteArray& to) {
    if (::renameat2(fromFd, from, toFd, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    struct stat st {};
    if (::fstatat(toFd, to.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::renameat(fromFd, from, toFd, to.constData()) == 0;
}

// Why a path could not be opened, as an errno value: a folder on the way that became a
// link is ELOOP, whatever the walk itself reported.
int walkErrno(const PathAtNoFollow& at) {
    return at.isThroughLink() ? ELOOP : at.error();
}

// A volume in memory (tmpfs, ramfs) keeps nothing past a restart: a Trash there would lose
// what it holds, so such a volume offers none, as the desktop's own file managers treat it.
bool isMemoryVolume(int fd) {
    struct statfs info {};
    return ::fstatfs(fd, &info) == 0 && (info.f_type == TMPFS_MAGIC || info.f_type == RAMFS_MAGIC);
}

// The folders of one Trash, opened and checked.
struct TrashFolders {
    int filesFd = -1;
    int infoFd = -1;
    ~TrashFolders() {
        if (filesFd >= 0)
            ::close(filesFd);
        if (infoFd >= 0)
            ::close(infoFd);
    }
};

int openFolderNoFollow(int dirFd, const char* name) {
    return ::openat(dirFd, name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Makes (when missing) and opens `files` and `info` inside the Trash folder open as `trashFd`.
bool openTrashFolders(int trashFd, TrashFolders* folders) {
    for (const char* name : {"files", "info"}) {
        if (::mkdirat(trashFd, name, 0700) != 0 && errno != EEXIST)
            return false;
    }
    folders->filesFd = openFolderNoFollow(trashFd, "files");
    folders->infoFd = openFolderNoFollow(trashFd, "info");
    return folders->filesFd >= 0 && folders->infoFd >= 0;
}

// The user's own folder `name` inside `dirFd`, made when missing: a real folder (not a link)
// owned by the user and closed to everyone else, as a Trash of one user must be. -1 when
// there is none such.
int openOwnTrashFolder(int dirFd, const char* name) {
    if (::mkdirat(dirFd, name, 0700) != 0 && errno != EEXIST)
        return -1;
    const int fd = openFolderNoFollow(dirFd, name);
    struct stat st {};
    if (fd >= 0 && (::fstat(fd, &st) != 0 || st.st_uid != ::getuid() || (st.st_mode & 077) != 0)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The Trash at the top of another volume, open as `topFd`: $topdir/.Trash/$uid when the
// volume offers a shared, sticky .Trash (a real folder, not a link), else $topdir/.Trash-$uid.
bool openVolumeTrash(int topFd, TrashFolders* folders) {
    const QByteArray uid = QByteArray::number(qulonglong(::getuid()));
    struct stat shared {};
    if (::fstatat(topFd, ".Trash", &shared, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(shared.st_mode) &&
        (shared.st_mode & S_ISVTX)) {
        const int sharedFd = openFolderNoFollow(topFd, ".Trash");
        const int own = sharedFd >= 0 ? openOwnTrashFolder(sharedFd, uid.constData()) : -1;
        if (sharedFd >= 0)
            ::close(sharedFd);
        if (own >= 0) {
            const bool ok = openTrashFolders(own, folders);
            ::close(own);
            if (ok)
                return true;
        }
    }
    const int own = openOwnTrashFolder(topFd, (".Trash-" + uid).constData());
    if (own < 0)
        return false;
    const bool ok = openTrashFolders(own, folders);
    ::close(own);
    return ok;
}

// Makes `infoName` in the folder open as `infoFd` hold `record`, never replacing a record
// of that name: 0, EEXIST when the name is taken, or the errno value of another failure.
// Where the file system can, the record is written whole in an unnamed file that then gets
// its name at once, so no stop at any moment leaves a half-written record; elsewhere it is
// created exclusively and written, and taken away again when the writing fails.
int claimRecord(int infoFd, const QByteArray& infoName, const QByteArray& record) {
    const auto writeAll = [&](int fd) {
        return ::write(fd, record.constData(), size_t(record.size())) == record.size();
    };
    const int unnamed = ::openat(infoFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (unnamed >= 0) {
        char self[64];
        std::snprintf(self, sizeof self, "/proc/self/fd/%d", unnamed);
        const bool linked =
            writeAll(unnamed) &&
            ::linkat(AT_FDCWD, self, infoFd, infoName.constData(), AT_SYMLINK_FOLLOW) == 0;
        const int saved = errno;
        ::close(unnamed);
        if (linked)
            return 0;
        if (saved == EEXIST)
            return EEXIST;
        // No /proc, or a file system that names no unnamed file: the plain way below.
    }
    const int fd =
        ::openat(infoFd, infoName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    const bool written = writeAll(fd);
    const int writeErrno = written ? 0 : (errno ? errno : ENOSPC);
    const bool closed = ::close(fd) == 0 || errno == EINTR;
    if (written && closed)
        return 0;
    ::unlinkat(infoFd, infoName.constData(), 0);
    return writeErrno ? writeErrno : EIO;
}

// Moves an item to the Trash by descriptors. GIO's g_file_trash takes a whole path and
// resolves it from the root, so a folder on the way that became a link would send another
// item to the Trash than the one checked; it cannot be given a descriptor. So the move is
// done here, as the freedesktop.org Trash asks: the item's parent is opened without
// following links (the same walk as every check), the record is claimed in info/ with
// O_EXCL, written, and only then is the item renamed from that parent's descriptor into
// files/, never replacing anything. A failed move takes its record away again, so no
// record is left for an item that was not moved.
bool trashByDescriptors(const QByteArray& path, FileError* error) {
    const auto fail = [&](int errnoValue, bool writing) {
        if (error)
            *error = FileManager::errorForErrno(errnoValue, writing, path);
        return false;
    };
    const auto noTrash = [&] {
        if (error) {
            error->code = FileManager::VolumeHasNoTrashError;
            error->description = QStringLiteral("The item could not be moved to the Trash.");
        }
        return false;
    };
    const PathAtNoFollow item(path);
    if (!item.isValid())
        return fail(walkErrno(item), false);
    struct stat itemStat {};
    if (!item.stat(&itemStat))
        return fail(errno, false);
    // A mount point cannot leave its place.
    if (item.devices().back() != itemStat.st_dev)
        return fail(EBUSY, true);

    TrashFolders folders;
    QByteArray recordedPath;
    const QByteArray home = QByteArray(g_get_user_data_dir()) + "/Trash";
    struct stat homeStat {};
    // The home Trash belongs to the user: it is reached by its path as the user set it.
    const bool homeVolume = g_mkdir_with_parents(home.constData(), 0700) == 0 &&
                            ::stat(home.constData(), &homeStat) == 0 &&
                            homeStat.st_dev == itemStat.st_dev;
    if (homeVolume) {
        const int homeFd = ::open(home.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (homeFd < 0)
            return fail(errno, true);
        const bool opened = openTrashFolders(homeFd, &folders);
        const int saved = errno;
        ::close(homeFd);
        if (!opened)
            return fail(saved, true);
        recordedPath =
            item.parentPath().isEmpty()
                ? path
                : item.parentPath() + (item.parentPath().endsWith('/') ? "" : "/") + item.name();
    } else {
        // The top of the item's volume: the highest folder on the way on its device.
        const std::vector<dev_t>& devices = item.devices();
        std::size_t top = devices.size();
        while (top > 0 && devices[top - 1] == itemStat.st_dev)
            --top;
        // Nothing of the root volume goes to a Trash at "/" (it is not the user's to use).
        if (top == 0 || top >= devices.size())
            return noTrash();
        const int topFd = PathAtNoFollow::openPrefix(path, top);
        if (topFd < 0)
            return fail(errno, false);
        struct stat topStat {};
        const bool sameVolume = ::fstat(topFd, &topStat) == 0 && topStat.st_dev == itemStat.st_dev;
        const bool opened =
            sameVolume && !isMemoryVolume(topFd) && openVolumeTrash(topFd, &folders);
        ::close(topFd);
        if (!opened)
            return noTrash();
        // Relative to the top of the volume, as the volume may be mounted elsewhere later.
        const QList<QByteArray> parts = path.split('/');
        QList<QByteArray> below;
        for (const QByteArray& part : parts) {
            if (!part.isEmpty())
                below.append(part);
        }
        recordedPath = below.mid(qsizetype(top)).join('/');
    }

    const QByteArray record = "[Trash Info]\nPath=" + recordedPath.toPercentEncoding("/") +
                              "\nDeletionDate=" + deletionDate() + "\n";
    // The record is claimed first, under a name no other record has, so two removals never
    // pick the same name; only then does the item move.
    const QByteArray name(item.name());
    for (int attempt = 1; attempt < 10000; ++attempt) {
        const QByteArray trashName = attempt == 1 ? name : name + '.' + QByteArray::number(attempt);
        const QByteArray infoName = trashName + ".trashinfo";
        const int claimed = claimRecord(folders.infoFd, infoName, record);
        if (claimed == EEXIST)
            continue;
        if (claimed != 0)
            return fail(claimed, true);
        if (renameWithoutReplacing(item.dirFd(), item.name(), folders.filesFd, trashName))
            return true;
        const int saved = errno;
        // The move did not happen: neither does its record stay.
        ::unlinkat(folders.infoFd, infoName.constData(), 0);
        if (saved == EEXIST)
            continue; // a leftover in files/ without its record
        // A bind mount shares its device with the home Trash but cannot be left by a
        // rename: as far as this item goes, its volume has no Trash.
        if (saved == EXDEV)
            return noTrash();
        return fail(saved, true);
    }
    return fail(EEXIST, true);
}

} // namespace

FileManager& FileManager::defaultManager() {
    static FileManager manager;
    return manager;
}

FileAttributes FileManager::attributesOfItemAtPath(const QByteArray& path) const {
    FileAttributes attributes;
    struct stat st {};
    const PathAtNoFollow at(path);
    if (!at.isValid()) {
        attributes.error = walkErrno(at);
        attributes.throughLink = at.isThroughLink();
        return attributes;
    }
    if (!at.stat(&st)) {
        attributes.error = errno;
        return attributes;
    }
    attributes.kind = kindOfMode(st.st_mode);
    attributes.inode = static_cast<std::uint64_t>(st.st_ino);
    attributes.changeTimeNs =
        std::int64_t(st.st_ctim.tv_sec) * 1000000000 + std::int64_t(st.st_ctim.tv_nsec);
    attributes.size = st.st_size;
    attributes.modificationTimeNs =
        std::int64_t(st.st_mtim.tv_sec) * 1000000000 + std::int64_t(st.st_mtim.tv_nsec);
    attributes.device = static_cast<std::uint64_t>(st.st_dev);
    return attributes;
}

bool FileManager::fileExistsAtPath(const QByteArray& path) const {
    return attributesOfItemAtPath(path).exists();
}

bool FileManager::removeItemAtPath(const QByteArray& path, FileError* error) const {
    if (path.isEmpty()) {
        if (error)
            *error = errorForErrno(ENOENT, true, path);
        return false;
    }
    const PathAtNoFollow parent(path);
    if (!parent.isValid()) {
        if (error)
            *error = errorForErrno(walkErrno(parent), false, path);
        return false;
    }
    const int parentFd = parent.dirFd();
    struct stat st {};
    if (!parent.stat(&st)) {
        if (error)
            *error = errorForErrno(errno, false, path);
        return false;
    }
    bool writing = true;
    const int failure = removeTreeAt(parentFd, parent.name(), st.st_dev, &writing);
    if (failure != 0) {
        if (error)
            *error = errorForErrno(failure, writing, path);
        return false;
    }
    return true;
}

bool FileManager::trashItemAtPath(const QByteArray& path, FileError* error) const {
    return trashByDescriptors(path, error);
}

bool FileManager::contentsOfDirectoryAtPath(const QByteArray& path, QList<QByteArray>* names,
                                            FileError* error) const {
    names->clear();
    const PathAtNoFollow at(path);
    const int fd = at.isValid() ? ::openat(at.dirFd(), at.name(),
                                           O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)
                                : -1;
    if (fd < 0) {
        if (error)
            *error = errorForErrno(at.isValid() ? errno : walkErrno(at), false, path);
        return false;
    }
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        const int err = errno;
        ::close(fd);
        if (error)
            *error = errorForErrno(err, false, path);
        return false;
    }
    bool ok = true;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            if (errno != 0) {
                ok = false;
                if (error)
                    *error = errorForErrno(errno, false, path);
            }
            break;
        }
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        names->append(QByteArray(entry->d_name));
    }
    ::closedir(dir);
    if (!ok)
        names->clear();
    return ok;
}

QByteArray FileManager::volumePathPrefixOfPath(const QByteArray& path) const {
    return VolumeInfo::volumePathPrefixOfPath(path);
}

QString FileManager::localizedNameOfVolumeForPath(const QByteArray& path) const {
    return VolumeInfo::localizedNameOfVolumeForPath(path);
}

QString FileManager::displayNameAtPath(const QByteArray& path) {
    return QFile::decodeName(splitPath(path).name);
}

int FileManager::errorCodeForErrno(int errnoValue, bool writing) {
    if (errnoValue == EACCES || errnoValue == EPERM || errnoValue == EROFS)
        return writing ? NoWritePermissionError : NoReadPermissionError;
    return -errnoValue;
}

FileError FileManager::errorForErrno(int errnoValue, bool writing, const QByteArray& path) {
    FileError error;
    error.code = errorCodeForErrno(errnoValue, writing);
    error.description = QStringLiteral("%1: %2").arg(
        QFile::decodeName(path), QString::fromLocal8Bit(std::strerror(errnoValue)));
    return error;
}
