#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// What the promotions remember between launches under the "PROMO_MANAGER:" keys of the
// user defaults: the download schedule of the two feed documents, the last promotional
// notification shown and the downloaded panel. Every write is saved at once. Any thread.
namespace PromoManagerDefaults {

// The first-launch gate: YES when its key is present; when missing, stores it and answers
// NO, so the notifications are never fetched on the very first launch.
bool isCanLoadServerDataAboutNotifications();
// YES when the notifications' next-update date is not in the future (missing: due).
bool isNeedLoadFromServerDataAboutNotifications();
QDateTime getNotificationsNextUpdateDate();
// Stores now + 604800 s as the notifications' next-update date.
void notifyPromoManagerDataThatNotificationsWasUpdated();

bool isNeedLoadFromServerDataAboutZembrook();
QDateTime getZembrookNextUpdateDate();
void notifyPromoManagerDataThatZembrookWasUpdated();

// YES when the last shown notification number is below `notificationID`.
bool isNeedShowNotificationWithID(qint32 notificationID);
qint32 getShowedNotificationID();
void notifyPromoManagerDataThatShowedNotificationWithID(qint32 notificationID);

// The stored downloaded panel version, else the embedded version 0.
qint32 getCurrentDownloadedZembrookVersion();
// The panel version in force: the downloaded one when above 0, else 0.
qint32 getZembrookVersion();
bool isNeedLoadFromServerZembrookWithVersion(qint32 version);
bool isNeedShowEmbeddedZembrook();
// The downloaded panel's folder; nothing while the embedded panel is in force.
std::optional<QString> getZembrookFolderPath();
// The page size in force: 1120 x 502 for the embedded panel or when nothing is stored.
int getZembrookWindowWidth();
int getZembrookWindowHeight();
// Records a freshly unpacked panel when `version` is newer than the one in force, then
// removes the previous panel's folder (only a "Zembrook_v<N>" folder of the promotions'
// own folder is ever removed). Otherwise changes nothing. Answers whether it was recorded.
bool notifyPromoManagerDataToSaveZembrookFolder(const QString& path, qint32 version, int width,
                                                int height);

} // namespace PromoManagerDefaults
