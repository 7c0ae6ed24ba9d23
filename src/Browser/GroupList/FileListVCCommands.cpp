// The group list's commands, context menu, keys and preview.
#include "Browser/Common/ListKeys.h"
#include "Browser/GroupList/FileListVC.h"
#include "Categories/AppNotification.h"
#include "Categories/Settings.h"
#include "FileTree/FileSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesManager.h"
#include "Selection/OperationsManager.h"
#include "Toolkit/QuickLookController.h"
#include "Toolkit/QuickLookSourceType.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QAction>
#include <QFile>
#include <QMenu>

// ---- Group commands.

std::vector<std::shared_ptr<DuplicatesGroup>> FileListVC::targetGroups(QObject* sender) const {
    if (sender) {
        if (m_selectedGroupItem)
            return {m_selectedGroupItem};
        return {};
    }
    // The main menu acts on what the list shows: the search filter holds.
    return m_rows.listedGroups();
}

void FileListVC::autoSelectPressed(QObject* sender) {
    DuplicatesManager::sharedManager().getOperationsManager().performAutoSelectForGroups(
        targetGroups(sender));
}

void FileListVC::selectAny(QObject* sender) {
    DuplicatesManager::sharedManager().getOperationsManager().performForceSelectForGroups(
        targetGroups(sender));
}

void FileListVC::deselectAll(QObject* sender) {
    DuplicatesGroup::BeginSelectionGroup();
    for (const auto& group : targetGroups(sender))
        for (const auto& item : group->getSelectedItems())
            item->deselectItem();
    DuplicatesGroup::EndSelectionGroup();
}

void FileListVC::selectNewest(QObject* sender) {
    selectNewestOrOldest(sender, true);
}

void FileListVC::selectOldest(QObject* sender) {
    selectNewestOrOldest(sender, false);
}

void FileListVC::selectNewestOrOldest(QObject* sender, bool keepOldest) {
    deselectAll(sender);
    DuplicatesGroup::BeginSelectionGroup();
    for (const auto& group : targetGroups(sender)) {
        const std::uint64_t count = group->getTotalCount();
        if (count == 0 || count - 1 <= group->getSelectedCountWithDuplicatesFolderContent())
            continue;
        const auto items = group->getItems();
        // The date of the copies that stay: the oldest (or newest) unselected one.
        QDateTime reference = items.front()->getLastModificationDate();
        for (const auto& item : items) {
            if (item->isSelected())
                continue;
            const QDateTime date = item->getLastModificationDate();
            if (keepOldest ? date < reference : date > reference)
                reference = date;
        }
        for (const auto& item : items) {
            if (item->isSelected() || item->getLastModificationDate() == reference ||
                isFileInNeverSelectList(item->getFileSystemItem()))
                continue;
            item->selectItemForced(false);
        }
    }
    DuplicatesGroup::EndSelectionGroup();
}

void FileListVC::removeFromDuplicateListPressed(QObject*) {
    if (m_selectedGroupItem)
        DuplicatesManager::sharedManager().getOperationsManager().removeGroupFromDuplicatesList(
            m_selectedGroupItem);
    setDuplicatesGroupArrayType(m_type);
}

bool FileListVC::isFileInNeverSelectList(const FileSystemItem* item) const {
    if (!item)
        return false;
    const QByteArray path = item->path();
    for (const QString& folder : Settings::autoNeverSelectFolders()) {
        QByteArray prefix = QFile::encodeName(folder);
        // A folder stored with its final "/" names the same folder.
        while (prefix.endsWith('/'))
            prefix.chop(1);
        prefix += '/';
        if (path.startsWith(prefix))
            return true;
    }
    return false;
}

// ---- Context menu.

