// uibench remove [--copies N] [--folders]
//
// Writes a tree of N pairs of equal small files under the temporary home, scans it for
// real (with --folders as the application does: duplicate and similar folders too, which
// makes every folder of the tree a similar folder of its partner), selects one copy of
// every pair (N copies), shows the results screen with the review
// panel on the offscreen platform and presses its remove button; the copies go to the
// Trash of the temporary home. Prints:
//   prepare                    writing and scanning the tree (not an interface figure)
//   open panel                 from the bottom bar's command to the panel on show, its
//                              list taken and sorted (main thread)
//   removal wall               from the press to the run's end on the main thread
//   longest main-thread stall  the longest time the main thread's event loop did not turn
//                              (a 2 ms heartbeat timer) from the press to the end
// With UIBENCH_TRACE set, every stall over 25 ms is reported on standard error.
#include "UiBench.h"

#include "Browser/Frame/DuplicateBottombarVC.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/Review/RemovalSession.h"
#include "Browser/Review/SelectedFilesVC.h"
#include "Categories/Settings.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesManager.h"
#include "Scanner/FoldersScanner.h"
#include "Scanner/FoldersScannerListener.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/WhiteTitleButton.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kHeartbeatMs = 2;
constexpr int kFilesPerFolder = 500;

class Listener final : public FoldersScannerListener {
public:
    void onScanCompleteWithResult(const std::shared_ptr<DuplicatesContainer>& result) override {
        container = result;
    }
    std::shared_ptr<DuplicatesContainer> container;
};

// Pair |g| lies in "kept/F/g.dat" and "copies/F/g.dat", F = g / kFilesPerFolder; its
// contents name the pair, so no two pairs are equal. The two trees differ in a file of
// their own per folder, so no folder is a copy of another.
bool writeTree(const QByteArray& root, qint64 pairs) {
    for (const char* side : {"kept", "copies"}) {
        const QByteArray top = root + '/' + side;
        ::mkdir(top.constData(), 0755);
        for (qint64 g = 0; g < pairs; ++g) {
            const QByteArray folder = top + '/' + QByteArray::number(g / kFilesPerFolder);
            if (g % kFilesPerFolder == 0) {
                ::mkdir(folder.constData(), 0755);
                const QByteArray own = folder + "/own-" + side;
                const QByteArray text = QByteArray(side) + ' ' + folder;
                const int fd = ::open(own.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                if (fd < 0 || ::write(fd, text.constData(), size_t(text.size())) < 0)
                    return false;
                ::close(fd);
            }
            const QByteArray file = folder + '/' + QByteArray::number(g) + ".dat";
            const QByteArray contents = "pair " + QByteArray::number(g) + " of the bench\n";
            const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0 || ::write(fd, contents.constData(), size_t(contents.size())) < 0)
                return false;
            ::close(fd);
        }
    }
    return true;
}

std::shared_ptr<DuplicatesContainer> scan(const QByteArray& root, bool folders) {
    auto listener = std::make_shared<Listener>();
    auto scanner = FoldersScanner::create({root}, listener);
    if (!scanner)
        return nullptr;
    scanner->includeHiddenFiles(false);
    scanner->enableSearchDuplicatesFoldersAndSimilars(folders);
    scanner->startScanAndUseMinimalFileSize(1);
    while (!listener->container)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return listener->container;
}

// Exactly the copies under "copies/" selected, in one batch.
qint64 selectCopies(const DuplicatesContainer& container, const QByteArray& root) {
    const QByteArray copies = root + "/copies/";
    qint64 selected = 0;
    DuplicatesGroup::BeginSelectionGroup();
    for (const auto& group : container.getAllFilesGroups()) {
        for (const auto& item : group->getItems()) {
            if (item->getFileItemPath().startsWith(copies))
                selected += item->isSelected() || item->selectItemForced(false) ? 1 : 0;
            else
                item->deselectItem();
        }
    }
    DuplicatesGroup::EndSelectionGroup();
    return selected;
}

int run(const QStringList& args) {
    bool ok = true;
    const qint64 copies = UiBench::numberOption(args, QStringLiteral("--copies"), 100000, ok);
    if (!ok)
        return 2;
    const bool folders = args.contains(QStringLiteral("--folders"));
    Settings::setMoveCleanedDuplicatesToTheTrashCan(true);
    Settings::setRemoveEmptyFolders(false);
    Settings::setSortType(Settings::SortTypeSize);

    QElapsedTimer prepare;
    prepare.start();
    const QByteArray root = QFile::encodeName(QDir::homePath()) + "/tree";
    ::mkdir(root.constData(), 0755);
    if (!writeTree(root, copies)) {
        std::fprintf(stderr, "uibench: cannot write the tree under %s\n", root.constData());
        return 1;
    }
    const auto container = scan(root, folders);
    if (!container) {
        std::fprintf(stderr, "uibench: the scan gave no result\n");
        return 1;
    }
    const qint64 selected = selectCopies(*container, root);
    DuplicatesManager::sharedManager().setDuplicateContainer(container);
    UiBench::printFigure("prepare", prepare.elapsed());
    if (selected != copies) {
        std::fprintf(stderr, "uibench: %lld copies selected of %lld\n",
                     static_cast<long long>(selected), static_cast<long long>(copies));
        return 1;
    }

    // The screen and the panel as the user sees them; the slide's time is not the panel's.
    AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
    SelectDuplicatesVC screen;
    screen.resize(1200, 713);
    screen.show();
    UiBench::settle(&screen);
    QElapsedTimer open;
    open.start();
    screen.duplicatesBottombar()->removeSelectedButtonPressed();
    UiBench::settle(&screen);
    UiBench::printFigure("open panel", open.elapsed());
    SelectedFilesVC* panel = screen.selectedFilesVC();
    if (!panel || panel->removeList().size() != std::size_t(copies)) {
        std::fprintf(stderr, "uibench: the panel does not list the copies\n");
        return 1;
    }
    // The run's own progress ticks pace the panel as in the application.
    AnimationClock::instance().setMode(AnimationClock::Mode::Real);

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
            std::fprintf(stderr, "stall %lld ms at %lld ms\n",
                         static_cast<long long>(now - lastBeat), static_cast<long long>(now));
        lastBeat = now;
    });
    clock.start();
    heartbeat.start();
    panel->removeButton()->click();
    if (!RemovalSession::current()) {
        std::fprintf(stderr, "uibench: the run did not start\n");
        return 1;
    }
    while (RemovalSession::current())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const qint64 wall = clock.elapsed();
    // What the end leaves to the next turns (the panel's refresh, the result's clean-up).
    QElapsedTimer after;
    after.start();
    while (after.elapsed() < 300)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    heartbeat.stop();

    const std::uint64_t removed = Settings::cleanedFileCount();
    UiBench::printFigure("removal wall", wall);
    UiBench::printFigure("longest main-thread stall", longestStall);
    if (removed != std::uint64_t(copies)) {
        std::fprintf(stderr, "uibench: %llu copies removed of %lld\n",
                     static_cast<unsigned long long>(removed), static_cast<long long>(copies));
        return 1;
    }
    DuplicatesManager::sharedManager().setDuplicateContainer(nullptr);
    return 0;
}

const UiBench::Command command("remove", "[--copies N] [--folders]", &run);

} // namespace
