#pragma once

#include <functional>
#include <memory>

// A pool of worker threads made on demand up to a maximum; idle threads end after a while.
// Built on the standard library's threads and locks (not QThreadPool) so that every
// hand-off between threads is visible to ThreadSanitizer.
class ThreadPool final {
public:
    explicit ThreadPool(int maxThreadCount, int expiryMs = 10000);
    // Waits for every started block, then lets the threads end.
    ~ThreadPool();
    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;

    // Runs `work` on a pool thread as soon as one is free, in starting order.
    void start(std::function<void()> work);
    int maxThreadCount() const;
    // Values below 1 count as 1. Raising the maximum starts threads for waiting work.
    void setMaxThreadCount(int count);
    // Blocks until no block is waiting or running (but the calling one, when a block of this
    // pool calls it).
    void waitForDone();
    // Blocks waiting or running in all pools of the process together; 0 when every pool is
    // idle. A block counts until its captured state has been destroyed.
    static int outstandingBlocksInProcess();
    // For the platform's other queues (serial queues): their blocks count into the same
    // total, so that a hand-off from one kind of queue to the other never shows a gap.
    static void addOutstandingBlocks(int delta);

    struct State; // opaque; shared with the worker threads, which may outlive the pool

private:
    std::shared_ptr<State> m_state;
};
