#include "SelectDuplicatesVC.h"

#include "Browser/Copies/DuplicateSelectionVC.h"
#include "Browser/Frame/CategoryStateManager.h"
#include "Browser/Frame/DuplicateBottombarVC.h"
#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Browser/Frame/ToolbarView.h"
#include "Browser/Overview/OverviewVC.h"
#include "Browser/Review/SelectedFilesVC.h"
#include "Browser/Similars/HeapFilesSelectorVC.h"
#include "Browser/Similars/HeapView.h"
#include "Categories/AppNotification.h"
#include "Categories/Settings.h"
#include "FileTree/FolderSystemItem.h"
#include "Hints/OverlayInfoController.h"
#include "Hints/OverlayInfoView.h"
#include "Platform/KeyEvent.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeaps.h"
#include "Results/DuplicatesManager.h"
#include "Results/HeapsFolderData.h"
#include "Results/HeapsGroup.h"
#include "Screens/CongratulationsVC.h"
#include "Shell/ScreenAnimation.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/Backgrounds.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"
#include "Toolkit/QLPreviewViewMod.h"
#include "Toolkit/QuickLookVC.h"
#include "Toolkit/WhiteTitleButton.h"

#include <QEvent>
#include <QLabel>
#include <QResizeEvent>

namespace {

constexpr int kEscapeKey = 53;
// The review panel comes down just below the toolbar's row of pills, which stays in
// sight and whole while the panel is open.
constexpr int kReviewTopMargin = DuplicateToolbarVC::kPillRowBottom + 2;

// Two stacked panes sharing |length| evenly, the lower one at least |minLower|.
QList<int> evenStack(int length, int minLower) {
    const int t = static_cast<int>(SplitViewWithDivider::dividerThickness());
    const int lower = std::max(minLower, (length - t) / 2);
    return {std::max(0, length - lower - t), lower};
}

// A plain child that fills |parent| and follows its size.
class FillingContainer : public QWidget {
public:
    explicit FillingContainer(QWidget* parent) : QWidget(parent) {}

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        for (QObject* child : children())
            if (auto* w = qobject_cast<QWidget*>(child); w && w->property("fills").toBool())
                w->setGeometry(rect());
    }
};

void fill(QWidget* container, QWidget* view) {
    view->setParent(container);
    view->setProperty("fills", true);
    view->setGeometry(container->rect());
    view->show();
}

template <typename T>
void dropController(QPointer<T>& controller) {
    if (!controller)
        return;
    controller->hide();
    controller->setParent(nullptr);
    controller->deleteLater();
    controller = nullptr;
}

} // namespace

SelectDuplicatesVC::SelectDuplicatesVC(QWidget* parent) : QWidget(parent) {
    setObjectName(QLatin1String(kInterfaceName));
    buildLayout();

    // A new results screen starts with no remembered rows.
    CategoryStateManager::sharedManager().removeGategoryItems();
    CategoryStateManager::sharedManager().removeHeapsItems();

    // The bars lie on their drawn backgrounds, filled in under them.
    fill(m_duplicateToolbarViewContainer, new ToolbarBackgroundView);
    m_duplicatesToolbar = new DuplicateToolbarVC;
    m_duplicatesToolbar->setDelegate(this);
    m_duplicatesToolbar->setController(this);
    fill(m_duplicateToolbarViewContainer, m_duplicatesToolbar);

    fill(m_duplicateBottombarViewContainer, new BottombarBackgroundView);
    m_duplicatesBottombar = new DuplicateBottombarVC;
    m_duplicatesBottombar->setController(this);
    fill(m_duplicateBottombarViewContainer, m_duplicatesBottombar);

    m_selectedDuplicatesFrame = selectedDuplicatesFrameForSize(size());

    auto& center = NotificationCenter::defaultCenter();
    center.addObserver(this, QStringLiteral("BackToWelcomeScreen"),
                       [this](const Notification&) { resetAllDelegates(); });
    center.addObserver(this, QStringLiteral("BackToInterimScreen"),
                       [this](const Notification&) { resetAllDelegates(); });
    center.addObserver(
        this, AppNotification::KeyPressedNotificationName(), [this](const Notification& note) {
            keyPressed(note.userInfo.value(QStringLiteral("Event")).value<KeyEvent>().keyCode);
        });
    AnimationClock::instance().after(kOverviewHintsDelayMs, this, [this] { showOverviewHints(); });
}

