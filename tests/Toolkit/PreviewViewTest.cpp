#include "Toolkit/PreviewView.h"

#include "Toolkit/ImageStore.h"
#include "Toolkit/PreviewItem.h"
#include "Toolkit/QuickLookMissingView.h"

#include "PreviewFixtures.h"
#include "TestSupport.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Kind = PreviewContent::Kind;

class PathItem final : public PreviewItem {
public:
    explicit PathItem(QByteArray path) : m_path(std::move(path)) {}
    QUrl previewItemURL() const override { return QUrl::fromLocalFile(QFile::decodeName(m_path)); }
    QString previewItemTitle() const override { return QStringLiteral("title"); }
    QByteArray previewItemPath() const override { return m_path; }

private:
    QByteArray m_path;
};

class PreviewViewTest : public ::testing::Test {
protected:
    void SetUp() override { m_view.resize(400, 300); }
    QByteArray path(const QString& name) const { return QFile::encodeName(m_dir.filePath(name)); }

    // Shows |file| and waits until its content (or its facts, for a vanished file) arrived.
    void show(const PathItem& item) {
        m_view.setPreviewItem(&item);
        ASSERT_TRUE(TestSupport::waitFor([&] { return !m_view.isLoading(); },
                                         PreviewFixtures::kDecodeWaitMs));
    }

    QTemporaryDir m_dir;
    PreviewView m_view;
};

TEST_F(PreviewViewTest, EachKindOfFileShowsItsPreview) {
    ASSERT_TRUE(PreviewFixtures::writeImage(m_dir.filePath("photo.png"), QSize(300, 200), "PNG"));
    ASSERT_TRUE(TestSupport::writeFile(path("notes.txt"), "first line\nsecond line\n"));
    ASSERT_TRUE(PreviewFixtures::writePdf(m_dir.filePath("paper.pdf"), 2));
    ASSERT_TRUE(TestSupport::writeFile(path("blob.qqq"), PreviewFixtures::unknownBytes()));
    struct Case {
        const char* name;
        Kind kind;
        bool textShown;
        bool pagesShown;
    };
    for (const Case& c :
         {Case{"photo.png", Kind::Image, false, false}, Case{"notes.txt", Kind::Text, true, false},
          Case{"paper.pdf", Kind::Pdf, false, true}, Case{"blob.qqq", Kind::None, false, false}}) {
        SCOPED_TRACE(c.name);
        const PathItem item(path(QString::fromLatin1(c.name)));
        show(item);
        ASSERT_TRUE(m_view.hasContent());
        EXPECT_EQ(m_view.content().kind, c.kind);
        EXPECT_TRUE(m_view.hasFacts());
        EXPECT_EQ(m_view.facts().name, QString::fromLatin1(c.name));
        EXPECT_EQ(m_view.previewItem(), &item);
        EXPECT_EQ(m_view.title(), QStringLiteral("title"));
        EXPECT_EQ(!m_view.findChild<QPlainTextEdit*>()->isHidden(), c.textShown);
        EXPECT_EQ(!m_view.findChild<QScrollArea*>()->isHidden(), c.pagesShown);
        EXPECT_FALSE(m_view.isShowingMissingMessage());
    }
    EXPECT_EQ(m_view.findChild<QPlainTextEdit*>()->isReadOnly(), true);
}

TEST_F(PreviewViewTest, VideoShowsAFrame) {
    if (!PreviewFixtures::writeVideo(m_dir.filePath("clip.mp4")))
        GTEST_SKIP() << "ffmpeg is not installed here, so no video can be made for the test";
    const PathItem item(path("clip.mp4"));
    show(item);
    EXPECT_EQ(m_view.content().kind, Kind::Video);
    EXPECT_FALSE(m_view.content().image.isNull());
}

TEST_F(PreviewViewTest, FactsArriveBeforeTheContent) {
    ASSERT_TRUE(PreviewFixtures::writePdf(m_dir.filePath("paper.pdf"), 3));
    QStringList order;
    QObject::connect(&m_view, &PreviewView::factsLoaded, [&] { order << QStringLiteral("facts"); });
    QObject::connect(&m_view, &PreviewView::contentLoaded,
                     [&] { order << QStringLiteral("content"); });
    const PathItem item(path("paper.pdf"));
    show(item);
    EXPECT_EQ(order, (QStringList{QStringLiteral("facts"), QStringLiteral("content")}));
    EXPECT_EQ(m_view.facts().size, QFileInfo(m_dir.filePath("paper.pdf")).size());
}

TEST_F(PreviewViewTest, VanishedFileShowsTheMovedOrDeletedMessage) {
    ASSERT_TRUE(TestSupport::writeFile(path("gone.txt"), "soon gone"));
    ASSERT_TRUE(QFile::remove(m_dir.filePath("gone.txt")));
    const PathItem item(path("gone.txt"));
    show(item);
    EXPECT_TRUE(m_view.isShowingMissingMessage());
    auto* message = m_view.findChild<QuickLookMissingView*>();
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->label()->text(),
              QStringLiteral("Oops! The file \"gone.txt\" has been moved or deleted."));
    EXPECT_EQ(message->imageName(), QStringLiteral("dark_notfound2"));
}

TEST_F(PreviewViewTest, EveryPictureThePreviewsLookUpResolves) {
    ImageStore::resetRequestedNames();
    m_view.show();
    ASSERT_TRUE(TestSupport::writeFile(path("blob.qqq"), PreviewFixtures::unknownBytes()));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Folder")));
    for (const char* name : {"blob.qqq", "Folder", "gone.txt", "GoneFolder"}) {
        const PathItem item(path(QString::fromLatin1(name)));
        show(item);
        (void)m_view.grab();
    }
    const QStringList requested = ImageStore::requestedNames();
    for (const char* expected : {"dark_notfound1", "dark_notfound2"})
        EXPECT_TRUE(requested.contains(QString::fromLatin1(expected))) << expected;
    for (const QString& name : requested)
        EXPECT_TRUE(ImageStore::contains(name)) << name.toStdString() << " does not resolve";
}

TEST_F(PreviewViewTest, OnlyTheLatestItemIsShownAndNothingClearsIt) {
    ASSERT_TRUE(PreviewFixtures::writePdf(m_dir.filePath("paper.pdf"), 3));
    ASSERT_TRUE(TestSupport::writeFile(path("notes.txt"), "notes"));
    {
        const PathItem first(path("paper.pdf"));
        m_view.setPreviewItem(&first);
    } // the first item is gone while its preview is still being read
    const PathItem second(path("notes.txt"));
    show(second);
    TestSupport::spinFor(200);
    EXPECT_EQ(m_view.content().kind, Kind::Text);
    EXPECT_EQ(m_view.path(), path("notes.txt"));

    m_view.setPreviewItem(nullptr);
    EXPECT_EQ(m_view.previewItem(), nullptr);
    EXPECT_FALSE(m_view.hasFacts());
    EXPECT_FALSE(m_view.hasContent());
    EXPECT_TRUE(m_view.findChild<QPlainTextEdit*>()->isHidden());
}

} // namespace
