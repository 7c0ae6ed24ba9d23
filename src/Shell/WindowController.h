#pragma once

#include "Screens/ScreenProtocols.h"
#include "Shell/MainMenuRules.h"

#include <QKeySequence>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class AboutWC;
class ButtonWithTrackingArea;
class DuplicatesContainer;
class FoldersScanner;
class InterimScreenVC;
class MainMenu;
class PreferencesWC;
class QAction;
class QFileDialog;
class QMenu;
class QMenuBar;
class QSizeGrip;
class ScanScreenVC;
class SelectDuplicatesVC;
class WelcomeScreenVC;
class WindowBackgroundView;

// How a screen enters or leaves: 0 slides from or to the left, 1 only fades, 2 slides from
// or to the right.
enum ScreenTransitionDirection : int {
    ScreenTransitionLeft = 0,
    ScreenTransitionFade = 1,
    ScreenTransitionRight = 2,
};

// The one main window. It shows exactly one flow screen at a time (welcome, interim, scan,
// results) inside its content view, slides and fades them in and out, resizes and centres
// itself for each, draws its own close, minimise and full-screen buttons, and runs the life
// of a scan: start, completion, rescan, new scan and the recent folders.
//
// A screen exists exactly while its controller field is set: every hide step releases the
// controller (deleteLater) when its animation ends; every show step makes the controller
// only when the field is empty. Main thread only; all steps run through the animation
// clock.
class WindowController final : public QWidget,
                               public WelcomeScreenProtocolDelegate,
                               public InterimScreenProtocolDelegate,
                               public ScanScreenProtocolDelegate {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WindowController)

