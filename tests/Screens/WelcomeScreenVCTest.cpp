// The welcome screen's folder list, drops, counter and help texts, start requests and the
// recent folders, with real folders in a temporary folder and the real settings file.
#include "Screens/WelcomeScreenVC.h"
#include "Categories/AppNotification.h"
#include "Categories/Settings.h"
#include "Platform/NotificationCenter.h"
#include "Platform/UserDefaults.h"
#include "Screens/ScreenProtocols.h"
#include "Screens/WelcomeScreenView.h"
#include "Shell/FolderBookmarks.h"
#include "TestSupport.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/MBCoverFlowView.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

class RecordingDelegate final : public WelcomeScreenProtocolDelegate {
public:
    void startScanFolders(const QStringList& paths, bool allOut) override {
        started.append(paths);
        allOuts.append(allOut);
    }
    QList<QStringList> started;
    QList<bool> allOuts;
};

class WelcomeScreenVCTest : public ::testing::Test {
protected:
    void SetUp() override {
        AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
        ASSERT_TRUE(m_root.isValid());
        Settings::setLastTenFolders({});
        Settings::setShowUserDirectoryAtFirstTime(false);
        m_screen = makeScreen();
    }
    void TearDown() override {
        m_screen.reset();
        QApplication::processEvents();
        AnimationClock::instance().setMode(AnimationClock::Mode::Real);
    }

    std::unique_ptr<WelcomeScreenVC> makeScreen(const QStringList& prefill = {}) {
        auto screen = std::make_unique<WelcomeScreenVC>();
        screen->setDelegate(&m_delegate);
        screen->setPathsArray(prefill);
        screen->awakeFromNib();
        return screen;
    }

    QString folder(const QString& name) {
        const QString path = m_root.path() + QLatin1Char('/') + name;
        EXPECT_TRUE(QDir().mkpath(path));
        return path;
    }

    QString file(const QString& name) {
        const QString path = m_root.path() + QLatin1Char('/') + name;
        EXPECT_TRUE(TestSupport::writeFile(QFile::encodeName(path), "contents"));
        return path;
    }

    static std::unique_ptr<QMimeData> dragOf(const QStringList& paths) {
        auto mime = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        mime->setUrls(urls);
        return mime;
    }

    QTemporaryDir m_root;
    RecordingDelegate m_delegate;
    std::unique_ptr<WelcomeScreenVC> m_screen;
};

TEST_F(WelcomeScreenVCTest, NewestFolderComesFirstAndAScanGetsListOrder) {
    const QString a = folder("A"), b = folder("B"), c = folder("C");
    for (const QString& path : {a, b, c})
        m_screen->loadFilesByPath(path);
    EXPECT_EQ(m_screen->folderPaths(), (QStringList{c, b, a}));
    EXPECT_EQ(m_screen->selectedIndex(), 0);
    const QVariantMap& entry = m_screen->foldersArray().front();
    EXPECT_EQ(entry.value("name").toString(), QStringLiteral("C"));
    EXPECT_EQ(entry.value("image").value<QImage>().deviceIndependentSize(), QSizeF(128, 128));
    EXPECT_EQ(m_screen->flowView()->content(), m_screen->foldersArray());

    m_screen->startScanButtonPressed();
    ASSERT_EQ(m_delegate.started.size(), 1);
    EXPECT_EQ(m_delegate.started.front(), (QStringList{c, b, a}));
    // The gate stays closed after a start.
    m_screen->startScanButtonPressed();
    EXPECT_EQ(m_delegate.started.size(), 1);
}

TEST_F(WelcomeScreenVCTest, ReAddedPathOnlySelectsItsEntryAndRewritesItsBookmark) {
    const QString a = folder("A"), b = folder("B");
    m_screen->loadFilesByPath(a);
    m_screen->loadFilesByPath(b);
    UserDefaults::standardUserDefaults().removeObject(FolderBookmarks::keyForPath(a));
    m_screen->loadFilesByPath(a);
    EXPECT_EQ(m_screen->folderPaths(), (QStringList{b, a}));
    EXPECT_EQ(m_screen->selectedIndex(), 1);
    EXPECT_EQ(FolderBookmarks::resolveBookmarkForPath(a), a);
    // Paths are compared as given: a trailing "/" is another entry.
    m_screen->loadFilesByPath(a + QLatin1Char('/'));
    EXPECT_EQ(m_screen->foldersArray().size(), 3);
}

TEST_F(WelcomeScreenVCTest, RefusedExtensionsAddNothingButKeepABookmark) {
    for (const char* name : {"Tool.app", "Saved.cannedSearch"}) {
        const QString path = folder(QLatin1String(name));
        m_screen->loadFilesByPath(path);
        EXPECT_TRUE(m_screen->foldersArray().isEmpty()) << name;
        EXPECT_EQ(FolderBookmarks::resolveBookmarkForPath(path), path);
    }
    m_screen->loadFilesByPath(folder("Tool.apps"));
    EXPECT_EQ(m_screen->foldersArray().size(), 1);
    EXPECT_EQ(Settings::lastTenFolders().size(), 1);
}

