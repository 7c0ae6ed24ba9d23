#include "Toolkit/ScrollViewWithBorder.h"

#include "Toolkit/ColoredView.h"
#include "Toolkit/MyScroller.h"
#include "Toolkit/Palette.h"

ScrollViewWithBorder::ScrollViewWithBorder(QWidget* parent) : QScrollArea(parent) {
    // The border is the area's own 1-point plain frame, drawn in the frame colour; the
    // content and the scrollers stay inside it.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    QPalette colours = palette();
    const float level = 113 / 255.0f;
    colours.setColor(QPalette::WindowText,
                     Palette::properColorWithRedGreenBlueAlpha(level, level, level, 1));
    setPalette(colours);
    setVerticalScrollBar(new MyScroller(Qt::Vertical, this));
    setHorizontalScrollBar(new MyScroller(Qt::Horizontal, this));
    auto* corner = new ColoredView(this);
    corner->setColor(Palette::commonRowColor());
    setCornerWidget(corner);
}
