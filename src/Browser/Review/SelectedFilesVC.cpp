#include "Browser/Review/SelectedFilesVC.h"

#include "Browser/Common/AllowRemovingAllCopiesWC.h"
#include "Browser/Common/ResultsObservers.h"
#include "Browser/Common/SortChoice.h"
#include "Browser/Review/RemovalSession.h"
#include "Browser/Review/SelectedFilesModel.h"
#include "Browser/Review/SelectedFilesSort.h"
#include "Browser/Review/SelectedFilesTexts.h"
#include "Browser/Review/SelectedFilesView.h"
#include "Categories/AppNotification.h"
#include "Categories/DateText.h"
#include "Categories/Settings.h"
#include "FileTree/FileSystemItem.h"
#include "Platform/NotificationCenter.h"
#include "Platform/ui/FileManagerReveal.h"
#include "Platform/ui/OpenWithApplications.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesManager.h"
#include "Screens/ProgressBarRemover.h"
#include "Shell/ScreenAnimation.h"
#include "Toolkit/BlueTitleButton.h"
#include "Toolkit/FocusRing.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"
#include "Toolkit/QuickLookController.h"
#include "Toolkit/TableViewWithArrowHandling.h"
#include "Toolkit/WhiteTitleButton.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMetaObject>
#include <QResizeEvent>
#include <QScrollBar>

namespace {

constexpr int kMargin = 20;
constexpr int kTopAreaHeight = 78;
constexpr int kBottomAreaHeight = 64;
constexpr int kProgressBarWidth = 260;
constexpr int kProgressBarHeight = 5;
constexpr quint16 kDownArrow = 125;
constexpr quint16 kUpArrow = 126;

// The sort menu's entries and the sort type each stands for (-1: a direction).
struct SortEntry {
    const char* title;
    int type;
};
constexpr SortEntry kSortEntries[] = {{"Size", 0}, {"Total Size", 1}, {"Type", 2},
                                      {"Name", 3}, {"Count", 4},      {"Selected", 5},
                                      {"Path", 6}, {"Ascending", -1}, {"Descending", -1}};

QLabel* makeLabel(QWidget* parent, qreal size, Fonts::Weight weight, const QColor& colour) {
    auto* label = new QLabel(parent);
    label->setFont(Fonts::font(size, weight));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

WhiteTitleButton* makeButton(QWidget* parent, const QString& title) {
    auto* button = new WhiteTitleButton(parent);
    button->setColor(Palette::toolbarButtonsTextColor());
    button->setTitle(title);
    button->sizeToFit();
    return button;
}

const SelectedFilesVC::Items& emptyItems() {
    static const SelectedFilesVC::Items none;
    return none;
}

} // namespace

SelectedFilesVC::SelectedFilesVC(QWidget* parent) : QWidget(parent) {
    setObjectName(QLatin1String(kInterfaceName));
    m_mainView = new SelectedFilesView(this);
    m_titleLabel = makeLabel(m_mainView, 20, Fonts::Weight::Medium, Palette::sizeLabelColor());
    m_titleLabel->setText(SelectedFilesTexts::title());
    m_subtitleLabel = makeLabel(m_mainView, 12, Fonts::Weight::Regular, Palette::sizeLabelColor());
    m_subtitleLabel->setText(SelectedFilesTexts::subtitle());
    m_informativeLabel =
        makeLabel(m_mainView, 13, Fonts::Weight::Medium, Palette::toolbarButtonsTextColor());
    m_informativeLabel->setAlignment(Qt::AlignCenter);

    m_sortByButton = new BlueTitleButton(m_mainView);
    connect(m_sortByButton, &QAbstractButton::clicked, this, [this] { sortButtonPressed(); });
    m_sortMenu = new QMenu(this);
    for (const SortEntry& entry : kSortEntries) {
        if (QLatin1String(entry.title) == QLatin1String("Ascending"))
            m_sortMenu->addSeparator();
        QAction* action = m_sortMenu->addAction(QLatin1String(entry.title));
        action->setCheckable(true);
    }
    const QList<QAction*> actions = m_sortMenu->actions();
    const auto actionFor = [&actions](const char* title) {
        for (QAction* action : actions)
            if (action->text() == QLatin1String(title))
                return action;
        return static_cast<QAction*>(nullptr);
    };
    connect(actionFor("Size"), &QAction::triggered, this, [this] { sortBySizePressed(); });
    connect(actionFor("Type"), &QAction::triggered, this, [this] { sortByTypePressed(); });
    connect(actionFor("Name"), &QAction::triggered, this, [this] { sortByNamePressed(); });
    connect(actionFor("Selected"), &QAction::triggered, this, [this] { sortBySelectedPressed(); });
    connect(actionFor("Path"), &QAction::triggered, this, [this] { sortByPathPressed(); });
    connect(actionFor("Ascending"), &QAction::triggered, this, [this] { sortAscendingPressed(); });
    connect(actionFor("Descending"), &QAction::triggered, this,
            [this] { sortByDescendingPressed(); });
    connect(m_sortMenu, &QMenu::aboutToShow, this, [this] { validateSortMenu(); });

    m_table = new TableViewWithArrowHandling(m_mainView);
    m_model = new SelectedFilesModel(m_arrRemoveList, this);
    m_table->setModel(m_model);
    m_table->horizontalHeader()->hide();
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(SelectedFilesCellView::kRowHeight);
    m_table->setShowGrid(false);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setFrameShape(QFrame::NoFrame);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    m_table->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_cellView = new SelectedFilesCellView(m_table, this);
    connect(m_table->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { refreshVisibleRowFacts(); });
    connect(m_table, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { doubleClickOnRow(index.row()); });
    connect(m_table, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        const QModelIndex index = m_table->indexAt(position);
        if (prepareContextMenuForRow(index.isValid() ? index.row() : -1))
            m_contextMenu->popup(m_table->viewport()->mapToGlobal(position));
    });

