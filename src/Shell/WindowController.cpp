#include "WindowController.h"

#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/Review/RemovalSession.h"
#include "Categories/AppNotification.h"
#include "Categories/MacOSVersion.h"
#include "Categories/Settings.h"
#include "Platform/KeyEvent.h"
#include "Platform/NotificationCenter.h"
#include "Platform/ui/KeyEventFromQt.h"
#include "Platform/ui/OpenFailure.h"
#include "Promo/ZembrookDialogWC.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesManager.h"
#include "Scanner/FoldersScanner.h"
#include "Screens/InterimScreenVC.h"
#include "Screens/ScanScreenVC.h"
#include "Screens/WelcomeScreenVC.h"
#include "Shell/WindowBackgroundView.h"
#include "Toolkit/Alert.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/WindowPlacement.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPropertyAnimation>
#include <QScreen>
#include <QSizeGrip>
#include <QWindow>

namespace {

constexpr int kButtonSize = 12;
constexpr int kButtonTop = 10;
constexpr int kFirstButtonLeft = 10;
constexpr int kButtonSpacing = 20;
constexpr int kMenuBarLeft = 74;
constexpr int kMenuBarTop = 4;
constexpr int kMenuBarHeight = 22;

bool isModifierKey(int key) {
    return key == Qt::Key_Alt || key == Qt::Key_Shift || key == Qt::Key_Control ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr;
}

} // namespace

WindowController::WindowController(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setWindowTitle(QStringLiteral("Sorvanta"));
    // Key presses that no control takes come here and go out as key-pressed notifications.
    setFocusPolicy(Qt::StrongFocus);
    m_contentView = new WindowBackgroundView(this);
    m_contentView->setObjectName(QStringLiteral("contentView"));
    m_contentView->installEventFilter(this);
    m_terminate = [] { QCoreApplication::quit(); };
    // What the desktop could not open is told in an alert on this window.
    OpenFailure::setHandler([](const QString& message, const QString& reason) {
        auto* alert = new Alert(message, reason, QMessageBox::Ok, WindowPlacement::mainWindow());
        alert->setObjectName(QStringLiteral("openFailedAlert"));
        alert->open();
    });

    WindowPlacement::setMainWindow(this);
    ZembrookDialogWC::setHelpStillToCome([window = QPointer<WindowController>(this)] {
        return window && window->firstHelpStillToCome();
    });
    setMinimumSize(fittedSize(kWelcomeSize));
    setMaximumSize(fittedSize(kWelcomeSize));
    resize(fittedSize(kWelcomeSize));

    buildWindowButtons();
    buildMenuBar();
    m_sizeGrip = new QSizeGrip(m_contentView);
    m_sizeGrip->hide();
    qApp->installEventFilter(this);

    auto& center = NotificationCenter::defaultCenter();
    center.addObserver(this, QStringLiteral("BackToWelcomeScreen"),
                       [this](const Notification&) { backToWelcomeScreen(); });
    center.addObserver(this, QStringLiteral("BackToInterimScreen"),
                       [this](const Notification&) { backToInterimScreen(); });
    center.addObserver(this, QStringLiteral("RestartScan"),
                       [this](const Notification&) { restartScan(nullptr); });
    center.addObserver(this, QStringLiteral("NoDuplicatesMore"),
                       [this](const Notification&) { noDuplicatesMore(); });
    center.addObserver(this, AppNotification::ShowCleanUpToolsNotificationName(),
                       [this](const Notification&) { macCleanUpToolsPressed(); });
    // The rate request shows nothing in this application.
    center.addObserver(this, AppNotification::RateApplicationNotificationName(),
                       [](const Notification&) {});
}

WindowController::~WindowController() {
    NotificationCenter::defaultCenter().removeObserver(this);
    if (m_pScanner)
        m_pScanner->stop();
}

bool WindowController::firstHelpStillToCome() const {
    if (!Settings::showOverlayOverviewScreen())
        return false;
    if (m_selectDuplicatesController)
        return true;
    return m_scanScreenController && !m_scanScreenController->noDuplicatesController();
}

WelcomeScreenVC* WindowController::welcomeScreenController() const {
    return m_welcomeScreenController;
}

InterimScreenVC* WindowController::interimScreenController() const {
    return m_interimScreenController;
}

