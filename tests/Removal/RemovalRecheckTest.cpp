// The re-check right before each removal, against copies changed after the scan in every
// way that leaves size and modification time as they were: a folder on the way replaced by
// a link, a rewrite with the time put back, a kept copy replaced by a link, a hard link or
// another file. In each the run must keep a real copy of the original bytes and say why.
#include "RemoverFixture.h"

#include "Categories/Settings.h"

#include <QDirIterator>

#include <fcntl.h>
#include <unistd.h>

namespace {

using Items = std::vector<std::shared_ptr<DuplicateItem>>;

class RemovalRecheckTest : public RemoverFixture {
public:
    void TearDown() override { Settings::setAllowRemovingAllDuplicateCopies(false); }

    bool removeTree(const QByteArray& relative) {
        FileError error;
        return FileManager::defaultManager().removeItemAtPath(path(relative), &error);
    }
    // Rewrites a file in place with other bytes of the same length and puts its times back.
    bool rewriteKeepingTimes(const QByteArray& relative) {
        struct stat before {};
        if (::lstat(path(relative).constData(), &before) != 0)
            return false;
        const int fd = ::open(path(relative).constData(), O_WRONLY | O_CLOEXEC);
        if (fd < 0)
            return false;
        const QByteArray other(int(before.st_size), 'Z');
        const bool written =
            ::pwrite(fd, other.constData(), size_t(other.size()), 0) == other.size();
        ::close(fd);
        const timespec times[2] = {before.st_atim, before.st_mtim};
        return written && ::utimensat(AT_FDCWD, path(relative).constData(), times, 0) == 0;
    }
    // Puts another file with other bytes of the same size and the same times in its place.
    bool replaceWithLookAlike(const QByteArray& relative) {
        struct stat before {};
        if (::lstat(path(relative).constData(), &before) != 0)
            return false;
        const QByteArray spare = relative + ".spare";
        if (!TestSupport::writeFile(path(spare), QByteArray(int(before.st_size), 'Q')))
            return false;
        const timespec times[2] = {before.st_atim, before.st_mtim};
        return ::utimensat(AT_FDCWD, path(spare).constData(), times, 0) == 0 &&
               ::rename(path(spare).constData(), path(relative).constData()) == 0;
    }
};

TEST_F(RemovalRecheckTest, ACopyChangedAfterTheScanOrWithoutARealOtherCopyStays) {
    const int changed = DuplicatesRemover::FileChangedAfterScanError;
    const int noOther = DuplicatesRemover::NoOtherCopyLeftError;
    struct Case {
        const char* name;
        bool folders; // the copies are folders "keep/d" and "rm/d" rather than files
        int expected; // the error the removed copy gets; 0: it is removed
        std::function<bool(RemovalRecheckTest&, const QByteArray& base)> change;
        bool beforeScan = false; // the change is made before the scan, not after it
    };
    const std::vector<Case> cases = {
        {"untouched", false, 0, [](auto&, const QByteArray&) { return true; }},
        {"kept copy's folder now a link to the removed copy's", false, noOther,
         [](RemovalRecheckTest& t, const QByteArray& base) {
             return t.removeTree(base + "/keep") &&
                    ::symlink("rm", t.path(base + "/keep").constData()) == 0;
         }},
        {"removed copy's folder now a link to the kept copy's", false, changed,
         [](RemovalRecheckTest& t, const QByteArray& base) {
             return t.removeTree(base + "/rm") &&
                    ::symlink("keep", t.path(base + "/rm").constData()) == 0;
         }},
        {"kept folder copy reached through a link to the removed one's", true, noOther,
         [](RemovalRecheckTest& t, const QByteArray& base) {
             return t.removeTree(base + "/keep") &&
                    ::symlink("rm", t.path(base + "/keep").constData()) == 0;
         }},
        {"removed folder copy reached through a link to the kept one's", true, changed,
         [](RemovalRecheckTest& t, const QByteArray& base) {
             return t.removeTree(base + "/rm") &&
                    ::symlink("keep", t.path(base + "/rm").constData()) == 0;
         }},
        {"kept copy rewritten, its time put back", false, noOther,
         [](RemovalRecheckTest& t, const QByteArray& base) {
             return t.rewriteKeepingTimes(base + "/keep/x.bin");
         }},
        {"removed copy rewritten, its time put back", false, changed,
         [](RemovalRecheckTest& t, const QByteArray& base) {
             return t.rewriteKeepingTimes(base + "/rm/x.bin");
         }},
        {"kept copy now a symbolic link to the removed one", false, noOther,
         [](RemovalRecheckTest& t, const QByteArray& base) {
             return ::unlink(t.path(base + "/keep/x.bin").constData()) == 0 &&
                    ::symlink("../rm/x.bin", t.path(base + "/keep/x.bin").constData()) == 0;
         }},
        {"a file deep in the kept folder copy rewritten, its time put back", true, noOther,
         [](RemovalRecheckTest& t, const QByteArray& base) {
             return t.rewriteKeepingTimes(base + "/keep/d/sub/two.bin");
         }},
        {"a file deep in the removed folder copy rewritten, its time put back", true, changed,
         [](RemovalRecheckTest& t, const QByteArray& base) {
             return t.rewriteKeepingTimes(base + "/rm/d/sub/two.bin");
         }},
        {"untouched folder copies", true, 0, [](auto&, const QByteArray&) { return true; }},
        // A new name for the removed copy changes its own status (its link count) too.
        {"kept copy now a hard link of the removed one", false, changed,
         [](RemovalRecheckTest& t, const QByteArray& base) {
             return ::unlink(t.path(base + "/keep/x.bin").constData()) == 0 &&
                    ::link(t.path(base + "/rm/x.bin").constData(),
                           t.path(base + "/keep/x.bin").constData()) == 0;
         }},
        {"kept copy replaced by another file of its size and time", false, noOther,
         [](RemovalRecheckTest& t, const QByteArray& base) {
             return t.replaceWithLookAlike(base + "/keep/x.bin");
         }},
        // Both names of one file were scanned: the kept one is no other copy.
        {"kept copy the same file as the removed one from the start", false, noOther,
         [](RemovalRecheckTest& t, const QByteArray& base) {
             return ::unlink(t.path(base + "/keep/x.bin").constData()) == 0 &&
                    ::link(t.path(base + "/rm/x.bin").constData(),
                           t.path(base + "/keep/x.bin").constData()) == 0;
         },
         true},
    };

    for (const bool toTrash : {true, false}) {
        SCOPED_TRACE(toTrash ? "to the Trash" : "permanently");
        ASSERT_TRUE(TestSupport::emptyUserTrash());
        const QByteArray mode = toTrash ? "trash" : "delete";
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const QByteArray base = mode + "/case" + QByteArray::number(qulonglong(i));
            const QByteArray contents = "the original bytes of " + base;
            for (const char* side : {"/keep", "/rm"}) {
                if (cases[i].folders) {
                    write(base + side + "/d/one.bin", contents);
                    write(base + side + "/d/sub/two.bin", contents + " two");
                } else {
                    write(base + side + "/x.bin", contents);
                }
            }
            if (cases[i].beforeScan) {
                ASSERT_TRUE(cases[i].change(*this, base)) << cases[i].name;
            }
        }
        scan();
        Items removed;
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const QByteArray base = mode + "/case" + QByteArray::number(qulonglong(i));
            const QByteArray copy = cases[i].folders ? "/d" : "/x.bin";
            const Items items = group({base + "/keep" + copy, base + "/rm" + copy});
            ASSERT_EQ(items.size(), 2u) << cases[i].name;
            select(items[1]);
            removed.push_back(items[1]);
        }
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const QByteArray base = mode + "/case" + QByteArray::number(qulonglong(i));
            if (!cases[i].beforeScan) {
                ASSERT_TRUE(cases[i].change(*this, base)) << cases[i].name;
            }
        }

        auto remover = DuplicatesRemover::create();
        auto listener = std::make_shared<RecordingListener>();
        run(remover, removed, listener, toTrash, false);

        const auto notRemoved = *remover->getNotRemovedInfo();
        for (std::size_t i = 0; i < cases.size(); ++i) {
            SCOPED_TRACE(cases[i].name);
            const QByteArray base = mode + "/case" + QByteArray::number(qulonglong(i));
            const auto found =
                std::find_if(notRemoved.begin(), notRemoved.end(),
                             [&](const NotRemovedInfo& info) { return info.item == removed[i]; });
            if (cases[i].expected == 0) {
                EXPECT_EQ(found, notRemoved.end());
                EXPECT_FALSE(exists(base + (cases[i].folders ? "/rm/d" : "/rm/x.bin")));
                continue;
            }
            ASSERT_NE(found, notRemoved.end());
            ASSERT_TRUE(found->error.has_value());
            EXPECT_EQ(found->error->code, cases[i].expected);
            EXPECT_EQ(found->error->description,
                      cases[i].expected == changed
                          ? QStringLiteral("The file changed after the scan")
                          : QStringLiteral("No other copy is left"));
            EXPECT_TRUE(exists(base + (cases[i].folders ? "/rm/d" : "/rm/x.bin")));
        }
        EXPECT_EQ(listener->removedCount(), 2u);
        EXPECT_EQ(notRemoved.size(), cases.size() - 2);
        // Only the copies that went have Trash records: none is left for the others.
        if (toTrash) {
            QStringList records;
            QDirIterator it(trashFolder() + "/info", QDir::Files | QDir::Hidden);
            while (it.hasNext())
                records.append(QFileInfo(it.next()).fileName());
            records.sort();
            EXPECT_EQ(records, (QStringList{QStringLiteral("d.trashinfo"),
                                            QStringLiteral("x.bin.trashinfo")}));
        }
    }
}

