#include "Browser/Common/ListKeys.h"

#include "Categories/AppNotification.h"
#include "Platform/NotificationCenter.h"
#include "Toolkit/QuickLookController.h"

#include <QWidget>

#include <memory>

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

void observeNavigation(const QObject* owner, NavigationHandlers handlers) {
    auto& center = NotificationCenter::defaultCenter();
    const auto shared = std::make_shared<const NavigationHandlers>(std::move(handlers));
    center.addObserver(owner, AppNotification::ArrowNavigationNotificationName(),
                       [shared](const Notification& note) {
                           if (!shared->detached())
                               shared->arrowNavigation(
                                   AppNotification::GetArrowNavigationTypeFromNotification(note));
                       });
    center.addObserver(owner, QuickLookController::quickLookKeyPressedNotificationName(),
                       [shared](const Notification& note) {
                           const QVariant event = note.userInfo.value(QStringLiteral("Event"));
                           if (!shared->detached() && event.canConvert<KeyEvent>())
                               shared->quickLookKeyPressed(
                                   event.value<KeyEvent>(),
                                   note.userInfo.value(QStringLiteral("Type")).toInt());
                       });
    observeKeyPresses(owner, [shared](const KeyEvent& event) {
        if (!shared->detached())
            shared->keyPressed(event);
    });
}

} // namespace ListKeys
