#include "Browser/Overview/BarChartView.h"

#include "Browser/Overview/OverviewPainting.h"
#include "Categories/AppNotification.h"
#include "Categories/FileSize.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesHeaps.h"
#include "Results/DuplicatesManager.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"
#include "Toolkit/WhiteTitleButton.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

struct BarRow {
    const char* name;
    QColor (*color)();
    QColor (*border)();
    QColor (*bottom)();
};

const BarRow kRows[BarChartView::kBarCount] = {
    {"Pictures", Palette::picturesDuplicatesStick, Palette::picturesStickBorder,
     Palette::picturesBottomStick},
    {"Movies", Palette::moviesDuplicatesStick, Palette::moviesStickBorder,
     Palette::moviesBottomStick},
    {"Music", Palette::musicDuplicatesStick, Palette::musicStickBorder, Palette::musicBottomStick},
    {"Documents", Palette::documentsDuplicatesStick, Palette::documentsStickBorder,
     Palette::documentsBottomStick},
    {"Archives", Palette::archivesDuplicatesStick, Palette::archivesStickBorder,
     Palette::archivesBottomStick},
    {"Others", Palette::othersDuplicatesStick, Palette::othersStickBorder,
     Palette::othersBottomStick},
    {"Folders", Palette::foldersDuplicatesStick, Palette::foldersStickBorder,
     Palette::foldersBottomStick},
    {"Similars", Palette::heapsDuplicatesStick, Palette::heapsStickBorder,
     Palette::heapsBottomStick},
};

QFont labelFont() {
    return Fonts::fontWithName(QStringLiteral("HelveticaNeue-Medium"), 12);
}

// The smallest the labels of narrow bars get before they are cut.
constexpr int kSmallestLabelSize = 9;

} // namespace

QFont BarChartView::labelFontForWidth(qreal room, const QStringList& texts) {
    QFont font = labelFont();
    for (int size = 12; size > kSmallestLabelSize; --size) {
        font.setPixelSize(size);
        const QFontMetricsF metrics(font);
        if (std::all_of(texts.begin(), texts.end(), [&](const QString& text) {
                return metrics.horizontalAdvance(text) <= room;
            }))
            return font;
    }
    font.setPixelSize(kSmallestLabelSize);
    return font;
}

QString BarChartView::fittedLabel(const QString& text, const QFont& font, qreal room) {
    const QFontMetricsF metrics(font);
    return metrics.horizontalAdvance(text) <= room
               ? text
               : metrics.elidedText(text, Qt::ElideRight, std::max<qreal>(room, 0));
}

BarChartView::BarChartView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    updateChartValues();
    NotificationCenter::defaultCenter().addObserver(
        this, AppNotification::DuplicatesContainerDataChangedNotificationName(),
        [this](const Notification&) { scheduleUpdate(); });
}

void BarChartView::scheduleUpdate() {
    if (m_updateScheduled)
        return;
    m_updateScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_updateScheduled = false;
            updateChartValues();
        },
        Qt::QueuedConnection);
}

void BarChartView::updateChartValues() {
    const std::shared_ptr<DuplicatesContainer> container =
        DuplicatesManager::sharedManager().duplicateContainer();
    for (int i = 0; i < kBarCount; ++i) {
        std::int64_t size = 0;
        if (container && i < kSimilarsBar) {
            if (auto category = container->getCategoryWithType(i))
                size = std::int64_t(category->getTotalSize());
        } else if (container && container->getHeaps()) {
            size = std::int64_t(container->getHeaps()->getTotalHeapsSize());
        }
        m_sizes[size_t(i)] = size;
        const BarRow& row = kRows[i];
        m_chartArray[size_t(i)] = {size, QString::fromLatin1(row.name), row.color(), row.border(),
                                   row.bottom()};
    }
    relayout();
    update();
}

std::int64_t BarChartView::getMaxChartValue() const {
    const std::int64_t max = *std::max_element(m_sizes.begin(), m_sizes.end());
    return max == 0 ? 1 : max;
}

float BarChartView::chartWidth(float frameWidth) {
    // A frame narrower than the narrow layout's 830 points (a window on a small screen)
    // gets narrower bars; its margins shrink with it from that layout's 56 points down to
    // 33, which still hold the bars inside the chart's panel, so the bars and their labels
    // keep what room there is.
    if (frameWidth < 830)
        return std::max(frameWidth - 112 + std::min(46.0f, (830 - frameWidth) * 0.25f), 0.0f);
    return frameWidth > 1050 ? frameWidth - 1050 + 718 : 718;
}

float BarChartView::barWidth(float chartWidth) {
    return std::floor((chartWidth - 14) * 0.125f);
}

float BarChartView::labelHeight(std::int64_t size) {
    return size != 0 ? 35 : 20;
}

float BarChartView::barHeight(std::int64_t size, float chartHeight, float label, std::int64_t max) {
    if (size <= 0)
        return 0;
    const float h = std::floor(float(size) * (chartHeight - label) / float(max));
    return h < 4 ? 4 : h;
}

