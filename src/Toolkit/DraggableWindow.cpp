#include "Toolkit/DraggableWindow.h"

#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

DraggableWindow::DraggableWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    // The compositor draws the shadow of a frameless window; nothing else is asked of it.
    setAttribute(Qt::WA_NoSystemBackground, false);
}

bool DraggableWindow::inFullScreenMode() const {
    const QWidget* moved = m_mainWindow ? m_mainWindow.data() : this;
    return moved->isFullScreen();
}

QRect DraggableWindow::constrainFrameRect(const QRect& frame, const QRect& visible) {
    if (frame.height() <= visible.height())
        return frame;
    QRect result = frame;
    result.setTop(visible.top());
    result.setHeight(visible.height());
    return result;
}

void DraggableWindow::mousePressEvent(QMouseEvent* event) {
    m_initialLocation = event->position().toPoint();
    if (m_initialLocation.isNull())
        m_initialLocation = QPoint(0, 1); // a press at the very corner still starts a drag
    event->accept();
}

void DraggableWindow::mouseReleaseEvent(QMouseEvent* event) {
    m_initialLocation = QPoint();
    event->accept();
}

void DraggableWindow::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (inFullScreenMode() || m_initialLocation.isNull())
        return;
    QWidget* moved = m_mainWindow ? m_mainWindow.data() : this;
    const QPoint delta = event->position().toPoint() - m_initialLocation;
    // Let the window system move the window when it can (Wayland allows no other way);
    // the drag then belongs to it and this one ends.
    if (QWindow* handle = moved->windowHandle(); handle && handle->startSystemMove()) {
        m_initialLocation = QPoint();
        return;
    }
    moved->move(moved->pos() + delta);
}

void DraggableWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    constrainToScreen();
}

void DraggableWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    constrainToScreen();
}

void DraggableWindow::constrainToScreen() {
    if (inFullScreenMode())
        return;
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    const QRect frame = geometry();
    const QRect constrained = constrainFrameRect(frame, screen->availableGeometry());
    if (constrained != frame) {
        m_initialLocation = QPoint();
        setGeometry(constrained);
    }
}
