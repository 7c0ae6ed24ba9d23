// The cover flow's behaviour towards the user: keys, wheel, clicks, dragging a card out,
// the remove button, the context menu and the empty-list drop area.
#include "Toolkit/MBCoverFlowView.h"

#include "Categories/AppNotification.h"
#include "Platform/NotificationCenter.h"
#include "Platform/ui/KeyEventFromQt.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/DockAnimationVC.h"
#include "Toolkit/FolderEntry.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/MBCoverFlowScroller.h"
#include "Toolkit/Palette.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QWheelEvent>

#include <cmath>

namespace {

const QString kFileRemoved = QStringLiteral("FileRemoved");

// The menu's texts, in one place.
const char* const kAddFolderTitle = "Add Folder to Scan...";
const char* const kFindDuplicatesTitle = "Find Duplicates";
const char* const kRevealTitle = "Show in File Manager";
const char* const kRemoveFromListTitle = "Remove Folder from List";
const char* const kClearListTitle = "Clear List";
const char* const kDropFoldersHere = "Drop folders here";

} // namespace

QPointF MBCoverFlowView::toYUp(QPointF point) const {
    return CoverFlowGeometry::flipped(point, height());
}

void MBCoverFlowView::postFileRemoved(long index) {
    NotificationCenter::defaultCenter().post(kFileRemoved,
                                             {{QStringLiteral("index"), static_cast<int>(index)}});
}

// --- Hit testing -------------------------------------------------------------------------------

long MBCoverFlowView::indexOfItemAtPoint(QPointF point) const {
    const long count = static_cast<long>(_content.size());
    if (count == 0)
        return kNotFound;
    // In stacking order: the selected card in front, then its neighbours outwards.
    if (rectForItemAtIndex(_selectionIndex).contains(point))
        return _selectionIndex;
    for (long i = _selectionIndex - 1; i >= 0; --i) {
        if (rectForItemAtIndex(i).contains(point))
            return i;
    }
    for (long i = _selectionIndex + 1; i < count; ++i) {
        if (rectForItemAtIndex(i).contains(point))
            return i;
    }
    return kNotFound;
}

// --- Keys, wheel, scroller ---------------------------------------------------------------------

void MBCoverFlowView::keyPressEvent(QKeyEvent* event) {
    const KeyEvent key = keyEventFromQt(*event);
    switch (key.keyCode) {
    case 36: // Return
        if (_target && _action) {
            _action(this);
            event->accept();
            return;
        }
        break;
    case 124: // right arrow
        _setSelectionIndex(_selectionIndex + 1);
        event->accept();
        return;
    case 123: // left arrow
        _setSelectionIndex(_selectionIndex - 1);
        event->accept();
        return;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void MBCoverFlowView::wheelEvent(QWheelEvent* event) {
    // One notch of a wheel is 120 eighths of a degree, one line of scrolling.
    const double dy = event->angleDelta().y() / 120.0;
    const double dx = event->angleDelta().x() / 120.0;
    double delta = 0;
    if (std::abs(dy) > 0.4)
        delta = dy;
    else if (std::abs(dx) > 0.4)
        delta = dx;
    else
        return;
    _setSelectionIndex(delta > 0 ? _selectionIndex - 1 : _selectionIndex + 1);
    event->accept();
}

void MBCoverFlowView::scrollerChange() {
    switch (_scroller->hitPart()) {
    case MBCoverFlowScroller::KnobPart:
        _setSelectionIndex(_scroller->integerValue());
        break;
    case MBCoverFlowScroller::DecrementLinePart:
        _setSelectionIndex(_selectionIndex - 1);
        break;
    case MBCoverFlowScroller::IncrementLinePart:
        _setSelectionIndex(_selectionIndex + 1);
        break;
    default:
        break;
    }
}

// --- Press, drag, release ----------------------------------------------------------------------

void MBCoverFlowView::setDragCursor(Qt::CursorShape shape) {
    if (!m_dragCursorShown) {
        QApplication::setOverrideCursor(QCursor(shape));
        m_dragCursorShown = true;
    } else {
        QApplication::changeOverrideCursor(QCursor(shape));
    }
}

void MBCoverFlowView::endDragCursor() {
    if (m_dragCursorShown) {
        QApplication::restoreOverrideCursor();
        m_dragCursorShown = false;
    }
    unsetCursor();
}

void MBCoverFlowView::mouseDown(QPointF point, bool doubleClick, bool rightClickFollowUp) {
    if (doubleClick && _target && _action)
        _action(this);
    // Every press starts afresh: whatever an earlier press left (a menu that took the
    // release, a window that lost the mouse) can never arm this one.
    isMouseDown_ = false;
    removeFolderAfterDrop_ = false;
    const long index = indexOfItemAtPoint(point);
    if (index == kNotFound)
        return;
    _setSelectionIndex(index);
    // Only a left press on a card can drag it out; the press a context menu hands on
    // selects the card and ends there, since the menu takes the release.
    if (rightClickFollowUp)
        return;
    isMouseDown_ = true;
    // The press a context menu hands on selects, but no drag follows it.
    if (!_onInterimScreen)
        setDragCursor(Qt::ClosedHandCursor);
}

void MBCoverFlowView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        mouseDown(toYUp(event->position()), false, false);
    }
    event->accept();
}

