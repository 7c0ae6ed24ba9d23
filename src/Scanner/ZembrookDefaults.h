#pragma once

#include <QtGlobal>

// The rules of the automatic promotional panel, kept in the user defaults under the
// "ZEMBROOK_DIALOG_DATA:" keys. Every write is saved at once. Safe from any thread (the
// user defaults serialise every access), though the scan asks only on the main queue.
namespace ZembrookDefaults {

// YES when the first-ask gate key is present; when it is missing, stores it and answers NO,
// so the panel never shows itself on the very first question.
bool isCanShowZembrookDialogAutomatically();
// YES when no next-show date is stored or the stored one is not in the future.
bool isTimeToShowZembrookDialogIsNow();
// YES when no shown version is stored or the stored one is below `version`.
bool isNeedShowZembrookWithVersion(qint32 version);
// The whole test, answering NO at the first rule that fails: the gate (always asked first,
// so the first call stores it whatever the count), a count of at least 1000, the date, the
// version.
bool isNeedShowZembrookDialogAutomaticallyWithVersion(qint32 version, quint64 duplicatesCount);
// Records an automatic showing: next-show date now + 14 days and the shown version.
void notifyZembrookDialogDataThatShowedAutomaticallyVersion(qint32 version);

// The panel version in force: the downloaded panel's version ("PROMO_MANAGER:zembrook_version")
// when it is above the embedded version 0, else 0.
qint32 getZembrookVersion();

} // namespace ZembrookDefaults
