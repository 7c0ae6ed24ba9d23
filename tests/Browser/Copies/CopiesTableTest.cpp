#include "../../Results/ResultFixture.h"
#include "FakeApplications.h"

#include "Browser/Common/AllowRemovingAllCopiesWC.h"
#include "Browser/Common/ApplicationChooser.h"
#include "Browser/Copies/CustomPathControl.h"
#include "Browser/Copies/DuplicateSelectionCellView.h"
#include "Browser/Copies/DuplicateSelectionVC.h"
#include "Browser/Frame/CategoryStateManager.h"
#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Categories/Settings.h"
#include "Results/DuplicatesHeap.h"
#include "Results/DuplicatesHeaps.h"
#include "Results/HeapsFolderData.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/CommonBlackButton.h"
#include "Toolkit/Palette.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QSet>
#include <QTest>

#include <cmath>
#include <sys/time.h>

namespace {

class FakeApplicationsEnvironment final : public ::testing::Environment {
public:
    void SetUp() override { TestSupport::installFakeTextApplications(); }
};
const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new FakeApplicationsEnvironment);

using Kind = DuplicateSelectionRows::Kind;

// Four copies of x.txt in A to D; folders P and Q alike (p, q and t inside), R sharing p and
// t with them, E holding one more p; q lies only in P and Q.
struct CopiesTableTest : ResultFixture {
    FileSystemItem *ax = nullptr, *bx = nullptr, *cx = nullptr, *dx = nullptr;
    FolderSystemItem *a = nullptr, *p = nullptr, *q = nullptr, *r = nullptr;
    FileSystemItem *pp = nullptr, *qp = nullptr, *pq = nullptr, *qq = nullptr, *ep = nullptr;
    std::unique_ptr<DuplicateSelectionVC> vc;
    struct Calls {
        QList<QByteArray> reveal, properties, open;
        QList<std::pair<QByteArray, QString>> openWith;
    } calls;

    void SetUp() override {
        ResultFixture::SetUp();
        container = DuplicatesContainer::create(true);
        AnimationClock::instance().setMode(AnimationClock::Mode::Manual);
        Settings::setAllowRemovingAllDuplicateCopies(false);
        Settings::setShowRemoveLastInCategoriesMessage(true);
        Settings::setExcludeFolders({});
        Settings::setExcludeFiles({});
        Settings::setAutoNeverSelectFolders({});
        Settings::setAutoAlwaysSelectFolders({});
        CategoryStateManager::sharedManager().removeGategoryItems();
        DuplicateSelectionVC::setWorkspaceForTesting(DuplicateSelectionVC::Workspace{
            [this](const QByteArray& path) { calls.reveal << path; },
            [this](const QByteArray& path) { calls.properties << path; },
            [this](const QByteArray& path) { calls.open << path; },
            [this](const QByteArray& path, const QString& id) {
                calls.openWith.append({path, id});
            }});

        a = folder(root, "A");
        ax = checked(file(a, "x.txt", 100));
        bx = checked(file(folder(root, "B"), "x.txt", 100));
        cx = checked(file(folder(root, "C"), "x.txt", 100));
        dx = checked(file(folder(root, "D"), "x.txt", 100));
        p = folder(root, "P");
        q = folder(root, "Q");
        r = folder(root, "R");
        FolderSystemItem* e = folder(root, "E");
        pp = checked(file(p, "p.txt", 1500, 'p'));
        qp = checked(file(q, "p.txt", 1500, 'p'));
        FileSystemItem* rp = checked(file(r, "p.txt", 1500, 'p'));
        ep = checked(file(e, "p.txt", 1500, 'p'));
        pq = checked(file(p, "q.txt", 30, 'q'));
        qq = checked(file(q, "q.txt", 30, 'q'));
        FileSystemItem* pt = checked(file(p, "t.txt", 2500, 't'));
        FileSystemItem* qt = checked(file(q, "t.txt", 2500, 't'));
        FileSystemItem* rt = checked(file(r, "t.txt", 2500, 't'));
        checked(file(r, "r.txt", 10, 'r'));
        root->calctotalsize();
        ASSERT_TRUE(container->addGroupWithItems({ax, bx, cx, dx}));
        ASSERT_TRUE(container->addGroupWithItems({pp, qp, rp, ep}));
        ASSERT_TRUE(container->addGroupWithItems({pq, qq}));
        ASSERT_TRUE(container->addGroupWithItems({pt, qt, rt}));
        ASSERT_TRUE(container->addGroupWithItems({p, q}));
        container->saveRoots({root});
        container->getHeaps()->validateEmptyDataAfterRemoveWithListener(nullptr);
        DuplicatesManager::sharedManager().setDuplicateContainer(container);
    }

    void TearDown() override {
        if (auto* popup = AllowRemovingAllCopiesWC::existingController())
            popup->close();
        AnimationClock::instance().advance(1000);
        vc.reset();
        DuplicateSelectionVC::setWorkspaceForTesting(std::nullopt);
        AnimationClock::instance().setMode(AnimationClock::Mode::Real);
        ResultFixture::TearDown();
    }

