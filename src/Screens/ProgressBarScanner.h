#pragma once

#include <QRectF>
#include <QString>
#include <QWidget>

#include <vector>

// The thin progress bar of the scan screen, drawn from an empty and a full version of a
// left cap, a stretchable middle and a right cap; the full middle covers the empty one up
// to the progress fraction. It keeps no animation of its own: the scan screen feeds it.
class ProgressBarScanner final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProgressBarScanner)

public:
    // One image drawn into one rectangle (top-left origin, points).
    struct Piece {
        QString image;
        QRectF rect;
        friend bool operator==(const Piece&, const Piece&) = default;
    };

    explicit ProgressBarScanner(QWidget* parent = nullptr);

    // Stores |progress| and redraws; 0.99 and above (and anything above 1) is kept as 1.0.
    void setProgress(float progress);
    float progressValue() const { return m_progressValue; }

    // The pieces drawn for |progress| in a bar of |width| x |height| points, in drawing
    // order; none when |progress| is not a number. The sizes always come from the whole
    // bar, never from the part being repainted.
    static std::vector<Piece> piecesFor(float progress, qreal width, qreal height);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void initImages();

    QString m_startFull;
    QString m_startEmpty;
    QString m_middleFull;
    QString m_middleEmpty;
    QString m_endFull;
    QString m_endEmpty;
    float m_progressValue = 0;
};
