#include "Toolkit/QLPreviewViewMod.h"

#include "Toolkit/QuickLookVC.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTimer>

namespace {

// The last mouse release handled by any preview, process-wide: the same event reaching a
// preview a second time (forwarded from the text or pages inside, or passed up from a
// child) is ignored altogether. An event object is the same event only while it is being
// delivered, so the memory is cleared on the next turn of the event loop (the address of
// a finished event may be reused by a later one).
const QMouseEvent* g_lastRelease = nullptr;

} // namespace

QLPreviewViewMod::QLPreviewViewMod(QWidget* parent) : PreviewView(parent) {}

bool QLPreviewViewMod::isLargeEnough(QSize size) {
    return size.width() > kMinimumSide && size.height() > kMinimumSide;
}

void QLPreviewViewMod::setPreviewItem(const PreviewItem* item) {
    m_pCachedPreviewItem = item;
    if (isLargeEnough(size()))
        PreviewView::setPreviewItem(item);
}

void QLPreviewViewMod::setFrame(const QRect& frame) {
    if (!isLargeEnough(frame.size())) {
        if (previewItem())
            PreviewView::setPreviewItem(nullptr);
    } else if (previewItem() != m_pCachedPreviewItem) {
        PreviewView::setPreviewItem(m_pCachedPreviewItem);
    }
    setGeometry(frame);
}

void QLPreviewViewMod::mouseDoubleClickEvent(QMouseEvent* event) {
    m_secondClick = true;
    PreviewView::mouseDoubleClickEvent(event);
}

void QLPreviewViewMod::mouseReleaseEvent(QMouseEvent* event) {
    if (g_lastRelease == event)
        return;
    g_lastRelease = event;
    QTimer::singleShot(0, qApp, [] { g_lastRelease = nullptr; });
    const bool secondClick = std::exchange(m_secondClick, false);
    if (secondClick && m_controller)
        m_controller->showQuicklookInNewWindow();
    else
        PreviewView::mouseReleaseEvent(event);
}
