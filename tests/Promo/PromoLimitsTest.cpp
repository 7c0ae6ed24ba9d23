// Hostile feeds and archives, made here: each is refused whole (what was in force stays, no
// folder is left) or parsed within the reader's limits.
#include "Promo/PromoManager.h"

#include "LoopbackServer.h"
#include "TestSupport.h"
#include "ZipFixture.h"

#include "Platform/Dispatch.h"
#include "Platform/UserDefaults.h"
#include "Promo/PromoDownloads.h"
#include "Promo/PromoFolders.h"
#include "Promo/PromoManagerDefaults.h"
#include "Promo/PromoSettings.h"
#include "Promo/PromoWorkspace.h"
#include "Promo/SSZipArchive.h"
#include "Promo/TBXML.h"
#include "Scanner/PromoClock.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

namespace {

QByteArray notification(int id, const QByteArray& text = "X", const QByteArray& attributes = {}) {
    return "<notification" + attributes + "><id>" + QByteArray::number(id) +
           "</id><title>T</title><subtitle>S</subtitle><text>" + text +
           "</text><ok_button_name>Open</ok_button_name><ok_button_link>https://e.org/"
           "</ok_button_link><cancel_button_name>Close</cancel_button_name><bundleid></bundleid>"
           "<open_bundle_button_name>Launch</open_bundle_button_name></notification>";
}

QByteArray feed(const QByteArray& inside) {
    return "<promo><notifications_list>" + inside + "</notifications_list></promo>";
}

QByteArray repeated(const QByteArray& piece, int times) {
    QByteArray out;
    out.reserve(piece.size() * times);
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

// The promotions' log lines while it lives.
class PromoLogRecorder final {
public:
    PromoLogRecorder() {
        s_current = this;
        m_previous = qInstallMessageHandler(&PromoLogRecorder::handle);
    }
    ~PromoLogRecorder() {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }
    QStringList take() { return std::exchange(m_lines, {}); }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (s_current && context.category && QByteArray(context.category) == "sorvanta.promo")
            s_current->m_lines << text;
        else if (s_current && s_current->m_previous)
            s_current->m_previous(type, context, text);
    }
    static inline PromoLogRecorder* s_current = nullptr;
    QtMessageHandler m_previous = nullptr;
    QStringList m_lines;
};

// Makes a file immutable (the one thing root cannot remove) until it goes out of scope.
class ImmutableFile final {
public:
    explicit ImmutableFile(const QString& path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC)) {
        int flags = 0;
        m_set = m_fd >= 0 && ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                (flags |= FS_IMMUTABLE_FL, ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags) == 0);
    }
    ~ImmutableFile() {
        clear();
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isSet() const { return m_set; }
    void clear() {
        int flags = 0;
        if (m_set && ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags);
        }
        m_set = false;
    }

private:
    int m_fd;
    bool m_set = false;
};

class PromoLimitsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* key :
             {"is_can_load_notifications_server_data", "notifications_next_update_date",
              "zembrook_next_update_date", "showed_notification_id", "zembrook_version",
              "zembrook_folder", "zembrook_window_width", "zembrook_window_height",
              "folders_to_remove"})
            defaults().removeObject(QStringLiteral("PROMO_MANAGER:") + QLatin1String(key));
        m_support = PromoSettings::applicationSupportFolder();
        QDir(m_support).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(m_support));
        m_now = QDateTime(QDate(2026, 5, 1), QTime(8, 0), Qt::UTC);
        PromoClock::setNowForTesting([this] { return m_now; });
        PromoSettings::setBaseAddress(m_server.baseAddress());
        PromoSettings::setTransferTimeoutMs(5000);
        PromoSettings::setHttpsOnlyArchives(false);
        defaults().setObject("PROMO_MANAGER:is_can_load_notifications_server_data", true);
    }
    void TearDown() override {
        ASSERT_TRUE(Dispatch::waitUntilIdle(20000));
        PromoDownloads::resetForTesting();
        PromoClock::setNowForTesting({});
        PromoSettings::setBaseAddress(QString());
        PromoSettings::setTransferTimeoutMs(30000);
        PromoSettings::setHttpsOnlyArchives(true);
        QDir(m_support).removeRecursively();
    }
    static UserDefaults& defaults() { return UserDefaults::standardUserDefaults(); }

    // One launch with both feeds due; every download it started has ended and been read.
    void launch() {
        defaults().removeObject("PROMO_MANAGER:notifications_next_update_date");
        defaults().removeObject("PROMO_MANAGER:zembrook_next_update_date");
        PromoManager manager(nullptr);
        ASSERT_TRUE(Dispatch::waitUntilIdle(20000));
    }
    QByteArray saved() const {
        QFile file(m_support + "/notifications.xml");
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }
    quint16 serverPort() const { return QUrl(m_server.baseAddress()).port(); }
    void serveDescriptor(int version, const QByteArray& archive) {
        const QByteArray path = "/files/v" + QByteArray::number(version) + ".zip";
        const QByteArray url = "http://127.0.0.1:" + QByteArray::number(serverPort()) + path;
        m_server.setAnswer("tools.xml",
                           {200, "<tools><zembrook><version>" + QByteArray::number(version) +
                                     "</version><url>" + url + "</url></zembrook></tools>"});
        m_server.setAnswerForPath(path, {200, archive});
    }
    QByteArray zip(const QList<ZipFixture::Entry>& entries) {
        return ZipFixture::bytes(entries, m_scratch.filePath("a.zip"));
    }
    // The panel folders on the disk, by name.
    QStringList panelFolders() const {
        return QDir(m_support).entryList({QStringLiteral("Zembrook_v*")},
                                         QDir::AllEntries | QDir::Hidden | QDir::System);
    }

    LoopbackServer m_server;
    QTemporaryDir m_scratch;
    QString m_support;
    QDateTime m_now;
};

} // namespace

