// The overview's charts and hints under the pointer, over real scans.
#include "../../Results/ResultFixture.h"
#include "OverviewFixture.h"

#include "Browser/Frame/CategoryStateManager.h"
#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Categories/FileSize.h"
#include "Platform/Dispatch.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeap.h"
#include "Results/HeapsFolderData.h"
#include "Selection/DuplicatesManagerDelegate.h"
#include "Selection/OperationsManager.h"

#include <cmath>

namespace {

using OverviewChartsTest = OverviewFixture;

// The point at |radius| from the pie's centre in direction |angle| (degrees, y up), in the
// widget's own y-down coordinates.
QPointF onPie(const PieChartView* pie, double radius, double angle) {
    const double a = angle * M_PI / 180.0;
    return {pie->width() / 2.0 + radius * std::cos(a), pie->height() / 2.0 - radius * std::sin(a)};
}

struct TwoCategories : OverviewChartsTest {
    void SetUp() override {
        OverviewChartsTest::SetUp();
        copies("p.jpg", 40000, 'a', {"A", "B"});
        copies("s.mp3", 20000, 'b', {"A", "C"}); // no folder is a copy of another
        scan();
    }
    int pictures(const PieChartView* pie) const {
        for (size_t i = 0; i < pie->categories().size(); ++i)
            if (pie->categories()[i].name == QLatin1String("Pictures"))
                return int(i);
        return -1;
    }
};

TEST_F(TwoCategories, PieHoverOutlinesASliceAndAClickOpensItsCategory) {
    OverviewVC& overview = makeScreen();
    overview.pieButtonPressed();
    PieChartView* pie = overview.pieChartView();
    ASSERT_EQ(pie->categories().size(), 2u);
    const int index = pictures(pie);
    ASSERT_GE(index, 0);
    const float middle = pie->sectorCenterAngles()[size_t(index)];
    const QPointF inSlice = onPie(pie, 65, middle); // under the centre disc, still the ring

    DuplicatesManager::sharedManager().setOverlayOnScreen(true);
    hover(pie, inSlice);
    EXPECT_EQ(pie->selectedPiece(), -1);
    DuplicatesManager::sharedManager().setOverlayOnScreen(false);
    hover(pie, inSlice);
    EXPECT_EQ(pie->selectedPiece(), index);
    EXPECT_EQ(pie->cursor().shape(), Qt::PointingHandCursor);
    hover(pie, onPie(pie, 30, middle)); // the hole belongs to no slice
    EXPECT_EQ(pie->selectedPiece(), -1);
    EXPECT_EQ(pie->cursor().shape(), Qt::ArrowCursor);
    // A callout's text highlights its slice too.
    hover(pie, pie->tooltipRects()[size_t(index)].center());
    EXPECT_EQ(pie->selectedPiece(), index);

    click(pie, inSlice);
    EXPECT_EQ(screen->state(), SelectDuplicatesVC::StateCategory);
    EXPECT_EQ(screen->duplicatesToolbar()->selectedButton(),
              screen->duplicatesToolbar()->categoryButton(0));
}

TEST_F(TwoCategories, ACalloutClickOpensItsCategory) {
    OverviewVC& overview = makeScreen();
    overview.pieButtonPressed();
    PieChartView* pie = overview.pieChartView();
    const int index = pictures(pie);
    ASSERT_GE(index, 0);
    click(pie, pie->tooltipRects()[size_t(index)].center());
    EXPECT_EQ(screen->duplicatesToolbar()->selectedButton(),
              screen->duplicatesToolbar()->categoryButton(0));
}

TEST_F(TwoCategories, PieDragTurnsSpinsAndSlowsToRest) {
    OverviewVC& overview = makeScreen();
    overview.pieButtonPressed();
    PieChartView* pie = overview.pieChartView();
    const float start = pie->startAngle();

    press(pie, onPie(pie, 150, 0));
    drag(pie, onPie(pie, 150, 12));
    EXPECT_NEAR(pie->torque(), 12, 0.01);
    EXPECT_NEAR(pie->startAngle(), start + 12, 0.01);
    release(pie, onPie(pie, 150, 12));
    ASSERT_TRUE(pie->isSpinning());
    int ticks = 0;
    while (pie->isSpinning() && ticks < 1000) {
        pie->torqueAction();
        ++ticks;
    }
    EXPECT_FALSE(pie->isSpinning());
    EXPECT_EQ(pie->torque(), 0);
    EXPECT_GT(ticks, 100);
    EXPECT_EQ(screen->state(), SelectDuplicatesVC::StateOverview); // a release after a drag

    // Across the seam of atan2 a small drag stays small.
    press(pie, onPie(pie, 150, 179));
    drag(pie, onPie(pie, 150, -179));
    EXPECT_NEAR(pie->torque(), 2, 0.01);
    release(pie, onPie(pie, 150, -179));
    EXPECT_TRUE(pie->isSpinning());
    // A press stops the spin; the release without a drag is a click.
    const int index = pictures(pie);
    const QPointF inSlice = onPie(pie, 100, pie->sectorCenterAngles()[size_t(index)]);
    press(pie, inSlice);
    EXPECT_FALSE(pie->isSpinning());
    release(pie, inSlice);
    EXPECT_EQ(screen->state(), SelectDuplicatesVC::StateCategory);
}

TEST_F(TwoCategories, BarClicksOpenCategoriesExceptWhileAnimatingOrOffTheBars) {
    OverviewVC& overview = makeScreen();
    BarChartView* bars = overview.barChartView();
    auto centreOf = [&](const QRectF& yUp) {
        return QPointF(yUp.center().x(), bars->height() - yUp.center().y());
    };
    const QPointF picturesBar = centreOf(bars->bars()[0].hitArea);
    EXPECT_EQ(bars->barAt(picturesBar), 0);

    screen->setAnimating(true);
    click(bars, picturesBar);
    EXPECT_EQ(screen->state(), SelectDuplicatesVC::StateOverview);
    screen->setAnimating(false);
    click(bars, centreOf(bars->bars()[0].labelBlock));
    click(bars, centreOf(bars->bars()[1].labelBlock)); // movies: empty, 0 high
    EXPECT_EQ(bars->barAt(centreOf(bars->bars()[1].labelBlock)), -1);
    EXPECT_EQ(screen->state(), SelectDuplicatesVC::StateOverview);

    hover(bars, picturesBar);
    EXPECT_EQ(bars->cursor().shape(), Qt::PointingHandCursor);
    click(bars, picturesBar);
    EXPECT_EQ(screen->state(), SelectDuplicatesVC::StateCategory);
    EXPECT_EQ(screen->duplicatesToolbar()->selectedButton(),
              screen->duplicatesToolbar()->categoryButton(0));
}

TEST_F(TwoCategories, BarsFollowARemovalFromTheResult) {
    OverviewVC& overview = makeScreen();
    BarChartView* bars = overview.barChartView();
    const auto pictures = container->getCategoryWithType(0);
    ASSERT_EQ(bars->entries()[0].size, 80000);
    const float musicHeight = float(bars->bars()[2].bar.height());

    DuplicatesManager::sharedManager().getOperationsManager().removeGroupFromDuplicatesList(
        pictures->getGroups().front());
    ASSERT_TRUE(TestSupport::waitFor([&] { return bars->entries()[0].size == 0; }));
    EXPECT_EQ(bars->bars()[0].bar.height(), 0);
    EXPECT_EQ(bars->bars()[0].labelBlock.height(), 20);
    EXPECT_GT(bars->bars()[2].bar.height(), musicHeight); // music is now the tallest
    // The pie, though hidden behind the bars, follows as well.
    const PieChartView* pie = overview.pieChartView();
    ASSERT_TRUE(TestSupport::waitFor([&] { return pie->categories().size() == 1; }));
    EXPECT_EQ(pie->categories()[0].name, QStringLiteral("Music"));
}

TEST_F(OverviewChartsTest, HeapsChartRowsForNoneOneAndTenPairs) {
    struct Case {
        int folders;
        size_t rows;
        int height;
    };
    for (const Case& c : {Case{0, 0, 0}, Case{2, 1, 98}, Case{5, 5, 256}}) {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        copies("p.jpg", 40000, 'a', {"A", "B"});
        similarFolders(c.folders);
        scan();
        OverviewVC& overview = makeScreen();
        const HeapsChart* chart = overview.heapsChartView();
        EXPECT_EQ(chart->rows().size(), c.rows) << c.folders;
        EXPECT_EQ(chart->height(), c.height) << c.folders;
        EXPECT_EQ(chart->width(), c.rows ? 320 : 0) << c.folders;
        EXPECT_EQ(screen->overviewHeapsChartVisible(), c.rows > 0) << c.folders;
        if (c.folders == 5) {
            // Ten pairs of equal size: five rows, bars of equal width.
            EXPECT_EQ(DuplicatesManager::sharedManager()
                          .pleaseCalculateBiggestHeapsWithMaxResultCount(10)
                          .size(),
                      10u);
            EXPECT_EQ(chart->rows()[0].size, chart->rows()[4].size);
        }
        screen.reset();
    }
}

TEST_F(OverviewChartsTest, AHeapsRowOpensItsPairFromTheBarOrEitherName) {
    copies("p.jpg", 40000, 'a', {"A", "B"});
    similarFolders(2);
    scan();
    OverviewVC& overview = makeScreen();
    HeapsChart* chart = overview.heapsChartView();
    ASSERT_EQ(chart->rows().size(), 1u);
    const auto heap = chart->rows()[0].heap.lock();
    ASSERT_TRUE(heap);
    // Row 0 (y up): bar (123, H - 77, 158, 27); names (16, H - 63.5) and (16, H - 76), 100 wide.
    const QPointF bar(200, 77 - 13);
    const QPointF secondName(60, 77 - 8);
    EXPECT_EQ(chart->rowAt(bar), 0);
    hover(chart, secondName);
    EXPECT_EQ(chart->selectedHeap(), 0);
    hover(chart, QPointF(5, 5));
    EXPECT_EQ(chart->selectedHeap(), -1);

    click(chart, secondName);
    EXPECT_EQ(screen->state(), SelectDuplicatesVC::StateSimilars);
    ASSERT_TRUE(CategoryStateManager::sharedManager().mainFolderItem());
    EXPECT_EQ(CategoryStateManager::sharedManager().mainFolderItem()->getFolderSystemItem(),
              heap->getMainFolderItem());
    EXPECT_EQ(CategoryStateManager::sharedManager().secondFolderItem()->getFolderSystemItem(),
              heap->getSecondFolderItem());
}

// A panel fed by hand: one group hint and one batch of automatic selection.
struct HintsPanel : OverviewChartsTest {
    std::shared_ptr<DuplicatesGroup> big, small;
    std::unique_ptr<QuickHintsView> hints;

