#include "Browser/Similars/HeapsPickerVC.h"

#include "Browser/Common/ListKeys.h"
#include "Browser/Frame/CategoryStateManager.h"
#include "Browser/Similars/FolderListCellView.h"
#include "Browser/Similars/HeapFilesSelectorVC.h"
#include "Browser/Similars/PickerList.h"
#include "Browser/Similars/PickerListModel.h"
#include "Browser/Similars/PickerShared.h"
#include "Browser/Similars/PickerTexts.h"
#include "Categories/AppNotification.h"
#include "Categories/FileSize.h"
#include "Categories/Settings.h"
#include "FileTree/FolderSystemItem.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesHeap.h"
#include "Results/HeapsFolderData.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/PreviewPanel.h"
#include "Toolkit/QuickLookController.h"
#include "Toolkit/QuickLookSourceType.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QResizeEvent>

using PickerShared::displayNameOf;
using PickerShared::wordFor;

HeapsPickerVC::HeapsPickerVC(QWidget* parent) : QWidget(parent) {
    setObjectName(QLatin1String(kInterfaceName));
    m_list = new PickerList(this, true);
    m_list->table()->setObjectName(QStringLiteral("tableViewHeaps"));
    m_list->cellView()->setTipsProvider([](const PickerRow& row) {
        FolderListCellView::Tips tips;
        const QString main = displayNameOf(row.heap ? row.heap->getMainFolderItem() : nullptr);
        tips.size =
            PickerTexts::heapSizeTip.arg(FileSize::formatMemoryStringDot1(row.duplicateSize), main);
        tips.count = PickerTexts::heapCountTip.arg(row.count).arg(main);
        QStringList parts;
        if (row.selectedCount >= 1)
            parts << PickerTexts::heapSelectedTip.arg(row.selectedCount)
                         .arg(wordFor(row.selectedCount), row.facts->displayName,
                              row.selectedCount == 1 ? PickerTexts::thatIs : PickerTexts::thoseAre,
                              main);
        if (row.similarSelectedCount >= 1)
            parts << PickerTexts::heapSimilarSelectedTip.arg(row.similarSelectedCount)
                         .arg(wordFor(row.similarSelectedCount), main);
        tips.badge = parts.join(QLatin1Char('\n'));
        return tips;
    });
    m_list->onSelectionChanged = [this](int row) { pressedRowByIndex(row); };
    m_list->onContextMenu = [this](const QPoint& at) { contextMenuRequested(at); };
    PickerShared::connectCheckbox(
        *m_list, this,
        {[this] { return checkboxLookForRow(m_selectedHeapIndex); }, [this] { checkBoxPressed(); },
         [this] { disabledCheckboxPressed(); }, [this] { duplicateFolderPressed(); }});
    observeNotifications();
}

HeapsPickerVC::~HeapsPickerVC() {
    NotificationCenter::defaultCenter().removeObserver(this);
}

void HeapsPickerVC::setController(ResultsFrame* controller) {
    m_controller = controller;
}

ResultsFrame* HeapsPickerVC::controller() const {
    return m_controller;
}

bool HeapsPickerVC::detached() const {
    ResultsFrame* screen = controller();
    return m_controller.given() && (!screen || screen->heapsPickerVC() != this);
}

void HeapsPickerVC::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_list->table()->setGeometry(rect());
}

bool HeapsPickerVC::isTableViewActive() const {
    return ListKeys::isFirstResponder(m_list->table());
}

void HeapsPickerVC::observeNotifications() {
    auto& center = NotificationCenter::defaultCenter();
    center.addObserver(this, AppNotification::SortingTypeChangedNotificationName(),
                       [this](const Notification&) {
                           if (!detached())
                               updateSorting();
                       });
    center.addObserver(this, AppNotification::DuplicateItemSelectionChangedNotificationName(),
                       [this](const Notification&) {
                           if (!detached())
                               scheduleRefresh();
                       });
    // Folders may have lost children: their facts are read again. The folder list hands in
    // the new heaps.
    center.addObserver(this, AppNotification::DuplicatesContainerDataChangedNotificationName(),
                       [this](const Notification&) { m_facts.clear(); });
    ListKeys::observeNavigation(
        this, {[this] { return detached(); }, [this](int target) { arrowNavigation(target); },
               [this](const KeyEvent& event, int type) { quickLookKeyPressed(event, type); },
               [this](const KeyEvent& event) { keyPressed(event); }});
}

void HeapsPickerVC::scheduleRefresh() {
    // Every selection change of one turn of the event loop is answered once.
    m_refresh.request();
}

// ---- Rows.

std::shared_ptr<const PickerFolderFacts> HeapsPickerVC::factsFor(const FolderSystemItem* folder) {
    auto& facts = m_facts[folder];
    if (!facts)
        facts = std::make_shared<const PickerFolderFacts>(PickerRows::factsOf(folder));
    return facts;
}

QString HeapsPickerVC::mainFolderName() const {
    return displayNameOf(m_selectedHeapItem ? m_selectedHeapItem->getMainFolderItem() : nullptr);
}

void HeapsPickerVC::setHeapsArray(std::vector<std::shared_ptr<DuplicatesHeap>> heaps) {
    m_selectedHeapIndex = 0;
    m_duplicateHeapsArray = std::move(heaps);
    recreateTrueArray();
    pressedRowByIndex(m_selectedHeapIndex);
}

