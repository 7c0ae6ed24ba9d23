// The main menu's commands: most act on the results screen's parts, after its help overlay
// has been closed; the file commands go out as notifications to the list shown.
#include "WindowController.h"

#include "Browser/Copies/DuplicateSelectionVC.h"
#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/GroupList/FileListVC.h"
#include "Browser/Review/SelectedFilesVC.h"
#include "Browser/Similars/FolderPickerVC.h"
#include "Categories/AppNotification.h"
#include "Categories/Settings.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesManager.h"
#include "Screens/WelcomeScreenVC.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>

namespace {

bool hasOverlayStep(MenuCommand command) {
    switch (command) {
    case MenuCommand::Other:
    case MenuCommand::ShowPreferences:
    case MenuCommand::RateSorvanta:
    case MenuCommand::FullScreen:
    case MenuCommand::NewScan: // closes the overlay itself
    case MenuCommand::RestartScan:
    case MenuCommand::PathMenuItem:
    case MenuCommand::Scan:
    case MenuCommand::AllOutScan:
    case MenuCommand::CleanUpTools:
    case MenuCommand::ShowOverlay:
    case MenuCommand::Help:
    case MenuCommand::SelectDuplicatesInFolders: // its own first step
        return false;
    default:
        return true;
    }
}

using ToolbarCommand = void (DuplicateToolbarVC::*)(WhiteTitleButton*);

// The toolbar's action and button for a category command's toolbar index (0 to 9).
std::pair<ToolbarCommand, WhiteTitleButton*> toolbarCommand(DuplicateToolbarVC* toolbar,
                                                            int index) {
    static constexpr ToolbarCommand commands[] = {
        &DuplicateToolbarVC::overviewButtonPressed, &DuplicateToolbarVC::allFilesButtonPressed,
        &DuplicateToolbarVC::picturesButtonPressed, &DuplicateToolbarVC::moviesButtonPressed,
        &DuplicateToolbarVC::musicButtonPressed,    &DuplicateToolbarVC::documentsButtonPressed,
        &DuplicateToolbarVC::archivesButtonPressed, &DuplicateToolbarVC::othersButtonPressed,
        &DuplicateToolbarVC::foldersButtonPressed,  &DuplicateToolbarVC::heapsButtonPressed};
    WhiteTitleButton* button = index == 0   ? toolbar->overviewButton()
                               : index == 1 ? toolbar->allFilesButton()
                               : index == 9 ? toolbar->heapsButton()
                                            : toolbar->categoryButton(index - 2);
    return {commands[index], button};
}

} // namespace

void WindowController::performMenuCommand(MenuCommand command, QAction* sender) {
    SelectDuplicatesVC* results = m_selectDuplicatesController;
    if (results && hasOverlayStep(command))
        results->hideAndDestroyOverlay();
    FileListVC* groupList = results ? results->fileListVC() : nullptr;
    DuplicateSelectionVC* copies = results ? results->duplicateSelectionVC() : nullptr;

    const int toolbarIndex = MainMenuRules::toolbarButtonOfCommand(command);
    if (toolbarIndex >= 0) {
        if (DuplicateToolbarVC* toolbar = results ? results->duplicatesToolbar() : nullptr) {
            const auto [action, button] = toolbarCommand(toolbar, toolbarIndex);
            (toolbar->*action)(button);
        }
        return;
    }

    switch (command) {
    case MenuCommand::ShowPreferences:
        showPreferences();
        return;
    case MenuCommand::FullScreen:
        fullScreenAction();
        return;
    case MenuCommand::NewScan:
        newScan();
        return;
    case MenuCommand::RestartScan:
        restartScan(sender);
        return;
    case MenuCommand::Scan:
    case MenuCommand::AllOutScan:
        if (m_welcomeScreenController)
            m_welcomeScreenController->startScanButtonPressed(sender);
        return;
    case MenuCommand::CleanUpTools:
        macCleanUpToolsPressed();
        return;
    case MenuCommand::AutoSelectDuplicates:
        if (groupList)
            groupList->autoSelectPressed(nullptr);
        return;
    case MenuCommand::SelectNewestCopies:
        if (groupList)
            groupList->selectNewest(nullptr);
        return;
    case MenuCommand::SelectOldestCopies:
        if (groupList)
            groupList->selectOldest(nullptr);
        return;
    case MenuCommand::SelectAnyCopies:
        if (groupList)
            groupList->selectAny(nullptr);
        return;
    case MenuCommand::AutoSelectInGroup:
        if (copies)
            copies->autoSelectButtonPressed();
        return;
    case MenuCommand::NewestSelectInGroup:
        if (copies)
            copies->newestButtonPressed();
        return;
    case MenuCommand::OldestSelectInGroup:
        if (copies)
            copies->oldestButtonPressed();
        return;
    case MenuCommand::AnySelectInGroup:
        if (copies)
            copies->anyButtonPressed();
        return;
    case MenuCommand::DeselectInGroup:
        if (copies)
            copies->deselectAllButtonPressed();
        return;
    case MenuCommand::DeselectAllDuplicates:
        if (!results)
            return;
        if (SelectedFilesVC* panel = results->selectedFilesVC())
            panel->deselectAll();
        else if (groupList)
            groupList->deselectAll(nullptr);
        else if (FolderPickerVC* picker = results->folderPickerVC())
            picker->deselectAll();
        return;
    case MenuCommand::ShowSelectedDuplicates:
        if (results)
            results->openSelectedFilesView();
        return;
    case MenuCommand::Find:
        AppNotification::CreateFindInActiveViewNotification();
        return;
    case MenuCommand::RevealInFinder:
        AppNotification::CreateRevealInFinderNotification();
        return;
    case MenuCommand::GetInfo:
        AppNotification::CreateGetInfoNotification();
        return;
    case MenuCommand::OpenFile:
        AppNotification::CreateOpenFileNotification();
        return;
    case MenuCommand::AddFolderToScan:
        AppNotification::CreateAddFolderNotification();
        return;
    case MenuCommand::ShowOverlay:
        if (results) {
            results->updateOverlayHintFrameValues();
            QPointer<SelectDuplicatesVC> screen = results;
            results->showOverlayInfo([screen] {
                if (screen)
                    screen->hideAndDestroyOverlay();
            });
        }
        return;
    case MenuCommand::SelectDuplicatesInFolders:
        selectDuplicatesInFoldersPressed();
        return;
    default:
        // The help item, the overlay's hide command (its overlay step is all it does) and
        // items with their own handlers.
        return;
    }
}

