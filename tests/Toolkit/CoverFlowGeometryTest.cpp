#include "Toolkit/CoverFlowGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace G = CoverFlowGeometry;

namespace {

// The welcome screen's cover flow: 464 x 246 with a 16-point label and the scroller shown.
const QSizeF kView(464, 246);
constexpr double kLabelHeight = 16;

TEST(CoverFlowGeometry, LabelAndScrollerStandUnderTheCards) {
    EXPECT_EQ(G::scrollerFrame(464), QRectF(80, 20, 304, 6));
    EXPECT_DOUBLE_EQ(G::accessoryY(true, G::scrollerFrame(464)), 57);
    EXPECT_DOUBLE_EQ(G::accessoryY(false), 31);
    EXPECT_EQ(G::accessoryFrame(464, QSizeF(400, 16), 57), QRectF(32, 57, 400, 16));
    EXPECT_EQ(G::accessoryFrame(465, QSizeF(400, 16), 57).x(), 32); // floored
}

TEST(CoverFlowGeometry, CardSizeFollowsTheViewHeight) {
    struct Case {
        QSizeF view;
        bool autoresize;
        bool scroller;
        double label;
        QSizeF expected;
    };
    const Case cases[] = {
        {kView, true, true, kLabelHeight, QSizeF(106, 106)},  // 246 - 58 - 82
        {kView, true, false, kLabelHeight, QSizeF(128, 128)}, // 246 - 36 - 82
        {kView, true, false, 0, QSizeF(144, 144)},            // 246 - 20 - 82
        {QSizeF(300, 30), true, true, kLabelHeight, QSizeF(1, 1)},
        {kView, false, true, kLabelHeight, QSizeF(128, 128)},
        {QSizeF(464, 247), true, true, kLabelHeight, QSizeF(106, 106)}, // floored
    };
    for (const Case& c : cases)
        EXPECT_EQ(G::itemSize(c.view, c.autoresize, c.scroller, c.label), c.expected)
            << c.view.height() << " " << c.scroller << " " << c.label;
    // Only the base size's shape matters: a wide base gives wide cards.
    EXPECT_EQ(G::itemSize(kView, true, true, kLabelHeight, QSizeF(256, 128)), QSizeF(212, 106));
}

TEST(CoverFlowGeometry, CardAreaHangsBelowTheLabelTop) {
    // Label top 73: bottom 73 - 79.5 - 15, top 10 under the view's top, 10 in from each side.
    const QRectF body = G::containerRect(kView, 73, 106);
    EXPECT_DOUBLE_EQ(body.left(), 10);
    EXPECT_DOUBLE_EQ(body.width(), 444);
    EXPECT_DOUBLE_EQ(body.bottom(), 236); // y-up: bottom() of a QRectF is its upper edge
    EXPECT_DOUBLE_EQ(body.top(), -21.5);
}

TEST(CoverFlowGeometry, OneCardIsCentred) {
    EXPECT_DOUBLE_EQ(G::margin(444, 1, 106), 181);
    const float offset = G::positionOfSelectedItem(444, 1, QSizeF(106, 106), 0);
    EXPECT_FLOAT_EQ(offset, 12.0f);
    const G::CardPlacement card = G::cardPlacement(0, 0, QSizeF(106, 106), 181);
    // The card's centre, moved by the scroll offset, is the middle of the area.
    EXPECT_DOUBLE_EQ(card.frame.center().x() - offset, 222);
    EXPECT_DOUBLE_EQ(card.frame.y(), 106);
}

TEST(CoverFlowGeometry, SideCardsTurnAwayAndOverlap) {
    const QSizeF card(100, 100);
    const double m = G::margin(444, 7, 100);
    EXPECT_DOUBLE_EQ(m, std::floor((444 - 700 - 60) / 2.0 + 12));
    const int sel = 3;
    std::vector<G::CardPlacement> cards;
    for (int i = 0; i < 7; ++i)
        cards.push_back(G::cardPlacement(i, sel, card, m));
    EXPECT_DOUBLE_EQ(cards[3].angle, 0);
    EXPECT_DOUBLE_EQ(cards[3].imageZ, 100);
    EXPECT_DOUBLE_EQ(cards[3].stackingZ, 0);
    EXPECT_DOUBLE_EQ(cards[2].angle, 0.79);
    EXPECT_DOUBLE_EQ(cards[4].angle, -0.79);
    EXPECT_DOUBLE_EQ(cards[0].stackingZ, -0.30000000000000004);
    EXPECT_DOUBLE_EQ(cards[6].stackingZ, cards[0].stackingZ);
    EXPECT_DOUBLE_EQ(cards[1].imageZ, 0);
    // Nearest neighbours 0.9875 card widths from the selected card, side cards 0.35 apart.
    EXPECT_NEAR(cards[3].frame.x() - cards[2].frame.x(), 98.75, 1e-9);
    EXPECT_NEAR(cards[4].frame.x() - cards[3].frame.x(), 98.75, 1e-9);
    EXPECT_NEAR(cards[2].frame.x() - cards[1].frame.x(), 35, 1e-9);
    EXPECT_NEAR(cards[6].frame.x() - cards[5].frame.x(), 35, 1e-9);
    for (const auto& c : cards)
        EXPECT_EQ(c.frame.size(), card);
}

TEST(CoverFlowGeometry, PerspectiveOfTheCards) {
    const QRectF frame(0, 0, 100, 100);
    // The selected card stands 100 points nearer: 420 / 320 times larger, about its centre.
    const QRectF selected = G::projectedBounds(frame, 0, 100);
    EXPECT_NEAR(selected.width(), 131.25, 1e-9);
    EXPECT_NEAR(selected.height(), 131.25, 1e-9);
    EXPECT_NEAR(selected.center().x(), 50, 1e-9);
    // A card left of the selection turns its inner (right) edge away: that edge is shorter
    // than its outer edge, and the card is narrower than it is high.
    const auto left = G::projectedCorners(frame, G::kSideAngle, 0);
    const double outer = left[3].y() - left[0].y();
    const double inner = left[2].y() - left[1].y();
    EXPECT_GT(outer, 100);
    EXPECT_LT(inner, 100);
    const QRectF leftBounds = G::projectedBounds(frame, G::kSideAngle, 0);
    EXPECT_LT(leftBounds.width(), 75);
    // The right card mirrors it.
    const QRectF rightBounds = G::projectedBounds(frame, -G::kSideAngle, 0);
    EXPECT_NEAR(rightBounds.width(), leftBounds.width(), 1e-9);
    EXPECT_NEAR(rightBounds.center().x() - 50, 50 - leftBounds.center().x(), 1e-9);
    // Exact values of one corner: x = 50 cos a / (1 + 50 sin a / 420).
    const double a = 0.79;
    EXPECT_NEAR(left[1].x(), 50 + 50 * std::cos(a) / (1 + 50 * std::sin(a) / 420), 1e-9);
    // The pulse scales what is seen about the card's centre.
    const QRectF pulsed = G::projectedBounds(frame, 0, 100, 1.4);
    EXPECT_NEAR(pulsed.width(), 131.25 * 1.4, 1e-9);
    EXPECT_NEAR(pulsed.center().y(), 50, 1e-9);
}

TEST(CoverFlowGeometry, PlaceholderAndItsIconBox) {
    EXPECT_EQ(G::placeholderSize(QSizeF(106, 106)), QSizeF(600, 600));
    EXPECT_EQ(G::placeholderSize(QSizeF(200, 100)), QSizeF(1200, 600));
    EXPECT_EQ(G::placeholderIconBox(QSizeF(128, 128), 600), QSizeF(300, 300));
    EXPECT_EQ(G::placeholderIconBox(QSizeF(64, 128), 600), QSizeF(150, 300));
    // Wider than 0.666 of the picture: half the picture's width, keeping the icon's shape.
    EXPECT_EQ(G::placeholderIconBox(QSizeF(256, 64), 600), QSizeF(300, 75));
}

TEST(CoverFlowGeometry, ScrollerStepsAndKnob) {
    EXPECT_DOUBLE_EQ(G::knobProportion(0), 1.0);
    EXPECT_DOUBLE_EQ(G::knobProportion(4), 0.2);
    EXPECT_DOUBLE_EQ(G::valueForInteger(2, 4), 0.5);
    EXPECT_EQ(G::integerValue(0.62, 4), 2); // floor(2.48 + 0.5)
    EXPECT_EQ(G::integerValue(0.63, 4), 3);
    EXPECT_EQ(G::integerValue(1.0, 6), 6);
    EXPECT_DOUBLE_EQ(G::valueForInteger(3, 0), 0.0);
    EXPECT_EQ(G::knobRect(300, 0.5, 0.2), QRectF(120, 0, 60, 6));
    EXPECT_EQ(G::knobRect(300, 1.0, 0.2), QRectF(240, 0, 60, 6));
    // Never narrower than its two end caps.
    EXPECT_EQ(G::knobRect(300, 0.0, 0.01).width(), 12);
}

TEST(CoverFlowGeometry, DropAreaPlaces) {
    EXPECT_EQ(G::dockAnimationFrame(464), QRectF(102, 10, 260, 130));
    EXPECT_EQ(G::dropTextFrame(kView), QRectF(0, 186, 464, 40));
    EXPECT_EQ(G::flipped(QRectF(0, 186, 464, 40), 246), QRectF(0, 20, 464, 40));
    int total = 0;
    for (const auto& move : G::kArrowCycle)
        total += move.durationMs;
    EXPECT_EQ(total, 950);
}

} // namespace
