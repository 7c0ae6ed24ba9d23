#pragma once

#include <QHash>
#include <QString>

#include <shared_mutex>

// The category number of each file-name extension seen so far, so that the type database
// is asked once per distinct extension. Keys are extensions exactly as passed (case kept:
// "JPG" and "jpg" are two entries). Safe for concurrent use from any number of threads;
// lookups take a shared lock only. Entries are never evicted: there is one per distinct
// extension string, a few thousand at most.
class UMUTITypeCache final {
public:
    // The one process-wide cache, made on first use.
    static UMUTITypeCache& cache();

    UMUTITypeCache() = default;
    UMUTITypeCache(const UMUTITypeCache&) = delete;
    UMUTITypeCache& operator=(const UMUTITypeCache&) = delete;

    // Stores (or replaces) the number for the extension.
    void setUTITypeForExtension(int type, const QString& extension);
    // The stored number, or -1 when there is none.
    int fileTypeIdentifierWithExtension(const QString& extension) const;
    // True when a number (even -1) is stored for the extension.
    bool containsExtension(const QString& extension) const;

private:
    mutable std::shared_mutex m_mutex;
    QHash<QString, int> m_types;
};
