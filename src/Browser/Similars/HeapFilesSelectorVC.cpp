#include "Browser/Similars/HeapFilesSelectorVC.h"

#include "Browser/Common/AllowRemovingAllCopiesWC.h"
#include "Browser/Common/LastCopyAlert.h"
#include "Browser/Common/ResultsObservers.h"
#include "Browser/Similars/HeapFilesCellView.h"
#include "Browser/Similars/HeapFilesSelectorView.h"
#include "Browser/Similars/HeapFilesTexts.h"
#include "Browser/Similars/HeapTableModel.h"
#include "Categories/AppNotification.h"
#include "Categories/Settings.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "Platform/Dispatch.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeap.h"
#include "Toolkit/QuickLookController.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>

namespace T = HeapFilesTexts;
using HeapCheckboxRules::Action;

HeapFilesSelectorVC::HeapFilesSelectorVC(QWidget* parent)
    : QWidget(parent), m_workingArrayQueue(std::make_unique<Dispatch::SerialQueue>(
                           QLatin1String(kWorkingArrayQueueLabel))) {
    setObjectName(QLatin1String(kInterfaceName));
    m_view = new HeapFilesSelectorView(this);
    m_table = new TableViewWithArrowHandling(m_view);
    m_model = new HeapTableModel(this);
    m_table->setModel(m_model);
    m_table->horizontalHeader()->hide();
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(kPairRowHeight);
    m_table->setShowGrid(false);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_table->setFrameShape(QFrame::NoFrame);
    m_cellView = new HeapFilesCellView(this, m_table);
    m_view->setController(this);
    registerObservers();
}

HeapFilesSelectorVC::~HeapFilesSelectorVC() {
    *m_alive = false;
    NotificationCenter::defaultCenter().removeObserver(this);
    m_table->setItemDelegate(nullptr);
    m_table->setModel(nullptr);
}

void HeapFilesSelectorVC::registerObservers() {
    ResultsObservers::observeTable(this, this);
    auto& center = NotificationCenter::defaultCenter();
    // A removal run ends with this notification: the copies it took are gone from disk.
    center.addObserver(this, AppNotification::DuplicatesContainerDataChangedNotificationName(),
                       [this](const Notification&) {
                           refreshMovedOrDeletedCopies();
                           scheduleReload();
                       });
}

void HeapFilesSelectorVC::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_view->setGeometry(rect());
    m_table->setGeometry(0, kBandHeight, width(), std::max(0, height() - kBandHeight));
}

void HeapFilesSelectorVC::setController(ResultsFrame* controller) {
    m_controller = controller;
}

ResultsFrame* HeapFilesSelectorVC::controller() const {
    return m_controller;
}

// ---- Heap and builds.

void HeapFilesSelectorVC::setHeap(const std::shared_ptr<DuplicatesHeap>& heap) {
    m_selectedOtherFileItem = nullptr;
    if (!heap) {
        m_heap.reset();
        m_shownHeap.reset();
        reloadData();
        hide();
        return;
    }
    show();
    m_heap = heap;
    m_view->setSpinning(true);
    ++m_progressStartsCount;
    // The worker gets copies of what it reads; the live result stays on this thread.
    auto snapshot = std::make_shared<std::vector<HeapFilesRows::CopySnapshot>>(
        HeapFilesRows::takeSnapshot(*heap, false));
    auto paths =
        std::make_shared<std::vector<HeapFilesRows::CopyPath>>(HeapFilesRows::pathsOf(*snapshot));
    std::weak_ptr<bool> alive = m_alive;
    QPointer<HeapFilesSelectorVC> self = this;
    m_workingArrayQueue->async([snapshot, paths, alive, self, heap] {
        // The copies are looked up on disk while the rows are grouped, so that the rows come
        // in with it.
        HeapFilesRows::MovedOrDeletedLookup lookup{
            std::shared_ptr<const std::vector<HeapFilesRows::CopyPath>>(paths)};
        lookup.start();
        auto built = std::make_shared<Build>();
        built->entries = HeapFilesRows::buildWorkingArray(std::move(*snapshot), paths.get());
        built->movedOrDeleted = lookup.finish();
        Dispatch::mainQueue().async([built, alive, self, heap] {
            if (alive.expired() || !self)
                return;
            self->updateTableView(heap, std::move(*built));
        });
    });
}

