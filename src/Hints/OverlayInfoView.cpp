#include "Hints/OverlayInfoView.h"

#include "Hints/BezierPathQuartzUtilities.h"
#include "Hints/OverlayGeometry.h"
#include "Hints/OverlayInfoController.h"
#include "Platform/NotificationCenter.h"
#include "Platform/ui/KeyEventFromQt.h"
#include "Results/DuplicatesManager.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/Palette.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const QString kOverlayRedraw = QStringLiteral("OverlayRedraw");

QRectF flipped(const QRectF& rect, double height) {
    return {rect.x(), height - rect.y() - rect.height(), rect.width(), rect.height()};
}

// One pass of a box blur of |radius| pixels over the rows (or columns) of an alpha image.
void boxBlur(QImage& alpha, int radius, bool horizontal) {
    const int w = alpha.width(), h = alpha.height();
    const int lines = horizontal ? h : w;
    const int length = horizontal ? w : h;
    std::vector<int> line(length);
    for (int l = 0; l < lines; ++l) {
        auto at = [&](int i) -> uchar& {
            return horizontal ? alpha.scanLine(l)[i] : alpha.scanLine(i)[l];
        };
        for (int i = 0; i < length; ++i)
            line[i] = at(i);
        int sum = 0;
        for (int i = -radius; i <= radius; ++i)
            sum += line[std::clamp(i, 0, length - 1)];
        const int span = 2 * radius + 1;
        for (int i = 0; i < length; ++i) {
            at(i) = static_cast<uchar>(sum / span);
            sum += line[std::min(i + radius + 1, length - 1)] - line[std::max(i - radius, 0)];
        }
    }
}

// The shape of |path| (device pixels) as a soft mask, blurred as a shadow of radius 5 points
// is: three box passes each way approximate the Gaussian.
QImage softMask(const QPainterPath& path, const QSize& size, qreal ratio) {
    QImage mask(size, QImage::Format_Alpha8);
    mask.fill(0);
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(ratio, ratio);
    painter.fillPath(path, Qt::black);
    painter.end();
    const int radius = std::max(1, static_cast<int>(std::lround(2.5 * ratio / 1.7)));
    for (int pass = 0; pass < 3; ++pass) {
        boxBlur(mask, radius, true);
        boxBlur(mask, radius, false);
    }
    return mask;
}

} // namespace

OverlayInfoView::OverlayInfoView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    NotificationCenter::defaultCenter().addObserver(
        this, kOverlayRedraw, [this](const Notification&) { viewDidEndLiveResize(); });
}

OverlayInfoView::~OverlayInfoView() {
    NotificationCenter::defaultCenter().removeObserver(this);
}

void OverlayInfoView::showWithScreensArray(const QList<int>& screens) {
    m_screensArray = screens;
    m_screenState = screens.isEmpty() ? 0 : screens.first();
    invalidate();
}

bool OverlayInfoView::showNextScreen(int step) {
    const qsizetype position = m_screensArray.indexOf(m_screenState);
    if (position < 0)
        return false;
    const qint32 next = static_cast<qint32>(position) + step;
    if (next > m_screensArray.size() - 1)
        return false;
    m_screenState = m_screensArray.at(std::max(next, 0));
    invalidate();
    return true;
}

QList<QList<QRectF>> OverlayInfoView::currentFrames() const {
    QList<QList<QRectF>> frames;
    const auto& table = DuplicatesManager::sharedManager().overlayScreensDictionary();
    const auto it = table.constFind(m_screenState);
    if (it == table.constEnd())
        return frames;
    for (const OverlayHint& hint : *it)
        frames.append(hint.frames);
    return frames;
}

void OverlayInfoView::viewDidEndLiveResize() {
    // Only a real change of the explained controls' places is worth a new sheet.
    if (m_sheetValid && currentFrames() == m_drawnFrames)
        return;
    invalidate();
}

void OverlayInfoView::invalidate() {
    m_sheetValid = false;
    update();
}

void OverlayInfoView::setAlpha(double alpha) {
    m_alpha = std::clamp(alpha, 0.0, 1.0);
    update();
}

void OverlayInfoView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    invalidate();
}

void OverlayInfoView::paintEvent(QPaintEvent*) {
    ++m_paintCount;
    if (!m_sheetValid)
        render();
    QPainter painter(this);
    painter.setOpacity(m_alpha);
    painter.drawImage(QPointF(0, 0), m_sheet);
}

