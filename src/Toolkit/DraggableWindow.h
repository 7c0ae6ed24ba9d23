#pragma once

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>

// A borderless top-level window with a shadow that is moved by dragging its background
// (any place whose widget lets the press through). mainWindow(), when set, is the window
// that moves instead. Nothing moves in full screen. A window taller than its screen's
// available area is clamped to it vertically, and a drag in progress ends.
class DraggableWindow : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DraggableWindow)

public:
    explicit DraggableWindow(QWidget* parent = nullptr);

    QWidget* mainWindow() const { return m_mainWindow; }
    void setMainWindow(QWidget* window) { m_mainWindow = window; }
    // Where the current drag began, in window coordinates; null when no drag goes on.
    QPoint initialLocation() const { return m_initialLocation; }
    bool inFullScreenMode() const;

    // |frame| kept within |visible| vertically when it is taller (Qt coordinates; the
    // y-up rule of keeping y and height of the visible frame is the same rectangle).
    static QRect constrainFrameRect(const QRect& frame, const QRect& visible);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void constrainToScreen();

    QPointer<QWidget> m_mainWindow;
    QPoint m_initialLocation;
};
