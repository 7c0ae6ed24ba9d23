#pragma once

#include "Toolkit/AnimationClock.h"

#include <QRectF>
#include <QString>
#include <QWidget>

// The bar of the review panel while a removal runs: it glides to each new share (0 to 1)
// in 45 steps of 1/45 s instead of jumping, and draws a start cap, a stretched middle and
// an end cap from pictures, each empty and full. Main thread; the glide runs on the
// animation clock.
class ProgressBarRemover final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProgressBarRemover)

public:
    static constexpr int kSteps = 45;
    static constexpr int kTickMs = 22; // 1/45 s

    explicit ProgressBarRemover(QWidget* parent = nullptr);

    // Glides from the value shown to |value| in kSteps ticks; a new call restarts from
    // wherever the glide has got to. A target equal to the value shown stops the glide.
    void setProgress(float value);
    // One step of the glide.
    void tick();

    float progressValueCurrent() const { return m_progressValueCurrent; }
    float progressValueFinal() const { return m_progressValueFinal; }
    bool isGliding() const { return m_progressTimer != 0; }

    // What paint draws, in the view's y-up coordinates, for a view of |width| x |height|
    // showing |current|: the picture name (after the dark prefix) and its rectangle.
    struct Piece {
        QString image;
        QRectF frame;
        bool operator==(const Piece&) const = default;
    };
    static QList<Piece> pieces(float current, qreal width, qreal height);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void stopTimer();

    float m_progressValueCurrent = 0;
    float m_progressValueStep = 0;
    float m_progressValueFinal = 0;
    AnimationClock::Handle m_progressTimer = 0;
};
