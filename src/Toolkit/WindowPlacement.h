#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

#include <functional>

class QScrollArea;
class QWidget;

// Where the application's windows go on the desktop. Every window keeps inside the
// available area of its screen (the part no panel covers): a size or minimum size larger
// than that area is cut down to it, and a frame is moved inside it. Secondary windows
// (preferences, About, the preview, promotions, the folder chooser) are transient for the
// main window and open centred on it. Main thread only.
namespace WindowPlacement {

// The application's main window, which secondary windows belong to; none before it is
// made and after it is gone.
void setMainWindow(QWidget* window);
QWidget* mainWindow();

// The available area of |window|'s screen, else of the main window's screen, else of the
// primary screen; empty with no screen at all.
QRect availableGeometry(const QWidget* window);

// The window manager's frame around |window|; none for a frameless window.
QMargins frameMargins(const QWidget* window);

// |size| cut down to |available|'s size; an empty |available| leaves it as it is.
QSize fitSize(QSize size, const QRect& available);
// |frame| with its size fitted to |available|, then moved the least distance that puts it
// inside.
QRect fitFrame(const QRect& frame, const QRect& available);
// A frame of |size| centred on |over|, then fitted into |available|.
QRect centredFrame(QSize size, const QRect& over, const QRect& available);

// Fits |window|'s minimum, maximum and current size to its screen's available area. A
// window whose content scrolls (holdContentInScrollArea) takes the whole content's size
// again wherever it fits.
void fitSizeLimits(QWidget* window);

// The fixed size of a window that shows |content| in a scroll area whose scrollers are
// |scroller| thick, on a screen with |available| free: the content's own size where it
// fits, else cut to |available| with room for the scrollers the cut then needs.
QSize scrolledWindowSize(QSize content, QSize available, int scroller);

// For a window of one fixed size that a small screen may cut: |content|, kept at its
// current size, goes into a frameless scroll area that fills |window|. Where the screen
// cannot show the whole content the window is cut down (fitSizeLimits) and the rest is
// reached by scrolling, with the lists' thin scrollers; nothing is clipped off.
QScrollArea* holdContentInScrollArea(QWidget* window, QWidget* content);

// Runs |refit| whenever |window| (shown, so it has its native window) comes onto another
// screen.
void refitOnScreenChange(QWidget* window, std::function<void()> refit);

// Makes |window| a secondary window of the main window: whenever it is shown it becomes
// transient for the main window, its size limits are fitted to the screen and it is
// centred on the main window (on its screen without one), inside the screen; moved to
// another screen, its sizes are fitted to that one and it is kept inside it. Ctrl+W closes
// it, and so does Escape when |closeOnEscape|.
void attachToMainWindow(QWidget* window, bool closeOnEscape);

} // namespace WindowPlacement
