#include "PromoManager.h"

#include "ApplicationFacts.h"

QString PromoManager::getAppName() {
    return QString::fromUtf8(ApplicationFacts::kName);
}

QString PromoManager::getAppVersion() {
    return QString::fromUtf8(ApplicationFacts::kVersion);
}

QString PromoManager::getPromoSiteURL() {
    return QString::fromUtf8(ApplicationFacts::kPromoSiteURL);
}

QString PromoManager::getMakerSiteURL() {
    QString site = QString::fromUtf8(ApplicationFacts::kMakerSiteURL);
    while (site.endsWith(QLatin1Char('/')))
        site.chop(1);
    return site;
}
