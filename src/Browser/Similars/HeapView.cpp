#include "Browser/Similars/HeapView.h"

#include "Browser/Similars/HeapFilesSelectorVC.h"
#include "Browser/Similars/HeapFilesTexts.h"
#include "Categories/FileSize.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesHeap.h"
#include "Results/DuplicatesManager.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/Palette.h"
#include "Toolkit/PreviewPanel.h"
#include "Toolkit/QLPreviewViewMod.h"
#include "Toolkit/QuickLookController.h"
#include "Toolkit/QuickLookSourceType.h"
#include "Toolkit/QuickLookVC.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace T = HeapFilesTexts;
namespace G = HeapViewGeometry;

HeapView::HeapView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("HeapView"));
}

HeapView::~HeapView() = default;

void HeapView::setController(ResultsFrame* controller) {
    m_controller = controller;
}

QuickLookVC* HeapView::quickLookVC() const {
    return m_quickLookVC;
}

void HeapView::setDuplicatesHeap(const std::shared_ptr<DuplicatesHeap>& heap) {
    m_heap = heap;
    m_mainFolderDuplicatesArray.clear();
    m_secondFolderDuplicatesArray.clear();
    if (heap) {
        FolderSystemItem* main = heap->getMainFolderItem();
        for (const auto& copy : heap->getDuplicateItems().items()) {
            if (!copy)
                continue;
            // A direct child of the main folder: its parent link, not a walk over children.
            FileSystemItem* item = copy->getFileSystemItem();
            if (main && item && item->parent() == main)
                m_mainFolderDuplicatesArray.push_back(copy);
            else
                m_secondFolderDuplicatesArray.push_back(copy);
        }
    }
    update();
}

QString
HeapView::duplicateSizeStringFromArray(const std::vector<std::shared_ptr<DuplicateItem>>& copies) {
    std::uint64_t total = 0;
    for (const auto& copy : copies)
        total += copy->getFileItemSize();
    return FileSize::formatMemoryStringDot1(total);
}

void HeapView::addQuickLookWithFile(FileSystemItem* item) {
    if (!m_quickLookVC) {
        m_previewContainer = new QWidget(this);
        m_previewContainer->setObjectName(QStringLiteral("HeapViewPreview"));
        m_previewContainer->setGeometry(getInnerRectFrom(QRectF(rect())).toRect());
        m_previewContainer->setAutoFillBackground(true);
        QPalette palette = m_previewContainer->palette();
        palette.setColor(QPalette::Window, Palette::commonPanelBackgroundColor());
        m_previewContainer->setPalette(palette);
        m_quickLookVC = new QuickLookVC(m_previewContainer);
        m_quickLookVC->setGeometry(m_previewContainer->rect().adjusted(1, 1, -1, -1));
        m_previewContainer->show();
        m_quickLookVC->show();
    }
    m_previewItem = item;
    m_previewTree = item ? item->tree() : nullptr;
    m_quickLookVC->loadFileByItem(item);
    auto& quickLook = QuickLookController::sharedQuickLookController();
    if (item && quickLook.previewPanel() && quickLook.previewPanel()->isVisible()) {
        quickLook.setQuicklookType(QuickLookSourceTypeTwoFolderTable);
        quickLook.setFileItemByPath(item->path());
    }
    update();
}

void HeapView::removeQuickLook() {
    m_previewItem = nullptr;
    m_previewTree.reset();
    if (m_previewContainer) {
        m_previewContainer->hide();
        m_previewContainer->deleteLater();
        m_previewContainer = nullptr;
    }
    m_quickLookVC = nullptr;
    update();
}

void HeapView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_previewContainer) {
        m_previewContainer->setGeometry(getInnerRectFrom(QRectF(rect())).toRect());
        if (m_quickLookVC)
            m_quickLookVC->setGeometry(m_previewContainer->rect().adjusted(1, 1, -1, -1));
    }
}