TEST_F(WelcomeScreenVCTest, DropsTakeFoldersOnly) {
    const QString a = folder("A"), b = folder("B"), plain = file("plain.txt");
    EXPECT_TRUE(WelcomeScreenView::acceptsDrag(dragOf({a, b}).get()));
    EXPECT_FALSE(WelcomeScreenView::acceptsDrag(dragOf({plain}).get()));
    EXPECT_FALSE(WelcomeScreenView::acceptsDrag(dragOf({a, plain}).get()));
    auto web = std::make_unique<QMimeData>();
    web->setUrls({QUrl(QStringLiteral("https://example.org/"))});
    EXPECT_TRUE(WelcomeScreenView::acceptsDrag(web.get())); // accepted, yields nothing
    EXPECT_TRUE(WelcomeScreenView::droppedFolders(web.get()).isEmpty());
    EXPECT_EQ(WelcomeScreenView::droppedFolders(dragOf({a, m_root.path() + "/gone", b}).get()),
              (QStringList{a, b}));

    // A real drop on the screen's view lists the folders through "FileDropped".
    auto* view = m_screen->findChild<WelcomeScreenView*>();
    ASSERT_NE(view, nullptr);
    m_screen->show(); // drops reach only a shown drop site
    auto mime = dragOf({a, b});
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    // Straight to the view: without a drag in progress the application drops the event.
    static_cast<QObject*>(view)->event(&drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(m_screen->folderPaths(), (QStringList{b, a}));
}

TEST_F(WelcomeScreenVCTest, CounterGateAndHelpLineFollowTheList) {
    EXPECT_EQ(m_screen->foldersCountText(), QStringLiteral("Add folders to scan"));
    EXPECT_FALSE(m_screen->isScanButtonEnabled());
    EXPECT_FALSE(m_screen->folderCountView()->isVisibleTo(m_screen.get()));
    EXPECT_EQ(m_screen->helpText(),
              QStringLiteral("Use button, Drag&Drop folders or use Enter shortcut to add folders "
                             "to search duplicates"));

    m_screen->loadFilesByPath(folder("A"));
    EXPECT_EQ(m_screen->foldersCountText(), QStringLiteral("1 folder added"));
    EXPECT_TRUE(m_screen->isScanButtonEnabled());
    EXPECT_TRUE(m_screen->folderCountView()->isVisibleTo(m_screen.get()));
    EXPECT_EQ(m_screen->helpText(),
              QStringLiteral("Use button or Drag&Drop folders to add folders to search "
                             "duplicates. Press Enter to start searching"));
    m_screen->loadFilesByPath(folder("B"));
    EXPECT_EQ(m_screen->foldersCountText(), QStringLiteral("2 folders added"));

    NotificationCenter::defaultCenter().post(QStringLiteral("FileRemoved"),
                                             QVariantMap{{QStringLiteral("index"), 0}});
    EXPECT_EQ(m_screen->foldersCountText(), QStringLiteral("1 folder added"));
    NotificationCenter::defaultCenter().post(QStringLiteral("FileRemoved"));
    EXPECT_EQ(m_screen->foldersCountText(), QStringLiteral("Add folders to scan"));
    EXPECT_FALSE(m_screen->isScanButtonEnabled());
    EXPECT_EQ(Settings::lastTenFolders().size(), 2); // the recent list stays
}

TEST_F(WelcomeScreenVCTest, RecentListKeepsTheTenNewestWithoutRepeats) {
    QStringList added;
    for (int i = 0; i < 11; ++i) {
        added.prepend(folder(QStringLiteral("F%1").arg(i)));
        m_screen->loadFilesByPath(added.front());
    }
    EXPECT_EQ(Settings::lastTenFolders(), added.mid(0, 10));
    // A folder listed anew (on a later screen) moves to the front.
    auto later = makeScreen();
    later->loadFilesByPath(added.at(5));
    const QStringList recent = Settings::lastTenFolders();
    EXPECT_EQ(recent.size(), 10);
    EXPECT_EQ(recent.front(), added.at(5));
    EXPECT_EQ(recent.count(added.at(5)), 1);

    EXPECT_EQ(WelcomeScreenVC::addPathToRecentList({"b", "a", "c"}, "a"),
              (QStringList{"a", "b", "c"}));
}

TEST_F(WelcomeScreenVCTest, TheAllOutChoiceGoesToOneScanAndNeverToThePreference) {
    // Whatever the General pane stores, a start request leaves it as it is.
    for (const bool stored : {true, false}) {
        Settings::setForceFullHashCalculation(stored);
        m_delegate.started.clear();
        m_delegate.allOuts.clear();

        auto empty = makeScreen();
        QAction allOut(QStringLiteral("All-out Scan"));
        empty->startScanButtonPressed(&allOut); // refused: nothing listed
        EXPECT_TRUE(m_delegate.started.isEmpty());

        auto byMenu = makeScreen({folder("A")});
        byMenu->startScanButtonPressed(&allOut);
        auto plain = makeScreen({folder("B")});
        plain->startScanButtonPressed();
        auto byOption = makeScreen({folder("C")});
        byOption->flagsChanged(KeyEvent::OptionKeyMask);
        EXPECT_TRUE(byOption->isOptionPressed());
        EXPECT_EQ(byOption->scanButton()->image(), QStringLiteral("dark_btn_scan_all"));
        NotificationCenter::defaultCenter().post(QStringLiteral("MainMenuIsActive"));
        EXPECT_EQ(byOption->scanButton()->image(), QStringLiteral("dark_btn_scan"));
        EXPECT_TRUE(byOption->isOptionPressed());
        byOption->startScanButtonPressed();

        EXPECT_EQ(m_delegate.allOuts, (QList<bool>{true, false, true}));
        EXPECT_EQ(Settings::forceFullHashCalculation(), stored);
    }
}

TEST_F(WelcomeScreenVCTest, AStartedScanKeepsTheGateShutWhateverTheListDoes) {
    const QString a = folder("A");
    m_screen->loadFilesByPath(a);
    EXPECT_TRUE(m_screen->canStartScan());
    m_screen->startScanButtonPressed();
    ASSERT_EQ(m_delegate.started.size(), 1);
    EXPECT_FALSE(m_screen->canStartScan());
    EXPECT_TRUE(m_screen->isScanStarted());

    // Counting the folders again (as anything that looks at the list does), adding one or
    // removing one leaves the scan button off; neither the button nor Return starts again.
    EXPECT_TRUE(m_screen->checkFoldersCount());
    m_screen->loadFilesByPath(folder("B"));
    NotificationCenter::defaultCenter().post(QStringLiteral("FileRemoved"),
                                             QVariantMap{{QStringLiteral("index"), 0}});
    EXPECT_FALSE(m_screen->isScanButtonEnabled());
    EXPECT_FALSE(m_screen->canStartScan());
    m_screen->scanButton()->click();
    AppNotification::CreateKeyPressedNotificationWithEvent(KeyEvent{36, 0});
    m_screen->startScanButtonPressed();
    EXPECT_EQ(m_delegate.started.size(), 1);

    // A fresh screen (the welcome screen shown again) opens the gate.
    auto again = makeScreen({a});
    EXPECT_TRUE(again->canStartScan());
    EXPECT_TRUE(again->isScanButtonEnabled());
    // A rescan fills a screen and starts its scan itself: the gate shuts with no start.
    again->closeScanGate();
    AppNotification::CreateKeyPressedNotificationWithEvent(KeyEvent{36, 0});
    EXPECT_EQ(m_delegate.started.size(), 1);
}

TEST_F(WelcomeScreenVCTest, ReturnStartsTheScanOrOpensTheFolderChooser) {
    AppNotification::CreateKeyPressedNotificationWithEvent(KeyEvent{36, 0});
    ASSERT_NE(m_screen->openPanel(), nullptr);
    EXPECT_TRUE(m_screen->isOpenDialogOnScreen());
    m_screen->openPanel()->reject();
    EXPECT_FALSE(m_screen->isOpenDialogOnScreen());

    const QString a = folder("A");
    m_screen->loadFilesByPath(a);
    AppNotification::CreateKeyPressedNotificationWithEvent(KeyEvent{49, 0}); // Space: nothing
    EXPECT_TRUE(m_delegate.started.isEmpty());
    AppNotification::CreateKeyPressedNotificationWithEvent(KeyEvent{36, 0});
    ASSERT_EQ(m_delegate.started.size(), 1);
    EXPECT_EQ(m_delegate.started.front(), QStringList{a});
}

TEST_F(WelcomeScreenVCTest, PrefilledFoldersAreListedInReverseAndPromoButtonShowsFromTheThird) {
    Settings::setWelcomeScreenAppearanceCount(0);
    const QString a = folder("A"), b = folder("B");
    auto first = makeScreen({a, b});
    EXPECT_EQ(first->folderPaths(), (QStringList{b, a}));
    EXPECT_TRUE(first->pathsArray().isEmpty());
    EXPECT_TRUE(first->zembrookButton()->isHidden());
    auto second = makeScreen();
    EXPECT_TRUE(second->zembrookButton()->isHidden());
    auto third = makeScreen();
    EXPECT_FALSE(third->zembrookButton()->isHidden());
    EXPECT_EQ(Settings::welcomeScreenAppearanceCount(), 3u);
}

} // namespace
