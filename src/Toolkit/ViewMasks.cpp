#include "Toolkit/ViewMasks.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QResizeEvent>
#include <QVariant>
#include <QWidget>

#include <array>
#include <cmath>

namespace {

const char* const kMaskProperty = "sorvantaAutoresizingMask";
const char* const kFollowerName = "sorvantaAutoresizingFollower";

// Splits |delta| among up to three parts; only the flexible ones change.
std::array<double, 3> share(double delta, const std::array<double, 3>& lengths,
                            const std::array<bool, 3>& flexible) {
    std::array<double, 3> result = lengths;
    double total = 0;
    int count = 0;
    for (size_t i = 0; i < 3; ++i) {
        if (flexible[i]) {
            total += std::max(0.0, lengths[i]);
            ++count;
        }
    }
    if (count == 0)
        return result;
    for (size_t i = 0; i < 3; ++i) {
        if (!flexible[i])
            continue;
        const double part = total > 0 ? std::max(0.0, lengths[i]) / total : 1.0 / count;
        result[i] += delta * part;
    }
    return result;
}

// Lays out the parent's children by their masks whenever the parent is resized.
class Follower final : public QObject {
public:
    explicit Follower(QWidget* parent) : QObject(parent), m_lastSize(parent->size()) {
        setObjectName(kFollowerName);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Resize || watched != parent())
            return false;
        // The size last laid out for, rather than the event's old size: a hidden widget
        // gets one resize event for several changes when it is shown.
        const QSize oldSize = m_lastSize;
        const QSize newSize = static_cast<QResizeEvent*>(event)->size();
        m_lastSize = newSize;
        if (!oldSize.isValid() || oldSize == newSize)
            return false;
        auto* parentWidget = static_cast<QWidget*>(watched);
        for (QObject* object : parentWidget->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (!child || child->isWindow())
                continue;
            const unsigned mask = ViewMasks::autoresizingMask(child);
            if (mask == ViewMasks::NotSizable)
                continue;
            child->setGeometry(ViewMasks::resizedFrame(mask, child->geometry(), oldSize, newSize));
        }
        return false;
    }

private:
    QSize m_lastSize;
};

void ensureFollower(QWidget* view) {
    QWidget* parent = view->parentWidget();
    if (!parent ||
        parent->findChild<QObject*>(QLatin1String(kFollowerName), Qt::FindDirectChildrenOnly))
        return;
    parent->installEventFilter(new Follower(parent));
}

} // namespace

namespace ViewMasks {

unsigned autoresizingMask(const QWidget* view) {
    return view ? view->property(kMaskProperty).toUInt() : 0;
}

void setAutoresizingMask(QWidget* view, unsigned mask) {
    if (!view)
        return;
    view->setProperty(kMaskProperty, mask);
    if (mask != NotSizable)
        ensureFollower(view);
}

void setAutoresizingBitToValue(QWidget* view, unsigned bit, bool value) {
    const unsigned mask = autoresizingMask(view);
    setAutoresizingMask(view, value ? (mask | bit) : (mask & ~bit));
}

void fixLeftEdge(QWidget* view, bool fixed) {
    setAutoresizingBitToValue(view, MinXMargin, !fixed);
}
void fixRightEdge(QWidget* view, bool fixed) {
    setAutoresizingBitToValue(view, MaxXMargin, !fixed);
}
void fixTopEdge(QWidget* view, bool fixed) {
    setAutoresizingBitToValue(view, MaxYMargin, !fixed);
}
void fixBottomEdge(QWidget* view, bool fixed) {
    setAutoresizingBitToValue(view, MinYMargin, !fixed);
}
void fixWidth(QWidget* view, bool fixed) {
    setAutoresizingBitToValue(view, WidthSizable, !fixed);
}
void fixHeight(QWidget* view, bool fixed) {
    setAutoresizingBitToValue(view, HeightSizable, !fixed);
}

void applyAllMasks(QWidget* view) {
    fixLeftEdge(view, true);
    fixRightEdge(view, true);
    fixTopEdge(view, true);
    fixBottomEdge(view, true);
    fixWidth(view, false);
    fixHeight(view, false);
}

void removeAllMasks(QWidget* view) {
    fixLeftEdge(view, false);
    fixRightEdge(view, false);
    fixTopEdge(view, false);
    fixBottomEdge(view, false);
    fixWidth(view, true);
    fixHeight(view, true);
}

QRect resizedFrame(unsigned mask, const QRect& frame, const QSize& oldSize, const QSize& newSize) {
    // x: left margin, width, right margin. y (Qt, top down): top margin (MaxY), height,
    // bottom margin (MinY).
    const auto x =
        share(newSize.width() - oldSize.width(),
              {double(frame.x()), double(frame.width()),
               double(oldSize.width() - frame.x() - frame.width())},
              {bool(mask & MinXMargin), bool(mask & WidthSizable), bool(mask & MaxXMargin)});
    const auto y =
        share(newSize.height() - oldSize.height(),
              {double(frame.y()), double(frame.height()),
               double(oldSize.height() - frame.y() - frame.height())},
              {bool(mask & MaxYMargin), bool(mask & HeightSizable), bool(mask & MinYMargin)});
    return QRect(int(std::lround(x[0])), int(std::lround(y[0])),
                 int(std::lround(std::max(0.0, x[1]))), int(std::lround(std::max(0.0, y[1]))));
}

} // namespace ViewMasks
