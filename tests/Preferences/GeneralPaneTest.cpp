#include "PreferencesFixture.h"

#include "Preferences/PreferencesAutoSelectView.h"
#include "Preferences/PreferencesExcludeListView.h"
#include "Preferences/PreferencesGeneralView.h"
#include "Preferences/PreferencesMainView.h"
#include "Preferences/PreferencesWC.h"
#include "Toolkit/CommonBlackButton.h"

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>

#include <cmath>

namespace {

using General = PreferencesGeneralView;
using GeneralPaneTest = PreferencesFixture;

TEST(GeneralPaneMappingTest, SliderPositionsMapToSizesInSinglePrecision) {
    struct Case {
        float position;
        std::uint64_t bytes;
    } cases[] = {
        {0.0f, 0},           {General::kThird, 1000000}, {General::kTwoThirds, 10000000},
        {100.0f, 200000032}, // the single-precision result for 200 MB
        {-5.0f, 0},          // clamped
        {150.0f, 200000032},
    };
    for (const Case& c : cases)
        EXPECT_EQ(General::convertFromSliderValueToFileSize(c.position), c.bytes) << c.position;
}

TEST(GeneralPaneMappingTest, SizesMapBackToPositions) {
    EXPECT_FLOAT_EQ(General::convertFromFileSizeToSliderValue(0), 0.0f);
    EXPECT_FLOAT_EQ(General::convertFromFileSizeToSliderValue(1000000), General::kThird);
    EXPECT_FLOAT_EQ(General::convertFromFileSizeToSliderValue(10000000), General::kTwoThirds);
    EXPECT_FLOAT_EQ(General::convertFromFileSizeToSliderValue(500000000), 100.0f);
    // The default size lies just past the 1 MB tick and survives the round trip.
    const float position = General::convertFromFileSizeToSliderValue(1048576);
    EXPECT_NEAR(position, 33.513245f, 1e-5f);
    EXPECT_EQ(General::convertFromSliderValueToFileSize(position), 1048576u);
}

TEST_F(GeneralPaneTest, OpeningAndShowingEveryPaneWritesNothing) {
    struct Case {
        bool automatic;
        std::uint64_t size;
    } cases[] = {{true, 1048576}, {false, 1048576}, {false, 500000000}, {true, 500000000}};
    for (const Case& c : cases) {
        Settings::setDefineMinimalDuplicatesFileSizeAutomatically(c.automatic);
        Settings::setMinDuplicatesFileSize(c.size);
        Settings::setExcludeExtensions({QStringLiteral(".a"), QStringLiteral(".b")});
        Settings::setAutoNeverSelectFolders({});
        const QByteArray before = settingsFileBytes();
        ASSERT_FALSE(before.isEmpty());
        {
            PreferencesWC window;
            window.show();
            PreferencesMainView* view = window.mainView();
            view->showExcludeListView();
            view->excludeListView()->selectType(2);
            view->showAutoSelectView();
            view->autoSelectView()->selectType(1);
            view->showRemoveView();
            view->showGeneralView();
        }
        EXPECT_EQ(settingsFileBytes(), before) << c.automatic << " " << c.size;
        EXPECT_EQ(Settings::minDuplicatesFileSize(), c.size);
    }
}

TEST_F(GeneralPaneTest, MovingTheSliderSnapsToCloseTicksAndStoresTheSize) {
    Settings::setDefineMinimalDuplicatesFileSizeAutomatically(false);
    PreferencesWC window;
    PreferencesGeneralView* pane = window.mainView()->generalView();
    // The default size is shown as stored, not snapped, until the slider moves.
    EXPECT_EQ(pane->sliderDescription()->text(), QStringLiteral("1.05\u00A0MB"));
    struct Case {
        float moved;
        float shown;
        std::uint64_t stored;
        const char* text;
    } cases[] = {
        {33.5f, General::kThird, 1000000, "1\u00A0MB"},
        {0.6f, 0.0f, 0, "All files"},
        {99.2f, 100.0f, 200000032, "200\u00A0MB"},
        {50.0f, 50.0f, 5500000, "5.5\u00A0MB"},
    };
    for (const Case& c : cases) {
        pane->setSliderValue(c.moved);
        pane->onDuplicatesFileSizeSliderValueChanged();
        EXPECT_FLOAT_EQ(pane->sliderValue(), c.shown) << c.moved;
        EXPECT_EQ(Settings::minDuplicatesFileSize(), c.stored) << c.moved;
        EXPECT_EQ(pane->sliderDescription()->text(), QString::fromUtf8(c.text)) << c.moved;
    }
    // The toolkit slider's own moves reach the same path.
    pane->duplicatesMinimalSizeSlider()->setValue(pane->duplicatesMinimalSizeSlider()->maximum());
    EXPECT_EQ(Settings::minDuplicatesFileSize(), 200000032u);
}

TEST_F(GeneralPaneTest, TheAutomaticChoiceDimsTheSliderYetItsPositionStillSetsTheSize) {
    PreferencesWC window;
    PreferencesGeneralView* pane = window.mainView()->generalView();
    ASSERT_TRUE(pane->autoDefineMinimalSize()->isChecked());
    EXPECT_FALSE(pane->duplicatesMinimalSizeSlider()->isEnabled());
    auto opacity = [](QWidget* widget) {
        auto* effect = qobject_cast<QGraphicsOpacityEffect*>(widget->graphicsEffect());
        return effect ? effect->opacity() : 1.0;
    };
    EXPECT_DOUBLE_EQ(opacity(pane->duplicatesMinimalSizeSlider()), 0.5);
    EXPECT_DOUBLE_EQ(opacity(pane->sliderDescription()), 0.5);

    pane->manualDefineMinimalSize()->click();
    EXPECT_FALSE(Settings::defineMinimalDuplicatesFileSizeAutomatically());
    EXPECT_TRUE(pane->duplicatesMinimalSizeSlider()->isEnabled());
    EXPECT_DOUBLE_EQ(opacity(pane->duplicatesMinimalSizeSlider()), 1.0);
    // Choosing manual stores the choice only.
    EXPECT_FALSE(UserDefaults::standardUserDefaults().contains(
        QLatin1String(Settings::Key::minDuplicatesFileSize)));

    pane->autoDefineMinimalSize()->click();
    EXPECT_TRUE(Settings::defineMinimalDuplicatesFileSizeAutomatically());
    pane->setSliderValue(General::kTwoThirds);
    pane->onDuplicatesFileSizeSliderValueChanged();
    EXPECT_EQ(Settings::minDuplicatesFileSize(), 10000000u);
}

TEST_F(GeneralPaneTest, ChangesAfterAScanStartedMarkTheNextScanOnly) {
    PreferencesWC window;
    window.show();
    PreferencesGeneralView* pane = window.mainView()->generalView();
    DuplicatesManager& manager = DuplicatesManager::sharedManager();

    // Before any scan: stored, but no notice.
    pane->scanInHiddenFoldersButton()->click();
    EXPECT_TRUE(Settings::scanInHiddenFolders());
    EXPECT_FALSE(manager.scanSettingsChanged());
    EXPECT_FALSE(pane->labelNextScanOnly()->isVisible());

    manager.setScanStartDate(QDateTime::currentDateTimeUtc());
    pane->fullHashCalculationCheckbox()->click();
    EXPECT_TRUE(Settings::forceFullHashCalculation());
    EXPECT_TRUE(manager.scanSettingsChanged());
    EXPECT_TRUE(pane->labelNextScanOnly()->isVisible());

    // A new window shows the notice as long as the result says so.
    PreferencesWC second;
    second.show();
    EXPECT_TRUE(second.mainView()->generalView()->labelNextScanOnly()->isVisible());
    // Restore Defaults is no user change of a scan setting.
    manager.setScanSettingsChanged(false);
    second.mainView()->generalView()->onPressRestoreDefaultsButton();
    EXPECT_FALSE(manager.scanSettingsChanged());
    EXPECT_FALSE(Settings::scanInHiddenFolders());
}

} // namespace
