#pragma once

#include <QRect>

class QWidget;

// Autoresizing masks for widgets placed by hand: each widget carries the mask of flexible
// margins and sizes, and when its parent is resized it follows by the mask, as views of the
// results and overview screens expect around their animations. The bits and edges are in
// y-up terms: MinY is the bottom margin, MaxY the top margin.
//
// Setting any bit installs a small follower on the parent (once per parent); a widget whose
// mask is NotSizable keeps its geometry.
namespace ViewMasks {

enum Bit : unsigned {
    NotSizable = 0,
    MinXMargin = 1,
    WidthSizable = 2,
    MaxXMargin = 4,
    MinYMargin = 8,
    HeightSizable = 16,
    MaxYMargin = 32,
};

unsigned autoresizingMask(const QWidget* view);
void setAutoresizingMask(QWidget* view, unsigned mask);
// Sets |bit| when |value| is true, clears it when false.
void setAutoresizingBitToValue(QWidget* view, unsigned bit, bool value);

// Each takes "fixed": true clears the flexible flag of that edge or size, false sets it.
void fixLeftEdge(QWidget* view, bool fixed);
void fixRightEdge(QWidget* view, bool fixed);
void fixTopEdge(QWidget* view, bool fixed);
void fixBottomEdge(QWidget* view, bool fixed);
void fixWidth(QWidget* view, bool fixed);
void fixHeight(QWidget* view, bool fixed);
// The four edges fixed, width and height flexible: the view follows every edge.
void applyAllMasks(QWidget* view);
// The four edges flexible, width and height fixed: the view keeps its size and floats.
void removeAllMasks(QWidget* view);

// Where a child with |mask| and |frame| (Qt coordinates) goes when its parent changes from
// |oldSize| to |newSize|. A change is shared among the flexible parts of an axis in
// proportion to their current lengths (evenly when they are all 0).
QRect resizedFrame(unsigned mask, const QRect& frame, const QSize& oldSize, const QSize& newSize);

} // namespace ViewMasks
