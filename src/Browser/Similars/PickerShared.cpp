#include "Browser/Similars/PickerShared.h"
#include "Browser/Similars/PickerListModel.h"

#include "Browser/Common/AllowRemovingAllCopiesWC.h"
#include "Browser/Common/ListKeys.h"
#include "Browser/Similars/PickerList.h"
#include "Browser/Similars/PickerTexts.h"
#include "Categories/AppNotification.h"
#include "Categories/Settings.h"
#include "FileTree/FolderSystemItem.h"
#include "Platform/ui/FileManagerReveal.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesGroup.h"
#include "Results/HeapsFolderData.h"
#include "Results/OrderedSet.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QCheckBox>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

namespace PickerShared {

SelectionBatch::SelectionBatch() {
    DuplicatesGroup::BeginSelectionGroup();
}

SelectionBatch::~SelectionBatch() {
    DuplicatesGroup::EndSelectionGroup();
}

QString wordFor(uint64_t count) {
    return count == 1 ? PickerTexts::duplicate : PickerTexts::duplicates;
}

QString displayNameOf(const FolderSystemItem* folder) {
    return folder ? folder->displayName() : QString();
}

bool maySelectUnderGuard(const DuplicateItem& copy) {
    if (copy.isSelected())
        return false;
    const auto group = copy.getGroup();
    return group && group->getTotalCount() >= group->getActualSelectedCount() + 2;
}

void selectCopiesInFolder(const OrderedSet<DuplicateItem>& copies, const QByteArray& path,
                          bool select, bool forced) {
    for (const auto& copy : copies.items()) {
        if (copy->parentFolderPathView() != path)
            continue;
        if (select)
            copy->selectItemForced(forced);
        else
            copy->deselectItem();
    }
}

int showSortedRows(PickerList& list, std::vector<PickerRow>& rows,
                   const HeapsFolderData* remembered, int index, bool sort) {
    if (sort)
        PickerRows::sortRows(rows, Settings::sortType(), Settings::sortDirection());
    if (remembered) {
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].folder == remembered->getFolderSystemItem()) {
                index = int(i);
                break;
            }
    }
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i].selected = int(i) == index;
    list.reload(rows);
    return index;
}

void connectCheckbox(PickerList& list, QObject* context, CheckboxHandlers handlers) {
    QObject::connect(list.checkbox(), &QAbstractButton::clicked, context,
                     [handlers = std::move(handlers)] {
                         switch (handlers.look().action) {
                         case PickerCheckboxAction::Toggle:
                             handlers.toggle();
                             break;
                         case PickerCheckboxAction::LastCopy:
                             handlers.lastCopy();
                             break;
                         case PickerCheckboxAction::DuplicateFolder:
                             handlers.duplicateFolder();
                             break;
                         }
                     });
}

void pressCheckbox(PickerList& list, int row,
                   const std::function<PickerCheckboxLook(int row)>& lookFor) {
    if (!list.model()->row(row))
        return;
    PickerCheckbox::apply(*list.checkbox(), lookFor(row));
    list.checkbox()->performClick();
}

void showAllowAllCopies(PickerList& list, QWidget* window) {
    ButtonWithTrackingArea* box = list.checkbox();
    const QRect global(box->mapToGlobal(QPoint(0, 0)), box->size());
    AllowRemovingAllCopiesWC::showControllerAtPosition(
        AllowRemovingAllCopiesWC::screenPointForRect(global), window);
}

