// The window background's type, the recent-folders menu and the folder bookmarks.
#include "Categories/AppNotification.h"
#include "Categories/Settings.h"
#include "Platform/KeyEvent.h"
#include "Platform/NotificationCenter.h"
#include "Platform/UserDefaults.h"
#include "Screens/ProgressBarScanner.h"
#include "Screens/ScanChartView.h"
#include "Screens/ScanScreenVC.h"
#include "Screens/WelcomeScreenVC.h"
#include "Shell/FolderBookmarks.h"
#include "Shell/ScreenAnimation.h"
#include "Shell/WindowBackgroundView.h"
#include "Shell/WindowController.h"
#include "TestSupport.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/Palette.h"

#include <QApplication>
#include <QDir>
#include <QGraphicsOpacityEffect>
#include <QMessageBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(WindowBackgroundViewTest, FollowsTheAnnouncedTypeAndReadsAMissingOneAsSimilars) {
    WindowBackgroundView view;
    EXPECT_EQ(view.type(), 0);
    AppNotification::CreateBackgroundTypeChangedNotificationWithType(3);
    EXPECT_EQ(view.type(), 3);
    NotificationCenter::defaultCenter().post(
        AppNotification::BackgroundTypeChangedNotificationName());
    EXPECT_EQ(view.type(), 4);
    view.setType(1);
    EXPECT_EQ(view.type(), 1);

    for (int type : {0, 1, 2})
        EXPECT_TRUE(WindowBackgroundView::paintsFlowBackground(type)) << type;
    for (int type : {3, 4, -1, 7})
        EXPECT_FALSE(WindowBackgroundView::paintsFlowBackground(type)) << type;

    // What shows is the opaque palette colour of each kind.
    view.resize(20, 20);
    for (int type : {0, 3}) {
        view.setType(type);
        const QImage image = view.grab().toImage();
        const QColor expected =
            type == 0 ? Palette::commonBackgroundColor() : Palette::categoryBackgroundColor();
        EXPECT_EQ(image.pixelColor(10, 10).rgb(), expected.rgb()) << type;
    }
}

TEST(WindowBackgroundViewTest, AnimationFamilyMovesItsValues) {
    AnimationClock::instance().setMode(AnimationClock::Mode::Manual);
    {
        WindowBackgroundView view;
        view.startAnimateBottomArcs();
        view.startAnimateUpLeftCircles();
        view.startAnimatePulsatingCircle();
        AnimationClock::instance().advance(33);
        EXPECT_FLOAT_EQ(view.arc1Angle(), 215 - 1.3f);
        EXPECT_FLOAT_EQ(view.arc2Angle(), 291);
        EXPECT_FLOAT_EQ(view.tempVal(), 0); // 31 is above 30: back to 0
        EXPECT_FLOAT_EQ(view.pulsatingRadius(), 262);
        AnimationClock::instance().advance(33); // above 260: the direction turns
        EXPECT_FLOAT_EQ(view.pulsatingRadius(), 260);
        view.stopAnimateBottomArcs();
        AnimationClock::instance().advance(33);
        EXPECT_FLOAT_EQ(view.arc2Angle(), 292);
    }
    AnimationClock::instance().setMode(AnimationClock::Mode::Real);
}

// A view that ends a fade fully opaque carries no effect: a disabled one left installed made
// the screen keep old panes' pixels after the results screen swapped its lists.
TEST(ScreenAnimationTest, AnOpaqueViewCarriesNoEffect) {
    AnimationClock::instance().setMode(AnimationClock::Mode::Manual);
    QWidget parent;
    parent.resize(200, 100);
    auto* pane = new QWidget(&parent);
    parent.show();

    ScreenAnimation::setAlphaValue(pane, 1.0);
    EXPECT_EQ(pane->graphicsEffect(), nullptr);
    ScreenAnimation::setAlphaValue(pane, 0.25);
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(pane->graphicsEffect());
    ASSERT_TRUE(effect);
    EXPECT_TRUE(effect->isEnabled());
    EXPECT_DOUBLE_EQ(ScreenAnimation::alphaValue(pane), 0.25);

    bool done = false;
    ScreenAnimation::animate(pane, 1.0, std::nullopt, 300, [&done] { done = true; });
    AnimationClock::instance().advance(150);
    EXPECT_TRUE(pane->graphicsEffect()); // half way: still fading
    AnimationClock::instance().advance(200);
    EXPECT_TRUE(done);
    EXPECT_EQ(pane->graphicsEffect(), nullptr);
    EXPECT_DOUBLE_EQ(ScreenAnimation::alphaValue(pane), 1.0);

    // Out and back in again: the effect comes and goes with each fade.
    ScreenAnimation::animate(pane, 0.0, std::nullopt, 100);
    AnimationClock::instance().advance(200);
    EXPECT_DOUBLE_EQ(ScreenAnimation::alphaValue(pane), 0.0);
    ScreenAnimation::animate(pane, 1.0, std::nullopt, 100);
    AnimationClock::instance().advance(200);
    EXPECT_EQ(pane->graphicsEffect(), nullptr);
    AnimationClock::instance().setMode(AnimationClock::Mode::Real);
}

