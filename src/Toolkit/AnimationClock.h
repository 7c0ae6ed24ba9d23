#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <vector>

class QAbstractAnimation;
class QVariantAnimation;

// The one clock every animation, delayed step and repeating tick of the interface runs
// through, so that tests can make time stand still or jump.
//
// Real:    steps run on QTimers and animations on Qt's animation timer, as the user sees.
// Instant: every duration is zero; a delayed step runs on the next event-loop turn, an
//          animation jumps to its end value when started. Screen-flow tests use this.
// Manual:  time moves only when a test calls advance(); due steps run in deadline order
//          and started animations are set to the elapsed time. Timing tests use this.
//
// Main thread only. A step whose context object is destroyed never runs.
class AnimationClock final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AnimationClock)

public:
    enum class Mode { Real, Instant, Manual };
    using Handle = quint64;

    static AnimationClock& instance();

    Mode mode() const { return m_mode; }
    // Switching mode cancels every pending step and forgets driven animations.
    void setMode(Mode mode);

    // Milliseconds on this clock: the monotonic clock in Real and Instant mode, the
    // virtual time in Manual mode (starting at 0 when Manual was set).
    qint64 now() const;

    // Runs |step| once after |ms| milliseconds, unless cancelled or |context| is gone.
    // Returns a handle for cancel(); never 0.
    Handle after(int ms, QObject* context, std::function<void()> step);
    // Runs |step| every |ms| milliseconds (precise timer) until cancelled or |context| is
    // gone. In Instant mode a repeating tick runs every event-loop turn.
    Handle every(int ms, QObject* context, std::function<void()> step);
    // Cancels a pending or repeating step; unknown or 0 handles are ignored.
    void cancel(Handle handle);
    bool isPending(Handle handle) const;

    // Starts |animation| under this clock (Instant: jumps to its end and finishes; Manual:
    // its time follows advance()). The animation keeps its own duration and curve.
    void start(QAbstractAnimation* animation);

    // Manual mode only: moves the virtual time forward, running due steps in order.
    void advance(int ms);
    // Instant or Manual mode: runs everything due now (Instant: all pending one-shot
    // steps), including steps that those steps schedule for now.
    void flush();

private:
    AnimationClock();

    struct Step {
        QPointer<QObject> context;
        std::function<void()> fn;
        qint64 due = 0;
        int interval = 0; // 0 for a one-shot step
        bool hasContext = false;
        QObject* timer = nullptr; // Real mode: the QTimer carrying the step
    };
    struct Driven {
        QPointer<QAbstractAnimation> animation;
        qint64 startedAt = 0;
    };

    Handle add(int ms, int interval, QObject* context, std::function<void()> step);
    void runStep(Handle handle);
    void scheduleInstantFlush();
    void driveAnimations();

    Mode m_mode = Mode::Real;
    qint64 m_virtualNow = 0;
    Handle m_nextHandle = 1;
    std::map<Handle, Step> m_steps;
    std::vector<Driven> m_driven;
    bool m_flushScheduled = false;
};
