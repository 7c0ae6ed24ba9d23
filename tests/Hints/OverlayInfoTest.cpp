#include "Hints/OverlayInfoController.h"
#include "Hints/OverlayInfoView.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicatesManager.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/FolderEntry.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/MBCoverFlowView.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A view beneath the overlay that repaints now and then and, like the overview's bar chart,
// says "OverlayRedraw" after every paint of its own.
class RepaintingChart final : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        ++paints;
        QPainter(this).fillRect(rect(), Qt::darkGray);
        NotificationCenter::defaultCenter().post(QStringLiteral("OverlayRedraw"));
    }
};

class OverlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        AnimationClock::instance().setMode(AnimationClock::Mode::Manual);
        window = std::make_unique<QWidget>();
        window->resize(800, 500);
        window->show();
        overlay = std::make_unique<OverlayInfoController>();
        DuplicatesManager::sharedManager().setOverlayOnScreen(false);
    }
    void TearDown() override {
        overlay.reset();
        window.reset();
        for (int hint = 0; hint < 4; ++hint)
            DuplicatesManager::getFramesArrayForScreenAndHint(10, hint).clear();
        DuplicatesManager::sharedManager().setOverlayOnScreen(false);
        AnimationClock::instance().setMode(AnimationClock::Mode::Real);
    }

    void show(const QList<int>& screens) {
        overlay->setScreensArray(screens);
        overlay->showOverlayOnView(window.get());
        AnimationClock::instance().advance(2000);
        QApplication::processEvents();
    }
    void key(Qt::Key k, bool autoRepeat = false) {
        QKeyEvent event(QEvent::KeyPress, k, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(overlay->view(), &event);
    }
    void click(QPointF yUp) {
        const QPointF at(yUp.x(), overlay->view()->height() - yUp.y());
        QMouseEvent press(QEvent::MouseButtonPress, at, overlay->view()->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(overlay->view(), &press);
    }
    bool onScreen() const { return DuplicatesManager::sharedManager().overlayOnScreen(); }
    int screen() const { return overlay->view()->screenState(); }

    std::unique_ptr<QWidget> window;
    std::unique_ptr<OverlayInfoController> overlay;
};

TEST_F(OverlayTest, ShowingCoversTheWindowAndFadesIn) {
    overlay->setScreensArray({3, 4});
    overlay->showOverlayOnView(window.get());
    EXPECT_TRUE(onScreen());
    EXPECT_EQ(overlay->view()->parentWidget(), window.get());
    EXPECT_EQ(overlay->view()->geometry(), window->rect());
    EXPECT_DOUBLE_EQ(overlay->view()->alpha(), 0.0);
    AnimationClock::instance().advance(1000);
    EXPECT_GT(overlay->view()->alpha(), 0.0);
    EXPECT_LT(overlay->view()->alpha(), 1.0);
    AnimationClock::instance().advance(1000);
    EXPECT_DOUBLE_EQ(overlay->view()->alpha(), 1.0);
    window->resize(900, 600);
    EXPECT_EQ(overlay->view()->geometry(), window->rect());
}

TEST_F(OverlayTest, KeysStepThroughTheScreensAndCloseAfterTheLast) {
    int closes = 0;
    overlay->setCloseblock([&] { ++closes; });
    show({3, 4, 5});
    key(Qt::Key_Left); // stays on the first screen
    EXPECT_EQ(screen(), 3);
    key(Qt::Key_Right);
    EXPECT_EQ(screen(), 4);
    key(Qt::Key_Right, true); // held down: ignored
    key(Qt::Key_Right, true);
    EXPECT_EQ(screen(), 4);
    key(Qt::Key_Space);
    EXPECT_EQ(screen(), 5);
    key(Qt::Key_A); // nothing
    EXPECT_EQ(screen(), 5);
    EXPECT_EQ(closes, 0);
    key(Qt::Key_Return);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(onScreen());
}

TEST_F(OverlayTest, EscapeAndTheCloseButtonClose) {
    int closes = 0;
    overlay->setCloseblock([&] { ++closes; });
    show({0, 3});
    key(Qt::Key_Escape);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(onScreen());
    show({0, 3});
    EXPECT_TRUE(onScreen());
    overlay->closeBtn()->click();
    EXPECT_EQ(closes, 2);
    EXPECT_FALSE(onScreen());
}

TEST_F(OverlayTest, WithoutCloseBlockClosingOnlyHides) {
    show({10});
    // Screen 10 alone has no dots; any click closes it.
    EXPECT_TRUE(overlay->view()->dotsPathArray().isEmpty());
    click(QPointF(400, 250));
    EXPECT_FALSE(overlay->view()->isVisible());
    EXPECT_FALSE(onScreen());
    overlay->showOverlayOnView(window.get());
    EXPECT_TRUE(overlay->view()->isVisible());
    EXPECT_DOUBLE_EQ(overlay->view()->alpha(), 0.0);
}

TEST_F(OverlayTest, DotsJumpToTheirScreen) {
    show({6, 7, 8, 9});
    const auto dots = overlay->view()->dotsPathArray();
    ASSERT_EQ(dots.size(), 4);
    // Bar 92 wide centred in 800: x 354; third dot at 354 + 10 + 40.
    EXPECT_EQ(dots[2].boundingRect(), QRectF(404, 10, 12, 12));
    click(dots[2].boundingRect().center());
    EXPECT_EQ(screen(), 8);
    key(Qt::Key_Right);
    EXPECT_EQ(screen(), 9);
    // A click beside the dots on the last screen closes.
    click(QPointF(100, 300));
    EXPECT_FALSE(onScreen());
}

TEST_F(OverlayTest, HolesAreCutAroundTheFramesOnly) {
    auto& frames = DuplicatesManager::getFramesArrayForScreenAndHint(10, 2);
    frames = {QRectF(100, 100, 200, 150)}; // y-up
    show({10});
    const QImage sheet = overlay->view()->grab().toImage();
    const qreal ratio = sheet.devicePixelRatio();
    auto alphaAt = [&](double x, double yUp) {
        return sheet.pixelColor(QPoint(int(x * ratio), int((500 - yUp) * ratio))).alpha();
    };
    // The hole's middle shows through; the dimmed sheet elsewhere does not.
    EXPECT_LT(alphaAt(200, 175), alphaAt(500, 400));
    EXPECT_EQ(
        overlay->view()->grab().toImage().pixelColor(QPoint(int(795 * ratio), int(5 * ratio))),
        QColor(Qt::white)); // the corner disc
}

TEST_F(OverlayTest, RepaintingViewBeneathCausesNoEndlessRedraws) {
    auto* chart = new RepaintingChart;
    chart->setParent(window.get());
    chart->setGeometry(50, 50, 300, 200);
    chart->show();
    auto& frames = DuplicatesManager::getFramesArrayForScreenAndHint(10, 0);
    frames = {QRectF(60, 300, 280, 50)};
    show({10});
    QApplication::processEvents();
    const int renders = overlay->view()->renderCount();
    TestSupport::spinFor(300);
    chart->update();
    TestSupport::spinFor(300);
    // The chart said "OverlayRedraw" after each paint, yet nothing changed: no new render,
    // and the sheet's paints stay few.
    EXPECT_GE(chart->paints, 2);
    EXPECT_GE(overlay->view()->paintCount(), 1);
    EXPECT_EQ(overlay->view()->renderCount(), renders);
    EXPECT_LT(overlay->view()->paintCount(), 10);
    // A real move of the explained control redraws once.
    frames = {QRectF(60, 320, 280, 50)};
    NotificationCenter::defaultCenter().post(QStringLiteral("OverlayRedraw"));
    TestSupport::spinFor(100);
    EXPECT_EQ(overlay->view()->renderCount(), renders + 1);
}

TEST_F(OverlayTest, EveryPictureOfTheOverlayAndTheCoverFlowResolves) {
    ImageStore::resetRequestedNames();
    show({0, 1, 2, 3, 4, 5});
    for (int step = 0; step < 6; ++step) {
        (void)overlay->view()->grab();
        key(Qt::Key_Right);
    }
    for (const QList<int>& screens : {QList<int>{6, 7, 8, 9}, QList<int>{10}}) {
        overlay->setScreensArray(screens);
        for (int step = 0; step < screens.size(); ++step) {
            (void)overlay->view()->grab();
            overlay->view()->showNextScreen(1);
        }
    }
    MBCoverFlowView flow;
    flow.resize(464, 246);
    flow.setContent({});
    flow.show();
    (void)flow.grab();
    flow.setContent({FolderEntry::make(QImage(), QStringLiteral("A"), QStringLiteral("/a")),
                     FolderEntry::make(QImage(), QStringLiteral("B"), QStringLiteral("/b"))});
    flow.setShowsScrollbar(true);
    (void)flow.grab();

    const QStringList requested = ImageStore::requestedNames();
    for (const char* expected :
         {"btn_dot_blue", "btn_dot_gray", "btn_closehint", "overview1_1", "overview5_2",
          "heaps_2_1", "heaps_2_2", "heaps_2_3", "heaps_4_5", "Pictures_4", "quicklook_template",
          "dark_drop_arrow", "dark_drop_board", "dark_drop_arrow_shadow", "dark_scrolling0_mid",
          "dark_scrolling1_end"})
        EXPECT_TRUE(requested.contains(QString::fromLatin1(expected))) << expected;
    for (const QString& name : requested)
        EXPECT_TRUE(ImageStore::contains(name)) << name.toStdString() << " does not resolve";
}

} // namespace
