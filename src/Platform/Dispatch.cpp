#include "Dispatch.h"

#include "ThreadPool.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <thread>

namespace Dispatch {

void Queue::sync(Work work) {
    std::promise<void> done;
    auto finished = done.get_future();
    async([&work, &done] {
        work();
        done.set_value();
    });
    finished.wait();
}

namespace {

class MainQueue final : public Queue {
public:
    // Blocks wait in a queue of our own, guarded by a standard mutex, and one queued call
    // into the event loop drains them: posting order is kept, and the hand-off between the
    // posting thread and the main thread is visible to ThreadSanitizer.
    void async(Work work) override {
        QCoreApplication* app = QCoreApplication::instance();
        if (!app)
            return;
        std::lock_guard lock(m_mutex);
        m_pending.push_back(std::move(work));
        if (m_drainPosted)
            return;
        m_drainPosted = true;
        // Qt's own hand-off of the posted call is invisible to ThreadSanitizer, so the call
        // carries no data (it captures nothing) and is posted under the lock: by the time the
        // main thread deletes it, drain() has taken the lock and so ordered itself after the
        // call's making.
        QMetaObject::invokeMethod(
            app, [] { static_cast<MainQueue&>(mainQueue()).drain(); }, Qt::QueuedConnection);
    }
    void sync(Work work) override {
        if (isMainThread()) {
            work();
            return;
        }
        Queue::sync(std::move(work));
    }
    QString label() const override { return QStringLiteral("com.apple.main-thread"); }
    bool hasPending() {
        std::lock_guard lock(m_mutex);
        return !m_pending.empty();
    }

private:
    void drain() {
        std::deque<Work> batch;
        {
            std::lock_guard lock(m_mutex);
            batch.swap(m_pending);
            m_drainPosted = false;
        }
        for (Work& work : batch)
            work();
    }

