#pragma once

#include <QByteArray>
#include <QWidget>

#include <memory>
#include <vector>

class HeapsFolderData;
class SelectDuplicatesVC;

// What the folder list of the similar-folders view reports: the chosen folder, or null.
class FolderPickerProtocol {
public:
    virtual ~FolderPickerProtocol() = default;
    virtual void folderSelected(const std::shared_ptr<HeapsFolderData>& folder) = 0;
};

// The folder list of the similar-folders view; its rows come with their own work.
class FolderPickerVC : public QWidget {
public:
    static constexpr const char* kInterfaceName = "FolderPickerVC_DARK";

    explicit FolderPickerVC(QWidget* parent = nullptr) : QWidget(parent) {
        setObjectName(QLatin1String(kInterfaceName));
    }
    void setController(SelectDuplicatesVC* controller) { m_controller = controller; }
    void setDelegate(FolderPickerProtocol* delegate) { m_delegate = delegate; }
    void setFolderDataArray(std::vector<std::shared_ptr<HeapsFolderData>> folders) {
        m_folders = std::move(folders);
    }
    const std::vector<std::shared_ptr<HeapsFolderData>>& folderDataArray() const {
        return m_folders;
    }
    void selectFolderByPath(const QByteArray& path) { m_selectedPath = path; }
    QByteArray selectedPath() const { return m_selectedPath; }

private:
    SelectDuplicatesVC* m_controller = nullptr;
    FolderPickerProtocol* m_delegate = nullptr;
    std::vector<std::shared_ptr<HeapsFolderData>> m_folders;
    QByteArray m_selectedPath;
};
