#include "Preferences/PrefsTableCellView.h"

#include "Preferences/PrefsListModel.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/Palette.h"

#include <QPainter>

namespace {

constexpr int kImageSize = 20;
constexpr int kMargin = 10;

} // namespace

PrefsTableCellView::PrefsTableCellView(bool bottomBorder, int rowHeight, QObject* parent)
    : QStyledItemDelegate(parent), m_bottomBorder(bottomBorder), m_rowHeight(rowHeight) {}

QRect PrefsTableCellView::titleRect(const QRect& rowRect, bool hasImage) const {
    const int left = kMargin + (hasImage ? kImageSize + 8 : 0);
    return rowRect.adjusted(left, 0, -kMargin, m_bottomBorder ? -1 : 0);
}

void PrefsTableCellView::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    painter->save();
    const QRect row = option.rect;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    painter->fillRect(row, selected ? Palette::selectedRowColor() : Palette::commonPrefRowColor());
    if (m_bottomBorder)
        painter->fillRect(QRect(row.left(), row.bottom(), row.width(), 1),
                          Palette::separatorInPrefsColor());

    const QString image = index.data(PrefsListModel::ImageNameRole).toString();
    if (!image.isEmpty()) {
        const QRectF target(row.left() + kMargin, row.top() + (row.height() - kImageSize) / 2.0,
                            kImageSize, kImageSize);
        ImageStore::draw(*painter, image, target);
    }
    painter->setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 13));
    painter->setPen(Palette::commonTextColor());
    const QString title = index.data(Qt::DisplayRole).toString();
    const QRect text = titleRect(row, !image.isEmpty());
    painter->drawText(text, Qt::AlignVCenter | Qt::AlignLeft,
                      painter->fontMetrics().elidedText(title, Qt::ElideMiddle, text.width()));
    painter->restore();
}

QSize PrefsTableCellView::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    return {QStyledItemDelegate::sizeHint(option, index).width(), m_rowHeight};
}
