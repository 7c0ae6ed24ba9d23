#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>

// One user notification as the promotions build it.
struct UserNotification {
    QString title;
    QString subtitle;
    QString informativeText;
    bool hasActionButton = false;
    QString actionButtonTitle;
    QString otherButtonTitle;
    QVariantMap userInfo;
    // How the user activated it: 0 not at all, 1 a click on its body, 2 its action button.
    int activationType = 0;
};

class UserNotificationCenterDelegate {
public:
    virtual ~UserNotificationCenterDelegate() = default;
    virtual void userNotificationCenterDidDeliverNotification(const UserNotification&) {}
    virtual void userNotificationCenterDidActivateNotification(const UserNotification&) = 0;
    // Whether a notification is shown while this application is in front.
    virtual bool userNotificationCenterShouldPresentNotification(const UserNotification&) = 0;
};

// The desktop's notification service (org.freedesktop.Notifications on the session bus).
// Notifications go out with asynchronous calls, so nothing ever waits for the service; where
// no service runs (or no session bus exists) they silently go nowhere. A click on a
// notification's body or action button comes back through the delegate. Main thread.
class UserNotificationCenter final : public QObject {
    Q_OBJECT

public:
    static UserNotificationCenter& defaultCenter();

    // A centre on `connection` (the tests' private bus).
    explicit UserNotificationCenter(const QDBusConnection& connection, QObject* parent = nullptr);
    ~UserNotificationCenter() override;

    void setDelegate(UserNotificationCenterDelegate* delegate) { m_delegate = delegate; }
    UserNotificationCenterDelegate* delegate() const { return m_delegate; }

    // Delivers `notification` after `delayMs` milliseconds (through the animation clock, so
    // tests need not wait).
    void scheduleNotification(const UserNotification& notification, int delayMs);
    // Delivers it now.
    void deliverNotification(const UserNotification& notification);

    // Notifications sent and not yet closed, by the service's number.
    int pendingCount() const { return static_cast<int>(m_sent.size()); }

private Q_SLOTS:
    // Signals of the service; QtDBus connects them by signature.
    void onActionInvoked(uint identifier, const QString& actionKey);
    // Sent just before ActionInvoked by services that let the clicked program raise itself
    // (the Wayland activation token).
    void onActivationToken(uint identifier, const QString& token);
    void onNotificationClosed(uint identifier, uint reason);

private:
    QDBusConnection m_connection;
    UserNotificationCenterDelegate* m_delegate = nullptr;
    QHash<uint, UserNotification> m_sent;
    QHash<uint, QString> m_activationTokens;
};
