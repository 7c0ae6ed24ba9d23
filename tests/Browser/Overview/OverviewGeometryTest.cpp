// The overview's arithmetic: pie, callouts, bars, heaps chart, hint balancing and the
// screen's layout, as pure functions in y-up coordinates.
#include "Browser/Overview/BarChartView.h"
#include "Browser/Overview/HeapsChart.h"
#include "Browser/Overview/OverviewVC.h"
#include "Browser/Overview/PieChartGeometry.h"
#include "Browser/Overview/QuickHintRecords.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>

#include <cmath>

using namespace PieChartGeometry;

namespace {

TEST(PieChartGeometryTest, RadiusFollowsTheSmallerSideButNeverDropsBelow100) {
    EXPECT_FLOAT_EQ(radiusForSize({830, 643}), 215.0f);  // w/2 - 200
    EXPECT_FLOAT_EQ(radiusForSize({1400, 500}), 175.0f); // h/2 - 75
    EXPECT_FLOAT_EQ(radiusForSize({300, 200}), 100.0f);  // both rules below the floor
    EXPECT_FLOAT_EQ(radiusForSize({0, 0}), 100.0f);
}

TEST(PieChartGeometryTest, AnglesFoldBackIntoOneTurn) {
    struct Case {
        float angle;
        float expected;
    };
    for (const Case& c : {Case{359.5f + 1.2f, 0.0f}, Case{0.5f - 1.0f, 359.5f}, Case{361.7f, 1.0f},
                          Case{360.0f, 360.0f}, Case{-0.0f, 0.0f}, Case{123.25f, 123.25f}})
        EXPECT_FLOAT_EQ(normaliseAngle(c.angle), c.expected) << c.angle;
}

TEST(PieChartGeometryTest, PointerAngleAndStepsAcrossTheSeam) {
    EXPECT_FLOAT_EQ(pointerAngle({200, 150}, {200, 100}), 45.0f);
    EXPECT_FLOAT_EQ(pointerAngle({0, 50}, {200, 100}), 180.0f);
    // From just above the negative x axis to just below it: a 2-degree turn, not -358.
    EXPECT_FLOAT_EQ(angleStep(179.0f, -179.0f), 2.0f);
    EXPECT_FLOAT_EQ(angleStep(-179.0f, 179.0f), -2.0f);
    EXPECT_FLOAT_EQ(angleStep(10.0f, 22.0f), 12.0f);
    EXPECT_FLOAT_EQ(angleStep(0.0f, 180.0f), 180.0f);
    EXPECT_FLOAT_EQ(angleStep(0.0f, -180.0f), 180.0f);
}

TEST(PieChartGeometryTest, SpinSlowsByTwoPercentThenOnePercentAndStopsBelowOne) {
    EXPECT_FLOAT_EQ(dampedTorque(12.0f), float(12.0 * 0.98));
    EXPECT_FLOAT_EQ(dampedTorque(-12.0f), float(-12.0 * 0.98));
    EXPECT_FLOAT_EQ(dampedTorque(1.5f), float(1.5 * 0.99));
    EXPECT_FLOAT_EQ(dampedTorque(1.005f), 0.0f); // 0.99495: below 1
    // A 12-degree release runs down to rest in a finite number of ticks.
    float torque = 12.0f;
    int ticks = 0;
    while (torque != 0 && ticks < 1000) {
        torque = dampedTorque(torque);
        ++ticks;
    }
    EXPECT_EQ(torque, 0.0f);
    EXPECT_GT(ticks, 100);
    EXPECT_LT(ticks, 1000);
}

TEST(PieChartGeometryTest, SlicesRunClockwiseFromTheStartAngle) {
    EXPECT_TRUE(slices({}, 0).empty());

    const std::vector<Slice> one = slices({42}, 77);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_TRUE(one[0].fullDisc);
    EXPECT_EQ(one[0].center, 0.0f);

    const std::vector<Slice> three = slices({50, 25, 25}, 0);
    ASSERT_EQ(three.size(), 3u);
    EXPECT_FLOAT_EQ(three[0].end, -180.0f);
    EXPECT_FLOAT_EQ(three[0].center, 270.0f); // -90 + 360
    EXPECT_FLOAT_EQ(three[1].start, -180.0f);
    EXPECT_FLOAT_EQ(three[1].end, -270.0f);
    EXPECT_FLOAT_EQ(three[1].center, 135.0f);
    EXPECT_FLOAT_EQ(three[2].end, -360.0f);
    EXPECT_FALSE(three[2].fullDisc);
}

TEST(PieChartGeometryTest, OutlinesAreRingSegmentsHitByTheWindingRule) {
    const QPointF c(300, 300);
    // Qt's y grows downwards: a point above the centre has a smaller y.
    const std::vector<Slice> halves = slices({1, 1}, 0);
    const QPainterPath lower = sliceOutline(halves[0], c, 200); // 0 to -180: the lower half
    const QPainterPath upper = sliceOutline(halves[1], c, 200);
    EXPECT_EQ(lower.fillRule(), Qt::WindingFill);
    EXPECT_TRUE(lower.contains(QPointF(300, 300 + 100)));
    EXPECT_FALSE(lower.contains(QPointF(300, 300 - 100)));
    EXPECT_TRUE(upper.contains(QPointF(300, 300 - 100)));
    // Inside radius 60 belongs to no slice; the ring from 60 to 70 does.
    EXPECT_FALSE(lower.contains(QPointF(300, 300 + 50)));
    EXPECT_FALSE(upper.contains(QPointF(300, 300 - 50)));
    EXPECT_TRUE(lower.contains(QPointF(300, 300 + 65)));
    EXPECT_FALSE(lower.contains(QPointF(300, 300 + 205)));

    // A lone entry is the whole disc, centre included.
    EXPECT_TRUE(sliceOutline(slices({5}, 0)[0], c, 200).contains(c));
}

TEST(PieChartGeometryTest, CirclesTouchingCountAsIntersecting) {
    EXPECT_TRUE(intersectionOfCircle({40, {0, 0}}, {30, {70, 0}}));
    EXPECT_FALSE(intersectionOfCircle({40, {0, 0}}, {30, {70.01, 0}}));
    EXPECT_TRUE(intersectionOfCircle({40, {0, 0}}, {30, {0, 0}}));
}

TEST(PieCalloutLayoutTest, PlacementTable) {
    const QPointF c(400, 300);
    const float r = 200; // anchors at 220 from the centre
    struct Case {
        const char* what;
        std::vector<std::uint64_t> sizes;
        std::vector<float> angles;
        std::vector<TipPlacement> expected;
    };
    // Two anchors 10 degrees apart on the circle of 220 are 38 points apart (collide);
    // 20 degrees apart are 76 points apart (free).
    const double step = 13 + 10 * (220 * std::sin(80 * M_PI / 180) - 2 * r / 3) / (r / 3);
    const Case cases[] = {
        {"no entry", {}, {}, {}},
        {"one entry points right", {5}, {0}, {{0, 0}}},
        {"the entry after the largest goes first; the largest last",
         {10, 50, 20},
         {300, 180, 60},
         {{60, 2}, {300, 0}, {180, 1}}},
        {"the largest being last, entry 0 goes first",
         {10, 20, 50},
         {300, 180, 60},
         {{300, 0}, {180, 1}, {60, 2}}},
        {"first of equal largest wins",
         {30, 30, 10},
         {300, 180, 60},
         {{180, 1}, {60, 2}, {300, 0}}},
        {"far enough apart: own angles", {50, 1, 1}, {180, 20, 0}, {{20, 1}, {0, 2}, {180, 0}}},
        {"crowded beside the centre line: 13 degrees clockwise of the last placed",
         {50, 1, 1},
         {180, 10, 0},
         {{10, 1}, {-3, 2}, {180, 0}}},
        {"crowded far above the centre: a larger step",
         {50, 1, 1},
         {270, 90, 80},
         {{90, 1}, {float(90 - step), 2}, {270, 0}}},
    };
    for (const Case& c2 : cases) {
        const std::vector<TipPlacement> got = layoutCallouts(c2.sizes, c2.angles, r, c);
        ASSERT_EQ(got.size(), c2.expected.size()) << c2.what;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_NEAR(got[i].angle, c2.expected[i].angle, 1e-3) << c2.what << " #" << i;
            EXPECT_EQ(got[i].sectorNumber, c2.expected[i].sectorNumber) << c2.what << " #" << i;
        }
    }
}