    m_deselectButton = makeButton(m_mainView, SelectedFilesTexts::deselectAllTitle());
    connect(m_deselectButton, &QAbstractButton::clicked, this, [this] { deselectAll(); });
    m_selectButton = makeButton(m_mainView, SelectedFilesTexts::selectAllTitle());
    connect(m_selectButton, &QAbstractButton::clicked, this, [this] { selectAll(); });
    m_cancelButton = makeButton(m_mainView, SelectedFilesTexts::cancelTitle());
    connect(m_cancelButton, &QAbstractButton::clicked, this, [this] { hideAnimation(); });
    m_removeButton = makeButton(m_mainView, SelectedFilesTexts::removeTitle());
    m_removeButton->setImagePosition(TitleButton::ImagePosition::ImageOverlaps);
    m_removeButton->setColor(Palette::bottombarRemoveButtonTextColor());
    connect(m_removeButton, &QAbstractButton::clicked, this, [this] { removeButtonPressed(); });
    m_progressBar = new ProgressBarRemover(m_mainView);
    m_progressBar->resize(kProgressBarWidth, kProgressBarHeight);
    m_progressBar->hide();

    awakeFromNib();
}

SelectedFilesVC::~SelectedFilesVC() {
    NotificationCenter::defaultCenter().removeObserver(this);
    AnimationClock::instance().cancel(m_refreshTimer);
}

