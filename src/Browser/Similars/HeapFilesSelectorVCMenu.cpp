// The two-folder table's file commands: the main menu's, the open buttons' and the context
// menus of its rows and of the folder header band.
#include "Browser/Similars/HeapFilesSelectorVC.h"

#include "Browser/Common/ApplicationChooser.h"
#include "Browser/Similars/HeapFilesSelectorView.h"
#include "Browser/Similars/HeapFilesTexts.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "Platform/ui/FileManagerReveal.h"
#include "Platform/ui/OpenWithApplications.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesManager.h"
#include "Selection/OperationsManager.h"

#include <QFile>
#include <QMenu>

namespace T = HeapFilesTexts;
using HeapCheckboxRules::Action;

namespace {

std::optional<HeapFilesSelectorVC::Workspace>& testWorkspace() {
    static std::optional<HeapFilesSelectorVC::Workspace> workspace;
    return workspace;
}

bool isFolder(const FileSystemItem* item) {
    return item && item->kind() != FileSystemItem::Kind::File;
}

} // namespace

void HeapFilesSelectorVC::setWorkspaceForTesting(std::optional<Workspace> workspace) {
    testWorkspace() = std::move(workspace);
}

const HeapFilesSelectorVC::Workspace& HeapFilesSelectorVC::workspace() const {
    static const Workspace platform{
        [](const QByteArray& path) { FileManagerReveal::revealPath(path); },
        [](const QByteArray& path) { FileManagerReveal::showItemProperties(path); },
        [](const QByteArray& path) { OpenWithApplications::openFile(path); },
        [](const QByteArray& path, const QString& appId) {
            OpenWithApplications::openFileWithApplication(path, appId);
        },
    };
    return testWorkspace() ? *testWorkspace() : platform;
}

// ---- Main menu commands.

bool HeapFilesSelectorVC::mainMenuCommandsAllowed() const {
    return m_controller && !m_controller->reviewPanelOpen() &&
           m_controller->state() == ResultsFrame::StateSimilars && m_selectedFileSystemItem;
}

void HeapFilesSelectorVC::revealInFinder() {
    if (mainMenuCommandsAllowed())
        workspace().reveal(m_selectedFileSystemItem->path());
}

void HeapFilesSelectorVC::getInfo() {
    if (mainMenuCommandsAllowed())
        workspace().properties(m_selectedFileSystemItem->path());
}

void HeapFilesSelectorVC::openFile() {
    if (mainMenuCommandsAllowed())
        workspace().open(m_selectedFileSystemItem->path());
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
    QMenu* openWith = menu->addMenu(T::openWith);
    buildOpenWithMenu(openWith, path);
    openWith->menuAction()->setEnabled(true);
}

void HeapFilesSelectorVC::buildOpenWithMenu(QMenu* submenu, const QByteArray& path) {
    QString defaultId;
    const auto apps = OpenWithApplications::applicationsForContentType(
        OpenWithApplications::contentTypeOfFile(path), &defaultId);
    for (std::size_t i = 0; i < apps.size(); ++i) {
        const auto& app = apps[i];
        // Only the desktop's own default carries the mark; without one, none does.
        const bool isDefault = i == 0 && !defaultId.isEmpty() && app.id == defaultId;
        QAction* item =
            submenu->addAction(isDefault ? T::defaultApplication.arg(app.name) : app.name);
        item->setData(app.id);
        if (!app.iconName.isEmpty())
            item->setIcon(QIcon::fromTheme(app.iconName));
        const QString id = app.id;
        connect(item, &QAction::triggered, this,
                [this, path, id] { workspace().openWith(path, id); });
        if (i == 0)
            submenu->addSeparator();
    }
    if (apps.size() > 1)
        submenu->addSeparator();
    submenu->addAction(T::other, this, [this, path] {
        auto* chooser = new ApplicationChooser(window());
        connect(chooser, &ApplicationChooser::applicationsChosen, this,
                [this, path](const QStringList& ids) {
                    for (const QString& id : ids)
                        workspace().openWith(path, id);
                });
        chooser->open();
    });
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
