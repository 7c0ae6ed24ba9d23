#include "Scanner/ZembrookDefaults.h"

#include "Platform/UserDefaults.h"
#include "Scanner/PromoClock.h"

#include <QDateTime>

namespace {

const QString kCanShowKey = QStringLiteral("ZEMBROOK_DIALOG_DATA:is_can_show_dialog");
const QString kNextShowDateKey = QStringLiteral("ZEMBROOK_DIALOG_DATA:next_show_date");
const QString kShowedVersionKey = QStringLiteral("ZEMBROOK_DIALOG_DATA:showed_version");
const QString kDownloadedVersionKey = QStringLiteral("PROMO_MANAGER:zembrook_version");

constexpr qint64 kSecondsBetweenAutomaticShows = 1209600; // 14 days
constexpr quint64 kMinimalDuplicatesCount = 1000;
constexpr qint32 kEmbeddedVersion = 0;

UserDefaults& defaults() {
    return UserDefaults::standardUserDefaults();
}

} // namespace

namespace ZembrookDefaults {

bool isCanShowZembrookDialogAutomatically() {
    if (defaults().contains(kCanShowKey))
        return true;
    defaults().setObject(kCanShowKey, true);
    return false;
}

bool isTimeToShowZembrookDialogIsNow() {
    const QVariant stored = defaults().objectForKey(kNextShowDateKey);
    if (!stored.isValid())
        return true;
    const QDateTime date = stored.toDateTime();
    // A value that is not a date cannot hold the panel back for ever.
    return !date.isValid() || date <= PromoClock::now();
}

bool isNeedShowZembrookWithVersion(qint32 version) {
    const QVariant stored = defaults().objectForKey(kShowedVersionKey);
    if (!stored.isValid())
        return true;
    return stored.toInt() < version;
}

bool isNeedShowZembrookDialogAutomaticallyWithVersion(qint32 version, quint64 duplicatesCount) {
    if (!isCanShowZembrookDialogAutomatically())
        return false;
    if (duplicatesCount < kMinimalDuplicatesCount)
        return false;
    if (!isTimeToShowZembrookDialogIsNow())
        return false;
    return isNeedShowZembrookWithVersion(version);
}

void notifyZembrookDialogDataThatShowedAutomaticallyVersion(qint32 version) {
    defaults().setObject(kNextShowDateKey,
                         PromoClock::now().addSecs(kSecondsBetweenAutomaticShows));
    defaults().setObject(kShowedVersionKey, version);
}

qint32 getZembrookVersion() {
    const QVariant stored = defaults().objectForKey(kDownloadedVersionKey);
    const qint32 downloaded = stored.isValid() ? stored.toInt() : kEmbeddedVersion;
    return downloaded > kEmbeddedVersion ? downloaded : kEmbeddedVersion;
}

} // namespace ZembrookDefaults
