// The screen flow of the main window: showing, hiding and swapping the flow screens, and
// resizing the window for each.
#include "WindowController.h"

#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Categories/AppNotification.h"
#include "Results/DuplicatesManager.h"
#include "Screens/InterimScreenVC.h"
#include "Screens/ScanScreenVC.h"
#include "Screens/WelcomeScreenVC.h"
#include "Shell/ScreenAnimation.h"
#include "Shell/WindowBackgroundView.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/WindowPlacement.h"

#include <QPropertyAnimation>
#include <QSizeGrip>

namespace {

constexpr int kWindowAnimationNotAnimatedMs = 10;
constexpr int kResultsAboveCentre = 30;
constexpr qreal kStartUpAlpha = 0.99;
// Set on the results screen while its hide runs.
constexpr const char* kLeavingProperty = "leavingScreen";

// Where a hidden screen ends, by direction: off to the left, in place, or off to the right.
QPoint hiddenOrigin(const QWidget* view, int direction) {
    switch (direction) {
    case ScreenTransitionLeft:
        return {-view->width(), view->y()};
    case ScreenTransitionRight:
        return {view->width(), view->y()};
    default:
        return view->pos();
    }
}

// Removes |screen| from the window and releases it once its hide animation has ended.
void release(QWidget* screen) {
    screen->hide();
    screen->deleteLater();
}

} // namespace

// ---- Window size.

void WindowController::animateWindowTo(const QRect& frame, int durationMs,
                                       std::function<void()> done) {
    auto* animation = new QPropertyAnimation(this, "geometry", this);
    animation->setStartValue(geometry());
    animation->setEndValue(frame);
    animation->setDuration(durationMs);
    connect(animation, &QAbstractAnimation::finished, this, [animation, done = std::move(done)] {
        animation->deleteLater();
        if (done)
            done();
    });
    AnimationClock::instance().start(animation);
}

void WindowController::decreaseWindowAnimated(bool animated, Completion completion) {
    const QRect screen = screenFrame();
    const QSize size = fittedSize(kWelcomeSize);
    // Centred on the whole screen, then kept inside the part no panel covers.
    const QRect frame = WindowPlacement::fitFrame(
        QRect(screen.x() + (screen.width() - size.width()) / 2,
              screen.y() + (screen.height() - size.height()) / 2, size.width(), size.height()),
        WindowPlacement::availableGeometry(this));
    // The smaller minimum comes first so the window can shrink while it animates; the
    // maximum follows when it has arrived.
    setMinimumSize(size);
    m_wantedMinimum = kWelcomeSize;
    m_wantedResizable = false;
    m_sizeGrip->hide();
    animateWindowTo(frame, animated ? kWindowAnimationMs : kWindowAnimationNotAnimatedMs,
                    [this, size, completion = std::move(completion)] {
                        setMaximumSize(size);
                        if (completion)
                            completion(true);
                    });
}

void WindowController::increaseWindowToSize(QSize wanted, bool resizable, Completion completion) {
    // A screen too small for the wanted size gets all it can show; the screens' layouts
    // work down to that.
    const QSize size = fittedSize(wanted);
    m_wantedMinimum = wanted;
    m_wantedResizable = resizable;
    // The larger maximum comes first so the window can grow while it animates; the minimum
    // follows when it has arrived.
    setMaximumSize(resizable ? kMaximumResultsSize : size);
    const QRect screen = screenFrame();
    // On screen the window stands 30 points above the centre (y grows downward here), and
    // always inside the part no panel covers.
    const QRect frame = WindowPlacement::fitFrame(
        QRect(screen.x() + (screen.width() - size.width()) / 2,
              screen.y() + (screen.height() - size.height()) / 2 - kResultsAboveCentre,
              size.width(), size.height()),
        WindowPlacement::availableGeometry(this));
    animateWindowTo(frame, kWindowAnimationMs,
                    [this, size, resizable, completion = std::move(completion)] {
                        setMinimumSize(size);
                        m_sizeGrip->setVisible(resizable);
                        m_sizeGrip->raise();
                        if (completion)
                            completion(true);
                    });
}

// ---- Welcome screen.

