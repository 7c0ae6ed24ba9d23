// The main window's screen flow, driven through every event that changes the screen, with
// the animation clock at zero: which screen controllers are alive afterwards and which
// window sizes the window allows.
#include "Shell/WindowController.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Categories/Settings.h"
#include "Platform/NotificationCenter.h"
#include "Promo/ZembrookDialogWC.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesManager.h"
#include "Scanner/FoldersScanner.h"
#include "Screens/AttributedText.h"
#include "Screens/InterimScreenVC.h"
#include "Screens/NoDuplicatesVC.h"
#include "Screens/ScanScreenVC.h"
#include "Screens/WelcomeScreenVC.h"
#include "TestSupport.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/NoDupsUnderlineButton.h"
#include "Walker/FileSeparator.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

class WindowControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
        Settings::setShowRestartScanMessage(false);
        Settings::setShowNewScanMessage(false);
        Settings::setForceFullHashCalculation(false);
        Settings::setDefineMinimalDuplicatesFileSizeAutomatically(false);
        Settings::setMinDuplicatesFileSize(1);
        ASSERT_TRUE(m_tree.isValid());
        m_window = std::make_unique<WindowController>();
        m_window->setTerminateHandler([this] { ++m_terminated; });
        m_window->show();
        m_window->windowDidLoad();
    }

    void TearDown() override {
        m_window.reset();
        QApplication::processEvents();
        AnimationClock::instance().setMode(AnimationClock::Mode::Real);
    }

    // A folder with one pair of equal files (|withCopies|) or only different files.
    QString makeFolder(const QString& name, bool withCopies) {
        const QString folder = m_tree.path() + QLatin1Char('/') + name;
        EXPECT_TRUE(TestSupport::writeFile(QFile::encodeName(folder + "/one.txt"), "first file"));
        EXPECT_TRUE(TestSupport::writeFile(QFile::encodeName(folder + "/two.txt"),
                                           withCopies ? "first file" : "second file!"));
        return folder;
    }

    // Moves the manual clock in small steps, so animations that start when others end run
    // on time.
    static void advance(int ms) {
        for (int done = 0; done < ms; done += 50)
            AnimationClock::instance().advance(50);
    }

    bool screensAre(bool welcome, bool interim, bool scan, bool results) const {
        return bool(m_window->welcomeScreenController()) == welcome &&
               bool(m_window->interimScreenController()) == interim &&
               bool(m_window->scanScreenController()) == scan &&
               bool(m_window->selectDuplicatesController()) == results;
    }

    // The Part's sizes, as far as the test screen can show them.
    void expectSizes(QSize minimum, QSize maximum) const {
        const bool resizable = maximum == WindowController::kMaximumResultsSize;
        minimum = m_window->fittedSize(minimum);
        if (!resizable)
            maximum = m_window->fittedSize(maximum);
        EXPECT_EQ(m_window->minimumSize(), minimum);
        EXPECT_EQ(m_window->maximumSize(), maximum);
        EXPECT_GE(m_window->width(), minimum.width());
        EXPECT_LE(m_window->width(), maximum.width());
    }

    // From the welcome screen to the results screen of a scan that finds copies.
    void scanToResults() {
        m_window->startScanFolders({makeFolder(QStringLiteral("copies"), true)});
        ASSERT_TRUE(TestSupport::waitFor([&] { return screensAre(false, false, false, true); }));
        ASSERT_TRUE(TestSupport::waitFor(
            [&] { return m_window->selectDuplicatesController()->resultsViewShown(); }));
    }

    QMessageBox* sheet(const QString& name) const {
        return m_window->findChild<QMessageBox*>(name);
    }

    QTemporaryDir m_tree;
    std::unique_ptr<WindowController> m_window;
    int m_terminated = 0;
};

TEST_F(WindowControllerTest, StartUpShowsTheWelcomeScreenInTheFixedSmallWindow) {
    EXPECT_TRUE(screensAre(true, false, false, false));
    expectSizes(WindowController::kWelcomeSize, WindowController::kWelcomeSize);
    EXPECT_FALSE(m_window->fullScreenButton()->isEnabled());
    EXPECT_EQ(m_window->mainMenuQuitSorvanta->text(), QStringLiteral("Quit Sorvanta"));
}

