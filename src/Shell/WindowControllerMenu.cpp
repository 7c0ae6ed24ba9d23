// The menu bar inside the main window. The items' enabling rules belong to the menu's own
// validation; here the items exist and reach their commands.
#include "WindowController.h"

#include "Toolkit/Palette.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "Shell/WindowBackgroundView.h"

void WindowController::buildMenuBar() {
    m_menuBar = new QMenuBar(m_contentView);
    m_menuBar->setObjectName(QStringLiteral("mainMenu"));
    m_menuBar->setNativeMenuBar(false);
    // A flat bar over the window's own background, in the toolbar's text colour.
    m_menuBar->setStyleSheet(
        QStringLiteral("QMenuBar { background: transparent; border: none; color: %1; }"
                       "QMenuBar::item { background: transparent; padding: 3px 8px; }"
                       "QMenuBar::item:selected { background: %2; border-radius: 3px; }")
            .arg(Palette::toolbarButtonsTextColor().name(), Palette::selectedRowColor().name()));
    m_menuBar->setAutoFillBackground(false);

    QMenu* application = m_menuBar->addMenu(QStringLiteral("Sorvanta"));
    mainMenuAboutSorvanta = application->addAction(QStringLiteral("About Sorvanta"));
    mainMenuRateSorvanta = application->addAction(QStringLiteral("Rate Sorvanta"));
    // Rating shows nothing in this application; the item stays hidden.
    mainMenuRateSorvanta->setVisible(false);
    application->addSeparator();
    mainMenuHideSorvanta = application->addAction(QStringLiteral("Hide Sorvanta"));
    connect(mainMenuHideSorvanta, &QAction::triggered, this, [this] { showMinimized(); });
    mainMenuQuitSorvanta = application->addAction(QStringLiteral("Quit Sorvanta"));
    mainMenuQuitSorvanta->setShortcut(QKeySequence::Quit);
    connect(mainMenuQuitSorvanta, &QAction::triggered, this, [this] { tryToQuitApplication(); });

    QMenu* file = m_menuBar->addMenu(QStringLiteral("File"));
    newScanMenuItem = file->addAction(QStringLiteral("New Scan"));
    connect(newScanMenuItem, &QAction::triggered, this, [this] { newScan(); });
    m_recentFoldersMenu = file->addMenu(QStringLiteral("Recent Folders"));
    recentFoldersMenuItem = m_recentFoldersMenu->menuAction();
    connect(m_recentFoldersMenu, &QMenu::aboutToShow, this, [this] { updateRecentFoldersList(); });
    file->addSeparator();
    restartScanMenuItem = file->addAction(QStringLiteral("Rescan Current Folders"));
    connect(restartScanMenuItem, &QAction::triggered, this,
            [this] { restartScan(restartScanMenuItem); });
    allOutRestartScanMenuItem = file->addAction(QStringLiteral("All-out Rescan Current Folders"));
    connect(allOutRestartScanMenuItem, &QAction::triggered, this,
            [this] { restartScan(allOutRestartScanMenuItem); });

    QMenu* view = m_menuBar->addMenu(QStringLiteral("View"));
    fullScreenMenuItem = view->addAction(QStringLiteral("Enter Full Screen"));
    connect(fullScreenMenuItem, &QAction::triggered, this, [this] { fullScreenAction(); });
    connect(view, &QMenu::aboutToShow, this, [this] {
        fullScreenMenuItem->setText(inFullScreenMode() ? QStringLiteral("Exit Full Screen")
                                                       : QStringLiteral("Enter Full Screen"));
    });

    QMenu* help = m_menuBar->addMenu(QStringLiteral("Help"));
    mainMenuSorvantaHelp = help->addAction(QStringLiteral("Sorvanta Help"));
    buildSharingMenus(application, help);
}
