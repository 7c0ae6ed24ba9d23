#include "Browser/GroupList/FileListVC.h"

#include "Browser/Common/ClearSearchButton.h"
#include "Browser/Common/ListKeys.h"
#include "Browser/Frame/CategoryStateManager.h"
#include "Browser/GroupList/FileListCellView.h"
#include "Browser/GroupList/FileListView.h"
#include "Browser/GroupList/GroupListModel.h"
#include "Categories/AppNotification.h"
#include "Categories/Settings.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesManager.h"
#include "Screens/CongratulationsVC.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"
#include "Toolkit/QuickLookController.h"
#include "Toolkit/SearchTextField.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace {

constexpr int kSearchFieldHeight = 24;
constexpr int kSearchFieldMargin = 8;
constexpr int kClearButtonSize = 16;

} // namespace

FileListVC::FileListVC(QWidget* parent) : QWidget(parent) {
    setObjectName(QLatin1String(kInterfaceName));
    buildView();
    observeNotifications();
}

FileListVC::~FileListVC() {
    NotificationCenter::defaultCenter().removeObserver(this);
    // The cells read the rows, which go with this object: the table must not paint again.
    m_tableViewGroupList->setItemDelegate(nullptr);
    m_tableViewGroupList->setModel(nullptr);
}

void FileListVC::buildView() {
    m_view = new FileListView(this);

    m_tableViewGroupList = new TableViewWithArrowHandling(m_view);
    m_tableViewGroupList->setObjectName(QStringLiteral("tableViewGroupList"));
    m_tableViewGroupList->horizontalHeader()->hide();
    m_tableViewGroupList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tableViewGroupList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tableViewGroupList->setMouseTracking(true);
    QHeaderView* rowsHeader = m_tableViewGroupList->verticalHeader();
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowsHeader->setMinimumSectionSize(FileListCellView::kHeaderRowHeight);
    rowsHeader->setDefaultSectionSize(FileListCellView::kGroupRowHeight);
    m_model = new GroupListModel(m_rows, this);
    m_tableViewGroupList->setModel(m_model);
    m_cells = new FileListCellView(m_tableViewGroupList, m_rows, [this] { return selectedRow(); });
    connect(m_cells, &FileListCellView::showAllDuplicatesClicked, this,
            &FileListVC::showAllDuplicatesPressed, Qt::QueuedConnection);
    connect(m_tableViewGroupList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] {
                if (!m_syncingSelection)
                    tableViewSelectionDidChange();
            });
    connect(m_tableViewGroupList, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { doubleClickOnRow(index.row()); });

    m_searchNamesTimer = new QTimer(this);
    m_searchNamesTimer->setInterval(kSearchNamesIntervalMs);
    connect(m_searchNamesTimer, &QTimer::timeout, this, [this] {
        // Search names first: a search needs them whatever the order.
        if (!m_rows.searchNamesBuilt())
            m_rows.buildSearchNamesStep(kSearchNamesStep);
        else if (!m_rows.nameKeysBuilt())
            m_rows.buildNameKeysStep(kSearchNamesStep);
        else
            m_rows.buildTypeTextsStep(kSearchNamesStep);
        if (m_rows.allTextsBuilt())
            m_searchNamesTimer->stop();
    });

    m_contextMenu = new QMenu(this);
    m_tableViewGroupList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tableViewGroupList, &QWidget::customContextMenuRequested, this,
            &FileListVC::showContextMenu);

    m_noFileFoundLabel = new QLabel(QStringLiteral("No duplicates found"), m_view);
    m_noFileFoundLabel->setAlignment(Qt::AlignCenter);
    m_noFileFoundLabel->setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 14));
    QPalette labelColours = m_noFileFoundLabel->palette();
    labelColours.setColor(QPalette::WindowText, Palette::sizeLabelColor());
    m_noFileFoundLabel->setPalette(labelColours);
    m_noFileFoundLabel->hide();

    m_searchTextField = new SearchTextField(m_view);
    m_searchTextField->setObjectName(QStringLiteral("searchTextField"));
    m_searchTextField->setPlaceholderText(QStringLiteral("Search"));
    m_searchTextField->setTextMargins(8, 0, 8 + kClearButtonSize, 0);
    connect(m_searchTextField, &QLineEdit::textEdited, this, &FileListVC::controlTextDidChange);

    m_clearSearchTextButton = ClearSearchButton::create(m_searchTextField, kClearButtonSize);
    connect(m_clearSearchTextButton, &QPushButton::clicked, this,
            &FileListVC::clearSearchTextPressed);
}