SelectDuplicatesVC::~SelectDuplicatesVC() {
    NotificationCenter::defaultCenter().removeObserver(this);
    resetAllDelegates();
    // An overlay left open goes with the screen it explains.
    hideAndDestroyOverlay();
}

void SelectDuplicatesVC::buildLayout() {
    auto container = [this](QWidget* parent) {
        auto* made = new FillingContainer(parent ? parent : this);
        return made;
    };
    m_duplicateToolbarViewContainer = container(this);
    m_duplicateBottombarViewContainer = container(this);

    m_categorySplitView = new SplitViewWithDivider(Qt::Horizontal, this);
    m_fileListContainer = container(m_categorySplitView);
    m_categoryRightSplitView = container(m_categorySplitView);
    m_categorySplitView->addWidget(m_fileListContainer);
    m_categorySplitView->addWidget(m_categoryRightSplitView);
    m_quickLookAndSelectionSplitView = new SplitViewWithDivider(Qt::Vertical);
    fill(m_categoryRightSplitView, m_quickLookAndSelectionSplitView);
    m_quickLookContainer = container(m_quickLookAndSelectionSplitView);
    m_duplicateSelectionContainer = container(m_quickLookAndSelectionSplitView);
    m_quickLookAndSelectionSplitView->addWidget(m_quickLookContainer);
    m_quickLookAndSelectionSplitView->addWidget(m_duplicateSelectionContainer);
    m_categorySplitView->setSizes({365, 600});
    // Where the platform would share a size change out, the fixed panes keep theirs.
    m_categorySplitView->setStretchFactor(1, 1);
    m_quickLookAndSelectionSplitView->setStretchFactor(0, 1);

    m_quickLookAndSelectionSplitView->setSizes({300, 300});

    m_heapsSplitView = new SplitViewWithDivider(Qt::Horizontal, this);
    m_rootFolderViewContainer = container(m_heapsSplitView);
    m_selectedFolderViewContainer = container(m_heapsSplitView);
    m_heapRightView = container(m_heapsSplitView);
    m_heapsSplitView->addWidget(m_rootFolderViewContainer);
    m_heapsSplitView->addWidget(m_selectedFolderViewContainer);
    m_heapsSplitView->addWidget(m_heapRightView);
    m_heapsSelectionSplitView = new SplitViewWithDivider(Qt::Vertical);
    fill(m_heapRightView, m_heapsSelectionSplitView);
    m_heapViewContainer = container(m_heapsSelectionSplitView);
    m_heapFilesSelectorVCContainer = container(m_heapsSelectionSplitView);
    m_heapsSelectionSplitView->addWidget(m_heapViewContainer);
    m_heapsSelectionSplitView->addWidget(m_heapFilesSelectorVCContainer);
    m_heapsSplitView->setSizes({280, 280, 500});
    m_heapsSelectionSplitView->setSizes({300, 200});
    m_heapsSplitView->setStretchFactor(2, 1);
    m_heapsSelectionSplitView->setStretchFactor(0, 1);

    m_labelSimilarFolders =
        new QLabel(QStringLiteral("Similar Folders"), m_selectedFolderViewContainer);
    m_labelSimilarFolders->setFont(Fonts::font(13, Fonts::Weight::Medium));
    m_labelSimilarFolders->setAlignment(Qt::AlignCenter);

    for (SplitViewWithDivider* split : {m_categorySplitView, m_quickLookAndSelectionSplitView,
                                        m_heapsSplitView, m_heapsSelectionSplitView}) {
        split->setChildrenCollapsible(false);
        split->installEventFilter(this);
    }
    m_selectedFolderViewContainer->installEventFilter(this);
    m_categorySplitView->hide();
    m_heapsSplitView->hide();
    m_duplicateBottombarViewContainer->hide();
}

QRectF SelectDuplicatesVC::selectedDuplicatesFrameForSize(const QSizeF& size) {
    return QRectF(8, 51, size.width() - 16, size.height() - 165);
}

void SelectDuplicatesVC::placeSplit(SplitViewWithDivider* split) {
    const QRectF f = m_selectedDuplicatesFrame;
    split->setGeometry(
        QRectF(f.x(), height() - f.y() - f.height(), f.width(), f.height()).toRect());
}

