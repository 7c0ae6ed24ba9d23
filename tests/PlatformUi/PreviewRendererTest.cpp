#include "Platform/ui/PreviewRenderer.h"
#include "Platform/ui/PreviewLoader.h"

#include "PreviewFixtures.h"
#include "TestSupport.h"

#include <QDir>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using Kind = PreviewContent::Kind;
constexpr QSize kBox(400, 400);

class PreviewRendererTest : public ::testing::Test {
protected:
    QByteArray path(const char* name) const {
        return QFile::encodeName(m_dir.filePath(QString::fromUtf8(name)));
    }
    QString qpath(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

    static PreviewContent render(const QByteArray& file, QSize box = kBox) {
        const std::atomic<bool> cancelled = false;
        return PreviewRenderer::renderContent(PreviewRenderer::readFacts(file), box, cancelled);
    }

    QTemporaryDir m_dir;
};

TEST_F(PreviewRendererTest, PicturesOfEveryWritableFormatAreReadAndScaledToFit) {
    const QList<QByteArray> writable = QImageWriter::supportedImageFormats();
    ASSERT_TRUE(writable.contains("png"));
    int tried = 0;
    for (const char* format : {"png", "jpg", "bmp", "gif", "webp", "tiff", "ppm"}) {
        if (!writable.contains(format))
            continue;
        SCOPED_TRACE(format);
        ++tried;
        const QByteArray file = path((QByteArray("wide.") + format).constData());
        ASSERT_TRUE(PreviewFixtures::writeImage(QFile::decodeName(file), QSize(800, 400), format));
        const PreviewContent content = render(file);
        ASSERT_EQ(content.kind, Kind::Image);
        EXPECT_EQ(content.image.size(), QSize(400, 200));
        // Left half red, right half blue, whatever the format's losses.
        const QColor left = content.image.pixelColor(50, 100);
        const QColor right = content.image.pixelColor(350, 100);
        EXPECT_GT(left.red(), left.blue());
        EXPECT_GT(right.blue(), right.red());
    }
    EXPECT_GE(tried, 3);
}

TEST_F(PreviewRendererTest, SmallPictureKeepsItsSizeAndContentDecidesOverAMissingExtension) {
    ASSERT_TRUE(PreviewFixtures::writeImage(qpath("small.png"), QSize(100, 50), "PNG"));
    EXPECT_EQ(render(path("small.png")).image.size(), QSize(100, 50));
    ASSERT_TRUE(PreviewFixtures::writeImage(qpath("picture"), QSize(100, 50), "PNG"));
    EXPECT_EQ(render(path("picture")).kind, Kind::Image);
}

TEST_F(PreviewRendererTest, TextShowsTheBeginningOnly) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QString expected;
        bool truncated;
    };
    const qint64 limit = PreviewRenderer::kTextLimit;
    const QByteArray aLimit(limit, 'a');
    const std::vector<Case> cases = {
        {"short.txt", "h\xc3\xa9llo w\xc3\xb6rld\n", QStringLiteral("h\u00e9llo w\u00f6rld\n"),
         false},
        {"long.txt", aLimit + QByteArray(1000, 'b'), QString::fromLatin1(aLimit), true},
        // A two-byte character cut by the limit is left out, not shown broken.
        {"cut.txt", QByteArray(limit - 1, 'a') + "\xc3\xa9", QString(limit - 1, QLatin1Char('a')),
         true},
        {"latin1.txt", "caf\xe9\n", QStringLiteral("caf\u00e9\n"), false},
        {"README", "plain words without an extension\n",
         QStringLiteral("plain words without an extension\n"), false},
        {"source.cpp", "int main() {}\n", QStringLiteral("int main() {}\n"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(TestSupport::writeFile(path(c.name), c.bytes));
        const PreviewContent content = render(path(c.name));
        ASSERT_EQ(content.kind, Kind::Text);
        EXPECT_EQ(content.text, c.expected);
        EXPECT_EQ(content.truncated, c.truncated);
    }
}

TEST_F(PreviewRendererTest, HugeTextFileIsReadOnlyToTheLimit) {
    const QByteArray file = path("huge.txt");
    ASSERT_TRUE(TestSupport::writeFile(file, "start\n"));
    // Sparse: 64 GiB that take no room, and would take minutes to read whole.
    ASSERT_EQ(::truncate(file.constData(), qint64(64) << 30), 0);
    const PreviewContent content = render(file);
    ASSERT_EQ(content.kind, Kind::Text);
    EXPECT_EQ(content.text.size(), PreviewRenderer::kTextLimit);
    EXPECT_TRUE(content.text.startsWith(QLatin1String("start\n")));
    EXPECT_TRUE(content.truncated);
}

TEST_F(PreviewRendererTest, PdfShowsItsFirstPages) {
    ASSERT_TRUE(PreviewFixtures::writePdf(qpath("five.pdf"), 5));
    const PreviewContent content = render(path("five.pdf"));
    ASSERT_EQ(content.kind, Kind::Pdf);
    EXPECT_EQ(content.pageCount, 5);
    ASSERT_EQ(content.pages.size(), PreviewRenderer::kPdfPages);
    for (const QImage& page : content.pages) {
        EXPECT_LE(page.height(), kBox.height() + 1);
        EXPECT_LE(page.width(), kBox.width() + 1);
        EXPECT_NEAR(double(page.height()) / page.width(), 297.0 / 210.0, 0.02);
        // The dark band at the top and the white page below it.
        EXPECT_LT(page.pixelColor(page.width() / 4, 2).lightness(), 60);
        EXPECT_GT(page.pixelColor(page.width() / 2, page.height() / 2).lightness(), 200);
    }
    ASSERT_TRUE(PreviewFixtures::writePdf(qpath("one.pdf"), 1));
    EXPECT_EQ(render(path("one.pdf")).pages.size(), 1);
}

TEST_F(PreviewRendererTest, VideoShowsAFrame) {
    if (!PreviewFixtures::writeVideo(qpath("clip.mp4")))
        GTEST_SKIP() << "ffmpeg is not installed here, so no video can be made for the test";
    const PreviewContent content = render(path("clip.mp4"));
    ASSERT_EQ(content.kind, Kind::Video);
    ASSERT_FALSE(content.image.isNull());
    EXPECT_LE(content.image.width(), kBox.width());
    EXPECT_NEAR(double(content.image.width()) / content.image.height(), 160.0 / 120.0, 0.05);
}

TEST_F(PreviewRendererTest, ListsNamedLikeVideosAreNotHandedToTheDecoder) {
    if (!PreviewFixtures::writeVideo(qpath("elsewhere.mp4")))
        GTEST_SKIP() << "ffmpeg is not installed here, so no video can be made for the test";
    // Lists that name another file; a decoder given them would show that file's frame.
    const QByteArray other = path("elsewhere.mp4");
    const QByteArray playlist =
        "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:1,\n" + other + "\n#EXT-X-ENDLIST\n";
    const QByteArray concat = "ffconcat version 1.0\nfile '" + other + "'\n";
    for (const auto& [name, bytes] :
         {std::pair{"playlist.mp4", playlist}, std::pair{"list.mkv", concat}}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(TestSupport::writeFile(path(name), bytes));
        EXPECT_EQ(render(path(name)).kind, Kind::None);
    }
    EXPECT_EQ(render(other).kind, Kind::Video);
}

TEST_F(PreviewRendererTest, FactsOfFilesFoldersAndVanishedPaths) {
    ASSERT_TRUE(TestSupport::writeFile(path("blob.qqq"), PreviewFixtures::unknownBytes()));
    const PreviewFacts blob = PreviewRenderer::readFacts(path("blob.qqq"));
    EXPECT_TRUE(blob.exists);
    EXPECT_TRUE(blob.isRegular);
    EXPECT_EQ(blob.size, 512);
    EXPECT_EQ(blob.name, QStringLiteral("blob.qqq"));
    EXPECT_EQ(blob.mimeType, QStringLiteral("application/octet-stream"));
    EXPECT_LE(qAbs(blob.modified.secsTo(QDateTime::currentDateTime())), 60);
    EXPECT_EQ(render(path("blob.qqq")).kind, Kind::None);

    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("folder")));
    const PreviewFacts folder = PreviewRenderer::readFacts(path("folder"));
    EXPECT_TRUE(folder.isDir);
    EXPECT_EQ(folder.mimeType, QStringLiteral("inode/directory"));
    EXPECT_EQ(render(path("folder")).kind, Kind::None);

    ASSERT_TRUE(TestSupport::writeFile(path("gone.txt"), "soon gone"));
    ASSERT_TRUE(QFile::remove(qpath("gone.txt")));
    const PreviewFacts gone = PreviewRenderer::readFacts(path("gone.txt"));
    EXPECT_FALSE(gone.exists);
    EXPECT_EQ(gone.name, QStringLiteral("gone.txt"));
    EXPECT_EQ(render(path("gone.txt")).kind, Kind::None);
}

