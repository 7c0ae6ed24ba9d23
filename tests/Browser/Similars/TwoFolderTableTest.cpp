#include "../../Results/ResultFixture.h"

#include "Browser/Common/AllowRemovingAllCopiesWC.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/Similars/HeapFilesCellView.h"
#include "Browser/Similars/HeapFilesSelectorVC.h"
#include "Browser/Similars/HeapFilesSelectorView.h"
#include "Browser/Similars/HeapFilesTexts.h"
#include "Browser/Similars/HeapView.h"
#include "Categories/Settings.h"
#include "Results/DuplicatesHeap.h"
#include "Results/HeapsFolderData.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QMessageBox>
#include <QTest>

#include <unistd.h>

#include <algorithm>
#include <numeric>
#include <set>

namespace {

using namespace Qt::StringLiterals;
using Side = HeapFilesSelectorVC::Side;
using Kind = HeapTableRows::Kind;
namespace T = HeapFilesTexts;

// Folder P holds a.jpg, B.jpg, c.jpg, notes.txt and the subfolder sub; folder Q holds a.jpg,
// B.jpg twice (B.jpg and b2.jpg), c.jpg and extra.png. The heap of P with Q has three groups,
// listed a, B, c; its unique files are notes.txt and sub on the left, extra.png on the right.
struct TwoFolderTableTest : ResultFixture {
    FolderSystemItem *p = nullptr, *q = nullptr, *sub = nullptr;
    FileSystemItem *pa = nullptr, *pb = nullptr, *pc = nullptr, *notes = nullptr;
    FileSystemItem *qa = nullptr, *qb = nullptr, *qb2 = nullptr, *qc = nullptr, *extra = nullptr;
    std::shared_ptr<DuplicatesHeap> heap;
    std::unique_ptr<HeapFilesSelectorVC> vc;
    QList<QByteArray> revealed;
    QList<int> arrowTypes;

