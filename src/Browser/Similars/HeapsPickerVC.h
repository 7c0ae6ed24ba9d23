#pragma once

#include "Browser/Common/QueuedRefresh.h"
#include "Browser/Common/ResultsFrame.h"
#include "Browser/Similars/PickerCheckbox.h"
#include "Browser/Similars/PickerRows.h"

#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <unordered_map>
#include <vector>

class DuplicatesHeap;
class FolderSystemItem;
class PickerList;
struct KeyEvent;

// What the similar-folder list reports: the chosen pair of folders, or null.
class HeapsPickerProtocol {
public:
    virtual ~HeapsPickerProtocol() = default;
    virtual void heapSelected(const std::shared_ptr<DuplicatesHeap>& heap) = 0;
};

// The similar-folder list of the similar-folders view: for the folder chosen on the left
// (the heaps' main folder), one row per similar folder (each heap's second folder) with the
// number, size and selection of the copies the two share, a check box on the selected row
// that selects or deselects the similar folder's shared copies, keys, preview and a
// context menu. Choosing a row hands the heap to the results screen (heapSelected).
//
// The similar folder chosen last is kept by CategoryStateManager ("SecondFolderItem") and
// chosen again when another folder's heaps are loaded and hold it. Rows are rebuilt once
// per batch of selection changes; the folders' names and paths are cached until the result
// changes. Main thread only.
class HeapsPickerVC final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HeapsPickerVC)

public:
    static constexpr const char* kInterfaceName = "HeapsPickerVC_DARK";

    explicit HeapsPickerVC(QWidget* parent = nullptr);
    ~HeapsPickerVC() override;

    void setController(ResultsFrame* controller);
    void setDelegate(HeapsPickerProtocol* delegate) { m_delegate = delegate; }

    // Replaces the heaps (possibly none) and chooses a row: the remembered similar folder
    // when listed, else the first; an empty list tells the delegate null.
    void setHeapsArray(std::vector<std::shared_ptr<DuplicatesHeap>> heaps);
    const std::vector<std::shared_ptr<DuplicatesHeap>>& heapsArray() const {
        return m_duplicateHeapsArray;
    }
    bool isTableViewActive() const;

    void recreateTrueArray();
    void updateSorting();
    void pressedRowByIndex(int index);
    void spaceButtonPressed();
    int selectedHeapIndex() const { return m_selectedHeapIndex; }
    std::shared_ptr<DuplicatesHeap> selectedHeapItem() const { return m_selectedHeapItem; }
    const std::vector<PickerRow>& workingArray() const { return m_workingArray; }

    // ---- The row button and the commands.
    PickerCheckboxLook checkboxLookForRow(int row) const;
    void checkBoxPressed();
    void disabledCheckboxPressed();
    void duplicateFolderPressed();
    void selectDuplicates(bool select, bool forced);
    void checkBoxForSelectedFolderPressed();
    void showInDuplicateFolders();
    void showSimilarFoldersForSelectedFolderPressed();
    void addFolderToSkipList();
    void revealInFinder();
    void getInfo();

    // The context menu for a right click at |viewportPoint|: rebuilt, the clicked row
    // chosen, and shown; nothing while the review panel is open or the window is not
    // active. Answers the menu shown, or null.
    QMenu* contextMenuRequested(const QPoint& viewportPoint);
    QMenu* buildContextMenuForRow(int row);
    QMenu* contextMenu() const { return m_contextMenu; }
    QMessageBox* lastCopiesAlert() const { return m_lastCopiesAlert; }

    PickerList* list() const { return m_list; }
    int rebuildCount() const { return m_rebuildCount; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void observeNotifications();
    void scheduleRefresh();
    void keyPressed(const KeyEvent& event);
    void arrowNavigation(int target);
    void quickLookKeyPressed(const KeyEvent& event, int type);
    bool moveSelection(bool down, bool toEnd);
    void pointQuickLookAtSelectedFolder();
    QByteArray selectedSecondFolderPath() const;
    std::shared_ptr<const PickerFolderFacts> factsFor(const FolderSystemItem* folder);
    QString mainFolderName() const;
    bool detached() const;
    ResultsFrame* controller() const;

    ResultsFramePointer m_controller;
    HeapsPickerProtocol* m_delegate = nullptr;
    PickerList* m_list = nullptr;
    QPointer<QMenu> m_contextMenu;
    QPointer<QMessageBox> m_lastCopiesAlert;

    std::vector<std::shared_ptr<DuplicatesHeap>> m_duplicateHeapsArray;
    std::vector<PickerRow> m_workingArray;
    int m_selectedHeapIndex = 0;
    std::shared_ptr<DuplicatesHeap> m_selectedHeapItem;

    std::unordered_map<const FolderSystemItem*, std::shared_ptr<const PickerFolderFacts>> m_facts;
    QueuedRefresh m_refresh{this, [this](bool) {
                                if (!detached())
                                    recreateTrueArray();
                            }};
    int m_rebuildCount = 0;
};
