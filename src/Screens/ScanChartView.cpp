#include "ScanChartView.h"

#include "Categories/FileSize.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/Palette.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRandomGenerator>

#include <cmath>

namespace {

constexpr int kPhantomBase = 20;
constexpr int kPhantomCollapseMs = 1500;
constexpr int kPhantomPeriodMs = 1000;
constexpr int kTextSize = 12;

struct BarLook {
    const char* label;
    const char* candy;
    QColor (*body)();
    QColor (*duplicates)();
    QColor (*border)();
    QColor (*band)();
};

const std::array<BarLook, ScanChartView::kBarCount>& looks() {
    static const std::array<BarLook, ScanChartView::kBarCount> table{{
        {"Pictures", "PicturesLoad", Palette::picturesStick, Palette::picturesDuplicatesStick,
         Palette::picturesStickBorder, Palette::picturesBottomStick},
        {"Movies", "MoviesLoad", Palette::moviesStick, Palette::moviesDuplicatesStick,
         Palette::moviesStickBorder, Palette::moviesBottomStick},
        {"Music", "MusicLoad", Palette::musicStick, Palette::musicDuplicatesStick,
         Palette::musicStickBorder, Palette::musicBottomStick},
        {"Documents", "DocumentsLoad", Palette::documentsStick, Palette::documentsDuplicatesStick,
         Palette::documentsStickBorder, Palette::documentsBottomStick},
        {"Archives", "ArchivesLoad", Palette::archivesStick, Palette::archivesDuplicatesStick,
         Palette::archivesStickBorder, Palette::archivesBottomStick},
        {"Others", "OthersLoad", Palette::othersStick, Palette::othersDuplicatesStick,
         Palette::othersStickBorder, Palette::othersBottomStick},
        {"Folders", "FoldersLoad", Palette::foldersStick, Palette::foldersDuplicatesStick,
         Palette::foldersStickBorder, Palette::foldersBottomStick},
        {"Similars", "HeapsLoad", Palette::heapsStick, Palette::heapsDuplicatesStick,
         Palette::heapsStickBorder, Palette::heapsBottomStick},
    }};
    return table;
}

QString candyImageName(int bar) {
    return DarkImageName::prependDarkPrefixIfNeeded(QLatin1String(looks()[bar].candy));
}

// A text point snapped to the pixel grid: both coordinates truncated, plus half a point.
QPointF snapped(qreal x, qreal y) {
    return {std::trunc(x) + 0.5, std::trunc(y) + 0.5};
}

} // namespace

ScanChartView::ScanChartView(QWidget* parent) : QWidget(parent) {
    setMinimumWidth(kMinimumWidth);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    m_state = 0;
    resetScannedFiles();
    resetDuplicates();
    m_candyStart = AnimationClock::instance().now();
    updateCandyTimer();
}

QString ScanChartView::labelOfBar(int index) {
    return QLatin1String(looks().at(index).label);
}

// ---- Values.

void ScanChartView::setSize(int bar, int64_t size) {
    m_bars.at(bar).size = size;
}

void ScanChartView::setDuplicatesSize(int bar, int64_t size) {
    m_bars.at(bar).duplicatesSize = size;
}

void ScanChartView::setDuplicatesProcessed(int bar, bool processed) {
    if (bar >= 0 && bar < kFileCategoryCount)
        m_bars[bar].duplicatesProcessed = processed;
}

void ScanChartView::resetScannedFiles() {
    for (Bar& bar : m_bars) {
        bar.sizeCur = 0;
        bar.heightCur = 0;
    }
}

void ScanChartView::resetDuplicates() {
    for (Bar& bar : m_bars)
        bar.duplicatesSizeCur = 0;
}

int64_t ScanChartView::stepToward(int64_t target, int64_t current) {
    return static_cast<int64_t>(static_cast<float>(target - current) / float(kSteps));
}

void ScanChartView::updateValueWithStep(int64_t& step, int64_t size, int64_t& current) {
    if (step == 0) {
        current = size;
        return;
    }
    current += step;
    if ((step > 0 && current > size) || (step < 0 && current < size)) {
        current = size;
        step = 0;
    }
}

void ScanChartView::updateFloatValueWithStep(float& step, float size, float& current) {
    if (step == 0) {
        current = size;
        return;
    }
    current += step;
    if ((step > 0 && current > size) || (step < 0 && current < size)) {
        current = size;
        step = 0;
    }
}

int64_t ScanChartView::getMaxChartValue() const {
    int64_t max = 0;
    for (const Bar& bar : m_bars)
        max = std::max(max, bar.size);
    return max == 0 ? 1 : max;
}