G::Circles HeapView::calculateCircleSizes() const {
    G::Input input;
    input.width = width();
    input.height = height();
    if (m_heap) {
        FolderSystemItem* main = m_heap->getMainFolderItem();
        FolderSystemItem* second = m_heap->getSecondFolderItem();
        input.mainSize = main ? std::uint64_t(std::max<std::int64_t>(0, main->logicalSize())) : 0;
        input.secondSize =
            second ? std::uint64_t(std::max<std::int64_t>(0, second->logicalSize())) : 0;
        input.mainChildren = main ? main->childrenArray().size() : 0;
        input.secondChildren = second ? second->childrenArray().size() : 0;
    }
    input.mainCopies = m_mainFolderDuplicatesArray.size();
    input.secondCopies = m_secondFolderDuplicatesArray.size();
    // Each side's widest line as drawLabel draws it, so the circles leave the labels room.
    const QFontMetricsF title(Fonts::fontWithName(QStringLiteral("HelveticaNeue-Bold"), 14));
    const QFontMetricsF subtitle(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 12));
    const auto labelWidth = [&](FolderSystemItem* folder, const auto& copies) {
        double widest =
            std::max(title.horizontalAdvance(folder ? folder->displayName() : QString()),
                     subtitle.horizontalAdvance(T::duplicatesUsed.arg(
                         QString::number(copies.size()), duplicateSizeStringFromArray(copies))));
        const std::size_t children = folder ? folder->childrenArray().size() : 0;
        if (children > copies.size()) {
            const std::size_t unique = children - copies.size();
            double line = subtitle.horizontalAdvance(
                T::uniqueLine.arg(QString::number(unique), unique == 1 ? T::fileWord : T::files));
            if (input.width > G::kShowButtonMinWidth)
                line += 5 + G::kShowButtonWidth;
            widest = std::max(widest, line);
        }
        return widest;
    };
    if (m_heap) {
        input.mainLabelWidth = labelWidth(m_heap->getMainFolderItem(), m_mainFolderDuplicatesArray);
        input.secondLabelWidth =
            labelWidth(m_heap->getSecondFolderItem(), m_secondFolderDuplicatesArray);
    }
    return G::calculateCircleSizes(input);
}

void HeapView::paintEvent(QPaintEvent*) {
    // Nothing shows while the pane is collapsed, or without a heap, or under a preview.
    if (height() <= 2 || !m_heap || m_quickLookVC)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const G::Circles circles = calculateCircleSizes();
    const double h = height();
    auto oval = [h](const QPointF& centre, double r) {
        QPainterPath path;
        path.addEllipse(QRectF(centre.x() - r, h - centre.y() - r, 2 * r, 2 * r));
        return path;
    };
    const QPainterPath mainCircle = oval(circles.mainCenter, circles.mainRadius);
    const QPainterPath secondCircle = oval(circles.secondCenter, circles.secondRadius);
    for (const QPainterPath* circle : {&mainCircle, &secondCircle}) {
        painter.fillPath(*circle, Palette::heapCircleColor());
        painter.strokePath(*circle, QPen(Palette::heapCircleBorderColor(), 1.0));
    }
    painter.save();
    painter.setClipPath(mainCircle);
    painter.fillPath(secondCircle, Palette::intersectionPartColor());
    painter.strokePath(secondCircle, QPen(Palette::intersectionPartBorderColor(), 1.0));
    painter.setClipPath(secondCircle);
    painter.strokePath(mainCircle, QPen(Palette::intersectionPartBorderColor(), 1.0));
    painter.restore();
    drawLabel(painter, true, circles);
    drawLabel(painter, false, circles);
}

