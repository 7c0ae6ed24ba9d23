#include "Browser/Review/SelectedFilesView.h"

#include "Toolkit/Palette.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPen>

SelectedFilesView::SelectedFilesView(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::ArrowCursor);
    setMouseTracking(true);
}

void SelectedFilesView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Palette::categoryBackgroundColor());
    if (m_shadowed && m_shadowed->isVisible()) {
        const QRectF around = QRectF(m_shadowed->geometry()).adjusted(-0.5, -0.5, 0.5, 0.5);
        painter.setPen(QPen(Palette::reviewListShadowColor(), 1.0));
        painter.drawRect(around);
    }
}

void SelectedFilesView::mousePressEvent(QMouseEvent* event) {
    // Not taken here: the press travels up to the window's background.
    event->ignore();
}
