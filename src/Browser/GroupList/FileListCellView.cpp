#include "Browser/GroupList/FileListCellView.h"

#include "Browser/Common/ListKeys.h"
#include "Browser/GroupList/GroupListModel.h"
#include "Browser/GroupList/GroupListRows.h"
#include "Categories/FileSize.h"
#include "Platform/ui/PreviewRenderer.h"
#include "Results/DuplicatesGroup.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"
#include "Toolkit/PreviewView.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <cmath>

namespace {

constexpr qreal kIconSize = 32;
constexpr qreal kIconLeft = 10;
constexpr qreal kTextLeft = 52;
constexpr qreal kNameFontSize = 13;
constexpr qreal kSizeFontSize = 11;

} // namespace

FileListCellView::FileListCellView(QAbstractItemView* view, const GroupListRows& rows,
                                   std::function<int()> selectedRow)
    : CellWithCustomSelection(view), m_rows(rows), m_selectedRow(std::move(selectedRow)) {}

QString FileListCellView::sizeText(std::uint64_t size) {
    return FileSize::formatMemoryStringDot1(size);
}

QString FileListCellView::sizeToolTip(std::uint64_t count, std::uint64_t size) {
    return QStringLiteral("%1 duplicates of %2 each.\nTotal size: %3")
        .arg(count)
        .arg(sizeText(size), sizeText(count * size));
}

QString FileListCellView::badgeToolTip(std::uint64_t selected, std::uint64_t count,
                                       const QString& name) {
    if (selected > 0)
        return QStringLiteral("%1 of %2 duplicates selected").arg(selected).arg(count);
    return QStringLiteral("%1 duplicates for \"%2\"").arg(count).arg(name);
}

QString FileListCellView::closingRowTitle() {
    return QStringLiteral("Show All Duplicates");
}

ColoredDupView FileListCellView::badgeFor(std::uint64_t selected, std::uint64_t count) {
    ColoredDupView badge;
    badge.setSelectedDupsAllDups(QString::number(selected), QString::number(count));
    return badge;
}

FileListCellView::GroupRowLayout FileListCellView::layoutGroupRow(const QRectF& rect,
                                                                  const ColoredDupView& badge) {
    GroupRowLayout layout;
    const qreal top = rect.top();
    const qreal h = rect.height();
    layout.icon = QRectF(rect.left() + kIconLeft, top + std::floor((h - kIconSize) / 2), kIconSize,
                         kIconSize);
    const qreal badgeX = rect.left() + badge.xInRowOfWidth(rect.width());
    layout.badge = QRectF(badgeX, top + std::floor((h - ColoredDupView::kHeight) / 2),
                          badge.width(), ColoredDupView::kHeight);
    const qreal textX = rect.left() + kTextLeft;
    layout.name = QRectF(textX, top + 6, std::max<qreal>(0, badgeX - textX - 10), 19);
    layout.size = QRectF(textX, top + 26, std::max<qreal>(0, badgeX - textX - 10), 16);
    return layout;
}

QRectF FileListCellView::closingLinkRect(const QRectF& rect) {
    return QRectF(rect.left() + 20, rect.top() + 10, rect.width() - 40, rect.height() - 20);
}

CellWithCustomSelection::CellFlags FileListCellView::cellFlags(const QStyleOptionViewItem&,
                                                               const QModelIndex& index) const {
    CellFlags flags;
    const int selected = m_selectedRow ? m_selectedRow() : -1;
    flags.selected = selected >= 0 && index.row() == selected;
    flags.aboveSelected = selected >= 0 && index.row() + 1 == selected;
    flags.inActive = !ListKeys::isFirstResponder(view());
    flags.even = index.row() % 2 == 0;
    return flags;
}

QSize FileListCellView::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    const bool header = m_rows.isHeaderRow(index.row());
    return QSize(option.rect.width(), header ? kHeaderRowHeight : kGroupRowHeight);
}

void FileListCellView::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const int row = index.row();
    if (m_rows.isHeaderRow(row)) {
        m_header.draw(*painter, option.rect, m_rows.headerTitleAt(row));
        return;
    }
    if (const GroupListEntry* entry = m_rows.entryAt(row)) {
        paintGroupRow(*painter, option, index, *entry);
        return;
    }
    paintClosingRow(*painter, option, index);
}

