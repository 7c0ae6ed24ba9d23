#include "AppNotification.h"

#include "Platform/Dispatch.h"

#include <QVariant>

namespace {

const QString kTypeKey = QStringLiteral("Type");
const QString kEventKey = QStringLiteral("Event");
constexpr int kArrowNavigationDelayMs = 10;

void postPlain(const QString& name) {
    NotificationCenter::defaultCenter().post(name);
}

void postWithType(const QString& name, int type) {
    NotificationCenter::defaultCenter().post(name, QVariantMap{{kTypeKey, type}});
}

// The user info of `notification` when it carries `name` and has user info at all.
const QVariantMap* userInfoOf(const Notification& notification, const QString& name) {
    if (notification.name != name || !notification.hasUserInfo)
        return nullptr;
    return &notification.userInfo;
}

} // namespace

#define SORVANTA_PLAIN_NOTIFICATION(text)                                                          \
    QString AppNotification::text##Name() {                                                        \
        return QStringLiteral(#text);                                                              \
    }                                                                                              \
    void AppNotification::Create##text() {                                                         \
        postPlain(text##Name());                                                                   \
    }

SORVANTA_PLAIN_NOTIFICATION(DuplicateItemSelectionChangedNotification)
SORVANTA_PLAIN_NOTIFICATION(SortingTypeChangedNotification)
SORVANTA_PLAIN_NOTIFICATION(DuplicatesContainerDataChangedNotification)
SORVANTA_PLAIN_NOTIFICATION(AddFolderNotification)
SORVANTA_PLAIN_NOTIFICATION(StartScanNotification)
SORVANTA_PLAIN_NOTIFICATION(FindInActiveViewNotification)
SORVANTA_PLAIN_NOTIFICATION(RevealInFinderNotification)
SORVANTA_PLAIN_NOTIFICATION(GetInfoNotification)
SORVANTA_PLAIN_NOTIFICATION(OpenFileNotification)
SORVANTA_PLAIN_NOTIFICATION(RateApplicationNotification)
SORVANTA_PLAIN_NOTIFICATION(ShowCleanUpToolsNotification)
SORVANTA_PLAIN_NOTIFICATION(RemoveToTrashSettingChangedNotification)

#undef SORVANTA_PLAIN_NOTIFICATION

QString AppNotification::BackgroundTypeChangedNotificationName() {
    return QStringLiteral("BackgroundTypeChangedNotification");
}

void AppNotification::CreateBackgroundTypeChangedNotificationWithType(int type) {
    postWithType(BackgroundTypeChangedNotificationName(), type);
}

int AppNotification::GetBackgroundTypeFromNotification(const Notification& notification) {
    const QVariantMap* info = userInfoOf(notification, BackgroundTypeChangedNotificationName());
    if (!info)
        return BackgroundTypeResultsSimilars;
    return info->value(kTypeKey).toInt();
}

QString AppNotification::KeyPressedNotificationName() {
    return QStringLiteral("KeyPressedNotification");
}

void AppNotification::CreateKeyPressedNotificationWithEvent(const KeyEvent& event) {
    NotificationCenter::defaultCenter().post(KeyPressedNotificationName(),
                                             QVariantMap{{kEventKey, QVariant::fromValue(event)}});
}

quint16 AppNotification::GetKeyCodeFromNotification(const Notification& notification) {
    const std::optional<KeyEvent> event = GetEventFromNotification(notification);
    return event ? event->keyCode : 0;
}

std::optional<KeyEvent>
AppNotification::GetEventFromNotification(const Notification& notification) {
    const QVariantMap* info = userInfoOf(notification, KeyPressedNotificationName());
    if (!info)
        return std::nullopt;
    const QVariant event = info->value(kEventKey);
    if (event.metaType() != QMetaType::fromType<KeyEvent>())
        return std::nullopt;
    return event.value<KeyEvent>();
}

QString AppNotification::ArrowNavigationNotificationName() {
    return QStringLiteral("ArrowNavigationNotification");
}

void AppNotification::CreateArrowNavigationNotificationWithType(int type) {
    Dispatch::after(kArrowNavigationDelayMs, Dispatch::mainQueue(),
                    [type] { postWithType(ArrowNavigationNotificationName(), type); });
}

int AppNotification::GetArrowNavigationTypeFromNotification(const Notification& notification) {
    const QVariantMap* info = userInfoOf(notification, ArrowNavigationNotificationName());
    if (!info)
        return 0;
    return info->value(kTypeKey).toInt();
}
