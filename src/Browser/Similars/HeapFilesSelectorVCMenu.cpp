// The two-folder table's file commands: the main menu's, the open buttons' and the context
// menus of its rows and of the folder header band.
#include "Browser/Similars/HeapFilesSelectorVC.h"

#include "Browser/Common/OpenWithMenu.h"
#include "Browser/Similars/HeapFilesSelectorView.h"
#include "Browser/Similars/HeapFilesTexts.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesManager.h"
#include "Selection/OperationsManager.h"

#include <QFile>
#include <QMenu>

namespace T = HeapFilesTexts;
using HeapCheckboxRules::Action;

namespace {

FileWorkspaceSlot& workspaceSlot() {
    static FileWorkspaceSlot slot;
    return slot;
}

bool isFolder(const FileSystemItem* item) {
    return item && item->kind() != FileSystemItem::Kind::File;
}

} // namespace

void HeapFilesSelectorVC::setWorkspaceForTesting(std::optional<Workspace> workspace) {
    workspaceSlot().set(std::move(workspace));
}

const HeapFilesSelectorVC::Workspace& HeapFilesSelectorVC::workspace() const {
    return workspaceSlot().get();
}

// ---- Main menu commands.

const FileSystemItem* HeapFilesSelectorVC::mainMenuFile() const {
    const bool allowed = m_controller && !m_controller->reviewPanelOpen() &&
                         m_controller->state() == ResultsFrame::StateSimilars;
    return allowed ? m_selectedFileSystemItem : nullptr;
}

// ---- Open buttons.

void HeapFilesSelectorVC::revealRowFile(int row, Side side) {
    FileSystemItem* file = nullptr;
    if (const HeapPairRow* pair = m_rows.pairRow(row)) {
        const auto& copy = side == Left ? pair->left : pair->right;
        file = copy ? copy->getFileSystemItem() : nullptr;
    } else if (const HeapOtherRow* other = m_rows.otherRow(row)) {
        file = side == Left ? other->left : other->right;
    }
    if (file)
        workspace().reveal(file->path());
}

void HeapFilesSelectorVC::revealFolder(Side side) {
    if (FolderSystemItem* folder = side == Left ? m_mainFolderItem : m_secondFolderItem)
        workspace().reveal(folder->path());
}

// ---- Context menus.

bool HeapFilesSelectorVC::contextMenuAllowed() const {
    if (m_controller && m_controller->reviewPanelOpen())
        return false;
    return window()->isActiveWindow();
}

QMenu* HeapFilesSelectorVC::newContextMenu() {
    if (m_contextMenu)
        m_contextMenu->deleteLater();
    m_contextMenu = new QMenu(this);
    m_contextMenu->setAttribute(Qt::WA_DeleteOnClose, false);
    return m_contextMenu;
}

void HeapFilesSelectorVC::addFileActions(QMenu* menu, const QByteArray& path, bool folder) {
    menu->addAction(T::showInFileManager, this, [this, path] { workspace().reveal(path); });
    menu->addAction(T::properties, this, [this, path] { workspace().properties(path); });
    if (folder)
        return;
    menu->addAction(T::open, this, [this, path] { workspace().open(path); });
    const auto openWith = [this, path](const QString& id) { workspace().openWith(path, id); };
    OpenWithMenu::add(menu, path, this, openWith,
                      [this, openWith] { OpenWithMenu::chooseOther(this, openWith); });
}

QMenu* HeapFilesSelectorVC::menuForPairRow(int row, Side side) {
    const HeapPairRow* pair = m_rows.pairRow(row);
    std::shared_ptr<DuplicateItem> copy =
        pair ? (side == Left ? pair->left : pair->right) : nullptr;
    if (!copy || !contextMenuAllowed())
        return nullptr;
    QMenu* menu = newContextMenu();
    const HeapCheckboxRules::Look look = rowCheckboxLook(row, side);
    if (!copy->hasAssociatedDuplicateFolder() && look.action != Action::Disabled) {
        menu->addAction(copy->isSelected() ? T::deselect : T::selectForRemoval, this,
                        [this, row, side] { rowCheckboxPressed(row, side); });
    }
    menu->addAction(T::showInDuplicates, this, [this, copy] { showDuplicateOf(copy); });
    menu->addSeparator();
    addFileActions(menu, copy->getFileItemPath(), isFolder(copy->getFileSystemItem()));
    return menu;
}

QMenu* HeapFilesSelectorVC::menuForOtherRow(int row, Side side) {
    const HeapOtherRow* other = m_rows.otherRow(row);
    FileSystemItem* file = other ? (side == Left ? other->left : other->right) : nullptr;
    if (!file || !contextMenuAllowed())
        return nullptr;
    QMenu* menu = newContextMenu();
    addFileActions(menu, file->path(), isFolder(file));
    return menu;
}

QMenu* HeapFilesSelectorVC::menuForFolder(Side side) {
    FolderSystemItem* folder = side == Left ? m_mainFolderItem : m_secondFolderItem;
    FolderSystemItem* other = side == Left ? m_secondFolderItem : m_mainFolderItem;
    if (!m_shownHeap || !folder || !contextMenuAllowed())
        return nullptr;
    QMenu* menu = newContextMenu();
    const HeapCheckboxRules::Look look = headerCheckboxLook(side);
    const QString otherName = other ? other->displayName() : QString();
    switch (look.action) {
    case Action::Press:
        menu->addAction(
            (look.state ? T::deselectAllCommonWith : T::selectAllCommonWith).arg(otherName), this,
            [this, side] { headerCheckboxPressed(side); });
        break;
    case Action::LockedFolder:
        menu->addAction(T::showInDuplicateFolders, this,
                        [this, side] { lockedFolderPressed(side); });
        break;
    case Action::Disabled:
        menu->addAction(T::selectAllCommonWithSimilar, this, [this, side] {
            headerCheckboxPressed(side, m_view->checkboxGlobalRect(side));
        });
        break;
    case Action::LockedFile:
        break;
    }
    menu->addSeparator();
    menu->addAction(T::addToSkipList.arg(folder->displayName()), this,
                    [this, side] { addFolderToSkipList(side); });
    menu->addSeparator();
    const QByteArray path = folder->path();
    menu->addAction(T::showInFileManager, this, [this, path] { workspace().reveal(path); });
    menu->addAction(T::properties, this, [this, path] { workspace().properties(path); });
    return menu;
}

void HeapFilesSelectorVC::addFolderToSkipList(Side side) {
    FolderSystemItem* folder = side == Left ? m_mainFolderItem : m_secondFolderItem;
    if (!folder)
        return;
    DuplicatesManager::sharedManager().getOperationsManager().addToSkipListAndExclude(
        folder->path(), false);
}
