#include "Screens/InterimScreenVC.h"
#include "Categories/DateText.h"
#include "Results/DuplicatesManager.h"
#include "Screens/AttributedText.h"
#include "Screens/ScreenProtocols.h"
#include "TestSupport.h"
#include "Toolkit/ButtonWithTrackingArea.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct RecordingDelegate final : InterimScreenProtocolDelegate {
    QStringList calls;
    void backToWelcomeScreenFromInterimScreen() override { calls << QStringLiteral("welcome"); }
    void showResultsFromInterimScreen() override { calls << QStringLiteral("results"); }
};

class InterimScreenVCTest : public ::testing::Test {
protected:
    void TearDown() override { DuplicatesManager::sharedManager().clearScanBasicInformation(); }

    QString makeFolder(const QString& name) {
        const QString path = m_root.path() + QLatin1Char('/') + name;
        EXPECT_TRUE(QDir().mkpath(path));
        return path;
    }

    QTemporaryDir m_root;
};

} // namespace

TEST_F(InterimScreenVCTest, SummarySaysWhatTheLastScanFoundAndCleaned) {
    DuplicatesManager& manager = DuplicatesManager::sharedManager();
    const QDateTime finished(QDate(2024, 7, 1), QTime(18, 30, 5));
    manager.setScanFinishDate(finished);
    manager.setFoundSize(3400000);
    struct Case {
        QStringList folders;
        std::optional<int64_t> removed;
        QString line1Start, line2;
    } cases[] = {
        {{QStringLiteral("/a")},
         std::nullopt,
         QStringLiteral("1 folder was scanned on "),
         QStringLiteral("3.4\u00A0MB of duplicates were found.")},
        {{QStringLiteral("/a"), QStringLiteral("/b")},
         1200000,
         QStringLiteral("2 folders were scanned on "),
         QStringLiteral("3.4\u00A0MB of duplicates were found. 1.2\u00A0MB were cleaned.")},
    };
    for (const Case& c : cases) {
        manager.setScannedFolders(c.folders);
        manager.setRemovedSize(c.removed);
        InterimScreenVC screen;
        EXPECT_EQ(screen.label1()->plainString(),
                  c.line1Start + DateText::shortStringDate(finished) + QStringLiteral("."));
        EXPECT_EQ(AttributedTextBuilder::boldParts(screen.label1()->attributedText()),
                  QStringList{DateText::shortStringDate(finished)});
        EXPECT_EQ(screen.label2()->plainString(), c.line2);
    }
}

TEST_F(InterimScreenVCTest, FolderListLeavesOutFoldersGoneSinceTheScanButCountsThem) {
    const QString kept = makeFolder(QStringLiteral("Kept"));
    const QString gone = makeFolder(QStringLiteral("Gone"));
    const QString last = makeFolder(QStringLiteral("Last"));
    ASSERT_TRUE(QDir(gone).removeRecursively());
    DuplicatesManager::sharedManager().setScannedFolders({kept, gone, last});
    InterimScreenVC screen;
    screen.loadFolderFromArray({kept, gone, last});
    QStringList names;
    for (const QVariantMap& entry : screen.folderEntries())
        names << entry.value(QStringLiteral("name")).toString();
    EXPECT_EQ(names, (QStringList{QStringLiteral("Kept"), QStringLiteral("Last")}));
    EXPECT_TRUE(screen.label1()->plainString().startsWith(QStringLiteral("3 folders were")));
}

TEST_F(InterimScreenVCTest, ButtonsCallTheDelegateOnlyAfterTheShowAnimation) {
    RecordingDelegate delegate;
    InterimScreenVC screen;
    screen.setDelegate(&delegate);
    screen.setAnimationExecution(true);
    screen.newScanButton()->click();
    screen.showResultsButton()->click();
    EXPECT_TRUE(delegate.calls.isEmpty());
    screen.setAnimationExecution(false);
    screen.newScanButton()->click();
    screen.showResultsButton()->click();
    EXPECT_EQ(delegate.calls, (QStringList{QStringLiteral("welcome"), QStringLiteral("results")}));
}
