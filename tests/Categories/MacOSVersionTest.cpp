#include "Categories/MacOSVersion.h"

#include <QSysInfo>

#include <gtest/gtest.h>

TEST(MacOSVersion, CachedAnswersCompareDigitRunsAsNumbers) {
    const struct {
        QString system;
        bool is10_9;
        bool is10_10;
    } cases[] = {
        {"10.9.5", true, false},  {"10.10", true, true}, {"10.9", true, false},
        {"10.8.5", false, false}, {"12", true, true}, // a Debian release
        {"22.04", true, true},                        // an Ubuntu release
        {QString(), true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.system.toStdString());
        const MacOSVersion version(c.system);
        EXPECT_EQ(version.is_10_9_orHigher(), c.is10_9);
        EXPECT_EQ(version.is_10_10_orHigher(), c.is10_10);
    }
}

TEST(MacOSVersion, ExactLowerAndHigherTests) {
    const MacOSVersion system("10.9.5");
    EXPECT_TRUE(system.isMacOSHasVersionOrLowerOrHigher("10.9.5", false, false));
    EXPECT_TRUE(system.isMacOSHasVersionOrLowerOrHigher("10.09.05", false, false));
    EXPECT_FALSE(system.isMacOSHasVersionOrLowerOrHigher("10.9", false, false));
    EXPECT_TRUE(system.isMacOSHasVersionOrLowerOrHigher("10.10", true, false));
    EXPECT_FALSE(system.isMacOSHasVersionOrLowerOrHigher("10.9", true, false));
    EXPECT_TRUE(system.isMacOSHasVersionOrLowerOrHigher("10.9", false, true));
    EXPECT_FALSE(system.isMacOSHasVersionOrLowerOrHigher("10.10", false, true));
    // Both flags, or a missing version on either side, answer true.
    EXPECT_TRUE(system.isMacOSHasVersionOrLowerOrHigher("99", true, true));
    EXPECT_TRUE(system.isMacOSHasVersionOrLowerOrHigher(QString(), false, false));
    EXPECT_TRUE(MacOSVersion(QString()).isMacOSHasVersionOrLowerOrHigher("10.9", false, false));
    // Runs longer than any integer still compare.
    EXPECT_LT(MacOSVersion::compareVersions("1.99999999999999999999", "1.100000000000000000000"),
              0);
}

TEST(MacOSVersion, TheInstanceReadsTheRunningSystemOnce) {
    MacOSVersion& first = MacOSVersion::GetInstance();
    EXPECT_EQ(&first, &MacOSVersion::GetInstance());
    const QString product = QSysInfo::productVersion();
    if (product == "unknown" || product.isEmpty())
        EXPECT_TRUE(first.version().isNull());
    else
        EXPECT_EQ(first.version(), product);
}
