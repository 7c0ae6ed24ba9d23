#pragma once

#include "Browser/Common/ResultsFrame.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <cstdint>

// The overview's bar chart: eight bars comparing the bytes of duplicates in the seven file
// categories and in the similar folders ("Similars"), each standing on a label block with
// its name and size. A click on a bar presses the matching button of the results screen's
// toolbar. The bars follow the result: a "DuplicatesContainerDataChangedNotification" reads
// the totals again (several in one event-loop turn read them once).
//
// The geometry is computed on a resize and on a data change, never in a paint; the bars'
// rectangles are then written to the help overlay and "OverlayRedraw" is posted only when
// they changed. Main thread only.
class BarChartView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BarChartView)

public:
    static constexpr int kBarCount = 8;
    static constexpr int kSimilarsBar = 7;

    struct BarChartEntry {
        std::int64_t size = 0; // "Size"
        QString name;          // "Name"
        QColor color;          // "Color"
        QColor borderColor;    // "BorderColor"
        QColor bottomColor;    // "BottomColor"
    };

    // One bar's place in the chart's y-up coordinates.
    struct BarGeometry {
        QRectF bar;        // (x, L, B, h): on top of its label block
        QRectF labelBlock; // (x, 1, B, L)
        QRectF hitArea;    // the stroked inner rectangle of the bar; empty for a 0-high bar
    };

    explicit BarChartView(QWidget* parent = nullptr);

    void setController(ResultsFrame* controller);
    ResultsFrame* controller() const;

    // Reads the eight totals of the current result and redraws.
    void updateChartValues();
    // The largest of the eight sizes, or 1 when all are 0.
    std::int64_t getMaxChartValue() const;

    // ---- Pure geometry.
    // The width the eight bars fill: 718, or frame width - 332 above 1050.
    static float chartWidth(float frameWidth);
    static float barWidth(float chartWidth);
    // The label block's height: 35 with a size, 20 without.
    static float labelHeight(std::int64_t size);
    // floor(size * (chartHeight - label) / max) in single precision, at least 4 for a size
    // above 0.
    static float barHeight(std::int64_t size, float chartHeight, float label, std::int64_t max);
    static QRectF getHalfPointInnerRectFrom(const QRectF& rect);
    // The label font for blocks with |room| points for text: the chart's 12 points, or the
    // largest size down to 9 at which every one of |texts| fits.
    static QFont labelFontForWidth(qreal room, const QStringList& texts);
    // |text| as drawn in |font| within |room|: cut at the end only where it does not fit.
    static QString fittedLabel(const QString& text, const QFont& font, qreal room);
    static std::array<BarGeometry, kBarCount>
    layoutBars(const QSizeF& frame, const std::array<std::int64_t, kBarCount>& sizes);

    // ---- Read back.
    const std::array<BarChartEntry, kBarCount>& entries() const { return m_chartArray; }
    const std::array<BarGeometry, kBarCount>& bars() const { return m_bars; }
    // The bar under |pointQt| (widget coordinates), -1 for none.
    int barAt(const QPointF& pointQt) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void relayout();
    void scheduleUpdate();
    void fillBottomPartWithName(QPainter& painter, const BarChartEntry& entry,
                                const BarGeometry& bar) const;
    QRectF toQt(const QRectF& yUp) const {
        return {yUp.x(), height() - yUp.y() - yUp.height(), yUp.width(), yUp.height()};
    }

    std::array<std::int64_t, kBarCount> m_sizes{};
    std::array<BarChartEntry, kBarCount> m_chartArray{};
    std::array<BarGeometry, kBarCount> m_bars{};
    bool m_updateScheduled = false;
    ResultsFramePointer m_controller;
};