TEST_F(WindowControllerTest, ScanWithCopiesGoesFromScanScreenToResults) {
    const QString folder = makeFolder(QStringLiteral("copies"), true);
    m_window->startScanFolders({folder});
    ASSERT_TRUE(TestSupport::waitFor([&] { return screensAre(false, false, true, false); }));
    expectSizes(WindowController::kScanSize, WindowController::kScanSize);
    ASSERT_TRUE(TestSupport::waitFor([&] { return screensAre(false, false, false, true); }));
    ASSERT_TRUE(TestSupport::waitFor(
        [&] { return m_window->selectDuplicatesController()->resultsViewShown(); }));
    expectSizes(QSize(1200, 713), WindowController::kMaximumResultsSize);
    EXPECT_EQ(m_window->selectDuplicatesController()->scannedFolders(), QStringList{folder});
    EXPECT_EQ(m_window->scanner(), nullptr);
    EXPECT_TRUE(m_window->fullScreenButton()->isEnabled());
    auto& manager = DuplicatesManager::sharedManager();
    ASSERT_TRUE(manager.duplicateContainer());
    EXPECT_GT(manager.duplicateContainer()->getAllFilesSize(), 0u);
    EXPECT_EQ(manager.scannedFolders(), QStringList{folder});
    EXPECT_EQ(manager.foundSize(), int64_t(manager.duplicateContainer()->getAllFilesSize()));
}

TEST_F(WindowControllerTest, TheResultsScreenFollowsTheWindowsSize) {
    scanToResults();
    SelectDuplicatesVC* results = m_window->selectDuplicatesController();
    EXPECT_EQ(results->size(), m_window->size());
    for (const QSize size : {QSize(1500, 900), QSize(1200, 713), QSize(1333, 801)}) {
        m_window->resize(size);
        EXPECT_EQ(results->size(), size);
    }
}

TEST_F(WindowControllerTest, ScanWithoutCopiesShowsTheNoDuplicatesViewOnTheScanScreen) {
    const QString folder = makeFolder(QStringLiteral("unique"), false);
    m_window->startScanFolders({folder});
    ASSERT_TRUE(TestSupport::waitFor([&] {
        return m_window->scanScreenController() &&
               m_window->scanScreenController()->noDuplicatesController();
    }));
    TestSupport::spinFor(50);
    EXPECT_TRUE(screensAre(false, false, true, false));
    EXPECT_FALSE(m_window->isShowResultsPending());
    expectSizes(WindowController::kScanSize, WindowController::kScanSize);
    auto* noDuplicates = m_window->scanScreenController()->noDuplicatesController();
    EXPECT_EQ(noDuplicates->filesCount(), 2u);
    // Only a scan that ran to its end says so.
    EXPECT_FALSE(noDuplicates->scanStopped());
    EXPECT_EQ(noDuplicates->label4()->plainString(),
              QStringLiteral("Every file in these folders is unique."));
    EXPECT_EQ(DuplicatesManager::sharedManager().foundSize(), int64_t(0));

    // Its new-scan button: the next welcome screen starts empty.
    NotificationCenter::defaultCenter().post(QStringLiteral("NoDuplicatesMore"));
    NotificationCenter::defaultCenter().post(QStringLiteral("BackToWelcomeScreen"));
    ASSERT_TRUE(TestSupport::waitFor([&] { return screensAre(true, false, false, false); }));
    expectSizes(WindowController::kWelcomeSize, WindowController::kWelcomeSize);
    EXPECT_TRUE(m_window->welcomeScreenController()->foldersArray().isEmpty());
}

