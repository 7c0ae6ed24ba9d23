#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Platform/OperationQueue.h"
#include "Walker/CSWalkOperation.h"
#include "Walker/CSWalkOperationDelegate.h"
#include "Walker/PWalkerDelegate.h"
#include "Walker/TWalker.h"

#include "TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <map>
#include <mutex>
#include <set>

namespace {

// Records what a walk reports. Batches arrive on the tree-building queue, notices on main.
struct Recorder final : CSWalkOperationDelegate, PWalkerDelegate {
    std::mutex mutex;
    std::vector<std::vector<FileSystemItem*>> batches;
    std::vector<VolumeSystemItem*> roots;
    std::vector<bool> results;
    std::size_t deliveredAtDone = 0;
    std::function<void()> onBatch;

    void onOperationStartBuildTree(VolumeSystemItem* root) override { roots.push_back(root); }
    void onOperationDoneWithSuccess(bool success) override {
        results.push_back(success);
        deliveredAtDone = delivered().size();
    }
    void onFileItemsScanned(const std::vector<FileSystemItem*>& items) override {
        {
            std::lock_guard lock(mutex);
            batches.push_back(items);
        }
        if (onBatch)
            onBatch();
    }
    std::multiset<FileSystemItem*> delivered() {
        std::lock_guard lock(mutex);
        std::multiset<FileSystemItem*> all;
        for (const auto& batch : batches)
            all.insert(batch.begin(), batch.end());
        return all;
    }
    std::size_t batchCount() {
        std::lock_guard lock(mutex);
        return batches.size();
    }
};

// Each call moves a second on, so every batch post after the first meets a due tick.
std::atomic<std::int64_t> g_fakeTime{0};
std::int64_t fakeClock() {
    return g_fakeTime.fetch_add(1000);
}

void removeTreeAt(int parentFd, const char* name) {
    const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (fd >= 0) {
        DIR* folder = ::fdopendir(fd);
        while (dirent* entry = ::readdir(folder)) {
            if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
                continue;
            if (entry->d_type == DT_DIR)
                removeTreeAt(::dirfd(folder), entry->d_name);
            else
                ::unlinkat(::dirfd(folder), entry->d_name, 0);
        }
        ::closedir(folder);
    }
    ::unlinkat(parentFd, name, AT_REMOVEDIR);
}

struct WalkTest : ::testing::Test {
    QTemporaryDir dir;
    QByteArray base;
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
    std::shared_ptr<ScanTree> tree = ScanTree::create();
    OperationQueue queue{QStringLiteral("walk test")};

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        base = QFile::encodeName(dir.path());
        queue.setMaxConcurrentOperationCount(1);
    }
    void TearDown() override { TWalker::setFlushClock(nullptr); }

