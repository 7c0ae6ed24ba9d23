// The privileged removal tool, started for real but without pkexec (the launcher is
// replaced by nothing, so the tool runs with the test's own rights).
#include "Platform/AuthorizationManager.h"
#include "PrivilegedRemovalSupport.h"
#include "Removal/DuplicatesRootRemover.h"
#include "Removal/PrivilegedRemovalProtocol.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace Protocol = PrivilegedRemovalProtocol;
using PrivilegedRemovalSupport::exists;
using PrivilegedRemovalSupport::identityOf;
using PrivilegedRemovalSupport::shallowIdentityOf;
using PrivilegedRemovalSupport::toolPath;

// Starts the tool directly as `Tarvique <name> <starter>`; answers its process number.
pid_t spawnTool(const QString& name, pid_t starter) {
    QByteArray tool = QFile::encodeName(toolPath());
    QByteArray nameBytes = name.toUtf8();
    QByteArray starterBytes = QByteArray::number(starter);
    char* argv[] = {tool.data(), nameBytes.data(), starterBytes.data(), nullptr};
    pid_t pid = 0;
    if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ) != 0)
        return 0;
    return pid;
}

// Connects to the tool's name. Answers -1 when nothing listens, 0 when the tool closed the
// connection without greeting (refused), 1 when it greeted (accepted).
int knockOn(const QString& name) {
    sockaddr_un address{};
    socklen_t length = 0;
    Protocol::makeAddress(name.toStdString(), &address, &length);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), length) != 0) {
        ::close(fd);
        return -1;
    }
    char greeting[Protocol::kGreetingLength];
    const bool greeted = Protocol::readFully(fd, greeting, sizeof(greeting), 2000);
    ::close(fd);
    return greeted ? 1 : 0;
}

int knockFromAnotherProcess(const QString& name) {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(knockOn(name) + 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) - 1 : -2;
}

bool hasEnded(pid_t pid, int* status = nullptr) {
    int s = 0;
    const bool ended = ::waitpid(pid, &s, WNOHANG) == pid;
    if (ended && status)
        *status = s;
    return ended;
}

class PrivilegedRemovalTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { AuthorizationManager::GetInstance().setLauncher({}); }
    void SetUp() override {
        ASSERT_TRUE(QFile::exists(toolPath())) << toolPath().toStdString();
        ASSERT_TRUE(m_dir.isValid());
        m_root = QFile::encodeName(QDir(m_dir.path()).canonicalPath());
    }
    QByteArray path(const char* relative) const { return m_root + "/" + relative; }

    QTemporaryDir m_dir;
    QByteArray m_root;
};

TEST_F(PrivilegedRemovalTest, ServerNamesAreTheCleanerPrefixAndSixDigits) {
    const QRegularExpression form("^com\\.velquor\\.duplicates\\.cleaner\\.(\\d{6})$");
    for (int i = 0; i < 500; ++i) {
        const QString name = DuplicatesRootRemover::generateRootRemoverServerName();
        const auto match = form.match(name);
        ASSERT_TRUE(match.hasMatch()) << name.toStdString();
        const int number = match.captured(1).toInt();
        EXPECT_GE(number, 100000);
        EXPECT_LE(number, 999998);
        EXPECT_TRUE(Protocol::isValidServerName(name.toStdString()));
    }
    EXPECT_FALSE(Protocol::isValidServerName("com.velquor.duplicates.cleaner.12345"));
    EXPECT_FALSE(Protocol::isValidServerName("com.velquor.duplicates.cleaner.12345x"));
}

TEST_F(PrivilegedRemovalTest, RemovesAllowedPathsAndReusesTheRunningTool) {
    ASSERT_TRUE(TestSupport::writeFile(path("file.bin"), "abc"));
    ASSERT_TRUE(TestSupport::writeFile(path("folder/inner/deep.txt"), "deep"));
    ASSERT_TRUE(TestSupport::writeFile(path("outside/kept"), "kept"));
    ASSERT_EQ(::symlink(path("outside").constData(), path("folder/inner/link").constData()), 0);

    ASSERT_TRUE(TestSupport::writeFile(path("folder/.DS_Store"), "not a scanned file"));

    DuplicatesRootRemover remover(toolPath());
    EXPECT_TRUE(remover.removeFileAtPath(path("file.bin"), identityOf(path("file.bin"))));
    EXPECT_FALSE(exists(path("file.bin")));
    const pid_t tool = remover.toolProcessId();
    ASSERT_GT(tool, 0);

    const auto folder = identityOf(path("folder"));
    EXPECT_EQ(folder.size, 4u) << "deep.txt alone counts";
    EXPECT_TRUE(remover.removeFileAtPath(path("folder"), folder));
    EXPECT_FALSE(exists(path("folder")));
    EXPECT_TRUE(exists(path("outside/kept")));
    EXPECT_EQ(remover.toolProcessId(), tool) << "the running tool is reused";

    EXPECT_FALSE(remover.removeFileAtPath(path("missing"), folder));
    EXPECT_EQ(remover.lastToolError(), ENOENT);
    EXPECT_EQ(remover.toolProcessId(), tool);
}

