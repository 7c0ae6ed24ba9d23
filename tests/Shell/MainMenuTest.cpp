// The main menu on the real main window: its items follow the rules when their menu opens,
// when their shortcut is pressed with every menu closed and when they are triggered; and
// every command reaches the part of the results screen it names, on a real scan of a
// fixture tree.
#include "Browser/Copies/DuplicateSelectionVC.h"
#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/GroupList/FileListVC.h"
#include "Categories/AppNotification.h"
#include "Categories/Settings.h"
#include "Platform/KeyEvent.h"
#include "Platform/NotificationCenter.h"
#include "Preferences/PreferencesWC.h"
#include "Promo/ZembrookDialogWC.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesManager.h"
#include "Screens/ScanScreenVC.h"
#include "Screens/WelcomeScreenVC.h"
#include "Shell/WindowController.h"
#include "TestSupport.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Walker/FileSeparator.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class MainMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
        Settings::setShowRestartScanMessage(false);
        Settings::setShowNewScanMessage(true);
        Settings::setAllowRemovingAllDuplicateCopies(false);
        Settings::setDefineMinimalDuplicatesFileSizeAutomatically(false);
        Settings::setMinDuplicatesFileSize(1);
        ASSERT_TRUE(m_tree.isValid());
        m_window = std::make_unique<WindowController>();
        m_window->setTerminateHandler([this] { ++m_terminated; });
        m_window->show();
        m_window->windowDidLoad();
        QApplication::setActiveWindow(m_window.get());
        NotificationCenter::defaultCenter().addObserver(
            &m_observer, QStringLiteral("MainMenuIsActive"),
            [this](const Notification&) { ++m_menuActive; });
    }

    void TearDown() override {
        NotificationCenter::defaultCenter().removeObserver(&m_observer);
        m_window.reset();
        QApplication::processEvents();
        Settings::setShowNewScanMessage(true);
        Settings::setDefineMinimalDuplicatesFileSizeAutomatically(true);
        Settings::setMinDuplicatesFileSize(1048576);
        AnimationClock::instance().setMode(AnimationClock::Mode::Real);
    }

    // A file last changed |age| hours ago.
    QByteArray write(const QString& relative, const QByteArray& contents, int age = 0) {
        const QByteArray path = QFile::encodeName(m_tree.path() + QLatin1Char('/') + relative);
        EXPECT_TRUE(TestSupport::writeFile(path, contents));
        QFile file(QFile::decodeName(path));
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        EXPECT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600 * age),
                                     QFileDevice::FileModificationTime));
        return path;
    }

    // Pictures, documents and music in pairs of different ages, one named as a copy; "a/b", "a/bc"
    // and "z" hold three copies of one file, and "a/b/sub" a copy of a file elsewhere. Every folder
    // also holds a file of its own, so no two folders are equal.
    void scanFixtureToResults() {
        write(QStringLiteral("pics/sun.jpg"), QByteArray(300, 'p'));
        write(QStringLiteral("pics/old/sun copy.jpg"), QByteArray(300, 'p'), 5);
        write(QStringLiteral("docs/letter.txt"), "the same letter, twice");
        write(QStringLiteral("docs/copy/letter copy.txt"), "the same letter, twice", 3);
        write(QStringLiteral("songs/tune.mp3"), QByteArray(500, 'm'), 2);
        write(QStringLiteral("songs/again/tune copy.mp3"), QByteArray(500, 'm'));
        write(QStringLiteral("a/b/pair.dat"), "three copies of one file", 1);
        write(QStringLiteral("a/bc/pair.dat"), "three copies of one file", 2);
        write(QStringLiteral("z/pair.dat"), "three copies of one file", 3);
        write(QStringLiteral("a/b/sub/deep.dat"), "deep copy", 4);
        write(QStringLiteral("elsewhere/deep.dat"), "deep copy");
        int own = 0;
        for (const char* folder :
             {"pics/old", "docs/copy", "songs/again", "a/b", "a/bc", "z", "a/b/sub", "elsewhere"})
            write(QLatin1String(folder) + QStringLiteral("/own.bin"), QByteArray(++own, 'o'));
        m_window->startScanFolders({m_tree.path()});
        ASSERT_TRUE(TestSupport::waitFor([&] {
            return m_window->selectDuplicatesController() &&
                   m_window->selectDuplicatesController()->resultsViewShown();
        }));
        QApplication::setActiveWindow(m_window.get());
        ASSERT_TRUE(m_window->isActiveWindow());
    }

    SelectDuplicatesVC* results() const { return m_window->selectDuplicatesController(); }
    DuplicateToolbarVC* toolbar() const { return results()->duplicatesToolbar(); }
    static std::shared_ptr<DuplicatesContainer> container() {
        return DuplicatesManager::sharedManager().duplicateContainer();
    }
    static uint64_t selectedCount() { return container()->getItemsCountInRemoveList(); }

    QAction* item(MenuCommand command) const {
        QAction* found = m_window->menuItem(command);
        EXPECT_NE(found, nullptr) << int(command);
        return found;
    }

    QMenu* menuOf(QAction* action) const {
        for (QMenu* menu : m_window->menuBar()->findChildren<QMenu*>()) {
            if (menu->actions().contains(action))
                return menu;
        }
        return nullptr;
    }

    // As the user does: opens the item's menu, then picks the item when it is enabled.
    bool choose(MenuCommand command) {
        QAction* action = item(command);
        if (!action)
            return false;
        m_window->validateMenu(menuOf(action));
        if (!action->isEnabled() || !action->isVisible())
            return false;
        action->trigger();
        return true;
    }

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget()
                                                      : static_cast<QWidget*>(m_window.get());
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }

    // Opens the New Scan confirmation, a sheet of the main window.
    QMessageBox* openSheet() {
        m_window->newScan();
        auto* box = m_window->findChild<QMessageBox*>(QStringLiteral("newScanConfirmation"));
        EXPECT_NE(box, nullptr);
        EXPECT_TRUE(box && box->isVisible());
        return box;
    }

    QTemporaryDir m_tree;
    std::unique_ptr<WindowController> m_window;
    QObject m_observer;
    int m_menuActive = 0;
    int m_terminated = 0;
};

