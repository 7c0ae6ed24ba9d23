// The flow screens inside the main window: a scan without copies ends on the no-duplicates
// view, and going back from there shows the interim screen with the folders of that scan.
// Also the window's About, Share and updater commands.
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Categories/Settings.h"
#include "Platform/NotificationCenter.h"
#include "Preferences/PreferencesWC.h"
#include "Results/DuplicatesManager.h"
#include "Screens/AttributedText.h"
#include "Screens/CongratulationsVC.h"
#include "Screens/InterimScreenVC.h"
#include "Screens/NoDuplicatesVC.h"
#include "Screens/ScanScreenVC.h"
#include "Screens/WelcomeScreenVC.h"
#include "Shell/AboutWC.h"
#include "Shell/SharingService.h"
#include "Shell/WindowController.h"
#include "TestSupport.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/ButtonWithTrackingArea.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

class FlowScreensRoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
        SharingService::setOpenerForTesting([this](const QUrl& url) { opened << url; });
        Settings::setShowRestartScanMessage(false);
        Settings::setDefineMinimalDuplicatesFileSizeAutomatically(false);
        Settings::setMinDuplicatesFileSize(1);
        ASSERT_TRUE(m_tree.isValid());
        m_window = std::make_unique<WindowController>();
        m_window->setTerminateHandler([] {});
        m_window->show();
        m_window->windowDidLoad();
    }

    void TearDown() override {
        m_window.reset();
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (qobject_cast<AboutWC*>(top))
                delete top;
        }
        QApplication::processEvents();
        SharingService::setOpenerForTesting({});
        Settings::setDefineMinimalDuplicatesFileSizeAutomatically(true);
        Settings::setMinDuplicatesFileSize(1048576);
        AnimationClock::instance().setMode(AnimationClock::Mode::Real);
    }

    QString makeFolder(const QString& name) {
        const QString folder = m_tree.path() + QLatin1Char('/') + name;
        EXPECT_TRUE(TestSupport::writeFile(QFile::encodeName(folder + "/one.txt"), "first"));
        EXPECT_TRUE(TestSupport::writeFile(QFile::encodeName(folder + "/two.txt"), "second!"));
        EXPECT_TRUE(TestSupport::writeFile(QFile::encodeName(folder + "/three.txt"), "third!!!"));
        return folder;
    }

    QAction* menuItem(const QString& text) const {
        for (QAction* action : m_window->menuBar()->findChildren<QAction*>()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }

    QTemporaryDir m_tree;
    std::unique_ptr<WindowController> m_window;
    QList<QUrl> opened;
};

} // namespace

TEST_F(FlowScreensRoadTest, NoCopiesShowTheNoDuplicatesViewAndBackShowsTheInterimScreen) {
    const QString folder = makeFolder(QStringLiteral("Holiday photos"));
    m_window->startScanFolders({folder});
    ASSERT_TRUE(TestSupport::waitFor([&] {
        return m_window->scanScreenController() &&
               m_window->scanScreenController()->noDuplicatesController();
    }));
    NoDuplicatesVC* noDuplicates = m_window->scanScreenController()->noDuplicatesController();
    ASSERT_TRUE(TestSupport::waitFor([&] { return noDuplicates->pos() == QPoint(0, 0); }));
    EXPECT_TRUE(noDuplicates->isVisible());
    EXPECT_EQ(noDuplicates->geometry(), m_window->scanScreenController()->rect());
    EXPECT_EQ(noDuplicates->label2()->plainString(),
              QStringLiteral("The folder Holiday photos was scanned."));
    EXPECT_EQ(noDuplicates->label3()->plainString(), QStringLiteral("3 files checked."));
    // The manual minimal size of 1 byte is in force.
    EXPECT_TRUE(noDuplicates->minimalDupsSizeView()->isVisible());

    NotificationCenter::defaultCenter().post(QStringLiteral("BackToInterimScreen"));
    ASSERT_TRUE(TestSupport::waitFor(
        [&] { return m_window->interimScreenController() && !m_window->scanScreenController(); }));
    InterimScreenVC* interim = m_window->interimScreenController();
    ASSERT_TRUE(TestSupport::waitFor([&] { return !interim->animationExecution(); }));
    EXPECT_EQ(interim->folderArray(), QStringList{folder});
    ASSERT_EQ(interim->folderEntries().size(), 1);
    EXPECT_EQ(interim->folderEntries().first().value(QStringLiteral("name")).toString(),
              QStringLiteral("Holiday photos"));
    EXPECT_TRUE(
        interim->label1()->plainString().startsWith(QStringLiteral("1 folder was scanned on ")));
    EXPECT_EQ(interim->label2()->plainString(),
              QStringLiteral("0\u00A0B of duplicates were found."));

    // Its new-scan button goes on to an empty welcome screen.
    interim->newScanButton()->click();
    ASSERT_TRUE(TestSupport::waitFor([&] {
        return m_window->welcomeScreenController() && !m_window->interimScreenController();
    }));
}

