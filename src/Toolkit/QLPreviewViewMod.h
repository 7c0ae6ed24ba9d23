#pragma once

#include "Toolkit/PreviewView.h"

#include <QPointer>

class QuickLookVC;

// The preview of the pane. It shows its item only while it is larger than 50 x 50 points:
// collapsed, it shows nothing, and it shows the remembered item again when it grows. A
// double click asks the pane to open the panel on the same file.
class QLPreviewViewMod final : public PreviewView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QLPreviewViewMod)

public:
    static constexpr int kMinimumSide = 50;

    explicit QLPreviewViewMod(QWidget* parent = nullptr);

    // Always remembers |item|; shows it only while the view is large enough. The item is
    // the pane that owns this view, so it outlives the view.
    void setPreviewItem(const PreviewItem* item) override;
    const PreviewItem* cachedPreviewItem() const { return m_pCachedPreviewItem; }

    // Places the view (in its parent's coordinates), clearing or bringing back the shown
    // item by the size rule first.
    void setFrame(const QRect& frame);

    QuickLookVC* controller() const { return m_controller; }
    void setController(QuickLookVC* controller) { m_controller = controller; }

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    static bool isLargeEnough(QSize size);

    const PreviewItem* m_pCachedPreviewItem = nullptr;
    QPointer<QuickLookVC> m_controller;
    bool m_secondClick = false;
};
