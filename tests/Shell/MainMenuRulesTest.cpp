// The main menu's rules over made-up application states: the sheet and removal rules over
// every command, then each command's own rule with the state that turns it on and the
// facts that each turn it off again.
#include "Shell/MainMenuRules.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

constexpr MenuCommand kAllCommands[] = {
    MenuCommand::Other,
    MenuCommand::ShowPreferences,
    MenuCommand::RateSorvanta,
    MenuCommand::FullScreen,
    MenuCommand::NewScan,
    MenuCommand::PathMenuItem,
    MenuCommand::AddFolderToScan,
    MenuCommand::Scan,
    MenuCommand::RestartScan,
    MenuCommand::RevealInFinder,
    MenuCommand::GetInfo,
    MenuCommand::OpenFile,
    MenuCommand::Find,
    MenuCommand::ShowOverview,
    MenuCommand::ShowAllFiles,
    MenuCommand::ShowPictures,
    MenuCommand::ShowMovies,
    MenuCommand::ShowMusic,
    MenuCommand::ShowDocuments,
    MenuCommand::ShowArchives,
    MenuCommand::ShowOthers,
    MenuCommand::ShowFolders,
    MenuCommand::ShowHeaps,
    MenuCommand::AutoSelectDuplicates,
    MenuCommand::SelectNewestCopies,
    MenuCommand::SelectOldestCopies,
    MenuCommand::SelectAnyCopies,
    MenuCommand::SelectDuplicatesInFolders,
    MenuCommand::DeselectAllDuplicates,
    MenuCommand::AutoSelectInGroup,
    MenuCommand::NewestSelectInGroup,
    MenuCommand::OldestSelectInGroup,
    MenuCommand::AnySelectInGroup,
    MenuCommand::DeselectInGroup,
    MenuCommand::ShowSelectedDuplicates,
    MenuCommand::ShowOverlay,
    MenuCommand::HideHelperOverlay,
    MenuCommand::Help,
};

// The results screen in its category view with everything present and something selected.
MainMenuState busyResults() {
    MainMenuState s;
    s.keyWindow = true;
    s.results = true;
    s.groupList = true;
    s.copiesTable = true;
    s.copiesTableCanDeselect = true;
    s.twoFolderTable = true;
    s.viewState = 1;
    s.selectedToolbarButton = 1;
    s.haveSelectedFile = true;
    s.allFilesSize = 1000;
    s.hasAllFilesGroups = true;
    s.categoryTotalCounts = {2, 2, 2, 2, 2, 2, 2};
    s.heapsTotalSize = 500;
    s.removeListCount = 3;
    return s;
}

TEST(MainMenuRulesTest, AnySheetTurnsEveryItemOffAndChangesNothingElse) {
    MainMenuState s = busyResults();
    s.sheetOpen = true;
    for (MenuCommand command : kAllCommands) {
        const MenuItemRule rule = MainMenuRules::validate(command, s);
        EXPECT_FALSE(rule.enabled) << int(command);
        EXPECT_FALSE(rule.checked || rule.visible || rule.title || rule.alternate) << int(command);
        EXPECT_FALSE(rule.rebuildRecentFolders || rule.showUpdaterItem) << int(command);
    }
}

TEST(MainMenuRulesTest, ARemovalLeavesOnlyPreferencesRateAndFullScreenOn) {
    MainMenuState s = busyResults();
    s.reviewPanel = true;
    s.removalRunning = true;
    for (MenuCommand command : kAllCommands) {
        const bool expected = command == MenuCommand::ShowPreferences ||
                              command == MenuCommand::RateSorvanta ||
                              command == MenuCommand::FullScreen;
        const MenuItemRule rule = MainMenuRules::validate(command, s);
        EXPECT_EQ(rule.enabled, expected) << int(command);
        // The check mark is cleared, the category's too.
        EXPECT_EQ(rule.checked, std::optional<bool>(false)) << int(command);
    }
    EXPECT_EQ(MainMenuRules::validate(MenuCommand::RateSorvanta, s).visible,
              std::optional<bool>(false));
}

struct RuleCase {
    const char* name;
    MenuCommand command;
    MainMenuState state;
    bool enabled;
};

MainMenuState with(MainMenuState s, const std::function<void(MainMenuState&)>& change) {
    change(s);
    return s;
}

