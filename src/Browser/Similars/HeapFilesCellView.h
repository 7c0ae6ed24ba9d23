#pragma once

#include "Toolkit/TableCellViewWithTracking.h"

#include <QPointer>

struct RowPress;
class FileSystemItem;
class HeapFilesSelectorVC;
class QPainter;

// The cells of the two-folder table, painted from the controller's rows: the pair row
// ("HeapCellView": per side the check box, icon, name, size and, under the pointer, the open
// button), the unique-files header row ("HeaderCellView") and the unique-file row
// ("OtherFileCellView": per side icon, name, size and open button; the selected unique file's
// half highlighted). Presses on the viewport are hit-tested here. Owned by the table.
class HeapFilesCellView final : public TableCellViewWithTracking {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HeapFilesCellView)

public:
    static constexpr const char* kHeapCellIdentifier = "HeapCellView";
    static constexpr const char* kHeaderCellIdentifier = "HeaderCellView";
    static constexpr const char* kOtherFileCellIdentifier = "OtherFileCellView";
    static constexpr qreal kGlowHeight = 8;

    HeapFilesCellView(HeapFilesSelectorVC* controller, QAbstractItemView* view);

    // The parts of a row (Qt coordinates of the viewport); |width| is the list's width, whose
    // half divides the sides.
    static qreal halfWidth(qreal width);
    static QRectF checkboxRect(const QRectF& row, int side, qreal width);
    static QRectF openButtonRect(const QRectF& row, int side, qreal width);
    // The row whose open button shows and its side; -1 when none.
    int openButtonRow() const { return m_openRow; }
    int openButtonSide() const { return m_openSide; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // The picture of a file or folder by its name only (no disk access while painting).
    static QIcon iconForItem(const FileSystemItem* item);

protected:
    void mouseEntered(const QModelIndex& index) override;
    void mouseExited(const QModelIndex& index) override;
    void mouseMoved(const QModelIndex& index, const QPoint& viewportPosition) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paintPairRow(QPainter& painter, const QRectF& bounds, int row) const;
    void paintOtherRow(QPainter& painter, const QRectF& bounds, int row) const;
    void paintSide(QPainter& painter, const QRectF& bounds, int side, const FileSystemItem* item,
                   bool pairRow, bool disabled, int row) const;
    bool handlePress(const RowPress& press);
    void setOpenButton(int row, int side);

    QPointer<HeapFilesSelectorVC> m_controller;
    int m_openRow = -1;
    int m_openSide = -1;
};

// The unique-files header row: the band's texture, a line along the bottom, a white title.
namespace HeaderCellView {
void draw(QPainter& painter, const QRectF& bounds, const QString& title);
}
