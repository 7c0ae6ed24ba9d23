// A removal run over the result of a real scan: the copies the walker and the folder stage
// made are checked against the disk exactly as scanned.
#include "RemoverFixture.h"
#include "ScanResultListener.h"

#include "Results/DuplicatesManager.h"
#include "Scanner/FoldersScanner.h"
#include "Scanner/FoldersScannerListener.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

// Makes `folders` one below the other under `root`, each from its parent's descriptor, so no
// call ever sees the whole path, and writes `contents` to `file` in the last one.
bool writeDeep(const QByteArray& root, const QList<QByteArray>& folders, const QByteArray& file,
               const QByteArray& contents) {
    int fd = ::open(root.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    for (const QByteArray& folder : folders) {
        if (fd < 0 || (::mkdirat(fd, folder.constData(), 0755) != 0 && errno != EEXIST))
            break;
        const int next = ::openat(fd, folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = next;
    }
    if (fd < 0)
        return false;
    const int out = ::openat(fd, file.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ::close(fd);
    if (out < 0)
        return false;
    const bool written = ::write(out, contents.constData(), contents.size()) == contents.size();
    ::close(out);
    return written;
}

// Whether anything is at `relative` below `root`, looked up one folder at a time.
bool existsDeep(const QByteArray& root, const QByteArray& relative) {
    int fd = ::open(root.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    const QList<QByteArray> parts = relative.split('/');
    for (qsizetype i = 0; fd >= 0 && i + 1 < parts.size(); ++i) {
        const int next = ::openat(fd, parts[i].constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = next;
    }
    if (fd < 0)
        return false;
    struct stat st {};
    const bool found = ::fstatat(fd, parts.last().constData(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    ::close(fd);
    return found;
}

class RemoverScanTest : public RemoverFixture {
protected:
    void realScan() {
        waitPastTheFileClockTick();
        auto listener = std::make_shared<ScanResultListener>();
        auto scanner = FoldersScanner::create({m_root}, listener);
        scanner->enableSearchDuplicatesFoldersAndSimilars(true);
        scanner->includeHiddenFiles(true);
        scanner->startScanAndUseMinimalFileSize(1);
        ASSERT_TRUE(TestSupport::waitFor([&] { return listener->told == 1; }, 30000));
        m_container = listener->container;
        ASSERT_TRUE(m_container);
    }
    std::shared_ptr<DuplicateItem> item(const QByteArray& relative) const {
        const auto nodes = m_container->findSystemItemWithPath(path(relative));
        DuplicateItem* copy = nodes.isEmpty() ? nullptr : nodes.front()->getDuplicateItem();
        return copy ? copy->shared_from_this() : nullptr;
    }
    void TearDown() override { DuplicatesManager::sharedManager().setDuplicateContainer(nullptr); }
};

TEST_F(RemoverScanTest, ScannedFolderAndFileCopiesGoToTheTrashAndLeaveTheResult) {
    for (const QByteArray album : {"album", "album copy"}) {
        write(album + "/one.jpg", QByteArray(3000, 'a'));
        write(album + "/two.jpg", QByteArray(5000, 'b'));
        write(album + "/.hidden", "hidden but scanned");
        write(album + "/raw/three.cr2", QByteArray(7000, 'c'));
    }
    // Never scanned, so no change: only one copy has it.
    write("album copy/.DS_Store", "finder junk");
    write("notes.txt", "the same notes");
    write("old/notes.txt", "the same notes");
    write("spare", "a file of its own");
    realScan();

    const auto folderCopy = item("album copy");
    const auto fileCopy = item("old/notes.txt");
    ASSERT_TRUE(folderCopy && fileCopy);
    const auto folderGroup = folderCopy->getGroup();
    const auto fileGroup = fileCopy->getGroup();
    ASSERT_TRUE(folderCopy->selectItemForced(false));
    ASSERT_TRUE(fileCopy->selectItemForced(false));
    const auto removeList = m_container->buildRemoveList();
    ASSERT_EQ(removeList.size(), 2u) << "the folder takes its content with it";

    auto remover = DuplicatesRemover::create();
    auto listener = std::make_shared<RecordingListener>();
    run(remover, removeList, listener, true, true);

    EXPECT_TRUE(remover->getNotRemovedInfo()->empty());
    EXPECT_EQ(listener->removedCount(), 2u);
    EXPECT_FALSE(exists("album copy"));
    EXPECT_FALSE(exists("old")) << "the folder left empty went too";
    EXPECT_TRUE(exists("album/raw/three.cr2"));
    EXPECT_TRUE(exists("notes.txt"));
    EXPECT_TRUE(QFile::exists(trashFolder() + "/files/album copy/raw/three.cr2"));
    EXPECT_TRUE(trashInfo("album copy")
                    .startsWith("[Trash Info]\nPath=" + path("album%20copy") + "\nDeletionDate="));
    // Each group fell to one copy and was dissolved by the clean-up at the end.
    const auto& groups = m_container->getAllFilesGroups();
    EXPECT_EQ(std::find(groups.begin(), groups.end(), fileGroup), groups.end());
    EXPECT_EQ(std::find(groups.begin(), groups.end(), folderGroup), groups.end());
    EXPECT_FALSE(fileCopy->getGroup());
}

TEST_F(RemoverScanTest, AScannedFolderThatGainedALinkOrLostAFileStays) {
    for (const QByteArray set : {"set", "set copy", "pair", "pair copy"}) {
        write(set + "/a.bin", "aaaa " + set.left(3));
        write(set + "/deep/b.bin", "bbbb " + set.left(3));
    }
    realScan();
    const auto linked = item("set copy");
    const auto thinned = item("pair copy");
    ASSERT_TRUE(linked && thinned);
    ASSERT_TRUE(linked->selectItemForced(false));
    ASSERT_TRUE(thinned->selectItemForced(false));
    ASSERT_EQ(::symlink("/", path("set copy/deep/root").constData()), 0);
    ASSERT_TRUE(QFile::remove(QFile::decodeName(path("pair copy/deep/b.bin"))));

    auto remover = DuplicatesRemover::create();
    auto listener = std::make_shared<RecordingListener>();
    run(remover, m_container->buildRemoveList(), listener, false, false);

    EXPECT_TRUE(exists("set copy/a.bin"));
    EXPECT_TRUE(exists("pair copy/a.bin"));
    const auto notRemoved = *remover->getNotRemovedInfo();
    ASSERT_EQ(notRemoved.size(), 2u);
    for (const auto& info : notRemoved)
        EXPECT_EQ(info.error->code, DuplicatesRemover::FileChangedAfterScanError);
    EXPECT_EQ(listener->removedCount(), 0u);
}

// A copy more than twice as deep as the kernel takes a path (about 10,000 bytes, names with
// bytes that are no UTF-8) is walked, compared and removed like any other, and the folder
// it leaves empty goes too.
TEST_F(RemoverScanTest, ACopyBelowAPathLongerThanTheSystemLimitIsFoundAndRemoved) {
    QList<QByteArray> folders;
    for (int level = 0; level < 50; ++level) {
        QByteArray name = "level-" + QByteArray::number(level) + "-\xff\xfe-";
        folders.append(name + QByteArray(200 - name.size(), 'x'));
    }
    const QByteArray copyContents = QByteArray("the copy at the top ").repeated(500);
    for (const bool toTrash : {true, false}) {
        SCOPED_TRACE(toTrash ? "to the Trash" : "permanently");
        const QByteArray base = toTrash ? "trash" : "delete";
        const QByteArray deepName = "far-down-" + base + ".bin";
        const QByteArray deepRelative = base + "/" + folders.join('/') + "/" + deepName;
        ASSERT_GT(path(deepRelative).size(), 10000);
        write(base + "/top.bin", copyContents);
        // As large as the copy but other content: the deep file must really be read.
        write(base + "/other.bin", QByteArray(copyContents.size(), 'o'));
        ASSERT_TRUE(writeDeep(path(base), folders, deepName, copyContents));
        realScan();

        const auto deepCopy = item(deepRelative);
        ASSERT_TRUE(deepCopy) << "the deep copy was not found";
        ASSERT_TRUE(deepCopy->getGroup());
        std::vector<QByteArray> grouped;
        for (const auto& copy : deepCopy->getGroup()->getItems())
            grouped.push_back(copy->getFileItemPath());
        std::sort(grouped.begin(), grouped.end());
        const std::vector<QByteArray> expected{path(deepRelative), path(base + "/top.bin")};
        EXPECT_EQ(grouped, expected);
        ASSERT_TRUE(deepCopy->selectItemForced(false));

        auto remover = DuplicatesRemover::create();
        auto listener = std::make_shared<RecordingListener>();
        run(remover, m_container->buildRemoveList(), listener, toTrash, true);

        EXPECT_TRUE(remover->getNotRemovedInfo()->empty());
        EXPECT_EQ(listener->removedCount(), 1u);
        EXPECT_FALSE(existsDeep(m_root, deepRelative));
        const QByteArray deepFolder = base + "/" + folders.join('/');
        EXPECT_FALSE(existsDeep(m_root, deepFolder)) << "the folder left empty went too";
        EXPECT_TRUE(existsDeep(m_root, deepFolder.left(deepFolder.lastIndexOf('/'))));
        EXPECT_TRUE(exists(base + "/top.bin"));
        EXPECT_TRUE(exists(base + "/other.bin"));
        if (toTrash) {
            EXPECT_TRUE(QFile::exists(trashFolder() + "/files/" + deepName));
            EXPECT_EQ(trashInfo(QString::fromLatin1(deepName)).split('\n').value(1),
                      "Path=" + path(deepRelative).toPercentEncoding("/"));
        }
        DuplicatesManager::sharedManager().setDuplicateContainer(nullptr);
        // The rest of the deep chain, removed by descriptors as well.
        FileError error;
        EXPECT_TRUE(FileManager::defaultManager().removeItemAtPath(path(base), &error))
            << error.description.toStdString();
    }
}

} // namespace
