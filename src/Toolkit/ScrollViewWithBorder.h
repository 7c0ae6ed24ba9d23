#pragma once

#include <QScrollArea>

// A scroll view with a 1-point grey (113) border just inside its bounds. The content is
// kept inside the border, so scrolling never paints over it.
class ScrollViewWithBorder : public QScrollArea {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScrollViewWithBorder)

public:
    explicit ScrollViewWithBorder(QWidget* parent = nullptr);
};