void FileListCellView::paintGroupRow(QPainter& painter, const QStyleOptionViewItem& option,
                                     const QModelIndex& index, const GroupListEntry& entry) const {
    const CellFlags flags = cellFlags(option, index);
    painter.save();
    drawBackground(painter, option.rect, flags);
    const std::uint64_t count = entry.group->getTotalCount();
    const std::uint64_t selected = entry.group->getSelectedCountWithDuplicatesFolderContent();
    const ColoredDupView badge = badgeFor(selected, count);
    const GroupRowLayout layout = layoutGroupRow(option.rect, badge);

    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QPixmap icon = iconFor(entry, ratio);
    if (!icon.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(layout.icon, icon, QRectF(icon.rect()));
    }
    painter.setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), kNameFontSize));
    painter.setPen(textColor(flags.selected));
    painter.drawText(layout.name, Qt::AlignLeft | Qt::AlignVCenter,
                     painter.fontMetrics().elidedText(entry.group->getGroupName(), Qt::ElideRight,
                                                      int(layout.name.width())));
    painter.setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), kSizeFontSize));
    painter.setPen(sizeTextColor(flags.selected));
    painter.drawText(layout.size, Qt::AlignLeft | Qt::AlignVCenter, sizeText(entry.size));
    badge.drawRect(painter, layout.badge);
    painter.restore();
}

void FileListCellView::paintClosingRow(QPainter& painter, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
    CellFlags flags = cellFlags(option, index);
    flags.selected = false;
    painter.save();
    drawBackground(painter, option.rect, flags);
    QFont font = Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 13);
    font.setUnderline(true);
    painter.setFont(font);
    painter.setPen(Palette::quickHintUnderlineButtonColor());
    painter.drawText(closingLinkRect(option.rect), Qt::AlignCenter, closingRowTitle());
    painter.restore();
}

QPixmap FileListCellView::iconFor(const GroupListEntry& entry, qreal ratio) const {
    // Folders and files without extension have a fixed key, files their extension.
    const QString& typeKey = m_rows.typeKeyOf(entry);
    const QString& typeTitle = m_rows.typeTitleOf(entry);
    const QString key = typeKey + QLatin1Char('@') + QString::number(ratio);
    if (const auto found = m_icons.constFind(key); found != m_icons.cend())
        return *found;
    QIcon icon;
    if (typeTitle == QLatin1String("Folders")) {
        PreviewFacts facts;
        facts.isDir = true;
        icon = QIcon::fromTheme(QStringLiteral("folder"));
        if (icon.isNull())
            icon = PreviewView::iconForFacts(facts);
    } else {
        // Read from the name alone: "x.<extension>" has the type of every such file.
        icon = PreviewView::iconForPath(typeTitle == QLatin1String("Others")
                                            ? QByteArray("x")
                                            : QByteArray("x.") + typeKey.toUtf8());
    }
    QPixmap pixmap = icon.pixmap(QSize(int(kIconSize), int(kIconSize)), ratio);
    m_icons.insert(key, pixmap);
    return pixmap;
}

bool FileListCellView::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                 const QStyleOptionViewItem& option, const QModelIndex& index) {
    const GroupListEntry* entry = m_rows.entryAt(index.row());
    if (!entry || event->type() != QEvent::ToolTip)
        return CellWithCustomSelection::helpEvent(event, view, option, index);
    const std::uint64_t count = entry->group->getTotalCount();
    const std::uint64_t selected = entry->group->getSelectedCountWithDuplicatesFolderContent();
    const GroupRowLayout layout = layoutGroupRow(option.rect, badgeFor(selected, count));
    QString tip;
    if (layout.badge.contains(event->pos()))
        tip = badgeToolTip(selected, count, entry->group->getGroupName());
    else if (layout.size.contains(event->pos()))
        tip = sizeToolTip(count, entry->size);
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPos(), tip, view);
    return true;
}

bool FileListCellView::editorEvent(QEvent* event, QAbstractItemModel* model,
                                   const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() == QEvent::MouseButtonRelease && m_rows.isClosingRow(index.row())) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            closingLinkRect(option.rect).contains(mouse->position())) {
            emit showAllDuplicatesClicked();
            return true;
        }
    }
    return CellWithCustomSelection::editorEvent(event, model, option, index);
}
