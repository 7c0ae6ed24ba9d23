#include "Walker/FolderDescriptors.h"

#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Platform/ReadOnlyFile.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(FolderDescriptorsTest, KeepsTheFoldersUsedLastAndHeldOnesStayOpen) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto tree = ScanTree::create();
    VolumeSystemItem* root =
        VolumeSystemItem::initWithPath(*tree, QFile::encodeName(dir.path()), 0, 0);
    auto folder = [&](const char* name) {
        FolderSystemItem* made =
            FolderSystemItem::initWithPathSize(*tree, name, root, 0, false, 0, false, 0);
        EXPECT_TRUE(TestSupport::writeFile(made->path() + "/f", name));
        return made;
    };
    FolderSystemItem* a = folder("a");
    FolderSystemItem* b = folder("b");
    FolderSystemItem* c = folder("c");
    FolderSystemItem* missing =
        FolderSystemItem::initWithPathSize(*tree, "missing", root, 0, false, 0, false, 0);

    FolderDescriptors folders(2);
    const auto heldA = folders.descriptorOf(a);
    const auto heldB = folders.descriptorOf(b);
    ASSERT_TRUE(heldA && heldB);
    EXPECT_EQ(folders.descriptorOf(a), heldA); // kept, and now used last
    EXPECT_NE(folders.descriptorOf(c), nullptr);
    EXPECT_EQ(folders.openCount(), 2u);
    EXPECT_EQ(folders.descriptorOf(a), heldA);
    // b left the set for c, yet the holder's descriptor still finds its files.
    const ReadOnlyFile inB(heldB->fd(), "f");
    ASSERT_TRUE(inB.isOpen());
    char text[8] = {};
    EXPECT_EQ(inB.readAt(text, sizeof text, 0), 1);
    EXPECT_EQ(text[0], 'b');
    // Asked again, b is opened anew.
    EXPECT_NE(folders.descriptorOf(b), heldB);
    EXPECT_EQ(folders.openCount(), 2u);

    EXPECT_EQ(folders.descriptorOf(missing), nullptr);
    EXPECT_EQ(folders.descriptorOf(nullptr), nullptr);
    EXPECT_EQ(FolderDescriptors(0).descriptorOf(a), nullptr);
}

} // namespace
