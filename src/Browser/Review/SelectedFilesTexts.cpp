#include "Browser/Review/SelectedFilesTexts.h"
#include "Browser/Common/CountNoun.h"

#include "Categories/FileSize.h"

namespace SelectedFilesTexts {

QString title() {
    return QStringLiteral("Review and Remove");
}

QString subtitle() {
    return QStringLiteral("Every copy selected for removal. Uncheck the copies you want to keep.");
}

QString selectAllTitle() {
    return QStringLiteral("Select All");
}

QString deselectAllTitle() {
    return QStringLiteral("Deselect All");
}

QString cancelTitle() {
    return QStringLiteral("Cancel");
}

QString removeTitle() {
    return QStringLiteral("     Remove");
}

QString stopTitle() {
    return QStringLiteral("     Stop");
}

QString removeToTrashToolTip() {
    return QStringLiteral("Remove selected duplicates to Trash");
}

QString removeInstantlyToolTip() {
    return QStringLiteral("Remove selected duplicates instantly");
}

QString reviewAndRemoveToolTip() {
    return QStringLiteral("Review & remove selected duplicates");
}

QString lastCopyToolTip() {
    return QStringLiteral("This file is the last unselected copy of duplicates. If you want to "
                          "select all copies change the option in Preferences.");
}

QString selectForRemovalToolTip() {
    return QStringLiteral("Select for removal");
}

QString deselectFromRemovalToolTip() {
    return QStringLiteral("Deselect from removal");
}

QString informativeLabel(std::uint64_t count, std::uint64_t folders, std::uint64_t size,
                         bool removing, std::uint64_t removedSize) {
    if (removedSize != 0 && !removing)
        return QStringLiteral("You have cleaned %1")
            .arg(FileSize::formatMemoryStringDot1(removedSize));
    return QStringLiteral("%1 %2 %3 %4")
        .arg(count)
        .arg(CountNoun::nounForCount(count, folders), FileSize::formatMemoryStringDot1(size),
             removing ? QStringLiteral("removing") : QStringLiteral("selected"));
}

QString sortButtonTitle(int sortType) {
    switch (sortType) {
    case 0:
    case 1:
    case 4:
        return QStringLiteral("Sort by Size");
    case 2:
        return QStringLiteral("Sort by Type");
    case 3:
        return QStringLiteral("Sort by Name");
    case 5:
        return QStringLiteral("Sort by Selected");
    case 6:
        return QStringLiteral("Sort by Path");
    default:
        return {};
    }
}

QString lastCopyMessage() {
    return QStringLiteral("Attention");
}

QString lastCopyInformative(bool folder, const QString& displayName) {
    return QStringLiteral("All copies of the %1 \"%2\" will be selected for removal.")
        .arg(folder ? QStringLiteral("folder") : QStringLiteral("file"), displayName);
}

QString doNotShowAgain() {
    return QStringLiteral("Do not show this message again");
}

QString permanentMessage() {
    return QStringLiteral("Are you sure you want to delete some files permanently?");
}

QString permanentInformative(std::uint64_t count) {
    return QStringLiteral("%1 item%2 will be deleted permanently. You can't undo this action.")
        .arg(count)
        .arg(count == 1 ? QString() : QStringLiteral("s"));
}

QString dontShowAgain() {
    return QStringLiteral("Don't show this message again");
}

QString remoteOneMessage(const QString& name) {
    return QStringLiteral("Are you sure you want to delete \"%1\" permanently?").arg(name);
}

QString remoteOneInformative(const QString& name, const QString& disk) {
    return QStringLiteral("\"%1\" on disk \"%2\" can't be removed to Trash and will be deleted "
                          "permanently. You can't undo this action.")
        .arg(name, disk);
}

QString remoteSeveralMessage(std::uint64_t count) {
    return QStringLiteral("Are you sure you want to delete %1 items permanently?").arg(count);
}

QString remoteSeveralInformative(std::uint64_t count, const QStringList& diskNames) {
    QString list;
    for (qsizetype i = 0; i < diskNames.size(); ++i) {
        if (i > 0)
            list += i + 1 == diskNames.size() ? QStringLiteral(" and ") : QStringLiteral(", ");
        list += QLatin1Char('"') + diskNames[i] + QLatin1Char('"');
    }
    const QString disks = QStringLiteral("%1 %2").arg(
        diskNames.size() == 1 ? QStringLiteral("disk") : QStringLiteral("disks"), list);
    return QStringLiteral("%1 items on %2 can't be removed to Trash and will be deleted "
                          "permanently. You can't undo this action.")
        .arg(count)
        .arg(disks);
}

QString notRemovedOneMessage(const QString& name) {
    return QStringLiteral("File \"%1\" was not removed").arg(name);
}

QString unknownFailureReason() {
    return QStringLiteral("The file could not be removed. Check that it still exists and that you "
                          "may change the folder that holds it.");
}

QString notRemovedSeveralMessage() {
    return QStringLiteral("Several duplicates were not removed");
}

QString notRemovedSeveralInformative(std::uint64_t count) {
    return QStringLiteral("%1 items couldn't be removed. Check access permissions for the files.")
        .arg(count);
}

QString notRemovedSeveralNoOtherCopyInformative(std::uint64_t count) {
    return QStringLiteral("%1 items couldn't be removed: no other copy of them is left on disk.")
        .arg(count);
}

QString notRemovedSeveralChangedInformative(std::uint64_t count) {
    return QStringLiteral("%1 items couldn't be removed: they changed after the scan.").arg(count);
}

} // namespace SelectedFilesTexts
