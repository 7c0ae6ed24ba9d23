// The menu bar inside the main window and its validation: every item stands for a menu
// command, and the rules decide at each showing, each shortcut and each trigger whether the
// command may run.
#include "WindowController.h"

#include "Browser/Copies/DuplicateSelectionVC.h"
#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/GroupList/FileListVC.h"
#include "Browser/Review/SelectedFilesVC.h"
#include "Browser/Similars/FolderPickerVC.h"
#include "Browser/Similars/HeapFilesSelectorVC.h"
#include "FileTree/FileSystemItem.h"
#include "Platform/KeyEvent.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesHeaps.h"
#include "Results/DuplicatesManager.h"
#include "Screens/InterimScreenVC.h"
#include "Screens/WelcomeScreenVC.h"
#include "Shell/WindowBackgroundView.h"
#include "Toolkit/Palette.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>

#include <sys/stat.h>

namespace {

constexpr const char* kCommandProperty = "menuCommand";
constexpr const char* kAlternateProperty = "menuAlternate";

QKeySequence keys(QKeyCombination combination) {
    return QKeySequence(combination);
}

bool existsOnDisk(const QByteArray& path) {
    struct stat info {};
    return !path.isEmpty() && ::lstat(path.constData(), &info) == 0;
}

} // namespace

