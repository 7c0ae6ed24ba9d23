#include "Promo/PromoManager.h"

#include "LoopbackServer.h"
#include "TestSupport.h"
#include "ZipFixture.h"

#include "Platform/Dispatch.h"
#include "Platform/UserDefaults.h"
#include "Promo/PromoManagerDefaults.h"
#include "Promo/PromoSettings.h"
#include "Scanner/PromoClock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray kGoodFeed =
    "<promo><notifications_list><notification><id>5</id><title>T</title><subtitle>S</subtitle>"
    "<text>X</text><ok_button_name>Open</ok_button_name><ok_button_link>https://e.org/"
    "</ok_button_link><cancel_button_name>Close</cancel_button_name><bundleid></bundleid>"
    "<open_bundle_button_name>Launch</open_bundle_button_name></notification>"
    "</notifications_list></promo>";

class PromoManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* key :
             {"is_can_load_notifications_server_data", "notifications_next_update_date",
              "zembrook_next_update_date", "showed_notification_id", "zembrook_version",
              "zembrook_folder", "zembrook_window_width", "zembrook_window_height"})
            UserDefaults::standardUserDefaults().removeObject(QStringLiteral("PROMO_MANAGER:") +
                                                              QLatin1String(key));
        m_support = PromoSettings::applicationSupportFolder();
        QDir(m_support).removeRecursively();
        m_now = QDateTime(QDate(2026, 5, 1), QTime(8, 0), Qt::UTC);
        PromoClock::setNowForTesting([this] { return m_now; });
        PromoSettings::setBaseAddress(m_server.baseAddress());
        PromoSettings::setTransferTimeoutMs(400);
    }
    void TearDown() override {
        ASSERT_TRUE(Dispatch::waitUntilIdle(10000));
        PromoClock::setNowForTesting({});
        PromoSettings::setBaseAddress(QString());
        PromoSettings::setTransferTimeoutMs(30000);
        PromoSettings::setHttpsOnlyArchives(true);
        QDir(m_support).removeRecursively();
    }

    // One launch: the start-up runs, and every download it started has ended and been read.
    void launch() {
        PromoManager manager(nullptr);
        ASSERT_TRUE(Dispatch::waitUntilIdle(10000));
    }
    void openNotificationsGate() {
        UserDefaults::standardUserDefaults().setObject(
            "PROMO_MANAGER:is_can_load_notifications_server_data", true);
    }
    QByteArray saved() const {
        QFile file(m_support + "/notifications.xml");
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }

    LoopbackServer m_server;
    QString m_support;
    QDateTime m_now;
};

} // namespace

TEST_F(PromoManagerTest, ScheduleOfTheTwoDownloads) {
    m_server.setAnswer("notifications.xml", {200, kGoodFeed});
    m_server.setAnswer("tools.xml", {404, {}});
    launch(); // first launch ever: only the panel descriptor
    EXPECT_EQ(m_server.requestCount("notifications.xml"), 0);
    EXPECT_EQ(m_server.requestCount("tools.xml"), 1);
    m_now = m_now.addSecs(60);
    launch(); // the notifications' date is still missing: due
    EXPECT_EQ(m_server.requestCount("notifications.xml"), 1);
    EXPECT_EQ(m_server.requestCount("tools.xml"), 1);
    m_now = m_now.addSecs(604800 - 61);
    launch(); // within a week of the descriptor's download start: nothing
    EXPECT_EQ(m_server.requestCount("notifications.xml"), 1);
    EXPECT_EQ(m_server.requestCount("tools.xml"), 1);
    m_now = m_now.addSecs(1);
    launch(); // a week after the first start, even though that download failed
    EXPECT_EQ(m_server.requestCount("tools.xml"), 2);
    EXPECT_EQ(m_server.requestCount("notifications.xml"), 1);
}

