#pragma once

#include <QString>

// Every text the preferences window shows, in one place.
namespace PreferencesTexts {

// Tabs.
inline QString generalTab() {
    return QStringLiteral("General");
}
inline QString skipListTab() {
    return QStringLiteral("Skip list");
}
inline QString autoSelectTab() {
    return QStringLiteral("Auto-select");
}
inline QString removeTab() {
    return QStringLiteral("Remove");
}
inline QString windowTitle() {
    return QStringLiteral("Preferences");
}

// Shared by the panes.
inline QString restoreDefaults() {
    return QStringLiteral("Restore Defaults");
}
inline QString addButton() {
    return QStringLiteral("+");
}
inline QString removeButton() {
    return QStringLiteral("\u2212");
}

// General.
inline QString scanInHiddenFolders() {
    return QStringLiteral("Scan hidden folders");
}
inline QString fullHashCalculation() {
    return QStringLiteral("Compare the whole content of every file (slower)");
}
inline QString minimalSizeHeading() {
    return QStringLiteral("Minimal size of a duplicate file:");
}
inline QString autoDefineMinimalSize() {
    return QStringLiteral("Define automatically");
}
inline QString manualDefineMinimalSize() {
    return QStringLiteral("Choose:");
}
inline QString sliderMarkAll() {
    return QStringLiteral("All");
}
inline QString sliderMark1MB() {
    return QStringLiteral("1 MB");
}
inline QString sliderMark10MB() {
    return QStringLiteral("10 MB");
}
inline QString sliderMark200MB() {
    return QStringLiteral("200 MB");
}
inline QString allFiles() {
    return QStringLiteral("All files");
}
inline QString nextScanOnly() {
    return QStringLiteral("Changes will take effect on the next scan.");
}

// Skip list.
inline QString foldersType() {
    return QStringLiteral("Folders");
}
inline QString filesType() {
    return QStringLiteral("Files");
}
inline QString extensionsType() {
    return QStringLiteral("Extensions");
}
inline QString skipListDescription() {
    return QStringLiteral("Folders, files and extensions left out of every scan.");
}
inline QString chooseFoldersToSkip() {
    return QStringLiteral("Choose folders to skip");
}
inline QString chooseFilesToSkip() {
    return QStringLiteral("Choose files to skip");
}

// Auto-select.
inline QString alwaysSelectType() {
    return QStringLiteral("Always Select");
}
inline QString neverSelectType() {
    return QStringLiteral("Never Select");
}
inline QString alwaysSelectDescription() {
    return QStringLiteral("Choose folders for duplicates auto selection.");
}
inline QString neverSelectDescription() {
    return QStringLiteral("Choose folders to prevent duplicates auto selection.");
}
inline QString chooseAutoSelectFolders() {
    return QStringLiteral("Choose folders");
}
inline QString conflictMessage(const QString& otherList) {
    return QStringLiteral("This folder already added to %1 list").arg(otherList);
}
inline QString conflictInformative(const QString& otherList, const QString& currentList) {
    return QStringLiteral("Do you want to remove this folder from %1 list and add it to %2 list?")
        .arg(otherList, currentList);
}

// Remove.
inline QString removeDuplicatesPermanently() {
    return QStringLiteral("Delete duplicates permanently instead of moving them to the Trash");
}
inline QString allowRemovingAllCopies() {
    return QStringLiteral("Allow selecting every copy of a duplicate");
}
inline QString removeEmptyFolders() {
    return QStringLiteral("Remove folders left empty after cleaning");
}

} // namespace PreferencesTexts
