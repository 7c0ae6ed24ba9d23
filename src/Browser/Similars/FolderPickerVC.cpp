#include "Browser/Similars/FolderPickerVC.h"

#include "Browser/Common/ListKeys.h"
#include "Browser/Frame/CategoryStateManager.h"
#include "Browser/Similars/FolderListCellView.h"
#include "Browser/Similars/HeapsPickerVC.h"
#include "Browser/Similars/PickerList.h"
#include "Browser/Similars/PickerListModel.h"
#include "Browser/Similars/PickerTexts.h"
#include "Categories/AppNotification.h"
#include "Categories/FileSize.h"
#include "Categories/Settings.h"
#include "FileTree/FolderSystemItem.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesHeaps.h"
#include "Results/DuplicatesManager.h"
#include "Results/HeapsFolderData.h"
#include "Results/HeapsGroup.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/ImageStore.h"
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

namespace {

constexpr int kSearchFieldHeight = 22;
constexpr int kSearchFieldMargin = 8;
constexpr int kClearButtonSize = 14;

QString wordFor(uint64_t count) {
    return count == 1 ? PickerTexts::duplicate : PickerTexts::duplicates;
}

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
    connect(m_list->checkbox(), &QAbstractButton::clicked, this, [this] {
        switch (checkboxLookForRow(m_selectedFolderIndex).action) {
        case PickerCheckboxAction::Toggle:
            checkBoxPressed();
            break;
        case PickerCheckboxAction::LastCopy:
            disabledCheckboxPressed();
            break;
        case PickerCheckboxAction::DuplicateFolder:
            duplicateFolderPressed();
            break;
        }
    });

    m_searchTextField = new SearchTextField(m_view);
    m_searchTextField->setObjectName(QStringLiteral("searchTextField"));
    m_searchTextField->setPlaceholderText(PickerTexts::searchPlaceholder);
    connect(m_searchTextField, &QLineEdit::textEdited, this, [this] { controlTextDidChange(); });
    m_clearSearchTextButton = new QPushButton(m_searchTextField);
    m_clearSearchTextButton->setObjectName(QStringLiteral("clearSearchTextButton"));
    m_clearSearchTextButton->setFlat(true);
    m_clearSearchTextButton->setFocusPolicy(Qt::NoFocus);
    m_clearSearchTextButton->setCursor(Qt::ArrowCursor);
    m_clearSearchTextButton->setIcon(ImageStore::icon(
        DarkImageName::prependDarkPrefixIfNeeded(QStringLiteral("btn_clear_search"))));
    m_clearSearchTextButton->setIconSize(QSize(kClearButtonSize, kClearButtonSize));
    m_clearSearchTextButton->setStyleSheet(
        QStringLiteral("border: none; background: transparent;"));
    m_clearSearchTextButton->hide();
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
    m_controllerWidget = controller ? controller->frameWidget() : nullptr;
}

ResultsFrame* FolderPickerVC::controller() const {
    return m_controllerWidget ? m_controller : nullptr;
}

bool FolderPickerVC::detached() const {
    // A list the results screen let go (its view is on its way out) answers nothing more.
    ResultsFrame* screen = controller();
    return m_controller && (!screen || screen->folderPickerVC() != this);
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
    center.addObserver(this, AppNotification::DuplicateItemSelectionChangedNotificationName(),
                       [this](const Notification&) {
                           if (!detached())
                               scheduleRefresh(false);
                       });
    center.addObserver(this, AppNotification::DuplicatesContainerDataChangedNotificationName(),
                       [this](const Notification&) {
                           if (!detached())
                               scheduleRefresh(true);
                       });
    center.addObserver(
        this, AppNotification::ArrowNavigationNotificationName(), [this](const Notification& note) {
            if (!detached())
                arrowNavigation(AppNotification::GetArrowNavigationTypeFromNotification(note));
        });
    center.addObserver(this, AppNotification::FindInActiveViewNotificationName(),
                       [this](const Notification&) {
                           if (!detached())
                               m_searchTextField->setFocus(Qt::ShortcutFocusReason);
                       });
    center.addObserver(this, QuickLookController::quickLookKeyPressedNotificationName(),
                       [this](const Notification& note) {
                           const QVariant event = note.userInfo.value(QStringLiteral("Event"));
                           if (!detached() && event.canConvert<KeyEvent>())
                               quickLookKeyPressed(
                                   event.value<KeyEvent>(),
                                   note.userInfo.value(QStringLiteral("Type")).toInt());
                       });
    ListKeys::observeKeyPresses(this, [this](const KeyEvent& event) {
        if (!detached())
            keyPressed(event);
    });
}

void FolderPickerVC::scheduleRefresh(bool dataChanged) {
    m_dataChangedPending = m_dataChangedPending || dataChanged;
    if (m_refreshPending)
        return;
    m_refreshPending = true;
    // Every change that arrives in one turn of the event loop is answered once.
    QMetaObject::invokeMethod(
        this, [this] { refresh(); }, Qt::QueuedConnection);
}

