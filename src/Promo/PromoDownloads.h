#pragma once

#include <QByteArray>
#include <QUrl>

#include <atomic>
#include <optional>

// The downloads of the promotions: blocking GETs run on the global queue, each in an event
// loop of its own, and one switch that ends all of them. The switch is thrown when the
// application quits (QCoreApplication::aboutToQuit, connected by PromoManager), so a quit
// during a slow download does not wait for the transfer time-out: every running download
// is aborted at once, every later one answers nothing, and an extraction under way stops
// at its next piece of data (SSZipArchive::Limits::cancelled). Any thread.
class PromoDownloads final {
public:
    PromoDownloads() = delete;

    enum class Outcome { Fetched, Failed, OverLimit, Cancelled };
    struct Result {
        Outcome outcome = Outcome::Failed;
        QByteArray body; // only for Fetched
    };

    // The body of an HTTP 200 answer to a GET of an http or https `url`, at most `maxBytes`
    // long: a longer answer (by its announced length or by what arrives) is aborted as soon
    // as that shows and answers OverLimit. Blocking; never on the main thread.
    static Result fetch(const QUrl& url, qint64 maxBytes);

    // Aborts every running download and makes every later one answer Cancelled. Main
    // thread (or any); returns at once.
    static void cancel();
    static bool isCancelled();
    // The switch itself, for work that checks it between steps.
    static const std::atomic<bool>* cancelledFlag();
    // Turns the switch off again (tests that quit and go on).
    static void resetForTesting();
};
