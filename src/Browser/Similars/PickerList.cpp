#include "Browser/Similars/PickerList.h"

#include "Browser/Similars/FolderListCellView.h"
#include "Browser/Similars/PickerListModel.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>

PickerList::PickerList(QWidget* host, bool heaps)
    : QObject(host), m_table(new TableViewWithArrowHandling(host)),
      m_model(new PickerListModel(this)) {
    m_table->setModel(m_model);
    m_cell =
        heaps ? new HeapsListCellView(m_table, m_model) : new FolderListCellView(m_table, m_model);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->horizontalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(FolderListCellView::kRowHeight);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    m_table->setMouseTracking(true);

    m_checkbox = new ButtonWithTrackingArea(m_table->viewport());
    m_checkbox->setObjectName(QStringLiteral("checkbox"));
    m_checkbox->setImagePosition(TitleButton::ImagePosition::ImageOnly);
    m_checkbox->hide();

    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (m_syncing || !onSelectionChanged)
            return;
        const QModelIndexList rows = m_table->selectionModel()->selectedRows();
        onSelectionChanged(rows.isEmpty() ? -1 : rows.first().row());
    });
    connect(m_table, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (onContextMenu)
            onContextMenu(at);
    });
    connect(m_table->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { placeCheckbox(); });
    // The column follows the list's width a moment after the viewport has resized.
    connect(m_table->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this] { placeCheckbox(); });
    m_table->viewport()->installEventFilter(this);
}

void PickerList::reload(std::vector<PickerRow> rows) {
    m_syncing = true;
    m_model->setRows(std::move(rows));
    const int marked = markedRow();
    if (marked >= 0)
        m_table->selectionModel()->select(m_model->index(marked),
                                          QItemSelectionModel::ClearAndSelect);
    else
        m_table->selectionModel()->clearSelection();
    m_syncing = false;
    scrollRowToVisible(marked);
    placeCheckbox();
}

int PickerList::rowCount() const {
    return m_model->rowCount();
}

int PickerList::markedRow() const {
    const auto& rows = m_model->rows();
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].selected)
            return int(i);
    return -1;
}

void PickerList::scrollRowToVisible(int row) {
    if (row >= 0 && row < rowCount())
        m_table->scrollTo(m_model->index(row));
}

void PickerList::selectTableRow(int row) {
    if (row < 0 || row >= rowCount())
        return;
    m_table->selectionModel()->select(m_model->index(row), QItemSelectionModel::ClearAndSelect);
}

int PickerList::rowAt(const QPoint& viewportPoint) const {
    return m_table->rowAt(viewportPoint.y());
}

void PickerList::placeCheckbox() {
    const int marked = markedRow();
    const QRectF place = m_cell->checkboxRect(marked);
    if (marked < 0 || !m_table->viewport()->rect().intersects(place.toRect())) {
        m_checkbox->hide();
        return;
    }
    m_checkbox->setGeometry(place.toRect());
    m_checkbox->show();
    m_checkbox->raise();
}

bool PickerList::eventFilter(QObject* watched, QEvent* event) {
    // The column takes the new width only after the viewport's resize: place the button
    // once that has happened.
    if (watched == m_table->viewport() && event->type() == QEvent::Resize)
        QMetaObject::invokeMethod(
            this, [this] { placeCheckbox(); }, Qt::QueuedConnection);
    return QObject::eventFilter(watched, event);
}
