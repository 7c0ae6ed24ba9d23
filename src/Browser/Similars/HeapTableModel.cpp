#include "Browser/Similars/HeapTableModel.h"

#include "Browser/Similars/HeapFilesSelectorVC.h"
#include "FileTree/FileSystemItem.h"
#include "Results/DuplicateItem.h"

#include <QSize>

HeapTableModel::HeapTableModel(HeapFilesSelectorVC* controller)
    : RowsTableModel(controller, [controller] { return controller->rows().rowCount(); }),
      m_controller(controller) {}

QVariant HeapTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const HeapTableRows& rows = m_controller->rows();
    const int row = index.row();
    if (role == Qt::SizeHintRole) {
        switch (rows.kind(row)) {
        case HeapTableRows::Kind::Pair:
            return QSize(0, HeapFilesSelectorVC::kPairRowHeight);
        case HeapTableRows::Kind::Header:
            return QSize(0, HeapFilesSelectorVC::kHeaderRowHeight);
        default:
            return QSize(0, HeapFilesSelectorVC::kOtherRowHeight);
        }
    }
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    // The names of both sides, for accessibility and for tests that read the model.
    auto name = [](const FileSystemItem* item) { return item ? item->displayName() : QString(); };
    if (const HeapPairRow* pair = rows.pairRow(row))
        return QStringLiteral("%1 | %2").arg(
            name(pair->left ? pair->left->getFileSystemItem() : nullptr),
            name(pair->right ? pair->right->getFileSystemItem() : nullptr));
    if (const HeapOtherRow* other = rows.otherRow(row))
        return QStringLiteral("%1 | %2").arg(name(other->left), name(other->right));
    return {};
}