TEST_F(MainMenuTest, OnTheWelcomeScreenScanStandsInForNewScanAndNeedsAFolder) {
    QAction* newScan = item(MenuCommand::NewScan);
    QAction* scan = item(MenuCommand::Scan);
    QMenu* file = menuOf(newScan);
    ASSERT_TRUE(file && menuOf(scan) == file);
    m_menuActive = 0;
    m_window->validateMenu(file);
    EXPECT_GT(m_menuActive, 0);
    EXPECT_FALSE(newScan->isVisible());
    EXPECT_TRUE(scan->isVisible());
    EXPECT_FALSE(scan->isEnabled());
    EXPECT_TRUE(item(MenuCommand::AddFolderToScan)->isEnabled());
    EXPECT_FALSE(item(MenuCommand::RestartScan)->isEnabled());
    m_window->validateMenu(menuOf(item(MenuCommand::ShowOverview)));
    EXPECT_FALSE(item(MenuCommand::ShowOverview)->isEnabled());

    // Triggered with its enabled state left behind, the Scan item still does nothing.
    scan->setEnabled(true);
    scan->trigger();
    EXPECT_EQ(m_window->scanScreenController(), nullptr);

    const QString folder = m_tree.path() + QStringLiteral("/one");
    write(QStringLiteral("one/file.txt"), "x");
    m_window->welcomeScreenController()->loadFilesByPath(folder);
    m_window->validateMenu(file);
    EXPECT_TRUE(scan->isEnabled());
    // Its shortcut works with the menu closed, as the rules now say.
    press(Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_NE(m_window->scanScreenController(), nullptr);
    EXPECT_EQ(m_window->lastSelectedFolders(), QStringList{folder});
}

TEST_F(MainMenuTest, AnAlternateTakesItsNeighboursPlaceWhileAltIsHeld) {
    // Scan is the one alternate; on the welcome screen it stands beside an item that shows.
    QMenu menu;
    QAction* neighbour = menu.addAction(QStringLiteral("Neighbour"));
    QAction* scan = menu.addAction(QStringLiteral("Scan"));
    scan->setProperty("menuCommand", int(MenuCommand::Scan));
    m_window->flagsChanged(KeyEvent::OptionKeyMask);
    m_window->validateMenu(&menu);
    EXPECT_FALSE(neighbour->isVisible());
    EXPECT_TRUE(scan->isVisible());
    m_window->flagsChanged(0);
    neighbour->setVisible(true);
    m_window->validateMenu(&menu);
    EXPECT_TRUE(neighbour->isVisible());
    EXPECT_FALSE(scan->isVisible());
}

TEST_F(MainMenuTest, ASheetTurnsEveryItemOffForMenusShortcutsAndTriggers) {
    ASSERT_NO_FATAL_FAILURE(scanFixtureToResults());
    QMessageBox* sheet = openSheet();
    ASSERT_TRUE(sheet);
    for (QMenu* menu : m_window->menuBar()->findChildren<QMenu*>()) {
        m_window->validateMenu(menu);
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator()) {
                EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
            }
        }
    }
    m_window->preferencesMenuItem->trigger();
    EXPECT_EQ(m_window->preferencesController(), nullptr);
    QWidget* selectedBefore = toolbar()->selectedButton();
    press(Qt::Key_2);
    press(Qt::Key_Q);
    EXPECT_EQ(toolbar()->selectedButton(), selectedBefore);
    EXPECT_EQ(m_terminated, 0);

    sheet->reject();
    QApplication::processEvents();
    QApplication::setActiveWindow(m_window.get());
    press(Qt::Key_2);
    EXPECT_EQ(toolbar()->selectedButton(), toolbar()->allFilesButton());
    EXPECT_EQ(results()->state(), SelectDuplicatesVC::StateCategory);
}

