#pragma once

#include "Toolkit/TableCellViewWithTracking.h"

#include <QColor>

// The cell base of the results lists that draws its own row background: selected (with
// two soft bands at the row's edges), selected in a list without focus, even and normal
// rows, and a 1-point separator along the bottom; the texts of rows that are not selected
// are drawn at half strength.
//
// The four flags are worked out for each cell as it is painted (cellFlags()): selected
// from the selection, aboveSelected when the row below is selected, inActive when the list
// lacks the keyboard focus, even for even rows. Subclasses paint their own content over
// drawBackground() and may refine cellFlags().
class CellWithCustomSelection : public TableCellViewWithTracking {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CellWithCustomSelection)

public:
    struct CellFlags {
        bool selected = false;
        bool aboveSelected = false;
        bool inActive = false;
        bool even = false;
    };

    explicit CellWithCustomSelection(QAbstractItemView* view);

    // The name text's colour: commonTextColor, at alpha 0.5 when not selected.
    static QColor textColor(bool selected);
    // The size text's colour: sizeLabelColor, at alpha 0.5 when not selected.
    static QColor sizeTextColor(bool selected);
    // The row background and the separator over |bounds| (Qt coordinates).
    static void drawBackground(QPainter& painter, const QRectF& bounds, const CellFlags& flags);

    virtual CellFlags cellFlags(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    // Background, then the display text in textColor().
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
