#include "Browser/Overview/PieChartGeometry.h"

#include <QRectF>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace PieChartGeometry {

namespace {
constexpr float kInnerRadius = 60;
constexpr float kMinimumRadius = 100;
constexpr double kDegree = std::numbers::pi / 180.0;
} // namespace

bool intersectionOfCircle(const Circle& first, const Circle& second) {
    const double dx = first.center.x() - second.center.x();
    const double dy = first.center.y() - second.center.y();
    const float radii = float(first.radius) + float(second.radius);
    return std::sqrt(dx * dx + dy * dy) <= double(radii);
}

float radiusForSize(const QSizeF& size) {
    const float radius = std::min(float(size.height()) / 2 - 75, float(size.width()) / 2 - 200);
    return std::max(radius, kMinimumRadius);
}

float normaliseAngle(float angle) {
    if (angle < 0)
        angle += 360;
    if (angle > 360)
        angle = float(static_cast<long long>(angle) % 360);
    return angle;
}

float pointerAngle(const QPointF& pointYUp, const QSizeF& size) {
    const float dy = float(pointYUp.y()) - float(size.height()) / 2;
    const float dx = float(pointYUp.x()) - float(size.width()) / 2;
    return float(std::atan2(dy, dx) * 180.0 / std::numbers::pi);
}

float angleStep(float previous, float current) {
    float step = current - previous;
    while (step > 180)
        step -= 360;
    while (step <= -180)
        step += 360;
    return step;
}

float dampedTorque(float torque) {
    const double factor = std::fabs(torque) < 2 ? 0.99 : 0.98;
    const float next = float(double(torque) * factor);
    return std::fabs(next) < 1 ? 0.0f : next;
}

std::vector<Slice> slices(const std::vector<std::uint64_t>& sizes, float startAngle) {
    std::vector<Slice> result;
    if (sizes.empty())
        return result;
    if (sizes.size() == 1) {
        result.push_back({0, 0, 0, true});
        return result;
    }
    std::uint64_t total = 0;
    for (std::uint64_t size : sizes)
        total += size;
    float a = startAngle;
    for (std::uint64_t size : sizes) {
        const float span = float(double(size) / double(total) * -360.0);
        const float e = a + span;
        float center = (a + e) / 2;
        if (center < 0)
            center += 360;
        result.push_back({a, e, center, false});
        a = e;
    }
    return result;
}

QPainterPath sliceOutline(const Slice& slice, const QPointF& centerQt, float radius) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    const QRectF outer(centerQt.x() - radius, centerQt.y() - radius, 2.0 * radius, 2.0 * radius);
    if (slice.fullDisc) {
        path.addEllipse(outer);
        return path;
    }
    // Qt's arc angles run counter-clockwise on screen, as the chart's do.
    const QRectF inner(centerQt.x() - kInnerRadius, centerQt.y() - kInnerRadius, 2.0 * kInnerRadius,
                       2.0 * kInnerRadius);
    const qreal span = slice.end - slice.start;
    path.arcMoveTo(outer, slice.start);
    path.arcTo(outer, slice.start, span);
    path.arcTo(inner, slice.end, -span);
    path.closeSubpath();
    return path;
}

QPointF pointAt(const QPointF& centerYUp, double radius, double angle) {
    return {centerYUp.x() + radius * std::cos(angle * kDegree),
            centerYUp.y() + radius * std::sin(angle * kDegree)};
}

std::vector<TipPlacement> layoutCallouts(const std::vector<std::uint64_t>& sizes,
                                         const std::vector<float>& centerAngles, float radius,
                                         const QPointF& centerYUp) {
    std::vector<TipPlacement> placements;
    const int n = int(std::min(sizes.size(), centerAngles.size()));
    if (n == 0)
        return placements;
    int largest = 0;
    std::uint64_t best = 0;
    for (int i = 0; i < n; ++i) {
        if (sizes[size_t(i)] > best) {
            best = sizes[size_t(i)];
            largest = i;
        }
    }
    const int first = largest == n - 1 ? 0 : largest + 1;
    const double anchorRadius = double(radius) + kCalloutAnchorOffset;
    placements.push_back({centerAngles[size_t(first)], first});
    const double band = 2.0 * radius / 3.0;
    const double unit = radius / 3.0;
    for (int k = 1; k < n; ++k) {
        const int i = (first + k) % n;
        const QPointF p = pointAt(centerYUp, anchorRadius, centerAngles[size_t(i)]);
        bool collides = false;
        for (auto it = placements.rbegin(); it != placements.rend(); ++it) {
            const QPointF q = pointAt(centerYUp, anchorRadius, it->angle);
            if (intersectionOfCircle({40, q}, {30, p})) {
                collides = true;
                break;
            }
        }
        if (!collides) {
            placements.push_back({centerAngles[size_t(i)], i});
            continue;
        }
        double step = kCalloutStep;
        if (p.y() > centerYUp.y() + band)
            step = kCalloutStep + 10.0 * (p.y() - (centerYUp.y() + band)) / unit;
        else if (p.y() < centerYUp.y() - band)
            step = kCalloutStep + 10.0 * ((centerYUp.y() - band) - p.y()) / unit;
        placements.push_back({float(placements.back().angle - step), i});
    }
    return placements;
}

} // namespace PieChartGeometry
