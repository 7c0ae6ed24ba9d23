#include "Browser/Copies/DuplicateSelectionVC.h"

#include "Browser/Common/AllowRemovingAllCopiesWC.h"
#include "Browser/Common/LastCopyAlert.h"
#include "Browser/Common/ListKeys.h"
#include "Browser/Common/ResultsObservers.h"
#include "Browser/Copies/CopiesTableTexts.h"
#include "Browser/Copies/DuplicateSelectionCellView.h"
#include "Browser/Copies/DuplicateSelectionModel.h"
#include "Browser/Frame/CategoryStateManager.h"
#include "Categories/AppNotification.h"
#include "Categories/DateText.h"
#include "Categories/Settings.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeap.h"
#include "Results/DuplicatesHeaps.h"
#include "Results/DuplicatesManager.h"
#include "Results/HeapsGroup.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/Palette.h"
#include "Toolkit/QLPreviewViewMod.h"
#include "Toolkit/QuickLookController.h"
#include "Toolkit/QuickLookSourceType.h"
#include "Toolkit/QuickLookVC.h"
#include "Toolkit/TableViewWithArrowHandling.h"
#include "Toolkit/WhiteTitleButton.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include <sys/stat.h>

namespace {

QString dark(const char* name) {
    return DarkImageName::prependDarkPrefixIfNeeded(QString::fromLatin1(name));
}

} // namespace

DuplicateSelectionVC::DuplicateSelectionVC(QWidget* parent) : QWidget(parent) {
    setObjectName(QLatin1String(kInterfaceName));
    buildView();
    registerObservers();
}

DuplicateSelectionVC::~DuplicateSelectionVC() {
    NotificationCenter::defaultCenter().removeObserver(this);
    // The table goes with this widget; detach it first so no late paint asks for rows.
    m_table->setItemDelegate(nullptr);
    m_table->setModel(nullptr);
}

void DuplicateSelectionVC::buildView() {
    m_containerView = new DuplicateSelectionView(this);

    m_autoSelectButton = new WhiteTitleButton(m_containerView);
    m_autoSelectButton->setButtonType(TitleButton::ButtonType::Toggle);
    m_autoSelectButton->setTitle(CopiesTableTexts::autoSelect);
    m_autoSelectButton->sizeToFit();
    connect(m_autoSelectButton, &QAbstractButton::clicked, this,
            [this] { autoSelectButtonPressed(); });

    m_menuButton = new WhiteTitleButton(m_containerView);
    m_menuButton->setImage(dark("btn_copies_menu"));
    m_menuButton->setImagePosition(TitleButton::ImagePosition::ImageOnly);
    m_menuButton->sizeToFit();
    connect(m_menuButton, &QAbstractButton::clicked, this,
            [this] { showContextMenuButtonPressed(); });

    m_autoSelectMenu = new QMenu(this);
    m_autoSelectMenu->addAction(CopiesTableTexts::menuAutoSelect, this,
                                [this] { autoSelectButtonPressed(); });
    m_autoSelectMenu->addAction(CopiesTableTexts::menuNewest, this,
                                [this] { newestButtonPressed(); });
    m_autoSelectMenu->addAction(CopiesTableTexts::menuOldest, this,
                                [this] { oldestButtonPressed(); });
    m_autoSelectMenu->addAction(CopiesTableTexts::menuAny, this, [this] { anyButtonPressed(); });
    m_autoSelectMenu->addSeparator();
    m_autoSelectMenu->addAction(CopiesTableTexts::menuDeselectAll, this,
                                [this] { deselectAllButtonPressed(); });

    m_table = new TableViewWithArrowHandling(m_containerView);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->horizontalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setMouseTracking(true);
    m_model = new DuplicateSelectionModel(this);
    m_table->setModel(m_model);
    m_cellView = new DuplicateSelectionCellView(this, m_table);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_reloading)
            tableViewSelectionDidChange();
    });
    resetAutoSelectButton();
}

void DuplicateSelectionVC::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_containerView->setGeometry(rect());
    const int bar = kBarHeight;
    const QSize menuSize = m_menuButton->size();
    m_menuButton->move(width() - menuSize.width() - 10, (bar - menuSize.height()) / 2);
    const QSize autoSize = m_autoSelectButton->size();
    m_autoSelectButton->move(m_menuButton->x() - autoSize.width() - 6,
                             (bar - autoSize.height()) / 2);
    // The table starts below the separator line above its first row.
    const QRectF line = DuplicateSelectionView::separatorRect(size());
    const int top = int(line.bottom());
    m_table->setGeometry(0, top, width(), std::max(0, height() - top));
}