void SelectedFilesVC::awakeFromNib() {
    m_animating = false;
    m_removeIsOn = false;
    m_removedSize = 0;
    m_selectedDuplicateIndex = -1;

    // The table's thin shadow is drawn by the background (SelectedFilesView): an effect on
    // the table would render it twice on every refresh of a run.
    m_mainView->setShadowedChild(m_table);

    // Posts the sort change before this panel listens: the other lists re-sort once.
    setSortByButtonTitle();

    auto& center = NotificationCenter::defaultCenter();
    center.addObserver(this, AppNotification::SortingTypeChangedNotificationName(),
                       [this](const Notification&) { updateSorting(); });
    center.addObserver(this, AppNotification::KeyPressedNotificationName(),
                       [this](const Notification& note) {
                           keyPressed(AppNotification::GetKeyCodeFromNotification(note));
                       });
    center.addObserver(this, AppNotification::DuplicateItemSelectionChangedNotificationName(),
                       [this](const Notification&) { scheduleSelectionRefresh(); });
    ResultsObservers::observeFileCommands(
        this, [this] { revealInFinder(); }, [this] { getInfo(); }, [this] { openFile(); });
    center.addObserver(this, AppNotification::RemoveToTrashSettingChangedNotificationName(),
                       [this](const Notification&) { removeToTrashSettingsChanged(); });

    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { tableViewSelectionDidChange(); });
    m_contextMenu = new QMenu(this);
    removeToTrashSettingsChanged();
}

void SelectedFilesVC::setController(ResultsFrame* controller) {
    m_controller = controller;
}

ResultsFrame* SelectedFilesVC::controller() const {
    return m_controller;
}

// ---- Layout.

void SelectedFilesVC::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // While it slides, the background keeps its place; at rest it covers the panel.
    const QPoint origin = m_animating ? m_mainView->pos() : QPoint(0, 0);
    m_mainView->setGeometry(QRect(origin, size()));
    layoutMainView();
}

void SelectedFilesVC::layoutMainView() {
    const int w = m_mainView->width();
    const int h = m_mainView->height();
    m_titleLabel->setGeometry(kMargin, 14, w - 2 * kMargin, 28);
    m_subtitleLabel->setGeometry(kMargin, 44, w - 2 * kMargin, 18);
    m_sortByButton->sizeToFit();
    m_sortByButton->move(w - kMargin - m_sortByButton->width(),
                         kTopAreaHeight - m_sortByButton->height() - 6);
    m_table->setGeometry(kMargin, kTopAreaHeight, std::max(0, w - 2 * kMargin),
                         std::max(0, h - kTopAreaHeight - kBottomAreaHeight));

    const int bottomTop = h - kBottomAreaHeight;
    const auto centreY = [&](QWidget* widget) {
        return bottomTop + (kBottomAreaHeight - widget->height()) / 2;
    };
    m_deselectButton->move(kMargin, centreY(m_deselectButton));
    m_selectButton->move(m_deselectButton->geometry().right() + 16, centreY(m_selectButton));
    m_removeButton->sizeToFit();
    m_removeButton->move(w - kMargin - m_removeButton->width(), centreY(m_removeButton));
    m_cancelButton->move(m_removeButton->x() - 16 - m_cancelButton->width(),
                         centreY(m_cancelButton));
    const int middleLeft = m_selectButton->geometry().right() + 16;
    const int middleWidth = std::max(0, m_cancelButton->x() - 16 - middleLeft);
    m_informativeLabel->setGeometry(middleLeft, bottomTop + 14, middleWidth, 20);
    m_progressBar->move(middleLeft + (middleWidth - m_progressBar->width()) / 2, bottomTop + 40);
}

// ---- Sliding.

void SelectedFilesVC::showAnimation() {
    if (m_animating)
        return;
    m_animating = true;
    show();
    if (m_controller)
        m_controller->setRemoveButtonToolTip(QString());
    const auto container = DuplicatesManager::sharedManager().duplicateContainer();
    m_arrRemoveList.assign(container ? container->buildRemoveList() : Items());
    m_hasRemoveList = true;
    listChanged();

    m_mainView->setGeometry(0, -height(), width(), height());
    layoutMainView();
    m_mainView->update();
    ScreenAnimation::setAlphaValue(this, 1.0);
    // The ring of a control the panel covers would lie over the panel: it goes, and the
    // keys go to the panel's list once it is in place.
    if (FocusRing* ring = FocusRing::ring();
        ring && ring->target() && !isAncestorOf(ring->target()))
        ring->hide();
    ScreenAnimation::animate(m_mainView, 1.0, QPoint(0, 0), kSlideMs, [this] {
        m_animating = false;
        m_mainView->update();
        if (window() && window()->isActiveWindow())
            m_table->setFocus(Qt::OtherFocusReason);
    });

    updateAllButtonsAndLabels();
    updateSorting();
    // A run that outlived an earlier panel shows here.
    if (const auto session = RemovalSession::current())
        session->attachPanel(this);
}

