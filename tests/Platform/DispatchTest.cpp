#include "Platform/Dispatch.h"
#include "Platform/ConditionLock.h"
#include "Platform/OperationQueue.h"
#include "Platform/ThreadPool.h"
#include "TestSupport.h"

#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace Dispatch;

namespace {

// Spins until `peak` has reached `wanted`, for at most five seconds (a queue that never
// lets that many run at once then shows in the peak).
void waitUntilPeak(const std::atomic<int>& peak, int wanted) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (peak.load() < wanted && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
}

} // namespace

TEST(SerialQueue, KeepsOrderAndNeverOverlapsUnderConcurrentProducers) {
    SerialQueue queue("test.serial");
    constexpr int kProducers = 4;
    constexpr int kPerProducer = 500;
    std::atomic<int> inside{0};
    std::atomic<bool> overlapped{false};
    std::mutex seenMutex;
    std::vector<std::vector<int>> seen(kProducers);

    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p) {
        producers.emplace_back([&, p] {
            for (int i = 0; i < kPerProducer; ++i) {
                queue.async([&, p, i] {
                    if (inside.fetch_add(1) != 0)
                        overlapped = true;
                    {
                        std::lock_guard lock(seenMutex);
                        seen[p].push_back(i);
                    }
                    inside.fetch_sub(1);
                });
            }
        });
    }
    for (auto& t : producers)
        t.join();
    queue.sync([] {});

    EXPECT_FALSE(overlapped.load());
    for (int p = 0; p < kProducers; ++p) {
        ASSERT_EQ(static_cast<int>(seen[p].size()), kPerProducer);
        for (int i = 0; i < kPerProducer; ++i)
            ASSERT_EQ(seen[p][i], i) << "producer " << p;
    }
}

TEST(SerialQueue, RunsPendingWorkBeforeItsThreadEnds) {
    std::atomic<int> ran{0};
    {
        SerialQueue queue("test.drain");
        for (int i = 0; i < 100; ++i)
            queue.async([&] { ran.fetch_add(1); });
    }
    ASSERT_TRUE(TestSupport::waitFor([&] { return ran.load() == 100; }));
}

// Every index runs exactly once and all have run when apply() returns, from the main thread
// and from a block of the global queue alike; the caller takes indices too, so a pass
// whose helpers are slow to start still ends. A single index never leaves the caller.
TEST(Apply, RunsEveryIndexOnceAndReturnsOnceAllHaveRun) {
    for (const std::size_t count :
         {std::size_t(0), std::size_t(1), std::size_t(7), std::size_t(2000)}) {
        for (const bool onGlobalQueue : {false, true}) {
            std::vector<std::atomic<int>> runs(count);
            std::atomic<bool> sawOtherThread{false};
            const auto pass = [&] {
                const auto self = std::this_thread::get_id();
                apply(count, [&](std::size_t i) {
                    if (std::this_thread::get_id() != self)
                        sawOtherThread = true;
                    if (i % 64 == 0)
                        std::this_thread::sleep_for(std::chrono::microseconds(200));
                    runs[i].fetch_add(1);
                });
                for (std::size_t i = 0; i < count; ++i) {
                    EXPECT_EQ(runs[i].load(), 1) << "index " << i << " of " << count;
                }
            };
            if (onGlobalQueue) {
                DispatchGroup group;
                group.async(globalQueue(), pass);
                ASSERT_TRUE(group.wait(10000));
            } else {
                pass();
            }
            if (count < 2) {
                EXPECT_FALSE(sawOtherThread.load());
            }
        }
    }
}

// Slices cover every item once, the last one shorter, and an empty range runs nothing.
TEST(Apply, SlicesCoverEveryItemOnce) {
    for (const std::size_t total : {std::size_t(0), std::size_t(4096), std::size_t(10001)}) {
        std::vector<std::atomic<int>> runs(total);
        std::atomic<std::size_t> slices{0};
        applyInSlices(total, 4096, [&](std::size_t begin, std::size_t end) {
            EXPECT_LT(begin, end);
            EXPECT_LE(end - begin, 4096u);
            slices.fetch_add(1);
            for (std::size_t i = begin; i < end; ++i)
                runs[i].fetch_add(1);
        });
        EXPECT_EQ(slices.load(), (total + 4095) / 4096);
        for (std::size_t i = 0; i < total; ++i) {
            EXPECT_EQ(runs[i].load(), 1) << "item " << i << " of " << total;
        }
    }
}

