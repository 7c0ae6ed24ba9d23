#include "Scanner/PromoClock.h"

#include <mutex>

namespace {

std::mutex& clockMutex() {
    static std::mutex mutex;
    return mutex;
}

std::function<QDateTime()>& clockFunction() {
    static std::function<QDateTime()> function;
    return function;
}

} // namespace

namespace PromoClock {

QDateTime now() {
    std::function<QDateTime()> function;
    {
        const std::lock_guard lock(clockMutex());
        function = clockFunction();
    }
    return function ? function() : QDateTime::currentDateTimeUtc();
}

void setNowForTesting(std::function<QDateTime()> now) {
    const std::lock_guard lock(clockMutex());
    clockFunction() = std::move(now);
}

} // namespace PromoClock