TEST_F(PromoLimitsTest, HostileFeedsAreRefusedWholeOrParsedWithinTheLimits) {
    // The feed in force: number 5, saved, shown.
    const QByteArray previous = feed(notification(5));
    m_server.setAnswer("notifications.xml", {200, previous});
    launch();
    ASSERT_EQ(saved(), previous);
    ASSERT_EQ(PromoManagerDefaults::getShowedNotificationID(), 5);

    const QByteArray cdataRun = repeated("<![CDATA[ab<]]>", 60000);
    QByteArray deep = repeated("<a>t", 9000) + repeated("</a>", 9000);
    QByteArray attributes;
    for (int i = 0; i < 15000; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"v\"";
    QByteArray tooManyAttributes;
    for (int i = 0; i < TBXML::kMaxAttributes + 1; ++i)
        tooManyAttributes += " b" + QByteArray::number(i) + "=''";
    const QByteArray longValue = " v=\"" + QByteArray(200000, 'x') + "\"";
    QByteArray overLimit = feed(notification(100));
    overLimit += "<!--" + QByteArray(PromoSettings::kMaxFeedBytes - overLimit.size(), ' ') + "-->";

    const struct {
        const char* what;
        QByteArray document;
        bool parsed; // else refused: the saved feed stays and nothing is shown
    } cases[] = {
        {"a run of 60000 CDATA sections", feed(notification(6, cdataRun)), true},
        {"10^5 siblings", feed(repeated("<n/>", 100000) + notification(100)), false},
        {"9000 elements deep", feed(notification(7) + deep), true},
        {"10^4 elements deep, text at each, never closed",
         feed(notification(9) + repeated("<a>t", 10000)), true},
        {"15000 attributes", feed(notification(10, "X", attributes)), true},
        {"a 200 KB attribute value", feed(notification(11, "X", longValue)), true},
        {"more attributes than the limit", feed(notification(100, "X", tooManyAttributes)), false},
        {"a body over the limit", overLimit, false},
    };
    ASSERT_GT(overLimit.size(), PromoSettings::kMaxFeedBytes);
    qint32 shown = 5;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_LE(c.document.size(), 2 * PromoSettings::kMaxFeedBytes);
        const QByteArray before = saved();
        m_server.setAnswer("notifications.xml", {200, c.document});
        PromoLogRecorder log;
        launch();
        // A body over the limit is refused before it is read, with one line in the log.
        if (c.document.size() > PromoSettings::kMaxFeedBytes) {
            EXPECT_EQ(log.take().size(), 1);
        }
        if (c.parsed) {
            // Kept as the new saved feed, and its notification (a new number) was shown.
            EXPECT_EQ(saved(), c.document);
            EXPECT_GT(PromoManagerDefaults::getShowedNotificationID(), shown);
            shown = PromoManagerDefaults::getShowedNotificationID();
        } else {
            EXPECT_EQ(saved(), before);
            EXPECT_EQ(PromoManagerDefaults::getShowedNotificationID(), shown);
        }
    }
    // The text of a CDATA run is the sections' contents one after another.
    const std::unique_ptr<TBXML> xml = TBXML::newTBXMLWithXMLData(
        "<r><t><![CDATA[a<]]> x <![CDATA[b]]><![CDATA[]]>c</t><u>d</u></r>");
    const TBXMLElement* t = TBXML::childElementNamed("t", xml->rootXMLElement());
    EXPECT_EQ(TBXML::textForElement(t), QStringLiteral("a< x bc"));
    EXPECT_EQ(TBXML::textForElement(TBXML::nextSiblingNamed("u", t)), QStringLiteral("d"));
    int error = 0;
    TBXML::newTBXMLWithXMLData(repeated("<n/>", TBXML::kMaxElements + 1), &error);
    EXPECT_EQ(error, TBXML::MemoryAllocationFailure);
}

