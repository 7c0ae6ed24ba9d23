#include "PreferencesFixture.h"

#include "../Results/ResultFixture.h"

#include "Categories/AppNotification.h"
#include "Preferences/PreferencesAutoSelectView.h"
#include "Preferences/PreferencesExcludeListView.h"
#include "Preferences/PreferencesGeneralView.h"
#include "Preferences/PreferencesMainView.h"
#include "Preferences/PreferencesRemoveView.h"
#include "Preferences/PreferencesWC.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/CommonBlackButton.h"
#include "Toolkit/WhiteTitleButton.h"

#include "Preferences/PrefsListModel.h"
#include "Toolkit/ImageStore.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QPointer>

namespace {

using Main = PreferencesMainView;

TEST(PreferencesGeometryTest, FrameAndSheetsFollowTheTopBand) {
    const QSizeF size(620, 446);
    EXPECT_EQ(Main::topBandRect(size), QRectF(0, 366, 620, 80));
    EXPECT_EQ(Main::topBandEdgeRect(size), QRectF(0, 366, 620, 1));
    EXPECT_EQ(Main::paneFrame(size), QRectF(0, 0, 620, 363));
    EXPECT_EQ(Main::highlightFrame(QRectF(118, 366, 96, 80), 64), QRectF(118, 366, 96, 64));
    EXPECT_EQ(PreferencesWC::windowWillPositionSheet(QRectF(10, 446, 300, 120)),
              QRectF(10, 366, 300, 120));
    // Flipped for Qt: the band on top, the pane under it with a 3-point gap.
    EXPECT_EQ(Main::flipped(Main::topBandRect(size), 446), QRectF(0, 0, 620, 80));
    EXPECT_EQ(Main::flipped(Main::paneFrame(size), 446), QRectF(0, 83, 620, 363));
}

struct PreferencesWindowTest : PreferencesFixture {};

TEST(PrefsListModelTest, PassesTheModelChecks) {
    PrefsListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setRows({QStringLiteral("Folders"), QStringLiteral("Files")},
                  {QStringLiteral("dark_icon_Folders"), QStringLiteral("dark_icon_Files")});
    EXPECT_EQ(model.data(model.index(1), PrefsListModel::ImageNameRole).toString(),
              QStringLiteral("dark_icon_Files"));
    model.setRows({QString()});
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_FALSE(model.data(model.index(0), PrefsListModel::ImageNameRole).isValid() &&
                 !model.data(model.index(0), PrefsListModel::ImageNameRole).toString().isEmpty());
}

TEST_F(PreferencesWindowTest, EveryPictureItDrawsResolves) {
    ImageStore::resetRequestedNames();
    PreferencesWC window;
    window.show();
    window.mainView()->showExcludeListView();
    (void)window.grab();
    const QStringList requested = ImageStore::requestedNames();
    for (const char* expected : {"dark_prefs_tab_select", "dark_icon_Folders", "dark_icon_Files",
                                 "dark_icon_Extensions", "btn_red"})
        EXPECT_TRUE(requested.contains(QLatin1String(expected))) << expected;
    for (const QString& name : requested)
        EXPECT_TRUE(ImageStore::contains(name)) << name.toStdString();
}

TEST_F(PreferencesWindowTest, OpensOnGeneralAndTabsSwitchAndReloadTheirPane) {
    PreferencesWC window;
    window.show();
    Main* view = window.mainView();
    EXPECT_EQ(view->currentView(), view->generalView());
    EXPECT_EQ(view->generalView()->geometry(), QRect(0, 83, 620, 363));
    EXPECT_EQ(view->selectedButtonBg()->x(), view->generalButton()->x());
    EXPECT_EQ(window.closeButton()->mainImage(), QStringLiteral("btn_red"));
    EXPECT_EQ(window.closeButton()->hoveredImage(), QStringLiteral("btn_red_select"));

    view->skipListButton()->click();
    EXPECT_EQ(view->currentView(), view->excludeListView());
    EXPECT_FALSE(view->generalView()->isVisible());
    EXPECT_EQ(view->selectedButtonBg()->x(), view->skipListButton()->x());

    // The tab of the pane already shown reloads it all the same.
    Settings::setExcludeFolders({QStringLiteral("/elsewhere")});
    view->skipListButton()->click();
    EXPECT_EQ(view->currentView(), view->excludeListView());
    EXPECT_EQ(view->excludeListView()->shownList(),
              (QStringList{QStringLiteral("/elsewhere"), QString()}));
}

TEST_F(PreferencesWindowTest, EntryPointsJumpToTheirListPane) {
    PreferencesWC window;
    window.show();
    window.addFolderToSkipList(true, QStringLiteral("/skip/me"));
    EXPECT_EQ(window.mainView()->currentView(), window.mainView()->excludeListView());
    EXPECT_EQ(window.mainView()->selectedButtonBg()->x(), window.mainView()->skipListButton()->x());
    EXPECT_EQ(Settings::excludeFolders().last(), QStringLiteral("/skip/me"));

    window.addFolderToAlwaysSelectList(true, QStringLiteral("/always/me"));
    EXPECT_EQ(window.mainView()->currentView(), window.mainView()->autoSelectView());
    EXPECT_EQ(Settings::autoAlwaysSelectFolders().last(), QStringLiteral("/always/me"));
}

TEST_F(PreferencesWindowTest, TheSheetComesUpModalAndItsCloseButtonEndsIt) {
    QPointer<PreferencesWC> sheet = PreferencesWC::beginSheet();
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->windowModality(), Qt::ApplicationModal);
    EXPECT_TRUE(sheet->windowFlags().testFlag(Qt::FramelessWindowHint));
    sheet->closeButton()->click();
    EXPECT_TRUE(TestSupport::waitFor([&] { return !sheet; }));
}

