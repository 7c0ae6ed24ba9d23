#include "Browser/Copies/DuplicateSelectionModel.h"

#include "Browser/Copies/DuplicateSelectionVC.h"

#include <QFile>
#include <QSize>

DuplicateSelectionModel::DuplicateSelectionModel(DuplicateSelectionVC* controller)
    : RowsTableModel(controller, [controller] { return controller->rows().rowCount(); }),
      m_controller(controller) {}

QVariant DuplicateSelectionModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    switch (role) {
    case Qt::SizeHintRole:
        return QSize(0, m_controller->rows().height(index.row()));
    case Qt::DisplayRole: {
        const auto& config = m_controller->cellConfigurationForRow(index.row());
        return config.title.isEmpty() ? QFile::decodeName(config.path) : config.title;
    }
    default:
        return {};
    }
}
