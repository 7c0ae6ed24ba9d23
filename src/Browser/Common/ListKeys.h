#pragma once

#include "Platform/KeyEvent.h"

#include <functional>

class QObject;
class QWidget;

// What the results lists share of the key routing. Key presses reach the lists as
// "KeyPressedNotification" only when the focused control did not take them: the lists'
// tables post every key they get, and the main window posts the keys no control took. So a
// digit or letter typed into a search field never reaches a list; the arrows and Tab that a
// text field leaves alone do.
namespace ListKeys {

// The key-table codes the lists read.
inline constexpr quint16 kReturn = 36;
inline constexpr quint16 kTab = 48;
inline constexpr quint16 kSpace = 49;
inline constexpr quint16 kEscape = 53;
inline constexpr quint16 kLeft = 123;
inline constexpr quint16 kRight = 124;
inline constexpr quint16 kDown = 125;
inline constexpr quint16 kUp = 126;

inline bool hasCommand(const KeyEvent& event) {
    return (event.modifierFlags & KeyEvent::CommandKeyMask) != 0;
}
inline bool hasOption(const KeyEvent& event) {
    return (event.modifierFlags & KeyEvent::OptionKeyMask) != 0;
}

// True when |widget| is its window's first responder: the control that has the keyboard
// focus, or that gets it as soon as its window is active again. False for null.
bool isFirstResponder(const QWidget* widget);

// Calls |handler| with the event of every "KeyPressedNotification" until |owner| goes.
void observeKeyPresses(const QObject* owner, std::function<void(const KeyEvent&)> handler);

// How a list answers the moves between the lists, until its owner goes: an
// "ArrowNavigationNotification" (with its target), a key the preview panel passed on
// (with the preview's source type) and a key press. None is answered while |detached|
// says true: a list the results screen let go answers nothing more.
struct NavigationHandlers {
    std::function<bool()> detached;
    std::function<void(int target)> arrowNavigation;
    std::function<void(const KeyEvent& event, int type)> quickLookKeyPressed;
    std::function<void(const KeyEvent& event)> keyPressed;
};
void observeNavigation(const QObject* owner, NavigationHandlers handlers);

} // namespace ListKeys
