#include "Walker/MD5Hash.h"
#include "TestSupport.h"
#include "Walker/FileManagerUtils.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Bytes that differ from position to position, so a piece taken from the wrong place
// gives a different digest.
QByteArray patternBytes(qsizetype size, quint32 seed = 1) {
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 x = seed * 2654435761u + 1;
    for (qsizetype i = 0; i < size; ++i) {
        x = x * 1664525u + 1013904223u;
        bytes[i] = static_cast<char>(x >> 24);
    }
    return bytes;
}

QString md5Of(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

QString md5sumOf(const QByteArray& path) {
    QProcess md5sum;
    md5sum.start("md5sum", {QFile::decodeName(path)});
    if (!md5sum.waitForFinished(30000) || md5sum.exitCode() != 0)
        return {};
    return QString::fromLatin1(md5sum.readAllStandardOutput().left(32));
}

class MD5HashTest : public ::testing::Test {
protected:
    QByteArray pathFor(const char* name) const {
        return QFile::encodeName(m_dir.path()) + "/" + name;
    }
    QByteArray makeFile(const char* name, const QByteArray& contents) const {
        const QByteArray path = pathFor(name);
        EXPECT_TRUE(TestSupport::writeFile(path, contents));
        return path;
    }
    QTemporaryDir m_dir;
};

TEST_F(MD5HashTest, WholeFileDigestEqualsMd5sumForEverySize) {
    // Also around the whole-file read length (64 KiB): one read, one full read then the end,
    // and several reads.
    for (const qsizetype size :
         {0, 1, 8191, 8192, 8193, 24575, 24576, 65535, 65536, 65537, 2 * 65536, 1024 * 1024 + 3}) {
        SCOPED_TRACE(size);
        const QByteArray path = makeFile("whole", patternBytes(size, static_cast<quint32>(size)));
        const QString expected = md5sumOf(path);
        ASSERT_EQ(expected.size(), 32);
        EXPECT_EQ(MD5HashOfFile(path, 0), expected);
        EXPECT_EQ(MD5HashOfFile(path, 1000), expected); // the read length changes nothing
        EXPECT_EQ(MD5HashOfFile(path, 1 << 20), expected);
        EXPECT_EQ(FileManagerUtils::hashforFile(path), expected);
        // Below three blocks the partial form hashes the whole file.
        if (size < 3 * 8192) {
            EXPECT_EQ(
                FileManagerUtils::hashforFilePartlyWithSizeHashPartBlockLengthForFilesGreatherThan(
                    path, static_cast<quint64>(size), 8192, 3 * 8192),
                expected);
        }
    }
    EXPECT_EQ(MD5HashOfFile(makeFile("empty", {}), 0), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST_F(MD5HashTest, PartialDigestTakesStartEndAndMiddlePieces) {
    struct Case {
        qsizetype size;
        quint64 block;
        qsizetype end;
        qsizetype middle;
    };
    const Case cases[] = {
        {24576, 8192, 16384, 8192},  // the smallest file hashed in pieces
        {40000, 8192, 28672, 12288}, // later pieces floored to 4096-byte pages
        {1024 * 1024 + 3, 8192, 1040384, 520192},
        {12289, 4096, 8192, 4096}, // just above three pages: floored
        {12000, 4000, 8000, 4000}, // three blocks below 12289 bytes: unrounded
        {3001, 1000, 2001, 1000},  // unrounded, block below the read length
        {10000, 3333, 6667, 3333},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " / " << c.block);
        const QByteArray bytes = patternBytes(c.size, static_cast<quint32>(c.size + c.block));
        const QByteArray path = makeFile("partial", bytes);
        const qsizetype block = static_cast<qsizetype>(c.block);
        const QString expected =
            md5Of(bytes.mid(0, block) + bytes.mid(c.end, block) + bytes.mid(c.middle, block));
        EXPECT_EQ(MD5HashOfFilePartly(path, 0, static_cast<quint64>(c.size), 3 * c.block, c.block),
                  expected);
        EXPECT_NE(expected, md5Of(bytes));
    }
}

TEST_F(MD5HashTest, PartialDigestFallsBackToWholeFile) {
    const QByteArray bytes = patternBytes(30000);
    const QByteArray path = makeFile("f", bytes);
    const QString whole = md5Of(bytes);
    // Below the threshold, shorter than three blocks, or with a block of 0 (three empty
    // pieces would make every file alike) the whole file is hashed.
    EXPECT_EQ(MD5HashOfFilePartly(path, 0, 30000, 30001, 8192), whole);
    EXPECT_EQ(MD5HashOfFilePartly(path, 0, 30000, 0, 10001), whole);
    EXPECT_EQ(MD5HashOfFilePartly(path, 0, 30000, 0, 0), whole);
    EXPECT_EQ(MD5HashOfFilePartly(path, 0, 30000, 0, ~0ull), whole);
    EXPECT_NE(MD5HashOfFilePartly(path, 0, 30000, 24576, 8192), whole);
}

TEST_F(MD5HashTest, FilesEqualInTheirPiecesShareThePartialDigestOnly) {
    QByteArray a = patternBytes(100000);
    QByteArray b = a;
    b[30000] = static_cast<char>(b[30000] ^ 0x5a); // outside [0,8192), [45056,53248), [90112,..)
    const QByteArray pathA = makeFile("a", a);
    const QByteArray pathB = makeFile("b", b);
    EXPECT_EQ(MD5HashOfFilePartly(pathA, 0, 100000, 24576, 8192),
              MD5HashOfFilePartly(pathB, 0, 100000, 24576, 8192));
    EXPECT_NE(MD5HashOfFile(pathA, 0), MD5HashOfFile(pathB, 0));
}

TEST_F(MD5HashTest, AnythingButAReadableRegularFileGivesNoDigest) {
    const QByteArray target = makeFile("target", patternBytes(50000));
    const QByteArray link = pathFor("link");
    ASSERT_EQ(::symlink(target.constData(), link.constData()), 0);
    const QByteArray fifo = pathFor("fifo");
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0); // must neither hang nor be read
    const QByteArray folder = QFile::encodeName(m_dir.path());
    // /proc/self/mem is a regular file whose first page cannot be read: a read error.
    const QByteArray unreadable = "/proc/self/mem";

    for (const QByteArray& path :
         {pathFor("missing"), link, fifo, folder, unreadable, QByteArray()}) {
        SCOPED_TRACE(path.constData());
        EXPECT_FALSE(FileManagerUtils::hashforFile(path).has_value());
        EXPECT_FALSE(
            FileManagerUtils::hashforFilePartlyWithSizeHashPartBlockLengthForFilesGreatherThan(
                path, 50000, 8192, 24576)
                .has_value());
        EXPECT_FALSE(MD5HashOfFilePartly(path, 0, 1000, 24576, 8192).has_value());
    }
    EXPECT_TRUE(FileManagerUtils::hashforFile(target).has_value());
}

TEST_F(MD5HashTest, NamesThatAreNotUtf8AreHashed) {
    const QByteArray bytes = patternBytes(5000);
    // Written through the raw bytes: decoding such a name for Qt would change it.
    const QByteArray path = pathFor("bad-\xff\xfe-name");
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, bytes.constData(), bytes.size()), bytes.size());
    ::close(fd);
    EXPECT_EQ(FileManagerUtils::hashforFile(path), md5Of(bytes));
}

TEST_F(MD5HashTest, LockedMeansTheImmutableAttribute) {
    const QByteArray path = makeFile("locked", "x");
    EXPECT_FALSE(FileManagerUtils::isFileLocked(pathFor("missing")));
    EXPECT_FALSE(FileManagerUtils::isFileLocked(path));

    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    int flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0) {
        ::close(fd);
        GTEST_SKIP() << "this file system keeps no inode flags";
    }
    int locked = flags | FS_IMMUTABLE_FL;
    if (::ioctl(fd, FS_IOC_SETFLAGS, &locked) != 0) {
        ::close(fd);
        GTEST_SKIP() << "setting the immutable attribute needs privileges (errno " << errno << ")";
    }
    const bool answer = FileManagerUtils::isFileLocked(path);
    ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    ::close(fd);
    EXPECT_TRUE(answer);
    EXPECT_FALSE(FileManagerUtils::isFileLocked(path));
}

} // namespace
