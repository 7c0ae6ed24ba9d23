#include "Toolkit/ColoredView.h"
#include "Toolkit/DraggableWindow.h"
#include "Toolkit/ImageWithBadgeView.h"
#include "Toolkit/Palette.h"
#include "Toolkit/UMViewWithIgnoreDrag.h"
#include "Toolkit/ViewMasks.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(ImageWithBadgeViewTest, BadgeWidthsFollowTheCountsAndTheirLabels) {
    const struct {
        int count;
        qreal labelWidth;
        qreal expected;
    } cases[] = {
        {0, 0, 0},       // no badge
        {-3, 7, 0},      // no badge for a negative count either
        {5, 7.2, 18},    // a narrow label
        {9, 15.9, 18},   // still narrower than 16
        {12, 14, 24},    // two digits: always 24
        {99, 30, 24},    //
        {150, 20.3, 30}, // label + 10, rounded
        {150, 20.6, 31}, //
        {1000, 16, 26},  // exactly 16 is not narrower
    };
    for (const auto& c : cases)
        EXPECT_EQ(ImageWithBadgeView::badgeWidth(c.count, c.labelWidth), c.expected)
            << c.count << " with a label " << c.labelWidth << " wide";
}

TEST(ImageWithBadgeViewTest, TheViewGrowsOnlyWhenBothBadgesNeedTheRoom) {
    EXPECT_EQ(ImageWithBadgeView::viewWidth(0, 0), 39);
    EXPECT_EQ(ImageWithBadgeView::viewWidth(0, 18), 39);
    EXPECT_EQ(ImageWithBadgeView::viewWidth(18, 24), 18 + 13 + 24 + 1);
    EXPECT_EQ(ImageWithBadgeView::viewWidth(0, 26), 40) << "26 + 1 is over 26";
    EXPECT_EQ(ImageWithBadgeView::viewWidth(0, 25), 39);
    EXPECT_EQ(ImageWithBadgeView::selectedBadgeX(56, 24, true), 14);
    EXPECT_EQ(ImageWithBadgeView::selectedBadgeX(39, 18, false), 39 - 18 - 3);
}

TEST(ImageWithBadgeViewTest, SettingTheCountsLaysTheViewOut) {
    ImageWithBadgeView view;
    view.resize(39, 36);
    view.setImageWithSelectedBadgeNumberAndSimilarSelectedBadgeNumber(QPixmap(), 0, 0);
    EXPECT_EQ(view.width(), 39);
    EXPECT_EQ(view.badgeLabelWidth(), 0);

    view.setImageWithSelectedBadgeNumberAndSimilarSelectedBadgeNumber(QPixmap(), 5, 0);
    EXPECT_EQ(view.badgeLabelWidth(), 18);
    EXPECT_EQ(view.width(), 39);

    view.setImageWithSelectedBadgeNumberAndSimilarSelectedBadgeNumber(QPixmap(), 12, 3);
    EXPECT_EQ(view.badgeLabelWidth(), 24);
    EXPECT_EQ(view.similarBadgeLabelWidth(), 18);
    EXPECT_EQ(view.width(), 56);
    EXPECT_EQ(view.height(), 36) << "the height never changes";

    view.setImageWithSelectedBadgeNumberAndSimilarSelectedBadgeNumber(QPixmap(), 0, 0);
    EXPECT_EQ(view.width(), 39);
}

QImage render(QWidget& widget, const QColor& ground) {
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(ground);
    widget.render(&image, {}, {}, QWidget::DrawChildren);
    return image;
}

TEST(ColoredViewTest, FillsWithItsColourAndDrawsNothingWithout) {
    ColoredView view;
    view.resize(20, 10);
    const QColor ground = Palette::badgeColor();
    EXPECT_EQ(render(view, ground).pixelColor(10, 5), ground);
    view.setColor(Palette::selectedRowColor());
    EXPECT_EQ(render(view, ground).pixelColor(10, 5), Palette::selectedRowColor());
}

