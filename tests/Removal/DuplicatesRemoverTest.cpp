#include "RemoverFixture.h"

#include "Platform/AuthorizationManager.h"
#include "Removal/DuplicatesRootRemover.h"
#include "Results/DuplicatesCategory.h"

#include <QCoreApplication>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <thread>
#include <unistd.h>

namespace {

using Items = std::vector<std::shared_ptr<DuplicateItem>>;

class DuplicatesRemoverTest : public RemoverFixture {};

TEST_F(DuplicatesRemoverTest, TrashesSelectedCopiesLongestPathFirstWithTrashInfoRecords) {
    write("a/b/c/x.txt", "xx");
    write("keep/x.txt", "xx");
    write("a/y.txt", "yyy");
    write("keep/y.txt", "yyy");
    write("a/gone.txt", "g");
    write("keep/gone.txt", "g");
    scan();
    const Items x = group({"keep/x.txt", "a/b/c/x.txt"});
    const Items y = group({"keep/y.txt", "a/y.txt"});
    const Items gone = group({"keep/gone.txt", "a/gone.txt"});
    for (const auto& item : {y[1], x[1], gone[1]})
        select(item);
    // A copy that vanished after the scan counts as removed.
    ASSERT_TRUE(QFile::remove(QFile::decodeName(path("a/gone.txt"))));

    RecordingFileManager fileManager;
    auto remover = DuplicatesRemover::create(fileManager);
    auto listener = std::make_shared<RecordingListener>();
    run(remover, {y[1], gone[1], x[1]}, listener, true, false);

    EXPECT_EQ(fileManager.attempts(),
              (std::vector<QByteArray>{path("a/b/c/x.txt"), path("a/y.txt")}));
    EXPECT_FALSE(exists("a/b/c/x.txt"));
    EXPECT_FALSE(exists("a/y.txt"));
    EXPECT_TRUE(exists("keep/x.txt"));
    EXPECT_TRUE(exists("keep/y.txt"));
    EXPECT_TRUE(exists("a/b/c")) << "the empty-folder pass was off";

    const QByteArray info = trashInfo("x.txt");
    EXPECT_TRUE(info.startsWith("[Trash Info]\nPath=" + path("a/b/c/x.txt") + "\nDeletionDate="))
        << info.constData();
    QFile trashed(trashFolder() + "/files/y.txt");
    ASSERT_TRUE(trashed.open(QIODevice::ReadOnly));
    EXPECT_EQ(trashed.readAll(), "yyy");

    // Quick successes: one update at the end with every copy.
    ASSERT_EQ(listener->batches.size(), 1u);
    EXPECT_EQ(listener->batches[0].size(), 3u);
    EXPECT_EQ(remover->getCountOfItems(), 3u);
    EXPECT_EQ(remover->getCountOfProcessedItems(), 3u);
    EXPECT_EQ(remover->getTotalRemovedSize(), 6u);
    EXPECT_TRUE(remover->getNotRemovedInfo()->empty());
    EXPECT_TRUE(remover->getItemsThatNeedToRetryRemovePermanently()->empty());
    EXPECT_FALSE(remover->getRemoteDisksInfo().has_value());
    // The removed copies left their groups.
    EXPECT_TRUE(x[1]->getFileItemPath().isEmpty());
    EXPECT_FALSE(x[1]->getGroup());
}

TEST_F(DuplicatesRemoverTest, AnEmptyRunTouchesNothingAndStillReportsOnce) {
    write("one", "1");
    scan();
    RecordingFileManager fileManager;
    auto remover = DuplicatesRemover::create(fileManager);
    EXPECT_FALSE(remover->getNotRemovedInfo().has_value()) << "nothing before the end";
    auto listener = std::make_shared<RecordingListener>();
    run(remover, {}, listener, true, true);
    ASSERT_EQ(listener->batches.size(), 1u);
    EXPECT_TRUE(listener->batches[0].empty());
    EXPECT_TRUE(fileManager.attempts().empty());
    EXPECT_TRUE(remover->getNotRemovedInfo()->empty());
    EXPECT_TRUE(remover->getItemsThatNeedToRetryRemovePermanently()->empty());
    EXPECT_FALSE(remover->getRemoteDisksInfo().has_value());

    // A remover serves one run.
    auto second = std::make_shared<RecordingListener>();
    remover->removeDuplicateItemsFromContainerWithListenerToTrashAndRemoveEmptyFolders(
        {}, m_container, second, true, true);
    TestSupport::spinFor(100);
    EXPECT_FALSE(second->finished);
}

TEST_F(DuplicatesRemoverTest, ProgressComesMoreThanASecondApartAndOnceMoreAtTheEnd) {
    Items selected;
    for (int i = 0; i < 10; ++i) {
        const QByteArray n = QByteArray::number(i);
        write("keep/" + n + ".bin", "content " + n);
        write("copies/" + n + ".bin", "content " + n);
    }
    scan();
    for (int i = 0; i < 10; ++i) {
        const QByteArray n = QByteArray::number(i);
        const Items items = group({"keep/" + n + ".bin", "copies/" + n + ".bin"});
        select(items[1]);
        selected.push_back(items[1]);
    }
    // Every removal takes 0.4 s on the remover's clock.
    auto nowMs = std::make_shared<std::atomic<std::int64_t>>(0);
    RecordingFileManager fileManager;
    fileManager.afterAttempt = [nowMs](const QByteArray&) { *nowMs += 400; };
    auto remover = DuplicatesRemover::create(fileManager);
    remover->setClock([nowMs] {
        return DuplicatesRemover::Clock::time_point(std::chrono::milliseconds(nowMs->load()));
    });
    auto listener = std::make_shared<RecordingListener>();
    run(remover, selected, listener, false, false);

    std::vector<std::size_t> sizes;
    for (const auto& batch : listener->batches)
        sizes.push_back(batch.size());
    EXPECT_EQ(sizes, (std::vector<std::size_t>{3, 3, 3, 1}));
    EXPECT_EQ(listener->processedAtCall, (std::vector<std::uint64_t>{2, 5, 8, 10}));
    // At 0.4 s per copy, the updates after the 3rd, 6th and 9th copy lie 1.2 s apart; the
    // 10th comes with the final call.
    EXPECT_EQ(remover->getTotalRemovedSize(), 10u * 9u);
    for (int i = 0; i < 10; ++i)
        EXPECT_FALSE(exists("copies/" + QByteArray::number(i) + ".bin"));
}

TEST_F(DuplicatesRemoverTest, EmptyFolderPassRemovesFoldersLeftWithOnlyLeftovers) {
    for (const bool toTrash : {false, true}) {
        SCOPED_TRACE(toTrash ? "to the Trash" : "permanently");
        const QByteArray base = toTrash ? "trash/" : "delete/";
        write(base + "junk/copy.txt", "c1");
        write(base + "junk/.DS_Store", "ds");
        write(base + "junk/Thumbs.db", "th");
        write(base + "busy/copy.txt", "c2");
        write(base + "busy/notes.txt", "mine");
        write(base + "outer/inner/copy.txt", "c3");
        write(base + "keep/1.txt", "c1");
        write(base + "keep/2.txt", "c2");
        write(base + "keep/3.txt", "c3");
        scan();
        Items selected;
        for (const auto& [copy, kept] : std::vector<std::pair<QByteArray, QByteArray>>{
                 {"junk/copy.txt", "keep/1.txt"},
                 {"busy/copy.txt", "keep/2.txt"},
                 {"outer/inner/copy.txt", "keep/3.txt"}}) {
            const Items items = group({base + kept, base + copy});
            select(items[1]);
            selected.push_back(items[1]);
        }
        auto remover = DuplicatesRemover::create();
        auto listener = std::make_shared<RecordingListener>();
        run(remover, selected, listener, toTrash, true);

        EXPECT_EQ(listener->removedCount(), 3u);
        EXPECT_FALSE(exists(base + "junk"));
        EXPECT_TRUE(exists(base + "busy/notes.txt"));
        EXPECT_FALSE(exists(base + "outer/inner"));
        // Only folders that directly held a removed copy are tried.
        EXPECT_TRUE(exists(base + "outer"));
        if (toTrash) {
            EXPECT_TRUE(QFile::exists(trashFolder() + "/files/junk/Thumbs.db"));
        }
    }
}

TEST_F(DuplicatesRemoverTest, AStopLeavesTheRestAloneAndStillReportsTheEnd) {
    Items selected;
    for (int i = 0; i < 10; ++i) {
        const QByteArray n = QByteArray::number(i);
        write("keep/" + n, "data " + n);
        write("copies/d" + n + "/" + n, "data " + n);
    }
    scan();
    for (int i = 0; i < 10; ++i) {
        const QByteArray n = QByteArray::number(i);
        const Items items = group({"keep/" + n, "copies/d" + n + "/" + n});
        select(items[1]);
        selected.push_back(items[1]);
    }
    // The stop is asked for while the first removal is under way: it is queued before that
    // removal reports back, so it lands before the next copy is taken, however slow the
    // machine.
    auto stopper = std::make_shared<std::weak_ptr<DuplicatesRemover>>();
    RecordingFileManager fileManager;
    fileManager.afterAttempt = [stopper](const QByteArray&) {
        if (const auto remover = stopper->lock())
            remover->stop();
    };
    auto remover = DuplicatesRemover::create(fileManager);
    *stopper = remover;
    auto listener = std::make_shared<RecordingListener>();
    start(remover, selected, listener, false, true);
    ASSERT_TRUE(TestSupport::waitFor([&] { return listener->finished; }));

    EXPECT_EQ(fileManager.attempts().size(), 1u);
    EXPECT_EQ(listener->removedCount(), 1u);
    int left = 0;
    for (int i = 0; i < 10; ++i)
        left += exists("copies/d" + QByteArray::number(i) + "/" + QByteArray::number(i));
    EXPECT_EQ(left, 9);
    // The folder of the one removed copy still went through the empty-folder pass.
    int folders = 0;
    for (int i = 0; i < 10; ++i)
        folders += exists("copies/d" + QByteArray::number(i));
    EXPECT_EQ(folders, 9);
    EXPECT_TRUE(remover->getNotRemovedInfo().has_value());
    EXPECT_FALSE(remover->getItemsThatNeedToRetryRemovePermanently().has_value());
    EXPECT_FALSE(remover->getRemoteDisksInfo().has_value());

    // A stop before the copies have all been looked at (they are, over the next turns of the
    // event loop) ends the run before any file is touched.
    RecordingFileManager untouched;
    auto early = DuplicatesRemover::create(untouched);
    auto earlyListener = std::make_shared<RecordingListener>();
    start(early, selected, earlyListener, false, true);
    EXPECT_FALSE(earlyListener->finished);
    early->stop();
    ASSERT_TRUE(TestSupport::waitFor([&] { return earlyListener->finished; }));
    EXPECT_TRUE(untouched.attempts().empty());
    EXPECT_EQ(earlyListener->removedCount(), 0u);
    left = 0;
    for (int i = 0; i < 10; ++i)
        left += exists("copies/d" + QByteArray::number(i) + "/" + QByteArray::number(i));
    EXPECT_EQ(left, 9);
    EXPECT_FALSE(early->getItemsThatNeedToRetryRemovePermanently().has_value());
}

TEST_F(DuplicatesRemoverTest, ACopyThatLeavesTheResultBeforeItIsPlannedIsLeftAlone) {
    Items selected;
    for (int i = 0; i < 3; ++i) {
        const QByteArray n = QByteArray::number(i);
        write("keep/" + n, "data " + n);
        write("copies/" + n, "data " + n);
    }
    scan();
    for (int i = 0; i < 3; ++i) {
        const QByteArray n = QByteArray::number(i);
        const Items items = group({"keep/" + n, "copies/" + n});
        select(items[1]);
        selected.push_back(items[1]);
    }
    RecordingFileManager fileManager;
    auto remover = DuplicatesRemover::create(fileManager);
    auto listener = std::make_shared<RecordingListener>();
    start(remover, selected, listener, false, false);
    // Excluded before the run has looked at it (that happens over the next turns).
    m_container->removeDuplicateItemsFromLogicalStructure({selected[1]});
    ASSERT_TRUE(TestSupport::waitFor([&] { return listener->finished; }));

    EXPECT_EQ(fileManager.attempts().size(), 2u);
    EXPECT_FALSE(exists("copies/0"));
    EXPECT_TRUE(exists("copies/1"));
    EXPECT_FALSE(exists("copies/2"));
    EXPECT_EQ(listener->removedCount(), 2u);
    EXPECT_EQ(remover->getCountOfItems(), 2u);
    EXPECT_EQ(remover->getNotRemovedInfo().value_or(std::vector<NotRemovedInfo>()).size(), 0u);
}

// A tmpfs is a volume without a Trash; where none can be mounted, the file manager plays
// one under a folder of the temporary tree.
class ScratchVolume {
public:
    explicit ScratchVolume(const QByteArray& fallback) : m_path(fallback) {
        if (::geteuid() == 0 && m_dir.isValid() &&
            ::mount("sorvanta-test", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                    "size=4m") == 0) {
            m_mounted = true;
            m_path = QFile::encodeName(m_dir.path());
        }
    }
    ~ScratchVolume() {
        if (m_mounted)
            ::umount2(m_path.constData(), MNT_DETACH);
    }
    bool isMounted() const { return m_mounted; }
    const QByteArray& path() const { return m_path; }

private:
    QTemporaryDir m_dir;
    QByteArray m_path;
    bool m_mounted = false;
};

TEST_F(DuplicatesRemoverTest, AVolumeWithoutTrashSendsItsCopiesToTheRetrySetWithItsName) {
    ScratchVolume volume(path("stick"));
    const QByteArray stick = volume.path();
    ASSERT_TRUE(TestSupport::writeFile(stick + "/v/one.bin", "one"));
    ASSERT_TRUE(TestSupport::writeFile(stick + "/v/second.bin", "two!"));
    write("keep/one.bin", "one");
    write("keep/second.bin", "two!");
    scan();
    // The scanned tree of the volume is a second root.
    auto volumeTree = ScanTree::create();
    VolumeSystemItem* volumeRoot = VolumeSystemItem::initWithPath(*volumeTree, stick, 0, 0);
    FolderSystemItem* v =
        FolderSystemItem::initWithPathSize(*volumeTree, "v", volumeRoot, 0, false, 0, false, 0);
    FileSystemItem* one =
        FileSystemItem::initWithPathSize(*volumeTree, "one.bin", v, 4096, 0, false, 3);
    FileSystemItem* two =
        FileSystemItem::initWithPathSize(*volumeTree, "second.bin", v, 4096, 0, false, 4);
    m_container->saveRoots({m_container->getRoots().front(), volumeRoot});
    const auto groupOne = m_container->addGroupWithItems({node("keep/one.bin"), one});
    const auto groupTwo = m_container->addGroupWithItems({node("keep/second.bin"), two});
    ASSERT_TRUE(groupOne && groupTwo);
    Items selected;
    for (const auto& g : {groupOne, groupTwo}) {
        for (const auto& item : g->getItems()) {
            if (item->getFileItemPath().startsWith(stick)) {
                select(item);
                selected.push_back(item);
            }
        }
    }

    RecordingFileManager fileManager;
    if (!volume.isMounted())
        fileManager.noTrashPrefix = stick + "/";
    auto remover = DuplicatesRemover::create(fileManager);
    auto listener = std::make_shared<RecordingListener>();
    run(remover, selected, listener, true, false);

    // The longer path goes first and is refused; the other is not even tried.
    EXPECT_EQ(fileManager.attemptsAt(stick + "/v/second.bin"), 1);
    EXPECT_EQ(fileManager.attemptsAt(stick + "/v/one.bin"), 0);
    EXPECT_TRUE(QFile::exists(QFile::decodeName(stick + "/v/one.bin")));
    EXPECT_TRUE(QFile::exists(QFile::decodeName(stick + "/v/second.bin")));
    EXPECT_TRUE(remover->getNotRemovedInfo()->empty());
    const auto retry = remover->getItemsThatNeedToRetryRemovePermanently();
    ASSERT_TRUE(retry.has_value());
    EXPECT_EQ(retry->size(), 2u);
    const auto disks = remover->getRemoteDisksInfo();
    ASSERT_TRUE(disks.has_value());
    ASSERT_EQ(disks->size(), 1);
    EXPECT_EQ(disks->firstKey(), stick + "/");
    EXPECT_EQ(disks->first(),
              volume.isMounted() ? QFile::decodeName(stick).section('/', -1) : "Stick");

    // The caller's retry: the same copies, deleted permanently.
    auto retryRemover = DuplicatesRemover::create(fileManager);
    auto retryListener = std::make_shared<RecordingListener>();
    run(retryRemover, *retry, retryListener, false, false);
    EXPECT_EQ(retryListener->removedCount(), 2u);
    EXPECT_FALSE(QFile::exists(QFile::decodeName(stick + "/v/one.bin")));
    EXPECT_FALSE(QFile::exists(QFile::decodeName(stick + "/v/second.bin")));
}

TEST_F(DuplicatesRemoverTest, CopiesThatChangedOrLostTheirOtherCopiesAreNotRemoved) {
    struct Case {
        QByteArray name;
        QByteArray removedCopy; // selected
        QByteArray keptCopy;
        std::function<void(RemoverFixture&)> afterScan;
        int expectedError; // 0: removed
        bool isFolder = false;
    };
    const auto grow = [](const QByteArray& rel) {
        return [rel](RemoverFixture& f) {
            QFile file(QFile::decodeName(f.path(rel)));
            ASSERT_TRUE(file.open(QIODevice::Append));
            file.write("!");
        };
    };
    const auto touch = [](const QByteArray& rel) {
        return [rel](RemoverFixture& f) {
            // Same size, same content length, a later modification time.
            const timespec times[2] = {{0, UTIME_OMIT}, {2000000000, 0}};
            ASSERT_EQ(::utimensat(AT_FDCWD, f.path(rel).constData(), times, 0), 0);
        };
    };
    const auto erase = [](const QByteArray& rel) {
        return
            [rel](RemoverFixture& f) { QDir(QFile::decodeName(f.path(rel))).removeRecursively(); };
    };
    const auto add = [](const QByteArray& rel) {
        return
            [rel](RemoverFixture& f) { ASSERT_TRUE(TestSupport::writeFile(f.path(rel), "new")); };
    };
    const auto link = [](const QByteArray& rel) {
        return
            [rel](RemoverFixture& f) { ASSERT_EQ(::symlink("/tmp", f.path(rel).constData()), 0); };
    };
    const auto erasedFile = [](const QByteArray& rel) {
        return [rel](RemoverFixture& f) {
            ASSERT_TRUE(QFile::remove(QFile::decodeName(f.path(rel))));
        };
    };
    const int changed = DuplicatesRemover::FileChangedAfterScanError;
    const int noOther = DuplicatesRemover::NoOtherCopyLeftError;
    const std::vector<Case> cases = {
        {"untouched", "a/file.txt", "b/file.txt", [](RemoverFixture&) {}, 0},
        {"grown", "a/grown.txt", "b/grown.txt", grow("a/grown.txt"), changed},
        {"touched", "a/touched.txt", "b/touched.txt", touch("a/touched.txt"), changed},
        {"kept copy vanished", "a/lonely.txt", "b/lonely.txt", erasedFile("b/lonely.txt"), noOther},
        {"kept copy changed", "a/other.txt", "b/other.txt", touch("b/other.txt"), noOther},
        {"folder untouched", "fa/same", "fb/same", [](RemoverFixture&) {}, 0, true},
        {"folder gained a file", "fa/gained", "fb/gained", add("fa/gained/sub/new.txt"), changed,
         true},
        {"folder gained a link", "fa/linked", "fb/linked", link("fa/linked/sub/link"), changed,
         true},
        {"folder lost a file", "fa/lost", "fb/lost", erase("fa/lost/sub"), changed, true},
        {"kept folder changed", "fa/keptchanged", "fb/keptchanged", add("fb/keptchanged/extra.txt"),
         noOther, true},
    };
    for (const Case& c : cases) {
        if (c.isFolder) {
            for (const QByteArray& copy : {c.removedCopy, c.keptCopy}) {
                write(copy + "/top.txt", "top " + c.name);
                write(copy + "/sub/deep.txt", "deep " + c.name);
                write(copy + "/.DS_Store", "never scanned");
            }
        } else {
            write(c.removedCopy, "content " + c.name);
            write(c.keptCopy, "content " + c.name);
        }
    }
    scan();
    Items selected;
    std::vector<std::shared_ptr<DuplicateItem>> byCase;
    for (const Case& c : cases) {
        const Items items = group({c.keptCopy, c.removedCopy});
        ASSERT_EQ(items.size(), 2u) << c.name.constData();
        select(items[1]);
        selected.push_back(items[1]);
        byCase.push_back(items[1]);
    }
    for (const Case& c : cases)
        c.afterScan(*this);

    auto remover = DuplicatesRemover::create();
    auto listener = std::make_shared<RecordingListener>();
    run(remover, selected, listener, false, false);

    const auto notRemoved = *remover->getNotRemovedInfo();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name.constData());
        const auto found =
            std::find_if(notRemoved.begin(), notRemoved.end(),
                         [&](const NotRemovedInfo& info) { return info.item == byCase[i]; });
        if (c.expectedError == 0) {
            EXPECT_EQ(found, notRemoved.end());
            EXPECT_FALSE(exists(c.removedCopy));
            continue;
        }
        ASSERT_NE(found, notRemoved.end());
        ASSERT_TRUE(found->error.has_value());
        EXPECT_EQ(found->error->code, c.expectedError);
        EXPECT_EQ(found->error->description, c.expectedError == changed
                                                 ? QStringLiteral("The file changed after the scan")
                                                 : QStringLiteral("No other copy is left"));
        EXPECT_TRUE(exists(c.removedCopy));
    }
    EXPECT_EQ(listener->removedCount(), 2u);
    EXPECT_EQ(notRemoved.size(), cases.size() - 2);
}

