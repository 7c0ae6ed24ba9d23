#pragma once

#include <QScrollBar>

// The thin dark scroller of the lists: a grey slot with darker 1-point edges and a 5-point
// knob with round ends, without arrows. Dragging the knob scrolls; a press in the slot
// pages towards the pointer.
class MyScroller : public QScrollBar {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MyScroller)

public:
    explicit MyScroller(Qt::Orientation orientation, QWidget* parent = nullptr);

    // True for this class only; a subclass answers false.
    virtual bool isCompatibleWithOverlayScrollers() const;
    static qreal scrollerWidth() { return 5.0; }
    // The room the scroller takes beside its list, whatever the control size.
    static qreal scrollerWidthForControlSize(int controlSize = 0);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // The knob's rectangle in this widget (full thickness of the scroller).
    QRectF knobRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    qreal along(const QPointF& point) const;
    qreal length() const;

    bool m_dragging = false;
    qreal m_grabOffset = 0;
};
