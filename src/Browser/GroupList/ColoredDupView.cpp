#include "Browser/GroupList/ColoredDupView.h"

#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

QFont ColoredDupView::font() {
    return Fonts::fontWithName(QStringLiteral("HelveticaNeue-Medium"), 14.0);
}

ColoredDupView::Part ColoredDupView::createWithStringAndColor(const QString& text,
                                                              const QColor& color) {
    static const QFontMetricsF metrics(font());
    return Part{text, color, metrics.horizontalAdvance(text)};
}

void ColoredDupView::setSelectedDupsAllDups(const QString& selected, const QString& all) {
    m_selected = {};
    if (!selected.isEmpty() && selected != QLatin1String("0"))
        m_selected =
            createWithStringAndColor(QStringLiteral(" %1").arg(selected),
                                     selected == all ? Palette::dupViewSelectedFilesRedColor()
                                                     : Palette::dupViewSelectedFilesColor());
    const bool spaced = hasSelectedPart() && !all.isEmpty() && all != QLatin1String("0");
    m_total = createWithStringAndColor(spaced ? QStringLiteral("%1 ").arg(all) : all,
                                       Palette::dupViewAllFilesColor());
    m_width =
        std::floor(hasSelectedPart() ? m_selected.width + m_total.width + 40 : m_total.width + 20);
}

qreal ColoredDupView::xInRowOfWidth(qreal rowWidth) const {
    return std::floor(rowWidth - m_width - kRightMargin);
}

void ColoredDupView::drawRect(QPainter& painter, const QRectF& bounds) const {
    painter.save();
    painter.translate(bounds.topLeft());
    const qreal w = bounds.width();
    const qreal h = bounds.height();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath box;
    box.addRoundedRect(QRectF(1, 0.5, w - 2, h - 1), 10, 10);
    painter.fillPath(box, Palette::dupViewBackgroundColor());
    painter.setPen(QPen(Palette::dupViewBorderColor(), 1));
    painter.drawPath(box);

    painter.setFont(font());
    const qreal lineHeight = QFontMetricsF(painter.font()).height();
    // The texts stand 1 point above the badge's bottom edge.
    const qreal textTop = h - 1 - lineHeight;
    const auto drawPart = [&](const Part& part, qreal x) {
        painter.setPen(part.color);
        painter.drawText(QRectF(x, textTop, part.width + 1, lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, part.text);
    };
    if (hasSelectedPart()) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(QRectF(std::floor(m_selected.width + 20), 0, 1, h),
                         Palette::dupViewBorderColor());
        painter.setRenderHint(QPainter::Antialiasing);
        drawPart(m_selected, 10);
        drawPart(m_total, m_selected.width + 30);
    } else {
        drawPart(m_total, (w - m_total.width) * 0.5);
    }
    painter.restore();
}