TEST_F(PreviewRendererTest, SymbolicLinkIsDescribedNeverFollowed) {
    ASSERT_TRUE(TestSupport::writeFile(path("target.txt"), "secret text"));
    ASSERT_EQ(::symlink(path("target.txt").constData(), path("link.txt").constData()), 0);
    const PreviewFacts link = PreviewRenderer::readFacts(path("link.txt"));
    EXPECT_TRUE(link.exists);
    EXPECT_TRUE(link.isSymlink);
    EXPECT_FALSE(link.isRegular);
    EXPECT_EQ(render(path("link.txt")).kind, Kind::None);

    // A file swapped for a link between reading its facts and its content is not read.
    ASSERT_TRUE(TestSupport::writeFile(path("swapped.txt"), "original"));
    const PreviewFacts before = PreviewRenderer::readFacts(path("swapped.txt"));
    ASSERT_TRUE(before.isRegular);
    ASSERT_TRUE(QFile::remove(qpath("swapped.txt")));
    ASSERT_EQ(::symlink(path("target.txt").constData(), path("swapped.txt").constData()), 0);
    const std::atomic<bool> cancelled = false;
    EXPECT_EQ(PreviewRenderer::renderContent(before, kBox, cancelled).kind, Kind::None);
}

TEST_F(PreviewRendererTest, FifoSwappedInIsNeitherOpenedForLongNorRead) {
    ASSERT_TRUE(TestSupport::writeFile(path("pipe.txt"), "was a file"));
    PreviewFacts facts = PreviewRenderer::readFacts(path("pipe.txt"));
    ASSERT_TRUE(facts.isRegular);
    ASSERT_TRUE(QFile::remove(qpath("pipe.txt")));
    ASSERT_EQ(::mkfifo(path("pipe.txt").constData(), 0600), 0);
    // Without a writer, a blocking open or read of the FIFO would never return.
    const std::atomic<bool> cancelled = false;
    EXPECT_EQ(PreviewRenderer::renderContent(facts, kBox, cancelled).kind, Kind::None);
    EXPECT_FALSE(PreviewRenderer::readFacts(path("pipe.txt")).isRegular);
}

