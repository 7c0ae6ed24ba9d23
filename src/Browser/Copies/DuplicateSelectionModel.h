#pragma once

#include "Browser/Common/RowsTableModel.h"

class DuplicateSelectionVC;

// The copies table's rows as the view sees them: one column, the row count and heights of
// the controller's row layout. What a row shows is the controller's cell configuration,
// which the cell view paints.
class DuplicateSelectionModel final : public RowsTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DuplicateSelectionModel)

public:
    explicit DuplicateSelectionModel(DuplicateSelectionVC* controller);

    QVariant data(const QModelIndex& index, int role) const override;

private:
    DuplicateSelectionVC* m_controller;
};
