#include "Browser/Similars/HeapFilesCellView.h"

#include "Browser/Common/RowPress.h"
#include "Browser/Similars/HeapFilesSelectorVC.h"
#include "Browser/Similars/HeapFilesTexts.h"
#include "Categories/FileSize.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesManager.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/Palette.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QLinearGradient>
#include <QMenu>
#include <QMimeDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <cmath>

namespace {

using Side = HeapFilesSelectorVC::Side;

QColor glow(float alpha) {
    return Palette::properColorWithRedGreenBlueAlpha(171 / 255.0f, 238 / 255.0f, 1.0f, alpha);
}

// The selected block's soft bands: strongest at the outer edges.
void drawGlow(QPainter& painter, const QRectF& bounds, bool top, bool bottom) {
    const qreal h = HeapFilesCellView::kGlowHeight;
    if (bottom) {
        const QRectF strip(bounds.left(), bounds.bottom() - h, bounds.width(), h);
        QLinearGradient gradient(strip.topLeft(), strip.bottomLeft());
        gradient.setColorAt(0, glow(0.0f));
        gradient.setColorAt(1, glow(0.3f));
        painter.fillRect(strip, gradient);
    }
    if (top) {
        const QRectF strip(bounds.left(), bounds.top(), bounds.width(), h);
        QLinearGradient gradient(strip.topLeft(), strip.bottomLeft());
        gradient.setColorAt(0, glow(0.3f));
        gradient.setColorAt(1, glow(0.0f));
        painter.fillRect(strip, gradient);
    }
}

QString dark(const QString& name) {
    return DarkImageName::prependDarkPrefixIfNeeded(name);
}

} // namespace

HeapFilesCellView::HeapFilesCellView(HeapFilesSelectorVC* controller, QAbstractItemView* view)
    : TableCellViewWithTracking(view), m_controller(controller) {}

qreal HeapFilesCellView::halfWidth(qreal width) {
    return std::floor(float(width) / 2.0f);
}

QRectF HeapFilesCellView::checkboxRect(const QRectF& row, int side, qreal width) {
    const qreal x0 = row.left() + (side == Side::Left ? 0 : halfWidth(width));
    return QRectF(x0 + 10, row.top() + std::floor((row.height() - 16) / 2), 16, 16);
}

QRectF HeapFilesCellView::openButtonRect(const QRectF& row, int side, qreal width) {
    const qreal x0 = row.left() + (side == Side::Left ? 0 : halfWidth(width));
    return QRectF(x0 + halfWidth(width) - 28, row.top() + std::floor((row.height() - 16) / 2), 16,
                  16);
}

QIcon HeapFilesCellView::iconForItem(const FileSystemItem* item) {
    if (!item)
        return {};
    if (item->kind() != FileSystemItem::Kind::File)
        return ImageStore::icon(QStringLiteral("dark_folder_icon"));
    static QMimeDatabase database;
    const QMimeType type =
        database.mimeTypeForFile(item->displayName(), QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    return icon.isNull() ? ImageStore::icon(QStringLiteral("dark_preview_file")) : icon;
}

QSize HeapFilesCellView::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    return index.data(Qt::SizeHintRole).toSize().expandedTo(QSize(option.rect.width(), 0));
}

void HeapFilesCellView::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    if (!m_controller)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = option.rect;
    switch (m_controller->rows().kind(index.row())) {
    case HeapTableRows::Kind::Pair:
        paintPairRow(*painter, bounds, index.row());
        break;
    case HeapTableRows::Kind::Header:
        HeaderCellView::draw(*painter, bounds, HeapFilesTexts::uniqueFilesTitle);
        break;
    case HeapTableRows::Kind::Other:
        paintOtherRow(*painter, bounds, index.row());
        break;
    case HeapTableRows::Kind::None:
        break;
    }
    painter->restore();
}

void HeapFilesCellView::paintPairRow(QPainter& painter, const QRectF& bounds, int row) const {
    const HeapPairRow* pair = m_controller->rows().pairRow(row);
    const HeapRowInfo& info = pair->info;
    painter.fillRect(bounds, info.selected                ? Palette::selectedRowColor()
                             : (info.groupIndex % 2 != 0) ? Palette::heapRow()
                                                          : Palette::heapEvenRow());
    if (info.selected)
        drawGlow(painter, bounds, info.firstInGroup, info.lastInGroup);
    if (info.lastInGroup)
        painter.fillRect(QRectF(bounds.left(), bounds.bottom() - 1, bounds.width(), 1),
                         Palette::separatorColor());
    for (int side = 0; side < 2; ++side) {
        const auto& copy = side == Side::Left ? pair->left : pair->right;
        if (copy && copy->getFileSystemItem())
            paintSide(painter, bounds, side, copy->getFileSystemItem(), true,
                      m_controller->isCopyMovedOrDeleted(copy.get()), row);
    }
}

