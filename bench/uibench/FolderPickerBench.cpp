// Figures of the similar-folders view for `uibench results`, over a result of its own:
// 120,000 copies in 40,000 groups of three spread over 20,000 folders, every folder sharing
// two groups with four others, so all 20,000 take part in heaps and are rows of the folder
// list.
//   enter similars          from the overview into the similar-folders view
//   folder picker refresh   a batch of selection changes until the folder list has rebuilt,
//                           re-sorted and painted its rows
#include "BigResult.h"
#include "UiBench.h"

#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/Similars/FolderPickerVC.h"
#include "Categories/Settings.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeaps.h"
#include "Results/DuplicatesManager.h"
#include "Toolkit/AnimationClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

bool run() {
    QTemporaryDir scanned;
    if (!scanned.isValid())
        return false;
    Settings::setShowOverlaySimilarsScreen(false);
    Settings::setSortType(Settings::SortTypeSelected);
    AnimationClock::instance().setMode(AnimationClock::Mode::Instant);

    BigResultShape shape;
    shape.copies = 120000;
    shape.groups = 40000;
    shape.folders = 20000;
    auto container = buildBigResult(shape, QFile::encodeName(scanned.path()));
    DuplicatesManager::sharedManager().setDuplicateContainer(container);
    UiBench::settle(nullptr);
    std::printf("folders in heaps: %zu\n", container->getHeaps()->getAllFoldersData().size());

    auto screen = std::make_unique<SelectDuplicatesVC>();
    screen->resize(1200, 713);
    screen->show();
    screen->pressOverviewButton();
    UiBench::settle(screen.get());

    QElapsedTimer enter;
    enter.start();
    screen->duplicatesToolbar()->heapsButtonPressed(screen->duplicatesToolbar()->heapsButton());
    UiBench::settle(screen.get());
    UiBench::printFigure("enter similars", enter.elapsed());
    FolderPickerVC* picker = screen->folderPickerVC();
    if (!picker ||
        picker->workingArray().size() != container->getHeaps()->getAllFoldersData().size())
        return false;

    // A hundred groups' first copies selected in one batch, as a check box or a menu does.
    const auto groups = container->getAllFilesGroups();
    const int rebuilds = picker->rebuildCount();
    QElapsedTimer refresh;
    refresh.start();
    DuplicatesGroup::BeginSelectionGroup();
    for (size_t g = 0; g < groups.size() && g < 100; ++g)
        groups[g]->getItems().front()->selectItemForced(false);
    DuplicatesGroup::EndSelectionGroup();
    UiBench::settle(screen.get());
    const qint64 ms = refresh.elapsed();
    if (picker->rebuildCount() != rebuilds + 1)
        return false;
    UiBench::printFigure("folder picker refresh", ms);

    screen.reset();
    UiBench::settle(nullptr);
    DuplicatesManager::sharedManager().setDuplicateContainer(nullptr);
    Settings::setSortType(Settings::SortTypeSize);
    return true;
}

const UiBench::ResultsFigure figure("folder picker", &run);

} // namespace
