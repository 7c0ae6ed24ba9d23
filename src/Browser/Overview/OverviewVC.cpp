#include "Browser/Overview/OverviewVC.h"

#include "Browser/Overview/BarChartView.h"
#include "Browser/Overview/HeapsChart.h"
#include "Browser/Overview/OverviewPainting.h"
#include "Browser/Overview/PieChartView.h"
#include "Browser/Overview/QuickHintsView.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesHeaps.h"
#include "Results/DuplicatesManager.h"
#include "Shell/ScreenAnimation.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/Backgrounds.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/Palette.h"
#include "Toolkit/ViewMasks.h"
#include "Toolkit/WhiteTitleButton.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr qreal kHintColumnBottom = 72;
constexpr qreal kSwitchButtonsBottom = 25;
constexpr const char* kFadeGeneration = "overviewFadeGeneration";

// The grey rounded panel behind the chart, with its 1-point darker border.
class OverviewGrayPanel final : public GrayContainerView {
public:
    using GrayContainerView::GrayContainerView;

protected:
    void paintEvent(QPaintEvent* event) override {
        GrayContainerView::paintEvent(event);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const float border = 60.0f / 255.0f;
        painter.setPen(
            QPen(Palette::properColorWithRedGreenBlueAlpha(border, border, border, 1), 1));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }
};

// Stretches with its parent.
void stretch(QWidget* view) {
    ViewMasks::applyAllMasks(view);
}
// Follows its parent's height only, keeping its width, with a flexible right margin.
void fixedWidth(QWidget* view) {
    ViewMasks::applyAllMasks(view);
    ViewMasks::fixRightEdge(view, false);
    ViewMasks::fixWidth(view, true);
}
void pinnedBottomRight(QWidget* view) {
    ViewMasks::removeAllMasks(view);
    ViewMasks::fixBottomEdge(view, true);
    ViewMasks::fixRightEdge(view, true);
}
void pinnedBottomLeft(QWidget* view) {
    ViewMasks::removeAllMasks(view);
    ViewMasks::fixBottomEdge(view, true);
    ViewMasks::fixLeftEdge(view, true);
}

void setSwitchButtonImage(WhiteTitleButton* button, const QString& name, const QString& alternate) {
    button->setImage(DarkImageName::prependDarkPrefixIfNeeded(name));
    button->setAlternateImage(DarkImageName::prependDarkPrefixIfNeeded(alternate));
}

} // namespace

OverviewVC::OverviewVC(QWidget* parent) : QWidget(parent) {
    setObjectName(QLatin1String(kInterfaceName));
}

OverviewVC::~OverviewVC() = default;

void OverviewVC::setController(ResultsFrame* controller) {
    m_controller = controller;
}

ResultsFrame* OverviewVC::controller() const {
    return m_controller;
}

// ---- Pure layout.

QRectF OverviewVC::grayPanelFrame(const QSizeF& size) {
    const qreal w = isNarrowLayout(size.width()) ? 780 : size.width() - 420;
    // The panel stands kGrayPanelBottom above the window's bottom edge (rather than running
    // under it), its top where it always was, and still holds the chart switch buttons.
    return {25, kGrayPanelBottom, w, size.height() - 23 - kGrayPanelBottom};
}

QRectF OverviewVC::pieChartFrame(const QSizeF& size) {
    return {1, 50, size.width() - 370, size.height() - 70};
}

QRectF OverviewVC::barChartFrame(const QSizeF& size) {
    const qreal w = isNarrowLayout(size.width()) ? 830 : size.width() - 370;
    return {1, 72, w, size.height() - 140};
}

qreal OverviewVC::switchButtonsCentre(const QRectF& pieFrame) {
    return std::floor(float(pieFrame.x()) + float(pieFrame.width()) * 0.5f);
}

qreal OverviewVC::hintColumnHeight(qreal hintsHeight, qreal heapsHeight) {
    float h = float(hintsHeight) + float(heapsHeight);
    if (hintsHeight > 0 && heapsHeight > 0)
        h += 20;
    return h;
}

qreal OverviewVC::hintColumnY(qreal columnHeight, const QRectF& barFrame) {
    if (columnHeight > barFrame.height())
        return barFrame.y();
    return barFrame.y() + std::floor((barFrame.height() - columnHeight) * 0.5);
}

// ---- Placing.