void HeapFilesCellView::paintOtherRow(QPainter& painter, const QRectF& bounds, int row) const {
    const HeapOtherRow* other = m_controller->rows().otherRow(row);
    painter.fillRect(bounds, Palette::otherRowColor());
    FileSystemItem* selected = m_controller->selectedOtherFileItem();
    const qreal half = halfWidth(bounds.width());
    if (selected && (selected == other->left || selected == other->right)) {
        const QRectF body(bounds.left(), bounds.top(), bounds.width(), bounds.height() - 1);
        painter.fillRect(body, Palette::selectedRowColor());
        drawGlow(painter, bounds, true, true);
        // Only the selected file's half stays highlighted.
        const qreal x = selected == other->left ? bounds.left() + half : bounds.left();
        painter.fillRect(QRectF(x, bounds.top(), half, bounds.height() - 1),
                         Palette::otherRowColor());
    }
    painter.fillRect(QRectF(bounds.left(), bounds.bottom() - 1, bounds.width(), 1),
                     Palette::separatorColor());
    painter.fillRect(QRectF(bounds.left() + half, bounds.top(), 1, bounds.height()),
                     Palette::separatorColor());
    if (other->left)
        paintSide(painter, bounds, Side::Left, other->left, false, false, row);
    if (other->right)
        paintSide(painter, bounds, Side::Right, other->right, false, false, row);
}

void HeapFilesCellView::paintSide(QPainter& painter, const QRectF& bounds, int side,
                                  const FileSystemItem* item, bool pairRow, bool disabled,
                                  int row) const {
    const qreal half = halfWidth(bounds.width());
    const qreal x0 = bounds.left() + (side == Side::Left ? 0 : half);
    painter.save();
    if (disabled)
        painter.setOpacity(0.5);
    qreal x = x0 + 10;
    if (pairRow) {
        const HeapCheckboxRules::Look look =
            m_controller->rowCheckboxLook(row, side == Side::Left ? Side::Left : Side::Right);
        ImageStore::draw(painter, dark(look.shownImage()),
                         checkboxRect(bounds, side, bounds.width()));
        x = x0 + 34;
    }
    const qreal iconSize = pairRow ? 32 : 20;
    const QRectF iconRect(x, bounds.top() + std::floor((bounds.height() - iconSize) / 2), iconSize,
                          iconSize);
    iconForItem(item).paint(&painter, iconRect.toRect());
    const qreal textX = iconRect.right() + 8;
    const qreal textRight = x0 + half - 36;
    const QString sizeText = FileSize::formatMemoryStringDot1(item->logicalSize());
    if (pairRow) {
        painter.setFont(Fonts::font(13, Fonts::Weight::Medium));
        painter.setPen(Palette::commonTextColor());
        const QRectF nameRect(textX, bounds.top() + 7, textRight - textX, 18);
        painter.drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter,
                         painter.fontMetrics().elidedText(item->displayName(), Qt::ElideMiddle,
                                                          int(nameRect.width())));
        painter.setFont(Fonts::font(11));
        painter.setPen(Palette::sizeLabelColor());
        painter.drawText(QRectF(textX, bounds.top() + 25, textRight - textX, 16),
                         Qt::AlignLeft | Qt::AlignVCenter, sizeText);
    } else {
        painter.setFont(Fonts::font(11));
        const qreal sizeWidth = painter.fontMetrics().horizontalAdvance(sizeText) + 4;
        painter.setPen(Palette::sizeLabelColor());
        painter.drawText(QRectF(textRight - sizeWidth, bounds.top(), sizeWidth, bounds.height()),
                         Qt::AlignRight | Qt::AlignVCenter, sizeText);
        painter.setFont(Fonts::font(12));
        const QRectF nameRect(textX, bounds.top(), textRight - sizeWidth - 8 - textX,
                              bounds.height());
        painter.drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter,
                         painter.fontMetrics().elidedText(item->displayName(), Qt::ElideMiddle,
                                                          int(nameRect.width())));
    }
    if (row == m_openRow && side == m_openSide)
        ImageStore::draw(painter, dark(QStringLiteral("Lens1")),
                         openButtonRect(bounds, side, bounds.width()));
    painter.restore();
}

void HeaderCellView::draw(QPainter& painter, const QRectF& bounds, const QString& title) {
    painter.fillRect(bounds, Palette::heapRowFolderBackground());
    painter.fillRect(QRectF(bounds.left(), bounds.bottom() - 1, bounds.width(), 1),
                     Palette::separatorColor());
    painter.setFont(Fonts::font(12, Fonts::Weight::Medium));
    painter.setPen(Palette::commonTextColor());
    painter.drawText(bounds.adjusted(12, 0, -12, -1), Qt::AlignLeft | Qt::AlignVCenter, title);
}

// ---- Pointer.

void HeapFilesCellView::setOpenButton(int row, int side) {
    if (row == m_openRow && side == m_openSide)
        return;
    const int oldRow = m_openRow;
    m_openRow = row;
    m_openSide = side;
    // The table loses its model first when the view goes, and hiding it then still reports
    // the pointer leaving.
    QAbstractItemView* list = view();
    if (!list || !list->model())
        return;
    if (oldRow >= 0)
        list->update(list->model()->index(oldRow, 0));
    if (row >= 0)
        list->update(list->model()->index(row, 0));
}

