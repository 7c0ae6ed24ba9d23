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

QAbstractItemView* TableCellViewWithTracking::view() const {
    return qobject_cast<QAbstractItemView*>(m_view.data());
}

void TableCellViewWithTracking::updateTrackingAreas() {
    m_updateScheduled = false;
    QAbstractItemView* list = view();
    if (!list)
        return;
    QWidget* viewport = list->viewport();
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
    QAbstractItemView* list = view();
    const QModelIndex index = inside && list ? list->indexAt(viewportPosition) : QModelIndex();
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
    if (QAbstractItemView* list = view())
        list->viewport()->update(list->visualRect(index));
}

void TableCellViewWithTracking::mouseExited(const QModelIndex& index) {
    if (QAbstractItemView* list = view())
        list->viewport()->update(list->visualRect(index));
}

void TableCellViewWithTracking::mouseMoved(const QModelIndex&, const QPoint&) {}

bool TableCellViewWithTracking::eventFilter(QObject* watched, QEvent* event) {
    QAbstractItemView* list = view();
    if (!list || watched != list->viewport())
        return QStyledItemDelegate::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove: {
        const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
        trackPoint(position, list->viewport()->rect().contains(position));
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
