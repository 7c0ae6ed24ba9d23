#include "Preferences/PreferencesMainView.h"

#include "Preferences/PreferencesAutoSelectView.h"
#include "Preferences/PreferencesExcludeListView.h"
#include "Preferences/PreferencesGeneralView.h"
#include "Preferences/PreferencesRemoveView.h"
#include "Preferences/PreferencesTexts.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/Palette.h"
#include "Toolkit/WhiteTitleButton.h"

#include <QLabel>
#include <QPainter>

QRectF PreferencesMainView::topBandRect(QSizeF size) {
    return {0, size.height() - kTopBandHeight, size.width(), kTopBandHeight};
}

QRectF PreferencesMainView::topBandEdgeRect(QSizeF size) {
    return {0, size.height() - kTopBandHeight, size.width(), 1};
}

QRectF PreferencesMainView::paneFrame(QSizeF size) {
    return {0, 0, size.width(), size.height() - kPaneTopGap};
}

QRectF PreferencesMainView::highlightFrame(const QRectF& buttonFrame, qreal highlightHeight) {
    return {buttonFrame.x(), kHighlightOriginY, buttonFrame.width(), highlightHeight};
}

QRectF PreferencesMainView::flipped(const QRectF& rect, qreal height) {
    return {rect.x(), height - rect.y() - rect.height(), rect.width(), rect.height()};
}

PreferencesMainView::PreferencesMainView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PreferencesMainView"));
    m_pSelectedButtonBg = new QLabel(this);
    m_pSelectedButtonBg->setScaledContents(true);
    m_pSelectedButtonBg->resize(int(kTabButtonWidth), int(kTopBandHeight));
    auto makeTab = [this](const QString& title) {
        auto* button = new WhiteTitleButton(this);
        button->setPointSize(14);
        button->setColor(Palette::toolbarButtonsTextColor());
        button->setTitle(title);
        return button;
    };
    m_pGeneralButton = makeTab(PreferencesTexts::generalTab());
    m_pSkipListButton = makeTab(PreferencesTexts::skipListTab());
    m_pAutoSelectButton = makeTab(PreferencesTexts::autoSelectTab());
    m_pRemoveButton = makeTab(PreferencesTexts::removeTab());
    connect(m_pGeneralButton, &QAbstractButton::clicked, this, [this] { showGeneralView(); });
    connect(m_pSkipListButton, &QAbstractButton::clicked, this, [this] { showExcludeListView(); });
    connect(m_pAutoSelectButton, &QAbstractButton::clicked, this, [this] { showAutoSelectView(); });
    connect(m_pRemoveButton, &QAbstractButton::clicked, this, [this] { showRemoveView(); });

    m_pGeneralView = new PreferencesGeneralView(this);
    m_pExcludeListView = new PreferencesExcludeListView(this);
    m_pAutoSelectView = new PreferencesAutoSelectView(this);
    m_pRemoveView = new PreferencesRemoveView(this);
    for (QWidget* pane :
         {static_cast<QWidget*>(m_pGeneralView), static_cast<QWidget*>(m_pExcludeListView),
          static_cast<QWidget*>(m_pAutoSelectView), static_cast<QWidget*>(m_pRemoveView)})
        pane->hide();
}

void PreferencesMainView::loadDefaultInformation() {
    m_pSelectedButtonBg->setPixmap(ImageStore::pixmap(
        DarkImageName::prependDarkPrefixIfNeeded(QStringLiteral("prefs_tab_select")),
        QSizeF(kTabButtonWidth, kTopBandHeight), devicePixelRatioF()));
    m_pGeneralView->loadDefaultInformation();
    m_pExcludeListView->loadDefaultInformation();
    m_pAutoSelectView->loadDefaultInformation();
    m_pRemoveView->loadDefaultInformation();
    layoutTabButtons();
    moveSelectedButtonBgUnderButton(m_pGeneralButton);
    showView(m_pGeneralView);
}