    void SetUp() override {
        OverviewChartsTest::SetUp();
        copies("p.jpg", 40000, 'a', {"A", "B"});
        copies("s.mp3", 20000, 'b', {"A", "C"});
        scan();
        screen = std::make_unique<SelectDuplicatesVC>();
        screen->resize(1200, 713);
        screen->pressOverviewButton();
        big = container->getCategoryWithType(0)->getGroups().front();
        small = container->getCategoryWithType(2)->getGroups().front();
        hints = std::make_unique<QuickHintsView>();
        hints->setController(screen.get());
        hints->resize(320, 240);
        hints->show();
        // Every copy of the small group: the guard keeps the last one.
        AutoSelectCandidate candidate{small, small->getItems(), 40000};
        hints->onCalculateBiggestEasyForRemoveHeaps({});
        hints->onCalculatedDuplicatesForAutoselect({candidate});
        EXPECT_TRUE(hints->isCalculating());
        hints->onCalculatedBiggestGroups({big});
        EXPECT_FALSE(hints->isCalculating());
    }
    void TearDown() override {
        hints.reset();
        OverviewChartsTest::TearDown();
    }
    QPointF box(int k) const { return hints->boxRect(k).center(); }
};

TEST_F(HintsPanel, AnAutoselectHintSelectsUnderTheGuardAndOpensAllFiles) {
    EXPECT_EQ(hints->height(), 170);
    ASSERT_EQ(hints->currentRow().size(), 2u);
    EXPECT_EQ(hints->currentRow()[1]->plainText(),
              QStringLiteral("Click to autoselect 2 copies of files to clean up ") +
                  FileSize::formatMemoryStringDot1(40000));

    click(hints.get(), box(1));
    const auto items = small->getItems();
    EXPECT_TRUE(items[0]->isSelected());
    EXPECT_FALSE(items[1]->isSelected()); // the last unselected copy stays
    EXPECT_EQ(screen->state(), SelectDuplicatesVC::StateCategory);
    EXPECT_EQ(screen->duplicatesToolbar()->selectedButton(),
              screen->duplicatesToolbar()->allFilesButton());
    EXPECT_EQ(hints->clickedIndex(), 1);
}

TEST_F(HintsPanel, OnlyAPressAndReleaseInOneBoxWithoutOverlayAct) {
    press(hints.get(), box(0));
    release(hints.get(), box(1));
    DuplicatesManager::sharedManager().setOverlayOnScreen(true);
    click(hints.get(), box(0));
    DuplicatesManager::sharedManager().setOverlayOnScreen(false);
    EXPECT_EQ(screen->state(), SelectDuplicatesVC::StateOverview);

    hover(hints.get(), box(0));
    EXPECT_EQ(hints->hoveredIndex(), 0);
    EXPECT_EQ(hints->cursor().shape(), Qt::PointingHandCursor);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(hints.get(), &leave);
    EXPECT_EQ(hints->hoveredIndex(), -1);
}

TEST_F(HintsPanel, AHintWhoseGroupLeftTheResultDoesNothing) {
    DuplicatesManager::sharedManager().getOperationsManager().removeGroupFromDuplicatesList(big);
    TestSupport::spinFor(5);
    click(hints.get(), box(0));
    EXPECT_EQ(screen->state(), SelectDuplicatesVC::StateOverview);
}

TEST_F(HintsPanel, RefreshWrapsAfterTheLastRow) {
    EXPECT_EQ(hints->currentHintTrinity(), 0);
    hints->refreshButton()->click();
    EXPECT_EQ(hints->currentHintTrinity(), 0); // one row only
}

} // namespace