void SelectDuplicatesVC::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_duplicateToolbarViewContainer->setGeometry(0, 0, width(), kToolbarHeight);
    m_duplicateBottombarViewContainer->setGeometry(0, height() - kBottombarHeight, width(),
                                                   kBottombarHeight);
    m_selectedDuplicatesFrame = selectedDuplicatesFrameForSize(size());
    placeSplit(m_categorySplitView);
    placeSplit(m_heapsSplitView);
    if (m_overviewVC)
        m_overviewVC->setGeometry(0, kToolbarHeight, width(), height() - kToolbarHeight);
    if (m_clipView)
        m_clipView->setGeometry(0, kReviewTopMargin, width(), height() - kReviewTopMargin);
    if (m_snapshotView)
        m_snapshotView->raise();
    refreshHelpRectangles();
}

void SelectDuplicatesVC::applyLayerStaffForContainerAndView(QWidget* container, QWidget* view) {
    fill(container, view);
    view->setAutoFillBackground(true);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Window, Palette::commonPanelBackgroundColor());
    view->setPalette(palette);
}

QuickLookVC* SelectDuplicatesVC::quickLookVC() const {
    return m_quickLookVC;
}

// ---- The main window's side.

void SelectDuplicatesVC::showScanResultsViewAnimationComleted() {
    m_resultsViewShown = true;
    if (m_overviewVC)
        m_overviewVC->showHintsAnimated(false);
}

void SelectDuplicatesVC::showOverviewHints() {
    if (m_overviewVC)
        m_overviewVC->showHintsAnimated(true);
}

void SelectDuplicatesVC::pressOverviewButton() {
    m_duplicatesToolbar->overviewButtonPressed(m_duplicatesToolbar->overviewButton());
}

void SelectDuplicatesVC::resetAllDelegates() {
    if (m_overviewVC)
        m_overviewVC->hideHints();
    for (SplitViewWithDivider* split : {m_categorySplitView, m_quickLookAndSelectionSplitView,
                                        m_heapsSplitView, m_heapsSelectionSplitView})
        if (split)
            split->setDelegate(nullptr);
}

void SelectDuplicatesVC::keyPressed(int keyCode) {
    if (keyCode == kEscapeKey)
        hideAndDestroyOverlay();
}

// ---- Swaps.

void SelectDuplicatesVC::showOverview() {
    m_state = StateOverview;
    AppNotification::CreateBackgroundTypeChangedNotificationWithType(BackgroundTypeResultsOverview);
    m_duplicateBottombarViewContainer->hide();

    dropController(m_overviewVC);
    auto* overview = new OverviewVC(this);
    overview->setGeometry(0, kToolbarHeight, width(), height() - kToolbarHeight);
    overview->setController(this);
    overview->loadAllViewsWithVisiblePieChart(m_overviewPiechartVisible);
    ScreenAnimation::setAlphaValue(overview, 0);
    overview->show();
    overview->raise();
    m_overviewVC = overview;
    if (m_firstLoad)
        m_firstLoad = false;
    else
        overview->showHintsAnimated(false);

    ScreenAnimation::animate(overview, 1.0, std::nullopt, kOverviewSwapMs);
    for (QWidget* split :
         {static_cast<QWidget*>(m_categorySplitView), static_cast<QWidget*>(m_heapsSplitView)})
        if (split->isVisible())
            ScreenAnimation::animate(split, 0.0, std::nullopt, kOverviewSwapMs, [this, split] {
                if ((split == m_categorySplitView && m_state != 1) ||
                    (split == m_heapsSplitView && m_state != 2))
                    split->hide();
            });
    AnimationClock::instance().after(kOverviewSwapMs, this, [this] {
        resetSelectedFilesController();
        resetHeapsController();
        if (m_state == StateOverview)
            runFirstTimeOverlayStep(StateOverview);
    });
}