ScanScreenVC* WindowController::scanScreenController() const {
    return m_scanScreenController;
}

SelectDuplicatesVC* WindowController::selectDuplicatesController() const {
    return m_selectDuplicatesController;
}

QWidget* WindowController::contentView() const {
    return m_contentView;
}

void WindowController::windowDidLoad() {
    m_pScanner.reset();
    m_showWelcomeScreenAfterReturningFromFullscreen = false;
    m_showInterimScreenAfterReturningFromFullscreen = false;
    m_restartScanningAfterReturningFromFullscreen = false;
    m_windowSizeAfterScan = QSize(1200, 713);
    customizeWindowControllButtons();
    moveWindowToScreenCenter();
    updateMenuItemsByTarget();
    showWelcomeScreenFrom(ScreenTransitionFade, [](bool) {});
    WindowPlacement::refitOnScreenChange(this, [this] { screenDidChange(); });
    raise();
    activateWindow();
}

void WindowController::screenDidChange() {
    // While the window animates or fills the screen, its sizes are set when that ends.
    if (isFullScreen())
        return;
    for (const QPropertyAnimation* animation : findChildren<QPropertyAnimation*>())
        if (animation->state() == QAbstractAnimation::Running)
            return;
    const QSize minimum = fittedSize(m_wantedMinimum);
    setMinimumSize(minimum);
    setMaximumSize(m_wantedResizable ? kMaximumResultsSize : minimum);
    const QRect available = WindowPlacement::availableGeometry(this);
    resize(WindowPlacement::fitSize(size(), available).expandedTo(minimum));
    move(WindowPlacement::fitFrame(frameGeometry(), available).topLeft());
}