void PreferencesMainView::showView(QWidget* view) {
    if (!view || view == m_pCurrentView)
        return;
    if (m_pCurrentView)
        m_pCurrentView->hide();
    m_pCurrentView = view;
    view->setGeometry(flipped(paneFrame(size()), height()).toRect());
    view->show();
}

void PreferencesMainView::moveSelectedButtonBgUnderButton(QAbstractButton* button) {
    if (!m_pSelectedButtonBg || !button)
        return;
    const qreal h = height();
    const QRectF buttonFrame = flipped(QRectF(button->geometry()), h);
    const QRectF frame = highlightFrame(buttonFrame, m_pSelectedButtonBg->height());
    m_pSelectedButtonBg->setGeometry(flipped(frame, h).toRect());
    m_pSelectedButtonBg->show();
    // The button draws over its highlight.
    button->raise();
    markSelectedButton(button);
}

void PreferencesMainView::markSelectedButton(QAbstractButton* button) {
    m_selectedButton = button;
    for (WhiteTitleButton* tab :
         {m_pGeneralButton, m_pSkipListButton, m_pAutoSelectButton, m_pRemoveButton})
        tab->setColor(tab == button ? Palette::toolbarSelectedButtonTextColor()
                                    : Palette::toolbarButtonsTextColor());
}

void PreferencesMainView::showGeneralView() {
    moveSelectedButtonBgUnderButton(m_pGeneralButton);
    showView(m_pGeneralView);
    m_pGeneralView->updateData();
}

void PreferencesMainView::showExcludeListView() {
    moveSelectedButtonBgUnderButton(m_pSkipListButton);
    showView(m_pExcludeListView);
    m_pExcludeListView->updateData();
}

void PreferencesMainView::showAutoSelectView() {
    moveSelectedButtonBgUnderButton(m_pAutoSelectButton);
    showView(m_pAutoSelectView);
    m_pAutoSelectView->updateData();
}

void PreferencesMainView::showRemoveView() {
    moveSelectedButtonBgUnderButton(m_pRemoveButton);
    showView(m_pRemoveView);
    m_pRemoveView->updateData();
}

void PreferencesMainView::addFolderToAlwaysSelectList(bool always, const QString& path) {
    moveSelectedButtonBgUnderButton(m_pAutoSelectButton);
    showView(m_pAutoSelectView);
    m_pAutoSelectView->addFolderToAlwaysSelectList(always, path);
}

void PreferencesMainView::addFolderToSkipList(bool isFolder, const QString& path) {
    moveSelectedButtonBgUnderButton(m_pSkipListButton);
    showView(m_pExcludeListView);
    m_pExcludeListView->addFolderToSkipList(isFolder, path);
}

void PreferencesMainView::onPressCloseButton() {
    window()->close();
}

void PreferencesMainView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal h = height();
    painter.fillRect(
        rect(), Palette::properColorWithRedGreenBlueAlpha(85 / 255.f, 85 / 255.f, 85 / 255.f, 1));
    painter.fillRect(flipped(topBandRect(size()), h), Palette::toolbarTexturedBackgroundColor());
    painter.fillRect(
        flipped(topBandEdgeRect(size()), h),
        Palette::properColorWithRedGreenBlueAlpha(74 / 255.f, 74 / 255.f, 74 / 255.f, 1));
}

void PreferencesMainView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutTabButtons();
    if (m_selectedButton)
        moveSelectedButtonBgUnderButton(m_selectedButton);
    if (m_pCurrentView)
        m_pCurrentView->setGeometry(flipped(paneFrame(size()), height()).toRect());
}

void PreferencesMainView::layoutTabButtons() {
    // The four tabs side by side, centred in the band.
    const QList<WhiteTitleButton*> tabs{m_pGeneralButton, m_pSkipListButton, m_pAutoSelectButton,
                                        m_pRemoveButton};
    const qreal left = (width() - kTabButtonWidth * tabs.size()) / 2;
    for (int i = 0; i < tabs.size(); ++i) {
        const QRectF frame(left + kTabButtonWidth * i, height() - kTopBandHeight, kTabButtonWidth,
                           kTopBandHeight);
        tabs[i]->setGeometry(flipped(frame, height()).toRect());
    }
}
