#include "Shell/AboutWC.h"
#include "Promo/PromoManager.h"
#include "Shell/SharingService.h"
#include "TestSupport.h"
#include "Toolkit/DarkBlueUnderlineTitleButton.h"
#include "Toolkit/ImageStore.h"

#include <QLabel>
#include <QPointer>
#include <QUrl>

#include <gtest/gtest.h>

TEST(AboutWCTest, ShowsTheVersionAndOpensTheMakersPages) {
    QList<QUrl> opened;
    SharingService::setOpenerForTesting([&](const QUrl& url) { opened << url; });
    QPointer<AboutWC> about = new AboutWC;
    about->show();
    EXPECT_EQ(AboutWC::versionText(QStringLiteral("2.4.1")), QStringLiteral("Version 2.4.1"));
    EXPECT_EQ(about->versionLabel()->text(),
              QStringLiteral("Version ") + PromoManager::getAppVersion());
    EXPECT_FALSE(about->captionLabel()->isVisible());
    // The version line stands 217 points above the window's bottom edge.
    const QRect version = about->versionLabel()->geometry();
    EXPECT_EQ(about->height() - (version.y() + version.height()), 217);
    EXPECT_EQ(about->velquorLogoButton()->image(), QStringLiteral("dark_www"));
    EXPECT_TRUE(ImageStore::contains(QStringLiteral("dark_dark_QV")));

    about->productTourButton()->click();
    about->moreAppsButton()->click();
    about->velquorLogoButton()->click();
    const QString site = PromoManager::getMakerSiteURL();
    EXPECT_EQ(opened, (QList<QUrl>{QUrl(site + QStringLiteral("/halvenor/product-tour/")),
                                   QUrl(site + QStringLiteral("/products/")),
                                   QUrl(site + QStringLiteral("/"))}));
    for (const QUrl& url : opened)
        EXPECT_EQ(url.scheme(), QStringLiteral("https"));

    // Closing ends the window like its own close button.
    about->close();
    EXPECT_TRUE(TestSupport::waitFor([&] { return about.isNull(); }));
    SharingService::setOpenerForTesting({});
}