void HeapView::drawLabel(QPainter& painter, bool left, const G::Circles& circles) {
    const double w = width();
    const double h = height();
    FolderSystemItem* folder = left ? m_heap->getMainFolderItem() : m_heap->getSecondFolderItem();
    const auto& copies = left ? m_mainFolderDuplicatesArray : m_secondFolderDuplicatesArray;
    const QPointF centre = left ? circles.mainCenter : circles.secondCenter;
    const double r = left ? circles.mainRadius : circles.secondRadius;
    const double y0 = std::floor(centre.y()) + 0.5;
    const double edgeX = left ? centre.x() - r : centre.x() + r;
    const double lineEndX = left ? G::kLabelInset : w - G::kLabelInset;
    const double textX = left ? G::kLabelInset : centre.x() + r + 10;
    const double maxWidth = left ? centre.x() - r - 30 : w - 30 - (centre.x() + r);
    painter.setPen(QPen(Palette::heapCircleBorderColor(), 1.0));
    painter.drawLine(QPointF(edgeX, h - y0), QPointF(lineEndX, h - y0));

    // Draws |text| with its box's lower-left corner at (textX, y) in y-up coordinates, fitted
    // to the side's width; answers the drawn width.
    auto drawText = [&](const QString& text, const QFont& font, const QColor& colour, double y) {
        const QFontMetricsF metrics(font);
        const QString fitted = G::fitText(
            text, [&metrics](const QString& s) { return metrics.horizontalAdvance(s); }, maxWidth);
        painter.setFont(font);
        painter.setPen(colour);
        const double textWidth = metrics.horizontalAdvance(fitted);
        painter.drawText(QRectF(textX, h - y - metrics.height(), textWidth + 2, metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, fitted);
        return textWidth;
    };
    drawText(folder ? folder->displayName() : QString(),
             Fonts::fontWithName(QStringLiteral("HelveticaNeue-Bold"), 14),
             Palette::heapCircleTitleColor(), y0 + 40);
    const QFont subtitle = Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 12);
    drawText(
        T::duplicatesUsed.arg(QString::number(copies.size()), duplicateSizeStringFromArray(copies)),
        subtitle, Palette::heapCircleSubtitleColor(), y0 + 22);

    QRectF& hitRect = left ? m_mainFolderShowUniquePath : m_secondFolderShowUniquePath;
    bool& pressed = left ? m_bMainFolderShowUniquePressed : m_bSecondFolderShowUniquePressed;
    const std::size_t children = folder ? folder->childrenArray().size() : 0;
    // A button not on screen takes no press.
    hitRect = QRectF();
    if (children <= copies.size())
        return;
    const std::size_t unique = children - copies.size();
    const double uniqueY = y0 + 5;
    const double uniqueWidth =
        drawText(T::uniqueLine.arg(QString::number(unique), unique == 1 ? T::fileWord : T::files),
                 subtitle, Palette::heapCircleSubtitleColor(), uniqueY);
    if (w <= G::kShowButtonMinWidth) {
        pressed = false;
        return;
    }
    hitRect = G::showButtonRect(textX, uniqueWidth, uniqueY);
    const QRectF qtRect(hitRect.x(), h - hitRect.y() - hitRect.height(), hitRect.width(),
                        hitRect.height());
    ImageStore::draw(
        painter,
        DarkImageName::prependDarkPrefixIfNeeded(pressed ? QStringLiteral("btn_unique_click")
                                                         : QStringLiteral("btn_unique")),
        qtRect);
    const QFont font = Fonts::fontWithName(
        left ? QStringLiteral("HelveticaNeue") : QStringLiteral("HelveticaNeue-Medium"), 11);
    const QFontMetricsF metrics(font);
    const QString label = G::fitText(
        T::show, [&metrics](const QString& s) { return metrics.horizontalAdvance(s); }, maxWidth);
    painter.setFont(font);
    painter.setPen(Palette::heapCircleShowButtonColor());
    painter.drawText(left ? qtRect : qtRect.translated(0, -2.0), Qt::AlignCenter, label);
}

void HeapView::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    if (DuplicatesManager::sharedManager().overlayOnScreen())
        return;
    const QPointF point = toYUp(event->position());
    const bool mainWas = m_bMainFolderShowUniquePressed;
    const bool secondWas = m_bSecondFolderShowUniquePressed;
    if (m_mainFolderShowUniquePath.contains(point))
        m_bMainFolderShowUniquePressed = true;
    else if (m_secondFolderShowUniquePath.contains(point))
        m_bSecondFolderShowUniquePressed = true;
    if (mainWas != m_bMainFolderShowUniquePressed || secondWas != m_bSecondFolderShowUniquePressed)
        update();
}

void HeapView::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (DuplicatesManager::sharedManager().overlayOnScreen())
        return;
    const QPointF point = toYUp(event->position());
    HeapFilesSelectorVC* table = m_controller ? m_controller->heapFilesSelectorVC() : nullptr;
    if (m_mainFolderShowUniquePath.contains(point) && m_bMainFolderShowUniquePressed) {
        if (table)
            table->scrollToUniqueFilesAndSelectLeftItem(true);
    } else if (m_secondFolderShowUniquePath.contains(point) && m_bSecondFolderShowUniquePressed) {
        if (table)
            table->scrollToUniqueFilesAndSelectLeftItem(false);
    }
    m_bMainFolderShowUniquePressed = false;
    m_bSecondFolderShowUniquePressed = false;
    update();
}
