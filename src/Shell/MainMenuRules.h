#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

// The main menu's commands. Every item of the main window's menu bar stands for one of
// them; items that only open a window or share (About, Share, support, Hide, Quit, the
// updater, a submenu) are `Other`.
enum class MenuCommand {
    Other,
    ShowPreferences,
    RateSorvanta,
    FullScreen,
    NewScan,
    PathMenuItem,
    AddFolderToScan,
    Scan,
    // The welcome screen's start for one all-out scan, beside Scan.
    AllOutScan,
    RestartScan,
    RevealInFinder,
    GetInfo,
    OpenFile,
    Find,
    ShowOverview,
    ShowAllFiles,
    ShowPictures,
    ShowMovies,
    ShowMusic,
    ShowDocuments,
    ShowArchives,
    ShowOthers,
    ShowFolders,
    ShowHeaps,
    AutoSelectDuplicates,
    SelectNewestCopies,
    SelectOldestCopies,
    SelectAnyCopies,
    SelectDuplicatesInFolders,
    DeselectAllDuplicates,
    AutoSelectInGroup,
    NewestSelectInGroup,
    OldestSelectInGroup,
    AnySelectInGroup,
    DeselectInGroup,
    ShowSelectedDuplicates,
    ShowOverlay,
    HideHelperOverlay,
    Help,
    // Opens the promotional panel of cleanup tools.
    CleanUpTools,
};

// What the menu's rules read of the application, taken afresh at every validation. The
// toolbar button is its index: 0 Overview, 1 All Files, 2 to 8 the categories of types 0
// to 6, 9 Similars, -1 none.
struct MainMenuState {
    bool sheetOpen = false;
    bool fullScreen = false;
    bool keyWindow = false;
    bool welcome = false;
    // The welcome screen would start a scan now: it lists a folder and has not started one.
    bool welcomeCanScan = false;
    bool interim = false;
    bool results = false;
    bool reviewPanel = false;
    bool removalRunning = false;
    bool groupList = false;
    bool copiesTable = false;
    // The copies table's isAnyFilesForDeselect.
    bool copiesTableCanDeselect = false;
    bool folderPicker = false;
    // The folder picker's isAnyDuplicatesForDeselect.
    bool folderPickerCanDeselect = false;
    bool twoFolderTable = false;
    int viewState = 0;
    int selectedToolbarButton = -1;
    // doWeHaveSelectedFile.
    bool haveSelectedFile = false;
    std::uint64_t allFilesSize = 0;
    bool hasAllFilesGroups = false;
    std::array<std::uint64_t, 7> categoryTotalCounts{};
    std::uint64_t heapsTotalSize = 0;
    std::uint64_t removeListCount = 0;
};

// The answer for one item: enabled, and what else the rules change on it. A field left
// empty leaves the item as it is.
struct MenuItemRule {
    bool enabled = false;
    std::optional<bool> checked;
    std::optional<bool> visible;
    std::optional<bool> alternate;
    std::optional<QString> title;
    // The item is the New Scan item, and the recent-folders submenu is to be rebuilt.
    bool rebuildRecentFolders = false;
    // Every validation that gets past the sheet rule shows the updater's item.
    bool showUpdaterItem = false;
};

namespace MainMenuRules {

// The toolbar button a category command stands for (0 to 9), or -1.
int toolbarButtonOfCommand(MenuCommand command);

// validateMenuItem: for |command| in |state|. Posting "MainMenuIsActive" is the caller's.
MenuItemRule validate(MenuCommand command, const MainMenuState& state);

// What doWeHaveSelectedFile reads. |twoFolderFileExists| is asked only when the rules need
// it (it looks at the disk).
struct SelectedFileFacts {
    bool reviewPanel = false;
    bool reviewPanelFileExists = false;
    int viewState = 0;
    bool copiesTableFileExists = false;
    bool twoFolderHasFile = false;
    std::function<bool()> twoFolderFileExists;
};
bool doWeHaveSelectedFile(const SelectedFileFacts& facts);

} // namespace MainMenuRules