TEST_F(PromoLimitsTest, HostileArchivesAreRefusedWholeAndLeaveNoFolder) {
    // The panel in force: version 2.
    serveDescriptor(2, zip({{"zembrook.html", "<p>two</p>"}}));
    launch();
    ASSERT_EQ(PromoManagerDefaults::getZembrookVersion(), 2);
    const QString inForce = m_support + "/Zembrook_v2";
    ASSERT_EQ(PromoManagerDefaults::getZembrookFolderPath(), inForce);

    QList<ZipFixture::Entry> manyEntries{{"zembrook.html", "x"}};
    for (int i = 0; i < SSZipArchive::kMaxEntryCount; ++i)
        manyEntries.append({"f" + QByteArray::number(i), "", 0});
    QList<ZipFixture::Entry> manyFolders{{"zembrook.html", "x"}};
    for (int i = 0; i <= SSZipArchive::kMaxFolderCount; ++i)
        manyFolders.append(ZipFixture::Entry("d" + QByteArray::number(i) + "/"));
    // Few entries, many folders: every component of a path is a folder made.
    QList<ZipFixture::Entry> manyFoldersByPaths{{"zembrook.html", "x"}};
    for (int i = 0; i <= SSZipArchive::kMaxFolderCount / 4; ++i)
        manyFoldersByPaths.append(ZipFixture::Entry("p" + QByteArray::number(i) + "/a/b/c/f"));
    QByteArray tooDeep;
    for (int i = 0; i <= SSZipArchive::kMaxFolderDepth; ++i)
        tooDeep += "d/";
    QByteArray noise(SSZipArchive::kMaxArchiveBytes + 1024, '\0');
    QRandomGenerator generator(7);
    generator.fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);

    const struct {
        const char* what;
        QList<ZipFixture::Entry> entries;
    } refused[] = {
        {"too many entries", manyEntries},
        {"too many folders", manyFolders},
        {"too many folders by paths", manyFoldersByPaths},
        {"folders too deep", {{"zembrook.html", "x"}, {tooDeep + "f", "y"}}},
        {"unpacks past the total",
         {{"zembrook.html", "x"}, {"big", QByteArray(SSZipArchive::kMaxTotalBytes + 1, '\0')}}},
        {"an archive over its size", {{"zembrook.html", "x"}, {"noise", noise, 0}}},
        {"a name longer than the limit",
         {{"zembrook.html", "x"}, {QByteArray(SSZipArchive::kMaxNameBytes + 1, 'n'), "y"}}},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.what);
        serveDescriptor(3, zip(c.entries));
        PromoLogRecorder log;
        launch();
        const QStringList lines = log.take();
        ASSERT_EQ(lines.size(), 1) << lines.join('\n').toStdString();
        EXPECT_TRUE(lines[0].contains("refused")) << lines[0].toStdString();
        EXPECT_EQ(PromoManagerDefaults::getZembrookVersion(), 2);
        EXPECT_EQ(PromoManagerDefaults::getZembrookFolderPath(), inForce);
        EXPECT_TRUE(QFileInfo(inForce + "/zembrook.html").isFile());
        EXPECT_EQ(panelFolders(), QStringList{QStringLiteral("Zembrook_v2")});
        EXPECT_TRUE(PromoFolders::pendingRemovals().isEmpty());
    }

    // Right at every limit the panel is taken, and the one before it goes.
    QList<ZipFixture::Entry> atLimits{{"zembrook.html", "<p>three</p>"}};
    QByteArray deepest;
    for (int i = 0; i < SSZipArchive::kMaxFolderDepth; ++i)
        deepest += "e/";
    atLimits.append({deepest + "f", "y"});
    for (int i = 0; i < SSZipArchive::kMaxFolderCount - SSZipArchive::kMaxFolderDepth; ++i)
        atLimits.append(ZipFixture::Entry("d" + QByteArray::number(i) + "/"));
    serveDescriptor(3, zip(atLimits));
    launch();
    EXPECT_EQ(PromoManagerDefaults::getZembrookVersion(), 3);
    EXPECT_EQ(panelFolders(), QStringList{QStringLiteral("Zembrook_v3")});
    EXPECT_TRUE(PromoFolders::pendingRemovals().isEmpty());
}