void DuplicateSelectionVC::registerObservers() {
    ResultsObservers::observeTable(this, this);
}

void DuplicateSelectionVC::setController(ResultsFrame* controller) {
    m_controller = controller;
}

ResultsFrame* DuplicateSelectionVC::controller() const {
    return m_controller;
}

// ---- Loading.

void DuplicateSelectionVC::loadGroup(const std::shared_ptr<DuplicatesGroup>& group) {
    m_group = group;
    m_duplicatesArray = group ? group->getItems() : std::vector<std::shared_ptr<DuplicateItem>>{};
    m_lockedDuplicatesArray.clear();
    std::erase_if(m_duplicatesArray, [this](const std::shared_ptr<DuplicateItem>& copy) {
        if (!copy->getAssociatedDuplicateFolder())
            return false;
        m_lockedDuplicatesArray.push_back(copy);
        return true;
    });

    m_heapsVisible = false;
    m_folderHeapsArray.clear();
    if (!m_duplicatesArray.empty()) {
        FileSystemItem* first = m_duplicatesArray.front()->getFileSystemItem();
        auto container = DuplicatesManager::sharedManager().duplicateContainer();
        if (first && first->kind() != FileSystemItem::Kind::File && container &&
            container->getHeaps()) {
            if (auto heaps = container->getHeaps()->buildHeapsGroupForFolderWithPath(first->path()))
                m_folderHeapsArray = heaps->buildAllSubHeapsArray();
        }
    }

    // The remembered copy counts only while it is one of this group's rows: a copy removed
    // since, or one of another group, would focus a row that is not there.
    FileSystemItem* remembered = nullptr;
    if (auto copy = CategoryStateManager::sharedManager().getItemsForType(duplicateType_).fileItem)
        if (copy->getGroup() && copy->getGroup() == group)
            remembered = copy->getFileSystemItem();
    setSelectedFile(remembered ? remembered : firstCopyFile());

    reloadData();
    m_table->scrollTo(m_model->index(getRowForFileItem(m_selectedFile), 0));
    resetAutoSelectButton();
}

void DuplicateSelectionVC::showFolderHeaps(std::vector<std::shared_ptr<DuplicatesHeap>> heaps) {
    m_heapsVisible = false;
    m_folderHeapsArray = std::move(heaps);
    reloadData();
}

FileSystemItem* DuplicateSelectionVC::firstCopyFile() const {
    if (!m_duplicatesArray.empty())
        return m_duplicatesArray.front()->getFileSystemItem();
    return nullptr;
}

bool DuplicateSelectionVC::dropCopiesThatLeftTheGroup() {
    const auto group = m_group.lock();
    const auto left = [&group](const std::shared_ptr<DuplicateItem>& copy) {
        return !group || copy->getGroup() != group;
    };
    const bool anyLeft =
        std::any_of(m_duplicatesArray.begin(), m_duplicatesArray.end(), left) ||
        std::any_of(m_lockedDuplicatesArray.begin(), m_lockedDuplicatesArray.end(), left);
    if (!anyLeft)
        return false;
    std::erase_if(m_duplicatesArray, left);
    std::erase_if(m_lockedDuplicatesArray, left);
    // A removed copy has let go of its node: the focused file left with it when it is
    // neither a copy still listed nor a similar folder.
    return m_selectedFile && !selectedItem() && !isSimilarFolder(m_selectedFile);
}

bool DuplicateSelectionVC::isSimilarFolder(const FileSystemItem* item) const {
    return std::any_of(m_folderHeapsArray.begin(), m_folderHeapsArray.end(),
                       [item](const auto& heap) { return heap->getSecondFolderItem() == item; });
}

void DuplicateSelectionVC::setSelectedFile(FileSystemItem* item) {
    m_selectedFile = item;
    m_selectedFileTree = item ? item->tree() : nullptr;
}

std::shared_ptr<DuplicateItem> DuplicateSelectionVC::selectedItem() const {
    if (!m_selectedFile)
        return nullptr;
    for (const auto* list : {&m_duplicatesArray, &m_lockedDuplicatesArray}) {
        for (const auto& copy : *list) {
            if (copy->getFileSystemItem() == m_selectedFile)
                return copy;
        }
    }
    return nullptr;
}

