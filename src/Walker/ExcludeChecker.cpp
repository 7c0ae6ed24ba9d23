#include "ExcludeChecker.h"

#include "Categories/Settings.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FileType.h"

#include <QFile>

ExcludeChecker::ExcludeChecker()
    : ExcludeChecker(Settings::scanInHiddenFolders(), Settings::excludeExtensions(),
                     Settings::excludeFiles(), Settings::excludeFolders()) {}

ExcludeChecker::ExcludeChecker(bool scanInHiddenFolders, const QStringList& excludeExtensions,
                               const QStringList& excludeFiles, const QStringList& excludeFolders)
    : m_bScanInHiddenFolders(scanInHiddenFolders) {
    // Entries are stored with their leading dot; the first character goes whatever it is,
    // so an entry without a dot loses a letter. One-character entries name nothing.
    for (const QString& extension : excludeExtensions) {
        if (extension.size() >= 2) {
            m_arrExcludeExtensions.insert(extension.mid(1).toLower());
        }
    }
    for (const QString& file : excludeFiles) {
        m_arrExcludeFiles.insert(QFile::encodeName(file));
    }
    for (const QString& folder : excludeFolders) {
        // An empty entry names no folder; as a prefix ("/") it would exclude everything.
        if (folder.isEmpty()) {
            continue;
        }
        QByteArray path = QFile::encodeName(folder);
        m_arrExcludeFiles.insert(path);
        if (!path.endsWith('/')) {
            path.append('/');
        }
        // A folder listed with a trailing "/" still excludes the folder itself, not only
        // what lies below it: otherwise the folder could be compared, and removed, as a
        // whole with the content the user asked to keep out of every scan.
        QByteArray bare = path;
        while (bare.size() > 1 && bare.endsWith('/')) {
            bare.chop(1);
        }
        m_arrExcludeFiles.insert(bare);
        m_arrExcludeFolders.push_back(std::move(path));
    }
}

bool ExcludeChecker::isFileItemExcluded(FileSystemItem* item) const {
    if (item == nullptr) {
        return true;
    }
    switch (exclusionForPath(item->path(), item->nameView())) {
    case Exclusion::Path:
        item->setIsCheckedForDuplicates(true);
        return true;
    case Exclusion::Extension:
        return true;
    case Exclusion::None:
        break;
    }
    return false;
}

ExcludeChecker::Exclusion ExcludeChecker::exclusionForPath(QByteArrayView path,
                                                           QByteArrayView name) const {
    if (!m_arrExcludeFiles.isEmpty() && m_arrExcludeFiles.contains(path.toByteArray())) {
        return Exclusion::Path;
    }
    for (const QByteArray& folder : m_arrExcludeFolders) {
        if (path.startsWith(folder)) {
            return Exclusion::Path;
        }
    }
    if (m_arrExcludeExtensions.isEmpty()) {
        return Exclusion::None;
    }
    const QByteArray extension = FileType::pathExtension(name.toByteArray());
    if (!extension.isEmpty() &&
        m_arrExcludeExtensions.contains(QFile::decodeName(extension).toLower())) {
        return Exclusion::Extension;
    }
    return Exclusion::None;
}
