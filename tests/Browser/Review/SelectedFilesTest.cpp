// The review panel without a removal: its label and buttons, the rows' check boxes under the
// last-copy guard, sorting, the highlighted row and the context menu.
#include "../../Results/ResultFixture.h"

#include "Browser/Common/AllowRemovingAllCopiesWC.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/Review/SelectedFilesSort.h"
#include "Browser/Review/SelectedFilesTexts.h"
#include "Browser/Review/SelectedFilesVC.h"
#include "Browser/Review/SelectedFilesView.h"
#include "Categories/FileSize.h"
#include "Categories/Settings.h"
#include "Platform/KeyEvent.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/BlueTitleButton.h"
#include "Toolkit/FocusRing.h"
#include "Toolkit/TableViewWithArrowHandling.h"
#include "Toolkit/WhiteTitleButton.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTest>

namespace {

struct SelectedFilesTest : ResultFixture {
    std::unique_ptr<SelectDuplicatesVC> screen;

    void SetUp() override {
        ResultFixture::SetUp();
        AnimationClock::instance().setMode(AnimationClock::Mode::Manual);
        Settings::setSortType(Settings::SortTypeSize);
        Settings::setSortDirection(Settings::SortDirectionDescending);
        Settings::setAllowRemovingAllDuplicateCopies(false);
        Settings::setShowRemoveLastInCategoriesMessage(true);
        Settings::setMoveCleanedDuplicatesToTheTrashCan(true);
    }
    void TearDown() override {
        screen.reset();
        AnimationClock::instance().setMode(AnimationClock::Mode::Real);
        ResultFixture::TearDown();
    }

    // A group of copies of |size| bytes named |names| in folders A, B, C...; the first copies
    // selected as |selected| asks.
    std::vector<DuplicateItem*> group(const QList<QByteArray>& names, int size, char fill,
                                      int selected) {
        QList<FileSystemItem*> nodes;
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QByteArray folderName(1, char('A' + i));
            FolderSystemItem* parent = nullptr;
            if (FileSystemItem* existing = root->childWithName(folderName))
                parent = static_cast<FolderSystemItem*>(existing);
            else
                parent = folder(root, folderName);
            nodes << file(parent, names[i], size, fill);
        }
        EXPECT_TRUE(container->addGroupWithItems(nodes));
        std::vector<DuplicateItem*> copies;
        for (FileSystemItem* node : nodes)
            copies.push_back(copyOf(node));
        for (int i = 0; i < selected; ++i)
            EXPECT_TRUE(copies[std::size_t(i)]->selectItemForced(true));
        return copies;
    }

    // The results screen over the groups made so far, shown and active.
    void showScreen() {
        root->calctotalsize();
        container->saveRoots({root});
        DuplicatesManager::sharedManager().setDuplicateContainer(container);
        screen = std::make_unique<SelectDuplicatesVC>();
        screen->resize(1100, 700);
        screen->show();
        QApplication::setActiveWindow(screen.get());
    }

    SelectedFilesVC& openPanel() {
        showScreen();
        screen->openSelectedFilesView();
        SelectedFilesVC* panel = screen->selectedFilesVC();
        EXPECT_TRUE(panel);
        EXPECT_TRUE(panel->animating());
        AnimationClock::instance().advance(SelectedFilesVC::kSlideMs);
        EXPECT_FALSE(panel->animating());
        return *panel;
    }
    static QStringList names(const SelectedFilesVC& panel) {
        QStringList shown;
        for (int row = 0; row < int(panel.removeList().size()); ++row)
            shown << panel.cellConfigurationForRow(row).name;
        return shown;
    }
    static bool enabled(WhiteTitleButton* button) { return !button->disabled(); }
    // A left click on the check box of |row|, as the pointer gives it.
    static void clickCheckbox(SelectedFilesVC& panel, int row) {
        QTableView* table = panel.tableViewSelectedFiles();
        const QRect cell = table->visualRect(table->model()->index(row, 0));
        const QPoint centre =
            SelectedFilesCellView::layoutForWidth(cell.width()).checkbox.center().toPoint() +
            cell.topLeft();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, centre);
    }
};