void MBCoverFlowView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        mouseDown(toYUp(event->position()), true, false);
    event->accept();
}

void MBCoverFlowView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF point = event->position();
    if (!(event->buttons() & Qt::LeftButton) || !isMouseDown_) {
        mouseMoved(toYUp(point));
        return;
    }
    // While the button is held the view keeps the mouse, so leaving and coming back are
    // seen here rather than as leave and enter events.
    const bool inside = rect().contains(point.toPoint());
    if (!inside && !removeFolderAfterDrop_)
        mouseExitedWhilePressed();
    else if (inside && removeFolderAfterDrop_)
        mouseEnteredWhilePressed();
    if (!_onInterimScreen)
        setDragCursor(inside ? Qt::ClosedHandCursor : Qt::ForbiddenCursor);
}

void MBCoverFlowView::mouseExitedWhilePressed() {
    if (isMouseDown_)
        removeFolderAfterDrop_ = true;
}

void MBCoverFlowView::mouseEnteredWhilePressed() {
    if (isMouseDown_)
        removeFolderAfterDrop_ = false;
}

void MBCoverFlowView::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    mouseEnteredWhilePressed();
}

void MBCoverFlowView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    mouseExitedWhilePressed();
    // The pointer is gone, and with it any reason to offer the remove button, unless it
    // went onto the button itself.
    if (removeFolderButton_ && !removeFolderButton_->underMouse())
        removeFolderButton_->hide();
}

void MBCoverFlowView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        rightMouseUp(toYUp(event->position()));
        event->accept();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    // A folder goes only when the card pressed is released outside the view: a release
    // inside (a click on empty space, or back over the cards) removes nothing.
    const bool outside = !rect().contains(event->position().toPoint());
    const bool remove = isMouseDown_ && removeFolderAfterDrop_ && outside;
    isMouseDown_ = false;
    removeFolderAfterDrop_ = false;
    if (remove && _selectionIndex >= 0 && _selectionIndex < _content.size())
        postFileRemoved(_selectionIndex);
    endDragCursor();
    canShowRemoveButton_ = true;
    event->accept();
}

// --- Remove button -----------------------------------------------------------------------------

