#include "Selection/SettingsRestore.h"

#include "Categories/Settings.h"
#include "Platform/UserDefaults.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesManager.h"

namespace Settings {

void restoreDefaultExcludeFolders() {
    setExcludeFolders(createDefaultExcludeFoldersArray());
}

void restoreDefaultExcludeFiles() {
    setExcludeFiles(createDefaultExcludeFilesArray());
}

void restoreDefaultExcludeExtensions() {
    setExcludeExtensions(createDefaultExcludeExtensionsArray());
}

void restoreDefaultAutoAlwaysSelectFolders() {
    setAutoAlwaysSelectFolders(createDefaultAutoSelectFoldersArray());
}

void restoreDefaultAutoNeverSelectFolders() {
    setAutoNeverSelectFolders(createDefaultNeverSelectFoldersArray());
}

void restoreDefaultsScan() {
    setForceFullHashCalculation(false);
    setScanInHiddenFolders(false);
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    defaults.removeObject(QString::fromLatin1(Key::defineMinimalDuplicatesFileSizeAutomatically));
    defaults.removeObject(QString::fromLatin1(Key::minDuplicatesFileSize));
    defaults.synchronize();
}

void restoreRemoveDefaults() {
    // While every copy of a group may be selected, some groups may be; once that permission
    // is off no group may stay so, hence the deselection comes first.
    if (const auto container = DuplicatesManager::sharedManager().duplicateContainer()) {
        DuplicatesGroup::BeginSelectionGroup();
        // A copy of the list: deselecting never moves groups, but the list is the
        // container's own.
        const auto groups = container->getAllFilesGroups();
        for (const auto& group : groups) {
            if (group->getSelectedCountWithDuplicatesFolderContent() != group->getTotalCount())
                continue;
            for (const auto& item : group->getItems())
                item->deselectItem();
        }
        DuplicatesGroup::EndSelectionGroup();
    }
    setMoveCleanedDuplicatesToTheTrashCan(true);
    setAllowRemovingAllDuplicateCopies(false);
    setRemoveEmptyFolders(false);
    setShowRemoveLastInCategoriesMessage(true);
    setShowRemoveLastInHeapsMessage(true);
    setShowRemovePermanentlyItemsOnRemoteDisksMessage(true);
    setShowRemovePermanentlyMessage(true);
}

void restoreDefaultsForAlertWindows() {
    setShowRemoveLastInCategoriesMessage(true);
    setShowRemoveLastInHeapsMessage(true);
    setShowNewScanMessage(true);
    setShowRemovePermanentlyItemsOnRemoteDisksMessage(true);
    setShowRemovePermanentlyMessage(true);
    setShowRestartScanMessage(true);
}

void restoreDefaultsForAllSettings() {
    // The batch's end is the one selection-changed notification of the whole restore: the
    // views refresh once, whether or not any copy was deselected.
    DuplicatesGroup::BeginSelectionGroup();
    restoreDefaultsScan();
    restoreDefaultExcludeFolders();
    restoreDefaultExcludeFiles();
    restoreDefaultExcludeExtensions();
    restoreDefaultAutoAlwaysSelectFolders();
    restoreDefaultAutoNeverSelectFolders();
    restoreRemoveDefaults();
    restoreDefaultsForAlertWindows();
    DuplicatesGroup::EndSelectionGroup();
}

} // namespace Settings
