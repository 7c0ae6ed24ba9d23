#pragma once

#include "Browser/Common/ResultsFrame.h"

#include <QPointer>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

class DuplicatesHeap;
class OverviewVC;

// The "Biggest Similars" panel of the overview's hint column: up to five pairs of similar
// folders, biggest first, each with its two folder names and a bar carrying the pair's size;
// the bars step down in width as the sizes fall. A click on a row opens the pair in the
// Similars view.
//
// The rows come from the result manager's background calculation, asked for when the panel
// is made; until the answer arrives only the frame and title show. The answer reaches the
// panel only while it exists. A row holds its heap weakly: a heap the result no longer has
// is never opened. Main thread only.
class HeapsChart final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HeapsChart)

public:
    static constexpr int kMaxRows = 5;
    static constexpr int kFullHeight = 256;
    static constexpr int kPanelWidth = 320;

    struct HeapsChartRow {
        std::uint64_t size = 0; // "Size"
        QString folder1;        // "Folder1": the main folder's display name
        QString folder2;        // "Folder2"
        std::weak_ptr<DuplicatesHeap> heap;
    };

    explicit HeapsChart(QWidget* parent = nullptr);

    void setController(ResultsFrame* controller);
    void setContainer(OverviewVC* container);

    // The answer of the calculation, biggest first.
    void onCalculatedTenBiggestHeaps(const std::vector<std::shared_ptr<DuplicatesHeap>>& heaps);

    // ---- Pure geometry.
    // The panel's height for |rows| rows: 39 * rows + 59 below five, 256 with five; 0 for none.
    static int heightForRows(int rows);
    // Bar widths: 158 for the first row, 17 less for each row smaller than the one before.
    static std::vector<int> barWidths(const std::vector<std::uint64_t>& sizes);

    // ---- Read back.
    bool hasAnswer() const { return m_answered; }
    const std::vector<HeapsChartRow>& rows() const { return m_heapsArray; }
    int selectedHeap() const { return m_selectedHeap; }
    // The row under |pointQt| (its bar or either folder name), -1 for none.
    int rowAt(const QPointF& pointQt) const;
    // Opens the row's heap in the Similars view; nothing for a heap that is gone.
    void showFolderInHeaps(const std::shared_ptr<DuplicatesHeap>& heap);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void ask();
    // Row |i|'s bar and the two name rectangles, y-up in a panel |h| high.
    struct RowFrames {
        QRectF bar;
        QRectF folder1;
        QRectF folder2;
    };
    RowFrames rowFrames(int i, int barWidth, qreal h) const;
    QRectF toQt(const QRectF& yUp) const {
        return {yUp.x(), height() - yUp.y() - yUp.height(), yUp.width(), yUp.height()};
    }

    std::vector<HeapsChartRow> m_heapsArray;
    int m_selectedHeap = -1;
    bool m_answered = false;
    ResultsFramePointer m_controller;
    QPointer<OverviewVC> m_container;
};
