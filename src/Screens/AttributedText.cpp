#include "AttributedText.h"

#include "Toolkit/Fonts.h"

#include <QTextDocument>
#include <QTextOption>

namespace AttributedTextBuilder {

AttributedText boldMiddle(const QString& string1, const QString& string2, const QString& string3) {
    return {{string1, false}, {string2, true}, {string3, false}};
}

AttributedText boldSecondAndFourth(const QString& string1, const QString& string2,
                                   const QString& string3, const QString& string4,
                                   const QString& string5) {
    return {{string1, false}, {string2, true}, {string3, false}, {string4, true}, {string5, false}};
}

AttributedText boldSecondAndFifth(const QString& string1, const QString& string2,
                                  const QString& string3, const QString& string4,
                                  const QString& string5, const QString& string6) {
    return {{string1, false}, {string2, true}, {string3, false},
            {string4, false}, {string5, true}, {string6, false}};
}

AttributedText boldFirst(const QString& string1, const QString& string2) {
    return {{string1, true}, {string2, false}};
}

QString plainText(const AttributedText& text) {
    QString joined;
    for (const TextPiece& piece : text)
        joined += piece.text;
    return joined;
}

QStringList boldParts(const AttributedText& text) {
    QStringList parts;
    for (const TextPiece& piece : text) {
        if (piece.bold && !piece.text.isEmpty())
            parts << piece.text;
    }
    return parts;
}

QString html(const AttributedText& text) {
    QString result;
    for (const TextPiece& piece : text) {
        if (piece.text.isEmpty())
            continue;
        const QString escaped =
            piece.text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"));
        result += piece.bold ? QStringLiteral("<b>") + escaped + QStringLiteral("</b>") : escaped;
    }
    return result;
}

QSizeF boundingSize(const AttributedText& text, qreal pointSize, QSizeF bounds) {
    QTextDocument document;
    document.setDocumentMargin(0);
    document.setDefaultFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), pointSize));
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WordWrap);
    document.setDefaultTextOption(option);
    document.setHtml(html(text));
    document.setTextWidth(bounds.width());
    return {std::min(document.idealWidth(), bounds.width()), document.size().height()};
}

} // namespace AttributedTextBuilder

AttributedLabel::AttributedLabel(qreal pointSize, const QColor& color, QWidget* parent)
    : QLabel(parent), m_pointSize(pointSize) {
    setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), pointSize));
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    setTextFormat(Qt::RichText);
    setTextColor(color);
}

void AttributedLabel::setAttributedText(const AttributedText& text) {
    m_text = text;
    setText(AttributedTextBuilder::html(text));
}

QString AttributedLabel::plainString() const {
    return AttributedTextBuilder::plainText(m_text);
}

void AttributedLabel::setPlainString(const QString& text) {
    setAttributedText({{text, false}});
}

void AttributedLabel::setTextColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, color);
    setPalette(colours);
}