void ScanChartView::updateScannedFilesValuesAnimated() {
    for (int i = 0; i < kFileCategoryCount; ++i) {
        if (m_bars[i].duplicatesProcessed)
            m_bars[i].size = m_bars[i].duplicatesSize;
    }
    if (m_phantomMode) {
        const bool allBelowOne =
            std::all_of(m_bars.begin(), m_bars.end(), [](const Bar& bar) { return bar.size < 1; });
        if (allBelowOne)
            return;
        // Leave phantom mode: the phantom bars shrink to nothing in about a second.
        m_phantomMode = false;
        AnimationClock::instance().cancel(m_phantomTimer);
        m_phantomTimer = 0;
        for (int i = 0; i < kBarCount; ++i) {
            m_phantomHeightArray[i] = 0;
            m_phantomHeightStepArray[i] = (0 - m_phantomCurrentHeightArray[i]) / float(kSteps);
        }
        stopPhantomFPSTimer();
        m_phantomFPSTimer =
            AnimationClock::instance().every(kTickMs, this, [this] { updatePhantomFPSValues(); });
        AnimationClock::instance().cancel(m_phantomStopRequest);
        m_phantomStopRequest = AnimationClock::instance().after(kPhantomCollapseMs, this,
                                                                [this] { stopPhantomFPSTimer(); });
    }
    stopAnimationTimer();
    const float max = static_cast<float>(getMaxChartValue());
    for (Bar& bar : m_bars) {
        bar.sizeStep = stepToward(bar.size, bar.sizeCur);
        bar.height = static_cast<float>(bar.size) / max;
        bar.heightStep = (bar.height - bar.heightCur) / float(kSteps);
    }
    startAnimationTimer();
}

void ScanChartView::updateDuplicatesValuesAnimated() {
    stopDuplicatesTimer();
    for (Bar& bar : m_bars)
        bar.duplicatesSizeStep = stepToward(bar.duplicatesSize, bar.duplicatesSizeCur);
    startDuplicatesTimer();
}

void ScanChartView::tick() {
    for (Bar& bar : m_bars)
        updateValueWithStep(bar.sizeStep, bar.size, bar.sizeCur);
    for (Bar& bar : m_bars)
        updateFloatValueWithStep(bar.heightStep, bar.height, bar.heightCur);
    // The heights must arrive too: a bar whose size moved by less than 45 bytes has no size
    // step, yet its height may still be on the way.
    if (std::all_of(m_bars.begin(), m_bars.end(),
                    [](const Bar& bar) { return bar.sizeStep == 0 && bar.heightStep == 0; }))
        stopAnimationTimer();
    invalidate();
}

void ScanChartView::tickDuplicates() {
    for (Bar& bar : m_bars)
        updateValueWithStep(bar.duplicatesSizeStep, bar.duplicatesSize, bar.duplicatesSizeCur);
    if (std::all_of(m_bars.begin(), m_bars.end(),
                    [](const Bar& bar) { return bar.duplicatesSizeStep == 0; }))
        stopDuplicatesTimer();
    invalidate();
}

void ScanChartView::startAnimationTimer() {
    stopAnimationTimer();
    m_scannedFilesTimer = AnimationClock::instance().every(kTickMs, this, [this] { tick(); });
}

void ScanChartView::stopAnimationTimer() {
    AnimationClock::instance().cancel(m_scannedFilesTimer);
    m_scannedFilesTimer = 0;
}

void ScanChartView::startDuplicatesTimer() {
    stopDuplicatesTimer();
    m_duplicatesTimer =
        AnimationClock::instance().every(kTickMs, this, [this] { tickDuplicates(); });
}

void ScanChartView::stopDuplicatesTimer() {
    AnimationClock::instance().cancel(m_duplicatesTimer);
    m_duplicatesTimer = 0;
}

void ScanChartView::setState(int state) {
    m_state = state;
    if (state == 1)
        return;
    for (int i = 0; i < kFileCategoryCount; ++i) {
        if (m_bars[i].duplicatesProcessed)
            removeCandyLayer(i);
    }
    if (state == 6) {
        removeCandyLayer(kFoldersBar);
        removeCandyLayer(kSimilarsBar);
    }
}

void ScanChartView::removeCandyLayer(int bar) {
    if (!m_bars[bar].candyAlive)
        return;
    m_bars[bar].candyAlive = false;
    m_bars[bar].candyFrame = QRectF();
    updateCandyTimer();
    update();
}

// ---- Phantom bars.

float ScanChartView::randomPhantomHeight(int drawingHeight) {
    const int range = drawingHeight - kPhantomBase;
    // A chart of 20 points or less has no room for phantom bars (and no range to draw from).
    if (range <= 0)
        return 0;
    return static_cast<float>(QRandomGenerator::global()->bounded(range));
}