void SelectedFilesVC::hideAnimation() {
    if (m_animating)
        return;
    m_animating = true;
    if (m_controller)
        m_controller->setRemoveButtonToolTip(SelectedFilesTexts::reviewAndRemoveToolTip());
    ScreenAnimation::animate(m_mainView, 1.0, QPoint(0, -height()), kSlideMs, [this] {
        m_animating = false;
        hide();
        m_arrRemoveList.clear();
        if (m_controller)
            m_controller->removeSelectedView();
    });
    // The list is gone for every command at once; the rows stay painted while they slide.
    m_hasRemoveList = false;
}

// ---- Labels and buttons.

void SelectedFilesVC::setButtonEnabled(WhiteTitleButton* button, bool enabled) {
    button->setDisabled(!enabled);
    ScreenAnimation::setAlphaValue(button, enabled ? 1.0 : 0.5);
}

void SelectedFilesVC::updateAllButtonsAndLabels() {
    const auto container = DuplicatesManager::sharedManager().duplicateContainer();
    std::uint64_t n = 0, folders = 0, size = 0;
    if (container) {
        n = container->getItemsCountInRemoveList();
        if (const auto category = container->getCategoryWithType(6))
            folders = category->getCountOfActualSelectedItems();
        size = container->getRemoveListTotalSize();
    }
    m_informativeLabel->setText(
        SelectedFilesTexts::informativeLabel(n, folders, size, m_removeIsOn, m_removedSize));
    reloadTable();
    m_informativeLabel->setVisible(size != 0 || m_removedSize != 0);

    const std::size_t listed = removeList().size();
    setButtonEnabled(m_deselectButton, n != 0 && !m_removeIsOn);
    setButtonEnabled(m_selectButton, listed != n && !m_removeIsOn);
    setButtonEnabled(m_cancelButton, !m_removeIsOn);
    setButtonEnabled(m_removeButton, n != 0);

    m_removeButton->setTitle(m_removeIsOn ? SelectedFilesTexts::stopTitle()
                                          : SelectedFilesTexts::removeTitle());
    m_removeButton->setImage(m_removeIsOn ? QStringLiteral("dark_btn_stopdelete")
                                          : QStringLiteral("dark_btn_Remove"));
    m_removeButton->setAlternateImage(m_removeIsOn ? QStringLiteral("dark_btn_stopdelete_click")
                                                   : QStringLiteral("dark_btn_Remove_click"));
    if (m_removeButton->size() != m_removeButton->sizeHint())
        layoutMainView();
    m_removeButton->update();
}

void SelectedFilesVC::scheduleSelectionRefresh() {
    // Every change of a batch, and several batches in one turn, are answered once.
    m_refresh.request();
}

void SelectedFilesVC::removeToTrashSettingsChanged() {
    m_removeButton->setToolTip(Settings::moveCleanedDuplicatesToTheTrashCan()
                                   ? SelectedFilesTexts::removeToTrashToolTip()
                                   : SelectedFilesTexts::removeInstantlyToolTip());
}

// ---- Rows.

void SelectedFilesVC::listChanged() {
    m_model->listChanged();
    refreshVisibleRowFacts();
}

void SelectedFilesVC::reloadTable() {
    m_allowAllCopies = Settings::allowRemovingAllDuplicateCopies();
    refreshVisibleRowFacts();
    m_table->reloadData();
}

