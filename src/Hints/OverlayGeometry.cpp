#include "Hints/OverlayGeometry.h"

#include <algorithm>
#include <cmath>

namespace OverlayGeometry {

namespace {
double floorF(double value) {
    return std::floor(static_cast<float>(value));
}
} // namespace

QPointF keptInView(const QPointF& origin, const QSizeF& imageSize, const QSizeF& viewSize) {
    // y up: the top edge is at the view's height.
    const double x = std::max(0.0, std::min(origin.x(), viewSize.width() - imageSize.width()));
    const double top =
        std::min(viewSize.height(), std::max(origin.y() + imageSize.height(), imageSize.height()));
    return {x, top - imageSize.height()};
}

QPointF hintOrigin(int position, const QRectF& anchor, const QSizeF& imageSize) {
    const double ax = anchor.x(), ay = anchor.y(), aw = anchor.width(), ah = anchor.height();
    const double iw = imageSize.width(), ih = imageSize.height();
    double x = ax, y = ay;
    switch (position) {
    case 0:
        x = ax + aw / 2 - iw / 2;
        y = ay + ah + 10;
        break;
    case 1:
        x = ax + aw + 10;
        y = ay + ah / 2 - ih / 2;
        break;
    case 2:
        x = ax + aw + 10;
        y = ay;
        break;
    case 3:
        x = ax + aw / 2 - iw / 2;
        y = ay - ih - 10;
        break;
    case 4:
        x = ax + aw / 2 - iw - 10;
        y = ay;
        break;
    case 5:
        x = ax - iw - 10;
        y = ay + ah / 2 - ih / 2;
        break;
    case 6:
        x = ax - iw - 10;
        y = ay;
        break;
    case 7:
        x = ax - iw + 20;
        y = ay - ih - 10;
        break;
    case 8:
        x = ax;
        y = ay - ih - 10;
        break;
    case 9:
        x = ax + aw - iw;
        y = ay - ih - 10;
        break;
    case 10:
        x = ax;
        y = ay + ah + 10;
        break;
    case 11:
        x = ax - aw - 10;
        y = ay + ah + 10;
        break;
    case 12:
        x = 20;
        y = 20;
        break;
    default:
        break;
    }
    return {floorF(x), floorF(y)};
}

HoleShape holeShape(int screen) {
    switch (screen) {
    case 1:
        return {8, 0, 0, 0, true, true};
    case 4:
    case 5:
        return {6, 0, 22, 22, false, true};
    case 6:
        return {4, -1, 18, 18, false, true};
    case 8:
    case 9:
        return {4, 0, 8, 8, false, true};
    case 10:
        return {2, 0, 8, 8, false, true};
    case 7:
        return {8, 0, 8, 8, false, false};
    default:
        return {8, 0, 8, 8, false, true};
    }
}

QRectF biggerRect(const QRectF& rect, float margin, float offsetY) {
    return {rect.x() - margin, rect.y() - margin + offsetY, rect.width() + 2.0 * margin,
            rect.height() + 2.0 * margin};
}

QRectF holeRect(int screen, const QRectF& frame) {
    const HoleShape shape = holeShape(screen);
    return biggerRect(frame, static_cast<float>(shape.margin), static_cast<float>(shape.offsetY));
}

QRectF properRect(const QList<QRectF>& frames, double viewHeight) {
    if (frames.isEmpty())
        return {};
    auto room = [viewHeight](const QRectF& r) {
        return static_cast<float>(viewHeight - (r.y() + r.height()));
    };
    for (qsizetype i = 0; i + 1 < frames.size(); ++i) {
        const float a = room(frames[i]);
        const float b = room(frames[i + 1]);
        if (b > a && a > 270.0f && b > 270.0f)
            return frames[i];
    }
    return frames.last();
}

QRectF anchorRect(const QList<QRectF>& frames, double viewHeight) {
    if (frames.isEmpty())
        return {};
    if (frames.size() == 1)
        return frames.first();
    return properRect(frames, viewHeight);
}

QRectF dotsBar(int count, double viewWidth) {
    const double width = 20.0 * count + 12.0;
    return {std::floor((viewWidth - width) / 2.0), 0, width, 32};
}

QRectF dotRect(int k, const QRectF& bar) {
    return {bar.x() + 10.0 + 20.0 * k, 10, 12, 12};
}

QPointF photoOrigin(const QSizeF& photo, const QSizeF& view) {
    return {std::floor(view.width() / 2 - photo.width() / 2),
            std::floor(view.height() / 2 - photo.height() / 2)};
}

QPointF topPictureOrigin(const QPointF& photoOrigin, const QSizeF& photo, const QSizeF& top) {
    return {std::floor(photoOrigin.x() + photo.width() / 2 - top.width() / 2),
            std::floor(photoOrigin.y() + photo.height())};
}

QPointF bottomPictureOrigin(const QPointF& photoOrigin, const QSizeF& photo, const QSizeF& bottom) {
    return {std::floor(photoOrigin.x() + photo.width() / 2 - bottom.width() / 2), 50};
}

QRectF cornerDisc(const QSizeF& view) {
    return {view.width() - 65, view.height() - 65, 130, 130};
}

QRectF borderRect(const QSizeF& view) {
    return {1.5, 1.5, view.width() - 3, view.height() - 3};
}

} // namespace OverlayGeometry
