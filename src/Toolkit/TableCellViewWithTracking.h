#pragma once

#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>

class QAbstractItemView;

// The base of every cell of the results lists that reacts to the pointer. Cells are painted
// by this delegate, so the cell under the pointer is tracked here: the delegate watches
// its view and calls mouseEntered() / mouseExited() for the cell (index) the pointer comes
// into or leaves, and mouseMoved() while it moves inside one.
//
// updateTrackingAreas() takes the pointer's current position (outside the event stream)
// and brings the hovered cell up to date; it runs after every scroll and, on the next
// event-loop turn, after every repaint of the view (rows inserted, removed, moved, resized
// or reset all repaint), so a cell that comes to lie under a still pointer is entered at
// once. Main thread only; the delegate is owned by its view (Qt parent).
class TableCellViewWithTracking : public QStyledItemDelegate {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TableCellViewWithTracking)

public:
    // Attaches to |view|: becomes its item delegate and its child.
    explicit TableCellViewWithTracking(QAbstractItemView* view);

    // Null once the view is gone or while it is being destroyed: its viewport's last
    // events reach the filter from ~QWidget, when the object is no longer an item view.
    QAbstractItemView* view() const;
    // The cell under the pointer; invalid when none.
    QModelIndex hoveredIndex() const { return m_hovered; }
    void updateTrackingAreas();

signals:
    void hoveredIndexChanged(const QModelIndex& index);

protected:
    // Called with the cell entered or left; the default redraws the cell. The index is
    // valid; subclasses redraw or show their hover controls.
    virtual void mouseEntered(const QModelIndex& index);
    virtual void mouseExited(const QModelIndex& index);
    virtual void mouseMoved(const QModelIndex& index, const QPoint& viewportPosition);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void trackPoint(const QPoint& viewportPosition, bool inside);
    void scheduleUpdate();

    // Held as a plain QObject and reached through view(): a typed QPointer would cast a
    // half-destroyed widget to QAbstractItemView.
    QPointer<QObject> m_view;
    QPersistentModelIndex m_hovered;
    bool m_updateScheduled = false;
};
