#include "Browser/Similars/FolderPickerVC.h"

#include "Browser/Common/ClearSearchButton.h"
#include "Browser/Common/ListKeys.h"
#include "Browser/Frame/CategoryStateManager.h"
#include "Browser/Similars/FolderListCellView.h"
#include "Browser/Similars/HeapsPickerVC.h"
#include "Browser/Similars/PickerList.h"
#include "Browser/Similars/PickerListModel.h"
#include "Browser/Similars/PickerShared.h"
#include "Browser/Similars/PickerTexts.h"
#include "Categories/AppNotification.h"
#include "Categories/FileSize.h"
#include "Categories/Settings.h"
#include "FileTree/FolderSystemItem.h"
#include "Platform/Dispatch.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeaps.h"
#include "Results/DuplicatesManager.h"
#include "Results/HeapsFolderData.h"
#include "Results/HeapsGroup.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"
#include "Toolkit/PreviewPanel.h"
#include "Toolkit/QuickLookController.h"
#include "Toolkit/QuickLookSourceType.h"
#include "Toolkit/SearchTextField.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>

#include <algorithm>

namespace {

constexpr int kSearchFieldHeight = 22;
constexpr int kSearchFieldMargin = 8;
constexpr int kClearButtonSize = 14;

using PickerShared::wordFor;

} // namespace

void FolderPickerView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF line = separatorRect(width());
    painter.fillRect(
        QRectF(line.x(), height() - line.y() - line.height(), line.width(), line.height()),
        Palette::separatorColor());
}

FolderPickerVC::FolderPickerVC(QWidget* parent) : QWidget(parent) {
    setObjectName(QLatin1String(kInterfaceName));
    m_view = new FolderPickerView(this);
    m_list = new PickerList(m_view, false);
    m_list->table()->setObjectName(QStringLiteral("tableViewFolderList"));
    m_list->cellView()->setTipsProvider([](const PickerRow& row) {
        FolderListCellView::Tips tips;
        const QString size = FileSize::formatMemoryStringDot1(row.duplicateSize);
        tips.size = PickerTexts::folderSizeTip.arg(size);
        tips.count = PickerTexts::folderCountTip.arg(row.count);
        QStringList lines;
        if (row.selectedCount >= 1)
            lines << PickerTexts::folderSelectedTip.arg(row.selectedCount)
                         .arg(wordFor(row.selectedCount), row.facts->displayName);
        if (row.similarSelectedCount >= 1)
            lines << PickerTexts::folderSimilarSelectedTip.arg(row.similarSelectedCount)
                         .arg(wordFor(row.similarSelectedCount));
        tips.badge = lines.join(QLatin1Char('\n'));
        return tips;
    });
    m_list->onSelectionChanged = [this](int row) { tableViewSelectionDidChange(row); };
    m_list->onContextMenu = [this](const QPoint& at) { contextMenuRequested(at); };
    PickerShared::connectCheckbox(*m_list, this,
                                  {[this] { return checkboxLookForRow(m_selectedFolderIndex); },
                                   [this] { checkBoxPressed(); },
                                   [this] { disabledCheckboxPressed(); },
                                   [this] { duplicateFolderPressed(); }});

    m_searchTextField = new SearchTextField(m_view);
    m_searchTextField->setObjectName(QStringLiteral("searchTextField"));
    m_searchTextField->setPlaceholderText(PickerTexts::searchPlaceholder);
    connect(m_searchTextField, &QLineEdit::textEdited, this, [this] { controlTextDidChange(); });
    m_clearSearchTextButton = ClearSearchButton::create(m_searchTextField, kClearButtonSize);
    connect(m_clearSearchTextButton, &QPushButton::clicked, this,
            &FolderPickerVC::clearSearchTextPressed);

    m_noFolderFoundLabel = new QLabel(PickerTexts::noFolderFound, m_view);
    m_noFolderFoundLabel->setObjectName(QStringLiteral("noFolderFoundLabel"));
    m_noFolderFoundLabel->setAlignment(Qt::AlignCenter);
    m_noFolderFoundLabel->setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 13));
    QPalette colours = m_noFolderFoundLabel->palette();
    colours.setColor(QPalette::WindowText, Palette::sizeLabelColor());
    m_noFolderFoundLabel->setPalette(colours);
    m_noFolderFoundLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_noFolderFoundLabel->hide();

    observeNotifications();
}

