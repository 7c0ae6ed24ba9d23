#include "Promo/UserNotificationCenter.h"

#include "Promo/PromoManager.h"
#include "Promo/PromoWorkspace.h"
#include "Toolkit/AnimationClock.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
// Action keys: "default" is a click on the body in the notification protocol.
const QString kBodyAction = QStringLiteral("default");
const QString kActionButton = QStringLiteral("action");
const QString kOtherButton = QStringLiteral("other");

} // namespace

UserNotificationCenter& UserNotificationCenter::defaultCenter() {
    static UserNotificationCenter* center =
        new UserNotificationCenter(QDBusConnection::sessionBus());
    return *center;
}

UserNotificationCenter::UserNotificationCenter(const QDBusConnection& connection, QObject* parent)
    : QObject(parent), m_connection(connection) {
    if (m_connection.isConnected()) {
        m_connection.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                             SLOT(onActionInvoked(uint, QString)));
        m_connection.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"),
                             this, SLOT(onNotificationClosed(uint, uint)));
        m_connection.connect(kService, kPath, kInterface, QStringLiteral("ActivationToken"), this,
                             SLOT(onActivationToken(uint, QString)));
    }
}

UserNotificationCenter::~UserNotificationCenter() {
    if (m_connection.isConnected()) {
        m_connection.disconnect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                                SLOT(onActionInvoked(uint, QString)));
        m_connection.disconnect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"),
                                this, SLOT(onNotificationClosed(uint, uint)));
        m_connection.disconnect(kService, kPath, kInterface, QStringLiteral("ActivationToken"),
                                this, SLOT(onActivationToken(uint, QString)));
    }
}

void UserNotificationCenter::scheduleNotification(const UserNotification& notification,
                                                  int delayMs) {
    AnimationClock::instance().after(delayMs, this,
                                     [this, notification] { deliverNotification(notification); });
}

void UserNotificationCenter::deliverNotification(const UserNotification& notification) {
    if (!m_connection.isConnected())
        return;
    if (PromoWorkspace::isApplicationInFront() && m_delegate &&
        !m_delegate->userNotificationCenterShouldPresentNotification(notification))
        return;
    // A click on the body always comes back (for a notification without buttons it brings the
    // window back); the buttons come as further actions.
    QStringList actions{kBodyAction, QString()};
    if (notification.hasActionButton) {
        actions << kActionButton << notification.actionButtonTitle;
        if (!notification.otherButtonTitle.isEmpty())
            actions << kOtherButton << notification.otherButtonTitle;
    }
    // The service has no subtitle: it leads the body.
    QString body = notification.informativeText;
    if (!notification.subtitle.isEmpty())
        body = notification.subtitle + QLatin1Char('\n') + body;
    const QVariantMap hints{{QStringLiteral("sound-name"), QStringLiteral("message-new-instant")}};

    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    call << PromoManager::getAppName() << uint(0) << QString() << notification.title << body
         << actions << hints << int(-1);
    auto* watcher = new QDBusPendingCallWatcher(m_connection.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, notification](QDBusPendingCallWatcher* finished) {
                const QDBusPendingReply<uint> reply = *finished;
                finished->deleteLater();
                if (reply.isError())
                    return;
                m_sent.insert(reply.value(), notification);
                if (m_delegate)
                    m_delegate->userNotificationCenterDidDeliverNotification(notification);
            });
}

void UserNotificationCenter::onActionInvoked(uint identifier, const QString& actionKey) {
    const auto it = m_sent.constFind(identifier);
    if (it == m_sent.constEnd())
        return;
    UserNotification activated = *it;
    // On Wayland a window may take the focus only with the token of the user's click; the
    // platform reads it from the environment when the window next asks to be activated.
    const QString token = m_activationTokens.take(identifier);
    if (!token.isEmpty() && QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    if (actionKey == kBodyAction)
        activated.activationType = 1;
    else if (actionKey == kActionButton)
        activated.activationType = 2;
    else
        return;
    if (m_delegate)
        m_delegate->userNotificationCenterDidActivateNotification(activated);
}

void UserNotificationCenter::onActivationToken(uint identifier, const QString& token) {
    if (m_sent.contains(identifier))
        m_activationTokens.insert(identifier, token);
}

void UserNotificationCenter::onNotificationClosed(uint identifier, uint) {
    m_sent.remove(identifier);
    m_activationTokens.remove(identifier);
}
