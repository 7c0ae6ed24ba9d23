#include "Browser/GroupList/FileListView.h"

#include "Toolkit/Palette.h"

#include <QPainter>

void FileListView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Palette::commonPanelBackgroundColor());
    // (0, 43, width, 1) counted from the bottom.
    painter.fillRect(QRect(0, height() - kSearchBarHeight - 1, width(), 1),
                     Palette::separatorColor());
}
