#include "MacOSVersion.h"

#include <QSysInfo>

namespace {

QString systemProductVersion() {
    const QString version = QSysInfo::productVersion();
    // Qt answers "unknown" when the system does not say.
    if (version.isEmpty() || version == QLatin1String("unknown"))
        return QString();
    return version;
}

// Compares two runs of digits as numbers of any length.
int compareDigitRuns(QStringView a, QStringView b) {
    while (a.size() > 1 && a.front() == u'0')
        a = a.sliced(1);
    while (b.size() > 1 && b.front() == u'0')
        b = b.sliced(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

} // namespace

MacOSVersion& MacOSVersion::GetInstance() {
    static MacOSVersion instance;
    return instance;
}

MacOSVersion::MacOSVersion() : MacOSVersion(systemProductVersion()) {}

MacOSVersion::MacOSVersion(const QString& version) : m_sMacOSVersion(version) {
    initCachedData();
}

void MacOSVersion::initCachedData() {
    m_bIs_10_9_orHigher = isMacOSHasVersionOrLowerOrHigher(QStringLiteral("10.9"), false, true);
    m_bIs_10_10_orHigher = isMacOSHasVersionOrLowerOrHigher(QStringLiteral("10.10"), false, true);
}

int MacOSVersion::compareVersions(const QString& a, const QString& b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const qsizetype startA = i;
            const qsizetype startB = j;
            while (i < a.size() && a[i].isDigit())
                ++i;
            while (j < b.size() && b[j].isDigit())
                ++j;
            const int order = compareDigitRuns(QStringView(a).sliced(startA, i - startA),
                                               QStringView(b).sliced(startB, j - startB));
            if (order != 0)
                return order;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j] ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

bool MacOSVersion::isMacOSHasVersionOrLowerOrHigher(const QString& version, bool orLower,
                                                    bool orHigher) const {
    if (version.isNull() || m_sMacOSVersion.isNull())
        return true;
    if (orLower && orHigher)
        return true;
    const int order = compareVersions(version, m_sMacOSVersion);
    if (orHigher)
        return order <= 0;
    if (orLower)
        return order >= 0;
    return order == 0;
}