void HeapFilesSelectorVC::updateTableView(const std::shared_ptr<DuplicatesHeap>& builtFor,
                                          Build built) {
    // A build for a heap no longer shown is dropped; only the last heap's rows are ever seen.
    if (builtFor == m_heap) {
        m_workingArray = std::move(built.entries);
        // The folders change with the rows, so all that is shown belongs to one heap.
        m_shownHeap = builtFor;
        m_mainFolderItem = builtFor->getMainFolderItem();
        m_secondFolderItem = builtFor->getSecondFolderItem();
        m_tree = m_mainFolderItem ? m_mainFolderItem->tree() : nullptr;
        m_movedOrDeletedCopies.clear();
        m_movedOrDeletedCopies.insert(built.movedOrDeleted.begin(), built.movedOrDeleted.end());
    }
    customizeFoldersHeader();
    --m_progressStartsCount;
    if (m_progressStartsCount > 0)
        return;
    m_view->setSpinning(false);
    m_selectedGroup = -1;
    reloadData();
    if (m_rows.rowCount() > 0)
        m_table->scrollToTop();
}

void HeapFilesSelectorVC::reloadData() {
    m_reloadScheduled = false;
    const QSignalBlocker blocker(m_table->selectionModel());
    m_model->beginReset();
    if (m_shownHeap) {
        auto pairs = HeapFilesRows::buildPairRows(m_workingArray, m_selectedGroup);
        std::span<FileSystemItem* const> mainChildren;
        std::span<FileSystemItem* const> secondChildren;
        if (m_mainFolderItem)
            mainChildren = m_mainFolderItem->childrenArray();
        if (m_secondFolderItem)
            secondChildren = m_secondFolderItem->childrenArray();
        auto others = HeapFilesRows::buildOtherRows(mainChildren, secondChildren, m_workingArray);
        m_rows = HeapTableRows(std::move(pairs), std::move(others));
    } else {
        m_rows = HeapTableRows();
    }
    m_model->endReset();
    // Pair rows take the default height; only the header and unique rows are set one by one.
    // With its updates on, the header works out where each resized row lies on screen, a
    // walk over every row before it: tens of thousands of rows would take quadratic time.
    // Held off, the table places the rows once, on its next turn.
    QHeaderView* rowHeader = m_table->verticalHeader();
    const bool headerUpdates = rowHeader->updatesEnabled();
    rowHeader->setUpdatesEnabled(false);
    for (int row = m_rows.headerRow(); row >= 0 && row < m_rows.rowCount(); ++row)
        m_table->setRowHeight(row, row == m_rows.headerRow() ? kHeaderRowHeight : kOtherRowHeight);
    rowHeader->setUpdatesEnabled(headerUpdates);
    if (m_lastSelectedRow >= 0 && m_lastSelectedRow < m_rows.rowCount())
        m_table->selectRow(m_lastSelectedRow);
    m_view->update();
}

void HeapFilesSelectorVC::refreshMovedOrDeletedCopies() {
    std::vector<HeapFilesRows::CopyPath> paths;
    for (const HeapGroupEntry& entry : m_workingArray)
        for (const auto& list : entry.lists)
            for (const auto& copy : list)
                if (copy)
                    paths.push_back({copy.get(), copy->getFileItemPath()});
    const auto gone = HeapFilesRows::movedOrDeletedCopies(std::move(paths));
    m_movedOrDeletedCopies.clear();
    m_movedOrDeletedCopies.insert(gone.begin(), gone.end());
}

void HeapFilesSelectorVC::scheduleReload() {
    if (m_reloadScheduled)
        return;
    m_reloadScheduled = true;
    QTimer::singleShot(0, this, [this] {
        if (m_reloadScheduled)
            reloadData();
    });
}

void HeapFilesSelectorVC::selectionChanged() {
    customizeFoldersHeader();
    scheduleReload();
}

void HeapFilesSelectorVC::customizeFoldersHeader() {
    const bool allow = Settings::allowRemovingAllDuplicateCopies();
    HeapFilesSelectorView::Side sides[2];
    sides[0].folder = m_mainFolderItem;
    sides[1].folder = m_secondFolderItem;
    if (m_shownHeap) {
        const auto looks = HeapCheckboxRules::headerCheckboxLooks(*m_shownHeap, allow);
        sides[0].look = looks[0];
        sides[1].look = looks[1];
    }
    m_view->setSides(sides[0], sides[1]);
}

