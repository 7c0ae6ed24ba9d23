#include "Toolkit/QuickLookCaptionLabel.h"

#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

QFont boldFont() {
    return Fonts::fontWithName(QStringLiteral("HelveticaNeue-Bold"), 13.0);
}

QFont plainFont() {
    return Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 13.0);
}

} // namespace

QuickLookCaptionLabel::QuickLookCaptionLabel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void QuickLookCaptionLabel::makeAttributedStringWithBoldString1String2(const QString& string1,
                                                                       const QString& string2) {
    m_bold = string1;
    m_plain = string2;
    update();
}

std::pair<QString, QString> QuickLookCaptionLabel::elidedParts(int width) const {
    const QFontMetrics bold(boldFont());
    const QFontMetrics plain(plainFont());
    const int plainWidth = plain.horizontalAdvance(m_plain);
    if (bold.horizontalAdvance(m_bold) + plainWidth <= width)
        return {m_bold, m_plain};
    const int boldRoom = width - plainWidth;
    if (boldRoom >= bold.horizontalAdvance(QStringLiteral("M…M")))
        return {bold.elidedText(m_bold, Qt::ElideMiddle, boldRoom), m_plain};
    const QString name = bold.elidedText(m_bold, Qt::ElideMiddle, width / 2);
    return {name, plain.elidedText(m_plain, Qt::ElideMiddle, width - bold.horizontalAdvance(name))};
}

void QuickLookCaptionLabel::paintEvent(QPaintEvent*) {
    const auto [bold, plain] = elidedParts(width());
    const QFontMetrics boldMetrics(boldFont());
    const QFontMetrics plainMetrics(plainFont());
    const int total = boldMetrics.horizontalAdvance(bold) + plainMetrics.horizontalAdvance(plain);
    const int baseline = (height() + boldMetrics.ascent() - boldMetrics.descent()) / 2;
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Palette::toolbarButtonsTextColor());
    int x = (width() - total) / 2;
    painter.setFont(boldFont());
    painter.drawText(QPoint(x, baseline), bold);
    x += boldMetrics.horizontalAdvance(bold);
    painter.setFont(plainFont());
    painter.drawText(QPoint(x, baseline), plain);
}
