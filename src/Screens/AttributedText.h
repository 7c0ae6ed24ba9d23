#pragma once

#include <QColor>
#include <QLabel>
#include <QList>
#include <QSizeF>
#include <QString>

// A screen text with bold parts: pieces joined in order, each plain ("HelveticaNeue") or
// bold ("HelveticaNeue-Bold"), all at one size and colour. The screens build these with the
// builder functions below and show them in an AttributedLabel.
struct TextPiece {
    QString text;
    bool bold = false;
    bool operator==(const TextPiece&) const = default;
};
using AttributedText = QList<TextPiece>;

namespace AttributedTextBuilder {

// (plain, bold, plain).
AttributedText boldMiddle(const QString& string1, const QString& string2, const QString& string3);
// (plain, bold, plain, bold, plain).
AttributedText boldSecondAndFourth(const QString& string1, const QString& string2,
                                   const QString& string3, const QString& string4,
                                   const QString& string5);
// (plain, bold, plain, plain, bold, plain).
AttributedText boldSecondAndFifth(const QString& string1, const QString& string2,
                                  const QString& string3, const QString& string4,
                                  const QString& string5, const QString& string6);
// (bold, plain).
AttributedText boldFirst(const QString& string1, const QString& string2);

// The pieces joined, without the bold marks.
QString plainText(const AttributedText& text);
// The bold pieces only, in order, empty ones left out.
QStringList boldParts(const AttributedText& text);
// Rich text for a label whose font is the plain font of the wanted size.
QString html(const AttributedText& text);
// The text's bounding size when laid out, centred and wrapped, in |bounds| (the width
// bounds the lines; the height is not cut), with the plain font of |pointSize|.
QSizeF boundingSize(const AttributedText& text, qreal pointSize, QSizeF bounds);

} // namespace AttributedTextBuilder

// A label showing an AttributedText, centred, at one size and colour.
class AttributedLabel final : public QLabel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AttributedLabel)

public:
    AttributedLabel(qreal pointSize, const QColor& color, QWidget* parent = nullptr);

    void setAttributedText(const AttributedText& text);
    const AttributedText& attributedText() const { return m_text; }
    // Plain text of the label as shown (for a label set with setPlainString as well).
    QString plainString() const;
    // A text without bold parts.
    void setPlainString(const QString& text);
    void setTextColor(const QColor& color);
    qreal pointSize() const { return m_pointSize; }

private:
    qreal m_pointSize;
    AttributedText m_text;
};
