#include "Promo/SSZipArchive.h"

#include "Promo/Utf8Check.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

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
    return unzipFileAtPath(path, destination, Limits{});
}

bool SSZipArchive::unzipFileAtPath(const QString& path, const QString& destination,
                                   qint64 maxEntryCount, qint64 maxTotalBytes) {
    Limits limits;
    limits.entryCount = maxEntryCount;
    limits.totalBytes = maxTotalBytes;
    return unzipFileAtPath(path, destination, limits);
}

namespace {

// Reads the current entry's name; nothing when its information cannot be read or the name
// is longer than `maxNameBytes`.
std::optional<QByteArray> currentEntryName(unzFile zip, unz_file_info64* info,
                                           qint64 maxNameBytes) {
    if (unzGetCurrentFileInfo64(zip, info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
        static_cast<qint64>(info->size_filename) > maxNameBytes)
        return std::nullopt;
    QByteArray rawName(static_cast<qsizetype>(info->size_filename) + 1, '\0');
    if (unzGetCurrentFileInfo64(zip, info, rawName.data(), static_cast<uLong>(rawName.size()),
                                nullptr, 0, nullptr, 0) != UNZ_OK)
        return std::nullopt;
    rawName.chop(1);
    return rawName;
}

// Walks the central directory once, before anything is written, and answers why the
// archive must be refused (empty when it is within every limit). Leaves the archive at its
// first entry. Cost: one pass over the names, each at most limits.nameBytes long.
QString checkCentralDirectory(unzFile zip, const SSZipArchive::Limits& limits) {
    unz_global_info64 global{};
    if (unzGetGlobalInfo64(zip, &global) != UNZ_OK)
        return QStringLiteral("unreadable central directory");
    if (global.number_entry > static_cast<ZPOS64_T>(limits.entryCount))
        return QStringLiteral("more than %1 entries").arg(limits.entryCount);
    if (unzGoToFirstFile(zip) != UNZ_OK)
        return QStringLiteral("no first entry");
    QSet<QByteArray> folders;
    qint64 entries = 0;
    qint64 declaredBytes = 0;
    int step = UNZ_OK;
    while (step == UNZ_OK) {
        // The count of the directory's end record can lie; the entries met are counted too.
        if (++entries > limits.entryCount)
            return QStringLiteral("more than %1 entries").arg(limits.entryCount);
        unz_file_info64 info{};
        const std::optional<QByteArray> raw = currentEntryName(zip, &info, limits.nameBytes);
        if (!raw)
            return QStringLiteral("an entry name longer than %1 bytes or unreadable")
                .arg(limits.nameBytes);
        const std::optional<QByteArray> name = SSZipArchive::sanitizedEntryName(*raw);
        if (!name)
            return QStringLiteral("an entry name that is not a plain relative path");
        QList<QByteArray> components = componentsOf(*name);
        if (!name->endsWith('/'))
            components.removeLast();
        if (components.size() > limits.folderDepth)
            return QStringLiteral("folders nested deeper than %1").arg(limits.folderDepth);
        QByteArray prefix;
        for (const QByteArray& component : components) {
            prefix += component;
            prefix += '/';
            folders.insert(prefix);
        }
        if (folders.size() > limits.folderCount)
            return QStringLiteral("more than %1 folders").arg(limits.folderCount);
        declaredBytes += static_cast<qint64>(std::min<ZPOS64_T>(
            info.uncompressed_size, static_cast<ZPOS64_T>(limits.totalBytes) + 1));
        if (declaredBytes > limits.totalBytes)
            return QStringLiteral("more than %1 bytes unpacked").arg(limits.totalBytes);
        step = unzGoToNextFile(zip);
    }
    if (step != UNZ_END_OF_LIST_OF_FILE)
        return QStringLiteral("unreadable central directory");
    if (unzGoToFirstFile(zip) != UNZ_OK)
        return QStringLiteral("no first entry");
    return {};
}

} // namespace

bool SSZipArchive::unzipFileAtPath(const QString& path, const QString& destination,
                                   const Limits& limits, QString* failure) {
    auto fail = [failure](const QString& why) {
        if (failure)
            *failure = why;
        return false;
    };
    const QFileInfo archiveInfo(path);
    if (archiveInfo.size() > limits.archiveBytes)
        return fail(QStringLiteral("archive larger than %1 bytes").arg(limits.archiveBytes));
    const QByteArray archivePath = QFile::encodeName(path);
    unzFile zip = unzOpen64(archivePath.constData());
    if (!zip)
        return fail(QStringLiteral("not a zip archive"));
    if (const QString refusal = checkCentralDirectory(zip, limits); !refusal.isEmpty()) {
        unzClose(zip);
        return fail(refusal);
    }
    const FileDescriptor destinationFd(::open(QFile::encodeName(destination).constData(),
                                              O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!destinationFd.isValid()) {
        unzClose(zip);
        return fail(QStringLiteral("destination folder cannot be opened"));
    }
    const qint64 maxEntryCount = limits.entryCount;
    const qint64 maxTotalBytes = limits.totalBytes;
    QString why;

    bool success = true;
    qint64 entryCount = 0;
    qint64 totalBytes = 0;
    std::vector<DatedItem> datedItems;
    std::vector<char> buffer(kBufferSize);
    while (success) {
        // The central directory's count can lie; the entries actually met are counted too.
        if (++entryCount > maxEntryCount || unzOpenCurrentFile(zip) != UNZ_OK) {
            why = QStringLiteral("an entry cannot be opened");
            success = false;
            break;
        }
        unz_file_info64 info{};
        const std::optional<QByteArray> rawName = currentEntryName(zip, &info, limits.nameBytes);
        const std::optional<QByteArray> name =
            rawName ? sanitizedEntryName(*rawName) : std::optional<QByteArray>();
        if (!name) {
            why = QStringLiteral("an entry's information is unreadable");
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
                    if (limits.cancelled && limits.cancelled->load()) {
                        why = QStringLiteral("cancelled");
                        success = false;
                        break;
                    }
                    const int read = unzReadCurrentFile(zip, buffer.data(), kBufferSize);
                    if (read == 0)
                        break;
                    totalBytes += read;
                    if (read < 0 || totalBytes > maxTotalBytes ||
                        !writeAll(fileFd.get(), buffer.data(), read)) {
                        why = totalBytes > maxTotalBytes
                                  ? QStringLiteral("more than %1 bytes unpacked").arg(maxTotalBytes)
                                  : QStringLiteral("an entry cannot be read or written");
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
    if (!success)
        return fail(why.isEmpty() ? QStringLiteral("an entry cannot be unpacked") : why);
    return true;
}
