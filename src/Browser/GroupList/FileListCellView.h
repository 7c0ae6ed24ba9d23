#pragma once

#include "Browser/GroupList/ColoredDupView.h"
#include "Browser/GroupList/GroupHeaderCellView.h"
#include "Toolkit/CellWithCustomSelection.h"

#include <QHash>
#include <QPixmap>

#include <cstdint>
#include <functional>

class GroupListRows;
struct GroupListEntry;

// The cells of the group list, painted for each row: a group row (icon, name, size and the
// copy-count badge), a section header row, and the closing row of the quest mode with its
// "show all" link. The selected look follows the list's selected group, not the table's
// selection, and the inactive look the table's first-responder state.
//
// Painting reads only what the rows cached and the group's own counts: no file is touched,
// and icons come from the name's type (one picture per extension).
class FileListCellView final : public CellWithCustomSelection {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileListCellView)

public:
    static constexpr int kHeaderRowHeight = 30;
    static constexpr int kGroupRowHeight = 48;

    struct GroupRowLayout {
        QRectF icon;
        QRectF name;
        QRectF size;
        QRectF badge;
    };

    // |selectedRow| answers the row of the list's selected group (-1 for none).
    FileListCellView(QAbstractItemView* view, const GroupListRows& rows,
                     std::function<int()> selectedRow);

    static QString sizeText(std::uint64_t size);
    static QString sizeToolTip(std::uint64_t count, std::uint64_t size);
    static QString badgeToolTip(std::uint64_t selected, std::uint64_t count, const QString& name);
    static QString closingRowTitle();
    // The badge of a group with |selected| of |count| copies selected.
    static ColoredDupView badgeFor(std::uint64_t selected, std::uint64_t count);
    // Places the parts of a group row in |rect|: the name ends 10 points before the badge.
    static GroupRowLayout layoutGroupRow(const QRectF& rect, const ColoredDupView& badge);
    // The closing row's link in |rect|.
    static QRectF closingLinkRect(const QRectF& rect);

    CellFlags cellFlags(const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

signals:
    void showAllDuplicatesClicked();

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    void paintGroupRow(QPainter& painter, const QStyleOptionViewItem& option,
                       const QModelIndex& index, const GroupListEntry& entry) const;
    void paintClosingRow(QPainter& painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const;
    QPixmap iconFor(const GroupListEntry& entry, qreal ratio) const;

    const GroupListRows& m_rows;
    std::function<int()> m_selectedRow;
    GroupHeaderCellView m_header;
    mutable QHash<QString, QPixmap> m_icons;
};
