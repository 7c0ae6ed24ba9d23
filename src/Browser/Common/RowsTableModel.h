#pragma once

#include <QAbstractTableModel>

#include <functional>

// The shape both results tables share: one column of rows whose count, heights and texts
// come from the owning controller's row layout, enabled and selectable, never edited. The
// count is |rowCount|'s, asked on every call; a subclass answers data(). The controller
// brackets a change of the rows' shape with beginReset()/endReset() and calls
// allRowsChanged() when only their look changed.
class RowsTableModel : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RowsTableModel)

public:
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void beginReset() { beginResetModel(); }
    void endReset() { endResetModel(); }
    // Every row changed its look, none its place.
    void allRowsChanged();

protected:
    RowsTableModel(QObject* parent, std::function<int()> rowCount)
        : QAbstractTableModel(parent), m_rowCount(std::move(rowCount)) {}

private:
    std::function<int()> m_rowCount;
};
