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
            const QString lowered = extension.mid(1).toLower();
            m_arrExcludeExtensions.insert(lowered);
            bool ascii = true;
            for (const QChar c : lowered) {
                ascii = ascii && c.unicode() < 0x80;
            }
            if (ascii) {
                m_arrExcludeAsciiExtensions.insert(lowered.toLatin1());
            }
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
    // Looked up without copying the path: asked for every scanned file.
    if (!m_arrExcludeFiles.isEmpty() &&
        m_arrExcludeFiles.contains(QByteArray::fromRawData(path.data(), path.size()))) {
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
    const QByteArrayView extension = FileType::pathExtensionView(name);
    if (extension.isEmpty()) {
        return Exclusion::None;
    }
    // Asked for every scanned file: a short ASCII extension, by far the usual one, is
    // lower-cased in place and looked up among the ASCII entries, which is the same answer
    // as decoding and lower-casing it (an ASCII text decodes to itself and lower-cases
    // letter by letter; an entry outside ASCII never equals it).
    char lowered[64];
    if (extension.size() <= qsizetype(sizeof lowered)) {
        bool ascii = true;
        for (qsizetype i = 0; i < extension.size() && ascii; ++i) {
            const auto c = static_cast<unsigned char>(extension[i]);
            ascii = c < 0x80;
            lowered[i] = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : char(c);
        }
        if (ascii) {
            return m_arrExcludeAsciiExtensions.contains(
                       QByteArray::fromRawData(lowered, extension.size()))
                       ? Exclusion::Extension
                       : Exclusion::None;
        }
    }
    if (m_arrExcludeExtensions.contains(QFile::decodeName(extension.toByteArray()).toLower())) {
        return Exclusion::Extension;
    }
    return Exclusion::None;
}