void SelectDuplicatesVC::showSelectedFilesViewForCategory(int type) {
    m_state = StateCategory;
    m_selectedDuplicatesFrame = selectedDuplicatesFrameForSize(size());

    QPointer<QWidget> snapshot;
    if (m_categorySplitView->isVisible()) {
        // A switch between categories cross-fades from a picture of the old lists.
        auto* picture = new QLabel(this);
        picture->setPixmap(m_categorySplitView->grab());
        picture->setGeometry(m_categorySplitView->geometry());
        picture->show();
        picture->raise();
        snapshot = picture;
        m_snapshotView = picture;
    }

    m_duplicateBottombarViewContainer->show();
    placeSplit(m_categorySplitView);
    m_categorySplitView->hide();
    m_categorySplitView->raise();
    m_categorySplitView->setDelegate(this);
    m_quickLookAndSelectionSplitView->setDelegate(this);

    if (!m_quickLookVC) {
        m_quickLookVC = new QuickLookVC;
        applyLayerStaffForContainerAndView(m_quickLookContainer, m_quickLookVC);
    }
    if (!m_fileListVC) {
        m_fileListVC = new FileListVC;
        m_fileListVC->setController(this);
        m_fileListVC->setDelegate(this);
        applyLayerStaffForContainerAndView(m_fileListContainer, m_fileListVC);
        const int total = m_categorySplitView->width() -
                          static_cast<int>(SplitViewWithDivider::dividerThickness());
        m_categorySplitView->setSizes({365, std::max(0, total - 365)});
    }
    if (!m_duplicateSelectionVC) {
        m_duplicateSelectionVC = new DuplicateSelectionVC;
        m_duplicateSelectionVC->setController(this);
        applyLayerStaffForContainerAndView(m_duplicateSelectionContainer, m_duplicateSelectionVC);
        // The hidden split view has no size of its own yet: size its panes from the frame.
        m_quickLookAndSelectionSplitView->setSizes(
            evenStack(static_cast<int>(m_selectedDuplicatesFrame.height()), 200));
    }
    m_duplicateSelectionVC->setDuplicateType(type);
    m_fileListVC->setDuplicatesGroupArrayType(type);

    hideOverviewAndDropItUnlessShownAgain();
    if (m_heapsSplitView->isVisible())
        m_heapsSplitView->hide();
    ScreenAnimation::setAlphaValue(m_categorySplitView, 0);
    m_categorySplitView->show();
    ScreenAnimation::animate(m_categorySplitView, 1.0, std::nullopt, kSwapMs);

    AppNotification::CreateBackgroundTypeChangedNotificationWithType(BackgroundTypeResultsCategory);
    updateOverlayHintFrameValues();
    m_fileListVC->makeTableViewActive();

    AnimationClock::instance().after(kSwapMs, this, [this, snapshot] {
        if (snapshot) {
            if (m_snapshotView == snapshot)
                m_snapshotView = nullptr;
            snapshot->deleteLater();
        }
        resetHeapsController();
        if (m_state == StateCategory)
            runFirstTimeOverlayStep(StateCategory);
    });
}

void SelectDuplicatesVC::showHeapView() {
    m_state = StateSimilars;
    m_selectedDuplicatesFrame = selectedDuplicatesFrameForSize(size());
    m_duplicateBottombarViewContainer->show();
    placeSplit(m_heapsSplitView);
    m_heapsSplitView->show();
    m_heapsSplitView->raise();
    m_heapsSplitView->setDelegate(this);
    m_heapsSelectionSplitView->setDelegate(this);

    if (!m_heapView) {
        m_heapView = new HeapView;
        m_heapView->setController(this);
        fill(m_heapViewContainer, m_heapView);
    }
    if (!m_folderPickerVC) {
        const int t = static_cast<int>(SplitViewWithDivider::dividerThickness());
        const int width = static_cast<int>(m_selectedDuplicatesFrame.width());
        const std::vector<int> sizes =
            heapsSplitSizes(width, {kOpeningSimilarsListWidth, kOpeningSimilarsListWidth, 0}, t);
        m_heapsSplitView->setSizes(QList<int>(sizes.begin(), sizes.end()));
        m_heapsSelectionSplitView->setSizes(
            evenStack(static_cast<int>(m_selectedDuplicatesFrame.height()), 31));
        m_folderPickerVC = new FolderPickerVC;
        m_folderPickerVC->setDelegate(this);
        m_folderPickerVC->setController(this);
        applyLayerStaffForContainerAndView(m_rootFolderViewContainer, m_folderPickerVC);
    }
    if (!m_heapsPickerVC) {
        m_heapsPickerHost = new FillingContainer(m_selectedFolderViewContainer);
        m_heapsPickerHost->setGeometry(
            0, kSimilarsCaptionHeight, m_selectedFolderViewContainer->width(),
            m_selectedFolderViewContainer->height() - kSimilarsCaptionHeight);
        m_heapsPickerHost->show();
        m_heapsPickerVC = new HeapsPickerVC;
        QPalette palette = m_labelSimilarFolders->palette();
        palette.setColor(QPalette::WindowText, Palette::toolbarButtonsTextColor());
        m_labelSimilarFolders->setPalette(palette);
        m_heapsPickerVC->setDelegate(this);
        m_heapsPickerVC->setController(this);
        applyLayerStaffForContainerAndView(m_heapsPickerHost, m_heapsPickerVC);
    }
    if (!m_heapFilesSelectorVC) {
        m_heapFilesSelectorVC = new HeapFilesSelectorVC;
        m_heapFilesSelectorVC->setController(this);
        applyLayerStaffForContainerAndView(m_heapFilesSelectorVCContainer, m_heapFilesSelectorVC);
    }

    std::vector<std::shared_ptr<HeapsFolderData>> folders;
    auto container = DuplicatesManager::sharedManager().duplicateContainer();
    if (container && container->getHeaps())
        for (const auto& [path, data] : container->getHeaps()->getAllFoldersData())
            folders.push_back(data);
    m_folderPickerVC->setFolderDataArray(std::move(folders));

    ScreenAnimation::setAlphaValue(m_heapsSplitView, 0);
    hideOverviewAndDropItUnlessShownAgain();
    if (m_categorySplitView->isVisible())
        m_categorySplitView->hide();
    ScreenAnimation::animate(m_heapsSplitView, 1.0, std::nullopt, kSwapMs);
    AppNotification::CreateBackgroundTypeChangedNotificationWithType(BackgroundTypeResultsSimilars);

    AnimationClock::instance().after(kSwapMs, this, [this] {
        resetSelectedFilesController();
        if (m_state == StateSimilars)
            runFirstTimeOverlayStep(StateSimilars);
    });
}

