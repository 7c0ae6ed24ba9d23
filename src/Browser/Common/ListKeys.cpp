#include "Browser/Common/ListKeys.h"

#include "Categories/AppNotification.h"
#include "Platform/NotificationCenter.h"

#include <QWidget>

namespace ListKeys {

bool isFirstResponder(const QWidget* widget) {
    if (!widget)
        return false;
    // The window's focus child stays set while the window is inactive (a sheet or the
    // preview panel in front), and the lists keep their first-responder look then.
    const QWidget* window = widget->window();
    return window && window->focusWidget() == widget;
}

void observeKeyPresses(const QObject* owner, std::function<void(const KeyEvent&)> handler) {
    NotificationCenter::defaultCenter().addObserver(
        owner, AppNotification::KeyPressedNotificationName(),
        [handler = std::move(handler)](const Notification& note) {
            if (const auto event = AppNotification::GetEventFromNotification(note))
                handler(*event);
        });
}

} // namespace ListKeys
