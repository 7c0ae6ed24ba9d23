#pragma once

#include <cstdint>

// The monotonic clock of a scan's time budgets (the comparison's and the folder stage's 30
// seconds and the progress drawn from them), in nanoseconds. The steady clock unless a test
// hands in its own; change it only while no scan runs. Any thread.
namespace ScanClock {

using Source = std::int64_t (*)();

// nullptr restores the steady clock. A source never answers 0 or less: 0 stands for "not
// started" in the stages that keep a start time.
void setSource(Source source);
std::int64_t nowNanoseconds();

} // namespace ScanClock