void HeapFilesSelectorVC::setSelectedOtherFileItem(FileSystemItem* item) {
    m_selectedOtherFileItem = item;
}

void HeapFilesSelectorVC::setSelectedFileSystemItem(FileSystemItem* item) {
    m_selectedFileSystemItem = item;
}

bool HeapFilesSelectorVC::isTableViewActive() const {
    return m_table->hasFocus();
}

QRectF HeapFilesSelectorVC::getUniqueFilesCellFrame() const {
    const int header = m_rows.headerRow();
    if (m_rows.otherCount() == 0 || header < 0 || !m_table->isVisible())
        return {};
    const QRect rowRect = m_table->visualRect(m_model->index(header, 0));
    const QRect visible = m_table->viewport()->rect();
    if (!rowRect.isValid() || !visible.intersects(rowRect) || rowRect.top() < visible.top() ||
        rowRect.top() >= visible.bottom())
        return {};
    return QRectF(rowRect.x(), rowRect.y(), rowRect.width(), rowRect.height());
}

// ---- Row check boxes.

HeapCheckboxRules::Look HeapFilesSelectorVC::rowCheckboxLook(int row, Side side) const {
    const HeapPairRow* pair = m_rows.pairRow(row);
    const auto& copy = pair ? (side == Left ? pair->left : pair->right) : nullptr;
    if (!copy)
        return {};
    return HeapCheckboxRules::rowCheckboxLook(*copy, Settings::allowRemovingAllDuplicateCopies());
}

HeapCheckboxRules::Look HeapFilesSelectorVC::headerCheckboxLook(Side side) const {
    if (!m_shownHeap)
        return {};
    return HeapCheckboxRules::headerCheckboxLook(*m_shownHeap, side == Left,
                                                 Settings::allowRemovingAllDuplicateCopies());
}

void HeapFilesSelectorVC::rowCheckboxPressed(int row, Side side, const QRect& globalRect) {
    const HeapPairRow* pair = m_rows.pairRow(row);
    std::shared_ptr<DuplicateItem> copy =
        pair ? (side == Left ? pair->left : pair->right) : nullptr;
    if (!copy)
        return;
    const HeapCheckboxRules::Look look = rowCheckboxLook(row, side);
    switch (look.action) {
    case Action::Disabled:
        disabledCheckboxPressed(globalRect);
        return;
    case Action::LockedFile:
        lockedFilePressed(row, side);
        return;
    case Action::LockedFolder:
        return;
    case Action::Press:
        break;
    }
    // The click flips the box; the model then decides.
    const bool newState = !look.state;
    if (!newState) {
        copy->deselectItem();
        return;
    }
    LastCopyAlert::selectCopy(
        this, m_lastCopyAlert, copy, HeapCheckboxRules::isLastUnselectedCopy(*copy),
        &Settings::showRemoveLastInHeapsMessage,
        [] { Settings::setShowRemoveLastInHeapsMessage(false); }, [this] { reloadData(); });
}

void HeapFilesSelectorVC::disabledCheckboxPressed(const QRect& globalRect) {
    AllowRemovingAllCopiesWC::showControllerAtPosition(
        AllowRemovingAllCopiesWC::screenPointForRect(globalRect), window());
}

void HeapFilesSelectorVC::showDuplicateOf(const std::shared_ptr<DuplicateItem>& copy) {
    if (!copy || !m_controller)
        return;
    auto folder = copy->getAssociatedDuplicateFolder();
    m_controller->showDuplicateItemInCategory(folder ? folder : copy);
}

void HeapFilesSelectorVC::lockedFilePressed(int row, Side side) {
    const HeapPairRow* pair = m_rows.pairRow(row);
    if (pair)
        showDuplicateOf(side == Left ? pair->left : pair->right);
}

void HeapFilesSelectorVC::lockedFolderPressed(Side side) {
    FolderSystemItem* folder = side == Left ? m_mainFolderItem : m_secondFolderItem;
    DuplicateItem* item = folder ? folder->getDuplicateItem() : nullptr;
    if (!item)
        return;
    // The folder's copy is owned by its group; find the shared handle there.
    if (auto group = item->getGroup())
        for (const auto& copy : group->getItems())
            if (copy.get() == item) {
                showDuplicateOf(copy);
                return;
            }
}

