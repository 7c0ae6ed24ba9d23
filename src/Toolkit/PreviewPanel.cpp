#include "Toolkit/PreviewPanel.h"

#include "Platform/ui/KeyEventFromQt.h"
#include "Toolkit/Palette.h"
#include "Toolkit/PreviewItem.h"
#include "Toolkit/PreviewView.h"
#include "Toolkit/WindowPlacement.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace {

constexpr quint16 kEscapeKeyCode = 53;
constexpr quint16 kSpaceKeyCode = 49;
constexpr quint32 kModifierMask = KeyEvent::ShiftKeyMask | KeyEvent::ControlKeyMask |
                                  KeyEvent::OptionKeyMask | KeyEvent::CommandKeyMask;
constexpr int kMargin = 12;

QPointer<PreviewPanel>& sharedPanel() {
    static QPointer<PreviewPanel> panel;
    return panel;
}

std::vector<PreviewPanelController*>& candidates() {
    static std::vector<PreviewPanelController*> list;
    return list;
}

bool isModifierKey(int key) {
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
        return true;
    default:
        return false;
    }
}

} // namespace

PreviewPanel* PreviewPanel::sharedPreviewPanel() {
    if (!sharedPanel())
        sharedPanel() = new PreviewPanel;
    return sharedPanel();
}

bool PreviewPanel::sharedPreviewPanelExists() {
    return !sharedPanel().isNull();
}

void PreviewPanel::addControllerCandidate(PreviewPanelController* candidate) {
    if (candidate &&
        std::find(candidates().begin(), candidates().end(), candidate) == candidates().end())
        candidates().push_back(candidate);
}

void PreviewPanel::removeControllerCandidate(PreviewPanelController* candidate) {
    std::erase(candidates(), candidate);
    // A controller going away ends its control first, so it leaves no delegate or data
    // source of its own behind in the panel.
    if (PreviewPanel* panel = sharedPanel(); panel && panel->m_controller == candidate)
        panel->endControl();
}

PreviewPanel::PreviewPanel(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("PreviewPanel"));
    setFocusPolicy(Qt::StrongFocus);
    m_previewView = new PreviewView(this);
    resize(kDefaultSize);
    // Escape and Space reach the panel's own key handling, which puts it away.
    WindowPlacement::attachToMainWindow(this, false);
}

void PreviewPanel::reloadData() {
    const PreviewItem* item = nullptr;
    if (m_dataSource &&
        m_dataSource->numberOfPreviewItemsInPreviewPanel(this) > currentPreviewItemIndex())
        item = m_dataSource->previewPanelPreviewItemAtIndex(this, currentPreviewItemIndex());
    m_previewView->setPreviewItem(item);
    setWindowTitle(item ? item->previewItemTitle() : QString());
    if (m_delegate)
        setWindowIcon(
            m_delegate->previewPanelTransitionImageForPreviewItemContentRect(this, item, nullptr));
}

void PreviewPanel::updateController() {
    if (m_controller)
        return;
    for (PreviewPanelController* candidate : candidates()) {
        if (candidate->acceptsPreviewPanelControl(this)) {
            m_controller = candidate;
            candidate->beginPreviewPanelControl(this);
            break;
        }
    }
}

void PreviewPanel::endControl() {
    if (PreviewPanelController* controller = m_controller) {
        m_controller = nullptr;
        controller->endPreviewPanelControl(this);
    }
}

void PreviewPanel::makeKeyAndOrderFront() {
    updateController();
    reloadData();
    show();
    raise();
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
}

void PreviewPanel::orderOut() {
    hide();
    endControl();
}

void PreviewPanel::handleKey(QKeyEvent* event, bool down) {
    PreviewPanelEvent panelEvent;
    panelEvent.type = isModifierKey(event->key()) ? PreviewPanelEvent::Type::FlagsChanged
                                                  : (down ? PreviewPanelEvent::Type::KeyDown
                                                          : PreviewPanelEvent::Type::KeyUp);
    panelEvent.key = keyEventFromQt(*event);
    event->accept();
    const bool closeKey =
        panelEvent.type == PreviewPanelEvent::Type::KeyDown &&
        (panelEvent.key.keyCode == kEscapeKeyCode || panelEvent.key.keyCode == kSpaceKeyCode) &&
        (panelEvent.key.modifierFlags & kModifierMask) == 0;
    const bool taken = m_delegate && m_delegate->previewPanelHandleEvent(this, panelEvent);
    // Escape, and Space that opened it, put the panel away once the delegate has seen the
    // key, as a desktop's preview window closes on them.
    if (closeKey || (!taken && panelEvent.type == PreviewPanelEvent::Type::KeyDown &&
                     panelEvent.key.keyCode == kEscapeKeyCode))
        orderOut();
}

void PreviewPanel::keyPressEvent(QKeyEvent* event) {
    handleKey(event, true);
}

void PreviewPanel::keyReleaseEvent(QKeyEvent* event) {
    handleKey(event, false);
}

void PreviewPanel::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    endControl();
}

void PreviewPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Palette::quicklookBackgroundColor());
}

void PreviewPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_previewView->setGeometry(rect().adjusted(kMargin, kMargin, -kMargin, -kMargin));
}
