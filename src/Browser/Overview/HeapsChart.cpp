#include "Browser/Overview/HeapsChart.h"

#include "Browser/Overview/QuickHintRecords.h"

#include "Browser/Frame/CategoryStateManager.h"
#include "Browser/Overview/OverviewPainting.h"
#include "Browser/Overview/OverviewVC.h"
#include "Categories/AppNotification.h"
#include "Categories/FileSize.h"
#include "FileTree/FolderSystemItem.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesHeap.h"
#include "Results/DuplicatesHeaps.h"
#include "Results/DuplicatesManager.h"
#include "Results/HeapsFolderData.h"
#include "Selection/DuplicatesManagerDelegate.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr qreal kHeaderHeight = 30;
constexpr int kFirstBarWidth = 158;
constexpr int kBarStep = 17;

// Hands the answer to the chart only while it exists.
class HeapsChartRelay final : public DuplicatesManagerDelegate {
public:
    explicit HeapsChartRelay(HeapsChart* chart) : m_chart(chart) {}
    void onCalculatedTenBiggestHeaps(
        const std::vector<std::shared_ptr<DuplicatesHeap>>& heaps) override {
        if (m_chart)
            m_chart->onCalculatedTenBiggestHeaps(heaps);
    }

private:
    QPointer<HeapsChart> m_chart;
};

} // namespace

HeapsChart::HeapsChart(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    ask();
    // An answer is dropped when the result changes while it is computed: ask again then.
    NotificationCenter::defaultCenter().addObserver(
        this, AppNotification::DuplicatesContainerDataChangedNotificationName(),
        [this](const Notification&) {
            if (!m_answered)
                ask();
        });
}

void HeapsChart::ask() {
    DuplicatesManager::sharedManager().calculateTenBiggestHeapsWithDelegate(
        std::make_shared<HeapsChartRelay>(this));
}

int HeapsChart::heightForRows(int rows) {
    if (rows <= 0)
        return 0;
    return rows >= kMaxRows ? kFullHeight : 39 * rows + 59;
}

std::vector<int> HeapsChart::barWidths(const std::vector<std::uint64_t>& sizes) {
    std::vector<int> widths;
    for (size_t i = 0; i < sizes.size(); ++i) {
        if (i == 0)
            widths.push_back(kFirstBarWidth);
        else
            widths.push_back(sizes[i] < sizes[i - 1] ? widths.back() - kBarStep : widths.back());
    }
    return widths;
}

void HeapsChart::onCalculatedTenBiggestHeaps(
    const std::vector<std::shared_ptr<DuplicatesHeap>>& heaps) {
    m_answered = true;
    m_heapsArray.clear();
    for (const std::shared_ptr<DuplicatesHeap>& heap : heaps) {
        if (m_heapsArray.size() == kMaxRows)
            break;
        if (!heap)
            continue;
        auto [mainName, secondName] = QuickHintRecords::distinguishingNames(
            heap->getMainFolderItem(), heap->getSecondFolderItem());
        m_heapsArray.push_back(
            {heap->getHeapSize(), std::move(mainName), std::move(secondName), heap});
    }
    m_selectedHeap = -1;
    const int rows = int(m_heapsArray.size());
    resize(rows == 0 ? 0 : width(), rows < kMaxRows ? heightForRows(rows) : height());
    if (m_controller)
        m_controller->setOverviewHeapsChartVisible(rows > 0);
    if (m_container)
        m_container->updateHintsContainerFrame();
    update();
}

HeapsChart::RowFrames HeapsChart::rowFrames(int i, int barWidth, qreal h) const {
    const qreal y = h - 77 - 39.0 * i;
    return {QRectF(123, y, barWidth, 27), QRectF(16, y + 13.5, 100, 14.5),
            QRectF(16, y + 1, 100, 14.5)};
}

int HeapsChart::rowAt(const QPointF& pointQt) const {
    std::vector<std::uint64_t> sizes;
    for (const HeapsChartRow& row : m_heapsArray)
        sizes.push_back(row.size);
    const std::vector<int> widths = barWidths(sizes);
    for (int i = 0; i < int(m_heapsArray.size()); ++i) {
        const RowFrames frames = rowFrames(i, widths[size_t(i)], height());
        if (toQt(frames.bar).contains(pointQt) || toQt(frames.folder1).contains(pointQt) ||
            toQt(frames.folder2).contains(pointQt))
            return i;
    }
    return -1;
}