TEST_F(DuplicatesRemoverTest, AGroupRemadeByAMoveKeepsTheTimesOfItsFirstGrouping) {
    // Both groups are hidden and brought back by a clean-up after the scan, which remakes
    // them with new copies; the copy edited before that (size kept, later time) must still
    // count as changed after the scan, the untouched one is removed.
    for (const QByteArray& name : {QByteArray("edited.txt"), QByteArray("untouched.txt")}) {
        write("a/" + name, "content " + name);
        write("b/" + name, "content " + name);
    }
    scan();
    std::vector<DuplicateItem::ScannedIdentity> firstIdentities;
    for (const QByteArray& name : {QByteArray("edited.txt"), QByteArray("untouched.txt")}) {
        const Items items = group({"b/" + name, "a/" + name});
        ASSERT_EQ(items.size(), 2u);
        // The grouping recorded which file the path held, as lstat tells it.
        struct stat st {};
        ASSERT_EQ(::lstat(path("a/" + name).constData(), &st), 0);
        const DuplicateItem::ScannedIdentity& identity = items[1]->getScannedIdentity();
        EXPECT_EQ(identity.device, std::uint64_t(st.st_dev));
        EXPECT_EQ(identity.inode, std::uint64_t(st.st_ino));
        EXPECT_EQ(identity.changeTimeNs,
                  std::int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec);
        EXPECT_EQ(identity.modificationTimeNs,
                  std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec);
        firstIdentities.push_back(identity);
        items[0]->getGroup()->moveToCategory(m_container->getHiddenCategoryOfDuplicates());
    }
    const timespec times[2] = {{0, UTIME_OMIT}, {2000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path("a/edited.txt").constData(), times, 0), 0);
    m_container->validateEmptyDataAfterRemoveWithListener(nullptr);
    ASSERT_EQ(m_container->getHiddenCategoryOfDuplicates()->getGroupsCount(), 0u);

    Items selected;
    for (const QByteArray& name : {QByteArray("edited.txt"), QByteArray("untouched.txt")}) {
        const DuplicateItem* remade = node("a/" + name)->getDuplicateItem();
        ASSERT_TRUE(remade);
        EXPECT_EQ(remade->getScannedIdentity(), firstIdentities[selected.size()]);
        const auto group = remade->getGroup();
        ASSERT_TRUE(group && group->getCategory() != m_container->getHiddenCategoryOfDuplicates());
        for (const auto& item : group->getItems()) {
            if (item.get() == remade) {
                select(item);
                selected.push_back(item);
            }
        }
    }
    ASSERT_EQ(selected.size(), 2u);

    auto remover = DuplicatesRemover::create();
    auto listener = std::make_shared<RecordingListener>();
    run(remover, selected, listener, false, false);

    const auto notRemoved = *remover->getNotRemovedInfo();
    ASSERT_EQ(notRemoved.size(), 1u);
    EXPECT_EQ(notRemoved.front().item, selected[0]);
    ASSERT_TRUE(notRemoved.front().error.has_value());
    EXPECT_EQ(notRemoved.front().error->code, DuplicatesRemover::FileChangedAfterScanError);
    EXPECT_EQ(notRemoved.front().error->description,
              QStringLiteral("The file changed after the scan"));
    EXPECT_TRUE(exists("a/edited.txt"));
    EXPECT_FALSE(exists("a/untouched.txt"));
    EXPECT_TRUE(exists("b/untouched.txt"));
}

