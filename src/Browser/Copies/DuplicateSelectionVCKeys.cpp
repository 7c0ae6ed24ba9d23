// The copies table's keys, its moves between rows and the preview panel.
#include "Browser/Copies/DuplicateSelectionVC.h"

#include "Browser/Common/ListKeys.h"
#include "Browser/Copies/DuplicateSelectionCellView.h"
#include "Browser/Copies/DuplicateSelectionModel.h"
#include "Categories/AppNotification.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "Platform/KeyEvent.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesHeap.h"
#include "Toolkit/QuickLookController.h"
#include "Toolkit/QuickLookSourceType.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QApplication>

#include <array>

namespace {

using ListKeys::kDown;
using ListKeys::kLeft;
using ListKeys::kReturn;
using ListKeys::kSpace;
using ListKeys::kTab;
using ListKeys::kUp;

// The main keyboard's digits "1" to "9" in digit order.
constexpr std::array<quint16, 9> kDigitKeyCodes{18, 19, 20, 21, 23, 22, 26, 28, 25};

int digitIndex(quint16 keyCode) {
    for (std::size_t i = 0; i < kDigitKeyCodes.size(); ++i) {
        if (kDigitKeyCodes[i] == keyCode)
            return int(i);
    }
    return -1;
}

} // namespace

bool DuplicateSelectionVC::resultsListHasFocus() const {
    const QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return false;
    if (focus == m_table)
        return true;
    // Another list of the same results screen (the group list, the review panel's list).
    const QWidget* screen = m_controller ? static_cast<const QWidget*>(m_controller->frameWidget())
                                         : static_cast<const QWidget*>(window());
    return qobject_cast<const QAbstractItemView*>(focus) && screen && screen->isAncestorOf(focus);
}

void DuplicateSelectionVC::keyPressed(const Notification& notification) {
    const auto event = AppNotification::GetEventFromNotification(notification);
    if (!event || ListKeys::hasCommand(*event))
        return;
    const bool option = ListKeys::hasOption(*event);
    if (isTableFirstResponder()) {
        switch (event->keyCode) {
        case kReturn:
            selectOrDeselectCurrentDuplicate();
            return;
        case kTab:
        case kLeft:
            AppNotification::CreateArrowNavigationNotificationWithType(
                ArrowNavigationTargetGroupList);
            return;
        case kSpace:
            spaceButtonPressed();
            return;
        case kDown:
            option ? selectLastItem() : selectNextFileItem();
            selectSelectedFileRow();
            return;
        case kUp:
            option ? selectFirstItem() : selectPrevFileItem();
            selectSelectedFileRow();
            return;
        default:
            break;
        }
    }
    // The digits pick a copy from whichever list of the results screen has the focus, and
    // only from there: a search field or a dialog keeps its digits.
    const int digit = digitIndex(event->keyCode);
    if (digit < 0 || !resultsListHasFocus())
        return;
    if (event->modifierFlags & KeyEvent::ShiftKeyMask)
        selectOrDeselectAllButFileItemAtIndex(digit);
    else
        selectOrDeselectFileItemAtIndex(digit);
}

void DuplicateSelectionVC::arrowNavigation(const Notification& notification) {
    if (AppNotification::GetArrowNavigationTypeFromNotification(notification) !=
        ArrowNavigationTargetCopiesTable)
        return;
    m_table->setFocus(Qt::OtherFocusReason);
    reloadData();
}

void DuplicateSelectionVC::quickLookKeyPressed(const Notification& notification) {
    if (notification.userInfo.value(QStringLiteral("Type")).toInt() !=
        QuickLookSourceTypeCopiesTable)
        return;
    const auto event = notification.userInfo.value(QStringLiteral("Event")).value<KeyEvent>();
    const bool option = event.modifierFlags & KeyEvent::OptionKeyMask;
    auto& quickLook = QuickLookController::sharedQuickLookController();
    switch (event.keyCode) {
    case kDown:
    case kUp:
        if (event.keyCode == kDown)
            option ? selectLastItem() : selectNextFileItem();
        else
            option ? selectFirstItem() : selectPrevFileItem();
        selectSelectedFileRow();
        quickLook.setFileItemByPath(getSelectedFilePath());
        quickLook.setQuicklookType(QuickLookSourceTypeCopiesTable);
        break;
    case kSpace:
        m_table->setFocus(Qt::OtherFocusReason);
        break;
    case kLeft: {
        AppNotification::CreateArrowNavigationNotificationWithType(ArrowNavigationTargetGroupList);
        FileSystemItem* first = getFileForRow(0);
        quickLook.setFileItemByPath(first ? first->path() : QByteArray());
        quickLook.setQuicklookType(QuickLookSourceTypeGroupList);
        break;
    }
    default:
        break;
    }
}

void DuplicateSelectionVC::spaceButtonPressed() {
    if (!m_selectedFile || !isTableFirstResponder())
        return;
    auto& quickLook = QuickLookController::sharedQuickLookController();
    quickLook.setFileItemByPath(m_selectedFile->path());
    quickLook.setQuicklookType(QuickLookSourceTypeCopiesTable);
    QuickLookController::showPreviewPanel();
}

// ---- Moves of the selected file.

void DuplicateSelectionVC::moveSelectedFileTo(FileSystemItem* item) {
    if (item)
        setSelectedFile(item);
    else
        reloadData();
}

namespace {

template <typename List, typename Key>
int indexIn(const List& list, const FileSystemItem* item, Key key) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (key(list[i]) == item)
            return int(i);
    }
    return -1;
}

