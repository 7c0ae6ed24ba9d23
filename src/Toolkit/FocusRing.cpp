#include "Toolkit/FocusRing.h"

#include "Toolkit/Palette.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFocusEvent>
#include <QPainter>

namespace {

QPointer<FocusRing>& theRing() {
    static QPointer<FocusRing> ring;
    return ring;
}

// Whether the last press was a key's rather than the mouse's.
bool& keyboardInUse() {
    static bool value = false;
    return value;
}

// Sees the focus events of every widget and hands them to the ring, and the presses that
// tell whether the keyboard or the mouse moved the focus.
class FocusWatcher final : public QObject {
public:
    explicit FocusWatcher(QObject* parent) : QObject(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace

void FocusRing::install() {
    static bool installed = false;
    if (installed || !qApp)
        return;
    installed = true;
    qApp->installEventFilter(new FocusWatcher(qApp));
}

FocusRing* FocusRing::ring() {
    return theRing();
}

FocusRing::FocusRing() : QWidget(nullptr) {
    setObjectName(QStringLiteral("focusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
}

void FocusRing::follow(QWidget* target) {
    if (m_target && m_target != target)
        m_target->removeEventFilter(this);
    for (const QPointer<QWidget>& ancestor : std::as_const(m_ancestors))
        if (ancestor)
            ancestor->removeEventFilter(this);
    m_ancestors.clear();
    m_target = target;
    QWidget* window = target->window();
    if (parentWidget() != window)
        setParent(window);
    target->installEventFilter(this);
    for (QWidget* ancestor = target->parentWidget(); ancestor && ancestor != window;
         ancestor = ancestor->parentWidget()) {
        ancestor->installEventFilter(this);
        m_ancestors.append(ancestor);
    }
    place();
    show();
    raise();
}

void FocusRing::drop() {
    if (m_target)
        m_target->removeEventFilter(this);
    for (const QPointer<QWidget>& ancestor : std::as_const(m_ancestors))
        if (ancestor)
            ancestor->removeEventFilter(this);
    m_ancestors.clear();
    m_target = nullptr;
    hide();
}

void FocusRing::place() {
    if (!m_target || !parentWidget())
        return;
    QWidget* window = parentWidget();
    const QPoint topLeft = m_target->mapTo(window, QPoint(0, 0));
    const QRect frame =
        QRect(topLeft, m_target->size()).adjusted(-kOutset, -kOutset, kOutset, kOutset);
    setGeometry(frame);
    // Inside a scroll area only what lies in the area's sight is drawn.
    QRect sight = frame;
    for (QWidget* ancestor = m_target->parentWidget(); ancestor && ancestor != window;
         ancestor = ancestor->parentWidget()) {
        const auto* area = qobject_cast<const QAbstractScrollArea*>(ancestor->parentWidget());
        if (area && area->viewport() == ancestor)
            sight &= QRect(ancestor->mapTo(window, QPoint(0, 0)), ancestor->size());
    }
    m_outOfSight = sight.isEmpty();
    if (sight == frame || m_outOfSight)
        clearMask();
    else
        setMask(QRegion(sight.translated(-frame.topLeft())));
    update();
    raise();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_target) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            place();
            break;
        case QEvent::Hide:
            drop();
            break;
        default:
            break;
        }
    } else if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
        for (const QPointer<QWidget>& ancestor : std::as_const(m_ancestors))
            if (ancestor == watched) {
                place();
                break;
            }
    }
    return QWidget::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent*) {
    if (m_outOfSight)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(Palette::focusRingColor(), kWidth);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const qreal inset = kWidth / 2.0;
    painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), 4, 4);
}

void FocusRing::focusEntered(QWidget* widget, Qt::FocusReason reason) {
    // Tab and Shift+Tab, or a key of a list that hands the focus on (the arrows and Tab of
    // the results lists move it themselves): the keyboard moved the focus.
    const bool byKeyboard =
        reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
        (keyboardInUse() && (reason == Qt::OtherFocusReason || reason == Qt::ShortcutFocusReason));
    if (byKeyboard) {
        if (!theRing())
            theRing() = new FocusRing;
        theRing()->follow(widget);
    } else if (FocusRing* ring = theRing(); ring && ring->target() != widget &&
                                            reason != Qt::ActiveWindowFocusReason &&
                                            reason != Qt::PopupFocusReason) {
        // Another window coming to the front leaves the ring where it is in its own.
        ring->drop();
    }
}

void FocusRing::focusLeft(QWidget* widget, Qt::FocusReason reason) {
    // The focus leaving for a popup or another window comes back to the same control.
    FocusRing* ring = theRing();
    if (ring && ring->target() == widget && reason != Qt::PopupFocusReason &&
        reason != Qt::ActiveWindowFocusReason) {
        ring->drop();
    }
}

bool FocusWatcher::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        keyboardInUse() = true;
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::TouchBegin:
        keyboardInUse() = false;
        return false;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        break;
    default:
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->isWindow() || qobject_cast<FocusRing*>(widget))
        return false;
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (event->type() == QEvent::FocusIn)
        FocusRing::focusEntered(widget, reason);
    else
        FocusRing::focusLeft(widget, reason);
    return false;
}