    std::mutex m_mutex;
    std::deque<Work> m_pending;
    bool m_drainPosted = false;
};

class GlobalQueue final : public Queue {
public:
    // Blocks on this queue may wait for one another (a group wait, a serial queue's sync),
    // so the pool is allowed well more threads than cores.
    GlobalQueue() : m_pool(std::max(64, QThread::idealThreadCount() * 8)) {}
    void async(Work work) override { m_pool.start(std::move(work)); }
    QString label() const override { return QStringLiteral("com.apple.root.default-qos"); }

private:
    ThreadPool m_pool;
};

} // namespace

// Neither queue is ever destroyed: work may still post to them while the process ends, and
// the global pool's end would wait for its blocks.
Queue& mainQueue() {
    static auto* const queue = new MainQueue;
    return *queue;
}

bool isMainThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

Queue& globalQueue() {
    static auto* const queue = new GlobalQueue;
    return *queue;
}

static bool mainQueueHasPendingWork() {
    return static_cast<MainQueue&>(mainQueue()).hasPending();
}

bool waitUntilIdle(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    const bool onMainThread = isMainThread();
    for (;;) {
        // Main-queue work may start more work on the pools, so it runs here too.
        if (onMainThread) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        }
        // The count first: a block posts to the main queue before it counts as done.
        if (ThreadPool::outstandingBlocksInProcess() == 0 &&
            (!onMainThread || !mainQueueHasPendingWork()))
            return true;
        if (timeoutMs >= 0 && std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// ---- SerialQueue ----

struct SerialQueue::State {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Work> pending;
    bool closing = false;
    std::thread::id workerId;
};

SerialQueue::SerialQueue(QString label)
    : m_label(std::move(label)), m_state(std::make_shared<State>()) {
    std::thread worker([state = m_state] {
        for (;;) {
            Work work;
            {
                std::unique_lock lock(state->mutex);
                state->wake.wait(lock, [&] { return state->closing || !state->pending.empty(); });
                if (state->pending.empty())
                    return; // closing and drained
                work = std::move(state->pending.front());
                state->pending.pop_front();
            }
            work();
            // Captured state goes before the block counts as done.
            work = nullptr;
            ThreadPool::addOutstandingBlocks(-1);
        }
    });
    {
        std::lock_guard lock(m_state->mutex);
        m_state->workerId = worker.get_id();
    }
    // The thread keeps the state alive through its own reference; it ends once the queue is
    // closed and drained, so it never needs joining.
    worker.detach();
}

SerialQueue::~SerialQueue() {
    {
        std::lock_guard lock(m_state->mutex);
        m_state->closing = true;
    }
    m_state->wake.notify_all();
}

void SerialQueue::async(Work work) {
    {
        std::lock_guard lock(m_state->mutex);
        ThreadPool::addOutstandingBlocks(1);
        m_state->pending.push_back(std::move(work));
    }
    m_state->wake.notify_one();
}

void SerialQueue::sync(Work work) {
    if (isCurrent()) {
        work();
        return;
    }
    Queue::sync(std::move(work));
}

bool SerialQueue::isCurrent() const {
    std::lock_guard lock(m_state->mutex);
    return std::this_thread::get_id() == m_state->workerId;
}

// ---- DispatchGroup ----

struct DispatchGroup::State {
    std::mutex mutex;
    std::condition_variable empty;
    long count = 0;
    std::vector<std::pair<Queue*, Work>> notifications;
};

DispatchGroup::DispatchGroup() : m_state(std::make_shared<State>()) {}

void DispatchGroup::enter() {
    std::lock_guard lock(m_state->mutex);
    ++m_state->count;
}

void DispatchGroup::leave() {
    std::vector<std::pair<Queue*, Work>> ready;
    {
        std::lock_guard lock(m_state->mutex);
        if (m_state->count > 0)
            --m_state->count;
        if (m_state->count != 0)
            return;
        ready.swap(m_state->notifications);
    }
    m_state->empty.notify_all();
    for (auto& [queue, work] : ready)
        queue->async(std::move(work));
}

bool DispatchGroup::wait(int timeoutMs) {
    std::unique_lock lock(m_state->mutex);
    auto isEmpty = [this] { return m_state->count == 0; };
    if (timeoutMs < 0) {
        m_state->empty.wait(lock, isEmpty);
        return true;
    }
    return m_state->empty.wait_for(lock, std::chrono::milliseconds(timeoutMs), isEmpty);
}

void DispatchGroup::notify(Queue& queue, Work work) {
    {
        std::lock_guard lock(m_state->mutex);
        if (m_state->count != 0) {
            m_state->notifications.emplace_back(&queue, std::move(work));
            return;
        }
    }
    queue.async(std::move(work));
}

void DispatchGroup::async(Queue& queue, Work work) {
    enter();
    queue.async([state = *this, work = std::move(work)]() mutable {
        work();
        state.leave();
    });
}

// ---- SlicedMainWork ----

struct SlicedMainWork::State : std::enable_shared_from_this<SlicedMainWork::State> {
    std::chrono::milliseconds budget{8};
    // The jobs waiting, in order; the one under way is taken out while its step runs.
    std::deque<Step> jobs;
    bool turnPosted = false;
    bool running = false;
    bool alive = true;

    void postTurn() {
        if (turnPosted || jobs.empty())
            return;
        turnPosted = true;
        mainQueue().async([weak = weak_from_this()] {
            if (const auto state = weak.lock())
                state->turn();
        });
    }

    void turn() {
        turnPosted = false;
        // A step that runs an event loop of its own: the jobs after it wait for it, and the
        // turn that runs it posts the next one.
        if (running)
            return;
        // Held for the turn: a step may end the life of the object that owns this state.
        const auto keep = shared_from_this();
        const auto end = std::chrono::steady_clock::now() + budget;
        while (alive && !jobs.empty()) {
            // Taken out while it runs, so nothing the step does can destroy it under itself.
            Step step = std::move(jobs.front());
            jobs.pop_front();
            running = true;
            const bool more = step();
            running = false;
            if (more && alive)
                jobs.push_front(std::move(step));
            if (std::chrono::steady_clock::now() >= end)
                break;
        }
        if (alive)
            postTurn();
    }
};

SlicedMainWork::SlicedMainWork(std::chrono::milliseconds budget)
    : m_state(std::make_shared<State>()) {
    m_state->budget = budget;
}

SlicedMainWork::~SlicedMainWork() {
    // A turn under way keeps the state to its end; the jobs left go now, and no later turn
    // runs them.
    m_state->alive = false;
    std::deque<Step> dropped;
    dropped.swap(m_state->jobs);
}

void SlicedMainWork::add(Step step) {
    if (!step)
        return;
    m_state->jobs.push_back(std::move(step));
    m_state->postTurn();
}

void SlicedMainWork::addOnce(Work work) {
    if (!work)
        return;
    add([work = std::move(work)] {
        work();
        return false;
    });
}

bool SlicedMainWork::isIdle() const {
    return m_state->jobs.empty() && !m_state->running;
}

// ---- apply ----

void apply(std::size_t count, const std::function<void(std::size_t)>& work, int helpers) {
    if (count == 0)
        return;
    struct Shared {
        // The caller's, valid while any index is left to take or under way.
        const std::function<void(std::size_t)>* work = nullptr;
        std::size_t count = 0;
        std::atomic<std::size_t> next{0};
        std::atomic<std::size_t> done{0};
        std::mutex mutex;
        std::condition_variable allDone;
    };
    auto shared = std::make_shared<Shared>();
    shared->work = &work;
    shared->count = count;
    const auto take = [](Shared& s) {
        for (std::size_t i = s.next++; i < s.count; i = s.next++) {
            (*s.work)(i);
            if (s.done.fetch_add(1) + 1 == s.count) {
                const std::lock_guard lock(s.mutex);
                s.allDone.notify_all();
            }
        }
    };
    const std::size_t others = std::min(std::size_t(std::max(helpers, 0)), count - 1);
    for (std::size_t h = 0; h < others; ++h)
        globalQueue().async([shared, take] { take(*shared); });
    take(*shared);
    std::unique_lock lock(shared->mutex);
    shared->allDone.wait(lock, [&] { return shared->done.load() == count; });
}

void applyInSlices(std::size_t total, std::size_t slice,
                   const std::function<void(std::size_t begin, std::size_t end)>& work,
                   int helpers) {
    if (slice == 0)
        slice = 1;
    apply((total + slice - 1) / slice,
          [&](std::size_t i) { work(i * slice, std::min(total, (i + 1) * slice)); }, helpers);
}

// ---- after ----

void after(int ms, Queue& queue, Work work) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    auto arm = [ms, &queue, work = std::move(work)]() mutable {
        QTimer::singleShot(ms, QCoreApplication::instance(),
                           [&queue, work = std::move(work)]() mutable {
                               if (&queue == &mainQueue())
                                   work();
                               else
                                   queue.async(std::move(work));
                           });
    };
    if (isMainThread())
        arm();
    else
        mainQueue().async(std::move(arm));
}

} // namespace Dispatch