    static FileSystemItem* checked(FileSystemItem* node) {
        node->setIsCheckedForDuplicates(true);
        return node;
    }
    static std::shared_ptr<DuplicatesGroup> groupOf(const FileSystemItem* node) {
        return copyOf(node)->getGroup();
    }

    DuplicateSelectionVC& show(const FileSystemItem* member) {
        vc = std::make_unique<DuplicateSelectionVC>();
        vc->setDuplicateType(-1);
        vc->resize(1400, 420);
        vc->show();
        QApplication::setActiveWindow(vc.get());
        vc->loadGroup(groupOf(member));
        return *vc;
    }
    void focusTable() {
        vc->tableviewDuplicates()->setFocus();
        EXPECT_TRUE(vc->isTableFirstResponder());
    }
    static void press(quint16 code, quint32 flags = 0) {
        AppNotification::CreateKeyPressedNotificationWithEvent(KeyEvent{code, flags});
        QCoreApplication::processEvents();
    }
    QRect rowRect(int row) const {
        auto* table = vc->tableviewDuplicates();
        return table->visualRect(table->model()->index(row, 0));
    }
    QStringList menuTitles(const QMenu* menu) const {
        QStringList titles;
        for (const QAction* action : menu->actions())
            titles << (action->isSeparator() ? QString() : action->text());
        return titles;
    }
    QAction* menuAction(const QMenu* menu, const QString& text) const {
        for (QAction* action : menu->actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }
    std::vector<bool> selection() const {
        std::vector<bool> out;
        for (const auto& copy : vc->duplicates())
            out.push_back(copy->isSelected());
        return out;
    }
};

TEST(CopiesTableRowsTest, LayoutOfTheSections) {
    struct Case {
        DuplicateSelectionRows rows;
        int count;
        std::vector<std::pair<Kind, int>> kindsAndHeights;
    };
    const std::vector<Case> cases{
        {{2, 0, 0, false}, 2, {{Kind::Copy, 38}, {Kind::Copy, 38}}},
        {{1, 2, 0, false},
         4,
         {{Kind::Copy, 38},
          {Kind::LockedHeader, 29},
          {Kind::LockedCopy, 38},
          {Kind::LockedCopy, 38}}},
        {{0, 1, 2, false},
         3,
         {{Kind::LockedHeader, 29}, {Kind::LockedCopy, 38}, {Kind::SimilarCollapsed, 38}}},
        {{1, 0, 2, true},
         4,
         {{Kind::Copy, 38},
          {Kind::SimilarHeader, 29},
          {Kind::SimilarFolder, 38},
          {Kind::SimilarFolder, 38}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.rows.rowCount(), c.count);
        for (std::size_t row = 0; row < c.kindsAndHeights.size(); ++row) {
            EXPECT_EQ(c.rows.kind(int(row)), c.kindsAndHeights[row].first) << row;
            EXPECT_EQ(c.rows.height(int(row)), c.kindsAndHeights[row].second) << row;
        }
        EXPECT_EQ(c.rows.kind(c.count), Kind::None);
    }
    const DuplicateSelectionRows collapsed{1, 2, 3, false};
    EXPECT_EQ(collapsed.rowForLockedCopy(1), 3);
    EXPECT_EQ(collapsed.rowForSimilarFolder(2), 0); // hidden: row 0
    EXPECT_EQ(DuplicateSelectionRows({1, 2, 3, true}).rowForSimilarFolder(2), 7);
}

TEST_F(CopiesTableTest, AllLockedGroupStartsWithItsHeaderAndLinksToTheFolders) {
    DuplicateSelectionVC& t = show(pq);
    QAbstractItemModelTester tester(t.tableviewDuplicates()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(t.rows().rowCount(), 3);
    EXPECT_EQ(t.cellConfigurationForRow(0).kind, Kind::LockedHeader);
    EXPECT_EQ(t.cellConfigurationForRow(0).title,
              QStringLiteral("Duplicates in Duplicate Folders"));
    EXPECT_EQ(t.selectedFile(), nullptr);
    EXPECT_EQ(t.tableviewDuplicates()->rowHeight(0), 29);

    const auto& locked = t.cellConfigurationForRow(1);
    EXPECT_EQ(locked.kind, Kind::LockedCopy);
    EXPECT_EQ(locked.action, DuplicateSelectionVC::CheckboxAction::LockedFolder);
    EXPECT_EQ(locked.tooltip, QStringLiteral("Open in Duplicate Folders"));
    EXPECT_EQ(locked.shownImage(), QStringLiteral("dark_link_folders"));
    EXPECT_TRUE(locked.hasAssociated);
    EXPECT_EQ(locked.associatedFolderPath, p->path());

    // Group commands need a plain copy.
    t.autoSelectButtonPressed();
    t.anyButtonPressed();
    t.newestButtonPressed();
    EXPECT_TRUE(groupOf(pq)->getSelectedItems().empty());

    // The link follows the folder's selection: green once it is selected, red once every
    // copy of the folder group is.
    ASSERT_TRUE(copyOf(p)->selectItemForced(false));
    t.reloadData();
    EXPECT_EQ(t.cellConfigurationForRow(1).shownImage(), QStringLiteral("dark_link_folders_green"));
    EXPECT_EQ(t.cellConfigurationForRow(2).shownImage(), QStringLiteral("dark_link_folders"));
    ASSERT_TRUE(copyOf(q)->selectItemForced(true));
    t.reloadData();
    EXPECT_EQ(t.cellConfigurationForRow(2).shownImage(), QStringLiteral("dark_link_folders_red"));
}

TEST_F(CopiesTableTest, DigitsPickPlainCopiesOnlyFromAFocusedResultsList) {
    show(ax);
    focusTable();
    const std::vector<bool> none(4, false);
    for (quint16 code : {23, 22, 26, 28, 25, 29, 27, 24}) // "5" to "9", "0", "-", "="
        press(code);
    EXPECT_EQ(selection(), none);

    press(18); // "1"
    EXPECT_EQ(selection(), (std::vector<bool>{true, false, false, false}));
    press(19, KeyEvent::ShiftKeyMask); // Shift "2": all but the second
    EXPECT_EQ(selection(), (std::vector<bool>{true, false, true, true}));
    press(18, KeyEvent::CommandKeyMask);
    EXPECT_TRUE(selection()[0]);

    // A text field elsewhere keeps its digits.
    QLineEdit field;
    field.show();
    QApplication::setActiveWindow(&field);
    field.setFocus();
    ASSERT_TRUE(field.hasFocus());
    press(18);
    EXPECT_TRUE(selection()[0]);
}

TEST_F(CopiesTableTest, OptionDownNeverEntersACollapsedSection) {
    DuplicateSelectionVC& t = show(p);
    focusTable();
    ASSERT_EQ(t.duplicates().size(), 2u);
    // The engine keeps no similar folders for a folder that is itself a copy; the table is
    // given two (R and Q beside P) the way the results screen's heaps would hand them over.
    t.showFolderHeaps({std::make_shared<DuplicatesHeap>(std::make_shared<HeapsFolderData>(p),
                                                        std::make_shared<HeapsFolderData>(r)),
                       std::make_shared<DuplicatesHeap>(std::make_shared<HeapsFolderData>(p),
                                                        std::make_shared<HeapsFolderData>(q))});
    ASSERT_EQ(t.rows().heapCount, 2);
    EXPECT_EQ(t.getRowForFileItem(r), 0); // hidden while collapsed
    EXPECT_EQ(t.cellConfigurationForRow(2).kind, Kind::SimilarCollapsed);
    EXPECT_EQ(t.tableviewDuplicates()->rowHeight(2), 38);
    press(125, KeyEvent::OptionKeyMask);
    EXPECT_EQ(t.selectedFile(), q);
    press(125);
    EXPECT_EQ(t.selectedFile(), q);

    t.showSimilarPressed();
    EXPECT_EQ(t.cellConfigurationForRow(2).kind, Kind::SimilarHeader);
    EXPECT_EQ(t.cellConfigurationForRow(2).title, QStringLiteral("Similar folders"));
    EXPECT_EQ(t.tableviewDuplicates()->rowHeight(2), 29);
    EXPECT_EQ(t.cellConfigurationForRow(3).image, QStringLiteral("link_heaps"));
    press(125, KeyEvent::OptionKeyMask);
    const int last = t.rows().rowCount() - 1;
    EXPECT_EQ(t.selectedFile(), t.getFileForRow(last));
    press(126, KeyEvent::OptionKeyMask);
    EXPECT_EQ(t.selectedFile(), p);
}

TEST_F(CopiesTableTest, TheGuardOpensThePopupWhichASecondClickDoesNotReopen) {
    DuplicateSelectionVC& t = show(ax);
    for (auto* node : {ax, bx, cx})
        ASSERT_TRUE(copyOf(node)->selectItemForced(false));
    t.reloadData();
    const auto& last = t.cellConfigurationForRow(3);
    EXPECT_EQ(last.action, DuplicateSelectionVC::CheckboxAction::DisabledCheckbox);
    EXPECT_EQ(last.shownImage(), QStringLiteral("dark_checkbox_LastCopy"));
    EXPECT_TRUE(last.tooltip.startsWith(QStringLiteral("This file is the last unselected copy")));

    QWidget* viewport = t.tableviewDuplicates()->viewport();
    const QPoint box = DuplicateSelectionCellView::checkboxRect(rowRect(3)).center().toPoint();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, box);
    auto* popup = AllowRemovingAllCopiesWC::existingController();
    ASSERT_TRUE(popup);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_FALSE(copyOf(dx)->isSelected());

    // The click elsewhere that closes the popup is the click on the same box again.
    popup->close();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, box);
    EXPECT_FALSE(popup->isVisible());
    AnimationClock::instance().advance(AllowRemovingAllCopiesWC::kReopenGuardMs);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, box);
    EXPECT_TRUE(popup->isVisible());