TEST(MainMenuRulesTest, EachCommandFollowsItsScreenAndResult) {
    const MainMenuState results = busyResults();
    MainMenuState welcome;
    welcome.welcome = true;
    welcome.welcomeCanScan = true;
    welcome.keyWindow = true;
    MainMenuState interim;
    interim.interim = true;
    const auto panel = [&](MainMenuState s) {
        s.reviewPanel = true;
        return s;
    };
    const std::vector<RuleCase> cases = {
        {"preferences with nothing", MenuCommand::ShowPreferences, MainMenuState{}, true},
        {"full screen without results", MenuCommand::FullScreen, welcome, false},
        {"full screen with results", MenuCommand::FullScreen, results, true},
        {"any other item with nothing", MenuCommand::Other, MainMenuState{}, true},
        {"new scan on results", MenuCommand::NewScan, results, true},
        {"new scan, window not key", MenuCommand::NewScan,
         with(results, [](auto& s) { s.keyWindow = false; }), false},
        {"new scan on welcome", MenuCommand::NewScan, welcome, false},
        {"recent folder on welcome", MenuCommand::PathMenuItem, welcome, true},
        {"recent folder on results", MenuCommand::PathMenuItem, results, false},
        {"add folder on welcome", MenuCommand::AddFolderToScan, welcome, true},
        {"add folder on interim", MenuCommand::AddFolderToScan, interim, false},
        {"scan with a folder", MenuCommand::Scan, welcome, true},
        {"scan without a folder", MenuCommand::Scan,
         with(welcome, [](auto& s) { s.welcomeCanScan = false; }), false},
        {"rescan on results", MenuCommand::RestartScan, results, true},
        {"rescan on interim", MenuCommand::RestartScan, interim, true},
        {"rescan on welcome", MenuCommand::RestartScan, welcome, false},
        {"reveal with a file", MenuCommand::RevealInFinder, results, true},
        {"reveal without a file", MenuCommand::RevealInFinder,
         with(results, [](auto& s) { s.haveSelectedFile = false; }), false},
        {"properties without results", MenuCommand::GetInfo,
         with(welcome, [](auto& s) { s.haveSelectedFile = true; }), false},
        {"open with a file, review panel", MenuCommand::OpenFile, panel(results), true},
        {"find in the category view", MenuCommand::Find, results, true},
        {"find on the overview", MenuCommand::Find, with(results, [](auto& s) { s.viewState = 0; }),
         false},
        {"find with the review panel", MenuCommand::Find, panel(results), false},
        {"overview", MenuCommand::ShowOverview, results, true},
        {"overview of nothing", MenuCommand::ShowOverview,
         with(results, [](auto& s) { s.allFilesSize = 0; }), false},
        {"all files without groups", MenuCommand::ShowAllFiles,
         with(results, [](auto& s) { s.hasAllFilesGroups = false; }), false},
        {"pictures", MenuCommand::ShowPictures, results, true},
        {"pictures without pictures", MenuCommand::ShowPictures,
         with(results, [](auto& s) { s.categoryTotalCounts[0] = 0; }), false},
        {"movies without movies", MenuCommand::ShowMovies,
         with(results, [](auto& s) { s.categoryTotalCounts[1] = 0; }), false},
        {"music without music", MenuCommand::ShowMusic,
         with(results, [](auto& s) { s.categoryTotalCounts[2] = 0; }), false},
        {"documents without documents", MenuCommand::ShowDocuments,
         with(results, [](auto& s) { s.categoryTotalCounts[3] = 0; }), false},
        {"archives without archives", MenuCommand::ShowArchives,
         with(results, [](auto& s) { s.categoryTotalCounts[4] = 0; }), false},
        {"others without others", MenuCommand::ShowOthers,
         with(results, [](auto& s) { s.categoryTotalCounts[5] = 0; }), false},
        {"folders without folders, pictures alone", MenuCommand::ShowFolders,
         with(results, [](auto& s) { s.categoryTotalCounts = {2, 0, 0, 0, 0, 0, 0}; }), false},
        {"similars", MenuCommand::ShowHeaps, results, true},
        {"similars without heaps", MenuCommand::ShowHeaps,
         with(results, [](auto& s) { s.heapsTotalSize = 0; }), false},
        {"a category with the review panel", MenuCommand::ShowMusic, panel(results), false},
        {"auto select with the group list", MenuCommand::AutoSelectDuplicates, results, true},
        {"newest without the group list", MenuCommand::SelectNewestCopies,
         with(results, [](auto& s) { s.groupList = false; }), false},
        {"oldest with the review panel", MenuCommand::SelectOldestCopies, panel(results), false},
        {"any with the group list", MenuCommand::SelectAnyCopies, results, true},
        {"in folders with the two-folder table alone", MenuCommand::SelectDuplicatesInFolders,
         with(results, [](auto& s) { s.groupList = false; }), true},
        {"in folders with neither list", MenuCommand::SelectDuplicatesInFolders,
         with(results,
              [](auto& s) {
                  s.groupList = false;
                  s.twoFolderTable = false;
              }),
         false},
        {"in folders with the review panel", MenuCommand::SelectDuplicatesInFolders, panel(results),
         false},
        {"deselect all with a selection", MenuCommand::DeselectAllDuplicates, results, true},
        {"deselect all with nothing selected", MenuCommand::DeselectAllDuplicates,
         with(results, [](auto& s) { s.removeListCount = 0; }), false},
        {"deselect all with the review panel alone", MenuCommand::DeselectAllDuplicates,
         with(panel(results), [](auto& s) { s.groupList = false; }), true},
        {"deselect all in the picker, nothing of its own", MenuCommand::DeselectAllDuplicates,
         with(results,
              [](auto& s) {
                  s.groupList = false;
                  s.folderPicker = true;
              }),
         false},
        {"deselect all in the picker with its own", MenuCommand::DeselectAllDuplicates,
         with(results,
              [](auto& s) {
                  s.groupList = false;
                  s.folderPicker = true;
                  s.folderPickerCanDeselect = true;
                  s.removeListCount = 0;
              }),
         true},
        {"deselect all with no list", MenuCommand::DeselectAllDuplicates,
         with(results, [](auto& s) { s.groupList = false; }), false},
        {"auto select in group", MenuCommand::AutoSelectInGroup, results, true},
        {"newest in group without the table", MenuCommand::NewestSelectInGroup,
         with(results, [](auto& s) { s.copiesTable = false; }), false},
        {"oldest in group with the review panel", MenuCommand::OldestSelectInGroup, panel(results),
         false},
        {"any in group", MenuCommand::AnySelectInGroup, results, true},
        {"deselect in group", MenuCommand::DeselectInGroup, results, true},
        {"deselect in group with nothing selected", MenuCommand::DeselectInGroup,
         with(results, [](auto& s) { s.copiesTableCanDeselect = false; }), false},
        {"review the selection", MenuCommand::ShowSelectedDuplicates, results, true},
        {"review nothing", MenuCommand::ShowSelectedDuplicates,
         with(results, [](auto& s) { s.removeListCount = 0; }), false},
        {"review while reviewing", MenuCommand::ShowSelectedDuplicates, panel(results), false},
        {"hints", MenuCommand::ShowOverlay, results, true},
        {"hints with the review panel", MenuCommand::ShowOverlay, panel(results), false},
        {"hints without results", MenuCommand::ShowOverlay, welcome, false},
        {"help does nothing but is on", MenuCommand::Help, welcome, true},
    };
    for (const RuleCase& c : cases)
        EXPECT_EQ(MainMenuRules::validate(c.command, c.state).enabled, c.enabled) << c.name;
}

