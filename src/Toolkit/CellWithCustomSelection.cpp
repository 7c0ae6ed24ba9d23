#include "Toolkit/CellWithCustomSelection.h"

#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QLinearGradient>
#include <QPainter>

namespace {

constexpr qreal kBandHeight = 8.0;
constexpr float kHalf = 0.5f;

QColor atHalf(const QColor& colour) {
    return Palette::properColorWithRedGreenBlueAlpha(colour.redF(), colour.greenF(), colour.blueF(),
                                                     kHalf);
}

QColor bandColour(float alpha) {
    return Palette::properColorWithRedGreenBlueAlpha(171 / 255.0f, 238 / 255.0f, 1.0f, alpha);
}

} // namespace

CellWithCustomSelection::CellWithCustomSelection(QAbstractItemView* view)
    : TableCellViewWithTracking(view) {}

QColor CellWithCustomSelection::textColor(bool selected) {
    return selected ? Palette::commonTextColor() : atHalf(Palette::commonTextColor());
}

QColor CellWithCustomSelection::sizeTextColor(bool selected) {
    return selected ? Palette::sizeLabelColor() : atHalf(Palette::sizeLabelColor());
}

void CellWithCustomSelection::drawBackground(QPainter& painter, const QRectF& bounds,
                                             const CellFlags& flags) {
    const qreal w = bounds.width();
    if (flags.selected && !flags.inActive) {
        painter.fillRect(bounds, Palette::selectedRowColor());
        // Both bands are strongest at the row's outer edge and fade towards its middle.
        const QRectF top(bounds.left(), bounds.top(), w, kBandHeight);
        QLinearGradient topGradient(top.topLeft(), top.bottomLeft());
        topGradient.setColorAt(0, bandColour(0.3f));
        topGradient.setColorAt(1, bandColour(0.0f));
        painter.fillRect(top, topGradient);
        const QRectF bottom(bounds.left(), bounds.bottom() - kBandHeight, w, kBandHeight);
        QLinearGradient bottomGradient(bottom.topLeft(), bottom.bottomLeft());
        bottomGradient.setColorAt(0, bandColour(0.0f));
        bottomGradient.setColorAt(1, bandColour(0.3f));
        painter.fillRect(bottom, bottomGradient);
    } else if (flags.selected) {
        painter.fillRect(bounds, Palette::selectedRowColorInactive());
    } else {
        painter.fillRect(bounds, flags.even ? Palette::evenRowColor() : Palette::commonRowColor());
    }
    const bool strongSeparator = !flags.inActive && (flags.aboveSelected || flags.selected);
    painter.fillRect(QRectF(bounds.left(), bounds.bottom() - 1, w, 1),
                     strongSeparator ? Palette::separatorSelectedColor()
                                     : Palette::separatorColor());
}

CellWithCustomSelection::CellFlags
CellWithCustomSelection::cellFlags(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    CellFlags flags;
    flags.selected = option.state.testFlag(QStyle::State_Selected);
    flags.even = index.row() % 2 == 0;
    if (const QAbstractItemView* list = view()) {
        flags.inActive = !list->hasFocus();
        if (const QItemSelectionModel* selection = list->selectionModel())
            flags.aboveSelected = selection->isRowSelected(index.row() + 1, index.parent());
    }
    return flags;
}

void CellWithCustomSelection::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    const CellFlags flags = cellFlags(option, index);
    painter->save();
    drawBackground(*painter, option.rect, flags);
    painter->setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 13));
    painter->setPen(textColor(flags.selected));
    const QRectF textRect = QRectF(option.rect).adjusted(6, 0, -6, -1);
    const QString text = painter->fontMetrics().elidedText(index.data(Qt::DisplayRole).toString(),
                                                           Qt::ElideMiddle, int(textRect.width()));
    painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, text);
    painter->restore();
}