void DuplicateSelectionVC::selectRowByItem(const std::shared_ptr<DuplicateItem>& item) {
    // A copy of another group than the one shown would land on row 0 and focus a copy that
    // was not asked for; its own group is shown first.
    if (auto group = item ? item->getGroup() : nullptr; group && group != m_group.lock())
        loadGroup(group);
    if (item)
        setSelectedFile(item->getFileSystemItem());
    reloadData();
    selectSelectedFileRow();
}

void DuplicateSelectionVC::selectSelectedFileRow() {
    const QModelIndex index = m_model->index(getRowForFileItem(m_selectedFile), 0);
    m_table->scrollTo(index);
    m_table->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    // Selecting the row that is already selected changes nothing, so the focus step runs
    // here as well.
    tableViewSelectionDidChange();
}

QByteArray DuplicateSelectionVC::getSelectedFilePath() const {
    return m_selectedFile ? m_selectedFile->path() : QByteArray();
}

bool DuplicateSelectionVC::isSelectedFileExists() const {
    auto copy = selectedItem();
    return !(copy && copy->isMovedByUserOrDeleted());
}

bool DuplicateSelectionVC::isAnyFilesForDeselect() const {
    return std::any_of(m_duplicatesArray.begin(), m_duplicatesArray.end(),
                       [](const auto& copy) { return copy->isSelected(); });
}

// ---- Rows.

FileSystemItem* DuplicateSelectionVC::getFileForRow(int row) const {
    using Kind = Rows::Kind;
    const int index = m_rows.indexInSection(row);
    switch (m_rows.kind(row)) {
    case Kind::Copy:
        return m_duplicatesArray.at(std::size_t(index))->getFileSystemItem();
    case Kind::LockedCopy:
        return m_lockedDuplicatesArray.at(std::size_t(index))->getFileSystemItem();
    case Kind::SimilarFolder:
        return m_folderHeapsArray.at(std::size_t(index))->getSecondFolderItem();
    default:
        return nullptr;
    }
}

std::shared_ptr<DuplicateItem> DuplicateSelectionVC::getDuplicateItemForRow(int row) const {
    const int index = m_rows.indexInSection(row);
    switch (m_rows.kind(row)) {
    case Rows::Kind::Copy:
        return m_duplicatesArray.at(std::size_t(index));
    case Rows::Kind::LockedCopy:
        return m_lockedDuplicatesArray.at(std::size_t(index));
    default:
        return nullptr;
    }
}

int DuplicateSelectionVC::getRowForFileItem(const FileSystemItem* item) const {
    if (!item)
        return 0;
    for (std::size_t i = 0; i < m_duplicatesArray.size(); ++i) {
        if (m_duplicatesArray[i]->getFileSystemItem() == item)
            return m_rows.rowForPlainCopy(int(i));
    }
    for (std::size_t i = 0; i < m_lockedDuplicatesArray.size(); ++i) {
        if (m_lockedDuplicatesArray[i]->getFileSystemItem() == item)
            return m_rows.rowForLockedCopy(int(i));
    }
    for (std::size_t i = 0; i < m_folderHeapsArray.size(); ++i) {
        if (m_folderHeapsArray[i]->getSecondFolderItem() == item)
            return m_rows.rowForSimilarFolder(int(i));
    }
    return 0;
}

const DuplicateSelectionVC::CellConfiguration&
DuplicateSelectionVC::cellConfigurationForRow(int row) const {
    static const CellConfiguration none;
    if (row < 0 || std::size_t(row) >= m_configurations.size())
        return none;
    return m_configurations[std::size_t(row)];
}

void DuplicateSelectionVC::reloadData() {
    m_reloadScheduled = false;
    // Copies removed (or regrouped) since the group was loaded leave the table at the next
    // redraw; a focused one hands the focus and the preview to the first copy left.
    if (dropCopiesThatLeftTheGroup()) {
        setSelectedFile(firstCopyFile());
        if (m_controller && m_controller->quickLookVC())
            m_controller->quickLookVC()->loadFileByItem(m_selectedFile);
    }
    m_reloading = true;
    const Rows rows{int(m_duplicatesArray.size()), int(m_lockedDuplicatesArray.size()),
                    int(m_folderHeapsArray.size()), m_heapsVisible};
    const bool shapeChanged = rows.rowCount() != m_rows.rowCount() ||
                              rows.similarRow() != m_rows.similarRow() ||
                              rows.heapsVisible != m_rows.heapsVisible;
    if (shapeChanged)
        m_model->beginReset();
    m_rows = rows;
    buildConfigurations();
    if (shapeChanged) {
        m_model->endReset();
        for (int row = 0; row < m_rows.rowCount(); ++row)
            m_table->setRowHeight(row, m_rows.height(row));
    } else {
        m_model->allRowsChanged();
    }
    m_reloading = false;
    m_table->reloadData();
}