TEST_F(WindowControllerTest, AScanStoppedWhileComparingClaimsNoUniqueness) {
    // 40 files of 128 MB, 36 of them equal and every byte of them digested: stopped as soon
    // as the comparison begins, the scan has confirmed no group yet and ends with nothing
    // found.
    const QString folder = m_tree.path() + QStringLiteral("/big");
    ASSERT_TRUE(QDir().mkpath(folder));
    constexpr qint64 kSize = 128 * 1024 * 1024;
    for (int i = 0; i < 40; ++i) {
        QFile file(folder + QStringLiteral("/f%1.bin").arg(i));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        if (i >= 36)
            file.write(QByteArray(64, char('a' + i)));
        ASSERT_TRUE(file.resize(kSize)); // the rest is a hole: nothing to write
    }
    // Sampled digests of so few files take a moment; whole ones take long enough to stop.
    Settings::setForceFullHashCalculation(true);
    m_window->startScanFolders({folder});
    ASSERT_TRUE(TestSupport::waitFor([&] {
        return m_window->scanner() &&
               m_window->scanner()->getCurrentState() == FoldersScannerStateFilteringFiles;
    }));
    ScanScreenVC* scan = m_window->scanScreenController();
    ASSERT_TRUE(scan);
    // Stop is offered once the screen's next refresh has seen the comparison begin.
    ASSERT_TRUE(TestSupport::waitFor([&] { return scan->isStopButtonEnabled(); }));
    scan->showResultsButtonPressed(); // Stop
    ASSERT_TRUE(
        TestSupport::waitFor([&] { return scan->noDuplicatesController() != nullptr; }, 20000));
    NoDuplicatesVC* view = scan->noDuplicatesController();
    EXPECT_TRUE(view->scanStopped());
    EXPECT_EQ(view->label3()->plainString(), QStringLiteral("40 files checked."));
    EXPECT_EQ(view->label4()->plainString(),
              QStringLiteral("The scan was stopped before every file was compared."));
    EXPECT_EQ(view->label6_1()->plainString(), QStringLiteral("Stopped too early?"));
    EXPECT_TRUE(view->rescanButton()->isVisibleTo(view));

    // The rescan it offers runs the scan again, to its end this time.
    const QDateTime stopped = DuplicatesManager::sharedManager().scanFinishDate();
    view->rescanButtonPressed();
    ASSERT_TRUE(TestSupport::waitFor(
        [&] {
            return screensAre(false, false, false, true) &&
                   DuplicatesManager::sharedManager().scanFinishDate() > stopped;
        },
        30000));
    const auto found = DuplicatesManager::sharedManager().duplicateContainer();
    ASSERT_TRUE(found);
    ASSERT_EQ(found->getAllFilesGroups().size(), 1u);
    EXPECT_EQ(found->getAllFilesGroups().front()->getItems().size(), 36u);
}

TEST_F(WindowControllerTest, BackFromTheScanScreenReturnsWithTheFoldersOfTheScan) {
    const QString folder = makeFolder(QStringLiteral("copies"), true);
    AnimationClock::instance().setMode(AnimationClock::Mode::Manual);
    m_window->startScanFolders({folder});
    advance(1600); // window 0.5 s, slide 1.0 s
    ASSERT_TRUE(m_window->scanScreenController());
    ASSERT_TRUE(m_window->scanner());
    // Let the scan finish; its result is ignored once the user went back.
    advance(1500);
    m_window->scanScreenController()->backButtonPressed();
    EXPECT_EQ(m_window->scanner(), nullptr);
    advance(5000);
    TestSupport::spinFor(100);
    advance(5000);
    EXPECT_TRUE(screensAre(true, false, false, false));
    expectSizes(WindowController::kWelcomeSize, WindowController::kWelcomeSize);
    EXPECT_EQ(m_window->welcomeScreenController()->folderPaths(), QStringList{folder});
}