void SelectDuplicatesVC::resetSelectedFilesController() {
    if (m_state == StateCategory)
        return;
    dropController(m_quickLookVC);
    dropController(m_fileListVC);
    dropController(m_duplicateSelectionVC);
}

void SelectDuplicatesVC::resetHeapsController() {
    if (m_state == StateSimilars)
        return;
    dropController(m_heapView);
    dropController(m_folderPickerVC);
    dropController(m_heapsPickerVC);
    dropController(m_heapFilesSelectorVC);
    if (m_heapsPickerHost) {
        m_heapsPickerHost->deleteLater();
        m_heapsPickerHost = nullptr;
    }
}

void SelectDuplicatesVC::hideAndRemoveAllSubviews() {
    QList<QPointer<QWidget>> views = {m_overviewVC.data(), m_categorySplitView, m_heapsSplitView,
                                      m_selectedFilesVC.data()};
    for (const QPointer<QWidget>& view : views)
        if (view && view->isVisible())
            ScreenAnimation::animate(view, 0.0, std::nullopt, kSwapMs);
    AnimationClock::instance().after(kSwapMs, this, [views] {
        for (const QPointer<QWidget>& view : views)
            if (view)
                view->hide();
    });
}

// ---- Selections.

void SelectDuplicatesVC::groupSelected(const std::shared_ptr<DuplicatesGroup>& group) {
    const bool hasItems = group && group->getTotalCount() > 0;
    if (m_quickLookVC) {
        auto first = hasItems ? group->getFirstItem() : nullptr;
        m_quickLookVC->loadFileByItem(first ? first->getFileSystemItem() : nullptr);
    }
    if (m_duplicateSelectionVC)
        m_duplicateSelectionVC->loadGroup(hasItems ? group : nullptr);
}

void SelectDuplicatesVC::folderSelected(const std::shared_ptr<HeapsFolderData>& folder) {
    std::vector<std::shared_ptr<DuplicatesHeap>> heaps;
    auto container = DuplicatesManager::sharedManager().duplicateContainer();
    if (folder && folder->getFolderSystemItem() && container && container->getHeaps())
        if (auto group = container->getHeaps()->buildHeapsGroupForFolderWithPath(
                folder->getFolderSystemItem()->path()))
            heaps = group->buildAllSubHeapsArray();
    if (m_heapFilesSelectorVC)
        m_heapFilesSelectorVC->setHeap(nullptr);
    if (m_heapsPickerVC)
        m_heapsPickerVC->setHeapsArray(std::move(heaps));
}

void SelectDuplicatesVC::heapSelected(const std::shared_ptr<DuplicatesHeap>& heap) {
    if (m_heapFilesSelectorVC)
        m_heapFilesSelectorVC->setHeap(heap);
    if (m_heapView)
        m_heapView->setDuplicatesHeap(heap);
    updateOverlayHintFrameValues();
    m_heapsSelectionSplitView->update();
    if (m_heapView)
        m_heapView->removeQuickLook();
}