void SelectedFilesVC::refreshVisibleRowFacts() {
    m_rowFacts.clear();
    const int count = m_model->rowCount();
    if (count == 0)
        return;
    int first = m_table->rowAt(0);
    int last = m_table->rowAt(m_table->viewport()->height() - 1);
    if (first < 0)
        first = 0;
    if (last < 0)
        last =
            std::min(count - 1,
                     first + m_table->viewport()->height() / SelectedFilesCellView::kRowHeight + 1);
    for (int row = first; row <= last && row < count; ++row) {
        const auto item = m_arrRemoveList.at(std::size_t(row));
        if (!item)
            continue;
        RowFacts facts;
        facts.disabled = item->isMovedByUserOrDeleted();
        facts.date = DateText::shortStringDate(item->getLastModificationDate());
        m_rowFacts.insert(item.get(), facts);
    }
}

SelectedFilesCellView::CellConfiguration SelectedFilesVC::cellConfigurationForRow(int row) const {
    // Painting reads the rows on screen even while the list is logically gone (sliding out).
    const auto item = row >= 0 ? m_arrRemoveList.at(std::size_t(row)) : nullptr;
    const RowFacts facts = item ? m_rowFacts.value(item.get()) : RowFacts();
    return SelectedFilesCellView::configure(item.get(), row, m_selectedDuplicateIndex, m_removeIsOn,
                                            m_allowAllCopies, facts.disabled, facts.date);
}

bool SelectedFilesVC::isRowDisabled(int row) const {
    const auto item = itemAt(row);
    return !item || m_rowFacts.value(item.get()).disabled;
}

const SelectedFilesVC::Items& SelectedFilesVC::removeList() const {
    return m_hasRemoveList ? m_arrRemoveList.items() : emptyItems();
}

std::shared_ptr<DuplicateItem> SelectedFilesVC::itemAt(qint64 row) const {
    const Items& list = removeList();
    return row >= 0 && row < qint64(list.size()) ? list[std::size_t(row)] : nullptr;
}

std::shared_ptr<DuplicateItem> SelectedFilesVC::highlightedItem() const {
    return itemAt(m_selectedDuplicateIndex);
}

bool SelectedFilesVC::isSelectedFileExists() const {
    const auto item = highlightedItem();
    return item && !item->isMovedByUserOrDeleted();
}

// ---- Selection commands.

void SelectedFilesVC::checkboxPressed(int row) {
    m_removedSize = 0;
    const auto item = itemAt(row);
    if (!item)
        return;
    if (item->isSelected()) {
        item->deselectItem();
        return;
    }
    const auto group = item->getGroup();
    const bool lastCopy =
        group && group->getSelectedCountWithDuplicatesFolderContent() + 1 == group->getTotalCount();
    if (!lastCopy) {
        item->selectItemForced(false);
        return;
    }
    if (!Settings::allowRemovingAllDuplicateCopies())
        return;
    if (!Settings::showRemoveLastInCategoriesMessage()) {
        item->selectItemForced(true);
        return;
    }
    selectLastCopyForced(item);
}

void SelectedFilesVC::selectLastCopyForced(const std::shared_ptr<DuplicateItem>& item) {
    const FileSystemItem* node = item->getFileSystemItem();
    auto* box =
        new QMessageBox(QMessageBox::NoIcon, QString(), SelectedFilesTexts::lastCopyMessage(),
                        QMessageBox::Ok | QMessageBox::Cancel, window());
    box->setObjectName(QStringLiteral("removeLastCopyConfirmation"));
    box->setInformativeText(SelectedFilesTexts::lastCopyInformative(
        node && node->isDir(), node ? node->displayName() : QString()));
    box->setCheckBox(new QCheckBox(SelectedFilesTexts::doNotShowAgain(), box));
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    std::weak_ptr<DuplicateItem> weak = item;
    connect(box, &QMessageBox::finished, this, [this, box, weak](int result) {
        if (result == QMessageBox::Ok) {
            if (const auto copy = weak.lock())
                copy->selectItemForced(true);
            if (box->checkBox()->isChecked())
                Settings::setShowRemoveLastInCategoriesMessage(false);
        }
        updateAllButtonsAndLabels();
    });
    box->open();
}