TEST_F(SelectedFilesTest, LabelCountsNamesAndSizesTheSelection) {
    group({"a.txt", "a.txt"}, 2500, 'a', 1);
    SelectedFilesVC& panel = openPanel();
    EXPECT_EQ(panel.informativeLabel()->text(),
              QStringLiteral("1 file %1 selected").arg(FileSize::formatMemoryStringDot1(2500)));
    EXPECT_TRUE(panel.informativeLabel()->text().contains(QStringLiteral("2.5")));
    EXPECT_FALSE(panel.informativeLabel()->isHidden());
    EXPECT_TRUE(enabled(panel.deselectButton()));
    EXPECT_FALSE(enabled(panel.selectButton())) << "every listed copy is checked";
    EXPECT_TRUE(enabled(panel.removeButton()));
    EXPECT_EQ(panel.removeButton()->title(), QStringLiteral("     Remove"));
    EXPECT_EQ(panel.removeButton()->image(), QStringLiteral("dark_btn_Remove"));
    EXPECT_EQ(panel.removeButton()->toolTip(),
              QStringLiteral("Remove selected duplicates to Trash"));

    // Unchecking the row empties the selection: the label hides, only Select All is left.
    clickCheckbox(panel, 0);
    EXPECT_EQ(panel.selectedDuplicateIndex(), -1) << "a click on the box highlights no row";
    TestSupport::spinFor(1);
    EXPECT_TRUE(panel.informativeLabel()->isHidden());
    EXPECT_TRUE(enabled(panel.selectButton()));
    EXPECT_FALSE(enabled(panel.deselectButton()));
    EXPECT_FALSE(enabled(panel.removeButton()));
    EXPECT_EQ(panel.removeList().size(), 1u) << "an unchecked copy stays listed";
    panel.checkboxPressed(0);
    TestSupport::spinFor(1);
    EXPECT_FALSE(enabled(panel.selectButton()));
}