FileSystemItem* copyNode(const std::shared_ptr<DuplicateItem>& copy) {
    return copy->getFileSystemItem();
}

FileSystemItem* heapNode(const std::shared_ptr<DuplicatesHeap>& heap) {
    return heap->getSecondFolderItem();
}

} // namespace

void DuplicateSelectionVC::selectNextFileItem() {
    const auto& plain = m_duplicatesArray;
    const auto& locked = m_lockedDuplicatesArray;
    const auto& heaps = m_folderHeapsArray;
    FileSystemItem* firstFolder =
        m_heapsVisible && !heaps.empty() ? heapNode(heaps.front()) : nullptr;
    if (int i = indexIn(plain, m_selectedFile, copyNode); i >= 0) {
        if (std::size_t(i) + 1 < plain.size())
            return moveSelectedFileTo(copyNode(plain[std::size_t(i) + 1]));
        return moveSelectedFileTo(locked.empty() ? firstFolder : copyNode(locked.front()));
    }
    if (int i = indexIn(locked, m_selectedFile, copyNode); i >= 0) {
        if (std::size_t(i) + 1 < locked.size())
            return moveSelectedFileTo(copyNode(locked[std::size_t(i) + 1]));
        return moveSelectedFileTo(firstFolder);
    }
    if (int i = indexIn(heaps, m_selectedFile, heapNode); i >= 0 && m_heapsVisible) {
        if (std::size_t(i) + 1 < heaps.size())
            return moveSelectedFileTo(heapNode(heaps[std::size_t(i) + 1]));
    }
    moveSelectedFileTo(nullptr);
}

void DuplicateSelectionVC::selectPrevFileItem() {
    const auto& plain = m_duplicatesArray;
    const auto& locked = m_lockedDuplicatesArray;
    const auto& heaps = m_folderHeapsArray;
    FileSystemItem* lastPlain = plain.empty() ? nullptr : copyNode(plain.back());
    if (int i = indexIn(plain, m_selectedFile, copyNode); i >= 0)
        return moveSelectedFileTo(i > 0 ? copyNode(plain[std::size_t(i) - 1]) : nullptr);
    if (int i = indexIn(locked, m_selectedFile, copyNode); i >= 0)
        return moveSelectedFileTo(i > 0 ? copyNode(locked[std::size_t(i) - 1]) : lastPlain);
    if (int i = indexIn(heaps, m_selectedFile, heapNode); i >= 0 && m_heapsVisible) {
        if (i > 0)
            return moveSelectedFileTo(heapNode(heaps[std::size_t(i) - 1]));
        return moveSelectedFileTo(locked.empty() ? lastPlain : copyNode(locked.back()));
    }
    moveSelectedFileTo(nullptr);
}

void DuplicateSelectionVC::selectFirstItem() {
    if (!m_duplicatesArray.empty())
        return moveSelectedFileTo(copyNode(m_duplicatesArray.front()));
    if (!m_lockedDuplicatesArray.empty())
        return moveSelectedFileTo(copyNode(m_lockedDuplicatesArray.front()));
    // A collapsed section shows no folder to land on.
    if (m_heapsVisible && !m_folderHeapsArray.empty())
        return moveSelectedFileTo(heapNode(m_folderHeapsArray.front()));
    moveSelectedFileTo(nullptr);
}

void DuplicateSelectionVC::selectLastItem() {
    if (m_heapsVisible && !m_folderHeapsArray.empty())
        return moveSelectedFileTo(heapNode(m_folderHeapsArray.back()));
    if (!m_lockedDuplicatesArray.empty())
        return moveSelectedFileTo(copyNode(m_lockedDuplicatesArray.back()));
    if (!m_duplicatesArray.empty())
        return moveSelectedFileTo(copyNode(m_duplicatesArray.back()));
    moveSelectedFileTo(nullptr);
}

// ---- Selecting by key.

void DuplicateSelectionVC::selectOrDeselectCurrentDuplicate() {
    const int row = getRowForFileItem(m_selectedFile);
    const CellConfiguration& cell = cellConfigurationForRow(row);
    if (!getDuplicateItemForRow(row))
        return;
    if (cell.action == CheckboxAction::DisabledCheckbox) {
        const QRect rowRect = m_table->visualRect(m_model->index(row, 0));
        const QRect box = DuplicateSelectionCellView::checkboxRect(rowRect).toAlignedRect();
        disabledCheckboxPressed(QRect(m_table->viewport()->mapToGlobal(box.topLeft()), box.size()));
        return;
    }
    if (cell.action == CheckboxAction::Checkbox)
        checkboxPressed(row, !cell.state);
}

void DuplicateSelectionVC::selectOrDeselectFileItemAtIndex(int index) {
    if (index < 0 || std::size_t(index) >= m_duplicatesArray.size())
        return;
    const int row = m_rows.rowForPlainCopy(index);
    checkboxPressed(row, !cellConfigurationForRow(row).state);
}

void DuplicateSelectionVC::selectOrDeselectAllButFileItemAtIndex(int index) {
    if (index < 0 || std::size_t(index) >= m_duplicatesArray.size())
        return;
    m_duplicatesArray[std::size_t(index)]->deselectItem();
    for (std::size_t i = 0; i < m_duplicatesArray.size(); ++i) {
        if (int(i) != index)
            m_duplicatesArray[i]->selectItemForced(false);
    }
}
