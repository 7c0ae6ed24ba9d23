#include "Walker/FirstLook.h"

#include "FileTree/FileSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "TestSupport.h"
#include "Walker/ContentHasher.h"
#include "Walker/FileManagerUtils.h"
#include "Walker/FileSeparator.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::uint64_t kBlock = 8192;
constexpr std::uint64_t kThreshold = 3 * kBlock + 1;

QByteArray bytesOf(qsizetype size, quint32 seed) {
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 x = seed * 2654435761u + 7;
    for (qsizetype i = 0; i < size; ++i) {
        x = x * 1664525u + 1013904223u;
        bytes[i] = static_cast<char>(x >> 24);
    }
    return bytes;
}

QByteArray changedAt(QByteArray bytes, qsizetype at) {
    bytes[at] = static_cast<char>(bytes[at] ^ 0x5a);
    return bytes;
}

class FirstLookTest : public ::testing::Test {
protected:
    QByteArray path(const char* name) const { return QFile::encodeName(m_dir.path()) + '/' + name; }
    QByteArray write(const char* name, const QByteArray& bytes) {
        const QByteArray at = path(name);
        EXPECT_TRUE(TestSupport::writeFile(at, bytes));
        return at;
    }
    std::optional<std::uint64_t> look(const QByteArray& at, std::uint64_t size) {
        return firstLookOfFile(at, size, kBlock, kThreshold);
    }
    QTemporaryDir m_dir;
};

TEST_F(FirstLookTest, EqualBytesLookAlikeAndADifferenceWhereTheDigestReadsShows) {
    const QByteArray small = bytesOf(5000, 1);
    const QByteArray large = bytesOf(100000, 2);
    // The pieces of a 100000-byte file: [0,8192), [90112,98304), [45056,53248).
    struct Case {
        const char* what;
        QByteArray a, b;
        bool alike;
    };
    const Case cases[] = {
        {"small equal", small, small, true},
        {"small, first byte", small, changedAt(small, 0), false},
        {"small, middle", small, changedAt(small, 2500), false},
        {"small, last byte", small, changedAt(small, 4999), false},
        {"three blocks exactly, read whole", bytesOf(24576, 3), changedAt(bytesOf(24576, 3), 20000),
         false},
        {"large equal", large, large, true},
        {"large, start piece", large, changedAt(large, 100), false},
        {"large, end piece", large, changedAt(large, 95000), false},
        {"large, middle piece", large, changedAt(large, 50000), false},
        {"large, outside the pieces", large, changedAt(large, 30000), true},
    };
    for (const Case& c : cases) {
        const auto a = look(write("a", c.a), std::uint64_t(c.a.size()));
        const auto b = look(write("b", c.b), std::uint64_t(c.b.size()));
        ASSERT_TRUE(a && b) << c.what;
        EXPECT_EQ(*a == *b, c.alike) << c.what;
    }
}

TEST_F(FirstLookTest, WhatCannotBeReadAsAFileGivesNothingAndNeverWaits) {
    EXPECT_FALSE(look(path("missing"), 100));
    ASSERT_EQ(::mkdir(path("folder").constData(), 0700), 0);
    EXPECT_FALSE(look(path("folder"), 100));
    const QByteArray target = write("target", bytesOf(100, 4));
    ASSERT_EQ(::symlink(target.constData(), path("link").constData()), 0);
    EXPECT_FALSE(look(path("link"), 100));
    // A FIFO in a file's place: no writer to wait for, and no fingerprint of a file.
    ASSERT_EQ(::mkfifo(path("fifo").constData(), 0600), 0);
    EXPECT_FALSE(look(path("fifo"), 100000));
    // A device that never ends, in place of a small file, is not read on.
    EXPECT_FALSE(firstLookOfFile("/dev/zero", 100, kBlock, kThreshold));
}

