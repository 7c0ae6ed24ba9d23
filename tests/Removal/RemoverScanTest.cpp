// A removal run over the result of a real scan: the copies the walker and the folder stage
// made are checked against the disk exactly as scanned.
#include "RemoverFixture.h"
#include "ScanResultListener.h"

#include "Results/DuplicatesManager.h"
#include "Scanner/FoldersScanner.h"
#include "Scanner/FoldersScannerListener.h"

namespace {

class RemoverScanTest : public RemoverFixture {
protected:
    void realScan() {
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

} // namespace