QRectF OverviewVC::frameYUp(const QWidget* child) const {
    const qreal parentHeight = child->parentWidget() ? child->parentWidget()->height() : height();
    const QRect g = child->geometry();
    return {qreal(g.x()), parentHeight - g.y() - g.height(), qreal(g.width()), qreal(g.height())};
}

void OverviewVC::setFrameYUp(QWidget* view, const QRectF& frame, qreal parentHeight) {
    view->setGeometry(
        QRectF(frame.x(), parentHeight - frame.y() - frame.height(), frame.width(), frame.height())
            .toRect());
}

bool OverviewVC::heapsChartInColumn() const {
    return m_heapsChartView && m_heapsChartView->parentWidget() == m_hintContainerView;
}

void OverviewVC::loadAllViewsWithVisiblePieChart(bool showPie) {
    const QSizeF size = this->size();
    const qreal w = size.width();
    const qreal h = size.height();

    m_grayContainerView = new OverviewGrayPanel(this);
    setFrameYUp(m_grayContainerView, grayPanelFrame(size), h);
    if (isNarrowLayout(w))
        fixedWidth(m_grayContainerView);
    else
        stretch(m_grayContainerView);

    m_hintContainerView = new QWidget(this);
    m_quickHintsView = new QuickHintsView(m_hintContainerView);
    m_quickHintsView->setContainer(this);
    m_quickHintsView->setController(m_controller);
    m_heapsChartView = new HeapsChart(this);
    m_heapsChartView->setContainer(this);
    m_heapsChartView->setController(m_controller);

    const qreal hintsHeight = QuickHintsView::kInitialHeight;
    const qreal columnHeight = HeapsChart::kFullHeight + hintsHeight + 20;
    setFrameYUp(m_hintContainerView,
                {w - kHintColumnRightInset, kHintColumnBottom, kHintColumnWidth, columnHeight}, h);
    const std::shared_ptr<DuplicatesContainer> container =
        DuplicatesManager::sharedManager().duplicateContainer();
    const bool hasHeaps =
        container && container->getHeaps() && container->getHeaps()->getTotalHeapsSize() > 0;
    if (hasHeaps) {
        m_heapsChartView->setParent(m_hintContainerView);
        setFrameYUp(m_quickHintsView, {0, 1, QuickHintsView::kPanelWidth, hintsHeight},
                    columnHeight);
        setFrameYUp(m_heapsChartView,
                    {0, hintsHeight + 20, HeapsChart::kPanelWidth, HeapsChart::kFullHeight},
                    columnHeight);
    } else {
        // Made all the same, for its answer tells the results screen there are no rows.
        m_heapsChartView->hide();
        m_heapsChartView->resize(HeapsChart::kPanelWidth, HeapsChart::kFullHeight);
        setFrameYUp(
            m_quickHintsView,
            {0, (columnHeight - hintsHeight) * 0.5, QuickHintsView::kPanelWidth, hintsHeight},
            columnHeight);
    }
    pinnedBottomRight(m_hintContainerView);
    m_hintContainerView->hide();

    m_pieChartView = new PieChartView(this);
    m_pieChartView->setController(m_controller);
    setFrameYUp(m_pieChartView, pieChartFrame(size), h);
    stretch(m_pieChartView);
    m_pieChartView->redrawOverview();

    m_barChartView = new BarChartView(this);
    m_barChartView->setController(m_controller);
    setFrameYUp(m_barChartView, barChartFrame(size), h);
    if (isNarrowLayout(w))
        fixedWidth(m_barChartView);
    else
        stretch(m_barChartView);

    const qreal barWidth = m_barChartView->width();
    m_barChartButton = new WhiteTitleButton(this);
    m_pieChartButton = new WhiteTitleButton(this);
    setFrameYUp(m_barChartButton,
                {barWidth * 0.5 - kSwitchButtonWidth, kSwitchButtonsBottom, kSwitchButtonWidth,
                 kSwitchButtonHeight},
                h);
    setFrameYUp(m_pieChartButton,
                {barWidth * 0.5, kSwitchButtonsBottom, kSwitchButtonWidth, kSwitchButtonHeight}, h);
    setSwitchButtonImage(m_barChartButton, QStringLiteral("btn_Bar"),
                         QStringLiteral("btn_Bar_click"));
    setSwitchButtonImage(m_pieChartButton, QStringLiteral("btn_Pie"),
                         QStringLiteral("btn_Pie_click"));
    for (WhiteTitleButton* button : {m_barChartButton.data(), m_pieChartButton.data()}) {
        pinnedBottomLeft(button);
        button->setImagePosition(TitleButton::ImagePosition::ImageOnly);
        button->setTitle(QString());
    }
    connect(m_barChartButton, &WhiteTitleButton::clicked, this, &OverviewVC::barButtonPressed);
    connect(m_pieChartButton, &WhiteTitleButton::clicked, this, &OverviewVC::pieButtonPressed);

    const qreal c = switchButtonsCentre(frameYUp(m_pieChartView));
    setFrameYUp(
        m_barChartButton,
        {c - kSwitchButtonWidth, kSwitchButtonsBottom, kSwitchButtonWidth, kSwitchButtonHeight}, h);
    setFrameYUp(m_pieChartButton,
                {c, kSwitchButtonsBottom, kSwitchButtonWidth, kSwitchButtonHeight}, h);

    if (showPie)
        showPieChartViewForced(true);
    else
        showBarChartViewForced(true);
}

