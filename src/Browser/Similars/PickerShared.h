#pragma once

#include "Browser/Similars/PickerCheckbox.h"
#include "Browser/Similars/PickerRows.h"

#include <QByteArray>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class DuplicateItem;
class FolderSystemItem;
class HeapsFolderData;
class PickerList;
struct KeyEvent;
class QMenu;
class QMessageBox;
class QObject;
class QPoint;
class QWidget;
template <typename T>
class OrderedSet;

// What the folder list and the similar-folder list do alike with their rows, their row
// button and their commands. Each list keeps its own rows and its own chosen row; these
// take them as arguments. Main thread only.
namespace PickerShared {

// One batch of selection changes: one selection-changed notification at its end.
struct SelectionBatch {
    SelectionBatch();
    ~SelectionBatch();
    SelectionBatch(const SelectionBatch&) = delete;
    SelectionBatch& operator=(const SelectionBatch&) = delete;
};

// "duplicate" for one, "duplicates" for any other count.
QString wordFor(uint64_t count);
// The folder's display name; empty for null.
QString displayNameOf(const FolderSystemItem* folder);

// True when |copy| is unselected and its group keeps two or more unselected copies, so
// selecting it takes no group's last copy.
bool maySelectUnderGuard(const DuplicateItem& copy);
// Selects (under the last-copy guard unless |forced|) or deselects every copy of |copies|
// that lies directly in the folder |path|. The caller holds the SelectionBatch.
void selectCopiesInFolder(const OrderedSet<DuplicateItem>& copies, const QByteArray& path,
                          bool select, bool forced);

// Sorts |rows| by the settings' order (unless |sort| is false: they are in that order
// already), then moves |index| to the row of the remembered folder when it is listed (else
// |index| stays), marks that row alone as selected, and shows the rows. Answers the index.
int showSortedRows(PickerList& list, std::vector<PickerRow>& rows,
                   const HeapsFolderData* remembered, int index, bool sort = true);

// The row button's press, by the look it has now.
struct CheckboxHandlers {
    std::function<PickerCheckboxLook()> look;
    std::function<void()> toggle;
    std::function<void()> lastCopy;
    std::function<void()> duplicateFolder;
};
void connectCheckbox(PickerList& list, QObject* context, CheckboxHandlers handlers);
// Return on the list: the button takes the look |lookFor| gives the chosen row |row| and is
// pressed; nothing when the list has no such row.
void pressCheckbox(PickerList& list, int row,
                   const std::function<PickerCheckboxLook(int row)>& lookFor);
// The refused button's press: the popup that offers to allow selecting every copy, below
// the button.
void showAllowAllCopies(PickerList& list, QWidget* window);

// Asks whether the last copies in the folder |folderName| may be selected, window-modal
// on |window|; kept in |alert| while it is open (nothing is asked again then). On OK,
// while |stillAsked| says the question holds, "do not show again" is kept and |select|
// runs; else the row button goes back to off.
void askLastCopies(QPointer<QMessageBox>& alert, QWidget* window, QObject* context,
                   PickerList& list, const QString& folderName, std::function<bool()> stillAsked,
                   std::function<void()> select);

// The context menu, made on first use as a child of |owner| and emptied for every row.
QMenu* emptiedMenu(QPointer<QMenu>& menu, QWidget* owner, const QString& objectName);
// The menu's first item by the row button's action: |toggleTitle| for the check box, the
// link to the duplicate folders, none for the refused box.
void addButtonItem(QMenu& menu, PickerCheckboxAction action, const QString& toggleTitle,
                   QObject* context, std::function<void()> toggle,
                   std::function<void()> showInDuplicateFolders);
// The menu's last items: the skip list for the folder |displayName|, the file manager and
// the folder's properties.
void addFolderItems(QMenu& menu, const QString& displayName, QObject* context,
                    std::function<void()> addToSkipList, std::function<void()> reveal,
                    std::function<void()> getInfo);
// A right click at |viewportPoint|: no menu while the review panel is open (its commands
// would act on a selection the panel is about to remove) or the window is not active.
// Otherwise the menu is built for the clicked row and, on a row, |choose| makes the row
// the one the commands act on before the menu pops up. Answers the menu shown, or null.
QMenu* popUpContextMenu(PickerList& list, QWidget* owner, bool reviewPanelOpen,
                        const QPoint& viewportPoint, const std::function<QMenu*(int)>& build,
                        const std::function<void(int)>& choose);

// The file manager's window and the properties of the folder |path|; nothing when empty.
void revealFolder(const QByteArray& path);
void showFolderProperties(const QByteArray& path);

// The keys of a list that has the focus: Return presses the row button, Space opens the
// preview, Down and Up move the choice (Option: to the end), Tab and Shift-Tab and Left
// and Right go to the targets named (-1: none) as arrow navigation.
struct ListKeyHandlers {
    int tabTarget = -1;
    int backTabTarget = -1;
    int leftTarget = -1;
    int rightTarget = -1;
    std::function<void()> pressCheckbox;
    std::function<void()> showPreview;
    std::function<void(bool down, bool toEnd)> moveSelection;
};
void listKeyPressed(const KeyEvent& event, const ListKeyHandlers& handlers);
// Command with Down or Up while the next list (|nextHasFocus|) has the focus: the choice
// here moves and the focus goes back to |nextTarget|.
void followFromNextList(const KeyEvent& event, bool nextHasFocus, int nextTarget,
                        const std::function<void(bool down, bool toEnd)>& moveSelection);

// The preview moves of a list: Left and Right go to |leftTarget| and |rightTarget|
// (-1: none) as arrow navigation. True when |keyCode| was one of them.
bool navigateSideways(int keyCode, int leftTarget, int rightTarget);

} // namespace PickerShared
