#include "Platform/FileManager.h"

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
#include <dirent.h>
#include <fcntl.h>
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

} // namespace

FileManager& FileManager::defaultManager() {
    static FileManager manager;
    return manager;
}

FileAttributes FileManager::attributesOfItemAtPath(const QByteArray& path) const {
    FileAttributes attributes;
    struct stat st {};
    if (path.isEmpty() || ::lstat(path.constData(), &st) != 0)
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
    const ParentAndName parts = splitPath(path);
    const int parentFd = ::open(parts.parent.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd < 0) {
        if (error)
            *error = errorForErrno(errno, false, path);
        return false;
    }
    FdCloser closer(parentFd);
    struct stat st {};
    if (::fstatat(parentFd, parts.name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (error)
            *error = errorForErrno(errno, false, path);
        return false;
    }
    bool writing = true;
    const int failure = removeTreeAt(parentFd, parts.name.constData(), st.st_dev, &writing);
    if (failure != 0) {
        if (error)
            *error = errorForErrno(failure, writing, path);
        return false;
    }
    return true;
}

bool FileManager::trashItemAtPath(const QByteArray& path, FileError* error) const {
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
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
