#pragma once

#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class ThreadPool;

// One unit of work for an OperationQueue. Subclasses override main(); long work should
// look at isCancelled() now and then and return early.
class Operation {
public:
    Operation() = default;
    virtual ~Operation() = default;
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

    virtual void main() = 0;
    // Marks the operation cancelled. One that has not started is dropped by its queue; one
    // that runs sees isCancelled() and decides itself when to stop.
    void cancel() { m_cancelled.store(true); }
    bool isCancelled() const { return m_cancelled.load(); }
    bool isFinished() const { return m_finished.load(); }

private:
    friend class OperationQueue;
    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_finished{false};
};

// Runs operations with at most maxConcurrentOperationCount() at once, in the order they
// were added. By default it runs them on threads of its own; given a pool, it runs them
// there (so several queues can share one set of threads) while still keeping its own limit.
class OperationQueue final {
public:
    explicit OperationQueue(QString name = {}, ThreadPool* pool = nullptr);
    // Cancels what has not started and waits for the running operations.
    ~OperationQueue();
    OperationQueue(const OperationQueue&) = delete;
    OperationQueue& operator=(const OperationQueue&) = delete;

    QString name() const;
    void setName(const QString& name);
    int maxConcurrentOperationCount() const;
    // A count of 1 makes the queue serial. Values below 1 count as 1.
    void setMaxConcurrentOperationCount(int count);

    void addOperation(std::shared_ptr<Operation> operation);
    void addOperationWithBlock(std::function<void()> block);
    // Cancels every operation of the queue; those that have not started never run.
    void cancelAllOperations();
    // Blocks until no operation is waiting or running.
    void waitUntilAllOperationsAreFinished();
    // Operations waiting or running.
    int operationCount() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};