// ---- Switching charts.

void OverviewVC::barButtonPressed() {
    showBarChartViewForced(false);
}

void OverviewVC::pieButtonPressed() {
    showPieChartViewForced(false);
}

void OverviewVC::fade(QWidget* view, bool show, bool forced, int durationMs) {
    if (!view)
        return;
    // Only the last fade of a view decides whether it ends hidden.
    const int generation = view->property(kFadeGeneration).toInt() + 1;
    view->setProperty(kFadeGeneration, generation);
    if (forced) {
        ScreenAnimation::setAlphaValue(view, 1.0);
        view->setVisible(show);
        return;
    }
    if (show) {
        if (view->isHidden()) {
            ScreenAnimation::setAlphaValue(view, 0.0);
            view->show();
        }
        ScreenAnimation::animate(view, 1.0, std::nullopt, durationMs);
        return;
    }
    QPointer<QWidget> target = view;
    ScreenAnimation::animate(view, 0.0, std::nullopt, durationMs, [target, generation] {
        if (target && target->property(kFadeGeneration).toInt() == generation)
            target->hide();
    });
}

void OverviewVC::showBarChartViewForced(bool forced) {
    m_pieShown = false;
    fade(m_pieChartView, false, forced);
    fade(m_barChartView, true, forced);
    m_barChartButton->setImage(
        DarkImageName::prependDarkPrefixIfNeeded(QStringLiteral("btn_Bar_click")));
    m_barChartButton->setColor(Palette::properColorWithRedGreenBlueAlpha(1, 1, 1, 1));
    m_pieChartButton->setImage(DarkImageName::prependDarkPrefixIfNeeded(QStringLiteral("btn_Pie")));
    m_pieChartButton->setColor(Palette::chartSwitcherButtonColor());
    if (m_controller)
        m_controller->setOverviewPiechartVisible(false);
}

void OverviewVC::showPieChartViewForced(bool forced) {
    m_pieShown = true;
    fade(m_pieChartView, true, forced);
    fade(m_barChartView, false, forced);
    m_barChartButton->setImage(DarkImageName::prependDarkPrefixIfNeeded(QStringLiteral("btn_Bar")));
    m_barChartButton->setColor(Palette::chartSwitcherButtonColor());
    m_pieChartButton->setImage(
        DarkImageName::prependDarkPrefixIfNeeded(QStringLiteral("btn_Pie_click")));
    m_pieChartButton->setColor(Palette::properColorWithRedGreenBlueAlpha(1, 1, 1, 1));
    if (m_controller)
        m_controller->setOverviewPiechartVisible(true);
}

// ---- The hint column.

void OverviewVC::updateHintsContainerFrame() {
    if (!m_hintContainerView || !m_quickHintsView || !m_heapsChartView)
        return;
    const qreal hintsHeight = m_quickHintsView->height();
    const qreal heapsHeight = m_heapsChartView->height();
    const qreal columnHeight = hintColumnHeight(hintsHeight, heapsHeight);
    setFrameYUp(
        m_hintContainerView,
        {width() - qreal(kHintColumnRightInset), kHintColumnBottom, kHintColumnWidth, columnHeight},
        height());
    setFrameYUp(m_quickHintsView, {0, 0, qreal(m_quickHintsView->width()), hintsHeight},
                columnHeight);
    setFrameYUp(
        m_heapsChartView,
        {0, hintsHeight > 0 ? hintsHeight + 20 : 0, qreal(m_heapsChartView->width()), heapsHeight},
        m_heapsChartView->parentWidget() == m_hintContainerView ? columnHeight : qreal(height()));
    windowDidResize();
}

