// The copies table's group commands, its row menu and the commands of that menu.
#include "Browser/Copies/DuplicateSelectionVC.h"

#include "Browser/Common/OpenWithMenu.h"
#include "Browser/Copies/CopiesTableTexts.h"
#include "Categories/Settings.h"
#include "FileTree/FileSystemItem.h"
#include "Preferences/PreferencesWC.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesManager.h"
#include "Selection/OperationsManager.h"
#include "Toolkit/TableViewWithArrowHandling.h"
#include "Toolkit/WhiteTitleButton.h"

#include <QCursor>
#include <QFile>
#include <QMenu>
#include <QScreen>

#include <algorithm>

namespace {

FileWorkspaceSlot& workspaceSlot() {
    static FileWorkspaceSlot slot;
    return slot;
}

QString lastComponent(const QByteArray& path) {
    QByteArray trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith('/'))
        trimmed.chop(1);
    const qsizetype slash = trimmed.lastIndexOf('/');
    return QFile::decodeName(slash >= 0 && trimmed.size() > 1 ? trimmed.mid(slash + 1) : trimmed);
}

QByteArray parentOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash <= 0)
        return QByteArrayLiteral("/");
    return path.left(slash);
}

} // namespace

void DuplicateSelectionVC::setWorkspaceForTesting(std::optional<Workspace> workspace) {
    workspaceSlot().set(std::move(workspace));
}

const DuplicateSelectionVC::Workspace& DuplicateSelectionVC::workspace() const {
    return workspaceSlot().get();
}

// ---- Group commands.

std::shared_ptr<DuplicatesGroup> DuplicateSelectionVC::firstPlainGroup() const {
    return m_duplicatesArray.empty() ? nullptr : m_duplicatesArray.front()->getGroup();
}

void DuplicateSelectionVC::autoSelectButtonPressed() {
    if (auto group = firstPlainGroup())
        DuplicatesManager::sharedManager().getOperationsManager().performAutoSelectForGroups(
            {group});
}

void DuplicateSelectionVC::anyButtonPressed() {
    if (auto group = firstPlainGroup())
        DuplicatesManager::sharedManager().getOperationsManager().performForceSelectForGroups(
            {group});
}

void DuplicateSelectionVC::deselectAllButtonPressed() {
    if (m_duplicatesArray.empty())
        return;
    DuplicatesGroup::BeginSelectionGroup();
    for (const auto& copy : m_duplicatesArray)
        copy->deselectItem();
    DuplicatesGroup::EndSelectionGroup();
}

void DuplicateSelectionVC::newestButtonPressed() {
    newestOrOldest(true);
}

void DuplicateSelectionVC::oldestButtonPressed() {
    newestOrOldest(false);
}

void DuplicateSelectionVC::newestOrOldest(bool newest) {
    auto group = firstPlainGroup();
    if (!group)
        return;
    DuplicatesGroup::BeginSelectionGroup();
    deselectAllButtonPressed();
    if (group->getItems().size() - 1 > group->getSelectedItems().size()) {
        // The date to keep: the oldest among the unselected copies for "newest", the newest
        // for "oldest"; every copy of another date goes.
        QDateTime reference = m_duplicatesArray.front()->getLastModificationDate();
        for (const auto& copy : m_duplicatesArray) {
            if (copy->isSelected())
                continue;
            const QDateTime date = copy->getLastModificationDate();
            if (newest ? date < reference : date > reference)
                reference = date;
        }
        for (const auto& copy : m_duplicatesArray) {
            if (copy->isSelected() || copy->getLastModificationDate() == reference)
                continue;
            if (isFileInNeverSelectList(copy->getFileItemPath()))
                continue;
            copy->selectItemForced(false);
        }
    }
    DuplicatesGroup::EndSelectionGroup();
}

bool DuplicateSelectionVC::isFileInNeverSelectList(const QByteArray& path) {
    const QString text = QFile::decodeName(path);
    const QStringList folders = Settings::autoNeverSelectFolders();
    return std::any_of(folders.begin(), folders.end(), [&](const QString& folder) {
        return folder.size() >= 2 && text.startsWith(folder + QLatin1Char('/'));
    });
}