QRect WindowController::screenFrame() const {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

QSize WindowController::fittedSize(QSize size) const {
    return WindowPlacement::fitSize(size, WindowPlacement::availableGeometry(this));
}

void WindowController::moveWindowToScreenCenter() {
    const QRect visible = WindowPlacement::availableGeometry(this);
    move(WindowPlacement::centredFrame(size(), visible, visible).topLeft());
}

void WindowController::updateMenuItemsByTarget() {
    mainMenuAboutSorvanta->setText(QStringLiteral("About Sorvanta"));
    mainMenuRateSorvanta->setText(QStringLiteral("Rate Sorvanta"));
    mainMenuHideSorvanta->setText(QStringLiteral("Hide Sorvanta"));
    mainMenuQuitSorvanta->setText(QStringLiteral("Quit Sorvanta"));
    mainMenuSorvantaHelp->setText(QStringLiteral("Sorvanta Help"));
}

// ---- Window buttons.

void WindowController::buildWindowButtons() {
    auto make = [this](int index, const char* name) {
        auto* button = new ButtonWithTrackingArea(m_contentView);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(kFirstButtonLeft + index * kButtonSpacing, kButtonTop, kButtonSize,
                            kButtonSize);
        button->setFocusPolicy(Qt::NoFocus);
        button->installEventFilter(this);
        return button;
    };
    m_quitButton = make(0, "quitButton");
    m_minimizeButton = make(1, "minimizeButton");
    m_fullScreenButton = make(2, "fullScreenButton");
    connect(m_quitButton, &QAbstractButton::clicked, this, [this] { tryToQuitApplication(); });
    connect(m_minimizeButton, &QAbstractButton::clicked, this, [this] { minimizeButtonPressed(); });
    connect(m_fullScreenButton, &QAbstractButton::clicked, this, [this] { zoomButtonHandler(); });
}

void WindowController::customizeWindowControllButtons() {
    const bool is1010 = MacOSVersion::GetInstance().is_10_10_orHigher();
    const bool fullScreen = inFullScreenMode();
    const bool option = (m_modifierFlags & KeyEvent::OptionKeyMask) != 0;

    m_quitButton->setTrackingEnabled(true);
    m_quitButton->setImage(QStringLiteral("btn_red"));
    m_quitButton->setMainImage(QStringLiteral("btn_red"));
    m_quitButton->setHoveredImage(QStringLiteral("btn_red_select"));

    m_minimizeButton->setTrackingEnabled(true);
    m_minimizeButton->setImage(QStringLiteral("btn_yellow"));
    m_minimizeButton->setMainImage(QStringLiteral("btn_yellow"));
    m_minimizeButton->setHoveredImage(QStringLiteral("btn_yellow_select"));

    m_fullScreenButton->setTrackingEnabled(true);
    m_fullScreenButton->setImage(QStringLiteral("btn_green"));
    m_fullScreenButton->setMainImage(QStringLiteral("btn_green"));
    QString greenHover = QStringLiteral("btn_green_select");
    if (is1010 && !(option && !fullScreen))
        greenHover = fullScreen ? QStringLiteral("btn_green_select-2")
                                : QStringLiteral("btn_green_select-1");
    m_fullScreenButton->setHoveredImage(greenHover);
    if (m_fullScreenButton->underMouse())
        m_fullScreenButton->setImage(greenHover);

    if (fullScreen) {
        m_minimizeButton->setTrackingEnabled(false);
        m_minimizeButton->setEnabled(false);
        if (!is1010) {
            m_fullScreenButton->setTrackingEnabled(false);
            m_fullScreenButton->setEnabled(false);
        }
    } else {
        m_minimizeButton->setTrackingEnabled(true);
        m_minimizeButton->setEnabled(true);
        m_fullScreenButton->setTrackingEnabled(true);
        m_fullScreenButton->setEnabled(true);
    }
    if (!m_selectDuplicatesController)
        disableFullScreenButton();
}

void WindowController::disableFullScreenButton() {
    m_fullScreenButton->setEnabled(false);
    m_fullScreenButton->setTrackingEnabled(false);
}

void WindowController::enableFullScreenButton() {
    m_fullScreenButton->setEnabled(true);
    m_fullScreenButton->setTrackingEnabled(true);
}

void WindowController::makeControllButtonsForemost() {
    for (ButtonWithTrackingArea* button : {m_quitButton, m_minimizeButton, m_fullScreenButton})
        button->raise();
    m_menuBar->raise();
    enableFullScreenButton();
}

void WindowController::setButtonsHovered(bool hovered) {
    for (ButtonWithTrackingArea* button : {m_quitButton, m_minimizeButton, m_fullScreenButton})
        button->setImage(hovered ? button->hoveredImage() : button->mainImage());
}

void WindowController::tryToQuitApplication() {
    m_quitButton->setImage(QStringLiteral("btn_red"));
    requestQuit(isActiveWindow());
}

void WindowController::askAndTerminate() {
    auto* box = new Alert(QStringLiteral("Are you sure you want to quit the application?"),
                          QStringLiteral("Current scan results will be lost."),
                          QMessageBox::Ok | QMessageBox::Cancel, this);
    box->setObjectName(QStringLiteral("quitConfirmation"));
    connect(box, &QMessageBox::finished, this, [this](int result) {
        if (result == QMessageBox::Ok)
            terminate();
    });
    box->open();
}

void WindowController::terminate() {
    m_bTerminating = true;
    // A scan still running would go on writing into a tree the application tears down.
    if (m_pScanner) {
        m_pScanner->stop();
        clearScanner();
    }
    // A removal finishes the copy in hand, so no file is left half moved, and takes no more.
    if (const auto session = RemovalSession::current())
        session->stop();
    if (m_terminate)
        m_terminate();
}

void WindowController::minimizeButtonPressed() {
    showMinimized();
}

void WindowController::zoomButtonHandler() {
    const bool option = (m_modifierFlags & KeyEvent::OptionKeyMask) != 0;
    if (MacOSVersion::GetInstance().is_10_10_orHigher() && !(option && !inFullScreenMode())) {
        toggleFullScreen();
        return;
    }
    // Zoom: fill the screen's free area, or go back to the size the screen wants.
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    if (isMaximized())
        showNormal();
    else
        showMaximized();
}

void WindowController::fullScreenAction() {
    if (m_selectDuplicatesController)
        toggleFullScreen();
}

bool WindowController::inFullScreenMode() const {
    return windowState().testFlag(Qt::WindowFullScreen);
}

void WindowController::toggleFullScreen() {
    if (inFullScreenMode())
        showNormal();
    else
        showFullScreen();
}

void WindowController::windowDidEnterFullScreen() {
    customizeWindowControllButtons();
    m_fullScreenButton->setImage(QStringLiteral("btn_green"));
}

void WindowController::windowDidExitFullScreen() {
    if (m_showWelcomeScreenAfterReturningFromFullscreen) {
        m_showWelcomeScreenAfterReturningFromFullscreen = false;
        backToWelcomeScreen();
    }
    if (m_showInterimScreenAfterReturningFromFullscreen) {
        m_showInterimScreenAfterReturningFromFullscreen = false;
        backToInterimScreen();
    }
    if (m_restartScanningAfterReturningFromFullscreen) {
        m_restartScanningAfterReturningFromFullscreen = false;
        // The user already confirmed this rescan, all-out or not; asking again (and
        // forgetting the all-out choice) would make the full-screen detour change the scan.
        performRestartScan();
    }
    customizeWindowControllButtons();
    m_fullScreenButton->setImage(QStringLiteral("btn_green"));
}

void WindowController::flagsChanged(quint32 modifierFlags) {
    m_modifierFlags = modifierFlags;
    customizeWindowControllButtons();
    if (m_welcomeScreenController)
        m_welcomeScreenController->flagsChanged(modifierFlags);
}

// ---- Events.

void WindowController::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && escapePressed())
        return;
    AppNotification::CreateKeyPressedNotificationWithEvent(keyEventFromQt(*event));
}