FolderPickerVC::~FolderPickerVC() {
    NotificationCenter::defaultCenter().removeObserver(this);
}

void FolderPickerVC::setController(ResultsFrame* controller) {
    m_controller = controller;
}

ResultsFrame* FolderPickerVC::controller() const {
    return m_controller;
}

bool FolderPickerVC::detached() const {
    // A list the results screen let go (its view is on its way out) answers nothing more.
    ResultsFrame* screen = controller();
    return m_controller.given() && (!screen || screen->folderPickerVC() != this);
}

void FolderPickerVC::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_view->setGeometry(rect());
    const int band = FolderPickerView::kSearchBandHeight;
    const int listHeight = std::max(0, height() - band - 1);
    m_list->table()->setGeometry(0, 0, width(), listHeight);
    m_noFolderFoundLabel->setGeometry(0, 0, width(), listHeight);
    m_searchTextField->setGeometry(
        kSearchFieldMargin, height() - band + (band - kSearchFieldHeight) / 2,
        std::max(0, width() - 2 * kSearchFieldMargin), kSearchFieldHeight);
    m_clearSearchTextButton->setGeometry(m_searchTextField->width() - kClearButtonSize - 6,
                                         (kSearchFieldHeight - kClearButtonSize) / 2,
                                         kClearButtonSize, kClearButtonSize);
}

bool FolderPickerVC::isTableViewActive() const {
    return ListKeys::isFirstResponder(m_list->table());
}

void FolderPickerVC::makeListFirstResponder() {
    m_list->table()->setFocus(Qt::OtherFocusReason);
}

// ---- Notifications.

void FolderPickerVC::observeNotifications() {
    auto& center = NotificationCenter::defaultCenter();
    center.addObserver(this, AppNotification::SortingTypeChangedNotificationName(),
                       [this](const Notification&) {
                           if (!detached())
                               updateSorting();
                       });
    m_refresh.observeResultChanges([this] { return detached(); },
                                   [this] { m_rowsCurrent = false; });
    center.addObserver(this, AppNotification::FindInActiveViewNotificationName(),
                       [this](const Notification&) {
                           if (!detached())
                               m_searchTextField->setFocus(Qt::ShortcutFocusReason);
                       });
    ListKeys::observeNavigation(
        this, {[this] { return detached(); }, [this](int target) { arrowNavigation(target); },
               [this](const KeyEvent& event, int type) { quickLookKeyPressed(event, type); },
               [this](const KeyEvent& event) { keyPressed(event); }});
}

void FolderPickerVC::scheduleRefresh(bool dataChanged) {
    // Every change that arrives in one turn of the event loop is answered once.
    m_refresh.request(dataChanged);
}

void FolderPickerVC::refresh(bool dataChanged) {
    if (detached())
        return;
    if (dataChanged)
        onContainerDataChanged();
    else
        recreateTrueArrayWithSearchKey(m_searchKey);
}

void FolderPickerVC::onContainerDataChanged() {
    CategoryStateManager::sharedManager().removeHeapsItems();
    m_cache.clear();
    m_rowsCurrent = false;
    std::vector<std::shared_ptr<HeapsFolderData>> folders;
    const auto container = DuplicatesManager::sharedManager().duplicateContainer();
    if (container && container->getHeaps())
        for (const auto& [path, data] : container->getHeaps()->getAllFoldersData())
            folders.push_back(data);
    const uint64_t left = container ? container->getAllFilesSize() : 0;
    ResultsFrame* screen = controller();
    if (folders.empty() && left != 0) {
        // The view goes with the swap's animation; nothing here is torn down at once.
        if (screen)
            screen->pressOverviewButton();
        return;
    }
    if (left == 0 && screen && !screen->reviewPanelOpen()) {
        screen->hideAndRemoveAllSubviews();
        screen->showCongratulationsView(screen->deletedSize(), screen->scannedFolders());
    }
    if (m_selectedFolderIndex < 0 || m_selectedFolderIndex >= int(folders.size()))
        m_selectedFolderIndex = folders.empty() ? -1 : 0;
    setFolderDataArray(std::move(folders));
}

// ---- Rows.