    void write(const QByteArray& relative, const QByteArray& contents = "x") {
        ASSERT_TRUE(TestSupport::writeFile(base + "/" + relative, contents));
    }
    // A small file with data, made without the helper's folder checks (many are needed).
    void quickFile(const QByteArray& relative, bool withData = true) {
        const int fd = ::open((base + "/" + relative).constData(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        if (withData) {
            ASSERT_EQ(::write(fd, "0123456789", 10), 10);
        }
        ::close(fd);
    }
    void mkdir(const QByteArray& relative) {
        ASSERT_EQ(::mkdir((base + "/" + relative).constData(), 0755), 0);
    }
    void symlink(const QByteArray& target, const QByteArray& relative) {
        ASSERT_EQ(::symlink(target.constData(), (base + "/" + relative).constData()), 0);
    }
    std::shared_ptr<CSWalkOperation> walk(const QByteArray& path) {
        auto op = std::make_shared<CSWalkOperation>(recorder, recorder, path, tree);
        queue.addOperation(op);
        return op;
    }
    void walkAll(const QList<QByteArray>& paths) {
        for (const QByteArray& path : paths)
            walk(path);
        ASSERT_TRUE(TestSupport::waitFor(
            [&] { return recorder->results.size() == std::size_t(paths.size()); }, 30000));
    }
    static std::set<QByteArray> paths(const std::multiset<FileSystemItem*>& nodes) {
        std::set<QByteArray> out;
        for (FileSystemItem* node : nodes)
            out.insert(node->path());
        return out;
    }
    // Every file node in the tree below `folder`, by path.
    static void collectFiles(const FolderSystemItem* folder, std::set<QByteArray>& out) {
        for (FileSystemItem* child : folder->childrenArray()) {
            if (const FolderSystemItem* sub = child->asFolder())
                collectFiles(sub, out);
            else
                out.insert(child->path());
        }
    }
};

TEST_F(WalkTest, DeliversEveryFileOnceBeforeDoneAndBuildsTheTree) {
    write("a.txt", QByteArray(5000, 'a'));
    write("sub/b.bin", QByteArray(10000, 'b'));
    write("sub/deeper/c", "c");
    write("sub/.hidden", "h");
    write(".dot/inside", "i");
    write(".DS_Store", "junk");
    write("sub/Thumbs.db", "junk");
    write("sub/deeper/.localized", "");
    write("Viewer.app/Contents/bin", QByteArray(3000, 'v'));
    write(".app/notpackage", "n");
    write("Shout.APP/file", "s");
    for (int i = 0; i < 30; ++i)
        write("many/f" + QByteArray::number(i), QByteArray::number(i));
    symlink("a.txt", "link-to-file");
    symlink("sub", "link-to-folder");
    symlink(".", "loop");
    ASSERT_EQ(::mkfifo((base + "/fifo").constData(), 0644), 0);

    walkAll({base});
    ASSERT_EQ(recorder->results, std::vector<bool>{true});
    ASSERT_EQ(recorder->roots.size(), 1u);
    VolumeSystemItem* root = recorder->roots[0];
    EXPECT_EQ(root->path(), base);

    const auto delivered = recorder->delivered();
    EXPECT_EQ(recorder->deliveredAtDone, delivered.size());
    std::set<QByteArray> expected = {base + "/a.txt",           base + "/sub/b.bin",
                                     base + "/sub/deeper/c",    base + "/sub/.hidden",
                                     base + "/.dot/inside",     base + "/Viewer.app/Contents/bin",
                                     base + "/.app/notpackage", base + "/Shout.APP/file"};
    for (int i = 0; i < 30; ++i)
        expected.insert(base + "/many/f" + QByteArray::number(i));
    EXPECT_EQ(delivered.size(), expected.size()); // each exactly once
    EXPECT_EQ(paths(delivered), expected);
    std::set<QByteArray> inTree;
    collectFiles(root, inTree);
    EXPECT_EQ(inTree, expected);

    // Links, the FIFO and the skipped names have no node.
    for (const char* name : {"link-to-file", "link-to-folder", "loop", "fifo", ".DS_Store"})
        EXPECT_EQ(root->childWithName(name), nullptr) << name;
    EXPECT_EQ(root->childWithName("sub")->childWithName("Thumbs.db"), nullptr);

    // Hidden by a leading dot, files and folders alike.
    EXPECT_TRUE(root->childWithName("sub")->childWithName(".hidden")->isHiddenFlag());
    EXPECT_TRUE(root->childWithName(".dot")->isHiddenFlag());
    EXPECT_TRUE(root->childWithName(".dot")->childWithName("inside")->isTopHiddenFlag());
    EXPECT_FALSE(root->childWithName("a.txt")->isTopHiddenFlag());

    // Packages only by name: some text followed by ".app", lower case.
    FileSystemItem* app = root->childWithName("Viewer.app");
    ASSERT_NE(app, nullptr);
    EXPECT_TRUE(app->isPackage());
    EXPECT_FALSE(root->childWithName(".app")->isPackage());
    EXPECT_FALSE(root->childWithName("Shout.APP")->isPackage());
    EXPECT_TRUE(app->childWithName("Contents")->childWithName("bin")->isInPackage());

    // Folder totals are the sums of the files below them.
    root->calctotalsizeex();
    struct stat st;
    ASSERT_EQ(::stat((base + "/Viewer.app/Contents/bin").constData(), &st), 0);
    EXPECT_EQ(app->gettotalsize(), std::int64_t(st.st_blocks) * 512);
    EXPECT_EQ(app->logicalSize(), 3000);
    std::int64_t logical = 0;
    std::int64_t onDisk = 0;
    for (const QByteArray& path : expected) {
        ASSERT_EQ(::stat(path.constData(), &st), 0);
        logical += st.st_size;
        onDisk += std::int64_t(st.st_blocks) * 512;
    }
    EXPECT_EQ(root->logicalSize(), logical);
    EXPECT_EQ(root->gettotalsize(), onDisk);
    EXPECT_EQ(root->childWithName("sub")->logicalSize(), 10000 + 1 + 1);
}

TEST_F(WalkTest, WideAndDeepTreesAreDeliveredExactlyOnce) {
    // Wide: sub-folders handed between walkers. Deep: a chain that stays with one walker.
    std::set<QByteArray> expected;
    for (int f = 0; f < 40; ++f) {
        const QByteArray folder = "wide/w" + QByteArray::number(f);
        for (int g = 0; g < 3; ++g) {
            const QByteArray inner = folder + "/g" + QByteArray::number(g);
            ASSERT_TRUE(TestSupport::writeFile(base + "/" + inner + "/a", "a"));
            quickFile(inner + "/b");
            expected.insert(base + "/" + inner + "/a");
            expected.insert(base + "/" + inner + "/b");
        }
    }
    QByteArray chain = "deep";
    for (int level = 0; level < 60; ++level) {
        chain += "/l" + QByteArray::number(level);
        ASSERT_TRUE(TestSupport::writeFile(base + "/" + chain + "/f", "f"));
        expected.insert(base + "/" + chain + "/f");
    }
    walkAll({base});
    const auto delivered = recorder->delivered();
    EXPECT_EQ(delivered.size(), expected.size());
    EXPECT_EQ(paths(delivered), expected);
    std::set<QByteArray> inTree;
    collectFiles(recorder->roots[0], inTree);
    EXPECT_EQ(inTree, expected);
    recorder->roots[0]->recalculateCountOfDeepChildren();
    // Files, plus wide (1 + 40 + 120 folders) and deep (1 + 60 folders).
    EXPECT_EQ(recorder->roots[0]->getCountOfDeepChildren(), expected.size() + 161 + 61);
}

TEST_F(WalkTest, EmptyTopFolderGivesEmptyRootAndOneEmptyBatchPerWalker) {
    walkAll({base});
    EXPECT_EQ(recorder->results, std::vector<bool>{true});
    ASSERT_EQ(recorder->roots.size(), 1u);
    EXPECT_TRUE(recorder->roots[0]->childrenArray().empty());
    EXPECT_EQ(recorder->batchCount(), 4u);
    EXPECT_TRUE(recorder->delivered().empty());
}

TEST_F(WalkTest, FolderReachedTwiceInOneScanIsWalkedOnce) {
    write("target/one", "1");
    write("target/inner/two", "2");
    symlink("target", "alias");
    // The link given as a top folder beside its target, and a folder inside a top folder
    // given again as a top folder of its own.
    walkAll({base + "/target", base + "/alias", base + "/target/inner"});
    ASSERT_EQ(recorder->roots.size(), 3u);
    const auto delivered = recorder->delivered();
    EXPECT_EQ(delivered.size(), 2u);
    EXPECT_EQ(paths(delivered),
              (std::set<QByteArray>{base + "/target/one", base + "/target/inner/two"}));
    EXPECT_TRUE(recorder->roots[1]->childrenArray().empty());
    EXPECT_TRUE(recorder->roots[2]->childrenArray().empty());
    EXPECT_EQ(recorder->results, (std::vector<bool>{true, true, true}));
}

TEST_F(WalkTest, InvalidUtf8NameKeepsItsBytesAndReopens) {
    const QByteArray odd("bad\xff\xfe name", 10);
    write(odd, "contents");
    write(QByteArray("dir\xc3(", 5) + "/inner", "in");
    walkAll({base});
    const auto delivered = recorder->delivered();
    ASSERT_EQ(delivered.size(), 2u);
    for (FileSystemItem* node : delivered) {
        const int fd = ::open(node->path().constData(), O_RDONLY);
        ASSERT_GE(fd, 0) << node->path().toHex().constData();
        ::close(fd);
    }
    EXPECT_NE(recorder->roots[0]->childWithName(odd), nullptr);
}

TEST_F(WalkTest, AFolderBelowAPathLongerThanTheSystemLimitIsWalked) {
    // 25 levels of 200 bytes: about 5,000 bytes, more than the kernel takes in one path.
    const QByteArray segment(200, 'd');
    int fd = ::open(base.constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    QByteArray relative;
    for (int level = 0; level < 25; ++level) {
        ASSERT_EQ(::mkdirat(fd, segment.constData(), 0755), 0);
        const int next = ::openat(fd, segment.constData(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        ASSERT_GE(next, 0);
        fd = next;
        relative += "/" + segment;
    }
    const int file = ::openat(fd, "deep-file", O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(file, 0);
    ::close(file);
    ::close(fd);
    write("reachable", "r");
    ASSERT_GT((base + relative).size(), PATH_MAX);

    walkAll({base});
    EXPECT_EQ(recorder->results, std::vector<bool>{true});
    EXPECT_EQ(paths(recorder->delivered()),
              (std::set<QByteArray>{base + "/reachable", base + relative + "/deep-file"}));
    // Too deep for path-based removal; go down by descriptors.
    const int baseFd = ::open(base.constData(), O_RDONLY | O_DIRECTORY);
    removeTreeAt(baseFd, segment.constData());
    ::close(baseFd);
}

TEST_F(WalkTest, FolderThatCannotBeOpenedIsSkipped) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root opens every folder";
    write("locked/inside", "i");
    write("reachable", "r");
    ASSERT_EQ(::chmod((base + "/locked").constData(), 0), 0);
    walkAll({base});
    ::chmod((base + "/locked").constData(), 0755);
    EXPECT_EQ(recorder->results, std::vector<bool>{true});
    EXPECT_EQ(paths(recorder->delivered()), std::set<QByteArray>{base + "/reachable"});
}

TEST_F(WalkTest, PseudoFileSystemIsNeverEntered) {
    struct statfs fs;
    if (::statfs("/proc", &fs) != 0 || fs.f_type != 0x9fa0)
        GTEST_SKIP() << "no proc file system here";
    walkAll({"/proc"});
    EXPECT_EQ(recorder->results, std::vector<bool>{true});
    EXPECT_TRUE(recorder->roots[0]->childrenArray().empty());
}

TEST_F(WalkTest, BatchesFollowTheEntryAndByteRule) {
    TWalker::setFlushClock(&fakeClock);
    struct Case {
        const char* name;
        int files;
        int size;
        bool midWalkBatches;
    } cases[] = {
        {"300 entries", 300, 100, false},
        {"all sizes 0 on disk", 400, 0, false},
        {"700 entries with data", 700, 100, true},
    };
    for (const Case& c : cases) {
        recorder = std::make_shared<Recorder>();
        const QByteArray folder = base + "/" + c.name;
        ASSERT_TRUE(TestSupport::writeFile(folder + "/f0", QByteArray(c.size, 'x')));
        for (int i = 1; i < c.files; ++i) {
            quickFile(QByteArray(c.name) + "/f" + QByteArray::number(i), c.size != 0);
        }
        walkAll({folder});
        EXPECT_EQ(recorder->delivered().size(), std::size_t(c.files)) << c.name;
        if (c.midWalkBatches)
            EXPECT_GT(recorder->batchCount(), 4u) << c.name;
        else
            EXPECT_EQ(recorder->batchCount(), 4u) << c.name;
    }
}

TEST_F(WalkTest, CancellingMidWalkReportsNoAndKeepsWhatWasFound) {
    TWalker::setFlushClock(&fakeClock);
    constexpr int kFolders = 12;
    constexpr int kFiles = 200;
    for (int f = 0; f < kFolders; ++f) {
        const QByteArray folder = "d" + QByteArray::number(f);
        mkdir(folder);
        for (int i = 0; i < kFiles; ++i)
            quickFile(folder + "/file" + QByteArray::number(i));
    }
    std::shared_ptr<CSWalkOperation> op;
    std::atomic<bool> cancelled{false};
    recorder->onBatch = [&] {
        if (!recorder->batches.back().empty() && !cancelled.exchange(true))
            op->cancel();
    };
    op = walk(base);
    ASSERT_TRUE(TestSupport::waitFor([&] { return !recorder->results.empty(); }, 30000));
    EXPECT_EQ(recorder->results, std::vector<bool>{false});
    const auto delivered = recorder->delivered();
    // How far the walkers got after the cancel depends on the machine's load; what matters
    // is that the files found before it were attached and delivered.
    EXPECT_GT(delivered.size(), 0u);
    EXPECT_LE(delivered.size(), std::size_t(kFolders * kFiles));
    EXPECT_EQ(recorder->deliveredAtDone, delivered.size());
    // Whatever was found is attached and was delivered exactly once.
    std::set<QByteArray> inTree;
    collectFiles(recorder->roots[0], inTree);
    EXPECT_EQ(inTree, paths(delivered));
    EXPECT_EQ(inTree.size(), delivered.size());
}

} // namespace
