#pragma once

#include <QAbstractTableModel>

class HeapFilesSelectorVC;

// The two-folder table's rows as the view sees them: one column, the controller's row count
// and the heights of the three row kinds. What a row shows is painted by HeapFilesCellView
// from the controller's rows.
class HeapTableModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HeapTableModel)

public:
    explicit HeapTableModel(HeapFilesSelectorVC* controller);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void beginReset() { beginResetModel(); }
    void endReset() { endResetModel(); }
    void allRowsChanged();

private:
    HeapFilesSelectorVC* m_controller;
};
