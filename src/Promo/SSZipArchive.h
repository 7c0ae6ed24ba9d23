#pragma once

#include <QDateTime>
#include <QString>

#include <atomic>
#include <optional>

// Unpacks a zip archive into a folder; minizip reads the archive (central directory, entry
// headers, inflating, CRC checks). Built for archives fetched from the network, so it is
// strict where a plain unpacker would be lenient:
//   - nothing is ever written outside the destination: names that are absolute, climb with
//     "..", contain a zero byte or are not valid UTF-8 make the whole extraction fail;
//   - no symbolic link is created (link entries are skipped) and no existing link is
//     followed: every folder and file is opened relative to the destination with O_NOFOLLOW;
//   - the archive's size, its number of entries, the folders it makes, their depth, the
//     length of a name and the bytes it unpacks are capped (Limits); the central directory
//     is checked against them before anything is written, so an archive over a limit is
//     refused whole and leaves nothing behind in the destination;
//   - a CRC mismatch, a read or write error, a folder or file that cannot be made, or any
//     archive error other than the end of the entry list makes the result a failure.
// Entries written before a failure stay on the disk; the caller removes the destination.
class SSZipArchive final {
public:
    SSZipArchive() = delete;

    // A panel is one page with its styles and pictures: a few megabytes in a few dozen files
    // and folders. The limits leave ample room for that and none for a bomb.
    // The archive file itself (also the most the download takes).
    static constexpr qint64 kMaxArchiveBytes = qint64(16) * 1024 * 1024;
    // Entries of the archive, folders included.
    static constexpr qint64 kMaxEntryCount = 1000;
    // Distinct folders the extraction makes, counting every intermediate one.
    static constexpr qint64 kMaxFolderCount = 200;
    // Folders nested below the destination by one entry.
    static constexpr qint64 kMaxFolderDepth = 8;
    // Bytes of one entry's name: longer names are no page's files.
    static constexpr qint64 kMaxNameBytes = 1024;
    // Bytes unpacked in all, as declared by the archive and as actually inflated.
    static constexpr qint64 kMaxTotalBytes = qint64(64) * 1024 * 1024;

    struct Limits {
        qint64 archiveBytes = kMaxArchiveBytes;
        qint64 entryCount = kMaxEntryCount;
        qint64 folderCount = kMaxFolderCount;
        qint64 folderDepth = kMaxFolderDepth;
        qint64 nameBytes = kMaxNameBytes;
        qint64 totalBytes = kMaxTotalBytes;
        // Checked between pieces of data: once set, the extraction stops and fails.
        const std::atomic<bool>* cancelled = nullptr;
    };

    // Unpacks the archive at `path` into the existing folder `destination`, rewriting files
    // that exist. Answers whether every entry was unpacked. Any thread; blocking.
    static bool unzipFileAtPath(const QString& path, const QString& destination);
    // The same with explicit caps (the fuzz run and the tests use small ones).
    static bool unzipFileAtPath(const QString& path, const QString& destination,
                                qint64 maxEntryCount, qint64 maxTotalBytes);
    // The same with every limit given; `failure`, when given, receives why the archive was
    // refused or the extraction failed (one line for the log).
    static bool unzipFileAtPath(const QString& path, const QString& destination,
                                const Limits& limits, QString* failure = nullptr);

    // The date of an MS-DOS date-time word in local time: year = bits 25-31 + 1980, month =
    // bits 21-24, day = bits 16-20, hour = bits 11-15, minute = bits 5-10, second = bits 0-4
    // times 2. Out-of-range fields carry over as a calendar does (month 0 is December of the
    // year before, day 0 the last day of the month before).
    static QDateTime _dateWithMSDOSFormat(quint32 msdosDateTime);

    // The entry name made safe to join to the destination: "\" turned into "/", or nothing
    // when the name must be refused (empty, absolute, a ".." component, a zero byte,
    // invalid UTF-8). A trailing "/" (a folder entry) is kept.
    static std::optional<QByteArray> sanitizedEntryName(const QByteArray& rawName);
};
