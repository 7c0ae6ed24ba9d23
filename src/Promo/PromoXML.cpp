#include "Promo/PromoXML.h"

#include "Promo/PromoSettings.h"
#include "Promo/TBXML.h"

#include <QStringList>

#include <limits>

QStringList PromoXML::notificationKeys() {
    return {NOTIFICATION_ID(),
            NOTIFICATION_TITLE(),
            NOTIFICATION_SUB_TITLE(),
            NOTIFICATION_TEXT(),
            NOTIFICATION_OK_BUTTON_NAME(),
            NOTIFICATION_OK_BUTTON_LINK(),
            NOTIFICATION_CANCEL_BUTTON_NAME(),
            NOTIFICATION_BUNDLE_ID(),
            NOTIFICATION_OPEN_BUNDLE_BUTTON_NAME()};
}

qint32 PromoXML::intValue(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    qint64 value = 0;
    for (; i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9');
         ++i) {
        value = value * 10 + (text.at(i).unicode() - '0');
        if (value > std::numeric_limits<qint32>::max())
            return negative ? std::numeric_limits<qint32>::min()
                            : std::numeric_limits<qint32>::max();
    }
    return static_cast<qint32>(negative ? -value : value);
}

std::optional<QVariantMap> PromoXML::convertToDictionaryFromXMLElement(const TBXMLElement* element,
                                                                       const QStringList& keys) {
    QVariantMap dictionary;
    for (const QString& key : keys) {
        const TBXMLElement* child = TBXML::childElementNamed(key, element);
        if (!child)
            return std::nullopt;
        const std::optional<QString> text = TBXML::textForElement(child);
        if (!text)
            return std::nullopt;
        dictionary.insert(key, *text);
    }
    return dictionary;
}

int PromoXML::getSubXMLSize(const QString& name, const TBXMLElement* parent, int defaultValue) {
    const TBXMLElement* child = TBXML::childElementNamed(name, parent);
    if (!child)
        return defaultValue;
    const qint32 value = intValue(TBXML::textForElement(child).value_or(QString()));
    return value > 0 ? value : defaultValue;
}

std::optional<PromoXML::ChosenNotification>
PromoXML::chooseNotification(const QByteArray& document) {
    return readNotificationsDocument(document).chosen;
}

PromoXML::NotificationsDocument PromoXML::readNotificationsDocument(const QByteArray& document) {
    NotificationsDocument result;
    const std::unique_ptr<TBXML> xml = TBXML::newTBXMLWithXMLData(document);
    const TBXMLElement* root = xml->rootXMLElement();
    if (!root)
        return result;
    const TBXMLElement* list = TBXML::childElementNamed(NOTIFICATIONS_LIST_TAG(), root);
    result.isNotificationsDocument = list != nullptr;
    std::optional<ChosenNotification> chosen;
    qint32 best = 0;
    for (const TBXMLElement* item = TBXML::childElementNamed(NOTIFICATION_TAG(), list); item;
         item = TBXML::nextSiblingNamed(NOTIFICATION_TAG(), item)) {
        std::optional<QVariantMap> data =
            convertToDictionaryFromXMLElement(item, notificationKeys());
        if (!data)
            continue;
        const qint32 number = intValue(data->value(NOTIFICATION_ID()).toString());
        if (number > best) {
            best = number;
            chosen = ChosenNotification{number, std::move(*data)};
        }
    }
    result.chosen = std::move(chosen);
    return result;
}

bool PromoXML::isNotificationsDocument(const QByteArray& document) {
    return readNotificationsDocument(document).isNotificationsDocument;
}

std::optional<PromoXML::ZembrookDescriptor>
PromoXML::readZembrookDescriptor(const QByteArray& document) {
    const std::unique_ptr<TBXML> xml = TBXML::newTBXMLWithXMLData(document);
    const TBXMLElement* zembrook = TBXML::childElementNamed(ZEMBROOK_TAG(), xml->rootXMLElement());
    const TBXMLElement* version = TBXML::childElementNamed(ZEMBROOK_VERSION(), zembrook);
    const TBXMLElement* url = TBXML::childElementNamed(ZEMBROOK_URL(), zembrook);
    if (!version || !url)
        return std::nullopt;
    ZembrookDescriptor descriptor;
    descriptor.width =
        getSubXMLSize(ZEMBROOK_WIDTH(), zembrook, PromoSettings::getZembrookEmbeddedWidth());
    descriptor.height =
        getSubXMLSize(ZEMBROOK_HEIGHT(), zembrook, PromoSettings::getZembrookEmbeddedHeight());
    descriptor.version = intValue(TBXML::textForElement(version).value_or(QString()));
    descriptor.url = QUrl(TBXML::textForElement(url).value_or(QString()), QUrl::StrictMode);
    return descriptor;
}
