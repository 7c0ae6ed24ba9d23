// The two-folder table's current entry, its moves by mouse and keyboard, and focus.
#include "Browser/Similars/HeapFilesSelectorVC.h"

#include "Browser/Common/ListKeys.h"
#include "Browser/Similars/HeapTableModel.h"
#include "Categories/AppNotification.h"
#include "FileTree/FileSystemItem.h"
#include "Platform/KeyEvent.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicateItem.h"
#include "Toolkit/QuickLookController.h"
#include "Toolkit/QuickLookSourceType.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QScrollBar>

namespace {
constexpr quint16 kKey1 = 18;
constexpr quint16 kKey2 = 19;
} // namespace

void HeapFilesSelectorVC::reportFile(FileSystemItem* item) {
    if (m_controller)
        m_controller->heapGroupSelectedWithFile(item);
}

void HeapFilesSelectorVC::selectRow(int row, int side) {
    m_lastSelectedRow = row;
    {
        const QSignalBlocker blocker(m_table->selectionModel());
        if (row >= 0 && row < m_rows.rowCount())
            m_table->selectRow(row);
        else
            m_table->clearSelection();
    }
    switch (m_rows.kind(row)) {
    case HeapTableRows::Kind::Header:
        reportFile(nullptr);
        m_selectedGroup = -1;
        reloadData();
        return;
    case HeapTableRows::Kind::Pair: {
        const HeapPairRow* pair = m_rows.pairRow(row);
        m_selectedOtherFileItem = nullptr;
        m_selectedGroup = pair->info.groupIndex;
        FileSystemItem* left = pair->left ? pair->left->getFileSystemItem() : nullptr;
        FileSystemItem* right = pair->right ? pair->right->getFileSystemItem() : nullptr;
        const int pointerSide = side >= 0 ? side : sideAt(m_pointerX);
        if (left && (pointerSide == Left || !right)) {
            reportFile(left);
            m_selectedFileSystemItem = left;
        } else if (right) {
            reportFile(right);
            m_selectedFileSystemItem = right;
        }
        reloadData();
        return;
    }
    default:
        m_selectedGroup = -1;
        return;
    }
}

void HeapFilesSelectorVC::otherFileClicked(int row, Side side) {
    const HeapOtherRow* other = m_rows.otherRow(row);
    if (!other)
        return;
    FileSystemItem* picked = side == Left ? other->left : other->right;
    reportFile(picked);
    m_selectedOtherFileItem = picked;
    m_selectedFileSystemItem = picked;
    reloadData();
}

FileSystemItem* HeapFilesSelectorVC::getSelectedFileItem() const {
    switch (m_rows.kind(m_lastSelectedRow)) {
    case HeapTableRows::Kind::Pair:
        if (m_selectedGroup >= 0 && m_selectedGroup < int(m_workingArray.size())) {
            const auto& left = m_workingArray[std::size_t(m_selectedGroup)].lists[0];
            return left.empty() ? nullptr : left.front()->getFileSystemItem();
        }
        return nullptr;
    case HeapTableRows::Kind::Other:
        return m_selectedOtherFileItem;
    default:
        return nullptr;
    }
}

void HeapFilesSelectorVC::updateSelection() {
    reportFile(nullptr);
    reloadData();
    const int row = m_rows.getRowIndexByGroup(m_selectedGroup);
    selectRow(row);
    m_table->scrollTo(m_model->index(row, 0));
}

void HeapFilesSelectorVC::makeOtherFileCurrent(FileSystemItem* item) {
    m_selectedOtherFileItem = item;
    m_selectedFileSystemItem = item;
    reportFile(item);
    reloadData();
    m_lastSelectedRow = m_rows.getRowIndexByOtherFile(item);
    {
        const QSignalBlocker blocker(m_table->selectionModel());
        m_table->selectRow(m_lastSelectedRow);
    }
    m_table->scrollTo(m_model->index(m_lastSelectedRow, 0));
}

