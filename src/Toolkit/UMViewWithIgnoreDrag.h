#pragma once

#include <QWidget>

// A view whose background swallows clicks and drags: they never reach the window, so a
// window moved by its background is not moved from here.
class UMViewWithIgnoreDrag : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UMViewWithIgnoreDrag)

public:
    explicit UMViewWithIgnoreDrag(QWidget* parent = nullptr) : QWidget(parent) {}

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// Adopted by a view inside a UMViewWithHitTest that must still be reachable while that
// view is disabled (the help overlay), unless it answers true here.
class UMViewWithHitTestCantBeIgnored {
public:
    virtual ~UMViewWithHitTestCantBeIgnored() = default;
    virtual bool skipsMouseEvents() const = 0;
};

// A view that can be switched off for the pointer: while disabled() a press, move, release,
// double click or wheel over it or any of its descendants goes nowhere, except over a
// descendant that adopts UMViewWithHitTestCantBeIgnored and does not skip mouse events.
class UMViewWithHitTest : public UMViewWithIgnoreDrag {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UMViewWithHitTest)

public:
    explicit UMViewWithHitTest(QWidget* parent = nullptr) : UMViewWithIgnoreDrag(parent) {}
    ~UMViewWithHitTest() override;

    bool disabled() const { return m_disabled; }
    void setDisabled(bool disabled);

    // The view that a pointer event for |target| (this view or one of its descendants)
    // reaches: |target| itself, or the adopting view that stays reachable, or nullptr.
    QWidget* hitTest(QWidget* target) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_disabled = false;
};
