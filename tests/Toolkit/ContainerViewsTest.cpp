#include "Toolkit/Backgrounds.h"
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

TEST(BackgroundsTest, EachBackgroundPaintsItsBandsInTheirGreys) {
    const QColor ground(255, 0, 0);
    const auto grey = [](int level) { return QColor(level, level, level); };
    const auto isGrey = [](const QColor& c, int level) {
        return std::abs(c.red() - level) <= 1 && c.red() == c.green() && c.green() == c.blue();
    };
    {
        ViewWithCommonBackground view;
        view.resize(20, 10);
        EXPECT_EQ(render(view, ground).pixelColor(10, 5), grey(70));
    }
    {
        // Grey 79, darkened along the top by the shadow; the layer's border goes round it all.
        GrayContainerView view;
        view.resize(40, 30);
        QImage image = render(view, ground);
        EXPECT_EQ(image.pixelColor(20, 20), grey(79));
        EXPECT_LT(image.pixelColor(20, 0).red(), 79);
        view.setLayerBorder(grey(60), 1.0, 3.0);
        image = render(view, ground);
        EXPECT_TRUE(isGrey(image.pixelColor(20, 29), 60))
            << image.pixelColor(20, 29).name().toStdString();
        EXPECT_TRUE(isGrey(image.pixelColor(0, 15), 60));
        EXPECT_EQ(image.pixelColor(20, 20), grey(79));
    }
    {
        // A light line along the top over the textured body.
        BottombarBackgroundView view;
        view.resize(40, 20);
        const QImage image = render(view, ground);
        EXPECT_EQ(image.pixelColor(20, 0), grey(133));
        EXPECT_NE(image.pixelColor(20, 10), ground);
        EXPECT_NE(image.pixelColor(20, 10), grey(133));
    }
    {
        // From the bottom up: the 24-point band from grey 70 to 87, the line of grey 74, then
        // the textured body.
        ToolbarBackgroundView view;
        view.resize(40, 100);
        const QImage image = render(view, ground);
        EXPECT_TRUE(isGrey(image.pixelColor(20, 99), 70));
        EXPECT_TRUE(isGrey(image.pixelColor(20, 76), 87));
        EXPECT_EQ(image.pixelColor(20, 75), grey(74));
        EXPECT_NE(image.pixelColor(20, 40), ground);
        EXPECT_NE(image.pixelColor(20, 40), grey(74));
    }
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
