#include "Toolkit/AnimationClock.h"

#include <QAbstractAnimation>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

namespace {

QElapsedTimer& monotonic() {
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer;
}

} // namespace

AnimationClock& AnimationClock::instance() {
    static AnimationClock* clock = new AnimationClock; // lives as long as the process
    return *clock;
}

AnimationClock::AnimationClock() = default;

void AnimationClock::setMode(Mode mode) {
    for (auto& [handle, step] : m_steps)
        delete step.timer;
    m_steps.clear();
    m_driven.clear();
    m_mode = mode;
    m_virtualNow = 0;
}

qint64 AnimationClock::now() const {
    return m_mode == Mode::Manual ? m_virtualNow : monotonic().elapsed();
}

AnimationClock::Handle AnimationClock::after(int ms, QObject* context, std::function<void()> step) {
    return add(std::max(ms, 0), 0, context, std::move(step));
}

AnimationClock::Handle AnimationClock::every(int ms, QObject* context, std::function<void()> step) {
    return add(std::max(ms, 1), std::max(ms, 1), context, std::move(step));
}

AnimationClock::Handle AnimationClock::add(int ms, int interval, QObject* context,
                                           std::function<void()> fn) {
    const Handle handle = m_nextHandle++;
    Step step;
    step.context = context;
    step.hasContext = context != nullptr;
    step.fn = std::move(fn);
    step.interval = interval;
    step.due = now() + ms;
    if (m_mode == Mode::Real) {
        auto* timer = new QTimer;
        timer->setTimerType(Qt::PreciseTimer);
        timer->setSingleShot(interval == 0);
        timer->setInterval(interval == 0 ? ms : interval);
        QObject::connect(timer, &QTimer::timeout, this, [this, handle] { runStep(handle); });
        step.timer = timer;
        timer->start();
    }
    m_steps.emplace(handle, std::move(step));
    if (m_mode == Mode::Instant)
        scheduleInstantFlush();
    return handle;
}

void AnimationClock::cancel(Handle handle) {
    const auto it = m_steps.find(handle);
    if (it == m_steps.end())
        return;
    if (it->second.timer)
        it->second.timer->deleteLater();
    m_steps.erase(it);
}

bool AnimationClock::isPending(Handle handle) const {
    return m_steps.contains(handle);
}

void AnimationClock::runStep(Handle handle) {
    const auto it = m_steps.find(handle);
    if (it == m_steps.end())
        return;
    Step& step = it->second;
    if (step.hasContext && !step.context) {
        cancel(handle);
        return;
    }
    // Copy before running: the step may cancel itself or reschedule anything.
    const std::function<void()> fn = step.fn;
    if (step.interval == 0)
        cancel(handle);
    else
        step.due += step.interval;
    fn();
}

void AnimationClock::scheduleInstantFlush() {
    if (m_flushScheduled)
        return;
    m_flushScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_flushScheduled = false;
        flush();
    });
}

void AnimationClock::flush() {
    if (m_mode == Mode::Real)
        return;
    // One pass over what is due now; steps scheduled during the pass for "now" run in the
    // same flush, repeating ticks run once per flush so a tick can never spin for ever.
    std::vector<Handle> ran;
    for (;;) {
        Handle next = 0;
        qint64 bestDue = 0;
        for (const auto& [handle, step] : m_steps) {
            const bool due = m_mode == Mode::Instant || step.due <= m_virtualNow;
            if (!due || std::find(ran.begin(), ran.end(), handle) != ran.end())
                continue;
            if (next == 0 || step.due < bestDue) {
                next = handle;
                bestDue = step.due;
            }
        }
        if (next == 0)
            break;
        const bool repeating = m_steps.at(next).interval != 0;
        if (repeating)
            ran.push_back(next);
        runStep(next);
    }
    if (m_mode == Mode::Instant) {
        bool repeatingLeft = false;
        for (const auto& entry : m_steps)
            repeatingLeft = repeatingLeft || entry.second.interval != 0;
        if (repeatingLeft)
            scheduleInstantFlush();
    }
}

void AnimationClock::advance(int ms) {
    if (m_mode != Mode::Manual)
        return;
    const qint64 target = m_virtualNow + std::max(ms, 0);
    // Walk through every deadline on the way so repeating ticks fire once per interval.
    for (;;) {
        qint64 nextDue = target + 1;
        for (const auto& entry : m_steps)
            nextDue = std::min(nextDue, entry.second.due);
        if (nextDue > target)
            break;
        m_virtualNow = std::max(m_virtualNow, nextDue);
        driveAnimations();
        Handle next = 0;
        for (const auto& [handle, step] : m_steps) {
            if (step.due <= m_virtualNow) {
                next = handle;
                break;
            }
        }
        if (next != 0)
            runStep(next);
    }
    m_virtualNow = target;
    driveAnimations();
}

void AnimationClock::start(QAbstractAnimation* animation) {
    if (!animation)
        return;
    switch (m_mode) {
    case Mode::Real:
        animation->start();
        return;
    case Mode::Instant:
        animation->start();
        animation->setCurrentTime(animation->totalDuration() < 0 ? 0 : animation->totalDuration());
        return;
    case Mode::Manual:
        animation->start();
        animation->pause();
        m_driven.push_back({animation, m_virtualNow});
        return;
    }
}

void AnimationClock::driveAnimations() {
    std::vector<Driven> driven;
    driven.swap(m_driven);
    for (Driven& d : driven) {
        if (!d.animation || d.animation->state() == QAbstractAnimation::Stopped)
            continue;
        const int total = d.animation->totalDuration();
        const qint64 elapsed = m_virtualNow - d.startedAt;
        if (total >= 0 && elapsed >= total) {
            d.animation->setCurrentTime(total); // reaching the end stops it and says finished
            continue;
        }
        d.animation->setCurrentTime(static_cast<int>(elapsed));
        m_driven.push_back(d);
    }
    // Animations started from inside a finished handler were appended to the swapped-out
    // list's replacement already; nothing else to do.
}
