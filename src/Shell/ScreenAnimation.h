#pragma once

#include <QPoint>

#include <functional>
#include <optional>

class QWidget;

// The one kind of screen change of the main window: a view's opacity and, optionally, its
// top-left corner move to new values over a fixed time, then a step runs. Every change
// goes through the animation clock, so tests can run it instantly.
namespace ScreenAnimation {

// The view's opacity, 1.0 when it was never changed.
qreal alphaValue(const QWidget* view);
// Sets the opacity at once. A fully opaque view paints with no opacity effect, so a screen
// at rest costs nothing extra to redraw.
void setAlphaValue(QWidget* view, qreal alpha);

// Animates |view| to |alpha| (and to |origin| in its parent's coordinates when given) in
// |durationMs|, then calls |done|. The animation belongs to the view: when the view is
// destroyed first, |done| is never called.
void animate(QWidget* view, qreal alpha, std::optional<QPoint> origin, int durationMs,
             std::function<void()> done = {});

// Places |view| just above its parent's top edge and slides it down to (0, 0) in
// |durationMs|; nothing follows the slide.
void slideDownIntoPlace(QWidget* view, int durationMs);

} // namespace ScreenAnimation
