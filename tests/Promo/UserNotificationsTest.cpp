// The user notifications against a fake notification service on a private bus of the test's
// own (a dbus-daemon started for it), so nothing reaches the desktop running the tests.
#include "FakeNotificationService.h"

#include "Promo/PromoManager.h"
#include "Promo/PromoWorkspace.h"
#include "Promo/UserNotificationCenter.h"

#include "TestSupport.h"

#include "Categories/FileSize.h"
#include "Platform/Dispatch.h"
#include "Platform/UserDefaults.h"

#include <QApplication>
#include <QDBusConnection>
#include <QFile>
#include <QStandardPaths>
#include <QWidget>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class UserNotificationsTest : public ::testing::Test {
protected:
    // The daemon is started with posix_spawn rather than QProcess: QProcess starts its child
    // vfork-style (sharing the parent's memory until exec), and what the child runs before exec
    // then runs on the parent thread's ThreadSanitizer state, which no longer sees that thread's
    // locks afterwards and reports every later hand-off between it and a pool thread as a race.
    static void SetUpTestSuite() {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            return;
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0)
            return;
        const QByteArray path = QFile::encodeName(daemon);
        char* const argv[] = {const_cast<char*>(path.constData()), const_cast<char*>("--session"),
                              const_cast<char*>("--nofork"), const_cast<char*>("--print-address=1"),
                              nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        pid_t pid = 0;
        const int spawned = ::posix_spawn(&pid, path.constData(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        if (spawned != 0) {
            ::close(out[0]);
            return;
        }
        s_daemonPid = pid;
        // The first line it prints is the address; it prints it once it listens.
        QByteArray line;
        pollfd readable{out[0], POLLIN, 0};
        while (!line.endsWith('\n') && ::poll(&readable, 1, 10000) > 0) {
            char buffer[256];
            const ssize_t n = ::read(out[0], buffer, sizeof buffer);
            if (n <= 0)
                break;
            line.append(buffer, n);
        }
        ::close(out[0]);
        s_address = QString::fromUtf8(line.left(line.indexOf('\n')).trimmed());
    }
    static void TearDownTestSuite() {
        QDBusConnection::disconnectFromBus(QStringLiteral("promo-service"));
        QDBusConnection::disconnectFromBus(QStringLiteral("promo-client"));
        if (s_daemonPid > 0) {
            ::kill(s_daemonPid, SIGKILL);
            ::waitpid(s_daemonPid, nullptr, 0);
            s_daemonPid = 0;
        }
    }

    void SetUp() override {
        if (s_address.isEmpty())
            GTEST_SKIP() << "no dbus-daemon to run a private bus";
        QDBusConnection service =
            QDBusConnection::connectToBus(s_address, QStringLiteral("promo-service"));
        ASSERT_TRUE(service.isConnected());
        m_fake = std::make_unique<FakeNotificationService>(service);
        ASSERT_TRUE(service.registerObject(QStringLiteral("/org/freedesktop/Notifications"),
                                           m_fake.get(), QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.Notifications")));
        QDBusConnection client =
            QDBusConnection::connectToBus(s_address, QStringLiteral("promo-client"));
        ASSERT_TRUE(client.isConnected());
        m_center = std::make_unique<UserNotificationCenter>(client);
        PromoWorkspace::setForTesting(
            {[this](const QUrl& url) {
                 m_openedURLs << url;
                 return true;
             },
             [this](const QString& id) { return m_installed.contains(id); },
             [this](const QString& id) {
                 m_openedApps << id;
                 return true;
             },
             [this] { return m_inFront; }});
        m_manager = std::make_unique<PromoManager>(m_center.get());
        ASSERT_TRUE(Dispatch::waitUntilIdle(10000));
    }
    void TearDown() override {
        m_manager.reset();
        m_center.reset();
        if (m_fake) {
            QDBusConnection service(QStringLiteral("promo-service"));
            service.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
            service.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
        }
        m_fake.reset();
        PromoWorkspace::resetForTesting();
    }

    QVariantMap notificationData(const QString& bundleID) const {
        return {{"id", "3"},
                {"title", "New tool"},
                {"subtitle", "From the maker"},
                {"text", "Try it"},
                {"ok_button_name", "Open"},
                {"ok_button_link", "https://e.org/tool?a=1&b=2"},
                {"cancel_button_name", "Close"},
                {"bundleid", bundleID},
                {"open_bundle_button_name", "Launch"}};
    }

    static inline pid_t s_daemonPid = 0;
    static inline QString s_address;
    std::unique_ptr<FakeNotificationService> m_fake;
    std::unique_ptr<UserNotificationCenter> m_center;
    std::unique_ptr<PromoManager> m_manager;
    QStringList m_installed;
    QList<QUrl> m_openedURLs;
    QStringList m_openedApps;
    bool m_inFront = false;
};

} // namespace

TEST_F(UserNotificationsTest, ScanCompletedTexts) {
    const struct {
        quint64 size;
        QString text;
    } cases[] = {
        {0, "No duplicates found"},
        {1500000, FileSize::formatMemoryStringDot1(1500000) + " duplicates found"},
    };
    for (const auto& c : cases) {
        const int before = static_cast<int>(m_fake->posted.size());
        m_manager->showScanCompletedNotificationForSize(c.size);
        ASSERT_TRUE(TestSupport::waitFor([&] { return m_fake->posted.size() == before + 1; }));
        const Posted& posted = m_fake->posted.last();
        EXPECT_EQ(posted.appName, "Sorvanta");
        EXPECT_EQ(posted.summary, "Scan Completed");
        EXPECT_EQ(posted.body, c.text);
        EXPECT_EQ(posted.actions, QStringList({"default", ""}));
    }
    EXPECT_EQ(cases[1].text, QStringLiteral("1.5\u00A0MB duplicates found"));
    // While the application is in front nothing is posted.
    m_inFront = true;
    m_manager->showScanCompletedNotificationForSize(10);
    TestSupport::spinFor(100);
    EXPECT_EQ(m_fake->posted.size(), 2);
    // A click on it opens nothing.
    m_fake->click(1, "default");
    TestSupport::spinFor(100);
    EXPECT_TRUE(m_openedURLs.isEmpty());
    EXPECT_TRUE(m_openedApps.isEmpty());
}

TEST_F(UserNotificationsTest, AClickOnScanCompletedBringsTheMainWindowBack) {
    QWidget other;
    other.show();
    QWidget window;
    window.showMinimized();
    ASSERT_TRUE(TestSupport::waitFor([&] { return window.isMinimized(); }));
    QApplication::setActiveWindow(&other);
    m_manager->setMainWindow(&window);
    m_manager->showScanCompletedNotificationForSize(0);
    ASSERT_TRUE(TestSupport::waitFor([&] { return m_fake->posted.size() == 1; }));
    // The body's "default" action is what a click on it sends back.
    ASSERT_TRUE(m_fake->posted.front().actions.contains(QStringLiteral("default")));
    m_fake->click(1, "default");
    ASSERT_TRUE(TestSupport::waitFor([&] {
        return !window.isMinimized() && window.isVisible() &&
               QApplication::activeWindow() == &window;
    }));
    EXPECT_TRUE(m_openedURLs.isEmpty());
    // A click on a notification this centre never sent changes nothing.
    QApplication::setActiveWindow(&other);
    m_fake->click(77, "default");
    TestSupport::spinFor(100);
    EXPECT_EQ(QApplication::activeWindow(), &other);
}

TEST_F(UserNotificationsTest, PromotionalNotificationOpensItsLinkOrApplication) {
    m_manager->createNotificationUsingNotificationData(notificationData("com.velquor.Missing"));
    ASSERT_TRUE(TestSupport::waitFor([&] { return m_fake->posted.size() == 1; }));
    EXPECT_EQ(m_fake->posted[0].summary, "New tool");
    EXPECT_EQ(m_fake->posted[0].body, "From the maker\nTry it");
    EXPECT_EQ(m_fake->posted[0].actions,
              QStringList({"default", "", "action", "Open", "other", "Close"}));
    ASSERT_TRUE(TestSupport::waitFor([&] { return m_center->pendingCount() == 1; }));
    m_fake->click(1, "action");
    ASSERT_TRUE(TestSupport::waitFor([&] { return m_openedURLs.size() == 1; }));
    EXPECT_EQ(m_openedURLs[0], QUrl("https://e.org/tool?a=1&b=2"));
    m_fake->click(1, "default"); // the body does what the action button does
    ASSERT_TRUE(TestSupport::waitFor([&] { return m_openedURLs.size() == 2; }));
    m_fake->click(1, "other"); // the close button opens nothing
    TestSupport::spinFor(100);
    EXPECT_EQ(m_openedURLs.size(), 2);

    m_installed << "com.velquor.Halvenor";
    m_inFront = true; // promotional notifications show even while in front
    m_manager->createNotificationUsingNotificationData(notificationData("com.velquor.Halvenor"));
    ASSERT_TRUE(TestSupport::waitFor([&] { return m_fake->posted.size() == 2; }));
    EXPECT_EQ(m_fake->posted[1].actions,
              QStringList({"default", "", "action", "Launch", "other", "Close"}));
    ASSERT_TRUE(TestSupport::waitFor([&] { return m_center->pendingCount() == 2; }));
    m_fake->click(2, "action");
    ASSERT_TRUE(TestSupport::waitFor([&] { return m_openedApps.size() == 1; }));
    EXPECT_EQ(m_openedApps[0], "com.velquor.Halvenor");
    // Removed between posting and the click: not opened.
    m_installed.clear();
    m_fake->click(2, "action");
    TestSupport::spinFor(100);
    EXPECT_EQ(m_openedApps.size(), 1);
}

TEST_F(UserNotificationsTest, OnlyWebLinksAreOpened) {
    const struct {
        const char* link;
        bool opened;
    } cases[] = {{"https://e.org/", true},
                 {"http://e.org/", true},
                 {"file:///etc/passwd", false},
                 {"javascript:alert(1)", false},
                 {"not an address", false}};
    for (const auto& c : cases) {
        m_openedURLs.clear();
        UserNotification notification;
        notification.userInfo = {{PromoManager::KEY_NEED_OPEN_LINK(), QString(c.link)}};
        for (int type : {0, 1, 2, 3}) {
            notification.activationType = type;
            m_manager->processNotification(notification);
        }
        EXPECT_EQ(m_openedURLs.size(), c.opened ? 2 : 0) << c.link;
    }
}

TEST_F(UserNotificationsTest, TheFeedsChoiceIsPostedOnceAfterASecond) {
    const QByteArray feed =
        "<promo><notifications_list><notification><id>11</id><title>Halvenor 2</title>"
        "<subtitle>New</subtitle><text>Map your disk</text><ok_button_name>Get it"
        "</ok_button_name><ok_button_link>https://e.org/h</ok_button_link><cancel_button_name>"
        "Later</cancel_button_name><bundleid></bundleid><open_bundle_button_name>Open"
        "</open_bundle_button_name></notification></notifications_list></promo>";
    UserDefaults::standardUserDefaults().removeObject("PROMO_MANAGER:showed_notification_id");
    m_manager->parseNotificationsData(feed);
    ASSERT_TRUE(TestSupport::waitFor([&] { return m_fake->posted.size() == 1; }));
    EXPECT_EQ(m_fake->posted[0].summary, "Halvenor 2");
    EXPECT_EQ(m_fake->posted[0].body, "New\nMap your disk");
    EXPECT_EQ(m_fake->posted[0].actions,
              QStringList({"default", "", "action", "Get it", "other", "Later"}));
    // Read again (the next launch, the same feed): the number was shown, nothing more posted.
    m_manager->parseNotificationsData(feed);
    m_manager->parseNotificationsData(std::nullopt);
    TestSupport::spinFor(100);
    EXPECT_EQ(m_fake->posted.size(), 1);
    UserDefaults::standardUserDefaults().removeObject("PROMO_MANAGER:showed_notification_id");
}

TEST_F(UserNotificationsTest, NothingHappensWhereNoServiceRuns) {
    QDBusConnection(QStringLiteral("promo-service"))
        .unregisterService(QStringLiteral("org.freedesktop.Notifications"));
    m_manager->showScanCompletedNotificationForSize(5);
    TestSupport::spinFor(200);
    EXPECT_TRUE(m_fake->posted.isEmpty());
    EXPECT_EQ(m_center->pendingCount(), 0);
    // No bus at all.
    UserNotificationCenter unconnected(QDBusConnection(QStringLiteral("no-such-connection")));
    PromoManager manager(&unconnected);
    manager.showScanCompletedNotificationForSize(5);
    EXPECT_EQ(unconnected.pendingCount(), 0);
}
