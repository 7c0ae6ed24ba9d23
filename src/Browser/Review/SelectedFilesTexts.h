#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// Every text the review panel and its removal run show, in one place.
namespace SelectedFilesTexts {

// The panel's fixed texts.
QString title();
QString subtitle();
QString selectAllTitle();
QString deselectAllTitle();
QString cancelTitle();
// The remove button: five spaces make room for the picture's icon.
QString removeTitle();
QString stopTitle();
QString removeToTrashToolTip();
QString removeInstantlyToolTip();
// The bottom bar's remove button while the panel is away.
QString reviewAndRemoveToolTip();
QString lastCopyToolTip();
QString selectForRemovalToolTip();
QString deselectFromRemovalToolTip();

// The informative label: "You have cleaned %@" after a run that removed something (and is
// over), otherwise "%ld %@ %@ %@": the count, its noun, the size and "removing" or
// "selected".
QString informativeLabel(std::uint64_t count, std::uint64_t folders, std::uint64_t size,
                         bool removing, std::uint64_t removedSize);

// The sort button's title for a stored sort type; empty for a type it does not know.
QString sortButtonTitle(int sortType);

// The "Attention" question before a group's last copy is selected.
QString lastCopyMessage();
QString lastCopyInformative(bool folder, const QString& displayName);
QString doNotShowAgain();

// The question before a permanent removal of |count| copies.
QString permanentMessage();
QString permanentInformative(std::uint64_t count);
QString dontShowAgain();

// The question about copies on volumes without a Trash: one copy (its name and its disk)
// or several (their count and the disks' names in the order given).
QString remoteOneMessage(const QString& name);
QString remoteOneInformative(const QString& name, const QString& disk);
QString remoteSeveralMessage(std::uint64_t count);
QString remoteSeveralInformative(std::uint64_t count, const QStringList& diskNames);

// The failure report: one copy (its name and the reason) or several (their count).
QString notRemovedOneMessage(const QString& name);
// The reason shown for a failure that came without one.
QString unknownFailureReason();
QString notRemovedSeveralMessage();
QString notRemovedSeveralInformative(std::uint64_t count);
// The same, when every copy was kept by the remover for one reason of its own: none of them
// had another copy left on disk, or all of them had changed after the scan. The general
// text speaks of access permissions, which would then be false.
QString notRemovedSeveralNoOtherCopyInformative(std::uint64_t count);
QString notRemovedSeveralChangedInformative(std::uint64_t count);

} // namespace SelectedFilesTexts