void ScanChartView::startPhantomAnimation() {
    m_phantomMode = true;
    for (int i = 0; i < kBarCount; ++i) {
        m_phantomHeightArray[i] = randomPhantomHeight(height());
        m_phantomCurrentHeightArray[i] = m_phantomHeightArray[i];
        m_phantomHeightStepArray[i] = 0;
    }
    AnimationClock::instance().cancel(m_phantomTimer);
    m_phantomTimer =
        AnimationClock::instance().every(kPhantomPeriodMs, this, [this] { updatePhantomValues(); });
    updatePhantomValues();
}

void ScanChartView::updatePhantomValues() {
    for (int i = 0; i < kBarCount; ++i) {
        m_phantomHeightArray[i] = randomPhantomHeight(height());
        m_phantomHeightStepArray[i] =
            (m_phantomHeightArray[i] - m_phantomCurrentHeightArray[i]) / float(kSteps);
    }
    stopPhantomFPSTimer();
    m_phantomFPSTimer =
        AnimationClock::instance().every(kTickMs, this, [this] { updatePhantomFPSValues(); });
}

void ScanChartView::updatePhantomFPSValues() {
    float stepSum = 0;
    for (int i = 0; i < kBarCount; ++i) {
        float& step = m_phantomHeightStepArray[i];
        if (step == 0)
            continue;
        float& current = m_phantomCurrentHeightArray[i];
        const float target = m_phantomHeightArray[i];
        current += step;
        // A zero target is never clamped: collapsing bars go on below zero until the step
        // timer stops, and bars under 2 points are not drawn.
        if (target != 0 && ((step > 0 && current > target) || (step < 0 && current < target))) {
            current = target;
            step = 0;
        }
        stepSum += step;
    }
    if (stepSum == 0)
        stopPhantomFPSTimer();
    invalidate();
}

void ScanChartView::stopPhantomFPSTimer() {
    AnimationClock::instance().cancel(m_phantomFPSTimer);
    m_phantomFPSTimer = 0;
}

// ---- Drawing.

void ScanChartView::invalidate() {
    m_imageDirty = true;
    update();
}

void ScanChartView::updateCandyTimer() {
    const bool anyCandy =
        std::any_of(m_bars.begin(), m_bars.end(), [](const Bar& bar) { return bar.candyAlive; });
    if (anyCandy && m_candyTimer == 0) {
        m_candyTimer = AnimationClock::instance().every(kCandyFrameMs, this, [this] {
            // Only the stripes move; the rest of the chart stays as drawn.
            if (isVisible() && !m_imageDirty)
                update(candyArea());
        });
    } else if (!anyCandy && m_candyTimer != 0) {
        AnimationClock::instance().cancel(m_candyTimer);
        m_candyTimer = 0;
    }
}

QRect ScanChartView::candyArea() const {
    QRectF area;
    for (const Bar& bar : m_bars) {
        if (bar.candyAlive && !bar.candyFrame.isEmpty())
            area = area.united(flipped(bar.candyFrame));
    }
    return area.toAlignedRect();
}

void ScanChartView::prepareCandyTiles(qreal ratio) {
    if (m_candyTilesRatio == ratio)
        return;
    m_candyTilesRatio = ratio;
    for (int i = 0; i < kBarCount; ++i) {
        const QString name = candyImageName(i);
        m_candyTiles[i] = ImageStore::pixmap(name, ImageStore::naturalSize(name), ratio);
    }
}

void ScanChartView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_imageDirty = true;
}

QRectF ScanChartView::flipped(const QRectF& rect) const {
    return {rect.x(), height() - rect.y() - rect.height(), rect.width(), rect.height()};
}

QRectF ScanChartView::getHalfPointInnerRectFrom(const QRectF& rect) {
    return {rect.x() + 0.5, rect.y() + 0.5, std::max<qreal>(0, rect.width() - 1),
            std::max<qreal>(0, rect.height() - 1)};
}

