// uibench: how the interface keeps up with the engine and with large results.
//
//   uibench scan DIR
//   uibench results [--copies N] [--groups N]
//
// Each subcommand lives in its own file (ScanBench.cpp, ResultsBench.cpp, ...) and says
// there what it measures. Everything runs on Qt's offscreen platform with the settings in
// a temporary home, so the user's own are never touched.
#include "UiBench.h"

#include "Platform/Dispatch.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>
#include <map>
#include <string>

namespace {

struct Entry {
    const char* usage;
    UiBench::Run run;
};

std::map<std::string, Entry>& commands() {
    static std::map<std::string, Entry> all;
    return all;
}

std::map<std::string, UiBench::FigureRun>& resultsFigures() {
    static std::map<std::string, UiBench::FigureRun> all;
    return all;
}

// With UIBENCH_TRACE set, every event that keeps the main thread for more than 15 ms is
// named on standard error, so a stall can be traced to its receiver.
class TracingApplication final : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        if (!m_trace)
            return QApplication::notify(receiver, event);
        QElapsedTimer timer;
        timer.start();
        const int type = event->type();
        const bool result = QApplication::notify(receiver, event);
        if (timer.elapsed() > 15)
            std::fprintf(stderr, "event %d to %s took %lld ms\n", type,
                         receiver->metaObject()->className(),
                         static_cast<long long>(timer.elapsed()));
        return result;
    }

private:
    bool m_trace = qEnvironmentVariableIsSet("UIBENCH_TRACE");
};

int usage() {
    for (const auto& [name, entry] : commands())
        std::fprintf(stderr, "usage: uibench %s %s\n", name.c_str(), entry.usage);
    return 2;
}

} // namespace

namespace UiBench {

Command::Command(const char* name, const char* usage, Run run) {
    commands()[name] = Entry{usage, run};
}

ResultsFigure::ResultsFigure(const char* name, FigureRun run) {
    resultsFigures()[name] = run;
}

bool runResultsFigures() {
    bool ok = true;
    for (const auto& [name, run] : resultsFigures()) {
        // Each figure starts on a quiet process: work the last one left on the threads (a
        // computation over its result, that result being freed) is not charged to the next.
        Dispatch::waitUntilIdle(60000);
        settle(nullptr);
        ok = run() && ok;
    }
    return ok;
}

void printFigure(const char* name, qint64 ms) {
    std::printf("%s: %lld ms\n", name, static_cast<long long>(ms));
    std::fflush(stdout);
}

void settle(QWidget* window) {
    // Queued calls post further calls (a notification queues a refresh, which queues
    // another); a few rounds take them all.
    for (int round = 0; round < 8; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    if (window)
        window->repaint();
}

qint64 numberOption(const QStringList& args, const QString& name, qint64 fallback, bool& ok) {
    const qsizetype at = args.indexOf(name);
    if (at < 0)
        return fallback;
    bool parsed = false;
    const qint64 value = at + 1 < args.size() ? args.at(at + 1).toLongLong(&parsed) : 0;
    if (!parsed || value <= 0)
        ok = false;
    return value;
}

} // namespace UiBench

int main(int argc, char** argv) {
    if (argc < 2 || !commands().count(argv[1]))
        return usage();
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (home.path() + QStringLiteral("/cache")).toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TracingApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Velquor"));
    QApplication::setApplicationName(QStringLiteral("Sorvanta"));
    QStringList args = QCoreApplication::arguments().mid(2);
    const int result = commands().at(argv[1]).run(args);
    return result == 2 ? usage() : result;
}
