#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QVariantMap>

#include <optional>

struct TBXMLElement;

// The layout of the two promotional documents and how they are read.
//   "notifications.xml": a root holding "notifications_list", holding "notification"
//     elements of nine children each;
//   "tools.xml": a root holding "zembrook" with "version", "url" and optional "width" and
//     "height".
class PromoXML final {
public:
    PromoXML() = delete;

    static QString NOTIFICATIONS_LIST_TAG() { return QStringLiteral("notifications_list"); }
    static QString NOTIFICATION_TAG() { return QStringLiteral("notification"); }
    static QString NOTIFICATION_ID() { return QStringLiteral("id"); }
    static QString NOTIFICATION_TITLE() { return QStringLiteral("title"); }
    static QString NOTIFICATION_SUB_TITLE() { return QStringLiteral("subtitle"); }
    static QString NOTIFICATION_TEXT() { return QStringLiteral("text"); }
    static QString NOTIFICATION_OK_BUTTON_NAME() { return QStringLiteral("ok_button_name"); }
    static QString NOTIFICATION_OK_BUTTON_LINK() { return QStringLiteral("ok_button_link"); }
    static QString NOTIFICATION_CANCEL_BUTTON_NAME() {
        return QStringLiteral("cancel_button_name");
    }
    static QString NOTIFICATION_BUNDLE_ID() { return QStringLiteral("bundleid"); }
    static QString NOTIFICATION_OPEN_BUNDLE_BUTTON_NAME() {
        return QStringLiteral("open_bundle_button_name");
    }
    static QString ZEMBROOK_TAG() { return QStringLiteral("zembrook"); }
    static QString ZEMBROOK_VERSION() { return QStringLiteral("version"); }
    static QString ZEMBROOK_URL() { return QStringLiteral("url"); }
    static QString ZEMBROOK_WIDTH() { return QStringLiteral("width"); }
    static QString ZEMBROOK_HEIGHT() { return QStringLiteral("height"); }

    // The nine children every notification must hold.
    static QStringList notificationKeys();

    // The decimal integer at the start of `text` (leading white space and a sign allowed,
    // clamped to 32 bits); 0 when there is none.
    static qint32 intValue(const QString& text);

    // The texts of the children named `keys`, keyed by name; nothing as soon as one child is
    // missing (or its text is not valid UTF-8).
    static std::optional<QVariantMap> convertToDictionaryFromXMLElement(const TBXMLElement* element,
                                                                        const QStringList& keys);
    // The number of the child `name` when it exists and is above 0, else `defaultValue`.
    static int getSubXMLSize(const QString& name, const TBXMLElement* parent, int defaultValue);

    // The notification a "notifications.xml" document offers: the one with the highest "id"
    // above 0 (the first of equal ones) among the complete ones.
    struct ChosenNotification {
        qint32 notificationID = 0;
        QVariantMap data;
    };
    static std::optional<ChosenNotification> chooseNotification(const QByteArray& document);
    // Both answers about a "notifications.xml" document from one parse: whether its root
    // holds a "notifications_list", and the notification it offers.
    struct NotificationsDocument {
        bool isNotificationsDocument = false;
        std::optional<ChosenNotification> chosen;
    };
    static NotificationsDocument readNotificationsDocument(const QByteArray& document);
    // True when the document's root holds a "notifications_list": the only kind of answer
    // worth keeping as the last good feed.
    static bool isNotificationsDocument(const QByteArray& document);

    // What a "tools.xml" document describes; nothing without "zembrook", "version" or "url".
    struct ZembrookDescriptor {
        qint32 version = 0;
        QUrl url; // invalid when the text is not an address
        int width = 1120;
        int height = 502;
    };
    static std::optional<ZembrookDescriptor> readZembrookDescriptor(const QByteArray& document);
};