TEST_F(PrivilegedRemovalTest, RefusesRelativeDottedLinkedAndSystemPaths) {
    ASSERT_TRUE(TestSupport::writeFile(path("real/target"), "t"));
    ASSERT_TRUE(TestSupport::writeFile(path("real/linked-file"), "l"));
    ASSERT_EQ(::symlink(path("real").constData(), path("via").constData()), 0);
    ASSERT_EQ(::symlink(path("real/linked-file").constData(), path("last-link").constData()), 0);
    // Files the tool must leave alone even though the caller could name them.
    QByteArray varFile = "/var/tmp/sorvanta-tarvique-" + QByteArray::number(::getpid());
    ASSERT_TRUE(TestSupport::writeFile(varFile, "v"));
    QByteArray etcFile;
    if (::geteuid() == 0) {
        etcFile = "/etc/sorvanta-tarvique-" + QByteArray::number(::getpid());
        ASSERT_TRUE(TestSupport::writeFile(etcFile, "e"));
    }

    struct Case {
        QByteArray path;
        QByteArray survivor; // what must still exist afterwards
    };
    const QByteArray relative =
        QDir::current().relativeFilePath(QFile::decodeName(path("real/target"))).toLocal8Bit();
    const std::vector<Case> cases = {
        {relative, path("real/target")},
        {path("real/../real/target"), path("real/target")},
        {path("real/./target"), path("real/target")},
        {m_root + "//real/target", path("real/target")},
        {path("via/target"), path("real/target")},
        {path("last-link"), path("last-link")},
        {"/", "/"},
        {"/etc/x", "/etc"},
        {varFile, varFile},
        {etcFile.isEmpty() ? QByteArray("/etc/passwd") : etcFile,
         etcFile.isEmpty() ? QByteArray("/etc/passwd") : etcFile},
        {"/usr/bin/../../" + m_root.mid(1) + "/real/target", path("real/target")},
    };
    DuplicatesRootRemover remover(toolPath());
    for (const Case& c : cases) {
        EXPECT_FALSE(remover.removeFileAtPath(c.path, shallowIdentityOf(c.survivor)))
            << c.path.constData();
        EXPECT_NE(remover.lastToolError(), 0) << c.path.constData();
        EXPECT_TRUE(exists(c.survivor)) << c.path.constData();
    }
    EXPECT_TRUE(exists(path("real/linked-file")));
    // Refusals do not end the tool.
    EXPECT_TRUE(remover.removeFileAtPath(path("real/target"), identityOf(path("real/target"))));
    EXPECT_FALSE(exists(path("real/target")));

    QFile::remove(QFile::decodeName(varFile));
    if (!etcFile.isEmpty())
        QFile::remove(QFile::decodeName(etcFile));
}