public:
    static constexpr QSize kWelcomeSize{740, 550};
    static constexpr QSize kScanSize{990, 590};
    static constexpr QSize kMaximumResultsSize{2880, 1800};
    static constexpr int kScreenAnimationMs = 1000;
    static constexpr int kWindowAnimationMs = 500;
    static constexpr int kShowResultsDelayMs = 3000;
    static constexpr int kRestartScanDelayMs = 600;

    using Completion = std::function<void(bool)>;

    explicit WindowController(QWidget* parent = nullptr);
    ~WindowController() override;

    // Start-up of the window, after it is shown: centres it, titles the menu and shows the
    // welcome screen.
    void windowDidLoad();
    void moveWindowToScreenCenter();
    // |size| cut down to the available area of the window's screen: no screen's window is
    // larger than what the screen can show.
    QSize fittedSize(QSize size) const;
    // The window came onto another screen: the sizes the current screen asks for are fitted
    // again to the new one's available area, and the window is moved inside it.
    void screenDidChange();
    void updateMenuItemsByTarget();

    // ---- Screens.
    void showWelcomeScreenFrom(int direction, Completion completion = {});
    void hideWelcomeScreenTo(int direction);
    void showInterimScreenFrom(int direction, Completion completion = {});
    void hideInterimScreenTo(int direction);
    void showScanScreenFrom(int direction, Completion completion = {});
    void hideScanScreenTo(int direction);
    void showSelectDuplicatesVCFrom(int direction);
    void hideSelectDuplicatesVCTo(int direction);
    void increaseWindowToSize(QSize size, bool resizable, Completion completion);
    void decreaseWindowAnimated(bool animated, Completion completion);

    void backToWelcomeScreen();
    void backToInterimScreen();
    void noDuplicatesMore();

    // InterimScreenProtocolDelegate.
    void backToWelcomeScreenFromInterimScreen() override;
    void showResultsFromInterimScreen() override;
    // ScanScreenProtocolDelegate.
    void backToWelcomeScreenFromScanScreen() override;
    void showResultsFromScanScreen() override;
    void cancelPendingRequests() override;
    // WelcomeScreenProtocolDelegate.
    // An all-out scan compares whole files; it never changes the stored preference, which
    // the scan reads beside it.
    void startScanFolders(const QStringList& paths, bool allOut = false) override;
    bool isAnyOtherWindowsOpened() const override;
    // The results screen's first help is on its way: not shown yet, while a scan runs, its
    // results are coming in or the results screen is up. A scan that found nothing shows no
    // help. The automatic promotional panel waits for it.
    bool firstHelpStillToCome() const;

    // ---- Scan life.
    void onScanCompleteWithResult(const std::shared_ptr<DuplicatesContainer>& container,
                                  const FoldersScanner* scanner);
    void clearScanner();
    void newScan();
    // |sender| is the menu item that asked, or none (the "RestartScan" notification, the
    // return from full screen). The all-out item makes the rescan all-out; the choice lives
    // with this rescan only.
    void restartScan(QAction* sender = nullptr);
    void performRestartScan();
    void updateRecentFoldersList();
    void pathMenuItemPressed(const QString& path);

    // ---- Window buttons and events.
    void customizeWindowControllButtons();
    void makeControllButtonsForemost();
    // The close button, Quit and a window manager's close (WindowControllerQuit.cpp): with
    // results on screen (a removal may be running) or a scan running, asks first; with the
    // review panel open, closes it instead.
    void tryToQuitApplication();
    // Quit without a question (a termination signal): a running scan stops, a running
    // removal stops once the copy in hand is done, and the event loop ends.
    void quitWithoutAsking();
    void zoomButtonHandler();
    void minimizeButtonPressed();
    void fullScreenAction();
    bool inFullScreenMode() const;
    void toggleFullScreen();
    void windowDidEnterFullScreen();
    void windowDidExitFullScreen();
    // Escape with no modifier: closes the review panel, else leaves full screen; false when
    // there was neither, and the key goes on to the screens.
    bool escapePressed();
    // Modifier keys changed to |modifierFlags| (the key tables' bits).
    void flagsChanged(quint32 modifierFlags);

    // ---- Sheets (WindowControllerSheets.cpp). A sheet is a window-modal dialog of this
    // window; it hangs from the window's top edge, centred, where this rule puts it.
    // |proposed| is in window coordinates (y up): the rectangle is lowered by 43 points while
    // the results screen's review panel is open, by 89 points on the results screen
    // otherwise (below its toolbar), and left as it is without a results screen.
    QRectF windowWillPositionSheetUsingRect(const QRectF& proposed) const;
    // Moves |sheet| to its place over this window.
    void positionSheet(QWidget* sheet) const;

    // ---- For the menu, the tests and the tools.
    WelcomeScreenVC* welcomeScreenController() const;
    InterimScreenVC* interimScreenController() const;
    ScanScreenVC* scanScreenController() const;
    SelectDuplicatesVC* selectDuplicatesController() const;
    FoldersScanner* scanner() const { return m_pScanner.get(); }
    QWidget* contentView() const;
    ButtonWithTrackingArea* quitButton() const { return m_quitButton; }
    ButtonWithTrackingArea* minimizeButton() const { return m_minimizeButton; }
    ButtonWithTrackingArea* fullScreenButton() const { return m_fullScreenButton; }
    QMenuBar* menuBar() const { return m_menuBar; }
    QStringList lastSelectedFolders() const { return m_arrLastSelectedFolders; }
    QStringList selectedFoldersArray() const { return m_selectedFoldersArray; }
    bool isShowResultsPending() const;
    QSize windowSizeAfterScan() const { return m_windowSizeAfterScan; }

    // ---- Sharing, mail, updater, About and preferences (WindowControllerSharing.cpp).
    // Makes a new About window at every call and shows it.
    void showAboutScreen();
    AboutWC* aboutWindowController() const;
    // Makes a new preferences window at every call and shows it free, key and in front.
    // (Callers that want it modal, with a folder put into a list, use
    // PreferencesWC::beginSheet() and its addFolderTo... entry points.)
    void showPreferences();
    PreferencesWC* preferencesController() const;
    void checkForUpdates();
    // The promotional panel of cleanup tools, a sheet on this window (the menu item, the
    // congratulations screen's request).
    void macCleanUpToolsPressed();

    // ---- The main menu's rules and commands (WindowControllerMenu.cpp,
    // WindowControllerMenuCommands.cpp). An item is validated when its menu is shown, when
    // its shortcut is pressed and again when it is triggered, so no way in passes a rule.
    // validateMenuItem: posts "MainMenuIsActive", applies the rules to |item| (enabled,
    // check mark, visibility, title) and answers whether it is enabled.
    bool validateMenuItem(QAction* item);
    // Validates every item of |menu|, then lets an alternate item stand in for the item
    // before it while Alt is held.
    void validateMenu(QMenu* menu);
    // What the rules read, gathered from the screens now.
    MainMenuState currentMenuState() const;
    static MenuCommand commandOfItem(const QAction* item);
    // The desktop's own binding of |key|, or |fallback| where the desktop binds none (a
    // session with no desktop environment has no Preferences or full-screen key).
    static QKeySequence standardKeyOr(QKeySequence::StandardKey key, const QKeySequence& fallback);
    // The first item of the menu bar (submenus included) that stands for |command|.
    QAction* menuItem(MenuCommand command) const;
    // Runs |command| for |sender| without asking the rules (the item's trigger asks first).
    void performMenuCommand(MenuCommand command, QAction* sender);
    // Opens the folder chooser (a sheet of this window) of "select the copies in folders".
    void selectDuplicatesInFoldersPressed();
    // Selects, unforced and in one batch, every unselected copy lying directly in one of
    // |paths|.
    static void selectDuplicatesInFolderURLs(const QStringList& paths);
    QFileDialog* folderChooser() const;
    // For tests of states no screen can reach yet: adjusts the gathered state.
    void setMenuStateAdjuster(std::function<void(MainMenuState&)> adjuster) {
        m_menuStateAdjuster = std::move(adjuster);
    }

    // What ends the application; the tests put a recorder in its place.
    void setTerminateHandler(std::function<void()> handler) { m_terminate = std::move(handler); }

