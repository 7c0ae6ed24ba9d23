#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;
class QWidget;

// Small helpers the overview's charts share: texts placed by their lower-left corner in the
// charts' y-up coordinates, and the help overlay's rectangles.
namespace OverviewPainting {

// The size a one-line text takes: its advance and the font's line height.
QSizeF textSize(const QString& text, const QFont& font);

// Draws |text| with its lower-left corner at |lowerLeftYUp| in a view |viewHeight| high.
void drawTextAt(QPainter& painter, const QString& text, const QFont& font, const QColor& color,
                const QPointF& lowerLeftYUp, qreal viewHeight);

// |localQt| (the widget's own y-down coordinates) in its window's coordinates, y up.
QRectF windowRectYUp(const QWidget* widget, const QRectF& localQt);

// Replaces the "Frames" of hint |hint| of help-overlay screen |screen| by |frames|; nothing
// when the table has no such hint. Answers whether the list changed.
bool writeOverlayFrames(int screen, int hint, const QList<QRectF>& frames);

// The cursor the charts show over their targets; set only when it differs.
void setPointingHand(QWidget* widget, bool pointing);

} // namespace OverviewPainting
