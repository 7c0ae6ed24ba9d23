#include "GroupListFixture.h"

#include "Browser/Common/ListKeys.h"
#include "Browser/Copies/DuplicateSelectionVC.h"
#include "Browser/Frame/DuplicateBottombarVC.h"
#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/GroupList/ColoredDupView.h"
#include "Browser/GroupList/FileListCellView.h"
#include "Browser/GroupList/FileListVC.h"
#include "Browser/GroupList/GroupListModel.h"
#include "Screens/CongratulationsVC.h"
#include "Selection/OperationsManager.h"
#include "Shell/WindowController.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/Palette.h"
#include "Toolkit/PreviewPanel.h"
#include "Toolkit/QuickLookController.h"
#include "Toolkit/SearchTextField.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>
#include <utime.h>

namespace {

using L = QStringList;

struct Recorder final : FileListProtocol {
    std::vector<std::shared_ptr<DuplicatesGroup>> reports;
    void groupSelected(const std::shared_ptr<DuplicatesGroup>& group) override {
        reports.push_back(group);
    }
};

// Four text groups and two pictures on disk, listed by a group list in a window of its own.
struct FileListVCTest : GroupListFixture {
    std::unique_ptr<QWidget> window;
    FileListVC* list = nullptr;
    Recorder recorder;
    int keyPosts = 0;
    QList<int> arrowTargets;