    // Its check box allows the last copy at once; the table shows it red.
    popup->allowRemovingCheckbox()->click();
    EXPECT_TRUE(Settings::allowRemovingAllDuplicateCopies());
    ASSERT_TRUE(TestSupport::waitFor([&] {
        return t.cellConfigurationForRow(3).image == QStringLiteral("dark_checkbox0_red");
    }));
}

TEST_F(CopiesTableTest, FocusedRowIsRememberedAndHeadersKeepTheFocusedFile) {
    DuplicateSelectionVC& t = show(ax);
    QWidget* viewport = t.tableviewDuplicates()->viewport();
    // A click on the row's date focuses the row.
    QTest::mouseClick(viewport, Qt::LeftButton, {},
                      DuplicateSelectionCellView::dateRect(rowRect(2)).center().toPoint());
    EXPECT_EQ(t.selectedFile(), cx);
    EXPECT_TRUE(t.isTableFirstResponder());
    EXPECT_TRUE(t.cellConfigurationForRow(2).selected);
    EXPECT_TRUE(t.cellConfigurationForRow(1).aboveSelected);
    EXPECT_EQ(CategoryStateManager::sharedManager().getItemsForType(-1).fileItem.get(), copyOf(cx));
    press(36); // Return flips the focused copy
    EXPECT_TRUE(copyOf(cx)->isSelected());
    EXPECT_TRUE(t.isAnyFilesForDeselect());

    // A new table for the category comes back to the remembered copy.
    show(ax);
    EXPECT_EQ(vc->selectedFile(), cx);

    // Arrow navigation gives the table the focus.
    QLineEdit field;
    field.show();
    QApplication::setActiveWindow(&field);
    field.setFocus();
    QApplication::setActiveWindow(vc.get());
    vc->tableviewDuplicates()->clearFocus();
    AppNotification::CreateArrowNavigationNotificationWithType(ArrowNavigationTargetCopiesTable);
    EXPECT_TRUE(TestSupport::waitFor([&] { return vc->isTableFirstResponder(); }));

    // A header row focused by the table leaves the focused file as it was.
    CategoryStateManager::sharedManager().removeGategoryItems();
    show(ep);
    FileSystemItem* firstPlain = vc->duplicates().front()->getFileSystemItem();
    EXPECT_EQ(vc->selectedFile(), firstPlain);
    const int header = vc->rows().plainCount;
    ASSERT_EQ(vc->cellConfigurationForRow(header).kind, Kind::LockedHeader);
    vc->tableviewDuplicates()->selectRow(header);
    EXPECT_EQ(vc->selectedFile(), firstPlain);
}

