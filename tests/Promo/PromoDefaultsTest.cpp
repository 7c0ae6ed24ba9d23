#include "Platform/UserDefaults.h"
#include "Promo/PromoManagerDefaults.h"
#include "Promo/PromoSettings.h"
#include "Promo/RateDialogDefaults.h"
#include "Scanner/PromoClock.h"
#include "Scanner/ZembrookDefaults.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

namespace {

const QStringList kAllKeys{
    "PROMO_MANAGER:is_can_load_notifications_server_data",
    "PROMO_MANAGER:notifications_next_update_date",
    "PROMO_MANAGER:zembrook_next_update_date",
    "PROMO_MANAGER:showed_notification_id",
    "PROMO_MANAGER:zembrook_version",
    "PROMO_MANAGER:zembrook_folder",
    "PROMO_MANAGER:zembrook_window_width",
    "PROMO_MANAGER:zembrook_window_height",
    "ZEMBROOK_DIALOG_DATA:is_can_show_dialog",
    "ZEMBROOK_DIALOG_DATA:next_show_date",
    "ZEMBROOK_DIALOG_DATA:showed_version",
    "RATE_DIALOG_DATA:current_app_version",
    "RATE_DIALOG_DATA:next_show_date",
    "RATE_DIALOG_DATA:is_user_select_star",
    "RATE_DIALOG_DATA:count_of_auto_show",
};

UserDefaults& defaults() {
    return UserDefaults::standardUserDefaults();
}

class PromoDefaultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const QString& key : kAllKeys)
            defaults().removeObject(key);
        m_now = QDateTime(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);
        PromoClock::setNowForTesting([this] { return m_now; });
        QDir(PromoSettings::applicationSupportFolder()).removeRecursively();
    }
    void TearDown() override {
        PromoClock::setNowForTesting({});
        for (const QString& key : kAllKeys)
            defaults().removeObject(key);
    }
    QDateTime m_now;
};

} // namespace

TEST_F(PromoDefaultsTest, EveryOperationWritesItsOwnKeyToTheSettingsFile) {
    EXPECT_FALSE(PromoManagerDefaults::isCanLoadServerDataAboutNotifications());
    PromoManagerDefaults::notifyPromoManagerDataThatNotificationsWasUpdated();
    PromoManagerDefaults::notifyPromoManagerDataThatZembrookWasUpdated();
    PromoManagerDefaults::notifyPromoManagerDataThatShowedNotificationWithID(4);
    const QString folder = PromoSettings::applicationSupportFolder() + "/Zembrook_v2";
    PromoManagerDefaults::notifyPromoManagerDataToSaveZembrookFolder(folder, 2, 800, 600);
    EXPECT_FALSE(ZembrookDefaults::isCanShowZembrookDialogAutomatically());
    ZembrookDefaults::notifyZembrookDialogDataThatShowedAutomaticallyVersion(2);
    RateDialogDefaults::notifyRateDialogDataThatAppStarted(QStringLiteral("1.10.2"));

    // Read back from the file itself: the keys exist under their exact names, already saved.
    QSettings file(defaults().fileName(), QSettings::IniFormat);
    for (const QString& key : kAllKeys)
        EXPECT_TRUE(file.contains(key)) << key.toStdString();
    EXPECT_EQ(file.value("PROMO_MANAGER:notifications_next_update_date").toDateTime(),
              m_now.addSecs(604800));
    EXPECT_EQ(file.value("ZEMBROOK_DIALOG_DATA:next_show_date").toDateTime(),
              m_now.addSecs(1209600));
    EXPECT_EQ(file.value("RATE_DIALOG_DATA:current_app_version").toString(), "1.10");
    EXPECT_EQ(file.value("PROMO_MANAGER:zembrook_window_width").toDouble(), 800.0);
}

