// The scan screen over a real scanner of a temporary tree, with the polls on a manual clock:
// its texts and number format, the smoothing of counts, when Stop and Back answer, and the
// final refresh at completion.
#include "Screens/ScanScreenVC.h"
#include "Results/DuplicatesContainer.h"
#include "ScanResultListener.h"
#include "Scanner/FoldersScanner.h"
#include "Screens/NoDuplicatesVC.h"
#include "Screens/ProgressBarScanner.h"
#include "Screens/ScanChartView.h"
#include "Screens/ScreenProtocols.h"
#include "TestSupport.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/Backgrounds.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class RecordingDelegate final : public ScanScreenProtocolDelegate {
public:
    void backToWelcomeScreenFromScanScreen() override { ++back; }
    void showResultsFromScanScreen() override {}
    void cancelPendingRequests() override { ++cancelled; }
    int back = 0;
    int cancelled = 0;
};

class ScanScreenVCTest : public ::testing::Test {
protected:
    void SetUp() override {
        AnimationClock::instance().setMode(AnimationClock::Mode::Manual);
        ASSERT_TRUE(m_tree.isValid());
        m_screen = std::make_unique<ScanScreenVC>();
        m_screen->setDelegate(&m_delegate);
        m_screen->awakeFromNib();
    }
    void TearDown() override {
        m_screen.reset();
        AnimationClock::instance().setMode(AnimationClock::Mode::Real);
    }

    std::shared_ptr<FoldersScanner> makeScanner(int files) {
        for (int i = 0; i < files; ++i) {
            const QByteArray name = QFile::encodeName(m_tree.path()) + "/d" +
                                    QByteArray::number(i % 7) + "/f" + QByteArray::number(i);
            EXPECT_TRUE(TestSupport::writeFile(name, "same contents"));
        }
        auto scanner = FoldersScanner::create({QFile::encodeName(m_tree.path())}, m_listener);
        scanner->enableSearchDuplicatesFoldersAndSimilars(true);
        return scanner;
    }

    static void advance(int ms) {
        for (int done = 0; done < ms; done += 10)
            AnimationClock::instance().advance(10);
    }

    QTemporaryDir m_tree;
    RecordingDelegate m_delegate;
    std::shared_ptr<ScanResultListener> m_listener = std::make_shared<ScanResultListener>();
    std::unique_ptr<ScanScreenVC> m_screen;
};

TEST(ScanScreenTextTest, NumbersAreGroupedByThreeWithBlanks) {
    const std::pair<uint64_t, const char*> cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1 000"},
        {1234567, "1 234 567"},
        {16777217, "16 777 217"},
        {18446744073709551615ull, "18 446 744 073 709 551 615"},
    };
    for (const auto& [number, text] : cases)
        EXPECT_EQ(ScanScreenVC::getStringWithSpacesFromNumber(number), QLatin1String(text));
}

TEST(ScanScreenTextTest, CountsClimbByAtLeastOneAndFallOnlyFromTwentyBelow) {
    struct Case {
        uint64_t displayed, count, expected;
    };
    const Case cases[] = {
        {0, 0, 0},
        {0, 1, 1},
        {0, 10, 1},
        {0, 100, 5},
        {0, 1234567, 61729},            // ceil(61728.35)
        {99, 100, 100},                 // reached exactly, never passed
        {100, 90, 100},                 // 10 below: the ceiling keeps it
        {100, 80, 99},                  // 20 below: follows down
        {16777216, 16777217, 16777217}, // exact past single precision
        {(1ull << 40) + 3, (1ull << 40) + 4, (1ull << 40) + 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScanScreenVC::smoothedCount(c.displayed, c.count), c.expected)
            << c.displayed << " -> " << c.count;
}

TEST(ScanScreenTextTest, ProgressTargetWeighsTheStages) {
    EXPECT_FLOAT_EQ(ScanScreenVC::progressTarget(1, 0, 0), 0.35f);
    EXPECT_FLOAT_EQ(ScanScreenVC::progressTarget(1, 1, 0), 0.95f);
    EXPECT_FLOAT_EQ(ScanScreenVC::progressTarget(1, 1, 1), 1.0f);
}

TEST_F(ScanScreenVCTest, TheChartSitsInTheGreyPanelWithItsBorder) {
    auto* panel = m_screen->findChild<GrayContainerView*>(QStringLiteral("containerView"));
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->geometry().contains(m_screen->scanChartView()->geometry()));
    QImage image(panel->size(), QImage::Format_ARGB32);
    image.fill(Qt::red);
    panel->render(&image, {}, {}, QWidget::DrawWindowBackground);
    EXPECT_EQ(image.pixelColor(panel->width() / 2, panel->height() - 1), QColor(60, 60, 60));
    EXPECT_EQ(image.pixelColor(panel->width() / 2, panel->height() / 2), QColor(79, 79, 79));
}

