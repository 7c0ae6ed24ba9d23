// The folder list and the similar-folder list of the similar-folders view, on a real scan
// of a small tree:
//   alpha:    a b c (+ a file of its own)     a: alpha, beta.old
//   beta.old: a b   (+ a file of its own)     b: alpha, beta.old, gamma
//   gamma:    b c   (+ a file of its own)     c: alpha, gamma
// Heaps: alpha with beta.old (a, b) and alpha with gamma (b, c); beta.old and gamma share b
// only. "beta.old" is a folder whose name looks like a file's.
#include "ScanScreenFixture.h"

#include "Browser/Common/AllowRemovingAllCopiesWC.h"
#include "Browser/Frame/CategoryStateManager.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/Similars/FolderListCellView.h"
#include "Browser/Similars/FolderPickerVC.h"
#include "Browser/Similars/HeapsPickerVC.h"
#include "Browser/Similars/PickerList.h"
#include "Browser/Similars/PickerListModel.h"
#include "Categories/AppNotification.h"
#include "Categories/FileSize.h"
#include "Categories/Settings.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeap.h"
#include "Results/HeapsFolderData.h"
#include "Selection/OperationsManager.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/SearchTextField.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

namespace {

class PickersTest : public ScanScreenFixture {
protected:
    void SetUp() override {
        ScanScreenFixture::SetUp();
        write("alpha/a.bin", content(1, 1001));
        write("alpha/b.bin", content(2, 2000));
        write("alpha/c.bin", content(3, 3000));
        write("alpha/own.txt", content(11, 500));
        write("beta.old/a.bin", content(1, 1001));
        write("beta.old/b.bin", content(2, 2000));
        write("beta.old/own.txt", content(12, 600));
        write("gamma/b.bin", content(2, 2000));
        write("gamma/c.bin", content(3, 3000));
        write("gamma/own.txt", content(13, 700));
        scanAndShowSimilars();
    }

