#pragma once

#include "Toolkit/CellWithCustomSelection.h"

#include <QPixmap>
#include <QRectF>
#include <QString>

#include <functional>

class ImageWithBadgeView;
class PickerListModel;
struct PickerRow;

// The row cell of the folder list: the folder's icon with the selected and similar-selected
// badges, its name, the "%d duplicates of %d" count and the size of the shared copies. The
// row's own "selected" flag is the selection drawn (the table's selection only reports
// clicks); the row's button is a widget of its list, shown on the selected row only, in
// the place checkboxRect() gives.
class FolderListCellView : public CellWithCustomSelection {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderListCellView)

public:
    static constexpr int kRowHeight = 48;
    static constexpr qreal kCheckboxSize = 16;

    // Parts of a row, in the row's Qt coordinates.
    struct Layout {
        QRectF badge;
        QRectF name;
        QRectF count;
        QRectF size;
        QRectF checkbox;
    };
    // |badgeWidth|: the badge view's width for the row's badges.
    static Layout layoutFor(const QRectF& row, qreal badgeWidth);

    // The tooltips of the size text, the count label and the badges.
    struct Tips {
        QString size;
        QString count;
        QString badge;
    };

    FolderListCellView(QAbstractItemView* view, const PickerListModel* model);
    ~FolderListCellView() override;

    void setTipsProvider(std::function<Tips(const PickerRow&)> provider) {
        m_tips = std::move(provider);
    }
    Tips tipsFor(const PickerRow& row) const { return m_tips ? m_tips(row) : Tips{}; }
    // Where the button of row |row| goes, in the view's viewport.
    QRectF checkboxRect(int row) const;

    // The row's flags: its own "selected", the next row's as above-selected, inactive when
    // the list is not its window's first responder.
    CellFlags cellFlags(const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // The folder icon every row shows, at |ratio|.
    static QPixmap folderIcon(qreal ratio);
    // The count label's colour: sizeLabelColor, at half alpha on rows not selected.
    static QColor countColor(bool selected);

private:
    // Sets the shared badge view to the row's counts and answers its width.
    qreal prepareBadges(const PickerRow& row, qreal ratio) const;

    const PickerListModel* m_model;
    ImageWithBadgeView* m_badgeView; // one view, rendered into every row
    std::function<Tips(const PickerRow&)> m_tips;
};

// The row cell of the similar-folder list: the same row for the similar folder of a heap.
class HeapsListCellView final : public FolderListCellView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HeapsListCellView)

public:
    using FolderListCellView::FolderListCellView;
};