TEST(PieCalloutLayoutTest, AShiftedCalloutStepsFromTheLastPlacedNotFromItsOwnSlice) {
    // Three slices crowded at 0, 5 and 10 degrees after the largest at 180: each collides
    // and steps 13 degrees clockwise of the one placed just before it.
    const std::vector<TipPlacement> got =
        layoutCallouts({50, 1, 1, 1}, {180, 10, 5, 0}, 200, QPointF(400, 300));
    ASSERT_EQ(got.size(), 4u);
    EXPECT_FLOAT_EQ(got[0].angle, 10);
    EXPECT_FLOAT_EQ(got[1].angle, -3);
    EXPECT_FLOAT_EQ(got[2].angle, -16);
    EXPECT_EQ(got[3].sectorNumber, 0);
}

TEST(BarChartGeometryTest, WidthsHeightsAndHitAreas) {
    EXPECT_FLOAT_EQ(BarChartView::chartWidth(1050), 718);
    EXPECT_FLOAT_EQ(BarChartView::chartWidth(1051), 719);
    EXPECT_FLOAT_EQ(BarChartView::chartWidth(830), 718);
    // Narrower frames, only on screens too small for the results window: the margins shrink
    // from 56 to 33 as the frame does, without a step at 830.
    EXPECT_FLOAT_EQ(BarChartView::chartWidth(829), 717.25f);
    EXPECT_FLOAT_EQ(BarChartView::chartWidth(589), 523);
    EXPECT_FLOAT_EQ(BarChartView::chartWidth(430), 364);
    EXPECT_FLOAT_EQ(BarChartView::chartWidth(50), 0);
    EXPECT_FLOAT_EQ(BarChartView::barWidth(718), 88);
    EXPECT_FLOAT_EQ(BarChartView::barHeight(0, 400, 20, 1), 0);
    EXPECT_FLOAT_EQ(BarChartView::barHeight(1, 400, 35, 1000000), 4); // tiny but visible
    EXPECT_FLOAT_EQ(BarChartView::barHeight(1000, 400, 35, 1000), 365);
    EXPECT_EQ(BarChartView::getHalfPointInnerRectFrom({10, 35, 88, 0}), QRectF(10.5, 35.5, 87, 0));

    // Every total 0: the maximum counts as 1, every bar is 0 high on a 20-point block.
    const auto empty = BarChartView::layoutBars({830, 473}, {});
    for (const auto& bar : empty) {
        EXPECT_EQ(bar.bar.height(), 0);
        EXPECT_EQ(bar.labelBlock.height(), 20);
        EXPECT_TRUE(bar.hitArea.isEmpty());
    }
    EXPECT_EQ(empty[0].bar.x(), std::floor((830 - 718) * 0.5));
    EXPECT_EQ(empty[7].bar.x(), empty[0].bar.x() + 7 * 90);

    std::array<std::int64_t, BarChartView::kBarCount> sizes{};
    sizes[1] = 472;
    sizes[3] = 1;
    const auto bars = BarChartView::layoutBars({1051, 473}, sizes);
    EXPECT_EQ(bars[1].bar, QRectF(bars[1].bar.x(), 35, std::floor((719 - 14) * 0.125), 472 - 35));
    EXPECT_EQ(bars[3].bar.height(), 4);
    EXPECT_EQ(bars[3].labelBlock, QRectF(bars[3].bar.x(), 1, bars[3].bar.width(), 35));
}

