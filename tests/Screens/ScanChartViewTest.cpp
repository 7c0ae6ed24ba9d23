// The scan chart's glides and phantom bars and the scan progress bar's pieces, with the
// Part's numbers; the chart's timers run on a manual clock.
#include "Screens/ScanChartView.h"
#include "Screens/ProgressBarScanner.h"
#include "Toolkit/AnimationClock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

class ScanChartViewTest : public ::testing::Test {
protected:
    void SetUp() override { AnimationClock::instance().setMode(AnimationClock::Mode::Manual); }
    void TearDown() override { AnimationClock::instance().setMode(AnimationClock::Mode::Real); }

    // Ticks until the bar timer stops; answers the number of ticks.
    int ticksUntilSettled(ScanChartView& chart) {
        int ticks = 0;
        while (chart.isAnimationTimerWorking() && ticks < 200) {
            AnimationClock::instance().advance(ScanChartView::kTickMs);
            ++ticks;
        }
        return ticks;
    }
};

TEST_F(ScanChartViewTest, SteppingRuleStopsOnTheTargetFromEitherSide) {
    struct Case {
        int64_t step, target, current, expectedCurrent, expectedStep;
    };
    const Case cases[] = {
        {0, 500, 100, 500, 0},   // no step: the target at once
        {10, 500, 100, 110, 10}, // on the way up
        {10, 105, 100, 105, 0},  // passes the target: stops on it
        {-10, 50, 100, 90, -10}, // on the way down
        {-10, 95, 100, 95, 0},   // passes it downward
        {10, 110, 100, 110, 10}, // lands exactly: keeps its step for one more tick
    };
    for (const Case& c : cases) {
        int64_t step = c.step;
        int64_t current = c.current;
        ScanChartView::updateValueWithStep(step, c.target, current);
        EXPECT_EQ(current, c.expectedCurrent) << c.step << " " << c.target << " " << c.current;
        EXPECT_EQ(step, c.expectedStep) << c.step << " " << c.target << " " << c.current;
    }
    EXPECT_EQ(ScanChartView::stepToward(44, 0), 0);
    EXPECT_EQ(ScanChartView::stepToward(90, 0), 2);
    EXPECT_EQ(ScanChartView::stepToward(-100, 0), -2);
}