QMenu* FileListVC::menuNeedsUpdate(int row) {
    ResultsFrame* screen = controller();
    if (screen && screen->reviewPanelOpen())
        return m_contextMenu;
    m_contextMenu->clear();
    if (!m_rows.isGroupRow(row))
        return m_contextMenu;
    const auto add = [this](const QString& title, void (FileListVC::*command)(QObject*),
                            const QKeySequence& keys) {
        QAction* action = m_contextMenu->addAction(title);
        action->setShortcut(keys);
        action->setShortcutVisibleInContextMenu(true);
        connect(action, &QAction::triggered, this,
                [this, action, command] { (this->*command)(action); });
    };
    add(QStringLiteral("Auto Select Duplicates"), &FileListVC::autoSelectPressed,
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    m_contextMenu->addSeparator();
    add(QStringLiteral("Select Newest Copies"), &FileListVC::selectNewest,
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    add(QStringLiteral("Select Oldest Copies"), &FileListVC::selectOldest,
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L));
    add(QStringLiteral("Select Any Copies"), &FileListVC::selectAny,
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K));
    m_contextMenu->addSeparator();
    add(QStringLiteral("Deselect Duplicates"), &FileListVC::deselectAll,
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
    m_contextMenu->addSeparator();
    add(QStringLiteral("Remove from Duplicates List"), &FileListVC::removeFromDuplicateListPressed,
        QKeySequence());
    return m_contextMenu;
}

bool FileListVC::menuWillOpen(int row) {
    if (!window()->isActiveWindow())
        return false;
    if (const GroupListEntry* entry = m_rows.entryAt(row)) {
        m_selectedGroupItem = entry->group;
        selectTableRow(row);
    }
    return true;
}

void FileListVC::showContextMenu(const QPoint& position) {
    const int row = m_tableViewGroupList->rowAt(position.y());
    QMenu* menu = menuNeedsUpdate(row);
    if (menu->actions().isEmpty() || !menuWillOpen(row))
        return;
    menu->popup(m_tableViewGroupList->viewport()->mapToGlobal(position));
}

// ---- Keys.

void FileListVC::moveSelectionTo(int row) {
    if (const GroupListEntry* entry = m_rows.entryAt(row))
        m_selectedGroupItem = entry->group;
}

void FileListVC::selectNextGroup() {
    const int current = selectedRow();
    moveSelectionTo(m_rows.groupRowFrom(current < 0 ? 0 : current + 1, 1));
}

void FileListVC::selectPreviousGroup() {
    const int current = selectedRow();
    moveSelectionTo(current < 0 ? m_rows.groupRowFrom(0, 1) : m_rows.groupRowFrom(current - 1, -1));
}

void FileListVC::moveSelectionByArrow(const KeyEvent& event) {
    const bool down = event.keyCode == ListKeys::kDown;
    if (ListKeys::hasOption(event))
        moveSelectionTo(down ? m_rows.groupRowFrom(m_rows.rowCount() - 1, -1)
                             : m_rows.groupRowFrom(0, 1));
    else if (down)
        selectNextGroup();
    else
        selectPreviousGroup();
}

void FileListVC::keyPressed(const KeyEvent& event) {
    if (!ListKeys::isFirstResponder(m_tableViewGroupList)) {
        // From another list: Command with Down or Up moves here and goes back to the copies.
        if (!ListKeys::hasCommand(event) ||
            (event.keyCode != ListKeys::kDown && event.keyCode != ListKeys::kUp))
            return;
        if (event.keyCode == ListKeys::kDown)
            selectNextGroup();
        else
            selectPreviousGroup();
        selectTableRow(selectedRow());
        scrollRowToVisible(selectedRow());
        AppNotification::CreateArrowNavigationNotificationWithType(
            ArrowNavigationTargetCopiesTable);
        return;
    }
    switch (event.keyCode) {
    case ListKeys::kDown:
    case ListKeys::kUp:
        moveSelectionByArrow(event);
        break;
    case ListKeys::kSpace:
        spaceButtonPressed();
        return;
    case ListKeys::kRight:
    case ListKeys::kTab:
        AppNotification::CreateArrowNavigationNotificationWithType(
            ArrowNavigationTargetCopiesTable);
        break;
    default:
        break;
    }
    selectTableRow(selectedRow());
}

void FileListVC::arrowNavigation(int type) {
    if (type != ArrowNavigationTargetGroupList)
        return;
    m_tableViewGroupList->setFocus(Qt::OtherFocusReason);
    reloadTable();
}

// ---- Preview.

void FileListVC::openQuickLookForRow(int row) {
    const GroupListEntry* entry = m_rows.entryAt(row);
    if (!entry)
        return;
    const auto first = entry->group->getFirstItem();
    if (!first)
        return;
    QuickLookController& quickLook = QuickLookController::sharedQuickLookController();
    quickLook.setQuicklookType(QuickLookSourceTypeGroupList);
    quickLook.setFileItemByPath(first->getFileItemPath());
    QuickLookController::showPreviewPanel();
}

void FileListVC::doubleClickOnRow(int row) {
    if (m_rows.isGroupRow(row))
        openQuickLookForRow(row);
}

void FileListVC::spaceButtonPressed() {
    if (ListKeys::isFirstResponder(m_tableViewGroupList))
        openQuickLookForRow(selectedRow());
}

void FileListVC::showPreviewOfSelectedGroup() {
    const auto first = m_selectedGroupItem ? m_selectedGroupItem->getFirstItem() : nullptr;
    if (!first)
        return;
    QuickLookController& quickLook = QuickLookController::sharedQuickLookController();
    quickLook.setQuicklookType(QuickLookSourceTypeGroupList);
    quickLook.setFileItemByPath(first->getFileItemPath());
}

void FileListVC::quickLookKeyPressed(const KeyEvent& event, int type) {
    if (type != QuickLookSourceTypeGroupList)
        return;
    switch (event.keyCode) {
    case ListKeys::kRight: {
        // The panel follows the focus to the copies table.
        AppNotification::CreateArrowNavigationNotificationWithType(
            ArrowNavigationTargetCopiesTable);
        QuickLookController& quickLook = QuickLookController::sharedQuickLookController();
        ResultsFrame* screen = controller();
        if (const auto path = screen ? screen->selectedCopyPath() : std::nullopt)
            quickLook.setFileItemByPath(*path);
        quickLook.setQuicklookType(QuickLookSourceTypeCopiesTable);
        return;
    }
    case ListKeys::kSpace:
        m_tableViewGroupList->setFocus(Qt::OtherFocusReason);
        break;
    case ListKeys::kDown:
    case ListKeys::kUp:
        moveSelectionByArrow(event);
        break;
    default:
        return;
    }
    selectTableRow(selectedRow());
    scrollRowToVisible(selectedRow());
    showPreviewOfSelectedGroup();
}