TEST_F(PromoLimitsTest, DeepFoldersAreRemovedWithAFewDescriptors) {
    // 3000 folders deep: a path past PATH_MAX, made one openat at a time.
    const QString panel = m_support + "/Zembrook_v9";
    ASSERT_TRUE(QDir().mkpath(panel));
    int fd = ::open(QFile::encodeName(panel).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int i = 0; i < 3000; ++i) {
        ASSERT_EQ(::mkdirat(fd, "d", 0755), 0);
        const int file = ::openat(fd, "f", O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(file, 0);
        ::close(file);
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        ASSERT_GE(next, 0);
        fd = next;
    }
    ::close(fd);

    // No more than a handful of descriptors may be opened meanwhile: the soft limit is set
    // just above the highest one in use.
    int highest = 0;
    for (const QString& name : QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files))
        highest = std::max(highest, name.toInt());
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit tight = saved;
    tight.rlim_cur = static_cast<rlim_t>(highest + 1 + 4);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    const bool removed = PromoFolders::removeZembrookFolder(panel);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &saved), 0);
    EXPECT_TRUE(removed);
    EXPECT_FALSE(QFileInfo::exists(panel));
    EXPECT_TRUE(PromoFolders::pendingRemovals().isEmpty());
}

TEST_F(PromoLimitsTest, AFolderThatCannotBeRemovedIsLoggedAndTriedAgainAtTheNextStart) {
    const QString panel = m_support + "/Zembrook_v5";
    ASSERT_TRUE(QDir().mkpath(panel + "/img"));
    ASSERT_TRUE(TestSupport::writeFile(QFile::encodeName(panel + "/img/locked.png"), "png"));
    ImmutableFile locked(panel + "/img/locked.png");
    if (!locked.isSet())
        GTEST_SKIP() << "the file system keeps no immutable flag";
    {
        PromoLogRecorder log;
        EXPECT_FALSE(PromoFolders::removeZembrookFolder(panel));
        const QStringList lines = log.take();
        ASSERT_EQ(lines.size(), 1);
        EXPECT_TRUE(lines[0].contains(panel)) << lines[0].toStdString();
    }
    EXPECT_EQ(PromoFolders::pendingRemovals(), QStringList{panel});
    // Still stuck at the next start: still on the list, never forgotten.
    launch();
    EXPECT_TRUE(QFileInfo::exists(panel));
    EXPECT_EQ(PromoFolders::pendingRemovals(), QStringList{panel});
    // Once it can go, the start after removes it.
    locked.clear();
    launch();
    EXPECT_FALSE(QFileInfo::exists(panel));
    EXPECT_TRUE(PromoFolders::pendingRemovals().isEmpty());
}

TEST_F(PromoLimitsTest, AFolderLeftBehindIsRemovedAtTheNextStart) {
    // As a quit halfway through an unpacking leaves it: on the list, still on the disk.
    const QString left = m_support + "/Zembrook_v4";
    ASSERT_TRUE(QDir().mkpath(left + "/img/a"));
    ASSERT_TRUE(TestSupport::writeFile(QFile::encodeName(left + "/img/a/p.png"), "png"));
    PromoFolders::addPendingRemoval(left);
    // A hand-made entry naming something else is dropped, never removed.
    const QString stranger = m_scratch.filePath("keep");
    ASSERT_TRUE(QDir().mkpath(stranger));
    PromoFolders::addPendingRemoval(stranger);
    // The panel in force, left on the list by a run that ended right after recording it.
    const QString inForce = m_support + "/Zembrook_v3";
    ASSERT_TRUE(QDir().mkpath(inForce));
    ASSERT_TRUE(
        PromoManagerDefaults::notifyPromoManagerDataToSaveZembrookFolder(inForce, 3, 800, 400));
    PromoFolders::addPendingRemoval(inForce);
    launch();
    EXPECT_FALSE(QFileInfo::exists(left));
    EXPECT_TRUE(QFileInfo::exists(stranger));
    EXPECT_TRUE(QFileInfo::exists(inForce));
    EXPECT_TRUE(PromoFolders::pendingRemovals().isEmpty());
}