void askLastCopies(QPointer<QMessageBox>& alert, QWidget* window, QObject* context,
                   PickerList& list, const QString& folderName, std::function<bool()> stillAsked,
                   std::function<void()> select) {
    if (alert)
        return;
    auto* box = new QMessageBox(window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->setIcon(QMessageBox::Warning);
    box->setText(PickerTexts::attention);
    box->setInformativeText(PickerTexts::lastCopiesQuestion.arg(folderName));
    QPushButton* ok = box->addButton(PickerTexts::ok, QMessageBox::AcceptRole);
    box->addButton(PickerTexts::cancel, QMessageBox::RejectRole);
    box->setDefaultButton(ok);
    box->setCheckBox(new QCheckBox(PickerTexts::doNotShowAgain, box));
    QPointer<ButtonWithTrackingArea> button = list.checkbox();
    QObject::connect(
        box, &QMessageBox::finished, context,
        [box, ok, button, stillAsked = std::move(stillAsked), select = std::move(select)] {
            if (box->clickedButton() != ok || !stillAsked()) {
                if (button)
                    button->setState(0);
                return;
            }
            if (box->checkBox()->isChecked())
                Settings::setShowRemoveLastInHeapsMessage(false);
            select();
        });
    alert = box;
    box->open();
}

QMenu* emptiedMenu(QPointer<QMenu>& menu, QWidget* owner, const QString& objectName) {
    if (!menu) {
        menu = new QMenu(owner);
        menu->setObjectName(objectName);
    }
    menu->clear();
    return menu;
}

void addButtonItem(QMenu& menu, PickerCheckboxAction action, const QString& toggleTitle,
                   QObject* context, std::function<void()> toggle,
                   std::function<void()> showInDuplicateFolders) {
    switch (action) {
    case PickerCheckboxAction::Toggle:
        menu.addAction(toggleTitle, context, std::move(toggle));
        break;
    case PickerCheckboxAction::DuplicateFolder:
        menu.addAction(PickerTexts::showInDuplicateFolders, context,
                       std::move(showInDuplicateFolders));
        break;
    case PickerCheckboxAction::LastCopy:
        break;
    }
}

void addFolderItems(QMenu& menu, const QString& displayName, QObject* context,
                    std::function<void()> addToSkipList, std::function<void()> reveal,
                    std::function<void()> getInfo) {
    menu.addSeparator();
    menu.addAction(PickerTexts::addToSkipList.arg(displayName), context, std::move(addToSkipList));
    menu.addSeparator();
    menu.addAction(PickerTexts::showInFileManager, context, std::move(reveal));
    menu.addAction(PickerTexts::properties, context, std::move(getInfo));
}

QMenu* popUpContextMenu(PickerList& list, QWidget* owner, bool reviewPanelOpen,
                        const QPoint& viewportPoint, const std::function<QMenu*(int)>& build,
                        const std::function<void(int)>& choose) {
    if (reviewPanelOpen)
        return nullptr;
    if (!owner->window()->isActiveWindow())
        return nullptr;
    const int row = list.rowAt(viewportPoint);
    QMenu* menu = build(row);
    if (row < 0)
        return nullptr;
    choose(row);
    menu->popup(list.table()->viewport()->mapToGlobal(viewportPoint));
    return menu;
}

void revealFolder(const QByteArray& path) {
    if (!path.isEmpty())
        FileManagerReveal::revealPath(path);
}

void showFolderProperties(const QByteArray& path) {
    if (!path.isEmpty())
        FileManagerReveal::showItemProperties(path);
}

void listKeyPressed(const KeyEvent& event, const ListKeyHandlers& handlers) {
    const bool option = ListKeys::hasOption(event);
    switch (event.keyCode) {
    case ListKeys::kReturn:
        handlers.pressCheckbox();
        break;
    case ListKeys::kTab:
        AppNotification::CreateArrowNavigationNotificationWithType(
            (event.modifierFlags & KeyEvent::ShiftKeyMask) ? handlers.backTabTarget
                                                           : handlers.tabTarget);
        break;
    case ListKeys::kSpace:
        handlers.showPreview();
        break;
    case ListKeys::kDown:
        handlers.moveSelection(true, option);
        break;
    case ListKeys::kUp:
        handlers.moveSelection(false, option);
        break;
    default:
        navigateSideways(event.keyCode, handlers.leftTarget, handlers.rightTarget);
        break;
    }
}

void followFromNextList(const KeyEvent& event, bool nextHasFocus, int nextTarget,
                        const std::function<void(bool down, bool toEnd)>& moveSelection) {
    if (nextHasFocus && ListKeys::hasCommand(event) &&
        (event.keyCode == ListKeys::kDown || event.keyCode == ListKeys::kUp)) {
        moveSelection(event.keyCode == ListKeys::kDown, ListKeys::hasOption(event));
        AppNotification::CreateArrowNavigationNotificationWithType(nextTarget);
    }
}

bool navigateSideways(int keyCode, int leftTarget, int rightTarget) {
    const int target = keyCode == ListKeys::kLeft    ? leftTarget
                       : keyCode == ListKeys::kRight ? rightTarget
                                                     : -1;
    if (target < 0)
        return false;
    AppNotification::CreateArrowNavigationNotificationWithType(target);
    return true;
}

} // namespace PickerShared
