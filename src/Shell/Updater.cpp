#include "Updater.h"

#include "Promo/PromoManager.h"
#include "Toolkit/Alert.h"

#include <QMessageBox>

Updater& Updater::sharedUpdater() {
    static Updater* updater = new Updater;
    return *updater;
}

QString Updater::updatesText(const QString& appName, const QString& version,
                             const QString& siteURL) {
    QString text = QStringLiteral("You are running %1 %2. %1 downloads nothing by itself: new "
                                  "versions come with the package that installed it")
                       .arg(appName, version);
    if (!siteURL.isEmpty())
        text += QStringLiteral(" and are announced at %1").arg(siteURL);
    return text + QLatin1Char('.');
}

void Updater::checkForUpdates(QWidget* parent) {
    if (m_box) {
        m_box->raise();
        m_box->activateWindow();
        return;
    }
    m_box = new Alert(updatesText(PromoManager::getAppName(), PromoManager::getAppVersion(),
                                  PromoManager::getPromoSiteURL()),
                      QString(), QMessageBox::Ok, parent);
    m_box->setObjectName(QStringLiteral("updatesNotice"));
    m_box->setWindowTitle(QStringLiteral("Check for Updates"));
    m_box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_box->open();
}
