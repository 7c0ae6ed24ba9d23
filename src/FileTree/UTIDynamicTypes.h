#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The application's own table of file-name extensions the type database does not know,
// read from the resource file "UTIDynamicTypes.txt". One entry a line: the extension as
// written in file names (case-sensitive, no dot), white space, and a category name
// ("image", "video", "music", "document", "archieve", "other", "folder"; any other word
// is kept and stands for no category). Blank lines and lines beginning with "#" are
// skipped, as are lines that are not exactly two words (with a warning).
class UTIDynamicTypes final {
public:
    // The table of the installed application, read once on first use (thread-safe). Empty
    // when the file was not found or holds no entry.
    static const UTIDynamicTypes& shared();

    // Where the resource file is looked for, in order: beside the executable, in a
    // "resources" folder beside it, in the installed data folder ("../share/sorvanta"
    // from the executable and the XDG data folders), then in the source tree's resources.
    static QStringList candidatePaths();

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