TEST(FolderBookmarksTest, PathsAreKeptUnderTheirOwnGroupAndNeverOverwriteASetting) {
    const QString hostile = QStringLiteral("KEY_last_ten_folders");
    Settings::setLastTenFolders({QStringLiteral("/x")});
    ASSERT_TRUE(FolderBookmarks::saveBookmarkForPath(hostile));
    EXPECT_EQ(Settings::lastTenFolders(), QStringList{QStringLiteral("/x")});
    EXPECT_EQ(FolderBookmarks::resolveBookmarkForPath(hostile), hostile);

    const QString nested = QStringLiteral("/home/u/a=b/c%d");
    ASSERT_TRUE(FolderBookmarks::saveBookmarkForPath(nested));
    EXPECT_EQ(FolderBookmarks::resolveBookmarkForPath(nested), nested);
    EXPECT_FALSE(FolderBookmarks::keyForPath(nested).mid(16).contains(QLatin1Char('/')));
    EXPECT_EQ(FolderBookmarks::resolveBookmarkForPath(QStringLiteral("/never/added")),
              std::nullopt);
    EXPECT_FALSE(FolderBookmarks::saveBookmarkForPath(QString()));
}

TEST(RecentFoldersTest, ExistingFolderIsDroppedOnTheWelcomeScreenAndAMissingOneLeavesTheList) {
    AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
    QTemporaryDir root;
    const QString kept = root.path() + QStringLiteral("/kept");
    const QString gone = root.path() + QStringLiteral("/gone");
    ASSERT_TRUE(QDir().mkpath(kept));
    ASSERT_TRUE(QDir().mkpath(gone));
    FolderBookmarks::saveBookmarkForPath(kept);
    FolderBookmarks::saveBookmarkForPath(gone);
    Settings::setLastTenFolders({gone, kept});
    ASSERT_TRUE(QDir(gone).removeRecursively());

    QStringList dropped;
    int owner = 0;
    NotificationCenter::defaultCenter().addObserver(
        &owner, QStringLiteral("FileDropped"), [&](const Notification& note) {
            dropped << note.userInfo.value(QStringLiteral("path")).toString();
        });
    {
        WindowController window;
        window.pathMenuItemPressed(kept);
        EXPECT_EQ(dropped, QStringList{kept});
        EXPECT_EQ(window.findChild<QMessageBox*>(QStringLiteral("recentFolderMissing")), nullptr);

        window.pathMenuItemPressed(gone);
        EXPECT_EQ(dropped, QStringList{kept});
        auto* sheet = window.findChild<QMessageBox*>(QStringLiteral("recentFolderMissing"));
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(sheet->text(), QStringLiteral("Can\u2019t add folder \"gone\" to scan"));
        EXPECT_EQ(Settings::lastTenFolders(), QStringList{kept});
        EXPECT_EQ(FolderBookmarks::resolveBookmarkForPath(gone), gone); // the entry stays
    }
    NotificationCenter::defaultCenter().removeObserver(&owner);
    QApplication::processEvents();
    AnimationClock::instance().setMode(AnimationClock::Mode::Real);
}

} // namespace

namespace {

TEST(ShellImagesTest, EveryPictureTheShellAndItsScreensAskForResolves) {
    AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
    ImageStore::resetRequestedNames();
    {
        WindowController window;
        window.show();
        window.windowDidLoad();
        window.flagsChanged(KeyEvent::OptionKeyMask);
        window.flagsChanged(0);
        window.grab();
        ScanScreenVC scan;
        scan.awakeFromNib();
        ScanChartView& chart = *scan.scanChartView();
        for (int i = 0; i < ScanChartView::kBarCount; ++i)
            chart.setSize(i, 1000 * (i + 1));
        chart.updateScannedFilesValuesAnimated();
        for (int i = 0; i < 50; ++i)
            AnimationClock::instance().flush();
        scan.progressBar()->setProgress(0.5f);
        scan.progressBar()->show();
        scan.resize(990, 590);
        scan.grab();
        scan.progressBar()->setProgress(1.0f);
        scan.grab();
        WelcomeScreenVC welcome;
        welcome.awakeFromNib();
        welcome.startScanButtonPulse();
        welcome.grab();
    }
    const QStringList requested = ImageStore::requestedNames();
    EXPECT_GE(requested.size(), 20);
    for (const QString& name : requested)
        EXPECT_TRUE(ImageStore::contains(name)) << name.toStdString();
    QApplication::processEvents();
    AnimationClock::instance().setMode(AnimationClock::Mode::Real);
}

} // namespace
