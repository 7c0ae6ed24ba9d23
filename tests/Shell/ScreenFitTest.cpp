// The windows on the desktop: every window inside the available area of its screen at
// every step of the flow, the secondary windows transient for the main window and centred
// on it, and the keys that close them. Run once on the default test screen and again on
// small screens (1920 x 1080 at scale 2, 1280 x 720), where the Part's sizes do not fit.
#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/Review/SelectedFilesVC.h"
#include "Categories/Settings.h"
#include "Platform/NotificationCenter.h"
#include "Platform/ui/FileManagerReveal.h"
#include "Preferences/PreferencesGeneralView.h"
#include "Preferences/PreferencesMainView.h"
#include "Preferences/PreferencesWC.h"
#include "Promo/ZembrookDialogWC.h"
#include "Results/DuplicatesManager.h"
#include "Screens/NoDuplicatesVC.h"
#include "Screens/ScanScreenVC.h"
#include "Shell/AboutWC.h"
#include "Shell/ScreenAnimation.h"
#include "Shell/SharingService.h"
#include "Shell/WindowController.h"
#include "TestSupport.h"
#include "Toolkit/Alert.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/CommonBlackButton.h"
#include "Toolkit/FocusRing.h"
#include "Toolkit/PreviewPanel.h"
#include "Toolkit/QuickLookController.h"
#include "Toolkit/RestorePreferencesButton.h"
#include "Toolkit/WindowPlacement.h"

#include <QAbstractButton>
#include <QActionGroup>
#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QStyleOptionMenuItem>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

class ScreenFitTest : public ::testing::Test {
protected:
    void SetUp() override {
        AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
        Settings::setShowRestartScanMessage(true);
        Settings::setShowNewScanMessage(false);
        Settings::setDefineMinimalDuplicatesFileSizeAutomatically(false);
        Settings::setMinDuplicatesFileSize(1);
        ASSERT_TRUE(m_tree.isValid());
        m_window = std::make_unique<WindowController>();
        m_window->setTerminateHandler([] {});
        m_window->show();
        m_window->windowDidLoad();
        QApplication::setActiveWindow(m_window.get());
    }

    void TearDown() override {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top != m_window.get() && top->isVisible())
                top->close();
        m_window.reset();
        QApplication::processEvents();
        AnimationClock::instance().setMode(AnimationClock::Mode::Real);
    }

    QRect available() const { return WindowPlacement::availableGeometry(m_window.get()); }

    // The window lies inside the screen's free area and asks no more than it can give.
    void expectInsideScreen(const QWidget* window, const char* step) const {
        const QRect area = available();
        EXPECT_TRUE(area.contains(window->frameGeometry()))
            << step << ": " << window->objectName().toStdString() << " at "
            << window->frameGeometry().x() << "," << window->frameGeometry().y() << " "
            << window->width() << "x" << window->height() << " on " << area.width() << "x"
            << area.height();
        EXPECT_LE(window->minimumWidth(), area.width()) << step;
        EXPECT_LE(window->minimumHeight(), area.height()) << step;
    }

    // |window| is transient for the main window and centred on it, as far as the screen
    // lets it be.
    void expectSecondary(QWidget* window, const char* name) const {
        ASSERT_TRUE(window && window->isVisible()) << name;
        ASSERT_TRUE(window->windowHandle()) << name;
        EXPECT_EQ(window->windowHandle()->transientParent(), m_window->windowHandle()) << name;
        expectInsideScreen(window, name);
        const QRect expected = WindowPlacement::centredFrame(
            window->frameGeometry().size(), m_window->frameGeometry(), available());
        EXPECT_EQ(window->frameGeometry().topLeft(), expected.topLeft()) << name;
    }

    void scanToResults() {
        const QString folder = m_tree.path() + QStringLiteral("/copies");
        ASSERT_TRUE(TestSupport::writeFile(QFile::encodeName(folder + "/one.txt"), "same text"));
        ASSERT_TRUE(TestSupport::writeFile(QFile::encodeName(folder + "/two.txt"), "same text"));
        m_window->startScanFolders({folder});
        ASSERT_TRUE(TestSupport::waitFor([&] {
            return m_window->selectDuplicatesController() &&
                   m_window->selectDuplicatesController()->resultsViewShown();
        }));
        QApplication::setActiveWindow(m_window.get());
    }

    // A key typed into |target|'s window, which is in front as it is for the user.
    void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QApplication::setActiveWindow(target->window());
        QTest::keyClick(target, key, modifiers);
        QApplication::processEvents();
    }

    QTemporaryDir m_tree;
    std::unique_ptr<WindowController> m_window;
};

