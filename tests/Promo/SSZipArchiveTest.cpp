#include "Promo/SSZipArchive.h"

#include "ZipFixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class SSZipArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid());
        // The destination sits two levels down, so a climbing name has somewhere to land.
        m_destination = m_root.filePath(QStringLiteral("outer/dest"));
        ASSERT_TRUE(QDir().mkpath(m_destination));
        m_archive = m_root.filePath(QStringLiteral("a.zip"));
    }

    bool unzip(const QList<ZipFixture::Entry>& entries) {
        EXPECT_TRUE(ZipFixture::write(m_archive, entries));
        return SSZipArchive::unzipFileAtPath(m_archive, m_destination);
    }

    // Every path under the temporary root, relative to it, except the archive itself.
    QStringList everything() const {
        QStringList found;
        QDirIterator it(m_root.path(),
                        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = QDir(m_root.path()).relativeFilePath(it.next());
            if (path != QLatin1String("a.zip"))
                found << path;
        }
        found.sort();
        return found;
    }

    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    QTemporaryDir m_root;
    QString m_destination;
    QString m_archive;
};

} // namespace

TEST_F(SSZipArchiveTest, UnpacksFilesAndFoldersWithBackslashSeparators) {
    ASSERT_TRUE(unzip({{"zembrook.html", "<html>page</html>"},
                       {"img\\logo.svg", "<svg/>", 0},
                       {"deep/er/", {}},
                       {"deep/er/f.txt", QByteArray(10000, 'x')}}));
    EXPECT_EQ(read(m_destination + "/zembrook.html"), "<html>page</html>");
    EXPECT_EQ(read(m_destination + "/img/logo.svg"), "<svg/>");
    EXPECT_EQ(read(m_destination + "/deep/er/f.txt"), QByteArray(10000, 'x'));
    // Folder dates are set last, so writing into a folder does not leave it with the time of
    // unpacking.
    const QDateTime expected = SSZipArchive::_dateWithMSDOSFormat(0x5A2E6000);
    EXPECT_EQ(QFileInfo(m_destination + "/deep/er").lastModified(), expected);
    EXPECT_EQ(QFileInfo(m_destination + "/zembrook.html").lastModified(), expected);
}

TEST_F(SSZipArchiveTest, RewritesExistingFiles) {
    ASSERT_TRUE(QDir().mkpath(m_destination + "/sub"));
    QFile old(m_destination + "/sub/f");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("a much longer old content");
    old.close();
    ASSERT_TRUE(unzip({{"sub/f", "new"}}));
    EXPECT_EQ(read(m_destination + "/sub/f"), "new");
}

