#pragma once

#include "Browser/Common/FileWorkspace.h"
#include "Browser/Common/ResultsFrame.h"
#include "Browser/Common/ResultsObservers.h"
#include "Browser/Copies/DuplicateSelectionRows.h"

#include <QByteArray>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class DuplicateItem;
class DuplicateSelectionCellView;
class DuplicateSelectionModel;
class DuplicateSelectionView;
class DuplicatesGroup;
class DuplicatesHeap;
class FileSystemItem;

class ScanTree;
class TableViewWithArrowHandling;
class WhiteTitleButton;
struct KeyEvent;
struct Notification;

// The copies table on the right of the category view: the copies of the group chosen in the
// group list (plain copies, then the copies inside duplicate folders under a header, then,
// for a folder group, its similar folders), each with a check box that selects it for
// removal under the last-copy guard. It feeds the preview pane and the preview panel, takes
// part in the keyboard travel between the results lists, and offers the group commands and a
// context menu per row.
//
// Made and owned by the results screen (Qt parent) for the life of the category view. Every
// selection goes through the result model, which applies the guard and posts the
// selection-changed notification on which the table redraws. The table's own selection only
// reports clicks; the focused row is selectedFile(). Main thread only.
class DuplicateSelectionVC : public QWidget, private ResultsTableObserver {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DuplicateSelectionVC)

