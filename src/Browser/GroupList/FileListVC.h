#pragma once

#include "Browser/Common/QueuedRefresh.h"
#include "Browser/Common/ResultsFrame.h"
#include "Browser/GroupList/GroupListRows.h"
#include "Platform/KeyEvent.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

class CongratulationsVC;
class DuplicatesGroup;
class FileListCellView;
class FileListView;
class FileSystemItem;
class GroupListModel;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class SearchTextField;
class TableViewWithArrowHandling;

// What the group list reports: the chosen group, or null.
class FileListProtocol {
public:
    virtual ~FileListProtocol() = default;
    virtual void groupSelected(const std::shared_ptr<DuplicatesGroup>& group) = 0;
};

// The group list of the results screen's category view: the groups of one category (or of
// all files, type -1), or a set of groups handed over by the cleanup hints (quest mode),
// sorted by the shared sort setting, split into sections, filtered live by a search text.
// The user's choice goes to the delegate (the results screen). It also carries the group
// commands, the context menu, the keys and the preview of the listed groups.
//
// The rows keep what sorting, searching and painting need, read once per refresh of the
// source (a category load or a change of the result); selection changes only repaint, or
// re-sort when the list is sorted by selection. Notifications that arrive in one event-loop
// turn are answered once, on the next turn.
//
// Main thread only. The controller and the delegate are not owned (the results screen owns
// this list).
class FileListVC : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileListVC)

