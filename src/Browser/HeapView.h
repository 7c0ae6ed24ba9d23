#pragma once

#include <QWidget>

#include <memory>

class DuplicatesHeap;
class FileSystemItem;
class SelectDuplicatesVC;

// The picture of the chosen pair of similar folders; its drawing comes with its own work.
class HeapView : public QWidget {
public:
    explicit HeapView(QWidget* parent = nullptr) : QWidget(parent) {
        setObjectName(QStringLiteral("HeapView"));
    }
    void setController(SelectDuplicatesVC* controller) { m_controller = controller; }
    void setDuplicatesHeap(const std::shared_ptr<DuplicatesHeap>& heap) { m_heap = heap; }
    std::shared_ptr<DuplicatesHeap> duplicatesHeap() const { return m_heap.lock(); }
    void addQuickLookWithFile(FileSystemItem* item) { m_previewItem = item; }
    void removeQuickLook() { m_previewItem = nullptr; }
    FileSystemItem* previewItem() const { return m_previewItem; }

private:
    SelectDuplicatesVC* m_controller = nullptr;
    std::weak_ptr<DuplicatesHeap> m_heap;
    FileSystemItem* m_previewItem = nullptr;
};
