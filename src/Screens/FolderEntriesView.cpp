#include "FolderEntriesView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace {

constexpr qreal kItemSize = 128;
constexpr qreal kMinimumItemSize = 48;
constexpr qreal kGap = 24;

} // namespace

FolderEntriesView::FolderEntriesView(QWidget* parent) : QWidget(parent) {}

void FolderEntriesView::setContent(const QList<QVariantMap>& entries) {
    m_entries = entries;
    if (m_entries.isEmpty())
        m_selectedIndex = -1;
    else if (m_selectedIndex < 0 || m_selectedIndex >= m_entries.size())
        m_selectedIndex = 0;
    update();
    emit selectionChanged();
}

void FolderEntriesView::selectFolderByIndex(int index) {
    if (index < 0 || index >= m_entries.size() || index == m_selectedIndex)
        return;
    m_selectedIndex = index;
    update();
    emit selectionChanged();
}

QVariantMap FolderEntriesView::representedObject() const {
    return m_selectedIndex >= 0 ? m_entries.at(m_selectedIndex) : QVariantMap();
}

QRectF FolderEntriesView::itemFrame(int index, int count, qreal width, qreal height) {
    if (count <= 0)
        return {};
    // Every item fits the width: they shrink (down to a floor) before they overflow.
    const qreal fitting = (width - kGap * (count + 1)) / count;
    const qreal size = std::clamp(std::min(fitting, height), kMinimumItemSize, kItemSize);
    const qreal row = count * size + (count - 1) * kGap;
    const qreal left = (width - row) / 2;
    return {left + index * (size + kGap), (height - size) / 2, size, size};
}

void FolderEntriesView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int index = 0; index < m_entries.size(); ++index) {
        const QPixmap image = m_entries.at(index).value(QStringLiteral("image")).value<QPixmap>();
        painter.setOpacity(index == m_selectedIndex ? 1.0 : 0.55);
        painter.drawPixmap(itemFrame(index, int(m_entries.size()), width(), height()), image,
                           QRectF(image.rect()));
    }
}

void FolderEntriesView::mousePressEvent(QMouseEvent* event) {
    for (int index = 0; index < m_entries.size(); ++index) {
        if (itemFrame(index, int(m_entries.size()), width(), height())
                .contains(event->position())) {
            selectFolderByIndex(index);
            return;
        }
    }
    QWidget::mousePressEvent(event);
}
