#include "Shell/ShareTexts.h"
#include "Promo/PromoManager.h"
#include "Shell/SharingService.h"
#include "Shell/Updater.h"
#include "Shell/WindowSharing.h"

#include <QAction>
#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

// Records the links the desktop would open, and makes every service answer |available|.
class SharingFixture : public ::testing::Test {
protected:
    void SetUp() override {
        SharingService::setOpenerForTesting([this](const QUrl& url) { opened.append(url); });
    }
    void TearDown() override {
        SharingService::setOpenerForTesting({});
        SharingService::setServicesForTesting(std::nullopt);
    }
    QList<QUrl> opened;
};

} // namespace

TEST(ShareTextsTest, MailtoLinksKeepEveryPartEvenWhenEmpty) {
    struct Case {
        QString address, subject, body;
        const char* link;
    } cases[] = {
        {{}, {}, {}, "mailto:?SUBJECT=&BODY="},
        {QStringLiteral("support@velquor.com"),
         QStringLiteral("Sorvanta"),
         {},
         "mailto:support@velquor.com?SUBJECT=Sorvanta&BODY="},
        {{},
         QStringLiteral("Hi there"),
         QStringLiteral("Line 1\nLine 2"),
         "mailto:?SUBJECT=Hi%20there&BODY=Line%201%0ALine%202"},
        // A site address with query characters cannot cut the body short.
        {{},
         QStringLiteral("a&b=c?"),
         QStringLiteral("see https://x.test/?a=1&b=2#top"),
         "mailto:?SUBJECT=a%26b%3Dc%3F&BODY=see%20https%3A%2F%2Fx.test%2F%3Fa%3D1%26b%3D2%23top"},
        {{}, {}, QStringLiteral("I\u2019ve"), "mailto:?SUBJECT=&BODY=I%E2%80%99ve"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShareTexts::mailtoLink(c.address, c.subject, c.body), QLatin1String(c.link));
}

TEST(ShareTextsTest, MailtoLinkDecodesBackToTheSameSubjectAndBody) {
    const QString subject = QStringLiteral("Find & keep = done?");
    const QString body = QStringLiteral("100% sure & more:\nhttps://h.test/?x=1&y=2");
    const QUrl url =
        QUrl::fromEncoded(ShareTexts::mailtoLink({}, subject, body).toLatin1(), QUrl::StrictMode);
    ASSERT_TRUE(url.isValid());
    const QUrlQuery query(url);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("SUBJECT"), QUrl::FullyDecoded), subject);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("BODY"), QUrl::FullyDecoded), body);
}

TEST(ShareTextsTest, ShareTextsQuoteNameAddressAndSize) {
    const QString app = QStringLiteral("Sorvanta");
    const QString site = QStringLiteral("https://s.test/");
    EXPECT_EQ(ShareTexts::menuTwitterText(app, site),
              QStringLiteral("Find duplicate files on Linux and free up space in a matter of "
                             "minutes with Sorvanta: https://s.test/ @velquor"));
    EXPECT_EQ(ShareTexts::menuFacebookItems(app, site),
              (QStringList{QStringLiteral("Find duplicate files on Linux and free up space in a "
                                          "matter of minutes with Sorvanta:"),
                           site}));
    EXPECT_EQ(ShareTexts::menuEmailSubject(app),
              QStringLiteral("Find Duplicates with Sorvanta on Linux"));
    EXPECT_EQ(ShareTexts::congratulationsTwitterText(QStringLiteral("2 GB"), app, site),
              QStringLiteral("I've just removed 2 GB of duplicate files on Linux with Sorvanta by "
                             "@velquor - https://s.test/"));
    EXPECT_EQ(ShareTexts::congratulationsFacebookItems(QStringLiteral("2 GB"), app, site).first(),
              QStringLiteral("I've just removed 2 GB of duplicate files on Linux with Sorvanta by "
                             "Velquor - "));
    EXPECT_EQ(ShareTexts::congratulationsEmailBody(app, site, QStringLiteral("2 GB")),
              QStringLiteral("Hello,\n\nI would like to share with you a link to Sorvanta - "
                             "https://s.test/ - an app to remove any type of duplicate files on "
                             "Linux. I\u2019ve just cleaned 2 GB of identical files."));
    // Without a product address the texts carry an empty one.
    EXPECT_TRUE(ShareTexts::menuEmailBody(app, QString())
                    .contains(QStringLiteral("Check it by the following link: \n\nCheers!")));
}

TEST(ShareTextsTest, ApplicationFactsComeFromTheBuild) {
    EXPECT_EQ(PromoManager::getAppName(), QStringLiteral("Sorvanta"));
    EXPECT_FALSE(PromoManager::getAppVersion().isEmpty());
    EXPECT_TRUE(PromoManager::getPromoSiteURL().startsWith(QStringLiteral("https://")));
    EXPECT_FALSE(PromoManager::getMakerSiteURL().endsWith(QLatin1Char('/')));
}

