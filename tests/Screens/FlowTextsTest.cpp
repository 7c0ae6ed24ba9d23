#include "Screens/FlowTexts.h"
#include "Categories/DateText.h"

#include <gtest/gtest.h>

using AttributedTextBuilder::boldParts;
using AttributedTextBuilder::plainText;

namespace {

const QChar kNbsp(0x00A0);

QString size(const char* number, const char* unit) {
    return QLatin1String(number) + kNbsp + QLatin1String(unit);
}

} // namespace

TEST(FlowTextsTest, InterimFoldersLineCountsFoldersAndBoldsTheDate) {
    const QDateTime finished(QDate(2016, 3, 5), QTime(9, 7, 3));
    const QString date = DateText::shortStringDate(finished);
    ASSERT_FALSE(date.isEmpty());
    struct Case {
        qsizetype count;
        QString text;
    } cases[] = {
        {1, QStringLiteral("1 folder was scanned on ") + date + QStringLiteral(".")},
        {2, QStringLiteral("2 folders were scanned on ") + date + QStringLiteral(".")},
        {0, QStringLiteral("0 folders were scanned on ") + date + QStringLiteral(".")},
    };
    for (const Case& c : cases) {
        const AttributedText line = FlowTexts::interimFoldersLine(c.count, finished);
        EXPECT_EQ(plainText(line), c.text) << c.count;
        EXPECT_EQ(boldParts(line), QStringList{date}) << c.count;
    }
}

TEST(FlowTextsTest, InterimFoundLineNamesTheCleanedSizeOnlyWhenSomethingWasRemoved) {
    struct Case {
        std::optional<std::int64_t> found, removed;
        QString text;
        QStringList bold;
    } cases[] = {
        {1500000,
         std::nullopt,
         size("1.5", "MB") + QStringLiteral(" of duplicates were found."),
         {size("1.5", "MB")}},
        {1500000,
         0,
         size("1.5", "MB") + QStringLiteral(" of duplicates were found."),
         {size("1.5", "MB")}},
        {1500000,
         250000,
         size("1.5", "MB") + QStringLiteral(" of duplicates were found. ") + size("250", "KB") +
             QStringLiteral(" were cleaned."),
         {size("1.5", "MB"), size("250", "KB")}},
    };
    for (const Case& c : cases) {
        const AttributedText line = FlowTexts::interimFoundLine(c.found, c.removed);
        EXPECT_EQ(plainText(line), c.text);
        EXPECT_EQ(boldParts(line), c.bold);
    }
}

TEST(FlowTextsTest, NoDuplicatesSentenceShortensLongNamesFromBothEnds) {
    const QString name45 = QStringLiteral("abcdefghijklmnopqrst_MID_uvwxyzABCDEFGHIJKLMN");
    ASSERT_EQ(name45.size(), 45);
    const QString name40 = name45.left(40);
    const QString name21a = QStringLiteral("0123456789X9876543210");
    const QString name21b = QStringLiteral("ABCDEFGHIJYKLMNOPQRST");
    const QString name20 = QStringLiteral("ABCDEFGHIJKLMNOPQRST");
    struct Case {
        QStringList folders;
        QString text;
        QStringList bold;
    } cases[] = {
        {{QStringLiteral("/home/u/") + name45},
         QStringLiteral("The folder abcdefghijklmnopqrst...uvwxyzABCDEFGHIJKLMN was scanned."),
         {QStringLiteral("abcdefghijklmnopqrst...uvwxyzABCDEFGHIJKLMN")}},
        {{QStringLiteral("/x/") + name40},
         QStringLiteral("The folder ") + name40 + QStringLiteral(" was scanned."),
         {name40}},
        {{QStringLiteral("/a/") + name21a, QStringLiteral("/b/") + name21b + QStringLiteral("/")},
         QStringLiteral("The folder 0123456789...9876543210 and ABCDEFGHIJ...KLMNOPQRST were "
                        "scanned."),
         {QStringLiteral("0123456789...9876543210"), QStringLiteral("ABCDEFGHIJ...KLMNOPQRST")}},
        {{QStringLiteral("/a/") + name20, QStringLiteral("/b/Photos")},
         QStringLiteral("The folder ") + name20 + QStringLiteral(" and Photos were scanned."),
         {name20, QStringLiteral("Photos")}},
        {{QStringLiteral("/a/Music"), QStringLiteral("/b"), QStringLiteral("/c"),
          QStringLiteral("/d")},
         QStringLiteral("The folders Music and others were scanned."),
         {QStringLiteral("Music")}},
        {{QStringLiteral("/")}, QStringLiteral("The folder / was scanned."), {QStringLiteral("/")}},
    };
    for (const Case& c : cases) {
        const AttributedText sentence = FlowTexts::noDuplicatesFolderSentence(c.folders);
        EXPECT_EQ(plainText(sentence), c.text);
        EXPECT_EQ(boldParts(sentence), c.bold);
    }
}

