#include "Platform/FileManager.h"
#include "Platform/VolumeInfo.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/fsuid.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

QByteArray bytes(const QString& s) {
    return QFile::encodeName(s);
}

QByteArray readAllOf(const QByteArray& path) {
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs `work` with the file-system rights of an ordinary user: as root on a thread of its
// own whose file-system user is "nobody" (the kernel then drops that thread's
// permission-override capabilities); otherwise as is.
void runWithoutRootRights(const std::function<void()>& work) {
    if (::geteuid() != 0) {
        work();
        return;
    }
    std::thread thread([&] {
        ::setfsgid(65534);
        ::setfsuid(65534);
        work();
    });
    thread.join();
}

// A small tmpfs mounted in a temporary folder, where this process may mount one.
class ScratchMount {
public:
    ScratchMount() {
        if (::geteuid() == 0 && m_dir.isValid() &&
            ::mount("sorvanta-test", bytes(m_dir.path()).constData(), "tmpfs", 0, "size=4m") == 0)
            m_mounted = true;
    }
    ~ScratchMount() {
        if (m_mounted)
            ::umount2(bytes(m_dir.path()).constData(), MNT_DETACH);
    }
    bool isMounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

class FileManagerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The home Trash serves files on the home folder's volume: point the home at the
        // temporary per-user folders so that temporary files go to their Trash.
        qputenv("HOME", bytes(QDir(qEnvironmentVariable("XDG_DATA_HOME")).absolutePath() + "/.."));
    }
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_root = bytes(QDir(m_dir.path()).canonicalPath());
        ASSERT_TRUE(TestSupport::emptyUserTrash());
    }
    QByteArray path(const char* relative) const { return m_root + "/" + relative; }
    QByteArray path(const QByteArray& relative) const { return m_root + "/" + relative; }

    QTemporaryDir m_dir{QDir(qEnvironmentVariable("XDG_DATA_HOME") + "/..").absolutePath() +
                        "/fm-XXXXXX"};
    QByteArray m_root;
    FileManager& m_fm = FileManager::defaultManager();
};

TEST_F(FileManagerTest, AttributesComeFromTheItemItselfNeverFromALinkTarget) {
    ASSERT_TRUE(TestSupport::writeFile(path("file"), "12345"));
    ASSERT_TRUE(QDir().mkpath(QFile::decodeName(path("folder"))));
    ASSERT_EQ(::symlink(path("file").constData(), path("link").constData()), 0);
    ASSERT_EQ(::symlink(path("missing").constData(), path("dangling").constData()), 0);

    const FileAttributes file = m_fm.attributesOfItemAtPath(path("file"));
    EXPECT_EQ(file.kind, FileKind::File);
    EXPECT_EQ(file.size, 5);
    struct stat st {};
    ASSERT_EQ(::lstat(path("file").constData(), &st), 0);
    EXPECT_EQ(file.modificationTimeNs,
              std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec);
    EXPECT_EQ(m_fm.attributesOfItemAtPath(path("folder")).kind, FileKind::Folder);
    EXPECT_EQ(m_fm.attributesOfItemAtPath(path("link")).kind, FileKind::Link);
    EXPECT_TRUE(m_fm.fileExistsAtPath(path("dangling")));
    EXPECT_FALSE(m_fm.fileExistsAtPath(path("missing")));
    EXPECT_FALSE(m_fm.fileExistsAtPath(""));
}

TEST_F(FileManagerTest, RemovesAWholeFolderButNothingALinkInsidePointsAt) {
    ASSERT_TRUE(TestSupport::writeFile(path("outside/keep"), "keep"));
    ASSERT_TRUE(TestSupport::writeFile(path("tree/a/b/c.txt"), "c"));
    ASSERT_TRUE(TestSupport::writeFile(path("tree/a/d"), "d"));
    ASSERT_EQ(::symlink(path("outside").constData(), path("tree/a/b/out").constData()), 0);

    FileError error;
    EXPECT_TRUE(m_fm.removeItemAtPath(path("tree"), &error)) << error.description.toStdString();
    EXPECT_FALSE(m_fm.fileExistsAtPath(path("tree")));
    EXPECT_TRUE(m_fm.fileExistsAtPath(path("outside/keep")));

    EXPECT_FALSE(m_fm.removeItemAtPath(path("tree"), &error));
    EXPECT_EQ(error.code, -ENOENT);
}