TEST_F(WindowControllerTest, ResultsBackToInterimAndOnToWelcomeOrResults) {
    scanToResults();
    NotificationCenter::defaultCenter().post(QStringLiteral("BackToInterimScreen"));
    ASSERT_TRUE(TestSupport::waitFor([&] { return screensAre(false, true, false, false); }));
    expectSizes(WindowController::kWelcomeSize, WindowController::kWelcomeSize);
    EXPECT_EQ(m_window->interimScreenController()->folderArray(), m_window->lastSelectedFolders());

    m_window->showResultsFromInterimScreen();
    ASSERT_TRUE(TestSupport::waitFor([&] { return screensAre(false, false, false, true); }));
    ASSERT_TRUE(TestSupport::waitFor(
        [&] { return m_window->selectDuplicatesController()->resultsViewShown(); }));
    expectSizes(QSize(1200, 713), WindowController::kMaximumResultsSize);

    NotificationCenter::defaultCenter().post(QStringLiteral("BackToInterimScreen"));
    ASSERT_TRUE(TestSupport::waitFor([&] { return screensAre(false, true, false, false); }));
    m_window->backToWelcomeScreenFromInterimScreen();
    ASSERT_TRUE(TestSupport::waitFor([&] { return screensAre(true, false, false, false); }));
    expectSizes(WindowController::kWelcomeSize, WindowController::kWelcomeSize);
    EXPECT_TRUE(m_window->welcomeScreenController()->foldersArray().isEmpty());
}

TEST_F(WindowControllerTest, RestartScanRescansTheLastFoldersThroughTheWelcomeScreen) {
    scanToResults();
    const QStringList folders = m_window->lastSelectedFolders();
    const QDateTime finished = DuplicatesManager::sharedManager().scanFinishDate();
    // The stored preference asks for whole files: an ordinary rescan keeps it and uses it.
    Settings::setForceFullHashCalculation(true);
    FileSeparator::setUseForcedFullHashCalculation(false);
    NotificationCenter::defaultCenter().post(QStringLiteral("RestartScan"));
    EXPECT_TRUE(Settings::forceFullHashCalculation());
    // The whole round runs at once with the clock at zero; a new scan shows by its date.
    ASSERT_TRUE(TestSupport::waitFor([&] {
        return screensAre(false, false, false, true) &&
               DuplicatesManager::sharedManager().scanFinishDate() > finished;
    }));
    EXPECT_EQ(m_window->lastSelectedFolders(), folders);
    EXPECT_TRUE(Settings::forceFullHashCalculation());
    EXPECT_TRUE(FileSeparator::useForcedFullHashCalculation());
}

TEST_F(WindowControllerTest, NewScanAsksAndGoesBackToAnEmptyWelcomeScreen) {
    scanToResults();
    Settings::setShowNewScanMessage(true);
    m_window->newScan();
    QMessageBox* box = sheet(QStringLiteral("newScanConfirmation"));
    ASSERT_NE(box, nullptr);
    box->checkBox()->setChecked(true);
    box->button(QMessageBox::Cancel)->click();
    EXPECT_TRUE(Settings::showNewScanMessage()); // Cancel stores nothing
    TestSupport::spinFor(20);
    EXPECT_TRUE(screensAre(false, false, false, true));

    m_window->newScan();
    box = sheet(QStringLiteral("newScanConfirmation"));
    ASSERT_NE(box, nullptr);
    box->checkBox()->setChecked(true);
    box->button(QMessageBox::Ok)->click();
    EXPECT_FALSE(Settings::showNewScanMessage());
    ASSERT_TRUE(TestSupport::waitFor([&] { return screensAre(true, false, false, false); }));
    EXPECT_TRUE(m_window->welcomeScreenController()->foldersArray().isEmpty());
    expectSizes(WindowController::kWelcomeSize, WindowController::kWelcomeSize);
}

TEST_F(WindowControllerTest, FullScreenResultsLeaveFullScreenBeforeGoingBack) {
    scanToResults();
    m_window->fullScreenAction();
    ASSERT_TRUE(m_window->inFullScreenMode());
    NotificationCenter::defaultCenter().post(QStringLiteral("BackToWelcomeScreen"));
    ASSERT_TRUE(TestSupport::waitFor([&] { return !m_window->inFullScreenMode(); }));
    ASSERT_TRUE(TestSupport::waitFor([&] { return screensAre(true, false, false, false); }));
    expectSizes(WindowController::kWelcomeSize, WindowController::kWelcomeSize);

    // Full screen only from the results screen.
    m_window->fullScreenAction();
    EXPECT_FALSE(m_window->inFullScreenMode());
}

