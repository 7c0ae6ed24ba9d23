#include "Categories/FileSize.h"
#include "Categories/DateText.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <string>

namespace {

// Size texts must not follow the locale, so every case here runs under one whose decimal
// separator is a comma: Qt's default locale always, the C library's numeric locale too
// when such a locale is installed.
class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override {
        m_oldQtLocale = QLocale();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        m_oldNumeric = std::setlocale(LC_NUMERIC, nullptr);
        for (const char* name :
             {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "ru_RU.UTF-8"})
            if (std::setlocale(LC_NUMERIC, name))
                break;
        ASSERT_EQ(QLocale().decimalPoint(), QStringLiteral(","));
    }
    void TearDown() override {
        std::setlocale(LC_NUMERIC, m_oldNumeric.c_str());
        QLocale::setDefault(m_oldQtLocale);
    }

private:
    QLocale m_oldQtLocale;
    std::string m_oldNumeric;
};

// Expected texts are written with an ordinary space where the no-break space goes.
QString sized(const char* text) {
    return QString::fromUtf8(text).replace(QLatin1Char(' '), QChar(0x00A0));
}

struct Case {
    std::uint64_t bytes;
    const char* text;
};

} // namespace

TEST_F(CommaLocale, Dot1) {
    const Case cases[] = {
        {0, "0 B"},
        {512, "512 B"},
        {999, "999 B"},
        {1000, "1 KB"},
        {1500, "1.5 KB"},
        {1234567, "1.23 MB"},
        {12345678, "12.3 MB"},
        {999999, "1000 KB"}, // rounded after the unit is chosen
        {1010, "1.01 KB"},
        {1100, "1.1 KB"},
        // Ties round half to even on the decimal form: 1.135 is a tie even though its
        // binary value lies just below it.
        {1005, "1 KB"},
        {1015, "1.02 KB"},
        {1125, "1.12 KB"},
        {1135, "1.14 KB"},
        {12250, "12.2 KB"},
        {12350, "12.4 KB"},
        {9995, "10 KB"},
        {99950, "100 KB"},
        {1000000000, "1 GB"},
        {2500000000000, "2.5 TB"},
        {1000000000000000, "1 PB"},
        {1000000000000000000, "1000 PB"}, // no unit beyond PB
        {UINT64_MAX, "18446.7 PB"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileSize::formatMemoryStringDot1(c.bytes), sized(c.text)) << c.bytes;
}

TEST_F(CommaLocale, Dot1With3DigitsExactly) {
    const Case cases[] = {
        {0, "0 B"},         {999, "999 B"},        {1000, "1 KB"},        {1234567, "1.23 MB"},
        {45600, "45.6 KB"}, {123456789, "123 MB"}, {12345678, "12.3 MB"}, {99940, "99.9 KB"},
        {99950, "100 KB"},  {122500, "122 KB"},    {123500, "124 KB"},    {999999, "1000 KB"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileSize::formatMemoryStringDot1With3DigitsExactly(c.bytes), sized(c.text))
            << c.bytes;
}

TEST_F(CommaLocale, Dot0) {
    EXPECT_EQ(FileSize::formatMemoryStringDot0(0), QStringLiteral("Zero Bytes"));
    const Case cases[] = {
        {1, "1 B"},       {999, "999 B"},      {1000, "1 KB"},
        {1500, "1.5 KB"}, {9950, "9.9 KB"}, // the fraction of 9.95 lies just below .95
        {9970, "10 KB"},  {25300000, "25 MB"}, {1040, "1 KB"}, // fraction below .05: no digit
        {1050, "1.1 KB"}, {1250, "1.2 KB"},                    // exact tie, rounded to even
        {1350, "1.4 KB"}, {14500, "14 KB"},                    // from 10 on no digit, ties to even
        {15500, "16 KB"}, {999999, "1000 KB"}, {UINT64_MAX, "18447 PB"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileSize::formatMemoryStringDot0(c.bytes), sized(c.text)) << c.bytes;
}

TEST(DateText, ShortTextInTheLocalZone) {
    const QLocale old;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(DateText::shortStringDate(QDateTime(QDate(2016, 3, 5), QTime(9, 7, 3))),
              QStringLiteral("Mar 5, 2016, 09:07:03"));
    EXPECT_EQ(DateText::shortStringDate(QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))),
              QStringLiteral("Dec 31, 1999, 23:59:59"));
    // The reference date of an unreadable file date, and no date at all, show nothing.
    EXPECT_EQ(DateText::shortStringDate(QDateTime::fromSecsSinceEpoch(0)), QString());
    EXPECT_EQ(DateText::shortStringDate(QDateTime()), QString());
    EXPECT_FALSE(DateText::shortStringDate(QDateTime::fromSecsSinceEpoch(1)).isEmpty());
    // Within a second of the reference date is still a date of its own.
    EXPECT_FALSE(DateText::shortStringDate(QDateTime::fromMSecsSinceEpoch(500)).isEmpty());
    EXPECT_FALSE(DateText::shortStringDate(QDateTime::fromMSecsSinceEpoch(-500)).isEmpty());
    QLocale::setDefault(old);
}
