#include "OperationQueue.h"

#include "ThreadPool.h"

#include <condition_variable>
#include <deque>
#include <mutex>

namespace {

class BlockOperation final : public Operation {
public:
    explicit BlockOperation(std::function<void()> block) : m_block(std::move(block)) {}
    void main() override { m_block(); }

private:
    std::function<void()> m_block;
};

} // namespace

struct OperationQueue::State : std::enable_shared_from_this<OperationQueue::State> {
    mutable std::mutex mutex;
    std::condition_variable idle;
    QString name;
    int maxConcurrent = 1;
    int running = 0;  // runners submitted and not yet ended
    int starting = 0; // runners submitted that have not yet taken their first look
    std::deque<std::shared_ptr<Operation>> pending;
    ThreadPool* pool = nullptr;
    std::unique_ptr<ThreadPool> ownPool;

    // Starts runners while there is work and room. Called with the mutex held.
    void startRunners() {
        while (running<maxConcurrent&& static_cast<int>(pending.size())> starting) {
            ++running;
            ++starting;
            if (ownPool && ownPool->maxThreadCount() < maxConcurrent)
                ownPool->setMaxThreadCount(maxConcurrent);
            pool->start([self = shared_from_this()] { self->runLoop(); });
        }
    }

    // One runner: takes operations until none is left, then ends.
    void runLoop() {
        bool first = true;
        for (;;) {
            std::shared_ptr<Operation> operation;
            {
                std::unique_lock lock(mutex);
                if (first) {
                    --starting;
                    first = false;
                }
                while (!pending.empty() && pending.front()->isCancelled()) {
                    pending.front()->m_finished.store(true);
                    pending.pop_front();
                }
                if (pending.empty() || running > maxConcurrent) {
                    --running;
                    if (running == 0 && pending.empty())
                        idle.notify_all();
                    return;
                }
                operation = std::move(pending.front());
                pending.pop_front();
            }
            operation->main();
            operation->m_finished.store(true);
        }
    }
};

OperationQueue::OperationQueue(QString name, ThreadPool* pool)
    : m_state(std::make_shared<State>()) {
    m_state->name = std::move(name);
    if (pool) {
        m_state->pool = pool;
    } else {
        m_state->ownPool = std::make_unique<ThreadPool>(1, 5000);
        m_state->pool = m_state->ownPool.get();
    }
}

OperationQueue::~OperationQueue() {
    cancelAllOperations();
    waitUntilAllOperationsAreFinished();
    // The last runner may still hold the state for a moment after it ended. The own pool is
    // ended here, on the owner's thread, and not with the state: a pool thread letting go of
    // the state would otherwise wait for its own pool, that is for itself.
    std::unique_ptr<ThreadPool> ownPool;
    {
        std::lock_guard lock(m_state->mutex);
        ownPool = std::move(m_state->ownPool);
    }
}

QString OperationQueue::name() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->name;
}

void OperationQueue::setName(const QString& name) {
    std::lock_guard lock(m_state->mutex);
    m_state->name = name;
}

int OperationQueue::maxConcurrentOperationCount() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->maxConcurrent;
}

void OperationQueue::setMaxConcurrentOperationCount(int count) {
    std::lock_guard lock(m_state->mutex);
    m_state->maxConcurrent = std::max(1, count);
    m_state->startRunners();
}

void OperationQueue::addOperation(std::shared_ptr<Operation> operation) {
    if (!operation)
        return;
    std::lock_guard lock(m_state->mutex);
    m_state->pending.push_back(std::move(operation));
    m_state->startRunners();
}

void OperationQueue::addOperationWithBlock(std::function<void()> block) {
    addOperation(std::make_shared<BlockOperation>(std::move(block)));
}

void OperationQueue::cancelAllOperations() {
    std::lock_guard lock(m_state->mutex);
    for (auto& operation : m_state->pending)
        operation->cancel();
}

void OperationQueue::waitUntilAllOperationsAreFinished() {
    std::unique_lock lock(m_state->mutex);
    m_state->idle.wait(lock, [this] { return m_state->running == 0 && m_state->pending.empty(); });
}

int OperationQueue::operationCount() const {
    std::lock_guard lock(m_state->mutex);
    return static_cast<int>(m_state->pending.size()) + m_state->running;
}
