#include "Promo/RateDialogDefaults.h"

#include "Platform/UserDefaults.h"
#include "Promo/PromoManager.h"
#include "Scanner/PromoClock.h"

#include <QStringList>

namespace {

const QString kCurrentAppVersion = QStringLiteral("RATE_DIALOG_DATA:current_app_version");
const QString kNextShowDate = QStringLiteral("RATE_DIALOG_DATA:next_show_date");
const QString kIsUserSelectStar = QStringLiteral("RATE_DIALOG_DATA:is_user_select_star");
const QString kCountOfAutoShow = QStringLiteral("RATE_DIALOG_DATA:count_of_auto_show");

constexpr qint64 kSecondsUntilFirstPrompt = 1209600; // 14 days

} // namespace

namespace RateDialogDefaults {

void notifyRateDialogDataThatAppStarted() {
    notifyRateDialogDataThatAppStarted(PromoManager::getAppVersion());
}

void notifyRateDialogDataThatAppStarted(const QString& appVersion) {
    const QString current = buildAppVersionWith2Numbers(appVersion);
    const QVariant stored = UserDefaults::standardUserDefaults().objectForKey(kCurrentAppVersion);
    if (!stored.isValid() || stored.toString() != current)
        onFirstStartOrVersionChangedTo(current);
}

void onFirstStartOrVersionChangedTo(const QString& twoNumberVersion) {
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    defaults.setObject(kNextShowDate, PromoClock::now().addSecs(kSecondsUntilFirstPrompt));
    defaults.setObject(kIsUserSelectStar, false);
    defaults.setObject(kCurrentAppVersion, twoNumberVersion);
    defaults.setObject(kCountOfAutoShow, 0);
}

QString buildAppVersionWith2Numbers() {
    return buildAppVersionWith2Numbers(PromoManager::getAppVersion());
}

QString buildAppVersionWith2Numbers(const QString& appVersion) {
    const QStringList parts = appVersion.split(QLatin1Char('.'));
    return parts.mid(0, 2).join(QLatin1Char('.'));
}

} // namespace RateDialogDefaults
