#include "Shots.h"

#include "Browser/Frame/DuplicateBottombarVC.h"
#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/Overview/OverviewVC.h"
#include "Categories/Settings.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesManager.h"
#include "Scanner/FoldersScanner.h"
#include "Scanner/FoldersScannerListener.h"
#include "Shell/SharingService.h"
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

// Pictures, music and documents copied between a few folders; two photo folders share three
// pictures, so the Similars view has a pair to show.
void makeFixture(const QString& root) {
    const int kb = 1000;
    struct Copies {
        const char* name;
        int size;
        char fill;
        std::initializer_list<const char*> folders;
    };
    const Copies copies[] = {
        {"IMG_0412.jpg", 3000 * kb, 'a', {"/Pictures", "/Desktop"}},
        {"scan.png", 1200 * kb, 'b', {"/Pictures", "/Downloads", "/Desktop"}},
        {"song.mp3", 2000 * kb, 'd', {"/Music", "/Downloads"}},
        {"annual report.pdf", 1500 * kb, 'f', {"/Documents", "/Downloads"}},
        {"notes.docx", 400 * kb, 'g', {"/Documents", "/Desktop", "/Downloads"}},
        {"beach.jpg", 2000 * kb, 'l', {"/Holiday 2023", "/Backup/Holiday photos"}},
        {"sunset.jpg", 1800 * kb, 'm', {"/Holiday 2023", "/Backup/Holiday photos"}},
        {"dinner.jpg", 900 * kb, 'n', {"/Holiday 2023", "/Backup/Holiday photos"}},
    };
    for (const Copies& set : copies)
        for (const char* folder : set.folders)
            writeFile(root + folder + QLatin1Char('/') + QLatin1String(set.name), set.size,
                      set.fill);
    writeFile(root + "/Holiday 2023/own.txt", 5000, 'o');
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

// Runs the swap's animation and whatever the lists queue after it.
void settle() {
    for (int i = 0; i < 40; ++i) {
        QApplication::processEvents();
        AnimationClock::instance().flush();
    }
}

} // namespace

SORVANTA_SHOT_AREA(results) {
    // The overlays are asked for explicitly below, once each screen is in place.
    Settings::setShowOverlayOverviewScreen(false);
    Settings::setShowOverlayCategoryScreen(false);
    Settings::setShowOverlaySimilarsScreen(false);
    DuplicatesManager::sharedManager().createOverlayHintsArray();
    QTemporaryDir tree;
    makeFixture(tree.path());
    DuplicatesManager::sharedManager().setDuplicateContainer(scan(tree.path()));
    {
        const QSize size(1200, 713);
        WindowBackgroundView background;
        background.resize(size);
        auto* screen = new SelectDuplicatesVC(&background);
        screen->resize(size);
        screen->pressOverviewButton();
        spinUntil([screen] {
            OverviewVC* overview = screen->overviewVC();
            return overview && !overview->quickHintsView()->isCalculating();
        });
        settle();
        const auto withOverlay = [&](const QString& name) {
            screen->updateOverlayHintFrameValues();
            if (screen->showOverlayInfo([screen] { screen->hideAndDestroyOverlay(); })) {
                settle();
                session.save(name + QStringLiteral("-overlay"), &background);
                screen->hideAndDestroyOverlay();
                settle();
            }
        };
        session.save(QStringLiteral("overview"), &background);
        withOverlay(QStringLiteral("overview"));

        DuplicateToolbarVC* toolbar = screen->duplicatesToolbar();
        toolbar->pressButtonForCategoryType(-1);
        settle();
        session.save(QStringLiteral("all-files"), &background);
        toolbar->pressButtonForCategoryType(0);
        settle();
        session.save(QStringLiteral("pictures"), &background);
        withOverlay(QStringLiteral("pictures"));

        toolbar->heapsButtonPressed(toolbar->heapsButton());
        settle();
        session.save(QStringLiteral("similars"), &background);
        withOverlay(QStringLiteral("similars"));

        // After a removal the bottom bar counts the cleaned size up beside the share buttons,
        // here with a browser and a mail application on the desktop.
        SharingService::setServicesForTesting([](SharingService::Name) { return true; });
        toolbar->pressButtonForCategoryType(0);
        settle();
        DuplicateBottombarVC* bar = screen->duplicatesBottombar();
        bar->updateSharingButtons();
        bar->addDeletedSize(48200000);
        settle();
        session.save(QStringLiteral("pictures-cleaned-share-buttons"), &background);
        SharingService::setServicesForTesting(std::nullopt);
    }
    // Windows on screens too small for the results window's own minimum: the toolbar and
    // the Similars panes.
    for (const QSize size : {QSize(1024, 600), QSize(960, 540), QSize(800, 600), QSize(640, 360)}) {
        const QString suffix = QStringLiteral("-%1x%2").arg(size.width()).arg(size.height());
        WindowBackgroundView background;
        background.resize(size);
        auto* screen = new SelectDuplicatesVC(&background);
        screen->resize(size);
        screen->pressOverviewButton();
        settle();
        DuplicateToolbarVC* toolbar = screen->duplicatesToolbar();
        toolbar->pressButtonForCategoryType(0);
        settle();
        session.save(QStringLiteral("pictures") + suffix, &background);
        toolbar->heapsButtonPressed(toolbar->heapsButton());
        settle();
        session.save(QStringLiteral("similars") + suffix, &background);
    }
    DuplicatesManager::sharedManager().setDuplicateContainer(nullptr);
}
