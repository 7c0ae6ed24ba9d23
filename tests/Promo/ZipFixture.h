#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <zip.h>
#include <zlib.h>

#include <optional>

// Archives made in the tests with minizip's writing half, so each one holds exactly the
// entry the test is about.
namespace ZipFixture {

struct Entry {
    Entry(QByteArray entryName, QByteArray entryData = {}, int entryMethod = Z_DEFLATED,
          quint32 attributes = 0, quint32 date = 0x5A2E6000, std::optional<quint32> crc = {})
        : name(std::move(entryName)), data(std::move(entryData)), method(entryMethod),
          externalAttributes(attributes), dosDate(date), crcOverride(crc) {}
    QByteArray name;
    QByteArray data;
    int method = Z_DEFLATED;            // 0 stores
    quint32 externalAttributes = 0;     // e.g. Unix mode << 16
    quint32 dosDate = 0x5A2E6000;       // 2025-01-14 12:00:00
    std::optional<quint32> crcOverride; // a wrong CRC for a stored entry
};

inline bool write(const QString& path, const QList<Entry>& entries) {
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    bool ok = true;
    for (const Entry& entry : entries) {
        zip_fileinfo info{};
        info.dosDate = entry.dosDate;
        info.external_fa = entry.externalAttributes;
        const bool raw = entry.crcOverride.has_value();
        const int method = raw ? 0 : entry.method;
        ok = ok && zipOpenNewFileInZip2(zip, entry.name.constData(), &info, nullptr, 0, nullptr, 0,
                                        nullptr, method, method ? Z_DEFAULT_COMPRESSION : 0,
                                        raw ? 1 : 0) == ZIP_OK;
        ok = ok && (entry.data.isEmpty() ||
                    zipWriteInFileInZip(zip, entry.data.constData(),
                                        static_cast<unsigned>(entry.data.size())) == ZIP_OK);
        if (raw)
            ok = ok && zipCloseFileInZipRaw(zip, static_cast<uLong>(entry.data.size()),
                                            *entry.crcOverride) == ZIP_OK;
        else
            ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

inline QByteArray bytes(const QList<Entry>& entries, const QString& scratchPath) {
    if (!write(scratchPath, entries))
        return {};
    QFile file(scratchPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    file.close();
    QFile::remove(scratchPath);
    return data;
}

} // namespace ZipFixture
