#include "Toolkit/UMViewWithIgnoreDrag.h"

#include <QApplication>
#include <QMouseEvent>

void UMViewWithIgnoreDrag::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void UMViewWithIgnoreDrag::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void UMViewWithIgnoreDrag::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

UMViewWithHitTest::~UMViewWithHitTest() {
    if (m_disabled)
        qApp->removeEventFilter(this);
}

void UMViewWithHitTest::setDisabled(bool disabled) {
    if (m_disabled == disabled)
        return;
    m_disabled = disabled;
    // Only a disabled view needs to see the events of its descendants.
    if (disabled)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

QWidget* UMViewWithHitTest::hitTest(QWidget* target) const {
    for (QWidget* view = target; view; view = view->parentWidget()) {
        if (const auto* adopter = dynamic_cast<const UMViewWithHitTestCantBeIgnored*>(view);
            adopter && !adopter->skipsMouseEvents())
            return target;
        if (view == this)
            break;
    }
    return m_disabled ? nullptr : target;
}

bool UMViewWithHitTest::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        break;
    default:
        return false;
    }
    auto* target = qobject_cast<QWidget*>(watched);
    if (!target || (target != this && !isAncestorOf(target)))
        return false;
    return hitTest(target) == nullptr;
}