void FolderPickerVC::refresh() {
    const bool dataChanged = m_dataChangedPending;
    m_refreshPending = false;
    m_dataChangedPending = false;
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

const PickerFolderFacts& FolderPickerVC::factsFor(const HeapsFolderData& folder) {
    auto& cached = m_cache[&folder];
    if (!cached) {
        cached = std::make_unique<Cached>();
        cached->facts = std::make_shared<const PickerFolderFacts>(
            PickerRows::factsOf(folder.getFolderSystemItem()));
    }
    return *cached->facts;
}

std::shared_ptr<const PickerFolderFacts>
FolderPickerVC::sharedFactsFor(const HeapsFolderData& folder) {
    factsFor(folder);
    return m_cache[&folder]->facts;
}

std::shared_ptr<HeapsGroup> FolderPickerVC::heapsGroupFor(const HeapsFolderData& folder) {
    factsFor(folder);
    Cached& cached = *m_cache[&folder];
    if (!cached.groupLooked) {
        cached.groupLooked = true;
        const auto container = DuplicatesManager::sharedManager().duplicateContainer();
        if (container && container->getHeaps())
            cached.group = container->getHeaps()->getHeapsGroupForFolderData(folder);
    }
    return cached.group;
}

std::shared_ptr<HeapsFolderData> FolderPickerVC::rowFolderData(int row) const {
    const PickerRow* found = m_list->model()->row(row);
    return found ? found->folderData : nullptr;
}

void FolderPickerVC::setFolderDataArray(std::vector<std::shared_ptr<HeapsFolderData>> folders) {
    makeListFirstResponder();
    m_clearSearchTextButton->hide();
    m_heapFolderDataArray = std::move(folders);
    m_noFolderFoundLabel->setVisible(m_heapFolderDataArray.empty());
    recreateTrueArrayWithSearchKey(m_searchKey);
    pressedRowByIndex(m_selectedFolderIndex);
}

void FolderPickerVC::recreateTrueArrayWithSearchKey(const QString& searchKey) {
    std::vector<PickerRow> rows;
    rows.reserve(m_heapFolderDataArray.size());
    for (const auto& data : m_heapFolderDataArray) {
        if (!data)
            continue;
        auto facts = sharedFactsFor(*data);
        if (!searchKey.isEmpty() && !facts->displayName.contains(searchKey, Qt::CaseInsensitive))
            continue;
        PickerRow row;
        row.folderData = data;
        row.folder = data->getFolderSystemItem();
        row.facts = std::move(facts);
        if (const auto group = heapsGroupFor(*data))
            group->calculateCountOfItems(&row.count, &row.selectedCount, &row.similarSelectedCount,
                                         &row.duplicateSize);
        rows.push_back(std::move(row));
    }
    m_workingArray = std::move(rows);
    updateSorting();
}

void FolderPickerVC::updateSorting() {
    ++m_rebuildCount;
    PickerRows::sortRows(m_workingArray, Settings::sortType(), Settings::sortDirection());
    if (const auto main = CategoryStateManager::sharedManager().mainFolderItem()) {
        for (size_t i = 0; i < m_workingArray.size(); ++i)
            if (m_workingArray[i].folder == main->getFolderSystemItem()) {
                m_selectedFolderIndex = int(i);
                break;
            }
    }
    for (size_t i = 0; i < m_workingArray.size(); ++i)
        m_workingArray[i].selected = int(i) == m_selectedFolderIndex;
    m_list->reload(m_workingArray);
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
    const bool option = ListKeys::hasOption(event);
    if (isTableViewActive()) {
        switch (event.keyCode) {
        case ListKeys::kReturn:
            checkBoxForSelectedFolderPressed();
            break;
        case ListKeys::kTab:
            AppNotification::CreateArrowNavigationNotificationWithType(
                (event.modifierFlags & KeyEvent::ShiftKeyMask)
                    ? ArrowNavigationTargetFolderComparison
                    : ArrowNavigationTargetHeapsPicker);
            break;
        case ListKeys::kSpace:
            spaceButtonPressed();
            break;
        case ListKeys::kRight:
            AppNotification::CreateArrowNavigationNotificationWithType(
                ArrowNavigationTargetHeapsPicker);
            break;
        case ListKeys::kDown:
            moveSelection(true, option);
            break;
        case ListKeys::kUp:
            moveSelection(false, option);
            break;
        default:
            break;
        }
    }
    // Command with Down or Up walks through the folders while the similar folders keep
    // the focus.
    ResultsFrame* screen = controller();
    HeapsPickerVC* heaps = screen ? screen->heapsPickerVC() : nullptr;
    if (heaps && heaps->isTableViewActive() && ListKeys::hasCommand(event) &&
        (event.keyCode == ListKeys::kDown || event.keyCode == ListKeys::kUp)) {
        moveSelection(event.keyCode == ListKeys::kDown, option);
        AppNotification::CreateArrowNavigationNotificationWithType(
            ArrowNavigationTargetHeapsPicker);
    }
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
    case ListKeys::kRight:
        AppNotification::CreateArrowNavigationNotificationWithType(
            ArrowNavigationTargetHeapsPicker);
        break;
    default:
        break;
    }
}
