#pragma once

#include <QWidget>

#include <memory>
#include <vector>

class DuplicatesGroup;
class SelectDuplicatesVC;

// What the group list reports: the chosen group, or null.
class FileListProtocol {
public:
    virtual ~FileListProtocol() = default;
    virtual void groupSelected(const std::shared_ptr<DuplicatesGroup>& group) = 0;
};

// The group list of the category view; its rows come with their own work.
class FileListVC : public QWidget {
public:
    static constexpr const char* kInterfaceName = "FileListVC_DARK";

    explicit FileListVC(QWidget* parent = nullptr) : QWidget(parent) {
        setObjectName(QLatin1String(kInterfaceName));
    }
    void setController(SelectDuplicatesVC* controller) { m_controller = controller; }
    void setDelegate(FileListProtocol* delegate) { m_delegate = delegate; }
    void setDuplicatesGroupArrayType(int type) {
        m_type = type;
        m_groups.clear();
    }
    void setDuplicatesGroupArrayWithType(std::vector<std::shared_ptr<DuplicatesGroup>> groups,
                                         int type) {
        m_type = type;
        m_groups = std::move(groups);
    }
    int duplicatesGroupArrayType() const { return m_type; }
    const std::vector<std::shared_ptr<DuplicatesGroup>>& groups() const { return m_groups; }
    void selectRowByGroup(const std::shared_ptr<DuplicatesGroup>& group) { m_selected = group; }
    std::shared_ptr<DuplicatesGroup> selectedGroup() const { return m_selected.lock(); }
    void makeTableViewActive() {}

private:
    SelectDuplicatesVC* m_controller = nullptr;
    FileListProtocol* m_delegate = nullptr;
    int m_type = -2;
    std::vector<std::shared_ptr<DuplicatesGroup>> m_groups;
    std::weak_ptr<DuplicatesGroup> m_selected;
};