FolderPickerVC::Cached& FolderPickerVC::cachedFor(const HeapsFolderData& folder) {
    Cached& cached = m_cache[&folder];
    if (!cached.facts)
        cached.facts = std::make_shared<const PickerFolderFacts>(
            PickerRows::factsOf(folder.getFolderSystemItem()));
    return cached;
}

std::vector<FolderPickerVC::Cached*> FolderPickerVC::cacheEntriesOfFolders() {
    std::vector<Cached*> entries;
    entries.reserve(m_heapFolderDataArray.size());
    std::vector<Cached*> fresh;
    std::vector<const FolderSystemItem*> freshFolders;
    m_cache.reserve(m_heapFolderDataArray.size());
    for (const auto& data : m_heapFolderDataArray) {
        if (!data) {
            entries.push_back(nullptr);
            continue;
        }
        // The map's entries stay where they are while it grows.
        Cached& cached = m_cache[data.get()];
        if (!cached.facts) {
            fresh.push_back(&cached);
            freshFolders.push_back(data->getFolderSystemItem());
        }
        entries.push_back(&cached);
    }
    // The first build reads the names and paths of every folder, thousands of them: they
    // are read on several threads at once.
    auto facts = PickerRows::factsOfAll(freshFolders);
    for (std::size_t i = 0; i < fresh.size(); ++i)
        fresh[i]->facts = std::move(facts[i]);
    return entries;
}

std::shared_ptr<HeapsGroup> FolderPickerVC::heapsGroupFor(Cached& cached,
                                                          const HeapsFolderData& folder) {
    if (!cached.groupLooked) {
        cached.groupLooked = true;
        const auto container = DuplicatesManager::sharedManager().duplicateContainer();
        if (container && container->getHeaps())
            cached.group = container->getHeaps()->getHeapsGroupForFolderData(folder);
    }
    return cached.group;
}

std::shared_ptr<HeapsGroup> FolderPickerVC::heapsGroupFor(const HeapsFolderData& folder) {
    return heapsGroupFor(cachedFor(folder), folder);
}

std::shared_ptr<HeapsFolderData> FolderPickerVC::rowFolderData(int row) const {
    const PickerRow* found = m_list->model()->row(row);
    return found ? found->folderData : nullptr;
}

const std::vector<PickerRow>& FolderPickerVC::workingArray() const {
    for (PickerRow& row : m_workingArray)
        PickerRows::fillSimilarSelectedCount(row);
    return m_workingArray;
}

void FolderPickerVC::setFolderDataArray(std::vector<std::shared_ptr<HeapsFolderData>> folders) {
    makeListFirstResponder();
    m_clearSearchTextButton->hide();
    m_heapFolderDataArray = std::move(folders);
    m_rowsCurrent = false;
    m_noFolderFoundLabel->setVisible(m_heapFolderDataArray.empty());
    recreateTrueArrayWithSearchKey(m_searchKey);
    pressedRowByIndex(m_selectedFolderIndex);
}

