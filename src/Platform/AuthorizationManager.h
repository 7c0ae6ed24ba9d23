#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <mutex>
#include <sys/types.h>

// Starts a helper tool with administrator rights. The tool is run through a launcher
// command, "pkexec" by default, which has polkit ask for the administrator password
// (the polkit action of the tool decides how long a granted password is kept). The
// environment variable SORVANTA_PRIVILEGE_LAUNCHER (a command split at spaces; empty runs
// the tool directly) or setLauncher() replaces the launcher, so tests run the real tool
// without pkexec.
//
// A process that already has administrator rights runs the tool directly.
//
// The user is asked at most once per removal run: the remover turns asking on when a run
// starts, and a password request that fails (cancelled, refused, or no polkit agent) turns
// it off until the next run.
//
// A process-wide singleton, used from the remover's queues; safe from any thread, and
// launches happen one at a time.
class AuthorizationManager final {
public:
    static AuthorizationManager& GetInstance();

    AuthorizationManager();
    AuthorizationManager(const AuthorizationManager&) = delete;
    AuthorizationManager& operator=(const AuthorizationManager&) = delete;

    void setIsNeedAskAuthentication(bool need);
    bool isNeedAskAuthentication() const;

    void setLauncher(const QStringList& launcher);
    QStringList launcher() const;

    // True when starting the tools needs no password: they are run directly (no launcher),
    // or this process already has administrator rights. False for an empty list.
    bool isAuthenticated(const QStringList& toolPaths) const;
    // True when the tools may be started now: no password is needed, or the user may be
    // asked for one.
    bool authenticate(const QStringList& toolPaths) const;

    // Starts the tool with administrator rights with at most 19 arguments; its standard
    // input and output are /dev/null. When a password is needed this waits until the user
    // has answered and the launcher has become the tool, so the caller's wait for the tool
    // starts only then. Answers true when the tool runs; its process number goes to
    // `processId` (the launcher replaces itself with the tool, so it is the tool's). The
    // caller collects the process when it ends. `type` is not used.
    bool executeCommandWithArgsAndType(const QString& toolPath, const QStringList& args, int type,
                                       pid_t* processId = nullptr);

private:
    static bool needsPassword(const QStringList& launcher);
    bool waitUntilAuthenticated(pid_t pid, const QStringList& launcher);

    // Guards the launcher only, never held while waiting, so that the main thread can turn
    // asking on while a launch waits for the password.
    mutable std::mutex m_mutex;
    QStringList m_launcher;
    std::atomic<bool> m_bIsNeedAskAuthentication{false};
    // One launch at a time.
    std::mutex m_launchMutex;
};