void DuplicateSelectionVC::scheduleReload() {
    if (m_reloadScheduled)
        return;
    m_reloadScheduled = true;
    QTimer::singleShot(0, this, [this] {
        if (m_reloadScheduled)
            reloadData();
    });
}

void DuplicateSelectionVC::buildConfigurations() {
    using Kind = Rows::Kind;
    const int selectedRow = getRowForFileItem(m_selectedFile);
    m_selectedRowWhileBuilding = selectedRow;
    const bool inActive = !isTableFirstResponder();
    m_configurations.assign(std::size_t(m_rows.rowCount()), {});
    bool firstRowSelected = false;
    for (int row = 0; row < m_rows.rowCount(); ++row) {
        CellConfiguration& cell = m_configurations[std::size_t(row)];
        const Kind kind = m_rows.kind(row);
        switch (kind) {
        case Kind::Copy:
            cell = createDuplicateCellWithItem(getDuplicateItemForRow(row).get(),
                                               getFileForRow(row), row);
            break;
        case Kind::LockedCopy: {
            auto copy = getDuplicateItemForRow(row);
            cell = createDuplicateCellWithItem(copy.get(), getFileForRow(row), row);
            auto folder = copy->getAssociatedDuplicateFolder();
            cell.hasAssociated = true;
            cell.associatedFolderPath = folder ? folder->getFileItemPath() : QByteArray();
            cell.tooltip = CopiesTableTexts::openInDuplicateFolders;
            cell.trackingEnabled = false;
            cell.action = CheckboxAction::LockedFolder;
            cell.alternateImage.clear();
            auto folderGroup = folder ? folder->getGroup() : nullptr;
            if (folderGroup && folderGroup->getSelectedCountWithDuplicatesFolderContent() > 0 &&
                folderGroup->getSelectedCountWithDuplicatesFolderContent() ==
                    folderGroup->getTotalCount())
                cell.image = dark("link_folders_red");
            else if (folder && folder->isSelected())
                cell.image = dark("link_folders_green");
            else
                cell.image = dark("link_folders");
            break;
        }
        case Kind::SimilarFolder: {
            FileSystemItem* folder = getFileForRow(row);
            cell = createDuplicateCellWithItem(nullptr, folder, row);
            cell.tooltip = CopiesTableTexts::showFolderInHeaps;
            cell.trackingEnabled = true;
            cell.action = CheckboxAction::Heap;
            cell.image = QStringLiteral("link_heaps");
            cell.alternateImage.clear();
            const QDateTime date = folder ? folder->getFileItemLastModificationDate() : QDateTime();
            cell.dateText = date.isValid() ? DateText::shortStringDate(date) : QString();
            break;
        }
        case Kind::LockedHeader:
        case Kind::SimilarHeader:
            cell.title = kind == Kind::LockedHeader ? CopiesTableTexts::lockedHeader
                                                    : CopiesTableTexts::similarHeader;
            cell.aboveSelected = row == selectedRow - 1;
            cell.inActive = inActive;
            break;
        case Kind::SimilarCollapsed:
            cell.even = (row & 1) != 0;
            cell.inActive = inActive;
            break;
        case Kind::None:
            break;
        }
        cell.kind = kind;
        if (cell.selected && row == 0 && !inActive)
            firstRowSelected = true;
    }
    m_containerView->setFirstRowSelected(firstRowSelected);
}