void HeapsChart::paintEvent(QPaintEvent*) {
    if (width() == 0 || height() == 0)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = width();
    const qreal h = height();
    const qreal lineWidth = int(devicePixelRatioF()) == 1 ? 1.0 : 0.5;

    QPainterPath panel;
    panel.addRoundedRect(QRectF(0, 0, w, h), 3, 3);
    painter.fillPath(panel, Palette::hintBackgroundColor());
    painter.save();
    painter.setClipPath(panel);
    painter.fillRect(toQt(QRectF(0, h - kHeaderHeight, w, kHeaderHeight)),
                     Palette::hintHeaderColor());
    painter.restore();
    painter.setPen(QPen(Palette::hintBorderColor(), lineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 3, 3);
    painter.fillRect(toQt(QRectF(0, h - kHeaderHeight, w, lineWidth)), Palette::hintBorderColor());

    const QFont titleFont = Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 16);
    const QString title = QStringLiteral("Biggest Similars");
    const qreal titleWidth = OverviewPainting::textSize(title, titleFont).width();
    OverviewPainting::drawTextAt(painter, title, titleFont,
                                 Palette::quickHintUnderlineButtonColor(),
                                 {std::floor((w - titleWidth) * 0.5), h - 25}, h);

    std::vector<std::uint64_t> sizes;
    for (const HeapsChartRow& row : m_heapsArray)
        sizes.push_back(row.size);
    const std::vector<int> widths = barWidths(sizes);
    const QFont sizeFont = Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 12);
    const QFont nameFont = Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 11);
    const QFontMetricsF nameMetrics(nameFont);
    for (int i = 0; i < int(m_heapsArray.size()); ++i) {
        const HeapsChartRow& row = m_heapsArray[size_t(i)];
        const RowFrames frames = rowFrames(i, widths[size_t(i)], h);
        const bool selected = i == m_selectedHeap;
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(toQt(frames.bar), selected ? Palette::hintChartSelectedStickColor()
                                                    : Palette::hintChartStickColor());
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(selected ? Palette::hintChartSelectedStickBorderColor()
                                     : Palette::hintChartStickBorderColor(),
                            1.0));
        painter.drawRect(
            toQt(QRectF(frames.bar.x() + 0.5, frames.bar.y() + 0.5, frames.bar.width() - 1, 26)));
        const QColor sizeColor = selected ? Palette::properColorWithRedGreenBlueAlpha(1, 1, 1, 1)
                                          : Palette::hintChartSizeColor();
        OverviewPainting::drawTextAt(painter, FileSize::formatMemoryStringDot1(row.size), sizeFont,
                                     sizeColor, {130, frames.bar.y() + 6}, h);
        painter.setFont(nameFont);
        painter.setPen(Palette::hintChartFolderNameColor());
        for (const auto& [text, rect] :
             {std::pair{row.folder1, frames.folder1}, std::pair{row.folder2, frames.folder2}})
            painter.drawText(toQt(rect), Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine,
                             nameMetrics.elidedText(text, Qt::ElideRight, rect.width()));
    }
}

void HeapsChart::mouseMoveEvent(QMouseEvent* event) {
    if (DuplicatesManager::sharedManager().overlayOnScreen())
        return;
    const int row = rowAt(event->position());
    OverviewPainting::setPointingHand(this, row >= 0);
    if (row != m_selectedHeap) {
        m_selectedHeap = row;
        update();
    }
}

void HeapsChart::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (m_selectedHeap != -1) {
        m_selectedHeap = -1;
        update();
    }
}

void HeapsChart::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || DuplicatesManager::sharedManager().overlayOnScreen())
        return;
    const int row = rowAt(event->position());
    if (row >= 0)
        showFolderInHeaps(m_heapsArray[size_t(row)].heap.lock());
}

void HeapsChart::showFolderInHeaps(const std::shared_ptr<DuplicatesHeap>& heap) {
    if (!heap || !m_controller)
        return;
    const std::shared_ptr<DuplicatesContainer> container =
        DuplicatesManager::sharedManager().duplicateContainer();
    if (!container || !container->getHeaps())
        return;
    // A heap whose folders left the result's folder table is gone: opening it would show
    // folders that are no longer there.
    std::shared_ptr<HeapsFolderData> mainFolder;
    std::shared_ptr<HeapsFolderData> secondFolder;
    for (const auto& [path, data] : container->getHeaps()->getAllFoldersData()) {
        if (data->getFolderSystemItem() == heap->getMainFolderItem())
            mainFolder = data;
        if (data->getFolderSystemItem() == heap->getSecondFolderItem())
            secondFolder = data;
    }
    if (!mainFolder || !secondFolder)
        return;
    CategoryStateManager::sharedManager().setMainFolderItem(mainFolder);
    CategoryStateManager::sharedManager().setSecondFolderItem(secondFolder);
    m_controller->showHeapFromFolderCategoryWithPath(QByteArray());
}

void HeapsChart::setController(ResultsFrame* controller) {
    m_controller = controller;
}

void HeapsChart::setContainer(OverviewVC* container) {
    m_container = container;
}