TEST_F(FileManagerTest, NothingIsReadListedRemovedOrTrashedThroughALinkOnTheWay) {
    ASSERT_TRUE(TestSupport::writeFile(path("real/inner/x"), "the only x"));
    ASSERT_TRUE(TestSupport::writeFile(path("plain"), "a file"));
    ASSERT_EQ(::symlink("real", path("link").constData()), 0);

    const FileAttributes through = m_fm.attributesOfItemAtPath(path("link/inner/x"));
    EXPECT_FALSE(through.exists());
    EXPECT_TRUE(through.throughLink);
    EXPECT_EQ(through.error, ELOOP);
    EXPECT_FALSE(through.isGone()) << "a path through a link is not a path to nothing";
    FileError error;
    EXPECT_FALSE(m_fm.removeItemAtPath(path("link/inner/x"), &error));
    EXPECT_EQ(error.code, -ELOOP);
    EXPECT_FALSE(m_fm.removeItemAtPath(path("link/inner"), &error));
    EXPECT_FALSE(m_fm.trashItemAtPath(path("link/inner/x"), &error));
    EXPECT_EQ(error.code, -ELOOP);
    QList<QByteArray> names;
    EXPECT_FALSE(m_fm.contentsOfDirectoryAtPath(path("link"), &names, &error));
    EXPECT_FALSE(m_fm.contentsOfDirectoryAtPath(path("link/inner"), &names, &error));
    EXPECT_TRUE(m_fm.fileExistsAtPath(path("real/inner/x")));
    EXPECT_FALSE(
        QFileInfo::exists(qEnvironmentVariable("XDG_DATA_HOME") + "/Trash/info/x.trashinfo"));

    // A file on the way, or nothing: the path leads nowhere.
    for (const char* gone : {"plain/x", "missing/x", "real/missing"}) {
        const FileAttributes attributes = m_fm.attributesOfItemAtPath(path(gone));
        EXPECT_TRUE(attributes.isGone()) << gone;
        EXPECT_FALSE(attributes.throughLink) << gone;
    }
    // The attributes name the very item: its inode and change time.
    const FileAttributes x = m_fm.attributesOfItemAtPath(path("real/inner/x"));
    struct stat st {};
    ASSERT_EQ(::lstat(path("real/inner/x").constData(), &st), 0);
    EXPECT_EQ(x.inode, std::uint64_t(st.st_ino));
    EXPECT_EQ(x.changeTimeNs, std::int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec);
}

