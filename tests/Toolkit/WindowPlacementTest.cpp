// The arithmetic that keeps windows on their screen.
#include "Toolkit/WindowPlacement.h"

#include <gtest/gtest.h>

TEST(WindowPlacementTest, SizesAndFramesAreFittedIntoTheFreeArea) {
    const QRect area(0, 27, 960, 513); // a panel across the top of 960 x 540
    struct Case {
        QRect frame;
        QRect fitted;
    };
    const Case cases[] = {
        {{100, 100, 400, 300}, {100, 100, 400, 300}}, // inside: left alone
        {{-240, -232, 1200, 713}, {0, 27, 960, 513}}, // too large: the whole area
        {{700, 400, 400, 300}, {560, 240, 400, 300}}, // off the bottom right: moved in
        {{-50, 0, 400, 300}, {0, 27, 400, 300}},      // off the top left, under the panel
        {{100, 100, 1000, 200}, {0, 100, 960, 200}},  // too wide only
    };
    for (const Case& c : cases)
        EXPECT_EQ(WindowPlacement::fitFrame(c.frame, area), c.fitted)
            << c.frame.x() << "," << c.frame.y() << " " << c.frame.width() << "x"
            << c.frame.height();
    EXPECT_EQ(WindowPlacement::fitSize({1200, 713}, area), QSize(960, 513));
    EXPECT_EQ(WindowPlacement::fitSize({740, 550}, area), QSize(740, 513));
    // No screen at all: nothing to fit into, nothing changes.
    EXPECT_EQ(WindowPlacement::fitSize({1200, 713}, QRect()), QSize(1200, 713));
    EXPECT_EQ(WindowPlacement::fitFrame({-5, -5, 10, 10}, QRect()), QRect(-5, -5, 10, 10));
}

TEST(WindowPlacementTest, ASecondaryWindowIsCentredOnItsOwnerAndKeptOnScreen) {
    const QRect area(0, 0, 1600, 1000);
    // Centred on the owner.
    EXPECT_EQ(WindowPlacement::centredFrame({620, 446}, {200, 100, 1200, 713}, area),
              QRect(490, 233, 620, 446));
    // An owner near the edge: as close to its centre as the screen allows.
    EXPECT_EQ(WindowPlacement::centredFrame({620, 446}, {1300, 800, 300, 200}, area),
              QRect(980, 554, 620, 446));
    // Larger than the screen: the screen.
    EXPECT_EQ(WindowPlacement::centredFrame({2000, 1200}, {0, 0, 800, 600}, area), area);
}

TEST(WindowPlacementTest, AScrolledWindowLeavesRoomForTheScrollersItNeeds) {
    const QSize content(620, 446);
    const int scroller = 11;
    struct Case {
        QSize available;
        QSize window;
    };
    const Case cases[] = {
        {{1600, 1000}, {620, 446}}, // fits: the whole content, no scroller
        {{620, 446}, {620, 446}},   // fits exactly
        {{1024, 400}, {631, 400}},  // too low: a scroller at the side, beside the content
        {{600, 1000}, {600, 457}},  // too narrow: a scroller at the bottom, below it
        {{625, 400}, {625, 400}},   // the side scroller makes it too narrow as well
        {{500, 300}, {500, 300}},   // too small both ways
    };
    for (const Case& c : cases)
        EXPECT_EQ(WindowPlacement::scrolledWindowSize(content, c.available, scroller), c.window)
            << c.available.width() << "x" << c.available.height();
    // No screen: the content's size.
    EXPECT_EQ(WindowPlacement::scrolledWindowSize(content, QSize(), scroller), content);
}
