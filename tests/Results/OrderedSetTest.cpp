#include "Results/OrderedSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace {

struct Member {
    int id;
};

// The same operations on the set and on a plain list in insertion order; after each one the
// set must answer as the list does. Small sets are searched in order and large ones indexed,
// so the runs grow sets past that boundary and shrink them again, with holes left by removals.
TEST(OrderedSetTest, AnswersAsAnOrderedListThroughGrowthAndRemovals) {
    struct Run {
        unsigned seed;
        int pool;  // distinct members to draw from
        int steps; // operations
    };
    for (const Run run : {Run{1, 4, 200}, Run{2, 14, 600}, Run{3, 40, 2000}, Run{4, 300, 5000}}) {
        SCOPED_TRACE(run.seed);
        std::mt19937 random(run.seed);
        std::vector<std::shared_ptr<Member>> pool;
        for (int i = 0; i < run.pool; ++i)
            pool.push_back(std::make_shared<Member>(Member{i}));
        OrderedSet<Member> set;
        std::vector<std::shared_ptr<Member>> expected;
        for (int step = 0; step < run.steps; ++step) {
            const auto& member = pool[random() % pool.size()];
            const bool wasMember =
                std::find(expected.begin(), expected.end(), member) != expected.end();
            switch (random() % 5) {
            case 0:
            case 1:
                ASSERT_EQ(set.add(member), !wasMember);
                if (!wasMember)
                    expected.push_back(member);
                break;
            case 2:
                ASSERT_EQ(set.remove(member.get()), wasMember);
                expected.erase(std::remove(expected.begin(), expected.end(), member),
                               expected.end());
                break;
            case 3: {
                const auto at = std::find(expected.begin(), expected.end(), member);
                ASSERT_EQ(set.indexOf(member.get()), std::size_t(at - expected.begin()));
                break;
            }
            default:
                ASSERT_EQ(set.first(), expected.empty() ? nullptr : expected.front());
                break;
            }
            ASSERT_EQ(set.size(), expected.size());
            ASSERT_EQ(set.empty(), expected.empty());
            ASSERT_EQ(set.contains(member.get()),
                      std::find(expected.begin(), expected.end(), member) != expected.end());
            if (step % 7 == 0) {
                ASSERT_EQ(set.items(), expected);
                // A copy answers alike and lives apart from the original.
                OrderedSet<Member> copy = set;
                ASSERT_EQ(copy.items(), expected);
                copy.clear();
                ASSERT_TRUE(copy.empty());
                ASSERT_EQ(set.items(), expected);
            }
        }
        ASSERT_EQ(set.items(), expected);
    }
}

TEST(OrderedSetTest, RefusesNullAndAnswersNothingForStrangers) {
    OrderedSet<Member> set;
    EXPECT_FALSE(set.add(nullptr));
    const auto stranger = std::make_shared<Member>(Member{7});
    EXPECT_FALSE(set.contains(nullptr));
    EXPECT_FALSE(set.remove(stranger.get()));
    EXPECT_EQ(set.indexOf(stranger.get()), 0u);
    EXPECT_EQ(set.first(), nullptr);
}

} // namespace
