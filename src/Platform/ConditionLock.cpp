#include "ConditionLock.h"

#include <chrono>

int ConditionLock::condition() const {
    std::lock_guard guard(m_mutex);
    return m_condition;
}

void ConditionLock::lock() {
    std::unique_lock guard(m_mutex);
    m_changed.wait(guard, [this] { return !m_locked; });
    m_locked = true;
}

void ConditionLock::unlock() {
    {
        std::lock_guard guard(m_mutex);
        m_locked = false;
    }
    m_changed.notify_all();
}

bool ConditionLock::tryLock() {
    std::lock_guard guard(m_mutex);
    if (m_locked)
        return false;
    m_locked = true;
    return true;
}

void ConditionLock::lockWhenCondition(int condition) {
    std::unique_lock guard(m_mutex);
    m_changed.wait(guard, [&] { return !m_locked && m_condition == condition; });
    m_locked = true;
}

bool ConditionLock::tryLockWhenCondition(int condition) {
    std::lock_guard guard(m_mutex);
    if (m_locked || m_condition != condition)
        return false;
    m_locked = true;
    return true;
}

bool ConditionLock::lockWhenCondition(int condition, int timeoutMs) {
    std::unique_lock guard(m_mutex);
    if (!m_changed.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                            [&] { return !m_locked && m_condition == condition; }))
        return false;
    m_locked = true;
    return true;
}

void ConditionLock::unlockWithCondition(int condition) {
    {
        std::lock_guard guard(m_mutex);
        m_condition = condition;
        m_locked = false;
    }
    m_changed.notify_all();
}
