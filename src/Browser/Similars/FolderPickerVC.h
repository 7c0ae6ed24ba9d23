#pragma once

#include "Browser/Common/QueuedRefresh.h"
#include "Browser/Common/ResultsFrame.h"
#include "Browser/Similars/PickerCheckbox.h"
#include "Browser/Similars/PickerRows.h"

#include <QByteArray>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <unordered_map>
#include <vector>

class FolderSystemItem;
class HeapsFolderData;
class HeapsGroup;
class PickerList;
class QLabel;
class QPushButton;
class SearchTextField;
struct KeyEvent;

// What the folder list of the similar-folders view reports: the chosen folder, or null.
class FolderPickerProtocol {
public:
    virtual ~FolderPickerProtocol() = default;
    virtual void folderSelected(const std::shared_ptr<HeapsFolderData>& folder) = 0;
};

// The pane of the folder list: draws the one-point line above its search band.
class FolderPickerView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderPickerView)

public:
    static constexpr int kSearchBandHeight = 43;
    explicit FolderPickerView(QWidget* parent = nullptr) : QWidget(parent) {}
    // The line in the view's y-up coordinates: x 0, y 43, full width, 1 high.
    static QRectF separatorRect(qreal width) { return {0, kSearchBandHeight, width, 1}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The folder list of the similar-folders view: every folder that has similar folders, with
// the number, size and selection of the copies it shares with them, a whole-folder check
// box on the selected row, a search by name, the global sort, keys, preview and a context
// menu. Choosing a row hands the folder to the results screen (folderSelected).
//
// The folder chosen last is kept by the process-wide CategoryStateManager
// ("MainFolderItem"), so it is found again after every rebuild and when the view is made
// anew. Rows are rebuilt from the model once per batch of selection changes (on the next
// turn of the event loop); what does not change with the selection (names, paths, the
// folder's heaps group) is cached until the result changes. Main thread only.
class FolderPickerVC final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderPickerVC)