void FileListVC::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_view->setGeometry(rect());
    const int listHeight = std::max(0, height() - FileListView::kSearchBarHeight - 1);
    m_tableViewGroupList->setGeometry(0, 0, width(), listHeight);
    m_noFileFoundLabel->setGeometry(0, 0, width(), listHeight);
    const int fieldTop = height() - FileListView::kSearchBarHeight +
                         (FileListView::kSearchBarHeight - kSearchFieldHeight) / 2;
    m_searchTextField->setGeometry(kSearchFieldMargin, fieldTop,
                                   std::max(0, width() - 2 * kSearchFieldMargin),
                                   kSearchFieldHeight);
    m_clearSearchTextButton->setGeometry(m_searchTextField->width() - kClearButtonSize - 6,
                                         (kSearchFieldHeight - kClearButtonSize) / 2,
                                         kClearButtonSize, kClearButtonSize);
}

void FileListVC::observeNotifications() {
    auto& center = NotificationCenter::defaultCenter();
    // Every handler first asks whether the results screen still holds this list.
    m_refresh.observeResultChanges([this] { return detached(); });
    center.addObserver(this, AppNotification::SortingTypeChangedNotificationName(),
                       [this](const Notification&) {
                           if (!detached())
                               updateSorting();
                       });
    center.addObserver(this, AppNotification::FindInActiveViewNotificationName(),
                       [this](const Notification&) {
                           if (!detached())
                               makeSearchFieldActive();
                       });
    ListKeys::observeNavigation(
        this, {[this] { return detached(); }, [this](int target) { arrowNavigation(target); },
               [this](const KeyEvent& event, int type) { quickLookKeyPressed(event, type); },
               [this](const KeyEvent& event) { keyPressed(event); }});
}

void FileListVC::setController(ResultsFrame* controller) {
    m_controller = controller;
    m_hadController = m_hadController || controller;
}

void FileListVC::setDelegate(FileListProtocol* delegate) {
    m_delegate = delegate;
    m_delegateObject = dynamic_cast<QObject*>(delegate);
    m_delegateIsObject = m_delegateObject != nullptr;
}

FileListProtocol* FileListVC::delegate() const {
    return m_delegateIsObject && !m_delegateObject ? nullptr : m_delegate;
}

bool FileListVC::detached() const {
    return m_hadController && (!m_controller || !parentWidget());
}

ResultsFrame* FileListVC::controller() const {
    return m_controller.data();
}

// ---- Loading.

void FileListVC::setDuplicatesGroupArrayType(int type) {
    m_questMode = false;
    m_questModeArray.clear();
    m_type = type;
    loadList();
    if (!m_rows.rowCount()) {
        const auto container = DuplicatesManager::sharedManager().duplicateContainer();
        ResultsFrame* screen = controller();
        if (container && container->getAllFilesSize() != 0 && screen)
            screen->pressOverviewButton();
    }
}

void FileListVC::setDuplicatesGroupArrayWithType(
    std::vector<std::shared_ptr<DuplicatesGroup>> groups, int type) {
    m_questMode = true;
    m_questModeArray = std::move(groups);
    m_type = type;
    loadList();
}

void FileListVC::showAllDuplicatesPressed() {
    setDuplicatesGroupArrayType(m_type);
}

