#include "MainMenuRules.h"

namespace MainMenuRules {

int toolbarButtonOfCommand(MenuCommand command) {
    switch (command) {
    case MenuCommand::ShowOverview:
        return 0;
    case MenuCommand::ShowAllFiles:
        return 1;
    case MenuCommand::ShowPictures:
        return 2;
    case MenuCommand::ShowMovies:
        return 3;
    case MenuCommand::ShowMusic:
        return 4;
    case MenuCommand::ShowDocuments:
        return 5;
    case MenuCommand::ShowArchives:
        return 6;
    case MenuCommand::ShowOthers:
        return 7;
    case MenuCommand::ShowFolders:
        return 8;
    case MenuCommand::ShowHeaps:
        return 9;
    default:
        return -1;
    }
}

namespace {

// Whether a category command's view has anything to show.
bool categoryHasDuplicates(int button, const MainMenuState& s) {
    if (button == 0)
        return s.allFilesSize != 0;
    if (button == 1)
        return s.hasAllFilesGroups;
    if (button == 9)
        return s.heapsTotalSize != 0;
    return s.categoryTotalCounts[static_cast<std::size_t>(button - 2)] != 0;
}

// Step 9: the commands' own rules, with the item's check mark already cleared.
void applyCommandRule(MenuCommand command, const MainMenuState& s, MenuItemRule& rule) {
    const bool noPanel = !s.reviewPanel;
    switch (command) {
    case MenuCommand::NewScan:
        rule.enabled = s.results && s.keyWindow;
        rule.visible = !s.welcome;
        rule.rebuildRecentFolders = true;
        return;
    case MenuCommand::PathMenuItem:
    case MenuCommand::AddFolderToScan:
        rule.enabled = s.welcome;
        return;
    case MenuCommand::Scan:
        rule.enabled = s.welcome && s.welcomeCanScan;
        rule.alternate = s.welcome;
        rule.visible = s.welcome;
        return;
    case MenuCommand::AllOutScan:
        rule.enabled = s.welcome && s.welcomeCanScan;
        rule.visible = s.welcome;
        return;
    case MenuCommand::RestartScan:
        rule.enabled = s.results || s.interim;
        return;
    case MenuCommand::RevealInFinder:
    case MenuCommand::GetInfo:
    case MenuCommand::OpenFile:
        rule.enabled = s.results && s.haveSelectedFile;
        return;
    case MenuCommand::Find:
        rule.enabled = s.results && s.viewState != 0 && noPanel;
        return;
    case MenuCommand::ShowOverview:
    case MenuCommand::ShowAllFiles:
    case MenuCommand::ShowPictures:
    case MenuCommand::ShowMovies:
    case MenuCommand::ShowMusic:
    case MenuCommand::ShowDocuments:
    case MenuCommand::ShowArchives:
    case MenuCommand::ShowOthers:
    case MenuCommand::ShowFolders:
    case MenuCommand::ShowHeaps: {
        const int button = toolbarButtonOfCommand(command);
        // The mark follows the toolbar even while the item is off (the review panel).
        if (s.results)
            rule.checked = s.selectedToolbarButton == button;
        rule.enabled = s.results && noPanel && categoryHasDuplicates(button, s);
        return;
    }
    case MenuCommand::AutoSelectDuplicates:
    case MenuCommand::SelectNewestCopies:
    case MenuCommand::SelectOldestCopies:
    case MenuCommand::SelectAnyCopies:
        rule.enabled = s.groupList && noPanel;
        return;
    case MenuCommand::SelectDuplicatesInFolders:
        rule.enabled = (s.groupList || s.twoFolderTable) && noPanel;
        return;
    case MenuCommand::DeselectAllDuplicates:
        if (!(s.groupList || s.reviewPanel || s.folderPicker))
            rule.enabled = false;
        else if (s.folderPicker)
            rule.enabled = s.folderPickerCanDeselect;
        else
            rule.enabled = s.removeListCount != 0;
        return;
    case MenuCommand::AutoSelectInGroup:
    case MenuCommand::NewestSelectInGroup:
    case MenuCommand::OldestSelectInGroup:
    case MenuCommand::AnySelectInGroup:
        rule.enabled = s.copiesTable && noPanel;
        return;
    case MenuCommand::DeselectInGroup:
        rule.enabled = s.copiesTable && s.copiesTableCanDeselect && noPanel;
        return;
    case MenuCommand::ShowSelectedDuplicates:
        rule.enabled = s.results && noPanel && s.removeListCount != 0;
        return;
    case MenuCommand::ShowOverlay:
        rule.enabled = s.results && noPanel;
        return;
    default:
        rule.enabled = true;
        return;
    }
}

} // namespace

MenuItemRule validate(MenuCommand command, const MainMenuState& s) {
    MenuItemRule rule;
    if (s.sheetOpen)
        return rule;
    rule.checked = false;
    if (command == MenuCommand::ShowPreferences) {
        rule.enabled = true;
        return rule;
    }
    rule.showUpdaterItem = true;
    switch (command) {
    case MenuCommand::RateSorvanta:
        // Rating shows nothing in this application.
        rule.visible = false;
        rule.enabled = true;
        return rule;
    case MenuCommand::FullScreen:
        rule.title =
            s.fullScreen ? QStringLiteral("Exit Full Screen") : QStringLiteral("Enter Full Screen");
        rule.enabled = s.results;
        return rule;
    default:
        break;
    }
    if (s.removalRunning)
        return rule;
    applyCommandRule(command, s, rule);
    return rule;
}

bool doWeHaveSelectedFile(const SelectedFileFacts& f) {
    if (f.reviewPanel && f.reviewPanelFileExists)
        return true;
    if (f.viewState == 1 && !f.reviewPanel && f.copiesTableFileExists)
        return true;
    if (f.twoFolderHasFile && f.viewState == 2) {
        if (f.reviewPanel)
            return false;
        return f.twoFolderFileExists && f.twoFolderFileExists();
    }
    return false;
}

} // namespace MainMenuRules
