#include "WindowBackgroundView.h"

#include "Categories/AppNotification.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/Palette.h"

#include <QLinearGradient>
#include <QPainter>

namespace {
constexpr int kAnimationTickMs = 33; // 1/30 s
} // namespace

WindowBackgroundView::WindowBackgroundView(QWidget* parent) : QWidget(parent) {
    setDefaultsParametrs();
}

WindowBackgroundView::~WindowBackgroundView() {
    NotificationCenter::defaultCenter().removeObserver(this);
}

void WindowBackgroundView::setDefaultsParametrs() {
    m_type = 0;
    m_arc1Angle = 215;
    m_arc2Angle = 290;
    m_tempVal = 30;
    m_pulsatingRadius = 260;
    m_pulsatingDirection = 2;
    NotificationCenter::defaultCenter().addObserver(
        this, AppNotification::BackgroundTypeChangedNotificationName(),
        [this](const Notification& notification) {
            m_type = AppNotification::GetBackgroundTypeFromNotification(notification);
            update();
        });
}

void WindowBackgroundView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect bounds = rect();
    if (paintsFlowBackground(m_type)) {
        // The gradient lies under an opaque fill, so what shows is the common background;
        // the layers are kept so a translucent palette colour would show the gradient.
        painter.fillRect(bounds, Qt::white);
        QLinearGradient gradient(bounds.topLeft(), bounds.bottomLeft());
        gradient.setColorAt(0, Palette::welcomeScreenTopGradientColor());
        gradient.setColorAt(1, Palette::welcomeScreenBottomGradientColor());
        painter.fillRect(bounds, gradient);
        painter.fillRect(bounds, Palette::commonBackgroundColor());
    } else {
        painter.fillRect(bounds, Palette::categoryBackgroundColor());
    }
}

void WindowBackgroundView::startAnimateBottomArcs() {
    stopAnimateBottomArcs();
    m_bottomArcsTimer =
        AnimationClock::instance().every(kAnimationTickMs, this, [this] { bottomArcsTick(); });
}

void WindowBackgroundView::stopAnimateBottomArcs() {
    AnimationClock::instance().cancel(m_bottomArcsTimer);
    m_bottomArcsTimer = 0;
}

void WindowBackgroundView::startAnimateUpLeftCircles() {
    stopAnimateUpLeftCircles();
    m_upLeftCircleTimer =
        AnimationClock::instance().every(kAnimationTickMs, this, [this] { upLeftCirclesTick(); });
}

void WindowBackgroundView::stopAnimateUpLeftCircles() {
    AnimationClock::instance().cancel(m_upLeftCircleTimer);
    m_upLeftCircleTimer = 0;
}

void WindowBackgroundView::startAnimatePulsatingCircle() {
    stopAnimatePulsatingCircle();
    m_pulsatingCircleTimer =
        AnimationClock::instance().every(kAnimationTickMs, this, [this] { pulsatingCircleTick(); });
}

void WindowBackgroundView::stopAnimatePulsatingCircle() {
    AnimationClock::instance().cancel(m_pulsatingCircleTimer);
    m_pulsatingCircleTimer = 0;
}

void WindowBackgroundView::bottomArcsTick() {
    m_arc1Angle -= 1.3f;
    m_arc2Angle += 1.0f;
    update();
}

void WindowBackgroundView::upLeftCirclesTick() {
    m_tempVal += 1;
    if (m_tempVal > 30)
        m_tempVal = 0;
    update();
}

void WindowBackgroundView::pulsatingCircleTick() {
    m_pulsatingRadius += float(m_pulsatingDirection);
    if (m_pulsatingRadius > 260 || m_pulsatingRadius < 200)
        m_pulsatingDirection = -m_pulsatingDirection;
    update();
}