    FolderPickerVC& folders() { return *screen->folderPickerVC(); }
    HeapsPickerVC& heaps() { return *screen->heapsPickerVC(); }
    QStringList folderNames() { return namesOf(folders().workingArray()); }
    QStringList heapNames() { return namesOf(heaps().workingArray()); }
    static QStringList namesOf(const std::vector<PickerRow>& rows) {
        QStringList names;
        for (const PickerRow& row : rows)
            names << row.facts->displayName;
        return names;
    }
    static QString markedName(const std::vector<PickerRow>& rows) {
        for (const PickerRow& row : rows)
            if (row.selected)
                return row.facts->displayName;
        return {};
    }
    int folderRow(const QString& name) { return int(folderNames().indexOf(name)); }
    int heapRow(const QString& name) { return int(heapNames().indexOf(name)); }
    void chooseFolder(const QString& name) {
        const int row = folderRow(name);
        ASSERT_GE(row, 0) << name.toStdString();
        folders().list()->selectTableRow(row);
        ASSERT_EQ(markedName(folders().workingArray()), name);
    }
    void chooseHeap(const QString& name) {
        const int row = heapRow(name);
        ASSERT_GE(row, 0) << name.toStdString();
        heaps().list()->selectTableRow(row);
        ASSERT_EQ(markedName(heaps().workingArray()), name);
    }
    // Lets the queued rebuilds run.
    void settle() { QCoreApplication::processEvents(); }
    const PickerRow& folderRowNamed(const QString& name) {
        return folders().workingArray().at(size_t(folderRow(name)));
    }
    QString shownSecondFolder() {
        const auto heap = heaps().selectedHeapItem();
        return heap ? heap->getSecondFolderItem()->displayName() : QString();
    }
    void pressKey(quint16 code, quint32 flags = 0) {
        AppNotification::CreateKeyPressedNotificationWithEvent(KeyEvent{code, flags});
    }
    static QStringList titles(QMenu* menu) {
        QStringList list;
        for (QAction* action : menu->actions())
            list << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return list;
    }
    static QAction* actionNamed(QMenu* menu, const QString& text) {
        for (QAction* action : menu->actions())
            if (action->text() == text)
                return action;
        return nullptr;
    }
    static void answer(QMessageBox* alert, const QString& button, bool suppress) {
        ASSERT_TRUE(alert);
        alert->checkBox()->setChecked(suppress);
        for (QAbstractButton* b : alert->buttons())
            if (b->text() == button) {
                b->click();
                return;
            }
        FAIL() << "no button " << button.toStdString();
    }
};

TEST_F(PickersTest, FoldersWithSimilarFoldersAreListedWithTheirSharedCopies) {
    QAbstractItemModelTester tester(folders().list()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    // Largest shared size first; every folder with a heap, and no other.
    EXPECT_EQ(folderNames(), (QStringList{"alpha", "gamma", "beta.old"}));
    const PickerRow& alpha = folderRowNamed("alpha");
    EXPECT_EQ(alpha.count, 3u);
    EXPECT_EQ(alpha.duplicateSize, 6001u);
    EXPECT_EQ(alpha.facts->childCount, 4);
    EXPECT_EQ(folderRowNamed("beta.old").count, 2u);
    EXPECT_EQ(folderRowNamed("beta.old").duplicateSize, 3001u);
    // A new list chooses its first row, and the heaps picker lists that folder's partners.
    EXPECT_EQ(markedName(folders().workingArray()), "alpha");
    EXPECT_EQ(heapNames(), (QStringList{"gamma", "beta.old"}));
    EXPECT_EQ(shownSecondFolder(), "gamma");
    // Another folder: its partners only (the model is rebuilt under the tester).
    chooseFolder("gamma");
    EXPECT_EQ(heapNames(), (QStringList{"alpha"}));
    EXPECT_EQ(folderRowNamed("gamma").count, 2u);
}

TEST_F(PickersTest, SortTypesAndDirectionsOrderBothLists) {
    struct Case {
        Settings::SortType type;
        Settings::SortDirection direction;
        QStringList folders;
        QStringList heaps;
    };
    const std::vector<Case> cases = {
        {Settings::SortTypeSize,
         Settings::SortDirectionDescending,
         {"alpha", "gamma", "beta.old"},
         {"gamma", "beta.old"}},
        {Settings::SortTypeTotalSize,
         Settings::SortDirectionAscending,
         {"beta.old", "gamma", "alpha"},
         {"beta.old", "gamma"}},
        {Settings::SortTypeType,
         Settings::SortDirectionDescending,
         {"alpha", "gamma", "beta.old"},
         {"gamma", "beta.old"}},
        {Settings::SortTypeName,
         Settings::SortDirectionDescending,
         {"alpha", "beta.old", "gamma"},
         {"beta.old", "gamma"}},
        {Settings::SortTypeName,
         Settings::SortDirectionAscending,
         {"gamma", "beta.old", "alpha"},
         {"gamma", "beta.old"}},
        {Settings::SortTypePath,
         Settings::SortDirectionDescending,
         {"alpha", "beta.old", "gamma"},
         {"beta.old", "gamma"}},
        {Settings::SortTypePath,
         Settings::SortDirectionAscending,
         {"gamma", "beta.old", "alpha"},
         {"gamma", "beta.old"}},
    };
    for (const Case& c : cases) {
        Settings::setSortType(c.type);
        Settings::setSortDirection(c.direction);
        AppNotification::CreateSortingTypeChangedNotification();
        EXPECT_EQ(folderNames(), c.folders) << c.type << "/" << c.direction;
        EXPECT_EQ(heapNames(), c.heaps) << c.type << "/" << c.direction;
        // The chosen rows stay chosen whatever the order.
        EXPECT_EQ(markedName(folders().workingArray()), "alpha");
        EXPECT_EQ(markedName(heaps().workingArray()), "gamma");
    }
    // Count: alpha shares three copies, the others two.
    Settings::setSortType(Settings::SortTypeCount);
    Settings::setSortDirection(Settings::SortDirectionDescending);
    AppNotification::CreateSortingTypeChangedNotification();
    EXPECT_EQ(folderNames().first(), "alpha");
    Settings::setSortDirection(Settings::SortDirectionAscending);
    AppNotification::CreateSortingTypeChangedNotification();
    EXPECT_EQ(folderNames().last(), "alpha");
}

TEST_F(PickersTest, RowsWithEqualKeysKeepTheirOrderAcrossRebuilds) {
    // beta and gamma both share two copies: sorted by count they tie.
    Settings::setSortType(Settings::SortTypeCount);
    AppNotification::CreateSortingTypeChangedNotification();
    const QStringList first = folderNames();
    for (int i = 0; i < 5; ++i) {
        folders().recreateTrueArrayWithSearchKey(QString());
        EXPECT_EQ(folderNames(), first);
    }
    // The same holds for the pure sort on rows with equal keys.
    std::vector<PickerRow> rows(4);
    for (size_t i = 0; i < rows.size(); ++i) {
        auto facts = std::make_shared<PickerFolderFacts>();
        facts->displayName = QString::number(i);
        rows[i].facts = facts;
        rows[i].count = i % 2;
    }
    PickerRows::sortRows(rows, Settings::SortTypeCount, Settings::SortDirectionDescending);
    EXPECT_EQ(namesOf(rows), (QStringList{"1", "3", "0", "2"}));

    // A long list is sorted in parts on several threads and merged: the order is still the
    // one a single stable sort by key, then path, gives (rows equal in both keep theirs).
    std::vector<PickerRow> many(10000);
    for (size_t i = 0; i < many.size(); ++i) {
        auto facts = std::make_shared<PickerFolderFacts>();
        facts->displayName = QString::number(i);
        facts->sortPath = QString::number(i % 97);
        many[i].facts = facts;
        many[i].count = (i * 7919) % 5;
    }
    std::vector<PickerRow> expected = many;
    std::stable_sort(expected.begin(), expected.end(), [](const PickerRow& a, const PickerRow& b) {
        if (a.count != b.count)
            return a.count > b.count;
        return a.facts->sortPath < b.facts->sortPath;
    });
    PickerRows::sortRows(many, Settings::SortTypeCount, Settings::SortDirectionDescending);
    EXPECT_EQ(namesOf(many), namesOf(expected));
}

TEST_F(PickersTest, SelectionIsFoundAgainThroughTheRememberedFolderAfterRowsMove) {
    Settings::setSortType(Settings::SortTypeSelected);
    AppNotification::CreateSortingTypeChangedNotification();
    chooseFolder("beta.old");
    EXPECT_EQ(CategoryStateManager::sharedManager().mainFolderItem()->getFolderSystemItem(),
              folderRowNamed("beta.old").folder);
    const int rebuilds = folders().rebuildCount();
    // Select gamma's two copies in one batch elsewhere: gamma moves to the top.
    DuplicatesGroup::BeginSelectionGroup();
    copy("gamma/b.bin")->selectItemForced(false);
    copy("gamma/c.bin")->selectItemForced(false);
    DuplicatesGroup::EndSelectionGroup();
    settle();
    EXPECT_EQ(folderNames().first(), "gamma");
    EXPECT_EQ(markedName(folders().workingArray()), "beta.old");
    EXPECT_EQ(folders().selectedFolderIndex(), folderRow("beta.old"));
    // One rebuild for the whole batch.
    EXPECT_EQ(folders().rebuildCount(), rebuilds + 1);
    EXPECT_EQ(folderRowNamed("gamma").selectedCount, 2u);
    // alpha's similar folders hold them: they show as similar selected there.
    EXPECT_EQ(folderRowNamed("alpha").similarSelectedCount, 2u);
}

TEST_F(PickersTest, ChoosingARowRightAfterASelectionCountsTheNewSelection) {
    chooseFolder("beta.old");
    // Chosen before the queued rebuild runs, the rows still show the copy just selected.
    ASSERT_TRUE(copy("gamma/b.bin")->selectItemForced(false));
    folders().pressedRowByIndex(folderRow("alpha"));
    EXPECT_EQ(folderRowNamed("gamma").selectedCount, 1u);
    EXPECT_EQ(folderRowNamed("alpha").similarSelectedCount, 1u);
    EXPECT_EQ(markedName(folders().workingArray()), "alpha");
    // Inside a batch, whose notification comes only at its end, the same.
    DuplicatesGroup::BeginSelectionGroup();
    ASSERT_TRUE(copy("gamma/c.bin")->selectItemForced(false));
    folders().pressedRowByIndex(folderRow("gamma"));
    EXPECT_EQ(folderRowNamed("gamma").selectedCount, 2u);
    DuplicatesGroup::EndSelectionGroup();
    // Choosing again with nothing changed keeps the numbers and moves the mark.
    settle();
    folders().pressedRowByIndex(folderRow("beta.old"));
    EXPECT_EQ(folderRowNamed("gamma").selectedCount, 2u);
    EXPECT_EQ(folderRowNamed("alpha").similarSelectedCount, 2u);
    EXPECT_EQ(markedName(folders().workingArray()), "beta.old");
    EXPECT_EQ(folders().selectedFolderIndex(), folderRow("beta.old"));
}

TEST(PickerRowsTest, FactsOfManyFoldersAreReadTogetherInTheirOrder) {
    // More folders than one thread's share, names of every kind, and a null entry.
    auto tree = ScanTree::create();
    VolumeSystemItem* root = VolumeSystemItem::initWithPath(*tree, "/tmp/scanned", 0, 0);
    std::vector<const FolderSystemItem*> folders;
    for (int top = 0; top < 12; ++top) {
        FolderSystemItem* parent = FolderSystemItem::initWithPathSize(
            *tree, "Top " + QByteArray::number(top), root, 0, false, 0, false, 0);
        for (int i = 0; i < 100; ++i) {
            QByteArray name = "Folder." + QByteArray::number(i);
            if (i % 10 == 3)
                name = "caf\xc3\xa9 \xff" + QByteArray::number(i); // invalid UTF-8 too
            folders.push_back(
                FolderSystemItem::initWithPathSize(*tree, name, parent, 0, false, 0, false, 0));
        }
    }
    folders.insert(folders.begin() + 500, nullptr);
    const auto all = PickerRows::factsOfAll(folders);
    ASSERT_EQ(all.size(), folders.size());
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const PickerFolderFacts one = PickerRows::factsOf(folders[i]);
        ASSERT_TRUE(all[i]) << i;
        EXPECT_EQ(all[i]->path, one.path) << i;
        EXPECT_EQ(all[i]->displayName, one.displayName) << i;
        EXPECT_EQ(all[i]->sortName, one.sortName) << i;
        EXPECT_EQ(all[i]->sortPath, one.sortPath) << i;
        EXPECT_EQ(all[i]->childCount, one.childCount) << i;
        if (folders[i]) {
            EXPECT_EQ(one.displayName, folders[i]->displayName()) << i;
        }
    }
    EXPECT_EQ(all[0]->displayName, "Folder.0");
    EXPECT_EQ(all[0]->path, "/tmp/scanned/Top 0/Folder.0");
    EXPECT_TRUE(all[500]->path.isEmpty());
    EXPECT_TRUE(PickerRows::factsOfAll({}).empty());
}

TEST_F(PickersTest, SearchWithoutMatchEmptiesTheMiddleAndClearingChoosesNothingAnew) {
    chooseFolder("beta.old");
    ASSERT_EQ(shownSecondFolder(), "alpha");
    folders().searchTextField()->setText(QStringLiteral("zzz"));
    folders().controlTextDidChange();
    EXPECT_TRUE(folderNames().isEmpty());
    EXPECT_FALSE(folders().noFolderFoundLabel()->isHidden());
    EXPECT_FALSE(folders().clearSearchTextButton()->isHidden());
    EXPECT_TRUE(heaps().workingArray().empty());

    folders().clearSearchTextPressed();
    EXPECT_EQ(folderNames().size(), 3);
    EXPECT_TRUE(folders().noFolderFoundLabel()->isHidden());
    EXPECT_TRUE(folders().clearSearchTextButton()->isHidden());
    // The last chosen folder is marked again, but the similar folders stay empty.
    EXPECT_EQ(markedName(folders().workingArray()), "beta.old");
    EXPECT_TRUE(heaps().workingArray().empty());

    // A part of the name, in any case, matches; the path does not.
    folders().searchTextField()->setText(QStringLiteral("AMM"));
    folders().controlTextDidChange();
    EXPECT_EQ(folderNames(), (QStringList{"gamma"}));
    EXPECT_EQ(shownSecondFolder(), "alpha");
    folders().searchTextField()->setText(QFileInfo(QFile::decodeName(root())).fileName());
    folders().controlTextDidChange();
    EXPECT_TRUE(folderNames().isEmpty());
}

TEST_F(PickersTest, KeysMoveThroughBothListsAndStopAtTheEnds) {
    folders().list()->table()->setFocus();
    ASSERT_TRUE(folders().isTableViewActive());
    pressKey(125); // Down
    EXPECT_EQ(markedName(folders().workingArray()), "gamma");
    pressKey(125, KeyEvent::OptionKeyMask);
    EXPECT_EQ(markedName(folders().workingArray()), "beta.old");
    pressKey(125); // on the last row: nothing
    EXPECT_EQ(markedName(folders().workingArray()), "beta.old");
    pressKey(126, KeyEvent::OptionKeyMask);
    EXPECT_EQ(markedName(folders().workingArray()), "alpha");
    pressKey(126);
    EXPECT_EQ(markedName(folders().workingArray()), "alpha");

    // Right hands the focus to the similar folders, 10 ms later.
    pressKey(124);
    ASSERT_TRUE(TestSupport::waitFor([&] { return heaps().isTableViewActive(); }));
    pressKey(125);
    EXPECT_EQ(shownSecondFolder(), "beta.old");
    pressKey(125);
    EXPECT_EQ(shownSecondFolder(), "beta.old");
    pressKey(126, KeyEvent::OptionKeyMask);
    EXPECT_EQ(shownSecondFolder(), "gamma");
    // Command with Down walks the folders while the similar folders keep the focus.
    pressKey(125, KeyEvent::CommandKeyMask);
    EXPECT_EQ(markedName(folders().workingArray()), "gamma");
    EXPECT_EQ(heapNames(), (QStringList{"alpha"}));
    ASSERT_TRUE(TestSupport::waitFor([&] { return heaps().isTableViewActive(); }));
    // Left goes back to the folders.
    pressKey(123);
    ASSERT_TRUE(TestSupport::waitFor([&] { return folders().isTableViewActive(); }));
}

TEST_F(PickersTest, EmptyHeapsListChoosesNothing) {
    std::shared_ptr<DuplicatesHeap> told = heaps().selectedHeapItem();
    heaps().setHeapsArray({});
    EXPECT_TRUE(heaps().workingArray().empty());
    EXPECT_FALSE(heaps().selectedHeapItem());
    heaps().list()->table()->setFocus();
    pressKey(126);
    pressKey(125);
    EXPECT_FALSE(heaps().selectedHeapItem());
    EXPECT_FALSE(heaps().list()->checkbox()->isVisible());
}

TEST_F(PickersTest, ShowSimilarFoldersSwapsTheTwoFolders) {
    chooseHeap("beta.old");
    QMenu* menu = heaps().contextMenuRequested(
        heaps()
            .list()
            ->table()
            ->visualRect(heaps().list()->model()->index(heapRow("beta.old")))
            .center());
    ASSERT_TRUE(menu);
    EXPECT_EQ(titles(menu), (QStringList{"Select All Duplicates Common with \"alpha\"",
                                         "Show Similar Folders for \"beta.old\"", "-",
                                         "Add \"beta.old\" to Skip List", "-",
                                         "Show in File Manager", "Properties"}));
    actionNamed(menu, "Show Similar Folders for \"beta.old\"")->trigger();
    menu->close();
    EXPECT_EQ(markedName(folders().workingArray()), "beta.old");
    EXPECT_EQ(heapNames(), (QStringList{"alpha"}));
    EXPECT_EQ(shownSecondFolder(), "alpha");

    // A folder chosen by a click forgets the remembered similar folder: the first row.
    chooseFolder("alpha");
    EXPECT_EQ(shownSecondFolder(), "gamma");
}

TEST_F(PickersTest, ComingBackToSimilarsChoosesTheRememberedFolders) {
    chooseFolder("beta.old");
    chooseHeap("alpha");
    screen->pressOverviewButton();
    AnimationClock::instance().advance(1500);
    QCoreApplication::processEvents();
    ASSERT_FALSE(screen->folderPickerVC());
    screen->duplicatesToolbar()->heapsButtonPressed(screen->duplicatesToolbar()->heapsButton());
    AnimationClock::instance().advance(1000);
    ASSERT_TRUE(screen->folderPickerVC());
    EXPECT_EQ(markedName(folders().workingArray()), "beta.old");
    EXPECT_EQ(shownSecondFolder(), "alpha");
}

TEST_F(PickersTest, WholeFolderCheckBoxUnderTheGuard) {
    Settings::setAllowRemovingAllDuplicateCopies(false);
    // alpha: every copy may be selected.
    EXPECT_EQ(folders().checkboxLookForRow(folderRow("alpha")).image, "checkbox0");
    folders().checkBoxForSelectedFolderPressed();
    settle();
    EXPECT_EQ(folderRowNamed("alpha").selectedCount, 3u);
    PickerCheckboxLook look = folders().checkboxLookForRow(folderRow("alpha"));
    EXPECT_EQ(look.state, 1);
    EXPECT_EQ(look.alternateImage, "checkbox1");
    EXPECT_EQ(look.toolTip, "Deselect all duplicates common with similar folders");

    // beta.old: a is its group's last copy now, b is not: a click takes b only.
    chooseFolder("beta.old");
    folders().checkBoxForSelectedFolderPressed();
    settle();
    EXPECT_FALSE(copy("beta.old/a.bin")->isSelected());
    EXPECT_TRUE(copy("beta.old/b.bin")->isSelected());
    look = folders().checkboxLookForRow(folderRow("beta.old"));
    EXPECT_EQ(look.state, 1);
    EXPECT_EQ(look.alternateImage, "checkbox-");

    // gamma holds only last copies: the refused box opens the popup and selects nothing.
    chooseFolder("gamma");
    look = folders().checkboxLookForRow(folderRow("gamma"));
    EXPECT_EQ(look.action, PickerCheckboxAction::LastCopy);
    EXPECT_EQ(look.image, "checkbox_LastCopy");
    ASSERT_FALSE(AllowRemovingAllCopiesWC::existingController() &&
                 AllowRemovingAllCopiesWC::existingController()->isVisible());
    folders().checkBoxForSelectedFolderPressed();
    settle();
    auto* popup = AllowRemovingAllCopiesWC::existingController();
    ASSERT_TRUE(popup);
    EXPECT_TRUE(popup->isVisible());
    popup->close();
    AnimationClock::instance().advance(AllowRemovingAllCopiesWC::kReopenGuardMs);
    EXPECT_EQ(folderRowNamed("gamma").selectedCount, 0u);
    // Its menu has no select item: it starts with the separator.
    QMenu* menu = folders().buildContextMenuForRow(folderRow("gamma"));
    EXPECT_TRUE(menu->actions().first()->isSeparator());

    // A partly selected folder's click deselects every shared copy.
    chooseFolder("beta.old");
    folders().checkBoxForSelectedFolderPressed();
    settle();
    EXPECT_FALSE(copy("beta.old/b.bin")->isSelected());
    EXPECT_EQ(folders().checkboxLookForRow(folderRow("beta.old")).state, 0);

    // Deselect All: every listed folder's copies.
    EXPECT_TRUE(folders().isAnyDuplicatesForDeselect());
    folders().deselectAll();
    settle();
    EXPECT_FALSE(folders().isAnyDuplicatesForDeselect());
    EXPECT_FALSE(copy("alpha/a.bin")->isSelected());
}

TEST_F(PickersTest, LastCopiesQuestionCancelRestoresTheBoxAndOkSelectsThem) {
    Settings::setAllowRemovingAllDuplicateCopies(true);
    Settings::setShowRemoveLastInHeapsMessage(true);
    chooseFolder("alpha");
    folders().checkBoxForSelectedFolderPressed();
    settle();
    ASSERT_FALSE(folders().lastCopiesAlert()); // alpha holds no last copy
    chooseFolder("gamma");
    PickerCheckboxLook look = folders().checkboxLookForRow(folderRow("gamma"));
    EXPECT_EQ(look.image, "checkbox0_red");
    EXPECT_EQ(look.alternateImage, "checkbox1_red");

    folders().checkBoxForSelectedFolderPressed();
    QMessageBox* alert = folders().lastCopiesAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->text(), "Attention");
    EXPECT_EQ(alert->informativeText(),
              "You are selecting the last copies of duplicates in the folder \"gamma\" "
              "including the original ones.");
    EXPECT_EQ(alert->checkBox()->text(), "Do not show this message again");
    answer(alert, "Cancel", true);
    settle();
    EXPECT_EQ(folders().list()->checkbox()->state(), 0);
    EXPECT_FALSE(copy("gamma/b.bin")->isSelected());
    EXPECT_TRUE(Settings::showRemoveLastInHeapsMessage());

