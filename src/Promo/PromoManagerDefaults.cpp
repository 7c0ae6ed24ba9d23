#include "Promo/PromoManagerDefaults.h"

#include "Platform/UserDefaults.h"
#include "Promo/PromoFolders.h"
#include "Promo/PromoSettings.h"
#include "Scanner/PromoClock.h"

namespace {

const QString kCanLoadNotifications =
    QStringLiteral("PROMO_MANAGER:is_can_load_notifications_server_data");
const QString kNotificationsNextUpdate =
    QStringLiteral("PROMO_MANAGER:notifications_next_update_date");
const QString kZembrookNextUpdate = QStringLiteral("PROMO_MANAGER:zembrook_next_update_date");
const QString kShowedNotificationID = QStringLiteral("PROMO_MANAGER:showed_notification_id");
const QString kZembrookVersion = QStringLiteral("PROMO_MANAGER:zembrook_version");
const QString kZembrookFolder = QStringLiteral("PROMO_MANAGER:zembrook_folder");
const QString kZembrookWidth = QStringLiteral("PROMO_MANAGER:zembrook_window_width");
const QString kZembrookHeight = QStringLiteral("PROMO_MANAGER:zembrook_window_height");

UserDefaults& defaults() {
    return UserDefaults::standardUserDefaults();
}

QDateTime storedDate(const QString& key) {
    const QDateTime date = defaults().objectForKey(key).toDateTime();
    // Missing, or not a date at all: due, so a broken value cannot stop the feed for ever.
    return date.isValid() ? date : QDateTime::fromSecsSinceEpoch(0, Qt::UTC);
}

bool isDue(const QDateTime& date) {
    return date <= PromoClock::now();
}

void storeNextUpdate(const QString& key) {
    defaults().setObject(key, PromoClock::now().addSecs(
                                  PromoSettings::TIME_BETWEEN_UPDATE_NOTIFICATIONS_AND_ZEMBROOK));
}

int storedSize(const QString& key, int fallback) {
    const QVariant stored = defaults().objectForKey(key);
    bool ok = false;
    const double value = stored.toDouble(&ok);
    return ok ? static_cast<int>(value) : fallback;
}

} // namespace

namespace PromoManagerDefaults {

bool isCanLoadServerDataAboutNotifications() {
    if (defaults().contains(kCanLoadNotifications))
        return true;
    defaults().setObject(kCanLoadNotifications, true);
    return false;
}

bool isNeedLoadFromServerDataAboutNotifications() {
    return isDue(getNotificationsNextUpdateDate());
}

QDateTime getNotificationsNextUpdateDate() {
    return storedDate(kNotificationsNextUpdate);
}

void notifyPromoManagerDataThatNotificationsWasUpdated() {
    storeNextUpdate(kNotificationsNextUpdate);
}

bool isNeedLoadFromServerDataAboutZembrook() {
    return isDue(getZembrookNextUpdateDate());
}

QDateTime getZembrookNextUpdateDate() {
    return storedDate(kZembrookNextUpdate);
}

void notifyPromoManagerDataThatZembrookWasUpdated() {
    storeNextUpdate(kZembrookNextUpdate);
}

bool isNeedShowNotificationWithID(qint32 notificationID) {
    return getShowedNotificationID() < notificationID;
}

qint32 getShowedNotificationID() {
    return defaults().objectForKey(kShowedNotificationID).toInt();
}

void notifyPromoManagerDataThatShowedNotificationWithID(qint32 notificationID) {
    defaults().setObject(kShowedNotificationID, notificationID);
}

qint32 getCurrentDownloadedZembrookVersion() {
    const QVariant stored = defaults().objectForKey(kZembrookVersion);
    return stored.isValid() ? stored.toInt() : PromoSettings::getZembrookEmbeddedVersion();
}

qint32 getZembrookVersion() {
    const qint32 downloaded = getCurrentDownloadedZembrookVersion();
    return downloaded > PromoSettings::getZembrookEmbeddedVersion()
               ? downloaded
               : PromoSettings::getZembrookEmbeddedVersion();
}

bool isNeedLoadFromServerZembrookWithVersion(qint32 version) {
    return getZembrookVersion() < version;
}

bool isNeedShowEmbeddedZembrook() {
    return getZembrookVersion() == PromoSettings::getZembrookEmbeddedVersion();
}

std::optional<QString> getZembrookFolderPath() {
    if (isNeedShowEmbeddedZembrook())
        return std::nullopt;
    const QVariant stored = defaults().objectForKey(kZembrookFolder);
    if (!stored.isValid())
        return std::nullopt;
    return stored.toString();
}

int getZembrookWindowWidth() {
    if (isNeedShowEmbeddedZembrook())
        return PromoSettings::getZembrookEmbeddedWidth();
    return storedSize(kZembrookWidth, PromoSettings::getZembrookEmbeddedWidth());
}

int getZembrookWindowHeight() {
    if (isNeedShowEmbeddedZembrook())
        return PromoSettings::getZembrookEmbeddedHeight();
    return storedSize(kZembrookHeight, PromoSettings::getZembrookEmbeddedHeight());
}

bool notifyPromoManagerDataToSaveZembrookFolder(const QString& path, qint32 version, int width,
                                                int height) {
    if (path.isEmpty() || !isNeedLoadFromServerZembrookWithVersion(version))
        return false;
    const std::optional<QString> previous = getZembrookFolderPath();
    defaults().setObject(kZembrookFolder, path);
    defaults().setObject(kZembrookVersion, version);
    defaults().setObject(kZembrookWidth, static_cast<double>(width));
    defaults().setObject(kZembrookHeight, static_cast<double>(height));
    if (previous && *previous != path)
        PromoFolders::removeZembrookFolder(*previous);
    return true;
}

} // namespace PromoManagerDefaults