TEST_F(FirstLookTest, AFileThatGrewIsReadToItsEnd) {
    const QByteArray base = bytesOf(3000, 5);
    const QByteArray grown = write("grown", base + bytesOf(200000, 6));
    const QByteArray other = write("other", base + changedAt(bytesOf(200000, 6), 199999));
    // Both were 3000 bytes when walked; they differ only in their last byte.
    const auto a = look(grown, 3000);
    const auto b = look(other, 3000);
    ASSERT_TRUE(a && b);
    EXPECT_NE(*a, *b);
    EXPECT_EQ(look(grown, 3000), a);
}

// The file system's hasher with its first look, counting the digests it is asked for.
class CountingHasher final : public ContentHasher {
public:
    std::optional<QString> hashforFile(const QByteArray& path) override {
        ++whole;
        return FileManagerUtils::hashforFile(path);
    }
    std::optional<QString> hashforFilePartly(const QByteArray& path, std::uint64_t size,
                                             std::uint64_t blockLength,
                                             std::uint64_t threshold) override {
        ++partly;
        return FileManagerUtils::hashforFilePartlyWithSizeHashPartBlockLengthForFilesGreatherThan(
            path, size, blockLength, threshold);
    }
    bool hasFirstLook() const override { return true; }
    std::optional<std::uint64_t> firstLook(const QByteArray& path, std::uint64_t size,
                                           std::uint64_t blockLength,
                                           std::uint64_t threshold) override {
        ++looks;
        return firstLookOfFile(path, size, blockLength, threshold);
    }
    std::atomic<int> whole{0}, partly{0}, looks{0};
};

class Listener final : public FileSeparatorListener {
public:
    void onFinishSeparateItemsByHash(ItemsByContentHash r) override {
        result = std::move(r);
        told.store(true);
    }
    ItemsByContentHash result;
    std::atomic<bool> told{false};
};

TEST_F(FirstLookTest, SeparatorDigestsOnlyTheFilesSharingAFingerprint) {
    auto tree = ScanTree::create();
    VolumeSystemItem* root =
        VolumeSystemItem::initWithPath(*tree, QFile::encodeName(m_dir.path()), 0, 0);
    const QByteArray small = bytesOf(6000, 7);
    const QByteArray large = bytesOf(100000, 8);
    struct Set {
        std::vector<QByteArray> contents;
        int wholeDigests; // the files hashed whole: only those sharing a fingerprint
        int groupSize;    // the one group expected, 0 for none
    };
    const Set sets[] = {
        {{small, changedAt(small, 1), changedAt(small, 2), small}, 2, 2},
        {{small, changedAt(small, 1), changedAt(small, 2)}, 0, 0},
        // Equal pieces, different elsewhere: the whole-file digest tells them apart.
        {{large, changedAt(large, 30000), changedAt(large, 100)}, 2, 0},
        {{large, large, changedAt(large, 100)}, 2, 2},
    };
    int serial = 0;
    for (const Set& set : sets) {
        auto hasher = std::make_shared<CountingHasher>();
        QList<FileSystemItem*> items;
        for (const QByteArray& bytes : set.contents) {
            const QByteArray name = "s" + QByteArray::number(serial++);
            write(name.constData(), bytes);
            items.append(FileSystemItem::initWithPathSize(*tree, name, root, bytes.size(), 0, false,
                                                          bytes.size()));
        }
        auto listener = std::make_shared<Listener>();
        FileSeparator::create(hasher)->separateItemsWithListener(items, listener);
        ASSERT_TRUE(TestSupport::waitFor([&] { return listener->told.load(); }));
        EXPECT_EQ(hasher->looks.load(), int(items.size()));
        EXPECT_EQ(hasher->whole.load(), set.wholeDigests);
        EXPECT_EQ(hasher->partly.load(), 0);
        if (set.groupSize == 0) {
            EXPECT_TRUE(listener->result.isEmpty());
        } else {
            ASSERT_EQ(listener->result.size(), 1);
            EXPECT_EQ(listener->result.begin().value().size(), set.groupSize);
        }
    }
}

} // namespace