void FolderPickerVC::recreateTrueArrayWithSearchKey(const QString& searchKey) {
    std::vector<PickerRow> rows;
    rows.reserve(m_heapFolderDataArray.size());
    std::vector<Cached*> cachedOfRow;
    cachedOfRow.reserve(m_heapFolderDataArray.size());
    const std::vector<Cached*> entries = cacheEntriesOfFolders();
    for (std::size_t i = 0; i < m_heapFolderDataArray.size(); ++i) {
        const auto& data = m_heapFolderDataArray[i];
        if (!data)
            continue;
        Cached& cached = *entries[i];
        if (!searchKey.isEmpty() &&
            !cached.facts->displayName.contains(searchKey, Qt::CaseInsensitive))
            continue;
        PickerRow row;
        row.folderData = data;
        row.folder = data->getFolderSystemItem();
        row.facts = cached.facts;
        rows.push_back(std::move(row));
        cachedOfRow.push_back(&cached);
    }
    // Counting walks every copy of every folder's heaps: over a large result that is a
    // memory read per copy, so the rows are counted on a few threads while this one waits
    // (and so changes nothing). Each row's group is looked up there too; the cache learns
    // them here afterwards, as a folder may stand in two rows.
    const auto container = DuplicatesManager::sharedManager().duplicateContainer();
    const DuplicatesHeaps* heaps = container ? container->getHeaps().get() : nullptr;
    std::vector<std::shared_ptr<HeapsGroup>> groups(rows.size());
    constexpr std::size_t kSlice = 512;
    Dispatch::applyInSlices(rows.size(), kSlice, [&](std::size_t begin, std::size_t end) {
        for (std::size_t r = begin; r < end; ++r) {
            const Cached& cached = *cachedOfRow[r];
            PickerRow& row = rows[r];
            std::shared_ptr<HeapsGroup> group =
                cached.groupLooked ? cached.group
                : heaps            ? heaps->getHeapsGroupForFolderData(*row.folderData)
                                   : nullptr;
            if (group) {
                group->calculateCountOfItems(&row.count, &row.selectedCount, nullptr,
                                             &row.duplicateSize);
                // No sort order reads it: counted for the rows that are shown or read.
                row.similarSelectedPending = std::make_shared<PickerRow::PendingCount>();
                row.similarSelectedPending->group = group;
            }
            groups[r] = std::move(group);
        }
    });
    for (std::size_t r = 0; r < rows.size(); ++r) {
        Cached& cached = *cachedOfRow[r];
        if (!cached.groupLooked) {
            cached.groupLooked = true;
            cached.group = std::move(groups[r]);
        }
    }
    m_workingArray = std::move(rows);
    m_rowsSorted = false;
    m_rowsSearchKey = searchKey;
    m_rowsContentGeneration = DuplicatesGroup::contentGeneration();
    m_rowsCurrent = DuplicatesGroup::selectionBatchDepth() == 0;
    updateSorting();
}

bool FolderPickerVC::rowsAreCurrent() const {
    // Rows built since the last change of selection or result, for the same folders and
    // search text, hold the numbers a rebuild would compute again.
    return m_rowsCurrent && m_rowsSearchKey == m_searchKey &&
           m_rowsContentGeneration == DuplicatesGroup::contentGeneration() &&
           DuplicatesGroup::selectionBatchDepth() == 0;
}

void FolderPickerVC::updateSorting() {
    ++m_rebuildCount;
    const int sortType = Settings::sortType();
    const int sortDirection = Settings::sortDirection();
    // A stable sort of rows already in this order leaves them as they are.
    const bool sort =
        !m_rowsSorted || sortType != m_rowsSortType || sortDirection != m_rowsSortDirection;
    m_rowsSorted = true;
    m_rowsSortType = sortType;
    m_rowsSortDirection = sortDirection;
    m_selectedFolderIndex = PickerShared::showSortedRows(
        *m_list, m_workingArray, CategoryStateManager::sharedManager().mainFolderItem().get(),
        m_selectedFolderIndex, sort);
    PickerCheckbox::apply(*m_list->checkbox(), checkboxLookForRow(m_selectedFolderIndex));
}

void FolderPickerVC::pressedRowByIndex(int index) {
    if (index == -1) {
        if (m_delegate)
            m_delegate->folderSelected(nullptr);
        return;
    }
    if (index < -1 || index >= int(m_workingArray.size()))
        return;
    const std::shared_ptr<HeapsFolderData> chosen = m_workingArray[size_t(index)].folderData;
    CategoryStateManager::sharedManager().setMainFolderItem(chosen);
    if (rowsAreCurrent())
        updateSorting(); // the rows stand; only the choice moves
    else
        recreateTrueArrayWithSearchKey(m_searchKey);
    // The folder chosen, wherever the rebuild sorted it.
    m_selectedFolderItem = chosen ? chosen->getFolderSystemItem() : nullptr;
    if (m_delegate)
        m_delegate->folderSelected(chosen);
    m_list->scrollRowToVisible(m_selectedFolderIndex);
}

void FolderPickerVC::selectFolderByPath(const QByteArray& path) {
    for (size_t i = 0; i < m_workingArray.size(); ++i)
        if (m_workingArray[i].facts && m_workingArray[i].facts->path == path) {
            pressedRowByIndex(int(i));
            return;
        }
}

QByteArray FolderPickerVC::getSelectedFilePath() const {
    return m_selectedFolderItem ? m_selectedFolderItem->path() : QByteArray();
}

void FolderPickerVC::tableViewSelectionDidChange(int row) {
    CategoryStateManager::sharedManager().removeHeapsItems();
    pressedRowByIndex(row);
}

