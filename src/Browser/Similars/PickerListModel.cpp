#include "Browser/Similars/PickerListModel.h"

void PickerListModel::setRows(std::vector<PickerRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int PickerListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant PickerListModel::data(const QModelIndex& index, int role) const {
    const PickerRow* r = index.isValid() && index.column() == 0 ? row(index.row()) : nullptr;
    if (!r)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return r->facts ? r->facts->displayName : QString();
    case DuplicateSizeRole:
        return QVariant::fromValue<quint64>(r->duplicateSize);
    default:
        return {};
    }
}
