#pragma once

#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPointer>
#include <QRectF>
#include <QWidget>

class OverlayInfoController;

// The help overlay's sheet: dims the whole window, cuts soft-edged holes around the controls
// of the current screen, places each hint's picture beside them and shows a row of page
// dots. It reads the result manager's help-overlay table (never changes it) and draws in the
// window's y-up coordinates, flipped once.
//
// The sheet is rendered into a cached image whenever the screen, the size or the table's
// rectangles of the current screen change; a paint only copies that image. "OverlayRedraw"
// (posted by views whose controls moved) redraws only when those rectangles really changed,
// so a view that posts it from its own paint can never start an endless repaint loop under
// the translucent sheet. Clicks and keys stop here. Main thread only.
class OverlayInfoView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OverlayInfoView)

public:
    explicit OverlayInfoView(QWidget* parent = nullptr);
    ~OverlayInfoView() override;

    // Keeps |screens| (at least one) and shows the first.
    void showWithScreensArray(const QList<int>& screens);
    // Steps by |step| (+1 or -1): false when the current screen is not in the list or the
    // step passes the last screen; stepping back from the first stays on it.
    bool showNextScreen(int step);
    // Redraws after a resize, or when "OverlayRedraw" came and the rectangles changed.
    void viewDidEndLiveResize();

    int screenState() const { return m_screenState; }
    QList<int> screensArray() const { return m_screensArray; }
    // The page dots as last drawn (y-up), in the order of the screens.
    QList<QPainterPath> dotsPathArray() const { return m_dotsPathArray; }

    OverlayInfoController* controller() const { return _controller; }
    void setController(OverlayInfoController* controller) { _controller = controller; }

    // The fade: 0 transparent to 1 fully shown.
    double alpha() const { return m_alpha; }
    void setAlpha(double alpha);

    // Hit-testing containers always hand clicks to the overlay.
    bool skipsMouseEvents() const { return false; }

    // How often the sheet was painted and rendered since it was made.
    int paintCount() const { return m_paintCount; }
    int renderCount() const { return m_renderCount; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QList<QList<QRectF>> currentFrames() const;
    void invalidate();
    void render();
    void drawHints(QPainter& painter, const QSizeF& view);
    void drawScreen7(QPainter& painter, const QSizeF& view);
    void drawDots(QPainter& painter, const QSizeF& view);
    void cutHole(QPainter& painter, const QPainterPath& hole);

    QList<int> m_screensArray;
    int m_screenState = 0;
    QList<QPainterPath> m_dotsPathArray;
    QPointer<OverlayInfoController> _controller;
    QImage m_sheet;
    bool m_sheetValid = false;
    QList<QList<QRectF>> m_drawnFrames;
    double m_alpha = 1.0;
    int m_paintCount = 0;
    int m_renderCount = 0;
};
