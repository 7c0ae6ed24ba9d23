#include "Toolkit/QLPreviewViewMod.h"

#include "Toolkit/QuickLookVC.h"

#include <QMouseEvent>

namespace {

// The last mouse release handled by any preview, process-wide: the same event reaching a
// preview a second time (forwarded from the text or pages inside, or passed up from a
// child) is ignored altogether.
struct HandledRelease {
    const QMouseEvent* event = nullptr;
    quint64 timestamp = 0;
};
HandledRelease g_lastRelease;

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
    if (g_lastRelease.event == event && g_lastRelease.timestamp == event->timestamp())
        return;
    g_lastRelease = {event, event->timestamp()};
    const bool secondClick = std::exchange(m_secondClick, false);
    if (secondClick && m_controller)
        m_controller->showQuicklookInNewWindow();
    else
        PreviewView::mouseReleaseEvent(event);
}
