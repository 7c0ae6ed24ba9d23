#include "Walker/FileSeparator.h"

#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Platform/Dispatch.h"
#include "TestSupport.h"
#include "Walker/FileManagerUtils.h"
#include "Walker/FolderDescriptors.h"

#include <QCryptographicHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <sys/stat.h>

namespace {

constexpr qsizetype kLarge = 100000;
// Outside the three pieces of a 100000-byte file: [0,8192), [90112,98304), [45056,53248).
constexpr qsizetype kOutsideThePieces = 30000;

QByteArray patternBytes(qsizetype size, quint32 seed) {
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 x = seed * 2654435761u + 1;
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

QString md5Of(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

// The standard hasher, counting every call per path, optionally failing for some paths and
// optionally holding calls of one kind until released.
class CountingHasher final : public ContentHasher {
public:
    enum Kind { Partly, Whole };
    struct Call {
        Kind kind;
        std::uint64_t size;
        std::optional<QString> key;
    };

    std::optional<QString> hashforFile(const QByteArray& path) override {
        return record(path, Whole, 0, [&] { return FileManagerUtils::hashforFile(path); });
    }
    std::optional<QString> hashforFilePartly(const QByteArray& path, std::uint64_t size,
                                             std::uint64_t block,
                                             std::uint64_t threshold) override {
        return record(path, Partly, size, [&] {
            return FileManagerUtils::
                hashforFilePartlyWithSizeHashPartBlockLengthForFilesGreatherThan(path, size, block,
                                                                                 threshold);
        });
    }

    QList<Call> callsFor(const QByteArray& path) {
        std::lock_guard lock(m_mutex);
        return m_calls.value(path);
    }
    int callCount() {
        std::lock_guard lock(m_mutex);
        int count = 0;
        for (const QList<Call>& calls : std::as_const(m_calls))
            count += static_cast<int>(calls.size());
        return count;
    }
    void failWholeReadOf(const QByteArray& path) {
        std::lock_guard lock(m_mutex);
        m_failWhole.insert(path);
    }
    void holdCallsOf(Kind kind) {
        std::lock_guard lock(m_mutex);
        m_hold = kind;
    }
    int heldCount() {
        std::lock_guard lock(m_mutex);
        return m_held;
    }
    int finishedCount() {
        std::lock_guard lock(m_mutex);
        return m_finished;
    }
    void release() {
        std::lock_guard lock(m_mutex);
        m_hold.reset();
        m_released.notify_all();
    }

private:
    template <typename Hash>
    std::optional<QString> record(const QByteArray& path, Kind kind, std::uint64_t size,
                                  Hash hash) {
        bool fail = false;
        {
            std::unique_lock lock(m_mutex);
            if (m_hold == kind) {
                ++m_held;
                m_released.wait(lock, [&] { return m_hold != kind; });
            }
            fail = kind == Whole && m_failWhole.contains(path);
        }
        std::optional<QString> key = fail ? std::nullopt : hash();
        std::lock_guard lock(m_mutex);
        m_calls[path].append({kind, size, key});
        ++m_finished;
        return key;
    }

    std::mutex m_mutex;
    std::condition_variable m_released;
    QHash<QByteArray, QList<Call>> m_calls;
    QSet<QByteArray> m_failWhole;
    std::optional<Kind> m_hold;
    int m_held = 0;
    int m_finished = 0;
};

class RecordingListener final : public FileSeparatorListener {
public:
    void onFinishSeparateItemsByHash(ItemsByContentHash result) override {
        std::lock_guard lock(m_mutex);
        ++m_count;
        m_result = std::move(result);
    }
    int count() {
        std::lock_guard lock(m_mutex);
        return m_count;
    }
    ItemsByContentHash result() {
        std::lock_guard lock(m_mutex);
        return m_result;
    }

private:
    std::mutex m_mutex;
    int m_count = 0;
    ItemsByContentHash m_result;
};

class FileSeparatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_root = VolumeSystemItem::initWithPath(*m_tree, QFile::encodeName(m_dir.path()), 0, 0);
    }
    void TearDown() override { FileSeparator::setUseForcedFullHashCalculation(false); }

    FolderSystemItem* folder(const char* name) {
        return FolderSystemItem::initWithPathSize(*m_tree, name, m_root, 0, false, 0, false, 0);
    }
    FileSystemItem* file(const QByteArray& name, const QByteArray& contents,
                         FolderSystemItem* parent = nullptr) {
        parent = parent ? parent : m_root;
        FileSystemItem* node = FileSystemItem::initWithPathSize(
            *m_tree, name, parent, contents.size(), 0, false, contents.size());
        EXPECT_TRUE(TestSupport::writeFile(node->path(), contents));
        return node;
    }
    // A node of `size` bytes whose file is made by `make` (or not at all).
    FileSystemItem* node(const QByteArray& name, std::int64_t size) {
        return FileSystemItem::initWithPathSize(*m_tree, name, m_root, size, 0, false, size);
    }

    // Runs a separation to its report and checks the listener was told exactly once.
    ItemsByContentHash separate(const QList<FileSystemItem*>& items, bool keepSeparator = true,
                                std::shared_ptr<FolderDescriptors> folders = {}) {
        auto listener = std::make_shared<RecordingListener>();
        // Through folder descriptors, the file system's own hasher reads the files.
        auto separator = FileSeparator::create(folders ? nullptr : m_hasher);
        if (folders)
            separator->useFolderDescriptors(folders);
        separator->separateItemsWithListener(items, listener);
        if (!keepSeparator)
            separator.reset(); // the separation must still run to its report
        EXPECT_TRUE(TestSupport::waitFor([&] { return listener->count() > 0; }));
        FileSeparator::workingQueue().sync([] {});
        EXPECT_EQ(listener->count(), 1);
        return listener->result();
    }

    QTemporaryDir m_dir;
    std::shared_ptr<ScanTree> m_tree = ScanTree::create();
    VolumeSystemItem* m_root = nullptr;
    std::shared_ptr<CountingHasher> m_hasher = std::make_shared<CountingHasher>();
};

using Set = QSet<FileSystemItem*>;

TEST_F(FileSeparatorTest, FilesEqualOnlyInTheirPiecesNeverShareAKeyWhateverTheExtension) {
    const QByteArray original = patternBytes(kLarge, 7);
    const QByteArray different = changedAt(original, kOutsideThePieces);
    for (const QByteArray extension : {".txt", ".TXT", ".bin", ""}) {
        SCOPED_TRACE(extension.constData());
        FolderSystemItem* in = folder("case" + extension);
        FileSystemItem* a = file("a" + extension, original, in);
        FileSystemItem* b = file("b" + extension, different, in);
        FileSystemItem* copy = file("copy" + extension, original, in);

        // A file alone under its key is left out of the result.
        const ItemsByContentHash result = separate({a, b, copy});
        EXPECT_EQ(result, ItemsByContentHash({{md5Of(original), Set({a, copy})}}));
        for (FileSystemItem* item : {a, b, copy})
            EXPECT_TRUE(item->isCheckedForDuplicates());
    }
}

TEST_F(FileSeparatorTest, SmallFilesAreReadOnceAndLargeCopiesInPiecesThenWhole) {
    const QByteArray small = patternBytes(10000, 1);
    FileSystemItem* s1 = file("s1", small);
    FileSystemItem* s2 = file("s2", small);
    FileSystemItem* s3 = file("s3", changedAt(small, 5000));
    ItemsByContentHash result = separate({s1, s2, s3});
    EXPECT_EQ(result, ItemsByContentHash({{md5Of(small), Set({s1, s2})}}));
    for (FileSystemItem* item : {s1, s2, s3}) {
        const QList<CountingHasher::Call> calls = m_hasher->callsFor(item->path());
        ASSERT_EQ(calls.size(), 1);
        EXPECT_EQ(calls[0].kind, CountingHasher::Partly);
        EXPECT_LT(calls[0].size, 3 * 8192u); // below three blocks: the whole file, once
    }

    const QByteArray large = patternBytes(kLarge, 2);
    FileSystemItem* l1 = file("l1", large);
    FileSystemItem* l2 = file("l2", large);
    result = separate({l1, l2}, /*keepSeparator=*/false);
    EXPECT_EQ(result, ItemsByContentHash({{md5Of(large), Set({l1, l2})}}));
    const QString pieces =
        md5Of(large.mid(0, 8192) + large.mid(90112, 8192) + large.mid(45056, 8192));
    for (FileSystemItem* item : {l1, l2}) {
        const QList<CountingHasher::Call> calls = m_hasher->callsFor(item->path());
        ASSERT_EQ(calls.size(), 2);
        EXPECT_EQ(calls[0].kind, CountingHasher::Partly);
        EXPECT_EQ(calls[0].key, pieces);
        EXPECT_EQ(calls[1].kind, CountingHasher::Whole);
    }

    // Different pieces already tell the files apart: no whole read.
    FileSystemItem* d1 = file("d1", large);
    FileSystemItem* d2 = file("d2", changedAt(large, 100));
    result = separate({d1, d2});
    EXPECT_TRUE(result.isEmpty());
    EXPECT_EQ(m_hasher->callsFor(d1->path()).size(), 1);
    EXPECT_EQ(m_hasher->callsFor(d2->path()).size(), 1);
}

// At exactly three blocks the pieces (start, end, middle) are as long as the file, so the
// pieces of one file can be the whole of another: [A][B][C] has the pieces A, C, B, which
// are all of [A][C][B]. The two must still never share a key.
TEST_F(FileSeparatorTest, AFileOfThreeBlocksNeverMeetsAnotherWhosePiecesItIs) {
    const QByteArray a = patternBytes(8192, 11);
    const QByteArray b = patternBytes(8192, 12);
    const QByteArray c = patternBytes(8192, 13);
    FileSystemItem* abc = file("abc", a + b + c);
    FileSystemItem* acb = file("acb", a + c + b);
    FileSystemItem* acbCopy = file("acb-copy", a + c + b);

    const ItemsByContentHash result = separate({abc, acb, acbCopy});
    EXPECT_EQ(result, ItemsByContentHash({{md5Of(a + c + b), Set({acb, acbCopy})}}));
    // Reading the pieces would read every byte anyway: each file is read once, whole.
    for (FileSystemItem* item : {abc, acb, acbCopy})
        EXPECT_EQ(m_hasher->callsFor(item->path()).size(), 1);
}

TEST_F(FileSeparatorTest, ForcedFullHashingReadsEveryFileWholeOnce) {
    FileSeparator::setUseForcedFullHashCalculation(true);
    const QByteArray original = patternBytes(kLarge, 3);
    FileSystemItem* a = file("a.txt", original);
    FileSystemItem* b = file("b.txt", changedAt(original, kOutsideThePieces));
    FileSystemItem* copy = file("copy.txt", original);
    const ItemsByContentHash result = separate({a, b, copy});
    EXPECT_EQ(result, ItemsByContentHash({{md5Of(original), Set({a, copy})}}));
    for (FileSystemItem* item : {a, b, copy}) {
        const QList<CountingHasher::Call> calls = m_hasher->callsFor(item->path());
        ASSERT_EQ(calls.size(), 1);
        EXPECT_EQ(calls[0].kind, CountingHasher::Whole);
    }
}

TEST_F(FileSeparatorTest, EmptyFilesGroupByNameWithoutReading) {
    FileSystemItem* x1 = file("x", {}, folder("one"));
    FileSystemItem* x2 = file("x", {}, folder("two"));
    FileSystemItem* y = file("y", {}, folder("three"));
    FileSystemItem* bad1 = file("\xff", {}, folder("four"));
    FileSystemItem* bad2 = file("\xfe", {}, folder("five"));
    // Names that are not UTF-8 keep apart; so do "\xff" and "\xfe" from each other.
    FileSystemItem* bad1Again = file("\xff", {}, folder("six"));
    const ItemsByContentHash result = separate({x1, x2, y, bad1, bad2, bad1Again});
    EXPECT_EQ(result, ItemsByContentHash(
                          {{"x:#filename#", Set({x1, x2})},
                           {QStringLiteral(u"/\u00ff:#filename#"), Set({bad1, bad1Again})}}));
    EXPECT_EQ(m_hasher->callCount(), 0);
}

TEST_F(FileSeparatorTest, AFileThatCannotBeReadJoinsNoSet) {
    const QByteArray original = patternBytes(kLarge, 4);
    FileSystemItem* a = file("a", original);
    FileSystemItem* copy = file("copy", original);
    FileSystemItem* partlyBroken = file("broken", original); // reads in pieces, not whole
    m_hasher->failWholeReadOf(partlyBroken->path());
    FileSystemItem* gone = node("gone", kLarge);
    FileSystemItem* fifo = node("fifo", kLarge);
    ASSERT_EQ(::mkfifo(fifo->path().constData(), 0600), 0);

    const ItemsByContentHash result = separate({a, gone, copy, fifo, partlyBroken});
    EXPECT_EQ(result, ItemsByContentHash({{md5Of(original), Set({a, copy})}}));
}

// Files opened by name inside their folders' descriptors: the same sets as by path, the same
// refusals (a FIFO, a symbolic link, a file gone), and with room for fewer folders than the
// set spans, so descriptors are let go of while digests still use them.
TEST_F(FileSeparatorTest, FilesReadThroughTheirFoldersGiveTheSameSets) {
    const QByteArray original = patternBytes(kLarge, 9);
    const QByteArray small = patternBytes(5000, 10);
    FolderSystemItem* one = folder("one");
    FolderSystemItem* two = folder("two");
    FolderSystemItem* three = folder("three");
    QList<FileSystemItem*> items;
    FileSystemItem* a = file("a", original, one);
    FileSystemItem* copy = file("copy", original, two);
    FileSystemItem* partly = file("partly", changedAt(original, kOutsideThePieces), three);
    FileSystemItem* fifo =
        FileSystemItem::initWithPathSize(*m_tree, "fifo", two, kLarge, 0, false, kLarge);
    ASSERT_EQ(::mkfifo(fifo->path().constData(), 0600), 0);
    FileSystemItem* link =
        FileSystemItem::initWithPathSize(*m_tree, "link", three, kLarge, 0, false, kLarge);
    ASSERT_EQ(::symlink(a->path().constData(), link->path().constData()), 0);
    FileSystemItem* gone =
        FileSystemItem::initWithPathSize(*m_tree, "gone", one, kLarge, 0, false, kLarge);
    const ItemsByContentHash large =
        separate({a, fifo, copy, link, partly, gone}, true, std::make_shared<FolderDescriptors>(1));
    EXPECT_EQ(large, ItemsByContentHash({{md5Of(original), Set({a, copy})}}));

    FileSystemItem* s1 = file("s1", small, one);
    FileSystemItem* s2 = file("s2", small, three);
    FileSystemItem* s3 = file("s3", changedAt(small, 10), two);
    auto folders = std::make_shared<FolderDescriptors>(8);
    EXPECT_EQ(separate({s1, s2, s3}, true, folders),
              ItemsByContentHash({{md5Of(small), Set({s1, s2})}}));
    EXPECT_EQ(folders->openCount(), 3u);
}

TEST_F(FileSeparatorTest, SetsOfOneOrNoFileAreAnsweredAtOnce) {
    FileSystemItem* only = file("only", patternBytes(kLarge, 5));
    EXPECT_TRUE(separate({only}).isEmpty());
    EXPECT_TRUE(only->isCheckedForDuplicates());
    EXPECT_TRUE(separate({}).isEmpty());
    EXPECT_EQ(m_hasher->callCount(), 0);
}

TEST_F(FileSeparatorTest, AStopAnswersEmptyAndUnchecksTheSet) {
    const QByteArray original = patternBytes(kLarge, 6);
    struct Case {
        const char* name;
        std::optional<CountingHasher::Kind> holdAt; // none: stop before the separation began
        int filesHeld;
    };
    // Eight files, four digests at once: a stop in the first pass drops the four that
    // have not started.
    for (const Case& c : {Case{"first pass", CountingHasher::Partly, 4},
                          Case{"second pass", CountingHasher::Whole, 4},
                          Case{"before the start", std::nullopt, 0}}) {
        SCOPED_TRACE(c.name);
        m_hasher = std::make_shared<CountingHasher>();
        FolderSystemItem* in = folder(c.name);
        QList<FileSystemItem*> items;
        for (int i = 0; i < 8; ++i)
            items.append(file("f" + QByteArray::number(i), original, in));

        const int firstPassCalls = c.holdAt == CountingHasher::Whole ? 8 : 0;
        auto listener = std::make_shared<RecordingListener>();
        auto separator = FileSeparator::create(m_hasher);
        if (c.holdAt) {
            m_hasher->holdCallsOf(*c.holdAt);
            separator->separateItemsWithListener(items, listener);
            ASSERT_TRUE(TestSupport::waitFor([&] { return m_hasher->heldCount() == c.filesHeld; }));
            separator->stop();
            FileSeparator::workingQueue().sync([] {});
            m_hasher->release();
            ASSERT_TRUE(TestSupport::waitFor(
                [&] { return m_hasher->finishedCount() == firstPassCalls + c.filesHeld; }));
        } else {
            separator->stop();
            separator->separateItemsWithListener(items, listener);
        }
        ASSERT_TRUE(TestSupport::waitFor([&] { return listener->count() > 0; }));
        FileSeparator::workingQueue().sync([] {}); // the held digests' saves have come in
        EXPECT_EQ(listener->count(), 1);
        EXPECT_TRUE(listener->result().isEmpty());
        for (FileSystemItem* item : std::as_const(items))
            EXPECT_FALSE(item->isCheckedForDuplicates());
        EXPECT_EQ(m_hasher->callCount(), firstPassCalls + c.filesHeld);
    }
}

TEST_F(FileSeparatorTest, ALateStopChangesNothing) {
    const QByteArray original = patternBytes(kLarge, 8);
    FileSystemItem* a = file("a", original);
    FileSystemItem* copy = file("copy", original);
    auto listener = std::make_shared<RecordingListener>();
    auto separator = FileSeparator::create(m_hasher);
    separator->separateItemsWithListener({a, copy}, listener);
    ASSERT_TRUE(TestSupport::waitFor([&] { return listener->count() > 0; }));

    separator->stop();
    FileSeparator::workingQueue().sync([] {});
    EXPECT_EQ(listener->count(), 1);
    EXPECT_EQ(listener->result(), ItemsByContentHash({{md5Of(original), Set({a, copy})}}));
    EXPECT_TRUE(a->isCheckedForDuplicates());
    EXPECT_TRUE(copy->isCheckedForDuplicates());
}

} // namespace
