#include "Shots.h"

#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/Overview/OverviewVC.h"
#include "Categories/Settings.h"
#include "Hints/OverlayInfoController.h"
#include "Hints/OverlayInfoView.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesManager.h"
#include "Scanner/FoldersScanner.h"
#include "Scanner/FoldersScannerListener.h"
#include "Shell/WindowBackgroundView.h"
#include "Toolkit/AnimationClock.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

namespace {

void writeFile(const QString& path, int size, char fill) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray(size, fill));
}

// Copies of every kind, of different sizes, so that every slice and bar shows; with
// |similars| two holiday folders share three pictures and each keeps one of its own.
void makeFixture(const QString& root, bool similars) {
    const int mb = 1000 * 1000;
    struct Copies {
        const char* name;
        int size;
        char fill;
        std::initializer_list<const char*> folders;
    };
    const Copies copies[] = {
        {"IMG_0412.jpg", 3 * mb, 'a', {"/Pictures", "/Desktop"}},
        {"scan.png", 1200 * 1000, 'b', {"/Pictures", "/Downloads", "/Desktop"}},
        {"birthday.mov", 6 * mb, 'c', {"/Movies", "/Downloads"}},
        {"song.mp3", 2 * mb, 'd', {"/Music", "/Downloads"}},
        {"track.m4a", 800 * 1000, 'e', {"/Music", "/Desktop"}},
        {"annual report.pdf", 1500 * 1000, 'f', {"/Documents", "/Downloads"}},
        {"notes.docx", 400 * 1000, 'g', {"/Documents", "/Desktop", "/Downloads"}},
        {"backup.zip", 2500 * 1000, 'h', {"/Documents", "/Downloads"}},
        {"data.bin", 700 * 1000, 'i', {"/Documents", "/Desktop"}},
    };
    for (const Copies& set : copies)
        for (const char* folder : set.folders)
            writeFile(root + folder + QLatin1Char('/') + QLatin1String(set.name), set.size,
                      set.fill);
    for (const char* folder : {"/Projects/site", "/Archive/site copy"}) {
        writeFile(root + folder + "/index.html", 300 * 1000, 'j');
        writeFile(root + folder + "/logo.svg", 200 * 1000, 'k');
    }
    if (!similars)
        return;
    const char* holiday[] = {"/Holiday 2023", "/Backup/Holiday photos"};
    for (int i = 0; i < 2; ++i) {
        writeFile(root + holiday[i] + "/beach.jpg", 2 * mb, 'l');
        writeFile(root + holiday[i] + "/sunset.jpg", 1800 * 1000, 'm');
        writeFile(root + holiday[i] + "/dinner.jpg", 900 * 1000, 'n');
        writeFile(root + holiday[i] + "/own.txt", 5000 + i, char('o' + i));
    }
}

struct Listener final : FoldersScannerListener {
    std::shared_ptr<DuplicatesContainer> result;
    void onScanCompleteWithResult(const std::shared_ptr<DuplicatesContainer>& container) override {
        result = container;
    }
};

void spinUntil(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 20000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        AnimationClock::instance().flush();
    }
}

std::shared_ptr<DuplicatesContainer> scan(const QString& root) {
    auto listener = std::make_shared<Listener>();
    auto scanner = FoldersScanner::create({QFile::encodeName(root)}, listener);
    scanner->enableSearchDuplicatesFoldersAndSimilars(true);
    scanner->startScanAndUseMinimalFileSize(1024);
    spinUntil([&] { return listener->result != nullptr; });
    return listener->result;
}

// The results screen on the window's background, with its overview's answers in.
struct Results {
    WindowBackgroundView background;
    SelectDuplicatesVC* screen = nullptr;

    explicit Results(QSize size) {
        background.resize(size);
        screen = new SelectDuplicatesVC(&background);
        screen->resize(size);
        screen->pressOverviewButton();
        spinUntil([this] {
            OverviewVC* overview = screen->overviewVC();
            return overview && !overview->quickHintsView()->isCalculating() &&
                   overview->heapsChartView()->hasAnswer();
        });
        screen->showOverviewHints();
    }
    OverviewVC* overview() const { return screen->overviewVC(); }
};

} // namespace

