#include "Toolkit/SplitViewWithDivider.h"

#include "Toolkit/DarkImageName.h"
#include "Toolkit/ImageStore.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

SplitViewWithDivider::SplitViewWithDivider(Qt::Orientation orientation, QWidget* parent)
    : QSplitter(orientation, parent) {
    setHandleWidth(int(dividerThickness()));
    setChildrenCollapsible(false);
}

QRectF SplitViewWithDivider::getFloorRect(const QRectF& rect) {
    const auto down = [](qreal v) { return qreal(std::floor(float(v))); };
    return QRectF(down(rect.x()), down(rect.y()), down(rect.width()), down(rect.height()));
}

QString SplitViewWithDivider::gripImageForDivider(const QRectF& rect) {
    return DarkImageName::prependDarkPrefixIfNeeded(rect.height() > 50 ? QStringLiteral("scale1")
                                                                       : QStringLiteral("scale2"));
}

QRectF SplitViewWithDivider::gripRect(const QRectF& divider, const QSizeF& image) {
    const QPointF origin(divider.x() + (divider.width() - image.width()) * 0.5,
                         divider.y() + (divider.height() - image.height()) * 0.5);
    return getFloorRect(QRectF(origin, image));
}

int SplitViewWithDivider::positionOfDividerAtIndex(int dividerIndex) const {
    const QSplitterHandle* divider = handle(dividerIndex + 1);
    if (!divider)
        return 0;
    return orientation() == Qt::Horizontal ? divider->x() : divider->y();
}

void SplitViewWithDivider::setPositionOfDividerAtIndex(int position, int dividerIndex) {
    moveSplitter(position, dividerIndex + 1);
}

int SplitViewWithDivider::constrainedPosition(int proposed, int dividerIndex) {
    if (!m_delegate)
        return proposed;
    const qreal low =
        m_delegate->splitViewConstrainMinCoordinateOfSubviewAt(this, proposed, dividerIndex);
    const qreal high =
        m_delegate->splitViewConstrainMaxCoordinateOfSubviewAt(this, proposed, dividerIndex);
    qreal position = proposed;
    if (position < low)
        position = low;
    if (position > high)
        position = high;
    return int(std::lround(position));
}

QSplitterHandle* SplitViewWithDivider::createHandle() {
    return new SplitViewDividerHandle(orientation(), this);
}

SplitViewDividerHandle::SplitViewDividerHandle(Qt::Orientation orientation,
                                               SplitViewWithDivider* parent)
    : QSplitterHandle(orientation, parent) {}

int SplitViewDividerHandle::dividerIndex() const {
    return splitter()->indexOf(const_cast<SplitViewDividerHandle*>(this)) - 1;
}

void SplitViewDividerHandle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF divider = rect();
    const QString image = SplitViewWithDivider::gripImageForDivider(divider);
    const QSizeF size = ImageStore::naturalSize(image);
    if (!size.isEmpty())
        ImageStore::draw(painter, image, SplitViewWithDivider::gripRect(divider, size));
}

void SplitViewDividerHandle::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const QPoint at = event->position().toPoint();
    m_grabOffset = orientation() == Qt::Horizontal ? at.x() : at.y();
    m_dragging = true;
    event->accept();
}

void SplitViewDividerHandle::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging) {
        event->ignore();
        return;
    }
    auto* split = static_cast<SplitViewWithDivider*>(splitter());
    const QPoint inSplit = split->mapFromGlobal(event->globalPosition().toPoint());
    const int proposed =
        (orientation() == Qt::Horizontal ? inSplit.x() : inSplit.y()) - m_grabOffset;
    moveSplitter(split->constrainedPosition(proposed, dividerIndex()));
    event->accept();
}

void SplitViewDividerHandle::mouseReleaseEvent(QMouseEvent* event) {
    m_dragging = false;
    event->accept();
}
