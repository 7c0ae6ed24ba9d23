// The similar-folder list's row button and its context menu.
#include "Browser/Similars/HeapsPickerVC.h"

#include "Browser/Common/AllowRemovingAllCopiesWC.h"
#include "Browser/Frame/CategoryStateManager.h"
#include "Browser/Similars/PickerList.h"
#include "Browser/Similars/PickerListModel.h"
#include "Browser/Similars/PickerTexts.h"
#include "Categories/Settings.h"
#include "FileTree/FolderSystemItem.h"
#include "Platform/ui/FileManagerReveal.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeap.h"
#include "Results/DuplicatesManager.h"
#include "Selection/OperationsManager.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QCheckBox>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

namespace {

struct SelectionBatch {
    SelectionBatch() { DuplicatesGroup::BeginSelectionGroup(); }
    ~SelectionBatch() { DuplicatesGroup::EndSelectionGroup(); }
    SelectionBatch(const SelectionBatch&) = delete;
    SelectionBatch& operator=(const SelectionBatch&) = delete;
};

QString displayNameOf(const FolderSystemItem* folder) {
    return folder ? folder->displayName() : QString();
}

} // namespace

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
        if (copy->getParentFolderItemPath() != path)
            continue;
        const auto group = copy->getGroup();
        if (!group)
            continue;
        if (group->getTotalCount() == group->getActualSelectedCount())
            facts.full = true;
        if (!copy->isSelected() && group->getTotalCount() >= group->getActualSelectedCount() + 2)
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
        for (const auto& copy : heap->getDuplicateItems().items()) {
            if (copy->getParentFolderItemPath() != path)
                continue;
            if (select)
                copy->selectItemForced(forced);
            else
                copy->deselectItem();
        }
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
        if (m_lastCopiesAlert)
            return;
        auto* alert = new QMessageBox(window());
        alert->setAttribute(Qt::WA_DeleteOnClose);
        alert->setWindowModality(Qt::WindowModal);
        alert->setIcon(QMessageBox::Warning);
        alert->setText(PickerTexts::attention);
        alert->setInformativeText(
            PickerTexts::lastCopiesQuestion.arg(displayNameOf(heap->getSecondFolderItem())));
        QPushButton* ok = alert->addButton(PickerTexts::ok, QMessageBox::AcceptRole);
        alert->addButton(PickerTexts::cancel, QMessageBox::RejectRole);
        alert->setDefaultButton(ok);
        alert->setCheckBox(new QCheckBox(PickerTexts::doNotShowAgain, alert));
        const std::weak_ptr<DuplicatesHeap> asked = heap;
        connect(alert, &QMessageBox::finished, this, [this, alert, ok, asked] {
            // The answer holds for the heap it was asked about, if that is still chosen.
            const auto kept = asked.lock();
            if (alert->clickedButton() != ok || !kept || kept != m_selectedHeapItem) {
                m_list->checkbox()->setState(0);
                return;
            }
            if (alert->checkBox()->isChecked())
                Settings::setShowRemoveLastInHeapsMessage(false);
            selectDuplicates(true, true);
        });
        m_lastCopiesAlert = alert;
        alert->open();
        return;
    }
    selectDuplicates(on, allow);
}

void HeapsPickerVC::disabledCheckboxPressed() {
    ButtonWithTrackingArea* box = m_list->checkbox();
    const QRect global(box->mapToGlobal(QPoint(0, 0)), box->size());
    AllowRemovingAllCopiesWC::showControllerAtPosition(
        AllowRemovingAllCopiesWC::screenPointForRect(global), window());
}

void HeapsPickerVC::duplicateFolderPressed() {
    // The swap away from this view lets it go only when its animation ends.
    if (ResultsFrame* screen = controller(); screen && m_selectedHeapItem)
        screen->showFolderInDuplicateFolders(m_selectedHeapItem->getSecondFolderItem());
}

void HeapsPickerVC::checkBoxForSelectedFolderPressed() {
    if (!m_list->model()->row(m_selectedHeapIndex))
        return;
    PickerCheckbox::apply(*m_list->checkbox(), checkboxLookForRow(m_selectedHeapIndex));
    m_list->checkbox()->performClick();
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
    const QByteArray path = selectedSecondFolderPath();
    if (!path.isEmpty())
        FileManagerReveal::revealPath(path);
}

void HeapsPickerVC::getInfo() {
    const QByteArray path = selectedSecondFolderPath();
    if (!path.isEmpty())
        FileManagerReveal::showItemProperties(path);
}

QMenu* HeapsPickerVC::buildContextMenuForRow(int index) {
    if (!m_contextMenu) {
        m_contextMenu = new QMenu(this);
        m_contextMenu->setObjectName(QStringLiteral("heapsPickerMenu"));
    }
    m_contextMenu->clear();
    const PickerRow* row = m_list->model()->row(index);
    if (!row || !row->heap)
        return m_contextMenu;
    const QString main = displayNameOf(row->heap->getMainFolderItem());
    const QString second = row->facts ? row->facts->displayName : QString();
    switch (checkboxLookForRow(index).action) {
    case PickerCheckboxAction::Toggle:
        m_contextMenu->addAction(
            (row->selectedCount < 1 ? PickerTexts::heapSelectAll : PickerTexts::heapDeselectAll)
                .arg(main),
            this, [this] { checkBoxForSelectedFolderPressed(); });
        break;
    case PickerCheckboxAction::DuplicateFolder:
        m_contextMenu->addAction(PickerTexts::showInDuplicateFolders, this,
                                 [this] { showInDuplicateFolders(); });
        break;
    case PickerCheckboxAction::LastCopy:
        break;
    }
    m_contextMenu->addAction(PickerTexts::showSimilarFolders.arg(second), this,
                             [this] { showSimilarFoldersForSelectedFolderPressed(); });
    m_contextMenu->addSeparator();
    m_contextMenu->addAction(PickerTexts::addToSkipList.arg(second), this,
                             [this] { addFolderToSkipList(); });
    m_contextMenu->addSeparator();
    m_contextMenu->addAction(PickerTexts::showInFileManager, this, [this] { revealInFinder(); });
    m_contextMenu->addAction(PickerTexts::properties, this, [this] { getInfo(); });
    return m_contextMenu;
}

QMenu* HeapsPickerVC::contextMenuRequested(const QPoint& viewportPoint) {
    // While the review panel is open the list offers no menu: its commands would act on a
    // selection the panel is about to remove.
    ResultsFrame* screen = controller();
    if (screen && screen->reviewPanelOpen())
        return nullptr;
    if (!window()->isActiveWindow())
        return nullptr;
    const int row = m_list->rowAt(viewportPoint);
    QMenu* menu = buildContextMenuForRow(row);
    if (row < 0)
        return nullptr;
    // The commands act on the clicked row, chosen now even when it was chosen already.
    m_selectedHeapIndex = row;
    m_list->selectTableRow(row);
    pressedRowByIndex(row);
    menu->popup(m_list->table()->viewport()->mapToGlobal(viewportPoint));
    return menu;
}