void FileListVC::reloadSource() {
    if (m_questMode) {
        m_rows.setSource(m_questModeArray);
        return;
    }
    std::vector<std::shared_ptr<DuplicatesGroup>> groups;
    if (const auto container = DuplicatesManager::sharedManager().duplicateContainer()) {
        if (m_type == -1) {
            groups = container->getAllFilesGroups();
        } else if (const auto category = container->getCategoryWithType(m_type)) {
            groups = category->getGroups();
        }
    }
    m_rows.setSource(groups);
}

void FileListVC::loadList() {
    m_searchTextField->clear();
    m_clearSearchTextButton->hide();
    rebuildRows(true);
    if (!m_rows.rowCount()) {
        m_noFileFoundLabel->show();
        m_selectedGroupItem = nullptr;
        if (FileListProtocol* listener = delegate())
            listener->groupSelected(nullptr);
    } else {
        m_noFileFoundLabel->hide();
    }
    const int reportsBefore = m_reportCount;
    selectMemorableRow();
    // The group of the row that was selected already (a reload after a removal) is not
    // reported by the table: the views that show its copies are told here, as they may
    // show copies that have gone since.
    if (m_reportCount == reportsBefore && m_selectedGroupItem && selectedRow() >= 0)
        if (FileListProtocol* listener = delegate())
            listener->groupSelected(m_selectedGroupItem);
}

void FileListVC::updateSorting() {
    rebuildRows(false);
    // A search that hides the selected group moves the selection to the first group listed,
    // or, with none listed, empties the views of the group (a later search that lists
    // groups again selects the first); the focus stays where it is (the search field, while
    // the user types).
    if (m_selectedGroupItem && selectedRow() >= 0)
        return;
    const int first = m_rows.groupRowFrom(0, 1);
    if (!m_selectedGroupItem && first < 0)
        return;
    m_selectedGroupItem = first >= 0 ? m_rows.entryAt(first)->group : nullptr;
    if (m_selectedGroupItem)
        CategoryStateManager::sharedManager().setDuplicateGroupForType(m_selectedGroupItem, m_type);
    syncTableSelection();
    ++m_reportCount;
    if (FileListProtocol* listener = delegate())
        listener->groupSelected(m_selectedGroupItem);
    reloadTable();
    if (first >= 0)
        scrollRowToVisible(first);
}

void FileListVC::rebuildRows(bool readSource) {
    const int sortType = Settings::sortType();
    const int direction = Settings::sortDirection();
    const QString search = m_searchTextField->text();
    m_model->resetWith([&] {
        if (readSource)
            reloadSource();
        m_rows.build(sortType, direction, search, m_questMode);
    });
    if (readSource && !m_rows.allTextsBuilt())
        m_searchNamesTimer->start();
    applyRowHeights();
    syncTableSelection();
    if (m_selectedGroupItem)
        scrollRowToVisible(selectedRow());
}

void FileListVC::applyRowHeights() {
    QHeaderView* rowsHeader = m_tableViewGroupList->verticalHeader();
    // The table keeps row heights by index across a reset: the rows that were headers
    // before get the group height back first.
    for (int row : m_headerRows)
        if (row < m_model->rowCount())
            rowsHeader->resizeSection(row, FileListCellView::kGroupRowHeight);
    m_headerRows.clear();
    const auto& rows = m_rows.rows();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (rows[row] <= GroupListRows::kFirstHeaderRow) {
            rowsHeader->resizeSection(int(row), FileListCellView::kHeaderRowHeight);
            m_headerRows.push_back(int(row));
        }
    }
}

// ---- Selection.

int FileListVC::selectedRow() const {
    return m_rows.rowOfGroup(m_selectedGroupItem.get());
}

void FileListVC::selectRowByGroup(const std::shared_ptr<DuplicatesGroup>& group) {
    const int row = m_rows.rowOfGroup(group.get());
    if (row < 0) {
        selectFirstRow();
        return;
    }
    reloadTable();
    selectTableRow(row);
    scrollRowToVisible(row);
}

