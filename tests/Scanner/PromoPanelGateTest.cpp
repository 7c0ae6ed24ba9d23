#include "Scanner/PromoPanelGate.h"
#include "Platform/UserDefaults.h"
#include "Scanner/ZembrookDefaults.h"

#include <QDateTime>

#include <gtest/gtest.h>

namespace {

const QString kGate = QStringLiteral("ZEMBROOK_DIALOG_DATA:is_can_show_dialog");
const QString kNextShow = QStringLiteral("ZEMBROOK_DIALOG_DATA:next_show_date");
const QString kShowed = QStringLiteral("ZEMBROOK_DIALOG_DATA:showed_version");
const QString kDownloaded = QStringLiteral("PROMO_MANAGER:zembrook_version");

class PromoPanelGateTest : public ::testing::Test {
protected:
    void SetUp() override { clear(); }
    void TearDown() override {
        PromoPanelGate::setPanelOpener({});
        clear();
    }
    static void clear() {
        for (const QString& key : {kGate, kNextShow, kShowed, kDownloaded})
            UserDefaults::standardUserDefaults().removeObject(key);
    }
    UserDefaults& defaults() { return UserDefaults::standardUserDefaults(); }
};

TEST_F(PromoPanelGateTest, FirstQuestionOnlyOpensTheGateWhateverTheCount) {
    EXPECT_FALSE(ZembrookDefaults::isNeedShowZembrookDialogAutomaticallyWithVersion(0, 5000));
    EXPECT_TRUE(defaults().contains(kGate));
    EXPECT_TRUE(ZembrookDefaults::isNeedShowZembrookDialogAutomaticallyWithVersion(0, 5000));
}

TEST_F(PromoPanelGateTest, EachRuleCanRefuse) {
    defaults().setObject(kGate, true);
    EXPECT_FALSE(ZembrookDefaults::isNeedShowZembrookDialogAutomaticallyWithVersion(0, 999));
    EXPECT_TRUE(ZembrookDefaults::isNeedShowZembrookDialogAutomaticallyWithVersion(0, 1000));

    defaults().setObject(kNextShow, QDateTime::currentDateTimeUtc().addSecs(60));
    EXPECT_FALSE(ZembrookDefaults::isNeedShowZembrookDialogAutomaticallyWithVersion(0, 1000));
    defaults().setObject(kNextShow, QDateTime::currentDateTimeUtc().addSecs(-1));
    EXPECT_TRUE(ZembrookDefaults::isNeedShowZembrookDialogAutomaticallyWithVersion(0, 1000));

    defaults().setObject(kShowed, 3);
    EXPECT_FALSE(ZembrookDefaults::isNeedShowZembrookDialogAutomaticallyWithVersion(3, 1000));
    EXPECT_TRUE(ZembrookDefaults::isNeedShowZembrookDialogAutomaticallyWithVersion(4, 1000));
}

TEST_F(PromoPanelGateTest, VersionInForceIgnoresNonPositiveDownloads) {
    EXPECT_EQ(ZembrookDefaults::getZembrookVersion(), 0);
    defaults().setObject(kDownloaded, -2);
    EXPECT_EQ(ZembrookDefaults::getZembrookVersion(), 0);
    defaults().setObject(kDownloaded, 7);
    EXPECT_EQ(ZembrookDefaults::getZembrookVersion(), 7);
}

TEST_F(PromoPanelGateTest, AutomaticShowRecordsAndOpensOnceEveryFortnight) {
    int opened = 0;
    PromoPanelGate::setPanelOpener([&] { ++opened; });
    defaults().setObject(kGate, true);

    PromoPanelGate::pleaseShowWindowIfNeedAutomaticallyForDuplicatesCount(1001);
    EXPECT_EQ(opened, 1);
    const QDateTime next = defaults().objectForKey(kNextShow).toDateTime();
    const qint64 secondsAhead = QDateTime::currentDateTimeUtc().secsTo(next);
    EXPECT_GT(secondsAhead, 1209600 - 60);
    EXPECT_LE(secondsAhead, 1209600);
    EXPECT_EQ(defaults().objectForKey(kShowed).toInt(), 0);

    PromoPanelGate::pleaseShowWindowIfNeedAutomaticallyForDuplicatesCount(1001);
    EXPECT_EQ(opened, 1);
}

TEST_F(PromoPanelGateTest, WithoutAPanelNothingIsAskedOrRecorded) {
    PromoPanelGate::pleaseShowWindowIfNeedAutomaticallyForDuplicatesCount(5000);
    EXPECT_FALSE(defaults().contains(kGate));
    EXPECT_FALSE(defaults().contains(kNextShow));
}

} // namespace
