#pragma once

#include <QWidget>

#include <functional>

// The thin scroller under the cover flow's label: drawn entirely from pictures (a track of
// three pieces and a knob of three pieces), it moves in whole steps, one per card, and tells
// its owner which part was hit. With one card or none it draws nothing.
//
// Dragging the knob, or pressing anywhere on the track (the knob jumps there), reports the
// knob part; the owner then reads integerValue(). Main thread only.
class MBCoverFlowScroller final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MBCoverFlowScroller)

public:
    // The parts a press can hit, numbered as the owner's table knows them.
    enum Part { NoPart = 0, KnobPart = 2, DecrementLinePart = 4, IncrementLinePart = 5 };

    explicit MBCoverFlowScroller(QWidget* parent = nullptr);

    // Steps between the first and the last position: the number of cards minus one. Also
    // sets the knob's share of the track (1/(n+1), or all of it for 0).
    unsigned numberOfIncrements() const { return _numberOfIncrements; }
    void setNumberOfIncrements(unsigned increments);

    // The step the knob stands at: floor(value * n + 0.5), in single precision.
    long integerValue() const;
    // Puts the knob at step |step| (value step / n; 0 without increments).
    void setIntegerValue(long step);

    // The knob's place along the track, 0 to 1, and its share of the track.
    double doubleValue() const { return m_value; }
    void setDoubleValue(double value);
    double knobProportion() const { return m_knobProportion; }
    void setKnobProportion(double proportion);

    // The part the last press or drag hit.
    Part hitPart() const { return m_hitPart; }
    // Called after every press or drag on the scroller (the owner's action).
    void setAction(std::function<void(MBCoverFlowScroller*)> action) {
        m_action = std::move(action);
    }

    // The knob's rectangle in the widget's top-down coordinates.
    QRectF knobRectForDisplay() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void drawBackgroundInRect(QPainter& painter, const QRectF& rect);
    void drawKnob(QPainter& painter);
    void moveKnobTo(double x);

    unsigned _numberOfIncrements = 0;
    QString startPart, middlePart, endPart;
    QString knobStartPart, knobMiddlePart, knobEndPart;
    double m_value = 0;
    double m_knobProportion = 1.0;
    Part m_hitPart = NoPart;
    bool m_dragging = false;
    double m_grabOffset = 0;
    std::function<void(MBCoverFlowScroller*)> m_action;
};
