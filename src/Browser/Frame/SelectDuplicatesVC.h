#pragma once

#include "Browser/Common/ResultsFrame.h"
#include "Browser/Copies/DuplicateSelectionVC.h"
#include "Browser/Frame/DuplicateBottombarVC.h"
#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Browser/GroupList/FileListVC.h"
#include "Browser/Overview/OverviewVC.h"
#include "Browser/Review/SelectedFilesVC.h"
#include "Browser/Similars/FolderPickerVC.h"
#include "Browser/Similars/HeapFilesSelectorVC.h"
#include "Browser/Similars/HeapView.h"
#include "Browser/Similars/HeapsPickerVC.h"
#include "Hints/OverlayInfoHost.h"
#include "Toolkit/SplitViewWithDivider.h"

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class DuplicateBottombarVC;
class DuplicateItem;
class DuplicateSelectionVC;
class HeapFilesSelectorVC;
class HeapView;
class OverviewVC;
class QLabel;
class QuickLookVC;
class SelectedFilesVC;
class FileSystemItem;
class CongratulationsVC;
class OverlayInfoController;

// The results screen. It owns the category toolbar and the bottom bar for its whole life
// and swaps three states between them: the overview (0), the category view (1: group
// list, preview and copies table) and the similar-folders view (2). The main window
// controller makes it for a finished scan with duplicates, hands it the scanned folders,
// presses its overview button and slides it in.
//
// Swaps never tear down what is on screen: the state changes at the start of a swap and
// every completion looks at the state current when it runs.
class SelectDuplicatesVC : public QWidget,
                           public ResultsFrame,
                           public ToolbarProtocolDelegate,
                           public FileListProtocol,
                           public FolderPickerProtocol,
                           public HeapsPickerProtocol,
                           public SplitViewWithDividerDelegate,
                           public OverlayInfoHost {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SelectDuplicatesVC)

