// The overview screen over real scans: its numbers, its layout, and its hint column.
#include "OverviewFixture.h"

#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeap.h"
#include "Results/DuplicatesHeaps.h"

#include <algorithm>

namespace {

using OverviewScreenTest = OverviewFixture;

// A y-up frame of |child| in |overview|'s coordinates.
QRectF frameOf(const OverviewVC& overview, const QWidget* child) {
    return overview.frameYUp(child);
}

TEST_F(OverviewScreenTest, TheNumbersOfARealScanAreTheContainersTotals) {
    copies("p.jpg", 40000, 'a', {"A", "B"});
    copies("s.mp3", 30000, 'b', {"A", "C"});
    copies("d.pdf", 20000, 'c', {"A", "B", "C"});
    copies("o.bin", 10000, 'd', {"B", "C"});
    copies("a.txt", 5000, 'e', {"P1", "P2"});
    copies("b.txt", 4000, 'f', {"P1", "P2"});
    similarFolders(2);
    scan();
    OverviewVC& overview = makeScreen();

    // Pie: one slice per category with bytes, with its size and count.
    const PieChartView* pie = overview.pieChartView();
    std::uint64_t sum = 0;
    size_t slices = 0;
    for (int type = 0; type <= 6; ++type) {
        const auto category = container->getCategoryWithType(type);
        ASSERT_TRUE(category);
        sum += category->getTotalSize();
        if (category->getTotalSize() == 0)
            continue;
        ASSERT_LT(slices, pie->categories().size());
        const auto& record = pie->categories()[slices++];
        EXPECT_EQ(record.name, PieChartView::recordForType(type, 0, 0).name);
        EXPECT_EQ(record.size, category->getTotalSize()) << type;
        EXPECT_EQ(record.files, category->getTotalCount()) << type;
    }
    EXPECT_EQ(slices, pie->categories().size());
    EXPECT_GE(slices, 5u); // pictures, music, documents, others, folders
    EXPECT_EQ(pie->totalSize(), sum);
    EXPECT_EQ(pie->totalSize(), container->getAllFilesSize());

    // Bars: the seven categories and the heaps.
    const BarChartView* bars = overview.barChartView();
    for (int type = 0; type <= 6; ++type)
        EXPECT_EQ(std::uint64_t(bars->entries()[size_t(type)].size),
                  container->getCategoryWithType(type)->getTotalSize());
    ASSERT_TRUE(container->getHeaps());
    EXPECT_GT(container->getHeaps()->getTotalHeapsSize(), 0u);
    EXPECT_EQ(std::uint64_t(bars->entries()[7].size), container->getHeaps()->getTotalHeapsSize());
    EXPECT_EQ(DuplicatesManager::getFramesArrayForScreenAndHint(0, 0).size(), 8);

    // Heaps chart: the biggest pairs, biggest first.
    const auto biggest =
        DuplicatesManager::sharedManager().pleaseCalculateBiggestHeapsWithMaxResultCount(10);
    const HeapsChart* heaps = overview.heapsChartView();
    ASSERT_FALSE(heaps->rows().empty());
    ASSERT_EQ(heaps->rows().size(), std::min<size_t>(biggest.size(), 5));
    for (size_t i = 0; i < heaps->rows().size(); ++i)
        EXPECT_EQ(heaps->rows()[i].size, biggest[i]->getHeapSize());
    EXPECT_EQ(heaps->height(), HeapsChart::heightForRows(int(heaps->rows().size())));
    EXPECT_TRUE(screen->overviewHeapsChartVisible());
    EXPECT_FALSE(screen->overviewPiechartVisible()); // the bar chart on the first visit

    // Hints: the first box frees the most a single group can.
    std::uint64_t mostRemovable = 0;
    for (const auto& group : container->getAllFilesGroups())
        mostRemovable = std::max(mostRemovable, group->getSizeThatCanBeRemoved());
    const QuickHintsView* hints = overview.quickHintsView();
    ASSERT_FALSE(hints->groupHints().empty());
    EXPECT_EQ(hints->groupHints()[0].size, mostRemovable);
    EXPECT_TRUE(hints->groupHints()[0].plainText().startsWith(
        QLatin1String("Select and remove 1 duplicate of \"")));

    // The column holds the panel under the heaps chart, 20 points apart, and is shown.
    const QWidget* column = overview.hintContainerView();
    EXPECT_TRUE(column->isVisible());
    EXPECT_TRUE(overview.heapsChartInColumn());
    EXPECT_EQ(column->height(), hints->height() + heaps->height() + 20);
    EXPECT_EQ(frameOf(overview, heaps).y(), hints->height() + 20);
    EXPECT_EQ(frameOf(overview, hints).y(), 0);

    // The help overlay's rectangles of the column, y up in the window: the column stands
    // 72 points above the overview's bottom, which is the window's.
    const QList<QRectF>& hintsFrame = DuplicatesManager::getFramesArrayForScreenAndHint(3, 0);
    const QList<QRectF>& heapsFrame = DuplicatesManager::getFramesArrayForScreenAndHint(2, 0);
    ASSERT_EQ(hintsFrame.size(), 1);
    ASSERT_EQ(heapsFrame.size(), 1);
    EXPECT_EQ(hintsFrame[0], QRectF(1200 - 368, 72, 320, hints->height()));
    EXPECT_EQ(heapsFrame[0], QRectF(1200 - 368, 72 + hints->height() + 20, 320, heaps->height()));
}

TEST_F(OverviewScreenTest, NarrowUpTo1200WideAboveAndTheButtonsStayCentredUnderThePie) {
    copies("p.jpg", 40000, 'a', {"A", "B"});
    scan();
    struct Case {
        int width;
        int gray;
        int bar;
        int grayAfter;
        int barAfter;
    };
    for (const Case& c : {Case{1200, 780, 830, 780, 830}, Case{1201, 781, 831, 881, 931}}) {
        OverviewVC overview;
        overview.resize(c.width, 613);
        overview.loadAllViewsWithVisiblePieChart(true);
        overview.show();
        EXPECT_EQ(overview.grayContainerView()->width(), c.gray) << c.width;
        EXPECT_EQ(overview.barChartView()->width(), c.bar) << c.width;
        EXPECT_EQ(frameOf(overview, overview.hintContainerView()).x(), c.width - 368);
        EXPECT_TRUE(overview.pieChartShown());
        EXPECT_TRUE(overview.pieChartView()->isVisibleTo(&overview));
        EXPECT_FALSE(overview.barChartView()->isVisibleTo(&overview));

        overview.resize(c.width + 100, 713);
        EXPECT_EQ(overview.grayContainerView()->width(), c.grayAfter) << c.width;
        EXPECT_EQ(overview.barChartView()->width(), c.barAfter) << c.width;
        EXPECT_EQ(overview.pieChartView()->width(), c.width + 100 - 370);
        const QRectF pieFrame = frameOf(overview, overview.pieChartView());
        const qreal centre = std::floor(pieFrame.x() + pieFrame.width() * 0.5);
        EXPECT_EQ(frameOf(overview, overview.barChartButton()), QRectF(centre - 84, 25, 84, 30));
        EXPECT_EQ(frameOf(overview, overview.pieChartButton()), QRectF(centre, 25, 84, 30));
        EXPECT_EQ(frameOf(overview, overview.hintContainerView()).x(), c.width + 100 - 368);
        TestSupport::waitFor([&] { return !overview.quickHintsView()->isCalculating(); });
    }
}

TEST_F(OverviewScreenTest, WithoutHeapsTheHintsPanelStandsAloneInItsColumn) {
    // No two folders share two groups: no similar folders.
    copies("p.jpg", 40000, 'a', {"P1", "P2"});
    copies("s.mp3", 30000, 'b', {"M1", "M2"});
    copies("d.pdf", 20000, 'c', {"D1", "D2", "D3"});
    scan();
    ASSERT_EQ(container->getHeaps() ? container->getHeaps()->getTotalHeapsSize() : 0u, 0u);

    screen = std::make_unique<SelectDuplicatesVC>();
    screen->resize(1200, 713);
    screen->setOverviewHeapsChartVisible(true);
    screen->pressOverviewButton();
    OverviewVC* overview = screen->overviewVC();
    ASSERT_TRUE(overview);
    // Before the answers: the panel sits in the middle of the 516-point column.
    EXPECT_FALSE(overview->heapsChartInColumn());
    EXPECT_EQ(overview->hintContainerView()->height(), 516);
    EXPECT_EQ(frameOf(*overview, overview->quickHintsView()), QRectF(0, 138, 320, 240));

    ASSERT_TRUE(TestSupport::waitFor([&] {
        return !overview->quickHintsView()->isCalculating() &&
               overview->heapsChartView()->hasAnswer();
    }));
    EXPECT_EQ(overview->heapsChartView()->size(), QSize(0, 0));
    EXPECT_FALSE(screen->overviewHeapsChartVisible());
    EXPECT_GT(overview->quickHintsView()->height(), 0);
    EXPECT_EQ(overview->hintContainerView()->height(), overview->quickHintsView()->height());
    EXPECT_EQ(frameOf(*overview, overview->quickHintsView()).y(), 0);
}

TEST_F(OverviewScreenTest, SwitchButtonsSwapTheChartsAndTellTheResultsScreen) {
    copies("p.jpg", 40000, 'a', {"A", "B"});
    scan();
    OverviewVC& overview = makeScreen();
    EXPECT_FALSE(overview.pieChartView()->isVisibleTo(&overview));
    overview.pieChartButton()->click();
    TestSupport::spinFor(5);
    EXPECT_TRUE(screen->overviewPiechartVisible());
    EXPECT_TRUE(overview.pieChartView()->isVisibleTo(&overview));
    EXPECT_FALSE(overview.barChartView()->isVisibleTo(&overview));
    overview.barChartButton()->click();
    TestSupport::spinFor(5);
    EXPECT_FALSE(screen->overviewPiechartVisible());
    EXPECT_TRUE(overview.barChartView()->isVisibleTo(&overview));
    EXPECT_FALSE(overview.pieChartView()->isVisibleTo(&overview));

    // The next overview opens with the chart chosen last.
    overview.pieButtonPressed();
    screen->pressOverviewButton();
    screen->duplicatesToolbar()->pressButtonForCategoryType(-1);
    TestSupport::spinFor(5);
    screen->duplicatesToolbar()->overviewButtonPressed(
        screen->duplicatesToolbar()->overviewButton());
    TestSupport::spinFor(5);
    ASSERT_TRUE(screen->overviewVC());
    EXPECT_TRUE(screen->overviewVC()->pieChartShown());
}

} // namespace