public:
    static constexpr const char* kInterfaceName = "DuplicateSelectionVC_DARK";
    using Rows = DuplicateSelectionRows;
    static constexpr int kBarHeight = 38;

    // What a row's check box does when pressed.
    enum class CheckboxAction { Checkbox, DisabledCheckbox, LockedFolder, Heap };

    // Everything a row shows, worked out when the table reloads (the delegate only paints).
    struct CellConfiguration {
        Rows::Kind kind = Rows::Kind::None;
        QString title; // headers
        bool disabled = false;
        QByteArray path;
        QString dateText;
        QString image;
        QString alternateImage;
        bool state = false;
        QString tooltip;
        CheckboxAction action = CheckboxAction::Checkbox;
        bool trackingEnabled = false;
        bool hasAssociated = false;
        QByteArray associatedFolderPath;
        bool selected = false;
        bool even = false;
        bool inActive = false;
        bool aboveSelected = false;
        // The picture the check box shows: the alternate one while on, when it has one.
        QString shownImage() const {
            return state && !alternateImage.isEmpty() ? alternateImage : image;
        }
    };

    // The outside actions of the table's commands; the platform's by default.
    using Workspace = FileWorkspace;
    static void setWorkspaceForTesting(std::optional<Workspace> workspace);

    explicit DuplicateSelectionVC(QWidget* parent = nullptr);
    ~DuplicateSelectionVC() override;

    // ---- The results screen's side.
    void setController(ResultsFrame* controller);
    ResultsFrame* controller() const;
    void setDuplicateType(int type) { duplicateType_ = type; }
    int duplicateType() const { return duplicateType_; }
    // Shows |group| (nothing for null): its rows, the similar folders collapsed, the
    // category's remembered file focused (else the first plain copy).
    void loadGroup(const std::shared_ptr<DuplicatesGroup>& group);
    std::shared_ptr<DuplicatesGroup> group() const { return m_group.lock(); }
    // The similar folders of the shown folder group, collapsed. loadGroup takes them from the
    // container's heaps; the shots tool and tests hand over their own.
    void showFolderHeaps(std::vector<std::shared_ptr<DuplicatesHeap>> heaps);
    // Focuses the copy's row and scrolls it into view.
    void selectRowByItem(const std::shared_ptr<DuplicateItem>& item);
    // The copy of the focused row; null for a similar folder or nothing focused.
    std::shared_ptr<DuplicateItem> selectedItem() const;
    FileSystemItem* selectedFile() const { return m_selectedFile; }
    QByteArray getSelectedFilePath() const;
    // NO only when the focused copy has been moved or deleted since the scan.
    bool isSelectedFileExists() const;
    bool isAnyFilesForDeselect() const;
    void updateSorting() { reloadData(); }

    // ---- Rows.
    const Rows& rows() const { return m_rows; }
    FileSystemItem* getFileForRow(int row) const;
    std::shared_ptr<DuplicateItem> getDuplicateItemForRow(int row) const;
    // The row of |item| by identity: plain copies, locked copies, then the visible similar
    // folders; 0 when it is in no visible row.
    int getRowForFileItem(const FileSystemItem* item) const;
    const CellConfiguration& cellConfigurationForRow(int row) const;
    const std::vector<std::shared_ptr<DuplicateItem>>& duplicates() const {
        return m_duplicatesArray;
    }
    const std::vector<std::shared_ptr<DuplicateItem>>& lockedDuplicates() const {
        return m_lockedDuplicatesArray;
    }
    bool heapsVisible() const { return m_heapsVisible; }

    TableViewWithArrowHandling* tableviewDuplicates() const { return m_table; }
    DuplicateSelectionView* containerView() const { return m_containerView; }
    WhiteTitleButton* autoSelectButton() const { return m_autoSelectButton; }
    QMenu* autoSelectMenu() const { return m_autoSelectMenu; }
    DuplicateSelectionCellView* cellView() const { return m_cellView; }
    // Makes every row again from the model.
    void reloadData();

    // ---- Row controls.
    void checkboxPressed(int row, bool checked);
    // |checkboxRect|: the check box in global (screen) coordinates.
    void disabledCheckboxPressed(const QRect& checkboxRect);
    // |row| -1: the focused copy (the menu's command).
    void lockedFolderPressed(int row);
    void heapPressed(int row);
    void showInFinderPressed(int row);
    void showSimilarPressed();
    void showContextMenuButtonPressed();
    // Where a popup of |menu| size asked for at |wanted| opens so that it lies inside
    // |window| and |screen| (global coordinates; an empty rectangle does not bound it).
    static QPoint menuOriginInside(const QPoint& wanted, const QSize& menu, const QRect& window,
                                   const QRect& screen);
    // The last-copy question while it is open.
    QMessageBox* lastCopyAlert() const { return m_lastCopyAlert; }

    // ---- Group commands (DuplicateSelectionVCMenu.cpp).
    void autoSelectButtonPressed();
    void anyButtonPressed();
    void newestButtonPressed();
    void oldestButtonPressed();
    void deselectAllButtonPressed();

    // ---- Context menu.
    void showMenuForPathAtIndexRow(const QByteArray& path, int row);
    QWidget* preferencesController() const { return m_preferencesController; }
    // The last menu built (kept until the next one).
    QMenu* contextMenu() const { return m_contextMenu; }
    QByteArray currentSelectedPath() const { return m_currentSelectedPath; }
    QByteArray getFolderPathFromPath(const QByteArray& path) const;
    static bool isFileInNeverSelectList(const QByteArray& path);
    void selectOrDeselectCurrentDuplicate();
    void keepOnlyThisCopyPressed();
    void selectAllCopiesWithinFolder();
    void deselectAllCopiesWithinFolder();
    void keepAllCopiesWithinFolder();
    void addFileFolderToExcludeList();
    void addFolderToAlwaysSelectList();
    void addFolderToNeverSelectList();
    void revealInFinderPressed();
    void getInfoPressed();
    void openFilePressed();
    void pathMenuItemPressed(const QString& appId);
    void otherApplicationPressed();

    // ---- Keys and moves (DuplicateSelectionVCKeys.cpp).
    void selectNextFileItem();
    void selectPrevFileItem();
    void selectFirstItem();
    void selectLastItem();
    void selectOrDeselectFileItemAtIndex(int index);
    void selectOrDeselectAllButFileItemAtIndex(int index);
    void spaceButtonPressed();
    bool isTableFirstResponder() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class DuplicateSelectionCellView;

    void buildView();
    void registerObservers();
    void buildConfigurations();
    CellConfiguration createDuplicateCellWithItem(DuplicateItem* copy, FileSystemItem* fileItem,
                                                  int row) const;
    void setSelectedFile(FileSystemItem* item);
    // The first plain copy's file; null without plain copies.
    FileSystemItem* firstCopyFile() const;
    // Takes the copies that are no longer members of the shown group out of the rows;
    // answers whether the focused file was one of them.
    bool dropCopiesThatLeftTheGroup();
    bool isSimilarFolder(const FileSystemItem* item) const;
    void tableViewSelectionDidChange();
    void selectSelectedFileRow();
    void scheduleReload();
    void resetAutoSelectButton();
    std::shared_ptr<DuplicatesGroup> firstPlainGroup() const;
    void newestOrOldest(bool newest);
    void moveSelectedFileTo(FileSystemItem* item);
    void openPreferencesAddingFolder(bool always);
    const Workspace& workspace() const override;

    // Notification handlers.
    void selectionChanged() override;
    void keyPressed(const Notification& notification) override;
    void arrowNavigation(const Notification& notification) override;
    const FileSystemItem* mainMenuFile() const override;
    void applicationWillBecomeActive() override;
    void quickLookKeyPressed(const Notification& notification) override;
    bool resultsListHasFocus() const;

    // Weak: a dropped controller may outlive the screen until its deferred deletion.
    ResultsFramePointer m_controller;
    int duplicateType_ = -2;
    std::weak_ptr<DuplicatesGroup> m_group;
    std::vector<std::shared_ptr<DuplicateItem>> m_duplicatesArray;
    std::vector<std::shared_ptr<DuplicateItem>> m_lockedDuplicatesArray;
    std::vector<std::shared_ptr<DuplicatesHeap>> m_folderHeapsArray;
    bool m_heapsVisible = false;
    Rows m_rows;
    std::vector<CellConfiguration> m_configurations;
    // The focused file and the tree that keeps it alive.
    FileSystemItem* m_selectedFile = nullptr;
    std::shared_ptr<ScanTree> m_selectedFileTree;
    QByteArray m_currentSelectedPath;
    // The focused file's row, worked out once per reload rather than once per cell.
    int m_selectedRowWhileBuilding = 0;
    bool m_reloadScheduled = false;
    bool m_reloading = false;

    WhiteTitleButton* m_autoSelectButton = nullptr;
    WhiteTitleButton* m_menuButton = nullptr;
    QMenu* m_autoSelectMenu = nullptr;
    DuplicateSelectionView* m_containerView = nullptr;
    TableViewWithArrowHandling* m_table = nullptr;
    DuplicateSelectionModel* m_model = nullptr;
    DuplicateSelectionCellView* m_cellView = nullptr;
    QPointer<QMenu> m_contextMenu;
    // The preferences window last opened from the row menu.
    QPointer<QWidget> m_preferencesController;
    QPointer<QMessageBox> m_lastCopyAlert;
};
