#pragma once

#include <QPointer>
#include <QRectF>
#include <QWidget>

class PreferencesAutoSelectView;
class PreferencesExcludeListView;
class PreferencesGeneralView;
class PreferencesRemoveView;
class QAbstractButton;
class QLabel;
class WhiteTitleButton;

// The content of the preferences window: a top band with the four tab buttons over a
// highlight picture, and below it the one pane now shown. It owns the four panes for the
// life of the window; only the current one is visible. Geometry is computed in y-up
// coordinates from the bottom left (the pure functions below) and flipped once where views
// are placed. Main thread only.
class PreferencesMainView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreferencesMainView)

public:
    static constexpr qreal kTopBandHeight = 80;
    static constexpr qreal kPaneTopGap = 83;
    static constexpr qreal kHighlightOriginY = 366;
    static constexpr qreal kTabButtonWidth = 96;

    // In y-up coordinates of a view |size| large.
    static QRectF topBandRect(QSizeF size);
    static QRectF topBandEdgeRect(QSizeF size);
    static QRectF paneFrame(QSizeF size);
    // The highlight under a tab button whose frame is |buttonFrame|.
    static QRectF highlightFrame(const QRectF& buttonFrame, qreal highlightHeight);
    // |rect| in y-up coordinates of a view |height| high, as Qt places it (y down).
    static QRectF flipped(const QRectF& rect, qreal height);

    explicit PreferencesMainView(QWidget* parent = nullptr);

    // Loads the four panes once (General, Skip list, Auto-select, Remove) and shows
    // General with its highlight; no pane is reloaded twice.
    void loadDefaultInformation();

    // Makes |view| the shown pane, framed below the top band; nothing when it is already.
    void showView(QWidget* view);
    // Lays the highlight under |button| and keeps the button drawn over it.
    void moveSelectedButtonBgUnderButton(QAbstractButton* button);

    // The tab actions: highlight, show the pane, then reload it from the settings.
    void showGeneralView();
    void showExcludeListView();
    void showAutoSelectView();
    void showRemoveView();

    // Show the list pane (without reloading it first) and add |path| through its entry.
    void addFolderToAlwaysSelectList(bool always, const QString& path);
    void addFolderToSkipList(bool isFolder, const QString& path);

    // Closes the window, whether it was shown free or as a modal sheet.
    void onPressCloseButton();

    QWidget* currentView() const { return m_pCurrentView; }
    PreferencesGeneralView* generalView() const { return m_pGeneralView; }
    PreferencesExcludeListView* excludeListView() const { return m_pExcludeListView; }
    PreferencesAutoSelectView* autoSelectView() const { return m_pAutoSelectView; }
    PreferencesRemoveView* removeView() const { return m_pRemoveView; }
    WhiteTitleButton* generalButton() const { return m_pGeneralButton; }
    WhiteTitleButton* skipListButton() const { return m_pSkipListButton; }
    WhiteTitleButton* autoSelectButton() const { return m_pAutoSelectButton; }
    WhiteTitleButton* removeButton() const { return m_pRemoveButton; }
    QLabel* selectedButtonBg() const { return m_pSelectedButtonBg; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutTabButtons();
    void markSelectedButton(QAbstractButton* button);

    QPointer<QWidget> m_pCurrentView;
    WhiteTitleButton* m_pGeneralButton = nullptr;
    WhiteTitleButton* m_pSkipListButton = nullptr;
    WhiteTitleButton* m_pAutoSelectButton = nullptr;
    WhiteTitleButton* m_pRemoveButton = nullptr;
    QLabel* m_pSelectedButtonBg = nullptr;
    QPointer<QAbstractButton> m_selectedButton;
    PreferencesGeneralView* m_pGeneralView = nullptr;
    PreferencesExcludeListView* m_pExcludeListView = nullptr;
    PreferencesAutoSelectView* m_pAutoSelectView = nullptr;
    PreferencesRemoveView* m_pRemoveView = nullptr;
};