namespace {

TEST_F(OverviewChartsTest, PieWithNoneOneAndSeveralEntries) {
    struct Case {
        int groups; // of the files below, in this order: a picture, a song, a document
        size_t entries;
    };
    for (const Case& c : {Case{0, 0}, Case{1, 1}, Case{3, 3}}) {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        copies("unique.txt", 5000, 'u', {"A"});
        if (c.groups >= 1)
            copies("p.jpg", 40000, 'a', {"A", "B"});
        if (c.groups >= 3) {
            copies("s.mp3", 20000, 'b', {"A", "C"});
            copies("d.pdf", 10000, 'c', {"B", "C"});
        }
        scan();
        QWidget window;
        window.resize(900, 700);
        auto* pie = new PieChartView(&window);
        pie->setGeometry(0, 0, 830, 643);
        window.show();
        pie->redrawOverview();
        ASSERT_EQ(pie->categories().size(), c.entries) << c.groups;
        EXPECT_EQ(pie->sectorPaths().size(), c.entries);
        EXPECT_EQ(pie->tooltipRects().size(), c.entries);
        EXPECT_FLOAT_EQ(pie->radius(), 215);
        // The overlay learns the pie's circle in every case.
        const QList<QRectF>& frames = DuplicatesManager::getFramesArrayForScreenAndHint(1, 0);
        ASSERT_EQ(frames.size(), 1);
        EXPECT_EQ(frames[0].size(), QSizeF(430, 430));
        const QPointF centre(415, 321.5);
        if (c.entries == 0) {
            EXPECT_EQ(pie->totalSize(), 0u);
            hover(pie, centre + QPointF(100, 0));
            EXPECT_EQ(pie->selectedPiece(), -1);
        } else if (c.entries == 1) {
            // The whole disc, centre included; the callout runs to the right.
            EXPECT_TRUE(pie->sectorPaths()[0].contains(centre));
            EXPECT_EQ(pie->sectorCenterAngles()[0], 0);
            EXPECT_GT(pie->tooltipRects()[0].left(), centre.x() + 215);
        } else {
            EXPECT_FALSE(pie->sectorPaths()[0].contains(centre));
            // The callout of the entry after the largest (pictures) is placed first.
            EXPECT_EQ(pie->tipPlacements()[0].sectorNumber, 1);
        }
    }
}

} // namespace

