#pragma once

#include "Toolkit/FileQLItem.h"
#include "Toolkit/PreviewPanel.h"

#include <QList>
#include <QPointer>

#include <memory>

// The process's one feeder of the preview panel. The results lists record which of them
// drives it (setQuicklookType) and give it the path of their selected file
// (setFileItemByPath); the panel's key presses come back to them as the notification
// "QuickLookKeyPressed" with {"Event": the KeyEvent, "Type": the source type as an
// unsigned number}, so the list that opened the panel moves its selection while the panel
// stays open.
//
// It is its panel's data source and delegate while it holds the panel (between
// beginPreviewPanelControl and endPreviewPanelControl). Main thread only; never destroyed.
class QuickLookController final : public PreviewPanelDataSource,
                                  public PreviewPanelDelegate,
                                  public PreviewPanelController {
public:
    static QuickLookController& sharedQuickLookController();
    static QString quickLookKeyPressedNotificationName() {
        return QStringLiteral("QuickLookKeyPressed");
    }

    QuickLookController(const QuickLookController&) = delete;
    QuickLookController& operator=(const QuickLookController&) = delete;

    int quicklookType() const { return _quicklookType; }
    void setQuicklookType(int type) { _quicklookType = type; }

    // The panel while this controller holds it, else nullptr.
    PreviewPanel* previewPanel() const { return _previewPanel; }
    void setPreviewPanel(PreviewPanel* panel) { _previewPanel = panel; }

    // The panel's items become the one file at |path|; a held panel reloads.
    void setFileItemByPath(const QByteArray& path);
    const QList<std::shared_ptr<FileQLItem>>& fileItems() const { return aFileQLItems; }

    // Puts the shared panel away when it exists and is visible, else brings it to the
    // front (making it first).
    static void showPreviewPanel();

    bool acceptsPreviewPanelControl(PreviewPanel* panel) override;
    void beginPreviewPanelControl(PreviewPanel* panel) override;
    void endPreviewPanelControl(PreviewPanel* panel) override;

    int numberOfPreviewItemsInPreviewPanel(PreviewPanel* panel) override;
    const PreviewItem* previewPanelPreviewItemAtIndex(PreviewPanel* panel, int index) override;

    // A key down, or any other key event of the space bar (49), is posted and taken;
    // everything else is left to the panel.
    bool previewPanelHandleEvent(PreviewPanel* panel, const PreviewPanelEvent& event) override;
    // The icon of the item's file type (null for no item); read from the name alone.
    QIcon previewPanelTransitionImageForPreviewItemContentRect(PreviewPanel* panel,
                                                               const PreviewItem* item,
                                                               QRect* contentRect) override;

private:
    QuickLookController();

    QList<std::shared_ptr<FileQLItem>> aFileQLItems;
    int _quicklookType = 0;
    QPointer<PreviewPanel> _previewPanel;
};