// Two text groups in folders A, B and C.
struct RemovePaneTest : ResultFixture {
    FileSystemItem *ax = nullptr, *bx = nullptr, *cx = nullptr;
    FileSystemItem *ay = nullptr, *by = nullptr, *cy = nullptr;
    QStringList posted;

    void SetUp() override {
        ResultFixture::SetUp();
        for (const char* key :
             {Settings::Key::moveCleanedDuplicatesToTheTrashCan,
              Settings::Key::allowRemovingAllDuplicateCopies, Settings::Key::removeEmptyFolders})
            UserDefaults::standardUserDefaults().removeObject(QLatin1String(key));
        auto* a = folder(root, "A");
        auto* b = folder(root, "B");
        auto* c = folder(root, "C");
        ax = file(a, "x.txt", 100);
        bx = file(b, "x.txt", 100);
        cx = file(c, "x.txt", 100);
        ay = file(a, "y.txt", 70, 'y');
        by = file(b, "y.txt", 70, 'y');
        cy = file(c, "y.txt", 70, 'y');
        root->calctotalsize();
        ASSERT_TRUE(container->addGroupWithItems({ax, bx, cx}));
        ASSERT_TRUE(container->addGroupWithItems({ay, by, cy}));
        container->saveRoots({root});
        DuplicatesManager::sharedManager().setDuplicateContainer(container);
        for (const QString& name :
             {AppNotification::DuplicateItemSelectionChangedNotificationName(),
              AppNotification::RemoveToTrashSettingChangedNotificationName()})
            NotificationCenter::defaultCenter().addObserver(
                &posted, name, [this](const Notification& note) { posted << note.name; });
    }
    void TearDown() override {
        NotificationCenter::defaultCenter().removeObserver(&posted);
        Settings::setAllowRemovingAllDuplicateCopies(false);
        ResultFixture::TearDown();
    }
};

TEST_F(RemovePaneTest, ShowingThePanePostsBothNotificationsAndStoresNothing) {
    PreferencesWC window;
    window.show();
    TestSupport::spinFor(10);
    posted.clear();
    window.mainView()->showRemoveView();
    EXPECT_EQ(posted,
              (QStringList{AppNotification::DuplicateItemSelectionChangedNotificationName(),
                           AppNotification::RemoveToTrashSettingChangedNotificationName()}));
    EXPECT_FALSE(UserDefaults::standardUserDefaults().contains(
        QLatin1String(Settings::Key::moveCleanedDuplicatesToTheTrashCan)));

    PreferencesRemoveView* pane = window.mainView()->removeView();
    EXPECT_EQ(pane->removeDuplicatesPermanentlyButton()->state(), 0);
    posted.clear();
    pane->removeDuplicatesPermanentlyButton()->click();
    EXPECT_FALSE(Settings::moveCleanedDuplicatesToTheTrashCan());
    EXPECT_EQ(posted, QStringList{AppNotification::RemoveToTrashSettingChangedNotificationName()});
    pane->removeEmptyFoldersButton()->click();
    EXPECT_TRUE(Settings::removeEmptyFolders());
}

TEST_F(RemovePaneTest, TurningTheAllowanceOffDeselectsFullySelectedGroupsInOneBatch) {
    Settings::setAllowRemovingAllDuplicateCopies(true);
    for (FileSystemItem* node : {ax, bx, cx, ay, by})
        ASSERT_TRUE(copyOf(node)->selectItemForced(true));
    PreferencesWC window;
    window.show();
    window.mainView()->showRemoveView();
    PreferencesRemoveView* pane = window.mainView()->removeView();
    ASSERT_EQ(pane->allowRemoveAllCopiesButton()->state(), 1);
    TestSupport::spinFor(10);
    const int postsBefore = selectionPosts;

    pane->allowRemoveAllCopiesButton()->click();
    TestSupport::spinFor(10);
    EXPECT_FALSE(Settings::allowRemovingAllDuplicateCopies());
    for (FileSystemItem* node : {ax, bx, cx})
        EXPECT_FALSE(copyOf(node)->isSelected());
    EXPECT_TRUE(copyOf(ay)->isSelected());
    EXPECT_TRUE(copyOf(by)->isSelected());
    EXPECT_FALSE(copyOf(cy)->isSelected());
    // One post for the setting, one for the whole deselection.
    EXPECT_EQ(selectionPosts - postsBefore, 2);
}

TEST_F(RemovePaneTest, WithoutAResultTurningTheAllowanceOffStillStoresAndPosts) {
    DuplicatesManager::sharedManager().setDuplicateContainer(nullptr);
    Settings::setAllowRemovingAllDuplicateCopies(true);
    PreferencesWC window;
    window.mainView()->showRemoveView();
    posted.clear();
    window.mainView()->removeView()->allowRemoveAllCopiesButton()->click();
    EXPECT_FALSE(Settings::allowRemovingAllDuplicateCopies());
    EXPECT_EQ(posted,
              QStringList{AppNotification::DuplicateItemSelectionChangedNotificationName()});
}

} // namespace
