#pragma once

#include "Browser/Common/QueuedRefresh.h"

#include "Browser/Common/ResultsFrame.h"
#include "Browser/Review/SelectedFilesCellView.h"
#include "Browser/Review/SelectedFilesList.h"
#include "Toolkit/AnimationClock.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class BlueTitleButton;
class DuplicateItem;
class ProgressBarRemover;
class QLabel;
class QMenu;
class RemovalSession;
class SelectedFilesModel;
class SelectedFilesView;
class TableViewWithArrowHandling;
class WhiteTitleButton;

// The review-and-remove panel: every copy selected for removal, checked and unchecked one
// by one or all at once, sorted by the shared sort settings, previewed, shown in the file
// manager, and removed by a run (SelectedFilesVCRemoval.cpp, with RemovalSession).
//
// The results screen makes it, places it over itself below the top 41 points and calls
// showAnimation(); after the panel slid out it asks the screen to drop it. The list is
// taken from the container once, when the panel slides in, and is never rebuilt while the
// panel is open: copies unchecked here stay listed, unchecked. Main thread only.
class SelectedFilesVC final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SelectedFilesVC)

public:
    static constexpr const char* kInterfaceName = "SelectedFilesVC_DARK";
    static constexpr int kSlideMs = 1000;
    static constexpr int kRefreshTickMs = 100;
    using Items = std::vector<std::shared_ptr<DuplicateItem>>;

    explicit SelectedFilesVC(QWidget* parent = nullptr);
    ~SelectedFilesVC() override;

    void setController(ResultsFrame* controller);
    ResultsFrame* controller() const;

    // ---- Sliding.
    // Takes the container's remove list and slides the panel in; ignored while sliding.
    void showAnimation();
    // Slides the panel out and has the results screen drop it; ignored while sliding.
    void hideAnimation();
    bool animating() const { return m_animating; }

    // ---- State.
    void updateAllButtonsAndLabels();
    void updateSorting();
    bool removeIsOn() const { return m_removeIsOn; }
    std::uint64_t removedSize() const { return m_removedSize; }
    qint64 selectedDuplicateIndex() const { return m_selectedDuplicateIndex; }
    void setSelectedDuplicateIndex(qint64 index) { m_selectedDuplicateIndex = index; }
    // True when the highlighted row's copy is still on disk.
    bool isSelectedFileExists() const;
    // The listed copies in display order; empty once the panel slides out.
    const Items& removeList() const;
    bool hasRemoveList() const { return m_hasRemoveList; }

    // ---- Selection commands.
    void deselectAll();
    void selectAll();
    void checkboxPressed(int row);
    // The check box of a group's last copy while selecting every copy is not allowed: opens
    // the allow-all-copies popup at the box, |checkboxRect| in global coordinates.
    void disabledCheckboxPressed(int row, const QRect& checkboxRect);

    // ---- Sorting.
    void sortButtonPressed();
    void sortBySizePressed();
    void sortByTypePressed();
    void sortByNamePressed();
    void sortBySelectedPressed();
    void sortByPathPressed();
    void sortAscendingPressed();
    void sortByDescendingPressed();
    void setSortByButtonTitle();
    // Marks the sort menu's items from the stored type and direction.
    void validateSortMenu();

    // ---- The highlighted copy.
    void keyPressed(quint16 keyCode);
    void tableViewSelectionDidChange();
    // Rebuilds the context menu for a right click on |clickedRow| (-1 below the rows) and
    // answers whether it opens.
    bool prepareContextMenuForRow(int clickedRow);
    void changeDuplicateSelection();
    void doubleClickOnRow(int clickedRow);
    void revealInFinder();
    void revealInFinderPressed(int row);
    void getInfo();
    void openFile();

    // ---- The removal run (SelectedFilesVCRemoval.cpp).
    void removeButtonPressed();
    void performRemoveCurrentRemoveListUsingUserSelectedOption();
    // Starts a run of |items| (the container's remove list at this moment when none), or
    // stops the run under way. Nothing while the panel slides.
    void removeItemsToTrash(std::optional<Items> items, bool toTrash);
    void updateTableViewIfNeeded();
    // The run's session reports here while the panel lives.
    void removalDidStart();
    void removalDidRemoveItems(const Items& items, float progress);
    void removalDidFinish(std::uint64_t removedSize);

    // ---- Rows.
    SelectedFilesCellView::CellConfiguration cellConfigurationForRow(int row) const;
    bool isRowDisabled(int row) const;
    // Reloads the rows on screen, with their copies' disk state read afresh.
    void reloadTable();

    // ---- Parts, for the results screen's layout and for tests.
    SelectedFilesView* mainView() const { return m_mainView; }
    TableViewWithArrowHandling* tableViewSelectedFiles() const { return m_table; }
    QLabel* informativeLabel() const { return m_informativeLabel; }
    QLabel* titleLabel() const { return m_titleLabel; }
    QLabel* subtitleLabel() const { return m_subtitleLabel; }
    BlueTitleButton* sortByButton() const { return m_sortByButton; }
    QMenu* sortMenu() const { return m_sortMenu; }
    QMenu* contextMenu() const { return m_contextMenu; }
    WhiteTitleButton* deselectButton() const { return m_deselectButton; }
    WhiteTitleButton* selectButton() const { return m_selectButton; }
    WhiteTitleButton* removeButton() const { return m_removeButton; }
    WhiteTitleButton* cancelButton() const { return m_cancelButton; }
    ProgressBarRemover* progressBar() const { return m_progressBar; }
    SelectedFilesCellView* cellView() const { return m_cellView; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void awakeFromNib();
    void buildContextMenu();
    void layoutMainView();
    void setButtonEnabled(WhiteTitleButton* button, bool enabled);
    void scheduleSelectionRefresh();
    void removeToTrashSettingsChanged();
    void listChanged();
    void refreshVisibleRowFacts();
    void tryToSetSortType(int type);
    std::shared_ptr<DuplicateItem> itemAt(qint64 row) const;
    std::shared_ptr<DuplicateItem> highlightedItem() const;
    void selectLastCopyForced(const std::shared_ptr<DuplicateItem>& item);

    ResultsFramePointer m_controller;
    SelectedFilesList m_arrRemoveList;
    bool m_hasRemoveList = false;
    qint64 m_selectedDuplicateIndex = -1;
    std::uint64_t m_removedSize = 0;
    bool m_removeIsOn = false;
    bool m_animating = false;
    QueuedRefresh m_refresh{this, [this](bool) { updateAllButtonsAndLabels(); }};
    bool m_allowAllCopies = false;
    AnimationClock::Handle m_refreshTimer = 0;

    // Each listed copy's disk state and date, read for the rows on screen at every reload
    // (never while painting).
    struct RowFacts {
        bool disabled = false;
        QString date;
    };
    QHash<const DuplicateItem*, RowFacts> m_rowFacts;

    SelectedFilesView* m_mainView = nullptr;
    SelectedFilesModel* m_model = nullptr;
    TableViewWithArrowHandling* m_table = nullptr;
    SelectedFilesCellView* m_cellView = nullptr;
    QLabel* m_informativeLabel = nullptr;
    QLabel* m_titleLabel = nullptr;
    QLabel* m_subtitleLabel = nullptr;
    BlueTitleButton* m_sortByButton = nullptr;
    QMenu* m_sortMenu = nullptr;
    QMenu* m_contextMenu = nullptr;
    WhiteTitleButton* m_deselectButton = nullptr;
    WhiteTitleButton* m_selectButton = nullptr;
    WhiteTitleButton* m_removeButton = nullptr;
    WhiteTitleButton* m_cancelButton = nullptr;
    ProgressBarRemover* m_progressBar = nullptr;
};