QPoint DuplicateSelectionVC::menuOriginInside(const QPoint& wanted, const QSize& menu,
                                              const QRect& window, const QRect& screen) {
    QPoint origin = wanted;
    for (const QRect& bounds : {window, screen}) {
        if (bounds.isEmpty())
            continue;
        // The right and bottom edges first, so a menu larger than the bounds keeps its left
        // and top edges in sight.
        origin.setX(
            std::max(bounds.left(), std::min(origin.x(), bounds.right() + 1 - menu.width())));
        origin.setY(
            std::max(bounds.top(), std::min(origin.y(), bounds.bottom() + 1 - menu.height())));
    }
    return origin;
}

void DuplicateSelectionVC::showContextMenuButtonPressed() {
    // Below the menu button, its left edge moved out so the menu lines up with the bar, and
    // kept inside the window and its screen.
    const QPoint origin = m_menuButton->mapToGlobal(QPoint(0, m_menuButton->height()));
    QWidget* host = window();
    const QRect windowRect(host->mapToGlobal(QPoint(0, 0)), host->size());
    const QRect screenRect = host->screen() ? host->screen()->availableGeometry() : QRect();
    m_autoSelectMenu->popup(menuOriginInside(origin + QPoint(-89, 10), m_autoSelectMenu->sizeHint(),
                                             windowRect, screenRect));
}

// ---- Row buttons.

void DuplicateSelectionVC::lockedFolderPressed(int row) {
    auto copy = row >= 0 ? getDuplicateItemForRow(row) : selectedItem();
    auto folder = copy ? copy->getAssociatedDuplicateFolder() : nullptr;
    if (folder && m_controller)
        m_controller->showDuplicateItemInCategory(folder);
}

void DuplicateSelectionVC::heapPressed(int row) {
    FileSystemItem* folder = getFileForRow(row);
    if (folder && m_controller)
        m_controller->showHeapFromFolderCategoryWithPath(folder->path());
}

void DuplicateSelectionVC::showInFinderPressed(int row) {
    FileSystemItem* file = getFileForRow(row);
    if (!file)
        return;
    setSelectedFile(file);
    selectSelectedFileRow();
    workspace().reveal(file->path());
}

void DuplicateSelectionVC::showSimilarPressed() {
    m_heapsVisible = true;
    reloadData();
}

// ---- The row menu.

QByteArray DuplicateSelectionVC::getFolderPathFromPath(const QByteArray& path) const {
    return path == getSelectedFilePath() ? parentOf(path) : path;
}

void DuplicateSelectionVC::showMenuForPathAtIndexRow(const QByteArray& path, int row) {
    if (m_controller && m_controller->reviewPanelOpen())
        return;
    if (!window()->isActiveWindow())
        return;
    m_table->selectRow(row);
    if (m_table->selectionModel()->isRowSelected(row, {}))
        tableViewSelectionDidChange();
    m_currentSelectedPath = path;

    const auto copy = getDuplicateItemForRow(row);
    const bool locked = copy && copy->getAssociatedDuplicateFolder();
    FileSystemItem* file = getFileForRow(row);
    const QString menuFolder = lastComponent(getFolderPathFromPath(path));
    namespace T = CopiesTableTexts;

    delete m_contextMenu;
    auto* menu = new QMenu(this);
    m_contextMenu = menu;
    QList<QAction*> keepEnabled;
    if (copy && !locked) {
        keepEnabled << menu->addAction(copy->isSelected() ? T::deselect : T::selectForRemoval, this,
                                       [this] { selectOrDeselectCurrentDuplicate(); });
    } else if (copy) {
        menu->addAction(T::openInDuplicateFolders, this, [this] { lockedFolderPressed(-1); });
        menu->addSeparator();
    }
    if (copy) {
        menu->addAction(T::selectCopies, this, [this] { keepOnlyThisCopyPressed(); });
        menu->addSeparator();
    }
    if (copy && !locked) {
        menu->addAction(T::selectAllCopiesIn.arg(menuFolder), this,
                        [this] { selectAllCopiesWithinFolder(); });
        menu->addAction(T::deselectAllCopiesIn.arg(menuFolder), this,
                        [this] { deselectAllCopiesWithinFolder(); });
        menu->addAction(T::keepAllCopiesIn.arg(menuFolder), this,
                        [this] { keepAllCopiesWithinFolder(); });
        menu->addSeparator();
    }
    if (file && !locked) {
        menu->addAction(T::addToSkipList.arg(lastComponent(m_currentSelectedPath)), this,
                        [this] { addFileFolderToExcludeList(); });
        menu->addAction(T::addToAlwaysSelectList.arg(menuFolder), this,
                        [this] { addFolderToAlwaysSelectList(); });
        menu->addAction(T::addToNeverSelectList.arg(menuFolder), this,
                        [this] { addFolderToNeverSelectList(); });
        menu->addSeparator();
    }
    if (file) {
        menu->addAction(T::showInFileManager, this, [this] { revealInFinderPressed(); });
        menu->addAction(T::properties, this, [this] { getInfoPressed(); });
        if (m_selectedFile && m_selectedFile->kind() == FileSystemItem::Kind::File) {
            menu->addAction(T::open, this, [this] { openFilePressed(); });
            OpenWithMenu::add(
                menu, getSelectedFilePath(), this,
                [this](const QString& id) { pathMenuItemPressed(id); },
                [this] { otherApplicationPressed(); });
        }
    }
    if (copy && copy->isMovedByUserOrDeleted()) {
        for (QAction* action : menu->actions()) {
            if (!keepEnabled.contains(action))
                action->setEnabled(false);
        }
    }
    menu->popup(QCursor::pos());
}

