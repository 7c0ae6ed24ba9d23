#pragma once

#include "Browser/Common/ResultsFrame.h"

#include "Browser/Overview/QuickHintRecords.h"

#include <QPointer>
#include <QRectF>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

struct AutoSelectCandidate;
class DuplicatesGroup;
class DuplicatesHeap;
class OverviewVC;
class TitleButton;

// The "Cleanup Hints" panel of the overview: up to three clickable boxes a row, the
// quickest ways to free space: the copies of one big group, a batch of automatic selection,
// the duplicates of a pair of similar folders. The refresh button steps through the rows.
//
// Made with the overview; it asks the result manager for its three background calculations
// at once and shows a spinner until all three answers are in (they arrive on the main
// thread in any order, and reach the panel only while it exists). It then balances the
// lists, takes its height and asks its container to re-size the hint column. A box acts
// only when pressed and released over it while no help overlay is shown. Main thread only.
class QuickHintsView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QuickHintsView)

public:
    static constexpr int kPanelWidth = 320;
    static constexpr int kInitialHeight = 240;
    static constexpr int kBoxWidth = 319;
    static constexpr int kBoxHeight = 64;
    static constexpr int kTextWidth = 260;

    explicit QuickHintsView(QWidget* parent = nullptr);

    void setController(ResultsFrame* controller);
    void setContainer(OverviewVC* container);

    void onCalculatedBiggestGroups(const std::vector<std::shared_ptr<DuplicatesGroup>>& groups);
    void onCalculatedDuplicatesForAutoselect(const std::vector<AutoSelectCandidate>& candidates);
    void
    onCalculateBiggestEasyForRemoveHeaps(const std::vector<std::shared_ptr<DuplicatesHeap>>& heaps);

    void refreshButtonPressed();

    // ---- Read back.
    bool isCalculating() const;
    int currentHintTrinity() const { return m_currentHintTrinity; }
    // The lists after balancing (empty until all three answers are in).
    const std::vector<QuickHintRecord>& groupHints() const { return m_topGroupArray.value(); }
    const std::vector<QuickHintRecord>& autoselectHints() const {
        return m_topAutoselectArray.value();
    }
    const std::vector<QuickHintRecord>& heapHints() const { return m_topHeapsArray.value(); }
    // The boxes of the current row, in drawing order.
    std::vector<const QuickHintRecord*> currentRow() const;
    // Box |k|'s rectangle in widget coordinates.
    QRectF boxRect(int k) const;
    int hoveredIndex() const { return m_hoveredIndex; }
    int clickedIndex() const { return m_clickedIndex; }
    TitleButton* refreshButton() const { return m_refreshButton; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    class Spinner;

    void ask();
    void splitHintsBetweenArrays();
    void addRefreshButton();
    int boxAt(const QPointF& pointQt) const;
    void act(const QuickHintRecord& hint);

    std::optional<std::vector<QuickHintRecord>> m_topGroupArray;
    std::optional<std::vector<QuickHintRecord>> m_topAutoselectArray;
    std::optional<std::vector<QuickHintRecord>> m_topHeapsArray;
    int m_currentHintTrinity = 0;
    int m_hoveredIndex = -1;
    int m_clickedIndex = -1;
    int m_pressedBox = -1;
    bool m_balanced = false;
    Spinner* m_progressIndicator = nullptr;
    TitleButton* m_refreshButton = nullptr;
    QPointer<OverviewVC> m_container;
    ResultsFramePointer m_controller;
};
