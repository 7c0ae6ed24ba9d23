#include "Promo/SSZipArchive.h"

#include "Promo/Utf8Check.h"

#include <QFile>

#include <unzip.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {

constexpr int kBufferSize = 4096;

class FileDescriptor final {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            if (m_fd >= 0)
                ::close(m_fd);
            m_fd = other.m_fd;
            other.m_fd = -1;
        }
        return *this;
    }
    int get() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }

private:
    int m_fd;
};

timespec timespecOf(const QDateTime& date) {
    timespec spec{};
    spec.tv_sec = static_cast<time_t>(date.toSecsSinceEpoch());
    return spec;
}

// Opens the folder `components` below `rootFd`, one component at a time and never through a
// symbolic link. With `create`, missing folders are made and get `date` as their
// modification date. Answers an invalid descriptor on any failure.
FileDescriptor openFolderChain(int rootFd, const QList<QByteArray>& components, bool create,
                               const QDateTime& date) {
    FileDescriptor current(::fcntl(rootFd, F_DUPFD_CLOEXEC, 0));
    for (const QByteArray& component : components) {
        if (!current.isValid())
            return current;
        bool made = false;
        if (create) {
            if (::mkdirat(current.get(), component.constData(), 0755) == 0)
                made = true;
            else if (errno != EEXIST)
                return FileDescriptor();
        }
        FileDescriptor next(::openat(current.get(), component.constData(),
                                     O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (next.isValid() && made) {
            const timespec times[2] = {{0, UTIME_OMIT}, timespecOf(date)};
            ::futimens(next.get(), times);
        }
        current = std::move(next);
    }
    return current;
}

bool writeAll(int fd, const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

QList<QByteArray> componentsOf(const QByteArray& name) {
    QList<QByteArray> components;
    for (const QByteArray& part : name.split('/')) {
        if (!part.isEmpty())
            components << part;
    }
    return components;
}

struct DatedItem {
    QList<QByteArray> components;
    QDateTime date;
};

// The entry is a symbolic link: the classic stored-entry test, or a Unix mode of S_IFLNK in
// the high half of the external attributes.
bool isLinkEntry(const unz_file_info64& info) {
    const bool storedLink = info.compression_method == 0 && (info.external_fa & 0xF000) == 0x4000 &&
                            info.compressed_size != 0;
    const bool unixLink = ((info.external_fa >> 16) & 0xF000) == 0xA000;
    return storedLink || unixLink;
}

} // namespace

std::optional<QByteArray> SSZipArchive::sanitizedEntryName(const QByteArray& rawName) {
    if (rawName.isEmpty() || rawName.contains('\0'))
        return std::nullopt;
    if (!Utf8Check::isValidUtf8(rawName.constData(), rawName.size()))
        return std::nullopt;
    QByteArray name = rawName;
    name.replace('\\', '/');
    if (name.startsWith('/'))
        return std::nullopt;
    for (const QByteArray& part : name.split('/')) {
        if (part == "." || part == "..")
            return std::nullopt;
    }
    if (componentsOf(name).isEmpty())
        return std::nullopt;
    return name;
}

QDateTime SSZipArchive::_dateWithMSDOSFormat(quint32 msdosDateTime) {
    const int year = static_cast<int>((msdosDateTime >> 25) & 0x7F) + 1980;
    const int month = static_cast<int>((msdosDateTime >> 21) & 0x0F);
    const int day = static_cast<int>((msdosDateTime >> 16) & 0x1F);
    const int hour = static_cast<int>((msdosDateTime >> 11) & 0x1F);
    const int minute = static_cast<int>((msdosDateTime >> 5) & 0x3F);
    const int second = static_cast<int>(msdosDateTime & 0x1F) * 2;
    const QDate date = QDate(year, 1, 1).addMonths(month - 1).addDays(day - 1);
    return QDateTime(date, QTime(0, 0), Qt::LocalTime)
        .addSecs(qint64(hour) * 3600 + qint64(minute) * 60 + second);
}

bool SSZipArchive::unzipFileAtPath(const QString& path, const QString& destination) {
    return unzipFileAtPath(path, destination, kMaxEntryCount, kMaxTotalBytes);
}

bool SSZipArchive::unzipFileAtPath(const QString& path, const QString& destination,
                                   qint64 maxEntryCount, qint64 maxTotalBytes) {
    const QByteArray archivePath = QFile::encodeName(path);
    unzFile zip = unzOpen64(archivePath.constData());
    if (!zip)
        return false;
    unz_global_info64 global{};
    if (unzGetGlobalInfo64(zip, &global) != UNZ_OK ||
        global.number_entry > static_cast<ZPOS64_T>(maxEntryCount) ||
        unzGoToFirstFile(zip) != UNZ_OK) {
        unzClose(zip);
        return false;
    }
    const FileDescriptor destinationFd(::open(QFile::encodeName(destination).constData(),
                                              O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!destinationFd.isValid()) {
        unzClose(zip);
        return false;
    }

    bool success = true;
    qint64 entryCount = 0;
    qint64 totalBytes = 0;
    std::vector<DatedItem> datedItems;
    std::vector<char> buffer(kBufferSize);
    while (success) {
        // The central directory's count can lie; the entries actually met are counted too.
        if (++entryCount > maxEntryCount || unzOpenCurrentFile(zip) != UNZ_OK) {
            success = false;
            break;
        }
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
            unzCloseCurrentFile(zip);
            success = false;
            break;
        }
        QByteArray rawName(static_cast<qsizetype>(info.size_filename) + 1, '\0');
        unzGetCurrentFileInfo64(zip, &info, rawName.data(), static_cast<uLong>(rawName.size()),
                                nullptr, 0, nullptr, 0);
        rawName.chop(1);
        const std::optional<QByteArray> name = sanitizedEntryName(rawName);
        if (!name) {
            unzCloseCurrentFile(zip);
            success = false;
            break;
        }
        const bool isFolder = name->endsWith('/');
        const QList<QByteArray> components = componentsOf(*name);
        const QDateTime date = _dateWithMSDOSFormat(static_cast<quint32>(info.dosDate));

        if (isLinkEntry(info)) {
            // Never made: a link could point anywhere, and later entries could write through it.
        } else {
            const QList<QByteArray> folder =
                isFolder ? components : components.mid(0, components.size() - 1);
            const FileDescriptor folderFd =
                openFolderChain(destinationFd.get(), folder, true, date);
            if (!folderFd.isValid()) {
                unzCloseCurrentFile(zip);
                success = false;
                break;
            }
            datedItems.push_back({components, date});
            if (!isFolder) {
                const FileDescriptor fileFd(
                    ::openat(folderFd.get(), components.last().constData(),
                             O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644));
                if (!fileFd.isValid()) {
                    unzCloseCurrentFile(zip);
                    success = false;
                    break;
                }
                for (;;) {
                    const int read = unzReadCurrentFile(zip, buffer.data(), kBufferSize);
                    if (read == 0)
                        break;
                    totalBytes += read;
                    if (read < 0 || totalBytes > maxTotalBytes ||
                        !writeAll(fileFd.get(), buffer.data(), read)) {
                        success = false;
                        break;
                    }
                }
                if (success && info.dosDate != 0) {
                    const timespec times[2] = {{0, UTIME_OMIT}, timespecOf(date)};
                    ::futimens(fileFd.get(), times);
                }
            }
        }
        // Closing checks the CRC once the whole entry was read; a mismatch is a failure.
        if (unzCloseCurrentFile(zip) != UNZ_OK)
            success = false;
        if (!success)
            break;
        const int next = unzGoToNextFile(zip);
        if (next == UNZ_END_OF_LIST_OF_FILE)
            break;
        if (next != UNZ_OK)
            success = false;
    }
    unzClose(zip);

    // Last, so that writing into folders does not leave them with the time of unpacking.
    if (success) {
        for (const DatedItem& item : datedItems) {
            if (item.components.isEmpty())
                continue;
            const FileDescriptor parent = openFolderChain(
                destinationFd.get(), item.components.mid(0, item.components.size() - 1), false,
                item.date);
            if (!parent.isValid())
                continue;
            const timespec times[2] = {{0, UTIME_OMIT}, timespecOf(item.date)};
            ::utimensat(parent.get(), item.components.last().constData(), times,
                        AT_SYMLINK_NOFOLLOW);
        }
    }
    return success;
}