TEST_F(WindowControllerTest, ConfirmedAllOutRescanFromFullScreenStaysAllOutAndIsAskedOnce) {
    scanToResults();
    m_window->fullScreenAction();
    ASSERT_TRUE(m_window->inFullScreenMode());
    Settings::setShowRestartScanMessage(true);
    const QDateTime finished = DuplicatesManager::sharedManager().scanFinishDate();
    FileSeparator::setUseForcedFullHashCalculation(false);
    m_window->restartScan(m_window->allOutRestartScanMenuItem);
    QMessageBox* box = sheet(QStringLiteral("rescanConfirmation"));
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Ok)->click();
    ASSERT_TRUE(TestSupport::waitFor([&] { return !m_window->inFullScreenMode(); }));
    ASSERT_TRUE(TestSupport::waitFor([&] {
        return screensAre(false, false, false, true) &&
               DuplicatesManager::sharedManager().scanFinishDate() > finished;
    }));
    EXPECT_EQ(sheet(QStringLiteral("rescanConfirmation")), nullptr);
    // The rescan compared whole files; the stored preference stayed off.
    EXPECT_TRUE(FileSeparator::useForcedFullHashCalculation());
    EXPECT_FALSE(Settings::forceFullHashCalculation());

    // The next ordinary rescan is not all-out any more.
    const QDateTime allOutFinished = DuplicatesManager::sharedManager().scanFinishDate();
    m_window->restartScan(m_window->restartScanMenuItem);
    box = sheet(QStringLiteral("rescanConfirmation"));
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Ok)->click();
    ASSERT_TRUE(TestSupport::waitFor([&] {
        return screensAre(false, false, false, true) &&
               DuplicatesManager::sharedManager().scanFinishDate() > allOutFinished;
    }));
    EXPECT_FALSE(FileSeparator::useForcedFullHashCalculation());
    EXPECT_FALSE(Settings::forceFullHashCalculation());
}

TEST_F(WindowControllerTest, LateCompletionAndPendingHandOverChangeNothingAfterGoingBack) {
    AnimationClock::instance().setMode(AnimationClock::Mode::Manual);
    m_window->startScanFolders({makeFolder(QStringLiteral("copies"), true)});
    advance(1600);
    ASSERT_TRUE(TestSupport::waitFor([&] { return m_window->isShowResultsPending(); }));
    const auto container = DuplicatesManager::sharedManager().duplicateContainer();
    ASSERT_TRUE(container);

    // Going back within the 3 s cancels the hand-over to the results.
    NotificationCenter::defaultCenter().post(QStringLiteral("BackToWelcomeScreen"));
    EXPECT_FALSE(m_window->isShowResultsPending());
    advance(5000);
    advance(5000);
    EXPECT_TRUE(screensAre(true, false, false, false));

    // A report from a scanner that is not the window's running one is dropped.
    m_window->onScanCompleteWithResult(container, nullptr);
    EXPECT_FALSE(m_window->isShowResultsPending());
    advance(5000);
    EXPECT_TRUE(screensAre(true, false, false, false));
}

TEST_F(WindowControllerTest, TheAutomaticPanelComesOnlyAfterTheFirstHelpHasClosed) {
    // First start: the results screen's help has not been shown yet.
    Settings::setShowOverlayOverviewScreen(true);
    DuplicatesManager& results = DuplicatesManager::sharedManager();
    AnimationClock::instance().setMode(AnimationClock::Mode::Manual);
    m_window->startScanFolders({makeFolder(QStringLiteral("copies"), true)});
    advance(1600);
    ASSERT_TRUE(TestSupport::waitFor([&] { return m_window->isShowResultsPending(); }));
    // The scan asks for the panel before the results (and their help) have come: it waits,
    // longer than it takes to look again.
    ZembrookDialogWC::pleaseShowWindowWhenHelpCloses();
    TestSupport::spinFor(700);
    EXPECT_EQ(ZembrookDialogWC::currentPanel(), nullptr);
    // The results come in and show their help; the panel still waits.
    for (int step = 0; step < 200 && !results.overlayOnScreen(); ++step) {
        advance(100);
        QApplication::processEvents();
        EXPECT_EQ(ZembrookDialogWC::currentPanel(), nullptr) << "at " << step * 100 << " ms";
    }
    ASSERT_TRUE(results.overlayOnScreen());
    TestSupport::spinFor(700);
    EXPECT_EQ(ZembrookDialogWC::currentPanel(), nullptr);
    // The help closes: now the panel comes.
    m_window->selectDuplicatesController()->hideAndDestroyOverlay();
    EXPECT_TRUE(TestSupport::waitFor([] { return ZembrookDialogWC::currentPanel() != nullptr; }));
    ZembrookDialogWC::closeZembrookWC();
    QApplication::processEvents();
}