TEST(DispatchGroup, WaitTimesOutThenSucceeds) {
    DispatchGroup group;
    std::atomic<bool> release{false};
    group.async(globalQueue(), [&] {
        while (!release.load())
            QThread::msleep(1);
    });
    EXPECT_FALSE(group.wait(50));
    release = true;
    EXPECT_TRUE(group.wait(5000));
}

TEST(DispatchGroup, NotifyRunsOnceTheGroupIsEmpty) {
    DispatchGroup group;
    std::atomic<int> finished{0};
    bool notified = false;
    for (int i = 0; i < 8; ++i)
        group.async(globalQueue(), [&] { finished.fetch_add(1); });
    group.notify(mainQueue(), [&] {
        EXPECT_EQ(finished.load(), 8);
        EXPECT_TRUE(isMainThread());
        notified = true;
    });
    ASSERT_TRUE(TestSupport::waitFor([&] { return notified; }));
}

TEST(MainQueue, MainAndDelayedWorkRunOnTheMainThreadInOrder) {
    std::vector<int> order;
    std::atomic<bool> fromWorker{false};
    std::thread worker([&] {
        mainQueue().async([&] {
            EXPECT_TRUE(isMainThread());
            order.push_back(1);
        });
        mainQueue().async([&] {
            EXPECT_TRUE(isMainThread());
            order.push_back(2);
        });
        after(30, mainQueue(), [&] {
            EXPECT_TRUE(isMainThread());
            order.push_back(4);
        });
        fromWorker = true;
    });
    worker.join();
    after(10, mainQueue(), [&] {
        EXPECT_TRUE(isMainThread());
        order.push_back(3);
    });
    ASSERT_TRUE(TestSupport::waitFor([&] { return order.size() == 4; }));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
}

TEST(MainQueue, DelayedWorkOnASerialQueueRunsThere) {
    SerialQueue queue("test.after");
    std::atomic<bool> ran{false};
    after(5, queue, [&] {
        EXPECT_TRUE(queue.isCurrent());
        ran = true;
    });
    ASSERT_TRUE(TestSupport::waitFor([&] { return ran.load(); }));
}

TEST(SlicedMainWork, RunsJobsInOrderAndLetsTheEventLoopTurnBetweenTurns) {
    SlicedMainWork work(std::chrono::milliseconds(8));
    std::vector<std::string> order;
    int steps = 0;
    // Each step of the first job takes 3 ms, so 20 of them need several turns.
    work.add([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
        order.push_back(steps == 0 ? "first" : "");
        if (steps == 1)
            work.addOnce([&] { order.push_back("added from a step"); });
        return ++steps < 20;
    });
    work.addOnce([&] { order.push_back("second"); });
    EXPECT_FALSE(work.isIdle());
    // Nothing runs inside add().
    EXPECT_EQ(steps, 0);
    bool timerFired = false;
    int stepsWhenTimerFired = -1;
    QTimer::singleShot(0, [&] {
        timerFired = true;
        stepsWhenTimerFired = steps;
    });
    ASSERT_TRUE(TestSupport::waitFor([&] { return work.isIdle(); }));
    EXPECT_EQ(steps, 20);
    ASSERT_TRUE(timerFired);
    EXPECT_LT(stepsWhenTimerFired, 20);
    order.erase(std::remove(order.begin(), order.end(), std::string()), order.end());
    EXPECT_EQ(order, (std::vector<std::string>{"first", "second", "added from a step"}));

    // A step that turns the event loop itself (a modal wait) still holds back the jobs
    // after it.
    order.clear();
    work.addOnce([&] {
        work.addOnce([&] { order.push_back("added while spinning"); });
        TestSupport::spinFor(30);
        order.push_back("spinning step");
    });
    work.addOnce([&] { order.push_back("next"); });
    ASSERT_TRUE(TestSupport::waitFor([&] { return work.isIdle(); }));
    EXPECT_EQ(order, (std::vector<std::string>{"spinning step", "next", "added while spinning"}));
}