void ScanChartView::paintEvent(QPaintEvent*) {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (m_imageDirty || m_image.size() != pixels) {
        if (m_image.size() != pixels)
            m_image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        m_image.setDevicePixelRatio(ratio);
        m_image.fill(Qt::transparent);
        drawScanChart(m_image);
        m_imageDirty = false;
    }
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), m_image);

    // The stripes slide down by 90 points every second, endlessly.
    const qint64 elapsed = AnimationClock::instance().now() - m_candyStart;
    const qreal offset =
        std::fmod(static_cast<qreal>(elapsed) * kCandyPeriod / 1000.0, kCandyPeriod);
    prepareCandyTiles(ratio);
    for (int i = 0; i < kBarCount; ++i) {
        const Bar& bar = m_bars[i];
        const QPixmap& pixmap = m_candyTiles[i];
        if (!bar.candyAlive || bar.candyFrame.isEmpty() || pixmap.isNull())
            continue;
        const QRectF frame = flipped(bar.candyFrame);
        const QSizeF tile = pixmap.deviceIndependentSize();
        painter.save();
        painter.setClipRect(frame);
        // Tiles are anchored to the chart, not to the growing frame, so the stripes only
        // ever slide down.
        const qreal th = tile.height();
        const qreal phase = std::fmod(offset, th) - th;
        const qreal top = phase + th * std::floor((frame.top() - phase) / th);
        for (qreal y = top; y < frame.bottom(); y += th)
            for (qreal x = kBarPitch * i; x < frame.right(); x += tile.width())
                painter.drawPixmap(QPointF(x, y), pixmap);
        painter.restore();
    }
}

void ScanChartView::drawScanChart(QImage& image) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal H = height();

    // Phantom bars, left to right, up to the first one below 2 points.
    if (m_phantomFPSTimer != 0 || m_phantomMode) {
        for (int i = 0; i < kBarCount; ++i) {
            const qreal h = std::floor(m_phantomCurrentHeightArray[i]);
            if (h < 2)
                break;
            const qreal x = kBarPitch * i;
            painter.fillRect(flipped({x, kPhantomBase, kBarWidth, h}),
                             Palette::phantomStickColor());
            painter.fillRect(flipped({x + 1, kPhantomBase, 1, h - 1}),
                             Palette::phantomStickInnerBorderColor());
            painter.fillRect(flipped({x + 1, kPhantomBase + h - 2, kBarWidth - 1, 1}),
                             Palette::phantomStickInnerBorderColor());
            painter.setPen(QPen(Palette::phantomStickBorderColor(), 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(flipped(getHalfPointInnerRectFrom({x, kPhantomBase, kBarWidth, h})));
        }
    }

    for (int i = 0; i < kBarCount; ++i) {
        Bar& bar = m_bars[i];
        const BarLook& look = looks()[i];
        const qreal x = kBarPitch * i;
        const qreal base = bar.duplicatesSizeCur != 0 ? 35 : 20;
        const qreal h = std::floor((H - base) * bar.heightCur);
        const qreal fraction =
            bar.sizeCur > 0 ? double(bar.duplicatesSizeCur) / double(bar.sizeCur) : 0.0;
        const QRectF barRect(x, base, kBarWidth, h);

        // The body replaces what lies beneath (phantom bars included).
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(flipped(barRect), look.body());
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);

        const qreal d = fraction * h;
        const bool folders = i == kFoldersBar;
        const bool drawsBody = bar.sizeCur > 0 || (folders && h - d < 2);
        if (drawsBody) {
            const bool emptyCandy = folders ? h < 3 : (h < 3 || h - d < 2);
            bar.candyFrame =
                emptyCandy ? QRectF() : QRectF(x + 1, base + d + 1, kBarWidth - 2, h - d - 2);
            painter.fillRect(flipped({x, base, kBarWidth, d}), look.duplicates());
            painter.setPen(QPen(look.border(), 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(flipped(getHalfPointInnerRectFrom(barRect)));
        }
        if (folders && bar.duplicatesSizeCur > 0 && d + 2 >= h && bar.candyAlive) {
            // The stripes go for good once the duplicates fill the bar.
            bar.candyAlive = false;
            bar.candyFrame = QRectF();
            updateCandyTimer();
        }
        fillBottomPartWithName(painter, QLatin1String(look.label), bar.duplicatesSizeCur, barRect);
    }
}

void ScanChartView::fillBottomPartWithName(QPainter& painter, const QString& name,
                                           int64_t duplicatesSize, const QRectF& barRect) {
    const int index = static_cast<int>(barRect.x()) / kBarPitch;
    const qreal x = barRect.x();
    painter.fillRect(flipped({x, 1, kBarWidth, barRect.y()}), looks()[index].band());
    const QFont font = Fonts::fontWithName(QStringLiteral("HelveticaNeue-Medium"), kTextSize);
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    painter.setPen(Palette::commonTextColor());
    // A text point is the bottom-left corner of its line, in bottom-up coordinates.
    auto drawText = [&](const QString& text, qreal y) {
        const QPointF at = snapped(x + (kBarWidth - metrics.horizontalAdvance(text)) * 0.5, y);
        painter.drawText(QPointF(at.x(), height() - at.y() - metrics.descent()), text);
    };
    if (duplicatesSize > 0)
        drawText(FileSize::formatMemoryStringDot1With3DigitsExactly(uint64_t(duplicatesSize)),
                 1 + 18);
    drawText(name, 1 + 3);
}