// The bar chart in the overview of a window 1200 (its minimum), 960, 1024 and 800 wide
// (small screens): every label stays inside its own block, so none runs into the next bar's,
// and at the window's own sizes the labels keep the chart's 12-point font.
TEST(BarChartGeometryTest, LabelsStayInsideTheirBlocksAtSmallWindowWidths) {
    const QStringList names = {QStringLiteral("Pictures"), QStringLiteral("Movies"),
                               QStringLiteral("Music"),    QStringLiteral("Documents"),
                               QStringLiteral("Archives"), QStringLiteral("Others"),
                               QStringLiteral("Folders"),  QStringLiteral("Similars")};
    const QStringList sizes = {QStringLiteral("19.0 MB"), QStringLiteral("4.20 MB"),
                               QStringLiteral("23.2 MB"), QStringLiteral("999 KB")};
    std::array<std::int64_t, BarChartView::kBarCount> totals{};
    totals.fill(1000);
    for (int window : {1200, 1024, 960, 800}) {
        // The frame the overview gives the chart in a window that wide (OverviewVC).
        const qreal frame = OverviewVC::barChartFrame({1200, 613}).width() - (1200 - window);
        const auto bars = BarChartView::layoutBars({frame, 473}, totals);
        for (const QStringList& row : {names, sizes}) {
            const qreal room = bars[0].labelBlock.width() - 2;
            const QFont font = BarChartView::labelFontForWidth(room, row);
            if (window == 1200) {
                EXPECT_EQ(font.pixelSize(), 12);
            }
            const QFontMetricsF metrics(font);
            QList<QRectF> drawn;
            for (int i = 0; i < BarChartView::kBarCount; ++i) {
                const QRectF block = bars[size_t(i)].labelBlock;
                const QString text = BarChartView::fittedLabel(row[i % row.size()], font, room);
                const qreal w = metrics.horizontalAdvance(text);
                const QRectF label(block.x() + (block.width() - w) / 2, block.y(), w, 12);
                EXPECT_LE(label.width(), room) << window << " " << text.toStdString();
                for (const QRectF& other : drawn)
                    EXPECT_FALSE(label.intersects(other)) << window << " " << text.toStdString();
                drawn << label;
            }
        }
    }
}

