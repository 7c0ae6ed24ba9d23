// The folder list's row button, its context menu and its share in Deselect All.
#include "Browser/Similars/FolderPickerVC.h"

#include "Browser/Common/AllowRemovingAllCopiesWC.h"
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
#include "Results/HeapsFolderData.h"
#include "Results/HeapsGroup.h"
#include "Selection/OperationsManager.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QCheckBox>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

namespace {

// One batch of selection changes: one selection-changed notification at its end.
struct SelectionBatch {
    SelectionBatch() { DuplicatesGroup::BeginSelectionGroup(); }
    ~SelectionBatch() { DuplicatesGroup::EndSelectionGroup(); }
    SelectionBatch(const SelectionBatch&) = delete;
    SelectionBatch& operator=(const SelectionBatch&) = delete;
};

} // namespace

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
        for (const auto& copy : heap->getDuplicateItems().items()) {
            if (copy->getParentFolderItemPath() != path || copy->isSelected())
                continue;
            const auto copyGroup = copy->getGroup();
            if (copyGroup && copyGroup->getTotalCount() >= copyGroup->getActualSelectedCount() + 2)
                return true;
        }
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
            const auto heap = group.getHeapForKey(key);
            if (!heap)
                continue;
            for (const auto& copy : heap->getDuplicateItems().items()) {
                if (copy->getParentFolderItemPath() != path)
                    continue;
                if (select)
                    copy->selectItemForced(forced);
                else
                    copy->deselectItem();
            }
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
        if (m_lastCopiesAlert)
            return;
        auto* alert = new QMessageBox(window());
        alert->setAttribute(Qt::WA_DeleteOnClose);
        alert->setWindowModality(Qt::WindowModal);
        alert->setIcon(QMessageBox::Warning);
        alert->setText(PickerTexts::attention);
        const QString name = row->folder ? QFile::decodeName(row->folder->name()) : QString();
        alert->setInformativeText(PickerTexts::lastCopiesQuestion.arg(name));
        QPushButton* ok = alert->addButton(PickerTexts::ok, QMessageBox::AcceptRole);
        alert->addButton(PickerTexts::cancel, QMessageBox::RejectRole);
        alert->setDefaultButton(ok);
        alert->setCheckBox(new QCheckBox(PickerTexts::doNotShowAgain, alert));
        const std::weak_ptr<HeapsGroup> weakGroup = group;
        const FolderSystemItem* folder = row->folder;
        connect(alert, &QMessageBox::finished, this, [this, alert, ok, weakGroup, folder] {
            const auto kept = weakGroup.lock();
            if (alert->clickedButton() != ok || !kept) {
                m_list->checkbox()->setState(0);
                return;
            }
            if (alert->checkBox()->isChecked())
                Settings::setShowRemoveLastInHeapsMessage(false);
            // The rows may have moved while the question was open.
            for (size_t i = 0; i < m_workingArray.size(); ++i)
                if (m_workingArray[i].folder == folder)
                    selectDuplicatesForRow(true, int(i), *kept, true);
        });
        m_lastCopiesAlert = alert;
        alert->open();
        return;
    }
    selectDuplicatesForRow(on, index, *group, allow);
}

void FolderPickerVC::disabledCheckboxPressed() {
    ButtonWithTrackingArea* box = m_list->checkbox();
    const QRect global(box->mapToGlobal(QPoint(0, 0)), box->size());
    AllowRemovingAllCopiesWC::showControllerAtPosition(
        AllowRemovingAllCopiesWC::screenPointForRect(global), window());
}

void FolderPickerVC::duplicateFolderPressed() {
    const PickerRow* row = m_list->model()->row(m_selectedFolderIndex);
    // The swap away from this view lets it go only when its animation ends.
    if (ResultsFrame* screen = controller(); screen && row)
        screen->showFolderInDuplicateFolders(row->folder);
}

void FolderPickerVC::checkBoxForSelectedFolderPressed() {
    if (!m_list->model()->row(m_selectedFolderIndex))
        return;
    PickerCheckbox::apply(*m_list->checkbox(), checkboxLookForRow(m_selectedFolderIndex));
    m_list->checkbox()->performClick();
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
    const QByteArray path = getSelectedFilePath();
    if (!path.isEmpty())
        FileManagerReveal::revealPath(path);
}

void FolderPickerVC::getInfo() {
    const QByteArray path = getSelectedFilePath();
    if (!path.isEmpty())
        FileManagerReveal::showItemProperties(path);
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
    if (!m_contextMenu) {
        m_contextMenu = new QMenu(this);
        m_contextMenu->setObjectName(QStringLiteral("folderPickerMenu"));
    }
    m_contextMenu->clear();
    const PickerRow* row = m_list->model()->row(index);
    if (!row)
        return m_contextMenu;
    switch (checkboxLookForRow(index).action) {
    case PickerCheckboxAction::Toggle:
        m_contextMenu->addAction(row->selectedCount < 1 ? PickerTexts::folderSelectAll
                                                        : PickerTexts::folderDeselectAll,
                                 this, [this] { checkBoxForSelectedFolderPressed(); });
        break;
    case PickerCheckboxAction::DuplicateFolder:
        m_contextMenu->addAction(PickerTexts::showInDuplicateFolders, this,
                                 [this] { showInDuplicateFolders(); });
        break;
    case PickerCheckboxAction::LastCopy:
        break;
    }
    m_contextMenu->addSeparator();
    m_contextMenu->addAction(
        PickerTexts::addToSkipList.arg(row->facts ? row->facts->displayName : QString()), this,
        [this] { addFolderToSkipList(); });
    m_contextMenu->addSeparator();
    m_contextMenu->addAction(PickerTexts::showInFileManager, this, [this] { revealInFinder(); });
    m_contextMenu->addAction(PickerTexts::properties, this, [this] { getInfo(); });
    return m_contextMenu;
}

QMenu* FolderPickerVC::contextMenuRequested(const QPoint& viewportPoint) {
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
    // The commands then act on the clicked folder.
    m_selectedFolderIndex = row;
    m_list->selectTableRow(row);
    menu->popup(m_list->table()->viewport()->mapToGlobal(viewportPoint));
    return menu;
}