void FileListVC::selectFirstRow() {
    const int row = m_rows.groupRowFrom(0, 1);
    if (row < 0)
        return;
    m_selectedGroupItem = m_rows.entryAt(row)->group;
    reloadTable();
    m_tableViewGroupList->scrollToTop();
    selectTableRow(row);
}

void FileListVC::selectMemorableRow() {
    const auto remembered = CategoryStateManager::sharedManager().getItemsForType(m_type);
    if (remembered.group)
        selectRowByGroup(remembered.group);
    else
        selectFirstRow();
}

void FileListVC::selectTableRow(int row) {
    QItemSelectionModel* selection = m_tableViewGroupList->selectionModel();
    const QModelIndexList current = selection->selectedRows();
    if (current.size() == 1 && current.first().row() == row)
        return;
    m_tableViewGroupList->selectRow(row);
}

void FileListVC::syncTableSelection() {
    m_syncingSelection = true;
    const int row = selectedRow();
    QItemSelectionModel* selection = m_tableViewGroupList->selectionModel();
    if (row >= 0)
        selection->select(m_model->index(row, 0),
                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        selection->clearSelection();
    m_syncingSelection = false;
}

void FileListVC::tableViewSelectionDidChange() {
    if (!ListKeys::isFirstResponder(m_tableViewGroupList))
        m_tableViewGroupList->setFocus(Qt::OtherFocusReason);
    const QModelIndexList selected = m_tableViewGroupList->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return;
    const int row = selected.first().row();
    const GroupListEntry* entry = m_rows.entryAt(row);
    if (!entry)
        return;
    CategoryStateManager::sharedManager().setDuplicateGroupForType(entry->group, m_type);
    m_selectedGroupItem = entry->group;
    ++m_reportCount;
    if (FileListProtocol* listener = delegate())
        listener->groupSelected(m_selectedGroupItem);
    reloadTable();
    scrollRowToVisible(row);
}

void FileListVC::scrollRowToVisible(int row) {
    if (row >= 0 && row < m_model->rowCount())
        m_tableViewGroupList->scrollTo(m_model->index(row, 0), QAbstractItemView::EnsureVisible);
}

void FileListVC::reloadTable() {
    m_tableViewGroupList->reloadData();
}

// ---- Focus and search.

void FileListVC::makeTableViewActive() {
    m_tableViewGroupList->setFocus(Qt::OtherFocusReason);
}

void FileListVC::makeSearchFieldActive() {
    m_searchTextField->setFocus(Qt::ShortcutFocusReason);
}

void FileListVC::clearSearchTextPressed() {
    m_searchTextField->clear();
    controlTextDidChange();
}

void FileListVC::controlTextDidChange() {
    m_clearSearchTextButton->setVisible(!m_searchTextField->text().isEmpty());
    updateSorting();
}

// ---- Notifications.

void FileListVC::refresh(bool dataChanged) {
    if (detached())
        return;
    ++m_refreshCount;
    if (dataChanged) {
        onContainerDataChanged();
    } else if (Settings::sortType() == Settings::SortTypeSelected) {
        updateSorting();
    } else {
        reloadTable();
    }
}

void FileListVC::onContainerDataChanged() {
    const auto container = DuplicatesManager::sharedManager().duplicateContainer();
    if (container && container->getAllFilesSize() != 0) {
        setDuplicatesGroupArrayType(m_type);
        return;
    }
    ResultsFrame* screen = controller();
    if (!screen || screen->reviewPanelOpen())
        return;
    showCongratulations();
}

void FileListVC::showCongratulations() {
    ResultsFrame* screen = controller();
    screen->hideAndRemoveAllSubviews();
    const quint64 removed = screen->deletedSize();
    screen->showCongratulationsView(removed, screen->scannedFolders());
    m_congratulationsVC = screen->congratulationsController();
}
