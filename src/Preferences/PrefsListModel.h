#pragma once

#include <QAbstractListModel>
#include <QStringList>

// The rows of one preferences table: a title per row and, for the type tables, a picture
// name per row. The panes replace the whole list at once; the lists hold tens of rows.
class PrefsListModel final : public QAbstractListModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PrefsListModel)

public:
    // The row's picture name as the ImageStore knows it; empty for none.
    static constexpr int ImageNameRole = Qt::UserRole + 1;

    explicit PrefsListModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    // |images| is empty or as long as |titles|.
    void setRows(const QStringList& titles, const QStringList& images = {});
    QStringList titles() const { return m_titles; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QStringList m_titles;
    QStringList m_images;
};