void WindowController::selectDuplicatesInFoldersPressed() {
    if (m_selectDuplicatesController)
        m_selectDuplicatesController->hideAndDestroyOverlay();
    if (m_arrLastSelectedFolders.isEmpty() || m_folderChooser)
        return;
    const QString title = QCoreApplication::translate("WindowController", "Select folder");
    auto* chooser = new QFileDialog(this, title, m_arrLastSelectedFolders.first());
    chooser->setObjectName(QStringLiteral("selectInFoldersChooser"));
    chooser->setLabelText(QFileDialog::Accept,
                          QCoreApplication::translate("WindowController", "Select"));
    chooser->setFileMode(QFileDialog::Directory);
    chooser->setOption(QFileDialog::ShowDirsOnly, true);
    // Only the toolkit's own dialog lets several folders be chosen at once.
    chooser->setOption(QFileDialog::DontUseNativeDialog, true);
    QDir::Filters filters = QDir::AllDirs | QDir::NoDotAndDotDot;
    if (Settings::scanInHiddenFolders())
        filters |= QDir::Hidden;
    chooser->setFilter(filters);
    for (auto* view : chooser->findChildren<QAbstractItemView*>())
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // A sheet of this window, so the menu stays off while it is open.
    chooser->setWindowModality(Qt::WindowModal);
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    m_folderChooser = chooser;
    connect(chooser, &QFileDialog::finished, chooser, [chooser](int result) {
        if (result == QDialog::Accepted)
            selectDuplicatesInFolderURLs(chooser->selectedFiles());
    });
    chooser->open();
}

QFileDialog* WindowController::folderChooser() const {
    return m_folderChooser;
}

void WindowController::selectDuplicatesInFolderURLs(const QStringList& paths) {
    const auto container = DuplicatesManager::sharedManager().duplicateContainer();
    if (!container || paths.isEmpty())
        return;
    // A parent folder's path carries no trailing "/" (only the root is "/"), so a chosen path
    // is compared as it stands and with one trailing "/" dropped. Dropping any other last
    // character would match a folder the user never chose ("/a/bc" for "/a/b").
    QList<QByteArray> folders;
    for (const QString& path : paths) {
        QByteArray folder = QFile::encodeName(path);
        folders.append(folder);
        if (folder.size() > 1 && folder.endsWith('/')) {
            folder.chop(1);
            folders.append(folder);
        }
    }
    DuplicatesGroup::BeginSelectionGroup();
    // A snapshot: selecting may change the container's lists.
    const std::vector<std::shared_ptr<DuplicatesGroup>> groups = container->getAllFilesGroups();
    for (const auto& group : groups) {
        for (const auto& item : group->getItems()) {
            if (item->isSelected())
                continue;
            if (folders.contains(item->getParentFolderItemPath()))
                item->selectItemForced(false);
        }
    }
    DuplicatesGroup::EndSelectionGroup();
}