QRectF BarChartView::getHalfPointInnerRectFrom(const QRectF& rect) {
    return {rect.x() + 0.5, rect.y() + 0.5, std::max<qreal>(rect.width() - 1, 0),
            std::max<qreal>(rect.height() - 1, 0)};
}

std::array<BarChartView::BarGeometry, BarChartView::kBarCount>
BarChartView::layoutBars(const QSizeF& frame, const std::array<std::int64_t, kBarCount>& sizes) {
    std::int64_t max = *std::max_element(sizes.begin(), sizes.end());
    if (max == 0)
        max = 1;
    const float chartHeight = float(frame.height()) - 1;
    const float a = chartWidth(float(frame.width()));
    const float x0 = std::floor((float(frame.width()) - a) * 0.5f);
    const float b = barWidth(a);
    std::array<BarGeometry, kBarCount> bars{};
    for (int i = 0; i < kBarCount; ++i) {
        const std::int64_t size = sizes[size_t(i)];
        const float label = labelHeight(size);
        const float x = x0 + float(i) * (b + 2);
        const float h = barHeight(size, chartHeight, label, max);
        BarGeometry& bar = bars[size_t(i)];
        bar.bar = QRectF(x, label, b, h);
        bar.labelBlock = QRectF(x, 1, b, label);
        bar.hitArea = getHalfPointInnerRectFrom(bar.bar);
    }
    return bars;
}

void BarChartView::relayout() {
    m_bars = layoutBars(size(), m_sizes);
    if (window() == this)
        return;
    QList<QRectF> frames;
    for (const BarGeometry& bar : m_bars) {
        const QRectF withLabel(bar.bar.x(), 0, bar.bar.width(),
                               bar.labelBlock.height() + bar.bar.height());
        frames << OverviewPainting::windowRectYUp(this, toQt(withLabel));
    }
    if (OverviewPainting::writeOverlayFrames(0, 0, frames))
        NotificationCenter::defaultCenter().post(QStringLiteral("OverlayRedraw"));
}

void BarChartView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout();
}

void BarChartView::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    relayout();
}

void BarChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (int i = 0; i < kBarCount; ++i) {
        const BarChartEntry& entry = m_chartArray[size_t(i)];
        const BarGeometry& bar = m_bars[size_t(i)];
        painter.fillRect(toQt(bar.bar), entry.color);
        if (bar.bar.height() > 0) {
            painter.setPen(QPen(entry.borderColor, 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(toQt(bar.hitArea));
        }
        fillBottomPartWithName(painter, entry, bar);
    }
}

void BarChartView::fillBottomPartWithName(QPainter& painter, const BarChartEntry& entry,
                                          const BarGeometry& bar) const {
    const QRectF block = bar.labelBlock;
    painter.fillRect(toQt(block), entry.bottomColor);
    // Bars too narrow for the labels (a window on a small screen) get them smaller, all in
    // one size, and cut only below that, so that no label runs into the next bar's.
    const qreal room = block.width() - 2;
    QStringList names;
    QStringList sizes;
    for (const BarChartEntry& each : m_chartArray) {
        names << each.name;
        if (each.size > 0)
            sizes << FileSize::formatMemoryStringDot1With3DigitsExactly(std::uint64_t(each.size));
    }
    const QColor white = Palette::properColorWithRedGreenBlueAlpha(1, 1, 1, 1);
    // Text origins sit on the pixel grid: whole points plus a half.
    auto snapped = [](qreal v) { return std::trunc(v) + 0.5; };
    auto centred = [&](const QString& whole, const QStringList& row, qreal yOffset) {
        const QFont font = labelFontForWidth(room, row);
        const QString text = fittedLabel(whole, font, room);
        const qreal width = OverviewPainting::textSize(text, font).width();
        OverviewPainting::drawTextAt(
            painter, text, font, white,
            {snapped(block.x() + (block.width() - width) / 2), snapped(block.y() + yOffset)},
            height());
    };
    if (entry.size > 0)
        centred(FileSize::formatMemoryStringDot1With3DigitsExactly(std::uint64_t(entry.size)),
                sizes, 18);
    centred(entry.name, names, 3);
}

int BarChartView::barAt(const QPointF& pointQt) const {
    for (int i = 0; i < kBarCount; ++i)
        if (toQt(m_bars[size_t(i)].hitArea).contains(pointQt))
            return i;
    return -1;
}

void BarChartView::mouseMoveEvent(QMouseEvent* event) {
    if (DuplicatesManager::sharedManager().overlayOnScreen())
        return;
    OverviewPainting::setPointingHand(this, barAt(event->position()) >= 0);
}

void BarChartView::mouseReleaseEvent(QMouseEvent* event) {
    // The whole results screen is sliding in or out: no click counts.
    if (m_controller && m_controller->animating())
        return;
    QWidget::mouseReleaseEvent(event);
    const int index = barAt(event->position());
    if (index < 0 || !m_controller)
        return;
    if (index == kSimilarsBar)
        m_controller->pressSimilarsButton();
    else
        m_controller->pressButtonForCategoryType(index);
}

void BarChartView::setController(ResultsFrame* controller) {
    m_controller = controller;
}

ResultsFrame* BarChartView::controller() const {
    return m_controller;
}