DuplicateSelectionVC::CellConfiguration
DuplicateSelectionVC::createDuplicateCellWithItem(DuplicateItem* copy, FileSystemItem* fileItem,
                                                  int row) const {
    CellConfiguration cell;
    cell.disabled = copy && copy->isMovedByUserOrDeleted();
    if (!fileItem)
        return cell;
    cell.path =
        copy && !copy->getFileItemPath().isEmpty() ? copy->getFileItemPath() : fileItem->path();
    cell.action = CheckboxAction::Checkbox;
    cell.image = dark("checkbox0");
    cell.alternateImage = dark("checkbox1");
    if (copy) {
        cell.state = copy->isSelected();
        const QDateTime date = copy->getLastModificationDate();
        cell.dateText = date.isValid() ? DateText::shortStringDate(date) : QString();
        cell.tooltip = cell.state ? CopiesTableTexts::deselectFromRemoval
                                  : CopiesTableTexts::selectForRemovalTip;
        if (auto group = copy->getGroup()) {
            const auto selected = group->getSelectedCountWithDuplicatesFolderContent();
            const auto total = group->getTotalCount();
            if (selected + 1 == total && !cell.state) {
                if (Settings::allowRemovingAllDuplicateCopies()) {
                    cell.image = dark("checkbox0_red");
                    cell.alternateImage = dark("checkbox1_red");
                } else {
                    cell.tooltip = CopiesTableTexts::lastCopyTip.arg(
                        copy->getType() == 6 ? CopiesTableTexts::folderWord
                                             : CopiesTableTexts::fileWord);
                    cell.image = dark("checkbox_LastCopy");
                    cell.alternateImage.clear();
                    cell.action = CheckboxAction::DisabledCheckbox;
                }
            } else if (selected == total) {
                cell.alternateImage = dark("checkbox1_red");
            }
        }
    }
    cell.trackingEnabled = false;
    const int selectedRow = m_selectedRowWhileBuilding;
    cell.selected = row == selectedRow;
    cell.even = (row & 1) != 0;
    cell.inActive = !isTableFirstResponder();
    cell.aboveSelected = row == selectedRow - 1;
    return cell;
}

bool DuplicateSelectionVC::isTableFirstResponder() const {
    return ListKeys::isFirstResponder(m_table);
}

void DuplicateSelectionVC::resetAutoSelectButton() {
    m_autoSelectButton->setState(0);
    m_autoSelectButton->setColor(Palette::toolbarButtonsTextColor());
}

// ---- Check boxes.

void DuplicateSelectionVC::checkboxPressed(int row, bool checked) {
    auto copy = getDuplicateItemForRow(row);
    if (!copy)
        return;
    if (!checked) {
        copy->deselectItem();
        return;
    }
    auto group = copy->getGroup();
    if (!group)
        return;
    LastCopyAlert::selectCopy(
        this, m_lastCopyAlert, copy,
        group->getSelectedCountWithDuplicatesFolderContent() + 1 == group->getTotalCount(),
        &Settings::showRemoveLastInCategoriesMessage,
        [] { Settings::setShowRemoveLastInCategoriesMessage(false); }, [this] { reloadData(); });
}

void DuplicateSelectionVC::disabledCheckboxPressed(const QRect& checkboxRect) {
    AllowRemovingAllCopiesWC::showControllerAtPosition(
        AllowRemovingAllCopiesWC::screenPointForRect(checkboxRect), window());
}

// ---- Focus.

void DuplicateSelectionVC::tableViewSelectionDidChange() {
    if (!isTableFirstResponder())
        m_table->setFocus(Qt::OtherFocusReason);
    const QModelIndexList selected = m_table->selectionModel()->selectedRows();
    if (!selected.isEmpty()) {
        const int row = selected.first().row();
        if (FileSystemItem* file = getFileForRow(row)) {
            setSelectedFile(file);
            if (auto copy = getDuplicateItemForRow(row))
                CategoryStateManager::sharedManager().setFileItemForType(copy, duplicateType_);
        }
    }
    if (m_controller && m_controller->quickLookVC())
        m_controller->quickLookVC()->loadFileByItem(m_selectedFile);
    reloadData();
    m_table->scrollTo(m_model->index(getRowForFileItem(m_selectedFile), 0));
}

// ---- Notifications.

void DuplicateSelectionVC::selectionChanged() {
    scheduleReload();
    resetAutoSelectButton();
}

const FileSystemItem* DuplicateSelectionVC::mainMenuFile() const {
    const bool allowed = m_controller && !m_controller->reviewPanelOpen() &&
                         m_controller->state() == ResultsFrame::StateCategory;
    return allowed ? m_selectedFile : nullptr;
}

void DuplicateSelectionVC::applicationWillBecomeActive() {
    struct stat info {};
    if (m_selectedFile && ::lstat(m_selectedFile->path().constData(), &info) == 0)
        return;
    if (!m_selectedFile) {
        if (m_rows.rowCount() > 0)
            m_table->selectRow(0);
        return;
    }
    selectRowByItem(selectedItem());
}