namespace {

TEST_F(OverviewChartsTest, BarsTellTheOverlayOnlyWhenTheirPlacesChange) {
    copies("p.jpg", 40000, 'a', {"A", "B"});
    copies("s.mp3", 20000, 'b', {"A", "C"});
    scan();
    int posts = 0;
    NotificationCenter::defaultCenter().addObserver(static_cast<const void*>(&posts),
                                                    QStringLiteral("OverlayRedraw"),
                                                    [&posts](const Notification&) { ++posts; });
    {
        QWidget window;
        window.resize(900, 600);
        auto* bars = new BarChartView(&window);
        bars->setGeometry(0, 0, 830, 473);
        window.show();
        const int afterPlacing = posts;
        EXPECT_GE(afterPlacing, 1);
        EXPECT_EQ(DuplicatesManager::getFramesArrayForScreenAndHint(0, 0).size(), 8);
        bars->update();
        TestSupport::spinFor(5);   // painting tells nobody
        bars->updateChartValues(); // same totals, same places
        EXPECT_EQ(posts, afterPlacing);
        bars->resize(900, 473);
        EXPECT_EQ(posts, afterPlacing + 1);
    }
    NotificationCenter::defaultCenter().removeObserver(static_cast<const void*>(&posts));
}

TEST_F(OverviewChartsTest, AnswersForAChartThatIsGoneAreDropped) {
    copies("p.jpg", 40000, 'a', {"A", "B"});
    scan();
    screen = std::make_unique<SelectDuplicatesVC>();
    screen->setOverviewHeapsChartVisible(true);
    {
        HeapsChart chart;
        chart.setController(screen.get());
        QuickHintsView hints;
        hints.setController(screen.get());
    }
    Dispatch::waitUntilIdle();
    TestSupport::spinFor(20);
    // A live chart would have said there are no pairs.
    EXPECT_TRUE(screen->overviewHeapsChartVisible());
}

TEST_F(OverviewChartsTest, GroupHintTexts) {
    copies("a-very-long-file-name-for-a-picture-1.jpg", 40000, 'a', {"A", "B", "C"});
    copies("own.txt", 2000, '1', {"A"}); // no folder is a copy of another
    copies("own.txt", 2100, '2', {"B"});
    scan();
    const auto groups = container->getAllFilesGroups();
    ASSERT_EQ(groups.size(), 1u);
    const auto hints = QuickHintRecords::biggestGroupHints(groups);
    ASSERT_EQ(hints.size(), 1u);
    EXPECT_EQ(hints[0].plainText(), QStringLiteral("Select and remove 2 duplicates of "
                                                   "\"a-very-long-fi...-picture-1.jpg\" file "
                                                   "to clean up ") +
                                        FileSize::formatMemoryStringDot1(80000));
    EXPECT_TRUE(hints[0].name[2].bold);
    EXPECT_EQ(hints[0].size, 80000u);
}

// Two similar folders of the same name are told apart by their parents, in the hint and in
// the chart of biggest pairs.
TEST_F(OverviewChartsTest, SimilarFoldersOfOneNameShowTheParentThatTellsThemApart) {
    for (const char* folder : {"x/a/sub4", "x/b/sub4"}) {
        const QByteArray at = QFile::encodeName(dir.path()) + "/" + folder + "/";
        ASSERT_TRUE(TestSupport::writeFile(at + "x.jpg", QByteArray(8000, 'x')));
        ASSERT_TRUE(TestSupport::writeFile(at + "y.jpg", QByteArray(6000, 'y')));
        ASSERT_TRUE(TestSupport::writeFile(at + "own.txt",
                                           QByteArray(folder[2] == 'a' ? 3000 : 3001, 'o')));
    }
    scan();
    OverviewVC& overview = makeScreen();
    const HeapsChart* chart = overview.heapsChartView();
    ASSERT_EQ(chart->rows().size(), 1u);
    const QStringList names{chart->rows()[0].folder1, chart->rows()[0].folder2};
    EXPECT_TRUE(names.contains(QStringLiteral("a/sub4"))) << names.join(',').toStdString();
    EXPECT_TRUE(names.contains(QStringLiteral("b/sub4"))) << names.join(',').toStdString();

    const auto heaps =
        DuplicatesManager::sharedManager().pleaseCalculateBiggestHeapsWithMaxResultCount(10);
    const auto hints = QuickHintRecords::similarFolderHints(heaps);
    ASSERT_EQ(hints.size(), 1u);
    EXPECT_TRUE(hints[0].plainText().contains(QStringLiteral("a/sub4")))
        << hints[0].plainText().toStdString();
    EXPECT_TRUE(hints[0].plainText().contains(QStringLiteral("b/sub4")));
}

} // namespace

