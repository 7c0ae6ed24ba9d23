#include "UTIDynamicTypes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextStream>
#include <QtDebug>

namespace {

const QString kFileName = QStringLiteral("UTIDynamicTypes.txt");

} // namespace

const UTIDynamicTypes& UTIDynamicTypes::shared() {
    // A function-local static is initialised once even when several walker and filter
    // threads ask at the same moment.
    static const UTIDynamicTypes table = [] {
        for (const QString& path : candidatePaths()) {
            if (!QFile::exists(path)) {
                continue;
            }
            UTIDynamicTypes candidate(path);
            if (!candidate.isEmpty()) {
                return candidate;
            }
        }
        return UTIDynamicTypes();
    }();
    return table;
}

QStringList UTIDynamicTypes::candidatePaths() {
    QStringList paths;
    if (QCoreApplication::instance() != nullptr) {
        const QDir dir(QCoreApplication::applicationDirPath());
        paths << dir.filePath(kFileName) << dir.filePath(QStringLiteral("resources/") + kFileName)
              << QDir::cleanPath(dir.filePath(QStringLiteral("../share/sorvanta/") + kFileName));
    }
    paths << QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                       QStringLiteral("sorvanta/") + kFileName);
#ifdef SORVANTA_RESOURCES_DIR
    paths << QDir(QStringLiteral(SORVANTA_RESOURCES_DIR)).filePath(kFileName);
#endif
    paths.removeDuplicates();
    return paths;
}

UTIDynamicTypes::UTIDynamicTypes(const QString& filePath) {
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qWarning("File type table %s cannot be read: %s", qPrintable(filePath),
                 qPrintable(file.errorString()));
        return;
    }
    m_filePath = filePath;
    QTextStream stream(&file);
    stream.setEncoding(QStringConverter::Utf8);
    int lineNumber = 0;
    QString line;
    while (stream.readLineInto(&line)) {
        ++lineNumber;
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const QStringList words = trimmed.split(QRegularExpression(QStringLiteral("\\s+")));
        if (words.size() != 2) {
            qWarning("File type table %s, line %d: expected an extension and a name",
                     qPrintable(filePath), lineNumber);
            continue;
        }
        m_names.insert(words.at(0), words.at(1));
    }
}