void OverlayInfoView::render() {
    ++m_renderCount;
    const qreal ratio = devicePixelRatioF();
    const QSizeF view = size();
    m_sheet = QImage((view * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    m_sheet.setDevicePixelRatio(ratio);
    m_sheet.fill(Qt::transparent);
    m_drawnFrames = currentFrames();
    m_sheetValid = true;

    QPainter painter(&m_sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const double h = view.height();
    painter.fillRect(QRectF(QPointF(0, 0), view), Palette::overlayBackgroundColor());

    // The white quarter-disc of the top-right corner, with a soft shadow down and left.
    const QRectF disc = flipped(OverlayGeometry::cornerDisc(view), h);
    {
        QPainterPath shadowPath;
        shadowPath.addEllipse(disc.translated(-1, 1));
        const QImage shadow = softMask(shadowPath, m_sheet.size(), ratio);
        QImage tinted(m_sheet.size(), QImage::Format_ARGB32_Premultiplied);
        tinted.setDevicePixelRatio(ratio);
        tinted.fill(Palette::properColorWithRedGreenBlueAlpha(0, 0, 0, 0.3f));
        QPainter tint(&tinted);
        tint.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        QImage shadowRatio = shadow;
        shadowRatio.setDevicePixelRatio(ratio);
        tint.drawImage(QPointF(0, 0), shadowRatio);
        tint.end();
        painter.drawImage(QPointF(0, 0), tinted);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::commonTextColor());
    painter.drawEllipse(disc);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Palette::commonTextColor(), 3.0));
    painter.drawRect(flipped(OverlayGeometry::borderRect(view), h));

    if (m_screenState == 7)
        drawScreen7(painter, view);
    else
        drawHints(painter, view);
    if (m_screenState != 10)
        drawDots(painter, view);
}

void OverlayInfoView::drawHints(QPainter& painter, const QSizeF& view) {
    const auto& table = DuplicatesManager::sharedManager().overlayScreensDictionary();
    const auto it = table.constFind(m_screenState);
    if (it == table.constEnd())
        return;
    const double h = view.height();
    const OverlayGeometry::HoleShape shape = OverlayGeometry::holeShape(m_screenState);
    for (const OverlayHint& hint : *it) {
        for (const QRectF& frame : hint.frames) {
            if (frame.height() == 0)
                continue;
            const QRectF grown = flipped(OverlayGeometry::holeRect(m_screenState, frame), h);
            QPainterPath outline;
            if (shape.ellipse)
                outline.addRoundedRect(grown, grown.width() / 2, grown.height() / 2);
            else
                outline.addRoundedRect(grown, shape.radiusX, shape.radiusY);
            if (const auto hole = BezierPathQuartzUtilities::quartzPath(outline))
                cutHole(painter, *hole);
        }
        // Holes and pictures alternate per hint: a later hole also cuts an earlier picture.
        const QSizeF picture = ImageStore::naturalSize(hint.imageLink);
        if (picture.isEmpty())
            continue;
        const QRectF anchor = OverlayGeometry::anchorRect(hint.frames, h);
        const QPointF origin = OverlayGeometry::keptInView(
            OverlayGeometry::hintOrigin(hint.position, anchor, picture), picture, view);
        ImageStore::draw(painter, hint.imageLink, flipped(QRectF(origin, picture), h));
    }
}

void OverlayInfoView::drawScreen7(QPainter& painter, const QSizeF& view) {
    const auto& table = DuplicatesManager::sharedManager().overlayScreensDictionary();
    const auto it = table.constFind(7);
    if (it == table.constEnd())
        return;
    const double h = view.height();
    for (const OverlayHint& hint : *it) {
        const QSizeF photo = ImageStore::naturalSize(hint.photoLink);
        const QSizeF top = ImageStore::naturalSize(hint.imageLink);
        const QSizeF bottom = ImageStore::naturalSize(hint.bottomImageLink);
        const QPointF photoAt = OverlayGeometry::photoOrigin(photo, view);
        if (!photo.isEmpty())
            ImageStore::draw(painter, hint.photoLink, flipped(QRectF(photoAt, photo), h));
        if (!top.isEmpty())
            ImageStore::draw(
                painter, hint.imageLink,
                flipped(QRectF(OverlayGeometry::topPictureOrigin(photoAt, photo, top), top), h));
        if (!bottom.isEmpty())
            ImageStore::draw(
                painter, hint.bottomImageLink,
                flipped(
                    QRectF(OverlayGeometry::bottomPictureOrigin(photoAt, photo, bottom), bottom),
                    h));
    }
}

void OverlayInfoView::drawDots(QPainter& painter, const QSizeF& view) {
    const double h = view.height();
    const QRectF bar =
        OverlayGeometry::dotsBar(static_cast<int>(m_screensArray.size()), view.width());
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::commonTextColor());
    painter.drawRoundedRect(flipped(bar, h), 3, 3);
    m_dotsPathArray.clear();
    for (int k = 0; k < m_screensArray.size(); ++k) {
        const QRectF dot = OverlayGeometry::dotRect(k, bar);
        const bool current = m_screensArray.at(k) == m_screenState;
        ImageStore::draw(painter,
                         current ? QStringLiteral("btn_dot_blue") : QStringLiteral("btn_dot_gray"),
                         flipped(dot, h));
        QPainterPath oval;
        oval.addEllipse(dot);
        m_dotsPathArray.append(oval);
    }
}

void OverlayInfoView::cutHole(QPainter& painter, const QPainterPath& hole) {
    // A soft-edged cut: the hole's shape blurred by 5 points takes away everything drawn so
    // far (background, disc, border, earlier pictures) where it falls.
    const qreal ratio = m_sheet.devicePixelRatio();
    QImage mask = softMask(hole, m_sheet.size(), ratio);
    mask.setDevicePixelRatio(ratio);
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    painter.drawImage(QPointF(0, 0), mask);
    painter.restore();
}

// --- Events ------------------------------------------------------------------------------------

void OverlayInfoView::keyPressEvent(QKeyEvent* event) {
    // The view handles no keys itself; its controller does, and nothing passes on.
    if (_controller)
        _controller->keyDown(keyEventFromQt(*event), event->isAutoRepeat());
    event->accept();
}

void OverlayInfoView::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF point(event->position().x(), height() - event->position().y());
    for (qsizetype k = 0; k < m_dotsPathArray.size() && k < m_screensArray.size(); ++k) {
        if (m_dotsPathArray.at(k).contains(point)) {
            m_screenState = m_screensArray.at(k);
            invalidate();
            return;
        }
    }
    if (_controller)
        _controller->showNextScreen(1);
}

void OverlayInfoView::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void OverlayInfoView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void OverlayInfoView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The platform sends a second press for a double click; so does this sheet.
    mousePressEvent(event);
}

void OverlayInfoView::wheelEvent(QWheelEvent* event) {
    event->accept();
}