namespace {

TEST_F(OverviewFixture, HidingFadesForASecondAndRemovesTheViewsOnlyOutsideTheOverview) {
    copies("p.jpg", 40000, 'a', {"A", "B"});
    scan();
    makeScreen();
    OverviewVC overview; // one of our own, so the screen's swaps leave it alone
    overview.setController(screen.get());
    overview.resize(1200, 613);
    overview.loadAllViewsWithVisiblePieChart(false);
    overview.show();
    AnimationClock::instance().setMode(AnimationClock::Mode::Manual);
    for (bool leave : {false, true}) {
        int completions = 0;
        overview.hideWithCompletion([&completions] { ++completions; });
        if (leave)
            screen->duplicatesToolbar()->pressButtonForCategoryType(-1);
        AnimationClock::instance().advance(999);
        EXPECT_EQ(completions, 0);
        EXPECT_TRUE(overview.pieChartView());
        AnimationClock::instance().advance(1);
        EXPECT_EQ(completions, 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!leave) {
            // Still the overview: the faded views stay where they are, hidden.
            ASSERT_TRUE(overview.pieChartView() && overview.barChartView() &&
                        overview.heapsChartView() && overview.quickHintsView());
            EXPECT_FALSE(overview.barChartView()->isVisibleTo(&overview));
        } else {
            EXPECT_FALSE(overview.pieChartView() || overview.barChartView() ||
                         overview.heapsChartView() || overview.quickHintsView() ||
                         overview.barChartButton() || overview.grayContainerView());
        }
    }
}

} // namespace
