#include "Promo/ZembrookDialogWC.h"

#include "TestSupport.h"
#include "Toolkit/WindowPlacement.h"

#include "Platform/UserDefaults.h"
#include "Promo/PromoSettings.h"
#include "Promo/PromoWorkspace.h"
#include "Results/DuplicatesManager.h"
#include "Scanner/PromoPanelGate.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Policy = ZembrookDialogWC::NavigationPolicy;

class ZembrookDialogWCTest : public ::testing::Test {
protected:
    void SetUp() override {
        PromoWorkspace::setForTesting({[this](const QUrl& url) {
                                           m_opened << url;
                                           return true;
                                       },
                                       {},
                                       {},
                                       {}});
    }
    void TearDown() override {
        ZembrookDialogWC::closeZembrookWC();
        ASSERT_TRUE(TestSupport::waitFor([] { return !ZembrookDialogWC::currentPanel(); }));
        PromoWorkspace::resetForTesting();
        for (const char* key : {"zembrook_version", "zembrook_folder", "zembrook_window_width",
                                "zembrook_window_height"})
            UserDefaults::standardUserDefaults().removeObject(QStringLiteral("PROMO_MANAGER:") +
                                                              QLatin1String(key));
    }
    QList<QUrl> m_opened;
};

} // namespace

TEST_F(ZembrookDialogWCTest, WindowKeepsItsCentreAtThePageSize) {
    const struct {
        QRect current;
        QSize page;
        int extra;
        QRect expected;
    } cases[] = {
        {QRect(100, 100, 640, 480), QSize(1120, 502), 0, QRect(-140, 89, 1120, 502)},
        {QRect(0, 0, 101, 101), QSize(50, 50), 1, QRect(26, 25, 50, 51)},
        {QRect(0, 0, 100, 100), QSize(51, 51), 0, QRect(25, 25, 51, 51)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ZembrookDialogWC::frameForPageSize(c.current, c.page, c.extra), c.expected);
}

TEST_F(ZembrookDialogWCTest, PageOpensOnlyItsOwnFilesAndWebLinksOutside) {
    QTemporaryDir root;
    const QString folder = root.filePath("Zembrook_v2");
    ASSERT_TRUE(QDir().mkpath(folder + "/more"));
    ASSERT_TRUE(TestSupport::writeFile(QFile::encodeName(folder + "/more/b.html"), "b"));
    ASSERT_TRUE(TestSupport::writeFile(QFile::encodeName(root.filePath("secret.txt")), "s"));
    ASSERT_TRUE(QFile::link(root.filePath("secret.txt"), folder + "/sneaky.html"));
    const struct {
        QUrl target;
        Policy policy;
    } cases[] = {
        {QUrl::fromLocalFile(folder + "/more/b.html"), Policy::Use},
        {QUrl::fromLocalFile(folder + "/more/../../secret.txt"), Policy::Ignore},
        {QUrl::fromLocalFile(root.filePath("secret.txt")), Policy::Ignore},
        {QUrl::fromLocalFile(folder + "/sneaky.html"), Policy::Ignore},
        {QUrl::fromLocalFile("/etc/passwd"), Policy::Ignore},
        {QUrl("https://www.velquor.com/products/"), Policy::OpenExternally},
        {QUrl("http://www.velquor.com/"), Policy::OpenExternally},
        {QUrl("mailto:someone@example.org"), Policy::Ignore},
        {QUrl("javascript:alert(1)"), Policy::Ignore},
        {QUrl("ftp://example.org/file"), Policy::Ignore},
        {QUrl("smb://server/share"), Policy::Ignore},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ZembrookDialogWC::decidePolicyForNavigation(c.target, folder), c.policy)
            << c.target.toString().toStdString();
    EXPECT_EQ(
        ZembrookDialogWC::decidePolicyForNavigation(QUrl("qrc:/promo/zembrook.html"), ":/promo"),
        Policy::Use);
    EXPECT_EQ(ZembrookDialogWC::decidePolicyForNavigation(QUrl("qrc:/images/logo.svg"), ":/promo"),
              Policy::Ignore);
    EXPECT_EQ(ZembrookDialogWC::decidePolicyForNavigation(QUrl("qrc:/promo/../types/x"), ":/promo"),
              Policy::Ignore);
}

TEST_F(ZembrookDialogWCTest, OnePanelAtATimeClosingItself) {
    ZembrookDialogWC::pleaseShowWindow();
    ZembrookDialogWC* panel = ZembrookDialogWC::currentPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->windowModality(), Qt::ApplicationModal);
    // The page's width, as far as the screen (less the window's frame) can show it, and no
    // taller than the page's own text: no empty band below it.
    const QSize fitted = WindowPlacement::fitSize(
        QSize(1120, 502), WindowPlacement::availableGeometry(panel).marginsRemoved(
                              WindowPlacement::frameMargins(panel)));
    EXPECT_EQ(panel->width(), fitted.width());
    EXPECT_LE(panel->height(), fitted.height());
    EXPECT_GE(panel->height(), static_cast<int>(panel->browser()->document()->size().height()));
    EXPECT_EQ(panel->browser()->verticalScrollBar()->maximum(), 0);
    // A fixed-size dialog: the window manager offers no maximising.
    EXPECT_EQ(panel->minimumSize(), panel->maximumSize());
    EXPECT_FALSE(panel->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(panel->browser()->source(), QUrl("qrc:/promo/zembrook.html"));
    EXPECT_TRUE(panel->browser()->toPlainText().contains("Sorvanta"));
    ZembrookDialogWC::pleaseShowWindow();
    EXPECT_EQ(ZembrookDialogWC::currentPanel(), panel);
    const QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(
                  windows.begin(), windows.end(),
                  [](QWidget* w) { return qobject_cast<ZembrookDialogWC*>(w) && w->isVisible(); }),
              1);

    QTest::keyClick(panel, Qt::Key_Escape);
    ASSERT_TRUE(TestSupport::waitFor([] { return !ZembrookDialogWC::currentPanel(); }));
}

