#include "Toolkit/UMTickerScrollView.h"

#include "Results/DuplicatesManager.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"

#include <QCursor>
#include <QFontMetricsF>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

namespace {

constexpr int kStartDelayMs = 500;
constexpr int kTickMs = 25;
constexpr qreal kFontSize = 13.0;
// The label's inset on either side of its text, as a text field draws it.
constexpr qreal kInset = 2.0;
const QString kEllipsis = QStringLiteral("\u2026");

QFont folderFont() {
    return Fonts::fontWithName(QStringLiteral("HelveticaNeue"), kFontSize);
}

QFont nameFont() {
    return Fonts::fontWithName(QStringLiteral("HelveticaNeue-Medium"), kFontSize);
}

// The two parts truncated at the head to fit |width|: first the folder part loses its
// beginning, then the name does.
std::pair<QString, QString> truncatedHead(const QString& folder, const QString& name, qreal width) {
    const QFontMetricsF folderMetrics(folderFont());
    const QFontMetricsF nameMetrics(nameFont());
    const qreal nameWidth = nameMetrics.horizontalAdvance(name);
    if (folderMetrics.horizontalAdvance(folder) + nameWidth <= width)
        return {folder, name};
    for (qsizetype keep = folder.size() - 1; keep >= 0; --keep) {
        const QString head = kEllipsis + folder.right(keep);
        if (folderMetrics.horizontalAdvance(head) + nameWidth <= width)
            return {head, name};
    }
    for (qsizetype keep = name.size() - 1; keep > 0; --keep) {
        const QString tail = kEllipsis + name.right(keep);
        if (nameMetrics.horizontalAdvance(tail) <= width)
            return {QString(), tail};
    }
    return {QString(), kEllipsis};
}

} // namespace

UMTickerScrollView::UMTickerScrollView(QWidget* parent)
    : QWidget(parent), m_color(Palette::heapRowFolderPathColor()) {
    setMouseTracking(true);
}

UMTickerScrollView::~UMTickerScrollView() {
    AnimationClock::instance().cancel(m_scrollTimer);
    AnimationClock::instance().cancel(m_pendingStart);
}

std::pair<QString, QString> UMTickerScrollView::pathParts(const QString& path) {
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(QLatin1Char('/')))
        trimmed.chop(1);
    if (trimmed == QLatin1String("/"))
        return {QString(), trimmed};
    const qsizetype slash = trimmed.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return {QStringLiteral("/"), trimmed};
    // The folder part always ends in exactly the one "/" before the name, also at the root.
    return {trimmed.left(slash + 1), trimmed.mid(slash + 1)};
}

void UMTickerScrollView::setStringValue(const QString& path) {
    m_path = path;
    std::tie(m_folderPart, m_namePart) = pathParts(path);
    m_color = Palette::heapRowFolderPathColor();
    cancelPendingStart();
    stopAnimation();
}

void UMTickerScrollView::setTextColor(const QColor& color) {
    m_color = color;
    update();
}

bool UMTickerScrollView::isWaitingToStart() const {
    return AnimationClock::instance().isPending(m_pendingStart);
}

qreal UMTickerScrollView::labelWidth() const {
    const qreal text = QFontMetricsF(folderFont()).horizontalAdvance(m_folderPart) +
                       QFontMetricsF(nameFont()).horizontalAdvance(m_namePart);
    return std::ceil(text + 2 * kInset);
}

QString UMTickerScrollView::displayedText() const {
    if (isScrolling())
        return m_folderPart + m_namePart;
    const auto [folder, name] = truncatedHead(m_folderPart, m_namePart, width() - 2 * kInset);
    return folder + name;
}

void UMTickerScrollView::stopAnimation() {
    AnimationClock::instance().cancel(m_scrollTimer);
    m_scrollTimer = 0;
    m_currentX = 0;
    update();
}

void UMTickerScrollView::cancelPendingStart() {
    AnimationClock::instance().cancel(m_pendingStart);
    m_pendingStart = 0;
}

void UMTickerScrollView::mouseEntered() {
    if (DuplicatesManager::sharedManager().overlayOnScreen())
        return;
    stopAnimation();
    cancelPendingStart();
    const QString text = m_path;
    m_pendingStart = AnimationClock::instance().after(kStartDelayMs, this, [this, text] {
        m_pendingStart = 0;
        startAnimationWithText(text);
    });
}

void UMTickerScrollView::mouseExited() {
    stopAnimation();
    cancelPendingStart();
}

void UMTickerScrollView::startAnimationWithText(const QString& text) {
    // Same text as shown (a new text cancels the wait), set again as the platform does.
    setStringValue(text);
    const qreal label = labelWidth();
    if (label <= width())
        return;
    m_currentX = float(label - width());
    m_shiftForX = -1.0f;
    m_scrollTimer = AnimationClock::instance().every(kTickMs, this, [this] { tick(); });
    tick();
}

void UMTickerScrollView::tick() {
    m_currentX += m_shiftForX;
    const float label = float(labelWidth());
    const float view = float(width());
    if (m_currentX - 1 + view > label)
        m_shiftForX = -1.0f;
    else if (m_currentX < -1.0f)
        m_shiftForX = 1.0f;
    update();
}

void UMTickerScrollView::updateTrackingAreas() {
    if (isVisible() && rect().contains(mapFromGlobal(QCursor::pos())))
        mouseEntered();
    else
        mouseExited();
}

void UMTickerScrollView::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    mouseEntered();
}

void UMTickerScrollView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    mouseExited();
}

void UMTickerScrollView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    cancelPendingStart();
    stopAnimation();
    updateTrackingAreas();
}

void UMTickerScrollView::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    cancelPendingStart();
    stopAnimation();
    updateTrackingAreas();
}

void UMTickerScrollView::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

void UMTickerScrollView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(m_color);
    QString folder = m_folderPart;
    QString name = m_namePart;
    qreal x = kInset;
    if (isScrolling())
        x -= m_currentX;
    else
        std::tie(folder, name) = truncatedHead(m_folderPart, m_namePart, width() - 2 * kInset);
    const QFontMetricsF folderMetrics(folderFont());
    const QFontMetricsF nameMetrics(nameFont());
    const qreal baseline =
        std::round((height() + folderMetrics.ascent() - folderMetrics.descent()) / 2);
    painter.setFont(folderFont());
    painter.drawText(QPointF(x, baseline), folder);
    painter.setFont(nameFont());
    painter.drawText(QPointF(x + folderMetrics.horizontalAdvance(folder), baseline), name);
}