TEST(MainMenuRulesTest, CategoryItemsMarkTheToolbarsButtonEvenWhenOff) {
    MainMenuState s = busyResults();
    s.selectedToolbarButton = 4; // music
    s.reviewPanel = true;
    const MenuCommand categories[] = {MenuCommand::ShowOverview, MenuCommand::ShowAllFiles,
                                      MenuCommand::ShowPictures, MenuCommand::ShowMovies,
                                      MenuCommand::ShowMusic,    MenuCommand::ShowDocuments,
                                      MenuCommand::ShowArchives, MenuCommand::ShowOthers,
                                      MenuCommand::ShowFolders,  MenuCommand::ShowHeaps};
    for (int index = 0; index < 10; ++index) {
        const MenuItemRule rule = MainMenuRules::validate(categories[index], s);
        EXPECT_FALSE(rule.enabled) << index;
        EXPECT_EQ(rule.checked, std::optional<bool>(index == 4)) << index;
        EXPECT_EQ(MainMenuRules::toolbarButtonOfCommand(categories[index]), index);
    }
    // Without results no mark is set (only cleared).
    MainMenuState welcome;
    welcome.welcome = true;
    welcome.selectedToolbarButton = 4;
    EXPECT_EQ(MainMenuRules::validate(MenuCommand::ShowMusic, welcome).checked,
              std::optional<bool>(false));
}

