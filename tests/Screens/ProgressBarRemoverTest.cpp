#include "Screens/ProgressBarRemover.h"
#include "Toolkit/AnimationClock.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class ProgressBarRemoverTest : public ::testing::Test {
protected:
    void SetUp() override { AnimationClock::instance().setMode(AnimationClock::Mode::Manual); }
    void TearDown() override { AnimationClock::instance().setMode(AnimationClock::Mode::Real); }

    // Runs |ticks| ticks of the bar's timer.
    void advanceTicks(int ticks) {
        AnimationClock::instance().advance(ticks * ProgressBarRemover::kTickMs);
    }

    ProgressBarRemover bar;
};

QStringList images(const QList<ProgressBarRemover::Piece>& pieces) {
    QStringList names;
    for (const auto& piece : pieces)
        names << piece.image;
    return names;
}

} // namespace

TEST_F(ProgressBarRemoverTest, GlidesToTheTargetIn45StepsThenStops) {
    bar.setProgress(1.0f);
    EXPECT_TRUE(bar.isGliding());
    advanceTicks(1);
    EXPECT_NEAR(bar.progressValueCurrent(), 1.0f / 45, 1e-6);
    advanceTicks(21);
    EXPECT_NEAR(bar.progressValueCurrent(), 22.0f / 45, 1e-5);
    advanceTicks(25); // 47 ticks: past the 45th or 46th, where the glide ends
    EXPECT_FALSE(bar.isGliding());
    EXPECT_EQ(bar.progressValueCurrent(), 1.0f);
}

TEST_F(ProgressBarRemoverTest, ANewTargetRestartsFromTheValueShown) {
    bar.setProgress(0.5f);
    advanceTicks(9); // 0.1
    const float reached = bar.progressValueCurrent();
    EXPECT_NEAR(reached, 0.1f, 1e-5);
    bar.setProgress(0.8f);
    advanceTicks(1);
    EXPECT_NEAR(bar.progressValueCurrent(), reached + (0.8f - reached) / 45, 1e-5);
    advanceTicks(50);
    EXPECT_NEAR(bar.progressValueCurrent(), 0.8f, 1e-6);
    EXPECT_FALSE(bar.isGliding());
}

TEST_F(ProgressBarRemoverTest, ALowerTargetIsReachedOnTheFirstTick) {
    bar.setProgress(0.6f);
    advanceTicks(50);
    ASSERT_NEAR(bar.progressValueCurrent(), 0.6f, 1e-6);
    bar.setProgress(0.0f);
    advanceTicks(1);
    EXPECT_EQ(bar.progressValueCurrent(), 0.0f);
    EXPECT_FALSE(bar.isGliding());
    EXPECT_EQ(images(ProgressBarRemover::pieces(bar.progressValueCurrent(), 200, 5)).first(),
              QStringLiteral("dark_ProgressStart1"));
}

TEST_F(ProgressBarRemoverTest, TheSameTargetAgainLeavesNoTimerRunning) {
    bar.setProgress(0.3f);
    advanceTicks(50);
    ASSERT_FALSE(bar.isGliding());
    bar.setProgress(0.3f);
    EXPECT_FALSE(bar.isGliding());
    bar.setProgress(0.0f);
    advanceTicks(1);
    bar.setProgress(0.0f);
    EXPECT_FALSE(bar.isGliding());
}

TEST(ProgressBarRemoverPiecesTest, CapsAndMiddleFollowTheValue) {
    using Piece = ProgressBarRemover::Piece;
    // Empty: empty start cap, empty middle, a zero-width full middle, empty end cap.
    EXPECT_EQ(ProgressBarRemover::pieces(0.0f, 206, 8),
              (QList<Piece>{{QStringLiteral("dark_ProgressStart1"), QRectF(0, 0, 3, 5)},
                            {QStringLiteral("dark_ProgressMiddle1"), QRectF(3, 0, 200, 8)},
                            {QStringLiteral("dark_ProgressMiddle2"), QRectF(3, 0, 0, 8)},
                            {QStringLiteral("dark_ProgressEnd1"), QRectF(203, 0, 3, 8)}}));
    const auto half = ProgressBarRemover::pieces(0.5f, 206, 8);
    EXPECT_EQ(half.first().image, QStringLiteral("dark_ProgressStart2"));
    EXPECT_EQ(half.first().frame.height(), 5); // whatever the view's height
    EXPECT_EQ(half.at(2).frame.width(), 100);
    EXPECT_EQ(half.size(), 4);
    const auto full = ProgressBarRemover::pieces(0.99f, 206, 8);
    ASSERT_EQ(full.size(), 5);
    EXPECT_EQ(full.last(), (Piece{QStringLiteral("dark_ProgressEnd2"), QRectF(203, 0, 3, 8)}));
    EXPECT_TRUE(ProgressBarRemover::pieces(std::nanf(""), 206, 8).isEmpty());
}
