#include "Browser/GroupList/GroupHeaderCellView.h"

#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"

#include <QPainter>

namespace {

QColor topLineColor() {
    return Palette::properColorWithRedGreenBlueAlpha(133 / 255.0f, 133 / 255.0f, 133 / 255.0f,
                                                     1.0f);
}

} // namespace

// The body's pattern is a rendered picture: made once, not per row.
GroupHeaderCellView::GroupHeaderCellView() : m_body(Palette::toolbarTexturedBackgroundColor()) {}

void GroupHeaderCellView::draw(QPainter& painter, const QRectF& bounds,
                               const QString& title) const {
    const qreal w = bounds.width();
    const qreal h = bounds.height();
    painter.save();
    painter.translate(bounds.topLeft());
    // The toolkit's top is the bottom of the header's own y-up drawing.
    painter.fillRect(QRectF(0, h - 1, w, 1), Palette::separatorColor());
    painter.setBrushOrigin(0, 0);
    painter.fillRect(QRectF(0, 0, w, h - 1), m_body);
    painter.fillRect(QRectF(0, 0, w, 1), topLineColor());
    painter.setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue-Medium"), 13));
    painter.setPen(Palette::toolbarButtonsTextColor());
    const QRectF text(12, 1, w - 24, h - 2);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                     painter.fontMetrics().elidedText(title, Qt::ElideRight, int(text.width())));
    painter.restore();
}
