#include "../../Results/ResultFixture.h"

#include "Browser/Frame/DuplicateBottombarVC.h"
#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Categories/Settings.h"
#include "Hints/OverlayInfoController.h"
#include "Hints/OverlayInfoView.h"
#include "Platform/KeyEvent.h"
#include "Results/DuplicatesHeaps.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/TitleButton.h"

#include <QApplication>
#include <QTest>

namespace {

// Folders A and B share two groups, so the result has a heap and every state can be shown.
struct ResultsOverlayTest : ResultFixture {
    std::unique_ptr<SelectDuplicatesVC> screen;
    int redraws = 0;

    void SetUp() override {
        ResultFixture::SetUp();
        container = DuplicatesContainer::create(true);
        AnimationClock::instance().setMode(AnimationClock::Mode::Manual);
        auto* a = folder(root, "A");
        auto* b = folder(root, "B");
        FileSystemItem* ax = file(a, "x.txt", 100);
        FileSystemItem* bx = file(b, "x.txt", 100);
        FileSystemItem* az = file(a, "z.txt", 70, 'z');
        FileSystemItem* bz = file(b, "z.txt", 70, 'z');
        root->calctotalsize();
        ASSERT_TRUE(container->addGroupWithItems({ax, bx}));
        ASSERT_TRUE(container->addGroupWithItems({az, bz}));
        container->saveRoots({root});
        container->getHeaps()->validateEmptyDataAfterRemoveWithListener(nullptr);
        DuplicatesManager::sharedManager().setDuplicateContainer(container);
        for (auto set :
             {Settings::setShowOverlayOverviewScreen, Settings::setShowOverlayCategoryScreen,
              Settings::setShowOverlaySimilarsScreen})
            set(true);
        NotificationCenter::defaultCenter().addObserver(static_cast<const void*>(&redraws),
                                                        QStringLiteral("OverlayRedraw"),
                                                        [this](const Notification&) { ++redraws; });
    }
    void TearDown() override {
        screen.reset();
        NotificationCenter::defaultCenter().removeObserver(static_cast<const void*>(&redraws));
        AnimationClock::instance().setMode(AnimationClock::Mode::Real);
        ResultFixture::TearDown();
    }
    SelectDuplicatesVC& makeScreen() {
        screen = std::make_unique<SelectDuplicatesVC>();
        screen->resize(1100, 700);
        screen->show();
        screen->pressOverviewButton();
        return *screen;
    }
    QList<int> shownScreens() const {
        OverlayInfoController* overlay = screen->overlayInfoViewController();
        return overlay && overlay->view() ? overlay->view()->screensArray() : QList<int>();
    }
    static void pressEscape() {
        KeyEvent escape;
        escape.keyCode = 53;
        NotificationCenter::defaultCenter().post(
            AppNotification::KeyPressedNotificationName(),
            {{QStringLiteral("Event"), QVariant::fromValue(escape)}});
    }
    // A rectangle of |view| in the window's y-up coordinates.
    static QRectF windowRect(const QWidget* view) {
        const QPoint topLeft = view->mapTo(view->window(), QPoint(0, 0));
        return QRectF(topLeft.x(), view->window()->height() - topLeft.y() - view->height(),
                      view->width(), view->height());
    }
};

TEST_F(ResultsOverlayTest, FirstVisitOfEachStateShowsItsOverlayOnce) {
    SelectDuplicatesVC& s = makeScreen();
    EXPECT_FALSE(s.overlayInfoViewController()); // only once the overview has faded in
    AnimationClock::instance().advance(1500);
    EXPECT_EQ(shownScreens(), (QList<int>{0, 3, 4, 5}));
    EXPECT_TRUE(DuplicatesManager::sharedManager().overlayOnScreen());
    EXPECT_FALSE(Settings::showOverlayOverviewScreen());
    OverlayInfoView* sheet = s.overlayInfoViewController()->view();
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->geometry(), s.window()->rect());
    pressEscape();
    EXPECT_FALSE(s.overlayInfoViewController());
    EXPECT_FALSE(DuplicatesManager::sharedManager().overlayOnScreen());

    s.duplicatesToolbar()->pressButtonForCategoryType(-1);
    AnimationClock::instance().advance(1000);
    EXPECT_EQ(shownScreens(), (QList<int>{10}));
    // The close button runs the close block, which drops the controller from inside its own
    // click handler.
    s.overlayInfoViewController()->closeBtn()->click();
    EXPECT_FALSE(s.overlayInfoViewController());
    EXPECT_FALSE(DuplicatesManager::sharedManager().overlayOnScreen());

    s.duplicatesToolbar()->heapsButtonPressed(s.duplicatesToolbar()->heapsButton());
    ASSERT_EQ(s.state(), 2);
    AnimationClock::instance().advance(1000);
    EXPECT_EQ(shownScreens(), (QList<int>{6, 7, 8, 9}));
    // Stepping past the last screen closes it as well.
    for (int step = 0; step < 4; ++step)
        if (OverlayInfoController* overlay = s.overlayInfoViewController())
            overlay->showNextScreen(1);
    EXPECT_FALSE(s.overlayInfoViewController());

