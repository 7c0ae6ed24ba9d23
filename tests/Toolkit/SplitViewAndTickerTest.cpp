#include "Results/DuplicatesManager.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/SplitViewWithDivider.h"
#include "Toolkit/UMTickerScrollView.h"

#include <QCursor>
#include <QEnterEvent>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(SplitViewWithDividerTest, GripPicturesAndPlaces) {
    EXPECT_EQ(SplitViewWithDivider::dividerThickness(), 7.0);
    EXPECT_EQ(SplitViewWithDivider::gripImageForDivider(QRectF(0, 0, 7, 50)), "dark_scale2")
        << "exactly 50 points is a short divider";
    EXPECT_EQ(SplitViewWithDivider::gripImageForDivider(QRectF(0, 0, 7, 50.5)), "dark_scale1");
    EXPECT_EQ(SplitViewWithDivider::gripImageForDivider(QRectF(0, 0, 400, 7)), "dark_scale2");
    EXPECT_EQ(SplitViewWithDivider::getFloorRect(QRectF(1.9, 2.5, 3.99, -0.5)),
              QRectF(1, 2, 3, -1));
    EXPECT_EQ(SplitViewWithDivider::gripRect(QRectF(200, 0, 7, 300), QSizeF(3, 21)),
              QRectF(202, 139, 3, 21));
}

class Limits final : public SplitViewWithDividerDelegate {
public:
    qreal splitViewConstrainMinCoordinateOfSubviewAt(SplitViewWithDivider*, qreal,
                                                     int index) override {
        return index == 0 ? 100 : 0;
    }
    qreal splitViewConstrainMaxCoordinateOfSubviewAt(SplitViewWithDivider*, qreal proposed,
                                                     int index) override {
        return index == 0 ? 250 : proposed;
    }
};

TEST(SplitViewWithDividerTest, DraggingADividerStaysWithinTheDelegatesLimits) {
    SplitViewWithDivider split(Qt::Horizontal);
    Limits limits;
    split.setDelegate(&limits);
    split.addWidget(new QWidget);
    split.addWidget(new QWidget);
    split.resize(407, 200);
    split.setSizes({200, 200});
    split.show();
    QWidget* divider = split.handle(1);
    ASSERT_NE(divider, nullptr);
    EXPECT_EQ(divider->width(), 7);
    EXPECT_EQ(split.positionOfDividerAtIndex(0), 200);

    const auto dragTo = [&](int x) {
        QTest::mousePress(divider, Qt::LeftButton, {}, QPoint(3, 100));
        QTest::mouseMove(divider, divider->mapFrom(&split, QPoint(x + 3, 100)));
        QTest::mouseRelease(divider, Qt::LeftButton, {},
                            divider->mapFrom(&split, QPoint(x + 3, 100)));
    };
    dragTo(150);
    EXPECT_EQ(split.positionOfDividerAtIndex(0), 150);
    dragTo(20);
    EXPECT_EQ(split.positionOfDividerAtIndex(0), 100);
    dragTo(380);
    EXPECT_EQ(split.positionOfDividerAtIndex(0), 250);

    // The program places dividers without asking the delegate.
    split.setPositionOfDividerAtIndex(60, 0);
    EXPECT_EQ(split.positionOfDividerAtIndex(0), 60);
}

TEST(UMTickerScrollViewTest, PathsSplitIntoFolderAndName) {
    const struct {
        const char* path;
        const char* folder;
        const char* name;
    } cases[] = {
        {"/home/anna/Pictures", "/home/anna/", "Pictures"},
        {"/Users", "/", "Users"}, // one "/" at the root, never "//"
        {"/", "", "/"},
        {"Documents", "/", "Documents"}, // a bare name
        {"/home/anna/Pictures/", "/home/anna/", "Pictures"},
    };
    for (const auto& c : cases) {
        const auto [folder, name] = UMTickerScrollView::pathParts(QString::fromUtf8(c.path));
        EXPECT_EQ(folder, QString::fromUtf8(c.folder)) << c.path;
        EXPECT_EQ(name, QString::fromUtf8(c.name)) << c.path;
        EXPECT_FALSE((folder + name).contains(QLatin1String("//"))) << c.path;
    }
}

class TickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        clock().setMode(AnimationClock::Mode::Manual);
        QCursor::setPos(-1000, -1000); // the pointer is elsewhere until a test says so
        ticker.resize(120, 20);
        ticker.show();
        ticker.setStringValue(kLong);
        ASSERT_GT(ticker.labelWidth(), 200) << "the long path must not fit";
    }
    void TearDown() override {
        DuplicatesManager::sharedManager().setOverlayOnScreen(false);
        clock().setMode(AnimationClock::Mode::Real);
    }
    static AnimationClock& clock() { return AnimationClock::instance(); }

    const QString kLong = QStringLiteral("/home/anna/Pictures/2019/Holidays/Lake Garda/Day one");
    UMTickerScrollView ticker;
};

TEST_F(TickerTest, ScrollsHalfASecondAfterThePointerComesToRestAndBouncesBetweenTheEnds) {
    ticker.mouseEntered();
    clock().advance(499);
    EXPECT_FALSE(ticker.isScrolling());
    clock().advance(1);
    ASSERT_TRUE(ticker.isScrolling());
    const float start = float(ticker.labelWidth() - ticker.width());
    EXPECT_EQ(ticker.currentX(), start - 1) << "the first step runs at once";
    clock().advance(25 * 10);
    EXPECT_EQ(ticker.currentX(), start - 11) << "one point every 25 ms";

    // Towards the beginning until the offset passes -1, then back towards the end.
    const int toBeginning = int(std::ceil(start - 11)) + 2;
    clock().advance(25 * toBeginning);
    EXPECT_EQ(ticker.shiftForX(), 1.0f);
    EXPECT_LT(ticker.currentX(), 0.0f);
    clock().advance(25 * int(std::ceil(start) + 4));
    EXPECT_EQ(ticker.shiftForX(), -1.0f);

    ticker.mouseExited();
    EXPECT_FALSE(ticker.isScrolling());
    EXPECT_EQ(ticker.currentX(), 0.0f);
}

TEST_F(TickerTest, NothingStartsWhenThePointerLeavesEarlyOrTheTextOrSizeChanges) {
    ticker.mouseEntered();
    clock().advance(300);
    ticker.mouseExited();
    clock().advance(1000);
    EXPECT_FALSE(ticker.isScrolling());

    // A new text while the start waits: the old path is never scrolled.
    ticker.mouseEntered();
    clock().advance(300);
    ticker.setStringValue(QStringLiteral("/tmp/short"));
    EXPECT_FALSE(ticker.isWaitingToStart());
    clock().advance(1000);
    EXPECT_FALSE(ticker.isScrolling());
    EXPECT_EQ(ticker.stringValue(), "/tmp/short");

    // A new text while scrolling stops it at rest.
    ticker.setStringValue(kLong);
    ticker.mouseEntered();
    clock().advance(600);
    ASSERT_TRUE(ticker.isScrolling());
    ticker.setStringValue(kLong + QStringLiteral("/more"));
    EXPECT_FALSE(ticker.isScrolling());

    // So does a new size.
    ticker.mouseEntered();
    clock().advance(600);
    ASSERT_TRUE(ticker.isScrolling());
    ticker.resize(130, 20);
    EXPECT_FALSE(ticker.isScrolling());

    // And a new place, as when the list around it scrolls.
    ticker.mouseEntered();
    clock().advance(600);
    ASSERT_TRUE(ticker.isScrolling());
    ticker.move(ticker.pos() + QPoint(0, 20));
    EXPECT_FALSE(ticker.isScrolling());
}

TEST_F(TickerTest, AFittingPathOrAShownHelpOverlayStartsNothing) {
    ticker.setStringValue(QStringLiteral("/tmp"));
    ticker.mouseEntered();
    clock().advance(1000);
    EXPECT_FALSE(ticker.isScrolling());
    EXPECT_EQ(ticker.displayedText(), "/tmp");

    ticker.setStringValue(kLong);
    DuplicatesManager::sharedManager().setOverlayOnScreen(true);
    ticker.mouseEntered();
    EXPECT_FALSE(ticker.isWaitingToStart());
    clock().advance(1000);
    EXPECT_FALSE(ticker.isScrolling());
}

TEST_F(TickerTest, AtRestALongPathShowsItsEnd) {
    const QString shown = ticker.displayedText();
    EXPECT_TRUE(shown.startsWith(QChar(0x2026))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("/Day one"))) << shown.toStdString();
}

TEST_F(TickerTest, WheelEventsGoToTheEnclosingList) {
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    wheel.setAccepted(true);
    QApplication::sendEvent(&ticker, &wheel);
    EXPECT_FALSE(wheel.isAccepted());
}

} // namespace