TEST_F(PromoDefaultsTest, NotificationGateAndScheduleFollowTheClock) {
    EXPECT_FALSE(PromoManagerDefaults::isCanLoadServerDataAboutNotifications());
    EXPECT_TRUE(PromoManagerDefaults::isCanLoadServerDataAboutNotifications());
    EXPECT_EQ(PromoManagerDefaults::getNotificationsNextUpdateDate(),
              QDateTime::fromSecsSinceEpoch(0, Qt::UTC));
    EXPECT_TRUE(PromoManagerDefaults::isNeedLoadFromServerDataAboutNotifications());
    PromoManagerDefaults::notifyPromoManagerDataThatNotificationsWasUpdated();
    EXPECT_FALSE(PromoManagerDefaults::isNeedLoadFromServerDataAboutNotifications());
    m_now = m_now.addSecs(604799);
    EXPECT_FALSE(PromoManagerDefaults::isNeedLoadFromServerDataAboutNotifications());
    m_now = m_now.addSecs(1); // equal to now is due
    EXPECT_TRUE(PromoManagerDefaults::isNeedLoadFromServerDataAboutNotifications());
    // The panel descriptor has its own date and no first-launch gate.
    EXPECT_TRUE(PromoManagerDefaults::isNeedLoadFromServerDataAboutZembrook());
    PromoManagerDefaults::notifyPromoManagerDataThatZembrookWasUpdated();
    EXPECT_FALSE(PromoManagerDefaults::isNeedLoadFromServerDataAboutZembrook());
    // A stored value that is not a date does not stop the feed for ever.
    defaults().setObject("PROMO_MANAGER:zembrook_next_update_date", QStringLiteral("soon"));
    EXPECT_TRUE(PromoManagerDefaults::isNeedLoadFromServerDataAboutZembrook());
}

TEST_F(PromoDefaultsTest, ShownNotificationNumbers) {
    EXPECT_EQ(PromoManagerDefaults::getShowedNotificationID(), 0);
    EXPECT_FALSE(PromoManagerDefaults::isNeedShowNotificationWithID(0));
    EXPECT_TRUE(PromoManagerDefaults::isNeedShowNotificationWithID(1));
    PromoManagerDefaults::notifyPromoManagerDataThatShowedNotificationWithID(7);
    EXPECT_FALSE(PromoManagerDefaults::isNeedShowNotificationWithID(7));
    EXPECT_TRUE(PromoManagerDefaults::isNeedShowNotificationWithID(8));
}

TEST_F(PromoDefaultsTest, PanelInForceAndItsSize) {
    // Nothing stored: the embedded panel at 1120 x 502, whatever size keys exist.
    defaults().setObject("PROMO_MANAGER:zembrook_window_width", 10.0);
    EXPECT_EQ(PromoManagerDefaults::getZembrookVersion(), 0);
    EXPECT_FALSE(PromoManagerDefaults::getZembrookFolderPath().has_value());
    EXPECT_EQ(PromoManagerDefaults::getZembrookWindowWidth(), 1120);
    EXPECT_EQ(PromoManagerDefaults::getZembrookWindowHeight(), 502);
    // A stored version of 0 or less is no download.
    defaults().setObject("PROMO_MANAGER:zembrook_version", -3);
    defaults().setObject("PROMO_MANAGER:zembrook_folder", QStringLiteral("/somewhere"));
    EXPECT_TRUE(PromoManagerDefaults::isNeedShowEmbeddedZembrook());
    EXPECT_FALSE(PromoManagerDefaults::getZembrookFolderPath().has_value());

    const QString support = PromoSettings::applicationSupportFolder();
    const QString v2 = support + "/Zembrook_v2";
    ASSERT_TRUE(QDir().mkpath(v2));
    PromoManagerDefaults::notifyPromoManagerDataToSaveZembrookFolder(v2, 2, 800, 0);
    EXPECT_EQ(PromoManagerDefaults::getZembrookVersion(), 2);
    EXPECT_EQ(PromoManagerDefaults::getZembrookFolderPath(), v2);
    EXPECT_EQ(PromoManagerDefaults::getZembrookWindowWidth(), 800);
    EXPECT_EQ(PromoManagerDefaults::getZembrookWindowHeight(), 0);
    defaults().setObject("PROMO_MANAGER:zembrook_window_width", 640.7);
    EXPECT_EQ(PromoManagerDefaults::getZembrookWindowWidth(), 640);

    // Not newer: nothing changes and nothing is removed.
    PromoManagerDefaults::notifyPromoManagerDataToSaveZembrookFolder(support + "/Zembrook_v1", 1, 1,
                                                                     1);
    EXPECT_EQ(PromoManagerDefaults::getZembrookFolderPath(), v2);
    EXPECT_TRUE(QDir(v2).exists());

    // Newer: recorded, and the previous panel's folder goes.
    const QString v3 = support + "/Zembrook_v3_1";
    ASSERT_TRUE(QDir().mkpath(v3));
    PromoManagerDefaults::notifyPromoManagerDataToSaveZembrookFolder(v3, 3, 900, 400);
    EXPECT_EQ(PromoManagerDefaults::getZembrookFolderPath(), v3);
    EXPECT_FALSE(QDir(v2).exists());
    EXPECT_TRUE(QDir(v3).exists());
}