void WindowController::showWelcomeScreenFrom(int direction, Completion completion) {
    DuplicatesManager::sharedManager().clearScanBasicInformation();
    if (!m_welcomeScreenController) {
        auto* welcome = new WelcomeScreenVC(m_contentView);
        welcome->setDelegate(this);
        welcome->setPathsArray(m_selectedFoldersArray);
        m_selectedFoldersArray.clear();
        welcome->setGeometry(m_contentView->rect());
        welcome->awakeFromNib();
        m_welcomeScreenController = welcome;
        if (direction == ScreenTransitionLeft) {
            welcome->move(-welcome->width(), 0);
            ScreenAnimation::setAlphaValue(welcome, 0);
        } else {
            ScreenAnimation::setAlphaValue(welcome, kStartUpAlpha);
        }
        welcome->show();
        makeControllButtonsForemost();
        customizeWindowControllButtons();
    }
    ScreenAnimation::animate(m_welcomeScreenController, 1.0, QPoint(0, 0), kScreenAnimationMs,
                             [completion] {
                                 if (completion)
                                     completion(true);
                             });
    AppNotification::CreateBackgroundTypeChangedNotificationWithType(BackgroundTypeWelcome);
}

void WindowController::hideWelcomeScreenTo(int direction) {
    QPointer<WelcomeScreenVC> welcome = m_welcomeScreenController;
    if (!welcome)
        return;
    ScreenAnimation::animate(welcome, 0.0, hiddenOrigin(welcome, direction), kScreenAnimationMs,
                             [this, welcome] {
                                 if (m_welcomeScreenController == welcome)
                                     m_welcomeScreenController = nullptr;
                                 release(welcome);
                             });
}

// ---- Interim screen.

void WindowController::showInterimScreenFrom(int, Completion completion) {
    if (!m_interimScreenController) {
        auto* interim = new InterimScreenVC(m_contentView);
        interim->setDelegate(this);
        interim->setGeometry(m_contentView->rect());
        interim->loadFolderFromArray(m_arrLastSelectedFolders);
        m_interimScreenController = interim;
        makeControllButtonsForemost();
        customizeWindowControllButtons();
    }
    InterimScreenVC* interim = m_interimScreenController;
    interim->move(-interim->width(), 0);
    ScreenAnimation::setAlphaValue(interim, 0);
    interim->show();
    interim->setAnimationExecution(true);
    QPointer<InterimScreenVC> guard = interim;
    ScreenAnimation::animate(interim, 1.0, QPoint(0, 0), kScreenAnimationMs, [guard, completion] {
        if (guard)
            guard->setAnimationExecution(false);
        if (completion)
            completion(true);
    });
    AppNotification::CreateBackgroundTypeChangedNotificationWithType(BackgroundTypeWelcome);
}

void WindowController::hideInterimScreenTo(int direction) {
    QPointer<InterimScreenVC> interim = m_interimScreenController;
    if (!interim)
        return;
    const QPoint end = direction == ScreenTransitionLeft ? QPoint(-interim->width(), interim->y())
                                                         : QPoint(interim->width(), interim->y());
    ScreenAnimation::animate(interim, 0.0, end, kScreenAnimationMs, [this, interim] {
        if (m_interimScreenController == interim)
            m_interimScreenController = nullptr;
        release(interim);
    });
}

// ---- Scan screen.

void WindowController::showScanScreenFrom(int, Completion completion) {
    // The welcome screen leaves first, so the growing window never shows it stranded at
    // its left edge; the scan screen comes in when the window has its size.
    hideWelcomeScreenTo(ScreenTransitionLeft);
    increaseWindowToSize(kScanSize, false, [this, completion](bool) {
        if (!m_scanScreenController) {
            auto* scan = new ScanScreenVC(m_contentView);
            scan->setDelegate(this);
            scan->resize(m_contentView->size());
            ScreenAnimation::setAlphaValue(scan, 0);
            scan->move(scan->width(), 0);
            scan->awakeFromNib();
            m_scanScreenController = scan;
        }
        ScanScreenVC* scan = m_scanScreenController;
        scan->show();
        makeControllButtonsForemost();
        customizeWindowControllButtons();
        ScreenAnimation::animate(scan, 1.0, QPoint(0, 0), kScreenAnimationMs, [completion] {
            if (completion)
                completion(true);
        });
        AppNotification::CreateBackgroundTypeChangedNotificationWithType(BackgroundTypeScan);
    });
}

void WindowController::hideScanScreenTo(int direction) {
    QPointer<ScanScreenVC> scan = m_scanScreenController;
    if (!scan)
        return;
    ScreenAnimation::animate(scan, 0.0, hiddenOrigin(scan, direction), kScreenAnimationMs,
                             [this, scan] {
                                 if (m_scanScreenController == scan)
                                     m_scanScreenController = nullptr;
                                 release(scan);
                             });
}