TEST_F(WindowControllerTest, TheAutomaticPanelComesAfterAScanThatFoundNothing) {
    // No results screen, so no help will come: the panel does not wait for one.
    Settings::setShowOverlayOverviewScreen(true);
    m_window->startScanFolders({makeFolder(QStringLiteral("unique"), false)});
    ZembrookDialogWC::pleaseShowWindowWhenHelpCloses();
    ASSERT_TRUE(TestSupport::waitFor([&] {
        return m_window->scanScreenController() &&
               m_window->scanScreenController()->noDuplicatesController();
    }));
    EXPECT_TRUE(TestSupport::waitFor([] { return ZembrookDialogWC::currentPanel() != nullptr; }));
    EXPECT_FALSE(DuplicatesManager::sharedManager().overlayOnScreen());
    ZembrookDialogWC::closeZembrookWC();
    QApplication::processEvents();
}

// A close from outside the window (the window manager's close, as Alt+F4 or the task bar
// send it) and the window's own close button.
enum class CloseBy { Button, WindowManager };

class WindowCloseTest : public WindowControllerTest, public ::testing::WithParamInterface<CloseBy> {
protected:
    // Answers whether the window accepted the close (only a quit on its way out may).
    bool close() {
        if (GetParam() == CloseBy::Button) {
            m_window->tryToQuitApplication();
            return false;
        }
        return m_window->windowHandle()->close();
    }

    // A folder whose scan lasts: two large files of one size, all holes, whose whole-file
    // digests take a while.
    QString makeBusyFolder() {
        const QString folder = makeFolder(QStringLiteral("busy"), true);
        for (const char* name : {"/big1", "/big2"}) {
            QFile file(folder + QLatin1String(name));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            EXPECT_TRUE(file.resize(qint64(192) << 20));
        }
        return folder;
    }
};

TEST_P(WindowCloseTest, WithoutRunningWorkQuitsAtOnce) {
    EXPECT_FALSE(close());
    EXPECT_EQ(m_terminated, 1);
    EXPECT_EQ(sheet(QStringLiteral("quitConfirmation")), nullptr);
    // On its way out the application closes its windows: this one no longer refuses.
    EXPECT_TRUE(m_window->windowHandle()->close());
}