TEST_F(PromoDefaultsTest, OnlyPanelFoldersOfTheSupportFolderAreEverRemoved) {
    const QString support = PromoSettings::applicationSupportFolder();
    const QString precious = QDir::tempPath() + "/sorvanta-promo-precious";
    ASSERT_TRUE(QDir().mkpath(precious));
    ASSERT_TRUE(QDir().mkpath(support + "/Other"));
    ASSERT_TRUE(QDir().mkpath(support + "/Zembrook_v4/inner"));
    defaults().setObject("PROMO_MANAGER:zembrook_version", 4);
    // A recorded previous folder that names something else is left alone.
    for (const QString& path :
         {precious, support + "/Other", support, support + "/Other/../Other"}) {
        defaults().setObject("PROMO_MANAGER:zembrook_version", 4);
        defaults().setObject("PROMO_MANAGER:zembrook_folder", path);
        PromoManagerDefaults::notifyPromoManagerDataToSaveZembrookFolder(support + "/Zembrook_v5",
                                                                         5, 1, 1);
        EXPECT_TRUE(QDir(path).exists()) << path.toStdString();
    }
    EXPECT_TRUE(QDir(precious).exists());
    // A link named like a panel folder goes as a link; what it points at stays.
    ASSERT_TRUE(QFile::link(precious, support + "/Zembrook_v6"));
    defaults().setObject("PROMO_MANAGER:zembrook_version", 6);
    defaults().setObject("PROMO_MANAGER:zembrook_folder", support + "/Zembrook_v6");
    PromoManagerDefaults::notifyPromoManagerDataToSaveZembrookFolder(support + "/Zembrook_v7", 7, 1,
                                                                     1);
    EXPECT_FALSE(QFileInfo(support + "/Zembrook_v6").isSymLink());
    EXPECT_TRUE(QDir(precious).exists());
    QDir(precious).removeRecursively();
}

TEST_F(PromoDefaultsTest, RateRecordKeepsTwoVersionNumbers) {
    const struct {
        const char* version;
        const char* expected;
    } cases[] = {{"2.3.1", "2.3"}, {"1.10.2", "1.10"}, {"5", "5"}, {"", ""}, {"1.2", "1.2"}};
    for (const auto& c : cases)
        EXPECT_EQ(RateDialogDefaults::buildAppVersionWith2Numbers(c.version), c.expected);

    RateDialogDefaults::notifyRateDialogDataThatAppStarted(QStringLiteral("1.10.2"));
    defaults().setObject("RATE_DIALOG_DATA:count_of_auto_show", 3);
    defaults().setObject("RATE_DIALOG_DATA:is_user_select_star", true);
    RateDialogDefaults::notifyRateDialogDataThatAppStarted(QStringLiteral("1.10.3"));
    EXPECT_EQ(defaults().objectForKey("RATE_DIALOG_DATA:count_of_auto_show").toInt(), 3);
    RateDialogDefaults::notifyRateDialogDataThatAppStarted(QStringLiteral("1.11"));
    EXPECT_EQ(defaults().objectForKey("RATE_DIALOG_DATA:count_of_auto_show").toInt(), 0);
    EXPECT_FALSE(defaults().objectForKey("RATE_DIALOG_DATA:is_user_select_star").toBool());
    EXPECT_EQ(defaults().objectForKey("RATE_DIALOG_DATA:current_app_version").toString(), "1.11");
}

TEST_F(PromoDefaultsTest, AutomaticPanelGate) {
    EXPECT_FALSE(ZembrookDefaults::isNeedShowZembrookDialogAutomaticallyWithVersion(0, 1000000));
    EXPECT_FALSE(ZembrookDefaults::isNeedShowZembrookDialogAutomaticallyWithVersion(0, 999));
    EXPECT_TRUE(ZembrookDefaults::isNeedShowZembrookDialogAutomaticallyWithVersion(0, 1000));
    ZembrookDefaults::notifyZembrookDialogDataThatShowedAutomaticallyVersion(0);
    EXPECT_FALSE(ZembrookDefaults::isNeedShowZembrookDialogAutomaticallyWithVersion(1, 1000));
    m_now = m_now.addSecs(1209600);
    EXPECT_FALSE(ZembrookDefaults::isNeedShowZembrookDialogAutomaticallyWithVersion(0, 1000));
    EXPECT_TRUE(ZembrookDefaults::isNeedShowZembrookDialogAutomaticallyWithVersion(1, 1000));
}
