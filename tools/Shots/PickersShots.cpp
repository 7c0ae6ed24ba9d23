// The folder list and the similar-folder list of the similar-folders view, over a scan of
// photo folders copied around: the view as it opens, after a whole-folder check box, with
// the last copies under the guard, and with a search that finds nothing.
#include "Shots.h"

#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/Similars/FolderPickerVC.h"
#include "Browser/Similars/HeapsPickerVC.h"
#include "Browser/Similars/PickerList.h"
#include "Categories/Settings.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesManager.h"
#include "Scanner/FoldersScanner.h"
#include "Scanner/FoldersScannerListener.h"
#include "Shell/WindowBackgroundView.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/SearchTextField.h"

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

void makeFixture(const QString& root) {
    const int kb = 1000;
    struct Photo {
        const char* name;
        int size;
        char fill;
    };
    const Photo beach{"beach.jpg", 2400 * kb, 'a'}, sunset{"sunset.jpg", 1800 * kb, 'b'},
        dinner{"dinner.jpg", 900 * kb, 'c'}, boat{"boat.jpg", 3100 * kb, 'd'},
        city{"city.jpg", 1200 * kb, 'e'};
    struct Folder {
        const char* path;
        std::initializer_list<Photo> photos;
    };
    const Folder folders[] = {
        {"/Pictures/Holiday 2023", {beach, sunset, dinner, boat}},
        {"/Backup/Holiday 2023 copy", {beach, sunset, dinner}},
        {"/Phone import", {beach, boat, city}},
        {"/Desktop/Old photos", {sunset, dinner, city}},
        {"/Downloads/shared album", {boat, city}},
    };
    char own = 'p';
    for (const Folder& folder : folders) {
        for (const Photo& photo : folder.photos)
            writeFile(root + folder.path + QLatin1Char('/') + QLatin1String(photo.name), photo.size,
                      photo.fill);
        writeFile(root + folder.path + QStringLiteral("/notes.txt"), 3000 + own, own);
        ++own;
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

// Lets queued refreshes and the clock's steps run.
void settle() {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 300) {
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

} // namespace

SORVANTA_SHOT_AREA(pickers) {
    Settings::setShowOverlaySimilarsScreen(false);
    Settings::setShowOverlayOverviewScreen(false);
    Settings::setAllowRemovingAllDuplicateCopies(false);
    QTemporaryDir tree;
    makeFixture(tree.path());
    DuplicatesManager::sharedManager().setDuplicateContainer(scan(tree.path()));
    {
        WindowBackgroundView background;
        background.resize(1200, 713);
        background.show();
        auto* screen = new SelectDuplicatesVC(&background);
        screen->resize(background.size());
        screen->show();
        screen->pressOverviewButton();
        settle();
        screen->duplicatesToolbar()->heapsButtonPressed(screen->duplicatesToolbar()->heapsButton());
        spinUntil([screen] { return screen->heapsPickerVC() != nullptr; });
        FolderPickerVC* folders = screen->folderPickerVC();
        HeapsPickerVC* heaps = screen->heapsPickerVC();
        session.save(QStringLiteral("similars"), &background);

        // The first folder's shared copies selected by its check box.
        folders->checkBoxForSelectedFolderPressed();
        settle();
        session.save(QStringLiteral("folder-checked"), &background);
        session.save(QStringLiteral("folder-list"), folders->grab().toImage());

        // Folder after folder checked until one holds only last copies, under the guard.
        const auto lastCopyRow = [folders] {
            for (size_t row = 0; row < folders->workingArray().size(); ++row)
                if (folders->checkboxLookForRow(int(row)).action == PickerCheckboxAction::LastCopy)
                    return int(row);
            return -1;
        };
        for (int step = 1; step < 5 && lastCopyRow() < 0; ++step) {
            folders->list()->selectTableRow(step);
            folders->checkBoxForSelectedFolderPressed();
            settle();
        }
        folders->list()->selectTableRow(lastCopyRow());
        settle();
        session.save(QStringLiteral("last-copies"), &background);

        // A partly selected similar folder.
        folders->deselectAll();
        settle();
        folders->list()->selectTableRow(0);
        folders->checkBoxForSelectedFolderPressed();
        settle();
        heaps->list()->selectTableRow(int(heaps->workingArray().size()) - 1);
        heaps->checkBoxForSelectedFolderPressed();
        settle();
        session.save(QStringLiteral("heaps-list"), heaps->grab().toImage());

        folders->searchTextField()->setText(QStringLiteral("nothing like it"));
        folders->controlTextDidChange();
        settle();
        session.save(QStringLiteral("search-none"), &background);
    }
    DuplicatesManager::sharedManager().setDuplicateContainer(nullptr);
}
