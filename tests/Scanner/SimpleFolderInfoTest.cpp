#include "ScanFixture.h"
#include "TestSupport.h"

#include "FileTree/FolderSystemItem.h"
#include "FileTree/VolumeSystemItem.h"
#include "Scanner/SimpleFolderInfo.h"

#include <gtest/gtest.h>

using namespace ScanFixture;

namespace {

class SimpleFolderInfoTest : public ::testing::Test {
protected:
    QByteArray root() const { return QFile::encodeName(dir.path()); }
    void write(const QByteArray& relative, int size) {
        ASSERT_TRUE(TestSupport::writeFile(root() + '/' + relative, content(size, size)));
    }
    std::vector<QByteArray> names(const SimpleFolderInfo::Groups& groups) {
        std::vector<QByteArray> answer;
        for (const auto& group : groups)
            answer.push_back(group.front()->name());
        return answer;
    }
    QTemporaryDir dir;
};

TEST_F(SimpleFolderInfoTest, FamiliesLargestFirstInnerFoldersFirstWithin) {
    for (const char* copy : {"1", "2"}) {
        const QByteArray c(copy);
        write("x" + c + "/y/z/f", 1000);
        write("x" + c + "/y/g", 1000);
        write("x" + c + "/h", 1000);
        write("w" + c + "/f", 2500);
    }
    const BuiltTree built = buildTree(root());
    built.root->recalculateCountOfDeepChildren();
    auto groupOf = [&](const char* a, const char* b) {
        return SimpleFolderInfo::Group{built.folder(a), built.folder(b)};
    };
    const SimpleFolderInfo::Groups groups{groupOf("x1/y/z", "x2/y/z"), groupOf("w1", "w2"),
                                          groupOf("x1", "x2"), groupOf("x1/y", "x2/y")};
    EXPECT_EQ(names(SimpleFolderInfo::SortedGroupsBySizeFromBigToSmall(groups)),
              (std::vector<QByteArray>{"z", "y", "x1", "w1"}));
    EXPECT_EQ(names(SimpleFolderInfo::SortedGroupsBySizeFromSmallToBig(groups)),
              (std::vector<QByteArray>{"z", "y", "w1", "x1"}));
    EXPECT_EQ(SimpleFolderInfo(built.folder("x1")).buildSimplyHash(), "3000_5");
    EXPECT_EQ(SimpleFolderInfo(built.folder("x1")).buildIdentifierForMethod(2), "");
}

TEST_F(SimpleFolderInfoTest, AComparedUniqueItemKeepsEveryFolderAboveFromBeingACandidate) {
    write("a/b/unique", 10);
    write("a/b/never_compared", 20);
    const BuiltTree built = buildTree(root());
    EXPECT_TRUE(SimpleFolderInfo(built.folder("a")).isCanBeDuplicate());
    built.node("a/b/unique")->setIsCheckedForDuplicates(true);
    EXPECT_FALSE(SimpleFolderInfo(built.folder("a/b")).isCanBeDuplicate());
    EXPECT_FALSE(SimpleFolderInfo(built.folder("a")).isCanBeDuplicate());
}

} // namespace