    folders().checkBoxForSelectedFolderPressed();
    answer(folders().lastCopiesAlert(), "OK", true);
    settle();
    EXPECT_TRUE(copy("gamma/b.bin")->isSelected());
    EXPECT_TRUE(copy("gamma/c.bin")->isSelected());
    EXPECT_FALSE(Settings::showRemoveLastInHeapsMessage());
    look = folders().checkboxLookForRow(folderRow("gamma"));
    EXPECT_EQ(look.state, 1);
    EXPECT_EQ(look.image, "checkbox0_red");
    EXPECT_EQ(look.alternateImage, "checkbox1_red");
}

TEST_F(PickersTest, HeapCheckBoxStatesUnderTheGuard) {
    Settings::setAllowRemovingAllDuplicateCopies(false);
    // alpha's own copies selected, then beta's shared copies from alpha's similar folders.
    folders().checkBoxForSelectedFolderPressed();
    settle();
    chooseHeap("beta.old");
    EXPECT_EQ(heaps().checkboxLookForRow(heapRow("beta.old")).image, "checkbox0");
    EXPECT_EQ(heaps().checkboxLookForRow(heapRow("beta.old")).toolTip,
              "Select all duplicates common with \"alpha\"");
    heaps().checkBoxForSelectedFolderPressed();
    settle();
    // a was the last unselected copy of its group: refused; b taken.
    PickerCheckboxLook look = heaps().checkboxLookForRow(heapRow("beta.old"));
    EXPECT_EQ(look.state, 1);
    EXPECT_EQ(look.alternateImage, "checkbox-");
    EXPECT_EQ(look.toolTip, "Deselect all duplicates common with \"alpha\"");
    // gamma now holds the last copies of b and c.
    look = heaps().checkboxLookForRow(heapRow("gamma"));
    EXPECT_EQ(look.action, PickerCheckboxAction::LastCopy);
    EXPECT_EQ(look.image, "checkbox_LastCopy");
    // From beta, alpha's shared copies are all selected: the full look.
    chooseFolder("beta.old");
    look = heaps().checkboxLookForRow(heapRow("alpha"));
    EXPECT_EQ(look.state, 1);
    EXPECT_EQ(look.image, "checkbox0");
    EXPECT_EQ(look.alternateImage, "checkbox1");
}