void SelectDuplicatesVC::heapGroupSelectedWithFile(FileSystemItem* item) {
    if (!m_heapView)
        return;
    if (item) {
        m_heapView->addQuickLookWithFile(item);
    } else {
        m_heapView->removeQuickLook();
        m_heapView->update();
    }
}

// ---- Jumps.

void SelectDuplicatesVC::showDuplicateItemInCategory(const std::shared_ptr<DuplicateItem>& item) {
    auto group = item ? item->getGroup() : nullptr;
    if (!group)
        return;
    auto category = group->getCategory();
    const int type = category ? category->getType() : -2;
    if (type >= 0 && type <= 6)
        m_duplicatesToolbar->pressButtonForCategoryType(type);
    if (m_fileListVC)
        m_fileListVC->selectRowByGroup(group);
    if (m_duplicateSelectionVC)
        m_duplicateSelectionVC->selectRowByItem(item);
}

void SelectDuplicatesVC::showFolderInDuplicateFolders(const FileSystemItem* folder) {
    DuplicateItem* own = folder ? folder->getDuplicateItem() : nullptr;
    if (!own)
        return;
    std::shared_ptr<DuplicateItem> shown = own->shared_from_this();
    if (auto top = shown->getAssociatedDuplicateFolder())
        shown = std::move(top);
    showDuplicateItemInCategory(shown);
}

void SelectDuplicatesVC::showHeapFromFolderCategoryWithPath(const QByteArray& path) {
    m_duplicatesToolbar->heapsButtonPressed(m_duplicatesToolbar->heapsButton());
    if (m_folderPickerVC)
        m_folderPickerVC->selectFolderByPath(path);
}

void SelectDuplicatesVC::showGroupArrayWithType(
    std::vector<std::shared_ptr<DuplicatesGroup>> groups, int type) {
    if (type >= -1 && type <= 6)
        m_duplicatesToolbar->pressButtonForCategoryType(type);
    if (m_fileListVC)
        m_fileListVC->setDuplicatesGroupArrayWithType(std::move(groups), type);
}

// ---- Review panel.

void SelectDuplicatesVC::openSelectedFilesView() {
    if (m_selectedFilesVC)
        return;
    m_selectedFilesVC = new SelectedFilesVC;
    m_selectedFilesVC->setController(this);
    auto* clip = new FillingContainer(this);
    clip->setGeometry(0, kReviewTopMargin, width(), height() - kReviewTopMargin);
    fill(clip, m_selectedFilesVC);
    clip->show();
    clip->raise();
    m_clipView = clip;
    m_selectedFilesVC->showAnimation();
}

void SelectDuplicatesVC::removeSelectedView() {
    dropController(m_selectedFilesVC);
    if (!m_clipView)
        return;
    QPointer<QWidget> clip = m_clipView;
    m_clipView = nullptr;
    ScreenAnimation::animate(clip, 0.0, std::nullopt, 100, [clip] {
        if (clip)
            clip->deleteLater();
    });
}

void SelectDuplicatesVC::showCongratulationsView(quint64 removedSize,
                                                 const QStringList& scannedFolders) {
    if (m_congratulationsVC)
        m_congratulationsVC->deleteLater();
    auto* congratulations = new CongratulationsVC(this);
    m_congratulationsVC = congratulations;
    congratulations->setGeometry(rect());
    congratulations->show();
    congratulations->raise();
    congratulations->showViewAnimatiedWithRemovedSizeAndScannedFolders(removedSize, scannedFolders);
}

CongratulationsVC* SelectDuplicatesVC::congratulationsController() const {
    return m_congratulationsVC;
}

void SelectDuplicatesVC::hideOverviewAndDropItUnlessShownAgain() {
    if (!m_overviewVC)
        return;
    // The completion reads the state then: a swap back to the overview meanwhile keeps it.
    QPointer<OverviewVC> overview = m_overviewVC;
    // The fade runs on the overview's clock: the screen may be gone by its end.
    QPointer<SelectDuplicatesVC> self = this;
    overview->hideWithCompletion([this, self, overview] {
        if (self && overview && m_state != StateOverview) {
            if (m_overviewVC == overview)
                m_overviewVC = nullptr;
            QPointer<OverviewVC> gone = overview;
            dropController(gone);
        }
    });
}