TEST(MainMenuRulesTest, NewScanAndScanTradePlacesOnTheWelcomeScreen) {
    MainMenuState welcome;
    welcome.welcome = true;
    const MenuItemRule newScan = MainMenuRules::validate(MenuCommand::NewScan, welcome);
    EXPECT_EQ(newScan.visible, std::optional<bool>(false));
    EXPECT_TRUE(newScan.rebuildRecentFolders);
    const MenuItemRule scan = MainMenuRules::validate(MenuCommand::Scan, welcome);
    EXPECT_EQ(scan.visible, std::optional<bool>(true));
    EXPECT_EQ(scan.alternate, std::optional<bool>(true));
    EXPECT_FALSE(scan.enabled); // no folder yet

    const MainMenuState results = busyResults();
    EXPECT_EQ(MainMenuRules::validate(MenuCommand::NewScan, results).visible,
              std::optional<bool>(true));
    const MenuItemRule hidden = MainMenuRules::validate(MenuCommand::Scan, results);
    EXPECT_EQ(hidden.visible, std::optional<bool>(false));
    EXPECT_EQ(hidden.alternate, std::optional<bool>(false));
}

TEST(MainMenuRulesTest, FullScreenItemIsTitledByTheWindowsState) {
    MainMenuState s = busyResults();
    EXPECT_EQ(MainMenuRules::validate(MenuCommand::FullScreen, s).title,
              std::optional<QString>(QStringLiteral("Enter Full Screen")));
    s.fullScreen = true;
    EXPECT_EQ(MainMenuRules::validate(MenuCommand::FullScreen, s).title,
              std::optional<QString>(QStringLiteral("Exit Full Screen")));
    // Every validation past the sheet rule but Preferences' shows the updater's item.
    EXPECT_TRUE(MainMenuRules::validate(MenuCommand::FullScreen, s).showUpdaterItem);
    EXPECT_FALSE(MainMenuRules::validate(MenuCommand::ShowPreferences, s).showUpdaterItem);
}

TEST(MainMenuRulesTest, ASelectedFileCountsFromTheViewThatIsShown) {
    int diskLooks = 0;
    const auto facts = [&](bool panel, bool panelFile, int state, bool copiesFile,
                           bool twoFolderFile, bool onDisk) {
        MainMenuRules::SelectedFileFacts f;
        f.reviewPanel = panel;
        f.reviewPanelFileExists = panelFile;
        f.viewState = state;
        f.copiesTableFileExists = copiesFile;
        f.twoFolderHasFile = twoFolderFile;
        f.twoFolderFileExists = [&diskLooks, onDisk] {
            ++diskLooks;
            return onDisk;
        };
        return f;
    };
    struct Case {
        const char* name;
        MainMenuRules::SelectedFileFacts facts;
        bool expected;
    } cases[] = {
        {"review panel's file", facts(true, true, 1, false, false, false), true},
        {"review panel without file", facts(true, false, 1, true, false, false), false},
        {"copies table in the category view", facts(false, false, 1, true, false, false), true},
        {"copies table's file on the overview", facts(false, false, 0, true, false, false), false},
        {"two-folder file on disk", facts(false, false, 2, false, true, true), true},
        {"two-folder file gone", facts(false, false, 2, false, true, false), false},
        {"two-folder file under the review panel", facts(true, false, 2, false, true, true), false},
        {"two-folder file outside its view", facts(false, false, 1, false, true, true), false},
        {"nothing", facts(false, false, 2, false, false, true), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MainMenuRules::doWeHaveSelectedFile(c.facts), c.expected) << c.name;
    // Only the two cases that reach the two-folder rule outside the review panel look.
    EXPECT_EQ(diskLooks, 2);
}

} // namespace