void SelectedFilesVC::disabledCheckboxPressed(int row, const QRect& checkboxRect) {
    Q_UNUSED(row);
    AllowRemovingAllCopiesWC::showControllerAtPosition(
        AllowRemovingAllCopiesWC::screenPointForRect(checkboxRect), window());
}

void SelectedFilesVC::selectAll() {
    m_removedSize = 0;
    DuplicatesGroup::BeginSelectionGroup();
    for (const auto& item : removeList())
        item->selectItemForced(false);
    DuplicatesGroup::EndSelectionGroup();
    updateAllButtonsAndLabels();
}

void SelectedFilesVC::deselectAll() {
    m_removedSize = 0;
    DuplicatesGroup::BeginSelectionGroup();
    for (const auto& item : removeList())
        item->deselectItem();
    DuplicatesGroup::EndSelectionGroup();
    updateAllButtonsAndLabels();
}

// ---- Sorting.

void SelectedFilesVC::sortButtonPressed() {
    if (m_removeIsOn)
        return;
    validateSortMenu();
    const QPoint corner = m_sortByButton->mapToGlobal(QPoint(0, m_sortByButton->height()));
    m_sortMenu->popup(corner + QPoint(-2, 5));
}

void SelectedFilesVC::tryToSetSortType(int type) {
    SortChoice::tryToSetSortType(type);
    setSortByButtonTitle();
}

void SelectedFilesVC::sortBySizePressed() {
    tryToSetSortType(0);
}
void SelectedFilesVC::sortByTypePressed() {
    tryToSetSortType(2);
}
void SelectedFilesVC::sortByNamePressed() {
    tryToSetSortType(3);
}
void SelectedFilesVC::sortBySelectedPressed() {
    tryToSetSortType(5);
}
void SelectedFilesVC::sortByPathPressed() {
    tryToSetSortType(6);
}
void SelectedFilesVC::sortAscendingPressed() {
    Settings::setSortDirection(Settings::SortDirectionAscending);
    setSortByButtonTitle();
}
void SelectedFilesVC::sortByDescendingPressed() {
    Settings::setSortDirection(Settings::SortDirectionDescending);
    setSortByButtonTitle();
}

void SelectedFilesVC::setSortByButtonTitle() {
    const QString title = SelectedFilesTexts::sortButtonTitle(Settings::sortType());
    if (!title.isEmpty()) {
        m_sortByButton->setTitle(title);
        m_sortByButton->sizeToFit();
        layoutMainView();
    }
    AppNotification::CreateSortingTypeChangedNotification();
}

void SelectedFilesVC::validateSortMenu() {
    int type = Settings::sortType();
    if (type == 1 || type == 4)
        type = 0;
    const int direction = Settings::sortDirection();
    for (QAction* action : m_sortMenu->actions()) {
        if (action->isSeparator())
            continue;
        action->setChecked(false);
        const QString title = action->text();
        // Total Size and Count belong to the group lists; here they are shown but disabled.
        action->setEnabled(title != QLatin1String("Total Size") && title != QLatin1String("Count"));
        for (const SortEntry& entry : kSortEntries)
            if (title == QLatin1String(entry.title) && entry.type >= 0 && entry.type == type)
                action->setChecked(true);
        if ((title == QLatin1String("Ascending") && direction == 0) ||
            (title == QLatin1String("Descending") && direction == 1))
            action->setChecked(true);
    }
}

void SelectedFilesVC::updateSorting() {
    const int type = Settings::sortType();
    const int direction = Settings::sortDirection();
    if (type >= 0 && type <= 6)
        m_arrRemoveList.reorder([type, direction](Items& items) {
            SelectedFilesSort::sortItems(items, type, direction);
        });
    listChanged();
    reloadTable();
}