TEST_F(SSZipArchiveTest, HostileArchivesWriteNothingOutsideAndFail) {
    struct Case {
        const char* what;
        QList<ZipFixture::Entry> entries;
        bool succeeds;
    };
    const Case cases[] = {
        {"climbing name", {{"ok.txt", "1"}, {"../x", "evil"}}, false},
        {"climbing deeper", {{"a/../../x", "evil"}}, false},
        {"absolute name", {{"/tmp/sorvanta-zip-abs", "evil"}}, false},
        {"backslash climb", {{"..\\x", "evil"}}, false},
        {"backslash absolute", {{"\\x", "evil"}}, false},
        {"invalid UTF-8 name", {{"bad\xff.txt", "x"}}, false},
        {"CRC error", {{"crc.txt", "hello", 0, 0, 0x5A2E6000, 0x12345678u}}, false},
        {"empty archive", {}, false},
        // A link entry is skipped, never made; the rest of the archive unpacks.
        {"Unix symbolic link", {{"link", "../../..", 0, 0120777u << 16}, {"f", "1"}}, true},
        {"stored link of the classic test", {{"link2", "/etc", 0, 0x4000}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(m_destination).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(m_destination));
        EXPECT_EQ(unzip(c.entries), c.succeeds);
        for (const QString& path : everything()) {
            EXPECT_TRUE(path == QLatin1String("outer") ||
                        path.startsWith(QLatin1String("outer/dest")))
                << path.toStdString();
        }
        EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/tmp/sorvanta-zip-abs")));
        QDirIterator it(m_destination, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            EXPECT_FALSE(QFileInfo(it.next()).isSymLink()) << it.filePath().toStdString();
    }
}

TEST_F(SSZipArchiveTest, NeverWritesThroughAnExistingLink) {
    // A link already standing in the destination (made by anyone but us) is not followed.
    const QString outside = m_root.filePath(QStringLiteral("outside"));
    ASSERT_TRUE(QDir().mkpath(outside));
    ASSERT_TRUE(QFile::link(outside, m_destination + "/sub"));
    ASSERT_TRUE(QFile::link(outside + "/target", m_destination + "/file"));
    EXPECT_FALSE(unzip({{"sub/x", "evil"}}));
    EXPECT_FALSE(unzip({{"file", "evil"}}));
    EXPECT_TRUE(QDir(outside).isEmpty());
}

TEST_F(SSZipArchiveTest, CapsEntriesAndBytes) {
    ASSERT_TRUE(ZipFixture::write(m_archive, {{"a", "1"}, {"b", "2"}, {"c", "3"}}));
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(m_archive, m_destination, 2, 1000));
    EXPECT_TRUE(SSZipArchive::unzipFileAtPath(m_archive, m_destination, 3, 1000));
    // A highly compressible entry: the cap counts the bytes actually inflated.
    ASSERT_TRUE(ZipFixture::write(m_archive, {{"bomb", QByteArray(100000, '\0')}}));
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(m_archive, m_destination, 10, 50000));
    EXPECT_LE(QFileInfo(m_destination + "/bomb").size(), 50000 + 4096);
}

TEST_F(SSZipArchiveTest, NotAnArchiveOrMissingDestinationFails) {
    QFile file(m_archive);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not a zip archive at all");
    file.close();
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(m_archive, m_destination));
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(m_root.filePath("missing.zip"), m_destination));
    ASSERT_TRUE(ZipFixture::write(m_archive, {{"a", "1"}}));
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(m_archive, m_root.filePath("no/such/folder")));
}

TEST_F(SSZipArchiveTest, EntryNamesAreSanitized) {
    const struct {
        QByteArray raw;
        std::optional<QByteArray> expected;
    } cases[] = {
        {"a/b.txt", QByteArray("a/b.txt")},
        {"a\\b\\", QByteArray("a/b/")},
        {"a//b", QByteArray("a//b")},
        {"", std::nullopt},
        {"..", std::nullopt},
        {"a/./b", std::nullopt},
        {"a\\..\\b", std::nullopt},
        {"/etc/passwd", std::nullopt},
        {QByteArray("a\0b", 3), std::nullopt},
        {"\xc3\x28", std::nullopt},
        {"caf\xc3\xa9", QByteArray("caf\xc3\xa9")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SSZipArchive::sanitizedEntryName(c.raw), c.expected) << c.raw.toStdString();
}

TEST(SSZipArchiveDateTest, MsDosWordsDecodeLikeACalendar) {
    // 2025-01-14 12:00:00: year 45, month 1, day 14, hour 12.
    EXPECT_EQ(SSZipArchive::_dateWithMSDOSFormat(0x5A2E6000),
              QDateTime(QDate(2025, 1, 14), QTime(12, 0), Qt::LocalTime));
    // 1980-03-05 10:20:30
    const quint32 word = (0u << 25) | (3u << 21) | (5u << 16) | (10u << 11) | (20u << 5) | 15u;
    EXPECT_EQ(SSZipArchive::_dateWithMSDOSFormat(word),
              QDateTime(QDate(1980, 3, 5), QTime(10, 20, 30), Qt::LocalTime));
    // The zero word: month 0 and day 0 carry back to the last day of November 1979.
    EXPECT_EQ(SSZipArchive::_dateWithMSDOSFormat(0),
              QDateTime(QDate(1979, 11, 30), QTime(0, 0), Qt::LocalTime));
}
