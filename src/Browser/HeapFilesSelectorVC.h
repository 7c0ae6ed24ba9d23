#pragma once

#include <QRectF>
#include <QWidget>

#include <memory>

class DuplicatesHeap;
class SelectDuplicatesVC;

// The two-folder comparison of the similar-folders view; its table comes with its own work.
class HeapFilesSelectorVC : public QWidget {
public:
    static constexpr const char* kInterfaceName = "HeapFilesSelectorVC_DARK";

    explicit HeapFilesSelectorVC(QWidget* parent = nullptr) : QWidget(parent) {
        setObjectName(QLatin1String(kInterfaceName));
    }
    void setController(SelectDuplicatesVC* controller) { m_controller = controller; }
    void setHeap(const std::shared_ptr<DuplicatesHeap>& heap) { m_heap = heap; }
    std::shared_ptr<DuplicatesHeap> heap() const { return m_heap.lock(); }
    // The row of files found in only one folder; none while the table has no such row.
    QRectF getUniqueFilesCellFrame() const { return {}; }
    bool isTableViewActive() const { return false; }

private:
    SelectDuplicatesVC* m_controller = nullptr;
    std::weak_ptr<DuplicatesHeap> m_heap;
};
