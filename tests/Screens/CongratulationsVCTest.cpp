#include "Screens/CongratulationsVC.h"
#include "Categories/AppNotification.h"
#include "Categories/Settings.h"
#include "Platform/NotificationCenter.h"
#include "Promo/PromoManager.h"
#include "Screens/AttributedText.h"
#include "Shell/ShareTexts.h"
#include "Shell/SharingService.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/ButtonWithTrackingArea.h"

#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

class CongratulationsVCTest : public ::testing::Test {
protected:
    void SetUp() override {
        AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
        SharingService::setOpenerForTesting([this](const QUrl& url) { opened << url; });
        useServices(false, false, true);
        host.resize(1000, 600);
        host.show();
        for (const QString& name :
             {QStringLiteral("NoDuplicatesMore"), QStringLiteral("BackToWelcomeScreen"),
              AppNotification::ShowCleanUpToolsNotificationName(),
              AppNotification::RateApplicationNotificationName()}) {
            NotificationCenter::defaultCenter().addObserver(
                &recorder, name, [this](const Notification& note) { posted << note.name; });
        }
    }
    void TearDown() override {
        NotificationCenter::defaultCenter().removeObserver(&recorder);
        SharingService::setOpenerForTesting({});
        SharingService::setServicesForTesting(std::nullopt);
        Settings::setCleanedFileSize(0);
        AnimationClock::instance().setMode(AnimationClock::Mode::Real);
    }

    void useServices(bool twitter, bool facebook, bool email) {
        SharingService::setServicesForTesting([=](SharingService::Name name) {
            switch (name) {
            case SharingService::Name::PostOnTwitter:
                return twitter;
            case SharingService::Name::PostOnFacebook:
                return facebook;
            case SharingService::Name::ComposeEmail:
                return email;
            }
            return false;
        });
    }

    CongratulationsVC* makeView() {
        auto* view = new CongratulationsVC(&host);
        view->setGeometry(host.rect());
        view->show();
        return view;
    }

    QWidget host;
    int recorder = 0;
    QStringList posted;
    QList<QUrl> opened;
};

} // namespace

TEST_F(CongratulationsVCTest, AfterARemovalTellsTheCleanedSizeAndTheLifetimeTotal) {
    Settings::setCleanedFileSize(4000000000);
    CongratulationsVC* view = makeView();
    view->showViewAnimatiedWithRemovedSizeAndScannedFolders(1500000000, {});
    AnimationClock::instance().flush();
    EXPECT_EQ(view->pos(), QPoint(0, 0));
    EXPECT_FALSE(view->isPlainVariant());
    EXPECT_EQ(view->label3()->plainString(), QStringLiteral("1.5\u00A0GB cleaned."));
    EXPECT_EQ(view->label4()->plainString(), QStringLiteral("4\u00A0GB cleaned in total."));
    EXPECT_EQ(view->removedSizeInCurrentSession(), 1500000000u);
    EXPECT_TRUE(view->cleanUpMoreButton()->isVisibleTo(view));
    EXPECT_FALSE(view->rateButton()->isVisibleTo(view));
}

TEST_F(CongratulationsVCTest, ZeroWithoutFoldersIsStillTheNormalVariant) {
    CongratulationsVC* view = makeView();
    view->showViewAnimatiedWithRemovedSizeAndScannedFolders(0, {});
    EXPECT_FALSE(view->isPlainVariant());
    EXPECT_EQ(view->label3()->plainString(), QStringLiteral("0\u00A0B cleaned."));
}