TEST_F(CopiesTableTest, ALockedCopysLinkOpensItsFolderInTheFoldersCategory) {
    SelectDuplicatesVC screen;
    screen.resize(1100, 700);
    screen.show();
    screen.pressOverviewButton();
    AnimationClock::instance().advance(1500);
    screen.duplicatesToolbar()->pressButtonForCategoryType(-1);
    AnimationClock::instance().advance(1000);
    DuplicateSelectionVC* copies = screen.duplicateSelectionVC();
    ASSERT_TRUE(copies);
    copies->loadGroup(groupOf(ep));
    const int locked = copies->rows().rowForLockedCopy(0);
    ASSERT_EQ(copies->getFileForRow(locked), pp);
    auto* table = copies->tableviewDuplicates();
    const QRect row = table->visualRect(table->model()->index(locked, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      DuplicateSelectionCellView::checkboxRect(row).center().toPoint());
    AnimationClock::instance().advance(1000);
    ASSERT_TRUE(screen.fileListVC());
    EXPECT_EQ(screen.fileListVC()->duplicatesGroupArrayType(), 6);
    EXPECT_EQ(screen.fileListVC()->selectedGroup(), groupOf(p));
    ASSERT_TRUE(screen.duplicateSelectionVC());
    EXPECT_EQ(screen.duplicateSelectionVC()->selectedFile(), p);
}

TEST_F(CopiesTableTest, OpenFolderButtonShowsOnlyOverRowsThatStillExist) {
    DuplicateSelectionVC& t = show(ax);
    ASSERT_EQ(::unlink(cx->path().constData()), 0);
    t.reloadData();
    QWidget* viewport = t.tableviewDuplicates()->viewport();
    auto hover = [&](int row) {
        QTest::mouseMove(viewport,
                         DuplicateSelectionCellView::dateRect(rowRect(row)).center().toPoint());
        QCoreApplication::processEvents();
        return t.cellView()->openFolderButtonRow();
    };
    EXPECT_EQ(hover(1), 1);
    EXPECT_EQ(hover(2), -1); // moved or deleted
    DuplicatesManager::sharedManager().setOverlayOnScreen(true);
    EXPECT_EQ(hover(3), -1); // under the help overlay
    DuplicatesManager::sharedManager().setOverlayOnScreen(false);
    EXPECT_EQ(hover(3), 3);

    // Its press reveals the row's file and focuses the row.
    QTest::mouseClick(
        viewport, Qt::LeftButton, {},
        DuplicateSelectionCellView::openFolderButtonRect(rowRect(3)).center().toPoint());
    EXPECT_EQ(calls.reveal, QList<QByteArray>{dx->path()});
    EXPECT_EQ(t.selectedFile(), dx);
}

TEST_F(CopiesTableTest, OtherOpensTheFileWithEachChosenApplication) {
    DuplicateSelectionVC& t = show(ax);
    t.otherApplicationPressed();
    auto* chooser = t.window()->findChild<ApplicationChooser*>();
    ASSERT_TRUE(chooser);
    QListWidget* list = chooser->list();
    int chosen = 0;
    for (int row = 0; row < list->count(); ++row) {
        const QString id = list->item(row)->data(Qt::UserRole).toString();
        if (id == TestSupport::kFixtureEditorId || id == TestSupport::kFixtureViewerId) {
            list->item(row)->setSelected(true);
            ++chosen;
        }
    }
    ASSERT_EQ(chosen, 2);
    chooser->accept();
    ASSERT_EQ(calls.openWith.size(), 2);
    EXPECT_EQ(calls.openWith.at(0).first, ax->path());
    EXPECT_EQ(QStringList({calls.openWith.at(0).second, calls.openWith.at(1).second}),
              (QStringList{TestSupport::kFixtureViewerId, TestSupport::kFixtureEditorId}));
}

TEST(CopiesTableMenuPlacementTest, TheAutoSelectMenuStaysInsideTheWindowAndTheScreen) {
    using V = DuplicateSelectionVC;
    const QSize menu(200, 150);
    const QRect window(100, 50, 900, 600); // right edge 999, bottom 649
    const QRect screen(0, 0, 1280, 720);
    EXPECT_EQ(V::menuOriginInside({500, 100}, menu, window, screen), QPoint(500, 100));
    EXPECT_EQ(V::menuOriginInside({900, 100}, menu, window, screen), QPoint(800, 100));
    EXPECT_EQ(V::menuOriginInside({900, 600}, menu, window, screen), QPoint(800, 500));
    EXPECT_EQ(V::menuOriginInside({40, 20}, menu, window, screen), QPoint(100, 50));
    // A window partly off its screen: the screen bounds last.
    EXPECT_EQ(V::menuOriginInside({1200, 100}, menu, QRect(900, 0, 600, 600), screen),
              QPoint(1080, 100));
    EXPECT_EQ(V::menuOriginInside({900, 100}, menu, QRect(), QRect()), QPoint(900, 100));
}

TEST_F(CopiesTableTest, TheAutoSelectMenuOpensInsideTheWindow) {
    show(ax);
    vc->showContextMenuButtonPressed();
    QMenu* menu = vc->autoSelectMenu();
    ASSERT_TRUE(TestSupport::waitFor([&] { return menu->isVisible(); }));
    const QRect window(vc->mapToGlobal(QPoint(0, 0)), vc->size());
    EXPECT_TRUE(window.contains(menu->geometry()))
        << menu->geometry().x() << "+" << menu->geometry().width() << " in " << window.x() << "+"
        << window.width();
    menu->close();
}

TEST(AllowRemovingAllCopiesPlacementTest, BelowWhenItFitsElseAboveClampedAtTheWindowsRightEdge) {
    const QSizeF size(200, 80);
    const QRectF window(100, 0, 900, 700);
    using W = AllowRemovingAllCopiesWC;
    EXPECT_EQ(W::popupOrigin({500, 400}, size, window), QPointF(470, 315));
    EXPECT_EQ(W::popupOrigin({500, 40}, size, window), QPointF(470, 65));   // near the bottom
    EXPECT_EQ(W::popupOrigin({950, 400}, size, window), QPointF(800, 315)); // right edge 1000
    EXPECT_EQ(W::popupOrigin({950, 400}, size, QRectF()), QPointF(920, 315));
}

TEST_F(CopiesTableTest, LastCopyWithTheSettingOnAsksFirst) {
    Settings::setAllowRemovingAllDuplicateCopies(true);
    DuplicateSelectionVC& t = show(ax);
    for (auto* node : {ax, bx, cx})
        ASSERT_TRUE(copyOf(node)->selectItemForced(false));
    t.reloadData();
    EXPECT_EQ(t.cellConfigurationForRow(3).shownImage(), QStringLiteral("dark_checkbox0_red"));

    t.checkboxPressed(3, true);
    ASSERT_TRUE(t.lastCopyAlert());
    EXPECT_EQ(t.lastCopyAlert()->text(), QStringLiteral("Attention"));
    EXPECT_EQ(t.lastCopyAlert()->informativeText(),
              QStringLiteral("All copies of the file \"x.txt\" will be selected for removal."));
    t.lastCopyAlert()->reject();
    EXPECT_FALSE(copyOf(dx)->isSelected());

    t.checkboxPressed(3, true);
    ASSERT_TRUE(TestSupport::waitFor([&] { return t.lastCopyAlert() != nullptr; }));
    t.lastCopyAlert()->checkBox()->setChecked(true);
    t.lastCopyAlert()->button(QMessageBox::Ok) ? t.lastCopyAlert()->button(QMessageBox::Ok)->click()
                                               : t.lastCopyAlert()->buttons().first()->click();
    EXPECT_TRUE(copyOf(dx)->isSelected());
    EXPECT_FALSE(Settings::showRemoveLastInCategoriesMessage());
    t.reloadData();
    EXPECT_EQ(t.cellConfigurationForRow(0).alternateImage, QStringLiteral("dark_checkbox1_red"));
}

TEST_F(CopiesTableTest, MenusOfTheThreeRowKinds) {
    DuplicateSelectionVC& t = show(ax);
    t.showMenuForPathAtIndexRow(ax->path(), 0);
    ASSERT_TRUE(t.contextMenu());
    EXPECT_EQ(menuTitles(t.contextMenu()),
              (QStringList{"Select for Removal", "Select Copies", "", "Select All Copies in \"A\"",
                           "Deselect All Copies in \"A\"", "Keep All Copies in \"A\"", "",
                           "Add \"x.txt\" to Skip List", "Add \"A\" to Always Select List",
                           "Add \"A\" to Never Select List", "", "Show in File Manager",
                           "Properties", "Open", "Open With"}));

    show(pq);
    vc->showMenuForPathAtIndexRow(pq->path(), 1);
    EXPECT_EQ(menuTitles(vc->contextMenu()),
              (QStringList{"Open in Duplicate Folders", "", "Select Copies", "",
                           "Show in File Manager", "Properties", "Open", "Open With"}));

    show(p);
    vc->showFolderHeaps({std::make_shared<DuplicatesHeap>(std::make_shared<HeapsFolderData>(p),
                                                          std::make_shared<HeapsFolderData>(r))});
    vc->showSimilarPressed();
    FileSystemItem* similar = vc->getFileForRow(3);
    ASSERT_TRUE(similar);
    vc->showMenuForPathAtIndexRow(similar->path(), 3);
    const QString rootName = QFileInfo(dir.path()).fileName();
    EXPECT_EQ(menuTitles(vc->contextMenu()),
              (QStringList{QStringLiteral("Add \"%1\" to Skip List").arg(similar->displayName()),
                           QStringLiteral("Add \"%1\" to Always Select List").arg(rootName),
                           QStringLiteral("Add \"%1\" to Never Select List").arg(rootName), "",
                           "Show in File Manager", "Properties"}));
}

TEST_F(CopiesTableTest, AMovedCopysMenuOnlySelects) {
    DuplicateSelectionVC& t = show(ax);
    ASSERT_EQ(::unlink(bx->path().constData()), 0);
    t.reloadData();
    EXPECT_TRUE(t.cellConfigurationForRow(1).disabled);
    t.showMenuForPathAtIndexRow(bx->path(), 1);
    QStringList enabled;
    for (const QAction* action : t.contextMenu()->actions()) {
        if (action->isEnabled() && !action->isSeparator())
            enabled << action->text();
    }
    EXPECT_EQ(enabled, QStringList{"Select for Removal"});
    EXPECT_FALSE(t.isSelectedFileExists());
}

TEST_F(CopiesTableTest, NewestAndOldestKeepTheCopiesOfTheSharedDate) {
    auto setDate = [](const FileSystemItem* node, long seconds) {
        const timeval times[2] = {{seconds, 0}, {seconds, 0}};
        ASSERT_EQ(::utimes(node->path().constData(), times), 0);
    };
    // One shared date: nothing to tell apart, nothing selected.
    QList<FileSystemItem*> same;
    for (const char* name : {"B", "C", "D"})
        same << checked(file(root->childWithName(name)->asFolder(), "s.txt", 70, 's'));
    for (auto* node : same)
        setDate(node, 5000);
    ASSERT_TRUE(container->addGroupWithItems(same));
    show(same.first());
    vc->newestButtonPressed();
    vc->oldestButtonPressed();
    EXPECT_EQ(selection(), std::vector<bool>(3, false));

    setDate(ax, 1000);
    setDate(bx, 2000);
    setDate(cx, 3000);
    setDate(dx, 3000);
    show(ax);
    vc->newestButtonPressed();
    EXPECT_EQ(selection(), (std::vector<bool>{false, true, true, true}));
    vc->oldestButtonPressed();
    EXPECT_EQ(selection(), (std::vector<bool>{true, true, false, false}));
    Settings::setAutoNeverSelectFolders({QFile::decodeName(bx->parent()->path())});
    vc->newestButtonPressed();
    EXPECT_EQ(selection(), (std::vector<bool>{false, false, true, true}));
}

TEST_F(CopiesTableTest, RightClickOnAFolderOfThePathActsOnThatFolder) {
    DuplicateSelectionVC& t = show(ax);
    QWidget* viewport = t.tableviewDuplicates()->viewport();
    const QRectF bounds = DuplicateSelectionCellView::pathRect(rowRect(0));
    const CustomPathControl control = t.cellView()->pathControlForRow(0);
    const auto components = control.components();
    ASSERT_GE(components.size(), 2);
    ASSERT_EQ(components.at(components.size() - 2).path, a->path());
    const QRectF folderFrame = control.componentFrames(bounds).at(components.size() - 2);
    ASSERT_NE(control.drawnTitles(bounds).at(components.size() - 2), QStringLiteral("…"));

    QTest::mouseClick(viewport, Qt::RightButton, {}, folderFrame.center().toPoint());
    ASSERT_TRUE(t.contextMenu());
    EXPECT_EQ(t.currentSelectedPath(), a->path());
    EXPECT_TRUE(menuAction(t.contextMenu(), QStringLiteral("Add \"A\" to Skip List")));
    EXPECT_TRUE(menuAction(t.contextMenu(), QStringLiteral("Select All Copies in \"A\"")));
    menuAction(t.contextMenu(), QStringLiteral("Show in File Manager"))->trigger();
    menuAction(t.contextMenu(), QStringLiteral("Properties"))->trigger();
    menuAction(t.contextMenu(), QStringLiteral("Open"))->trigger();
    EXPECT_EQ(calls.reveal, QList<QByteArray>{a->path()});
    EXPECT_EQ(calls.properties, QList<QByteArray>{a->path()});
    EXPECT_EQ(calls.open, QList<QByteArray>{ax->path()});
    menuAction(t.contextMenu(), QStringLiteral("Add \"A\" to Never Select List"))->trigger();
    EXPECT_EQ(Settings::autoNeverSelectFolders(), QStringList{QFile::decodeName(a->path())});
    ASSERT_TRUE(t.preferencesController());
    delete t.preferencesController();

    // Past the last component: the menu of the file itself, whose folder is its parent.
    const QPoint empty(int(bounds.right()) - 4, int(bounds.center().y()));
    QTest::mouseClick(viewport, Qt::RightButton, {}, empty);
    EXPECT_EQ(t.currentSelectedPath(), ax->path());
    EXPECT_TRUE(menuAction(t.contextMenu(), QStringLiteral("Add \"x.txt\" to Skip List")));
    EXPECT_TRUE(menuAction(t.contextMenu(), QStringLiteral("Keep All Copies in \"A\"")));
}

TEST_F(CopiesTableTest, ADottedFolderGoesToTheFolderSkipList) {
    FolderSystemItem* backup = folder(root, "Backup.2019");
    FileSystemItem* inBackup = checked(file(backup, "y.txt", 60, 'y'));
    FileSystemItem* inA = checked(file(a, "y.txt", 60, 'y'));
    ASSERT_TRUE(container->addGroupWithItems({inBackup, inA}));
    DuplicateSelectionVC& t = show(inBackup);
    t.showMenuForPathAtIndexRow(backup->path(), 0);
    EXPECT_TRUE(menuAction(t.contextMenu(), QStringLiteral("Add \"Backup.2019\" to Skip List")));
    t.addFileFolderToExcludeList();
    EXPECT_EQ(Settings::excludeFolders(), QStringList{QFile::decodeName(backup->path())});
    EXPECT_TRUE(Settings::excludeFiles().isEmpty());
    EXPECT_EQ(copyOf(inBackup), nullptr); // dropped from the result

    show(ax);
    vc->showMenuForPathAtIndexRow(ax->path(), 0);
    vc->addFileFolderToExcludeList();
    EXPECT_EQ(Settings::excludeFiles(), QStringList{QFile::decodeName(ax->path())});
}

TEST_F(CopiesTableTest, OpenWithListsTheDesktopsApplicationsDefaultFirst) {
    DuplicateSelectionVC& t = show(ax);
    t.showMenuForPathAtIndexRow(ax->path(), 0);
    QAction* openWith = menuAction(t.contextMenu(), QStringLiteral("Open With"));
    ASSERT_TRUE(openWith && openWith->menu());
    const QStringList titles = menuTitles(openWith->menu());
    ASSERT_GE(titles.size(), 5);
    EXPECT_EQ(titles.first(), QStringLiteral("Fixture Editor (default)"));
    EXPECT_EQ(titles.at(1), QString());
    EXPECT_TRUE(titles.contains(QStringLiteral("aaa Fixture Viewer")));
    EXPECT_EQ(titles.filter(QStringLiteral("(default)")).size(), 1);
    EXPECT_EQ(titles.last(), QStringLiteral("Other..."));
    menuAction(openWith->menu(), QStringLiteral("aaa Fixture Viewer"))->trigger();
    ASSERT_EQ(calls.openWith.size(), 1);
    EXPECT_EQ(calls.openWith.first().first, ax->path());
    EXPECT_EQ(calls.openWith.first().second, TestSupport::kFixtureViewerId);
}

TEST(CustomPathControlTest, ShorteningAndTheBandOverTheDuplicateFolder) {
    const QByteArray home = "/home/u";
    const QList<QByteArray> userFolders{"/home/u/Documents", "/home/u/Music"};
    auto titles = [&](const QByteArray& path) {
        QStringList out;
        for (const auto& c : CustomPathControl::componentsForPath(path, home, "u", userFolders))
            out << c.title;
        return out;
    };
    EXPECT_EQ(titles("/home/u/Documents/a.txt"), (QStringList{"Documents", "a.txt"}));
    EXPECT_EQ(titles("/home/u/a.txt"), (QStringList{"u", "a.txt"}));
    EXPECT_EQ(titles("/home/u/Work/a.txt"), (QStringList{"u", "Work", "a.txt"}));
    EXPECT_EQ(titles("/srv/data/a.txt"), (QStringList{"/", "srv", "data", "a.txt"}));

    // /A/B/C/f inside the duplicate folder /A/B: one band from B (rounded left) to f
    // (rounded right); A has none.
    const auto components = CustomPathControl::componentsForPath("/A/B/C/f", home, "u", {});
    ASSERT_EQ(components.size(), 5);
    const int n = int(components.size());
    auto shape = [&](int i) {
        return CustomPathControl::bandShape(QRectF(i * 50, 0, 40, 18), i, n, components.at(i).path,
                                            "/A/B");
    };
    EXPECT_FALSE(shape(0));
    EXPECT_FALSE(shape(1));
    ASSERT_TRUE(shape(2) && shape(3) && shape(4));
    EXPECT_EQ(shape(2)->rect, QRectF(101.5, 0.5, 50, 17));
    EXPECT_TRUE(shape(2)->rounded);
    EXPECT_EQ(shape(3)->rect, QRectF(148.5, 0.5, 49.5, 17));
    EXPECT_FALSE(shape(3)->rounded);
    EXPECT_EQ(shape(4)->rect, QRectF(190, 0.5, 49.5, 17));
    EXPECT_TRUE(shape(4)->rounded);
    // The associated path given with a trailing slash marks the same component.
    EXPECT_TRUE(
        CustomPathControl::bandShape(QRectF(100, 0, 40, 18), 2, n, "/A/B", "/A/B/")->rounded);
}

TEST(CopiesTableDrawingTest, TheBandsFolderTitleKeepsClearOfTheBandsLeftEnd) {
    CustomPathControl control;
    control.setURL("/A/Band folder/C/f");
    control.setHasAssociated(true);
    control.setAssociatedFolderPath("/A/Band folder");
    control.setSelected(false);
    const QRectF bounds(0, 0, 400, 20);
    QImage image(400, 20, QImage::Format_ARGB32);
    image.fill(QColor(90, 90, 90));
    {
        QPainter painter(&image);
        control.paint(painter, bounds);
    }
    const QList<QRectF> frames = control.componentFrames(bounds);
    ASSERT_EQ(frames.size(), 5);
    // Title text is black on the light band; the band's rim and stripes are not.
    auto inkColumns = [&](int from, int to) {
        QList<int> columns;
        for (int x = from; x < to; ++x) {
            for (int y = 2; y < 18; ++y) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() < 60 && c.green() < 60 && c.blue() < 60) {
                    columns.append(x);
                    break;
                }
            }
        }
        return columns;
    };
    const QRectF band = frames.at(2);
    const QList<int> ink = inkColumns(int(band.left()), int(band.right()));
    ASSERT_FALSE(ink.isEmpty()); // the title is drawn
    // The band's rounded left end lies 1.5 in; the first letter stands well clear of it.
    EXPECT_GE(ink.first() - (band.left() + 1.5), 5.0);
    // Only the band's first title moves in: "C", further along the band, starts at its frame.
    EXPECT_LE(inkColumns(int(frames.at(3).left()), int(frames.at(3).right())).value(0, 999) -
                  frames.at(3).left(),
              5.0);
}