    void SetUp() override {
        ResultFixture::SetUp();
        AnimationClock::instance().setMode(AnimationClock::Mode::Manual);
        Settings::setAllowRemovingAllDuplicateCopies(false);
        Settings::setShowRemoveLastInHeapsMessage(true);
        Settings::setExcludeFolders({});
        // No help overlay on the results screen: while one is up the pictures take no press.
        Settings::setShowOverlayOverviewScreen(false);
        Settings::setShowOverlaySimilarsScreen(false);
        HeapFilesSelectorVC::setWorkspaceForTesting(HeapFilesSelectorVC::Workspace{
            [this](const QByteArray& path) { revealed << path; }, [](const QByteArray&) {},
            [](const QByteArray&) {}, [](const QByteArray&, const QString&) {}});
        NotificationCenter::defaultCenter().addObserver(
            static_cast<const void*>(&arrowTypes),
            AppNotification::ArrowNavigationNotificationName(), [this](const Notification& note) {
                // Only the similar-folders view's lists: lists of other tests' screens that
                // still wait for their deferred deletion may answer the same keys.
                const int type = AppNotification::GetArrowNavigationTypeFromNotification(note);
                if (type <= ArrowNavigationTargetFolderComparison)
                    arrowTypes << type;
            });
        p = folder(root, "P");
        q = folder(root, "Q");
        pa = checked(file(p, "a.jpg", 200, 'a'));
        pb = checked(file(p, "B.jpg", 300, 'b'));
        pc = checked(file(p, "c.jpg", 100, 'c'));
        notes = file(p, "notes.txt", 10, 'n');
        sub = folder(p, "sub");
        file(sub, "inner.dat", 50, 'i');
        qa = checked(file(q, "a.jpg", 200, 'a'));
        qb = checked(file(q, "B.jpg", 300, 'b'));
        qb2 = checked(file(q, "b2.jpg", 300, 'b'));
        qc = checked(file(q, "c.jpg", 100, 'c'));
        extra = file(q, "extra.png", 20, 'e');
        root->calctotalsize();
        ASSERT_TRUE(container->addGroupWithItems({pa, qa}));
        ASSERT_TRUE(container->addGroupWithItems({pb, qb, qb2}));
        ASSERT_TRUE(container->addGroupWithItems({pc, qc}));
        container->saveRoots({root});
        DuplicatesManager::sharedManager().setDuplicateContainer(container);
        heap = makeHeap(p, q);
    }
    void TearDown() override {
        if (auto* popup = AllowRemovingAllCopiesWC::existingController())
            popup->close();
        AnimationClock::instance().advance(1000);
        vc.reset();
        HeapFilesSelectorVC::setWorkspaceForTesting(std::nullopt);
        NotificationCenter::defaultCenter().removeObserver(static_cast<const void*>(&arrowTypes));
        AnimationClock::instance().setMode(AnimationClock::Mode::Real);
        ResultFixture::TearDown();
    }
    static FileSystemItem* checked(FileSystemItem* node) {
        node->setIsCheckedForDuplicates(true);
        return node;
    }
    static std::shared_ptr<DuplicatesHeap> makeHeap(FolderSystemItem* a, FolderSystemItem* b) {
        return std::make_shared<DuplicatesHeap>(std::make_shared<HeapsFolderData>(a),
                                                std::make_shared<HeapsFolderData>(b));
    }
    HeapFilesSelectorVC& show() {
        vc = std::make_unique<HeapFilesSelectorVC>();
        vc->resize(800, 500);
        vc->show();
        QApplication::setActiveWindow(vc.get());
        vc->setHeap(heap);
        EXPECT_TRUE(TestSupport::waitFor([&] { return vc->progressStartsCount() == 0; }));
        vc->tableviewHeaps()->setFocus();
        return *vc;
    }
    static void press(quint16 code, quint32 flags = 0) {
        AppNotification::CreateKeyPressedNotificationWithEvent(KeyEvent{code, flags});
        QCoreApplication::processEvents();
    }
    static FileSystemItem* fileOf(const std::shared_ptr<DuplicateItem>& copy) {
        return copy ? copy->getFileSystemItem() : nullptr;
    }
    std::vector<std::pair<FileSystemItem*, FileSystemItem*>> pairFiles() const {
        std::vector<std::pair<FileSystemItem*, FileSystemItem*>> out;
        for (const HeapPairRow& row : vc->rows().pairs())
            out.emplace_back(fileOf(row.left), fileOf(row.right));
        return out;
    }
};

// ---- Rows as pure functions.

TEST(TwoFolderRowsTest, GroupsByGroupKeySortsByLeftNameAndPutsRightOnlyEntriesLast) {
    auto copy = [] { return std::make_shared<DuplicateItem>(); };
    const int g1 = 0, g2 = 0, g3 = 0;
    const auto b1 = copy(), b2 = copy(), b3 = copy(), a1 = copy(), a2 = copy(), r1 = copy();
    const std::vector<HeapFilesRows::CopySnapshot> snapshot = {
        {r1, &g3, false, QStringLiteral("zzz")},   {b1, &g1, true, QStringLiteral("b.jpg")},
        {b2, &g1, true, QStringLiteral("b.jpg")},  {a1, &g2, false, QStringLiteral("A.jpg")},
        {b3, &g1, false, QStringLiteral("b.jpg")}, {a2, &g2, true, QStringLiteral("A.jpg")},
    };
    const auto entries = HeapFilesRows::buildWorkingArray(snapshot);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].lists[0], (std::vector{a2}));
    EXPECT_EQ(entries[0].lists[1], (std::vector{a1}));
    EXPECT_EQ(entries[1].lists[0], (std::vector{b1, b2}));
    EXPECT_EQ(entries[1].lists[1], (std::vector{b3}));
    EXPECT_TRUE(entries[2].lists[0].empty());
    EXPECT_EQ(entries[2].lists[1], (std::vector{r1}));

    // Two left copies and one right give two rows: both sides, then the right side empty.
    const auto rows = HeapFilesRows::buildPairRows(entries, 1);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].left, b1);
    EXPECT_EQ(rows[1].right, b3);
    EXPECT_EQ(rows[1].info, (HeapRowInfo{true, false, true, 1}));
    EXPECT_EQ(rows[2].left, b2);
    EXPECT_EQ(rows[2].right, nullptr);
    EXPECT_EQ(rows[2].info, (HeapRowInfo{false, true, true, 1}));
    EXPECT_EQ(rows[0].info, (HeapRowInfo{true, true, false, 0}));
    EXPECT_EQ(rows[3].left, nullptr);

    const HeapTableRows table(rows, {});
    EXPECT_EQ(table.rowCount(), 5);
    EXPECT_EQ(table.kind(4), Kind::Header);
    EXPECT_EQ(table.kind(5), Kind::None);
    EXPECT_EQ(table.getRowIndexByGroup(1), 1);
    EXPECT_EQ(table.getRowIndexByGroup(7), 0);
    EXPECT_EQ(HeapTableRows().rowCount(), 0);
}

