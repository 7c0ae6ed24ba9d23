// The results screen's help overlay: which hint screens each state shows and where the
// hints point.
#include "Browser/Frame/SelectDuplicatesVC.h"

#include "Browser/Frame/DuplicateBottombarVC.h"
#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Browser/Frame/ToolbarView.h"
#include "Browser/GroupList/FileListVC.h"
#include "Browser/Review/SelectedFilesVC.h"
#include "Browser/Similars/FolderPickerVC.h"
#include "Browser/Similars/HeapFilesSelectorVC.h"
#include "Browser/Similars/HeapsPickerVC.h"
#include "Categories/Settings.h"
#include "Hints/OverlayInfoController.h"
#include "Hints/OverlayInfoView.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicatesManager.h"

namespace {

// |rect| in the window's y-up coordinates.
QRectF windowRect(const QWidget* view) {
    if (!view)
        return {};
    const QWidget* window = view->window();
    const QPoint topLeft = view->mapTo(window, QPoint(0, 0));
    return QRectF(topLeft.x(), window->height() - topLeft.y() - view->height(), view->width(),
                  view->height());
}

QList<QRectF>& frames(int screen, int hint) {
    return DuplicatesManager::getFramesArrayForScreenAndHint(screen, hint);
}

// Every rectangle of the help-overlay table, screen by screen and hint by hint.
QList<QList<QRectF>> allHelpRectangles() {
    QList<QList<QRectF>> all;
    const auto& table = DuplicatesManager::sharedManager().overlayScreensDictionary();
    for (auto screen = table.cbegin(); screen != table.cend(); ++screen)
        for (const OverlayHint& hint : screen.value())
            all.append(hint.frames);
    return all;
}

} // namespace

QList<int> SelectDuplicatesVC::overlayScreensForState(int state, bool heapsChartVisible,
                                                      bool pieChartVisible) {
    switch (state) {
    case StateOverview: {
        QList<int> screens = {pieChartVisible ? 1 : 0};
        if (heapsChartVisible)
            screens << 2;
        return screens << 3 << 4 << 5;
    }
    case StateCategory:
        return {10};
    case StateSimilars:
        return {6, 7, 8, 9};
    default:
        return {};
    }
}

bool SelectDuplicatesVC::showOverlayInfo(std::function<void()> closeBlock) {
    if (m_overlayInfoViewController) {
        hideAndDestroyOverlay();
        return false;
    }
    if (m_selectedFilesVC && !m_selectedFilesVC->isHidden())
        return false;
    updateOverlayHintFrameValues();
    const QList<int> screens =
        overlayScreensForState(m_state, m_overviewHeapsChartVisible, m_overviewPiechartVisible);
    if (screens.isEmpty())
        return false;
    auto controller = std::make_unique<OverlayInfoController>();
    controller->setScreensArray(screens);
    controller->setCloseblock(std::move(closeBlock));
    appendOverlayInfoViewController(std::move(controller));
    return true;
}

void SelectDuplicatesVC::appendOverlayInfoViewController(
    std::unique_ptr<OverlayInfoController> controller) {
    if (!controller)
        return;
    m_overlayInfoViewController = std::move(controller);
    m_overlayInfoViewController->showOverlayOnView(this);
}

OverlayInfoController* SelectDuplicatesVC::overlayInfoViewController() const {
    return m_overlayInfoViewController.get();
}

void SelectDuplicatesVC::hideAndDestroyOverlay() {
    DuplicatesManager::sharedManager().setOverlayOnScreen(false);
    if (!m_overlayInfoViewController)
        return;
    // The close block runs from inside the controller's own click or key handler: the sheet
    // goes at once, the controller once that handler has returned.
    OverlayInfoController* controller = m_overlayInfoViewController.release();
    bool hadKeyboard = false;
    if (OverlayInfoView* sheet = controller->view()) {
        hadKeyboard = sheet->hasFocus();
        sheet->hide();
    }
    controller->deleteLater();
    // The keys go back to the list the help covered, so the arrows and Space work at once.
    if (!hadKeyboard)
        return;
    if (m_state == StateCategory && m_fileListVC && m_fileListVC->isVisible())
        m_fileListVC->makeTableViewActive();
    else if (m_state == StateSimilars && m_folderPickerVC && m_folderPickerVC->isVisible())
        m_folderPickerVC->makeListFirstResponder();
}

