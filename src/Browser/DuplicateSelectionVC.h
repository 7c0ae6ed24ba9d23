#pragma once

#include <QWidget>

#include <memory>

class DuplicateItem;
class DuplicatesGroup;
class SelectDuplicatesVC;

// The copies table of the category view; its rows come with their own work.
class DuplicateSelectionVC : public QWidget {
public:
    static constexpr const char* kInterfaceName = "DuplicateSelectionVC_DARK";

    explicit DuplicateSelectionVC(QWidget* parent = nullptr) : QWidget(parent) {
        setObjectName(QLatin1String(kInterfaceName));
    }
    void setController(SelectDuplicatesVC* controller) { m_controller = controller; }
    void setDuplicateType(int type) { m_type = type; }
    int duplicateType() const { return m_type; }
    void loadGroup(const std::shared_ptr<DuplicatesGroup>& group) { m_group = group; }
    std::shared_ptr<DuplicatesGroup> group() const { return m_group.lock(); }
    void selectRowByItem(const std::shared_ptr<DuplicateItem>& item) { m_item = item; }
    std::shared_ptr<DuplicateItem> selectedItem() const { return m_item.lock(); }

private:
    SelectDuplicatesVC* m_controller = nullptr;
    int m_type = -2;
    std::weak_ptr<DuplicatesGroup> m_group;
    std::weak_ptr<DuplicateItem> m_item;
};
