#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

// The copy-count badge of a group row: the selected count (when any) and the total count
// in one rounded box, a divider between them. A value the row cell fills and paints; it
// holds no widget.
class ColoredDupView final {
public:
    // One text of the badge in its colour, measured in the badge's font.
    struct Part {
        QString text;
        QColor color;
        qreal width = 0;
    };

    static constexpr qreal kHeight = 20;
    static constexpr qreal kRightMargin = 10;

    // The badge's font: "HelveticaNeue-Medium" 14.
    static QFont font();
    static Part createWithStringAndColor(const QString& text, const QColor& color);

    // The selected and total counts as decimal text.
    void setSelectedDupsAllDups(const QString& selected, const QString& all);

    bool hasSelectedPart() const { return !m_selected.text.isEmpty(); }
    const Part& selectedPart() const { return m_selected; }
    const Part& totalPart() const { return m_total; }
    qreal width() const { return m_width; }
    // The badge's left edge in a row |rowWidth| wide: 10 points from the row's right edge.
    qreal xInRowOfWidth(qreal rowWidth) const;

    // Paints the badge filling |bounds|.
    void drawRect(QPainter& painter, const QRectF& bounds) const;

private:
    Part m_selected;
    Part m_total;
    qreal m_width = 0;
};
