#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <memory>

class FileSystemItem;

// A file or folder name taken apart the way a person judges which of several identical
// files is the copy: the words that mark a copy in many languages ("copy", "kopie", "副本",
// ...) and the copy numbers around them are stripped, leaving the core name, the number of
// copy marks found (the copy power) and the numbers found.
//
// Names are normalised to Unicode NFD and lower-cased before they are parsed: the word
// tables are in NFD, and names on Linux usually come in NFC, so both spellings of a name
// give the same record. Every length and position follows the normalised text.
//
// A record is immutable once built, so it may be read from any thread. Automatic selection
// keeps its own links from records to the copies it compares (one set per computation);
// nothing about a computation is stored here.
class AutoSelectName final {
public:
    AutoSelectName(QString coreName, qint64 powerOfCopy, QList<qint64> copyNumbers);

    // The record of a scanned node: its name, only the last path component for a root (whose
    // name is a whole path), without the path extension for a file or a package folder.
    // Null for no node. Asks a folder whether it is a package, which the folder may work out
    // and keep, so call it where the tree may be changed (the main thread after a scan).
    static std::unique_ptr<AutoSelectName> buildAutoSelectNameForFileItem(FileSystemItem* item);

    // The record of a scanned node's name, given as the raw bytes the node keeps (decoded as
    // UTF-8; invalid bytes become replacement characters and are parsed like any letter).
    // `isRoot`: the node has no parent, so its name is a whole path and only the last path
    // component counts. `removeExtension`: the node is a file or a package folder, so the
    // path extension (the last dot-separated ending, never a leading dot alone) goes.
    static std::unique_ptr<AutoSelectName>
    buildAutoSelectNameForNodeName(const QByteArray& rawName, bool isRoot, bool removeExtension);

    // The record of a name as it stands (no extension handling): lower-cased, parsed with
    // number collection, numbers sorted ascending.
    static std::unique_ptr<AutoSelectName> buildAutoSelectNameForName(const QString& name);

    // The core name alone. When the name carries no copy mark the answer is the name itself
    // (lower-cased unless `isNameAlreadyInLowerCase`), exactly as given, so a caller may test
    // "has no copy marks" by comparing the answer with its input; otherwise it is the core
    // name in NFD.
    static QString calculateOriginalNameOfName(const QString& name, bool isNameAlreadyInLowerCase);

    // The number syntax: outer "(...)" pairs are dropped while at least 3 characters remain,
    // then only a canonical decimal integer counts (ASCII digits, no leading zero, no plus
    // sign, no grouping, an optional minus sign, within 64 bits). Answers whether `text` is
    // a number and stores it in `number`.
    static bool parseNumber(qint64& number, QStringView text);

    // -1 when this record ranks before `other` (looks less like a copy), 1 when after, 0 when
    // they tie: the smaller copy power first, then the copy numbers pairwise in ascending
    // order, then the record with fewer numbers. Core names are not compared.
    int compareWithSelectName(const AutoSelectName& other) const;
    static int compareNumber(qint64 first, qint64 second);

    const QString& getCoreName() const { return m_sCoreName; }
    qint64 getPowerOfCopy() const { return m_nCopyPower; }
    // Ascending when there are two or more.
    const QList<qint64>& getCopyNumbers() const { return m_arrCopyNumbers; }

private:
    QString m_sCoreName;
    qint64 m_nCopyPower = 0;
    QList<qint64> m_arrCopyNumbers;
};