// ---- Results screen.

void WindowController::showSelectDuplicatesVCFrom(int) {
    if (!m_selectDuplicatesController) {
        auto* results = new SelectDuplicatesVC(m_contentView);
        results->setScannedFolders(m_arrLastSelectedFolders);
        ScreenAnimation::setAlphaValue(results, 0);
        results->setGeometry(m_contentView->width(), 0, m_contentView->width(),
                             m_contentView->height());
        m_selectDuplicatesController = results;
        results->pressOverviewButton();
        results->setAnimating(true);
    }
    QPointer<SelectDuplicatesVC> results = m_selectDuplicatesController;
    results->show();
    // The screen slides in at the current window size; the window grows when it is in.
    results->setAnimating(true);
    ScreenAnimation::animate(
        results, 1.0, QPoint(0, results->y()), kScreenAnimationMs, [this, results] {
            increaseWindowToSize(m_windowSizeAfterScan, true, [this, results](bool) {
                if (!results)
                    return;
                results->resize(m_contentView->size());
                results->setAnimating(false);
                results->showScanResultsViewAnimationComleted();
            });
        });
    makeControllButtonsForemost();
}

void WindowController::hideSelectDuplicatesVCTo(int direction) {
    QPointer<SelectDuplicatesVC> results = m_selectDuplicatesController;
    // Once on its way out, the screen keeps the hide it began.
    if (!results || results->property(kLeavingProperty).toBool())
        return;
    results->setProperty(kLeavingProperty, true);
    results->resetAllDelegates();
    results->setAnimating(true);
    ScreenAnimation::animate(results, 0.0, hiddenOrigin(results, direction), kScreenAnimationMs,
                             [this, results] {
                                 if (!results)
                                     return;
                                 results->setAnimating(false);
                                 if (m_selectDuplicatesController == results)
                                     m_selectDuplicatesController = nullptr;
                                 release(results);
                             });
}

// ---- Screen changes.

void WindowController::backToWelcomeScreenFromScanScreen() {
    // A hand-over to the results still pending from a finished scan must not follow the
    // user back.
    cancelPendingRequests();
    clearScanner();
    disableFullScreenButton();
    decreaseWindowAnimated(true, [this](bool) {
        hideScanScreenTo(ScreenTransitionRight);
        showWelcomeScreenFrom(ScreenTransitionLeft);
    });
}

void WindowController::showResultsFromScanScreen() {
    m_showResultsRequest = 0;
    hideScanScreenTo(ScreenTransitionLeft);
    showSelectDuplicatesVCFrom(ScreenTransitionRight);
}

void WindowController::backToWelcomeScreenFromInterimScreen() {
    m_selectedFoldersArray.clear();
    hideInterimScreenTo(ScreenTransitionRight);
    showWelcomeScreenFrom(ScreenTransitionLeft);
}

void WindowController::showResultsFromInterimScreen() {
    hideInterimScreenTo(ScreenTransitionLeft);
    showSelectDuplicatesVCFrom(ScreenTransitionRight);
}

void WindowController::backToWelcomeScreen() {
    // A hand-over to the results still pending from a finished scan must not follow the
    // user back.
    cancelPendingRequests();
    if (inFullScreenMode()) {
        m_showWelcomeScreenAfterReturningFromFullscreen = true;
        toggleFullScreen();
        return;
    }
    // The results leave before the window shrinks, so they are never squeezed into the
    // small window; the welcome screen comes in when it has its size.
    hideSelectDuplicatesVCTo(ScreenTransitionRight);
    decreaseWindowAnimated(true, [this](bool) {
        hideScanScreenTo(ScreenTransitionRight);
        showWelcomeScreenFrom(ScreenTransitionLeft);
        disableFullScreenButton();
    });
}

void WindowController::backToInterimScreen() {
    // A hand-over to the results still pending from a finished scan must not follow the
    // user back.
    cancelPendingRequests();
    if (inFullScreenMode()) {
        m_showInterimScreenAfterReturningFromFullscreen = true;
        toggleFullScreen();
        return;
    }
    hideSelectDuplicatesVCTo(ScreenTransitionRight);
    decreaseWindowAnimated(true, [this](bool) {
        hideScanScreenTo(ScreenTransitionRight);
        showInterimScreenFrom(ScreenTransitionLeft);
        disableFullScreenButton();
    });
}

void WindowController::noDuplicatesMore() {
    m_selectedFoldersArray.clear();
}
