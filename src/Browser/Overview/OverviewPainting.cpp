#include "Browser/Overview/OverviewPainting.h"

#include "Results/DuplicatesManager.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QWidget>

namespace OverviewPainting {

QSizeF textSize(const QString& text, const QFont& font) {
    const QFontMetricsF metrics(font);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

void drawTextAt(QPainter& painter, const QString& text, const QFont& font, const QColor& color,
                const QPointF& lowerLeftYUp, qreal viewHeight) {
    const QSizeF size = textSize(text, font);
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(
        QRectF(QPointF(lowerLeftYUp.x(), viewHeight - lowerLeftYUp.y() - size.height()),
               QSizeF(size.width() + 1, size.height())),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter.restore();
}

QRectF windowRectYUp(const QWidget* widget, const QRectF& localQt) {
    const QWidget* window = widget->window();
    const QPointF topLeft = QPointF(widget->mapTo(window, QPoint(0, 0))) + localQt.topLeft();
    return {topLeft.x(), window->height() - topLeft.y() - localQt.height(), localQt.width(),
            localQt.height()};
}

bool writeOverlayFrames(int screen, int hint, const QList<QRectF>& frames) {
    OverlayScreensTable& table = DuplicatesManager::sharedManager().overlayScreensDictionary();
    auto it = table.find(screen);
    if (it == table.end() || hint < 0 || hint >= it->size())
        return false;
    QList<QRectF>& list = (*it)[hint].frames;
    if (list == frames)
        return false;
    list = frames;
    return true;
}

void setPointingHand(QWidget* widget, bool pointing) {
    const Qt::CursorShape shape = pointing ? Qt::PointingHandCursor : Qt::ArrowCursor;
    if (widget->cursor().shape() != shape)
        widget->setCursor(shape);
}

} // namespace OverviewPainting