TEST(TwoFolderRowsTest, EntriesSortAsTheCaseInsensitiveComparisonOfTheirNames) {
    // Names where folding is more than ASCII: characters between the cases, one-way folds,
    // letters outside the first plane (a pair folds by its second half) and lone halves.
    const QStringList names = {
        u"b.jpg"_s,
        u"B.jpg"_s,
        u"[x]"_s,
        u"_a"_s,
        u"a"_s,
        u"A"_s,
        u"Ä"_s,
        u"ä"_s,
        u"ß"_s,
        u"SS"_s,
        u"ss"_s,
        u"Σ"_s,
        u"σ"_s,
        u"ς"_s,
        u"İ"_s,
        u"i"_s,
        u"ı"_s,
        u"\U00010400x"_s,
        u"\U00010428a"_s,
        QString(QChar(0xD801)),
        QString(QChar(0xDC00)) + u"z"_s,
        u""_s,
        u"a\u0301"_s,
        u"Zeta"_s,
        u"zeta"_s,
        u"ζ"_s,
        u"Ω"_s,
        u"ω"_s,
        u"\uFF21"_s,
        u"\uFF41"_s,
        u"10"_s,
        u"9"_s,
        u"ǅ"_s,
        u"ǆ"_s,
    };
    std::vector<int> keys(std::size_t(names.size()));
    std::vector<HeapFilesRows::CopySnapshot> snapshot;
    std::vector<std::shared_ptr<DuplicateItem>> copies;
    for (qsizetype n = 0; n < names.size(); ++n) {
        copies.push_back(std::make_shared<DuplicateItem>());
        snapshot.push_back({copies.back(), &keys[std::size_t(n)], true, names[n]});
    }
    std::vector<qsizetype> expected(std::size_t(names.size()));
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(), [&](qsizetype a, qsizetype b) {
        return names[a].compare(names[b], Qt::CaseInsensitive) < 0;
    });
    const auto entries = HeapFilesRows::buildWorkingArray(snapshot);
    ASSERT_EQ(entries.size(), std::size_t(names.size()));
    for (std::size_t e = 0; e < entries.size(); ++e)
        EXPECT_EQ(entries[e].lists[0].front(), copies[std::size_t(expected[e])])
            << "entry " << e << " should be " << names[expected[e]].toStdString();
}

TEST_F(TwoFolderTableTest, UniqueFilesLeaveOutTheSharedCopiesAndPairIndependently) {
    const auto entries = HeapFilesRows::buildWorkingArray(HeapFilesRows::takeSnapshot(*heap));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].leftName, QStringLiteral("B.jpg"));
    const auto rows =
        HeapFilesRows::buildOtherRows(p->childrenArray(), q->childrenArray(), entries);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].left, notes);
    EXPECT_EQ(rows[0].right, extra);
    EXPECT_EQ(rows[1].left, sub);
    EXPECT_EQ(rows[1].right, nullptr);
    EXPECT_EQ(rows[0].info, (HeapRowInfo{true, false, false, 0}));
    EXPECT_EQ(rows[1].info, (HeapRowInfo{false, true, false, 0}));

    // Folders with nothing of their own: the header row stays, the section is empty.
    const auto none = HeapFilesRows::buildOtherRows({}, {}, entries);
    const HeapTableRows table(HeapFilesRows::buildPairRows(entries, -1), none);
    EXPECT_EQ(table.rowCount(), 5);
    EXPECT_EQ(table.kind(4), Kind::Header);
}

// The lookup by folder answers what each copy's own lookup answers, whatever happened to
// the file, its folder or the path, and over many slices keeps the given order.
TEST_F(TwoFolderTableTest, GoneCopiesAreThoseTheCopiesThemselvesFindGone) {
    ASSERT_EQ(::unlink(qa->path().constData()), 0);
    // A file replaced by a link to nothing is still there for a look that follows no link.
    ASSERT_EQ(::unlink(qb->path().constData()), 0);
    ASSERT_EQ(::symlink("/nonexistent/target", qb->path().constData()), 0);
    // A file whose folder is gone.
    ASSERT_EQ(::unlink((sub->path() + "/inner.dat").constData()), 0);
    ASSERT_EQ(::rmdir(sub->path().constData()), 0);
    const auto inner = std::make_shared<DuplicateItem>();
    const auto empty = std::make_shared<DuplicateItem>();
    const auto bare = std::make_shared<DuplicateItem>();
    std::vector<HeapFilesRows::CopyPath> paths = {{inner.get(), sub->path() + "/inner.dat"},
                                                  {empty.get(), QByteArray()},
                                                  {bare.get(), "no-such-name-here"}};
    std::vector<const DuplicateItem*> expected = {inner.get(), empty.get(), bare.get()};
    for (FileSystemItem* node : {pa, pb, pc, qa, qb, qb2, qc}) {
        const DuplicateItem* copy = copyOf(node);
        paths.push_back({copy, copy->getFileItemPath()});
        if (copy->isMovedByUserOrDeleted())
            expected.push_back(copy);
    }
    ASSERT_TRUE(std::find(expected.begin(), expected.end(), copyOf(qa)) != expected.end());
    ASSERT_TRUE(std::find(expected.begin(), expected.end(), copyOf(qb)) == expected.end());
    const auto gone = HeapFilesRows::movedOrDeletedCopies(paths);
    EXPECT_EQ(std::set(gone.begin(), gone.end()), std::set(expected.begin(), expected.end()));
    EXPECT_EQ(gone.size(), expected.size());

    // Thousands of copies of one folder, every third one present, on several threads.
    std::vector<std::shared_ptr<DuplicateItem>> many(5000);
    std::vector<HeapFilesRows::CopyPath> manyPaths;
    std::vector<const DuplicateItem*> manyGone;
    for (std::size_t i = 0; i < many.size(); ++i) {
        many[i] = std::make_shared<DuplicateItem>();
        const bool present = i % 3 == 0;
        manyPaths.push_back(
            {many[i].get(),
             present ? pa->path() : p->path() + "/missing" + QByteArray::number(qulonglong(i))});
        if (!present)
            manyGone.push_back(many[i].get());
    }
    EXPECT_EQ(HeapFilesRows::movedOrDeletedCopies(manyPaths), manyGone);
}

