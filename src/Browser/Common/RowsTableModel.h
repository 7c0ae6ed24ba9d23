#pragma once

#include <QAbstractTableModel>

// The shape both results tables share: one column of rows whose count, heights and texts
// come from the owning controller's row layout, enabled and selectable, never edited. A
// subclass answers rowCount() and data(); the controller brackets a change of the rows'
// shape with beginReset()/endReset() and calls allRowsChanged() when only their look changed.
class RowsTableModel : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RowsTableModel)

public:
    int columnCount(const QModelIndex& parent = {}) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void beginReset() { beginResetModel(); }
    void endReset() { endResetModel(); }
    // Every row changed its look, none its place.
    void allRowsChanged();

protected:
    explicit RowsTableModel(QObject* parent) : QAbstractTableModel(parent) {}
};