namespace {

struct HintNames : ResultFixture {};

TEST_F(HintNames, FoldersAreLedByAsFewParentsAsTellThemApart) {
    FolderSystemItem* x = folder(root, "x");
    FolderSystemItem* a = folder(folder(x, "a"), "sub4");
    FolderSystemItem* b = folder(folder(x, "b"), "sub4");
    FolderSystemItem* deepA = folder(folder(folder(x, "p"), "same"), "sub4");
    FolderSystemItem* deepB = folder(folder(folder(x, "q"), "same"), "sub4");
    FolderSystemItem* other = folder(x, "other");
    using Names = std::pair<QString, QString>;
    EXPECT_EQ(QuickHintRecords::distinguishingNames(a, b), Names("a/sub4", "b/sub4"));
    EXPECT_EQ(QuickHintRecords::distinguishingNames(deepA, deepB),
              Names("p/same/sub4", "q/same/sub4"));
    EXPECT_EQ(QuickHintRecords::distinguishingNames(a, other), Names("sub4", "other"));
    // One folder runs out of parents first: its whole path tells it apart.
    FolderSystemItem* top = folder(root, "sub4");
    const Names mixed = QuickHintRecords::distinguishingNames(top, a);
    EXPECT_NE(mixed.first, mixed.second);
    EXPECT_TRUE(mixed.first.endsWith(QStringLiteral("/sub4")));
}

// Nothing is offered that would free nothing: a group of empty files, an automatic selection
// of empty copies.
TEST_F(HintNames, HintsThatFreeNothingAreLeftOut) {
    FolderSystemItem* a = folder(root, "A");
    FolderSystemItem* b = folder(root, "B");
    const auto empty = container->addGroupWithItems({file(a, "empty", 0), file(b, "empty", 0)});
    const auto full = container->addGroupWithItems({file(a, "full", 500), file(b, "full", 500)});
    ASSERT_TRUE(empty && full);
    const auto groupHints = QuickHintRecords::biggestGroupHints({full, empty});
    ASSERT_EQ(groupHints.size(), 1u);
    EXPECT_EQ(groupHints[0].size, 500u);

    std::vector<AutoSelectCandidate> candidates;
    for (int i = 0; i < 6; ++i)
        candidates.push_back({empty, {empty->getItems().back()}, 0});
    candidates.push_back({full, {full->getItems().back()}, 500});
    const auto autoHints = QuickHintRecords::autoselectHints(candidates);
    ASSERT_EQ(autoHints.size(), 1u) << "the batch of five empty copies is left out";
    EXPECT_EQ(autoHints[0].size, 500u);
    EXPECT_TRUE(QuickHintRecords::autoselectHints({candidates.front()}).empty());
}

} // namespace
