#pragma once

#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>

#include <array>

// The layout arithmetic of the folder cover flow, as pure functions. Every rectangle and
// point here is in the view's own y-up coordinates (origin bottom left), as the layout was
// designed; the widgets flip once when they paint or place (y_down = H - y - h).
namespace CoverFlowGeometry {

// The base card size; while cards follow the view's height only its aspect ratio matters.
inline constexpr QSizeF kBaseItemSize{128.0, 128.0};
// Distance of the eye from the cards' plane: the perspective of every card.
inline constexpr double kProjectionDistance = 420.0;
// Turn of the cards beside the selected one, in radians.
inline constexpr double kSideAngle = 0.79;
// How far the selected card stands out towards the eye.
inline constexpr double kSelectedDepth = 100.0;
// Duration of a selection move, and of one half of the selection pulse, in ms.
inline constexpr int kMoveDurationMs = 700;
inline constexpr int kPulseHalfDurationMs = 300;
inline constexpr double kPulseScale = 1.4;
// The pulse's timing curve, as the two control points of a cubic Bezier from (0,0) to (1,1).
inline constexpr QPointF kPulseControl1{0.314955, 1.0};
inline constexpr QPointF kPulseControl2{0.795145, 1.0};
// Delay before the remove button may show again after a selection change, and the time it
// is held back after a content change, in ms.
inline constexpr int kRemoveButtonRecheckMs = 700;
inline constexpr int kRemoveButtonHoldBackMs = 500;

// The remove button's frame at creation, for the view size the screens give (464 x 246).
// Once there are cards it follows the selected card (removeButtonFrame), and it shows
// while the pointer is over that card, the whole card and nothing else, at any view size.
inline constexpr QRectF kRemoveButtonFrame{290, 180, 16, 18};
inline constexpr QSizeF kRemoveButtonSize{16, 18};
// How far the button sits in from the selected card's top right corner.
inline constexpr QPointF kRemoveButtonInset{6, 6};
// The button's frame over the selected card's seen rectangle |card| (y-up): inside the
// card, at its top right corner.
QRectF removeButtonFrame(const QRectF& card);

// The scroller's frame at creation, and its height.
inline constexpr QRectF kScrollerInitialFrame{10, 10, 400, 6};
inline constexpr double kScrollerHeight = 6.0;

// The scroller's frame in a view |viewWidth| wide: centred, 80 points in from each side.
QRectF scrollerFrame(double viewWidth);

// The y of the label under the cards: 16 points above the scroller plus 15 when the scroller
// is shown (57 for the standard scroller), else 31.
double accessoryY(bool scrollerShown, const QRectF& scroller = scrollerFrame(0));
// The label's frame: its own size, centred and floored in x, at accessoryY.
QRectF accessoryFrame(double viewWidth, const QSizeF& accessorySize, double y);

// The card size. |accessoryHeight| is 0 without a label.
QSizeF itemSize(const QSizeF& viewSize, bool autoresizesItems, bool scrollerShown,
                double accessoryHeight, const QSizeF& baseSize = kBaseItemSize);

// The card area ("body"): 10 points in from the sides and the top; its bottom lies
// 0.75 card heights + 15 below the label's top edge |accessoryTop| (0 without a label).
QRectF containerRect(const QSizeF& viewSize, double accessoryTop, double cardHeight);

// Left margin of the first card in a scroll area |scrollWidth| wide holding |count| cards
// |cardWidth| wide.
double margin(double scrollWidth, int count, double cardWidth);

// Where one card stands in the scroll area, and how it is turned.
struct CardPlacement {
    QRectF frame;         // the card's frame in the scroll area, y-up
    double angle = 0;     // 0 for the selected card, +kSideAngle left of it, -kSideAngle right
    double imageZ = 0;    // kSelectedDepth for the selected card, else 0
    double stackingZ = 0; // 0 for the selected card, -0.1 per step away from it
};
CardPlacement cardPlacement(int index, int selection, const QSizeF& cardSize, double margin);

// The horizontal scroll offset that centres the selected card (single precision).
float positionOfSelectedItem(double scrollWidth, int count, const QSizeF& cardSize, int selection);

// The four corners (bottom left, bottom right, top right, top left) of a card of |frame|
// as seen: turned by |angle| about its vertical middle line, moved |depth| towards the eye
// and seen in perspective from kProjectionDistance in front of its centre, then scaled by
// |scale| about its centre (the selection pulse).
std::array<QPointF, 4> projectedCorners(const QRectF& frame, double angle, double depth,
                                        double scale = 1.0);
// The bounding rectangle of those corners.
QRectF projectedBounds(const QRectF& frame, double angle, double depth, double scale = 1.0);

// The placeholder picture's size for cards of |cardSize|: 600 high, as wide as a card of
// that shape.
QSizeF placeholderSize(const QSizeF& cardSize);
// The box of the placeholder icon of |iconSize| inside a placeholder |placeholderWidth|
// wide: 300 high, narrowed to half the placeholder's width for a wide icon.
QSizeF placeholderIconBox(const QSizeF& iconSize, double placeholderWidth);

// The scroller's rules: the knob's share of the track, the step a value reads as, the value
// of a step, and the knob's rectangle in a track |trackWidth| wide (6 high).
double knobProportion(unsigned increments);
long integerValue(double value, unsigned increments);
double valueForInteger(long step, unsigned increments);
QRectF knobRect(double trackWidth, double value, double proportion);

// One move of the drop-area arrow: where its origin goes (x of the cycle's start) and how
// long it takes.
struct ArrowMove {
    double y;
    int durationMs;
};
inline constexpr std::array<ArrowMove, 4> kArrowCycle{{{15, 300}, {35, 150}, {15, 200}, {70, 300}}};
// The pause before the next cycle.
inline constexpr int kArrowPauseMs = 500;
// The arrow area's frame in a view |viewWidth| wide: centred, 10 points above the bottom.
QRectF dockAnimationFrame(double viewWidth);
// The "Drop folders here" text's frame in a view of |viewSize|.
QRectF dropTextFrame(const QSizeF& viewSize);

// Flips a y-up rectangle into the top-down coordinates of a widget |height| high.
QRectF flipped(const QRectF& rect, double height);
QPointF flipped(const QPointF& point, double height);

} // namespace CoverFlowGeometry
