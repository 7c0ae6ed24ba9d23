// The main window's remaining commands: the Share menu, the support mail, the updater, the
// About window and the preferences window.
#include "WindowController.h"

#include "Preferences/PreferencesWC.h"
#include "Promo/ZembrookDialogWC.h"
#include "Shell/AboutWC.h"
#include "Shell/Updater.h"
#include "Shell/WindowSharing.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

void WindowController::buildSharingMenus(QMenu* application, QMenu* help) {
    checkForUpdatesMenuItem = new QAction(QStringLiteral("Check for Updates..."), application);
    application->insertAction(mainMenuHideSorvanta, checkForUpdatesMenuItem);
    guardMenuItem(checkForUpdatesMenuItem, MenuCommand::Other, [this] { checkForUpdates(); });
    application->insertSeparator(mainMenuHideSorvanta);
    preferencesMenuItem = new QAction(QStringLiteral("Preferences..."), application);
    preferencesMenuItem->setShortcut(
        standardKeyOr(QKeySequence::Preferences, QKeySequence(Qt::CTRL | Qt::Key_Comma)));
    application->insertAction(mainMenuHideSorvanta, preferencesMenuItem);
    guardMenuItem(preferencesMenuItem, MenuCommand::ShowPreferences, [this] { showPreferences(); });
    application->insertSeparator(mainMenuHideSorvanta);

    auto* share = new QMenu(QStringLiteral("Share"), m_menuBar);
    m_menuBar->insertMenu(help->menuAction(), share);
    twitterMenuItem = share->addAction(QStringLiteral("Twitter"));
    guardMenuItem(twitterMenuItem, MenuCommand::Other,
                  [] { WindowSharing::twitterButtonPressed(); });
    facebookMenuItem = share->addAction(QStringLiteral("Facebook"));
    guardMenuItem(facebookMenuItem, MenuCommand::Other,
                  [] { WindowSharing::facebookButtonPressed(); });
    emailMenuItem = share->addAction(QStringLiteral("Email"));
    guardMenuItem(emailMenuItem, MenuCommand::Other, [] { WindowSharing::emailButtonPressed(); });
    WindowSharing::setSharingMenuButtons(twitterMenuItem, facebookMenuItem, emailMenuItem);

    contactSupportMenuItem = help->addAction(QStringLiteral("Contact Support"));
    guardMenuItem(contactSupportMenuItem, MenuCommand::Other,
                  [] { WindowSharing::contactSupportButtonPressed(); });
}

void WindowController::showAboutScreen() {
    // A new window at every use; one still open stays until it is closed.
    auto* about = new AboutWC;
    m_aboutWC = about;
    about->show();
    about->raise();
    about->activateWindow();
}

AboutWC* WindowController::aboutWindowController() const {
    return m_aboutWC;
}

void WindowController::showPreferences() {
    // A new window at every use; the one kept before stays open until it is closed.
    m_preferencesController = PreferencesWC::showWindow();
}

PreferencesWC* WindowController::preferencesController() const {
    return m_preferencesController;
}

void WindowController::macCleanUpToolsPressed() {
    ZembrookDialogWC::pleaseShowWindow();
}

void WindowController::checkForUpdates() {
    Updater::sharedUpdater().checkForUpdates(this);
}
