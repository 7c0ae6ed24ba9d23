#include "Scanner/ScanClock.h"

#include <atomic>
#include <chrono>

namespace ScanClock {

namespace {

std::atomic<Source> g_source{nullptr};

} // namespace

void setSource(Source source) {
    g_source.store(source);
}

std::int64_t nowNanoseconds() {
    if (const Source source = g_source.load())
        return source();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace ScanClock
