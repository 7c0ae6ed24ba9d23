#pragma once

#include <QString>

// The rating record under the "RATE_DIALOG_DATA:" keys. The application never asks for a
// rating; the record is only kept up to date at every start-up. Any thread.
namespace RateDialogDefaults {

// Resets the record when the stored two-number version is missing or differs from the
// running application's (`appVersion`: the application's own when not given).
void notifyRateDialogDataThatAppStarted();
void notifyRateDialogDataThatAppStarted(const QString& appVersion);
// Stores next-show date now + 14 days, no star given, the version and no automatic showing.
void onFirstStartOrVersionChangedTo(const QString& twoNumberVersion);
// The version cut after its second dot-separated component: "2.3.1" is "2.3", "5" is "5",
// "" is "".
QString buildAppVersionWith2Numbers();
QString buildAppVersionWith2Numbers(const QString& appVersion);

} // namespace RateDialogDefaults
