#pragma once

#include "Browser/Common/ResultsFrame.h"
#include "Browser/Similars/HeapViewGeometry.h"

#include <QPointer>
#include <QRectF>
#include <QWidget>

#include <memory>
#include <vector>

class DuplicateItem;
class DuplicatesHeap;
class FileSystemItem;
class QuickLookVC;
class ScanTree;

// The picture at the top of the similar-folders view: the chosen heap's two folders as two
// overlapping circles sized by the folders' sizes, the overlap (their common copies)
// highlighted, and beside each circle the folder's name, how many of its files are copies in
// the heap and how much they take, and how many are unique, with a "Show" button that jumps
// to those files in the two-folder table. A file picked in that table is previewed here in
// place of the circles. Made and owned by the results screen; main thread.
class HeapView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HeapView)

public:
    explicit HeapView(QWidget* parent = nullptr);
    ~HeapView() override;

    void setController(ResultsFrame* controller);
    // Shows |heap| (nothing for null); its copies are split by the folder they lie in.
    void setDuplicatesHeap(const std::shared_ptr<DuplicatesHeap>& heap);
    std::shared_ptr<DuplicatesHeap> duplicatesHeap() const { return m_heap; }
    void addQuickLookWithFile(FileSystemItem* item);
    void removeQuickLook();
    // The preview while one is shown; null while the circles are.
    QuickLookVC* quickLookVC() const;
    FileSystemItem* previewItem() const { return m_previewItem; }

    const std::vector<std::shared_ptr<DuplicateItem>>& mainFolderDuplicates() const {
        return m_mainFolderDuplicatesArray;
    }
    const std::vector<std::shared_ptr<DuplicateItem>>& secondFolderDuplicates() const {
        return m_secondFolderDuplicatesArray;
    }
    // The geometry of the current heap in a view of this size.
    HeapViewGeometry::Circles calculateCircleSizes() const;
    // The "Show" buttons' hit rectangles (y-up) as last drawn; empty when not drawn.
    QRectF mainShowRect() const { return m_mainFolderShowUniquePath; }
    QRectF secondShowRect() const { return m_secondFolderShowUniquePath; }
    // The sum of the copies' sizes as a size text.
    static QString duplicateSizeStringFromArray(const std::vector<std::shared_ptr<DuplicateItem>>&);
    static QRectF getInnerRectFrom(const QRectF& rect) { return rect.adjusted(1, 1, -1, -1); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Draws one folder's label and "Show" button; |left| for the main folder.
    void drawLabel(QPainter& painter, bool left, const HeapViewGeometry::Circles& circles);
    QPointF toYUp(const QPointF& qt) const { return {qt.x(), height() - qt.y()}; }

    ResultsFramePointer m_controller;
    std::shared_ptr<DuplicatesHeap> m_heap;
    std::shared_ptr<ScanTree> m_previewTree;
    FileSystemItem* m_previewItem = nullptr;
    QPointer<QuickLookVC> m_quickLookVC;
    QWidget* m_previewContainer = nullptr;
    std::vector<std::shared_ptr<DuplicateItem>> m_mainFolderDuplicatesArray;
    std::vector<std::shared_ptr<DuplicateItem>> m_secondFolderDuplicatesArray;
    QRectF m_mainFolderShowUniquePath;
    QRectF m_secondFolderShowUniquePath;
    bool m_bMainFolderShowUniquePressed = false;
    bool m_bSecondFolderShowUniquePressed = false;
};