TEST_F(PickersTest, HeapLastCopiesQuestion) {
    Settings::setAllowRemovingAllDuplicateCopies(true);
    Settings::setShowRemoveLastInHeapsMessage(true);
    copy("alpha/c.bin")->selectItemForced(false);
    settle();
    chooseHeap("gamma"); // gamma/c is now the last copy of c
    heaps().checkBoxForSelectedFolderPressed();
    answer(heaps().lastCopiesAlert(), "Cancel", false);
    settle();
    EXPECT_EQ(heaps().list()->checkbox()->state(), 0);
    EXPECT_FALSE(copy("gamma/c.bin")->isSelected());
    heaps().checkBoxForSelectedFolderPressed();
    answer(heaps().lastCopiesAlert(), "OK", false);
    settle();
    EXPECT_TRUE(copy("gamma/c.bin")->isSelected());
    EXPECT_TRUE(copy("gamma/b.bin")->isSelected());
    EXPECT_TRUE(Settings::showRemoveLastInHeapsMessage());
}

TEST_F(PickersTest, NoMenuWhileTheReviewPanelIsOpen) {
    screen->openSelectedFilesView();
    const QPoint at =
        folders().list()->table()->visualRect(folders().list()->model()->index(1)).center();
    EXPECT_FALSE(folders().contextMenuRequested(at));
    EXPECT_FALSE(heaps().contextMenuRequested(at));
    EXPECT_EQ(markedName(folders().workingArray()), "alpha");
}