bool WindowController::escapePressed() {
    // Escape takes back the last thing laid over the results: the review panel first, then
    // full screen.
    if (m_selectDuplicatesController) {
        if (SelectedFilesVC* panel = m_selectDuplicatesController->selectedFilesVC()) {
            panel->hideAnimation();
            return true;
        }
    }
    if (inFullScreenMode()) {
        toggleFullScreen();
        return true;
    }
    return false;
}

void WindowController::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    const bool was = change->oldState().testFlag(Qt::WindowFullScreen);
    const bool now = inFullScreenMode();
    if (!was && now)
        windowDidEnterFullScreen();
    else if (was && !now)
        windowDidExitFullScreen();
}

void WindowController::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChrome();
}

void WindowController::layoutChrome() {
    m_contentView->setGeometry(rect());
    // The results screen fills the resizable window; a sliding or growing screen is placed by
    // its animation, which sizes it when it ends.
    if (m_selectDuplicatesController && !m_selectDuplicatesController->animating())
        m_selectDuplicatesController->resize(m_contentView->size());
    m_menuBar->setGeometry(kMenuBarLeft, kMenuBarTop, width() - kMenuBarLeft - 8, kMenuBarHeight);
    const QSize grip = m_sizeGrip->sizeHint();
    m_sizeGrip->setGeometry(width() - grip.width(), height() - grip.height(), grip.width(),
                            grip.height());
}

bool WindowController::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Show && isSheetOfThisWindow(watched)) {
        // Placed before the dialog's own show handler, which then leaves the place alone;
        // once more when its size has settled (a message box sizes itself as it shows).
        auto* sheet = static_cast<QWidget*>(watched);
        positionSheet(sheet);
        QMetaObject::invokeMethod(
            this,
            [this, sheet = QPointer<QWidget>(sheet)] {
                if (sheet && sheet->isVisible())
                    positionSheet(sheet);
            },
            Qt::QueuedConnection);
        return false;
    }
    if (watched == m_quitButton || watched == m_minimizeButton || watched == m_fullScreenButton) {
        if (type == QEvent::Enter)
            setButtonsHovered(true);
        else if (type == QEvent::Leave)
            setButtonsHovered(false);
        return false;
    }
    if (watched == m_contentView && type == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton && windowHandle() && !inFullScreenMode()) {
            windowHandle()->startSystemMove();
            return true;
        }
        return false;
    }
    if (type == QEvent::ShortcutOverride && isActiveWindow()) {
        // Before the shortcut is looked up: the item it would trigger follows the menu's
        // rules now, not as they stood when its menu was last shown.
        const auto* widget = qobject_cast<const QWidget*>(watched);
        const auto* window = qobject_cast<const QWindow*>(watched);
        if ((widget && widget->window() == this) || (window && window == windowHandle()))
            validateItemsForShortcut(static_cast<const QKeyEvent*>(event));
        return false;
    }
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && isActiveWindow()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (isModifierKey(key->key()) && !key->isAutoRepeat()) {
            const quint32 flags = keyEventFromQt(*key).modifierFlags;
            if (flags != m_modifierFlags)
                flagsChanged(flags);
        }
    }
    return QWidget::eventFilter(watched, event);
}
