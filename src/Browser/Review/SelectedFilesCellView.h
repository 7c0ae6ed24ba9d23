#pragma once

#include "Toolkit/TableCellViewWithTracking.h"

#include <QAbstractItemView>

#include <QByteArray>
#include <QHash>
#include <QIcon>
#include <QPointer>
#include <QRectF>
#include <QString>

#include <memory>

class DuplicateItem;
class SelectedFilesVC;

// The row of the review panel: a check box, the copy's icon, name and folder, its size and
// date, and, under the pointer, a button that shows the copy in the file manager. Rows are
// painted by this delegate from a CellConfiguration that the panel works out per row; the
// delegate hit-tests the check box and the hover button itself and reports their clicks to
// the panel, so a click on them never moves the table's selection. Main thread.
class SelectedFilesCellView final : public TableCellViewWithTracking {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SelectedFilesCellView)

public:
    static constexpr int kRowHeight = 44;
    // The opacity of every part of a row whose copy is gone from disk.
    static constexpr qreal kDisabledAlpha = 0.4;

    // What the check box does when clicked.
    enum class CheckboxAction { None, Check, LastCopy };

    // Everything one row shows.
    struct CellConfiguration {
        // False past the end of the list, or for a copy without a path or parent folder:
        // only the background is drawn.
        bool hasContent = false;
        QString name;
        QString folderPath;
        QString sizeText;
        QString dateText;
        QByteArray path;
        bool isFolder = false;
        QString checkboxImage;
        QString checkboxAlternateImage;
        bool checked = false;
        CheckboxAction checkboxAction = CheckboxAction::Check;
        bool checkboxEnabled = true;
        QString checkboxToolTip;
        bool disabled = false;
        bool even = false;
        bool selected = false;
        // The picture the check box shows for its state.
        QString shownCheckboxImage() const {
            return checked && !checkboxAlternateImage.isEmpty() ? checkboxAlternateImage
                                                                : checkboxImage;
        }
    };

    // The row of |item| at |row| as the panel shows it: |disabled| tells that the copy is gone
    // from disk, |dateText| is its date, |allowAllCopies| the setting that lets a group's
    // last copy be selected.
    static CellConfiguration configure(const DuplicateItem* item, int row, qint64 selectedRow,
                                       bool removeIsOn, bool allowAllCopies, bool disabled,
                                       const QString& dateText);

    // Where the parts of a row of |width| lie, in the row's coordinates (y down).
    struct Layout {
        QRectF checkbox;
        QRectF icon;
        QRectF name;
        QRectF folder;
        QRectF size;
        QRectF date;
        QRectF openFolderButton;
    };
    static Layout layoutForWidth(qreal width);

    SelectedFilesCellView(QAbstractItemView* view, SelectedFilesVC* controller);

    // The row under the pointer shows the hover button unless its copy is gone or a run is
    // going on; -1 for none.
    int hoverButtonRow() const { return m_hoverButtonRow; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // Draws the whole row |configuration| into |bounds|; |showHoverButton| for the hovered row.
    void paintRow(QPainter& painter, const QRectF& bounds, const CellConfiguration& configuration,
                  bool showHoverButton) const;

protected:
    void mouseEntered(const QModelIndex& index) override;
    void mouseMoved(const QModelIndex& index, const QPoint& viewportPosition) override;
    void mouseExited(const QModelIndex& index) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Part { None, Checkbox, OpenFolder };
    Part partAt(const QPoint& viewportPosition, int* row) const;
    void setHoverButtonRow(int row);
    QIcon iconFor(const CellConfiguration& configuration) const;
    // Null once the panel is gone or while it is being destroyed (its table's last events
    // come from the panel's destructor); the holder stays untyped so no half-destroyed
    // widget is ever cast to the panel.
    SelectedFilesVC* controller() const;

    QPointer<QObject> m_controller;
    int m_hoverButtonRow = -1;
    Part m_pressedPart = Part::None;
    int m_pressedRow = -1;
    mutable QHash<QString, QIcon> m_icons;
};
