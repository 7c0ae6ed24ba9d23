#pragma once

#include "Browser/Similars/PickerRows.h"

#include <QAbstractListModel>

#include <vector>

// The rows of one similar-folder list, one column. The list's controller builds the rows
// and hands them in whole (every rebuild re-sorts, so every row may move); the cells read
// the rows through row().
class PickerListModel final : public QAbstractListModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PickerListModel)

public:
    // The raw "duplicateSize" of a row, for whoever sorts or measures without the text.
    static constexpr int DuplicateSizeRole = Qt::UserRole + 1;

    explicit PickerListModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    void setRows(std::vector<PickerRow> rows);
    // The rows as handed in: counts still pending stay so (row() makes them).
    const std::vector<PickerRow>& rows() const { return m_rows; }
    // Null outside the rows. A count still pending is made here, on the row's first read.
    const PickerRow* row(int index) const {
        if (index < 0 || index >= int(m_rows.size()))
            return nullptr;
        PickerRow& found = m_rows[size_t(index)];
        PickerRows::fillSimilarSelectedCount(found);
        return &found;
    }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    mutable std::vector<PickerRow> m_rows;
};
