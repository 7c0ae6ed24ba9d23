#include "Toolkit/AnimationClock.h"
#include "TestSupport.h"

#include <QVariantAnimation>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class AnimationClockTest : public ::testing::Test {
protected:
    void TearDown() override { clock().setMode(AnimationClock::Mode::Real); }
    static AnimationClock& clock() { return AnimationClock::instance(); }
};

TEST_F(AnimationClockTest, ManualTimeRunsDueStepsInDeadlineOrderOnly) {
    clock().setMode(AnimationClock::Mode::Manual);
    QObject owner;
    std::vector<int> order;
    clock().after(300, &owner, [&] { order.push_back(300); });
    clock().after(100, &owner, [&] { order.push_back(100); });
    const auto cancelled = clock().after(200, &owner, [&] { order.push_back(200); });
    clock().cancel(cancelled);

    clock().advance(99);
    EXPECT_TRUE(order.empty());
    clock().advance(1);
    EXPECT_EQ(order, std::vector<int>({100}));
    clock().advance(500);
    EXPECT_EQ(order, std::vector<int>({100, 300}));
    EXPECT_EQ(clock().now(), 600);
}

TEST_F(AnimationClockTest, RepeatingTickFiresOncePerIntervalAndStopsWithItsOwner) {
    clock().setMode(AnimationClock::Mode::Manual);
    int ticks = 0;
    auto owner = std::make_unique<QObject>();
    const auto handle = clock().every(22, owner.get(), [&] { ++ticks; });
    clock().advance(22 * 5);
    EXPECT_EQ(ticks, 5);
    owner.reset();
    clock().advance(22 * 5);
    EXPECT_EQ(ticks, 5);
    EXPECT_FALSE(clock().isPending(handle));
}

TEST_F(AnimationClockTest, AStepScheduledByAStepRunsWhenItsOwnTimeComes) {
    clock().setMode(AnimationClock::Mode::Manual);
    QObject owner;
    std::vector<qint64> times;
    clock().after(100, &owner, [&] {
        times.push_back(clock().now());
        clock().after(50, &owner, [&] { times.push_back(clock().now()); });
    });
    clock().advance(1000);
    EXPECT_EQ(times, std::vector<qint64>({100, 150}));
}

TEST_F(AnimationClockTest, InstantModeRunsDelayedStepsOnTheNextTurn) {
    clock().setMode(AnimationClock::Mode::Instant);
    QObject owner;
    bool ran = false;
    clock().after(3000, &owner, [&] { ran = true; });
    EXPECT_FALSE(ran);
    ASSERT_TRUE(TestSupport::waitFor([&] { return ran; }, 1000));
}

TEST_F(AnimationClockTest, AnimationsFollowTheClockAndFinish) {
    for (const auto mode : {AnimationClock::Mode::Manual, AnimationClock::Mode::Instant}) {
        clock().setMode(mode);
        QVariantAnimation animation;
        animation.setStartValue(0.0);
        animation.setEndValue(1.0);
        animation.setDuration(700);
        bool finished = false;
        QObject::connect(&animation, &QVariantAnimation::finished, [&] { finished = true; });
        clock().start(&animation);
        if (mode == AnimationClock::Mode::Manual) {
            clock().advance(350);
            EXPECT_NEAR(animation.currentValue().toDouble(), 0.5, 1e-9);
            EXPECT_FALSE(finished);
            clock().advance(350);
        }
        EXPECT_DOUBLE_EQ(animation.currentValue().toDouble(), 1.0);
        EXPECT_TRUE(finished);
    }
}

} // namespace
