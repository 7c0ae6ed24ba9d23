#pragma once

#include "Browser/Review/SelectedFilesList.h"

#include <QAbstractTableModel>

// The review panel's table model: one column, one row per listed copy. The rows are painted
// by SelectedFilesCellView from the panel's own state, so the model answers no data; it only
// tells the view how many rows there are and when the list changed. Main thread.
class SelectedFilesModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SelectedFilesModel)

public:
    SelectedFilesModel(const SelectedFilesList& list, QObject* parent)
        : QAbstractTableModel(parent), m_list(list) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(m_count);
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : 1;
    }
    QVariant data(const QModelIndex&, int) const override { return {}; }

    // The list was replaced, re-ordered or lost copies: one whole-table change.
    void listChanged() {
        beginResetModel();
        m_count = m_list.size();
        endResetModel();
    }

private:
    const SelectedFilesList& m_list;
    // The row count the view was last told of; the list may shrink before the view hears.
    std::size_t m_count = 0;
};
