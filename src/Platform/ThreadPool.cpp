#include "ThreadPool.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

struct ThreadPool::State {
    std::mutex mutex;
    std::condition_variable workAvailable;
    std::condition_variable changed; // work done or a thread ended
    std::deque<std::function<void()>> pending;
    int maxThreads = 1;
    int threads = 0; // threads alive
    int idle = 0;    // threads waiting for work
    int active = 0;  // blocks running
    bool closing = false;
    std::chrono::milliseconds expiry{10000};
};

namespace {

// Blocks waiting or running in every pool and serial queue of the process.
std::atomic<int> g_outstandingBlocks{0};

void workerLoop(const std::shared_ptr<ThreadPool::State>& state);

// Starts threads while there is waiting work that no idle thread will take. Mutex held.
void growLocked(const std::shared_ptr<ThreadPool::State>& state) {
    while (
        state->threads<state->maxThreads&& static_cast<int>(state->pending.size())> state->idle) {
        ++state->threads;
        ++state->idle; // counts as idle until it takes its first block
        std::thread([state] { workerLoop(state); }).detach();
    }
}

// The pool whose worker the calling thread is, if any.
thread_local const ThreadPool::State* t_ownPool = nullptr;

void workerLoop(const std::shared_ptr<ThreadPool::State>& state) {
    t_ownPool = state.get();
    std::unique_lock lock(state->mutex);
    for (;;) {
        const bool gotWork = state->workAvailable.wait_for(
            lock, state->expiry, [&] { return state->closing || !state->pending.empty(); });
        if (!gotWork || state->pending.empty() || state->threads > state->maxThreads) {
            if (!gotWork || state->closing || state->threads > state->maxThreads) {
                --state->idle;
                --state->threads;
                state->changed.notify_all();
                return;
            }
            continue;
        }
        std::function<void()> work = std::move(state->pending.front());
        state->pending.pop_front();
        --state->idle;
        ++state->active;
        lock.unlock();
        work();
        work = nullptr; // captured state goes before the pool counts the block as done
        g_outstandingBlocks.fetch_sub(1);
        lock.lock();
        --state->active;
        ++state->idle;
        state->changed.notify_all();
    }
}

} // namespace

ThreadPool::ThreadPool(int maxThreadCount, int expiryMs) : m_state(std::make_shared<State>()) {
    m_state->maxThreads = std::max(1, maxThreadCount);
    m_state->expiry = std::chrono::milliseconds(std::max(1, expiryMs));
}

ThreadPool::~ThreadPool() {
    waitForDone();
    std::unique_lock lock(m_state->mutex);
    m_state->closing = true;
    m_state->workAvailable.notify_all();
    // Threads that end after this only touch the shared state, which they keep alive.
}

void ThreadPool::start(std::function<void()> work) {
    std::lock_guard lock(m_state->mutex);
    g_outstandingBlocks.fetch_add(1);
    m_state->pending.push_back(std::move(work));
    growLocked(m_state);
    m_state->workAvailable.notify_one();
}

int ThreadPool::maxThreadCount() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->maxThreads;
}

void ThreadPool::setMaxThreadCount(int count) {
    std::lock_guard lock(m_state->mutex);
    m_state->maxThreads = std::max(1, count);
    growLocked(m_state);
}

void ThreadPool::waitForDone() {
    // Called from one of the pool's own blocks, the block itself is still running: waiting
    // for it would never end.
    const int self = t_ownPool == m_state.get() ? 1 : 0;
    std::unique_lock lock(m_state->mutex);
    m_state->changed.wait(lock,
                          [&] { return m_state->pending.empty() && m_state->active <= self; });
}

int ThreadPool::outstandingBlocksInProcess() {
    return g_outstandingBlocks.load();
}

void ThreadPool::addOutstandingBlocks(int delta) {
    g_outstandingBlocks.fetch_add(delta);
}
