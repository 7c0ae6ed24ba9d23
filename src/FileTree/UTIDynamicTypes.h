#pragma once

#include <QHash>
#include <QString>

// The application's own table of file-name extensions the type database does not know,
// compiled into the program from "UTIDynamicTypes.txt". One entry a line: the extension as
// written in file names (case-sensitive, no dot), white space, and a category name
// ("image", "video", "music", "document", "archieve", "other", "folder"; any other word
// is kept and stands for no category). Blank lines and lines beginning with "#" are
// skipped, as are lines that are not exactly two words (with a warning).
class UTIDynamicTypes final {
public:
    // The table compiled into the program, read once on first use (thread-safe). Empty only
    // when that resource holds no entry; a missing or damaged table never stops anything:
    // every extension it does not list then counts as "other".
    static const UTIDynamicTypes& shared();
    // Where shared() reads the table: a resource of the engine.
    static QString resourcePath();

    // An empty table.
    UTIDynamicTypes() = default;
    // The table read from a file; empty when the file cannot be read.
    explicit UTIDynamicTypes(const QString& filePath);

    bool isEmpty() const { return m_names.isEmpty(); }
    qsizetype count() const { return m_names.size(); }
    // The file the table was read from; empty when none was.
    QString filePath() const { return m_filePath; }

    // True when the table lists the extension (exact, case-sensitive).
    bool containsExtension(const QString& extension) const { return m_names.contains(extension); }
    // The listed name, or an empty string.
    QString nameForExtension(const QString& extension) const { return m_names.value(extension); }

private:
    QString m_filePath;
    QHash<QString, QString> m_names;
};