TEST_F(ScreenFitTest, TheTestRunsOnTheScreenItWasGiven) {
    // The small-screen runs name a configuration file; a plugin that ignored it would let
    // every other test here pass on a screen where everything fits.
    if (qEnvironmentVariable("QT_QPA_PLATFORM").contains(QLatin1String("configfile"))) {
        EXPECT_NE(available().size(), QSize(800, 800)) << "the default offscreen screen";
    }
    EXPECT_FALSE(available().isEmpty());
}

TEST_F(ScreenFitTest, TheMainWindowStaysInsideTheScreenThroughTheWholeFlow) {
    expectInsideScreen(m_window.get(), "welcome");
    EXPECT_EQ(m_window->size(), m_window->fittedSize(WindowController::kWelcomeSize));
    ASSERT_NO_FATAL_FAILURE(scanToResults());
    expectInsideScreen(m_window.get(), "results");
    SelectDuplicatesVC* results = m_window->selectDuplicatesController();
    EXPECT_EQ(results->size(), m_window->size());
    // What the user works with is on screen: the toolbar, the bottom bar and its button.
    for (const QWidget* part : {static_cast<const QWidget*>(results->duplicatesToolbar()),
                                static_cast<const QWidget*>(results->duplicatesBottombar())}) {
        ASSERT_TRUE(part);
        const QRect inWindow(part->mapTo(m_window.get(), QPoint(0, 0)), part->size());
        EXPECT_TRUE(m_window->rect().contains(inWindow))
            << inWindow.x() << "," << inWindow.y() << " " << inWindow.width() << "x"
            << inWindow.height();
    }
    // The window can be made as small as the screen needs.
    EXPECT_EQ(m_window->minimumSize(), m_window->fittedSize(QSize(1200, 713)));

    // Back to the welcome size, centred and inside again.
    NotificationCenter::defaultCenter().post(QStringLiteral("BackToWelcomeScreen"));
    ASSERT_TRUE(TestSupport::waitFor([&] { return m_window->welcomeScreenController(); }));
    expectInsideScreen(m_window.get(), "welcome again");
}

TEST_F(ScreenFitTest, SecondaryWindowsAreTransientForTheMainWindowAndCentredOnIt) {
    m_window->move(available().topLeft());
    m_window->showPreferences();
    expectSecondary(m_window->preferencesController(), "preferences");
    m_window->preferencesController()->close();

    m_window->showAboutScreen();
    expectSecondary(m_window->aboutWindowController(), "about");
    m_window->aboutWindowController()->close();

    ZembrookDialogWC::pleaseShowWindow();
    expectSecondary(ZembrookDialogWC::currentPanel(), "promotion");
    ZembrookDialogWC::closeZembrookWC();

    // The folder chooser is a sheet: transient for the window, hanging from its top edge
    // and inside the screen.
    ASSERT_NO_FATAL_FAILURE(scanToResults());
    m_window->selectDuplicatesInFoldersPressed();
    QFileDialog* chooser = m_window->folderChooser();
    ASSERT_TRUE(chooser && chooser->isVisible());
    EXPECT_EQ(chooser->windowHandle()->transientParent(), m_window->windowHandle());
    expectInsideScreen(chooser, "folder chooser");
    const int windowCentre = m_window->frameGeometry().center().x();
    EXPECT_LE(std::abs(chooser->frameGeometry().center().x() - windowCentre), 1);
    chooser->reject();

    auto& quickLook = QuickLookController::sharedQuickLookController();
    quickLook.setFileItemByPath(QFile::encodeName(m_tree.path()));
    QuickLookController::showPreviewPanel();
    expectSecondary(PreviewPanel::sharedPreviewPanel(), "preview");
    PreviewPanel::sharedPreviewPanel()->orderOut();
}

