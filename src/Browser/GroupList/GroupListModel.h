#pragma once

#include <QAbstractTableModel>

#include <functional>

class GroupListRows;

// The one-column model of the group list over the rows it is given (owned by the group
// list). Row to entry is an index into the rows; entry to row comes from the rows as well.
// Header rows and the closing row are not selectable. The display text is the group name or
// the section title; the cells paint everything else from the rows themselves.
class GroupListModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GroupListModel)

public:
    enum Role { RowKindRole = Qt::UserRole + 1 };
    enum RowKind { GroupRow = 0, HeaderRow = 1, ClosingRow = 2 };

    explicit GroupListModel(const GroupListRows& rows, QObject* parent = nullptr);

    // Runs |change| (which rebuilds the rows) inside one model reset.
    void resetWith(const std::function<void()>& change);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const GroupListRows& m_rows;
};
