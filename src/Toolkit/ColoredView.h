#pragma once

#include <QColor>
#include <QWidget>

#include <optional>

// A plain area filled with one colour; without a colour it draws nothing of its own.
class ColoredView : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ColoredView)

public:
    explicit ColoredView(QWidget* parent = nullptr) : QWidget(parent) {}

    std::optional<QColor> color() const { return m_pColor; }
    // Stores the colour and redraws.
    void setColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<QColor> m_pColor;
};
