#include "Categories/Separator.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace {
struct Node {
    int id;
};
} // namespace

TEST(Separator, MakesTheSetOnFirstUseAndCollapsesEqualObjects) {
    Node a{1}, b{2}, c{3};
    Separator::Map<QString, Node*> map;
    Separator::addObjectWithSeparatorKey(map, &a, QStringLiteral("d41d8cd9"));
    Separator::addObjectWithSeparatorKey(map, &b, QStringLiteral("d41d8cd9"));
    Separator::addObjectWithSeparatorKey(map, &a, QStringLiteral("d41d8cd9"));
    // A key built anew compares by value.
    Separator::addObjectWithSeparatorKey(map, &c, QString("0cc1") + QString("75b9"));

    ASSERT_EQ(map.size(), 2);
    EXPECT_EQ(map.value("d41d8cd9"), (QSet<Node*>{&a, &b}));
    EXPECT_EQ(map.value("0cc175b9"), (QSet<Node*>{&c}));
}

TEST(Separator, WorksWithByteKeysAndStandardContainers) {
    Node a{1}, b{2};
    Separator::Map<QByteArray, const Node*> bytes;
    Separator::addObjectWithSeparatorKey(bytes, &a, QByteArray("1024_7"));
    Separator::addObjectWithSeparatorKey(bytes, &b, QByteArray("1024_7"));
    EXPECT_EQ(bytes.value("1024_7").size(), 2);

    auto shared = std::make_shared<Node>(Node{3});
    std::unordered_map<std::uint64_t, std::unordered_set<std::shared_ptr<Node>>> bySize;
    Separator::addObjectWithSeparatorKey(bySize, shared, std::uint64_t(4096));
    Separator::addObjectWithSeparatorKey(bySize, shared, std::uint64_t(4096));
    ASSERT_EQ(bySize.size(), 1u);
    EXPECT_EQ(bySize.at(4096).size(), 1u);
    EXPECT_EQ(shared.use_count(), 2);
}
