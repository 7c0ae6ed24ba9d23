#pragma once

#include <QStyledItemDelegate>

// The row of every preferences table: a background (selectedRowColor when the row is
// selected, commonPrefRowColor otherwise), an optional picture at the left, the title in
// commonTextColor and, for the list tables, a bottom border in separatorInPrefsColor.
// Painting only: the panes edit rows with their own text field.
class PrefsTableCellView final : public QStyledItemDelegate {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PrefsTableCellView)

public:
    // The identifiers of the two kinds of cell.
    static constexpr const char* kTypeSelectionCellView = "TypeSelectionCellView";
    static constexpr const char* kExcludeListCellView = "ExcludeListCellView";

    PrefsTableCellView(bool bottomBorder, int rowHeight, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Where the title starts inside a row of |rowRect|, for the edit field to line up.
    QRect titleRect(const QRect& rowRect, bool hasImage) const;

private:
    bool m_bottomBorder = false;
    int m_rowHeight = 24;
};
