// The life of a scan seen from the main window: start, completion, New Scan, Rescan and
// the recent folders.
#include "WindowController.h"

#include "Preferences/PreferencesWC.h"
#include "Shell/AboutWC.h"

#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Categories/Settings.h"
#include "Platform/NotificationCenter.h"
#include "Promo/PromoManager.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesManager.h"
#include "Scanner/FoldersScanner.h"
#include "Scanner/FoldersScannerListener.h"
#include "Screens/InterimScreenVC.h"
#include "Screens/ScanScreenVC.h"
#include "Screens/WelcomeScreenVC.h"
#include "Shell/FolderBookmarks.h"
#include "Toolkit/Alert.h"
#include "Toolkit/AnimationClock.h"

#include <QAction>
#include <QCheckBox>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

// One per scan: tells the window of its own scan's end only. A report that arrives after the
// user went back or started another scan finds another scanner in the window and is dropped.
class WindowController::ScanListener final : public FoldersScannerListener {
public:
    explicit ScanListener(WindowController* window) : m_window(window) {}
    void setScanner(const FoldersScanner* scanner) { m_scanner = scanner; }

    void onScanCompleteWithResult(const std::shared_ptr<DuplicatesContainer>& container) override {
        if (m_window)
            m_window->onScanCompleteWithResult(container, m_scanner);
    }

private:
    QPointer<WindowController> m_window;
    const FoldersScanner* m_scanner = nullptr;
};

namespace {

QList<QByteArray> encodedPaths(const QStringList& paths) {
    QList<QByteArray> encoded;
    encoded.reserve(paths.size());
    for (const QString& path : paths)
        encoded << QFile::encodeName(path);
    return encoded;
}

// A window-modal question with OK and Cancel and a suppression check box; |confirmed| runs
// on OK with the box's state.
void askWithSuppression(QWidget* window, const QString& objectName, const QString& message,
                        const QString& checkBoxTitle, std::function<void(bool)> confirmed) {
    auto* box = new Alert(message, QStringLiteral("Current scan results will be lost."),
                          QMessageBox::Ok | QMessageBox::Cancel, window);
    box->setObjectName(objectName);
    box->setCheckBox(new QCheckBox(checkBoxTitle, box));
    QObject::connect(box, &QMessageBox::finished, window,
                     [box, confirmed = std::move(confirmed)](int result) {
                         if (result == QMessageBox::Ok)
                             confirmed(box->checkBox()->isChecked());
                     });
    box->open();
}

} // namespace

bool WindowController::isAnyOtherWindowsOpened() const {
    return (m_aboutWC && m_aboutWC->isVisible()) ||
           (m_preferencesController && m_preferencesController->isVisible());
}

bool WindowController::isShowResultsPending() const {
    return m_showResultsRequest != 0 && AnimationClock::instance().isPending(m_showResultsRequest);
}

void WindowController::cancelPendingRequests() {
    AnimationClock::instance().cancel(m_showResultsRequest);
    m_showResultsRequest = 0;
}

void WindowController::startScanFolders(const QStringList& paths, bool allOut) {
    // A hand-over still pending from an earlier scan must not replace this scan's screen.
    cancelPendingRequests();
    m_selectedFoldersArray = paths;
    m_arrLastSelectedFolders = paths;
    showScanScreenFrom(ScreenTransitionRight, [this, paths, allOut](bool) {
        auto listener = std::make_shared<ScanListener>(this);
        auto scanner = FoldersScanner::create(encodedPaths(paths), listener);
        if (!scanner)
            return;
        if (m_pScanner)
            m_pScanner->stop();
        listener->setScanner(scanner.get());
        m_pScanListener = listener;
        m_pScanner = scanner;
        scanner->includeHiddenFiles(Settings::scanInHiddenFolders());
        scanner->enableSearchDuplicatesFoldersAndSimilars(true);
        scanner->forceFullHashCalculation(allOut);
        if (Settings::defineMinimalDuplicatesFileSizeAutomatically())
            scanner->startScanAndUseAutoDefineMinimalFileSize();
        else
            scanner->startScanAndUseMinimalFileSize(Settings::minDuplicatesFileSize());
        if (m_scanScreenController)
            m_scanScreenController->setScanner(scanner);
        DuplicatesManager::sharedManager().setScanStartDate(QDateTime::currentDateTime());
    });
}

void WindowController::clearScanner() {
    m_pScanner.reset();
    m_pScanListener.reset();
    if (m_scanScreenController)
        m_scanScreenController->setScanner(nullptr);
}

void WindowController::onScanCompleteWithResult(
    const std::shared_ptr<DuplicatesContainer>& container, const FoldersScanner* scanner) {
    if (!m_pScanner || m_pScanner.get() != scanner || !container)
        return;
    auto& manager = DuplicatesManager::sharedManager();
    if (container->getAllFilesSize() == 0) {
        if (m_scanScreenController) {
            m_scanScreenController->setDisabled(true);
            m_scanScreenController->showNoDuplicatesView();
        }
        makeControllButtonsForemost();
        disableFullScreenButton();
    }
    clearScanner();
    manager.setDuplicateContainer(container);
    if (m_scanScreenController)
        m_scanScreenController->updateInformationUsingDuplicatesContainer(*container);
    const auto current = manager.duplicateContainer();
    const quint64 size = current ? current->getAllFilesSize() : 0;
    if (size != 0) {
        if (m_scanScreenController)
            m_scanScreenController->setDisabled(true);
        cancelPendingRequests();
        m_showResultsRequest = AnimationClock::instance().after(
            kShowResultsDelayMs, this, [this] { showResultsFromScanScreen(); });
    }
    manager.setScannedFolders(m_arrLastSelectedFolders);
    manager.setScanFinishDate(QDateTime::currentDateTime());
    manager.setFoundSize(static_cast<int64_t>(size));
    // Announced only while another application is in front.
    PromoManager::GetInstance().showScanCompletedNotificationForSize(size);
}