TEST(SelectedFilesTextsTest, NounsAndRunningLabel) {
    namespace T = SelectedFilesTexts;
    const QString size = FileSize::formatMemoryStringDot1(10);
    const struct {
        std::uint64_t count, folders;
        bool removing;
        QString text;
    } cases[] = {
        {2, 2, false, QStringLiteral("2 folders %1 selected").arg(size)},
        {1, 1, false, QStringLiteral("1 folder %1 selected").arg(size)},
        {2, 1, false, QStringLiteral("2 files and folders %1 selected").arg(size)},
        {3, 0, true, QStringLiteral("3 files %1 removing").arg(size)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(T::informativeLabel(c.count, c.folders, 10, c.removing, 0), c.text);
    EXPECT_EQ(T::informativeLabel(3, 0, 10, false, 2500),
              QStringLiteral("You have cleaned %1").arg(FileSize::formatMemoryStringDot1(2500)));
    EXPECT_EQ(T::informativeLabel(3, 0, 10, true, 2500),
              QStringLiteral("3 files %1 removing").arg(size));
    EXPECT_EQ(T::permanentInformative(1),
              QStringLiteral("1 item will be deleted permanently. You can't undo this action."));
    EXPECT_EQ(T::permanentInformative(2),
              QStringLiteral("2 items will be deleted permanently. You can't undo this action."));
    EXPECT_EQ(T::remoteSeveralInformative(3, {"A", "B", "C"}),
              QStringLiteral("3 items on disks \"A\", \"B\" and \"C\" can't be removed to Trash "
                             "and will be deleted permanently. You can't undo this action."));
    EXPECT_EQ(T::remoteSeveralInformative(2, {"Stick"}),
              QStringLiteral("2 items on disk \"Stick\" can't be removed to Trash and will be "
                             "deleted permanently. You can't undo this action."));
}

TEST_F(SelectedFilesTest, FoldersAndFilesNameTheirNoun) {
    // Two folder copies with the same content, one selected, and a file pair.
    FolderSystemItem* x = folder(root, "x");
    FolderSystemItem* y = folder(root, "y");
    file(x, "in.txt", 30, 'i');
    file(y, "in.txt", 30, 'i');
    root->calctotalsize();
    ASSERT_TRUE(container->addGroupWithItems({x, y}));
    ASSERT_EQ(copyOf(x)->getType(), 6);
    ASSERT_TRUE(copyOf(y)->selectItemForced(false));
    group({"f.txt", "f.txt"}, 40, 'f', 1);
    SelectedFilesVC& panel = openPanel();
    EXPECT_TRUE(panel.informativeLabel()->text().startsWith(QStringLiteral("2 files and folders ")))
        << panel.informativeLabel()->text().toStdString();
}

TEST_F(SelectedFilesTest, SelectAllNeverTakesALastCopyAndDeselectAllEmptiesTheSelection) {
    const auto pair = group({"p.txt", "p.txt"}, 100, 'p', 1);
    const auto three = group({"t.txt", "t.txt", "t.txt"}, 100, 't', 2);
    SelectedFilesVC& panel = openPanel();
    ASSERT_EQ(panel.removeList().size(), 3u);
    const int before = selectionPosts;
    panel.deselectAll();
    EXPECT_EQ(selectionPosts, before + 1) << "one notification for the batch";
    EXPECT_EQ(container->getItemsCountInRemoveList(), 0u);
    panel.selectAll();
    EXPECT_EQ(container->getItemsCountInRemoveList(), 3u);
    EXPECT_FALSE(pair[1]->isSelected());
    EXPECT_FALSE(three[2]->isSelected());
    EXPECT_EQ(panel.removedSize(), 0u);
}

TEST_F(SelectedFilesTest, LastCopyCheckBoxFollowsTheAllowAllSetting) {
    const auto three = group({"t.txt", "t.txt", "t.txt"}, 50, 't', 2);
    SelectedFilesVC& second = openPanel();
    ASSERT_EQ(second.removeList().size(), 2u);
    const auto rowOf = [&](DuplicateItem* item) {
        const auto& list = second.removeList();
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list[i].get() == item)
                return int(i);
        return -1;
    };
    // Unchecked in the panel, then the unlisted copy selected elsewhere: the listed,
    // unchecked copy is now its group's last unselected copy.
    const int last = rowOf(three[0]);
    ASSERT_GE(last, 0);
    EXPECT_EQ(second.cellConfigurationForRow(last).checkboxToolTip,
              QStringLiteral("Deselect from removal"));
    second.checkboxPressed(last);
    EXPECT_FALSE(three[0]->isSelected());
    ASSERT_TRUE(three[2]->selectItemForced(false));
    TestSupport::spinFor(1);

    auto c = second.cellConfigurationForRow(last);
    EXPECT_EQ(c.checkboxAction, SelectedFilesCellView::CheckboxAction::LastCopy);
    EXPECT_EQ(c.checkboxImage, QStringLiteral("dark_checkbox_LastCopy"));
    EXPECT_TRUE(c.checkboxAlternateImage.isEmpty());
    EXPECT_EQ(c.checkboxToolTip, SelectedFilesTexts::lastCopyToolTip());
    second.checkboxPressed(last);
    EXPECT_FALSE(three[0]->isSelected()) << "refused without a message";
    EXPECT_FALSE(screen->findChild<QMessageBox*>(QStringLiteral("removeLastCopyConfirmation")));
    // A click on that box (through the row's own hit test) opens the allow-all popup instead.
    clickCheckbox(second, last);
    ASSERT_TRUE(AllowRemovingAllCopiesWC::existingController());
    EXPECT_TRUE(AllowRemovingAllCopiesWC::existingController()->popupVisible());
    EXPECT_FALSE(three[0]->isSelected());
    AllowRemovingAllCopiesWC::hideItself();
    AnimationClock::instance().advance(AllowRemovingAllCopiesWC::kFadeOutMs + 200);

    Settings::setAllowRemovingAllDuplicateCopies(true);
    second.reloadTable();
    c = second.cellConfigurationForRow(last);
    EXPECT_EQ(c.checkboxAction, SelectedFilesCellView::CheckboxAction::Check);
    EXPECT_EQ(c.checkboxImage, QStringLiteral("dark_checkbox0_red"));
    EXPECT_EQ(c.checkboxAlternateImage, QStringLiteral("dark_checkbox1_red"));

    // With the message on, Cancel leaves the copy unselected; OK with the box selects it
    // and turns the message off.
    second.checkboxPressed(last);
    auto* sheet = screen->findChild<QMessageBox*>(QStringLiteral("removeLastCopyConfirmation"));
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->text(), QStringLiteral("Attention"));
    EXPECT_EQ(sheet->informativeText(),
              QStringLiteral("All copies of the file \"t.txt\" will be selected for removal."));
    sheet->button(QMessageBox::Cancel)->click();
    EXPECT_FALSE(three[0]->isSelected());
    ASSERT_TRUE(TestSupport::waitFor([&] {
        return !screen->findChild<QMessageBox*>(QStringLiteral("removeLastCopyConfirmation"));
    }));
    second.checkboxPressed(last);
    sheet = screen->findChild<QMessageBox*>(QStringLiteral("removeLastCopyConfirmation"));
    ASSERT_TRUE(sheet);
    sheet->checkBox()->setChecked(true);
    sheet->button(QMessageBox::Ok)->click();
    EXPECT_TRUE(three[0]->isSelected());
    EXPECT_FALSE(Settings::showRemoveLastInCategoriesMessage());
    // Every copy selected: the boxes show the red tick.
    second.reloadTable();
    EXPECT_EQ(second.cellConfigurationForRow(last).shownCheckboxImage(),
              QStringLiteral("dark_checkbox1_red"));
}