TEST_F(ScreenFitTest, QuestionsAreSheetsOfTheMainWindowInThePalette) {
    ASSERT_NO_FATAL_FAILURE(scanToResults());
    m_window->tryToQuitApplication();
    auto* quit = m_window->findChild<QMessageBox*>(QStringLiteral("quitConfirmation"));
    ASSERT_TRUE(quit && quit->isVisible());
    EXPECT_TRUE(qobject_cast<Alert*>(quit));
    EXPECT_EQ(quit->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(quit->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(quit->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(quit->text(), QStringLiteral("Are you sure you want to quit the application?"));
    EXPECT_EQ(quit->informativeText(), QStringLiteral("Current scan results will be lost."));
    ASSERT_TRUE(quit->button(QMessageBox::Ok) && quit->button(QMessageBox::Cancel));
    for (QAbstractButton* button : quit->buttons())
        EXPECT_TRUE(button->icon().isNull()) << button->text().toStdString();
    expectInsideScreen(quit, "quit question");
    EXPECT_EQ(quit->windowHandle()->transientParent(), m_window->windowHandle());
    quit->done(QMessageBox::Cancel);

    m_window->restartScan();
    auto* rescan = m_window->findChild<QMessageBox*>(QStringLiteral("rescanConfirmation"));
    ASSERT_TRUE(rescan && rescan->isVisible());
    EXPECT_TRUE(qobject_cast<Alert*>(rescan));
    EXPECT_EQ(rescan->text(), QStringLiteral("Are you sure you want to run a rescan?"));
    rescan->setObjectName(QString());
    rescan->done(QMessageBox::Cancel);

    m_window->checkForUpdates();
    auto* updates = m_window->findChild<QMessageBox*>(QStringLiteral("updatesNotice"));
    ASSERT_TRUE(updates && updates->isVisible());
    EXPECT_TRUE(qobject_cast<Alert*>(updates));
    EXPECT_EQ(updates->windowModality(), Qt::WindowModal);
    updates->done(QMessageBox::Ok);
}

TEST_F(ScreenFitTest, ARescanWhereNothingWasFoundAsksNothing) {
    const QString folder = m_tree.path() + QStringLiteral("/unique");
    ASSERT_TRUE(TestSupport::writeFile(QFile::encodeName(folder + "/a.txt"), "one text"));
    ASSERT_TRUE(TestSupport::writeFile(QFile::encodeName(folder + "/b.txt"), "another text"));
    m_window->startScanFolders({folder});
    ASSERT_TRUE(TestSupport::waitFor([&] {
        return m_window->scanScreenController() &&
               m_window->scanScreenController()->noDuplicatesController();
    }));
    const QDateTime firstScan = DuplicatesManager::sharedManager().scanStartDate();
    TestSupport::spinFor(5);
    NotificationCenter::defaultCenter().post(QStringLiteral("RestartScan"));
    EXPECT_EQ(m_window->findChild<QMessageBox*>(QStringLiteral("rescanConfirmation")), nullptr);
    // The rescan runs at once: back through the welcome screen to a new scan.
    EXPECT_TRUE(TestSupport::waitFor(
        [&] { return DuplicatesManager::sharedManager().scanStartDate() != firstScan; }));
}

TEST_F(ScreenFitTest, EscapeAndCtrlWCloseWhatLiesOverTheWork) {
    m_window->showPreferences();
    QPointer<PreferencesWC> preferences = m_window->preferencesController();
    ASSERT_TRUE(preferences);
    press(preferences, Qt::Key_Escape);
    EXPECT_TRUE(TestSupport::waitFor([&] { return preferences.isNull(); }));

    m_window->showPreferences();
    preferences = m_window->preferencesController();
    press(preferences, Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(TestSupport::waitFor([&] { return preferences.isNull(); }));

    m_window->showAboutScreen();
    QPointer<AboutWC> about = m_window->aboutWindowController();
    press(about, Qt::Key_Escape);
    EXPECT_TRUE(TestSupport::waitFor([&] { return about.isNull(); }));
    m_window->showAboutScreen();
    about = m_window->aboutWindowController();
    press(about, Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(TestSupport::waitFor([&] { return about.isNull(); }));

    ZembrookDialogWC::pleaseShowWindow();
    QPointer<ZembrookDialogWC> promotion = ZembrookDialogWC::currentPanel();
    ASSERT_TRUE(promotion);
    press(promotion, Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(TestSupport::waitFor([&] { return promotion.isNull(); }));

    PreviewPanel* preview = PreviewPanel::sharedPreviewPanel();
    preview->makeKeyAndOrderFront();
    press(preview, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(preview->isVisible());

    // On the main window Escape closes the review panel first, then leaves full screen.
    ASSERT_NO_FATAL_FAILURE(scanToResults());
    m_window->performMenuCommand(MenuCommand::SelectAnyCopies, nullptr);
    m_window->performMenuCommand(MenuCommand::ShowSelectedDuplicates, nullptr);
    SelectDuplicatesVC* results = m_window->selectDuplicatesController();
    ASSERT_TRUE(results->selectedFilesVC());
    ASSERT_TRUE(TestSupport::waitFor([&] { return !results->selectedFilesVC()->animating(); }));
    m_window->showFullScreen();
    ASSERT_TRUE(m_window->inFullScreenMode());
    press(m_window.get(), Qt::Key_Escape);
    EXPECT_TRUE(TestSupport::waitFor([&] { return results->selectedFilesVC() == nullptr; }));
    EXPECT_TRUE(m_window->inFullScreenMode());
    press(m_window.get(), Qt::Key_Escape);
    EXPECT_FALSE(m_window->inFullScreenMode());
    // With nothing left to take back, Escape goes on to the screens as any key.
    EXPECT_FALSE(m_window->escapePressed());
}

TEST_F(ScreenFitTest, TabShowsTheFocusRingAndTheSizeSliderMovesWithTheArrows) {
    m_window->showPreferences();
    PreferencesWC* preferences = m_window->preferencesController();
    ASSERT_TRUE(preferences);
    QApplication::setActiveWindow(preferences);
    auto* general = preferences->findChild<PreferencesGeneralView*>();
    ASSERT_TRUE(general);
    general->manualDefineMinimalSize()->click();
    QSlider* slider = general->duplicatesMinimalSizeSlider();
    ASSERT_TRUE(slider->isEnabled());
    EXPECT_EQ(slider->focusPolicy() & Qt::TabFocus, Qt::TabFocus);

    // A click gives focus without a ring; Tab moves it and the ring follows.
    slider->setFocus(Qt::MouseFocusReason);
    EXPECT_TRUE(!FocusRing::ring() || !FocusRing::ring()->target());
    press(preferences->focusWidget(), Qt::Key_Tab);
    QWidget* focused = QApplication::focusWidget();
    ASSERT_TRUE(focused);
    ASSERT_NE(focused, slider);
    ASSERT_TRUE(FocusRing::ring()) << focused->metaObject()->className();
    EXPECT_EQ(FocusRing::ring()->target(), focused);
    EXPECT_TRUE(FocusRing::ring()->isVisible());
    const QRect around(focused->mapTo(preferences, QPoint(0, 0)), focused->size());
    EXPECT_EQ(FocusRing::ring()->geometry(),
              around.adjusted(-FocusRing::kOutset, -FocusRing::kOutset, FocusRing::kOutset,
                              FocusRing::kOutset));
    // A click elsewhere takes the ring away.
    slider->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(FocusRing::ring()->target(), nullptr);

    // The arrows move the size a step and store it; the step leaves the tick mark.
    general->setSliderValue(0);
    Settings::setMinDuplicatesFileSize(0);
    press(slider, Qt::Key_Right);
    EXPECT_GT(general->sliderValue(), 0.0f);
    EXPECT_GT(Settings::minDuplicatesFileSize(), 0u);
    const std::uint64_t stepped = Settings::minDuplicatesFileSize();
    press(slider, Qt::Key_Right);
    EXPECT_GT(Settings::minDuplicatesFileSize(), stepped);
    press(slider, Qt::Key_Left);
    press(slider, Qt::Key_Left);
    EXPECT_EQ(Settings::minDuplicatesFileSize(), 0u);
}

TEST_F(ScreenFitTest, AFixedSizeWindowScrollsWhatTheScreenCannotShow) {
    struct Case {
        const char* name;
        std::function<QWidget*()> open;
        QSize content;
    };
    const Case cases[] = {
        {"preferences",
         [&]() -> QWidget* {
             m_window->showPreferences();
             return m_window->preferencesController();
         },
         PreferencesWC::kWindowSize},
        {"about",
         [&]() -> QWidget* {
             m_window->showAboutScreen();
             return m_window->aboutWindowController();
         },
         AboutWC::kWindowSize},
    };
    for (const Case& c : cases) {
        QPointer<QWidget> window = c.open();
        ASSERT_TRUE(window && window->isVisible()) << c.name;
        QApplication::processEvents();
        expectInsideScreen(window, c.name);
        auto* area = window->findChild<QScrollArea*>(QStringLiteral("scrolledContent"));
        ASSERT_TRUE(area && area->widget()) << c.name;
        QWidget* content = area->widget();
        QWidget* viewport = area->viewport();
        EXPECT_EQ(content->size(), c.content) << c.name;
        const QRect free = available().marginsRemoved(WindowPlacement::frameMargins(window));
        if (free.width() >= c.content.width() && free.height() >= c.content.height()) {
            // Where the screen has room the window shows it all, with no scroller.
            EXPECT_EQ(window->size(), c.content) << c.name;
            EXPECT_FALSE(area->verticalScrollBar()->isVisible()) << c.name;
            EXPECT_FALSE(area->horizontalScrollBar()->isVisible()) << c.name;
        } else {
            // Cut down: a scroller for each way the content does not fit, inside the window.
            EXPECT_EQ(area->verticalScrollBar()->isVisible(),
                      content->height() > viewport->height())
                << c.name;
            EXPECT_EQ(area->horizontalScrollBar()->isVisible(),
                      content->width() > viewport->width())
                << c.name;
            EXPECT_TRUE(area->verticalScrollBar()->isVisible() ||
                        area->horizontalScrollBar()->isVisible())
                << c.name;
        }
        const QRect sight(viewport->mapTo(window, QPoint(0, 0)), viewport->size());
        EXPECT_TRUE(window->rect().contains(sight)) << c.name;
        // Scrolled to its end, the content's far corner comes into sight: nothing of it is
        // out of reach.
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
        area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
        const QPoint farCorner =
            content->mapTo(viewport, QPoint(content->width() - 1, content->height() - 1));
        EXPECT_TRUE(viewport->rect().contains(farCorner))
            << c.name << ": " << farCorner.x() << "," << farCorner.y();
        window->close();
        EXPECT_TRUE(TestSupport::waitFor([&] { return window.isNull(); })) << c.name;
    }
}

TEST_F(ScreenFitTest, TabBringsAControlOutOfSightIntoSightWithItsRing) {
    m_window->showPreferences();
    PreferencesWC* preferences = m_window->preferencesController();
    ASSERT_TRUE(preferences);
    QApplication::setActiveWindow(preferences);
    auto* area = preferences->findChild<QScrollArea*>(QStringLiteral("scrolledContent"));
    auto* general = preferences->findChild<PreferencesGeneralView*>();
    ASSERT_TRUE(area && general);
    QWidget* restore = general->restoreDefaultsButton();
    ASSERT_TRUE(restore);
    // Restore Defaults lies at the bottom of the pane, the part a low screen cuts off.
    QWidget* first = general->scanInHiddenFoldersButton();
    first->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 30 && QApplication::focusWidget() != restore; ++i)
        press(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), restore);
    QWidget* viewport = area->viewport();
    const QRect inSight(restore->mapTo(viewport, QPoint(0, 0)), restore->size());
    EXPECT_TRUE(viewport->rect().contains(inSight))
        << inSight.x() << "," << inSight.y() << " in " << viewport->width() << "x"
        << viewport->height();
    // The ring went along with the scrolled pane.
    ASSERT_TRUE(FocusRing::ring());
    EXPECT_EQ(FocusRing::ring()->target(), restore);
    const QRect around(restore->mapTo(preferences, QPoint(0, 0)), restore->size());
    EXPECT_EQ(FocusRing::ring()->geometry(),
              around.adjusted(-FocusRing::kOutset, -FocusRing::kOutset, FocusRing::kOutset,
                              FocusRing::kOutset));
    // Scrolled back up, the ring keeps to the control.
    area->verticalScrollBar()->setValue(0);
    area->horizontalScrollBar()->setValue(0);
    const QRect moved(restore->mapTo(preferences, QPoint(0, 0)), restore->size());
    EXPECT_EQ(FocusRing::ring()->geometry(),
              moved.adjusted(-FocusRing::kOutset, -FocusRing::kOutset, FocusRing::kOutset,
                             FocusRing::kOutset));
    // The top band still moves the window: the scroll area lets the press through.
    QWidget* band = preferences->mainView();
    const QPoint inBand(band->width() - 40, 20);
    QTest::mousePress(band, Qt::LeftButton, Qt::NoModifier, inBand);
    EXPECT_FALSE(preferences->initialLocation().isNull());
    QTest::mouseRelease(band, Qt::LeftButton, Qt::NoModifier, inBand);
}

TEST_F(ScreenFitTest, WhatTheDesktopCannotOpenIsToldInAnAlert) {
    // No launcher can be found with an empty search path, and the test has no session bus
    // file manager: the reveal, the properties and the mail all fail.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "");
    const auto failedAlert = [&] {
        auto* alert = m_window->findChild<QMessageBox*>(QStringLiteral("openFailedAlert"));
        if (alert)
            alert->setObjectName(QString());
        return alert;
    };
    const QString file = m_tree.path() + QStringLiteral("/one.txt");
    ASSERT_TRUE(TestSupport::writeFile(QFile::encodeName(file), "x"));
    struct Case {
        const char* name;
        std::function<void()> run;
        QString text;
    };
    const Case cases[] = {
        {"reveal", [&] { FileManagerReveal::revealPath(QFile::encodeName(file)); },
         QStringLiteral("\u201Cone.txt\u201D could not be shown in the file manager.")},
        {"properties", [&] { FileManagerReveal::showItemProperties(QFile::encodeName(file)); },
         QStringLiteral("The properties of \u201Cone.txt\u201D could not be shown.")},
        {"mail", [] { SharingService::openURL(QUrl(QStringLiteral("mailto:a@b.test"))); },
         QStringLiteral("The e-mail could not be written.")},
    };
    for (const Case& c : cases) {
        c.run();
        QMessageBox* alert = nullptr;
        EXPECT_TRUE(TestSupport::waitFor([&] { return (alert = failedAlert()) != nullptr; }))
            << c.name;
        if (!alert)
            continue;
        EXPECT_EQ(alert->text(), c.text) << c.name;
        EXPECT_FALSE(alert->informativeText().isEmpty()) << c.name;
        EXPECT_TRUE(qobject_cast<Alert*>(alert)) << c.name;
        alert->done(QMessageBox::Ok);
    }
    qputenv("PATH", path);
}

} // namespace

namespace {

TEST_F(ScreenFitTest, ContentChangesBeforeTheWindowResizes) {
    ASSERT_NO_FATAL_FAILURE(scanToResults());
    SelectDuplicatesVC* results = m_window->selectDuplicatesController();
    const QSize resultsSize = results->size();
    Settings::setShowRestartScanMessage(false);
    AnimationClock::instance().setMode(AnimationClock::Mode::Manual);
    m_window->restartScan();
    AnimationClock::instance().advance(250); // halfway through the window's shrink
    // The window is shrinking (on a screen where the two sizes differ), and the results on
    // their way out keep their own size.
    if (m_window->fittedSize(WindowController::kWelcomeSize).width() < resultsSize.width()) {
        EXPECT_LT(m_window->width(), resultsSize.width());
    }
    ASSERT_TRUE(m_window->selectDuplicatesController());
    EXPECT_EQ(results->size(), resultsSize);
    EXPECT_LT(ScreenAnimation::alphaValue(results), 1.0);
    for (int i = 0; i < 40 && !m_window->scanScreenController(); ++i)
        AnimationClock::instance().advance(100);
    // On the way to the scan screen the welcome screen left while the window grew.
    ASSERT_TRUE(m_window->scanScreenController());
    AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
}

} // namespace

namespace {

TEST_F(ScreenFitTest, OneOfSeveralChoicesInTheMenusShowsARadioMark) {
    ASSERT_NO_FATAL_FAILURE(scanToResults());
    const auto groupOf = [](const QAction* item) { return item ? item->actionGroup() : nullptr; };
    QActionGroup* categories = groupOf(m_window->menuItem(MenuCommand::ShowOverview));
    ASSERT_TRUE(categories);
    EXPECT_TRUE(categories->isExclusive());
    EXPECT_EQ(groupOf(m_window->menuItem(MenuCommand::ShowHeaps)), categories);
    EXPECT_EQ(groupOf(m_window->menuItem(MenuCommand::FullScreen)), nullptr);

    DuplicateToolbarVC* toolbar = m_window->selectDuplicatesController()->duplicatesToolbar();
    QActionGroup* keys = groupOf(toolbar->sortMenuItem(QStringLiteral("Size")));
    QActionGroup* directions = groupOf(toolbar->sortMenuItem(QStringLiteral("Ascending")));
    ASSERT_TRUE(keys && directions);
    EXPECT_NE(keys, directions);
    EXPECT_TRUE(keys->isExclusive() && directions->isExclusive());
    EXPECT_EQ(groupOf(toolbar->sortMenuItem(QStringLiteral("Path"))), keys);
    EXPECT_EQ(groupOf(toolbar->sortMenuItem(QStringLiteral("Descending"))), directions);
    // The menus draw the group's items with radio marks.
    struct Probe final : QMenu {
        using QMenu::initStyleOption;
    };
    Probe menu;
    menu.addAction(toolbar->sortMenuItem(QStringLiteral("Size")));
    QStyleOptionMenuItem option;
    menu.initStyleOption(&option, menu.actions().first());
    EXPECT_EQ(option.checkType, QStyleOptionMenuItem::Exclusive);
}

} // namespace

namespace {

// Run on a large and a small screen side by side (the ScreenMove test).
using ScreenMoveTest = ScreenFitTest;

TEST_F(ScreenMoveTest, AWindowMovedToAnotherScreenIsFittedToIt) {
    QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.size() < 2)
        GTEST_SKIP() << "needs two screens";
    const auto area = [](const QScreen* s) { return s->size().width() * s->size().height(); };
    std::sort(screens.begin(), screens.end(),
              [&](QScreen* a, QScreen* b) { return area(a) > area(b); });
    QScreen* large = screens.front();
    QScreen* small = screens.back();
    const auto expectInside = [](const QWidget* window, const QScreen* screen, const char* step) {
        const QRect free = screen->availableGeometry();
        EXPECT_TRUE(free.contains(window->frameGeometry())) << step;
        EXPECT_LE(window->minimumWidth(), free.width()) << step;
        EXPECT_LE(window->minimumHeight(), free.height()) << step;
    };
    m_window->windowHandle()->setScreen(large);
    ASSERT_NO_FATAL_FAILURE(scanToResults());
    EXPECT_EQ(m_window->minimumSize(), QSize(1200, 713));

    m_window->windowHandle()->setScreen(small);
    QApplication::processEvents();
    ASSERT_EQ(m_window->screen(), small);
    expectInside(m_window.get(), small, "results on the small screen");
    EXPECT_EQ(m_window->minimumSize(),
              WindowPlacement::fitSize(QSize(1200, 713), small->availableGeometry()));
    // Back on the large screen the results ask for their whole minimum again.
    m_window->windowHandle()->setScreen(large);
    QApplication::processEvents();
    expectInside(m_window.get(), large, "results back on the large screen");
    EXPECT_EQ(m_window->minimumSize(), QSize(1200, 713));

    m_window->showPreferences();
    PreferencesWC* preferences = m_window->preferencesController();
    ASSERT_TRUE(preferences && preferences->windowHandle());
    preferences->windowHandle()->setScreen(small);
    QApplication::processEvents();
    expectInside(preferences, small, "preferences on the small screen");
    preferences->close();
}

TEST(StandardKeysTest, EveryStandardItemHasAKeyEvenWithoutADesktop) {
    // A bare X session binds no Preferences or full-screen key; the items keep one.
    EXPECT_EQ(WindowController::standardKeyOr(QKeySequence::UnknownKey, Qt::Key_F11),
              QKeySequence(Qt::Key_F11));
    EXPECT_EQ(WindowController::standardKeyOr(QKeySequence::Copy, Qt::Key_F11),
              QKeySequence(QKeySequence::Copy));
    WindowController window;
    EXPECT_FALSE(window.preferencesMenuItem->shortcut().isEmpty());
    EXPECT_FALSE(window.fullScreenMenuItem->shortcut().isEmpty());
}

} // namespace
