#include "SelectDuplicatesVC.h"

#include "Categories/AppNotification.h"
#include "Platform/NotificationCenter.h"

SelectDuplicatesVC::SelectDuplicatesVC(QWidget* parent) : QWidget(parent) {
    setObjectName(QLatin1String(kInterfaceName));
    auto& center = NotificationCenter::defaultCenter();
    center.addObserver(this, QStringLiteral("BackToWelcomeScreen"),
                       [this](const Notification&) { resetAllDelegates(); });
    center.addObserver(this, QStringLiteral("BackToInterimScreen"),
                       [this](const Notification&) { resetAllDelegates(); });
}

SelectDuplicatesVC::~SelectDuplicatesVC() {
    NotificationCenter::defaultCenter().removeObserver(this);
}

void SelectDuplicatesVC::showScanResultsViewAnimationComleted() {
    m_resultsViewShown = true;
}

void SelectDuplicatesVC::resetAllDelegates() {}

void SelectDuplicatesVC::hideAndDestroyOverlay() {}

void SelectDuplicatesVC::pressOverviewButton() {
    AppNotification::CreateBackgroundTypeChangedNotificationWithType(BackgroundTypeResultsOverview);
}
