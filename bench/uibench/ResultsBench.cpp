// uibench results [--copies N] [--groups N]
//
// Builds a result of that size (BigResult.h; default a million copies in 300,000 groups),
// shows the results screen on the offscreen platform and prints the main thread's time for
// each step, from the user's action until the toolbar and the bottom bar are refreshed and
// the window is painted:
//   build result            building and validating the result (not an interface figure)
//   show results            making the screen and showing its overview
//   enter category          from the overview into the pictures
//   switch category         from the pictures to the documents (cross-fade included)
//   select all in category  every copy of the documents selected in one batch (the last
//                           copy of each group stays unselected under the guard)
//   enter similars (whole result)  from the overview into the similar-folders view
// and then the figures other files register (UiBench::ResultsFigure).
// Animations run on the Instant clock: a swap's whole work, completion included, falls in
// its figure instead of being spread over the frames of its animation.
#include "BigResult.h"
#include "GroupListBench.h"
#include "UiBench.h"

#include "Browser/Frame/DuplicateBottombarVC.h"
#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Categories/Settings.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/ScanTree.h"
#include "Platform/Dispatch.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesManager.h"
#include "Toolkit/AnimationClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int kPictures = 0;
constexpr int kDocuments = 3;

// Settles after `action` until `refreshed` holds (a notification's refresh may need more
// turns than settle() gives it); answers the milliseconds, or -1 when it never held.
qint64 timeAction(
    QWidget* window, const std::function<void()>& action,
    const std::function<bool()>& refreshed = [] { return true; }) {
    QElapsedTimer timer;
    timer.start();
    action();
    UiBench::settle(window);
    while (!refreshed()) {
        if (timer.elapsed() > 60000)
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return timer.elapsed();
}

int run(const QStringList& args) {
    BigResultShape shape;
    if (!shape.parse(args))
        return 2;
    QTemporaryDir scanned;
    if (!scanned.isValid())
        return 1;

    // The first-time help overlays are not part of these figures.
    Settings::setShowOverlayOverviewScreen(false);
    Settings::setShowOverlayCategoryScreen(false);
    Settings::setShowOverlaySimilarsScreen(false);
    AnimationClock::instance().setMode(AnimationClock::Mode::Instant);

    QElapsedTimer build;
    build.start();
    auto container = buildBigResult(shape, QFile::encodeName(scanned.path()));
    DuplicatesManager::sharedManager().setDuplicateContainer(container);
    UiBench::settle(nullptr);
    UiBench::printFigure("build result", build.elapsed());

    std::unique_ptr<SelectDuplicatesVC> screen;
    const qint64 show = timeAction(nullptr, [&] {
        screen = std::make_unique<SelectDuplicatesVC>();
        screen->resize(1200, 713);
        screen->show();
        screen->pressOverviewButton();
        UiBench::settle(screen.get());
    });
    UiBench::printFigure("show results", show);
    DuplicateToolbarVC* toolbar = screen->duplicatesToolbar();
    DuplicateBottombarVC* bottombar = screen->duplicatesBottombar();

    UiBench::printFigure("enter category", timeAction(screen.get(), [&] {
                             toolbar->pressButtonForCategoryType(kPictures);
                         }));
    UiBench::printFigure("switch category", timeAction(screen.get(), [&] {
                             toolbar->pressButtonForCategoryType(kDocuments);
                         }));

    const int toolbarRefreshes = toolbar->refreshCount();
    const int bottombarRefreshes = bottombar->refreshCount();
    const auto documents = container->getCategoryWithType(kDocuments)->getGroups();
    const qint64 selectAll = timeAction(
        screen.get(),
        [&] {
            DuplicatesGroup::BeginSelectionGroup();
            for (const auto& group : documents)
                for (const auto& item : group->getItems())
                    item->selectItemForced(false);
            DuplicatesGroup::EndSelectionGroup();
        },
        [&] {
            return toolbar->refreshCount() > toolbarRefreshes &&
                   bottombar->refreshCount() > bottombarRefreshes;
        });
    UiBench::printFigure("select all in category", selectAll);

    const int groupList = runGroupListFigures(*screen);

    // Back to the overview, then into the similar folders of this whole result.
    screen->pressOverviewButton();
    UiBench::settle(screen.get());
    UiBench::printFigure("enter similars (whole result)", timeAction(screen.get(), [&] {
                             toolbar->heapsButtonPressed(toolbar->heapsButton());
                         }));

    screen.reset();
    UiBench::settle(nullptr);
    DuplicatesManager::sharedManager().setDuplicateContainer(nullptr);
    // Work still running over this result (the automatic-selection candidates of the last
    // selection) holds its copies and lets them go a slice per main-queue turn when it ends:
    // the other figures start once they are all gone, so that none of them is charged with
    // freeing this result.
    // The scanned tree goes with the last copy that holds it.
    std::weak_ptr<ScanTree> released;
    if (const auto groups = container->getAllFilesGroups(); !groups.empty())
        if (const auto first = groups.front()->getFirstItem(); first && first->getFileSystemItem())
            released = first->getFileSystemItem()->tree();
    container.reset();
    // Something else may keep a few copies for good (the view state remembers the last
    // folder): the wait ends too once the copies stop going.
    long holders = released.use_count();
    for (int still = 0; holders > 0 && still < 20;) {
        Dispatch::waitUntilIdle(100);
        UiBench::settle(nullptr);
        const long now = released.use_count();
        still = now < holders ? 0 : still + 1;
        holders = now;
    }
    // The figures of other views, each over a result shaped for it.
    const bool others = UiBench::runResultsFigures();
    return show < 0 || selectAll < 0 || groupList != 0 || !others ? 1 : 0;
}

const UiBench::Command command("results", "[--copies N] [--groups N]", &run);

} // namespace