TEST(FlowTextsTest, FilesCountIsGroupedWithSpacesAndSingularForOne) {
    struct Case {
        std::uint64_t count;
        const char* text;
    } cases[] = {
        {1234567, "1 234 567 files checked."},
        {1, "1 file checked."},
        {0, "0 files checked."},
        {999, "999 files checked."},
        {1000, "1 000 files checked."},
        {18446744073709551615ull, "18 446 744 073 709 551 615 files checked."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FlowTexts::filesCheckedLine(c.count), QLatin1String(c.text));
}

TEST(FlowTextsTest, MinimalSizeNoteOnlyForAManualNonZeroSize) {
    EXPECT_FALSE(FlowTexts::minimalSizeNote(true, 1048576));
    EXPECT_FALSE(FlowTexts::minimalSizeNote(false, 0));
    EXPECT_EQ(FlowTexts::minimalSizeNote(false, 1048576),
              QStringLiteral("*Minimal duplicates file size is ") + size("1.05", "MB") +
                  QStringLiteral("."));
}

TEST(FlowTextsTest, CongratulationsSentenceKeepsTheStartOfLongNames) {
    const QString name50 = QString(50, QLatin1Char('n'));
    const QString name21 = QStringLiteral("ABCDEFGHIJKLMNOPQRSTU");
    struct Case {
        QStringList folders;
        QString text;
    } cases[] = {
        {{QStringLiteral("/x/") + name50},
         QStringLiteral("The folder ") + QString(40, QLatin1Char('n')) +
             QStringLiteral("... was processed.")},
        {{QStringLiteral("/x/") + name21, QStringLiteral("/y/Short")},
         QStringLiteral("The folder ABCDEFGHIJKLMNOPQRST... and Short were processed.")},
        {{QStringLiteral("/a"), QStringLiteral("/b"), QStringLiteral("/c")},
         QStringLiteral("The folders a and others were processed.")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plainText(FlowTexts::congratulationsFolderSentence(c.folders)), c.text);
}

TEST(FlowTextsTest, CongratulationsLinesBoldTheSizes) {
    const AttributedText cleaned = FlowTexts::cleanedLine(1500000000);
    EXPECT_EQ(plainText(cleaned), size("1.5", "GB") + QStringLiteral(" cleaned."));
    EXPECT_EQ(boldParts(cleaned), QStringList{size("1.5", "GB")});
    const AttributedText total = FlowTexts::cleanedInTotalLine(2750000000);
    EXPECT_EQ(plainText(total), size("2.75", "GB") + QStringLiteral(" cleaned in total."));
    EXPECT_EQ(boldParts(FlowTexts::noDuplicatesLeftLine()),
              QStringList{QStringLiteral("No duplicates left.")});
}

TEST(FlowTextsTest, ShareButtonsStepBy66AroundTheMiddle) {
    using Placement = FlowTexts::ShareButtonsPlacement;
    const int m = 300;
    EXPECT_EQ(FlowTexts::shareButtonsPlacement(true, true, m), (Placement{210, 276, 342}));
    EXPECT_EQ(FlowTexts::shareButtonsPlacement(true, false, m),
              (Placement{243, std::nullopt, 309}));
    EXPECT_EQ(FlowTexts::shareButtonsPlacement(false, true, m),
              (Placement{std::nullopt, 243, 309}));
    EXPECT_EQ(FlowTexts::shareButtonsPlacement(false, false, m),
              (Placement{std::nullopt, std::nullopt, 276}));
}