TEST_F(PromoManagerTest, OnlyAGoodFeedReplacesTheSavedOne) {
    openNotificationsGate();
    m_server.setAnswer("notifications.xml", {200, kGoodFeed});
    launch();
    EXPECT_EQ(saved(), kGoodFeed);
    EXPECT_EQ(PromoManagerDefaults::getShowedNotificationID(), 5);

    const struct {
        const char* what;
        LoopbackServer::Answer answer;
    } bad[] = {
        {"404", {404, "<promo><notifications_list/></promo>"}},
        {"500", {500, "oops"}},
        {"captive portal", {200, "<html><body>Sign in to the Wi-Fi</body></html>"}},
        {"garbage", {200, QByteArray("\x00\xff\xfe garbage", 12)}},
        {"empty", {200, QByteArray()}},
        {"a server that hangs", {200, {}, true}},
    };
    for (const auto& b : bad) {
        SCOPED_TRACE(b.what);
        m_server.setAnswer("notifications.xml", b.answer);
        m_now = m_now.addSecs(604800);
        const int before = m_server.requestCount("notifications.xml");
        launch();
        EXPECT_EQ(m_server.requestCount("notifications.xml"), before + 1);
        EXPECT_EQ(saved(), kGoodFeed);
    }
}

TEST_F(PromoManagerTest, WithoutServerTheSavedThenTheOwnFeedIsRead) {
    openNotificationsGate();
    PromoSettings::setBaseAddress(QString());
    PromoLoadSource source = PromoLoadSourceServer;
    // Nothing saved: the application's own feed, which announces nothing.
    auto data = PromoManager::loadNotificationsDataAndSetLoadSource(&source);
    EXPECT_EQ(source, PromoLoadSourceLocal);
    ASSERT_TRUE(data.has_value());
    EXPECT_TRUE(data->contains("notifications_list"));
    // A saved feed wins over the own one.
    PromoManager::saveLocalyNotificationsData(kGoodFeed);
    data = PromoManager::loadNotificationsDataAndSetLoadSource(&source);
    EXPECT_EQ(source, PromoLoadSourceLocal);
    EXPECT_EQ(data, kGoodFeed);
    launch();
    EXPECT_EQ(PromoManagerDefaults::getShowedNotificationID(), 5);
    // The descriptor has no local copy: nothing, source 0.
    EXPECT_FALSE(PromoManager::loadZembrookDataAndSetLoadSource(&source).has_value());
    EXPECT_EQ(source, PromoLoadSourceNothing);
}

TEST_F(PromoManagerTest, SavingReplacesAFileStandingAsTheFolder) {
    QDir().mkpath(QFileInfo(m_support).absolutePath());
    QFile blocker(m_support);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.write("in the way");
    blocker.close();
    PromoManager::saveLocalyNotificationsData(kGoodFeed);
    EXPECT_TRUE(QFileInfo(m_support).isDir());
    EXPECT_EQ(saved(), kGoodFeed);
}

class PromoPanelDownloadTest : public PromoManagerTest {
protected:
    void serveDescriptor(int version, const QByteArray& archivePath, const QByteArray& extra = {}) {
        const QByteArray url = "http://127.0.0.1:" + QByteArray::number(serverPort()) + archivePath;
        m_server.setAnswer("tools.xml", {200, "<tools><zembrook><version>" +
                                                  QByteArray::number(version) + "</version><url>" +
                                                  url + "</url>" + extra + "</zembrook></tools>"});
    }
    quint16 serverPort() const { return QUrl(m_server.baseAddress()).port(); }
    QByteArray panelArchive(const QByteArray& page) {
        return ZipFixture::bytes({{"zembrook.html", page}, {"img/", {}}},
                                 m_scratch.filePath("p.zip"));
    }
    QTemporaryDir m_scratch;
};

