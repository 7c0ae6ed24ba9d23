#pragma once

#include <QDateTime>

#include <functional>

// The time the promotional schedules measure against: the wall clock, or a clock a test
// sets so that a week or a fortnight passes without waiting. Any thread.
namespace PromoClock {

QDateTime now();
// An empty function restores the wall clock. Set it before any schedule is read.
void setNowForTesting(std::function<QDateTime()> now);

} // namespace PromoClock