TEST_F(SharingFixture, MenuMailsOpenTheirLinks) {
    WindowSharing::emailButtonPressed();
    WindowSharing::contactSupportButtonPressed();
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0].scheme(), QStringLiteral("mailto"));
    EXPECT_TRUE(opened[0].path().isEmpty());
    const QUrlQuery share(opened[0]);
    EXPECT_EQ(share.queryItemValue(QStringLiteral("SUBJECT"), QUrl::FullyDecoded),
              QStringLiteral("Find Duplicates with Sorvanta on Linux"));
    EXPECT_EQ(
        share.queryItemValue(QStringLiteral("BODY"), QUrl::FullyDecoded),
        ShareTexts::menuEmailBody(PromoManager::getAppName(), PromoManager::getPromoSiteURL()));
    EXPECT_EQ(opened[1].path(), ShareTexts::supportAddress());
    EXPECT_EQ(QUrlQuery(opened[1]).queryItemValue(QStringLiteral("BODY"), QUrl::FullyDecoded),
              ShareTexts::supportEmailBody());
}

TEST_F(SharingFixture, ShareMenuHidesMissingSocialServicesButNeverTheMailItem) {
    QAction twitter, facebook, email;
    for (bool present : {false, true}) {
        SharingService::setServicesForTesting([present](SharingService::Name name) {
            return name == SharingService::Name::ComposeEmail ? false : present;
        });
        WindowSharing::setSharingMenuButtons(&twitter, &facebook, &email);
        EXPECT_EQ(twitter.isVisible(), present);
        EXPECT_EQ(facebook.isVisible(), present);
        EXPECT_TRUE(email.isVisible());
    }
    // Both social networks go through their web pages: they stand or fall together.
    SharingService::setServicesForTesting(std::nullopt);
    EXPECT_EQ(SharingService::sharingServiceNamed(SharingService::Name::PostOnTwitter),
              SharingService::sharingServiceNamed(SharingService::Name::PostOnFacebook));
}

TEST_F(SharingFixture, MenuSocialSharesOpenTheNetworksWebPagesWithTextAndProductPage) {
    WindowSharing::twitterButtonPressed();
    WindowSharing::facebookButtonPressed();
    ASSERT_EQ(opened.size(), 2);
    const QString app = PromoManager::getAppName();
    const QString site = PromoManager::getPromoSiteURL();
    EXPECT_EQ(opened[0].scheme(), QStringLiteral("https"));
    EXPECT_EQ(opened[0].host(), QStringLiteral("twitter.com"));
    EXPECT_EQ(opened[0].path(), QStringLiteral("/intent/tweet"));
    EXPECT_EQ(QUrlQuery(opened[0]).queryItemValue(QStringLiteral("text"), QUrl::FullyDecoded),
              ShareTexts::menuTwitterText(app, site));
    EXPECT_EQ(opened[1].scheme(), QStringLiteral("https"));
    EXPECT_EQ(opened[1].host(), QStringLiteral("www.facebook.com"));
    const QUrlQuery facebook(opened[1]);
    EXPECT_EQ(facebook.queryItemValue(QStringLiteral("u"), QUrl::FullyDecoded), site);
    EXPECT_EQ(facebook.queryItemValue(QStringLiteral("quote"), QUrl::FullyDecoded),
              ShareTexts::menuFacebookItems(app, site).front().trimmed());
}

TEST(ShareTextsTest, WebShareLinksKeepEveryCharacterOfTheirText) {
    // "&", "#", "=", "+", a line break and non-Latin letters all come back as they went in.
    const QString text =
        QStringLiteral("A & B #1 = 2+2\nI\u2019ve \u00e9t\u00e9 https://s.test/?a=1&b=2");
    const QUrl twitter = ShareTexts::twitterIntentLink(text);
    ASSERT_TRUE(twitter.isValid());
    EXPECT_EQ(QUrlQuery(twitter).queryItemValue(QStringLiteral("text"), QUrl::FullyDecoded), text);
    EXPECT_FALSE(twitter.hasFragment());
    const QUrl facebook =
        ShareTexts::facebookShareLink({text, QStringLiteral("https://s.test/p?x=1&y=2")});
    ASSERT_TRUE(facebook.isValid());
    const QUrlQuery query(facebook);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("u"), QUrl::FullyDecoded),
              QStringLiteral("https://s.test/p?x=1&y=2"));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("quote"), QUrl::FullyDecoded), text);
    // A page alone is shared without a quote.
    EXPECT_FALSE(QUrlQuery(ShareTexts::facebookShareLink({QStringLiteral("https://s.test/")}))
                     .hasQueryItem(QStringLiteral("quote")));
    // The bottom bar's texts use the typographic apostrophe.
    EXPECT_TRUE(ShareTexts::bottombarTwitterText("1 MB", "S", "https://s.test/")
                    .startsWith(QStringLiteral("I\u2019ve just removed 1 MB of duplicate files")));
}

TEST(UpdaterTest, TellsWhereUpdatesComeFromAndDownloadsNothing) {
    EXPECT_EQ(Updater::updatesText(QStringLiteral("Sorvanta"), QStringLiteral("1.2"),
                                   QStringLiteral("https://s.test/")),
              QStringLiteral("You are running Sorvanta 1.2. Sorvanta downloads nothing by itself: "
                             "new versions come with the package that installed it and are "
                             "announced at https://s.test/."));
    EXPECT_FALSE(Updater::updatesText(QStringLiteral("S"), QStringLiteral("1"), QString())
                     .contains(QStringLiteral("announced")));
    Updater& updater = Updater::sharedUpdater();
    EXPECT_EQ(&updater, &Updater::sharedUpdater());
    updater.checkForUpdates();
    ASSERT_TRUE(updater.messageBox());
    QMessageBox* first = updater.messageBox();
    EXPECT_TRUE(first->isVisible());
    updater.checkForUpdates();
    EXPECT_EQ(updater.messageBox(), first);
    first->close();
}
