#pragma once

#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/CoverFlowAccessoryController.h"
#include "Toolkit/CoverFlowGeometry.h"
#include "Toolkit/DockAnimationVC.h"

#include <QImage>
#include <QList>
#include <QMenu>
#include <QPointer>
#include <QVariantMap>
#include <QWidget>

#include <climits>
#include <functional>
#include <memory>
#include <vector>

class MBCoverFlowScroller;
class QVariantAnimation;

// The folders chosen for a scan as a horizontal cover flow: one card per folder, the
// selected card upright in the middle, the others turned away in perspective to its left
// and right, the selected folder's name under the cards (the accessory view) and a thin
// scroller under the name. The welcome and interim screens own the folder list and hand it
// over whole with setContent() each time it changes; the view never edits it. Requests to
// change the list go out as notifications on the default centre:
//   "FileRemoved" {"index": int}  remove button, a card dragged out, "Remove Folder from List"
//   "FileRemoved" (no user info)  "Clear List"
//   AddFolderNotification / StartScanNotification  "Add Folder to Scan..." / "Find Duplicates"
// With an empty list the view shows "Drop folders here" over a bouncing arrow; it takes no
// drops itself, so dropped folders reach the screen behind it.
//
// Content objects are maps (see FolderEntry); the card picture is read under imageKeyPath()
// (a QImage, QPixmap or the bytes of an encoded picture); cards without one show the
// placeholder. Selection moves animate for 0.7 s and a re-added folder's card pulses; all
// of it runs through the AnimationClock. Main thread only.
class MBCoverFlowView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MBCoverFlowView)

public:
    using Content = QList<QVariantMap>;
    // What indexOfItemAtPoint() answers when no card is under the point.
    static constexpr long kNotFound = LONG_MAX;

    explicit MBCoverFlowView(QWidget* parent = nullptr);
    ~MBCoverFlowView() override;

    // --- Content and selection -------------------------------------------------------------
    const Content& content() const { return _content; }
    // Sets the cards. An equal list rebuilds nothing and pulses the selected card (unless a
    // move is still running); otherwise only added and removed entries gain or lose a card.
    void setContent(const Content& content);

    long selectionIndex() const { return _selectionIndex; }
    // Selects and scrolls to card |index|; an index outside the cards is ignored.
    void setSelectionIndex(long index);
    // The entry point of user-driven selection: clamps to the cards, then selects.
    void _setSelectionIndex(long index);
    void selectFolderByIndex(int index) { _setSelectionIndex(index); }
    // The entry at the selection; an empty map when there is none.
    QVariantMap selectedObject() const;
    // Selects |object| when the content holds it; otherwise nothing.
    void setSelectedObject(const QVariantMap& object);

    QString imageKeyPath() const { return _imageKeyPath; }
    void setImageKeyPath(const QString& keyPath);

    bool showsScrollbar() const { return _showsScrollbar; }
    void setShowsScrollbar(bool shows);

    // The controller of the label under the cards; the view takes ownership and drops an
    // earlier one. nullptr removes the label.
    CoverFlowAccessoryController* accessoryController() const { return _accessoryController; }
    void setAccessoryController(CoverFlowAccessoryController* controller);

    QSizeF itemSize() const;
    bool autoresizesItems() const { return _autoresizesItems; }
    void setAutoresizesItems(bool autoresizes);

    // The icon painted into the placeholder of cards without a picture.
    QImage placeholderIcon() const { return _placeholderIcon; }
    void setPlaceholderIcon(const QImage& icon);
    // The placeholder picture as last built.
    QImage placeholder() const { return _placeholderRef; }

    // The rectangle the card of entry |index| covers on screen, in the view's y-up
    // coordinates; the zero rectangle outside the content.
    QRectF rectForItemAtIndex(long index) const;

    // --- Interaction -------------------------------------------------------------------------
    bool onInterimScreen() const { return _onInterimScreen; }
    // The interim screen's reduced mode: no remove button (for good), no cursors, no
    // context menu; a card dragged out is still removed.
    void setOnInterimScreen(bool interim);

    // The view's action, sent on Return and on a double-click when both are set.
    QObject* target() const { return _target; }
    void setTarget(QObject* target) { _target = target; }
    void setAction(std::function<void(MBCoverFlowView*)> action) { _action = std::move(action); }

    // Where the pointer brings up the remove button: the selected card's seen rectangle (y-up);
    // empty without cards.
    QRectF removeButtonArea() const;

    // The card under |point| (view coordinates, y-up), front cards first; kNotFound if none.
    long indexOfItemAtPoint(QPointF point) const;

    // --- State the screens and tests look at -------------------------------------------------
    MBCoverFlowScroller* scroller() const { return _scroller; }
    ButtonWithTrackingArea* removeFolderButton() const { return removeFolderButton_; }
    QWidget* dropFolderHereView() const { return dropFolderHereView_; }
    DockAnimationVC* dockAnimationVC() const { return m_dockAnimationVC; }
    // The context menu of the last right-click while it is open or until the next one.
    QMenu* contextMenu() const { return m_contextMenu; }
    int rightButtonClickedIndex() const { return rightButtonClickedIndex_; }
    bool isMouseDown() const { return isMouseDown_; }
    bool removeFolderAfterDrop() const { return removeFolderAfterDrop_; }
    bool canShowRemoveButton() const { return canShowRemoveButton_; }
    // True while the cards are moving to a new selection.
    bool isMoving() const;
    // The selection pulse's current scale of card |index| (1.0 when it is not pulsing).
    double pulseScaleOfItem(long index) const;
    // Whether the card of entry |index| shows a picture of its own.
    bool itemHasImage(long index) const;
    // The number of cards (item layers).
    int itemCount() const { return static_cast<int>(m_items.size()); }

    // What "Show in File Manager" calls with the folder's path (by default the platform's
    // file manager); tests put a recorder here.
    void setRevealHandler(std::function<void(const QString&)> reveal) {
        m_reveal = std::move(reveal);
    }

