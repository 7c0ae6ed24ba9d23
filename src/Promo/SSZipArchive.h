#pragma once

#include <QDateTime>
#include <QString>

// Unpacks a zip archive into a folder; minizip reads the archive (central directory, entry
// headers, inflating, CRC checks). Built for archives fetched from the network, so it is
// strict where a plain unpacker would be lenient:
//   - nothing is ever written outside the destination: names that are absolute, climb with
//     "..", contain a zero byte or are not valid UTF-8 make the whole extraction fail;
//   - no symbolic link is created (link entries are skipped) and no existing link is
//     followed: every folder and file is opened relative to the destination with O_NOFOLLOW;
//   - the number of entries and the bytes written are capped;
//   - a CRC mismatch, a read or write error, a folder or file that cannot be made, or any
//     archive error other than the end of the entry list makes the result a failure.
// Entries written before a failure stay on the disk; the caller removes the destination.
class SSZipArchive final {
public:
    SSZipArchive() = delete;

    static constexpr qint64 kMaxEntryCount = 10000;
    static constexpr qint64 kMaxTotalBytes = qint64(256) * 1024 * 1024;

    // Unpacks the archive at `path` into the existing folder `destination`, rewriting files
    // that exist. Answers whether every entry was unpacked. Any thread; blocking.
    static bool unzipFileAtPath(const QString& path, const QString& destination);
    // The same with explicit caps (the fuzz run and the tests use small ones).
    static bool unzipFileAtPath(const QString& path, const QString& destination,
                                qint64 maxEntryCount, qint64 maxTotalBytes);

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