TEST_F(FlowScreensRoadTest, CongratulationsOverTheResultsLeadToAnEmptyWelcomeScreen) {
    const QString folder = m_tree.path() + QStringLiteral("/copies");
    ASSERT_TRUE(TestSupport::writeFile(QFile::encodeName(folder + "/a.txt"), "same text"));
    ASSERT_TRUE(TestSupport::writeFile(QFile::encodeName(folder + "/b.txt"), "same text"));
    m_window->startScanFolders({folder});
    ASSERT_TRUE(TestSupport::waitFor([&] {
        return m_window->selectDuplicatesController() &&
               m_window->selectDuplicatesController()->resultsViewShown();
    }));
    SelectDuplicatesVC* results = m_window->selectDuplicatesController();
    results->showCongratulationsView(0, {folder});
    CongratulationsVC* congratulations = results->congratulationsController();
    ASSERT_TRUE(congratulations);
    ASSERT_TRUE(TestSupport::waitFor([&] { return congratulations->pos() == QPoint(0, 0); }));
    EXPECT_EQ(congratulations->size(), results->size());
    EXPECT_TRUE(congratulations->isPlainVariant());
    EXPECT_EQ(congratulations->label2()->plainString(),
              QStringLiteral("The folder copies was processed."));

    congratulations->newScanButton()->click();
    ASSERT_TRUE(TestSupport::waitFor([&] {
        return m_window->welcomeScreenController() && !m_window->selectDuplicatesController();
    }));
    EXPECT_TRUE(m_window->welcomeScreenController()->foldersArray().isEmpty());
}

TEST_F(FlowScreensRoadTest, AboutMakesANewWindowEachTimeAndKeepsTheFolderChooserShut) {
    EXPECT_FALSE(m_window->isAnyOtherWindowsOpened());
    QAction* about = m_window->mainMenuAboutSorvanta;
    about->trigger();
    QPointer<AboutWC> first = m_window->aboutWindowController();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(m_window->isAnyOtherWindowsOpened());
    about->trigger();
    QPointer<AboutWC> second = m_window->aboutWindowController();
    ASSERT_TRUE(second);
    EXPECT_NE(first, second);
    first->close();
    second->close();
    EXPECT_FALSE(m_window->isAnyOtherWindowsOpened());
    ASSERT_TRUE(TestSupport::waitFor([&] { return !first && !second; }));
}

TEST_F(FlowScreensRoadTest, PreferencesMakesANewFreeWindowEachTimeAndKeepsTheFolderChooserShut) {
    QAction* preferences = m_window->preferencesMenuItem;
    preferences->trigger();
    QPointer<PreferencesWC> first = m_window->preferencesController();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowModality(), Qt::NonModal);
    EXPECT_TRUE(m_window->isAnyOtherWindowsOpened());
    preferences->trigger();
    QPointer<PreferencesWC> second = m_window->preferencesController();
    ASSERT_TRUE(second);
    EXPECT_NE(first, second);
    EXPECT_TRUE(first->isVisible());
    first->close();
    second->close();
    EXPECT_FALSE(m_window->isAnyOtherWindowsOpened());
    ASSERT_TRUE(TestSupport::waitFor([&] { return !first && !second; }));
}

TEST_F(FlowScreensRoadTest, MenuShareItemsAndPreferencesFollowThisDesktop) {
    // Without a browser the social-network items hide; the mail item never does.
    for (const bool browser : {false, true}) {
        SharingService::setServicesForTesting([browser](SharingService::Name name) {
            return name != SharingService::Name::ComposeEmail && browser;
        });
        WindowController window;
        ASSERT_TRUE(window.twitterMenuItem && window.facebookMenuItem && window.emailMenuItem);
        EXPECT_EQ(window.twitterMenuItem->isVisible(), browser);
        EXPECT_EQ(window.facebookMenuItem->isVisible(), browser);
        EXPECT_TRUE(window.emailMenuItem->isVisible());
        if (browser) {
            window.twitterMenuItem->trigger();
            window.facebookMenuItem->trigger();
            ASSERT_EQ(opened.size(), 2);
            EXPECT_EQ(opened[0].host(), QStringLiteral("twitter.com"));
            EXPECT_EQ(opened[1].host(), QStringLiteral("www.facebook.com"));
            opened.clear();
        }
    }
    SharingService::setServicesForTesting(std::nullopt);
    EXPECT_TRUE(m_window->preferencesMenuItem->isEnabled());
    EXPECT_TRUE(m_window->checkForUpdatesMenuItem->isVisible());

    m_window->emailMenuItem->trigger();
    m_window->contactSupportMenuItem->trigger();
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(QUrlQuery(opened[0]).queryItemValue(QStringLiteral("SUBJECT"), QUrl::FullyDecoded),
              QStringLiteral("Find Duplicates with Sorvanta on Linux"));
    EXPECT_EQ(opened[1].path(), QStringLiteral("support@velquor.com"));
}
