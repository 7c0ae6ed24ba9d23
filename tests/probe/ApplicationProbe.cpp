// The application as app/main.cpp runs it, driven into one state by this test driver so a
// test in another process can signal it there:
//   sorvanta_probe scan FOLDER     scans FOLDER; prints "scanning" once the scan runs
//   sorvanta_probe remove FOLDER   scans FOLDER, selects every copy but the first of each
//                                  group and removes them to the Trash, one copy every
//                                  few milliseconds; prints "removing" once copies go
// When the application ends it prints "quit in state N": the scan's last state (1 to 5
// while it ran, 6 when it had completed) or 100 for a removal that was still running, -1
// for neither.
#include "Browser/Review/RemovalSession.h"
#include "Categories/Settings.h"
#include "Platform/FileManager.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesManager.h"
#include "Scanner/FoldersScanner.h"
#include "Shell/AppDelegate.h"
#include "Shell/ApplicationMain.h"
#include "Shell/WindowController.h"
#include "Toolkit/AnimationClock.h"

#include <QCoreApplication>
#include <QString>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {

constexpr int kRemoveState = 100;

// The real Trash, slowed down so that a run lasts long enough to be interrupted.
class PacedFileManager final : public FileManager {
public:
    bool trashItemAtPath(const QByteArray& path, FileError* error) const override {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return FileManager::trashItemAtPath(path, error);
    }
};

void say(const char* text) {
    std::printf("%s\n", text);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "scan") != 0 && std::strcmp(argv[1], "remove") != 0)) {
        std::fprintf(stderr, "usage: %s scan|remove FOLDER\n", argv[0]);
        return 2;
    }
    const bool remove = std::strcmp(argv[1], "remove") == 0;
    const QString folder = QString::fromLocal8Bit(argv[2]);
    static PacedFileManager pacedFiles;
    // Live for the whole run: the driver's callbacks below refer to them.
    int lastState = -1;
    bool told = false;
    bool started = false;

    return ApplicationMain::run(argc, argv, [&](AppDelegate& delegate) {
        WindowController* window = delegate.getMainWindow();
        AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
        Settings::setDefineMinimalDuplicatesFileSizeAutomatically(false);
        Settings::setMinDuplicatesFileSize(1);
        Settings::setMoveCleanedDuplicatesToTheTrashCan(true);
        RemovalSession::setRemoverFactory([] { return DuplicatesRemover::create(pacedFiles); });
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [&] {
            // A scan that reached its end has handed its result over.
            const auto container = DuplicatesManager::sharedManager().duplicateContainer();
            if (!remove && container && container->getAllFilesSize() != 0)
                lastState = int(FoldersScannerStateComplete);
            std::printf("quit in state %d\n", lastState);
            std::fflush(stdout);
        });

        auto* poll = new QTimer(qApp);
        QObject::connect(poll, &QTimer::timeout, [&, window] {
            if (!remove) {
                // The last state seen while the window had a scanner: Quit lets go of it,
                // and a timer may still fire before the event loop returns.
                if (const FoldersScanner* scanner = window->scanner()) {
                    const int state = int(scanner->getCurrentState());
                    lastState = state >= 1 && state <= 5 ? state : -1;
                }
                if (lastState > 0 && !told) {
                    told = true;
                    say("scanning");
                }
                return;
            }
            const auto session = RemovalSession::current();
            lastState = session ? kRemoveState : -1;
            if (session && session->removedCount() > 0 && !told) {
                told = true;
                say("removing");
            }
            const auto container = DuplicatesManager::sharedManager().duplicateContainer();
            if (started || window->scanner() || !container || container->getAllFilesSize() == 0)
                return;
            started = true;
            for (const auto& group : container->getAllFilesGroups()) {
                const auto items = group->getItems();
                for (std::size_t i = 1; i < items.size(); ++i)
                    items[i]->selectItemForced(false);
            }
            RemovalSession::start(container->buildRemoveList(), true, nullptr, nullptr, window);
        });
        poll->start(2);
        window->startScanFolders({folder});
    });
}
