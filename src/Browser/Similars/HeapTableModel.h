#pragma once

#include "Browser/Common/RowsTableModel.h"

class HeapFilesSelectorVC;

// The two-folder table's rows as the view sees them: one column, the controller's row count
// and the heights of the three row kinds. What a row shows is painted by HeapFilesCellView
// from the controller's rows.
class HeapTableModel final : public RowsTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HeapTableModel)

public:
    explicit HeapTableModel(HeapFilesSelectorVC* controller);

    QVariant data(const QModelIndex& index, int role) const override;

private:
    HeapFilesSelectorVC* m_controller;
};