TEST(HeapsChartGeometryTest, HeightsAndSteppedBarWidths) {
    EXPECT_EQ(HeapsChart::heightForRows(0), 0);
    EXPECT_EQ(HeapsChart::heightForRows(1), 98);
    EXPECT_EQ(HeapsChart::heightForRows(4), 215);
    EXPECT_EQ(HeapsChart::heightForRows(5), 256);
    EXPECT_EQ(HeapsChart::barWidths({50, 40, 30, 20, 10}),
              (std::vector<int>{158, 141, 124, 107, 90}));
    EXPECT_EQ(HeapsChart::barWidths({50, 50, 30, 30, 30}),
              (std::vector<int>{158, 158, 141, 141, 141}));
}

TEST(OverviewLayoutTest, NarrowUpTo1200WideAbove) {
    EXPECT_TRUE(OverviewVC::isNarrowLayout(1200));
    EXPECT_FALSE(OverviewVC::isNarrowLayout(1201));
    // Clear of the window's bottom edge, below the switch buttons (y 25).
    EXPECT_EQ(OverviewVC::grayPanelFrame({1200, 613}), QRectF(25, 12, 780, 578));
    EXPECT_EQ(OverviewVC::grayPanelFrame({1201, 613}), QRectF(25, 12, 781, 578));
    EXPECT_EQ(OverviewVC::barChartFrame({1200, 613}), QRectF(1, 72, 830, 473));
    EXPECT_EQ(OverviewVC::barChartFrame({1201, 613}), QRectF(1, 72, 831, 473));
    EXPECT_EQ(OverviewVC::pieChartFrame({1200, 613}), QRectF(1, 50, 830, 543));
    EXPECT_EQ(OverviewVC::switchButtonsCentre({1, 50, 830, 543}), 416);

    EXPECT_EQ(OverviewVC::hintColumnHeight(240, 256), 516);
    EXPECT_EQ(OverviewVC::hintColumnHeight(100, 0), 100); // no gap without a heaps chart
    EXPECT_EQ(OverviewVC::hintColumnHeight(0, 98), 98);
    EXPECT_EQ(OverviewVC::hintColumnHeight(0, 0), 0);
    // Taller than the bar chart: level with it; shorter: centred on its height.
    EXPECT_EQ(OverviewVC::hintColumnY(516, {1, 72, 830, 473}), 72);
    EXPECT_EQ(OverviewVC::hintColumnY(100, {1, 72, 830, 473}), 72 + 186);
}

