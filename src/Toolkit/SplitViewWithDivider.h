#pragma once

#include <QSplitter>
#include <QSplitterHandle>

class SplitViewWithDivider;

// What the owner of a split view decides about its dividers while the user drags one:
// the nearest and farthest place the divider at |dividerIndex| may go (coordinates along
// the split, from the left or top edge). The default leaves |proposed| as it is.
class SplitViewWithDividerDelegate {
public:
    virtual ~SplitViewWithDividerDelegate() = default;
    virtual qreal splitViewConstrainMinCoordinateOfSubviewAt(SplitViewWithDivider*, qreal proposed,
                                                             int) {
        return proposed;
    }
    virtual qreal splitViewConstrainMaxCoordinateOfSubviewAt(SplitViewWithDivider*, qreal proposed,
                                                             int) {
        return proposed;
    }
};

// The split view of the results screen's panes: 7-point dividers that draw only a centred
// grip picture ("scale1" for dividers taller than 50 points, "scale2" for the others, dark
// names). Divider i lies between pane i and pane i + 1.
class SplitViewWithDivider : public QSplitter {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SplitViewWithDivider)

public:
    explicit SplitViewWithDivider(Qt::Orientation orientation, QWidget* parent = nullptr);

    static qreal dividerThickness() { return 7.0; }
    // |rect| with each of x, y, width and height floored to a whole number.
    static QRectF getFloorRect(const QRectF& rect);
    // The grip picture for a divider |rect| and where it goes.
    static QString gripImageForDivider(const QRectF& rect);
    static QRectF gripRect(const QRectF& divider, const QSizeF& image);

    // Not owned; may be null.
    void setDelegate(SplitViewWithDividerDelegate* delegate) { m_delegate = delegate; }
    SplitViewWithDividerDelegate* delegate() const { return m_delegate; }

    // Where the divider at |dividerIndex| (0-based) lies, along the split.
    int positionOfDividerAtIndex(int dividerIndex) const;
    // Moves it as the program asks (the delegate is not consulted; panes' minimum sizes are).
    void setPositionOfDividerAtIndex(int position, int dividerIndex);
    // Where a drag that proposes |proposed| puts the divider: clamped by the delegate.
    int constrainedPosition(int proposed, int dividerIndex);

protected:
    QSplitterHandle* createHandle() override;

private:
    SplitViewWithDividerDelegate* m_delegate = nullptr;
};

// A divider of SplitViewWithDivider: draws the grip and lets the delegate limit drags.
class SplitViewDividerHandle : public QSplitterHandle {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SplitViewDividerHandle)

public:
    SplitViewDividerHandle(Qt::Orientation orientation, SplitViewWithDivider* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int dividerIndex() const;

    int m_grabOffset = 0;
    bool m_dragging = false;
};
