#pragma once

#include <QLabel>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QVariantAnimation;

// The bouncing arrow of the empty cover flow: an arrow over a board, with its shadow, that
// drops, bounces and rises again in a loop. stopAnimation() lets the cycle under way finish
// its moves and starts no further cycle, also when it comes during the pause between
// cycles. The pictures take no drops, so folders dragged over the arrow reach the views
// beneath it. Every move and pause runs through the AnimationClock. Main thread only.
class DockAnimationVC final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DockAnimationVC)

public:
    // The layout this controller's view is built with.
    static constexpr const char* kInterfaceName = "DockAnimationVC_DARK";
    // The arrow's place at rest, in the view's y-up coordinates (view 260 x 130).
    static constexpr double kArrowRestX = 108;
    static constexpr double kArrowRestY = 70;

    explicit DockAnimationVC(QWidget* parent = nullptr);

    void startAnimation();
    void stopAnimation();
    bool shouldAnimate() const { return m_shouldAnimate; }
    // True from the start of a cycle's first move to the end of its last.
    bool isMoving() const { return m_moving; }

    // Moves the arrow's origin (y-up, in this view) to |pos| over |duration| seconds, then
    // calls |completion|.
    void moveAnimatedToPos(QPointF pos, float duration, std::function<void()> completion);

    // The arrow's origin in this view's y-up coordinates.
    QPointF arrowOrigin() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void beginAnimationLoop();
    void placeArrow(QPointF origin);
    void placeStillPictures();

    QLabel* dockArrowShadow = nullptr;
    QLabel* dockArrow = nullptr;
    QLabel* dockBoard = nullptr;
    bool m_shouldAnimate = false;
    bool m_moving = false;
    QPointF m_arrowOrigin{kArrowRestX, kArrowRestY};
    QPointer<QVariantAnimation> m_move;
    // The running cycle's chain of moves; each move's completion calls the next.
    std::shared_ptr<std::function<void(std::size_t)>> m_cycle;
};
