#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QSizeF>

#include <cstdint>
#include <vector>

// The pie chart's arithmetic, in the chart's y-up coordinates (origin bottom left, angles in
// degrees counter-clockwise from the positive x axis). Pure functions; the view only paints
// and forwards the pointer.
namespace PieChartGeometry {

// A circle for the callouts' collision test.
struct Circle {
    double radius = 0;
    QPointF center;
};

// True when the centres are no farther apart than the two radii together (the radii are
// added in single precision).
bool intersectionOfCircle(const Circle& first, const Circle& second);

// The ring's outer radius for a view of |size|: min(h/2 - 75, w/2 - 200), never below 100.
float radiusForSize(const QSizeF& size);

// Folds an angle back into [0, 360]: a negative one gains 360 once; above 360 the whole
// part is taken modulo 360 (the fraction is dropped: 361.7 becomes 1).
float normaliseAngle(float angle);

// The pointer's angle about the centre of a view of |size|.
float pointerAngle(const QPointF& pointYUp, const QSizeF& size);

// The turn from |previous| to |current| pointer angle, wrapped into (-180, 180] so that
// crossing the seam of atan2 (180 to -180) is a small step, not a whole turn back.
float angleStep(float previous, float current);

// One spin tick's damping: 1 percent while |torque| < 2, else 2 percent; 0 once below 1.
float dampedTorque(float torque);

// One slice of the ring. A lone entry is the full disc (no hole) with centre angle 0.
struct Slice {
    float start = 0;  // degrees
    float end = 0;    // start + span; spans are negative (clockwise)
    float center = 0; // the middle, in [0, 360)
    bool fullDisc = false;
};
// The slices of |sizes| (all above 0) from |startAngle| on, clockwise in list order.
std::vector<Slice> slices(const std::vector<std::uint64_t>& sizes, float startAngle);

// The slice's outline in Qt's y-down coordinates of a view whose centre is |centerQt|,
// with the non-zero winding rule: the outer arc, then the inner arc of radius 60 back.
QPainterPath sliceOutline(const Slice& slice, const QPointF& centerQt, float radius);

// ---- Callouts.
constexpr float kCalloutAnchorOffset = 20; // anchors stand this far outside the ring
constexpr float kCalloutElbowOffset = 45;  // the elbow of the leader line
constexpr float kCalloutStep = 13;         // degrees clockwise past a crowded callout

struct TipPlacement {
    float angle = 0;      // "Angle": the callout's direction from the centre
    int sectorNumber = 0; // "SectorNumber": its entry
};

// The callouts' directions, in placement order: first the entry after the largest (the first
// of equal largest), then round the list; an entry whose anchor comes within 70 points of a
// callout placed before it goes 13 degrees (more far above or below the centre) clockwise of
// the last one placed. One pass: crowded callouts may still overlap.
std::vector<TipPlacement> layoutCallouts(const std::vector<std::uint64_t>& sizes,
                                         const std::vector<float>& centerAngles, float radius,
                                         const QPointF& centerYUp);

// The point at |radius| from |centerYUp| in direction |angle| (degrees).
QPointF pointAt(const QPointF& centerYUp, double radius, double angle);

} // namespace PieChartGeometry
