#include "../../Results/ResultFixture.h"

#include "Browser/Similars/HeapView.h"
#include "Browser/Similars/HeapViewGeometry.h"
#include "Categories/FileSize.h"
#include "Results/DuplicatesHeap.h"
#include "Results/HeapsFolderData.h"

#include <QApplication>

namespace {

namespace G = HeapViewGeometry;

G::Input sizes(double w, double h, std::uint64_t main, std::uint64_t second) {
    G::Input in;
    in.width = w;
    in.height = h;
    in.mainSize = main;
    in.secondSize = second;
    // Folders with unique files of their own: no containment.
    in.mainChildren = in.secondChildren = 5;
    in.mainCopies = in.secondCopies = 2;
    return in;
}

TEST(HeapViewGeometryTest, RadiiFollowTheViewAndTheSizeRatio) {
    constexpr std::uint64_t GB = 1'000'000'000;
    struct Case {
        double w, h;
        std::uint64_t main, second;
        float mainRadius, secondRadius;
    };
    const std::vector<Case> cases = {
        {800, 240, 10 * GB, 10 * GB, 80, 80 / 1.2f}, // R = min(800/8, 240/3)
        {800, 900, 10 * GB, 10 * GB, 100, 100 / 1.2f},
        {800, 240, 3 * GB, 1 * GB, 80, 80 / 1.5f},
        {800, 240, 1 * GB, 3 * GB, 80 / 1.5f, 80},
        {800, 240, 8 * GB, 1 * GB, 80, 80 / 3.0f},
        {800, 240, 4 * GB, 1 * GB, 80, 80 / 3.0f},
        {800, 240, 0, 0, 80, 80 / 3.0f}, // no ratio: the smallest circle
        {800, 240, 5, 0, 80, 80 / 3.0f},
    };
    for (const Case& c : cases) {
        const auto circles = G::calculateCircleSizes(sizes(c.w, c.h, c.main, c.second));
        EXPECT_FLOAT_EQ(circles.mainRadius, c.mainRadius) << c.main << " " << c.second;
        EXPECT_FLOAT_EQ(circles.secondRadius, c.secondRadius) << c.main << " " << c.second;
        // Centred: equal gaps on both sides, centres on the middle line, overlap of half the
        // smaller radius.
        const double leftGap = circles.mainCenter.x() - circles.mainRadius;
        const double rightGap = c.w - (circles.secondCenter.x() + circles.secondRadius);
        EXPECT_NEAR(leftGap, rightGap, 1e-4);
        EXPECT_DOUBLE_EQ(circles.mainCenter.y(), c.h / 2);
        const double overlap = circles.mainRadius + circles.secondRadius -
                               (circles.secondCenter.x() - circles.mainCenter.x());
        EXPECT_NEAR(overlap, std::min(circles.mainRadius, circles.secondRadius) / 2, 1e-4);
    }
}

TEST(HeapViewGeometryTest, AFolderOfOnlyCopiesLiesInsideTheBiggerOne) {
    G::Input in = sizes(800, 240, 1000, 8000);
    in.mainChildren = in.mainCopies = 3;
    auto c = G::calculateCircleSizes(in);
    // Inside the second circle, touching its left side, the pair centred.
    EXPECT_NEAR(c.mainCenter.x() - c.mainRadius, c.secondCenter.x() - c.secondRadius - 0.5, 1e-4);
    EXPECT_NEAR(c.secondCenter.x(), 400.0 + 0.25, 1e-4);

    in = sizes(800, 240, 8000, 1000);
    in.secondChildren = in.secondCopies = 3;
    c = G::calculateCircleSizes(in);
    EXPECT_NEAR(c.secondCenter.x() + c.secondRadius, c.mainCenter.x() + c.mainRadius + 0.5, 1e-4);
}

TEST(HeapViewGeometryTest, TheLabelsGetTheRoomTheViewHas) {
    // 570 wide: a radius of 71.25 and, at equal sizes, a pair 231.6 wide with 169.2 each side.
    const float r = 570.0f / 8.0f;
    struct Case {
        double mainLabel, secondLabel;
        bool fits, shrunk;
    } cases[] = {
        {100, 100, true, false}, // room enough: centred as without labels
        {200, 50, true, false},  // one long label: the pair moves over
        {160, 160, true, true},  // both long: the pair shrinks until both fit
        {300, 300, false, true}, // no room even at half the size: the shortage is shared
    };
    for (const Case& c : cases) {
        G::Input in = sizes(570, 240, 1000, 1000);
        in.mainLabelWidth = c.mainLabel;
        in.secondLabelWidth = c.secondLabel;
        const auto circles = G::calculateCircleSizes(in);
        const double leftGap = circles.mainCenter.x() - circles.mainRadius;
        const double rightGap = 570 - (circles.secondCenter.x() + circles.secondRadius);
        const double mainNeed = G::kLabelInset + 5 + c.mainLabel;
        const double secondNeed = G::kLabelInset + 5 + c.secondLabel;
        SCOPED_TRACE(c.mainLabel);
        EXPECT_EQ(circles.mainRadius < r, c.shrunk);
        EXPECT_GE(circles.mainRadius, r / 2);
        EXPECT_NEAR(circles.secondRadius, circles.mainRadius / 1.2f, 1e-3);
        if (c.fits) {
            EXPECT_GE(leftGap, mainNeed - 1e-3);
            EXPECT_GE(rightGap, secondNeed - 1e-3);
        } else {
            EXPECT_FLOAT_EQ(circles.mainRadius, r / 2);
            EXPECT_NEAR(mainNeed - leftGap, secondNeed - rightGap, 1e-3);
        }
        if (!c.shrunk && c.mainLabel == c.secondLabel) {
            EXPECT_NEAR(leftGap, rightGap, 1e-3);
        }
    }
}

TEST(HeapViewGeometryTest, FittingCutsAtTheEndAndNeverBelowNothing) {
    // One unit per character.
    const auto width = [](const QString& s) { return double(s.size()); };
    struct Case {
        QString text;
        double max;
        QString fitted;
    };
    const std::vector<Case> cases = {
        {"Holiday", 7, "Holiday"},
        {"Holiday photos", 10, "Holiday ..."}, // cut to 10, then two more for the dots
        {"Holiday photos", 3, "H..."},         // the loop stops at three characters
        {"ab", 0, "..."},                      // fewer than two left: nothing below empty
        {"a", 0, "..."},
        {"", 5, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(G::fitText(c.text, width, c.max), c.fitted) << c.text.toStdString();
    EXPECT_EQ(G::showButtonRect(25.3, 80.2, 125.5),
              QRectF(std::floor(25.3 + 80.2 + 5), 124, 52, 17));
}

// Folder P with two copies shared with Q and one file of its own; Q holds only copies.
struct HeapViewTest : ResultFixture {
    FolderSystemItem *p = nullptr, *q = nullptr;
    FileSystemItem* own = nullptr;
    std::shared_ptr<DuplicatesHeap> heap;

    void SetUp() override {
        ResultFixture::SetUp();
        p = folder(root, "P");
        q = folder(root, "Q");
        FileSystemItem* pa = file(p, "a.jpg", 200, 'a');
        FileSystemItem* qa = file(q, "a.jpg", 200, 'a');
        FileSystemItem* pb = file(p, "b.jpg", 300, 'b');
        FileSystemItem* qb = file(q, "b.jpg", 300, 'b');
        own = file(p, "own.txt", 10, 'o');
        for (FileSystemItem* node : {pa, qa, pb, qb})
            node->setIsCheckedForDuplicates(true);
        root->calctotalsize();
        ASSERT_TRUE(container->addGroupWithItems({pa, qa}));
        ASSERT_TRUE(container->addGroupWithItems({pb, qb}));
        container->saveRoots({root});
        DuplicatesManager::sharedManager().setDuplicateContainer(container);
        heap = std::make_shared<DuplicatesHeap>(std::make_shared<HeapsFolderData>(p),
                                                std::make_shared<HeapsFolderData>(q));
    }
};

TEST_F(HeapViewTest, ShowButtonsOnlyAboveTheWidthAndOnlyForUniqueFiles) {
    HeapView view;
    view.setDuplicatesHeap(heap);
    EXPECT_EQ(view.mainFolderDuplicates().size(), 2u);
    EXPECT_EQ(view.secondFolderDuplicates().size(), 2u);
    EXPECT_EQ(HeapView::duplicateSizeStringFromArray(view.mainFolderDuplicates()),
              FileSize::formatMemoryStringDot1(500));
    view.resize(800, 240);
    view.show();
    view.grab();
    EXPECT_FALSE(view.mainShowRect().isEmpty());
    EXPECT_TRUE(view.secondShowRect().isEmpty()); // Q has no file of its own
    view.resize(525, 240);
    view.grab();
    EXPECT_TRUE(view.mainShowRect().isEmpty());
}

TEST_F(HeapViewTest, APreviewReplacesTheCirclesUntilRemoved) {
    HeapView view;
    view.setDuplicatesHeap(heap);
    view.resize(800, 240);
    view.show();
    view.addQuickLookWithFile(own);
    ASSERT_TRUE(view.quickLookVC());
    view.resize(900, 300);
    view.grab();
    EXPECT_TRUE(view.quickLookVC());
    EXPECT_EQ(view.previewItem(), own);
    view.removeQuickLook();
    EXPECT_FALSE(view.quickLookVC());
    view.grab();
    EXPECT_FALSE(view.mainShowRect().isEmpty());
}

} // namespace
