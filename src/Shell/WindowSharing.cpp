#include "WindowSharing.h"

#include "Promo/PromoManager.h"
#include "Shell/ShareTexts.h"
#include "Shell/SharingService.h"

#include <QAction>
#include <QUrl>

namespace WindowSharing {

void setSharingMenuButtons(QAction* twitterMenuItem, QAction* facebookMenuItem,
                           QAction* emailMenuItem) {
    // The services of this desktop carry no title or picture of their own, so the items
    // keep theirs.
    if (twitterMenuItem)
        twitterMenuItem->setVisible(
            SharingService::sharingServiceNamed(SharingService::Name::PostOnTwitter));
    if (facebookMenuItem)
        facebookMenuItem->setVisible(
            SharingService::sharingServiceNamed(SharingService::Name::PostOnFacebook));
    if (emailMenuItem)
        emailMenuItem->setVisible(true);
}

void twitterButtonPressed() {
    SharingService::openURL(ShareTexts::twitterIntentLink(
        ShareTexts::menuTwitterText(PromoManager::getAppName(), PromoManager::getPromoSiteURL())));
}

void facebookButtonPressed() {
    SharingService::openURL(ShareTexts::facebookShareLink(ShareTexts::menuFacebookItems(
        PromoManager::getAppName(), PromoManager::getPromoSiteURL())));
}

void emailButtonPressed() {
    const QString appName = PromoManager::getAppName();
    sendEmailWithMailAddressSubjectBody(
        QString(), QString(), ShareTexts::menuEmailSubject(appName),
        ShareTexts::menuEmailBody(appName, PromoManager::getPromoSiteURL()));
}

void contactSupportButtonPressed() {
    sendEmailWithMailAddressSubjectBody(QString(), ShareTexts::supportAddress(),
                                        ShareTexts::supportEmailSubject(),
                                        ShareTexts::supportEmailBody());
}

void sendEmailWithMailAddressSubjectBody(const QString& /*mail*/, const QString& address,
                                         const QString& subject, const QString& body) {
    const QString link = ShareTexts::mailtoLink(address, subject, body);
    SharingService::openURL(QUrl::fromEncoded(link.toLatin1(), QUrl::StrictMode));
}

} // namespace WindowSharing
