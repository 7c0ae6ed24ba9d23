#pragma once

#include "Browser/Common/FileWorkspace.h"
#include "Browser/Common/ResultsFrame.h"
#include "Browser/Common/ResultsObservers.h"
#include "Browser/Similars/HeapCheckboxRules.h"
#include "Browser/Similars/HeapFilesRows.h"

#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QRectF>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <unordered_set>
#include <vector>

class DuplicateItem;
class DuplicatesHeap;
class FileSystemItem;
class FolderSystemItem;
class HeapFilesCellView;
class HeapFilesSelectorView;
class HeapTableModel;
class ScanTree;
class TableViewWithArrowHandling;
struct KeyEvent;
struct Notification;

namespace Dispatch {
class SerialQueue;
}

// The two-folder table of the similar-folders view: for the heap chosen in the heaps picker,
// the duplicate copies its two folders share, grouped by duplicate group (main folder's copies
// left, second folder's right), then, under a header row, the children of each folder that
// have no counterpart. Selection of the shared copies goes through the result model under the
// last-copy rules; the table reports the file the user picks to the results screen, which
// previews it in the two-circle view.
//
// Rows are grouped on the serial queue "com.velquor.calculating.workingarray" from a snapshot
// of the heap taken on the main thread; a finished build is swapped in on the main thread,
// and only while the table still shows that heap. Everything else runs on the main thread.
// Made and owned by the results screen (Qt parent).
class HeapFilesSelectorVC : public QWidget, private ResultsTableObserver {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HeapFilesSelectorVC)

