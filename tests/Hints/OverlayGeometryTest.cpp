#include "Hints/OverlayGeometry.h"
#include "Hints/BezierPathQuartzUtilities.h"

#include <gtest/gtest.h>

namespace G = OverlayGeometry;

namespace {

TEST(OverlayGeometry, HintPicturesStandBesideTheirAnchor) {
    const QRectF anchor(100, 200, 60, 40); // x, y (y-up), w, h
    const QSizeF picture(30, 20);
    const struct {
        int code;
        QPointF origin;
    } cases[] = {
        {0, {115, 250}},  {1, {170, 210}}, {2, {170, 200}}, {3, {115, 170}}, {4, {90, 200}},
        {5, {60, 210}},   {6, {60, 200}},  {7, {90, 170}},  {8, {100, 170}}, {9, {130, 170}},
        {10, {100, 250}}, {11, {30, 250}}, {12, {20, 20}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(G::hintOrigin(c.code, anchor, picture), c.origin) << "code " << c.code;
    // Floored to whole points; code 12 ignores the anchor, also the zero rectangle.
    EXPECT_EQ(G::hintOrigin(0, QRectF(0.5, 0.5, 1, 1), QSizeF(2, 2)), QPointF(0, 11));
    EXPECT_EQ(G::hintOrigin(12, QRectF(), picture), QPointF(20, 20));
}

TEST(OverlayGeometry, AHintPictureStaysInsideTheView) {
    const QSizeF view(960, 540);
    const QSizeF picture(250, 80);
    struct Case {
        QPointF origin;
        QPointF kept;
    };
    const Case cases[] = {
        {{100, 100}, {100, 100}}, // inside: where it stands
        {{800, 100}, {710, 100}}, // off the right
        {{-30, 100}, {0, 100}},   // off the left
        {{100, 500}, {100, 460}}, // above the top (y up)
        {{100, -20}, {100, 0}},   // below the bottom
        {{900, 520}, {710, 460}}, // off a corner
    };
    for (const Case& c : cases)
        EXPECT_EQ(G::keptInView(c.origin, picture, view), c.kept)
            << c.origin.x() << "," << c.origin.y();
    // Larger than the view: its top left shows.
    EXPECT_EQ(G::keptInView({50, 50}, QSizeF(1000, 600), view), QPointF(0, -60));
}

TEST(OverlayGeometry, HoleShapesPerScreen) {
    const QRectF frame(100, 100, 50, 20);
    EXPECT_EQ(G::holeRect(1, frame), QRectF(92, 92, 66, 36));
    EXPECT_TRUE(G::holeShape(1).ellipse);
    EXPECT_EQ(G::holeRect(4, frame), QRectF(94, 94, 62, 32));
    EXPECT_DOUBLE_EQ(G::holeShape(5).radiusX, 22);
    EXPECT_EQ(G::holeRect(6, frame), QRectF(96, 95, 58, 28)); // moved down by 1
    EXPECT_DOUBLE_EQ(G::holeShape(6).radiusY, 18);
    EXPECT_EQ(G::holeRect(9, frame), QRectF(96, 96, 58, 28));
    EXPECT_EQ(G::holeRect(10, frame), QRectF(98, 98, 54, 24));
    EXPECT_EQ(G::holeRect(3, frame), QRectF(92, 92, 66, 36));
    EXPECT_EQ(G::holeRect(42, frame), QRectF(92, 92, 66, 36));
    EXPECT_FALSE(G::holeShape(7).cutsHoles);
}

TEST(OverlayGeometry, AnchorOfSeveralFrames) {
    const double H = 800;
    // Room above: 800 - (y + h).
    const QRectF low(0, 100, 10, 100);              // room 600
    const QRectF lower(0, 50, 10, 100);             // room 650
    const QRectF high(0, 500, 10, 100);             // room 200
    EXPECT_EQ(G::properRect({low, lower}, H), low); // the next one has more room, both > 270
    EXPECT_EQ(G::properRect({lower, low}, H), low); // never qualifies: the last
    EXPECT_EQ(G::properRect({high, lower, low}, H), low);
    EXPECT_EQ(G::properRect({high, low, lower}, H), low);
    EXPECT_EQ(G::anchorRect({}, H), QRectF());
    EXPECT_EQ(G::anchorRect({high}, H), high);
}

TEST(OverlayGeometry, PageDots) {
    // Four screens: a bar 92 wide, dots 10 from its left end, 20 apart, 12 x 12 at height 10.
    const QRectF bar = G::dotsBar(4, 1000);
    EXPECT_EQ(bar, QRectF(454, 0, 92, 32));
    EXPECT_EQ(G::dotRect(0, bar), QRectF(464, 10, 12, 12));
    EXPECT_EQ(G::dotRect(3, bar), QRectF(524, 10, 12, 12));
    EXPECT_EQ(G::dotsBar(1, 101).x(), 34); // floored
}

TEST(OverlayGeometry, PictureScreenStacksAroundTheCentredPhoto) {
    const QPointF photo = G::photoOrigin(QSizeF(360, 200), QSizeF(961, 621));
    EXPECT_EQ(photo, QPointF(300, 210));
    EXPECT_EQ(G::topPictureOrigin(photo, QSizeF(360, 200), QSizeF(250, 80)), QPointF(355, 410));
    EXPECT_EQ(G::bottomPictureOrigin(photo, QSizeF(360, 200), QSizeF(251, 80)), QPointF(354, 50));
    EXPECT_EQ(G::cornerDisc(QSizeF(900, 600)), QRectF(835, 535, 130, 130));
    EXPECT_EQ(G::borderRect(QSizeF(900, 600)), QRectF(1.5, 1.5, 897, 597));
}

TEST(BezierPathQuartzUtilities, ClosesAnOpenOutlineOnce) {
    EXPECT_FALSE(BezierPathQuartzUtilities::quartzPath(QPainterPath()).has_value());

    QPainterPath open;
    open.moveTo(0, 0);
    open.lineTo(10, 0);
    open.lineTo(10, 10);
    const auto closed = BezierPathQuartzUtilities::quartzPath(open);
    ASSERT_TRUE(closed.has_value());
    EXPECT_EQ(closed->currentPosition(), QPointF(0, 0));
    EXPECT_EQ(closed->elementCount(), 4);

    QPainterPath alreadyClosed = open;
    alreadyClosed.closeSubpath();
    const auto same = BezierPathQuartzUtilities::quartzPath(alreadyClosed);
    ASSERT_TRUE(same.has_value());
    EXPECT_EQ(same->elementCount(), alreadyClosed.elementCount());

    QPainterPath rounded;
    rounded.addRoundedRect(QRectF(0, 0, 40, 20), 8, 8);
    const auto hole = BezierPathQuartzUtilities::quartzPath(rounded);
    ASSERT_TRUE(hole.has_value());
    EXPECT_EQ(hole->boundingRect(), rounded.boundingRect());
    EXPECT_EQ(hole->elementCount(), rounded.elementCount());
}

} // namespace
