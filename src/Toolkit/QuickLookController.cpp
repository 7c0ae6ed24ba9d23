#include "Toolkit/QuickLookController.h"

#include "Platform/NotificationCenter.h"
#include "Toolkit/PreviewView.h"

#include <QVariant>

namespace {
constexpr quint16 kSpaceKeyCode = 49;
} // namespace

QuickLookController& QuickLookController::sharedQuickLookController() {
    // Made once and kept for the whole process: the panel and the lists reach it at any
    // time, also while the application shuts down.
    static QuickLookController* controller = new QuickLookController;
    return *controller;
}

QuickLookController::QuickLookController() {
    PreviewPanel::addControllerCandidate(this);
}

void QuickLookController::setFileItemByPath(const QByteArray& path) {
    aFileQLItems.clear();
    aFileQLItems.append(std::make_shared<FileQLItem>(path));
    if (_previewPanel)
        _previewPanel->reloadData();
}

void QuickLookController::showPreviewPanel() {
    if (PreviewPanel::sharedPreviewPanelExists() && PreviewPanel::sharedPreviewPanel()->isVisible())
        PreviewPanel::sharedPreviewPanel()->orderOut();
    else
        PreviewPanel::sharedPreviewPanel()->makeKeyAndOrderFront();
}

bool QuickLookController::acceptsPreviewPanelControl(PreviewPanel*) {
    return true;
}

void QuickLookController::beginPreviewPanelControl(PreviewPanel* panel) {
    _previewPanel = panel;
    panel->setDelegate(this);
    panel->setDataSource(this);
}

void QuickLookController::endPreviewPanelControl(PreviewPanel* panel) {
    _previewPanel = nullptr;
    if (panel->delegate() == this)
        panel->setDelegate(nullptr);
    if (panel->dataSource() == this)
        panel->setDataSource(nullptr);
}

int QuickLookController::numberOfPreviewItemsInPreviewPanel(PreviewPanel* panel) {
    return panel && panel == _previewPanel ? int(aFileQLItems.size()) : 0;
}

const PreviewItem* QuickLookController::previewPanelPreviewItemAtIndex(PreviewPanel* panel,
                                                                       int index) {
    if (!panel || panel != _previewPanel || index < 0 || index >= aFileQLItems.size())
        return nullptr;
    return aFileQLItems.at(index).get();
}

bool QuickLookController::previewPanelHandleEvent(PreviewPanel*, const PreviewPanelEvent& event) {
    const bool keyDown = event.type == PreviewPanelEvent::Type::KeyDown;
    if (!keyDown && !(event.isKeyEvent() && event.key.keyCode == kSpaceKeyCode))
        return false;
    NotificationCenter::defaultCenter().post(
        quickLookKeyPressedNotificationName(),
        {{QStringLiteral("Event"), QVariant::fromValue(event.key)},
         {QStringLiteral("Type"), QVariant::fromValue(uint(_quicklookType))}});
    return true;
}

QIcon QuickLookController::previewPanelTransitionImageForPreviewItemContentRect(
    PreviewPanel*, const PreviewItem* item, QRect*) {
    if (!item)
        return {};
    return PreviewView::iconForPath(item->previewItemPath());
}