signals:
    // The selection changed (also told when the selected object changed with the content).
    void selectionIndexChanged(long index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct Placement {
        double x = 0;
        double angle = 0;
        double imageZ = 0;
        double stackingZ = 0;
    };
    // One card: its entry, its index in the content, its picture and where it stands.
    struct ItemLayer {
        QVariantMap representedObject;
        long index = 0;
        bool hasImage = false;
        QImage contents;
        Placement from;  // where the running move started
        Placement model; // where the layout puts it
        double pulseScale = 1.0;
        std::shared_ptr<QVariantAnimation> pulse;
    };

    // Layout and selection (MBCoverFlowView.cpp).
    void resizeSubviews();
    QRectF containerFrame() const;
    double accessoryTop() const;
    void layoutItems(bool animated);
    Placement presentation(const ItemLayer& item) const;
    double presentedScrollOffset() const;
    ItemLayer* layerForObject(const QVariantMap& object);
    const ItemLayer* layerForIndex(long index) const;
    void insertLayerInScrollLayer(const QVariantMap& object);
    void refreshLayer(ItemLayer& item);
    void loadImageForLayer(ItemLayer& item);
    void recachePlaceholder();
    void animateItemLayer(ItemLayer& item);
    void tellAccessory();

    // Interaction (MBCoverFlowViewInteraction.cpp).
    void createRemoveButton();
    void mouseDown(QPointF point, bool doubleClick, bool rightClickFollowUp);
    void mouseEnteredWhilePressed();
    void mouseExitedWhilePressed();
    void mouseMoved(QPointF point);
    void tryToShowRemoveButton();
    void holdBackRemoveButtonAfterSelection();
    void holdBackRemoveButtonAfterContent();
    // The button shows while the pointer is over the selected card (removeButtonArea()).
    void showRemoveButtonIfPointerIn(QPointF point);
    void placeRemoveButton();
    void removeCurrentFolder();
    void rightMouseUp(QPointF point);
    void scrollerChange();
    void addDropFolderHereView();
    void removeDropFolderHereView();
    void postFileRemoved(long index);
    QPointF toYUp(QPointF point) const;
    void setDragCursor(Qt::CursorShape shape);
    void endDragCursor();

    long _selectionIndex = 0;
    QSizeF _itemSize = CoverFlowGeometry::kBaseItemSize;
    QPointer<CoverFlowAccessoryController> _accessoryController;
    MBCoverFlowScroller* _scroller = nullptr;
    bool _showsScrollbar = false;
    bool _autoresizesItems = true;
    QImage _placeholderRef;
    QImage _placeholderIcon;
    Content _content;
    QString _imageKeyPath;
    QPointer<QObject> _target;
    std::function<void(MBCoverFlowView*)> _action;

    QPointer<DockAnimationVC> m_dockAnimationVC;
    QPointer<QWidget> dropFolderHereView_;
    int rightButtonClickedIndex_ = 0;
    bool isMouseDown_ = false;
    bool removeFolderAfterDrop_ = false;
    QPointer<ButtonWithTrackingArea> removeFolderButton_;
    bool canShowRemoveButton_ = true;
    bool _onInterimScreen = false;

    // Cards in the order they were added (not necessarily content order).
    std::vector<std::unique_ptr<ItemLayer>> m_items;
    // The scroll offset the running move started from and the one the layout wants.
    double m_scrollFrom = 0;
    double m_scrollModel = 0;
    QVariantAnimation* m_move = nullptr;
    double m_moveProgress = 1.0;
    quint64 m_removeButtonCheck = 0;
    quint64 m_removeButtonRelease = 0;
    QPointer<QMenu> m_contextMenu;
    bool m_dragCursorShown = false;
    bool m_destroying = false;
    std::function<void(const QString&)> m_reveal;
};