TEST_F(PromoLimitsTest, QuittingDuringADownloadEndsItAndKeepsNothing) {
    // A server that never answers, and a transfer time-out far longer than the wait.
    PromoSettings::setTransferTimeoutMs(60000);
    const QByteArray path = "/files/slow.zip";
    m_server.setAnswerForPath(path, {200, {}, true});
    const QUrl url("http://127.0.0.1:" + QString::number(serverPort()) + QString::fromLatin1(path));
    PromoManager manager(nullptr);
    ASSERT_TRUE(Dispatch::waitUntilIdle(20000));
    std::atomic<bool> finished{false};
    std::atomic<bool> recorded{true};
    std::thread download([&] {
        recorded = PromoManager::downloadAndSaveZembrookWithVersion(6, url, 800, 400);
        finished = true;
    });
    ASSERT_TRUE(TestSupport::waitFor([&] { return m_server.requestCountForPath(path) == 1; }));
    EXPECT_FALSE(finished.load());
    // The application quits: the signal the manager listens to.
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit",
                                          Qt::DirectConnection));
    EXPECT_TRUE(TestSupport::waitFor([&] { return finished.load(); }, 2000));
    download.join();
    EXPECT_FALSE(recorded.load());
    EXPECT_TRUE(panelFolders().isEmpty());
    EXPECT_TRUE(PromoFolders::pendingRemovals().isEmpty());
    EXPECT_EQ(PromoManagerDefaults::getZembrookVersion(), 0);
    // Every later download answers nothing at once.
    EXPECT_EQ(PromoDownloads::fetch(url, 10).outcome, PromoDownloads::Outcome::Cancelled);
}

TEST_F(PromoLimitsTest, FeedApplicationIdsNameOnlyTheMakersApplications) {
    for (const char* id : {"com.velquor.Other", "org.gnome.Terminal", "/usr/bin/xterm",
                           "../../bin/sh", "firefox --new-window file:///etc/passwd"}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(PromoWorkspace::isMakerApplication(QString::fromUtf8(id)));
        EXPECT_FALSE(PromoWorkspace::isApplicationInstalled(QString::fromUtf8(id)));
        EXPECT_FALSE(PromoWorkspace::openApplication(QString::fromUtf8(id)));
    }
    EXPECT_TRUE(PromoWorkspace::isMakerApplication(QStringLiteral("com.velquor.Halvenor")));
}

TEST_F(PromoLimitsTest, PanelSizesAreClampedToTheScreenAndNonPositiveOnesRefused) {
    const QSize screen(1280, 800);
    EXPECT_EQ(PromoManager::clampedZembrookSize(20000, 20000, screen), screen);
    EXPECT_EQ(PromoManager::clampedZembrookSize(900, 20000, screen), QSize(900, 800));
    EXPECT_EQ(PromoManager::clampedZembrookSize(900, 400, screen), QSize(900, 400));
    EXPECT_TRUE(PromoManager::clampedZembrookSize(0, 400, screen).isEmpty());
    EXPECT_TRUE(PromoManager::clampedZembrookSize(900, -5, screen).isEmpty());

    // Through the feed: a huge page is recorded at the screen's available size at most.
    const QByteArray path = "/files/huge.zip";
    const QByteArray url = "http://127.0.0.1:" + QByteArray::number(serverPort()) + path;
    m_server.setAnswer("tools.xml", {200, "<tools><zembrook><version>2</version><url>" + url +
                                              "</url><width>20000</width><height>20000</height>"
                                              "</zembrook></tools>"});
    m_server.setAnswerForPath(path, {200, zip({{"zembrook.html", "x"}})});
    launch();
    ASSERT_EQ(PromoManagerDefaults::getZembrookVersion(), 2);
    const QSize available = PromoManager::availableScreenSize();
    ASSERT_TRUE(available.isValid());
    EXPECT_EQ(PromoManagerDefaults::getZembrookWindowWidth(), available.width());
    EXPECT_EQ(PromoManagerDefaults::getZembrookWindowHeight(), available.height());
}
