#pragma once

#include <QWidget>

class SelectDuplicatesVC;

// The review-and-remove panel; its list and the removal come with their own work.
class SelectedFilesVC : public QWidget {
public:
    static constexpr const char* kInterfaceName = "SelectedFilesVC_DARK";

    explicit SelectedFilesVC(QWidget* parent = nullptr) : QWidget(parent) {
        setObjectName(QLatin1String(kInterfaceName));
    }
    void setController(SelectDuplicatesVC* controller) { m_controller = controller; }
    void showAnimation() {}

private:
    SelectDuplicatesVC* m_controller = nullptr;
};
