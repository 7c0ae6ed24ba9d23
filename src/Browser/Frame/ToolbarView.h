#pragma once

#include <QWidget>

// The strip that holds the category buttons of the results toolbar. It keeps itself
// centred in its parent (never closer than 78 points to the left edge), draws under each
// category button an arrow and the category's total size, and records the rectangles the
// help overlay points at.
class ToolbarView : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ToolbarView)

public:
    explicit ToolbarView(QWidget* parent = nullptr);

    // -1 for "All Files", "Similars" and unknown titles; 0 to 6 for the categories.
    static int getFileTypeForButtonNamed(const QString& title);
    // The x of a view |viewWidth| wide in a parent |parentWidth| wide.
    static qreal centredX(qreal parentWidth, qreal viewWidth);
    // The size text under the button titled |title|; empty when nothing is drawn there.
    static QString sizeTextForButtonNamed(const QString& title);

    void windowDidResize();
    // The right edge the strip keeps left of, where the sort button stands (0: none). A
    // window narrower than the Parts' smallest would otherwise draw the last category's
    // size under that button.
    void setRightLimit(int x) { m_rightLimit = x; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int m_rightLimit = 0;
};
