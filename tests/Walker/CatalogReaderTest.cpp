#include "Platform/CatalogReader.h"

#include "TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <map>

namespace {

struct CatalogReaderTest : ::testing::Test {
    QTemporaryDir dir;
    QByteArray base;
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        base = QFile::encodeName(dir.path());
    }
    std::map<QByteArray, CatalogReader::Entry> readAll(CatalogReader& reader, std::size_t bulk,
                                                       int* calls = nullptr) {
        std::map<QByteArray, CatalogReader::Entry> out;
        std::vector<CatalogReader::Entry> entries;
        for (;;) {
            const auto status = reader.readBulk(entries, bulk);
            if (calls)
                ++*calls;
            EXPECT_LE(entries.size(), bulk);
            for (const auto& entry : entries) {
                CatalogReader::Entry copy = entry;
                copy.name = {};
                out.emplace(entry.name.toByteArray(), copy);
            }
            if (status != CatalogReader::Status::More) {
                EXPECT_EQ(status, CatalogReader::Status::End);
                return out;
            }
        }
    }
};

TEST_F(CatalogReaderTest, GivesKindFlagsSizesAndRawNames) {
    const QByteArray odd("x\xff", 2);
    ASSERT_TRUE(TestSupport::writeFile(base + "/data", QByteArray(5000, 'd')));
    ASSERT_TRUE(TestSupport::writeFile(base + "/" + odd, "o"));
    ASSERT_EQ(::mkdir((base + "/folder").constData(), 0755), 0);
    ASSERT_EQ(::symlink("data", (base + "/link").constData()), 0);
    ASSERT_EQ(::mkfifo((base + "/pipe").constData(), 0644), 0);

    CatalogReader reader;
    ASSERT_TRUE(reader.open(base));
    const auto entries = readAll(reader, 110);
    ASSERT_EQ(entries.size(), 5u);

    const auto& data = entries.at("data");
    struct stat st;
    ASSERT_EQ(::stat((base + "/data").constData(), &st), 0);
    EXPECT_EQ(data.kind, CatalogReader::Kind::File);
    EXPECT_FALSE(data.isDirectory);
    EXPECT_EQ(data.finderFlags, 0);
    EXPECT_EQ(data.logicalSize, 5000);
    EXPECT_EQ(data.physicalSize, std::int64_t(st.st_blocks) * 512);

    EXPECT_TRUE(entries.at("folder").isDirectory);
    EXPECT_EQ(entries.at("link").kind, CatalogReader::Kind::Link);
    EXPECT_EQ(entries.at("link").finderFlags, CatalogReader::kAliasFlag);
    EXPECT_EQ(entries.at("pipe").kind, CatalogReader::Kind::Other);
    EXPECT_EQ(entries.at(odd).kind, CatalogReader::Kind::File);
    EXPECT_FALSE(reader.isOnPseudoFileSystem());
}

TEST_F(CatalogReaderTest, ReadsInBulkUntilTheEnd) {
    for (int i = 0; i < 250; ++i)
        ASSERT_TRUE(TestSupport::writeFile(base + "/f" + QByteArray::number(i), ""));
    CatalogReader reader;
    ASSERT_TRUE(reader.open(base));
    int calls = 0;
    EXPECT_EQ(readAll(reader, 110, &calls).size(), 250u);
    EXPECT_GE(calls, 3);
    std::vector<CatalogReader::Entry> entries;
    EXPECT_EQ(reader.readBulk(entries, 110), CatalogReader::Status::End);
    EXPECT_TRUE(entries.empty());
    reader.close();
    EXPECT_EQ(reader.readBulk(entries, 110), CatalogReader::Status::Error);
}

TEST_F(CatalogReaderTest, OpensOnlyFoldersAndFollowsLinksOnlyWhenAsked) {
    ASSERT_TRUE(TestSupport::writeFile(base + "/plain", "p"));
    ASSERT_EQ(::mkdir((base + "/real").constData(), 0755), 0);
    ASSERT_EQ(::symlink("real", (base + "/alias").constData()), 0);
    CatalogReader reader;
    EXPECT_FALSE(reader.open(base + "/plain"));
    EXPECT_FALSE(reader.open(base + "/missing"));
    EXPECT_FALSE(reader.open(base + "/alias"));
    ASSERT_TRUE(reader.open(base + "/alias", true));
    struct stat st;
    ASSERT_EQ(::stat((base + "/real").constData(), &st), 0);
    EXPECT_EQ(reader.device(), st.st_dev);
    EXPECT_EQ(reader.inode(), st.st_ino);
}

TEST(CatalogReaderPseudoTest, KnowsProc) {
    CatalogReader reader;
    if (!reader.open("/proc"))
        GTEST_SKIP() << "no /proc";
    EXPECT_TRUE(reader.isOnPseudoFileSystem());
}

} // namespace