TEST_F(RemovalRecheckTest, AGroupWhoseCopiesTheUserAllChoseGoesOnlyWithTheAllowance) {
    for (const bool allowed : {false, true}) {
        SCOPED_TRACE(allowed ? "allowed" : "not allowed");
        ASSERT_TRUE(TestSupport::emptyUserTrash());
        const QByteArray base = allowed ? "allowed" : "guarded";
        write(base + "/one/photo.jpg", "the same photo " + base);
        write(base + "/two/photo.jpg", "the same photo " + base);
        scan();
        Settings::setAllowRemovingAllDuplicateCopies(allowed);
        const Items items = group({base + "/one/photo.jpg", base + "/two/photo.jpg"});
        ASSERT_EQ(items.size(), 2u);
        select(items[0]);
        select(items[1]);
        const std::uint64_t size = items[0]->getFileItemSize() + items[1]->getFileItemSize();
        if (allowed)
            allowAllCopiesToGo();

        auto remover = DuplicatesRemover::create();
        auto listener = std::make_shared<RecordingListener>();
        run(remover, items, listener, true, false);

        const auto notRemoved = *remover->getNotRemovedInfo();
        if (allowed) {
            EXPECT_TRUE(notRemoved.empty());
            EXPECT_EQ(listener->removedCount(), 2u);
            EXPECT_EQ(remover->getTotalRemovedSize(), size);
            EXPECT_FALSE(exists(base + "/one/photo.jpg"));
            EXPECT_FALSE(exists(base + "/two/photo.jpg"));
            EXPECT_TRUE(QFile::exists(trashFolder() + "/files/photo.jpg"));
            EXPECT_TRUE(QFile::exists(trashFolder() + "/files/photo.jpg.2"));
            // The check after each run sees the loss the user asked for.
            EXPECT_FALSE(groupsWithoutARealCopy(m_root, m_groupContents).isEmpty());
        } else {
            ASSERT_EQ(notRemoved.size(), 2u);
            for (const auto& info : notRemoved) {
                ASSERT_TRUE(info.error.has_value());
                EXPECT_EQ(info.error->code, DuplicatesRemover::NoOtherCopyLeftError);
                EXPECT_EQ(info.error->description, QStringLiteral("No other copy is left"));
            }
            EXPECT_EQ(listener->removedCount(), 0u);
            EXPECT_TRUE(exists(base + "/one/photo.jpg"));
            EXPECT_TRUE(exists(base + "/two/photo.jpg"));
        }
    }
}

} // namespace
