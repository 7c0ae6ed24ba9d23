#include "Preferences/PrefsListModel.h"

void PrefsListModel::setRows(const QStringList& titles, const QStringList& images) {
    beginResetModel();
    m_titles = titles;
    m_images = images;
    endResetModel();
}

int PrefsListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_titles.size());
}

QVariant PrefsListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_titles.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_titles[index.row()];
    case ImageNameRole:
        return index.row() < m_images.size() ? m_images[index.row()] : QString();
    default:
        return {};
    }
}
