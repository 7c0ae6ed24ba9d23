#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

struct Posted {
    QString appName;
    QString summary;
    QString body;
    QStringList actions;
    QVariantMap hints;
};

// Plays org.freedesktop.Notifications: records every Notify call and can click.
class FakeNotificationService final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    explicit FakeNotificationService(const QDBusConnection& connection)
        : m_connection(connection) {}
    QList<Posted> posted;

    void click(uint identifier, const QString& actionKey) {
        QDBusMessage signal = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("ActionInvoked"));
        signal << identifier << actionKey;
        m_connection.send(signal);
    }

public Q_SLOTS:
    uint Notify(const QString& appName, uint, const QString&, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int) {
        posted << Posted{appName, summary, body, actions, hints};
        return static_cast<uint>(posted.size());
    }
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }

private:
    QDBusConnection m_connection;
};
