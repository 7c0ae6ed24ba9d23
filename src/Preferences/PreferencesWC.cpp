#include "Preferences/PreferencesWC.h"

#include "Preferences/PreferencesMainView.h"
#include "Preferences/PreferencesTexts.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/WindowPlacement.h"

#include <QAbstractButton>

PreferencesWC::PreferencesWC(QWidget* parent) : DraggableWindow(parent) {
    setObjectName(QLatin1String(kInterfaceName));
    setWindowTitle(PreferencesTexts::windowTitle());
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kWindowSize);
    WindowPlacement::attachToMainWindow(this, true);
    m_pMainView = new PreferencesMainView(this);
    m_pMainView->setGeometry(rect());
    // The close button lies in the top band and scrolls with it on a screen too small for
    // the window.
    m_closeButton = new ButtonWithTrackingArea(m_pMainView);
    m_closeButton->setImagePosition(TitleButton::ImagePosition::ImageOnly);
    m_closeButton->setGeometry(12, 12, 14, 14);
    connect(m_closeButton, &QAbstractButton::clicked, m_pMainView,
            [this] { m_pMainView->onPressCloseButton(); });
    awakeFromNib();
    windowDidLoad();
    WindowPlacement::holdContentInScrollArea(this, m_pMainView);
}

void PreferencesWC::awakeFromNib() {
    m_closeButton->setTrackingEnabled(true);
    // The window buttons' pictures have no dark twins.
    m_closeButton->setImage(QStringLiteral("btn_red"));
    m_closeButton->setMainImage(QStringLiteral("btn_red"));
    m_closeButton->setHoveredImage(QStringLiteral("btn_red_select"));
}

void PreferencesWC::windowDidLoad() {
    m_pMainView->loadDefaultInformation();
    m_closeButton->raise();
    // Every button of the panes is reached with Tab, as a dialog's controls are; a click
    // still leaves the focus where it was.
    for (QAbstractButton* button : findChildren<QAbstractButton*>())
        if (button != m_closeButton && button->focusPolicy() == Qt::NoFocus)
            button->setFocusPolicy(Qt::TabFocus);
}

PreferencesWC* PreferencesWC::showWindow() {
    auto* window = new PreferencesWC;
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

PreferencesWC* PreferencesWC::beginSheet() {
    auto* window = new PreferencesWC;
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

QRectF PreferencesWC::windowWillPositionSheet(const QRectF& proposed) {
    QRectF result = proposed;
    result.moveTop(proposed.y() - kSheetOffset);
    return result;
}

void PreferencesWC::positionSheet(QWidget* window, QWidget* sheet) {
    if (!window || !sheet || !qobject_cast<PreferencesWC*>(window))
        return;
    // A sheet hangs from the window's top edge: a rectangle of no height at y = H (y up).
    const qreal h = window->height();
    const QRectF attach = windowWillPositionSheet(QRectF(0, h, window->width(), 0));
    const QRectF placed = PreferencesMainView::flipped(attach, h);
    const QPoint topLeft = window->mapToGlobal(QPoint(0, 0));
    sheet->move(topLeft.x() + (window->width() - sheet->width()) / 2,
                topLeft.y() + int(placed.y()));
}

void PreferencesWC::addFolderToAlwaysSelectList(bool always, const QString& path) {
    m_pMainView->addFolderToAlwaysSelectList(always, path);
}

void PreferencesWC::addFolderToSkipList(bool isFolder, const QString& path) {
    m_pMainView->addFolderToSkipList(isFolder, path);
}
