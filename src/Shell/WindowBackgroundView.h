#pragma once

#include <QWidget>

class QTimer;

// The background behind the screens of the main window (and the About window). It keeps
// the last background type the screens announced and paints the flow-screen background
// for types 0 to 2 and the category background for every other value.
//
// It also carries an animation family (arcs, circles, a pulsing circle) that nothing starts
// and that the painting does not use; the ticks only move their values and redraw.
class WindowBackgroundView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WindowBackgroundView)

public:
    explicit WindowBackgroundView(QWidget* parent = nullptr);
    ~WindowBackgroundView() override;

    int type() const { return m_type; }
    // Stores the type; the view shows it at its next redraw.
    void setType(int type) { m_type = type; }

    // True when `type` paints the flow-screen background (welcome, interim, scan and the
    // results overview).
    static bool paintsFlowBackground(int type) { return static_cast<unsigned>(type) <= 2; }

    void startAnimateBottomArcs();
    void stopAnimateBottomArcs();
    void startAnimateUpLeftCircles();
    void stopAnimateUpLeftCircles();
    void startAnimatePulsatingCircle();
    void stopAnimatePulsatingCircle();

    float arc1Angle() const { return m_arc1Angle; }
    float arc2Angle() const { return m_arc2Angle; }
    float tempVal() const { return m_tempVal; }
    float pulsatingRadius() const { return m_pulsatingRadius; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void setDefaultsParametrs();
    void bottomArcsTick();
    void upLeftCirclesTick();
    void pulsatingCircleTick();

    int m_type = 0;
    quint64 m_bottomArcsTimer = 0;
    quint64 m_upLeftCircleTimer = 0;
    quint64 m_pulsatingCircleTimer = 0;
    float m_arc1Angle = 215;
    float m_arc2Angle = 290;
    float m_tempVal = 30;
    float m_pulsatingRadius = 260;
    int m_pulsatingDirection = 2;
};