// Whether a copy is gone is looked up on disk when the rows come in, when the application
// becomes active and when the result changed; painting and hovering answer from that.
TEST_F(TwoFolderTableTest, PaintingAndHoveringAnswerFromTheLastLookUpOfTheDisk) {
    HeapFilesSelectorVC& t = show();
    const DuplicateItem* copy = copyOf(qa);
    ASSERT_TRUE(copy);
    EXPECT_FALSE(t.isCopyMovedOrDeleted(copy));
    ASSERT_EQ(::unlink(qa->path().constData()), 0);
    (void)t.grab();
    QTest::mouseMove(t.tableviewHeaps()->viewport(), QPoint(600, 20));
    EXPECT_FALSE(t.isCopyMovedOrDeleted(copy)) << "not looked up again by a paint or a hover";

    Q_EMIT qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_TRUE(t.isCopyMovedOrDeleted(copy));
    EXPECT_FALSE(t.isCopyMovedOrDeleted(copyOf(pa)));

    // A file put back is seen at the next change of the result.
    ASSERT_TRUE(TestSupport::writeFile(qa->path(), QByteArray(200, 'a')));
    EXPECT_TRUE(t.isCopyMovedOrDeleted(copy));
    AppNotification::CreateDuplicatesContainerDataChangedNotification();
    EXPECT_FALSE(t.isCopyMovedOrDeleted(copy));
}

