#pragma once

#include <QWidget>

#include <cstdint>

// The thin bar under a category button of the results toolbar: the selected shares of the
// category side by side, blue (the one copy kept of groups whose other copies are all
// selected), red (groups with every copy selected) and green (selected copies of groups
// that keep an unselected copy), from the left.
class ProgressBarMini : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProgressBarMini)

public:
    explicit ProgressBarMini(QWidget* parent = nullptr);

    // Widths in points of the three parts on a track |width| wide; |draw| is false when a
    // share is not a number (nothing is drawn, not even the track).
    struct Parts {
        bool draw = false;
        float green = 0;
        int blue = 0;
        int red = 0;
        int greenWidth = 0;
    };
    static Parts partsForShares(float green, float blue, float red, qreal width);

    void setSelectedProgressUndeletableProgressSelectedUndeletableProgress(float green, float blue,
                                                                           float red);
    void setSelectedProgressUndeletableProgressSelectedUndeletableProgressWithTotalSelectedSize(
        float green, float blue, float red, std::uint64_t selectedSize);

    float progressValueSelected() const { return m_progressValueSelected; }
    float progressValueUndeletable() const { return m_progressValueUndeletable; }
    float progressValueSelectedUndeletable() const { return m_progressValueSelectedUndeletable; }

    static QColor blueClr();
    static QColor greenClr();
    static QColor redClr();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    float m_progressValueSelected = 0;
    float m_progressValueUndeletable = 0;
    float m_progressValueSelectedUndeletable = 0;
};