TEST_F(MainMenuTest, ShortcutsWithTheMenuClosedFollowTheRulesAsTheyStandNow) {
    ASSERT_NO_FATAL_FAILURE(scanFixtureToResults());
    QAction* pictures = item(MenuCommand::ShowPictures);
    // The View menu was last shown with no results: every category item was off then.
    m_window->validateMenu(menuOf(pictures));
    ASSERT_TRUE(pictures->isEnabled());
    press(Qt::Key_3);
    EXPECT_EQ(toolbar()->selectedButton(), toolbar()->categoryButton(0));

    // Movies were found in no file: its shortcut does nothing.
    press(Qt::Key_4);
    EXPECT_EQ(toolbar()->selectedButton(), toolbar()->categoryButton(0));

    // A removal running: only Preferences, Rate and full screen stay on.
    m_window->setMenuStateAdjuster([](MainMenuState& s) {
        s.reviewPanel = true;
        s.removalRunning = true;
    });
    press(Qt::Key_1);
    press(Qt::Key_Q);
    press(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(toolbar()->selectedButton(), toolbar()->categoryButton(0));
    EXPECT_EQ(m_terminated, 0);
    EXPECT_EQ(selectedCount(), 0u);
    EXPECT_FALSE(item(MenuCommand::ShowOverview)->isEnabled());
    m_window->preferencesMenuItem->trigger();
    EXPECT_NE(m_window->preferencesController(), nullptr);
    m_window->validateMenu(menuOf(m_window->fullScreenMenuItem));
    EXPECT_TRUE(m_window->fullScreenMenuItem->isEnabled());
    EXPECT_EQ(m_window->fullScreenMenuItem->text(), QStringLiteral("Enter Full Screen"));
    delete m_window->preferencesController();

    m_window->setMenuStateAdjuster({});
    press(Qt::Key_1);
    EXPECT_EQ(toolbar()->selectedButton(), toolbar()->overviewButton());
}

TEST_F(MainMenuTest, CategoryItemsReachTheToolbarAndMarkItsButton) {
    ASSERT_NO_FATAL_FAILURE(scanFixtureToResults());
    struct Case {
        MenuCommand command;
        QWidget* button;
        int state;
    } cases[] = {
        {MenuCommand::ShowAllFiles, toolbar()->allFilesButton(), 1},
        {MenuCommand::ShowPictures, toolbar()->categoryButton(0), 1},
        {MenuCommand::ShowMusic, toolbar()->categoryButton(2), 1},
        {MenuCommand::ShowDocuments, toolbar()->categoryButton(3), 1},
        {MenuCommand::ShowOverview, toolbar()->overviewButton(), 0},
    };
    for (const Case& c : cases) {
        QAction* action = item(c.command);
        action->trigger();
        EXPECT_EQ(toolbar()->selectedButton(), c.button) << action->text().toStdString();
        EXPECT_EQ(results()->state(), c.state) << action->text().toStdString();
        m_window->validateMenu(menuOf(action));
        for (QAction* other : menuOf(action)->actions()) {
            if (other->isCheckable()) {
                EXPECT_EQ(other->isChecked(), other == action) << other->text().toStdString();
            }
        }
    }
    // Nothing was found among the movies, and no two folders are equal.
    m_window->validateMenu(menuOf(item(MenuCommand::ShowMovies)));
    EXPECT_FALSE(item(MenuCommand::ShowMovies)->isEnabled());
    EXPECT_FALSE(item(MenuCommand::ShowFolders)->isEnabled());
}

TEST_F(MainMenuTest, SelectionCommandsReachTheGroupListAndTheCopiesTable) {
    ASSERT_NO_FATAL_FAILURE(scanFixtureToResults());
    EXPECT_TRUE(choose(MenuCommand::ShowAllFiles));
    ASSERT_TRUE(results()->fileListVC());
    // The list's rows are ready once it shows its first group.
    ASSERT_TRUE(
        TestSupport::waitFor([&] { return bool(results()->fileListVC()->selectedGroup()); }));
    const auto& groups = container()->getAllFilesGroups();
    ASSERT_EQ(groups.size(), 5u);
    uint64_t copies = 0;
    for (const auto& group : groups)
        copies += group->getItems().size();

    // The automatic selection takes the three copies named as copies; the other rules leave
    // one copy of every listed group.
    const uint64_t allButOne = copies - groups.size();
    const std::pair<MenuCommand, uint64_t> listCases[] = {
        {MenuCommand::AutoSelectDuplicates, 3},
        {MenuCommand::SelectNewestCopies, allButOne},
        {MenuCommand::SelectOldestCopies, allButOne},
        {MenuCommand::SelectAnyCopies, allButOne}};
    for (const auto& [command, expected] : listCases) {
        EXPECT_TRUE(choose(command)) << int(command);
        EXPECT_EQ(selectedCount(), expected) << int(command);
        EXPECT_TRUE(choose(MenuCommand::DeselectAllDuplicates)) << int(command);
        EXPECT_EQ(selectedCount(), 0u) << int(command);
    }
    EXPECT_FALSE(choose(MenuCommand::DeselectAllDuplicates));

    // The copies table acts on the group it shows: the letter and its copy.
    DuplicateSelectionVC* table = results()->duplicateSelectionVC();
    ASSERT_TRUE(table);
    std::shared_ptr<DuplicateItem> letter;
    for (const auto& group : groups)
        for (const auto& copy : group->getItems())
            if (copy->getFileItemPath().endsWith("/docs/letter.txt"))
                letter = copy;
    ASSERT_TRUE(letter);
    results()->showDuplicateItemInCategory(letter);
    ASSERT_TRUE(TestSupport::waitFor([&] {
        return results()->duplicateSelectionVC() &&
               results()->duplicateSelectionVC()->group() == letter->getGroup();
    }));
    table = results()->duplicateSelectionVC();
    for (MenuCommand command : {MenuCommand::AutoSelectInGroup, MenuCommand::NewestSelectInGroup,
                                MenuCommand::OldestSelectInGroup, MenuCommand::AnySelectInGroup}) {
        EXPECT_TRUE(choose(command)) << int(command);
        EXPECT_EQ(selectedCount(), 1u) << int(command);
        EXPECT_EQ(letter->getGroup()->getSelectedItems().size(), 1u) << int(command);
        EXPECT_TRUE(choose(MenuCommand::DeselectInGroup)) << int(command);
        EXPECT_EQ(selectedCount(), 0u) << int(command);
    }
    EXPECT_FALSE(choose(MenuCommand::DeselectInGroup));

    // Review: the panel opens with a selection.
    EXPECT_FALSE(choose(MenuCommand::ShowSelectedDuplicates));
    choose(MenuCommand::SelectAnyCopies);
    EXPECT_TRUE(choose(MenuCommand::ShowSelectedDuplicates));
    ASSERT_NE(results()->selectedFilesVC(), nullptr);
    ASSERT_TRUE(TestSupport::waitFor([&] { return !results()->selectedFilesVC()->animating(); }));

    // With the review panel open the category items are off but keep the mark, and Deselect
    // reaches the panel.
    // (The jump to the letter chose the documents.)
    QAction* documents = item(MenuCommand::ShowDocuments);
    m_window->validateMenu(menuOf(documents));
    EXPECT_FALSE(documents->isEnabled());
    EXPECT_TRUE(documents->isChecked());
    EXPECT_FALSE(choose(MenuCommand::SelectAnyCopies));
    EXPECT_TRUE(choose(MenuCommand::DeselectAllDuplicates));
    EXPECT_EQ(selectedCount(), 0u);
}

TEST_F(MainMenuTest, FileCommandsGoOutAsNotificationsToTheListShown) {
    ASSERT_NO_FATAL_FAILURE(scanFixtureToResults());
    EXPECT_TRUE(choose(MenuCommand::ShowAllFiles));
    QStringList posted;
    auto& center = NotificationCenter::defaultCenter();
    const QString names[] = {AppNotification::FindInActiveViewNotificationName(),
                             AppNotification::RevealInFinderNotificationName(),
                             AppNotification::GetInfoNotificationName(),
                             AppNotification::OpenFileNotificationName(),
                             AppNotification::AddFolderNotificationName()};
    for (const QString& name : names)
        center.addObserver(&m_observer, name,
                           [&posted, name](const Notification&) { posted << name; });
    // Reveal, Properties and Open act on the copies table's selected copy, which exists.
    ASSERT_TRUE(results()->duplicateSelectionVC()->isSelectedFileExists());
    for (MenuCommand command : {MenuCommand::Find, MenuCommand::RevealInFinder,
                                MenuCommand::GetInfo, MenuCommand::OpenFile}) {
        EXPECT_TRUE(choose(command)) << int(command);
        // Without a file manager on the test machine the window tells so in an alert;
        // answering it lets the next command through.
        if (auto* alert = m_window->findChild<QMessageBox*>(QStringLiteral("openFailedAlert"))) {
            alert->setObjectName(QString());
            alert->done(QMessageBox::Ok);
        }
        QApplication::processEvents();
    }
    // Adding a folder belongs to the welcome screen: off here, and refused when triggered
    // even with the item left enabled.
    EXPECT_FALSE(choose(MenuCommand::AddFolderToScan));
    item(MenuCommand::AddFolderToScan)->setEnabled(true);
    item(MenuCommand::AddFolderToScan)->trigger();
    EXPECT_EQ(posted, QStringList(std::begin(names), std::end(names) - 1));
}

TEST_F(MainMenuTest, HintsOpenFromTheMenuAndCommandsCloseThemFirst) {
    ASSERT_NO_FATAL_FAILURE(scanFixtureToResults());
    results()->hideAndDestroyOverlay();
    EXPECT_TRUE(choose(MenuCommand::ShowOverlay));
    ASSERT_NE(results()->overlayInfoViewController(), nullptr);
    EXPECT_TRUE(choose(MenuCommand::HideHelperOverlay));
    EXPECT_EQ(results()->overlayInfoViewController(), nullptr);

    EXPECT_TRUE(choose(MenuCommand::ShowOverlay));
    ASSERT_NE(results()->overlayInfoViewController(), nullptr);
    EXPECT_TRUE(choose(MenuCommand::Help)); // does nothing at all
    EXPECT_NE(results()->overlayInfoViewController(), nullptr);
    EXPECT_TRUE(choose(MenuCommand::ShowAllFiles));
    EXPECT_EQ(results()->overlayInfoViewController(), nullptr);
    EXPECT_EQ(toolbar()->selectedButton(), toolbar()->allFilesButton());
}

TEST_F(MainMenuTest, ChoosingFoldersSelectsOnlyTheCopiesDirectlyInsideThem) {
    ASSERT_NO_FATAL_FAILURE(scanFixtureToResults());
    EXPECT_TRUE(choose(MenuCommand::ShowAllFiles));
    EXPECT_TRUE(choose(MenuCommand::SelectDuplicatesInFolders));
    QFileDialog* chooser = m_window->folderChooser();
    ASSERT_TRUE(chooser);
    EXPECT_EQ(chooser->windowTitle(), QStringLiteral("Select folder"));
    EXPECT_EQ(chooser->labelText(QFileDialog::Accept), QStringLiteral("Select"));
    EXPECT_EQ(chooser->fileMode(), QFileDialog::Directory);
    EXPECT_EQ(QDir(chooser->directory()).canonicalPath(), QDir(m_tree.path()).canonicalPath());
    // The chooser is a sheet: the menu is off while it is open.
    m_window->validateMenu(menuOf(item(MenuCommand::ShowOverview)));
    EXPECT_FALSE(item(MenuCommand::ShowOverview)->isEnabled());

    // "a/b": its copy, not "a/bc"'s, nor "a/b/sub"'s copy.
    const QString chosen = m_tree.path() + QStringLiteral("/a/b");
    chooser->selectFile(chosen);
    static_cast<QDialog*>(chooser)->accept();
    QApplication::processEvents();
    const auto selected = [] {
        QList<QByteArray> paths;
        for (const auto& group : container()->getAllFilesGroups())
            for (const auto& copy : group->getItems())
                if (copy->isSelected())
                    paths << copy->getFileItemPath();
        std::sort(paths.begin(), paths.end());
        return paths;
    };
    const QByteArray tree = QFile::encodeName(m_tree.path());
    EXPECT_EQ(selected(), QList<QByteArray>{tree + "/a/b/pair.dat"});

    // A chosen folder's name one character shorter or longer than a copy's folder is
    // another folder; one trailing "/" is dropped.
    EXPECT_TRUE(choose(MenuCommand::DeselectAllDuplicates));
    WindowController::selectDuplicatesInFolderURLs({m_tree.path() + QStringLiteral("/a/bc")});
    EXPECT_EQ(selected(), QList<QByteArray>{tree + "/a/bc/pair.dat"});
    EXPECT_TRUE(choose(MenuCommand::DeselectAllDuplicates));
    WindowController::selectDuplicatesInFolderURLs({m_tree.path() + QStringLiteral("/a/b/")});
    EXPECT_EQ(selected(), QList<QByteArray>{tree + "/a/b/pair.dat"});

    // Every folder of the three copies: the last copy stays, as the guard wants.
    WindowController::selectDuplicatesInFolderURLs({m_tree.path() + QStringLiteral("/a/b"),
                                                    m_tree.path() + QStringLiteral("/a/bc"),
                                                    m_tree.path() + QStringLiteral("/z")});
    const QList<QByteArray> two = selected();
    EXPECT_EQ(two.size(), 2);
    EXPECT_TRUE(two.contains(tree + "/a/b/pair.dat"));

    // A cancelled chooser changes nothing.
    EXPECT_TRUE(choose(MenuCommand::SelectDuplicatesInFolders));
    ASSERT_TRUE(m_window->folderChooser());
    m_window->folderChooser()->reject();
    QApplication::processEvents();
    EXPECT_EQ(selected(), two);
}

} // namespace

