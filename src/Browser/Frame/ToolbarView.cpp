#include "ToolbarView.h"

#include "Categories/FileSize.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesHeaps.h"
#include "Results/DuplicatesManager.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/Palette.h"
#include "Toolkit/TitleButton.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

QRectF toWindowRect(const QWidget* widget, const QRect& rect) {
    const QWidget* window = widget->window();
    const QPoint topLeft = widget->mapTo(window, rect.topLeft());
    // Window coordinates of the overlay are y-up.
    return QRectF(topLeft.x(), window->height() - topLeft.y() - rect.height(), rect.width(),
                  rect.height());
}

void writeFrames(int screen, int hint, const QList<QRectF>& frames) {
    QList<QRectF>& list = DuplicatesManager::getFramesArrayForScreenAndHint(screen, hint);
    list = frames;
}

} // namespace

ToolbarView::ToolbarView(QWidget* parent) : QWidget(parent) {
    if (parent)
        parent->installEventFilter(this);
}

int ToolbarView::getFileTypeForButtonNamed(const QString& title) {
    static const QStringList kTitles = {QStringLiteral("Pictures"), QStringLiteral("Movies"),
                                        QStringLiteral("Music"),    QStringLiteral("Documents"),
                                        QStringLiteral("Archives"), QStringLiteral("Others"),
                                        QStringLiteral("Folders")};
    return static_cast<int>(kTitles.indexOf(title));
}

qreal ToolbarView::centredX(qreal parentWidth, qreal viewWidth) {
    const qreal x = viewWidth + 156 > parentWidth ? 78 : (parentWidth - viewWidth) / 2;
    return std::floor(x);
}

QString ToolbarView::sizeTextForButtonNamed(const QString& title) {
    auto container = DuplicatesManager::sharedManager().duplicateContainer();
    const int type = getFileTypeForButtonNamed(title);
    if (type >= 0) {
        auto category = container ? container->getCategoryWithType(type) : nullptr;
        if (!category || category->getTotalCount() == 0)
            return {};
        return FileSize::formatMemoryStringDot0(category->getTotalSize());
    }
    std::uint64_t size = 0;
    if (title == QLatin1String("All Files")) {
        for (int t = 0; container && t <= 6; ++t)
            if (auto category = container->getCategoryWithType(t))
                size += category->getTotalSize();
    } else if (title == QLatin1String("Similars")) {
        if (container && container->getHeaps())
            size = container->getHeaps()->getTotalHeapsSize();
    } else {
        // Any other titled control gets the arrow and an empty text.
        return QStringLiteral(" ");
    }
    const QString text = FileSize::formatMemoryStringDot0(size);
    return text == FileSize::formatMemoryStringDot0(0) ? QString() : text;
}

bool ToolbarView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        windowDidResize();
    return QWidget::eventFilter(watched, event);
}

void ToolbarView::windowDidResize() {
    if (QWidget* parent = parentWidget()) {
        int x = static_cast<int>(centredX(parent->width(), width()));
        if (m_rightLimit > 0 && x + width() > m_rightLimit)
            x = std::max(78, m_rightLimit - width());
        move(x, y());
    }
    if (!window())
        return;
    const QRectF b = toWindowRect(this, rect());
    writeFrames(4, 0, {QRectF(b.x() + 112, b.y() + 42, b.width() - 224, 27)});
    writeFrames(5, 0, {QRectF(b.x() + 11, b.y() + 42, 96, 27)});
    writeFrames(5, 1, {QRectF(b.x() + b.width() - 106, b.y() + 42, 96, 27)});
    for (auto* button : findChildren<TitleButton*>(Qt::FindDirectChildrenOnly))
        if (button->title() == QLatin1String("Similars"))
            writeFrames(6, 0, {toWindowRect(button, button->rect())});
}

void ToolbarView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 12));
    painter.setPen(Palette::toolbarSizeTextColor());
    const QFontMetricsF metrics(painter.font());
    for (auto* button : findChildren<TitleButton*>(Qt::FindDirectChildrenOnly)) {
        if (button->title() == QLatin1String("Overview") || !button->isVisible())
            continue;
        const QString text = sizeTextForButtonNamed(button->title());
        if (text.isEmpty())
            continue;
        const QRect f = button->geometry();
        // The arrow sits 22 points below the button's bottom edge (y-up), 8 by 4.
        const QRectF arrow(f.x() + f.width() / 2.0 - 4, f.bottom() + 1 + 18, 8, 4);
        ImageStore::draw(painter, QStringLiteral("dark_ArrowMB"), arrow);
        const qreal textWidth = metrics.horizontalAdvance(text);
        const qreal x = std::floor((f.width() - textWidth) / 2 + f.x()) + 0.5;
        // 3.5 points above the bottom edge.
        painter.drawText(QPointF(x, height() - 3.5 - metrics.descent()), text);
    }
}