TEST_F(ZembrookDialogWCTest, DownloadedPageAndItsLinks) {
    const QString folder = PromoSettings::applicationSupportFolder() + "/Zembrook_v7";
    ASSERT_TRUE(TestSupport::writeFile(
        QFile::encodeName(folder + "/zembrook.html"),
        "<p><a href=\"second.html\">next</a> <a href=\"https://e.org/a?b=1&amp;c=2\">web</a> "
        "<a href=\"file:///etc/passwd\">bad</a></p>"));
    ASSERT_TRUE(TestSupport::writeFile(QFile::encodeName(folder + "/second.html"), "<p>two</p>"));
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    defaults.setObject("PROMO_MANAGER:zembrook_version", 7);
    defaults.setObject("PROMO_MANAGER:zembrook_folder", folder);
    defaults.setObject("PROMO_MANAGER:zembrook_window_width", 600.0);
    defaults.setObject("PROMO_MANAGER:zembrook_window_height", 300.0);

    ZembrookDialogWC::pleaseShowWindow();
    ZembrookDialogWC* panel = ZembrookDialogWC::currentPanel();
    ASSERT_NE(panel, nullptr);
    // The page's width; its one line of text needs far less than its height.
    QTextBrowser* browser = panel->browser();
    EXPECT_EQ(panel->width(), 600);
    EXPECT_LT(panel->height(), 300);
    EXPECT_GE(panel->height(), static_cast<int>(std::ceil(browser->document()->size().height())));
    EXPECT_EQ(browser->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(browser->source(), QUrl::fromLocalFile(folder + "/zembrook.html"));

    emit browser->anchorClicked(QUrl("file:///etc/passwd"));
    EXPECT_EQ(browser->source(), QUrl::fromLocalFile(folder + "/zembrook.html"));
    EXPECT_TRUE(m_opened.isEmpty());
    emit browser->anchorClicked(QUrl("https://e.org/a?b=1&c=2"));
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_EQ(m_opened.first(), QUrl("https://e.org/a?b=1&c=2"));
    EXPECT_EQ(browser->source(), QUrl::fromLocalFile(folder + "/zembrook.html"));
    emit browser->anchorClicked(QUrl("second.html"));
    EXPECT_EQ(browser->source(), QUrl::fromLocalFile(folder + "/second.html"));
    EXPECT_EQ(browser->toPlainText(), "two");
    EXPECT_EQ(m_opened.size(), 1);
    QDir(folder).removeRecursively();
}

TEST_F(ZembrookDialogWCTest, TheScansRequestOpensTheRealPanelOnceItsRulesAllow) {
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    for (const char* key :
         {"ZEMBROOK_DIALOG_DATA:is_can_show_dialog", "ZEMBROOK_DIALOG_DATA:next_show_date",
          "ZEMBROOK_DIALOG_DATA:showed_version"})
        defaults.removeObject(QString::fromLatin1(key));
    // As the start-up registers it.
    PromoPanelGate::setPanelOpener([] { ZembrookDialogWC::pleaseShowWindow(); });
    ZembrookDialogWC::pleaseShowWindowIfNeedAutomaticallyForDuplicatesCount(5000);
    EXPECT_EQ(ZembrookDialogWC::currentPanel(), nullptr); // the first question only opens the gate
    ZembrookDialogWC::pleaseShowWindowIfNeedAutomaticallyForDuplicatesCount(999);
    EXPECT_EQ(ZembrookDialogWC::currentPanel(), nullptr);
    ZembrookDialogWC::pleaseShowWindowIfNeedAutomaticallyForDuplicatesCount(1000);
    ASSERT_NE(ZembrookDialogWC::currentPanel(), nullptr);
    EXPECT_TRUE(ZembrookDialogWC::currentPanel()->isVisible());
    PromoPanelGate::setPanelOpener({});
    for (const char* key :
         {"ZEMBROOK_DIALOG_DATA:is_can_show_dialog", "ZEMBROOK_DIALOG_DATA:next_show_date",
          "ZEMBROOK_DIALOG_DATA:showed_version"})
        defaults.removeObject(QString::fromLatin1(key));
}

TEST_F(ZembrookDialogWCTest, TheAutomaticPanelWaitsForTheHelpOverlayToClose) {
    DuplicatesManager& results = DuplicatesManager::sharedManager();
    results.setOverlayOnScreen(true);
    ZembrookDialogWC::pleaseShowWindowWhenHelpCloses();
    QTest::qWait(700);
    EXPECT_EQ(ZembrookDialogWC::currentPanel(), nullptr);
    results.setOverlayOnScreen(false);
    ASSERT_TRUE(TestSupport::waitFor([] { return ZembrookDialogWC::currentPanel() != nullptr; }));
    EXPECT_TRUE(ZembrookDialogWC::currentPanel()->isVisible());
}