TEST_F(ScanScreenVCTest, BackAnswersOnlyAfterOneAndAHalfSeconds) {
    advance(1000);
    m_screen->backButtonPressed();
    EXPECT_EQ(m_delegate.back, 0);
    advance(600);
    m_screen->backButtonPressed();
    EXPECT_EQ(m_delegate.back, 1);
    EXPECT_EQ(m_delegate.cancelled, 1);
    m_screen->backButtonPressed(); // Back disables itself
    EXPECT_EQ(m_delegate.back, 1);
}

TEST_F(ScanScreenVCTest, BackDoesNothingOnADisabledScreen) {
    advance(1600);
    m_screen->setDisabled(true);
    m_screen->backButtonPressed();
    EXPECT_EQ(m_delegate.back, 0);
}

TEST_F(ScanScreenVCTest, StopFollowsTheScannerStateAndStopsTheScan) {
    // State 0 (made, not started): Stop is available.
    auto scanner = makeScanner(3);
    m_screen->setScanner(scanner);
    EXPECT_TRUE(m_screen->isProgressPollRunning());
    EXPECT_FALSE(m_screen->isStopButtonEnabled());
    advance(1000);
    EXPECT_TRUE(m_screen->isStopButtonEnabled());
    // A second scanner stops the progress poll for good.
    m_screen->setScanner(scanner);
    EXPECT_FALSE(m_screen->isProgressPollRunning());

    // Stop outside the walk stops the scanner and waits for its report; Stop is disabled.
    advance(1000);
    m_screen->showResultsButtonPressed();
    EXPECT_EQ(scanner->getCurrentState(), FoldersScannerStateStopped);
    EXPECT_FALSE(m_screen->isStopButtonEnabled());
    EXPECT_EQ(m_delegate.back, 0);
    advance(1000); // stopped (7): stays disabled
    EXPECT_FALSE(m_screen->isStopButtonEnabled());
}

TEST_F(ScanScreenVCTest, WalkShowsFilesScannedThenCompletionShowsDone) {
    auto scanner = makeScanner(400);
    scanner->startScanAndUseMinimalFileSize(1);
    m_screen->setScanner(scanner);
    // The scanner's later states reach it through the main queue, which only runs when
    // the event loop turns; until then the screen sees the walk.
    ASSERT_EQ(scanner->getCurrentState(), FoldersScannerStateWalking);
    advance(1000);
    EXPECT_FALSE(m_screen->isStopButtonEnabled());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Files scanned:  \\d{1,3}( \\d{3})*$"))
                    .match(m_screen->descriptionText())
                    .hasMatch())
        << m_screen->descriptionText().toStdString();
    EXPECT_LE(m_screen->currentScannedFiles(), 400u);
    EXPECT_TRUE(m_screen->progressBar()->isHidden());

    ASSERT_TRUE(TestSupport::waitFor([&] { return m_listener->told == 1; }, 20000));
    ASSERT_EQ(scanner->getCurrentState(), FoldersScannerStateComplete);
    m_screen->setDisabled(true);
    m_screen->setScanner(nullptr); // the final refresh
    // "Done" only once the bar has glided to its end.
    if (m_screen->currentFilterProgress() < 1.0f) {
        EXPECT_NE(m_screen->descriptionText(), QStringLiteral("Done"));
    }
    EXPECT_FALSE(m_screen->isStopButtonEnabled());
    EXPECT_FALSE(m_screen->progressBar()->isHidden());
    m_screen->updateInformationUsingDuplicatesContainer(*m_listener->container);
    advance(1200);
    EXPECT_EQ(m_screen->descriptionText(), QStringLiteral("Done"));
    EXPECT_FLOAT_EQ(m_screen->currentFilterProgress(), 1.0f);
    EXPECT_EQ(m_screen->progressBar()->progressValue(), 1.0f);
    EXPECT_EQ(m_screen->scanChartView()->state(), 6);
    for (int type = 0; type < ScanChartView::kFileCategoryCount; ++type)
        EXPECT_TRUE(m_screen->scanChartView()->bar(type).duplicatesProcessed);
    // The polls stop once the scanner is gone.
    advance(1000);
    EXPECT_FALSE(m_screen->isProgressPollRunning());
}

TEST_F(ScanScreenVCTest, NoDuplicatesViewGetsTheScansFoldersAndCount) {
    auto scanner = makeScanner(0);
    TestSupport::writeFile(QFile::encodeName(m_tree.path()) + "/only.txt", "alone");
    scanner->startScanAndUseMinimalFileSize(1);
    m_screen->setScanner(scanner);
    ASSERT_TRUE(TestSupport::waitFor([&] { return m_listener->told == 1; }, 20000));
    m_screen->showNoDuplicatesView();
    ASSERT_NE(m_screen->noDuplicatesController(), nullptr);
    EXPECT_EQ(m_screen->noDuplicatesController()->foldersArray(), QStringList{m_tree.path()});
    EXPECT_EQ(m_screen->noDuplicatesController()->filesCount(), 1u);
    // It slides down into place in one second.
    advance(1000);
    EXPECT_EQ(m_screen->noDuplicatesController()->geometry(), m_screen->rect());
}

} // namespace
