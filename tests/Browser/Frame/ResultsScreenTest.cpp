#include "../../Results/ResultFixture.h"

#include "Browser/Frame/CategoryStateManager.h"
#include "Browser/Frame/DuplicateBottombarVC.h"
#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Browser/Frame/ProgressBarMini.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/Frame/ToolbarView.h"
#include "Browser/Similars/HeapView.h"
#include "Categories/FileSize.h"
#include "Categories/Settings.h"
#include "Promo/PromoManager.h"
#include "Shell/ScreenAnimation.h"
#include "Shell/SharingService.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/Backgrounds.h"
#include "Toolkit/BlueTitleButton.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"
#include "Toolkit/WhiteTitleButton.h"

#include <QAction>
#include <QApplication>
#include <QFontMetricsF>
#include <QLabel>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>
#include <cmath>

namespace {

// Two text groups in folders A, B and C, and an empty pictures category.
struct ResultsScreenTest : ResultFixture {
    FileSystemItem *ax = nullptr, *bx = nullptr, *cx = nullptr, *az = nullptr, *bz = nullptr;
    std::unique_ptr<SelectDuplicatesVC> screen;
    QList<int> backgrounds;

    void SetUp() override {
        ResultFixture::SetUp();
        AnimationClock::instance().setMode(AnimationClock::Mode::Manual);
        auto* a = folder(root, "A");
        auto* b = folder(root, "B");
        auto* c = folder(root, "C");
        ax = file(a, "x.txt", 100);
        bx = file(b, "x.txt", 100);
        cx = file(c, "x.txt", 100);
        az = file(a, "z.txt", 70, 'z');
        bz = file(b, "z.txt", 70, 'z');
        root->calctotalsize();
        ASSERT_TRUE(container->addGroupWithItems({ax, bx, cx}));
        ASSERT_TRUE(container->addGroupWithItems({az, bz}));
        container->saveRoots({root});
        DuplicatesManager::sharedManager().setDuplicateContainer(container);
        NotificationCenter::defaultCenter().addObserver(
            static_cast<const void*>(&backgrounds),
            AppNotification::BackgroundTypeChangedNotificationName(),
            [this](const Notification& note) {
                backgrounds << note.userInfo.value(QStringLiteral("Type")).toInt();
            });
    }
    void TearDown() override {
        screen.reset();
        NotificationCenter::defaultCenter().removeObserver(static_cast<const void*>(&backgrounds));
        AnimationClock::instance().setMode(AnimationClock::Mode::Real);
        ResultFixture::TearDown();
    }
    SelectDuplicatesVC& makeScreen() {
        screen = std::make_unique<SelectDuplicatesVC>();
        screen->resize(1100, 700);
        screen->show();
        screen->pressOverviewButton();
        return *screen;
    }
    int textType() const { return copyOf(ax)->getGroup()->getCategory()->getType(); }
};

TEST_F(ResultsScreenTest, QuickSwapsLeaveTheChildrenOfTheLastState) {
    SelectDuplicatesVC& s = makeScreen();
    AnimationClock::instance().advance(1500);
    ASSERT_TRUE(s.overviewVC());
    EXPECT_EQ(s.state(), 0);
    EXPECT_TRUE(s.duplicateBottombarViewContainer()->isHidden());

    // Overview -> category -> Similars -> category, each before the last animation ended.
    s.duplicatesToolbar()->pressButtonForCategoryType(textType());
    AnimationClock::instance().advance(300);
    s.showHeapView();
    AnimationClock::instance().advance(300);
    ASSERT_TRUE(s.folderPickerVC());
    s.duplicatesToolbar()->pressButtonForCategoryType(-1);
    AnimationClock::instance().advance(2000);

    EXPECT_EQ(s.state(), 1);
    EXPECT_FALSE(s.overviewVC());
    EXPECT_TRUE(s.fileListVC() && s.quickLookVC() && s.duplicateSelectionVC());
    EXPECT_EQ(s.fileListVC()->duplicatesGroupArrayType(), -1);
    EXPECT_FALSE(s.folderPickerVC() || s.heapsPickerVC() || s.heapView() ||
                 s.heapFilesSelectorVC());
    EXPECT_TRUE(s.categorySplitView()->isVisible());
    EXPECT_FALSE(s.heapsSplitView()->isVisible());
    EXPECT_FALSE(s.snapshotView());
    EXPECT_FALSE(s.duplicateBottombarViewContainer()->isHidden());
    EXPECT_EQ(backgrounds, (QList<int>{2, 3, 4, 3}));

    // Back to the overview: a new one, and the category children go at the animation's end.
    s.duplicatesToolbar()->overviewButtonPressed(s.duplicatesToolbar()->overviewButton());
    EXPECT_TRUE(s.fileListVC());
    AnimationClock::instance().advance(1500);
    EXPECT_FALSE(s.fileListVC());
    EXPECT_TRUE(s.overviewVC());
    EXPECT_EQ(backgrounds.last(), 2);
}

TEST_F(ResultsScreenTest, PanesEndTheirFadesWithoutAnEffect) {
    SelectDuplicatesVC& s = makeScreen();
    s.duplicatesToolbar()->pressButtonForCategoryType(textType());
    AnimationClock::instance().advance(1000);
    s.duplicatesToolbar()->heapsButtonPressed(s.duplicatesToolbar()->heapsButton());
    AnimationClock::instance().advance(1000);
    EXPECT_EQ(s.heapsSplitView()->graphicsEffect(), nullptr);
    s.duplicatesToolbar()->pressButtonForCategoryType(-1);
    AnimationClock::instance().advance(1000);
    EXPECT_EQ(s.categorySplitView()->graphicsEffect(), nullptr);
    EXPECT_EQ(s.heapsSplitView()->graphicsEffect(), nullptr);
    s.duplicatesToolbar()->overviewButtonPressed(s.duplicatesToolbar()->overviewButton());
    AnimationClock::instance().advance(1500);
    ASSERT_TRUE(s.overviewVC());
    EXPECT_EQ(s.overviewVC()->graphicsEffect(), nullptr);
}

TEST_F(ResultsScreenTest, CategorySwitchCrossFadesFromASnapshot) {
    SelectDuplicatesVC& s = makeScreen();
    s.duplicatesToolbar()->pressButtonForCategoryType(-1);
    EXPECT_FALSE(s.snapshotView()); // from the overview: nothing to picture
    AnimationClock::instance().advance(1000);
    s.duplicatesToolbar()->pressButtonForCategoryType(textType());
    EXPECT_TRUE(s.snapshotView());
    AnimationClock::instance().advance(1000);
    EXPECT_FALSE(s.snapshotView());
}

TEST_F(ResultsScreenTest, SplitViewLimits) {
    using S = SelectDuplicatesVC;
    using K = S::SplitKind;
    EXPECT_EQ(S::dividerLimits(K::Category, 0, 0, 900), std::make_pair(365.0, 580.0));
    EXPECT_EQ(S::dividerLimits(K::QuickLookAndSelection, 0, 0, 600), std::make_pair(240.0, 400.0));
    EXPECT_EQ(S::dividerLimits(K::Heaps, 0, 0, 600), std::make_pair(270.0, 330.0));
    // Two lists of 200 in a small window: the divider between them stays between them.
    EXPECT_EQ(S::dividerLimits(K::Heaps, 0, 0, 407), std::make_pair(203.5, 203.5));
    EXPECT_EQ(S::dividerLimits(K::Heaps, 1, 277, 1000), std::make_pair(547.0, 600.0));
    EXPECT_EQ(S::dividerLimits(K::HeapsSelection, 0, 0, 500), std::make_pair(140.0, 469.0));

    // The right pane of the Similars view stays 400 wide; the wider left list gives way.
    EXPECT_EQ(S::heapsSplitSizes(1184, {400, 420, 500}, 7), (std::vector<int>{400, 370, 400}));
    EXPECT_EQ(S::heapsSplitSizes(1184, {420, 420, 500}, 7), (std::vector<int>{420, 350, 400}));
    EXPECT_EQ(S::heapsSplitSizes(1400, {300, 300, 500}, 7), (std::vector<int>{300, 300, 786}));
    EXPECT_EQ(S::heapsSplitSizes(1184, {280, 280, 0}, 7), (std::vector<int>{280, 280, 610}));
    // Narrower than in a window of the screen's minimum width: the right pane keeps 530 (the
    // picture's "Show" buttons need over 525) while the lists give way, in the ratio they had
    // and down to 200 each; only below that does the right pane give way too.
    EXPECT_EQ(S::heapsSplitSizes(1183, {280, 280, 0}, 7), (std::vector<int>{280, 280, 609}));
    EXPECT_EQ(S::heapsSplitSizes(1100, {300, 200, 500}, 7), (std::vector<int>{334, 222, 530}));
    EXPECT_EQ(S::heapsSplitSizes(1008, {280, 280, 0}, 7), (std::vector<int>{232, 232, 530}));
    EXPECT_EQ(S::heapsSplitSizes(944, {280, 280, 0}, 7), (std::vector<int>{200, 200, 530}));
    EXPECT_EQ(S::heapsSplitSizes(784, {280, 280, 0}, 7), (std::vector<int>{200, 200, 370}));
    for (int length : {300, 944, 1000, 1183})
        for (const std::vector<int>& old :
             {std::vector<int>{280, 280, 0}, {600, 100, 0}, {0, 0, 0}}) {
            const std::vector<int> sizes = S::heapsSplitSizes(length, old, 7);
            EXPECT_EQ(sizes[0] + sizes[1] + sizes[2] + 14, length) << length;
            EXPECT_GE(std::min({sizes[0], sizes[1], sizes[2]}), 0) << length;
        }
    // A collapsed heap view opens again to 140.
    EXPECT_EQ(S::heapsSelectionSplitSizes(500, {0, 493}, 7), (std::vector<int>{140, 353}));
    EXPECT_EQ(S::heapsSelectionSplitSizes(500, {200, 200}, 7), (std::vector<int>{293, 200}));
    EXPECT_EQ(S::quickLookSplitSizes(400, {300, 200}, 7), (std::vector<int>{240, 153}));
    EXPECT_EQ(S::categorySplitSizes(1000, {400, 500}, 7), (std::vector<int>{400, 593}));

    SelectDuplicatesVC& s = makeScreen();
    s.duplicatesToolbar()->pressButtonForCategoryType(-1);
    AnimationClock::instance().advance(1000);
    EXPECT_EQ(s.categorySplitView()->sizes().value(0), 365);
    EXPECT_EQ(s.categorySplitView()->constrainedPosition(100, 0), 365);
    EXPECT_EQ(s.categorySplitView()->constrainedPosition(700, 0), 580);
}

// A window of 960 x 540 (a 1920 x 1080 screen at scale 2): the Similars view's right pane
// keeps room for the picture's "Show" buttons (drawn only in a picture over 525 wide), in
// the opening sizes and after the window is resized there from a wider one.
TEST_F(ResultsScreenTest, TheSimilarsPictureKeepsItsShowButtonsInASmallWindow) {
    for (bool grown : {false, true}) {
        SelectDuplicatesVC& s = makeScreen();
        s.resize(grown ? 1200 : 960, grown ? 713 : 540);
        s.heapsPressed();
        AnimationClock::instance().advance(1000);
        if (grown)
            s.resize(960, 540);
        QApplication::processEvents();
        ASSERT_TRUE(s.heapView());
        EXPECT_GT(s.heapView()->width(), 525) << grown;
        const QList<int> sizes = s.heapsSplitView()->sizes();
        EXPECT_EQ(sizes, (QList<int>{200, 200, 530})) << grown;
        // A drag of the divider between the lists presses neither under its share.
        for (int proposed : {100, 300}) {
            const int at = s.heapsSplitView()->constrainedPosition(proposed, 0);
            EXPECT_GE(at, 200);
            EXPECT_LE(at, 207);
        }
    }
}

TEST_F(ResultsScreenTest, OverlayScreensOfEachState) {
    using S = SelectDuplicatesVC;
    EXPECT_EQ(S::overlayScreensForState(0, true, true), (QList<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(S::overlayScreensForState(0, true, false), (QList<int>{0, 2, 3, 4, 5}));
    EXPECT_EQ(S::overlayScreensForState(0, false, true), (QList<int>{1, 3, 4, 5}));
    EXPECT_EQ(S::overlayScreensForState(0, false, false), (QList<int>{0, 3, 4, 5}));
    EXPECT_EQ(S::overlayScreensForState(1, false, false), (QList<int>{10}));
    EXPECT_EQ(S::overlayScreensForState(2, false, false), (QList<int>{6, 7, 8, 9}));
    EXPECT_TRUE(S::overlayScreensForState(3, false, false).isEmpty());

    // Escape clears the overlay flag even with no overlay shown.
    SelectDuplicatesVC& s = makeScreen();
    DuplicatesManager::sharedManager().setOverlayOnScreen(true);
    KeyEvent escape;
    escape.keyCode = 53;
    NotificationCenter::defaultCenter().post(
        AppNotification::KeyPressedNotificationName(),
        {{QStringLiteral("Event"), QVariant::fromValue(escape)}});
    EXPECT_FALSE(DuplicatesManager::sharedManager().overlayOnScreen());
    Q_UNUSED(s);
}

// ---- Toolbar.

struct CountingDelegate : ToolbarProtocolDelegate {
    QStringList calls;
    void overviewPressed() override { calls << "overview"; }
    void allFilesPressed() override { calls << "all"; }
    void picturesPressed() override { calls << "pictures"; }
    void moviesPressed() override { calls << "movies"; }
    void musicPressed() override { calls << "music"; }
    void documentsPressed() override { calls << "documents"; }
    void archivesPressed() override { calls << "archives"; }
    void othersPressed() override { calls << "others"; }
    void foldersPressed() override { calls << "folders"; }
    void heapsPressed() override { calls << "heaps"; }
};

TEST_F(ResultsScreenTest, ANarrowToolbarKeepsEveryPillsTitleWhole) {
    // 960 points: a 1920 x 1080 screen at scale 2.
    DuplicateToolbarVC toolbar;
    toolbar.resize(960, 100);
    toolbar.show();
    QApplication::processEvents();
    const QWidget* strip = toolbar.viewWithButtons();
    int x = 0;
    for (int i = 0; i < 10; ++i) {
        WhiteTitleButton* pill = i == 0   ? toolbar.overviewButton()
                                 : i == 1 ? toolbar.allFilesButton()
                                 : i == 9 ? toolbar.heapsButton()
                                          : toolbar.categoryButton(i - 2);
        const QFontMetricsF metrics(Fonts::fontWithName(pill->fontName(), pill->pointSize()));
        EXPECT_GE(pill->width(), std::ceil(metrics.horizontalAdvance(pill->title())) + 8)
            << pill->title().toStdString();
        EXPECT_EQ(pill->x(), x) << pill->title().toStdString(); // side by side, no overlap
        x += pill->width();
    }
    EXPECT_LE(strip->mapTo(&toolbar, QPoint(x, 0)).x(), toolbar.sortByButton()->x());
}

// Switching views changes the sort button's title ("Sort by Size" in Pictures, "Sort by
// Total Size" in Similars); the pills and the sizes under them stay where they are, at the
// window's widths and on small screens, and the row stays whole and clear of the sort button.
TEST_F(ResultsScreenTest, TheToolbarRowStaysInPlaceWhenTheViewChanges) {
    Settings::setSortType(Settings::SortTypeSize);
    for (int width : {1200, 1024, 960, 800}) {
        DuplicateToolbarVC toolbar;
        toolbar.resize(width, 100);
        toolbar.show();
        QApplication::processEvents();
        const auto pills = [&toolbar] {
            QList<QRect> rects;
            for (int i = 0; i < 10; ++i) {
                WhiteTitleButton* pill = i == 0   ? toolbar.overviewButton()
                                         : i == 1 ? toolbar.allFilesButton()
                                         : i == 9 ? toolbar.heapsButton()
                                                  : toolbar.categoryButton(i - 2);
                rects << QRect(pill->mapTo(&toolbar, QPoint(0, 0)), pill->size());
            }
            return rects;
        };
        const auto checkRow = [&](const QList<QRect>& rects) {
            for (int i = 1; i < rects.size(); ++i)
                EXPECT_EQ(rects[i].left(), rects[i - 1].right() + 1) << width << " pill " << i;
            const QRect strip = toolbar.viewWithButtons()->geometry();
            EXPECT_LT(strip.right(), toolbar.sortByButton()->x()) << width;
            // The mini bars under the pills stay apart.
            for (int type = 0; type <= 7; ++type)
                EXPECT_LT(toolbar.progressBar(type - 1)->geometry().right(),
                          toolbar.progressBar(type)->geometry().left())
                    << width << " bar " << type;
        };
        toolbar.makeSelectedButton(toolbar.categoryButton(0));
        const QString picturesTitle = toolbar.sortByButton()->title();
        const QList<QRect> inPictures = pills();
        const QRect stripInPictures = toolbar.viewWithButtons()->geometry();
        checkRow(inPictures);
        toolbar.makeSelectedButton(toolbar.heapsButton());
        EXPECT_NE(toolbar.sortByButton()->title(), picturesTitle);
        EXPECT_EQ(pills(), inPictures) << width;
        EXPECT_EQ(toolbar.viewWithButtons()->geometry(), stripInPictures) << width;
        checkRow(pills());
        toolbar.makeSelectedButton(toolbar.overviewButton());
        EXPECT_EQ(pills(), inPictures) << width;
    }
}

TEST_F(ResultsScreenTest, ToolbarIgnoresTheSelectedAndEmptyButtons) {
    DuplicateToolbarVC toolbar;
    CountingDelegate delegate;
    toolbar.setDelegate(&delegate);
    toolbar.allFilesButtonPressed(toolbar.allFilesButton());
    toolbar.allFilesButtonPressed(toolbar.allFilesButton());
    toolbar.picturesButtonPressed(toolbar.categoryButton(0)); // no pictures
    toolbar.heapsButtonPressed(toolbar.heapsButton());        // no validated heaps
    EXPECT_EQ(delegate.calls, QStringList{"all"});
    EXPECT_EQ(toolbar.selectedButton(), toolbar.allFilesButton());
    EXPECT_TRUE(toolbar.categoryButton(0)->disabled());
    EXPECT_FALSE(toolbar.categoryButton(textType())->disabled());
    EXPECT_TRUE(toolbar.sortByButton()->isVisibleTo(&toolbar));
    toolbar.overviewButtonPressed(toolbar.overviewButton());
    EXPECT_FALSE(toolbar.sortByButton()->isVisibleTo(&toolbar));

    // The selected category keeps its look when it runs empty.
    toolbar.pressButtonForCategoryType(textType());
    WhiteTitleButton* text = toolbar.categoryButton(textType());
    WhiteTitleButton* other = toolbar.allFilesButton();
    const int type = textType();
    DuplicatesManager::sharedManager().setDuplicateContainer(DuplicatesContainer::create(false));
    AppNotification::CreateDuplicatesContainerDataChangedNotification();
    ASSERT_TRUE(TestSupport::waitFor([&] { return toolbar.refreshCount() > 0; }));
    EXPECT_FALSE(text->disabled());
    EXPECT_EQ(text->color(), Palette::toolbarSelectedButtonTextColor());
    EXPECT_TRUE(other->disabled());
    EXPECT_FALSE(DuplicateToolbarVC::hasCategoryAnyDuplicates(type));
}

TEST_F(ResultsScreenTest, SortTypeAndMenu) {
    Settings::setSortType(Settings::SortTypeSize);
    Settings::setSortDirection(Settings::SortDirectionDescending);
    DuplicateToolbarVC::tryToSetSortType(3);
    EXPECT_EQ(Settings::sortType(), 3);
    EXPECT_EQ(Settings::sortDirection(), 1);
    DuplicateToolbarVC::tryToSetSortType(3);
    EXPECT_EQ(Settings::sortDirection(), 0);
    DuplicateToolbarVC::tryToSetSortType(3);
    EXPECT_EQ(Settings::sortDirection(), 1);

    const struct {
        int type;
        bool similars;
        const char* title;
    } titles[] = {{0, false, "Sort by Size"},     {0, true, "Sort by Total Size"},
                  {2, false, "Sort by Type"},     {2, true, "Sort by Total Size"},
                  {3, true, "Sort by Name"},      {4, false, "Sort by Count"},
                  {5, false, "Sort by Selected"}, {6, true, "Sort by Path"}};
    for (const auto& row : titles)
        EXPECT_EQ(DuplicateToolbarVC::sortButtonTitle(row.type, row.similars),
                  QLatin1String(row.title))
            << row.type;
    EXPECT_TRUE(DuplicateToolbarVC::sortButtonTitle(9, false).isEmpty());

    DuplicateToolbarVC toolbar;
    Settings::setSortType(Settings::SortTypeType);
    toolbar.validateMenu();
    EXPECT_TRUE(toolbar.sortMenuItem("Type")->isChecked());
    EXPECT_TRUE(toolbar.sortMenuItem("Descending")->isChecked());
    EXPECT_FALSE(toolbar.sortMenuItem("Ascending")->isChecked());
    toolbar.sortMenuItem("Name")->trigger();
    EXPECT_EQ(Settings::sortType(), 3);
    EXPECT_EQ(toolbar.sortByButton()->title(), QStringLiteral("Sort by Name"));
}

TEST(ProgressBarMiniTest, PartWidths) {
    auto p = ProgressBarMini::partsForShares(0.7f, 0.4f, 0, 100);
    EXPECT_NEAR(p.green, 0.6f, 1e-6);
    EXPECT_EQ(p.blue, 40);
    EXPECT_EQ(ProgressBarMini::partsForShares(0, 0, 0.001f, 100).red, 2);
    EXPECT_EQ(ProgressBarMini::partsForShares(0, 0, 0, 100).red, 0);
    EXPECT_EQ(ProgressBarMini::partsForShares(0.004f, 0, 0, 100).greenWidth, 2);
    EXPECT_EQ(ProgressBarMini::partsForShares(0.5f, 0, 0, 100).greenWidth, 50);
    EXPECT_FALSE(ProgressBarMini::partsForShares(NAN, 0, 0, 100).draw);

    ProgressBarMini bar;
    bar.setSelectedProgressUndeletableProgressSelectedUndeletableProgressWithTotalSelectedSize(
        0, 0, 0, 0);
    EXPECT_EQ(bar.toolTip(), QStringLiteral("No duplicates selected"));
}

// ---- Bottom bar.

TEST(BottombarTest, NounTable) {
    EXPECT_EQ(DuplicateBottombarVC::nounForCount(1, 0), "file");
    EXPECT_EQ(DuplicateBottombarVC::nounForCount(2, 0), "files");
    EXPECT_EQ(DuplicateBottombarVC::nounForCount(1, 1), "folder");
    EXPECT_EQ(DuplicateBottombarVC::nounForCount(2, 2), "folders");
    EXPECT_EQ(DuplicateBottombarVC::nounForCount(3, 1), "files and folders");
}

TEST_F(ResultsScreenTest, TheBarsLieOnTheirDrawnBackgrounds) {
    SelectDuplicatesVC& s = makeScreen();
    // The bottom bar shows in the category views.
    s.duplicatesToolbar()->pressButtonForCategoryType(-1);
    AnimationClock::instance().advance(1500);
    QApplication::processEvents();
    const struct {
        QWidget* container;
        QWidget* bar;
    } bars[] = {{s.duplicateToolbarViewContainer(), s.duplicatesToolbar()},
                {s.duplicateBottombarViewContainer(), s.duplicatesBottombar()}};
    for (const auto& b : bars) {
        const QObjectList children = b.container->children();
        QWidget* background =
            b.container == s.duplicateToolbarViewContainer()
                ? static_cast<QWidget*>(b.container->findChild<ToolbarBackgroundView*>())
                : b.container->findChild<BottombarBackgroundView*>();
        ASSERT_NE(background, nullptr);
        EXPECT_EQ(background->geometry(), b.container->rect());
        // Under the bar, never over it.
        EXPECT_LT(children.indexOf(background), children.indexOf(b.bar));
    }
}

TEST_F(ResultsScreenTest, BottombarSummaryAndRemoveButton) {
    DuplicateBottombarVC bar;
    EXPECT_TRUE(bar.removeButton()->disabled());
    EXPECT_TRUE(bar.selectedFilesLabel()->isHidden());
    ASSERT_TRUE(copyOf(ax)->selectItemForced(false));
    // Selection and content changes of one turn refresh once.
    const int before = bar.refreshCount();
    AppNotification::CreateDuplicateItemSelectionChangedNotification();
    AppNotification::CreateDuplicatesContainerDataChangedNotification();
    ASSERT_TRUE(TestSupport::waitFor([&] { return bar.refreshCount() > before; }));
    TestSupport::spinFor(20);
    EXPECT_EQ(bar.refreshCount(), before + 1);
    EXPECT_FALSE(bar.removeButton()->disabled());
    EXPECT_TRUE(bar.selectedFilesLabel()->text().startsWith(QStringLiteral("1 file ")));
}

TEST_F(ResultsScreenTest, CountUpTakesSixtyStepsAndSharesTheShownSize) {
    DuplicateBottombarVC bar;
    bar.resize(1000, 45);
    bar.show();
    bar.addDeletedSize(0);
    EXPECT_FALSE(bar.countingUp());
    bar.addDeletedSize(6000);
    // The sharing view comes in from the right, fading in from nothing over 3 s, and never
    // covers "Review and Remove" on its way.
    EXPECT_TRUE(bar.sharingView()->isVisibleTo(&bar));
    EXPECT_EQ(ScreenAnimation::alphaValue(bar.sharingView()), 0.0);
    EXPECT_GT(bar.sharingView()->x(), 0);
    int ticks = 0;
    while (bar.countingUp() && ticks < 100) {
        EXPECT_LT(bar.sharingView()->geometry().right(), bar.removeButton()->x()) << ticks;
        AnimationClock::instance().advance(DuplicateBottombarVC::kTickMs);
        ++ticks;
        if (ticks == 30) {
            EXPECT_EQ(bar.deletedSizeCurrent(), 3000u);
            const qreal alpha = ScreenAnimation::alphaValue(bar.sharingView());
            EXPECT_GT(alpha, 0.2);
            EXPECT_LT(alpha, 0.5);
            SharingService::setServicesForTesting([](SharingService::Name) { return true; });
            QList<QUrl> opened;
            SharingService::setOpenerForTesting([&](const QUrl& url) { opened << url; });
            bar.updateSharingButtons();
            EXPECT_TRUE(bar.twitterButton()->isVisibleTo(&bar));
            EXPECT_TRUE(bar.facebookButton()->isVisibleTo(&bar));
            bar.emailButtonPressed();
            bar.twitterButtonPressed();
            bar.facebookButtonPressed();
            SharingService::setOpenerForTesting({});
            SharingService::setServicesForTesting(std::nullopt);
            // Every share carries the size shown now, the web shares through https pages.
            ASSERT_EQ(opened.size(), 3);
            for (const QUrl& url : opened)
                EXPECT_TRUE(url.toString(QUrl::FullyDecoded)
                                .contains(FileSize::formatMemoryStringDot1(3000)))
                    << url.toString().toStdString();
            EXPECT_EQ(opened[1].host(), QStringLiteral("twitter.com"));
            EXPECT_EQ(QUrlQuery(opened[2]).queryItemValue(QStringLiteral("u"), QUrl::FullyDecoded),
                      PromoManager::getPromoSiteURL());
        }
    }
    EXPECT_EQ(ticks, 60);
    EXPECT_EQ(bar.deletedSizeCurrent(), 6000u);
    EXPECT_TRUE(bar.youHaveCleanedLabel()->text().contains(FileSize::formatMemoryStringDot1(6000)));
    for (int done = 0; done < 1100; done += 50)
        AnimationClock::instance().advance(50);
    EXPECT_EQ(ScreenAnimation::alphaValue(bar.sharingView()), 1.0);
    EXPECT_EQ(bar.sharingView()->x(), 0);
}

// ---- Remembered rows.

TEST_F(ResultsScreenTest, RememberedRowsAreWeakAndPerType) {
    auto& state = CategoryStateManager::sharedManager();
    state.removeGategoryItems();
    auto groupA = copyOf(ax)->getGroup();
    auto groupB = copyOf(az)->getGroup();
    state.setDuplicateGroupForType(groupA, 3);
    state.setFileItemForType(groupA->getItems().at(1), 3);
    state.setDuplicateGroupForType(groupA, 3);
    EXPECT_TRUE(state.getItemsForType(3).fileItem); // same group keeps the copy
    state.setDuplicateGroupForType(groupB, 3);
    EXPECT_FALSE(state.getItemsForType(3).fileItem); // another group forgets it
    EXPECT_EQ(state.getItemsForType(3).group, groupB);
    EXPECT_FALSE(state.getItemsForType(-1).group);
    state.setFileItemForType(groupB->getItems().at(0), 3);

    // A copy that left its group is never handed back.
    auto gone = groupB->getItems().at(0);
    groupB->removeDuplicateItem(gone.get());
    EXPECT_FALSE(state.getItemsForType(3).fileItem);

    makeScreen(); // a new results screen forgets everything
    EXPECT_FALSE(state.hasItemsForType(3));
}

} // namespace
