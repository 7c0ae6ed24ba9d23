#pragma once

#include <QString>

// The version of the operating system the application runs on, read once, and the answers
// the interface asks of it. On an unknown version every test answers true, so the
// application behaves as on a recent system.
class MacOSVersion final {
public:
    // The process's instance, made on the first call from the operating system's product
    // version. Meant for the main thread.
    static MacOSVersion& GetInstance();

    // Reads the running system's product version.
    MacOSVersion();
    // Uses `version` as the system's version; a null string stands for an unknown one.
    explicit MacOSVersion(const QString& version);
    MacOSVersion(const MacOSVersion&) = delete;
    MacOSVersion& operator=(const MacOSVersion&) = delete;

    // The version as read; null when unknown.
    QString version() const { return m_sMacOSVersion; }

    // Whether the system's version is `version` (with `orLower`: or earlier; with
    // `orHigher`: or later). Digit runs compare as numbers, so "10.10" is later than
    // "10.9" and "10.9" earlier than "10.9.5". True when either version is unknown or
    // both flags are set.
    bool isMacOSHasVersionOrLowerOrHigher(const QString& version, bool orLower,
                                          bool orHigher) const;

    bool is_10_9_orHigher() const { return m_bIs_10_9_orHigher; }
    bool is_10_10_orHigher() const { return m_bIs_10_10_orHigher; }

    // Compares two version texts, digit runs as numbers: negative, 0 or positive.
    static int compareVersions(const QString& a, const QString& b);

private:
    void initCachedData();

    QString m_sMacOSVersion;
    bool m_bIs_10_9_orHigher = true;
    bool m_bIs_10_10_orHigher = true;
};
