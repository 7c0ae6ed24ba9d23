#include "Toolkit/DockAnimationVC.h"

#include "Toolkit/AnimationClock.h"
#include "Toolkit/CoverFlowGeometry.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/ImageStore.h"

#include <QVariantAnimation>

namespace {

QString dark(const char* name) {
    return DarkImageName::prependDarkPrefixIfNeeded(QString::fromLatin1(name));
}

// The pictures' frames in the 260 x 130 view, y-up.
constexpr QRectF kArrowShadowFrame{88, 4, 84, 14};
constexpr QSizeF kArrowSize{44, 54};
constexpr QRectF kBoardFrame{50, 0, 160, 30};

QLabel* picture(QWidget* parent, const QString& name, QSizeF size) {
    auto* label = new QLabel(parent);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setAcceptDrops(false);
    label->setScaledContents(true);
    label->setPixmap(ImageStore::pixmap(name, size, parent->devicePixelRatioF()));
    label->resize(size.toSize());
    return label;
}

} // namespace

DockAnimationVC::DockAnimationVC(QWidget* parent) : QWidget(parent) {
    setObjectName(QString::fromLatin1(kInterfaceName));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAcceptDrops(false);
    resize(260, 130);
    dockArrowShadow = picture(this, dark("drop_arrow_shadow"), kArrowShadowFrame.size());
    dockArrow = picture(this, dark("drop_arrow"), kArrowSize);
    dockBoard = picture(this, dark("drop_board"), kBoardFrame.size());
    // The board stands in front, so the arrow dips into it at the bottom of its drop.
    dockBoard->raise();
    placeStillPictures();
    placeArrow(m_arrowOrigin);
}

void DockAnimationVC::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeStillPictures();
    placeArrow(m_arrowOrigin);
}

void DockAnimationVC::placeStillPictures() {
    dockArrowShadow->setGeometry(CoverFlowGeometry::flipped(kArrowShadowFrame, height()).toRect());
    dockBoard->setGeometry(CoverFlowGeometry::flipped(kBoardFrame, height()).toRect());
}

void DockAnimationVC::placeArrow(QPointF origin) {
    m_arrowOrigin = origin;
    dockArrow->setGeometry(
        CoverFlowGeometry::flipped(QRectF(origin, kArrowSize), height()).toRect());
}

QPointF DockAnimationVC::arrowOrigin() const {
    return m_arrowOrigin;
}

void DockAnimationVC::startAnimation() {
    m_shouldAnimate = true;
    beginAnimationLoop();
}

void DockAnimationVC::stopAnimation() {
    m_shouldAnimate = false;
}

void DockAnimationVC::moveAnimatedToPos(QPointF pos, float duration,
                                        std::function<void()> completion) {
    if (m_move)
        m_move->stop();
    auto* move = new QVariantAnimation(this);
    move->setStartValue(m_arrowOrigin);
    move->setEndValue(pos);
    move->setDuration(static_cast<int>(duration * 1000.0f + 0.5f));
    // The platform's default pacing for implicit moves: ease in, ease out.
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.25, 0.1), QPointF(0.25, 1.0), QPointF(1.0, 1.0));
    move->setEasingCurve(curve);
    connect(move, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { placeArrow(value.toPointF()); });
    connect(move, &QVariantAnimation::finished, this,
            [this, move, completion = std::move(completion)] {
                placeArrow(move->endValue().toPointF());
                move->deleteLater();
                if (completion)
                    completion();
            });
    m_move = move;
    AnimationClock::instance().start(move);
}

void DockAnimationVC::beginAnimationLoop() {
    if (m_moving)
        return; // a cycle is under way; it goes on by itself while shouldAnimate holds
    m_moving = true;
    const double x = m_arrowOrigin.x();
    auto step = std::make_shared<std::function<void(std::size_t)>>();
    *step = [this, x, weakStep = std::weak_ptr(step)](std::size_t index) {
        if (index == CoverFlowGeometry::kArrowCycle.size()) {
            m_moving = false;
            // With the clock in Instant mode every cycle would end as it starts and the loop
            // would never yield; the arrow then rests at the top after one cycle.
            const bool instant = AnimationClock::instance().mode() == AnimationClock::Mode::Instant;
            if (m_shouldAnimate && !instant) {
                AnimationClock::instance().after(CoverFlowGeometry::kArrowPauseMs, this, [this] {
                    // A stop during the pause stays a stop.
                    if (m_shouldAnimate)
                        startAnimation();
                });
            }
            return;
        }
        const auto& move = CoverFlowGeometry::kArrowCycle[index];
        moveAnimatedToPos(QPointF(x, move.y), move.durationMs / 1000.0f, [weakStep, index] {
            if (auto next = weakStep.lock())
                (*next)(index + 1);
        });
    };
    m_cycle = step;
    (*step)(0);
}
