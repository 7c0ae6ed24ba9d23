#include "Promo/PromoFolders.h"

#include "Platform/UserDefaults.h"
#include "Promo/PromoLog.h"
#include "Promo/PromoSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {

const QString kFoldersToRemove = QStringLiteral("PROMO_MANAGER:folders_to_remove");

// The list is read, changed and written back by several threads.
QMutex& pendingLock() {
    static QMutex lock;
    return lock;
}

class Descriptor final {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    int release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void reset(int fd = -1) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

// One folder on the way down: its name in its parent, its identity (to check the way back
// up) and the subfolders of it still to be emptied.
struct Level {
    QByteArray name;
    dev_t device = 0;
    ino_t inode = 0;
    std::vector<QByteArray> subfolders;
};

// Lists the open folder `fd` once: removes every entry that is not a folder and adds the
// subfolders to `subfolders`. A subfolder on another file system than `device` stops it
// with EXDEV. 0 or an errno value.
int emptyFilesOf(int fd, dev_t device, std::vector<QByteArray>* subfolders) {
    const int listing = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (listing < 0)
        return errno;
    DIR* dir = ::fdopendir(listing);
    if (!dir) {
        const int error = errno;
        ::close(listing);
        return error;
    }
    int failure = 0;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        struct stat st {};
        if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            failure = errno;
            break;
        }
        if (S_ISDIR(st.st_mode)) {
            if (st.st_dev != device) {
                failure = EXDEV;
                break;
            }
            subfolders->push_back(QByteArray(name));
        } else if (::unlinkat(fd, name, 0) != 0) {
            failure = errno;
            break;
        }
        errno = 0;
    }
    if (!failure && errno != 0)
        failure = errno;
    ::closedir(dir);
    return failure;
}

} // namespace

namespace PromoFolders {

bool isZembrookFolderPath(const QString& path) {
    const QString support = PromoSettings::applicationSupportFolder();
    if (support.isEmpty() || path.isEmpty())
        return false;
    const QFileInfo info(QDir::cleanPath(path));
    if (QDir::cleanPath(info.absolutePath()) != QDir::cleanPath(QDir(support).absolutePath()))
        return false;
    static const QRegularExpression name(QStringLiteral("^Zembrook_v[0-9]+(_[0-9]+)?$"));
    return name.match(info.fileName()).hasMatch();
}

int removeTreeIteratively(int parentFd, const char* name, dev_t device) {
    struct stat top {};
    if (::fstatat(parentFd, name, &top, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? 0 : errno;
    if (!S_ISDIR(top.st_mode))
        return ::unlinkat(parentFd, name, 0) == 0 ? 0 : errno;
    if (top.st_dev != device)
        return EXDEV;

    // Only the folder being worked on is open (plus, briefly, its listing and the next
    // one); the way down is kept as names and identities, and the way back up is "..",
    // checked against the identity recorded on the way down.
    std::vector<Level> path;
    Descriptor current(::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (current.get() < 0)
        return errno;
    path.push_back({QByteArray(name), top.st_dev, top.st_ino, {}});
    if (const int failure = emptyFilesOf(current.get(), device, &path.back().subfolders))
        return failure;
    while (!path.empty()) {
        Level& level = path.back();
        if (!level.subfolders.empty()) {
            const QByteArray child = std::move(level.subfolders.back());
            level.subfolders.pop_back();
            Descriptor next(::openat(current.get(), child.constData(),
                                     O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (next.get() < 0)
                return errno;
            struct stat st {};
            if (::fstat(next.get(), &st) != 0)
                return errno;
            if (st.st_dev != device)
                return EXDEV;
            current.reset(next.release());
            path.push_back({child, st.st_dev, st.st_ino, {}});
            if (const int failure = emptyFilesOf(current.get(), device, &path.back().subfolders))
                return failure;
            continue;
        }
        // This folder is empty now: go up and remove it from its parent.
        const QByteArray emptied = level.name;
        path.pop_back();
        if (path.empty()) {
            current.reset();
            return ::unlinkat(parentFd, emptied.constData(), AT_REMOVEDIR) == 0 ? 0 : errno;
        }
        Descriptor up(::openat(current.get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (up.get() < 0)
            return errno;
        struct stat st {};
        if (::fstat(up.get(), &st) != 0)
            return errno;
        // Moved meanwhile: never remove anything from a folder we did not come down through.
        if (st.st_dev != path.back().device || st.st_ino != path.back().inode)
            return ESTALE;
        current.reset(up.release());
        if (::unlinkat(current.get(), emptied.constData(), AT_REMOVEDIR) != 0)
            return errno;
    }
    return 0;
}

bool removeZembrookFolder(const QString& path) {
    if (!isZembrookFolderPath(path))
        return false;
    const QFileInfo info(QDir::cleanPath(path));
    const int parent = ::open(QFile::encodeName(info.absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parent < 0) {
        // No promotions folder: nothing of it can be left either.
        const bool gone = errno == ENOENT;
        if (gone)
            forgetPendingRemoval(path);
        return gone;
    }
    const QByteArray name = QFile::encodeName(info.fileName());
    struct stat parentStat {};
    int failure = 0;
    if (::fstat(parent, &parentStat) != 0)
        failure = errno;
    else
        failure = removeTreeIteratively(parent, name.constData(), parentStat.st_dev);
    ::close(parent);
    if (failure == 0) {
        forgetPendingRemoval(path);
        return true;
    }
    qCWarning(promoLog).noquote() << "panel folder" << path << "not removed:"
                                  << QString::fromLocal8Bit(std::strerror(failure))
                                  << "- tried again at the next start";
    addPendingRemoval(path);
    return false;
}

void addPendingRemoval(const QString& path) {
    const QMutexLocker locker(&pendingLock());
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    QStringList list = defaults.objectForKey(kFoldersToRemove).toStringList();
    if (list.contains(path))
        return;
    list << path;
    defaults.setObject(kFoldersToRemove, list);
}

void forgetPendingRemoval(const QString& path) {
    const QMutexLocker locker(&pendingLock());
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    if (!defaults.contains(kFoldersToRemove))
        return;
    QStringList list = defaults.objectForKey(kFoldersToRemove).toStringList();
    if (list.removeAll(path) == 0)
        return;
    if (list.isEmpty())
        defaults.removeObject(kFoldersToRemove);
    else
        defaults.setObject(kFoldersToRemove, list);
}

QStringList pendingRemovals() {
    const QMutexLocker locker(&pendingLock());
    return UserDefaults::standardUserDefaults().objectForKey(kFoldersToRemove).toStringList();
}

void retryPendingRemovals(const QStringList& paths) {
    for (const QString& path : paths) {
        // A path that is no panel folder (a hand-edited list) is dropped, never removed.
        if (!isZembrookFolderPath(path))
            forgetPendingRemoval(path);
        else
            removeZembrookFolder(path);
    }
}

std::optional<QString> buildLocalPathForFutureZembrookFolderWithVersion(qint32 version) {
    const QString support = PromoSettings::applicationSupportFolder();
    if (support.isEmpty())
        return std::nullopt;
    const QString base = QDir(support).filePath(QStringLiteral("Zembrook_v%1").arg(version));
    QString candidate = base;
    for (int suffix = 1; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++suffix)
        candidate = QStringLiteral("%1_%2").arg(base).arg(suffix);
    return candidate;
}

} // namespace PromoFolders
