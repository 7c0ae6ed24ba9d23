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

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace TestSupport {

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return condition();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents();
        QThread::msleep(1);
    }
    return true;
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
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty())
        return false;
    QDir trash(data + "/Trash");
    return !trash.exists() || trash.removeRecursively();
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
