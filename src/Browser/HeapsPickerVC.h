#pragma once

#include <QWidget>

#include <memory>
#include <vector>

class DuplicatesHeap;
class SelectDuplicatesVC;

// What the similar-folder list reports: the chosen pair of folders, or null.
class HeapsPickerProtocol {
public:
    virtual ~HeapsPickerProtocol() = default;
    virtual void heapSelected(const std::shared_ptr<DuplicatesHeap>& heap) = 0;
};

// The similar-folder list of the similar-folders view; its rows come with their own work.
class HeapsPickerVC : public QWidget {
public:
    static constexpr const char* kInterfaceName = "HeapsPickerVC_DARK";

    explicit HeapsPickerVC(QWidget* parent = nullptr) : QWidget(parent) {
        setObjectName(QLatin1String(kInterfaceName));
    }
    void setController(SelectDuplicatesVC* controller) { m_controller = controller; }
    void setDelegate(HeapsPickerProtocol* delegate) { m_delegate = delegate; }
    void setHeapsArray(std::vector<std::shared_ptr<DuplicatesHeap>> heaps) {
        m_heaps = std::move(heaps);
    }
    const std::vector<std::shared_ptr<DuplicatesHeap>>& heapsArray() const { return m_heaps; }

private:
    SelectDuplicatesVC* m_controller = nullptr;
    HeapsPickerProtocol* m_delegate = nullptr;
    std::vector<std::shared_ptr<DuplicatesHeap>> m_heaps;
};
