#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

// The help overlay's layout arithmetic, as pure functions in the window's y-up coordinates
// (origin bottom left), in which the results views give the rectangles of their controls.
// The overlay flips once when it paints.
namespace OverlayGeometry {

// Where a hint picture of |imageSize| stands beside its |anchor| for a "Position" code
// (0 to 12), floored to whole points in single precision. Code 12 is fixed near the
// bottom-left corner; a code outside 0 to 12 stands at the anchor's origin.
QPointF hintOrigin(int position, const QRectF& anchor, const QSizeF& imageSize);

// |origin| of a hint picture of |imageSize| moved the least distance that keeps the whole
// picture inside a view of |viewSize|: on a small window a hint beside a control near the
// edge stays readable, pointing as near to its control as the view allows. A picture larger
// than the view shows its top left.
QPointF keptInView(const QPointF& origin, const QSizeF& imageSize, const QSizeF& viewSize);

// The shape of the holes of one screen: the control's rectangle grown by |margin| on every
// side, moved by |offsetY|, then rounded with the corner radii (an ellipse when |ellipse|).
struct HoleShape {
    double margin = 8;
    double offsetY = 0;
    double radiusX = 8;
    double radiusY = 8;
    bool ellipse = false;
    bool cutsHoles = true;
};
HoleShape holeShape(int screen);
// (x - m, y - m + o, w + 2m, h + 2m)
QRectF biggerRect(const QRectF& rect, float margin, float offsetY = 0);
// The grown rectangle of a hole and its radii as drawn.
QRectF holeRect(int screen, const QRectF& frame);

// The anchor of a hint with two or more frames: the first frame that, with the frame after
// it, has more than 270 points of room above both and less room than that next one; else
// the last frame. |viewHeight| is the overlay's height.
QRectF properRect(const QList<QRectF>& frames, double viewHeight);
// The anchor of a hint: none (the zero rectangle), its only frame, or properRect().
QRectF anchorRect(const QList<QRectF>& frames, double viewHeight);

// The white bar behind the page dots, for |count| screens in a view |viewWidth| wide, and
// the k-th dot on it.
QRectF dotsBar(int count, double viewWidth);
QRectF dotRect(int k, const QRectF& bar);

// Screen 7: the photo centred in the view, the top picture right on it, the bottom picture
// 50 points above the view's bottom, both centred on the photo.
QPointF photoOrigin(const QSizeF& photo, const QSizeF& view);
QPointF topPictureOrigin(const QPointF& photoOrigin, const QSizeF& photo, const QSizeF& top);
QPointF bottomPictureOrigin(const QPointF& photoOrigin, const QSizeF& photo, const QSizeF& bottom);

// The white quarter-disc in the top-right corner (its full circle) and the border frame.
QRectF cornerDisc(const QSizeF& view);
QRectF borderRect(const QSizeF& view);

} // namespace OverlayGeometry
