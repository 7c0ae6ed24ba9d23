#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>

// The two-circle view's arithmetic, in y-up view coordinates.
namespace HeapViewGeometry {

// "Show" buttons are drawn only in a view wider than this.
inline constexpr double kShowButtonMinWidth = 525;
inline constexpr double kShowButtonWidth = 52;
inline constexpr double kShowButtonHeight = 17;
// Labels start this far from the view's sides.
inline constexpr double kLabelInset = 25;

struct Input {
    double width = 0;
    double height = 0;
    std::uint64_t mainSize = 0;
    std::uint64_t secondSize = 0;
    std::size_t mainChildren = 0;
    std::size_t mainCopies = 0;
    std::size_t secondChildren = 0;
    std::size_t secondCopies = 0;
    // The widest line of each side's label (0: the labels ask for no room).
    double mainLabelWidth = 0;
    double secondLabelWidth = 0;
};

struct Circles {
    float mainRadius = 0;
    float secondRadius = 0;
    QPointF mainCenter;
    QPointF secondCenter;
};

// The bigger folder gets a radius of an eighth of the width (at most a third of the height),
// the smaller one 1/1.2, 1/1.5 or 1/3 of it by the ratio of their sizes; the circles overlap
// by half the smaller radius, a folder that is all copies and smaller than the other lies
// inside it, and the pair is centred. Where the labels beside the pair would not fit, the
// pair moves towards the side with room to spare and, if that is not enough, shrinks down to
// half its size; only then are labels cut.
Circles calculateCircleSizes(const Input& input);

// The hit rectangle of a side's "Show" button after its unique line, drawn at |textX| and
// |uniqueLineY| and |uniqueLineWidth| wide.
QRectF showButtonRect(double textX, double uniqueLineWidth, double uniqueLineY);

// |text| cut at the end to fit |maxWidth| as measured by |width|, ending in "..." when cut.
// Never removes more characters than the text has.
QString fitText(const QString& text, const std::function<double(const QString&)>& width,
                double maxWidth);

} // namespace HeapViewGeometry
