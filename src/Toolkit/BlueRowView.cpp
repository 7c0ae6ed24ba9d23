#include "Toolkit/BlueRowView.h"

#include "Toolkit/ImageStore.h"

#include <QPaintDevice>
#include <QPainter>

void BlueRowView::drawSelectionInRect(QPainter& painter, const QRectF& rect) {
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    painter.fillRect(rect, QBrush(ImageStore::pixmap(QStringLiteral("bgSelect1"), {}, ratio)));
}
