// The application in a process of its own, ended by a termination signal: idle, in the
// middle of a scan, and in the middle of a removal to the Trash of a temporary home. It
// must end as Quit does, with status 0, within 2 s, and leave no file half moved.
#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kExitLimitMs = 2000;

class ApplicationSignalsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.isValid());
        for (const char* name : {"config", "data", "cache", "runtime", "tree"})
            ASSERT_TRUE(QDir().mkpath(path(name)));
        QFile::setPermissions(path("runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ExeOwner);
    }

    void TearDown() override {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    QString path(const QString& name) const { return m_home.path() + QLatin1Char('/') + name; }

    void start(const QString& program, const QStringList& arguments) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path("config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), path("data"));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), path("cache"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), path("runtime"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(program, arguments);
        ASSERT_TRUE(m_process.waitForStarted(10000));
    }

    // Waits for a line of the probe's output that begins with |line|.
    bool waitForLine(const QByteArray& line, int timeoutMs) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            while (m_process.canReadLine()) {
                const QByteArray read = m_process.readLine().trimmed();
                m_output += read + '\n';
                if (read.startsWith(line))
                    return true;
            }
            if (m_process.state() == QProcess::NotRunning)
                return false;
            m_process.waitForReadyRead(100);
        }
        return false;
    }

    // Sends |signal| and answers the milliseconds until the process ended (or -1).
    qint64 signalAndWait(int signal) {
        QElapsedTimer timer;
        timer.start();
        ::kill(pid_t(m_process.processId()), signal);
        if (!m_process.waitForFinished(10000))
            return -1;
        m_output += m_process.readAllStandardOutput();
        return timer.elapsed();
    }

    void expectCleanExit(qint64 ms) {
        EXPECT_GE(ms, 0) << "the process did not end";
        EXPECT_LE(ms, kExitLimitMs);
        EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit) << m_output.constData();
        EXPECT_EQ(m_process.exitCode(), 0) << m_process.readAllStandardError().constData();
    }

    QTemporaryDir m_home;
    QProcess m_process;
    QByteArray m_output;
};

class IdleApplicationSignalsTest : public ApplicationSignalsTest,
                                   public ::testing::WithParamInterface<int> {};

TEST_P(IdleApplicationSignalsTest, EndsAsQuitDoes) {
    start(QStringLiteral(SORVANTA_APPLICATION_PATH), {});
    // The promotions write their first record into the settings as the application starts.
    const QString settings = path("config") + QStringLiteral("/Velquor/Sorvanta.ini");
    ASSERT_TRUE(TestSupport::waitFor([&] { return QFileInfo::exists(settings); }, 15000));
    expectCleanExit(signalAndWait(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Signals, IdleApplicationSignalsTest,
                         ::testing::Values(SIGTERM, SIGINT, SIGHUP));

TEST_F(ApplicationSignalsTest, SignalDuringAScanStopsItAndEnds) {
    // Large files of one size whose contents are all equal (holes, so nothing is written):
    // their whole-file digests keep the scan busy for a few seconds, while the digest each
    // thread has in hand when the scan stops ends soon.
    for (int i = 0; i < 24; ++i) {
        const QByteArray file = QFile::encodeName(path("tree") + QStringLiteral("/big%1").arg(i));
        const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, off_t(96) << 20), 0);
        ::close(fd);
    }
    start(QStringLiteral(SORVANTA_PROBE_PATH), {QStringLiteral("scan"), path("tree")});
    ASSERT_TRUE(waitForLine("scanning", 15000)) << m_output.constData();
    expectCleanExit(signalAndWait(SIGTERM));
    const int at = m_output.indexOf("quit in state ");
    ASSERT_GE(at, 0) << m_output.constData();
    const int state = m_output.mid(at + 14).split('\n').first().toInt();
    EXPECT_GE(state, 1) << "the scan had ended before the signal";
    EXPECT_LE(state, 5);
}

TEST_F(ApplicationSignalsTest, SignalDuringARemovalLeavesNoFileHalfMoved) {
    constexpr int kPairs = 150;
    QSet<QString> copies;
    for (int i = 0; i < kPairs; ++i) {
        const QByteArray contents = "contents of pair " + QByteArray::number(i);
        for (const char* side : {"a", "b"}) {
            const QString file = path("tree") + QStringLiteral("/%1/pair%2").arg(side).arg(i);
            ASSERT_TRUE(TestSupport::writeFile(QFile::encodeName(file), contents));
            copies.insert(file);
        }
    }
    // A file of its own in each folder, so the two are similar, not identical, folders and
    // the copies go one by one.
    for (const char* side : {"a", "b"})
        ASSERT_TRUE(TestSupport::writeFile(
            QFile::encodeName(path("tree") + QStringLiteral("/%1/own").arg(side)), side));
    start(QStringLiteral(SORVANTA_PROBE_PATH), {QStringLiteral("remove"), path("tree")});
    ASSERT_TRUE(waitForLine("removing", 30000)) << m_output.constData();
    expectCleanExit(signalAndWait(SIGTERM));
    EXPECT_TRUE(m_output.contains("quit in state 100")) << m_output.constData();

    // Every file in the Trash has its record and every record its file.
    const QDir trashFiles(path("data") + QStringLiteral("/Trash/files"));
    const QDir trashInfo(path("data") + QStringLiteral("/Trash/info"));
    QSet<QString> files, records;
    for (const QString& name : trashFiles.entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        EXPECT_TRUE(QFileInfo(trashFiles.filePath(name)).isFile()) << qPrintable(name);
        files.insert(name);
    }
    for (const QString& name : trashInfo.entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        ASSERT_TRUE(name.endsWith(QLatin1String(".trashinfo"))) << qPrintable(name);
        records.insert(name.chopped(10));
    }
    EXPECT_EQ(files, records);
    // The run was cut short: some copies went, others are still in place, none is lost.
    EXPECT_GT(files.size(), 0);
    EXPECT_LT(files.size(), kPairs);
    qsizetype inPlace = 0;
    for (const QString& copy : copies)
        inPlace += QFileInfo::exists(copy) ? 1 : 0;
    EXPECT_EQ(inPlace + files.size(), copies.size());
}

} // namespace