public:
    static constexpr const char* kInterfaceName = "FolderPickerVC_DARK";

    explicit FolderPickerVC(QWidget* parent = nullptr);
    ~FolderPickerVC() override;

    void setController(ResultsFrame* controller);
    void setDelegate(FolderPickerProtocol* delegate) { m_delegate = delegate; }

    // Replaces the folders and rebuilds; the row at the selected index is chosen again.
    void setFolderDataArray(std::vector<std::shared_ptr<HeapsFolderData>> folders);
    const std::vector<std::shared_ptr<HeapsFolderData>>& folderDataArray() const {
        return m_heapFolderDataArray;
    }
    // Chooses the listed row whose folder path is |path| exactly; nothing when none is.
    void selectFolderByPath(const QByteArray& path);
    QByteArray getSelectedFilePath() const;
    FolderSystemItem* selectedFolderItem() const { return m_selectedFolderItem; }
    int selectedFolderIndex() const { return m_selectedFolderIndex; }

    void recreateTrueArrayWithSearchKey(const QString& searchKey);
    void updateSorting();
    void pressedRowByIndex(int index);
    void spaceButtonPressed();

    // The search field's text changed (also after the clear button).
    void controlTextDidChange();
    void clearSearchTextPressed();

    // ---- The row button and the commands.
    // The look of row |row|'s button from the model as it is now.
    PickerCheckboxLook checkboxLookForRow(int row) const;
    void checkBoxPressed();
    void disabledCheckboxPressed();
    void duplicateFolderPressed();
    // Selects or deselects the row folder's copies shared with its similar folders.
    void selectDuplicatesForRow(bool select, int row, const HeapsGroup& group, bool forced);
    static bool folderHasDuplicatesToRemove(const HeapsGroup* group, const QByteArray& path);
    void checkBoxForSelectedFolderPressed();
    void showInDuplicateFolders();
    void addFolderToSkipList();
    void revealInFinder();
    void getInfo();
    void deselectAll();
    bool isAnyDuplicatesForDeselect() const;

    // The context menu for a right click at |viewportPoint| of the list: rebuilt, the
    // clicked row chosen, and shown; nothing while the review panel is open or the window
    // is not active. Answers the menu shown, or null.
    QMenu* contextMenuRequested(const QPoint& viewportPoint);
    // The menu's items for row |row| (none below the last row).
    QMenu* buildContextMenuForRow(int row);
    QMenu* contextMenu() const { return m_contextMenu; }
    // The last-copies question while it is open.
    QMessageBox* lastCopiesAlert() const { return m_lastCopiesAlert; }

    // ---- Parts, for the results screen's help and for tests.
    PickerList* list() const { return m_list; }
    // The rows, every count made (a list's rows count their similar selections when read).
    const std::vector<PickerRow>& workingArray() const;
    SearchTextField* searchTextField() const { return m_searchTextField; }
    QLabel* noFolderFoundLabel() const { return m_noFolderFoundLabel; }
    QPushButton* clearSearchTextButton() const { return m_clearSearchTextButton; }
    bool isTableViewActive() const;
    // Gives the folder list the keyboard.
    void makeListFirstResponder();
    // How many times the rows were rebuilt.
    int rebuildCount() const { return m_rebuildCount; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void observeNotifications();
    void scheduleRefresh(bool dataChanged);
    void refresh(bool dataChanged);
    void onContainerDataChanged();
    void keyPressed(const KeyEvent& event);
    void arrowNavigation(int target);
    void quickLookKeyPressed(const KeyEvent& event, int type);
    // Moves the choice one row down or up (Option: to the end); false at the end.
    bool moveSelection(bool down, bool toEnd);
    void tableViewSelectionDidChange(int row);
    void showQuickLookForSelectedFolder();
    struct Cached;
    // The folder's cache entry, its facts read on first use: one lookup per row.
    Cached& cachedFor(const HeapsFolderData& folder);
    // The entries of every folder of the list, in its order (null for a null folder), the
    // facts of those new to the cache read together.
    std::vector<Cached*> cacheEntriesOfFolders();
    std::shared_ptr<HeapsGroup> heapsGroupFor(Cached& cached, const HeapsFolderData& folder);
    std::shared_ptr<HeapsGroup> heapsGroupFor(const HeapsFolderData& folder);
    // True when a rebuild now would give the rows there are (see the source).
    bool rowsAreCurrent() const;
    std::shared_ptr<HeapsFolderData> rowFolderData(int row) const;
    // Answers true when the results screen no longer holds this list.
    bool detached() const;

    ResultsFrame* controller() const;
    ResultsFramePointer m_controller;
    FolderPickerProtocol* m_delegate = nullptr;

    FolderPickerView* m_view = nullptr;
    PickerList* m_list = nullptr;
    SearchTextField* m_searchTextField = nullptr;
    QPushButton* m_clearSearchTextButton = nullptr;
    QLabel* m_noFolderFoundLabel = nullptr;
    QPointer<QMenu> m_contextMenu;
    QPointer<QMessageBox> m_lastCopiesAlert;

    std::vector<std::shared_ptr<HeapsFolderData>> m_heapFolderDataArray;
    mutable std::vector<PickerRow> m_workingArray;
    int m_selectedFolderIndex = 0;
    FolderSystemItem* m_selectedFolderItem = nullptr;
    QString m_searchKey;

    // Per folder, until the result changes.
    struct Cached {
        std::shared_ptr<const PickerFolderFacts> facts;
        std::shared_ptr<HeapsGroup> group;
        bool groupLooked = false;
    };
    std::unordered_map<const HeapsFolderData*, Cached> m_cache;
    QueuedRefresh m_refresh{this, [this](bool dataChanged) { refresh(dataChanged); }};
    int m_rebuildCount = 0;
    // What the rows were last built and sorted for.
    bool m_rowsCurrent = false;
    QString m_rowsSearchKey;
    uint64_t m_rowsContentGeneration = 0;
    bool m_rowsSorted = false;
    int m_rowsSortType = 0;
    int m_rowsSortDirection = 0;
};