TEST_F(SelectedFilesTest, NameSortIsNaturalAndDirectionsFlip) {
    group({"Photo 10.jpg", "Photo 10.jpg"}, 10, '1', 1);
    group({"album.jpg", "album.jpg"}, 20, '2', 1);
    group({"Photo 2.jpg", "Photo 2.jpg"}, 30, '3', 1);
    SelectedFilesVC& panel = openPanel();
    EXPECT_EQ(names(panel), (QStringList{"Photo 2.jpg", "album.jpg", "Photo 10.jpg"}))
        << "size, largest first";
    panel.sortByNamePressed();
    EXPECT_EQ(Settings::sortType(), Settings::SortTypeName);
    EXPECT_EQ(Settings::sortDirection(), Settings::SortDirectionDescending);
    EXPECT_EQ(names(panel), (QStringList{"album.jpg", "Photo 2.jpg", "Photo 10.jpg"}));
    EXPECT_EQ(panel.sortByButton()->title(), QStringLiteral("Sort by Name"));
    panel.sortByNamePressed();
    EXPECT_EQ(Settings::sortDirection(), Settings::SortDirectionAscending);
    EXPECT_EQ(names(panel), (QStringList{"Photo 10.jpg", "Photo 2.jpg", "album.jpg"}));
    panel.sortBySizePressed();
    EXPECT_EQ(Settings::sortDirection(), Settings::SortDirectionAscending) << "a new type keeps it";
    EXPECT_EQ(names(panel), (QStringList{"Photo 10.jpg", "album.jpg", "Photo 2.jpg"}));
    panel.sortByDescendingPressed();
    panel.sortAscendingPressed();
    EXPECT_EQ(Settings::sortDirection(), Settings::SortDirectionAscending);

    panel.validateSortMenu();
    QStringList ticked, disabled;
    for (QAction* action : panel.sortMenu()->actions()) {
        if (action->isChecked())
            ticked << action->text();
        if (!action->isEnabled() && !action->isSeparator())
            disabled << action->text();
    }
    EXPECT_EQ(ticked, (QStringList{"Size", "Ascending"}));
    EXPECT_EQ(disabled, (QStringList{"Total Size", "Count"}));
}

TEST(SelectedFilesSortTest, NameOrderIsAStrictWeakOrder) {
    // Names that a rule comparing only "word number" pairs by number and everything else as
    // text would order in a cycle.
    const QStringList names = {"x 10", "x 9", "x 9 y", "x 9a",  "x10",     "X 2",      "x 02",
                               "x",    "",    "x 9 z", "album", "Photo 2", "Photo 10", "photo 3b"};
    const auto less = [](const QString& a, const QString& b) {
        return SelectedFilesSort::compareNames(a, b) < 0;
    };
    for (const QString& a : names) {
        EXPECT_FALSE(less(a, a));
        for (const QString& b : names) {
            if (less(a, b)) {
                EXPECT_FALSE(less(b, a)) << a.toStdString() << " / " << b.toStdString();
            }
            for (const QString& c : names) {
                if (less(a, b) && less(b, c)) {
                    EXPECT_TRUE(less(a, c))
                        << a.toStdString() << " < " << b.toStdString() << " < " << c.toStdString();
                }
            }
        }
    }
    EXPECT_TRUE(less("album", "Photo 2"));
    EXPECT_TRUE(less("Photo 2", "Photo 10"));
}