public:
    static constexpr const char* kInterfaceName = "SelectDuplicatesVC";
    static constexpr int kToolbarHeight = 100;
    static constexpr int kBottombarHeight = 45;
    static constexpr int kOverviewSwapMs = 1500;
    static constexpr int kSwapMs = 1000;
    static constexpr int kOverviewHintsDelayMs = 1500;

    explicit SelectDuplicatesVC(QWidget* parent = nullptr);
    ~SelectDuplicatesVC() override;

    // ---- The main window's side.
    void setScannedFolders(const QStringList& folders) { m_scannedFolders = folders; }
    QStringList scannedFolders() const override { return m_scannedFolders; }
    void setAnimating(bool animating) { m_animating = animating; }
    bool animating() const override { return m_animating; }
    void showScanResultsViewAnimationComleted();
    bool resultsViewShown() const { return m_resultsViewShown; }
    void resetAllDelegates();
    // Presses the toolbar's Overview button.
    void pressOverviewButton() override;
    // Once no duplicate is left: lays the congratulations screen over this screen, framed to
    // its bounds, and shows it with the bytes removed from these results and, when the
    // results ran empty without a removal, the scan's folders.
    void showCongratulationsView(quint64 removedSize, const QStringList& scannedFolders) override;
    CongratulationsVC* congratulationsController() const override;

    // ---- What the views inside ask of the screen.
    QWidget* frameWidget() override { return this; }
    void pressButtonForCategoryType(int type) override;
    void chooseCategory(int type) override;
    void pressSimilarsButton() override;
    void setRemoveIsOn(bool on) override;
    std::uint64_t deletedSize() const override;
    void addDeletedSize(std::uint64_t size) override;
    void setRemoveButtonToolTip(const QString& tip) override;
    bool reviewPanelOpen() const override { return m_selectedFilesVC; }
    std::optional<QByteArray> selectedCopyPath() const override;

    // ---- Toolbar delegate.
    void overviewPressed() override { showOverview(); }
    void allFilesPressed() override { showSelectedFilesViewForCategory(-1); }
    void picturesPressed() override { showSelectedFilesViewForCategory(0); }
    void moviesPressed() override { showSelectedFilesViewForCategory(1); }
    void musicPressed() override { showSelectedFilesViewForCategory(2); }
    void documentsPressed() override { showSelectedFilesViewForCategory(3); }
    void archivesPressed() override { showSelectedFilesViewForCategory(4); }
    void othersPressed() override { showSelectedFilesViewForCategory(5); }
    void foldersPressed() override { showSelectedFilesViewForCategory(6); }
    void heapsPressed() override { showHeapView(); }

    // ---- View swaps and tear-downs.
    void showOverview();
    void showSelectedFilesViewForCategory(int type);
    void showHeapView();
    void resetSelectedFilesController();
    void resetHeapsController();
    void hideAndRemoveAllSubviews() override;

    // ---- Selections reported by the children.
    void groupSelected(const std::shared_ptr<DuplicatesGroup>& group) override;
    void folderSelected(const std::shared_ptr<HeapsFolderData>& folder) override;
    void heapSelected(const std::shared_ptr<DuplicatesHeap>& heap) override;
    void heapGroupSelectedWithFile(FileSystemItem* item) override;

    // ---- Jumps from other views.
    void showDuplicateItemInCategory(const std::shared_ptr<DuplicateItem>& item) override;
    // A folder that is itself a copy, shown among the folders through the outermost duplicate
    // folder it lies in (itself when none); nothing for a folder that is no copy.
    void showFolderInDuplicateFolders(const FileSystemItem* folder) override;
    void showHeapFromFolderCategoryWithPath(const QByteArray& path) override;
    void showGroupArrayWithType(std::vector<std::shared_ptr<DuplicatesGroup>> groups,
                                int type) override;

    // ---- Review panel.
    void openSelectedFilesView();
    void removeSelectedView() override;

    // ---- Help overlay.
    // The overlay screens for a state; empty for an unknown state.
    static QList<int> overlayScreensForState(int state, bool heapsChartVisible,
                                             bool pieChartVisible);
    bool showOverlayInfo(std::function<void()> closeBlock) override;
    void
    appendOverlayInfoViewController(std::unique_ptr<OverlayInfoController> controller) override;
    void hideAndDestroyOverlay() override;
    OverlayInfoController* overlayInfoViewController() const;
    void updateOverlayHintFrameValues() override;
    // Rewrites every help rectangle that this screen and its toolbar and bottom bar own, and
    // has an open overlay redraw when any of them moved. Runs whenever the screen's frame
    // changes, since rectangles in the window's y-up coordinates move with its height.
    void refreshHelpRectangles();
    void showOverviewHints();

    // ---- Split views. Pane sizes along the split after a resize to |length|.
    static std::vector<int> categorySplitSizes(int length, const std::vector<int>& old, int t);
    static std::vector<int> quickLookSplitSizes(int length, const std::vector<int>& old, int t);
    static std::vector<int> heapsSplitSizes(int length, const std::vector<int>& old, int t);
    static std::vector<int> heapsSelectionSplitSizes(int length, const std::vector<int>& old,
                                                     int t);
    enum class SplitKind { Category, QuickLookAndSelection, Heaps, HeapsSelection, Other };
    // The divider's limits from the nearest and farthest places the platform would allow
    // (the start of the pane before it and the end of the pane after it).
    static std::pair<qreal, qreal> dividerLimits(SplitKind kind, int divider, qreal proposedMin,
                                                 qreal proposedMax);
    qreal splitViewConstrainMinCoordinateOfSubviewAt(SplitViewWithDivider* split, qreal proposed,
                                                     int divider) override;
    qreal splitViewConstrainMaxCoordinateOfSubviewAt(SplitViewWithDivider* split, qreal proposed,
                                                     int divider) override;
    // y-up frame of the category and similar-folders views for a screen of |size|.
    static QRectF selectedDuplicatesFrameForSize(const QSizeF& size);

    // ---- Getters.
    int state() const override { return m_state; }
    DuplicateToolbarVC* duplicatesToolbar() const { return m_duplicatesToolbar; }
    DuplicateBottombarVC* duplicatesBottombar() const { return m_duplicatesBottombar; }
    OverviewVC* overviewVC() const { return m_overviewVC; }
    FileListVC* fileListVC() const { return m_fileListVC; }
    QuickLookVC* quickLookVC() const override;
    DuplicateSelectionVC* duplicateSelectionVC() const { return m_duplicateSelectionVC; }
    FolderPickerVC* folderPickerVC() const override { return m_folderPickerVC; }
    HeapsPickerVC* heapsPickerVC() const override { return m_heapsPickerVC; }
    HeapView* heapView() const { return m_heapView; }
    HeapFilesSelectorVC* heapFilesSelectorVC() const override { return m_heapFilesSelectorVC; }
    SelectedFilesVC* selectedFilesVC() const { return m_selectedFilesVC; }
    bool overviewPiechartVisible() const { return m_overviewPiechartVisible; }
    void setOverviewPiechartVisible(bool visible) override { m_overviewPiechartVisible = visible; }
    bool overviewHeapsChartVisible() const { return m_overviewHeapsChartVisible; }
    void setOverviewHeapsChartVisible(bool visible) override {
        m_overviewHeapsChartVisible = visible;
    }
    SplitViewWithDivider* categorySplitView() const { return m_categorySplitView; }
    SplitViewWithDivider* quickLookAndSelectionSplitView() const {
        return m_quickLookAndSelectionSplitView;
    }
    SplitViewWithDivider* heapsSplitView() const { return m_heapsSplitView; }
    SplitViewWithDivider* heapsSelectionSplitView() const { return m_heapsSelectionSplitView; }
    QWidget* duplicateToolbarViewContainer() const { return m_duplicateToolbarViewContainer; }
    QWidget* duplicateBottombarViewContainer() const { return m_duplicateBottombarViewContainer; }
    QWidget* snapshotView() const { return m_snapshotView; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The height of the caption above the heaps picker.
    static constexpr int kSimilarsCaptionHeight = 49;
    // Opening width of each Similars list where the layout leaves it free.
    static constexpr int kOpeningSimilarsListWidth = 280;

    // Fades the overview out and releases it once hidden, unless it was shown again.
    void hideOverviewAndDropItUnlessShownAgain();
    void buildLayout();
    void placeSplit(SplitViewWithDivider* split);
    static void applyLayerStaffForContainerAndView(QWidget* container, QWidget* view);
    void runFirstTimeOverlayStep(int state);
    SplitKind kindOf(const SplitViewWithDivider* split) const;
    void keyPressed(int keyCode);

    QStringList m_scannedFolders;
    bool m_animating = false;
    bool m_resultsViewShown = false;
    bool m_firstLoad = true;
    bool m_overviewPiechartVisible = false;
    bool m_overviewHeapsChartVisible = false;
    int m_state = StateOverview;
    QRectF m_selectedDuplicatesFrame;

    DuplicateToolbarVC* m_duplicatesToolbar = nullptr;
    DuplicateBottombarVC* m_duplicatesBottombar = nullptr;
    QPointer<OverviewVC> m_overviewVC;
    QPointer<FileListVC> m_fileListVC;
    QPointer<QuickLookVC> m_quickLookVC;
    QPointer<DuplicateSelectionVC> m_duplicateSelectionVC;
    QPointer<FolderPickerVC> m_folderPickerVC;
    QPointer<HeapsPickerVC> m_heapsPickerVC;
    QPointer<HeapView> m_heapView;
    QPointer<HeapFilesSelectorVC> m_heapFilesSelectorVC;
    QPointer<SelectedFilesVC> m_selectedFilesVC;
    QPointer<QWidget> m_clipView;
    std::unique_ptr<OverlayInfoController> m_overlayInfoViewController;
    QPointer<QWidget> m_snapshotView;
    QPointer<CongratulationsVC> m_congratulationsVC;

    QWidget* m_duplicateToolbarViewContainer = nullptr;
    QWidget* m_duplicateBottombarViewContainer = nullptr;
    SplitViewWithDivider* m_categorySplitView = nullptr;
    QWidget* m_fileListContainer = nullptr;
    QWidget* m_categoryRightSplitView = nullptr;
    SplitViewWithDivider* m_quickLookAndSelectionSplitView = nullptr;
    QWidget* m_quickLookContainer = nullptr;
    QWidget* m_duplicateSelectionContainer = nullptr;
    SplitViewWithDivider* m_heapsSplitView = nullptr;
    QWidget* m_rootFolderViewContainer = nullptr;
    QWidget* m_selectedFolderViewContainer = nullptr;
    QWidget* m_heapRightView = nullptr;
    SplitViewWithDivider* m_heapsSelectionSplitView = nullptr;
    QWidget* m_heapViewContainer = nullptr;
    QWidget* m_heapFilesSelectorVCContainer = nullptr;
    QLabel* m_labelSimilarFolders = nullptr;
    QWidget* m_heapsPickerHost = nullptr;
};
