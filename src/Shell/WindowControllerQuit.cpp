// Ending the application from the main window: the close button, Quit, a window manager's
// close and a termination signal.
#include "WindowController.h"

#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/Review/SelectedFilesVC.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesManager.h"

#include <QCloseEvent>
#include <QMessageBox>

#include <algorithm>

void WindowController::requestQuit(bool windowIsKey) {
    const auto container = DuplicatesManager::sharedManager().duplicateContainer();
    const bool resultsOnScreen =
        m_selectDuplicatesController && container && container->getAllFilesSize() != 0;
    if (resultsOnScreen) {
        if (SelectedFilesVC* panel = m_selectDuplicatesController->selectedFilesVC()) {
            panel->hideAnimation(); // the review panel closes instead
            return;
        }
    }
    // A running scan is as much work to lose as results on screen.
    if (resultsOnScreen || m_pScanner) {
        // One question at a time, however often the window manager asks to close.
        const auto asked = findChildren<QMessageBox*>(QStringLiteral("quitConfirmation"));
        const bool open = std::any_of(asked.cbegin(), asked.cend(),
                                      [](const QMessageBox* box) { return box->isVisible(); });
        if (windowIsKey && !open)
            askAndTerminate();
        return;
    }
    terminate();
}

void WindowController::closeEvent(QCloseEvent* event) {
    // On the way out the application closes every window, this one included.
    if (m_bTerminating) {
        event->accept();
        return;
    }
    // Closing by hand would hide the window and leave the process running with no way back:
    // the close button's rule decides instead, and ends the application when it ends it.
    event->ignore();
    // The request came to this window from the user (a key, the task bar), so it comes to
    // the front and its question is asked even when another window had the focus.
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    requestQuit(true);
}

void WindowController::quitWithoutAsking() {
    terminate();
}