TEST_F(PickersTest, RightClickBelowTheRowsChangesNothing) {
    EXPECT_FALSE(folders().contextMenuRequested(QPoint(10, 1000)));
    EXPECT_TRUE(folders().contextMenu()->actions().isEmpty());
    EXPECT_EQ(markedName(folders().workingArray()), "alpha");
}

TEST_F(PickersTest, SkipListTakesAFolderWithADotAsAFolderAndDropsItsCopies) {
    Settings::setExcludeFolders({});
    Settings::setExcludeFiles({});
    const int row = folderRow("beta.old");
    QMenu* menu = folders().contextMenuRequested(
        folders().list()->table()->visualRect(folders().list()->model()->index(row)).center());
    ASSERT_TRUE(menu);
    EXPECT_EQ(titles(menu), (QStringList{"Select All Duplicates Common with Similar Folders", "-",
                                         "Add \"beta.old\" to Skip List", "-",
                                         "Show in File Manager", "Properties"}));
    EXPECT_EQ(markedName(folders().workingArray()), "beta.old");
    actionNamed(menu, "Add \"beta.old\" to Skip List")->trigger();
    menu->close();
    EXPECT_EQ(Settings::excludeFolders(), QStringList{QFile::decodeName(root() + "/beta.old")});
    EXPECT_TRUE(Settings::excludeFiles().isEmpty());
    // The result lost beta.old: alpha and gamma still share b and c.
    ASSERT_TRUE(TestSupport::waitFor([&] { return folderNames().size() == 2; }));
    QStringList left = folderNames();
    left.sort();
    EXPECT_EQ(left, (QStringList{"alpha", "gamma"}));
}

