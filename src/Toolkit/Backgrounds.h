#pragma once

#include <QWidget>

// The drawn backgrounds of bars and containers. Each only paints; children are laid out by
// whoever owns the view. Geometry is as the layouts give it, in y-up terms: "the top 4
// points" is the strip along the upper edge.

// Fills its bounds with the common background grey (70, 70, 70).
class ViewWithCommonBackground : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ViewWithCommonBackground)

public:
    explicit ViewWithCommonBackground(QWidget* parent = nullptr) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The grey panel (79, 79, 79) with a 4-point shadow under its top edge. Screens that give
// the panel's layer a border (a colour, a width and a corner radius) get it drawn over all
// of that; there is none at first.
class GrayContainerView : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GrayContainerView)

public:
    explicit GrayContainerView(QWidget* parent = nullptr) : QWidget(parent) {}

    void setLayerBorder(const QColor& color, qreal width, qreal cornerRadius);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_borderColor;
    qreal m_borderWidth = 0;
    qreal m_cornerRadius = 0;
};

// The bottom bar: a light 1-point line along the top over the textured toolbar pattern.
class BottombarBackgroundView : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BottombarBackgroundView)

public:
    explicit BottombarBackgroundView(QWidget* parent = nullptr) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The toolbar: the textured pattern above a 1-point line and a 24-point gradient band
// along the bottom.
class ToolbarBackgroundView : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ToolbarBackgroundView)

public:
    explicit ToolbarBackgroundView(QWidget* parent = nullptr) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};
