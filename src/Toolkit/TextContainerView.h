#pragma once

#include <QColor>
#include <QWidget>

// A rounded container (corner radius 10) filled with its background colour
// (coverFlowBackgroundColor unless set) and outlined in coverFlowBorderColor.
class TextContainerView : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TextContainerView)

public:
    explicit TextContainerView(QWidget* parent = nullptr);

    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_backgroundColor;
};