void WindowController::buildMenuBar() {
    m_menuBar = new QMenuBar(m_contentView);
    m_menuBar->setObjectName(QStringLiteral("mainMenu"));
    m_menuBar->setNativeMenuBar(false);
    // A flat bar over the window's own background, in the toolbar's text colour.
    m_menuBar->setStyleSheet(
        QStringLiteral("QMenuBar { background: transparent; border: none; color: %1; }"
                       "QMenuBar::item { background: transparent; padding: 3px 8px; }"
                       "QMenuBar::item:selected { background: %2; border-radius: 3px; }")
            .arg(Palette::toolbarButtonsTextColor().name(), Palette::selectedRowColor().name()));
    m_menuBar->setAutoFillBackground(false);

    QMenu* application = m_menuBar->addMenu(QStringLiteral("Sorvanta"));
    mainMenuAboutSorvanta = addMenuItem(application, QStringLiteral("About Sorvanta"),
                                        MenuCommand::Other, {}, [this] { showAboutScreen(); });
    mainMenuRateSorvanta =
        addMenuItem(application, QStringLiteral("Rate Sorvanta"), MenuCommand::RateSorvanta);
    // Rating shows nothing in this application; the rules keep the item hidden.
    mainMenuRateSorvanta->setVisible(false);
    macCleanUpToolsMenuItem =
        addMenuItem(application, QStringLiteral("Cleanup Tools..."), MenuCommand::CleanUpTools, {},
                    [this] { macCleanUpToolsPressed(); });
    application->addSeparator();
    mainMenuHideSorvanta = addMenuItem(application, QStringLiteral("Hide Sorvanta"),
                                       MenuCommand::Other, {}, [this] { showMinimized(); });
    mainMenuQuitSorvanta =
        addMenuItem(application, QStringLiteral("Quit Sorvanta"), MenuCommand::Other,
                    QKeySequence::Quit, [this] { tryToQuitApplication(); });

    QMenu* file = m_menuBar->addMenu(QStringLiteral("File"));
    newScanMenuItem = addMenuItem(file, QStringLiteral("New Scan"), MenuCommand::NewScan,
                                  keys(Qt::CTRL | Qt::Key_N));
    // Stands in for New Scan while Alt is held, and alone on the welcome screen.
    QAction* scan = addMenuItem(file, QStringLiteral("Scan"), MenuCommand::Scan,
                                keys(Qt::CTRL | Qt::ALT | Qt::Key_N));
    scan->setVisible(false);
    // One scan that compares whole files, whatever the stored preference says.
    QAction* allOutScan = addMenuItem(file, QStringLiteral("All-out Scan"), MenuCommand::AllOutScan,
                                      keys(Qt::CTRL | Qt::ALT | Qt::SHIFT | Qt::Key_N));
    allOutScan->setVisible(false);
    addMenuItem(file, QStringLiteral("Add Folder..."), MenuCommand::AddFolderToScan,
                keys(Qt::CTRL | Qt::Key_O));
    m_recentFoldersMenu = file->addMenu(QStringLiteral("Recent Folders"));
    recentFoldersMenuItem = m_recentFoldersMenu->menuAction();
    recentFoldersMenuItem->setProperty(kCommandProperty, int(MenuCommand::Other));
    file->addSeparator();
    restartScanMenuItem = addMenuItem(file, QStringLiteral("Rescan Current Folders"),
                                      MenuCommand::RestartScan, keys(Qt::CTRL | Qt::Key_R));
    allOutRestartScanMenuItem =
        addMenuItem(file, QStringLiteral("All-out Rescan Current Folders"),
                    MenuCommand::RestartScan, keys(Qt::CTRL | Qt::ALT | Qt::Key_R));
    file->addSeparator();
    addMenuItem(file, QStringLiteral("Show in File Manager"), MenuCommand::RevealInFinder,
                keys(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    addMenuItem(file, QStringLiteral("Properties"), MenuCommand::GetInfo,
                keys(Qt::CTRL | Qt::Key_I));
    addMenuItem(file, QStringLiteral("Open"), MenuCommand::OpenFile,
                keys(Qt::CTRL | Qt::SHIFT | Qt::Key_O));

    QMenu* edit = m_menuBar->addMenu(QStringLiteral("Edit"));
    addMenuItem(edit, QStringLiteral("Find"), MenuCommand::Find, QKeySequence::Find);

    // The group list's context menu shows the same shortcuts for its commands.
    QMenu* select = m_menuBar->addMenu(QStringLiteral("Select"));
    addMenuItem(select, QStringLiteral("Auto Select Duplicates"), MenuCommand::AutoSelectDuplicates,
                keys(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    addMenuItem(select, QStringLiteral("Select Newest Copies"), MenuCommand::SelectNewestCopies,
                keys(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    addMenuItem(select, QStringLiteral("Select Oldest Copies"), MenuCommand::SelectOldestCopies,
                keys(Qt::CTRL | Qt::SHIFT | Qt::Key_L));
    addMenuItem(select, QStringLiteral("Select Any Copies"), MenuCommand::SelectAnyCopies,
                keys(Qt::CTRL | Qt::SHIFT | Qt::Key_K));
    addMenuItem(select, QStringLiteral("Select Duplicates in Folders..."),
                MenuCommand::SelectDuplicatesInFolders, keys(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    addMenuItem(select, QStringLiteral("Deselect Duplicates"), MenuCommand::DeselectAllDuplicates,
                keys(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
    select->addSeparator();
    addMenuItem(select, QStringLiteral("Auto Select in Group"), MenuCommand::AutoSelectInGroup,
                keys(Qt::CTRL | Qt::ALT | Qt::Key_A));
    addMenuItem(select, QStringLiteral("Select Newest in Group"), MenuCommand::NewestSelectInGroup,
                keys(Qt::CTRL | Qt::ALT | Qt::Key_E));
    addMenuItem(select, QStringLiteral("Select Oldest in Group"), MenuCommand::OldestSelectInGroup,
                keys(Qt::CTRL | Qt::ALT | Qt::Key_L));
    addMenuItem(select, QStringLiteral("Select Any in Group"), MenuCommand::AnySelectInGroup,
                keys(Qt::CTRL | Qt::ALT | Qt::Key_K));
    addMenuItem(select, QStringLiteral("Deselect in Group"), MenuCommand::DeselectInGroup,
                keys(Qt::CTRL | Qt::ALT | Qt::Key_D));
    select->addSeparator();
    addMenuItem(select, QStringLiteral("Review Selected Duplicates..."),
                MenuCommand::ShowSelectedDuplicates, keys(Qt::CTRL | Qt::SHIFT | Qt::Key_S));

    QMenu* view = m_menuBar->addMenu(QStringLiteral("View"));
    const struct {
        const char* title;
        MenuCommand command;
        Qt::Key key;
    } categories[] = {
        {"Overview", MenuCommand::ShowOverview, Qt::Key_1},
        {"All Files", MenuCommand::ShowAllFiles, Qt::Key_2},
        {"Pictures", MenuCommand::ShowPictures, Qt::Key_3},
        {"Movies", MenuCommand::ShowMovies, Qt::Key_4},
        {"Music", MenuCommand::ShowMusic, Qt::Key_5},
        {"Documents", MenuCommand::ShowDocuments, Qt::Key_6},
        {"Archives", MenuCommand::ShowArchives, Qt::Key_7},
        {"Others", MenuCommand::ShowOthers, Qt::Key_8},
        {"Folders", MenuCommand::ShowFolders, Qt::Key_9},
        {"Similars", MenuCommand::ShowHeaps, Qt::Key_0},
    };
    // One category shows at a time: the items carry radio marks.
    auto* shown = new QActionGroup(view);
    shown->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const auto& category : categories) {
        QAction* item = addMenuItem(view, QLatin1String(category.title), category.command,
                                    keys(Qt::CTRL | category.key));
        item->setCheckable(true);
        shown->addAction(item);
    }
    view->addSeparator();
    fullScreenMenuItem =
        addMenuItem(view, QStringLiteral("Enter Full Screen"), MenuCommand::FullScreen,
                    standardKeyOr(QKeySequence::FullScreen, Qt::Key_F11));

    QMenu* help = m_menuBar->addMenu(QStringLiteral("Help"));
    mainMenuSorvantaHelp = addMenuItem(help, QStringLiteral("Sorvanta Help"), MenuCommand::Help);
    addMenuItem(help, QStringLiteral("Show Hints"), MenuCommand::ShowOverlay,
                keys(Qt::CTRL | Qt::Key_Question));
    addMenuItem(help, QStringLiteral("Hide Hints"), MenuCommand::HideHelperOverlay);
    help->addSeparator();
    buildSharingMenus(application, help);

    for (QMenu* menu : m_menuBar->findChildren<QMenu*>()) {
        QPointer<QMenu> guarded = menu;
        connect(menu, &QMenu::aboutToShow, this, [this, guarded] {
            if (guarded)
                validateMenu(guarded);
        });
    }
}

QAction* WindowController::addMenuItem(QMenu* menu, const QString& title, MenuCommand command,
                                       const QKeySequence& shortcut,
                                       std::function<void()> handler) {
    QAction* item = menu->addAction(title);
    if (!shortcut.isEmpty())
        item->setShortcut(shortcut);
    guardMenuItem(item, command, std::move(handler));
    return item;
}

void WindowController::guardMenuItem(QAction* item, MenuCommand command,
                                     std::function<void()> handler) {
    item->setProperty(kCommandProperty, int(command));
    QPointer<QAction> guarded = item;
    connect(item, &QAction::triggered, this, [this, guarded, command, handler] {
        if (!guarded || !validateMenuItem(guarded))
            return;
        if (handler)
            handler();
        else
            performMenuCommand(command, guarded);
    });
}

QKeySequence WindowController::standardKeyOr(QKeySequence::StandardKey key,
                                             const QKeySequence& fallback) {
    const QKeySequence bound(key);
    return bound.isEmpty() ? fallback : bound;
}

MenuCommand WindowController::commandOfItem(const QAction* item) {
    const QVariant value = item ? item->property(kCommandProperty) : QVariant();
    return value.isValid() ? static_cast<MenuCommand>(value.toInt()) : MenuCommand::Other;
}

QAction* WindowController::menuItem(MenuCommand command) const {
    for (QMenu* menu : m_menuBar->findChildren<QMenu*>()) {
        for (QAction* item : menu->actions()) {
            if (item->property(kCommandProperty).isValid() && commandOfItem(item) == command)
                return item;
        }
    }
    return nullptr;
}

// ---- Validation.

bool WindowController::isAnySheetOpen() const {
    const auto windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [this](const QWidget* window) {
        return window->isVisible() && isSheetOfThisWindow(window);
    });
}

MainMenuState WindowController::currentMenuState() const {
    MainMenuState s;
    s.sheetOpen = isAnySheetOpen();
    s.fullScreen = inFullScreenMode();
    s.keyWindow = isActiveWindow();
    s.welcome = bool(m_welcomeScreenController);
    // Only read here: validating must never reopen a gate a started scan has closed.
    s.welcomeCanScan = s.welcome && m_welcomeScreenController->canStartScan();
    s.interim = bool(m_interimScreenController);
    const SelectDuplicatesVC* results = m_selectDuplicatesController;
    s.results = results != nullptr;
    if (results) {
        const SelectedFilesVC* panel = results->selectedFilesVC();
        const DuplicateSelectionVC* copies = results->duplicateSelectionVC();
        const FolderPickerVC* picker = results->folderPickerVC();
        const HeapFilesSelectorVC* twoFolder = results->heapFilesSelectorVC();
        s.reviewPanel = panel != nullptr;
        s.removalRunning = panel && panel->removeIsOn();
        s.groupList = results->fileListVC() != nullptr;
        s.copiesTable = copies != nullptr;
        s.copiesTableCanDeselect = copies && copies->isAnyFilesForDeselect();
        s.folderPicker = picker != nullptr;
        s.folderPickerCanDeselect = picker && picker->isAnyDuplicatesForDeselect();
        s.twoFolderTable = twoFolder != nullptr;
        s.viewState = results->state();
        if (const DuplicateToolbarVC* toolbar = results->duplicatesToolbar()) {
            const WhiteTitleButton* selected = toolbar->selectedButton();
            const WhiteTitleButton* buttons[] = {
                toolbar->overviewButton(),  toolbar->allFilesButton(),  toolbar->categoryButton(0),
                toolbar->categoryButton(1), toolbar->categoryButton(2), toolbar->categoryButton(3),
                toolbar->categoryButton(4), toolbar->categoryButton(5), toolbar->categoryButton(6),
                toolbar->heapsButton()};
            for (int index = 0; selected && index < 10; ++index) {
                if (buttons[index] == selected)
                    s.selectedToolbarButton = index;
            }
        }
        FileSystemItem* twoFolderFile = twoFolder ? twoFolder->getSelectedFileItem() : nullptr;
        MainMenuRules::SelectedFileFacts facts;
        facts.reviewPanel = s.reviewPanel;
        facts.reviewPanelFileExists = panel && panel->isSelectedFileExists();
        facts.viewState = s.viewState;
        facts.copiesTableFileExists = copies && copies->isSelectedFileExists();
        facts.twoFolderHasFile = twoFolderFile != nullptr;
        facts.twoFolderFileExists = [twoFolderFile] { return existsOnDisk(twoFolderFile->path()); };
        s.haveSelectedFile = MainMenuRules::doWeHaveSelectedFile(facts);
    }
    if (const auto container = DuplicatesManager::sharedManager().duplicateContainer()) {
        s.allFilesSize = container->getAllFilesSize();
        s.hasAllFilesGroups = !container->getAllFilesGroups().empty();
        for (int type = 0; type < 7; ++type) {
            if (const auto category = container->getCategoryWithType(type))
                s.categoryTotalCounts[static_cast<std::size_t>(type)] = category->getTotalCount();
        }
        if (const auto& heaps = container->getHeaps())
            s.heapsTotalSize = heaps->getTotalHeapsSize();
        s.removeListCount = container->getItemsCountInRemoveList();
    }
    if (m_menuStateAdjuster)
        m_menuStateAdjuster(s);
    return s;
}

void WindowController::applyMenuItemRule(QAction* item, const MenuItemRule& rule) {
    if (rule.showUpdaterItem && checkForUpdatesMenuItem)
        checkForUpdatesMenuItem->setVisible(true);
    if (rule.rebuildRecentFolders)
        updateRecentFoldersList();
    if (rule.checked && item->isCheckable())
        item->setChecked(*rule.checked);
    if (rule.title)
        item->setText(*rule.title);
    if (rule.visible)
        item->setVisible(*rule.visible);
    if (rule.alternate)
        item->setProperty(kAlternateProperty, *rule.alternate);
    item->setEnabled(rule.enabled);
}

bool WindowController::validateMenuItem(QAction* item) {
    NotificationCenter::defaultCenter().post(QStringLiteral("MainMenuIsActive"));
    const MenuItemRule rule = MainMenuRules::validate(commandOfItem(item), currentMenuState());
    applyMenuItemRule(item, rule);
    return rule.enabled;
}

void WindowController::validateMenu(QMenu* menu) {
    NotificationCenter::defaultCenter().post(QStringLiteral("MainMenuIsActive"));
    const MainMenuState state = currentMenuState();
    const QList<QAction*> items = menu->actions();
    for (QAction* item : items) {
        if (!item->isSeparator())
            applyMenuItemRule(item, MainMenuRules::validate(commandOfItem(item), state));
    }
    // An alternate takes its neighbour's place while Alt is held; with the neighbour hidden
    // it shows on its own.
    const bool alt = (m_modifierFlags & KeyEvent::OptionKeyMask) != 0;
    for (int index = 1; index < items.size(); ++index) {
        QAction* alternate = items[index];
        QAction* primary = items[index - 1];
        if (!alternate->property(kAlternateProperty).toBool() || !primary->isVisible())
            continue;
        primary->setVisible(!alt);
        alternate->setVisible(alt);
    }
}

void WindowController::validateItemsForShortcut(const QKeyEvent* event) {
    const QKeySequence pressed(
        QKeyCombination(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key())));
    for (QMenu* menu : m_menuBar->findChildren<QMenu*>()) {
        for (QAction* item : menu->actions()) {
            const QList<QKeySequence> shortcuts = item->shortcuts();
            const bool matches =
                std::any_of(shortcuts.begin(), shortcuts.end(), [&](const QKeySequence& keys) {
                    return keys.matches(pressed) == QKeySequence::ExactMatch;
                });
            if (matches)
                validateMenuItem(item);
        }
    }
}