TEST(SlicedMainWork, AJobMayEndTheLifeOfItsOwnerAndWaitingJobsThenNeverRun) {
    auto work = std::make_unique<SlicedMainWork>();
    bool stepRanOn = false;
    bool laterRan = false;
    work->addOnce([&] {
        work.reset();
        stepRanOn = true;
    });
    work->addOnce([&] { laterRan = true; });
    ASSERT_TRUE(TestSupport::waitFor([&] { return stepRanOn; }));
    TestSupport::spinFor(30);
    EXPECT_FALSE(laterRan);

    auto dropped = std::make_unique<SlicedMainWork>();
    bool ran = false;
    dropped->addOnce([&] { ran = true; });
    dropped.reset();
    TestSupport::spinFor(30);
    EXPECT_FALSE(ran);
}

TEST(OperationQueue, CancelAllDropsOperationsThatHaveNotStarted) {
    OperationQueue queue("test.operations");
    queue.setMaxConcurrentOperationCount(1);
    std::atomic<bool> release{false};
    std::atomic<bool> firstStarted{false};
    std::atomic<int> ran{0};
    queue.addOperationWithBlock([&] {
        firstStarted = true;
        while (!release.load())
            QThread::msleep(1);
        ran.fetch_add(1);
    });
    for (int i = 0; i < 5; ++i)
        queue.addOperationWithBlock([&] { ran.fetch_add(1); });
    ASSERT_TRUE(TestSupport::waitFor([&] { return firstStarted.load(); }));
    queue.cancelAllOperations();
    release = true;
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(ran.load(), 1);
    EXPECT_EQ(queue.operationCount(), 0);
}

TEST(OperationQueue, RunsAtMostTheMaximumAtOnce) {
    OperationQueue queue("test.limit");
    queue.setMaxConcurrentOperationCount(3);
    std::atomic<int> inside{0};
    std::atomic<int> peak{0};
    for (int i = 0; i < 24; ++i) {
        queue.addOperationWithBlock([&] {
            const int now = inside.fetch_add(1) + 1;
            int seen = peak.load();
            while (now > seen && !peak.compare_exchange_weak(seen, now)) {
            }
            // Stay inside until the limit was reached once (a fourth would show), whatever
            // the order the threads happen to start in.
            waitUntilPeak(peak, 3);
            inside.fetch_sub(1);
        });
    }
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(peak.load(), 3);
}

TEST(ConditionLock, HandsWorkBackAndForth) {
    ConditionLock lock(0);
    std::vector<int> trace;
    std::thread other([&] {
        for (int i = 0; i < 3; ++i) {
            lock.lockWhenCondition(1);
            trace.push_back(1);
            lock.unlockWithCondition(0);
        }
    });
    for (int i = 0; i < 3; ++i) {
        lock.lockWhenCondition(0);
        trace.push_back(0);
        lock.unlockWithCondition(1);
    }
    other.join();
    EXPECT_EQ(trace, (std::vector<int>{0, 1, 0, 1, 0, 1}));
    EXPECT_FALSE(lock.lockWhenCondition(1, 20));
    EXPECT_TRUE(lock.tryLockWhenCondition(0));
    EXPECT_FALSE(lock.tryLock());
    lock.unlock();
}

TEST(ThreadPool, RunsEveryBlockWithinItsLimitAndWaitsForThem) {
    ThreadPool pool(3, 50);
    std::atomic<int> inside{0};
    std::atomic<int> peak{0};
    std::atomic<int> ran{0};
    for (int i = 0; i < 40; ++i) {
        pool.start([&] {
            const int now = inside.fetch_add(1) + 1;
            int seen = peak.load();
            while (now > seen && !peak.compare_exchange_weak(seen, now)) {
            }
            waitUntilPeak(peak, 3);
            inside.fetch_sub(1);
            ran.fetch_add(1);
        });
    }
    pool.waitForDone();
    EXPECT_EQ(ran.load(), 40);
    EXPECT_EQ(peak.load(), 3);

    // Idle threads expire; the pool still takes new work afterwards.
    QThread::msleep(120);
    pool.start([&] { ran.fetch_add(1); });
    pool.waitForDone();
    EXPECT_EQ(ran.load(), 41);
}
