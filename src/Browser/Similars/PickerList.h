#pragma once

#include "Browser/Similars/PickerRows.h"

#include <QObject>
#include <QPoint>

#include <functional>
#include <vector>

class ButtonWithTrackingArea;
class FolderListCellView;
class PickerListModel;
class TableViewWithArrowHandling;
class QWidget;

// What the folder list and the similar-folder list share of their table: the one-column
// table that posts its keys, the rows' model, the row cell, and the row button, a single
// widget laid over the selected row (the only row that shows it). The table's own
// selection is input only: it follows the row marked "selected" after every reload, and
// a change the user makes reaches onSelectionChanged. Main thread only; everything is
// owned by |host| (Qt parent).
class PickerList final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PickerList)

public:
    // |heaps|: the similar-folder list's cell class.
    PickerList(QWidget* host, bool heaps);

    TableViewWithArrowHandling* table() const { return m_table; }
    PickerListModel* model() const { return m_model; }
    FolderListCellView* cellView() const { return m_cell; }
    ButtonWithTrackingArea* checkbox() const { return m_checkbox; }

    // Shows |rows|; the table's selection goes to the row marked selected (none when no row
    // is), and that row is scrolled into view.
    void reload(std::vector<PickerRow> rows);
    int rowCount() const;
    // The marked row, -1 when none.
    int markedRow() const;
    void scrollRowToVisible(int row);
    // Selects |row| alone in the table, as a click would; the handler hears of it when the
    // selection changes.
    void selectTableRow(int row);
    // The row at |viewportPoint|, -1 below the last row.
    int rowAt(const QPoint& viewportPoint) const;
    // Lays the row button over the marked row, or hides it when that row is out of sight.
    void placeCheckbox();

    std::function<void(int row)> onSelectionChanged; // the user changed the table's selection
    std::function<void(const QPoint& viewportPoint)> onContextMenu;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TableViewWithArrowHandling* m_table;
    PickerListModel* m_model;
    FolderListCellView* m_cell;
    ButtonWithTrackingArea* m_checkbox;
    bool m_syncing = false;
};
