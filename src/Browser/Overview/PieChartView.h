#pragma once

#include "Browser/Common/ResultsFrame.h"

#include "Browser/Overview/PieChartGeometry.h"

#include <QColor>
#include <QPainterPath>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

// The overview's pie: how the duplicates' total size splits over the seven file
// categories, as slices of a ring clockwise from `startAngle`, with "Total" and the size in
// the centre and a callout per slice. Hovering a slice or its callout outlines the slice;
// a click opens the category through the results screen's toolbar; a drag turns the pie and
// a release keeps it spinning, slowing down until it stops (ticks on the animation clock).
//
// The data is read only by redrawOverview(); the slices, callouts and hit areas are laid out
// again whenever the data, the size or the angle change. Main thread only.
class PieChartView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PieChartView)

public:
    static constexpr int kTorqueTickMs = 16; // 1/60 s
    static constexpr float kCenterDiscDiameter = 140;

    struct PieCategoryRecord {
        QString name; // "Name", also the key of the click dispatch
        std::uint64_t size = 0;
        std::uint64_t files = 0;
        QColor color;
        QColor selectedColor;
    };

    explicit PieChartView(QWidget* parent = nullptr);
    ~PieChartView() override;

    void setController(ResultsFrame* controller);
    ResultsFrame* controller() const;

    // Reads the current result's category totals and shows them; the angle and a running
    // spin are kept, the hover is cleared.
    void redrawOverview();

    // The record of category type 0 to 6 with the current result's values.
    static PieCategoryRecord recordForType(int type, std::uint64_t size, std::uint64_t files);
    // The details line of a callout: "<files> files / <size>" ("folders" for Folders).
    static QString calloutDetails(const PieCategoryRecord& record);

    // ---- Read back (tests and shots).
    const std::vector<PieCategoryRecord>& categories() const { return m_categoriesArray; }
    std::uint64_t totalSize() const { return m_totalSize; }
    float radius() const { return m_radius; }
    int selectedPiece() const { return m_selectedPiece; }
    float startAngle() const { return m_startAngle; }
    void setStartAngle(float angle);
    float torque() const { return m_torque; }
    bool isSpinning() const { return m_torqueTimer != 0; }
    const std::vector<QPainterPath>& sectorPaths() const { return m_categorySectorsPathArray; }
    const std::vector<float>& sectorCenterAngles() const { return m_sectorCenterAngleArray; }
    const std::vector<PieChartGeometry::TipPlacement>& tipPlacements() const {
        return m_tooltipsAnglesArray;
    }
    // Hit rectangles of the callouts in widget (y-down) coordinates, in entry order.
    const std::vector<QRectF>& tooltipRects() const { return m_tooltipsPathArray; }

    // One tick of the spin; exposed for tests that step it by hand.
    void torqueAction();
    void stopTorqueAction();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct Callout {
        QPointF start; // y-up
        QPointF elbow;
        float underline = 0;
        QPointF textOrigin; // lower-left corner of the details line, y-up
        QString details;
    };

    void relayout();
    void drawSmartTips(QPainter& painter) const;
    void hover(const QPointF& pointQt);
    void checkMouseUpInArray(bool callouts, const QPointF& pointQt);
    void pressCategoryNamed(const QString& name);
    QPointF toQt(const QPointF& yUp) const { return {yUp.x(), height() - yUp.y()}; }
    QPointF toYUp(const QPointF& qt) const { return {qt.x(), height() - qt.y()}; }

    std::vector<PieCategoryRecord> m_categoriesArray;
    std::vector<QPainterPath> m_categorySectorsPathArray;
    std::vector<float> m_sectorCenterAngleArray;
    std::vector<PieChartGeometry::TipPlacement> m_tooltipsAnglesArray;
    std::vector<QRectF> m_tooltipsPathArray;
    std::vector<Callout> m_callouts;
    std::uint64_t m_totalSize = 0;
    float m_radius = 100;
    int m_selectedPiece = -1;
    bool m_redrawScheduled = false;
    float m_startAngle = 0;
    float m_prevAngle = 0;
    float m_torque = 0;
    bool m_dragged = false;
    quint64 m_torqueTimer = 0;
    ResultsFramePointer m_controller;
};
