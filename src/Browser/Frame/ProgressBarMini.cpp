#include "ProgressBarMini.h"

#include "Categories/FileSize.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/Palette.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

ProgressBarMini::ProgressBarMini(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
}

QColor ProgressBarMini::blueClr() {
    return Palette::properColorWithRedGreenBlueAlpha(8 / 255.f, 68 / 255.f, 125 / 255.f, 1);
}
QColor ProgressBarMini::greenClr() {
    return Palette::properColorWithRedGreenBlueAlpha(67 / 255.f, 165 / 255.f, 97 / 255.f, 1);
}
QColor ProgressBarMini::redClr() {
    return Palette::properColorWithRedGreenBlueAlpha(141 / 255.f, 34 / 255.f, 28 / 255.f, 1);
}

ProgressBarMini::Parts ProgressBarMini::partsForShares(float green, float blue, float red,
                                                       qreal width) {
    Parts parts;
    if (std::isnan(green) || std::isnan(blue) || std::isnan(red))
        return parts;
    parts.draw = true;
    if (green + blue > 0.99f)
        green = 1 - blue;
    parts.green = green;
    parts.blue = static_cast<int>(blue * width);
    parts.red = static_cast<int>(red * width);
    if (red > 0 && parts.red < 2)
        parts.red = 2;
    parts.greenWidth = static_cast<int>(std::ceil(green * width));
    if (green > 0 && parts.greenWidth < 2)
        parts.greenWidth = 2;
    return parts;
}

void ProgressBarMini::setSelectedProgressUndeletableProgressSelectedUndeletableProgress(float green,
                                                                                        float blue,
                                                                                        float red) {
    m_progressValueSelected = green;
    m_progressValueUndeletable = blue;
    m_progressValueSelectedUndeletable = red;
    update();
}

void ProgressBarMini::
    setSelectedProgressUndeletableProgressSelectedUndeletableProgressWithTotalSelectedSize(
        float green, float blue, float red, std::uint64_t selectedSize) {
    setSelectedProgressUndeletableProgressSelectedUndeletableProgress(green, blue, red);
    setToolTip(selectedSize == 0 ? QStringLiteral("No duplicates selected")
                                 : QStringLiteral("%1 selected for removal")
                                       .arg(FileSize::formatMemoryStringDot1(selectedSize)));
}

void ProgressBarMini::paintEvent(QPaintEvent*) {
    const qreal w = width();
    const Parts parts = partsForShares(m_progressValueSelected, m_progressValueUndeletable,
                                       m_progressValueSelectedUndeletable, w);
    if (!parts.draw)
        return;
    m_progressValueSelected = parts.green;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The Part's geometry is y-up inside the bar; flip once here.
    const qreal h = height();
    auto flip = [h](qreal x, qreal y, qreal rw, qreal rh) { return QRectF(x, h - y - rh, rw, rh); };
    QPainterPath clip;
    clip.addRoundedRect(flip(0, (h - 4) / 2, w, 4), 3, 3);
    painter.setClipPath(clip);
    using DarkImageName::prependDarkPrefixIfNeeded;
    ImageStore::draw(painter, prependDarkPrefixIfNeeded(QStringLiteral("LineStart2")),
                     flip(0, 2, 3, 5));
    ImageStore::draw(painter, prependDarkPrefixIfNeeded(QStringLiteral("LineMiddle2")),
                     flip(3, 2, w - 6, 5));
    ImageStore::draw(painter, prependDarkPrefixIfNeeded(QStringLiteral("LineEnd2")),
                     flip(w - 3, 2, 3, 5));
    painter.fillRect(flip(0, 3, parts.blue, 4), blueClr());
    painter.fillRect(flip(parts.blue, 3, parts.red, 4), redClr());
    painter.fillRect(flip(parts.blue + parts.red, 3, parts.greenWidth, 4), greenClr());
}