TEST(QuickHintRecordsTest, MiddleTruncation) {
    const QString forty = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789ABCD");
    EXPECT_EQ(QuickHintRecords::truncateMiddleOfString(forty, 32),
              QStringLiteral("abcdefghijklmn...0123456789ABCD"));
    EXPECT_EQ(QuickHintRecords::truncateMiddleOfString(forty.left(20), 16),
              QStringLiteral("abcdef...opqrst"));
    EXPECT_EQ(QuickHintRecords::truncateMiddleOfString(forty.left(16), 16), forty.left(16));
}

// Lists of n records named "<prefix><1..n>", as the answers give them, biggest first.
std::vector<QuickHintRecord> named(const char* prefix, int n) {
    std::vector<QuickHintRecord> list;
    for (int i = 1; i <= n; ++i) {
        QuickHintRecord record;
        record.name = {{QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(i), false}};
        list.push_back(record);
    }
    return list;
}

QString rowText(const std::vector<QuickHintRecord>& g, const std::vector<QuickHintRecord>& a,
                const std::vector<QuickHintRecord>& s, size_t r) {
    QStringList row;
    for (const auto* list : {&g, &a, &s})
        if (r < list->size())
            row << (*list)[r].plainText();
    return row.join(QLatin1Char(','));
}

TEST(QuickHintRecordsTest, BalancingExamples) {
    struct Case {
        int groups, batches, heaps;
        int height;
        size_t rows;
        std::vector<std::pair<size_t, const char*>> someRows;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0, {}},
        {1, 0, 0, 100, 1, {{0, "g1"}}},
        {2, 0, 0, 170, 1, {{0, "g1,g2"}}},
        {3, 0, 0, 240, 1, {{0, "g1,g2,g3"}}},
        {30, 0, 0, 240, 10, {{0, "g1,g2,g3"}, {1, "g4,g5,g6"}, {9, "g28,g29,g30"}}},
        {20, 0, 0, 240, 6, {{0, "g1,g2,g3"}, {5, "g16,g17,g18"}}},
        {50, 10, 0, 240, 10, {{0, "g1,b1,g2"}, {1, "g3,b2,g4"}, {9, "g19,b10,g20"}}},
        {25,
         3,
         1,
         240,
         9,
         {{0, "g1,b1,h1"}, {1, "g2,b2,g3"}, {2, "g4,b3,g5"}, {3, "g6,g7,g8"}, {8, "g21,g22,g23"}}},
    };
    for (const Case& c : cases) {
        auto g = named("g", c.groups);
        auto a = named("b", c.batches);
        auto s = named("h", c.heaps);
        EXPECT_EQ(QuickHintRecords::splitHintsBetweenArrays(g, a, s), c.height) << c.groups;
        EXPECT_EQ(std::max({g.size(), a.size(), s.size()}), c.rows) << c.groups;
        for (const auto& [r, text] : c.someRows)
            EXPECT_EQ(rowText(g, a, s, r), QLatin1String(text)) << c.groups << " row " << r;
    }
}

} // namespace

namespace {

// Only the 31 biggest groups can ever be shown, so the panel makes no more hints than that.
TEST(QuickHintRecordsTest, BalancingNeverReachesPastThe31stGroup) {
    for (int batches : {0, 1, 3, 10})
        for (int heaps : {0, 1, 4, 10}) {
            auto fullG = named("g", 200), fullA = named("b", batches), fullS = named("h", heaps);
            auto cutG = named("g", 31), cutA = named("b", batches), cutS = named("h", heaps);
            EXPECT_EQ(QuickHintRecords::splitHintsBetweenArrays(fullG, fullA, fullS),
                      QuickHintRecords::splitHintsBetweenArrays(cutG, cutA, cutS));
            for (size_t r = 0; r < 10; ++r)
                EXPECT_EQ(rowText(fullG, fullA, fullS, r), rowText(cutG, cutA, cutS, r))
                    << batches << " batches, " << heaps << " heaps, row " << r;
        }
}

} // namespace
