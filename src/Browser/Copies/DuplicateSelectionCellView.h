#pragma once

#include "Browser/Copies/CustomPathControl.h"
#include "Toolkit/CellWithCustomSelection.h"

#include <QPointer>
#include <QWidget>

struct RowPress;
class DuplicateSelectionVC;

// The cells of the copies table, painted from the controller's cell configuration: the copy
// or similar-folder row ("MainCell": check box, path control, date and, under the pointer,
// the open-folder button), the section headers and the collapsed similar-folders row
// ("ShowSimilarCell"). Presses on the viewport are hit-tested here: the check box sends its
// configured action, the open-folder button reveals the row's file, the collapsed row
// expands the section, and a right click on the path opens the row's menu. Owned by the
// table (Qt parent).
class DuplicateSelectionCellView final : public CellWithCustomSelection {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DuplicateSelectionCellView)

public:
    static constexpr const char* kMainCellIdentifier = "MainCell";
    static constexpr const char* kShowSimilarCellIdentifier = "ShowSimilarCell";
    static inline const QString kShowSimilarTitle = QStringLiteral("Show Similar Folders");

    DuplicateSelectionCellView(DuplicateSelectionVC* controller, QAbstractItemView* view);

    // The parts of a row cell of |row| (Qt coordinates of the viewport).
    static QRectF checkboxRect(const QRectF& row);
    static QRectF openFolderButtonRect(const QRectF& row);
    static QRectF dateRect(const QRectF& row);
    static QRectF pathRect(const QRectF& row);

    // The path control of |row| as the table configures it.
    CustomPathControl pathControlForRow(int row) const;
    // The row whose open-folder button shows; -1 when none.
    int openFolderButtonRow() const { return m_openButtonRow; }
    // Shown while the pointer is over the row, the row is not disabled, no help overlay is on
    // screen and the pointer lies within the visible height of the list.
    static bool openButtonVisibleAt(qreal pointerY, qreal visibleHeight);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

protected:
    void mouseEntered(const QModelIndex& index) override;
    void mouseExited(const QModelIndex& index) override;
    void mouseMoved(const QModelIndex& index, const QPoint& viewportPosition) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void tryToShowOpenButton(int row, const QPoint& viewportPosition);
    void setOpenButtonRow(int row);
    bool handlePress(const RowPress& press);

    QPointer<DuplicateSelectionVC> m_controller;
    int m_openButtonRow = -1;
};

// The section header of the copies table ("Duplicates in Duplicate Folders", "Similar
// folders"): a lighter line along the top, the textured body, a darker line along the
// bottom, all taken from the cell's own bounds; it looks the same whatever row is selected.
namespace HeaderForLockedCellView {
void draw(QPainter& painter, const QRectF& bounds, const QString& title);
}

// The view behind the copies table: the command bar at the top and the separator line above
// the first row, in separatorSelectedColor while row 0 is the selected row and the table has
// the focus. The line is placed from the view's bounds, whatever part is being redrawn.
class DuplicateSelectionView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DuplicateSelectionView)

public:
    explicit DuplicateSelectionView(QWidget* parent = nullptr);

    bool firstRowSelected() const { return m_firstRowSelected; }
    void setFirstRowSelected(bool selected);
    // The line's rectangle in a view of |size| (Qt coordinates): 39 points below the top
    // edge in the y-up layout, the whole width, 1 point high.
    static QRectF separatorRect(const QSizeF& size);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_firstRowSelected = false;
};
