#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the main thread's event loop. The
// process-level handler only writes the signal's number into a pipe (nothing else is safe
// there); a socket notifier on the pipe's other end reads it in the event loop and emits
// terminationRequested(). From construction on these three signals no longer end the
// process at once; the destructor puts back the handling that was there before.
//
// One object at a time per process (a second one answers isActive() false and catches
// nothing). Main thread only.
class TerminationSignalNotifier final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TerminationSignalNotifier)

public:
    explicit TerminationSignalNotifier(QObject* parent = nullptr);
    ~TerminationSignalNotifier() override;

    // Holds the three signals back (blocked, left pending) in the calling thread and every
    // thread it starts from now on, until a notifier is made: a signal that comes while the
    // application is still starting waits for the notifier instead of ending the process.
    // Call first thing in main(), before any thread exists.
    static void holdUntilCaught();

    // From now on the three signals are ignored, also once the notifier is gone: for an
    // application that is ending already, where a repeated signal (a sender that signals the
    // process and then its group) must not cut the ending short. Main thread only.
    static void ignoreFromNowOn();

    // True when this object catches the signals.
    bool isActive() const { return m_notifier != nullptr; }

signals:
    // Once for each signal delivered, with its number.
    void terminationRequested(int signalNumber);

private:
    void readPipe();

    QSocketNotifier* m_notifier = nullptr;
};