TEST_F(DuplicatesRemoverTest, APermissionRefusalGoesToThePrivilegedToolUnlessTheFolderIsLocked) {
    AuthorizationManager::GetInstance().setLauncher({});
    write("protected/copy.bin", "payload");
    write("locked/copy.bin", "payload2");
    write("keep/copy.bin", "payload");
    write("keep/copy2.bin", "payload2");
    scan();
    const Items first = group({"keep/copy.bin", "protected/copy.bin"});
    const Items second = group({"keep/copy2.bin", "locked/copy.bin"});
    select(first[1]);
    select(second[1]);

    // As root nothing is refused for want of permission: the file manager refuses here.
    RecordingFileManager fileManager;
    fileManager.refuseRemovalPrefix = path("protected/");
    DuplicatesRootRemover rootRemover(QCoreApplication::applicationDirPath() + "/../app/Tarvique");
    auto remover = DuplicatesRemover::create(fileManager, &rootRemover);
    auto listener = std::make_shared<RecordingListener>();
    run(remover, {first[1]}, listener, false, false);
    EXPECT_FALSE(exists("protected/copy.bin"));
    EXPECT_EQ(listener->removedCount(), 1u);
    EXPECT_TRUE(remover->getNotRemovedInfo()->empty());
    EXPECT_GT(rootRemover.toolProcessId(), 0);

    // A refusal inside a locked folder is not handed to the tool.
    const int fd = ::open(path("locked").constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    int flags = 0;
    const bool locked = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                        ::ioctl(fd, FS_IOC_SETFLAGS, &(flags |= FS_IMMUTABLE_FL)) == 0;
    if (!locked) {
        ::close(fd);
        GTEST_SKIP() << "the immutable attribute cannot be set here";
    }
    fileManager.refuseRemovalPrefix = path("locked/");
    DuplicatesRootRemover unusedTool(QCoreApplication::applicationDirPath() + "/../app/Tarvique");
    auto lockedRemover = DuplicatesRemover::create(fileManager, &unusedTool);
    auto lockedListener = std::make_shared<RecordingListener>();
    run(lockedRemover, {second[1]}, lockedListener, false, false);
    flags &= ~FS_IMMUTABLE_FL;
    ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    ::close(fd);

    EXPECT_TRUE(exists("locked/copy.bin"));
    EXPECT_EQ(unusedTool.toolProcessId(), 0);
    const auto notRemoved = *lockedRemover->getNotRemovedInfo();
    ASSERT_EQ(notRemoved.size(), 1u);
    ASSERT_TRUE(notRemoved[0].error.has_value());
    EXPECT_EQ(notRemoved[0].error->code, FileManager::NoWritePermissionError);
}

} // namespace