TEST_F(PreviewRendererTest, CancelledRenderGivesNothing) {
    ASSERT_TRUE(PreviewFixtures::writePdf(qpath("doc.pdf"), 2));
    const std::atomic<bool> cancelled = true;
    EXPECT_EQ(
        PreviewRenderer::renderContent(PreviewRenderer::readFacts(path("doc.pdf")), kBox, cancelled)
            .kind,
        Kind::None);
}

TEST(PreviewRendererKinds, MimeTypesMapToKinds) {
    const std::vector<std::pair<const char*, Kind>> cases = {
        {"image/png", Kind::Image},      {"image/jpeg", Kind::Image},
        {"image/svg+xml", Kind::Image},  {"application/pdf", Kind::Pdf},
        {"video/mp4", Kind::Video},      {"video/x-matroska", Kind::Video},
        {"text/plain", Kind::Text},      {"text/x-csrc", Kind::Text},
        {"application/zip", Kind::None}, {"application/octet-stream", Kind::None},
        {"inode/directory", Kind::None}, {"no/such-type", Kind::None},
    };
    for (const auto& [type, kind] : cases) {
        SCOPED_TRACE(type);
        EXPECT_EQ(PreviewRenderer::kindForMimeType(QString::fromLatin1(type)), kind);
    }
}

TEST_F(PreviewRendererTest, LoaderDeliversFactsThenContentOfTheLatestLoadOnly) {
    ASSERT_TRUE(PreviewFixtures::writePdf(qpath("first.pdf"), 3));
    ASSERT_TRUE(PreviewFixtures::writeImage(qpath("second.png"), QSize(60, 40), "PNG"));
    PreviewLoader loader;
    QStringList events;
    QObject::connect(&loader, &PreviewLoader::factsReady, [&](const PreviewFacts& facts) {
        events << QStringLiteral("facts ") + facts.name;
    });
    QObject::connect(&loader, &PreviewLoader::contentReady, [&](const PreviewContent& content) {
        events << QStringLiteral("content %1").arg(int(content.kind));
    });
    loader.load(path("first.pdf"), kBox);
    loader.load(path("second.png"), kBox);
    ASSERT_TRUE(
        TestSupport::waitFor([&] { return !loader.isLoading(); }, PreviewFixtures::kDecodeWaitMs));
    TestSupport::spinFor(200);
    EXPECT_EQ(events, (QStringList{QStringLiteral("facts second.png"),
                                   QStringLiteral("content %1").arg(int(Kind::Image))}));

    // Facts only: no content follows.
    events.clear();
    loader.load(path("second.png"), QSize());
    ASSERT_TRUE(
        TestSupport::waitFor([&] { return !loader.isLoading(); }, PreviewFixtures::kDecodeWaitMs));
    TestSupport::spinFor(100);
    EXPECT_EQ(events, QStringList{QStringLiteral("facts second.png")});
}

TEST_F(PreviewRendererTest, LoaderGoingAwayMidLoadDropsTheResult) {
    ASSERT_TRUE(PreviewFixtures::writePdf(qpath("doc.pdf"), 3));
    bool delivered = false;
    {
        PreviewLoader loader;
        QObject::connect(&loader, &PreviewLoader::contentReady, [&] { delivered = true; });
        loader.load(path("doc.pdf"), kBox);
    }
    TestSupport::spinFor(500);
    EXPECT_FALSE(delivered);
}

} // namespace