TEST_F(CongratulationsVCTest, EmptyResultsWithoutRemovalShowOnlyACentredNewScan) {
    CongratulationsVC* view = makeView();
    view->showViewAnimatiedWithRemovedSizeAndScannedFolders(
        0, {QStringLiteral("/data/") + QString(50, QLatin1Char('p'))});
    EXPECT_TRUE(view->isPlainVariant());
    EXPECT_EQ(view->label2()->plainString(), QStringLiteral("The folder ") +
                                                 QString(40, QLatin1Char('p')) +
                                                 QStringLiteral("... was processed."));
    EXPECT_EQ(view->label3()->plainString(), QStringLiteral("No duplicates left."));
    const QList<QWidget*> hiddenViews = {view->twitterButton(),     view->facebookButton(),
                                         view->emailButton(),       view->rateButton(),
                                         view->cleanUpMoreButton(), view->label4()};
    for (QWidget* hidden : hiddenViews)
        EXPECT_FALSE(hidden->isVisibleTo(view));
    EXPECT_EQ(view->newScanButton()->x(), (view->width() - view->newScanButton()->width()) / 2);
    EXPECT_EQ(view->label3()->geometry().bottom(), view->label2()->geometry().bottom() + 30);
}

TEST_F(CongratulationsVCTest, ShareButtonsArePlacedByWhichServicesExist) {
    struct Case {
        bool twitter, facebook;
        int emailOffset;
    } cases[] = {{false, false, -24}, {true, false, 9}, {true, true, 42}};
    for (const Case& c : cases) {
        useServices(c.twitter, c.facebook, true);
        CongratulationsVC* view = makeView();
        EXPECT_EQ(view->twitterButton()->isVisibleTo(view), c.twitter);
        EXPECT_EQ(view->facebookButton()->isVisibleTo(view), c.facebook);
        EXPECT_TRUE(view->emailButton()->isVisibleTo(view));
        EXPECT_EQ(view->emailButton()->x(), view->width() / 2 + c.emailOffset);
        delete view;
    }
    useServices(false, false, false);
    CongratulationsVC* view = makeView();
    EXPECT_FALSE(view->emailButton()->isVisibleTo(view));
}

TEST_F(CongratulationsVCTest, ButtonsPostAndMailTheCleanedSize) {
    CongratulationsVC* view = makeView();
    view->showViewAnimatiedWithRemovedSizeAndScannedFolders(2000000, {});
    view->emailButton()->click();
    ASSERT_EQ(opened.size(), 1);
    const QUrlQuery query(opened.first());
    EXPECT_EQ(query.queryItemValue(QStringLiteral("SUBJECT"), QUrl::FullyDecoded),
              QStringLiteral("Remove Linux Duplicates"));
    EXPECT_TRUE(
        query.queryItemValue(QStringLiteral("BODY"), QUrl::FullyDecoded)
            .endsWith(QStringLiteral("I\u2019ve just cleaned 2\u00A0MB of identical files.")));
    // The web shares: a tweet and a Facebook post of the cleaned size and the product page.
    view->twitterButtonPressed();
    view->facebookButtonPressed();
    ASSERT_EQ(opened.size(), 3);
    const QString site = PromoManager::getPromoSiteURL();
    EXPECT_EQ(QUrlQuery(opened[1]).queryItemValue(QStringLiteral("text"), QUrl::FullyDecoded),
              ShareTexts::congratulationsTwitterText(QStringLiteral("2\u00A0MB"),
                                                     PromoManager::getAppName(), site));
    const QUrlQuery facebook(opened[2]);
    EXPECT_EQ(facebook.queryItemValue(QStringLiteral("u"), QUrl::FullyDecoded), site);
    EXPECT_TRUE(facebook.queryItemValue(QStringLiteral("quote"), QUrl::FullyDecoded)
                    .startsWith(QStringLiteral("I've just removed 2\u00A0MB of duplicate files")));
    view->cleanUpMoreButton()->click();
    view->newScanButton()->click();
    view->newScanButtonPressed();
    EXPECT_EQ(posted, (QStringList{AppNotification::ShowCleanUpToolsNotificationName(),
                                   QStringLiteral("NoDuplicatesMore"),
                                   QStringLiteral("BackToWelcomeScreen")}));
}
