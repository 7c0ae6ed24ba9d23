#include "Platform/VolumeInfo.h"

#include <QFile>
#include <QStorageInfo>

#include <cstdio>

namespace {

// Undoes the octal escapes (\040 space, \011 tab, \012 newline, \134 backslash) that the
// kernel writes into mount table fields.
QByteArray unescapeMountField(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = false;
            const int value = digits.toInt(&ok, 8);
            if (ok && digits.size() == 3) {
                out.append(char(value));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return out;
}

QByteArray dropLastComponent(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash <= 0)
        return QByteArray("/");
    return path.left(slash);
}

} // namespace

namespace VolumeInfo {

QSet<QByteArray> mountPoints() {
    QSet<QByteArray> points;
    FILE* file = std::fopen("/proc/self/mountinfo", "re");
    if (!file)
        return points;
    char* line = nullptr;
    size_t capacity = 0;
    while (::getline(&line, &capacity, file) > 0) {
        // Fields: id, parent id, major:minor, root, mount point, ...
        const QList<QByteArray> fields = QByteArray(line).split(' ');
        if (fields.size() > 4)
            points.insert(unescapeMountField(fields[4]));
    }
    std::free(line);
    std::fclose(file);
    return points;
}

bool isVolumeAtPath(const QByteArray& path) {
    return mountPoints().contains(path);
}

QByteArray volumePathPrefixOfPath(const QByteArray& path) {
    if (!path.startsWith('/'))
        return {};
    const QSet<QByteArray> points = mountPoints();
    QByteArray current = path;
    while (current.size() > 1 && current.endsWith('/'))
        current.chop(1);
    while (current != "/") {
        if (points.contains(current))
            return current + '/';
        current = dropLastComponent(current);
    }
    return {};
}

QString localizedNameOfVolumeForPath(const QByteArray& path) {
    const QStorageInfo storage(QFile::decodeName(path));
    if (storage.isValid()) {
        if (!storage.name().isEmpty())
            return storage.name();
        const QString root = storage.rootPath();
        const QString last = root.section('/', -1, -1, QString::SectionSkipEmpty);
        if (!last.isEmpty())
            return last;
    }
    return QStringLiteral("Unknown disk");
}

} // namespace VolumeInfo
