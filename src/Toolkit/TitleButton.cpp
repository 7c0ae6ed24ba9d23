#include "Toolkit/TitleButton.h"

#include "Toolkit/DarkImageName.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/Palette.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal kTitlePadding = 4;
constexpr qreal kImageTitleGap = 5;
// How much of the content a pressed button darkens, as the platform's highlight does.
constexpr float kPressedDarkening = 0.3f;
constexpr qreal kDisabledOpacity = 0.45;

} // namespace

TitleButton::TitleButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

void TitleButton::setTitle(const QString& title) {
    setText(title);
    titleDidChange();
    updateGeometry();
    update();
}

void TitleButton::setImage(const QString& name) {
    if (m_image == name)
        return;
    m_image = name;
    updateGeometry();
    update();
}

void TitleButton::setAlternateImage(const QString& name) {
    m_alternateImage = name;
    update();
}

void TitleButton::setImagePosition(ImagePosition position) {
    m_imagePosition = position;
    updateGeometry();
    update();
}

void TitleButton::setButtonType(ButtonType type) {
    m_buttonType = type;
    setCheckable(type != ButtonType::Momentary);
    if (type == ButtonType::Switch) {
        setImage(DarkImageName::prependDarkPrefixIfNeeded(QStringLiteral("checkbox0")));
        setAlternateImage(DarkImageName::prependDarkPrefixIfNeeded(QStringLiteral("checkbox1")));
        setImagePosition(ImagePosition::ImageLeft);
        setTitleAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
}

void TitleButton::setPointSize(qreal size) {
    m_pointSize = size;
    updateGeometry();
    update();
}

void TitleButton::setTitleAlignment(Qt::Alignment alignment) {
    m_titleAlignment = alignment;
    update();
}

void TitleButton::applyTitleAttributes(const TitleAttributes& attributes) {
    if (attributes.color)
        m_titleColor = attributes.color;
    if (attributes.baselineOffset)
        m_baselineOffset = *attributes.baselineOffset;
    if (attributes.underline)
        m_underline = *attributes.underline;
    if (attributes.fontName)
        m_fontName = *attributes.fontName;
    updateGeometry();
    update();
}

void TitleButton::sizeToFit() {
    resize(sizeHint());
}

QString TitleButton::shownImage() const {
    if (isChecked() && !m_alternateImage.isEmpty())
        return m_alternateImage;
    return m_image;
}

QSizeF TitleButton::imageSize() const {
    const QString name = shownImage();
    return name.isEmpty() ? QSizeF() : ImageStore::naturalSize(name);
}

QFont TitleButton::titleFont() const {
    QFont font = Fonts::fontWithName(m_fontName, m_pointSize);
    font.setUnderline(m_underline);
    return font;
}

QSize TitleButton::sizeHint() const {
    const QSizeF image = imageSize();
    qreal width = image.width();
    qreal height = image.height();
    if (!text().isEmpty() && m_imagePosition != ImagePosition::ImageOnly) {
        const QFontMetricsF metrics(titleFont());
        const qreal textWidth = std::ceil(metrics.horizontalAdvance(text()));
        const qreal textHeight = std::ceil(metrics.height() + m_baselineOffset);
        if (m_imagePosition == ImagePosition::ImageLeft)
            width += (image.isEmpty() ? 0 : kImageTitleGap) + textWidth + 2 * kTitlePadding;
        else
            width = std::max(width, textWidth + 2 * kTitlePadding);
        height = std::max(height, textHeight + 4);
    }
    return QSize(int(std::ceil(width)), int(std::ceil(height)));
}

void TitleButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange)
        update();
    QAbstractButton::changeEvent(event);
}

void TitleButton::drawContent(QPainter& p) const {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF bounds = rect();
    QRectF titleRect = bounds.adjusted(kTitlePadding, 0, -kTitlePadding, 0);

    const QString name = shownImage();
    if (!name.isEmpty()) {
        QSizeF image = imageSize();
        if (image.height() > bounds.height() || image.width() > bounds.width())
            image.scale(bounds.size(), Qt::KeepAspectRatio);
        QRectF target(QPointF(), image);
        if (m_imagePosition == ImagePosition::ImageLeft && !text().isEmpty()) {
            target.moveTopLeft(QPointF(0, std::floor((bounds.height() - image.height()) / 2)));
            titleRect.setLeft(target.right() + kImageTitleGap);
        } else {
            target.moveCenter(bounds.center());
            target.moveTopLeft(QPointF(std::floor(target.left()), std::floor(target.top())));
        }
        ImageStore::draw(p, name, target);
    }
    if (!text().isEmpty() && m_imagePosition != ImagePosition::ImageOnly) {
        p.setFont(titleFont());
        p.setPen(m_titleColor.value_or(Palette::commonTextColor()));
        // A positive baseline offset lifts the title, as in y-up coordinates.
        p.drawText(titleRect.translated(0, -m_baselineOffset), int(m_titleAlignment), text());
    }
}

void TitleButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!isEnabled())
        painter.setOpacity(kDisabledOpacity);
    if (!isDown()) {
        drawContent(painter);
        return;
    }
    // A pressed button darkens exactly what it drew, so it is drawn into a layer first.
    const qreal ratio = devicePixelRatioF();
    QImage layer((QSizeF(size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    QPainter p(&layer);
    drawContent(p);
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    p.fillRect(rect(), Palette::properColorWithRedGreenBlueAlpha(0, 0, 0, kPressedDarkening));
    p.end();
    painter.drawImage(QPointF(0, 0), layer);
}