TEST(CopiesTableDrawingTest, HeaderAndSeparatorComeFromTheBoundsNotTheDirtyRectangle) {
    EXPECT_EQ(DuplicateSelectionView::separatorRect(QSizeF(300, 200)), QRectF(0, 38, 300, 1));
    EXPECT_EQ(DuplicateSelectionView::separatorRect(QSizeF(300, 500)), QRectF(0, 38, 300, 1));

    QImage image(60, 100, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    // Only part of the header is being redrawn; its lines still lie on its own edges.
    painter.setClipRect(QRect(0, 55, 60, 45));
    HeaderForLockedCellView::draw(painter, QRectF(0, 50, 60, 29), QString());
    painter.setClipping(false);
    HeaderForLockedCellView::draw(painter, QRectF(0, 0, 60, 29), QString());
    painter.end();
    EXPECT_EQ(image.pixelColor(5, 0), Palette::sectionHeaderTopLineColor());
    EXPECT_EQ(image.pixelColor(5, 28), Palette::sectionHeaderBottomLineColor());
    EXPECT_EQ(image.pixelColor(5, 78), Palette::sectionHeaderBottomLineColor());
    EXPECT_EQ(image.pixelColor(5, 50).alpha(), 0); // clipped away, not moved
}

// WCAG contrast ratio of two opaque colours.
double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The path's titles and marks and the date read at 4.5:1 or more on every background a row
// gives them: the plain rows, the selection (focused or not) and each colour of the band's
// pattern.
TEST(CopiesTableDrawingTest, PathAndDateTextsKeepTheirContrast) {
    struct Case {
        const char* what;
        QColor background;
        bool onActiveSelection;
    };
    for (const Case& c :
         {Case{"row", Palette::commonRowColor(), false},
          Case{"even row", Palette::evenRowColor(), false},
          Case{"selection without focus", Palette::selectedRowColorInactive(), false},
          Case{"selection", Palette::selectedRowColor(), true}})
        EXPECT_GE(contrast(CustomPathControl::textColor(false, c.onActiveSelection), c.background),
                  4.5)
            << c.what;

    const QImage band = Palette::lockedFillColor().textureImage().isNull()
                            ? Palette::lockedFillColor().texture().toImage()
                            : Palette::lockedFillColor().textureImage();
    ASSERT_FALSE(band.isNull());
    QSet<QRgb> colours;
    for (int y = 0; y < band.height(); ++y)
        for (int x = 0; x < band.width(); ++x)
            colours.insert(band.pixel(x, y));
    for (QRgb colour : colours)
        for (bool selection : {false, true})
            EXPECT_GE(contrast(CustomPathControl::textColor(true, selection), QColor(colour)), 4.5)
                << QColor(colour).name().toStdString();
}

} // namespace
