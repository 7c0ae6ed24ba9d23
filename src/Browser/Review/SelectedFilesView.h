#pragma once

#include <QPointer>
#include <QWidget>

// The review panel's background, which slides in and out with everything on it: a fill in
// categoryBackgroundColor and a thin shadow (black at half strength, one point wide, no
// offset) around one child, the list; the pointer over it is the arrow, and a press on
// the bare background goes on to the window (which moves on a drag).
class SelectedFilesView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SelectedFilesView)

public:
    explicit SelectedFilesView(QWidget* parent = nullptr);

    void setShadowedChild(QWidget* child) { m_shadowed = child; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPointer<QWidget> m_shadowed;
};