void SelectDuplicatesVC::refreshHelpRectangles() {
    const QList<QList<QRectF>> before = allHelpRectangles();
    updateOverlayHintFrameValues();
    m_duplicatesToolbar->viewFrameDidChangeNotification();
    m_duplicatesToolbar->viewWithButtons()->windowDidResize();
    m_duplicatesBottombar->viewFrameDidChangeNotification();
    if (m_overlayInfoViewController && allHelpRectangles() != before)
        NotificationCenter::defaultCenter().post(QStringLiteral("OverlayRedraw"));
}

void SelectDuplicatesVC::runFirstTimeOverlayStep(int state) {
    bool show = false;
    if (state == StateOverview && Settings::showOverlayOverviewScreen()) {
        Settings::setShowOverlayOverviewScreen(false);
        show = true;
    } else if (state == StateCategory && Settings::showOverlayCategoryScreen()) {
        Settings::setShowOverlayCategoryScreen(false);
        show = true;
    } else if (state == StateSimilars && Settings::showOverlaySimilarsScreen()) {
        Settings::setShowOverlaySimilarsScreen(false);
        show = true;
    }
    if (!show)
        return;
    hideAndDestroyOverlay();
    showOverlayInfo([this] { hideAndDestroyOverlay(); });
}

void SelectDuplicatesVC::updateOverlayHintFrameValues() {
    if (!window())
        return;
    const QRectF list = windowRect(m_fileListContainer);
    const int sortType = Settings::sortType();
    const qreal d = (sortType == 0 || sortType == 1 || sortType == 2 || sortType == 5) ? 30 : 0;
    frames(10, 0) = {QRectF(list.x(), list.y() + list.height() - 50 - d, list.width(), 50)};
    const QRectF sel = windowRect(m_duplicateSelectionContainer);
    frames(10, 1) = {QRectF(sel.x(), sel.y() + sel.height() - 77, sel.width(), 34)};
    const QRectF ql = windowRect(m_quickLookContainer);
    frames(10, 2) = {QRectF(ql.x() + 15, ql.y() + 15, ql.width() - 30, ql.height() - 30)};

    const QRectF fp = windowRect(m_folderPickerVC);
    const QRectF hp = windowRect(m_heapsPickerVC);
    frames(8, 0) = {QRectF(fp.x(), fp.y() + fp.height() - 50, fp.width(), 50),
                    QRectF(hp.x(), hp.y() + hp.height() - 50, hp.width(), 50)};
    const QRectF F = windowRect(m_heapFilesSelectorVC);
    const QRectF P = windowRect(m_heapRightView);
    const QRectF V = geometry();
    const QRectF U =
        m_heapFilesSelectorVC ? m_heapFilesSelectorVC->getUniqueFilesCellFrame() : QRectF();
    const bool noUnique = U.isNull();
    frames(8, 1) = {QRectF(F.x(), F.y() + F.height() - 30, F.width(), 30)};
    const QRectF centreTop(P.x() + P.width() / 2, P.y() + P.height() - 15, 0, 0);
    frames(8, 2) = {centreTop};
    frames(9, 0) = {centreTop};
    frames(9, 1) = {F.height() > 230 ? QRectF(F.x(), F.y() + F.height() - 150, F.width(), 150) : F};
    frames(9, 2) = {noUnique ? QRectF(V.x() + V.width() / 2, 50, 0, 0)
                             : QRectF(V.x() + 200, 50, 0, 0)};
    frames(9, 3) = {noUnique ? QRectF(P.x() + P.width() / 2, P.y(), 0, 0) : QRectF(-1000, 0, 0, 0)};
    frames(9, 4).clear();
    if (!noUnique)
        frames(9, 4) = {
            QRectF(F.x(), F.y() + F.height() - U.y() - 29 - U.height(), F.width(), U.height())};
}