TEST_P(WindowCloseTest, DuringAScanAsksAndStopsTheScanOnOk) {
    m_window->startScanFolders({makeBusyFolder()});
    ASSERT_TRUE(TestSupport::waitFor([&] { return m_window->scanner() != nullptr; }));
    QApplication::setActiveWindow(m_window.get());
    ASSERT_TRUE(TestSupport::waitFor([&] { return m_window->isActiveWindow(); }));

    EXPECT_FALSE(close());
    EXPECT_EQ(m_terminated, 0);
    QMessageBox* box = sheet(QStringLiteral("quitConfirmation"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(m_window->isVisible());
    // A second request while the question is open asks nothing more.
    EXPECT_FALSE(close());
    EXPECT_EQ(m_window->findChildren<QMessageBox*>(QStringLiteral("quitConfirmation")).size(), 1);

    box->button(QMessageBox::Cancel)->click();
    QApplication::processEvents();
    EXPECT_EQ(m_terminated, 0);
    EXPECT_TRUE(m_window->isVisible());
    ASSERT_NE(m_window->scanner(), nullptr) << "the scan ended too soon for this test";

    QApplication::setActiveWindow(m_window.get());
    ASSERT_TRUE(TestSupport::waitFor([&] { return m_window->isActiveWindow(); }));
    EXPECT_FALSE(close());
    box = nullptr;
    ASSERT_TRUE(TestSupport::waitFor([&] {
        for (QMessageBox* open :
             m_window->findChildren<QMessageBox*>(QStringLiteral("quitConfirmation")))
            if (open->isVisible())
                box = open;
        return box != nullptr;
    }));
    box->button(QMessageBox::Ok)->click();
    EXPECT_EQ(m_terminated, 1);
    EXPECT_EQ(m_window->scanner(), nullptr);
}

TEST_P(WindowCloseTest, WithResultsAsksThatTheyWillBeLost) {
    scanToResults();
    QApplication::setActiveWindow(m_window.get());
    ASSERT_TRUE(TestSupport::waitFor([&] { return m_window->isActiveWindow(); }));
    EXPECT_FALSE(close());
    EXPECT_EQ(m_terminated, 0);
    QMessageBox* box = sheet(QStringLiteral("quitConfirmation"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("Are you sure you want to quit the application?"));
    EXPECT_EQ(box->informativeText(), QStringLiteral("Current scan results will be lost."));
    box->button(QMessageBox::Ok)->click();
    EXPECT_EQ(m_terminated, 1);
}

INSTANTIATE_TEST_SUITE_P(Ways, WindowCloseTest,
                         ::testing::Values(CloseBy::Button, CloseBy::WindowManager));

TEST_F(WindowControllerTest, WindowManagerCloseOfAnInactiveWindowStillAsks) {
    // The button can only be pressed in the key window; the window manager's close comes
    // to a window in the background too, which then comes to the front to ask.
    scanToResults();
    auto* other = new QWidget;
    other->setAttribute(Qt::WA_DeleteOnClose);
    other->show();
    QApplication::setActiveWindow(other);
    ASSERT_TRUE(TestSupport::waitFor([&] { return !m_window->isActiveWindow(); }));
    m_window->tryToQuitApplication();
    EXPECT_EQ(sheet(QStringLiteral("quitConfirmation")), nullptr);
    EXPECT_FALSE(m_window->windowHandle()->close());
    EXPECT_NE(sheet(QStringLiteral("quitConfirmation")), nullptr);
    EXPECT_EQ(m_terminated, 0);
    other->close();
}

} // namespace

namespace {

TEST_F(WindowControllerTest, SheetsHangBelowTheResultsToolbarOrTheReviewPanelsTop) {
    const QRectF proposed(0, 700, 1200, 0);
    EXPECT_EQ(m_window->windowWillPositionSheetUsingRect(proposed), proposed);
    // Opens a sheet on the window and answers how far below the window's top edge it hangs.
    const auto sheetDrop = [&] {
        auto* box = new QMessageBox(QMessageBox::NoIcon, QString(), QStringLiteral("Sheet"),
                                    QMessageBox::Ok, m_window.get());
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        QApplication::processEvents();
        const QPoint top = m_window->mapToGlobal(QPoint(0, 0));
        // Centred by its whole frame, the window manager's decorations included.
        const QRect frame = box->frameGeometry();
        EXPECT_EQ(frame.x() + frame.width() / 2, top.x() + m_window->width() / 2);
        const int drop = box->y() - top.y();
        box->close();
        QApplication::processEvents();
        return drop;
    };
    EXPECT_EQ(sheetDrop(), 0);

    scanToResults();
    EXPECT_EQ(m_window->windowWillPositionSheetUsingRect(proposed), proposed.translated(0, -89));
    EXPECT_EQ(sheetDrop(), 89);
    m_window->selectDuplicatesController()->openSelectedFilesView();
    EXPECT_EQ(m_window->windowWillPositionSheetUsingRect(proposed), proposed.translated(0, -43));
    EXPECT_EQ(sheetDrop(), 43);
}

} // namespace
