#pragma once

#include "Browser/Common/ResultsFrame.h"

#include "Browser/Overview/BarChartView.h"
#include "Browser/Overview/HeapsChart.h"
#include "Browser/Overview/PieChartView.h"
#include "Browser/Overview/QuickHintsView.h"
#include "Toolkit/Backgrounds.h"
#include "Toolkit/WhiteTitleButton.h"

#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QWidget>

#include <functional>

// The overview of a result, the results screen's first state: the pie or the bar chart on a
// grey panel, two buttons under it that switch between them, and on the right the hint
// column with the "Cleanup Hints" panel under the "Biggest Similars" chart.
//
// Built anew each time the results screen enters its overview state. The hints panel and
// the heaps chart start background calculations when made; their answers come back on the
// main thread in either order and re-size the hint column through
// updateHintsContainerFrame(). The hint column starts hidden; the results screen shows it.
//
// Geometry is worked out in y-up coordinates of the root view (origin bottom left) by the
// static functions below and flipped once when placing. Main thread only.
class OverviewVC : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OverviewVC)

public:
    static constexpr const char* kInterfaceName = "OverviewVC";
    static constexpr int kHintColumnWidth = 320;
    static constexpr int kHintColumnRightInset = 368;
    static constexpr int kSwitchButtonWidth = 84;
    static constexpr int kSwitchButtonHeight = 30;
    static constexpr int kFadeMs = 250;
    static constexpr int kHideMs = 1000;

    explicit OverviewVC(QWidget* parent = nullptr);
    ~OverviewVC() override;

    void setController(ResultsFrame* controller);
    ResultsFrame* controller() const;

    // Builds every view, then shows the pie chart when |showPie|, else the bar chart.
    void loadAllViewsWithVisiblePieChart(bool showPie);
    void barButtonPressed();
    void pieButtonPressed();
    // Shows one chart and hides the other, at once when |forced|, else with a short fade;
    // tells the results screen which chart shows.
    void showBarChartViewForced(bool forced);
    void showPieChartViewForced(bool forced);
    // Re-sizes the hint column to what its two members need.
    void updateHintsContainerFrame();
    // Re-places the switch buttons and the hint column and refreshes the overlay frames.
    void windowDidResize();
    void showHintsAnimated(bool animated);
    void hideHints();
    // Fades the overview's views out over a second; then, when the results screen has left
    // the overview state meanwhile, removes them; |completion| runs in every case.
    void hideWithCompletion(const std::function<void()>& completion);

    // ---- Pure layout (y-up, root view of |size|).
    static bool isNarrowLayout(qreal width) { return width <= 1200; }
    static constexpr qreal kGrayPanelBottom = 12;
    static QRectF grayPanelFrame(const QSizeF& size);
    static QRectF pieChartFrame(const QSizeF& size);
    static QRectF barChartFrame(const QSizeF& size);
    // The left edge of the pie switch button (the bar button ends there).
    static qreal switchButtonsCentre(const QRectF& pieFrame);
    // The column's height for its two members' heights.
    static qreal hintColumnHeight(qreal hintsHeight, qreal heapsHeight);
    // The column's y: the bar chart's, or centred on the bar chart's height when shorter.
    static qreal hintColumnY(qreal columnHeight, const QRectF& barFrame);

    // ---- Read back.
    PieChartView* pieChartView() const { return m_pieChartView; }
    BarChartView* barChartView() const { return m_barChartView; }
    HeapsChart* heapsChartView() const { return m_heapsChartView; }
    QuickHintsView* quickHintsView() const { return m_quickHintsView; }
    WhiteTitleButton* barChartButton() const { return m_barChartButton; }
    WhiteTitleButton* pieChartButton() const { return m_pieChartButton; }
    QWidget* hintContainerView() const { return m_hintContainerView; }
    GrayContainerView* grayContainerView() const { return m_grayContainerView; }
    bool heapsChartInColumn() const;
    bool pieChartShown() const { return m_pieShown; }
    // A child's frame in this view's y-up coordinates.
    QRectF frameYUp(const QWidget* child) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void setFrameYUp(QWidget* view, const QRectF& frame, qreal parentHeight);
    void fade(QWidget* view, bool show, bool forced, int durationMs = kFadeMs);

    QPointer<PieChartView> m_pieChartView;
    QPointer<BarChartView> m_barChartView;
    QPointer<HeapsChart> m_heapsChartView;
    QPointer<QuickHintsView> m_quickHintsView;
    QPointer<WhiteTitleButton> m_barChartButton;
    QPointer<WhiteTitleButton> m_pieChartButton;
    QPointer<QWidget> m_hintContainerView;
    QPointer<GrayContainerView> m_grayContainerView;
    ResultsFramePointer m_controller;
    bool m_pieShown = false;
};
