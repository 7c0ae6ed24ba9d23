#include "Toolkit/TableViewWithArrowHandling.h"

#include "Categories/AppNotification.h"
#include "Platform/ui/KeyEventFromQt.h"
#include "Toolkit/ColoredView.h"
#include "Toolkit/MyScroller.h"
#include "Toolkit/Palette.h"

#include <QHeaderView>
#include <QKeyEvent>

TableViewWithArrowHandling::TableViewWithArrowHandling(QWidget* parent) : QTableView(parent) {
    setShowGrid(false);
    setFrameShape(QFrame::NoFrame);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    // Beyond the last row the list shows the common background, as the rows' cells paint
    // themselves.
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Palette::commonBackgroundColor());
    setPalette(colours);
    setVerticalScrollBar(new MyScroller(Qt::Vertical, this));
    setHorizontalScrollBar(new MyScroller(Qt::Horizontal, this));
    auto* corner = new ColoredView(this);
    corner->setColor(Palette::commonRowColor());
    setCornerWidget(corner);
}

void TableViewWithArrowHandling::reloadData() {
    viewport()->update();
}

void TableViewWithArrowHandling::keyPressEvent(QKeyEvent* event) {
    // A modifier alone is no key press for the lists (the key tables have no such keys).
    switch (event->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
        event->accept();
        return;
    default:
        break;
    }
    AppNotification::CreateKeyPressedNotificationWithEvent(keyEventFromQt(*event));
    event->accept();
}

void TableViewWithArrowHandling::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    reloadData();
}

void TableViewWithArrowHandling::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    reloadData();
}