// ---- Header check boxes.

void HeapFilesSelectorVC::headerCheckboxPressed(Side side, const QRect& globalRect) {
    if (!m_shownHeap)
        return;
    const HeapCheckboxRules::Look look = headerCheckboxLook(side);
    switch (look.action) {
    case Action::Disabled:
        disabledCheckboxPressed(globalRect);
        return;
    case Action::LockedFolder:
        lockedFolderPressed(side);
        return;
    case Action::LockedFile:
        return;
    case Action::Press:
        break;
    }
    FolderSystemItem* folder = side == Left ? m_mainFolderItem : m_secondFolderItem;
    const bool newState = !look.state;
    const bool allow = Settings::allowRemovingAllDuplicateCopies();
    const bool last = side == Left ? m_shownHeap->isHasLastItemsInMainFolder()
                                   : m_shownHeap->isHasLastItemsInSecondFolder();
    if (last && allow && newState && Settings::showRemoveLastInHeapsMessage()) {
        askBeforeSelectingFolder(side);
        return;
    }
    selectDuplicatesForcedInFolderItem(newState, allow, folder);
}

void HeapFilesSelectorVC::askBeforeSelectingFolder(Side side) {
    if (m_lastCopyAlert)
        return;
    FolderSystemItem* folder = side == Left ? m_mainFolderItem : m_secondFolderItem;
    std::weak_ptr<DuplicatesHeap> heap = m_shownHeap;
    m_lastCopyAlert = LastCopyAlert::open(
        this, T::lastCopiesInFolder.arg(folder ? folder->displayName() : QString()),
        [this, heap, side](bool doNotShowAgain) {
            // The heap shown when asked, or nothing: another heap's folders are not the ones
            // the question named.
            if (heap.expired() || heap.lock() != m_shownHeap) {
                customizeFoldersHeader();
                return;
            }
            if (doNotShowAgain)
                Settings::setShowRemoveLastInHeapsMessage(false);
            selectDuplicatesForcedInFolderItem(
                true, true, side == Left ? m_mainFolderItem : m_secondFolderItem);
        },
        [this] { customizeFoldersHeader(); });
}

void HeapFilesSelectorVC::selectDuplicatesForcedInFolderItem(bool select, bool forced,
                                                             FolderSystemItem* folder) {
    if (!m_shownHeap || !folder)
        return;
    const QByteArray path = folder->path();
    // Copied first: selecting may change the heap's set.
    const auto copies = m_shownHeap->getDuplicateItems().items();
    DuplicatesGroup::BeginSelectionGroup();
    for (const auto& copy : copies) {
        if (!copy || copy->parentFolderPathView() != path)
            continue;
        if (select)
            copy->selectItemForced(forced);
        else
            copy->deselectItem();
    }
    DuplicatesGroup::EndSelectionGroup();
}

void HeapFilesSelectorVC::selectOrDeselectSelectedGroupColomn(int column) {
    if (column < 0 || column > 1 || m_selectedGroup < 0 ||
        m_selectedGroup >= int(m_workingArray.size()))
        return;
    // Copied: each selection below may reload the rows.
    const auto list = m_workingArray[std::size_t(m_selectedGroup)].lists[std::size_t(column)];
    const bool anySelected =
        std::any_of(list.begin(), list.end(), [](const auto& copy) { return copy->isSelected(); });
    if (anySelected) {
        DuplicatesGroup::BeginSelectionGroup();
        for (const auto& copy : list)
            copy->deselectItem();
        DuplicatesGroup::EndSelectionGroup();
        return;
    }
    const int first = m_rows.getRowIndexByGroup(m_selectedGroup);
    const Side side = column == 0 ? Left : Right;
    for (std::size_t i = 0; i < list.size(); ++i) {
        // The side is the key's column, whatever half the pointer is over.
        const int row = first + int(i);
        const QRect local =
            HeapFilesCellView::checkboxRect(m_table->visualRect(m_model->index(row, 0)), side,
                                            m_table->viewport()->width())
                .toRect();
        const QRect global(m_table->viewport()->mapToGlobal(local.topLeft()), local.size());
        rowCheckboxPressed(row, side, global);
        // A selection ends in a reload; the rows of the group stay where they were.
        reloadData();
    }
}
