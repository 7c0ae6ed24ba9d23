#include "Shell/AboutWC.h"
#include "Promo/PromoManager.h"
#include "Screens/CongratulationsVC.h"
#include "Screens/InterimScreenVC.h"
#include "Screens/NoDuplicatesVC.h"
#include "Screens/ProgressBarRemover.h"
#include "Shell/SharingService.h"
#include "TestSupport.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/DarkBlueUnderlineTitleButton.h"
#include "Toolkit/ImageStore.h"

#include <QApplication>
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

TEST(FlowPicturesTest, EveryPictureTheFlowScreensAskForExists) {
    ImageStore::resetRequestedNames();
    {
        AboutWC about;
        about.show();
        InterimScreenVC interim;
        interim.show();
        NoDuplicatesVC noDuplicates;
        noDuplicates.show();
        CongratulationsVC congratulations;
        congratulations.show();
        ProgressBarRemover bar;
        bar.resize(100, 5);
        bar.setProgress(1.0f);
        while (bar.isGliding())
            bar.tick();
        bar.show();
        QApplication::processEvents();
        // Every button's hover and pressed pictures too, not only the ones on screen now.
        for (QWidget* screen :
             std::initializer_list<QWidget*>{&interim, &noDuplicates, &congratulations}) {
            for (auto* button : screen->findChildren<ButtonWithTrackingArea*>()) {
                ImageStore::pixmap(button->hoveredImage());
                ImageStore::pixmap(button->alternateImage());
            }
        }
        bar.grab();
    }
    const QStringList requested = ImageStore::requestedNames();
    EXPECT_TRUE(requested.contains(QStringLiteral("dark_ProgressEnd2")));
    EXPECT_TRUE(requested.contains(QStringLiteral("dark_btn_showresults_hover")));
    for (const QString& name : requested)
        EXPECT_TRUE(ImageStore::contains(name)) << name.toStdString();
}