// ---- Menu commands.

void DuplicateSelectionVC::keepOnlyThisCopyPressed() {
    deselectAllButtonPressed();
    for (const auto& copy : m_duplicatesArray) {
        if (copy->getFileSystemItem() != m_selectedFile)
            copy->selectItemForced(false);
    }
}

void DuplicateSelectionVC::selectAllCopiesWithinFolder() {
    DuplicatesManager::sharedManager()
        .getOperationsManager()
        .selectForRemoveAllDuplicatesInFolderWithPath(getFolderPathFromPath(m_currentSelectedPath));
}

void DuplicateSelectionVC::deselectAllCopiesWithinFolder() {
    auto container = DuplicatesManager::sharedManager().duplicateContainer();
    if (!container)
        return;
    const QByteArray folder = getFolderPathFromPath(m_currentSelectedPath);
    DuplicatesGroup::BeginSelectionGroup();
    for (const auto& group : container->getAllFilesGroups()) {
        for (const auto& copy : group->getSelectedItems()) {
            if (copy->parentFolderPathView() == folder)
                copy->deselectItem();
        }
    }
    DuplicatesGroup::EndSelectionGroup();
}

void DuplicateSelectionVC::keepAllCopiesWithinFolder() {
    DuplicatesManager::sharedManager().getOperationsManager().keepAllDuplicatesInFolderWithPath(
        getFolderPathFromPath(m_currentSelectedPath));
}

void DuplicateSelectionVC::addFileFolderToExcludeList() {
    const QByteArray path = m_currentSelectedPath;
    if (path.isEmpty())
        return;
    // A folder goes to the folder list whatever dots its name has ("Backup.2019"): only a
    // right click on the file itself names a file, every other component is a folder.
    const bool isFile = m_selectedFile && path == getSelectedFilePath() &&
                        m_selectedFile->kind() == FileSystemItem::Kind::File;
    DuplicatesManager::sharedManager().getOperationsManager().addToSkipListAndExclude(path, isFile);
}

void DuplicateSelectionVC::addFolderToAlwaysSelectList() {
    openPreferencesAddingFolder(true);
}

void DuplicateSelectionVC::addFolderToNeverSelectList() {
    openPreferencesAddingFolder(false);
}

void DuplicateSelectionVC::openPreferencesAddingFolder(bool always) {
    const QString folder = QFile::decodeName(getFolderPathFromPath(m_currentSelectedPath));
    PreferencesWC* preferences = PreferencesWC::beginSheet();
    m_preferencesController = preferences;
    if (preferences)
        preferences->addFolderToAlwaysSelectList(always, folder);
}

void DuplicateSelectionVC::revealInFinderPressed() {
    if (!m_currentSelectedPath.isEmpty())
        workspace().reveal(m_currentSelectedPath);
}

void DuplicateSelectionVC::getInfoPressed() {
    if (!m_currentSelectedPath.isEmpty())
        workspace().properties(m_currentSelectedPath);
}

void DuplicateSelectionVC::openFilePressed() {
    if (m_selectedFile)
        workspace().open(m_selectedFile->path());
}

void DuplicateSelectionVC::pathMenuItemPressed(const QString& appId) {
    if (m_selectedFile)
        workspace().openWith(m_selectedFile->path(), appId);
}

void DuplicateSelectionVC::otherApplicationPressed() {
    if (!m_selectedFile)
        return;
    const QByteArray path = m_selectedFile->path();
    OpenWithMenu::chooseOther(this,
                              [this, path](const QString& id) { workspace().openWith(path, id); });
}