void WindowController::newScan() {
    m_selectedFoldersArray.clear();
    if (m_selectDuplicatesController)
        m_selectDuplicatesController->hideAndDestroyOverlay();
    // Not while the window is still growing to the results size (the size its screen
    // allows).
    if (width() < fittedSize(m_windowSizeAfterScan).width())
        return;
    if (!Settings::showNewScanMessage()) {
        NotificationCenter::defaultCenter().post(QStringLiteral("BackToWelcomeScreen"));
        return;
    }
    askWithSuppression(this, QStringLiteral("newScanConfirmation"),
                       QStringLiteral("Are you sure you want to run a new scan?"),
                       QStringLiteral("Do not show this message again"), [](bool suppress) {
                           NotificationCenter::defaultCenter().post(
                               QStringLiteral("BackToWelcomeScreen"));
                           if (suppress)
                               Settings::setShowNewScanMessage(false);
                       });
}

void WindowController::restartScan(QAction* sender) {
    m_bAllOutRescan = sender && sender->text() == QLatin1String("All-out Rescan Current Folders");
    // Where the scan found nothing (the no-duplicates screen) there are no results to lose,
    // so there is nothing to ask.
    const auto container = DuplicatesManager::sharedManager().duplicateContainer();
    const bool resultsToLose = container && container->getAllFilesSize() != 0;
    if (!Settings::showRestartScanMessage() || !resultsToLose) {
        performRestartScan();
        return;
    }
    askWithSuppression(this, QStringLiteral("rescanConfirmation"),
                       QStringLiteral("Are you sure you want to run a rescan?"),
                       QStringLiteral("Don't show this message again"), [this](bool suppress) {
                           if (suppress)
                               Settings::setShowRestartScanMessage(false);
                           performRestartScan();
                       });
}

void WindowController::performRestartScan() {
    if (m_selectDuplicatesController) {
        m_selectDuplicatesController->hideAndDestroyOverlay();
        m_selectDuplicatesController->resetAllDelegates();
    }
    if (inFullScreenMode()) {
        m_restartScanningAfterReturningFromFullscreen = true;
        toggleFullScreen();
        return;
    }
    if ((m_selectDuplicatesController && m_selectDuplicatesController->animating()) ||
        m_welcomeScreenController)
        return;
    // The results leave before the window shrinks, never squeezed into the small window.
    if (!m_interimScreenController)
        hideSelectDuplicatesVCTo(ScreenTransitionRight);
    decreaseWindowAnimated(true, [this](bool) { runRestartAfterWindowShrank(); });
}

void WindowController::runRestartAfterWindowShrank() {
    if (m_interimScreenController)
        hideInterimScreenTo(ScreenTransitionRight);
    else
        hideSelectDuplicatesVCTo(ScreenTransitionRight);
    hideScanScreenTo(ScreenTransitionRight);
    showWelcomeScreenFrom(ScreenTransitionLeft, [this](bool) {
        const QStringList folders = m_arrLastSelectedFolders;
        const bool allOut = m_bAllOutRescan;
        if (m_welcomeScreenController) {
            for (const QString& path : folders)
                m_welcomeScreenController->loadFilesByPath(path);
            // This screen's folders are being rescanned: no second start from it.
            m_welcomeScreenController->closeScanGate();
            if (allOut)
                m_welcomeScreenController->startScanButtonPulse();
        }
        AnimationClock::instance().after(kRestartScanDelayMs, this, [this, folders, allOut] {
            startScanFolders(folders, allOut);
        });
    });
    disableFullScreenButton();
}

void WindowController::updateRecentFoldersList() {
    if (!m_recentFoldersMenu)
        return;
    m_recentFoldersMenu->clear();
    for (const QString& path : Settings::lastTenFolders()) {
        QAction* item = m_recentFoldersMenu->addAction(path);
        guardMenuItem(item, MenuCommand::PathMenuItem, [this, path] { pathMenuItemPressed(path); });
    }
}

void WindowController::pathMenuItemPressed(const QString& path) {
    const std::optional<QString> resolved = FolderBookmarks::resolveBookmarkForPath(path);
    if (resolved && QFileInfo::exists(path)) {
        NotificationCenter::defaultCenter().post(QStringLiteral("FileDropped"),
                                                 QVariantMap{{QStringLiteral("path"), *resolved}});
        return;
    }
    auto* box = new Alert(
        QStringLiteral("Can\u2019t add folder \"%1\" to scan").arg(QFileInfo(path).fileName()),
        QStringLiteral("The folder was deleted or moved."), QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("recentFolderMissing"));
    box->open();
    QStringList recent = Settings::lastTenFolders();
    recent.removeAll(path);
    Settings::setLastTenFolders(recent);
}
