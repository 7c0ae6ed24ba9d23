#include "UTIDynamicTypes.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QTextStream>
#include <QtDebug>

// The table compiled into the engine. The engine is a static library, so its resources are
// registered by hand: a static initialiser in an object file nothing refers to would be
// dropped by the linker.
static void ensureTypesRegistered() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(types);
        return true;
    }();
    (void)registered;
}

QString UTIDynamicTypes::resourcePath() {
    return QStringLiteral(":/types/UTIDynamicTypes.txt");
}

const UTIDynamicTypes& UTIDynamicTypes::shared() {
    // A function-local static is initialised once even when several walker and filter
    // threads ask at the same moment.
    static const UTIDynamicTypes table = [] {
        ensureTypesRegistered();
        return UTIDynamicTypes(resourcePath());
    }();
    return table;
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
