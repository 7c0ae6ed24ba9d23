// The similar-folder list's row button and its context menu.
#include "Browser/Similars/HeapsPickerVC.h"

#include "Browser/Frame/CategoryStateManager.h"
#include "Browser/Similars/PickerList.h"
#include "Browser/Similars/PickerListModel.h"
#include "Browser/Similars/PickerShared.h"
#include "Browser/Similars/PickerTexts.h"
#include "Categories/Settings.h"
#include "FileTree/FolderSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeap.h"
#include "Results/DuplicatesManager.h"
#include "Selection/OperationsManager.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QFile>
#include <QMenu>
#include <QMessageBox>

using PickerShared::displayNameOf;
using PickerShared::SelectionBatch;

PickerCheckboxLook HeapsPickerVC::checkboxLookForRow(int index) const {
    const PickerRow* row = m_list->model()->row(index);
    if (!row || !row->heap)
        return PickerCheckbox::heapLook({});
    const DuplicatesHeap& heap = *row->heap;
    HeapCheckboxFacts facts;
    facts.duplicateFolder = row->folder && row->folder->getDuplicateItem();
    facts.count = row->count;
    facts.selected = row->selectedCount;
    facts.allow = Settings::allowRemovingAllDuplicateCopies();
    facts.lastInSecond = heap.isHasLastItemsInSecondFolder();
    facts.mainFolderName = displayNameOf(heap.getMainFolderItem());
    const QByteArray path = row->facts ? row->facts->path : QByteArray();
    for (const auto& copy : heap.getDuplicateItems().items()) {
        if (copy->parentFolderPathView() != path)
            continue;
        const auto group = copy->getGroup();
        if (!group)
            continue;
        if (group->getTotalCount() == group->getActualSelectedCount())
            facts.full = true;
        if (PickerShared::maySelectUnderGuard(*copy))
            facts.removable = true;
    }
    return PickerCheckbox::heapLook(facts);
}

void HeapsPickerVC::selectDuplicates(bool select, bool forced) {
    const auto heap = m_selectedHeapItem;
    const FolderSystemItem* second = heap ? heap->getSecondFolderItem() : nullptr;
    if (!second)
        return;
    const QByteArray path = second->path();
    {
        SelectionBatch batch;
        PickerShared::selectCopiesInFolder(heap->getDuplicateItems(), path, select, forced);
    }
    // A press the guard refused changes nothing and is told of by no notification: the
    // button still takes its look from the model again.
    scheduleRefresh();
}

void HeapsPickerVC::checkBoxPressed() {
    const auto heap = m_selectedHeapItem;
    if (!heap)
        return;
    const bool on = m_list->checkbox()->state() == 1;
    const bool allow = Settings::allowRemovingAllDuplicateCopies();
    if (allow && on && heap->isHasLastItemsInSecondFolder() &&
        Settings::showRemoveLastInHeapsMessage()) {
        const std::weak_ptr<DuplicatesHeap> asked = heap;
        PickerShared::askLastCopies(
            m_lastCopiesAlert, window(), this, *m_list, displayNameOf(heap->getSecondFolderItem()),
            // The answer holds for the heap it was asked about, if that is still chosen.
            [this, asked] {
                const auto kept = asked.lock();
                return kept && kept == m_selectedHeapItem;
            },
            [this] { selectDuplicates(true, true); });
        return;
    }
    selectDuplicates(on, allow);
}

void HeapsPickerVC::disabledCheckboxPressed() {
    PickerShared::showAllowAllCopies(*m_list, window());
}

void HeapsPickerVC::duplicateFolderPressed() {
    // The swap away from this view lets it go only when its animation ends.
    if (ResultsFrame* screen = controller(); screen && m_selectedHeapItem)
        screen->showFolderInDuplicateFolders(m_selectedHeapItem->getSecondFolderItem());
}

void HeapsPickerVC::checkBoxForSelectedFolderPressed() {
    PickerShared::pressCheckbox(*m_list, m_selectedHeapIndex,
                                [this](int row) { return checkboxLookForRow(row); });
}

void HeapsPickerVC::showInDuplicateFolders() {
    duplicateFolderPressed();
}

void HeapsPickerVC::showSimilarFoldersForSelectedFolderPressed() {
    const auto heap = m_selectedHeapItem;
    ResultsFrame* screen = controller();
    if (!heap || !heap->getSecondFolderItem() || !screen)
        return;
    // The two folders change places: the main folder becomes the similar one to choose.
    CategoryStateManager::sharedManager().setSecondFolderItem(heap->getMainHeapsFolderData());
    screen->showHeapFromFolderCategoryWithPath(heap->getSecondFolderItem()->path());
}

void HeapsPickerVC::addFolderToSkipList() {
    const QByteArray path = selectedSecondFolderPath();
    if (path.isEmpty())
        return;
    // A folder always goes to the folders' list, whatever its name looks like.
    DuplicatesManager::sharedManager().getOperationsManager().addToSkipListAndExclude(path, false);
}

void HeapsPickerVC::revealInFinder() {
    PickerShared::revealFolder(selectedSecondFolderPath());
}

void HeapsPickerVC::getInfo() {
    PickerShared::showFolderProperties(selectedSecondFolderPath());
}

QMenu* HeapsPickerVC::buildContextMenuForRow(int index) {
    QMenu* menu = PickerShared::emptiedMenu(m_contextMenu, this, QStringLiteral("heapsPickerMenu"));
    const PickerRow* row = m_list->model()->row(index);
    if (!row || !row->heap)
        return menu;
    const QString main = displayNameOf(row->heap->getMainFolderItem());
    const QString second = row->facts ? row->facts->displayName : QString();
    PickerShared::addButtonItem(
        *menu, checkboxLookForRow(index).action,
        (row->selectedCount < 1 ? PickerTexts::heapSelectAll : PickerTexts::heapDeselectAll)
            .arg(main),
        this, [this] { checkBoxForSelectedFolderPressed(); }, [this] { showInDuplicateFolders(); });
    menu->addAction(PickerTexts::showSimilarFolders.arg(second), this,
                    [this] { showSimilarFoldersForSelectedFolderPressed(); });
    PickerShared::addFolderItems(
        *menu, second, this, [this] { addFolderToSkipList(); }, [this] { revealInFinder(); },
        [this] { getInfo(); });
    return menu;
}

QMenu* HeapsPickerVC::contextMenuRequested(const QPoint& viewportPoint) {
    ResultsFrame* screen = controller();
    return PickerShared::popUpContextMenu(
        *m_list, this, screen && screen->reviewPanelOpen(), viewportPoint,
        [this](int row) { return buildContextMenuForRow(row); },
        [this](int row) {
            // The commands act on the clicked row, chosen now even when it was chosen
            // already.
            m_selectedHeapIndex = row;
            m_list->selectTableRow(row);
            pressedRowByIndex(row);
        });
}