void MBCoverFlowView::createRemoveButton() {
    auto* button = new ButtonWithTrackingArea(this);
    button->setObjectName(QStringLiteral("removeFolderButton"));
    button->setGeometry(
        CoverFlowGeometry::flipped(CoverFlowGeometry::kRemoveButtonFrame, height()).toRect());
    button->setImagePosition(TitleButton::ImagePosition::ImageOnly);
    button->setImage(QStringLiteral("btn_del_folder"));
    button->setMainImage(QStringLiteral("btn_del_folder"));
    button->setHoveredImage(QStringLiteral("btn_del_folder_hover"));
    button->setAlternateImage(QStringLiteral("btn_del_folder_click"));
    button->setTrackingEnabled(true);
    button->hide();
    connect(button, &QAbstractButton::clicked, this, [this] { removeCurrentFolder(); });
    removeFolderButton_ = button;
    canShowRemoveButton_ = true;
    isMouseDown_ = false;
    removeFolderAfterDrop_ = false;
}

QRectF MBCoverFlowView::removeButtonArea() const {
    return rectForItemAtIndex(_selectionIndex);
}

void MBCoverFlowView::placeRemoveButton() {
    if (!removeFolderButton_)
        return;
    const QRectF card = removeButtonArea();
    const QRectF frame = card.isEmpty() ? CoverFlowGeometry::kRemoveButtonFrame
                                        : CoverFlowGeometry::removeButtonFrame(card);
    removeFolderButton_->setGeometry(CoverFlowGeometry::flipped(frame, height()).toRect());
}

void MBCoverFlowView::showRemoveButtonIfPointerIn(QPointF point) {
    if (!removeFolderButton_)
        return;
    // The selected card, as it is seen now, and nothing beside it.
    const QRectF card = removeButtonArea();
    const bool show = !card.isEmpty() && card.contains(point) && !dropFolderHereView_ &&
                      canShowRemoveButton_ && !_content.isEmpty();
    if (show) {
        placeRemoveButton();
        removeFolderButton_->raise();
    }
    removeFolderButton_->setVisible(show);
}

void MBCoverFlowView::mouseMoved(QPointF point) {
    showRemoveButtonIfPointerIn(point);
}

void MBCoverFlowView::holdBackRemoveButtonAfterSelection() {
    if (removeFolderButton_)
        removeFolderButton_->hide();
    canShowRemoveButton_ = false;
    AnimationClock::instance().cancel(m_removeButtonCheck);
    m_removeButtonCheck = AnimationClock::instance().after(
        CoverFlowGeometry::kRemoveButtonRecheckMs, this, [this] { tryToShowRemoveButton(); });
}

void MBCoverFlowView::tryToShowRemoveButton() {
    m_removeButtonCheck = 0;
    if (!isMouseDown_)
        canShowRemoveButton_ = true;
    placeRemoveButton();
    // The pointer may rest over the selected card without moving: look where it is now.
    const QPointF point = toYUp(mapFromGlobal(QCursor::pos()).toPointF());
    showRemoveButtonIfPointerIn(point);
}

void MBCoverFlowView::holdBackRemoveButtonAfterContent() {
    canShowRemoveButton_ = false;
    AnimationClock::instance().cancel(m_removeButtonRelease);
    m_removeButtonRelease =
        AnimationClock::instance().after(CoverFlowGeometry::kRemoveButtonHoldBackMs, this, [this] {
            m_removeButtonRelease = 0;
            canShowRemoveButton_ = true;
        });
    if (_content.isEmpty() && removeFolderButton_)
        removeFolderButton_->hide();
}

void MBCoverFlowView::removeCurrentFolder() {
    // The button removes the card it stands on: the selected one, found again under the
    // button, so a button left over a card that is no longer selected removes nothing.
    bool onSelected = false;
    if (removeFolderButton_) {
        const QPointF centre = toYUp(QRectF(removeFolderButton_->geometry()).center());
        onSelected = indexOfItemAtPoint(centre) == _selectionIndex;
        removeFolderButton_->hide();
    }
    if (onSelected && _selectionIndex >= 0 && _selectionIndex < _content.size())
        postFileRemoved(_selectionIndex);
}

void MBCoverFlowView::setOnInterimScreen(bool interim) {
    _onInterimScreen = interim;
    if (interim && removeFolderButton_) {
        // Taken out for good: the interim screen never offers removal by button.
        delete removeFolderButton_.data();
        removeFolderButton_ = nullptr;
    }
}

