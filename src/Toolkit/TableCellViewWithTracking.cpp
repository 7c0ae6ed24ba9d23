#include "Toolkit/TableCellViewWithTracking.h"

#include <QAbstractItemView>
#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

TableCellViewWithTracking::TableCellViewWithTracking(QAbstractItemView* view)
    : QStyledItemDelegate(view), m_view(view) {
    view->setItemDelegate(this);
    view->setMouseTracking(true);
    view->viewport()->installEventFilter(this);
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &TableCellViewWithTracking::updateTrackingAreas);
    connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &TableCellViewWithTracking::updateTrackingAreas);
}

void TableCellViewWithTracking::updateTrackingAreas() {
    m_updateScheduled = false;
    if (!m_view)
        return;
    QWidget* viewport = m_view->viewport();
    const QPoint position = viewport->mapFromGlobal(QCursor::pos());
    trackPoint(position, viewport->isVisible() && viewport->rect().contains(position));
}

void TableCellViewWithTracking::scheduleUpdate() {
    if (m_updateScheduled)
        return;
    m_updateScheduled = true;
    QTimer::singleShot(0, this, &TableCellViewWithTracking::updateTrackingAreas);
}

void TableCellViewWithTracking::trackPoint(const QPoint& viewportPosition, bool inside) {
    const QModelIndex index = inside ? m_view->indexAt(viewportPosition) : QModelIndex();
    if (index == m_hovered) {
        if (index.isValid())
            mouseMoved(index, viewportPosition);
        return;
    }
    const QModelIndex previous = m_hovered;
    m_hovered = index;
    if (previous.isValid())
        mouseExited(previous);
    if (index.isValid())
        mouseEntered(index);
    emit hoveredIndexChanged(index);
}

void TableCellViewWithTracking::mouseEntered(const QModelIndex& index) {
    if (m_view)
        m_view->viewport()->update(m_view->visualRect(index));
}

void TableCellViewWithTracking::mouseExited(const QModelIndex& index) {
    if (m_view)
        m_view->viewport()->update(m_view->visualRect(index));
}

void TableCellViewWithTracking::mouseMoved(const QModelIndex&, const QPoint&) {}

bool TableCellViewWithTracking::eventFilter(QObject* watched, QEvent* event) {
    if (!m_view || watched != m_view->viewport())
        return QStyledItemDelegate::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove: {
        const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
        trackPoint(position, m_view->viewport()->rect().contains(position));
        break;
    }
    case QEvent::Leave:
    case QEvent::Hide:
        trackPoint({}, false);
        break;
    case QEvent::Enter:
    case QEvent::Paint:
        scheduleUpdate();
        break;
    default:
        break;
    }
    return false;
}