    // Second visits show nothing.
    s.duplicatesToolbar()->overviewButtonPressed(s.duplicatesToolbar()->overviewButton());
    AnimationClock::instance().advance(1500);
    s.duplicatesToolbar()->pressButtonForCategoryType(-1);
    AnimationClock::instance().advance(1000);
    EXPECT_FALSE(s.overlayInfoViewController());
}

TEST_F(ResultsOverlayTest, ClosingTheHelpGivesTheKeysBackToTheListItCovered) {
    Settings::setShowOverlayOverviewScreen(false);
    SelectDuplicatesVC& s = makeScreen();
    s.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&s));
    AnimationClock::instance().advance(1500);

    s.duplicatesToolbar()->pressButtonForCategoryType(-1);
    AnimationClock::instance().advance(1000);
    ASSERT_TRUE(s.overlayInfoViewController());
    EXPECT_TRUE(s.overlayInfoViewController()->view()->hasFocus());
    pressEscape();
    EXPECT_TRUE(s.fileListVC()->isAncestorOf(QApplication::focusWidget()));

    s.duplicatesToolbar()->heapsButtonPressed(s.duplicatesToolbar()->heapsButton());
    AnimationClock::instance().advance(1000);
    ASSERT_TRUE(s.overlayInfoViewController());
    EXPECT_TRUE(s.overlayInfoViewController()->view()->hasFocus());
    s.overlayInfoViewController()->closeBtn()->click();
    EXPECT_TRUE(s.folderPickerVC()->isTableViewActive());
}

TEST_F(ResultsOverlayTest, ShowingTogglesAndTheReviewPanelRefuses) {
    SelectDuplicatesVC& s = makeScreen();
    Settings::setShowOverlayOverviewScreen(false);
    AnimationClock::instance().advance(1500);
    ASSERT_FALSE(s.overlayInfoViewController());

    int closed = 0;
    s.setOverviewPiechartVisible(true);
    s.setOverviewHeapsChartVisible(true);
    EXPECT_TRUE(s.showOverlayInfo([&] {
        ++closed;
        s.hideAndDestroyOverlay();
    }));
    EXPECT_EQ(shownScreens(), (QList<int>{1, 2, 3, 4, 5}));
    EXPECT_FALSE(s.showOverlayInfo([] {}));
    EXPECT_FALSE(s.overlayInfoViewController());
    EXPECT_FALSE(DuplicatesManager::sharedManager().overlayOnScreen());
    EXPECT_EQ(closed, 0); // toggled off, not closed by the user

    ASSERT_TRUE(s.showOverlayInfo([&] {
        ++closed;
        s.hideAndDestroyOverlay();
    }));
    pressEscape(); // the screen's own Escape, as when the sheet lost the keyboard
    EXPECT_FALSE(s.overlayInfoViewController());
    ASSERT_TRUE(s.showOverlayInfo([&] {
        ++closed;
        s.hideAndDestroyOverlay();
    }));
    s.overlayInfoViewController()->closeOverlayInfo();
    EXPECT_EQ(closed, 1);

    s.openSelectedFilesView();
    EXPECT_FALSE(s.showOverlayInfo([] {}));
    EXPECT_FALSE(s.overlayInfoViewController());
}

TEST_F(ResultsOverlayTest, HelpRectanglesFollowTheWindowsFrame) {
    Settings::setShowOverlayCategoryScreen(false);
    Settings::setSortType(Settings::SortTypeName);
    SelectDuplicatesVC& s = makeScreen();
    s.duplicatesToolbar()->pressButtonForCategoryType(-1);
    AnimationClock::instance().advance(1500);
    const auto frames = [](int screen, int hint) {
        return DuplicatesManager::getFramesArrayForScreenAndHint(screen, hint);
    };
    const auto expectCurrent = [&] {
        const QRectF back = windowRect(s.duplicatesToolbar()->backButton());
        EXPECT_EQ(frames(4, 1), (QList<QRectF>{QRectF(back.x() + 1, back.y() + 1, back.width() - 2,
                                                      back.height() - 4)}));
        // Sort by name: directly under the group list's top edge.
        const QRectF list = windowRect(s.categorySplitView()->widget(0));
        EXPECT_EQ(frames(10, 0), (QList<QRectF>{QRectF(list.x(), list.y() + list.height() - 50,
                                                       list.width(), 50)}));
    };
    expectCurrent();

    // Taller: every rectangle moves up with the window's top edge; an open overlay redraws.
    ASSERT_TRUE(s.showOverlayInfo([&] { s.hideAndDestroyOverlay(); }));
    const QList<QRectF> before = frames(4, 1);
    redraws = 0;
    s.resize(1100, 800);
    expectCurrent();
    EXPECT_EQ(frames(4, 1).front().y(), before.front().y() + 100);
    EXPECT_GE(redraws, 1);
    EXPECT_EQ(s.overlayInfoViewController()->view()->geometry(), s.rect());
}

TEST(ToolbarSortMenuTest, MenuOpensTwoPointsLeftAndFiveBelowTheButton) {
    EXPECT_EQ(DuplicateToolbarVC::sortMenuOrigin(QRect(100, 200, 80, 20)), QPoint(98, 225));
}

} // namespace