// --- Context menu ------------------------------------------------------------------------------

void MBCoverFlowView::rightMouseUp(QPointF point) {
    if (_onInterimScreen)
        return;
    setFocus(Qt::MouseFocusReason);
    if (m_contextMenu)
        m_contextMenu->deleteLater();

    auto* menu = new QMenu(QStringLiteral("Contextual Menu"), this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(tr(kAddFolderTitle), this,
                    [] { AppNotification::CreateAddFolderNotification(); });
    if (!_content.isEmpty()) {
        const long hit = indexOfItemAtPoint(point);
        if (hit != kNotFound)
            rightButtonClickedIndex_ = static_cast<int>(hit);
        // The folder commands act on the card that was clicked, found again by its path when
        // chosen, so a list that changed meanwhile never makes them act on another folder.
        // A click beside the cards offers them disabled.
        const bool onCard = hit != kNotFound;
        const QString path =
            onCard ? _content.at(hit).value(FolderEntry::kPath).toString() : QString();
        auto indexOfPath = [this, path]() -> long {
            for (qsizetype i = 0; i < _content.size(); ++i) {
                if (_content.at(i).value(FolderEntry::kPath).toString() == path)
                    return static_cast<long>(i);
            }
            return -1;
        };
        menu->addAction(tr(kFindDuplicatesTitle), this,
                        [] { AppNotification::CreateStartScanNotification(); });
        menu->addSeparator();
        QAction* reveal = menu->addAction(tr(kRevealTitle), this, [this, path, indexOfPath] {
            if (indexOfPath() >= 0 && m_reveal)
                m_reveal(path);
        });
        reveal->setEnabled(onCard);
        menu->addSeparator();
        QAction* remove = menu->addAction(tr(kRemoveFromListTitle), this, [this, indexOfPath] {
            const long index = indexOfPath();
            if (index >= 0)
                postFileRemoved(index);
        });
        remove->setEnabled(onCard);
        menu->addAction(tr(kClearListTitle), this,
                        [] { NotificationCenter::defaultCenter().post(kFileRemoved); });
    }
    m_contextMenu = menu;
    menu->popup(QCursor::pos());
    // The right-click then counts as a press: the card under it becomes selected.
    mouseDown(point, false, true);
}

// --- Drop area ---------------------------------------------------------------------------------

void MBCoverFlowView::addDropFolderHereView() {
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("dropFolderHereView"));
    area->setAttribute(Qt::WA_TransparentForMouseEvents);
    area->setGeometry(rect());
    auto* text = new QLabel(tr(kDropFoldersHere), area);
    text->setAlignment(Qt::AlignCenter);
    text->setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue-Medium"), 20));
    QPalette colours = text->palette();
    colours.setColor(QPalette::WindowText, Palette::dropFolderHereColor());
    text->setPalette(colours);
    text->setGeometry(
        CoverFlowGeometry::flipped(CoverFlowGeometry::dropTextFrame(size()), height()).toRect());
    area->show();
    area->raise();
    dropFolderHereView_ = area;
    if (removeFolderButton_)
        removeFolderButton_->hide();

    if (!m_dockAnimationVC) {
        auto* dock = new DockAnimationVC(this);
        dock->setGeometry(
            CoverFlowGeometry::flipped(CoverFlowGeometry::dockAnimationFrame(width()), height())
                .toRect());
        dock->show();
        dock->raise();
        m_dockAnimationVC = dock;
        dock->startAnimation();
    }
}

void MBCoverFlowView::removeDropFolderHereView() {
    delete dropFolderHereView_.data();
    dropFolderHereView_ = nullptr;
    if (m_dockAnimationVC) {
        m_dockAnimationVC->stopAnimation();
        delete m_dockAnimationVC.data();
        m_dockAnimationVC = nullptr;
    }
}