TEST_F(PickersTest, RowTooltipsNameTheCountsAndFolders) {
    copy("alpha/a.bin")->selectItemForced(false);
    copy("beta.old/b.bin")->selectItemForced(false);
    copy("gamma/b.bin")->selectItemForced(false);
    settle();
    // alpha: a selected in it, b selected in two of its similar folders.
    FolderListCellView::Tips tips = folders().list()->cellView()->tipsFor(folderRowNamed("alpha"));
    EXPECT_EQ(tips.size, FileSize::formatMemoryStringDot1(6001) +
                             " of common duplicates with similar folders");
    EXPECT_EQ(tips.count, "3 common duplicates with similar folders");
    EXPECT_EQ(tips.badge,
              "1 duplicate selected in \"alpha\"\n2 duplicates selected in similar folders");
    // From alpha, beta.old holds b selected; alpha holds a selected.
    tips =
        heaps().list()->cellView()->tipsFor(heaps().workingArray().at(size_t(heapRow("beta.old"))));
    EXPECT_EQ(tips.count, "2 common duplicates with \"alpha\"");
    EXPECT_EQ(tips.badge, "1 duplicate selected in \"beta.old\" that is common with similar "
                          "folder \"alpha\"\n1 common duplicate selected in similar folder "
                          "\"alpha\"");
    // No selection, no badge tip.
    PickerRow plain;
    plain.facts = folderRowNamed("gamma").facts;
    tips = folders().list()->cellView()->tipsFor(plain);
    EXPECT_TRUE(tips.badge.isEmpty());
}

