#pragma once

#include <QWidget>

#include <functional>

class SelectDuplicatesVC;

// The overview of a result (charts and cleanup hints). Built anew each time the results
// screen enters its overview state; its charts come with their own work.
class OverviewVC : public QWidget {
public:
    static constexpr const char* kInterfaceName = "OverviewVC";

    explicit OverviewVC(QWidget* parent = nullptr) : QWidget(parent) {
        setObjectName(QLatin1String(kInterfaceName));
    }
    void setController(SelectDuplicatesVC* controller) { m_controller = controller; }
    void loadAllViewsWithVisiblePieChart(bool pieChart) { m_pieChartVisible = pieChart; }
    bool pieChartVisible() const { return m_pieChartVisible; }
    void showHintsAnimated(bool animated) {
        m_hintsShown = true;
        m_hintsAnimated = animated;
    }
    void hideHints() { m_hintsShown = false; }
    bool hintsShown() const { return m_hintsShown; }
    bool hintsAnimated() const { return m_hintsAnimated; }
    void hideWithCompletion(const std::function<void()>& completion) {
        if (completion)
            completion();
    }

private:
    SelectDuplicatesVC* m_controller = nullptr;
    bool m_pieChartVisible = false;
    bool m_hintsShown = false;
    bool m_hintsAnimated = false;
};
