#include "WindowController.h"

#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Toolkit/WindowPlacement.h"

#include <QDialog>

namespace {

// How far sheets come down on the results screen: below its toolbar, or below the review
// panel's top edge while the panel is open.
constexpr qreal kResultsSheetDrop = 89;
constexpr qreal kReviewPanelSheetDrop = 43;

} // namespace

QRectF WindowController::windowWillPositionSheetUsingRect(const QRectF& proposed) const {
    const SelectDuplicatesVC* results = m_selectDuplicatesController;
    if (!results)
        return proposed;
    const qreal drop = results->selectedFilesVC() ? kReviewPanelSheetDrop : kResultsSheetDrop;
    return proposed.translated(0, -drop);
}

void WindowController::positionSheet(QWidget* sheet) const {
    if (!sheet)
        return;
    // The platform's place: a rectangle of no height along the window's top edge (y up).
    const qreal h = height();
    const QRectF attach = windowWillPositionSheetUsingRect(QRectF(0, h, width(), 0));
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    const int top = static_cast<int>(h - attach.y() - attach.height());
    // A sheet larger than the screen can show is cut down to it, and it never hangs off
    // the screen's edge.
    WindowPlacement::fitSizeLimits(sheet);
    // Placed by its frame, window manager's decorations included.
    const QSize outer = sheet->size().grownBy(WindowPlacement::frameMargins(sheet));
    const QRect frame(origin.x() + static_cast<int>(attach.x()) +
                          (static_cast<int>(attach.width()) - outer.width()) / 2,
                      origin.y() + top, outer.width(), outer.height());
    sheet->move(
        WindowPlacement::fitFrame(frame, WindowPlacement::availableGeometry(this)).topLeft());
}

bool WindowController::isSheetOfThisWindow(const QObject* object) const {
    const auto* dialog = qobject_cast<const QDialog*>(object);
    return dialog && dialog->isWindow() && dialog->windowModality() == Qt::WindowModal &&
           dialog->parentWidget() && dialog->parentWidget()->window() == this;
}