int HeapFilesSelectorVC::otherFileIndex(const FileSystemItem* file) const {
    return m_rows.getRowIndexByOtherFile(file) - m_rows.pairCount() - 1;
}

FileSystemItem* HeapFilesSelectorVC::otherFileInRow(int k, int side) const {
    if (k < 0 || k >= m_rows.otherCount())
        return nullptr;
    const HeapOtherRow& row = m_rows.others()[std::size_t(k)];
    return side == Left ? row.left : row.right;
}

bool HeapFilesSelectorVC::selectFirstOtherFile() {
    if (m_rows.otherCount() == 0)
        return false;
    FileSystemItem* first = otherFileInRow(0, Left);
    if (!first)
        first = otherFileInRow(0, Right);
    m_selectedGroup = -1;
    makeOtherFileCurrent(first);
    return true;
}

void HeapFilesSelectorVC::downKeyPressed(bool option) {
    const int groups = int(m_workingArray.size());
    if (option) {
        if (m_rows.otherCount() > 0) {
            m_selectedGroup = -1;
            const int last = m_rows.otherCount() - 1;
            FileSystemItem* file = otherFileInRow(last, Left);
            makeOtherFileCurrent(file ? file : otherFileInRow(last, Right));
        } else if (groups > 0) {
            m_selectedOtherFileItem = nullptr;
            m_selectedGroup = groups - 1;
            updateSelection();
        }
        return;
    }
    if (m_selectedOtherFileItem) {
        const int side = m_rows.sideOfOtherFile(m_selectedOtherFileItem);
        const int k = otherFileIndex(m_selectedOtherFileItem);
        if (FileSystemItem* next = otherFileInRow(k + 1, side))
            makeOtherFileCurrent(next);
        return;
    }
    if (m_selectedGroup < groups - 1) {
        ++m_selectedGroup;
        updateSelection();
    } else if (m_rows.otherCount() > 0) {
        selectFirstOtherFile();
    }
}

void HeapFilesSelectorVC::upKeyPressed(bool option) {
    const int groups = int(m_workingArray.size());
    if (option) {
        m_selectedOtherFileItem = nullptr;
        if (groups > 0) {
            m_selectedGroup = 0;
            updateSelection();
        }
        return;
    }
    if (m_selectedOtherFileItem) {
        const int side = m_rows.sideOfOtherFile(m_selectedOtherFileItem);
        const int k = otherFileIndex(m_selectedOtherFileItem);
        if (k > 0) {
            if (FileSystemItem* previous = otherFileInRow(k - 1, side))
                makeOtherFileCurrent(previous);
            return;
        }
        m_selectedOtherFileItem = nullptr;
        if (groups > 0) {
            m_selectedGroup = groups - 1;
            updateSelection();
        }
        return;
    }
    if (m_selectedGroup >= 1) {
        --m_selectedGroup;
        updateSelection();
    }
}

void HeapFilesSelectorVC::rightKeyPressed() {
    if (!m_selectedOtherFileItem || m_rows.sideOfOtherFile(m_selectedOtherFileItem) != Left)
        return;
    const int k = otherFileIndex(m_selectedOtherFileItem);
    if (FileSystemItem* right = otherFileInRow(k, Right))
        makeOtherFileCurrent(right);
}

void HeapFilesSelectorVC::leftKeyPressed() {
    if (m_selectedOtherFileItem && m_rows.sideOfOtherFile(m_selectedOtherFileItem) == Right) {
        const int k = otherFileIndex(m_selectedOtherFileItem);
        if (FileSystemItem* left = otherFileInRow(k, Left)) {
            makeOtherFileCurrent(left);
            return;
        }
    }
    AppNotification::CreateArrowNavigationNotificationWithType(ArrowNavigationTargetHeapsPicker);
}