    void SetUp() override {
        GroupListFixture::SetUp();
        group("note", {"A/note.txt", "B/note.txt", "C/note.txt"}, 30, true, 'n');
        group("memo", {"A/memo.txt", "B/memo.txt"}, 20, true, 'm');
        group("list", {"A/list.txt", "B/list.txt"}, 10, true, 'l');
        group("plan", {"A/plan.txt", "B/plan.txt", "C/plan.txt", "D/plan.txt"}, 5, true, 'p');
        group("photo", {"A/photo.jpg", "B/photo.jpg"}, 40, true, 'j');
        group("shot", {"A/shot.png", "B/shot.png"}, 25, true, 's');
        publish();
        auto& center = NotificationCenter::defaultCenter();
        center.addObserver(static_cast<const void*>(this),
                           AppNotification::KeyPressedNotificationName(),
                           [this](const Notification&) { ++keyPosts; });
        center.addObserver(
            static_cast<const void*>(this), AppNotification::ArrowNavigationNotificationName(),
            [this](const Notification& note) {
                arrowTargets << AppNotification::GetArrowNavigationTypeFromNotification(note);
            });
    }
    void TearDown() override {
        window.reset();
        NotificationCenter::defaultCenter().removeObserver(static_cast<const void*>(this));
        GroupListFixture::TearDown();
    }
    int textType() const { return labelled("note")->getCategory()->getType(); }
    std::shared_ptr<DuplicatesGroup> labelled(const QString& label) const {
        for (const auto& g : container->getAllFilesGroups())
            if (labels.value(g.get()) == label)
                return g;
        return nullptr;
    }
    FileListVC& makeList(int type) {
        window = std::make_unique<QWidget>();
        window->resize(365, 600);
        list = new FileListVC(window.get());
        list->setDelegate(&recorder);
        list->setGeometry(0, 0, 365, 600);
        window->show();
        QApplication::setActiveWindow(window.get());
        list->setDuplicatesGroupArrayType(type);
        return *list;
    }
    QString selectedLabel() const { return labels.value(list->selectedGroup().get()); }
    QString lastReport() const {
        return recorder.reports.empty()
                   ? QStringLiteral("none")
                   : labels.value(recorder.reports.back().get(), QStringLiteral("null"));
    }
    void press(quint16 code, quint32 flags = 0) {
        AppNotification::CreateKeyPressedNotificationWithEvent(KeyEvent{code, flags});
    }
};

TEST_F(FileListVCTest, LoadsSortedCategoryAndReportsTheFirstGroup) {
    Settings::setSortType(Settings::SortTypeName);
    FileListVC& l = makeList(textType());
    QAbstractItemModelTester tester(l.model(),
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    EXPECT_EQ(describe(l.rows()), (L{"list", "memo", "note", "plan"}));
    EXPECT_EQ(selectedLabel(), "list");
    EXPECT_EQ(lastReport(), "list");
    EXPECT_TRUE(l.noFileFoundLabel()->isHidden());
    EXPECT_TRUE(ListKeys::isFirstResponder(l.tableView()));
    EXPECT_EQ(l.model()->data(l.model()->index(0, 0), Qt::DisplayRole).toString(), "list.txt");

    // Header rows are 30 high and not selectable; group rows 48.
    Settings::setSortType(Settings::SortTypeSize);
    AppNotification::CreateSortingTypeChangedNotification();
    EXPECT_EQ(describe(l.rows()), (L{"[Less than 100KB]", "note", "memo", "list", "plan"}));
    EXPECT_EQ(l.tableView()->rowHeight(0), 30);
    EXPECT_EQ(l.tableView()->rowHeight(1), 48);
    EXPECT_FALSE(l.model()->flags(l.model()->index(0, 0)).testFlag(Qt::ItemIsSelectable));
    EXPECT_EQ(l.selectedRow(), 3); // still "list", now under its header

    // Back to an order without headers: every row has the group height again.
    Settings::setSortType(Settings::SortTypeCount);
    AppNotification::CreateSortingTypeChangedNotification();
    for (int row = 0; row < l.model()->rowCount(); ++row)
        EXPECT_EQ(l.tableView()->rowHeight(row), 48) << row;
}

TEST_F(FileListVCTest, ClicksAndKeysMoveTheSelectionOverHeaders) {
    Settings::setSortType(Settings::SortTypeType);
    FileListVC& l = makeList(-1);
    ASSERT_EQ(describe(l.rows()),
              (L{"[TXT]", "note", "memo", "list", "plan", "[PNG]", "shot", "[JPG]", "photo"}));
    EXPECT_EQ(selectedLabel(), "note");
    QTest::mouseClick(l.tableView()->viewport(), Qt::LeftButton, {},
                      l.tableView()->visualRect(l.model()->index(6, 0)).center());
    EXPECT_EQ(selectedLabel(), "shot");
    EXPECT_EQ(lastReport(), "shot");
    // A click on a header changes nothing.
    QTest::mouseClick(l.tableView()->viewport(), Qt::LeftButton, {},
                      l.tableView()->visualRect(l.model()->index(5, 0)).center());
    EXPECT_EQ(selectedLabel(), "shot");

    press(ListKeys::kUp);
    EXPECT_EQ(selectedLabel(), "plan");
    press(ListKeys::kDown);
    press(ListKeys::kDown);
    EXPECT_EQ(selectedLabel(), "photo");
    press(ListKeys::kDown); // the end: nothing moves
    EXPECT_EQ(selectedLabel(), "photo");
    press(ListKeys::kUp, KeyEvent::OptionKeyMask);
    EXPECT_EQ(selectedLabel(), "note");
    EXPECT_EQ(lastReport(), "note");
    press(ListKeys::kDown, KeyEvent::OptionKeyMask);
    EXPECT_EQ(selectedLabel(), "photo");

    // The remembered group comes back when the list is rebuilt.
    l.setDuplicatesGroupArrayType(textType());
    EXPECT_EQ(selectedLabel(), "note");
    l.setDuplicatesGroupArrayType(-1);
    EXPECT_EQ(selectedLabel(), "photo");
}

TEST_F(FileListVCTest, KeysActOnlyWhileTheTableHasTheFocus) {
    FileListVC& l = makeList(textType());
    // Another list of the window, standing in for the copies table.
    auto* other = new TableViewWithArrowHandling(window.get());
    other->setGeometry(0, 0, 50, 50);
    other->show();
    other->setFocus();
    ASSERT_FALSE(ListKeys::isFirstResponder(l.tableView()));
    EXPECT_EQ(selectedLabel(), "note");
    QTest::keyClick(other, Qt::Key_Down);
    EXPECT_EQ(selectedLabel(), "note");

    // Ctrl-Down there: the next group, and the focus is sent back to the copies table.
    QTest::keyClick(other, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(selectedLabel(), "memo");
    EXPECT_EQ(lastReport(), "memo");
    ASSERT_TRUE(TestSupport::waitFor([&] { return !arrowTargets.isEmpty(); }));
    EXPECT_EQ(arrowTargets, QList<int>{ArrowNavigationTargetCopiesTable});

    // Arrow navigation of type 3 brings the focus back; Right and Tab send it on again.
    other->setFocus();
    AppNotification::CreateArrowNavigationNotificationWithType(ArrowNavigationTargetGroupList);
    ASSERT_TRUE(TestSupport::waitFor([&] { return ListKeys::isFirstResponder(l.tableView()); }));
    arrowTargets.clear();
    press(ListKeys::kRight);
    press(ListKeys::kTab);
    ASSERT_TRUE(TestSupport::waitFor([&] { return arrowTargets.size() == 2; }));
    EXPECT_EQ(arrowTargets, (QList<int>{4, 4}));
}

// Digits and letters typed into the search field never reach the lists.
TEST_F(FileListVCTest, SearchFieldKeepsItsKeysAndNarrowsTheList) {
    Settings::setSortType(Settings::SortTypeName);
    AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
    auto host = std::make_unique<WindowController>();
    host->show();
    list = new FileListVC(host.get());
    list->setDelegate(&recorder);
    list->setGeometry(0, 0, 365, 500);
    list->show();
    QApplication::setActiveWindow(host.get());
    list->setDuplicatesGroupArrayType(textType());
    list->makeSearchFieldActive();
    ASSERT_TRUE(list->searchTextField()->hasFocus());

    EXPECT_EQ(selectedLabel(), "list");
    QTest::keyClicks(list->searchTextField(), QStringLiteral("2n"));
    EXPECT_EQ(keyPosts, 0);
    EXPECT_EQ(describe(list->rows()), L{});
    // Nothing listed: nothing selected, and the views of the group are emptied.
    EXPECT_FALSE(list->selectedGroup());
    EXPECT_EQ(lastReport(), "null");
    QTest::keyClick(list->searchTextField(), Qt::Key_Backspace);
    QTest::keyClick(list->searchTextField(), Qt::Key_Backspace);
    EXPECT_EQ(selectedLabel(), "list") << "listed again: the first group";
    list->clearSearchTextPressed();
    list->tableView()->selectRow(1);
    ASSERT_EQ(selectedLabel(), "memo");
    list->makeSearchFieldActive();
    QTest::keyClicks(list->searchTextField(), QStringLiteral("N"));
    EXPECT_EQ(describe(list->rows()), (L{"note", "plan"}));
    EXPECT_FALSE(list->clearSearchTextButton()->isHidden());
    EXPECT_EQ(keyPosts, 0);
    // The selected group was filtered out: the first listed one takes its place, and the
    // focus stays in the field.
    EXPECT_EQ(selectedLabel(), "note");
    EXPECT_EQ(list->selectedRow(), 0);
    EXPECT_EQ(lastReport(), "note");
    EXPECT_TRUE(list->searchTextField()->hasFocus());
    EXPECT_EQ(list->tableView()->selectionModel()->selectedRows().value(0).row(), 0);

    // Clearing gives back the whole sorted category.
    list->clearSearchTextPressed();
    EXPECT_EQ(describe(list->rows()), (L{"list", "memo", "note", "plan"}));
    EXPECT_TRUE(list->clearSearchTextButton()->isHidden());

    // A category switch shows the whole new category and an empty field.
    QTest::keyClicks(list->searchTextField(), QStringLiteral("memo"));
    EXPECT_EQ(describe(list->rows()), L{"memo"});
    list->setDuplicatesGroupArrayType(-1);
    EXPECT_TRUE(list->searchTextField()->text().isEmpty());
    EXPECT_EQ(list->rows().listedGroups().size(), 6u);
    delete list;
    host.reset();
    AnimationClock::instance().setMode(AnimationClock::Mode::Real);
}

TEST_F(FileListVCTest, MainMenuCommandsRespectTheSearchAndTheMenuItsRow) {
    Settings::setSortType(Settings::SortTypeName);
    FileListVC& l = makeList(textType());
    l.searchTextField()->setText(QStringLiteral("n"));
    l.controlTextDidChange();
    ASSERT_EQ(describe(l.rows()), (L{"note", "plan"}));

    const int before = selectionPosts;
    l.selectAny(); // the main menu: every listed group
    ASSERT_TRUE(TestSupport::waitFor([&] { return selectionPosts > before; }));
    EXPECT_EQ(labelled("note")->getSelectedCountWithDuplicatesFolderContent(), 2u);
    EXPECT_EQ(labelled("plan")->getSelectedCountWithDuplicatesFolderContent(), 3u);
    EXPECT_EQ(labelled("memo")->getSelectedCountWithDuplicatesFolderContent(), 0u);
    EXPECT_EQ(labelled("list")->getSelectedCountWithDuplicatesFolderContent(), 0u);

    // The context menu of the row of "plan" acts on that group alone.
    QMenu* menu = l.menuNeedsUpdate(1);
    ASSERT_TRUE(l.menuWillOpen(1));
    EXPECT_EQ(selectedLabel(), "plan");
    QStringList titles;
    for (QAction* action : menu->actions())
        titles << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(titles, (L{"Auto Select Duplicates", "-", "Select Newest Copies",
                         "Select Oldest Copies", "Select Any Copies", "-", "Deselect Duplicates",
                         "-", "Remove from Duplicates List"}));
    EXPECT_EQ(menu->actions()[6]->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
    menu->actions()[6]->trigger();
    EXPECT_EQ(labelled("plan")->getSelectedCountWithDuplicatesFolderContent(), 0u);
    EXPECT_EQ(labelled("note")->getSelectedCountWithDuplicatesFolderContent(), 2u);

    // No items beyond the last row.
    EXPECT_TRUE(l.menuNeedsUpdate(7)->actions().isEmpty());

    // The last item takes the row's group out of the result; the list shows the rest.
    l.menuNeedsUpdate(1);
    ASSERT_TRUE(l.menuWillOpen(1));
    l.contextMenu()->actions().last()->trigger();
    EXPECT_EQ(describe(l.rows()), (L{"list", "memo", "note"}));
    EXPECT_TRUE(l.searchTextField()->text().isEmpty());

    // The Find command puts the focus into the search field.
    AppNotification::CreateFindInActiveViewNotification();
    EXPECT_EQ(window->focusWidget(), l.searchTextField());
}

TEST_F(FileListVCTest, SelectNewestKeepsEveryOldestCopy) {
    FileListVC& l = makeList(textType());
    const auto setTime = [](const DuplicateItem* item, time_t seconds) {
        const utimbuf times{seconds, seconds};
        ASSERT_EQ(::utime(item->getFileItemPath().constData(), &times), 0);
    };
    const auto plan = labelled("plan")->getItems();
    setTime(plan[0].get(), 3000);
    setTime(plan[1].get(), 1000);
    setTime(plan[2].get(), 1000);
    setTime(plan[3].get(), 2000);
    const auto note = labelled("note")->getItems();
    setTime(note[0].get(), 1000);
    setTime(note[1].get(), 1000);
    setTime(note[2].get(), 5000);
    Settings::setAutoNeverSelectFolders({QFile::decodeName(root->path()) + "/D/"});

    l.selectNewest();
    EXPECT_TRUE(plan[0]->isSelected());
    EXPECT_FALSE(plan[1]->isSelected());
    EXPECT_FALSE(plan[2]->isSelected());
    EXPECT_FALSE(plan[3]->isSelected()); // in a never-select folder
    EXPECT_TRUE(note[2]->isSelected());
    EXPECT_FALSE(note[0]->isSelected() || note[1]->isSelected());

    // Select Oldest keeps the newest copy of each group.
    l.selectOldest();
    EXPECT_FALSE(plan[0]->isSelected());
    EXPECT_TRUE(plan[1]->isSelected() && plan[2]->isSelected());
    EXPECT_TRUE(note[0]->isSelected() && note[1]->isSelected());
    EXPECT_FALSE(note[2]->isSelected());
}

TEST_F(FileListVCTest, QuestModeEndsWithItsClosingRow) {
    Settings::setSortType(Settings::SortTypeCount);
    FileListVC& l = makeList(textType());
    l.setDuplicatesGroupArrayWithType({labelled("memo"), labelled("plan"), labelled("list")},
                                      textType());
    EXPECT_TRUE(l.questMode());
    EXPECT_EQ(describe(l.rows()), (L{"plan", "memo", "list", "<all>"}));
    EXPECT_FALSE(l.model()->flags(l.model()->index(3, 0)).testFlag(Qt::ItemIsSelectable));
    press(ListKeys::kDown, KeyEvent::OptionKeyMask);
    EXPECT_EQ(selectedLabel(), "list");
    press(ListKeys::kDown);
    EXPECT_EQ(selectedLabel(), "list");

    // The closing row's link brings back the whole category.
    const QRect closing = l.tableView()->visualRect(l.model()->index(3, 0));
    QTest::mouseClick(l.tableView()->viewport(), Qt::LeftButton, {}, closing.center());
    ASSERT_TRUE(TestSupport::waitFor([&] { return !l.questMode(); }));
    EXPECT_EQ(describe(l.rows()), (L{"plan", "note", "memo", "list"}));
}

TEST_F(FileListVCTest, SelectionChangesRepaintOrResortOncePerTurn) {
    Settings::setSortType(Settings::SortTypeSelected);
    FileListVC& l = makeList(textType());
    EXPECT_EQ(describe(l.rows()), (L{"[Not Selected]", "note", "memo", "list", "plan"}));
    const int refreshes = l.refreshCount();
    labelled("plan")->getItems()[0]->selectItemForced(false);
    labelled("list")->getItems()[0]->selectItemForced(false);
    ASSERT_TRUE(TestSupport::waitFor([&] { return l.refreshCount() > refreshes; }));
    TestSupport::spinFor(20);
    EXPECT_EQ(l.refreshCount(), refreshes + 1);
    EXPECT_EQ(describe(l.rows()),
              (L{"[Selected]", "list", "plan", "[Not Selected]", "note", "memo"}));
}

TEST_F(FileListVCTest, PreviewFollowsTheListWhileThePanelIsInFront) {
    FileListVC& l = makeList(textType());
    QuickLookController& quickLook = QuickLookController::sharedQuickLookController();
    quickLook.setQuicklookType(0);
    press(ListKeys::kSpace); // Space on the focused list
    EXPECT_EQ(quickLook.quicklookType(), 1);
    ASSERT_EQ(quickLook.fileItems().size(), 1);
    EXPECT_EQ(quickLook.fileItems().first()->previewItemPath(),
              labelled("note")->getFirstItem()->getFileItemPath());
    EXPECT_TRUE(PreviewPanel::sharedPreviewPanel()->isVisible());

    const auto panelKey = [](quint16 code, int type) {
        NotificationCenter::defaultCenter().post(
            QuickLookController::quickLookKeyPressedNotificationName(),
            {{QStringLiteral("Event"), QVariant::fromValue(KeyEvent{code, 0})},
             {QStringLiteral("Type"), QVariant::fromValue(uint(type))}});
    };
    panelKey(ListKeys::kDown, 2); // another list's panel: nothing
    EXPECT_EQ(selectedLabel(), "note");
    panelKey(ListKeys::kDown, 1);
    EXPECT_EQ(selectedLabel(), "memo");
    EXPECT_EQ(quickLook.fileItems().first()->previewItemPath(),
              labelled("memo")->getFirstItem()->getFileItemPath());
    panelKey(ListKeys::kRight, 1);
    EXPECT_EQ(quickLook.quicklookType(), 2);
    QuickLookController::showPreviewPanel(); // puts it away
    EXPECT_FALSE(PreviewPanel::sharedPreviewPanel()->isVisible());

    // A double click on a group row opens it again for that row; on a header it does not.
    l.doubleClickOnRow(0);
    EXPECT_FALSE(PreviewPanel::sharedPreviewPanel()->isVisible());
    const QPoint third = l.tableView()->visualRect(l.model()->index(3, 0)).center();
    QTest::mouseClick(l.tableView()->viewport(), Qt::LeftButton, {}, third);
    QTest::mouseDClick(l.tableView()->viewport(), Qt::LeftButton, {}, third);
    EXPECT_TRUE(PreviewPanel::sharedPreviewPanel()->isVisible());
    EXPECT_EQ(quickLook.quicklookType(), 1);
    EXPECT_EQ(quickLook.fileItems().first()->previewItemPath(),
              l.rows().entryAt(3)->group->getFirstItem()->getFileItemPath());
    QuickLookController::showPreviewPanel();
}

TEST(GroupRowCells, BadgeAndToolTips) {
    ColoredDupView none = FileListCellView::badgeFor(0, 4);
    EXPECT_FALSE(none.hasSelectedPart());
    EXPECT_EQ(none.totalPart().text, "4");
    EXPECT_EQ(none.width(), std::floor(none.totalPart().width + 20));

    ColoredDupView some = FileListCellView::badgeFor(2, 4);
    ASSERT_TRUE(some.hasSelectedPart());
    EXPECT_EQ(some.selectedPart().text, " 2");
    EXPECT_EQ(some.selectedPart().color, Palette::dupViewSelectedFilesColor());
    EXPECT_EQ(some.totalPart().text, "4 ");
    EXPECT_EQ(some.totalPart().color, Palette::dupViewAllFilesColor());
    EXPECT_EQ(FileListCellView::badgeFor(4, 4).selectedPart().color,
              Palette::dupViewSelectedFilesRedColor());

    EXPECT_EQ(FileListCellView::badgeToolTip(0, 4, "x.jpg"), "4 duplicates for \"x.jpg\"");
    EXPECT_EQ(FileListCellView::badgeToolTip(2, 4, "x.jpg"), "2 of 4 duplicates selected");
    EXPECT_EQ(FileListCellView::sizeToolTip(3, 1'500'000),
              QString("3 duplicates of 1.5\u00a0MB each.\nTotal size: 4.5\u00a0MB"));

    // The badge sits 10 points from the row's right edge and the name ends 10 before it,
    // whatever the badge's width.
    for (const ColoredDupView& badge : {none, some}) {
        const auto layout = FileListCellView::layoutGroupRow(QRectF(0, 96, 365, 48), badge);
        EXPECT_EQ(layout.badge.right(), std::floor(365 - badge.width() - 10) + badge.width());
        EXPECT_EQ(layout.name.right(), layout.badge.left() - 10);
        EXPECT_EQ(layout.badge.center().y(), 120);
    }
}

} // namespace

namespace {

// The list inside the results screen: what happens when the result runs dry.
struct GroupListInScreenTest : FileListVCTest {
    std::unique_ptr<SelectDuplicatesVC> screen;
    void SetUp() override {
        FileListVCTest::SetUp();
        AnimationClock::instance().setMode(AnimationClock::Mode::Manual);
        screen = std::make_unique<SelectDuplicatesVC>();
        screen->setScannedFolders({QStringLiteral("/scanned")});
        screen->resize(1100, 700);
        screen->show();
        screen->pressOverviewButton();
        AnimationClock::instance().advance(1500);
    }
    void TearDown() override {
        screen.reset();
        AnimationClock::instance().setMode(AnimationClock::Mode::Real);
        FileListVCTest::TearDown();
    }
    void removeGroups(const QStringList& names) {
        for (const QString& name : names)
            DuplicatesManager::sharedManager().getOperationsManager().removeGroupFromDuplicatesList(
                labelled(name));
    }
};

TEST_F(GroupListInScreenTest, AnEmptiedCategoryGoesToTheOverviewAndAnEmptyResultCongratulates) {
    screen->duplicatesToolbar()->pressButtonForCategoryType(textType());
    AnimationClock::instance().advance(1000);
    FileListVC* l = screen->fileListVC();
    ASSERT_TRUE(l);
    EXPECT_EQ(l->rows().listedGroups().size(), 4u);

    removeGroups({"note", "memo", "list", "plan"});
    ASSERT_TRUE(TestSupport::waitFor([&] { return screen->state() == 0; }));
    AnimationClock::instance().advance(1500);
    EXPECT_FALSE(screen->fileListVC());

    screen->duplicatesToolbar()->pressButtonForCategoryType(-1);
    AnimationClock::instance().advance(1000);
    ASSERT_TRUE(screen->fileListVC());
    screen->duplicatesBottombar()->setDeletedSize(1234);
    removeGroups({"photo", "shot"});
    ASSERT_TRUE(TestSupport::waitFor([&] { return screen->congratulationsController(); }));
    EXPECT_EQ(screen->congratulationsController()->removedSizeInCurrentSession(), 1234u);
    EXPECT_FALSE(screen->congratulationsController()->isPlainVariant());
    EXPECT_EQ(screen->state(), 1);
    AnimationClock::instance().advance(1000);
    EXPECT_FALSE(screen->categorySplitView()->isVisible());
}

} // namespace

namespace {

TEST_F(GroupListInScreenTest, CtrlDownInTheCopiesTableMovesToTheNextGroupAndKeepsTheFocusThere) {
    Settings::setSortType(Settings::SortTypeName);
    screen->duplicatesToolbar()->pressButtonForCategoryType(textType());
    AnimationClock::instance().advance(1000);
    QApplication::setActiveWindow(screen.get());
    FileListVC* l = screen->fileListVC();
    DuplicateSelectionVC* copies = screen->duplicateSelectionVC();
    ASSERT_TRUE(l && copies);
    list = l;
    EXPECT_EQ(selectedLabel(), "list");
    EXPECT_EQ(copies->group(), labelled("list"));

    copies->tableviewDuplicates()->setFocus();
    ASSERT_TRUE(ListKeys::isFirstResponder(copies->tableviewDuplicates()));
    QTest::keyClick(copies->tableviewDuplicates(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(selectedLabel(), "memo");
    EXPECT_EQ(copies->group(), labelled("memo"));
    // The choice passed through the group list, which sends the focus back.
    EXPECT_TRUE(ListKeys::isFirstResponder(l->tableView()));
    ASSERT_TRUE(TestSupport::waitFor(
        [&] { return ListKeys::isFirstResponder(copies->tableviewDuplicates()); }));
    TestSupport::spinFor(30);
    EXPECT_TRUE(ListKeys::isFirstResponder(copies->tableviewDuplicates()));
    list = nullptr;
}

// A search that hides the highlighted group takes the copies table and the preview with it:
// the first group listed is shown, or nothing, and the hidden group's copies cannot be
// ticked by their digit keys.
TEST_F(GroupListInScreenTest, ASearchThatHidesTheShownGroupEmptiesOrMovesTheCopiesTable) {
    Settings::setSortType(Settings::SortTypeName);
    screen->duplicatesToolbar()->pressButtonForCategoryType(textType());
    AnimationClock::instance().advance(1000);
    QApplication::setActiveWindow(screen.get());
    FileListVC* l = screen->fileListVC();
    DuplicateSelectionVC* copies = screen->duplicateSelectionVC();
    ASSERT_TRUE(l && copies);
    list = l;
    ASSERT_EQ(copies->group(), labelled("list"));

    l->makeSearchFieldActive();
    QTest::keyClicks(l->searchTextField(), QStringLiteral("plan"));
    EXPECT_EQ(selectedLabel(), "plan");
    EXPECT_EQ(copies->group(), labelled("plan"));
    EXPECT_EQ(copies->rows().rowCount(), 4);
    ASSERT_TRUE(copies->selectedFile());
    EXPECT_TRUE(copies->selectedFile()->path().endsWith("plan.txt"));

    QTest::keyClicks(l->searchTextField(), QStringLiteral("zzz"));
    EXPECT_EQ(l->rows().rowCount(), 0);
    EXPECT_FALSE(copies->group());
    EXPECT_EQ(copies->rows().rowCount(), 0);
    EXPECT_FALSE(copies->selectedFile());
    press(18); // "1"
    for (const auto& copy : labelled("plan")->getItems())
        EXPECT_FALSE(copy->isSelected());
    EXPECT_TRUE(l->searchTextField()->hasFocus());
    list = nullptr;
}

} // namespace