void HeapFilesCellView::mouseEntered(const QModelIndex& index) {
    TableCellViewWithTracking::mouseEntered(index);
}

void HeapFilesCellView::mouseExited(const QModelIndex& index) {
    setOpenButton(-1, -1);
    TableCellViewWithTracking::mouseExited(index);
}

void HeapFilesCellView::mouseMoved(const QModelIndex& index, const QPoint& viewportPosition) {
    QAbstractItemView* list = view();
    if (!m_controller || !list || DuplicatesManager::sharedManager().overlayOnScreen())
        return;
    const int row = index.row();
    const int side = viewportPosition.x() < halfWidth(list->viewport()->width()) ? 0 : 1;
    if (viewportPosition.y() < 0 || viewportPosition.y() > list->viewport()->height()) {
        setOpenButton(-1, -1);
        return;
    }
    const HeapTableRows& rows = m_controller->rows();
    bool shown = false;
    if (const HeapPairRow* pair = rows.pairRow(row)) {
        const auto& copy = side == 0 ? pair->left : pair->right;
        shown = copy && !m_controller->isCopyMovedOrDeleted(copy.get());
    } else if (const HeapOtherRow* other = rows.otherRow(row)) {
        shown = (side == 0 ? other->left : other->right) != nullptr;
    }
    setOpenButton(shown ? row : -1, shown ? side : -1);
}

bool HeapFilesCellView::helpEvent(QHelpEvent* event, QAbstractItemView* list,
                                  const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (!m_controller || !event || !list)
        return false;
    const int row = index.row();
    const qreal width = list->viewport()->width();
    const int side = event->pos().x() < halfWidth(width) ? 0 : 1;
    QString tip;
    const HeapTableRows& rows = m_controller->rows();
    if (const HeapPairRow* pair = rows.pairRow(row)) {
        const auto& copy = side == 0 ? pair->left : pair->right;
        if (copy && checkboxRect(option.rect, side, width).contains(event->pos()))
            tip = m_controller->rowCheckboxLook(row, side == 0 ? Side::Left : Side::Right).tooltip;
        else if (copy && copy->getFileSystemItem())
            tip = copy->getFileSystemItem()->displayName();
    } else if (const HeapOtherRow* other = rows.otherRow(row)) {
        if (const FileSystemItem* item = side == 0 ? other->left : other->right)
            tip = item->displayName();
    }
    if (tip.isEmpty()) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(event->globalPos(), tip, list);
    return true;
}

bool HeapFilesCellView::eventFilter(QObject* watched, QEvent* event) {
    const bool handledByBase = TableCellViewWithTracking::eventFilter(watched, event);
    if (const auto press = RowPress::of(view(), watched, event); press && handlePress(*press))
        return true;
    return handledByBase;
}

bool HeapFilesCellView::handlePress(const RowPress& press) {
    QAbstractItemView* list = view();
    if (!m_controller || DuplicatesManager::sharedManager().overlayOnScreen())
        return false;
    const QPoint position = press.position;
    const Qt::MouseButton button = press.button;
    const Qt::KeyboardModifiers modifiers = press.modifiers;
    const int row = press.row;
    const QRectF bounds = press.bounds;
    const qreal width = list->viewport()->width();
    const Side side = position.x() < halfWidth(width) ? Side::Left : Side::Right;
    m_controller->setPointerX(list->viewport()->mapTo(m_controller, position).x());
    const HeapTableRows& rows = m_controller->rows();
    const bool menu =
        button == Qt::RightButton || (button == Qt::LeftButton && (modifiers & Qt::MetaModifier));
    if (menu) {
        QMenu* contextMenu = rows.pairRow(row)    ? m_controller->menuForPairRow(row, side)
                             : rows.otherRow(row) ? m_controller->menuForOtherRow(row, side)
                                                  : nullptr;
        if (contextMenu)
            contextMenu->popup(QCursor::pos());
        return true;
    }
    if (button != Qt::LeftButton)
        return false;
    list->setFocus(Qt::MouseFocusReason);
    if (const HeapPairRow* pair = rows.pairRow(row)) {
        const bool hasCopy = (side == Side::Left ? pair->left : pair->right) != nullptr;
        const QRectF box = checkboxRect(bounds, side, width);
        if (hasCopy && box.contains(position)) {
            const QRect global(list->viewport()->mapToGlobal(box.topLeft().toPoint()),
                               box.size().toSize());
            m_controller->rowCheckboxPressed(row, side, global);
            return true;
        }
    }
    if (row == m_openRow && side == m_openSide &&
        openButtonRect(bounds, side, width).contains(position)) {
        m_controller->revealRowFile(row, side);
        return true;
    }
    m_controller->selectRow(row, side);
    if (rows.otherRow(row))
        m_controller->otherFileClicked(row, side);
    return true;
}