// ---- Search.

void FolderPickerVC::controlTextDidChange() {
    m_searchKey = m_searchTextField->text();
    m_clearSearchTextButton->setVisible(!m_searchKey.isEmpty());
    recreateTrueArrayWithSearchKey(m_searchKey);
    if (m_workingArray.empty()) {
        m_noFolderFoundLabel->show();
        pressedRowByIndex(-1);
        return;
    }
    m_noFolderFoundLabel->hide();
    if (!m_searchKey.isEmpty())
        m_list->selectTableRow(0);
}

void FolderPickerVC::clearSearchTextPressed() {
    m_searchTextField->setText(QString());
    controlTextDidChange();
}

// ---- Keys, focus and preview.

bool FolderPickerVC::moveSelection(bool down, bool toEnd) {
    const int last = int(m_workingArray.size()) - 1;
    const int at = m_selectedFolderIndex;
    int target = -1;
    if (down) {
        if (at >= last)
            return false;
        target = toEnd ? last : at + 1;
    } else {
        if (at <= 0)
            return false;
        target = toEnd ? 0 : at - 1;
    }
    CategoryStateManager::sharedManager().removeHeapsItems();
    pressedRowByIndex(target);
    return true;
}

void FolderPickerVC::keyPressed(const KeyEvent& event) {
    const auto move = [this](bool down, bool toEnd) { moveSelection(down, toEnd); };
    if (isTableViewActive()) {
        PickerShared::ListKeyHandlers keys;
        keys.tabTarget = ArrowNavigationTargetHeapsPicker;
        keys.backTabTarget = ArrowNavigationTargetFolderComparison;
        keys.rightTarget = ArrowNavigationTargetHeapsPicker;
        keys.pressCheckbox = [this] { checkBoxForSelectedFolderPressed(); };
        keys.showPreview = [this] { spaceButtonPressed(); };
        keys.moveSelection = move;
        PickerShared::listKeyPressed(event, keys);
    }
    // Command with Down or Up walks through the folders while the similar folders keep
    // the focus.
    ResultsFrame* screen = controller();
    HeapsPickerVC* heaps = screen ? screen->heapsPickerVC() : nullptr;
    PickerShared::followFromNextList(event, heaps && heaps->isTableViewActive(),
                                     ArrowNavigationTargetHeapsPicker, move);
}

void FolderPickerVC::arrowNavigation(int target) {
    if (target != ArrowNavigationTargetFolderPicker)
        return;
    makeListFirstResponder();
    CategoryStateManager::sharedManager().removeHeapsItems();
    recreateTrueArrayWithSearchKey(m_searchKey);
    m_list->scrollRowToVisible(m_selectedFolderIndex);
    showQuickLookForSelectedFolder();
}

void FolderPickerVC::showQuickLookForSelectedFolder() {
    QuickLookController& quickLook = QuickLookController::sharedQuickLookController();
    if (!quickLook.previewPanel() || !quickLook.previewPanel()->isVisible())
        return;
    quickLook.setQuicklookType(QuickLookSourceTypeFolderPicker);
    quickLook.setFileItemByPath(getSelectedFilePath());
}

void FolderPickerVC::spaceButtonPressed() {
    QuickLookController& quickLook = QuickLookController::sharedQuickLookController();
    quickLook.setQuicklookType(QuickLookSourceTypeFolderPicker);
    quickLook.setFileItemByPath(getSelectedFilePath());
    QuickLookController::showPreviewPanel();
}

void FolderPickerVC::quickLookKeyPressed(const KeyEvent& event, int type) {
    if (type != QuickLookSourceTypeFolderPicker)
        return;
    switch (event.keyCode) {
    case ListKeys::kDown:
    case ListKeys::kUp:
        if (moveSelection(event.keyCode == ListKeys::kDown, ListKeys::hasOption(event))) {
            QuickLookController& quickLook = QuickLookController::sharedQuickLookController();
            quickLook.setFileItemByPath(getSelectedFilePath());
            quickLook.setQuicklookType(QuickLookSourceTypeFolderPicker);
        }
        break;
    case ListKeys::kSpace:
        makeListFirstResponder();
        break;
    default:
        PickerShared::navigateSideways(event.keyCode, -1, ArrowNavigationTargetHeapsPicker);
        break;
    }
}
