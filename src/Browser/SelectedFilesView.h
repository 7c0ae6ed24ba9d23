#pragma once

#include <QWidget>

// The review panel's background, which slides in and out with everything on it: a fill in
// categoryBackgroundColor; the pointer over it is the arrow, and a press on the bare
// background goes on to the window (which moves on a drag).
class SelectedFilesView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SelectedFilesView)

public:
    explicit SelectedFilesView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