TEST_F(PickersTest, ResultWithoutHeapsGoesToTheOverviewAndLetsTheListGoLater) {
    // Without alpha, beta.old and gamma share b only: no heap is left, copies are.
    DuplicatesManager::sharedManager().getOperationsManager().excludeItemsInFolderWithPath(
        root() + "/alpha");
    QPointer<FolderPickerVC> picker = screen->folderPickerVC();
    ASSERT_TRUE(TestSupport::waitFor([&] { return screen->state() == 0; }));
    // The list that handled the change is still there while the swap runs.
    EXPECT_TRUE(picker);
    AnimationClock::instance().advance(1500);
    EXPECT_FALSE(screen->folderPickerVC());
    // Let go, and gone with the next deferred deletion.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(picker.isNull());
}

TEST_F(PickersTest, EmptiedResultShowsTheCongratulations) {
    DuplicatesManager::sharedManager().getOperationsManager().excludeItemsInFolderWithPath(root());
    ASSERT_TRUE(TestSupport::waitFor([&] { return screen->congratulationsController(); }));
    EXPECT_TRUE(folderNames().isEmpty());
    EXPECT_FALSE(folders().noFolderFoundLabel()->isHidden());
    EXPECT_TRUE(heaps().workingArray().empty());
}

TEST(PickerCheckboxLooksTest, TheTenLooksOfTheFolderBoxAndTheLink) {
    struct Case {
        bool allow;
        uint64_t s;
        bool last;
        uint64_t full;
        bool selectable;
        int state;
        QString image;
        QString alternate;
        PickerCheckboxAction action;
    };
    using A = PickerCheckboxAction;
    // n = 4 throughout.
    const std::vector<Case> cases = {
        {true, 0, false, 0, true, 0, "checkbox0", "checkbox1", A::Toggle},
        {true, 0, true, 0, true, 0, "checkbox0_red", "checkbox1_red", A::Toggle},
        {true, 2, false, 0, true, 1, "checkbox0", "checkbox-", A::Toggle},
        {true, 2, false, 1, true, 1, "checkbox0_red", "checkbox-_red", A::Toggle},
        {true, 4, false, 0, true, 1, "checkbox0", "checkbox1", A::Toggle},
        {true, 4, false, 2, true, 1, "checkbox0_red", "checkbox1_red", A::Toggle},
        {false, 0, true, 0, true, 0, "checkbox0", "checkbox1", A::Toggle},
        {false, 0, true, 0, false, 0, "checkbox_LastCopy", "", A::LastCopy},
        {false, 2, true, 3, false, 1, "checkbox0", "checkbox-", A::Toggle},
        {false, 5, true, 3, false, 1, "checkbox0", "checkbox1", A::Toggle},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        FolderCheckboxFacts facts;
        facts.count = 4;
        facts.selected = c.s;
        facts.allow = c.allow;
        facts.last = c.last;
        facts.full = c.full;
        facts.selectable = c.selectable;
        const PickerCheckboxLook look = PickerCheckbox::folderLook(facts);
        EXPECT_EQ(look.state, c.state) << i;
        EXPECT_EQ(look.image, c.image) << i;
        EXPECT_EQ(look.alternateImage, c.alternate) << i;
        EXPECT_EQ(look.action, c.action) << i;
        EXPECT_FALSE(look.trackingEnabled) << i;
        if (c.action == A::LastCopy)
            EXPECT_EQ(look.toolTip, "This folder has the last unselected copies of duplicates. "
                                    "If you want to select all copies change the option in "
                                    "Preferences.");
        else
            EXPECT_EQ(look.toolTip, c.state ? "Deselect all duplicates common with similar folders"
                                            : "Select all duplicates common with similar folders");
    }
    FolderCheckboxFacts folderCopy;
    folderCopy.duplicateFolder = true;
    folderCopy.selected = 3;
    const PickerCheckboxLook link = PickerCheckbox::folderLook(folderCopy);
    EXPECT_EQ(link.action, PickerCheckboxAction::DuplicateFolder);
    EXPECT_EQ(link.image, "link_folders");
    EXPECT_TRUE(link.alternateImage.isEmpty());
    EXPECT_TRUE(link.trackingEnabled);
    EXPECT_EQ(link.toolTip, "Open in Duplicate Folders");
}

} // namespace
