#include "Platform/ui/TerminationSignalNotifier.h"

#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> kSignals{SIGTERM, SIGINT, SIGHUP};

// The pipe's ends; the write end is what the handler reads, so it is a lock-free atomic.
std::atomic<int> g_writeEnd{-1};
int g_readEnd = -1;
struct sigaction g_previous[kSignals.size()];

extern "C" void onTerminationSignal(int signalNumber) {
    // Only async-signal-safe calls here: one write of one byte, errno left as it was.
    const int savedErrno = errno;
    const int fd = g_writeEnd.load(std::memory_order_relaxed);
    if (fd >= 0) {
        const unsigned char byte = static_cast<unsigned char>(signalNumber);
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

sigset_t caughtSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signalNumber : kSignals)
        sigaddset(&set, signalNumber);
    return set;
}

} // namespace

void TerminationSignalNotifier::holdUntilCaught() {
    const sigset_t set = caughtSignals();
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void TerminationSignalNotifier::ignoreFromNowOn() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        ::sigaction(kSignals[i], &ignore, nullptr);
        // What a notifier still alive puts back when it goes.
        g_previous[i] = ignore;
    }
}

TerminationSignalNotifier::TerminationSignalNotifier(QObject* parent) : QObject(parent) {
    if (g_writeEnd.load() >= 0)
        return;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_readEnd = ends[0];
    g_writeEnd.store(ends[1]);
    m_notifier = new QSocketNotifier(g_readEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { readPipe(); });

    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls elsewhere in the process go on as if nothing happened.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &action, &g_previous[i]);
    // A signal held back since the start arrives now, at the handler. Threads started while
    // they were held keep them blocked, so the main thread is the one that takes them.
    const sigset_t set = caughtSignals();
    ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

TerminationSignalNotifier::~TerminationSignalNotifier() {
    if (!m_notifier)
        return;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &g_previous[i], nullptr);
    delete m_notifier;
    const int writeEnd = g_writeEnd.exchange(-1);
    ::close(writeEnd);
    ::close(g_readEnd);
    g_readEnd = -1;
}

void TerminationSignalNotifier::readPipe() {
    unsigned char bytes[16];
    for (;;) {
        const ssize_t n = ::read(g_readEnd, bytes, sizeof bytes);
        if (n <= 0)
            return; // drained (EAGAIN) or closed
        for (ssize_t i = 0; i < n; ++i)
            emit terminationRequested(bytes[i]);
    }
}
