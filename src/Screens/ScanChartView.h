#pragma once

#include <QImage>
#include <QPixmap>
#include <QRectF>
#include <QWidget>

#include <array>
#include <cstdint>

// The animated bar chart of the scan screen: six file categories, Folders and Similars.
// A bar's height shows the possible duplicate data of its kind met so far, relative to the
// tallest bar; its confirmed part is filled from the bottom in the category's colour, the
// rest shows moving stripes while the category is still being processed, and a band under
// it carries the name and the confirmed size. Grey phantom bars of random height move until
// the first real value arrives.
//
// The scan screen pushes values (plain stores) and then calls the two update operations;
// every change glides in 45 steps at 45 steps a second. Main thread only; all timers run on
// the animation clock. The chart is drawn in the bottom-up coordinates of its layout, into
// a cached image that is redrawn only when a value moved; the stripes are drawn over it.
class ScanChartView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScanChartView)

public:
    static constexpr int kBarCount = 8;
    static constexpr int kFileCategoryCount = 6;
    static constexpr int kFoldersBar = 6;
    static constexpr int kSimilarsBar = 7;
    static constexpr int kBarWidth = 88;
    static constexpr int kBarPitch = 90;
    static constexpr int kSteps = 45;
    static constexpr int kTickMs = 22;       // 1/45 s
    static constexpr int kCandyFrameMs = 33; // the stripes move at 30 frames a second
    static constexpr int kCandyPeriod = 90;  // points the stripes slide down every second
    static constexpr int kMinimumWidth = 718;

    struct Bar {
        int64_t size = 0;
        int64_t duplicatesSize = 0;
        int64_t sizeCur = 0;
        int64_t sizeStep = 0;
        int64_t duplicatesSizeCur = 0;
        int64_t duplicatesSizeStep = 0;
        float height = 0;
        float heightCur = 0;
        float heightStep = 0;
        bool duplicatesProcessed = false; // file categories only
        bool candyAlive = true;
        QRectF candyFrame; // bottom-up coordinates; empty when nothing shows
    };

    explicit ScanChartView(QWidget* parent = nullptr);

    // Plain stores; nothing moves until an update operation runs. |bar| is 0 to 7.
    void setSize(int bar, int64_t size);
    void setDuplicatesSize(int bar, int64_t size);
    // File categories 0 to 5 only.
    void setDuplicatesProcessed(int bar, bool processed);

    void updateScannedFilesValuesAnimated();
    void updateDuplicatesValuesAnimated();
    void setState(int state);
    void resetScannedFiles();
    void resetDuplicates();
    void startPhantomAnimation();

    // ---- Read back, for the scan screen's tests and the shots.
    const Bar& bar(int index) const { return m_bars.at(index); }
    int state() const { return m_state; }
    bool isPhantomMode() const { return m_phantomMode; }
    float phantomHeight(int index) const { return m_phantomCurrentHeightArray.at(index); }
    float phantomTarget(int index) const { return m_phantomHeightArray.at(index); }
    bool isAnimationTimerWorking() const { return m_scannedFilesTimer != 0; }
    bool isDuplicatesTimerWorking() const { return m_duplicatesTimer != 0; }
    bool isPhantomTimerWorking() const { return m_phantomTimer != 0; }
    bool isPhantomFPSTimerWorking() const { return m_phantomFPSTimer != 0; }
    int64_t getMaxChartValue() const;
    static QString labelOfBar(int index);

    // The stepping rule of every glide: a zero step sets the target at once; otherwise the
    // step is added and a value that passed the target stops on it with a zero step.
    static void updateValueWithStep(int64_t& step, int64_t size, int64_t& current);
    static void updateFloatValueWithStep(float& step, float size, float& current);
    // The step per tick toward |target| from |current|: a 45th, truncated toward zero.
    static int64_t stepToward(int64_t target, int64_t current);
    // (x + 0.5, y + 0.5, w - 1, h - 1), sizes not below 0.
    static QRectF getHalfPointInnerRectFrom(const QRectF& rect);
    // A random phantom height below |drawingHeight| - 20; 0 when the chart is 20 points high
    // or less.
    static float randomPhantomHeight(int drawingHeight);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void tick();
    void tickDuplicates();
    void startAnimationTimer();
    void stopAnimationTimer();
    void startDuplicatesTimer();
    void stopDuplicatesTimer();
    void updatePhantomValues();
    void updatePhantomFPSValues();
    void stopPhantomFPSTimer();
    void removeCandyLayer(int bar);
    void updateCandyTimer();
    void invalidate();
    void drawScanChart(QImage& image);
    void fillBottomPartWithName(QPainter& painter, const QString& name, int64_t duplicatesSize,
                                const QRectF& barRect);
    // Bottom-up rectangle to the widget's top-down one.
    QRectF flipped(const QRectF& rect) const;

    int m_state = 0;
    std::array<Bar, kBarCount> m_bars{};
    quint64 m_scannedFilesTimer = 0;
    quint64 m_duplicatesTimer = 0;
    bool m_phantomMode = false;
    quint64 m_phantomTimer = 0;
    quint64 m_phantomFPSTimer = 0;
    quint64 m_phantomStopRequest = 0;
    std::array<float, kBarCount> m_phantomHeightArray{};
    std::array<float, kBarCount> m_phantomCurrentHeightArray{};
    std::array<float, kBarCount> m_phantomHeightStepArray{};

    // The stripes' tiles, rendered once per device pixel ratio.
    std::array<QPixmap, kBarCount> m_candyTiles;
    qreal m_candyTilesRatio = 0;
    QRect candyArea() const;
    void prepareCandyTiles(qreal ratio);

    quint64 m_candyTimer = 0;
    qint64 m_candyStart = 0;
    QImage m_image;
    bool m_imageDirty = true;
};
