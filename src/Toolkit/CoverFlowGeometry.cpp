#include "Toolkit/CoverFlowGeometry.h"

#include <algorithm>
#include <cmath>

namespace CoverFlowGeometry {

QRectF scrollerFrame(double viewWidth) {
    const double width = viewWidth - 160.0;
    return {(viewWidth - width) / 2.0, 20.0, width, kScrollerHeight};
}

double accessoryY(bool scrollerShown, const QRectF& scroller) {
    if (!scrollerShown)
        return 31.0;
    return static_cast<double>(static_cast<float>(scroller.y() + scroller.height() + 16.0)) + 15.0;
}

QRectF accessoryFrame(double viewWidth, const QSizeF& accessorySize, double y) {
    return {std::floor((viewWidth - accessorySize.width()) / 2.0), y, accessorySize.width(),
            accessorySize.height()};
}

QSizeF itemSize(const QSizeF& viewSize, bool autoresizesItems, bool scrollerShown,
                double accessoryHeight, const QSizeF& baseSize) {
    if (!autoresizesItems)
        return baseSize;
    double reserved = scrollerShown ? kScrollerHeight + 16.0 + 20.0 : 20.0;
    reserved += accessoryHeight;
    const double height = viewSize.height();
    const double cardHeight = std::max(height - reserved - height / 3.0, 1.0);
    const double cardWidth = baseSize.width() * cardHeight / baseSize.height();
    return {std::floor(cardWidth), std::floor(cardHeight)};
}

QRectF containerRect(const QSizeF& viewSize, double accessoryTop, double cardHeight) {
    const double bottom = accessoryTop - 0.75 * cardHeight - 15.0;
    const double top = viewSize.height() - 10.0;
    const double width = viewSize.width() - 20.0;
    return {(viewSize.width() - width) / 2.0, bottom, width, top - bottom};
}

double margin(double scrollWidth, int count, double cardWidth) {
    const double n = count;
    return std::floor((scrollWidth - n * cardWidth - (n - 1.0) * cardWidth / 10.0) / 2.0 + 12.0);
}

CardPlacement cardPlacement(int index, int selection, const QSizeF& cardSize, double margin) {
    const double w = cardSize.width();
    CardPlacement placement;
    double x = (w + w / 10.0) * index + margin;
    if (index < selection) {
        const int steps = selection - index;
        x += 0.75 * w * (steps - 0.85);
        placement.angle = kSideAngle;
        placement.stackingZ = -0.1 * steps;
    } else if (index > selection) {
        const int steps = index - selection;
        x -= 0.75 * w * (steps - 0.85);
        placement.angle = -kSideAngle;
        placement.stackingZ = -0.1 * steps;
    } else {
        placement.imageZ = kSelectedDepth;
    }
    placement.frame = QRectF(x, cardSize.height(), w, cardSize.height());
    return placement;
}

float positionOfSelectedItem(double scrollWidth, int count, const QSizeF& cardSize, int selection) {
    const double w = cardSize.width();
    return static_cast<float>(margin(scrollWidth, count, w) + (w + w / 10.0) * selection + w / 2.0 -
                              scrollWidth / 2.0);
}

std::array<QPointF, 4> projectedCorners(const QRectF& frame, double angle, double depth,
                                        double scale) {
    const QPointF centre = frame.center();
    const double halfW = frame.width() / 2.0;
    const double halfH = frame.height() / 2.0;
    const std::array<QPointF, 4> offsets{QPointF(-halfW, -halfH), QPointF(halfW, -halfH),
                                         QPointF(halfW, halfH), QPointF(-halfW, halfH)};
    std::array<QPointF, 4> corners;
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        // Turned about the vertical middle line: x shrinks, z moves towards or away from the
        // eye; the selected card's depth brings the whole card nearer.
        const double x = offsets[i].x() * std::cos(angle);
        const double z = -offsets[i].x() * std::sin(angle) + depth;
        const double w = 1.0 - z / kProjectionDistance;
        const QPointF seen(x / w, offsets[i].y() / w);
        corners[i] = centre + seen * scale;
    }
    return corners;
}

QRectF projectedBounds(const QRectF& frame, double angle, double depth, double scale) {
    const auto corners = projectedCorners(frame, angle, depth, scale);
    double left = corners[0].x(), right = left, bottom = corners[0].y(), top = bottom;
    for (const QPointF& corner : corners) {
        left = std::min(left, corner.x());
        right = std::max(right, corner.x());
        bottom = std::min(bottom, corner.y());
        top = std::max(top, corner.y());
    }
    return {left, bottom, right - left, top - bottom};
}

QSizeF placeholderSize(const QSizeF& cardSize) {
    return {cardSize.width() * 600.0 / cardSize.height(), 600.0};
}

QSizeF placeholderIconBox(const QSizeF& iconSize, double placeholderWidth) {
    QSizeF box(300.0 * iconSize.width() / iconSize.height(), 300.0);
    if (box.width() > 0.666 * placeholderWidth) {
        const double width = 0.5 * placeholderWidth;
        box = QSizeF(width, width * iconSize.height() / iconSize.width());
    }
    return box;
}

double knobProportion(unsigned increments) {
    return increments > 0 ? 1.0 / (increments + 1.0) : 1.0;
}

long integerValue(double value, unsigned increments) {
    const float scaled = static_cast<float>(value) * static_cast<float>(increments);
    return static_cast<long>(std::floor(scaled + 0.5f));
}

double valueForInteger(long step, unsigned increments) {
    if (increments == 0)
        return 0.0;
    return static_cast<double>(static_cast<float>(step) / static_cast<float>(increments));
}

QRectF knobRect(double trackWidth, double value, double proportion) {
    // Never narrower than its two end caps, however many cards there are.
    const double width = std::max(std::floor(trackWidth * proportion), 2.0 * kScrollerHeight);
    const double x = std::floor(std::clamp(value, 0.0, 1.0) * (trackWidth - width));
    return {x, 0.0, width, kScrollerHeight};
}

QRectF dockAnimationFrame(double viewWidth) {
    return {(viewWidth - 260.0) / 2.0, 10.0, 260.0, 130.0};
}

QRectF dropTextFrame(const QSizeF& viewSize) {
    return {0.0, viewSize.height() - 60.0, viewSize.width(), 40.0};
}

QRectF flipped(const QRectF& rect, double height) {
    return {rect.x(), height - rect.y() - rect.height(), rect.width(), rect.height()};
}

QPointF flipped(const QPointF& point, double height) {
    return {point.x(), height - point.y()};
}

QRectF removeButtonFrame(const QRectF& card) {
    const double x = card.right() - kRemoveButtonInset.x() - kRemoveButtonSize.width();
    const double y = card.bottom() - kRemoveButtonInset.y() - kRemoveButtonSize.height();
    return {std::floor(x), std::floor(y), kRemoveButtonSize.width(), kRemoveButtonSize.height()};
}

} // namespace CoverFlowGeometry