protected:
    // A window manager's close is the close button: it never closes the window by itself.
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class ScanListener;

    void buildWindowButtons();
    void buildMenuBar();
    // Adds an item for |command| to |menu|; its trigger runs |handler| (or the command) only
    // when the rules enable it.
    QAction* addMenuItem(QMenu* menu, const QString& title, MenuCommand command,
                         const QKeySequence& shortcut = {}, std::function<void()> handler = {});
    void guardMenuItem(QAction* item, MenuCommand command, std::function<void()> handler);
    void applyMenuItemRule(QAction* item, const MenuItemRule& rule);
    bool isAnySheetOpen() const;
    // Validates the items whose shortcut is |event|'s key, before the shortcut is looked up.
    void validateItemsForShortcut(const QKeyEvent* event);
    // Adds the About, updater and preferences items to |application|, the Share menu and
    // the support item to |help|.
    void buildSharingMenus(QMenu* application, QMenu* help);
    void layoutChrome();
    void setButtonsHovered(bool hovered);
    void disableFullScreenButton();
    void enableFullScreenButton();
    void runRestartAfterWindowShrank();
    void askAndTerminate();
    // The rule of the close button; |windowIsKey| says whether the question may be asked.
    void requestQuit(bool windowIsKey);
    void terminate();
    QRect screenFrame() const;
    void animateWindowTo(const QRect& frame, int durationMs, std::function<void()> done);
    bool isSheetOfThisWindow(const QObject* object) const;

    // Screens.
    QPointer<WelcomeScreenVC> m_welcomeScreenController;
    QPointer<InterimScreenVC> m_interimScreenController;
    QPointer<ScanScreenVC> m_scanScreenController;
    QPointer<SelectDuplicatesVC> m_selectDuplicatesController;

    // Chrome.
    WindowBackgroundView* m_contentView = nullptr;
    ButtonWithTrackingArea* m_quitButton = nullptr;
    ButtonWithTrackingArea* m_minimizeButton = nullptr;
    ButtonWithTrackingArea* m_fullScreenButton = nullptr;
    QMenuBar* m_menuBar = nullptr;
    QSizeGrip* m_sizeGrip = nullptr;
    // The minimum the current screen asks for before it is fitted to a screen, and whether
    // the window may grow past it.
    QSize m_wantedMinimum = kWelcomeSize;
    bool m_wantedResizable = false;
    QMenu* m_recentFoldersMenu = nullptr;
    quint32 m_modifierFlags = 0;

    // The running scan and the listener that tells this window its end.
    std::shared_ptr<FoldersScanner> m_pScanner;
    std::shared_ptr<ScanListener> m_pScanListener;
    quint64 m_showResultsRequest = 0;

    bool m_showWelcomeScreenAfterReturningFromFullscreen = false;
    bool m_showInterimScreenAfterReturningFromFullscreen = false;
    bool m_restartScanningAfterReturningFromFullscreen = false;
    // The all-out choice of the rescan under way.
    bool m_bAllOutRescan = false;

    QStringList m_arrLastSelectedFolders;
    QSize m_windowSizeAfterScan{1200, 713};
    QStringList m_selectedFoldersArray;
    QPointer<AboutWC> m_aboutWC;
    QPointer<PreferencesWC> m_preferencesController;

    std::function<void()> m_terminate;
    // Set once the application is ending: every window may close from then on.
    bool m_bTerminating = false;
    std::function<void(MainMenuState&)> m_menuStateAdjuster;
    QPointer<QFileDialog> m_folderChooser;

public:
    // Menu items the application menu titles at start-up.
    QAction* mainMenuAboutSorvanta = nullptr;
    QAction* mainMenuRateSorvanta = nullptr;
    QAction* mainMenuHideSorvanta = nullptr;
    QAction* mainMenuQuitSorvanta = nullptr;
    QAction* mainMenuSorvantaHelp = nullptr;
    QAction* newScanMenuItem = nullptr;
    QAction* restartScanMenuItem = nullptr;
    QAction* allOutRestartScanMenuItem = nullptr;
    QAction* macCleanUpToolsMenuItem = nullptr;
    QAction* recentFoldersMenuItem = nullptr;
    QAction* fullScreenMenuItem = nullptr;
    QAction* checkForUpdatesMenuItem = nullptr;
    QAction* preferencesMenuItem = nullptr;
    QAction* twitterMenuItem = nullptr;
    QAction* facebookMenuItem = nullptr;
    QAction* emailMenuItem = nullptr;
    QAction* contactSupportMenuItem = nullptr;
};
