#include "Browser/Similars/HeapViewGeometry.h"

#include <algorithm>
#include <cmath>

namespace HeapViewGeometry {

namespace {

// A label ends this far before its circle (the left one) or the view's right side, plus its
// inset from the view's side.
constexpr double kLabelRoom = kLabelInset + 5;

Circles circlesForRadius(const Input& in, float r) {
    const bool mainBigger = in.mainSize >= in.secondSize;
    const double bigger = double(mainBigger ? in.mainSize : in.secondSize);
    const double smaller = double(mainBigger ? in.secondSize : in.mainSize);
    // Both empty gives not-a-number, which falls to the smallest circle like a large ratio.
    const double q = bigger / smaller;
    float small = r / 3.0f;
    if (q < 1.5)
        small = r / 1.2f;
    else if (q < 4.0)
        small = r / 1.5f;
    Circles c;
    c.mainRadius = mainBigger ? r : small;
    c.secondRadius = mainBigger ? small : r;
    const double rm = c.mainRadius;
    const double rs = c.secondRadius;
    const double cy = in.height / 2;
    double mx = (in.width - (rm + rs)) / 2;
    double sx = mx + (rm >= rs ? rm + rs / 2 : rm / 2 + rs);
    if (in.mainChildren == in.mainCopies && in.mainSize < in.secondSize) {
        sx = in.width / 2;
        mx = sx - rs + rm - 0.5;
    } else if (in.secondChildren == in.secondCopies && in.mainSize > in.secondSize) {
        mx = in.width / 2;
        sx = mx + rm - rs + 0.5;
    }
    const double leftGap = mx - rm;
    const double rightGap = in.width - (sx + rs);
    const double shift = (rightGap - leftGap) / 2;
    c.mainCenter = QPointF(mx + shift, cy);
    c.secondCenter = QPointF(sx + shift, cy);
    return c;
}

} // namespace

Circles calculateCircleSizes(const Input& in) {
    float r = float(in.width) / 8.0f;
    if (r > float(in.height) / 3.0f)
        r = float(in.height) / 3.0f;
    Circles c = circlesForRadius(in, r);
    if (in.mainLabelWidth <= 0 && in.secondLabelWidth <= 0)
        return c;
    const auto left = [](const Circles& k) { return k.mainCenter.x() - k.mainRadius; };
    const auto right = [](const Circles& k) { return k.secondCenter.x() + k.secondRadius; };
    const double mainNeed = kLabelRoom + std::max(0.0, in.mainLabelWidth);
    const double secondNeed = kLabelRoom + std::max(0.0, in.secondLabelWidth);
    const double room = in.width - mainNeed - secondNeed;
    const double pair = right(c) - left(c);
    if (pair > room && pair > 0) {
        const float shrunk = std::max(r / 2.0f, float(r * std::max(0.0, room) / pair));
        c = circlesForRadius(in, shrunk);
    }
    // Shifted as little from the middle as lets both labels fit; a shortage is shared.
    const double lowest = mainNeed - left(c);
    const double highest = in.width - secondNeed - right(c);
    const double shift =
        lowest <= highest ? std::clamp(0.0, lowest, highest) : (lowest + highest) / 2;
    c.mainCenter.rx() += shift;
    c.secondCenter.rx() += shift;
    return c;
}

QRectF showButtonRect(double textX, double uniqueLineWidth, double uniqueLineY) {
    return QRectF(std::floor(textX + uniqueLineWidth + 10 - 5), std::floor(uniqueLineY - 1),
                  kShowButtonWidth, kShowButtonHeight);
}

QString fitText(const QString& text, const std::function<double(const QString&)>& width,
                double maxWidth) {
    if (width(text) <= maxWidth)
        return text;
    QString fitted = text;
    fitted.chop(1);
    while (width(fitted) > maxWidth && fitted.size() >= 3)
        fitted.chop(1);
    // Two more go for the ellipsis, or as many as are left.
    fitted.chop(std::min<qsizetype>(2, fitted.size()));
    return fitted + QStringLiteral("...");
}

} // namespace HeapViewGeometry