TEST_F(PromoPanelDownloadTest, NewerPanelIsUnpackedBesideAnExistingFolder) {
    PromoSettings::setHttpsOnlyArchives(false);
    ASSERT_TRUE(QDir().mkpath(m_support + "/Zembrook_v3")); // left from before
    serveDescriptor(3, "/files/panel.zip", "<width>900</width><height>400px</height>");
    m_server.setAnswerForPath("/files/panel.zip", {200, panelArchive("<p>three</p>")});
    launch();
    const QString folder = m_support + "/Zembrook_v3_1";
    EXPECT_EQ(PromoManagerDefaults::getZembrookVersion(), 3);
    EXPECT_EQ(PromoManagerDefaults::getZembrookFolderPath(), folder);
    EXPECT_TRUE(QFileInfo(folder + "/zembrook.html").isFile());
    EXPECT_FALSE(QFileInfo::exists(folder + "/tmp_download_v3"));
    PromoManager manager(nullptr);
    EXPECT_EQ(manager.getZembrookURL(), QUrl::fromLocalFile(folder + "/zembrook.html"));
    // The descriptor's size, within the screen's available area.
    const QSize screen = PromoManager::availableScreenSize();
    ASSERT_TRUE(screen.isValid());
    EXPECT_EQ(manager.getZembrookWindowSize(),
              QSizeF(std::min(900, screen.width()), std::min(400, screen.height())));

    // The next newer one replaces it, and the previous panel's folder goes.
    m_now = m_now.addSecs(604800);
    serveDescriptor(4, "/files/panel4.zip");
    m_server.setAnswerForPath("/files/panel4.zip", {200, panelArchive("<p>four</p>")});
    launch();
    EXPECT_EQ(PromoManagerDefaults::getZembrookFolderPath(), m_support + "/Zembrook_v4");
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(QFileInfo::exists(m_support + "/Zembrook_v3")); // never ours to remove
    EXPECT_EQ(manager.getZembrookWindowSize(),
              QSizeF(std::min(1120, screen.width()), std::min(502, screen.height())));

    // A version not above the one in force is not even fetched.
    m_now = m_now.addSecs(604800);
    serveDescriptor(4, "/files/again.zip");
    launch();
    EXPECT_EQ(m_server.requestCountForPath("/files/again.zip"), 0);
}

TEST_F(PromoPanelDownloadTest, FailedDownloadsLeaveThePanelInForce) {
    PromoSettings::setHttpsOnlyArchives(false);
    const struct {
        const char* what;
        LoopbackServer::Answer archive;
    } failures[] = {
        {"404", {404, "missing"}},
        {"not a zip", {200, "<html>not a zip</html>"}},
        {"empty archive", {200, ZipFixture::bytes({}, m_scratch.filePath("e.zip"))}},
        {"climbing archive",
         {200, ZipFixture::bytes({{"zembrook.html", "x"}, {"../escape.txt", "x"}},
                                 m_scratch.filePath("c.zip"))}},
    };
    int version = 1;
    for (const auto& f : failures) {
        SCOPED_TRACE(f.what);
        m_now = m_now.addSecs(604800);
        serveDescriptor(version, "/files/bad.zip");
        m_server.setAnswerForPath("/files/bad.zip", f.archive);
        launch();
        EXPECT_EQ(PromoManagerDefaults::getZembrookVersion(), 0);
        EXPECT_FALSE(QFileInfo::exists(m_support + QStringLiteral("/Zembrook_v%1").arg(version)));
        EXPECT_FALSE(QFileInfo::exists(m_support + "/escape.txt"));
        ++version;
    }
    // With the panel in the application in force, its own page is shown at its own size.
    PromoManager manager(nullptr);
    EXPECT_EQ(manager.getZembrookURL(), QUrl("qrc:/promo/zembrook.html"));
    EXPECT_EQ(manager.getZembrookWindowSize(), QSizeF(1120, 502));
}

TEST_F(PromoPanelDownloadTest, ArchivesComeOverHttpsOnly) {
    serveDescriptor(2, "/files/panel.zip");
    m_server.setAnswerForPath("/files/panel.zip", {200, panelArchive("<p>two</p>")});
    launch();
    EXPECT_EQ(m_server.requestCount("tools.xml"), 1);
    EXPECT_EQ(m_server.requestCountForPath("/files/panel.zip"), 0);
    EXPECT_EQ(PromoManagerDefaults::getZembrookVersion(), 0);
    EXPECT_FALSE(QFileInfo::exists(m_support + "/Zembrook_v2"));
}

TEST_F(PromoPanelDownloadTest, RecordedFolderDeletedFromDiskFallsBackToOwnPage) {
    PromoSettings::setHttpsOnlyArchives(false);
    serveDescriptor(5, "/files/panel.zip", "<width>700</width>");
    m_server.setAnswerForPath(
        "/files/panel.zip",
        {200, ZipFixture::bytes({{"other.html", "x"}}, m_scratch.filePath("o.zip"))});
    launch();
    // Recorded even without a page at its top level; the own page shows at the new size.
    EXPECT_EQ(PromoManagerDefaults::getZembrookVersion(), 5);
    PromoManager manager(nullptr);
    EXPECT_EQ(manager.getZembrookURL(), QUrl("qrc:/promo/zembrook.html"));
    EXPECT_EQ(manager.getZembrookWindowSize(), QSizeF(700, 502));
}
