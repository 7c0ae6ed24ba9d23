#pragma once

#include <condition_variable>
#include <mutex>

// A lock that carries an integer condition: a thread can wait until the lock is free and the
// condition has a given value, and sets the next value as it unlocks. Walker threads hand
// work to each other through one of these each.
class ConditionLock final {
public:
    explicit ConditionLock(int condition = 0) : m_condition(condition) {}
    ConditionLock(const ConditionLock&) = delete;
    ConditionLock& operator=(const ConditionLock&) = delete;

    int condition() const;
    void lock();
    void unlock();
    bool tryLock();
    void lockWhenCondition(int condition);
    bool tryLockWhenCondition(int condition);
    // Waits at most `timeoutMs` for the condition; answers whether the lock was taken.
    bool lockWhenCondition(int condition, int timeoutMs);
    // Sets the condition, releases the lock and wakes every waiter.
    void unlockWithCondition(int condition);

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_condition;
    bool m_locked = false;
};
