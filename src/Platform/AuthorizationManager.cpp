#include "Platform/AuthorizationManager.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kMaxArguments = 19;
// Time the user has to answer the password dialog.
constexpr int kPasswordAnswerTimeoutMs = 300000;

QStringList defaultLauncher() {
    if (qEnvironmentVariableIsSet("SORVANTA_PRIVILEGE_LAUNCHER"))
        return qEnvironmentVariable("SORVANTA_PRIVILEGE_LAUNCHER")
            .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return {QStringLiteral("pkexec")};
}

// The kernel's short name of a process: the first 15 bytes of its program's file name.
QByteArray processName(pid_t pid) {
    QFile file(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().trimmed();
}

} // namespace

AuthorizationManager& AuthorizationManager::GetInstance() {
    static AuthorizationManager manager;
    return manager;
}

AuthorizationManager::AuthorizationManager() : m_launcher(defaultLauncher()) {}

void AuthorizationManager::setIsNeedAskAuthentication(bool need) {
    m_bIsNeedAskAuthentication = need;
}

bool AuthorizationManager::isNeedAskAuthentication() const {
    return m_bIsNeedAskAuthentication;
}

void AuthorizationManager::setLauncher(const QStringList& launcher) {
    std::lock_guard lock(m_mutex);
    m_launcher = launcher;
}

QStringList AuthorizationManager::launcher() const {
    std::lock_guard lock(m_mutex);
    return m_launcher;
}

bool AuthorizationManager::needsPassword(const QStringList& launcher) {
    return !launcher.isEmpty() && ::geteuid() != 0;
}

bool AuthorizationManager::isAuthenticated(const QStringList& toolPaths) const {
    return !toolPaths.isEmpty() && !needsPassword(launcher());
}

bool AuthorizationManager::authenticate(const QStringList& toolPaths) const {
    if (isAuthenticated(toolPaths))
        return true;
    return !toolPaths.isEmpty() && m_bIsNeedAskAuthentication;
}

bool AuthorizationManager::executeCommandWithArgsAndType(const QString& toolPath,
                                                         const QStringList& args, int type,
                                                         pid_t* processId) {
    (void)type;
    std::lock_guard launchLock(m_launchMutex);
    const QByteArray tool = QFile::encodeName(toolPath);
    if (tool.isEmpty() || ::access(tool.constData(), X_OK) != 0)
        return false;
    if (!authenticate({toolPath}))
        return false;

    // With administrator rights already, the launcher has nothing to add (and pkexec may
    // not even work where no polkit daemon runs).
    const QStringList launcherCommand = ::geteuid() == 0 ? QStringList() : launcher();
    std::vector<QByteArray> strings;
    for (const QString& part : launcherCommand)
        strings.push_back(QFile::encodeName(part));
    strings.push_back(tool);
    for (qsizetype i = 0; i < args.size() && i < kMaxArguments; ++i)
        strings.push_back(args[i].toUtf8());
    std::vector<char*> argv;
    for (QByteArray& s : strings)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;

    if (needsPassword(launcherCommand) && !waitUntilAuthenticated(pid, launcherCommand))
        return false;
    if (processId)
        *processId = pid;
    return true;
}

// The launcher asks for the password and then replaces itself with the tool. Until then
// its process still carries the launcher's name; when it ends instead, the request failed.
bool AuthorizationManager::waitUntilAuthenticated(pid_t pid, const QStringList& launcher) {
    const QByteArray launcherName =
        QFile::encodeName(QFileInfo(launcher.constFirst()).fileName()).left(15);
    const QByteArray ownName = processName(::getpid());
    for (int waited = 0; waited < kPasswordAnswerTimeoutMs; waited += 50) {
        int status = 0;
        const pid_t ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == pid || (ended < 0 && errno == ECHILD)) {
            // Dismissed (126), refused (127) or no way to ask at all: either way the user
            // is not asked again in this run.
            m_bIsNeedAskAuthentication = false;
            return false;
        }
        // Right after the start the child may still carry this process's own name: the
        // kernel renames it only late in its exec.
        const QByteArray name = processName(pid);
        if (!name.isEmpty() && name != launcherName && name != ownName)
            return true;
        QThread::msleep(50);
    }
    // Nobody answered the dialog: give up on this run, and do not ask again in it.
    if (pid > 0)
        ::kill(pid, SIGTERM);
    m_bIsNeedAskAuthentication = false;
    int status = 0;
    ::waitpid(pid, &status, WNOHANG);
    return false;
}
