#include "Platform/FileManager.h"

#include "Platform/PathAt.h"
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
#include <stdio.h>
#include <sys/stat.h>
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

class FdCloser {
public:
    explicit FdCloser(int fd) : m_fd(fd) {}
    ~FdCloser() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;

private:
    int m_fd;
};

int errorCodeForGioError(const GError* error) {
    if (error->domain != G_IO_ERROR)
        return -EIO;
    switch (error->code) {
    case G_IO_ERROR_NOT_SUPPORTED:
        return FileManager::VolumeHasNoTrashError;
    case G_IO_ERROR_PERMISSION_DENIED:
    case G_IO_ERROR_READ_ONLY:
        return FileManager::NoWritePermissionError;
    case G_IO_ERROR_NOT_FOUND:
        return -ENOENT;
    case G_IO_ERROR_BUSY:
        return -EBUSY;
    case G_IO_ERROR_NO_SPACE:
        return -ENOSPC;
    case G_IO_ERROR_FILENAME_TOO_LONG:
        return -ENAMETOOLONG;
    default:
        return -EIO;
    }
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

// Moves an item whose path is too long for the GIO Trash (which works by whole paths) into
// the user's own Trash, by descriptors: the item is renamed from its parent folder's
// descriptor, so its depth does not matter. Only the home Trash is offered: an item on
// another volume answers VolumeHasNoTrashError and is left where it is.
bool trashLongPath(const QByteArray& path, FileError* error) {
    const auto fail = [&](int errnoValue, bool writing) {
        if (error)
            *error = FileManager::errorForErrno(errnoValue, writing, path);
        return false;
    };
    const PathAt item(path, true);
    if (!item.isValid())
        return fail(errno, false);
    struct stat itemStat {};
    if (::fstatat(item.dirFd(), item.name(), &itemStat, AT_SYMLINK_NOFOLLOW) != 0)
        return fail(errno, false);

    const QByteArray trash = QByteArray(g_get_user_data_dir()) + "/Trash";
    for (const QByteArray& folder : {trash, trash + "/files", trash + "/info"}) {
        if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST)
            return fail(errno, true);
    }
    const int filesFd = ::open((trash + "/files").constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (filesFd < 0)
        return fail(errno, true);
    FdCloser filesCloser(filesFd);
    const int infoFd = ::open((trash + "/info").constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (infoFd < 0)
        return fail(errno, true);
    FdCloser infoCloser(infoFd);
    struct stat trashStat {};
    if (::fstat(filesFd, &trashStat) != 0)
        return fail(errno, true);
    if (trashStat.st_dev != itemStat.st_dev) {
        if (error) {
            error->code = FileManager::VolumeHasNoTrashError;
            error->description = QStringLiteral("The item could not be moved to the Trash.");
        }
        return false;
    }

    const QByteArray record = "[Trash Info]\nPath=" + path.toPercentEncoding("/") +
                              "\nDeletionDate=" + deletionDate() + "\n";
    // The record is claimed first (O_EXCL), so two removals never pick the same name.
    const QByteArray name(item.name());
    for (int attempt = 1; attempt < 10000; ++attempt) {
        const QByteArray trashName = attempt == 1 ? name : name + '.' + QByteArray::number(attempt);
        const QByteArray infoName = trashName + ".trashinfo";
        const int infoFile =
            ::openat(infoFd, infoName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (infoFile < 0) {
            if (errno == EEXIST)
                continue;
            return fail(errno, true);
        }
        const bool written =
            ::write(infoFile, record.constData(), size_t(record.size())) == record.size();
        const int writeErrno = errno;
        ::close(infoFile);
        if (written && renameWithoutReplacing(item.dirFd(), item.name(), filesFd, trashName))
            return true;
        const int saved = written ? errno : writeErrno;
        ::unlinkat(infoFd, infoName.constData(), 0);
        if (written && saved == EEXIST)
            continue; // a leftover in files/ without its record
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
    const PathAt at(path);
    if (!at.isValid() || ::fstatat(at.dirFd(), at.name(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return attributes;
    attributes.kind = kindOfMode(st.st_mode);
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
    const PathAt parent(path, true);
    if (!parent.isValid()) {
        if (error)
            *error = errorForErrno(errno, false, path);
        return false;
    }
    const int parentFd = parent.dirFd();
    struct stat st {};
    if (::fstatat(parentFd, parent.name(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
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
    if (PathAt::isLong(path))
        return trashLongPath(path, error);
    GFile* file = g_file_new_for_path(path.constData());
    GError* gerror = nullptr;
    const bool trashed = g_file_trash(file, nullptr, &gerror);
    g_object_unref(file);
    if (trashed)
        return true;
    if (error) {
        if (gerror) {
            error->code = errorCodeForGioError(gerror);
            error->description = QString::fromUtf8(gerror->message);
        } else {
            error->code = -EIO;
            error->description = QStringLiteral("The item could not be moved to the Trash.");
        }
    }
    if (gerror)
        g_error_free(gerror);
    return false;
}

bool FileManager::contentsOfDirectoryAtPath(const QByteArray& path, QList<QByteArray>* names,
                                            FileError* error) const {
    names->clear();
    const PathAt at(path);
    const int fd =
        at.isValid() ? ::openat(at.dirFd(), at.name(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    if (fd < 0) {
        if (error)
            *error = errorForErrno(errno, false, path);
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