public:
    static constexpr const char* kInterfaceName = "FileListVC_DARK";
    // While the user is idle after a refresh, the copies' names (for searching), the group
    // names (name and path orders) and the extensions (type order) are decoded in steps of
    // this many groups, one step per interval.
    static constexpr int kSearchNamesStep = 10000;
    static constexpr int kSearchNamesIntervalMs = 30;

    explicit FileListVC(QWidget* parent = nullptr);
    ~FileListVC() override;

    void setController(ResultsFrame* controller);
    ResultsFrame* controller() const;
    // A delegate that is a QObject is forgotten when it is destroyed.
    void setDelegate(FileListProtocol* delegate);

    // ---- Loading.
    // Leaves the quest mode and lists category |type|. When that category is empty while
    // the result still holds duplicates, the results screen goes to its overview.
    void setDuplicatesGroupArrayType(int type);
    // Enters the quest mode with |groups| under category |type|.
    void setDuplicatesGroupArrayWithType(std::vector<std::shared_ptr<DuplicatesGroup>> groups,
                                         int type);
    int duplicatesGroupArrayType() const { return m_type; }
    bool questMode() const { return m_questMode; }
    // The closing row's link: back to the whole category.
    void showAllDuplicatesPressed();

    // ---- Selection.
    void selectRowByGroup(const std::shared_ptr<DuplicatesGroup>& group);
    void selectFirstRow();
    void selectMemorableRow();
    std::shared_ptr<DuplicatesGroup> selectedGroup() const { return m_selectedGroupItem; }
    // The row that looks selected: the selected group's row, -1 when it is not listed.
    int selectedRow() const;

    // ---- Focus and search.
    void makeTableViewActive();
    void makeSearchFieldActive();
    void clearSearchTextPressed();
    void controlTextDidChange();
    // Rebuilds the rows from the cached source with the current sort and search.
    void updateSorting();

    // ---- Group commands. A sender (the row's context menu item) aims them at the selected
    // group; without one (the main menu) at every listed group.
    void autoSelectPressed(QObject* sender = nullptr);
    void selectNewest(QObject* sender = nullptr);
    void selectOldest(QObject* sender = nullptr);
    void selectAny(QObject* sender = nullptr);
    void deselectAll(QObject* sender = nullptr);
    void removeFromDuplicateListPressed(QObject* sender = nullptr);
    std::vector<std::shared_ptr<DuplicatesGroup>> targetGroups(QObject* sender) const;
    // Fills the context menu for a click on |row| (emptied first; left alone while the
    // review panel is open) and answers it.
    QMenu* menuNeedsUpdate(int row);
    // Runs when the menu is about to open on |row|: in an active window a group row becomes
    // the selected group; answers whether the menu may open.
    bool menuWillOpen(int row);
    QMenu* contextMenu() const { return m_contextMenu; }

    // ---- Keys and preview.
    void keyPressed(const KeyEvent& event);
    void arrowNavigation(int type);
    void quickLookKeyPressed(const KeyEvent& event, int type);
    void openQuickLookForRow(int row);
    void doubleClickOnRow(int row);
    void spaceButtonPressed();
    // Down or Up in |event|: the next or previous group, with Option the last or first.
    void moveSelectionByArrow(const KeyEvent& event);
    void selectNextGroup();
    void selectPreviousGroup();
    bool isFileInNeverSelectList(const FileSystemItem* item) const;

    // ---- Parts.
    TableViewWithArrowHandling* tableView() const { return m_tableViewGroupList; }
    SearchTextField* searchTextField() const { return m_searchTextField; }
    QLabel* noFileFoundLabel() const { return m_noFileFoundLabel; }
    QPushButton* clearSearchTextButton() const { return m_clearSearchTextButton; }
    const GroupListRows& rows() const { return m_rows; }
    GroupListModel* model() const { return m_model; }
    // How many times the rows were rebuilt or repainted after notifications.
    int refreshCount() const { return m_refreshCount; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildView();
    // True once the results screen let go of this list (it waits for its deferred
    // deletion): it then answers no notification.
    bool detached() const;
    FileListProtocol* delegate() const;
    void observeNotifications();
    // Reads the source afresh (the category or the quest set) and builds the rows.
    void reloadSource();
    void loadList();
    // Builds the rows in one model reset, after reading the source afresh when asked.
    void rebuildRows(bool readSource);
    // Selects |row| in the table, which reports the change unless it was already selected.
    void selectTableRow(int row);
    // The table's selection follows the selected group without reporting anything.
    void syncTableSelection();
    void tableViewSelectionDidChange();
    void scrollRowToVisible(int row);
    void applyRowHeights();
    void reloadTable();
    void moveSelectionTo(int row);
    void selectNewestOrOldest(QObject* sender, bool keepOldest);
    void showContextMenu(const QPoint& position);
    void refresh(bool dataChanged);
    void onContainerDataChanged();
    void showCongratulations();
    void showPreviewOfSelectedGroup();

    ResultsFramePointer m_controller;
    bool m_hadController = false;
    FileListProtocol* m_delegate = nullptr;
    QPointer<QObject> m_delegateObject;
    bool m_delegateIsObject = false;

    FileListView* m_view = nullptr;
    SearchTextField* m_searchTextField = nullptr;
    TableViewWithArrowHandling* m_tableViewGroupList = nullptr;
    QLabel* m_noFileFoundLabel = nullptr;
    QPushButton* m_clearSearchTextButton = nullptr;
    GroupListModel* m_model = nullptr;
    FileListCellView* m_cells = nullptr;
    QMenu* m_contextMenu = nullptr;
    QTimer* m_searchNamesTimer = nullptr;
    QPointer<CongratulationsVC> m_congratulationsVC;

    GroupListRows m_rows;
    std::shared_ptr<DuplicatesGroup> m_selectedGroupItem;
    int m_type = -2;
    bool m_questMode = false;
    std::vector<std::shared_ptr<DuplicatesGroup>> m_questModeArray;
    std::vector<int> m_headerRows; // the rows given the header height
    bool m_syncingSelection = false;
    // Selection and content changes of one turn are answered once.
    QueuedRefresh m_refresh{this, [this](bool dataChanged) { refresh(dataChanged); }};
    int m_refreshCount = 0;
    // Counts the choices told to the delegate.
    int m_reportCount = 0;
};