TEST_F(TwoFolderTableTest, TableShowsTheHeapsRowsAndEmptiesForNoHeap) {
    HeapFilesSelectorVC& t = show();
    QAbstractItemModelTester tester(t.tableviewHeaps()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    const std::vector<std::pair<FileSystemItem*, FileSystemItem*>> expected = {
        {pa, qa}, {pb, qb}, {nullptr, qb2}, {pc, qc}};
    EXPECT_EQ(pairFiles(), expected);
    EXPECT_EQ(t.rows().rowCount(), 7);
    EXPECT_EQ(t.tableviewHeaps()->rowHeight(0), 48);
    EXPECT_EQ(t.tableviewHeaps()->rowHeight(4), 29);
    EXPECT_EQ(t.tableviewHeaps()->rowHeight(5), 30);
    EXPECT_FALSE(t.headerView()->isSpinning());

    t.setHeap(nullptr);
    EXPECT_EQ(t.tableviewHeaps()->model()->rowCount(), 0);
    EXPECT_TRUE(t.isHidden());
}

TEST_F(TwoFolderTableTest, QuickHeapChangesKeepTheSpinnerUntilTheLastBuildAndShowOnlyTheLastHeap) {
    auto other = makeHeap(q, p);
    vc = std::make_unique<HeapFilesSelectorVC>();
    vc->resize(800, 500);
    vc->show();
    {
        TestSupport::QueueGate gate(vc->workingArrayQueue());
        vc->setHeap(heap);
        vc->setHeap(other);
        EXPECT_EQ(vc->progressStartsCount(), 2);
        EXPECT_TRUE(vc->headerView()->isSpinning());
        gate.open();
        ASSERT_TRUE(TestSupport::waitFor([&] { return vc->progressStartsCount() == 0; }));
    }
    EXPECT_FALSE(vc->headerView()->isSpinning());
    EXPECT_EQ(vc->selectedGroup(), -1);
    // The second heap's main folder is Q: its copies stand on the left.
    ASSERT_FALSE(vc->rows().pairs().empty());
    EXPECT_EQ(fileOf(vc->rows().pairs()[0].left), qa);

    // While the next heap's rows are built, a reload shows the rows and folders of the heap
    // on screen, never the new folders with the old rows.
    {
        TestSupport::QueueGate gate(vc->workingArrayQueue());
        vc->setHeap(heap);
        ASSERT_TRUE(TestSupport::waitFor([&] { return gate.isReached(); }));
        vc->reloadData();
        EXPECT_EQ(vc->shownHeap(), other);
        EXPECT_EQ(vc->mainFolderItem(), q);
        EXPECT_EQ(fileOf(vc->rows().pairs()[0].left), qa);
        ASSERT_EQ(vc->rows().otherCount(), 2);
        EXPECT_EQ(vc->rows().others()[0].left, extra);
        gate.open();
        ASSERT_TRUE(TestSupport::waitFor([&] { return vc->progressStartsCount() == 0; }));
    }
    EXPECT_EQ(vc->shownHeap(), heap);
    EXPECT_EQ(fileOf(vc->rows().pairs()[0].left), pa);

    // A build that ends after the table moved to no heap shows nothing.
    {
        TestSupport::QueueGate gate(vc->workingArrayQueue());
        vc->setHeap(heap);
        vc->setHeap(nullptr);
        gate.open();
        ASSERT_TRUE(TestSupport::waitFor([&] { return vc->progressStartsCount() == 0; }));
    }
    EXPECT_EQ(vc->rows().rowCount(), 0);
}

// ---- Check boxes.

TEST_F(TwoFolderTableTest, RowCheckboxLooksFollowTheLastCopyRules) {
    HeapFilesSelectorVC& t = show();
    using A = HeapCheckboxRules::Action;
    struct Case {
        const char* name;
        std::function<void()> arrange;
        int row;
        Side side;
        QString shown;
        QString alternate;
        A action;
        QString tooltip;
    };
    const std::vector<Case> cases = {
        {"ordinary", [] {}, 0, Side::Right, "checkbox0", "checkbox1", A::Press,
         T::selectForRemovalTip},
        {"selected", [&] { copyOf(pa)->selectItemForced(false); }, 0, Side::Left, "checkbox1",
         "checkbox1", A::Press, T::deselectFromRemoval},
        {"last copy, not allowed", [] {}, 0, Side::Right, "checkbox_LastCopy", "", A::Disabled,
         T::lastCopyTip},
        {"last copy, allowed", [] { Settings::setAllowRemovingAllDuplicateCopies(true); }, 0,
         Side::Right, "checkbox0_red", "checkbox1_red", A::Press, T::selectForRemovalTip},
        {"group fully selected", [&] { copyOf(qa)->selectItemForced(true); }, 0, Side::Right,
         "checkbox1_red", "checkbox1_red", A::Press, T::deselectFromRemoval},
    };
    for (const Case& c : cases) {
        c.arrange();
        t.reloadData();
        const auto look = t.rowCheckboxLook(c.row, c.side);
        EXPECT_EQ(look.shownImage(), c.shown) << c.name;
        EXPECT_EQ(look.alternateImage, c.alternate) << c.name;
        EXPECT_EQ(look.action, c.action) << c.name;
        EXPECT_EQ(look.tooltip, c.tooltip) << c.name;
    }
}

TEST_F(TwoFolderTableTest, HeaderCheckboxLooksCountTheFoldersCommonCopies) {
    HeapFilesSelectorVC& t = show();
    auto left = t.headerCheckboxLook(Side::Left);
    EXPECT_EQ(left.shownImage(), QStringLiteral("checkbox0"));
    EXPECT_EQ(left.tooltip, T::selectAllCommonTip.arg(QStringLiteral("Q")));
    EXPECT_EQ(t.headerCheckboxLook(Side::Right).tooltip,
              T::selectAllCommonTip.arg(QStringLiteral("P")));

    // Some of P's common copies selected: on, with the partial picture; a press deselects all.
    copyOf(pa)->selectItemForced(false);
    left = t.headerCheckboxLook(Side::Left);
    EXPECT_TRUE(left.state);
    EXPECT_EQ(left.shownImage(), QStringLiteral("checkbox-"));
    EXPECT_EQ(left.tooltip, T::deselectAllCommonTip.arg(QStringLiteral("Q")));
    const int before = selectionPosts;
    t.headerCheckboxPressed(Side::Left);
    EXPECT_FALSE(copyOf(pa)->isSelected());
    EXPECT_EQ(selectionPosts, before + 1);

    // Every common copy of Q selected: each of P's copies is a last copy.
    t.headerCheckboxPressed(Side::Right);
    EXPECT_TRUE(copyOf(qa)->isSelected() && copyOf(qb)->isSelected() && copyOf(qb2)->isSelected() &&
                copyOf(qc)->isSelected());
    left = t.headerCheckboxLook(Side::Left);
    EXPECT_EQ(left.shownImage(), QStringLiteral("checkbox_LastCopy"));
    EXPECT_EQ(left.action, HeapCheckboxRules::Action::Disabled);
    EXPECT_EQ(left.tooltip, T::lastCopiesFolderTip);
    t.headerCheckboxPressed(Side::Left, QRect(10, 10, 16, 16));
    EXPECT_FALSE(copyOf(pa)->isSelected());
    ASSERT_TRUE(AllowRemovingAllCopiesWC::existingController());
    EXPECT_TRUE(AllowRemovingAllCopiesWC::existingController()->isVisible());

    // Allowed: red, and the press asks first; OK with the box checked selects and stops asking.
    Settings::setAllowRemovingAllDuplicateCopies(true);
    left = t.headerCheckboxLook(Side::Left);
    EXPECT_EQ(left.shownImage(), QStringLiteral("checkbox0_red"));
    t.headerCheckboxPressed(Side::Left);
    ASSERT_TRUE(t.lastCopyAlert());
    EXPECT_EQ(t.lastCopyAlert()->informativeText(), T::lastCopiesInFolder.arg("P"));
    t.lastCopyAlert()->checkBox()->setChecked(true);
    t.lastCopyAlert()->buttons().first()->click();
    EXPECT_TRUE(copyOf(pa)->isSelected() && copyOf(pb)->isSelected());
    EXPECT_FALSE(Settings::showRemoveLastInHeapsMessage());
}

TEST_F(TwoFolderTableTest, LastCopySheetCancelKeepsTheCopyAndTheSetting) {
    HeapFilesSelectorVC& t = show();
    Settings::setAllowRemovingAllDuplicateCopies(true);
    t.rowCheckboxPressed(0, Side::Left);
    EXPECT_TRUE(copyOf(pa)->isSelected());
    t.rowCheckboxPressed(0, Side::Right);
    ASSERT_TRUE(t.lastCopyAlert());
    EXPECT_EQ(t.lastCopyAlert()->informativeText(),
              T::allCopiesWillBeSelected.arg(T::fileWord, QStringLiteral("a.jpg")));
    t.lastCopyAlert()->checkBox()->setChecked(true);
    t.lastCopyAlert()->buttons().last()->click();
    EXPECT_FALSE(copyOf(qa)->isSelected());
    EXPECT_TRUE(Settings::showRemoveLastInHeapsMessage());
    // A second click deselects what the first selected.
    t.reloadData();
    t.rowCheckboxPressed(0, Side::Left);
    EXPECT_FALSE(copyOf(pa)->isSelected());
}

// ---- Keys 1 and 2.

TEST_F(TwoFolderTableTest, ColumnKeysActOnTheKeysSideWhateverThePointer) {
    HeapFilesSelectorVC& t = show();
    press(19); // 2 without a current group
    EXPECT_FALSE(copyOf(qb)->isSelected() || copyOf(qa)->isSelected());

    t.selectRow(1, Side::Left); // group B
    ASSERT_EQ(t.selectedGroup(), 1);
    // The pointer rests over the right half; key 1 still means the left column.
    t.setPointerX(700);
    press(18);
    EXPECT_TRUE(copyOf(pb)->isSelected());
    EXPECT_FALSE(copyOf(qb)->isSelected() || copyOf(qb2)->isSelected());
    press(18);
    EXPECT_FALSE(copyOf(pb)->isSelected());

    // Key 2 clicks each right box in turn; the guard keeps the last one.
    t.setPointerX(10);
    press(19);
    EXPECT_TRUE(copyOf(qb)->isSelected());
    EXPECT_TRUE(copyOf(qb2)->isSelected());
    EXPECT_FALSE(copyOf(pb)->isSelected());
    press(19);
    EXPECT_FALSE(copyOf(qb)->isSelected() || copyOf(qb2)->isSelected());

    // With Command held, nothing.
    press(18, KeyEvent::CommandKeyMask);
    EXPECT_FALSE(copyOf(pb)->isSelected());
}

// ---- Navigation.

TEST_F(TwoFolderTableTest, ArrowsWalkTheGroupsThenTheUniqueColumns) {
    HeapFilesSelectorVC& t = show();
    struct Step {
        quint16 key;
        quint32 flags;
        int group;
        FileSystemItem* unique;
    };
    const std::vector<Step> steps = {
        {125, 0, 0, nullptr},
        {125, 0, 1, nullptr},
        {125, 0, 2, nullptr},
        {125, 0, -1, notes}, // past the last group: the first unique row's left file
        {124, 0, -1, extra}, // right
        {125, 0, -1, extra}, // the right column ends
        {123, 0, -1, notes}, // left
        {125, 0, -1, sub},
        {124, 0, -1, sub}, // no right file in that row
        {126, 0, -1, notes},
        {126, 0, 2, nullptr}, // up from the first unique row: the last group
        {126, KeyEvent::OptionKeyMask, 0, nullptr},
        {125, KeyEvent::OptionKeyMask, -1, sub},
        {125, KeyEvent::CommandKeyMask, -1, sub},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        press(steps[i].key, steps[i].flags);
        EXPECT_EQ(t.selectedGroup(), steps[i].group) << "step " << i;
        EXPECT_EQ(t.selectedOtherFileItem(), steps[i].unique) << "step " << i;
    }
    EXPECT_EQ(t.getSelectedFileItem(), sub);
    EXPECT_EQ(t.lastSelectedRow(), t.rows().getRowIndexByOtherFile(sub));
}

TEST_F(TwoFolderTableTest, TabShiftTabAndLeftHandTheFocusOn) {
    HeapFilesSelectorVC& t = show();
    press(48);
    ASSERT_TRUE(TestSupport::waitFor([&] { return arrowTypes.size() == 1; }));
    press(48, KeyEvent::ShiftKeyMask);
    ASSERT_TRUE(TestSupport::waitFor([&] { return arrowTypes.size() == 2; }));
    t.selectRow(0, Side::Left);
    press(123);
    ASSERT_TRUE(TestSupport::waitFor([&] { return arrowTypes.size() == 3; }));
    EXPECT_EQ(arrowTypes,
              (QList<int>{ArrowNavigationTargetFolderPicker, ArrowNavigationTargetHeapsPicker,
                          ArrowNavigationTargetHeapsPicker}));

    // Focus arriving selects the first group's row.
    t.tableviewHeaps()->clearFocus();
    AppNotification::CreateArrowNavigationNotificationWithType(
        ArrowNavigationTargetFolderComparison);
    ASSERT_TRUE(TestSupport::waitFor([&] { return t.tableviewHeaps()->hasFocus(); }));
    EXPECT_EQ(t.selectedGroup(), 0);
    EXPECT_EQ(t.lastSelectedRow(), 0);
}

TEST_F(TwoFolderTableTest, ClicksPickTheSideUnderThePointer) {
    HeapFilesSelectorVC& t = show();
    auto* table = t.tableviewHeaps();
    auto click = [&](int row, int x) {
        const QRect rect = table->visualRect(table->model()->index(row, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(x, rect.center().y()));
    };
    const int w = table->viewport()->width();
    click(0, w - 100);
    EXPECT_EQ(t.selectedFileSystemItem(), qa);
    EXPECT_EQ(t.selectedGroup(), 0);
    click(0, 200);
    EXPECT_EQ(t.selectedFileSystemItem(), pa);
    // The left side is empty: the right copy wherever the pointer is.
    click(2, 200);
    EXPECT_EQ(t.selectedFileSystemItem(), qb2);
    // The menu command reads the group's first left copy whatever side was reported.
    EXPECT_EQ(t.getSelectedFileItem(), pb);
    // The header row: no group, nothing reported.
    click(4, 200);
    EXPECT_EQ(t.selectedGroup(), -1);
    EXPECT_EQ(t.getSelectedFileItem(), nullptr);
    // Unique rows: the half clicked, nothing for an empty half; the middle is the right half.
    click(5, int(HeapFilesCellView::halfWidth(w)));
    EXPECT_EQ(t.selectedOtherFileItem(), extra);
    click(6, w - 100);
    EXPECT_EQ(t.selectedOtherFileItem(), nullptr);
    // A check box click selects without choosing the row.
    const QRectF box = HeapFilesCellView::checkboxRect(
        table->visualRect(table->model()->index(3, 0)), Side::Left, w);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, box.center().toPoint());
    EXPECT_TRUE(copyOf(pc)->isSelected());
}

TEST_F(TwoFolderTableTest, ShowJumpsToTheFirstUniqueFileOfTheSide) {
    HeapFilesSelectorVC& t = show();
    t.scrollToUniqueFilesAndSelectLeftItem(false);
    EXPECT_EQ(t.selectedOtherFileItem(), extra);
    EXPECT_TRUE(t.isTableViewActive());
    t.scrollToUniqueFilesAndSelectLeftItem(true);
    EXPECT_EQ(t.selectedOtherFileItem(), notes);
    EXPECT_EQ(t.lastSelectedRow(), 5);
    const QRectF frame = t.getUniqueFilesCellFrame();
    EXPECT_FALSE(frame.isEmpty());
    EXPECT_EQ(frame.height(), 29);
    // Scrolled out of sight, the header row has no frame.
    t.resize(800, 29 + 60);
    t.tableviewHeaps()->scrollToTop();
    QCoreApplication::processEvents();
    EXPECT_TRUE(t.getUniqueFilesCellFrame().isEmpty());
}

// ---- Menus and commands.

TEST_F(TwoFolderTableTest, MenusOfferTheSidesCommands) {
    HeapFilesSelectorVC& t = show();
    auto titles = [](const QMenu* menu) {
        QStringList out;
        for (const QAction* action : menu->actions())
            if (!action->isSeparator())
                out << action->text();
        return out;
    };
    QMenu* menu = t.menuForPairRow(0, Side::Left);
    ASSERT_TRUE(menu);
    EXPECT_EQ(titles(menu),
              (QStringList{T::selectForRemoval, T::showInDuplicates, T::showInFileManager,
                           T::properties, T::open, T::openWith}));
    EXPECT_FALSE(t.menuForPairRow(2, Side::Left)); // empty side
    // A last copy under the guard has no selection entry.
    copyOf(pa)->selectItemForced(false);
    EXPECT_EQ(titles(t.menuForPairRow(0, Side::Right)).first(), T::showInDuplicates);
    // A unique folder: reveal and properties only.
    EXPECT_EQ(titles(t.menuForOtherRow(6, Side::Left)),
              (QStringList{T::showInFileManager, T::properties}));
    EXPECT_FALSE(t.menuForOtherRow(6, Side::Right));
    // The band: the box's command names the other folder.
    EXPECT_EQ(titles(t.menuForFolder(Side::Left)),
              (QStringList{T::deselectAllCommonWith.arg("Q"), T::addToSkipList.arg("P"),
                           T::showInFileManager, T::properties}));
}

TEST_F(TwoFolderTableTest, SkipListGetsTheFolderOnceAndItsCopiesLeave) {
    HeapFilesSelectorVC& t = show();
    const QString path = QFile::decodeName(q->path());
    Settings::setExcludeFolders({path});
    t.addFolderToSkipList(Side::Right);
    EXPECT_EQ(Settings::excludeFolders(), QStringList{path});
    // Q's copies left the result; groups of one copy went with them.
    EXPECT_EQ(copyOf(qa), nullptr);
    EXPECT_EQ(copyOf(qb), nullptr);
    EXPECT_EQ(copyOf(pa), nullptr);
}

TEST_F(TwoFolderTableTest, MainMenuCommandsOnlyInTheSimilarsViewWithoutTheReviewPanel) {
    SelectDuplicatesVC screen;
    screen.resize(1100, 700);
    screen.show();
    screen.pressOverviewButton();
    AnimationClock::instance().advance(2000);
    screen.showHeapView();
    AnimationClock::instance().advance(2000);
    HeapFilesSelectorVC* t = screen.heapFilesSelectorVC();
    ASSERT_TRUE(t);
    screen.heapSelected(heap);
    ASSERT_TRUE(TestSupport::waitFor([&] { return t->progressStartsCount() == 0; }));
    AppNotification::CreateRevealInFinderNotification();
    EXPECT_TRUE(revealed.isEmpty()); // nothing picked yet
    t->selectRow(0, Side::Right);
    EXPECT_EQ(screen.heapView()->previewItem(), qa);
    AppNotification::CreateRevealInFinderNotification();
    EXPECT_EQ(revealed, QList<QByteArray>{qa->path()});
    screen.openSelectedFilesView();
    AppNotification::CreateRevealInFinderNotification();
    EXPECT_EQ(revealed.size(), 1);
    screen.removeSelectedView();
    AnimationClock::instance().advance(2000);
    screen.showOverview();
    AppNotification::CreateRevealInFinderNotification();
    EXPECT_EQ(revealed.size(), 1);
    AnimationClock::instance().advance(3000);
}

TEST_F(TwoFolderTableTest, ShowInTheCirclesSelectsTheFirstUniqueFileOfItsSide) {
    SelectDuplicatesVC screen;
    screen.resize(1100, 700);
    screen.show();
    screen.pressOverviewButton();
    AnimationClock::instance().advance(2000);
    screen.showHeapView();
    AnimationClock::instance().advance(2000);
    HeapFilesSelectorVC* t = screen.heapFilesSelectorVC();
    HeapView* view = screen.heapView();
    ASSERT_TRUE(t && view);
    screen.heapSelected(heap);
    ASSERT_TRUE(TestSupport::waitFor([&] { return t->progressStartsCount() == 0; }));
    view->resize(800, 240);
    view->grab();
    auto clickShow = [&](const QRectF& yUp) {
        const QPoint at(int(yUp.center().x()), int(view->height() - yUp.center().y()));
        QTest::mouseClick(view, Qt::LeftButton, {}, at);
    };
    ASSERT_FALSE(view->secondShowRect().isEmpty());
    clickShow(view->secondShowRect());
    EXPECT_EQ(t->selectedOtherFileItem(), extra);
    EXPECT_EQ(view->previewItem(), extra);
    view->removeQuickLook();
    view->grab();
    clickShow(view->mainShowRect());
    EXPECT_EQ(t->selectedOtherFileItem(), notes);
    // A press that ends outside the button does nothing.
    t->selectRow(0, Side::Left);
    view->removeQuickLook();
    view->grab();
    const QRectF main = view->mainShowRect();
    QTest::mousePress(view, Qt::LeftButton, {},
                      QPoint(int(main.center().x()), int(view->height() - main.center().y())));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(t->selectedOtherFileItem(), nullptr);
    AnimationClock::instance().advance(3000);
}

} // namespace