namespace {

// How the user can ask the welcome screen for a scan.
enum class ScanWay { Button, Return, Menu };

TEST_F(MainMenuTest, ScanPressedTwiceStartsOneScanWhicheverWayEachPressCame) {
    const ScanWay ways[] = {ScanWay::Button, ScanWay::Return, ScanWay::Menu};
    write(QStringLiteral("two/a.txt"), "same");
    write(QStringLiteral("two/b.txt"), "same");
    const QString folder = m_tree.path() + QStringLiteral("/two");
    for (const ScanWay first : ways) {
        for (const ScanWay second : ways) {
            SCOPED_TRACE(int(first) * 3 + int(second));
            m_window = std::make_unique<WindowController>();
            m_window->show();
            m_window->windowDidLoad();
            QApplication::setActiveWindow(m_window.get());
            AnimationClock::instance().setMode(AnimationClock::Mode::Manual);
            WelcomeScreenVC* welcome = m_window->welcomeScreenController();
            ASSERT_TRUE(welcome);
            welcome->loadFilesByPath(folder);
            const auto ask = [&](ScanWay way) {
                switch (way) {
                case ScanWay::Button:
                    welcome->scanButton()->click();
                    break;
                case ScanWay::Return:
                    QTest::keyClick(m_window.get(), Qt::Key_Return);
                    break;
                case ScanWay::Menu:
                    choose(MenuCommand::Scan);
                    break;
                }
            };
            ask(first);
            // Showing the menu in between only looks: it must not reopen the gate.
            m_window->validateMenu(menuOf(item(MenuCommand::Scan)));
            EXPECT_FALSE(item(MenuCommand::Scan)->isEnabled());
            EXPECT_FALSE(item(MenuCommand::AllOutScan)->isEnabled());
            ask(second);
            for (int done = 0; done < 1600; done += 50)
                AnimationClock::instance().advance(50);
            ScanScreenVC* scan = m_window->scanScreenController();
            ASSERT_TRUE(scan);
            ASSERT_TRUE(m_window->scanner());
            // One scanner, handed to the scan screen once: its progress keeps being polled.
            EXPECT_EQ(scan->scanner().get(), m_window->scanner());
            EXPECT_TRUE(scan->isProgressPollRunning());
            EXPECT_EQ(m_window->lastSelectedFolders(), QStringList{folder});
            AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
            m_window.reset();
            QApplication::processEvents();
        }
    }
}

TEST_F(MainMenuTest, AllOutScanAndCleanupToolsAreInTheMenuOnEveryScreenTheyServe) {
    QAction* allOut = item(MenuCommand::AllOutScan);
    QAction* cleanup = item(MenuCommand::CleanUpTools);
    ASSERT_TRUE(allOut && cleanup);
    EXPECT_EQ(allOut->text(), QStringLiteral("All-out Scan"));
    EXPECT_EQ(cleanup, m_window->macCleanUpToolsMenuItem);
    const auto state = [&](QAction* action) {
        m_window->validateMenu(menuOf(action));
        return std::pair{action->isVisible(), action->isEnabled()};
    };
    using Shown = std::pair<bool, bool>;
    // Welcome screen, empty: shown but off; with a folder: on.
    EXPECT_EQ(state(allOut), (Shown{true, false}));
    EXPECT_EQ(state(cleanup), (Shown{true, true}));
    write(QStringLiteral("one/file.txt"), "x");
    m_window->welcomeScreenController()->loadFilesByPath(m_tree.path() + QStringLiteral("/one"));
    EXPECT_EQ(state(allOut), (Shown{true, true}));

    // Results: no all-out scan to start, the cleanup tools still there.
    ASSERT_NO_FATAL_FAILURE(scanFixtureToResults());
    EXPECT_FALSE(state(allOut).first);
    EXPECT_EQ(state(cleanup), (Shown{true, true}));

    // The command opens the promotional panel over the main window.
    ASSERT_TRUE(choose(MenuCommand::CleanUpTools));
    ASSERT_TRUE(TestSupport::waitFor([] { return ZembrookDialogWC::currentPanel() != nullptr; }));
    EXPECT_EQ(ZembrookDialogWC::currentPanel()->parentWidget(), m_window.get());
    ZembrookDialogWC::closeZembrookWC();
    ASSERT_TRUE(TestSupport::waitFor([] { return !ZembrookDialogWC::currentPanel(); }));

    // The congratulations screen's request runs the same command.
    AppNotification::CreateShowCleanUpToolsNotification();
    ASSERT_TRUE(TestSupport::waitFor([] { return ZembrookDialogWC::currentPanel() != nullptr; }));
    ZembrookDialogWC::closeZembrookWC();
    ASSERT_TRUE(TestSupport::waitFor([] { return !ZembrookDialogWC::currentPanel(); }));
}

TEST_F(MainMenuTest, AnAllOutScanComparesWholeFilesAndLeavesThePreferenceAsItWas) {
    write(QStringLiteral("one/a.txt"), "same");
    write(QStringLiteral("one/b.txt"), "same");
    const QString folder = m_tree.path() + QStringLiteral("/one");
    const struct {
        bool stored;
        MenuCommand command;
        bool wholeFiles;
    } cases[] = {
        {false, MenuCommand::AllOutScan, true},
        {false, MenuCommand::Scan, false},
        {true, MenuCommand::Scan, true},
        {true, MenuCommand::AllOutScan, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.command) * 2 + int(c.stored));
        m_window = std::make_unique<WindowController>();
        m_window->show();
        m_window->windowDidLoad();
        QApplication::setActiveWindow(m_window.get());
        Settings::setForceFullHashCalculation(c.stored);
        FileSeparator::setUseForcedFullHashCalculation(!c.wholeFiles);
        m_window->welcomeScreenController()->loadFilesByPath(folder);
        ASSERT_TRUE(choose(c.command));
        ASSERT_TRUE(TestSupport::waitFor([&] { return m_window->scanner() != nullptr; }));
        EXPECT_EQ(FileSeparator::useForcedFullHashCalculation(), c.wholeFiles);
        EXPECT_EQ(Settings::forceFullHashCalculation(), c.stored);
        m_window.reset();
        QApplication::processEvents();
    }
    Settings::setForceFullHashCalculation(false);
}

} // namespace
