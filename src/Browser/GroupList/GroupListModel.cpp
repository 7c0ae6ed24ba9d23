#include "Browser/GroupList/GroupListModel.h"

#include "Browser/GroupList/GroupListRows.h"
#include "Results/DuplicatesGroup.h"

GroupListModel::GroupListModel(const GroupListRows& rows, QObject* parent)
    : QAbstractTableModel(parent), m_rows(rows) {}

void GroupListModel::resetWith(const std::function<void()>& change) {
    beginResetModel();
    change();
    endResetModel();
}

int GroupListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows.rowCount();
}

int GroupListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1;
}

QVariant GroupListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() != 0)
        return {};
    const int row = index.row();
    if (role == RowKindRole)
        return m_rows.isGroupRow(row) ? GroupRow : m_rows.isHeaderRow(row) ? HeaderRow : ClosingRow;
    if (role != Qt::DisplayRole)
        return {};
    if (const GroupListEntry* entry = m_rows.entryAt(row))
        return entry->group->getGroupName();
    return m_rows.headerTitleAt(row);
}

Qt::ItemFlags GroupListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (m_rows.isGroupRow(index.row()))
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return Qt::ItemIsEnabled;
}
