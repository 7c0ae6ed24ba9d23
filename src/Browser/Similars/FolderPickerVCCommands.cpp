// The folder list's row button, its context menu and its share in Deselect All.
#include "Browser/Similars/FolderPickerVC.h"

#include "Browser/Similars/PickerList.h"
#include "Browser/Similars/PickerListModel.h"
#include "Browser/Similars/PickerShared.h"
#include "Browser/Similars/PickerTexts.h"
#include "Categories/Settings.h"
#include "FileTree/FolderSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesHeap.h"
#include "Results/DuplicatesManager.h"
#include "Results/HeapsFolderData.h"
#include "Results/HeapsGroup.h"
#include "Selection/OperationsManager.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QFile>
#include <QMenu>
#include <QMessageBox>

using PickerShared::SelectionBatch;

PickerCheckboxLook FolderPickerVC::checkboxLookForRow(int index) const {
    const PickerRow* row = m_list->model()->row(index);
    if (!row || !row->folderData)
        return PickerCheckbox::folderLook({});
    FolderCheckboxFacts facts;
    facts.duplicateFolder = row->folder && row->folder->getDuplicateItem();
    facts.count = row->count;
    facts.selected = row->selectedCount;
    facts.allow = Settings::allowRemovingAllDuplicateCopies();
    const auto group = const_cast<FolderPickerVC*>(this)->heapsGroupFor(*row->folderData);
    facts.last = group && group->isHasLastItems();
    facts.full = row->folderData->calculateCountOfGroupsThatFullySelected();
    facts.selectable = folderHasDuplicatesToRemove(group.get(), row->facts->path);
    return PickerCheckbox::folderLook(facts);
}

bool FolderPickerVC::folderHasDuplicatesToRemove(const HeapsGroup* group, const QByteArray& path) {
    if (!group)
        return false;
    for (const uint64_t key : group->getAllSubHeapsKeys()) {
        const auto heap = group->getHeapForKey(key);
        if (!heap)
            continue;
        for (const auto& copy : heap->getDuplicateItems().items())
            if (copy->parentFolderPathView() == path && PickerShared::maySelectUnderGuard(*copy))
                return true;
    }
    return false;
}

void FolderPickerVC::selectDuplicatesForRow(bool select, int index, const HeapsGroup& group,
                                            bool forced) {
    const PickerRow* row = m_list->model()->row(index);
    if (!row || !row->facts)
        return;
    const QByteArray path = row->facts->path;
    {
        SelectionBatch batch;
        for (const uint64_t key : group.getAllSubHeapsKeys()) {
            if (const auto heap = group.getHeapForKey(key))
                PickerShared::selectCopiesInFolder(heap->getDuplicateItems(), path, select, forced);
        }
    }
    // A press the guard refused changes nothing and is told of by no notification: the
    // button still takes its look from the model again.
    scheduleRefresh(false);
}

void FolderPickerVC::checkBoxPressed() {
    const int index = m_selectedFolderIndex;
    const PickerRow* row = m_list->model()->row(index);
    if (!row || !row->folderData)
        return;
    const auto group = heapsGroupFor(*row->folderData);
    if (!group) {
        scheduleRefresh(false);
        return;
    }
    const bool on = m_list->checkbox()->state() == 1;
    const bool allow = Settings::allowRemovingAllDuplicateCopies();
    if (allow && on && group->isHasLastItems() && Settings::showRemoveLastInHeapsMessage()) {
        const QString name = row->folder ? QFile::decodeName(row->folder->name()) : QString();
        const std::weak_ptr<HeapsGroup> weakGroup = group;
        const FolderSystemItem* folder = row->folder;
        PickerShared::askLastCopies(
            m_lastCopiesAlert, window(), this, *m_list, name,
            [weakGroup] { return !weakGroup.expired(); },
            [this, weakGroup, folder] {
                const auto kept = weakGroup.lock();
                // The rows may have moved while the question was open.
                for (size_t i = 0; i < m_workingArray.size(); ++i)
                    if (m_workingArray[i].folder == folder)
                        selectDuplicatesForRow(true, int(i), *kept, true);
            });
        return;
    }
    selectDuplicatesForRow(on, index, *group, allow);
}

void FolderPickerVC::disabledCheckboxPressed() {
    PickerShared::showAllowAllCopies(*m_list, window());
}

void FolderPickerVC::duplicateFolderPressed() {
    const PickerRow* row = m_list->model()->row(m_selectedFolderIndex);
    // The swap away from this view lets it go only when its animation ends.
    if (ResultsFrame* screen = controller(); screen && row)
        screen->showFolderInDuplicateFolders(row->folder);
}

void FolderPickerVC::checkBoxForSelectedFolderPressed() {
    PickerShared::pressCheckbox(*m_list, m_selectedFolderIndex,
                                [this](int row) { return checkboxLookForRow(row); });
}

void FolderPickerVC::showInDuplicateFolders() {
    duplicateFolderPressed();
}

void FolderPickerVC::addFolderToSkipList() {
    const PickerRow* row = m_list->model()->row(m_selectedFolderIndex);
    if (!row || !row->facts || row->facts->path.isEmpty())
        return;
    // A folder always goes to the folders' list, whatever its name looks like.
    DuplicatesManager::sharedManager().getOperationsManager().addToSkipListAndExclude(
        row->facts->path, false);
}

void FolderPickerVC::revealInFinder() {
    PickerShared::revealFolder(getSelectedFilePath());
}

void FolderPickerVC::getInfo() {
    PickerShared::showFolderProperties(getSelectedFilePath());
}

void FolderPickerVC::deselectAll() {
    SelectionBatch batch;
    for (const PickerRow& row : m_workingArray) {
        if (!row.folderData)
            continue;
        for (const auto& copy : row.folderData->getItems().items())
            if (copy->isSelected())
                copy->deselectItem();
    }
}

bool FolderPickerVC::isAnyDuplicatesForDeselect() const {
    for (const PickerRow& row : m_workingArray)
        if (row.selectedCount > 0)
            return true;
    return false;
}

QMenu* FolderPickerVC::buildContextMenuForRow(int index) {
    QMenu* menu =
        PickerShared::emptiedMenu(m_contextMenu, this, QStringLiteral("folderPickerMenu"));
    const PickerRow* row = m_list->model()->row(index);
    if (!row)
        return menu;
    PickerShared::addButtonItem(
        *menu, checkboxLookForRow(index).action,
        row->selectedCount < 1 ? PickerTexts::folderSelectAll : PickerTexts::folderDeselectAll,
        this, [this] { checkBoxForSelectedFolderPressed(); }, [this] { showInDuplicateFolders(); });
    PickerShared::addFolderItems(
        *menu, row->facts ? row->facts->displayName : QString(), this,
        [this] { addFolderToSkipList(); }, [this] { revealInFinder(); }, [this] { getInfo(); });
    return menu;
}

QMenu* FolderPickerVC::contextMenuRequested(const QPoint& viewportPoint) {
    ResultsFrame* screen = controller();
    return PickerShared::popUpContextMenu(
        *m_list, this, screen && screen->reviewPanelOpen(), viewportPoint,
        [this](int row) { return buildContextMenuForRow(row); },
        [this](int row) {
            // The commands then act on the clicked folder.
            m_selectedFolderIndex = row;
            m_list->selectTableRow(row);
        });
}
