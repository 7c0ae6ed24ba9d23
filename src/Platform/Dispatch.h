#pragma once

#include <QString>

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>

// Queues in the manner the rest of the engine expects of them: a main queue that runs work
// on the Qt event loop of the main thread, labelled serial queues that run one block at a
// time in order, a global concurrent queue, groups that can be waited for, and delayed work.
namespace Dispatch {

using Work = std::function<void()>;

class Queue {
public:
    virtual ~Queue() = default;
    // Runs `work` later on this queue; returns at once.
    virtual void async(Work work) = 0;
    // Runs `work` on this queue and returns when it has run. Never call it for a serial
    // queue from that queue's own thread (it would wait for itself), nor for the main queue
    // from the main thread: there `work` runs at once.
    virtual void sync(Work work);
    virtual QString label() const = 0;
};

// The main thread's queue: work is posted into the Qt event loop of the application object
// and runs in posting order. Needs a QCoreApplication; work posted before the loop runs
// waits for it.
Queue& mainQueue();

// True on the thread of the application object.
bool isMainThread();

// The global concurrent queue of default priority: work runs on a shared pool of threads,
// several blocks at once, in no guaranteed order.
Queue& globalQueue();

// Waits until no block is waiting or running on the global queue, any serial queue or any
// thread pool of the process; on the main thread it runs the main queue and the event loop
// meanwhile (and counts main-queue work too). Answers false when `timeoutMs` (negative: for
// ever) passed first. The application and the tests call it before they end, so no worker
// still runs while the process tears down its statics.
bool waitUntilIdle(int timeoutMs = -1);

// A serial queue with its own worker thread: blocks run one at a time, in the order they
// were added, never overlapping. The queue may be destroyed from any thread, its own
// included; blocks already added still run before its thread ends.
class SerialQueue final : public Queue {
public:
    explicit SerialQueue(QString label);
    ~SerialQueue() override;
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    void async(Work work) override;
    void sync(Work work) override;
    QString label() const override { return m_label; }
    // True when called from a block that this queue is running.
    bool isCurrent() const;

private:
    struct State;
    QString m_label;
    std::shared_ptr<State> m_state;
};

// A count of outstanding work. wait() blocks until the count is back at zero; notify()
// runs a block on a queue once it is.
class DispatchGroup final {
public:
    DispatchGroup();
    void enter();
    void leave();
    // Waits until every entered piece of work has left. Answers false when `timeoutMs`
    // (negative: for ever) passed first.
    bool wait(int timeoutMs = -1);
    // Runs `work` on `queue` as soon as the group is empty (at once when it already is).
    void notify(Queue& queue, Work work);
    // Runs `work` on `queue` inside the group.
    void async(Queue& queue, Work work);

private:
    struct State;
    std::shared_ptr<State> m_state;
};

// Long work of the main thread cut into short steps, so the interface stays responsive
// however large the model it walks. Jobs run one after the other in the order they were
// added; a job is a step called again and again until it answers false. Steps run back to
// back until a turn has used its budget, then the event loop turns (input, timers,
// painting) before the next turn. A job added from a step runs after the jobs before it.
// Main thread only. Jobs still waiting when the object is destroyed never run.
class SlicedMainWork final {
public:
    // Does a little of the job; false once the job is complete.
    using Step = std::function<bool()>;

    explicit SlicedMainWork(std::chrono::milliseconds budget = std::chrono::milliseconds(8));
    ~SlicedMainWork();
    SlicedMainWork(const SlicedMainWork&) = delete;
    SlicedMainWork& operator=(const SlicedMainWork&) = delete;

    void add(Step step);
    // A job done in one go.
    void addOnce(Work work);
    // No job waiting or under way.
    bool isIdle() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

// Runs `work(i)` for every `i` below `count` and returns once all have run: the calling
// thread takes them in turn, and up to `helpers` blocks of the global queue take them too,
// each the next one not taken yet. The caller never waits for a helper to start (a helper
// that starts after the last one was taken touches nothing), only for those under way, so it
// may be called while the global queue is busy. For read-only passes over a large result on
// the main thread's behalf: nothing changes the result while the main thread waits here.
void apply(std::size_t count, const std::function<void(std::size_t)>& work, int helpers = 3);
// The same over `total` items in slices of `slice` (the last one shorter): `work(begin, end)`
// for each slice.
void applyInSlices(std::size_t total, std::size_t slice,
                   const std::function<void(std::size_t begin, std::size_t end)>& work,
                   int helpers = 3);

// Runs `work` on `queue` after `ms` milliseconds. The delay is kept by a timer on the main
// thread's event loop, so it needs a running QCoreApplication.
void after(int ms, Queue& queue, Work work);

} // namespace Dispatch
