#include "Hints/OverlayInfoController.h"

#include "Hints/OverlayInfoView.h"
#include "Results/DuplicatesManager.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/ButtonWithTrackingArea.h"

#include <QEvent>
#include <QVariantAnimation>

namespace {
// The close button sits in the white quarter-disc of the top-right corner.
constexpr int kCloseButtonSize = 24;
constexpr int kCloseButtonInset = 14;
constexpr int kFadeInMs = 2000;
} // namespace

OverlayInfoController::OverlayInfoController(QObject* parent) : QObject(parent) {
    auto* sheet = new OverlayInfoView;
    m_view = sheet;
    sheet->setObjectName(QString::fromLatin1(kInterfaceName));
    sheet->setController(this);
    sheet->hide();
    m_closeBtn = new ButtonWithTrackingArea(sheet);
    m_closeBtn->setObjectName(QStringLiteral("closeBtn"));
    m_closeBtn->setImagePosition(TitleButton::ImagePosition::ImageOnly);
    m_closeBtn->setTrackingEnabled(true);
    m_closeBtn->setImage(QStringLiteral("btn_closehint"));
    m_closeBtn->setMainImage(QStringLiteral("btn_closehint"));
    m_closeBtn->setHoveredImage(QStringLiteral("btn_closehint_hover"));
    m_closeBtn->setAlternateImage(QStringLiteral("btn_closehint_click"));
    m_closeBtn->resize(kCloseButtonSize, kCloseButtonSize);
    connect(m_closeBtn, &QAbstractButton::clicked, this, [this] { closeOverlayInfo(); });
    sheet->installEventFilter(this);
}

OverlayInfoView* OverlayInfoController::view() const {
    return qobject_cast<OverlayInfoView*>(m_view.data());
}

OverlayInfoController::~OverlayInfoController() {
    // The controller may go from inside the sheet's own key or click handler (a close block
    // drops it), so the sheet leaves only after that handler has returned.
    if (OverlayInfoView* sheet = view()) {
        sheet->setController(nullptr);
        sheet->hide();
        sheet->deleteLater();
    }
}

void OverlayInfoController::placeCloseButton() {
    if (OverlayInfoView* sheet = view())
        m_closeBtn->move(sheet->width() - kCloseButtonInset - kCloseButtonSize, kCloseButtonInset);
}

bool OverlayInfoController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view && event->type() == QEvent::Resize)
        placeCloseButton();
    // The sheet keeps covering the whole window when the window is resized.
    if (watched == m_window && event->type() == QEvent::Resize)
        if (OverlayInfoView* sheet = view())
            sheet->setGeometry(m_window->rect());
    return QObject::eventFilter(watched, event);
}

void OverlayInfoController::closeOverlayInfo() {
    if (m_closeblock) {
        // The block may drop this controller: run a copy, and touch no member after it.
        const std::function<void()> block = m_closeblock;
        block();
    } else if (OverlayInfoView* sheet = view()) {
        sheet->hide();
    }
    DuplicatesManager::sharedManager().setOverlayOnScreen(false);
}

void OverlayInfoController::setScreensArray(const QList<int>& screens) {
    if (OverlayInfoView* sheet = view())
        sheet->showWithScreensArray(screens);
}

void OverlayInfoController::showNextScreen(int step) {
    OverlayInfoView* sheet = view();
    if (sheet && !sheet->showNextScreen(step))
        closeOverlayInfo();
}

void OverlayInfoController::showOverlayOnView(QWidget* anyView) {
    OverlayInfoView* sheet = view();
    if (!sheet || !anyView)
        return;
    sheet->show();
    sheet->setAlpha(0.0);
    QWidget* window = anyView->window();
    if (m_window && m_window != window)
        m_window->removeEventFilter(this);
    m_window = window;
    window->installEventFilter(this);
    sheet->setParent(window);
    sheet->setGeometry(window->rect());
    sheet->show();
    sheet->raise();

    if (m_fade)
        m_fade->stop();
    auto* fade = new QVariantAnimation(this);
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    fade->setDuration(kFadeInMs);
    connect(fade, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        if (OverlayInfoView* faded = view())
            faded->setAlpha(value.toDouble());
    });
    connect(fade, &QVariantAnimation::finished, fade, &QObject::deleteLater);
    m_fade = fade;
    AnimationClock::instance().start(fade);

    DuplicatesManager::sharedManager().setOverlayOnScreen(true);
    sheet->setFocus(Qt::OtherFocusReason);
}

void OverlayInfoController::keyDown(const KeyEvent& event, bool autoRepeat) {
    if (autoRepeat)
        return;
    switch (event.keyCode) {
    case 123: // left arrow
        showNextScreen(-1);
        break;
    case 124: // right arrow
    case 36:  // Return
    case 49:  // Space
        showNextScreen(1);
        break;
    case 53: // Escape
        closeOverlayInfo();
        break;
    default:
        break; // swallowed: no other key reaches the screen beneath
    }
}
