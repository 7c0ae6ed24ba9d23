#include "SelectDuplicatesVC.h"

#include "Categories/AppNotification.h"
#include "Platform/NotificationCenter.h"
#include "Screens/CongratulationsVC.h"

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

void SelectDuplicatesVC::showCongratulationsView(quint64 removedSize,
                                                 const QStringList& scannedFolders) {
    if (m_congratulationsVC)
        m_congratulationsVC->deleteLater();
    auto* congratulations = new CongratulationsVC(this);
    m_congratulationsVC = congratulations;
    congratulations->setGeometry(rect());
    congratulations->raise();
    congratulations->showViewAnimatiedWithRemovedSizeAndScannedFolders(removedSize, scannedFolders);
}

CongratulationsVC* SelectDuplicatesVC::congratulationsController() const {
    return m_congratulationsVC;
}