public:
    static constexpr const char* kInterfaceName = "HeapFilesSelectorVC_DARK";
    static constexpr const char* kWorkingArrayQueueLabel = "com.velquor.calculating.workingarray";
    static constexpr int kPairRowHeight = 48;
    static constexpr int kHeaderRowHeight = 29;
    static constexpr int kOtherRowHeight = 30;
    static constexpr int kBandHeight = 29;
    // Column index of a side.
    enum Side { Left = 0, Right = 1 };

    // The outside actions of the commands; the platform's by default.
    using Workspace = FileWorkspace;
    static void setWorkspaceForTesting(std::optional<Workspace> workspace);

    explicit HeapFilesSelectorVC(QWidget* parent = nullptr);
    ~HeapFilesSelectorVC() override;

    // ---- The results screen's side.
    void setController(ResultsFrame* controller);
    ResultsFrame* controller() const;
    // Shows |heap| once its rows are built; null empties the table and hides the view.
    void setHeap(const std::shared_ptr<DuplicatesHeap>& heap);
    std::shared_ptr<DuplicatesHeap> heap() const { return m_heap; }
    // The heap whose rows are on screen: the last one set, once its rows are built.
    std::shared_ptr<DuplicatesHeap> shownHeap() const { return m_shownHeap; }
    // Builds started and not yet ended; the spinner turns while it is above 0.
    int progressStartsCount() const { return m_progressStartsCount; }
    // The serial queue the rows are grouped on.
    Dispatch::SerialQueue& workingArrayQueue() const { return *m_workingArrayQueue; }
    // The unique-files header row in the scroll view's coordinates (y-up from the visible
    // rectangle's top, as the help overlay reads it); empty when it is out of view or there
    // are no unique files.
    QRectF getUniqueFilesCellFrame() const;
    // True while the table has the keyboard focus.
    bool isTableViewActive() const;
    // The file the main menu's file commands act on (the current entry's file).
    FileSystemItem* getSelectedFileItem() const;
    // Jumps into the unique-files section: the first unique row's left (|left|) or right
    // file becomes current. Nothing when there are no unique files or that side is empty.
    void scrollToUniqueFilesAndSelectLeftItem(bool left);

    // ---- Rows.
    const std::vector<HeapGroupEntry>& workingArray() const { return m_workingArray; }
    const HeapTableRows& rows() const { return m_rows; }
    int selectedGroup() const { return m_selectedGroup; }
    int lastSelectedRow() const { return m_lastSelectedRow; }
    FileSystemItem* selectedOtherFileItem() const { return m_selectedOtherFileItem; }
    FileSystemItem* selectedFileSystemItem() const { return m_selectedFileSystemItem; }
    void setSelectedOtherFileItem(FileSystemItem* item);
    void setSelectedFileSystemItem(FileSystemItem* item);
    FolderSystemItem* mainFolderItem() const { return m_mainFolderItem; }
    FolderSystemItem* secondFolderItem() const { return m_secondFolderItem; }
    TableViewWithArrowHandling* tableviewHeaps() const { return m_table; }
    HeapFilesSelectorView* headerView() const { return m_view; }
    HeapFilesCellView* cellView() const { return m_cellView; }
    // Rebuilds the rows from the working array and redraws every row.
    void reloadData();
    // Whether |copy| was moved or deleted since the scan, as last looked up: the shown copies
    // are looked up on disk when the heap's rows come in, when the application becomes
    // active and when the result changed (a removal run ended), never while painting or
    // hovering.
    bool isCopyMovedOrDeleted(const DuplicateItem* copy) const {
        return m_movedOrDeletedCopies.contains(copy);
    }
    // Looks every shown copy up on disk again.
    void refreshMovedOrDeletedCopies();

    // ---- Selection rules.
    HeapCheckboxRules::Look rowCheckboxLook(int row, Side side) const;
    HeapCheckboxRules::Look headerCheckboxLook(Side side) const;
    // A click on the check box of |side| of pair row |row|; |globalRect| places the popup.
    void rowCheckboxPressed(int row, Side side, const QRect& globalRect = {});
    // A press of a header check box (or of its menu entry, which acts the same).
    void headerCheckboxPressed(Side side, const QRect& globalRect = {});
    void selectDuplicatesForcedInFolderItem(bool select, bool forced, FolderSystemItem* folder);
    // Keys 1 and 2: every copy of the current group's column, by its check box's action.
    void selectOrDeselectSelectedGroupColomn(int column);
    void lockedFilePressed(int row, Side side);
    void lockedFolderPressed(Side side);
    void disabledCheckboxPressed(const QRect& globalRect);
    // The last-copy question while it is open.
    QMessageBox* lastCopyAlert() const { return m_lastCopyAlert; }

    // ---- Navigation (HeapFilesSelectorVCNavigation.cpp).
    // A row chosen in the table; |side| is the half the pointer is over (-1: read it).
    void selectRow(int row, int side = -1);
    // A click on a half of a unique-file row: picks that half's file (or none).
    void otherFileClicked(int row, Side side);
    void downKeyPressed(bool option);
    void upKeyPressed(bool option);
    void leftKeyPressed();
    void rightKeyPressed();
    void updateSelection();
    bool selectFirstOtherFile();
    void spaceButtonPressed();

    // ---- Commands (HeapFilesSelectorVCMenu.cpp).
    const FileSystemItem* mainMenuFile() const override;
    void revealRowFile(int row, Side side);
    void revealFolder(Side side);
    // The context menus; null where none is offered. Kept until the next one.
    QMenu* menuForPairRow(int row, Side side);
    QMenu* menuForOtherRow(int row, Side side);
    QMenu* menuForFolder(Side side);
    QMenu* contextMenu() const { return m_contextMenu; }
    void addFolderToSkipList(Side side);

    // The half of the view under x (view coordinates).
    Side sideAt(qreal x) const { return x < width() / 2.0 ? Left : Right; }
    // The pointer's last x over the table, in this view's coordinates.
    void setPointerX(qreal x) { m_pointerX = x; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void registerObservers();
    // What a build on the working-array queue hands back.
    struct Build {
        std::vector<HeapGroupEntry> entries;
        std::vector<const DuplicateItem*> movedOrDeleted;
    };
    void updateTableView(const std::shared_ptr<DuplicatesHeap>& builtFor, Build built);
    void customizeFoldersHeader();
    void selectionChanged() override;
    void scheduleReload();
    void keyPressed(const Notification& notification) override;
    void quickLookKeyPressed(const Notification& notification) override;
    void arrowNavigation(const Notification& notification) override;
    void applicationWillBecomeActive() override;
    bool contextMenuAllowed() const;
    void handleKey(const KeyEvent& event);
    void reportFile(FileSystemItem* item);
    void makeOtherFileCurrent(FileSystemItem* item);
    void showGroupRow();
    FileSystemItem* otherFileInRow(int k, int side) const;
    // The place of the unique file |file| among the unique-file rows (0 for the first).
    int otherFileIndex(const FileSystemItem* file) const;
    void askBeforeSelectingFolder(Side side);
    void showDuplicateOf(const std::shared_ptr<DuplicateItem>& copy);
    QMenu* newContextMenu();
    void addFileActions(QMenu* menu, const QByteArray& path, bool isFolder);
    const Workspace& workspace() const override;

    // Weak: a dropped controller may outlive the screen until its deferred deletion.
    ResultsFramePointer m_controller;
    std::shared_ptr<DuplicatesHeap> m_heap;
    std::shared_ptr<DuplicatesHeap> m_shownHeap;
    // The tree that keeps the folders and the unique files alive while they are shown.
    std::shared_ptr<ScanTree> m_tree;
    FolderSystemItem* m_mainFolderItem = nullptr;
    FolderSystemItem* m_secondFolderItem = nullptr;
    std::vector<HeapGroupEntry> m_workingArray;
    std::unordered_set<const DuplicateItem*> m_movedOrDeletedCopies;
    HeapTableRows m_rows;
    int m_selectedGroup = -1;
    int m_lastSelectedRow = -1;
    int m_progressStartsCount = 0;
    FileSystemItem* m_selectedOtherFileItem = nullptr;
    FileSystemItem* m_selectedFileSystemItem = nullptr;
    qreal m_pointerX = 0;
    bool m_reloadScheduled = false;
    bool m_selecting = false;
    std::unique_ptr<Dispatch::SerialQueue> m_workingArrayQueue;
    // Tells a build's answer that the controller is gone.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);

    HeapFilesSelectorView* m_view = nullptr;
    TableViewWithArrowHandling* m_table = nullptr;
    HeapTableModel* m_model = nullptr;
    HeapFilesCellView* m_cellView = nullptr;
    QPointer<QMenu> m_contextMenu;
    QPointer<QMessageBox> m_lastCopyAlert;
};
