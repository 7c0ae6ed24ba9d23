// uibench scan DIR
//
// Scans DIR with the scan screen shown on the offscreen platform, as the application does
// (the screen polls the scanner, the chart animates, the window takes the result), and
// prints:
//   longest main-thread stall  the longest time the main thread's event loop did not turn
//                              (measured by a 2 ms heartbeat timer), from the scan's start to
//                              the screen's final refresh
//   scan wall                  from the scan's start to its completion report
#include "UiBench.h"

#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesManager.h"
#include "Scanner/FoldersScanner.h"
#include "Scanner/FoldersScannerListener.h"
#include "Screens/ScanScreenVC.h"
#include "Shell/WindowBackgroundView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

constexpr int kHeartbeatMs = 2;

class Listener final : public FoldersScannerListener {
public:
    void onScanCompleteWithResult(const std::shared_ptr<DuplicatesContainer>& result) override {
        container = result;
    }
    std::shared_ptr<DuplicatesContainer> container;
};

int scan(const QString& folder) {
    WindowBackgroundView background;
    background.resize(990, 590);
    auto* screen = new ScanScreenVC(&background);
    screen->resize(background.size());
    screen->awakeFromNib();
    background.show();
    // The screen is on show before the scan starts, as in the application; its first
    // painting is not part of the scan.
    QElapsedTimer shown;
    shown.start();
    while (shown.elapsed() < 300)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);

    auto listener = std::make_shared<Listener>();
    auto scanner = FoldersScanner::create({QFile::encodeName(folder)}, listener);
    if (!scanner) {
        std::fprintf(stderr, "uibench: cannot scan %s\n", qPrintable(folder));
        return 1;
    }
    scanner->includeHiddenFiles(false);
    scanner->enableSearchDuplicatesFoldersAndSimilars(true);

    // The heartbeat: every turn of the main thread's event loop lets it fire; a gap much
    // longer than its period is a stall.
    QElapsedTimer clock;
    qint64 lastBeat = 0;
    qint64 longestStall = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(kHeartbeatMs);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestStall = std::max(longestStall, now - lastBeat);
        if (now - lastBeat > 25 && qEnvironmentVariableIsSet("UIBENCH_TRACE"))
            std::fprintf(stderr, "stall %lld ms at %lld ms, state %d\n",
                         static_cast<long long>(now - lastBeat), static_cast<long long>(now),
                         int(scanner->getCurrentState()));
        lastBeat = now;
    });

    clock.start();
    heartbeat.start();
    scanner->startScanAndUseAutoDefineMinimalFileSize();
    screen->setScanner(scanner);
    while (!listener->container)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const qint64 wall = clock.elapsed();

    // What the main window does at completion, stalls included.
    screen->setDisabled(true);
    screen->setScanner(nullptr);
    DuplicatesManager::sharedManager().setDuplicateContainer(listener->container);
    screen->updateInformationUsingDuplicatesContainer(*listener->container);
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1500)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    heartbeat.stop();
    scanner.reset();

    UiBench::printFigure("longest main-thread stall", longestStall);
    UiBench::printFigure("scan wall", wall);
    return 0;
}

int run(const QStringList& args) {
    if (args.size() != 1)
        return 2;
    return scan(QDir(args.first()).absolutePath());
}

const UiBench::Command command("scan", "DIR", &run);

} // namespace
