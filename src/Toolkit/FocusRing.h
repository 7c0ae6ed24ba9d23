#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

// The ring drawn around the control that took the keyboard focus from Tab or Shift+Tab, or
// from a key that moves the focus itself (a list handing it on), in the palette's focus
// colour. The custom-drawn controls draw no focus of their own, so
// without it a keyboard user cannot see where the keys go. A click or any other way of
// moving the focus takes the ring away. One ring for the whole application; it lies over
// the focused control in the control's window and lets every mouse event through; inside a
// scroll area it moves as the area scrolls and shows only the part in sight.
class FocusRing final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FocusRing)

public:
    static constexpr int kOutset = 3;
    static constexpr int kWidth = 2;

    // Starts watching the focus of the application; once is enough.
    static void install();
    // The ring, or none when nothing has shown it yet.
    static FocusRing* ring();
    // The control the ring is around, none while it is hidden.
    QWidget* target() const { return isVisible() ? m_target.data() : nullptr; }

    // What the application's focus watcher reports.
    static void focusEntered(QWidget* widget, Qt::FocusReason reason);
    static void focusLeft(QWidget* widget, Qt::FocusReason reason);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    FocusRing();
    void follow(QWidget* target);
    void drop();
    void place();

    QPointer<QWidget> m_target;
    // The target's ancestors below its window: their moves (a scroll area scrolling)
    // carry the target with them.
    QList<QPointer<QWidget>> m_ancestors;
    // The target lies wholly outside its scroll area's sight: nothing is drawn.
    bool m_outOfSight = false;
};
