#include "Browser/SelectedFilesView.h"

#include "Toolkit/Palette.h"

#include <QMouseEvent>
#include <QPainter>

SelectedFilesView::SelectedFilesView(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::ArrowCursor);
    setMouseTracking(true);
}

void SelectedFilesView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Palette::categoryBackgroundColor());
}

void SelectedFilesView::mousePressEvent(QMouseEvent* event) {
    // Not taken here: the press travels up to the window's background.
    event->ignore();
}