void HeapsPickerVC::recreateTrueArray() {
    std::vector<PickerRow> rows;
    rows.reserve(m_duplicateHeapsArray.size());
    for (const auto& heap : m_duplicateHeapsArray) {
        if (!heap)
            continue;
        PickerRow row;
        row.heap = heap;
        row.folder = heap->getSecondFolderItem();
        row.facts = factsFor(row.folder);
        heap->calculateForSecondFolderCountOfItems(&row.count, &row.selectedCount,
                                                   &row.similarSelectedCount, &row.duplicateSize);
        rows.push_back(std::move(row));
    }
    m_workingArray = std::move(rows);
    updateSorting();
}

void HeapsPickerVC::updateSorting() {
    ++m_rebuildCount;
    m_selectedHeapIndex = PickerShared::showSortedRows(
        *m_list, m_workingArray, CategoryStateManager::sharedManager().secondFolderItem().get(),
        m_selectedHeapIndex);
    PickerCheckbox::apply(*m_list->checkbox(), checkboxLookForRow(m_selectedHeapIndex));
}

void HeapsPickerVC::pressedRowByIndex(int index) {
    if (m_workingArray.empty()) {
        m_selectedHeapItem = nullptr;
        if (m_delegate)
            m_delegate->heapSelected(nullptr);
        return;
    }
    if (index < 0 || index >= int(m_workingArray.size()))
        return;
    m_selectedHeapItem = m_workingArray[size_t(index)].heap;
    CategoryStateManager::sharedManager().setSecondFolderItem(
        m_selectedHeapItem->getSecondHeapsFolderData());
    updateSorting();
    if (m_delegate)
        m_delegate->heapSelected(m_selectedHeapItem);
    m_list->scrollRowToVisible(m_selectedHeapIndex);
}

QByteArray HeapsPickerVC::selectedSecondFolderPath() const {
    const FolderSystemItem* folder =
        m_selectedHeapItem ? m_selectedHeapItem->getSecondFolderItem() : nullptr;
    return folder ? folder->path() : QByteArray();
}

// ---- Keys, focus and preview.

bool HeapsPickerVC::moveSelection(bool down, bool toEnd) {
    const int last = int(m_workingArray.size()) - 1;
    int target = 0;
    if (down) {
        if (m_selectedHeapIndex == last)
            return false;
        target = toEnd ? last : m_selectedHeapIndex + 1;
    } else {
        if (m_selectedHeapIndex == 0)
            return false;
        target = toEnd ? 0 : m_selectedHeapIndex - 1;
    }
    m_selectedHeapIndex = target;
    pressedRowByIndex(target);
    return true;
}

void HeapsPickerVC::keyPressed(const KeyEvent& event) {
    const auto move = [this](bool down, bool toEnd) { moveSelection(down, toEnd); };
    if (isTableViewActive() && !ListKeys::hasCommand(event)) {
        PickerShared::ListKeyHandlers keys;
        keys.tabTarget = ArrowNavigationTargetFolderComparison;
        keys.backTabTarget = ArrowNavigationTargetFolderPicker;
        keys.leftTarget = ArrowNavigationTargetFolderPicker;
        keys.rightTarget = ArrowNavigationTargetFolderComparison;
        keys.pressCheckbox = [this] { checkBoxForSelectedFolderPressed(); };
        keys.showPreview = [this] { spaceButtonPressed(); };
        keys.moveSelection = move;
        PickerShared::listKeyPressed(event, keys);
        return;
    }
    ResultsFrame* screen = controller();
    HeapFilesSelectorVC* table = screen ? screen->heapFilesSelectorVC() : nullptr;
    PickerShared::followFromNextList(event, table && table->isTableViewActive(),
                                     ArrowNavigationTargetFolderComparison, move);
}

void HeapsPickerVC::arrowNavigation(int target) {
    if (target != ArrowNavigationTargetHeapsPicker)
        return;
    m_list->table()->setFocus(Qt::OtherFocusReason);
    pressedRowByIndex(m_selectedHeapIndex);
    QuickLookController& quickLook = QuickLookController::sharedQuickLookController();
    if (quickLook.previewPanel() && quickLook.previewPanel()->isVisible())
        pointQuickLookAtSelectedFolder();
}

void HeapsPickerVC::pointQuickLookAtSelectedFolder() {
    QuickLookController& quickLook = QuickLookController::sharedQuickLookController();
    quickLook.setQuicklookType(QuickLookSourceTypeHeapsPicker);
    quickLook.setFileItemByPath(selectedSecondFolderPath());
}

void HeapsPickerVC::spaceButtonPressed() {
    pointQuickLookAtSelectedFolder();
    QuickLookController::showPreviewPanel();
}

void HeapsPickerVC::quickLookKeyPressed(const KeyEvent& event, int type) {
    if (type != QuickLookSourceTypeHeapsPicker)
        return;
    switch (event.keyCode) {
    case ListKeys::kDown:
    case ListKeys::kUp:
        if (moveSelection(event.keyCode == ListKeys::kDown, ListKeys::hasOption(event)))
            pointQuickLookAtSelectedFolder();
        break;
    case ListKeys::kSpace:
        m_list->table()->setFocus(Qt::OtherFocusReason);
        break;
    default:
        PickerShared::navigateSideways(event.keyCode, ArrowNavigationTargetFolderPicker,
                                       ArrowNavigationTargetFolderComparison);
        break;
    }
}