void OverviewVC::windowDidResize() {
    if (!m_pieChartView || !m_barChartView || !m_hintContainerView)
        return;
    const qreal h = height();
    // Narrower than the results window's own minimum (a screen too small for it): the chart
    // panel and the bar chart give up width, as the wide layout's margins say, and keep
    // clear of the hint column.
    // Given back when the window is wide enough again.
    for (QWidget* view :
         {static_cast<QWidget*>(m_grayContainerView), static_cast<QWidget*>(m_barChartView)}) {
        const QRectF narrow =
            view == m_grayContainerView ? grayPanelFrame({1200, h}) : barChartFrame({1200, h});
        const int wanted = int(narrow.width()) - std::max(0, 1200 - width());
        if (width() < 1200 && view->width() > wanted) {
            view->resize(std::max(0, wanted), view->height());
            view->setProperty("narrowedForScreen", true);
        } else if (view->property("narrowedForScreen").toBool()) {
            view->resize(std::max(0, wanted), view->height());
            if (width() >= 1200)
                view->setProperty("narrowedForScreen", false);
        }
    }
    const qreal c = switchButtonsCentre(frameYUp(m_pieChartView));
    if (m_barChartButton)
        setFrameYUp(
            m_barChartButton,
            {c - kSwitchButtonWidth, kSwitchButtonsBottom, kSwitchButtonWidth, kSwitchButtonHeight},
            h);
    if (m_pieChartButton)
        setFrameYUp(m_pieChartButton,
                    {c, kSwitchButtonsBottom, kSwitchButtonWidth, kSwitchButtonHeight}, h);

    const QRectF column = frameYUp(m_hintContainerView);
    // A column taller than the chart runs down past it rather than up under the toolbar: its
    // top, where the titles are, stays on the screen.
    const qreal columnY = std::min(hintColumnY(column.height(), frameYUp(m_barChartView)),
                                   qreal(h) - column.height() - 10);
    setFrameYUp(m_hintContainerView,
                {width() - qreal(kHintColumnRightInset), columnY, column.width(), column.height()},
                h);

    if (window() == this)
        return;
    if (m_heapsChartView)
        OverviewPainting::writeOverlayFrames(
            2, 0, {OverviewPainting::windowRectYUp(m_heapsChartView, m_heapsChartView->rect())});
    if (m_quickHintsView)
        OverviewPainting::writeOverlayFrames(
            3, 0, {OverviewPainting::windowRectYUp(m_quickHintsView, m_quickHintsView->rect())});
}

void OverviewVC::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    windowDidResize();
}

void OverviewVC::showHintsAnimated(bool animated) {
    if (!m_hintContainerView)
        return;
    if (animated) {
        fade(m_hintContainerView, true, false);
        return;
    }
    fade(m_hintContainerView, true, true);
    if (m_barChartView)
        stretch(m_barChartView);
    if (m_grayContainerView)
        stretch(m_grayContainerView);
}

void OverviewVC::hideHints() {
    if (!m_hintContainerView)
        return;
    fade(m_hintContainerView, false, false);
    if (m_barChartView)
        fixedWidth(m_barChartView);
    if (m_grayContainerView)
        fixedWidth(m_grayContainerView);
}

void OverviewVC::hideWithCompletion(const std::function<void()>& completion) {
    const QList<QPointer<QWidget>> views = {m_grayContainerView.data(), m_heapsChartView.data(),
                                            m_quickHintsView.data(),    m_pieChartView.data(),
                                            m_barChartView.data(),      m_barChartButton.data(),
                                            m_pieChartButton.data()};
    for (const QPointer<QWidget>& view : views)
        if (view)
            fade(view, false, false, kHideMs);
    AnimationClock::instance().after(kHideMs, this, [this, views, completion] {
        if (m_controller && m_controller->state() != ResultsFrame::StateOverview) {
            for (const QPointer<QWidget>& view : views)
                if (view)
                    view->deleteLater();
        }
        if (completion)
            completion();
    });
}
