#pragma once

#include <QPainterPath>

#include <optional>

// Turns a drawn outline into the closed path the hole cutting fills: every element is
// copied in order, and an outline whose last subpath is left open is closed at its end.
// An outline without elements gives nothing.
namespace BezierPathQuartzUtilities {

std::optional<QPainterPath> quartzPath(const QPainterPath& path);

} // namespace BezierPathQuartzUtilities