TEST_F(PrivilegedRemovalTest, ServesOnlyItsStarterAndOnlyOneClient) {
    const QString name = DuplicatesRootRemover::generateRootRemoverServerName();
    const pid_t tool = spawnTool(name, ::getpid());
    ASSERT_GT(tool, 0);
    // Once it listens, a stranger (another process) is refused, not served.
    ASSERT_TRUE(TestSupport::waitFor([&] { return knockFromAnotherProcess(name) == 0; }));

    // The starter itself is served; a second connection while it is served is refused.
    sockaddr_un address{};
    socklen_t length = 0;
    Protocol::makeAddress(name.toStdString(), &address, &length);
    const int first = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(::connect(first, reinterpret_cast<sockaddr*>(&address), length), 0);
    char greeting[Protocol::kGreetingLength];
    ASSERT_TRUE(Protocol::readFully(first, greeting, sizeof(greeting), 2000));
    EXPECT_EQ(knockOn(name), 0);

    // Its one client gone, the tool ends.
    ::close(first);
    int status = 0;
    ASSERT_TRUE(TestSupport::waitFor([&] { return hasEnded(tool, &status); }));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(PrivilegedRemovalTest, EndsWhenItsStarterEndsAndServesNoOtherStarter) {
    // A tool told to serve a process that did not start it does not even listen.
    const QString stray = DuplicatesRootRemover::generateRootRemoverServerName();
    const pid_t strayTool = spawnTool(stray, ::getppid());
    ASSERT_GT(strayTool, 0);
    int status = 0;
    ASSERT_TRUE(TestSupport::waitFor([&] { return hasEnded(strayTool, &status); }));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0);

    // A starter process that launches the tool and ends when told; the tool, orphaned,
    // comes to this process so that it can be collected here.
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    const QString name = DuplicatesRootRemover::generateRootRemoverServerName();
    const QByteArray tool = QFile::encodeName(toolPath());
    const QByteArray nameBytes = name.toUtf8();
    int toParent[2], toChild[2];
    ASSERT_EQ(::pipe(toParent), 0);
    ASSERT_EQ(::pipe(toChild), 0);
    const pid_t starter = ::fork();
    if (starter == 0) {
        ::close(toChild[1]);
        QByteArray self = QByteArray::number(::getpid());
        char* argv[] = {const_cast<char*>(tool.constData()),
                        const_cast<char*>(nameBytes.constData()), self.data(), nullptr};
        pid_t pid = 0;
        ::posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ);
        (void)!::write(toParent[1], &pid, sizeof(pid));
        char byte = 0;
        (void)!::read(toChild[0], &byte, 1);
        ::_exit(0);
    }
    pid_t toolPid = 0;
    ASSERT_EQ(::read(toParent[0], &toolPid, sizeof(toolPid)), ssize_t(sizeof(toolPid)));
    ASSERT_GT(toolPid, 0);
    // Listening (this process is refused: it is not the starter).
    ASSERT_TRUE(TestSupport::waitFor([&] { return knockOn(name) == 0; }));

    ::close(toChild[1]);
    ASSERT_EQ(::waitpid(starter, &status, 0), starter);
    ASSERT_TRUE(TestSupport::waitFor([&] { return hasEnded(toolPid, &status); }));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(knockOn(name), -1);
    ::prctl(PR_SET_CHILD_SUBREAPER, 0);
    for (int fd : {toParent[0], toParent[1], toChild[0]})
        ::close(fd);
}

TEST_F(PrivilegedRemovalTest, AToolThatNeverAnswersGivesNoAfterTheWait) {
    ASSERT_TRUE(TestSupport::writeFile(path("file"), "x"));
    // A "tool" that never registers under its name; it notes its process number first.
    const QByteArray pidFile = path("silent.pid");
    ASSERT_TRUE(TestSupport::writeFile(path("silent"),
                                       "#!/bin/sh\necho $$ > '" + pidFile + "'\nexec sleep 60\n"));
    ASSERT_EQ(::chmod(path("silent").constData(), 0755), 0);
    pid_t silent = 0;
    {
        DuplicatesRootRemover remover(QFile::decodeName(path("silent")));
        const QString nameBefore = remover.serverName();
        QElapsedTimer timer;
        timer.start();
        const bool removed = remover.removeFileAtPath(path("file"), identityOf(path("file")));
        const qint64 elapsed = timer.elapsed();

        EXPECT_FALSE(removed);
        EXPECT_GE(elapsed, 4900) << "the tool is given about five seconds to answer";
        EXPECT_TRUE(exists(path("file")));
        EXPECT_EQ(remover.toolProcessId(), 0);
        EXPECT_NE(remover.serverName(), nameBefore) << "every launch has a name of its own";
        QFile file(QFile::decodeName(pidFile));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        silent = pid_t(file.readAll().trimmed().toInt());
        ASSERT_GT(silent, 0);
    }
    // The silent tool was told to end and has been collected.
    ASSERT_TRUE(TestSupport::waitFor([&] { return silent > 0 && ::kill(silent, 0) != 0; }));
}