TEST_F(FileManagerTest, AMoveToTheTrashThatFailsLeavesNoRecord) {
    ASSERT_TRUE(TestSupport::writeFile(path("fixed/file.txt"), "stays"));
    // An immutable folder refuses the rename even to root, once the record is written.
    const int fd = ::open(path("fixed").constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    int flags = 0;
    const bool fixed = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                       ::ioctl(fd, FS_IOC_SETFLAGS, &(flags |= FS_IMMUTABLE_FL)) == 0;
    FileError error;
    const bool trashed = fixed && m_fm.trashItemAtPath(path("fixed/file.txt"), &error);
    if (fixed) {
        flags &= ~FS_IMMUTABLE_FL;
        ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    ::close(fd);
    if (!fixed)
        GTEST_SKIP() << "the immutable attribute cannot be set here";
    EXPECT_FALSE(trashed);
    EXPECT_EQ(error.code, FileManager::NoWritePermissionError);
    EXPECT_TRUE(m_fm.fileExistsAtPath(path("fixed/file.txt")));
    const QDir info(qEnvironmentVariable("XDG_DATA_HOME") + "/Trash/info");
    EXPECT_EQ(info.entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST_F(FileManagerTest, ABindMountOfTheHomeVolumeHasNoTrashAndKeepsNoRecord) {
    ASSERT_TRUE(TestSupport::writeFile(path("source/file.txt"), "seen twice"));
    ASSERT_TRUE(QDir().mkpath(QFile::decodeName(path("view"))));
    if (::geteuid() != 0 || ::mount(path("source").constData(), path("view").constData(), nullptr,
                                    MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "no bind mount can be made here";
    FileError error;
    const bool trashed = m_fm.trashItemAtPath(path("view/file.txt"), &error);
    ::umount2(path("view").constData(), MNT_DETACH);
    EXPECT_FALSE(trashed);
    EXPECT_EQ(error.code, FileManager::VolumeHasNoTrashError);
    EXPECT_TRUE(m_fm.fileExistsAtPath(path("source/file.txt")));
    const QDir info(qEnvironmentVariable("XDG_DATA_HOME") + "/Trash/info");
    EXPECT_EQ(info.entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST_F(FileManagerTest, AnotherVolumeKeepsItsTrashAtItsTop) {
    // A volume of its own that lives on disk (an overlay over temporary folders).
    for (const char* folder : {"lower", "upper", "work", "volume"})
        ASSERT_TRUE(QDir().mkpath(QFile::decodeName(path(folder))));
    const QByteArray options =
        "lowerdir=" + path("lower") + ",upperdir=" + path("upper") + ",workdir=" + path("work");
    if (::geteuid() != 0 ||
        ::mount("overlay", path("volume").constData(), "overlay", 0, options.constData()) != 0)
        GTEST_SKIP() << "no overlay volume can be mounted here";
    const QByteArray uid = QByteArray::number(qulonglong(::getuid()));
    FileError error;
    // No shared Trash: the user's own at the top of the volume, the path kept relative to it.
    const bool first = TestSupport::writeFile(path("volume/dir/file.txt"), "on another volume") &&
                       m_fm.trashItemAtPath(path("volume/dir/file.txt"), &error);
    const QByteArray firstRecord =
        readAllOf(path("volume/.Trash-" + uid + "/info/file.txt.trashinfo"));
    const bool firstThere =
        QFile::exists(QFile::decodeName(path("volume/.Trash-" + uid + "/files/file.txt")));
    // A shared, sticky .Trash at the top: the user's folder inside it.
    const bool shared = ::mkdir(path("volume/.Trash").constData(), 0777) == 0 &&
                        ::chmod(path("volume/.Trash").constData(), 01777) == 0;
    const bool second = shared && TestSupport::writeFile(path("volume/other.txt"), "x") &&
                        m_fm.trashItemAtPath(path("volume/other.txt"), &error);
    const bool secondThere =
        QFile::exists(QFile::decodeName(path("volume/.Trash/" + uid + "/files/other.txt")));
    ::umount2(path("volume").constData(), MNT_DETACH);

    EXPECT_TRUE(first) << error.description.toStdString();
    EXPECT_TRUE(firstThere);
    EXPECT_TRUE(firstRecord.startsWith("[Trash Info]\nPath=dir/file.txt\nDeletionDate="))
        << firstRecord.constData();
    EXPECT_TRUE(second) << error.description.toStdString();
    EXPECT_TRUE(secondThere);
}

TEST_F(FileManagerTest, PermissionFailuresMapToWriteAndReadCodes) {
    ASSERT_TRUE(TestSupport::writeFile(path("locked/file"), "x"));
    ASSERT_TRUE(TestSupport::writeFile(path("unreadable/inner"), "y"));
    ASSERT_TRUE(QFile::setPermissions(QFile::decodeName(path("locked")),
                                      QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                          QFileDevice::ReadOther | QFileDevice::ExeOther));
    ASSERT_EQ(::chmod(path("unreadable").constData(), 0300), 0);
    // Let an ordinary user reach the folders (the temporary home is private).
    ASSERT_EQ(::chmod(m_root.constData(), 0755), 0);
    ASSERT_EQ(::chmod(bytes(QFileInfo(QFile::decodeName(m_root)).path()).constData(), 0711), 0);

    FileError removeError, listError, treeError;
    bool removed = true, listed = true, treeRemoved = true;
    QList<QByteArray> names;
    runWithoutRootRights([&] {
        removed = m_fm.removeItemAtPath(path("locked/file"), &removeError);
        listed = m_fm.contentsOfDirectoryAtPath(path("unreadable"), &names, &listError);
        treeRemoved = m_fm.removeItemAtPath(path("unreadable"), &treeError);
    });
    ::chmod(path("locked").constData(), 0700);
    ::chmod(path("unreadable").constData(), 0700);

    EXPECT_FALSE(removed);
    EXPECT_EQ(removeError.code, FileManager::NoWritePermissionError);
    EXPECT_TRUE(m_fm.fileExistsAtPath(path("locked/file")));
    EXPECT_FALSE(listed);
    EXPECT_EQ(listError.code, FileManager::NoReadPermissionError);
    EXPECT_FALSE(treeRemoved);
    EXPECT_EQ(treeError.code, FileManager::NoReadPermissionError);
    EXPECT_TRUE(m_fm.fileExistsAtPath(path("unreadable/inner")));

    EXPECT_EQ(FileManager::errorCodeForErrno(EROFS, true), FileManager::NoWritePermissionError);
    EXPECT_EQ(FileManager::errorCodeForErrno(EPERM, false), FileManager::NoReadPermissionError);
    EXPECT_EQ(FileManager::errorCodeForErrno(EBUSY, true), -EBUSY);
}

TEST_F(FileManagerTest, TrashMovesItemsToTheUserTrashWithTrashInfoRecords) {
    ASSERT_TRUE(TestSupport::writeFile(path("photo copy.jpg"), "jpeg"));
    ASSERT_TRUE(TestSupport::writeFile(path("album/one"), "1"));

    for (const char* name : {"photo copy.jpg", "album"}) {
        FileError error;
        ASSERT_TRUE(m_fm.trashItemAtPath(path(name), &error)) << error.description.toStdString();
        EXPECT_FALSE(m_fm.fileExistsAtPath(path(name)));
    }

    const QString trash = qEnvironmentVariable("XDG_DATA_HOME") + "/Trash";
    EXPECT_TRUE(QFile::exists(trash + "/files/album/one"));
    QFile info(trash + "/info/photo copy.jpg.trashinfo");
    ASSERT_TRUE(info.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = info.readAll().split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], "[Trash Info]");
    EXPECT_EQ(lines[1], "Path=" + m_root.toPercentEncoding("/") + "/photo%20copy.jpg");
    EXPECT_TRUE(lines[2].startsWith("DeletionDate=2")) << lines[2].constData();
    EXPECT_TRUE(QFile::exists(trash + "/info/album.trashinfo"));
}

TEST_F(FileManagerTest, AVolumeWithoutTrashAnswersItsOwnCodeAndNamesItsMountPoint) {
    ScratchMount mount;
    if (!mount.isMounted())
        GTEST_SKIP() << "no temporary file system can be mounted here";
    const QByteArray mountPoint = bytes(mount.path());
    ASSERT_TRUE(TestSupport::writeFile(mountPoint + "/dir/file", "x"));

    FileError error;
    EXPECT_FALSE(m_fm.trashItemAtPath(mountPoint + "/dir/file", &error));
    EXPECT_EQ(error.code, FileManager::VolumeHasNoTrashError);
    EXPECT_TRUE(m_fm.fileExistsAtPath(mountPoint + "/dir/file"));

    EXPECT_TRUE(VolumeInfo::isVolumeAtPath(mountPoint));
    EXPECT_EQ(VolumeInfo::volumePathPrefixOfPath(mountPoint + "/dir/file"), mountPoint + "/");
    EXPECT_EQ(VolumeInfo::localizedNameOfVolumeForPath(mountPoint + "/dir/file"),
              QFile::decodeName(mountPoint).section('/', -1));
}

TEST(VolumeInfo, PrefixesNamesAndTheUnknownDisk) {
    EXPECT_TRUE(VolumeInfo::isVolumeAtPath("/proc"));
    EXPECT_EQ(VolumeInfo::volumePathPrefixOfPath("/proc/self/status"), "/proc/");
    EXPECT_EQ(VolumeInfo::volumePathPrefixOfPath("/"), "");
    EXPECT_EQ(VolumeInfo::volumePathPrefixOfPath("relative/path"), "");
    EXPECT_EQ(VolumeInfo::localizedNameOfVolumeForPath("/no/such/volume/here"),
              QStringLiteral("Unknown disk"));
}

} // namespace