SORVANTA_SHOT_AREA(overview) {
    Settings::setShowOverlayOverviewScreen(false);
    DuplicatesManager::sharedManager().createOverlayHintsArray();
    for (bool similars : {true, false}) {
        QTemporaryDir tree;
        makeFixture(tree.path(), similars);
        DuplicatesManager::sharedManager().setDuplicateContainer(scan(tree.path()));
        const QString heaps = similars ? QStringLiteral("heaps") : QStringLiteral("no-heaps");
        {
            Results results(QSize(1200, 713));
            session.save(QStringLiteral("bars-") + heaps, &results.background);
            results.overview()->pieButtonPressed();
            session.save(QStringLiteral("pie-") + heaps, &results.background);
            if (similars) {
                // The help overlay's first three pages: the chart, the heaps chart, the hints.
                results.screen->showOverlayInfo(
                    [&results] { results.screen->hideAndDestroyOverlay(); });
                for (int page = 0; page < 3; ++page) {
                    session.save(QStringLiteral("overlay-%1").arg(page + 1), &results.background);
                    if (OverlayInfoController* overlay =
                            results.screen->overlayInfoViewController())
                        overlay->showNextScreen(1);
                }
                results.screen->hideAndDestroyOverlay();
                results.overview()->pieChartView()->setStartAngle(140);
                session.save(QStringLiteral("pie-turned"), &results.background);
                results.overview()->quickHintsView()->refreshButtonPressed();
                session.save(QStringLiteral("pie-hints-row2"), &results.background);
                results.overview()->hideHints();
                session.save(QStringLiteral("pie-no-hints"), &results.background);
                results.overview()->barButtonPressed();
                session.save(QStringLiteral("bars-no-hints"), &results.background);
            }
        }
        if (similars) {
            // As the main window shows it: built at the scan screen's size, then grown.
            WindowBackgroundView background;
            background.resize(1200, 713);
            background.setAttribute(Qt::WA_DontShowOnScreen);
            background.show();
            auto* screen = new SelectDuplicatesVC(&background);
            screen->resize(990, 590);
            screen->show();
            screen->pressOverviewButton();
            spinUntil([screen] {
                return !screen->overviewVC()->quickHintsView()->isCalculating() &&
                       screen->overviewVC()->heapsChartView()->hasAnswer();
            });
            screen->resize(1200, 713);
            screen->showScanResultsViewAnimationComleted();
            session.save(QStringLiteral("bars-after-slide"), &background);
        }
        if (similars) {
            Results wide(QSize(1500, 800));
            session.save(QStringLiteral("bars-wide"), &wide.background);
            wide.overview()->pieButtonPressed();
            session.save(QStringLiteral("pie-wide"), &wide.background);
        }
        // Windows on screens too small for the results window's own minimum.
        for (const QSize small : {QSize(1024, 600), QSize(960, 540), QSize(800, 600)}) {
            if (!similars)
                break;
            Results results(small);
            session.save(QStringLiteral("bars-%1x%2").arg(small.width()).arg(small.height()),
                         &results.background);
        }
        DuplicatesManager::sharedManager().setDuplicateContainer(nullptr);
    }
    {
        // Two similar folders of one name, in folders of different names.
        QTemporaryDir tree;
        makeFixture(tree.path(), true);
        for (const char* folder : {"/Camera/2019/sub4", "/Camera/2020/sub4"}) {
            const QString at = tree.path() + QLatin1String(folder);
            writeFile(at + "/p1.jpg", 4 * 1000 * 1000, 'p');
            writeFile(at + "/p2.jpg", 3 * 1000 * 1000, 'q');
            writeFile(at + "/own.txt", folder[11] == '9' ? 6000 : 6001, 'r');
        }
        DuplicatesManager::sharedManager().setDuplicateContainer(scan(tree.path()));
        {
            Results results(QSize(1200, 713));
            session.save(QStringLiteral("bars-same-names"), &results.background);
        }
        DuplicatesManager::sharedManager().setDuplicateContainer(nullptr);
    }
}