// The password step is skipped for root, so it is played by an ordinary user in a child
// process, with launchers standing in for pkexec: one that fails as a dismissed dialog
// does (exit 126) and one that, "authenticated", becomes the tool. The user runs a copy of
// the tool in the test's open folder: the build tree may lie where only its owner can go.
TEST_F(PrivilegedRemovalTest, AFailedPasswordRequestIsNotRepeatedUntilTheNextRun) {
    ASSERT_EQ(::chmod(m_root.constData(), 0777), 0);
    const QByteArray marker = path("asked");
    const QString tool = QFile::decodeName(path("Tarvique"));
    ASSERT_TRUE(QFile::copy(toolPath(), tool));
    ASSERT_TRUE(
        QFile::setPermissions(tool, QFile::permissions(tool) | QFile::ExeOther | QFile::ReadOther));
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(100);
        AuthorizationManager manager;
        const QString name = DuplicatesRootRemover::generateRootRemoverServerName();
        const QStringList args{name, QString::number(::getpid())};
        manager.setLauncher(
            {"/bin/sh", "-c", "echo asked >> " + QFile::decodeName(marker) + "; exit 126"});
        manager.setIsNeedAskAuthentication(true);
        int failures = 0;
        failures += manager.isAuthenticated({tool}) ? 1 : 0; // a password is needed
        failures += manager.executeCommandWithArgsAndType(tool, args, 0) ? 2 : 0;
        failures += manager.isNeedAskAuthentication() ? 4 : 0;                    // turned off
        failures += manager.executeCommandWithArgsAndType(tool, args, 0) ? 8 : 0; // not asked
        manager.setIsNeedAskAuthentication(true);                                 // the next run
        failures += manager.executeCommandWithArgsAndType(tool, args, 0) ? 16 : 0;
        // A launcher that lets the tool run: answered once the tool has taken its place.
        manager.setLauncher({"/bin/sh", "-c", "sleep 0.2; exec \"$@\"", "sh"});
        manager.setIsNeedAskAuthentication(true);
        pid_t pid = 0;
        failures += manager.executeCommandWithArgsAndType(tool, args, 0, &pid) ? 0 : 32;
        char comm[32] = {};
        QFile commFile(QStringLiteral("/proc/%1/comm").arg(pid));
        if (!commFile.open(QIODevice::ReadOnly) || commFile.readLine(comm, sizeof(comm)) <= 0 ||
            QByteArray(comm).trimmed() != "Tarvique")
            failures += 64;
        // A failed launch leaves pid 0, and kill(0) would signal the whole test run.
        if (pid > 0)
            ::kill(pid, SIGTERM);
        ::_exit(failures);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    QFile asked(QFile::decodeName(marker));
    ASSERT_TRUE(asked.open(QIODevice::ReadOnly));
    EXPECT_EQ(asked.readAll(), "asked\nasked\n") << "asked once per run";
}

TEST_F(PrivilegedRemovalTest, StartingToolsNeverWaitsForOrCollectsOtherChildren) {
    ASSERT_TRUE(TestSupport::writeFile(path("a"), "a"));
    ASSERT_TRUE(TestSupport::writeFile(path("b"), "b"));
    QProcess other;
    other.start("/bin/sh", {"-c", "sleep 2; exit 7"});
    ASSERT_TRUE(other.waitForStarted());
    {
        DuplicatesRootRemover first(toolPath());
        EXPECT_TRUE(first.removeFileAtPath(path("a"), identityOf(path("a"))));
    }
    // A second tool after the first ended: the earlier one is collected, nothing else.
    DuplicatesRootRemover second(toolPath());
    EXPECT_TRUE(second.removeFileAtPath(path("b"), identityOf(path("b"))));
    EXPECT_EQ(other.state(), QProcess::Running) << "nobody waited for it";
    ASSERT_TRUE(other.waitForFinished(5000));
    EXPECT_EQ(other.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(other.exitCode(), 7) << "its status still reached Qt";
}

TEST_F(PrivilegedRemovalTest, AMissingToolIsNeverStarted) {
    DuplicatesRootRemover remover(m_dir.path() + "/no-such-tool");
    ASSERT_TRUE(TestSupport::writeFile(path("file"), "x"));
    EXPECT_FALSE(remover.removeFileAtPath(path("file"), identityOf(path("file"))));
    EXPECT_EQ(remover.toolProcessId(), 0);
    EXPECT_TRUE(exists(path("file")));
}

} // namespace
