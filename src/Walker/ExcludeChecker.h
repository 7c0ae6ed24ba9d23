#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

class FileSystemItem;

// Says whether a scanned item falls under the user's skip lists (excluded folders, files
// and extensions) and carries the switch for scanning hidden folders. It is a snapshot of
// the settings taken when it is made: later changes of the settings reach the next
// checker, never a running scan. Immutable after construction, so any number of threads
// may ask it at once without a lock.
//
// Paths are compared as raw bytes: the settings' paths are encoded with the file-name
// encoding and compared, case-sensitively, with the item's path bytes.
class ExcludeChecker final {
public:
    // Why an item is excluded.
    enum class Exclusion {
        None,
        Path,      // its path is listed, or lies under a listed folder
        Extension, // its name's extension is listed
    };

    // A snapshot of the settings store (scanInHiddenFolders, excludeExtensions,
    // excludeFiles, excludeFolders).
    ExcludeChecker();
    // A snapshot of the given lists, read by the same rules.
    ExcludeChecker(bool scanInHiddenFolders, const QStringList& excludeExtensions,
                   const QStringList& excludeFiles, const QStringList& excludeFolders);

    bool isScanInHiddenFolders() const { return m_bScanInHiddenFolders; }

    // True when the item (file or folder) is to be skipped; a null item is. An item
    // excluded by its path is also marked checked (setIsCheckedForDuplicates(true)); one
    // excluded only by its extension is not.
    bool isFileItemExcluded(FileSystemItem* item) const;

    // The rule behind isFileItemExcluded for a path and the item's own name (for a root,
    // the whole start path): a listed path, then a listed folder prefix, then the name's
    // extension, lower-cased.
    Exclusion exclusionForPath(QByteArrayView path, QByteArrayView name) const;

private:
    bool m_bScanInHiddenFolders = false;
    // Lower-case extensions without their first character.
    QSet<QString> m_arrExcludeExtensions;
    // Those of them that are ASCII, as bytes.
    QSet<QByteArray> m_arrExcludeAsciiExtensions;
    // Excluded folders, each ending in "/", in list order.
    std::vector<QByteArray> m_arrExcludeFolders;
    // Excluded file paths and excluded folder paths as listed, plus each listed folder
    // without its trailing "/".
    QSet<QByteArray> m_arrExcludeFiles;
};
