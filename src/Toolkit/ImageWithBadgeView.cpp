#include "Toolkit/ImageWithBadgeView.h"

#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr qreal kLabelSize = 11;
constexpr qreal kBadgeHeight = 16;
constexpr qreal kBadgeRadius = 8;
constexpr qreal kPlainWidth = 39;

// A soft drop shadow under a badge: the shape moved by |offset| (y-up), widened by |blur|
// in a few fading rings, in black at |alpha|.
void drawShadow(QPainter& painter, const QPainterPath& shape, qreal offsetY, qreal blur,
                float alpha) {
    painter.save();
    painter.translate(0, -offsetY);
    constexpr int kRings = 3;
    for (int i = kRings; i >= 1; --i) {
        const qreal grow = blur * i / kRings;
        QPainterPathStroker stroker;
        stroker.setWidth(2 * grow);
        const QPainterPath ring = stroker.createStroke(shape).united(shape);
        painter.fillPath(
            ring, Palette::properColorWithRedGreenBlueAlpha(0, 0, 0, alpha / float(kRings + 1)));
    }
    painter.restore();
}

} // namespace

QFont ImageWithBadgeView::labelFont(qreal size) {
    return Fonts::fontWithName(QStringLiteral("HelveticaNeue-Medium"), size);
}

qreal ImageWithBadgeView::badgeWidth(int count, qreal labelWidth) {
    if (count <= 0)
        return 0;
    if (count >= 10 && count <= 99)
        return 24;
    if (labelWidth < 16)
        return 18;
    return std::round(labelWidth + 10);
}

qreal ImageWithBadgeView::viewWidth(qreal similarWidth, qreal selectedWidth) {
    if (similarWidth + selectedWidth + 1 > 26)
        return similarWidth + 13 + selectedWidth + 1;
    return kPlainWidth;
}

qreal ImageWithBadgeView::selectedBadgeX(qreal width, qreal selectedWidth, bool similarShown) {
    return similarShown ? 14 : width - selectedWidth - 3;
}

void ImageWithBadgeView::setImageWithSelectedBadgeNumberAndSimilarSelectedBadgeNumber(
    const QPixmap& image, int selected, int similar) {
    m_image = image;
    m_selectedNumber = selected;
    m_similarSelectedNumber = similar;
    const QFontMetricsF metrics(labelFont(kLabelSize));

    m_similarBadgeLabel.clear();
    m_similarBadgeLabelWidth = 0;
    if (similar > 0) {
        m_similarBadgeLabel = QString::number(similar);
        m_similarBadgeLabelWidth =
            badgeWidth(similar, metrics.horizontalAdvance(m_similarBadgeLabel));
    }
    m_badgeLabel.clear();
    m_badgeLabelWidth = 0;
    if (selected > 0) {
        m_badgeLabel = QString::number(selected);
        m_badgeLabelWidth = badgeWidth(selected, metrics.horizontalAdvance(m_badgeLabel));
    }
    resize(int(viewWidth(m_similarBadgeLabelWidth, m_badgeLabelWidth)), height());
    update();
}

void ImageWithBadgeView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const qreal w = width();
    const qreal h = height();
    if (!m_image.isNull()) {
        // At the origin (bottom left) at its own size.
        const QSizeF size = m_image.deviceIndependentSize();
        painter.drawPixmap(QRectF(QPointF(0, h - size.height()), size), m_image,
                           QRectF(QPointF(0, 0), QSizeF(m_image.size())));
    }
    painter.setFont(labelFont(kLabelSize));
    // A badge's rectangle (y-up: y = H - 17, 16 high) lies 1 point under the top edge.
    const qreal top = h - (h - 17) - kBadgeHeight;
    if (m_similarSelectedNumber > 0 && !m_similarBadgeLabel.isEmpty()) {
        const QRectF badge(w - m_similarBadgeLabelWidth - 3, top, m_similarBadgeLabelWidth,
                           kBadgeHeight);
        QPainterPath shape;
        shape.addRoundedRect(badge, kBadgeRadius, kBadgeRadius);
        drawShadow(painter, shape, -0.25, 1.5, 0.3f);
        painter.fillPath(shape, Palette::properColorWithRedGreenBlueAlpha(1, 1, 1, 1));
        QLinearGradient gradient(badge.topLeft(), badge.bottomLeft());
        gradient.setColorAt(0, Palette::badgeSimilarTopColor());
        gradient.setColorAt(1, Palette::badgeSimilarBottomColor());
        painter.fillPath(shape, gradient);
        painter.setPen(Palette::sizeLabelColor());
        painter.drawText(badge.translated(0, -1), Qt::AlignCenter, m_similarBadgeLabel);
    }
    if (m_selectedNumber > 0 && !m_badgeLabel.isEmpty()) {
        const QRectF badge(selectedBadgeX(w, m_badgeLabelWidth, !m_similarBadgeLabel.isEmpty()),
                           top, m_badgeLabelWidth, kBadgeHeight);
        QPainterPath shape;
        shape.addRoundedRect(badge, kBadgeRadius, kBadgeRadius);
        drawShadow(painter, shape, -1, 1, 0.3f);
        painter.fillPath(shape, Palette::badgeColor());
        painter.setPen(Palette::commonTextColor());
        painter.drawText(badge.translated(0, -1), Qt::AlignCenter, m_badgeLabel);
    }
}