// ---- The highlighted copy.

void SelectedFilesVC::keyPressed(quint16 keyCode) {
    const qint64 count = qint64(removeList().size());
    if (keyCode == kDownArrow)
        m_selectedDuplicateIndex = std::min(m_selectedDuplicateIndex + 1, count - 1);
    else if (keyCode == kUpArrow)
        m_selectedDuplicateIndex = std::max<qint64>(m_selectedDuplicateIndex - 1, 0);
    if (m_selectedDuplicateIndex >= 0 && m_selectedDuplicateIndex < m_model->rowCount())
        m_table->scrollTo(m_model->index(int(m_selectedDuplicateIndex), 0));
    reloadTable();
}

void SelectedFilesVC::tableViewSelectionDidChange() {
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    m_selectedDuplicateIndex = rows.isEmpty() ? -1 : rows.first().row();
    reloadTable();
}

bool SelectedFilesVC::prepareContextMenuForRow(int clickedRow) {
    const bool windowIsKey = window()->isActiveWindow();
    if (!m_animating && !m_removeIsOn && windowIsKey) {
        m_contextMenu->clear();
        if (const auto item = itemAt(clickedRow)) {
            const bool gone = item->isMovedByUserOrDeleted();
            QAction* change =
                m_contextMenu->addAction(item->isSelected() ? QStringLiteral("Deselect")
                                                            : QStringLiteral("Select for Removal"));
            connect(change, &QAction::triggered, this, [this] { changeDuplicateSelection(); });
            m_contextMenu->addSeparator();
            QAction* preview = m_contextMenu->addAction(QStringLiteral("Show Preview"));
            connect(preview, &QAction::triggered, this,
                    [this] { doubleClickOnRow(int(m_selectedDuplicateIndex)); });
            QAction* reveal = m_contextMenu->addAction(QStringLiteral("Show in File Manager"));
            connect(reveal, &QAction::triggered, this, [this] { revealInFinder(); });
            QAction* info = m_contextMenu->addAction(QStringLiteral("Properties"));
            connect(info, &QAction::triggered, this, [this] { getInfo(); });
            for (QAction* action : {preview, reveal, info})
                action->setEnabled(!gone);
        }
    }
    if (!windowIsKey)
        return false;
    m_selectedDuplicateIndex = clickedRow;
    if (clickedRow >= 0 && clickedRow < m_model->rowCount())
        m_table->selectRow(clickedRow);
    else
        m_table->clearSelection();
    m_selectedDuplicateIndex = clickedRow;
    reloadTable();
    return !m_contextMenu->isEmpty();
}

void SelectedFilesVC::changeDuplicateSelection() {
    const auto item = highlightedItem();
    if (!item)
        return;
    if (item->isSelected())
        item->deselectItem();
    else
        item->selectItemForced(Settings::allowRemovingAllDuplicateCopies());
}

void SelectedFilesVC::doubleClickOnRow(int clickedRow) {
    if (m_removeIsOn)
        return;
    const auto item = itemAt(clickedRow);
    if (!item)
        return;
    QuickLookController::sharedQuickLookController().setFileItemByPath(item->getFileItemPath());
    QuickLookController::showPreviewPanel();
}

void SelectedFilesVC::revealInFinder() {
    const auto item = highlightedItem();
    if (item && item->getFileSystemItem())
        FileManagerReveal::revealPath(item->getFileSystemItem()->path());
}

void SelectedFilesVC::revealInFinderPressed(int row) {
    m_selectedDuplicateIndex = row;
    reloadTable();
    revealInFinder();
}

void SelectedFilesVC::getInfo() {
    const auto item = highlightedItem();
    if (item && item->getFileSystemItem())
        FileManagerReveal::showItemProperties(item->getFileSystemItem()->path());
}

void SelectedFilesVC::openFile() {
    const auto item = highlightedItem();
    if (item && item->getFileSystemItem())
        OpenWithApplications::openFile(item->getFileSystemItem()->path());
}