TEST_F(ScanChartViewTest, SmallChangesJumpAndLargeOnesTakeAboutASecond) {
    ScanChartView chart;
    chart.resize(720, 300);
    chart.setSize(0, 44);
    chart.updateScannedFilesValuesAnimated();
    AnimationClock::instance().advance(ScanChartView::kTickMs);
    EXPECT_EQ(chart.bar(0).sizeCur, 44); // below 45 bytes: at once
    EXPECT_LE(ticksUntilSettled(chart), 46);
    EXPECT_FLOAT_EQ(chart.bar(0).heightCur, 1.0f);

    chart.setSize(0, 1'000'000);
    chart.setSize(3, 500'000);
    chart.updateScannedFilesValuesAnimated();
    const int ticks = ticksUntilSettled(chart);
    EXPECT_GE(ticks, 45);
    EXPECT_LE(ticks, 46);
    EXPECT_EQ(chart.bar(0).sizeCur, 1'000'000);
    EXPECT_EQ(chart.bar(3).sizeCur, 500'000);
    EXPECT_FLOAT_EQ(chart.bar(3).height, 0.5f);
}

TEST_F(ScanChartViewTest, ProcessedCategoryShowsOnlyItsDuplicatesAndLosesItsStripes) {
    ScanChartView chart;
    chart.resize(720, 300);
    chart.setSize(0, 9'000);
    chart.setDuplicatesSize(0, 3'000);
    chart.setSize(6, 4'000);
    chart.setDuplicatesProcessed(0, true);
    chart.updateScannedFilesValuesAnimated();
    EXPECT_EQ(chart.bar(0).size, 3'000);
    chart.setState(1);
    EXPECT_TRUE(chart.bar(0).candyAlive); // walking removes nothing
    chart.setState(2);
    EXPECT_FALSE(chart.bar(0).candyAlive);
    EXPECT_TRUE(chart.bar(1).candyAlive);
    EXPECT_TRUE(chart.bar(ScanChartView::kFoldersBar).candyAlive);
    chart.setState(6);
    EXPECT_FALSE(chart.bar(ScanChartView::kFoldersBar).candyAlive);
    EXPECT_FALSE(chart.bar(ScanChartView::kSimilarsBar).candyAlive);
    EXPECT_TRUE(chart.bar(1).candyAlive); // not processed: its stripes stay
}

TEST_F(ScanChartViewTest, PhantomBarsStayUntilARealSizeAndThenCollapse) {
    ScanChartView chart;
    chart.resize(720, 300);
    chart.startPhantomAnimation();
    EXPECT_TRUE(chart.isPhantomMode());
    for (int i = 0; i < ScanChartView::kBarCount; ++i) {
        EXPECT_GE(chart.phantomTarget(i), 0.0f);
        EXPECT_LT(chart.phantomTarget(i), 280.0f);
    }
    chart.updateScannedFilesValuesAnimated(); // every size below 1: nothing changes
    EXPECT_TRUE(chart.isPhantomMode());
    EXPECT_FALSE(chart.isAnimationTimerWorking());

    chart.setSize(2, 1);
    chart.updateScannedFilesValuesAnimated();
    EXPECT_FALSE(chart.isPhantomMode());
    EXPECT_FALSE(chart.isPhantomTimerWorking());
    for (int i = 0; i < ScanChartView::kBarCount; ++i)
        EXPECT_EQ(chart.phantomTarget(i), 0.0f);
    AnimationClock::instance().advance(1000);
    for (int i = 0; i < ScanChartView::kBarCount; ++i)
        EXPECT_LT(chart.phantomHeight(i), 2.0f); // not drawn any more
    EXPECT_TRUE(chart.isPhantomFPSTimerWorking());
    AnimationClock::instance().advance(600);
    EXPECT_FALSE(chart.isPhantomFPSTimerWorking());
}

TEST_F(ScanChartViewTest, PhantomHeightsNeverDivideByZeroOnALowChart) {
    for (int height : {0, 5, 20})
        EXPECT_EQ(ScanChartView::randomPhantomHeight(height), 0.0f) << height;
    for (int i = 0; i < 200; ++i) {
        const float h = ScanChartView::randomPhantomHeight(21);
        EXPECT_EQ(h, 0.0f);
        const float tall = ScanChartView::randomPhantomHeight(300);
        EXPECT_GE(tall, 0.0f);
        EXPECT_LT(tall, 280.0f);
    }
    ScanChartView low;
    low.resize(720, 12);
    low.startPhantomAnimation();
    AnimationClock::instance().advance(2000);
    for (int i = 0; i < ScanChartView::kBarCount; ++i)
        EXPECT_EQ(low.phantomHeight(i), 0.0f);
}

TEST(ScanChartGeometryTest, HalfPointInnerRectangle) {
    EXPECT_EQ(ScanChartView::getHalfPointInnerRectFrom(QRectF(90, 20, 88, 40)),
              QRectF(90.5, 20.5, 87, 39));
    EXPECT_EQ(ScanChartView::getHalfPointInnerRectFrom(QRectF(0, 0, 0.5, 0)),
              QRectF(0.5, 0.5, 0, 0));
}

// ---- Progress bar.

std::vector<ProgressBarScanner::Piece> pieces(float progress) {
    // A 206 x 5 bar; the start cap stands at the bottom (top-down coordinates).
    return ProgressBarScanner::piecesFor(progress, 206, 5);
}

TEST(ProgressBarScannerTest, PiecesByProgress) {
    using Piece = ProgressBarScanner::Piece;
    EXPECT_EQ(pieces(0), (std::vector<Piece>{
                             {"dark_ProgressStart1", QRectF(0, 0, 3, 5)},
                             {"dark_ProgressMiddle1", QRectF(3, 0, 200, 5)},
                             {"dark_ProgressMiddle2", QRectF(3, 0, 0, 5)},
                             {"dark_ProgressEnd1", QRectF(203, 0, 3, 5)},
                         }));
    EXPECT_EQ(pieces(0.5f), (std::vector<Piece>{
                                {"dark_ProgressStart2", QRectF(0, 0, 3, 5)},
                                {"dark_ProgressMiddle1", QRectF(3, 0, 200, 5)},
                                {"dark_ProgressMiddle2", QRectF(3, 0, 100, 5)},
                                {"dark_ProgressEnd1", QRectF(203, 0, 3, 5)},
                            }));
    for (float full : {0.99f, 1.0f, 7.0f}) {
        const auto drawn = pieces(full);
        ASSERT_EQ(drawn.size(), 5u) << full;
        EXPECT_EQ(drawn[2], (Piece{"dark_ProgressMiddle2", QRectF(3, 0, 200, 5)}));
        EXPECT_EQ(drawn[4], (Piece{"dark_ProgressEnd2", QRectF(203, 0, 3, 5)}));
    }
    EXPECT_TRUE(pieces(std::numeric_limits<float>::quiet_NaN()).empty());
    // The start cap keeps its 5 points on a taller bar, at the bottom.
    EXPECT_EQ(ProgressBarScanner::piecesFor(0.5f, 206, 9)[0].rect, QRectF(0, 4, 3, 5));
}

TEST(ProgressBarScannerTest, StoredValueBecomesExactlyOneNearTheEnd) {
    ProgressBarScanner bar;
    bar.setProgress(0.995f);
    EXPECT_EQ(bar.progressValue(), 1.0f);
    bar.setProgress(3.0f);
    EXPECT_EQ(bar.progressValue(), 1.0f);
    bar.setProgress(0.4f);
    EXPECT_EQ(bar.progressValue(), 0.4f);
    bar.setProgress(std::numeric_limits<float>::quiet_NaN());
    EXPECT_TRUE(std::isnan(bar.progressValue()));
}

} // namespace