TEST_F(SelectedFilesTest, ArrowKeysMoveTheHighlightWithinTheList) {
    group({"a.txt", "a.txt"}, 30, 'a', 1);
    group({"b.txt", "b.txt"}, 20, 'b', 1);
    SelectedFilesVC& panel = openPanel();
    const auto press = [](quint16 code) {
        AppNotification::CreateKeyPressedNotificationWithEvent(KeyEvent{code, 0});
    };
    EXPECT_EQ(panel.selectedDuplicateIndex(), -1);
    press(126);
    EXPECT_EQ(panel.selectedDuplicateIndex(), 0) << "Up with no highlight";
    press(125);
    press(125);
    EXPECT_EQ(panel.selectedDuplicateIndex(), 1) << "Down on the last row stays";
    EXPECT_TRUE(panel.cellConfigurationForRow(1).selected);
    EXPECT_FALSE(panel.cellConfigurationForRow(0).selected);
    EXPECT_TRUE(panel.isSelectedFileExists());
}

TEST_F(SelectedFilesTest, ThePanelTakesTheKeysAndNoRingOfWhatItCoversLiesOverIt) {
    group({"a.txt", "a.txt"}, 30, 'a', 1);
    showScreen();
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    // A control under the panel had the ring, as after Tab.
    QWidget* covered = screen->duplicatesBottombar();
    FocusRing::focusEntered(covered, Qt::TabFocusReason);
    ASSERT_TRUE(FocusRing::ring());
    ASSERT_EQ(FocusRing::ring()->target(), covered);

    screen->openSelectedFilesView();
    SelectedFilesVC* panel = screen->selectedFilesVC();
    ASSERT_TRUE(panel);
    EXPECT_EQ(FocusRing::ring()->target(), nullptr) << "while the panel slides in";
    AnimationClock::instance().advance(SelectedFilesVC::kSlideMs);
    EXPECT_TRUE(panel->tableViewSelectedFiles()->hasFocus());
    QWidget* ringed = FocusRing::ring()->target();
    EXPECT_TRUE(!ringed || panel->isAncestorOf(ringed));
}

TEST_F(SelectedFilesTest, ContextMenuOffersTheRowsCommandsAndNothingBelowThem) {
    const auto pair = group({"a.txt", "a.txt"}, 30, 'a', 1);
    SelectedFilesVC& panel = openPanel();
    ASSERT_TRUE(screen->isActiveWindow());
    EXPECT_FALSE(panel.prepareContextMenuForRow(-1));
    EXPECT_TRUE(panel.contextMenu()->actions().isEmpty());

    ASSERT_TRUE(panel.prepareContextMenuForRow(0));
    QStringList titles;
    for (QAction* action : panel.contextMenu()->actions())
        if (!action->isSeparator())
            titles << action->text();
    EXPECT_EQ(titles,
              (QStringList{"Deselect", "Show Preview", "Show in File Manager", "Properties"}));
    EXPECT_EQ(panel.selectedDuplicateIndex(), 0);
    panel.contextMenu()->actions().first()->trigger();
    EXPECT_FALSE(pair[0]->isSelected());

    // A copy gone from disk keeps its row; only the select entry stays enabled.
    ASSERT_TRUE(QFile::remove(QFile::decodeName(pair[0]->getFileItemPath())));
    panel.reloadTable();
    EXPECT_TRUE(panel.cellConfigurationForRow(0).disabled);
    EXPECT_FALSE(panel.isSelectedFileExists());
    ASSERT_TRUE(panel.prepareContextMenuForRow(0));
    QStringList enabledTitles;
    for (QAction* action : panel.contextMenu()->actions())
        if (!action->isSeparator() && action->isEnabled())
            enabledTitles << action->text();
    EXPECT_EQ(enabledTitles, (QStringList{"Select for Removal"}));
}

TEST_F(SelectedFilesTest, SlidesIgnoreCallsWhileMovingAndTheScreenDropsThePanelAfter) {
    group({"a.txt", "a.txt"}, 30, 'a', 1);
    SelectedFilesVC& panel = openPanel();
    QPointer<SelectedFilesVC> guard(&panel);
    EXPECT_EQ(panel.mainView()->pos(), QPoint(0, 0));
    panel.hideAnimation();
    EXPECT_TRUE(panel.animating());
    EXPECT_FALSE(panel.hasRemoveList());
    EXPECT_TRUE(panel.removeList().empty());
    panel.showAnimation(); // ignored: still sliding out
    AnimationClock::instance().advance(SelectedFilesVC::kSlideMs / 2);
    EXPECT_TRUE(panel.animating());
    AnimationClock::instance().advance(SelectedFilesVC::kSlideMs / 2);
    EXPECT_FALSE(screen->selectedFilesVC());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(guard) << "released";
}

} // namespace