void HeapFilesSelectorVC::handleKey(const KeyEvent& event) {
    const bool option = ListKeys::hasOption(event);
    switch (event.keyCode) {
    case ListKeys::kLeft:
        leftKeyPressed();
        return;
    case ListKeys::kRight:
        rightKeyPressed();
        return;
    case ListKeys::kDown:
        downKeyPressed(option);
        return;
    case ListKeys::kUp:
        upKeyPressed(option);
        return;
    case kKey1:
        selectOrDeselectSelectedGroupColomn(0);
        return;
    case kKey2:
        selectOrDeselectSelectedGroupColomn(1);
        return;
    case ListKeys::kTab:
        AppNotification::CreateArrowNavigationNotificationWithType(
            (event.modifierFlags & KeyEvent::ShiftKeyMask) ? ArrowNavigationTargetHeapsPicker
                                                           : ArrowNavigationTargetFolderPicker);
        return;
    case ListKeys::kSpace:
        spaceButtonPressed();
        return;
    default:
        return;
    }
}

void HeapFilesSelectorVC::keyPressed(const Notification& notification) {
    const auto event = AppNotification::GetEventFromNotification(notification);
    if (!event || ListKeys::hasCommand(*event) || !ListKeys::isFirstResponder(m_table))
        return;
    handleKey(*event);
}

void HeapFilesSelectorVC::quickLookKeyPressed(const Notification& notification) {
    if (notification.userInfo.value(QStringLiteral("Type")).toInt() !=
        QuickLookSourceTypeTwoFolderTable)
        return;
    const auto event = AppNotification::GetEventFromNotification(notification);
    if (!event)
        return;
    if (event->keyCode >= ListKeys::kLeft && event->keyCode <= ListKeys::kUp)
        handleKey(*event);
    else if (event->keyCode == ListKeys::kSpace)
        m_table->setFocus(Qt::OtherFocusReason);
}

void HeapFilesSelectorVC::spaceButtonPressed() {
    auto& quickLook = QuickLookController::sharedQuickLookController();
    quickLook.setQuicklookType(QuickLookSourceTypeTwoFolderTable);
    FileSystemItem* file = getSelectedFileItem();
    quickLook.setFileItemByPath(file ? file->path() : QByteArray());
    QuickLookController::showPreviewPanel();
}

void HeapFilesSelectorVC::arrowNavigation(const Notification& notification) {
    if (AppNotification::GetArrowNavigationTypeFromNotification(notification) !=
        ArrowNavigationTargetFolderComparison)
        return;
    if (m_rows.rowCount() == 0)
        return;
    m_selectedGroup = 0;
    reportFile(nullptr);
    reloadData();
    const int row = m_rows.getRowIndexByGroup(0);
    m_table->setFocus(Qt::OtherFocusReason);
    selectRow(row);
    m_table->scrollTo(m_model->index(row, 0));
}

void HeapFilesSelectorVC::scrollToUniqueFilesAndSelectLeftItem(bool left) {
    if (m_rows.otherCount() == 0)
        return;
    FileSystemItem* file = otherFileInRow(0, left ? Left : Right);
    // An empty first row on that side makes nothing current.
    if (!file)
        return;
    m_table->setFocus(Qt::OtherFocusReason);
    m_selectedGroup = -1;
    m_selectedOtherFileItem = file;
    m_selectedFileSystemItem = file;
    const int row = m_rows.pairCount() + 1;
    m_lastSelectedRow = row;
    reloadData();
    // Centre the first unique row in the visible part of the list.
    const QRect rowRect = m_table->visualRect(m_model->index(row, 0));
    const int contentY = rowRect.y() + m_table->verticalScrollBar()->value();
    const int viewHeight = m_table->viewport()->height();
    const int target = std::max(0, contentY + (rowRect.height() - viewHeight) / 2);
    m_table->verticalScrollBar()->setValue(target);
    reportFile(file);
}

void HeapFilesSelectorVC::applicationWillBecomeActive() {
    // Files may have been moved or deleted while the user was in another application.
    refreshMovedOrDeletedCopies();
    if (FileSystemItem* file = getSelectedFileItem())
        reportFile(file);
    reloadData();
}
