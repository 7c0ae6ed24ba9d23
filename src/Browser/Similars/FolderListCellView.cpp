#include "Browser/Similars/FolderListCellView.h"

#include "Browser/Common/ListKeys.h"
#include "Browser/Similars/PickerListModel.h"
#include "Browser/Similars/PickerTexts.h"
#include "Categories/FileSize.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/ImageWithBadgeView.h"
#include "Toolkit/Palette.h"

#include <QAbstractItemView>
#include <QHash>
#include <QHelpEvent>
#include <QIcon>
#include <QPainter>
#include <QToolTip>
#include <QtMath>

namespace {

constexpr qreal kIconSize = 32;
constexpr qreal kBadgeHeight = 40;
constexpr qreal kLeft = 8;
constexpr qreal kRight = 8;
constexpr qreal kSizeWidth = 70;
constexpr qreal kNameFont = 13;
constexpr qreal kSmallFont = 11;

} // namespace

FolderListCellView::FolderListCellView(QAbstractItemView* view, const PickerListModel* model)
    : CellWithCustomSelection(view), m_model(model), m_badgeView(new ImageWithBadgeView) {
    m_badgeView->resize(39, int(kBadgeHeight));
}

FolderListCellView::~FolderListCellView() {
    delete m_badgeView;
}

FolderListCellView::Layout FolderListCellView::layoutFor(const QRectF& row, qreal badgeWidth) {
    Layout layout;
    const qreal midY = row.center().y();
    layout.badge = QRectF(row.left() + kLeft, midY - kBadgeHeight / 2, badgeWidth, kBadgeHeight);
    layout.checkbox = QRectF(row.right() - kRight - kCheckboxSize, midY - kCheckboxSize / 2,
                             kCheckboxSize, kCheckboxSize);
    const qreal textLeft = layout.badge.right() + 4;
    layout.size =
        QRectF(layout.checkbox.left() - 8 - kSizeWidth, row.top(), kSizeWidth, row.height() - 1);
    // The name starts at the badge view's right edge, whose width follows its badges.
    const qreal textWidth = std::max<qreal>(0, layout.size.left() - 6 - textLeft);
    layout.name = QRectF(textLeft, row.top() + 6, textWidth, 19);
    layout.count = QRectF(textLeft, row.top() + 25, textWidth, 16);
    return layout;
}

QColor FolderListCellView::countColor(bool selected) {
    const QColor c = Palette::sizeLabelColor();
    return selected
               ? c
               : Palette::properColorWithRedGreenBlueAlpha(c.redF(), c.greenF(), c.blueF(), 0.5f);
}

QPixmap FolderListCellView::folderIcon(qreal ratio) {
    static QHash<qreal, QPixmap> cache;
    if (const auto found = cache.constFind(ratio); found != cache.cend())
        return *found;
    QIcon icon = QIcon::fromTheme(QStringLiteral("folder"));
    if (icon.isNull())
        icon = ImageStore::icon(
            DarkImageName::prependDarkPrefixIfNeeded(QStringLiteral("preview_folder")));
    QPixmap pixmap = icon.pixmap(QSize(int(kIconSize), int(kIconSize)), ratio);
    pixmap.setDevicePixelRatio(ratio);
    cache.insert(ratio, pixmap);
    return pixmap;
}

qreal FolderListCellView::prepareBadges(const PickerRow& row, qreal ratio) const {
    m_badgeView->setImageWithSelectedBadgeNumberAndSimilarSelectedBadgeNumber(
        folderIcon(ratio), int(row.selectedCount), int(row.similarSelectedCount));
    return m_badgeView->width();
}

QRectF FolderListCellView::checkboxRect(int row) const {
    const QAbstractItemView* list = view();
    if (!list || !m_model || !m_model->row(row))
        return {};
    const QRect visual = list->visualRect(m_model->index(row));
    return layoutFor(visual, 39).checkbox;
}

CellWithCustomSelection::CellFlags FolderListCellView::cellFlags(const QStyleOptionViewItem&,
                                                                 const QModelIndex& index) const {
    CellFlags flags;
    const PickerRow* row = m_model ? m_model->row(index.row()) : nullptr;
    const PickerRow* next = m_model ? m_model->row(index.row() + 1) : nullptr;
    flags.selected = row && row->selected;
    flags.aboveSelected = next && next->selected;
    flags.inActive = !ListKeys::isFirstResponder(view());
    flags.even = index.row() % 2 == 0;
    return flags;
}

void FolderListCellView::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const PickerRow* row = m_model ? m_model->row(index.row()) : nullptr;
    if (!row)
        return;
    const CellFlags flags = cellFlags(option, index);
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    painter->save();
    drawBackground(*painter, option.rect, flags);
    const Layout layout = layoutFor(option.rect, prepareBadges(*row, ratio));
    // The badge view is drawn into a picture of its own first: it is never shown, and
    // rendering a widget straight into a row's painter would inherit the row's clipping.
    QPixmap badges(
        QSize(qCeil(layout.badge.width() * ratio), qCeil(layout.badge.height() * ratio)));
    badges.setDevicePixelRatio(ratio);
    badges.fill(Qt::transparent);
    m_badgeView->render(&badges, QPoint(), QRegion(), QWidget::DrawChildren);
    painter->drawPixmap(layout.badge.topLeft(), badges);

    painter->setRenderHint(QPainter::TextAntialiasing);
    painter->setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), kNameFont));
    painter->setPen(textColor(flags.selected));
    const QString name = row->facts ? row->facts->displayName : QString();
    painter->drawText(
        layout.name, Qt::AlignLeft | Qt::AlignVCenter,
        painter->fontMetrics().elidedText(name, Qt::ElideMiddle, int(layout.name.width())));
    painter->setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), kSmallFont));
    painter->setPen(countColor(flags.selected));
    const QString count =
        PickerTexts::countLabel.arg(row->count).arg(row->facts ? row->facts->childCount : 0);
    painter->drawText(
        layout.count, Qt::AlignLeft | Qt::AlignVCenter,
        painter->fontMetrics().elidedText(count, Qt::ElideRight, int(layout.count.width())));
    painter->setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 12));
    painter->setPen(sizeTextColor(flags.selected));
    painter->drawText(layout.size, Qt::AlignRight | Qt::AlignVCenter,
                      FileSize::formatMemoryStringDot1(row->duplicateSize));
    painter->restore();
}

QSize FolderListCellView::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return {200, kRowHeight};
}

bool FolderListCellView::helpEvent(QHelpEvent* event, QAbstractItemView* list,
                                   const QStyleOptionViewItem& option, const QModelIndex& index) {
    const PickerRow* row = m_model ? m_model->row(index.row()) : nullptr;
    if (!event || event->type() != QEvent::ToolTip || !row || !m_tips)
        return CellWithCustomSelection::helpEvent(event, list, option, index);
    const Tips tips = m_tips(*row);
    const Layout layout = layoutFor(option.rect, prepareBadges(*row, 1.0));
    const QPointF at = event->pos();
    QString text;
    if (layout.size.contains(at))
        text = tips.size;
    else if (layout.count.contains(at))
        text = tips.count;
    else if (layout.badge.contains(at))
        text = tips.badge;
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPos(), text, list);
    return true;
}
