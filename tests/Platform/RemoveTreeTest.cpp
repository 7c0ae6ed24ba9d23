// The test folders' own clean-up: whatever names and depth a test leaves behind go.
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool exists(const QByteArray& path) {
    struct stat facts {};
    return ::lstat(path.constData(), &facts) == 0;
}

TEST(RemoveTreeTest, RemovesNamesOfAnyBytesAtAnyDepthAndNeverFollowsLinks) {
    QTemporaryDir dir;
    const QByteArray base = QFile::encodeName(dir.path());
    const QByteArray tree = base + "/tree";
    ASSERT_TRUE(TestSupport::writeFile(tree + "/\xff\xfe.bin", "x"));
    ASSERT_TRUE(TestSupport::writeFile(tree + "/ok/\xc3(/inner.txt", "y"));
    ASSERT_TRUE(TestSupport::writeFile(tree + "/locked/inside.txt", "z"));
    ASSERT_EQ(::chmod((tree + "/locked").constData(), 0), 0);
    // A chain of folders far longer than a path may be, made one level at a time.
    int fd = ::open(tree.constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    const QByteArray level(200, 'd');
    for (int depth = 0; depth < 60; ++depth) {
        ASSERT_EQ(::mkdirat(fd, level.constData(), 0755), 0);
        const int next = ::openat(fd, level.constData(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        ASSERT_GE(next, 0);
        fd = next;
    }
    const int deepFile = ::openat(fd,
                                  "\x80"
                                  "deep",
                                  O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(deepFile, 0);
    ::close(deepFile);
    ::close(fd);
    // A link to a folder outside: the link goes, what it points at stays.
    ASSERT_TRUE(TestSupport::writeFile(base + "/keep/kept.txt", "k"));
    ASSERT_EQ(::symlink((base + "/keep").constData(), (tree + "/link").constData()), 0);

    EXPECT_TRUE(TestSupport::removeTree(tree));
    EXPECT_FALSE(exists(tree));
    EXPECT_TRUE(exists(base + "/keep/kept.txt"));
    // A plain file goes too, and nothing to remove is no failure.
    EXPECT_TRUE(TestSupport::removeTree(base + "/keep/kept.txt"));
    EXPECT_FALSE(exists(base + "/keep/kept.txt"));
    EXPECT_TRUE(TestSupport::removeTree(base + "/missing"));
}

} // namespace