TEST(ViewMasksTest, FixAndFreeOperationsSetTheirBits) {
    QWidget parent;
    QWidget child(&parent);
    ViewMasks::applyAllMasks(&child);
    EXPECT_EQ(ViewMasks::autoresizingMask(&child),
              unsigned(ViewMasks::WidthSizable | ViewMasks::HeightSizable));
    ViewMasks::removeAllMasks(&child);
    EXPECT_EQ(ViewMasks::autoresizingMask(&child),
              unsigned(ViewMasks::MinXMargin | ViewMasks::MaxXMargin | ViewMasks::MinYMargin |
                       ViewMasks::MaxYMargin));
    ViewMasks::fixBottomEdge(&child, true);
    ViewMasks::fixHeight(&child, false);
    EXPECT_EQ(ViewMasks::autoresizingMask(&child),
              unsigned(ViewMasks::MinXMargin | ViewMasks::MaxXMargin | ViewMasks::MaxYMargin |
                       ViewMasks::HeightSizable));
}

TEST(ViewMasksTest, ChildrenFollowTheirParentByTheirMasks) {
    QWidget parent;
    parent.resize(200, 100);
    QWidget stretching(&parent);
    stretching.setGeometry(10, 10, 180, 80);
    ViewMasks::applyAllMasks(&stretching);
    QWidget floating(&parent);
    floating.setGeometry(50, 20, 100, 60);
    ViewMasks::removeAllMasks(&floating);
    QWidget bottomBar(&parent); // keeps its height and sticks to the bottom edge
    bottomBar.setGeometry(0, 80, 200, 20);
    ViewMasks::setAutoresizingMask(&bottomBar, ViewMasks::WidthSizable | ViewMasks::MaxYMargin);
    parent.show();

    parent.resize(300, 200);
    EXPECT_EQ(stretching.geometry(), QRect(10, 10, 280, 180));
    EXPECT_EQ(floating.geometry(), QRect(100, 70, 100, 60)) << "the change is shared evenly";
    EXPECT_EQ(bottomBar.geometry(), QRect(0, 180, 300, 20));
}

// A child that must stay reachable while its disabled container swallows the pointer.
class Reachable final : public QPushButton, public UMViewWithHitTestCantBeIgnored {
public:
    explicit Reachable(QWidget* parent) : QPushButton(parent) {}
    bool skipsMouseEvents() const override { return skips; }
    bool skips = false;
};

TEST(UMViewWithHitTestTest, ADisabledViewSwallowsClicksExceptOnViewsThatCannotBeIgnored) {
    UMViewWithHitTest view;
    view.resize(200, 100);
    auto* plain = new QPushButton(&view);
    plain->setGeometry(0, 0, 80, 40);
    auto* reachable = new Reachable(&view);
    reachable->setGeometry(100, 0, 80, 40);
    view.show();
    QSignalSpy plainClicks(plain, &QPushButton::clicked);
    QSignalSpy reachableClicks(reachable, &QPushButton::clicked);

    view.setDisabled(true);
    QTest::mouseClick(plain, Qt::LeftButton);
    QTest::mouseClick(reachable, Qt::LeftButton);
    EXPECT_EQ(plainClicks.count(), 0);
    EXPECT_EQ(reachableClicks.count(), 1);
    reachable->skips = true;
    QTest::mouseClick(reachable, Qt::LeftButton);
    EXPECT_EQ(reachableClicks.count(), 1);

    view.setDisabled(false);
    QTest::mouseClick(plain, Qt::LeftButton);
    EXPECT_EQ(plainClicks.count(), 1);
}

TEST(DraggableWindowTest, ADragFromAViewThatIgnoresDragsNeverStarts) {
    DraggableWindow window;
    window.resize(300, 200);
    auto* ignoring = new UMViewWithIgnoreDrag(&window);
    ignoring->setGeometry(0, 0, 100, 100);
    window.show();
    QTest::mousePress(ignoring, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(window.initialLocation().isNull());
    QTest::mouseRelease(ignoring, Qt::LeftButton, {}, QPoint(10, 10));

    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(150, 150));
    EXPECT_EQ(window.initialLocation(), QPoint(150, 150));
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(150, 150));
    EXPECT_TRUE(window.initialLocation().isNull());
}

TEST(DraggableWindowTest, AWindowTallerThanTheScreenIsClampedVertically) {
    const QRect visible(0, 30, 1280, 770);
    EXPECT_EQ(DraggableWindow::constrainFrameRect(QRect(100, 0, 600, 900), visible),
              QRect(100, 30, 600, 770));
    EXPECT_EQ(DraggableWindow::constrainFrameRect(QRect(100, 500, 600, 700), visible),
              QRect(100, 500, 600, 700))
        << "a window that fits is left where it is";
}

} // namespace
