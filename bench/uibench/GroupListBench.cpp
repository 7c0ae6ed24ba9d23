// Group list figures of "uibench results" (see GroupListBench.h):
//   all files list          from the documents into All Files (the list reads every group)
//   sort type N             the sort menu's choice of type N until the list is repainted,
//                           after a pause of two seconds in which the list decodes names
//   search letter           the first letter typed into the search field (the copies'
//                           names were decoded during the pause)
//   search next letter      a second letter, narrowing the first one's matches
//   search letter at once   the first letter typed right after the list was read again
//                           (all names decoded by the search itself)
//   refresh after selection one copy selected while the list is sorted by selection (the
//                           list re-sorts); "(size order)" while sorted by size (a repaint)
//   paint screenful         one paint of the visible rows, the mean of 20
//   group list memory       bytes per group the list keeps (texts and rows included)
#include "GroupListBench.h"

#include "UiBench.h"

#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/GroupList/FileListVC.h"
#include "Categories/Settings.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesGroup.h"
#include "Toolkit/SearchTextField.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <cstdio>
#include <functional>

namespace {

// The main thread's time from `action` until `done` holds and the window is painted.
qint64 timed(
    QWidget* window, const std::function<void()>& action,
    const std::function<bool()>& done = [] { return true; }) {
    QElapsedTimer timer;
    timer.start();
    action();
    UiBench::settle(window);
    while (!done()) {
        if (timer.elapsed() > 60000)
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return timer.elapsed();
}

void typeLetter(QWidget* field, char letter) {
    const QString text(QLatin1Char{letter});
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A + (letter - 'a'), Qt::NoModifier, text);
    QCoreApplication::sendEvent(field, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A + (letter - 'a'), Qt::NoModifier, text);
    QCoreApplication::sendEvent(field, &release);
}

void chooseSortType(DuplicateToolbarVC* toolbar, int type) {
    // What the sort menu's item does.
    DuplicateToolbarVC::tryToSetSortType(type);
    toolbar->setSortByButtonTitle();
}

} // namespace

int runGroupListFigures(SelectDuplicatesVC& screen) {
    DuplicateToolbarVC* toolbar = screen.duplicatesToolbar();
    Settings::setSortType(Settings::SortTypeSize);
    Settings::setSortDirection(Settings::SortDirectionDescending);
    int failures = 0;
    const auto print = [&](const char* name, qint64 ms) {
        UiBench::printFigure(name, ms);
        failures += ms < 0 ? 1 : 0;
    };

    print("all files list", timed(&screen, [&] { toolbar->pressButtonForCategoryType(-1); }));
    FileListVC* list = screen.fileListVC();
    if (!list)
        return 1;
    std::printf("group list rows: %d\n", list->rows().rowCount());
    const auto userPause = [] {
        QElapsedTimer pause;
        pause.start();
        while (pause.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    };
    // The user looks at the list before choosing another order: meanwhile the list decodes
    // the names it sorts and searches by.
    userPause();

    // From size to each other type and back to size, each a change of type.
    for (int type : {1, 2, 3, 4, 5, 6, 0}) {
        const QByteArray name = "sort type " + QByteArray::number(type);
        print(name.constData(), timed(&screen, [&] { chooseSortType(toolbar, type); }));
    }

    SearchTextField* field = list->searchTextField();
    field->setFocus();
    print("search letter", timed(&screen, [&] { typeLetter(field, 'j'); }));
    std::printf("search rows: %d\n", list->rows().rowCount());
    print("search next letter", timed(&screen, [&] { typeLetter(field, 'p'); }));
    std::printf("search rows: %d\n", list->rows().rowCount());
    print("search cleared", timed(&screen, [&] { list->clearSearchTextPressed(); }));
    // No pause: the list is read again and the first letter comes at once.
    toolbar->pressButtonForCategoryType(3);
    UiBench::settle(&screen);
    toolbar->pressButtonForCategoryType(-1);
    UiBench::settle(&screen);
    field->setFocus();
    print("search letter at once", timed(&screen, [&] { typeLetter(field, 'j'); }));
    list->clearSearchTextPressed();
    UiBench::settle(&screen);

    const auto selectOneCopy = [&] {
        const auto group = list->selectedGroup();
        for (const auto& item : group->getItems())
            if (!item->isSelected() && item->selectItemForced(false))
                return;
    };
    int refreshes = list->refreshCount();
    print("refresh after selection (size order)",
          timed(&screen, selectOneCopy, [&] { return list->refreshCount() > refreshes; }));
    chooseSortType(toolbar, Settings::SortTypeSelected);
    UiBench::settle(&screen);
    refreshes = list->refreshCount();
    print("refresh after selection",
          timed(&screen, selectOneCopy, [&] { return list->refreshCount() > refreshes; }));
    chooseSortType(toolbar, Settings::SortTypeSize);
    UiBench::settle(&screen);

    QWidget* viewport = list->tableView()->viewport();
    viewport->repaint(); // icons of the visible types are made on the first paint
    constexpr int kPaints = 20;
    QElapsedTimer paint;
    paint.start();
    for (int i = 0; i < kPaints; ++i)
        viewport->repaint();
    std::printf("paint screenful: %.2f ms\n", paint.nsecsElapsed() / 1e6 / kPaints);

    const auto& rows = list->rows();
    if (!rows.entries().empty())
        std::printf("group list memory: %zu bytes per group\n",
                    rows.memoryUsage() / rows.entries().size());
    return failures ? 1 : 0;
}
