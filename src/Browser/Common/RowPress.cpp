#include "Browser/Common/RowPress.h"

#include <QAbstractItemView>
#include <QMouseEvent>

std::optional<RowPress> RowPress::of(QAbstractItemView* list, QObject* watched, QEvent* event) {
    if (!list || watched != list->viewport() || event->type() != QEvent::MouseButtonPress)
        return std::nullopt;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint position = mouse->position().toPoint();
    const QModelIndex index = list->indexAt(position);
    if (!index.isValid())
        return std::nullopt;
    return RowPress{position, mouse->button(), mouse->modifiers(), index.row(),
                    QRectF(list->visualRect(index))};
}
