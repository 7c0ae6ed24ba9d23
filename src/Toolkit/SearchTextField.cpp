#include "Toolkit/SearchTextField.h"

#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

TextFieldWithoutContext::TextFieldWithoutContext(QWidget* parent) : QLineEdit(parent) {
    setContextMenuPolicy(Qt::NoContextMenu);
}

void TextFieldWithoutContext::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void TextFieldWithoutContext::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
}

SearchTextField::SearchTextField(QWidget* parent) : TextFieldWithoutContext(parent) {
    setFrame(false);
    setCursor(Qt::ArrowCursor);
    setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 12));
    setTextMargins(8, 0, 8, 0);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::transparent);
    colours.setColor(QPalette::Text, Palette::commonTextColor());
    colours.setColor(QPalette::PlaceholderText, Palette::sizeLabelColor());
    colours.setColor(QPalette::Highlight, Palette::selectedRowColor());
    colours.setColor(QPalette::HighlightedText, Palette::commonTextColor());
    colours.setColor(QPalette::Disabled, QPalette::Text, Palette::sizeLabelColor());
    setPalette(colours);
}

void SearchTextField::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        const qreal radius = std::min<qreal>(box.height() / 2, 6);
        QPainterPath path;
        path.addRoundedRect(box, radius, radius);
        painter.fillPath(path, Palette::commonPanelBackgroundColor());
        painter.setPen(
            QPen(hasFocus() ? Palette::coverFlowBorderColor() : Palette::dupViewBorderColor(), 1));
        painter.drawPath(path);
    }
    QLineEdit::paintEvent(event);
}
