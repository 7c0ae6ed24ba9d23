#include "TestSupport.h"

#include "Platform/Dispatch.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace TestSupport {

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (condition())
            return true;
        // One pass over the events can outlast the whole timeout on a slow (instrumented)
        // build, a repaint of the screen say, and the timers that came due meanwhile only fire
        // in the next pass: the condition is given up only after a pass that began past the
        // deadline.
        const bool lastPass = deadline.hasExpired();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents();
        if (lastPass)
            return condition();
        QThread::msleep(1);
    }
}

void spinFor(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents();
        QThread::msleep(1);
    }
}

bool writeFile(const QByteArray& path, const QByteArray& contents) {
    // Raw bytes all the way: a decode/encode round trip would change a name that is not
    // valid UTF-8.
    for (qsizetype slash = path.indexOf('/', 1); slash > 0; slash = path.indexOf('/', slash + 1))
        ::mkdir(path.left(slash).constData(), 0755);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    qsizetype written = 0;
    while (written < contents.size()) {
        const ssize_t n =
            ::write(fd, contents.constData() + written, size_t(contents.size() - written));
        if (n <= 0)
            break;
        written += n;
    }
    ::close(fd);
    return written == contents.size();
}

QString isolateUserFolders() {
    static QString root;
    if (!root.isEmpty())
        return root;
    const QByteArray tmp = qEnvironmentVariableIsSet("TMPDIR") ? qgetenv("TMPDIR") : "/tmp";
    QByteArray templ = tmp + "/sorvanta-test-XXXXXX";
    if (!mkdtemp(templ.data()))
        std::abort();
    root = QString::fromLocal8Bit(templ);
    // Every QTemporaryDir of the process lands here, so names a test made that QTemporaryDir
    // cannot remove are removed with the whole folder when the test main ends.
    // Open to every user as /tmp is, for tests that play an ordinary user in a child.
    const QByteArray temporary = templ + "/tmp";
    ::chmod(templ.constData(), 0711);
    ::mkdir(temporary.constData(), 0700);
    ::chmod(temporary.constData(), 01777);
    qputenv("TMPDIR", temporary);
    for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        const QString dir = root + "/" + QString::fromLatin1(var).toLower();
        QDir().mkpath(dir);
        qputenv(var, QFile::encodeName(dir));
    }
    const QString runtime = root + "/runtime";
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    // No session bus: nothing a test does (a finished scan's notification, a reveal) reaches
    // the desktop the tests run on. Tests of D-Bus services run a private bus of their own.
    qputenv("DBUS_SESSION_BUS_ADDRESS", QFile::encodeName("unix:path=" + runtime + "/no-bus"));
    return root;
}

struct QueueGate::State {
    std::mutex mutex;
    std::condition_variable changed;
    bool reached = false;
    bool open = false;
};

QueueGate::QueueGate(Dispatch::Queue& queue) : m_state(std::make_shared<State>()) {
    queue.async([state = m_state] {
        std::unique_lock lock(state->mutex);
        state->reached = true;
        state->changed.notify_all();
        state->changed.wait(lock, [&] { return state->open; });
    });
}

QueueGate::~QueueGate() {
    open();
}

void QueueGate::open() {
    std::lock_guard lock(m_state->mutex);
    m_state->open = true;
    m_state->changed.notify_all();
}

bool QueueGate::isReached() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->reached;
}

bool emptyUserTrash() {
    const QByteArray data = qgetenv("XDG_DATA_HOME");
    if (data.isEmpty())
        return false;
    // Trashed names may be any bytes.
    return removeTree(data + "/Trash");
}

namespace {

// Empties the folder open as `fd` (taking it over) and everything below it, one folder
// descriptor at a time: a sub-folder is entered by its name and left through "..", so the
// depth costs no descriptors and no path is ever spelled out. A folder that cannot be
// emptied is remembered by its inode and passed over from then on.
bool emptyFolder(int fd) {
    std::set<ino_t> stuck;
    std::vector<QByteArray> entered;
    bool complete = true;
    while (true) {
        QByteArray sub;
        const int listing = ::dup(fd);
        DIR* dir = listing >= 0 ? ::fdopendir(listing) : nullptr;
        if (!dir) {
            if (listing >= 0)
                ::close(listing);
            complete = false;
        } else {
            ::rewinddir(dir);
            while (const dirent* entry = ::readdir(dir)) {
                const QByteArray name(entry->d_name);
                if (name == "." || name == ".." || stuck.count(entry->d_ino))
                    continue;
                if (::unlinkat(fd, name.constData(), 0) == 0)
                    continue;
                if (errno != EISDIR && errno != EPERM) {
                    complete = false;
                    continue;
                }
                if (::unlinkat(fd, name.constData(), AT_REMOVEDIR) == 0)
                    continue;
                sub = name;
                break;
            }
            ::closedir(dir);
        }
        if (!sub.isEmpty()) {
            // A folder without rights for its owner (a test of unreadable folders) is given
            // them back first.
            ::fchmodat(fd, sub.constData(), 0700, 0);
            const int child =
                ::openat(fd, sub.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            struct stat facts {};
            if (child < 0 || ::fstat(child, &facts) != 0) {
                if (child >= 0)
                    ::close(child);
                if (::fstatat(fd, sub.constData(), &facts, AT_SYMLINK_NOFOLLOW) == 0)
                    stuck.insert(facts.st_ino);
                complete = false;
                continue;
            }
            ::close(fd);
            fd = child;
            entered.push_back(sub);
            continue;
        }
        if (entered.empty())
            break;
        struct stat facts {};
        ::fstat(fd, &facts);
        const int parent = ::openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        if (parent < 0)
            return false;
        fd = parent;
        if (::unlinkat(fd, entered.back().constData(), AT_REMOVEDIR) != 0) {
            stuck.insert(facts.st_ino);
            complete = false;
        }
        entered.pop_back();
    }
    ::close(fd);
    return complete;
}

} // namespace

bool removeTree(const QByteArray& path) {
    if (::unlink(path.constData()) == 0 || errno == ENOENT)
        return true;
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool emptied = emptyFolder(fd);
    return ::rmdir(path.constData()) == 0 && emptied;
}

namespace {

class EngineIdleCheck final : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo& test) override {
        // Generous: only work that never ends should ever reach it, however busy the machine.
        constexpr int kLimitMs = 120000;
        if (Dispatch::waitUntilIdle(kLimitMs))
            return;
        std::fprintf(stderr, "Engine work started by %s.%s never ended\n", test.test_suite_name(),
                     test.name());
        std::abort();
    }
};

} // namespace

void installEngineIdleCheck() {
    ::testing::UnitTest::GetInstance()->listeners().Append(new EngineIdleCheck);
}

} // namespace TestSupport
