#include "Toolkit/QuickLookVC.h"

#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Toolkit/PreviewPanel.h"
#include "Toolkit/QLPreviewViewMod.h"
#include "Toolkit/QuickLookCaptionLabel.h"
#include "Toolkit/QuickLookController.h"
#include "Toolkit/QuickLookMissingView.h"

#include "PreviewFixtures.h"
#include "TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(QuickLookVCLayout, PreviewAndCaptionFramesFollowTheRules) {
    EXPECT_EQ(QuickLookVC::previewFrameForBounds(QSizeF(400, 300)), QRectF(0, 30, 400, 260));
    EXPECT_EQ(QuickLookVC::flipped(QuickLookVC::previewFrameForBounds(QSizeF(400, 300)), 300),
              QRect(0, 10, 400, 260));
    // Below 91 points of height the preview is 50 points or less.
    EXPECT_EQ(QuickLookVC::previewFrameForBounds(QSizeF(400, 90)).height(), 50);
    EXPECT_EQ(QuickLookVC::captionFrameForBounds(QSizeF(400, 300), QSizeF(380, 18)),
              QRectF(10, 7, 380, 18));
    EXPECT_EQ(QuickLookVC::captionFrameForBounds(QSizeF(401, 300), QSizeF(380, 18)),
              QRectF(10, 7, 380, 18));
    EXPECT_EQ(QuickLookVC::flipped(QRectF(10, 7, 380, 18), 300), QRect(10, 275, 380, 18));
}

TEST(QuickLookVCLayout, MessageIsCentredWithTruncatedHalves) {
    struct Case {
        QSize outer, inner;
        QPoint expected; // in widget coordinates (y down)
    };
    const std::vector<Case> cases = {
        {{300, 200}, {100, 50}, {100, 75}},
        // Odd differences: the upward-y origin is truncated, so the spare point is above.
        {{301, 201}, {100, 50}, {100, 76}},
        // Smaller than the message: negative halves truncate towards zero.
        {{80, 40}, {100, 50}, {-10, -5}},
        {{81, 41}, {100, 50}, {-9, -5}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QuickLookMissingView::centredOrigin(c.outer, c.inner), c.expected);
}

TEST(QuickLookVCMessage, FileOrFolderByExtension) {
    struct Case {
        const char* path;
        const char* image;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"/data/photo.jpg", "notfound2", "Oops! The file \"photo.jpg\" has been moved or deleted."},
        {"/data/backup.tar.gz", "notfound2",
         "Oops! The file \"backup.tar.gz\" has been moved or deleted."},
        {"/data/Music", "notfound1", "Oops! The folder \"Music\" has been moved or deleted."},
        {"/data/Makefile", "notfound1", "Oops! The folder \"Makefile\" has been moved or deleted."},
        {"/data/.profile", "notfound1", "Oops! The folder \".profile\" has been moved or deleted."},
        {"/data/odd.", "notfound1", "Oops! The folder \"odd.\" has been moved or deleted."},
        {"/data/Music/", "notfound1", "Oops! The folder \"Music\" has been moved or deleted."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(QuickLookMissingView::imageBaseNameForPath(c.path), QString::fromLatin1(c.image));
        EXPECT_EQ(QuickLookMissingView::messageForPath(c.path), QString::fromUtf8(c.text));
    }
}

TEST(QuickLookVCCaption, NameThenSizeAndFileCount) {
    auto tree = ScanTree::create();
    VolumeSystemItem* root = VolumeSystemItem::initWithPath(*tree, "/scan", 0, 0);
    const auto folder = [&](const char* name, FolderSystemItem* parent, bool package = false) {
        return FolderSystemItem::initWithPathSize(*tree, name, parent, 0, package, 0, false, 0);
    };
    const auto file = [&](const char* name, FolderSystemItem* parent, std::int64_t size,
                          bool hidden = false) {
        return FileSystemItem::initWithPathSize(*tree, name, parent, size, 0, hidden, size);
    };
    FolderSystemItem* empty = folder("Empty", root);
    FolderSystemItem* one = folder("One", root);
    file("a.txt", one, 1500);
    FolderSystemItem* two = folder("Two", root);
    file("a.txt", two, 1000);
    FolderSystemItem* inner = folder("Inner", two);
    file("b.txt", inner, 2000);
    FolderSystemItem* hidden = folder("Hidden", root);
    file("shown.txt", hidden, 100);
    file(".secret", hidden, 100, true);
    FolderSystemItem* package = folder("Tool.app", root, true);
    file("binary", package, 4000);
    FileSystemItem* movie = file("movie.mkv", root, 2500000);
    root->calctotalsize();

    struct Case {
        FileSystemItem* item;
        bool withHidden;
        const char* bold;
        const char* plain;
    };
    const std::vector<Case> cases = {
        {empty, false, "Empty", " - 0\u00a0B"},
        {one, false, "One", " - 1.5\u00a0KB for 1 file"},
        {two, false, "Two", " - 3\u00a0KB for 2 files"},
        {hidden, false, "Hidden", " - 200\u00a0B for 1 file"},
        {hidden, true, "Hidden", " - 200\u00a0B for 2 files"},
        {package, false, "Tool.app", " - 4\u00a0KB"},
        {movie, false, "movie.mkv", " - 2.5\u00a0MB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bold);
        const auto [bold, plain] = QuickLookVC::captionPartsForItem(c.item, c.withHidden);
        EXPECT_EQ(bold, QString::fromUtf8(c.bold));
        EXPECT_EQ(plain, QString::fromUtf8(c.plain));
    }
    EXPECT_EQ(QuickLookVC::captionPartsForItem(nullptr, false), (std::pair<QString, QString>()));
    // Without a result, hidden files are not counted.
    EXPECT_FALSE(QuickLookVC::isScanInHiddenFolders());
}

class QuickLookVCTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_tree = ScanTree::create();
        m_root = VolumeSystemItem::initWithPath(*m_tree, QFile::encodeName(m_dir.path()), 0, 0);
        // Embedded, as in the results screen: a child's resize takes effect at once, where a
        // window's waits for the platform.
        m_pane.setParent(&m_host);
        m_pane.resize(400, 300);
        m_host.resize(400, 300);
        m_host.setAttribute(Qt::WA_DontShowOnScreen);
        m_host.show();
    }
    void TearDown() override {
        if (PreviewPanel::sharedPreviewPanelExists())
            PreviewPanel::sharedPreviewPanel()->orderOut();
    }
    QByteArray path(const char* name) const {
        return QFile::encodeName(m_dir.filePath(QString::fromLatin1(name)));
    }
    FileSystemItem* fileItem(const char* name, std::int64_t size) {
        return FileSystemItem::initWithPathSize(*m_tree, name, m_root, size, 0, false, size);
    }
    void waitLoaded() {
        ASSERT_TRUE(TestSupport::waitFor([&] { return !m_pane.isLoading(); },
                                         PreviewFixtures::kDecodeWaitMs));
    }

    QTemporaryDir m_dir;
    std::shared_ptr<ScanTree> m_tree;
    VolumeSystemItem* m_root = nullptr;
    QWidget m_host;
    QuickLookVC m_pane;
};

TEST_F(QuickLookVCTest, ExistingFileShowsPreviewAndCaption) {
    ASSERT_TRUE(PreviewFixtures::writeImage(m_dir.filePath("photo.png"), QSize(120, 80), "PNG"));
    m_pane.loadFileByItem(fileItem("photo.png", 1234));
    waitLoaded();
    QLPreviewViewMod* view = m_pane.previewView();
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->isHidden());
    EXPECT_EQ(view->geometry(), QRect(0, 10, 400, 260));
    EXPECT_EQ(view->previewItem(), &m_pane);
    EXPECT_EQ(view->controller(), &m_pane);
    EXPECT_EQ(m_pane.path(), path("photo.png"));
    EXPECT_EQ(m_pane.resolvedFileURL(), QUrl::fromLocalFile(m_dir.filePath("photo.png")));
    EXPECT_EQ(m_pane.previewItemTitle(),
              QUrl::fromLocalFile(m_dir.filePath("photo.png")).toString());
    ASSERT_TRUE(m_pane.isCaptionShown());
    EXPECT_EQ(m_pane.captionLabel()->text(), QStringLiteral("photo.png - 1.23\u00a0KB"));
    EXPECT_EQ(m_pane.captionLabel()->geometry(),
              QRect(10, 275, 380, QuickLookCaptionLabel::kHeight));
    EXPECT_FALSE(m_pane.isShowingMissingMessage());
    ASSERT_TRUE(
        TestSupport::waitFor([&] { return view->hasContent(); }, PreviewFixtures::kDecodeWaitMs));
    EXPECT_EQ(view->content().kind, PreviewContent::Kind::Image);

    // Loading a path alone shows no caption.
    m_pane.loadFileByPath(path("photo.png"));
    waitLoaded();
    EXPECT_FALSE(m_pane.isCaptionShown());
    EXPECT_NE(m_pane.previewView(), nullptr);
}

TEST_F(QuickLookVCTest, FolderCaptionCountsOnAWorkerWithALimit) {
    // A folder 10,000 levels deep with a file at every level: counted with a loop, on a
    // worker, the caption saying "..." until the count is back.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Deep")));
    FolderSystemItem* deep =
        FolderSystemItem::initWithPathSize(*m_tree, "Deep", m_root, 0, false, 0, false, 0);
    FolderSystemItem* level = deep;
    constexpr int kLevels = 10000;
    for (int i = 0; i < kLevels; ++i) {
        FileSystemItem::initWithPathSize(*m_tree, "f", level, 1, 0, false, 1);
        level = FolderSystemItem::initWithPathSize(*m_tree, "d", level, 0, false, 0, false, 0);
    }
    m_root->calctotalsize();
    m_pane.loadFileByItem(deep);
    EXPECT_TRUE(m_pane.isCountingCaption());
    waitLoaded();
    ASSERT_TRUE(m_pane.isCaptionShown());
    ASSERT_TRUE(TestSupport::waitFor([&] { return !m_pane.isCountingCaption(); },
                                     PreviewFixtures::kDecodeWaitMs));
    EXPECT_EQ(m_pane.captionLabel()->text(), QStringLiteral("Deep - 10\u00a0KB for 10000 files"));

    // A new load while a count runs: the old count's answer is dropped.
    m_pane.loadFileByItem(deep);
    m_pane.loadFileByItem(fileItem("photo.png", 1234));
    EXPECT_FALSE(m_pane.isCountingCaption());

    // Past the limit the count stops and the caption says so.
    EXPECT_EQ(QuickLookVC::countDeepFiles(deep, false, kLevels),
              std::optional<std::uint64_t>(kLevels));
    EXPECT_EQ(QuickLookVC::countDeepFiles(deep, false, kLevels - 1), std::nullopt);
    EXPECT_EQ(QuickLookVC::folderCaption(QStringLiteral("1\u00a0GB"), std::nullopt),
              QStringLiteral(" - 1\u00a0GB for more than 1000000 files"));
    EXPECT_EQ(QuickLookVC::countingCaption(QStringLiteral("5\u00a0KB")),
              QStringLiteral(" - 5\u00a0KB for ... files"));
}

TEST_F(QuickLookVCTest, VanishedPathsShowTheMessageWithoutCaption) {
    ASSERT_TRUE(TestSupport::writeFile(path("gone.txt"), "soon gone"));
    FileSystemItem* item = fileItem("gone.txt", 9);
    ASSERT_TRUE(QFile::remove(m_dir.filePath("gone.txt")));
    m_pane.loadFileByItem(item);
    waitLoaded();
    EXPECT_TRUE(m_pane.isShowingMissingMessage());
    EXPECT_EQ(m_pane.previewView(), nullptr);
    EXPECT_FALSE(m_pane.isCaptionShown());
    EXPECT_EQ(m_pane.noFileView()->label()->text(),
              QStringLiteral("Oops! The file \"gone.txt\" has been moved or deleted."));
    EXPECT_EQ(m_pane.noFileView()->geometry(), m_pane.rect());
    EXPECT_EQ(m_pane.noFileView()->innerView()->pos(),
              QuickLookMissingView::centredOrigin(QSize(400, 300),
                                                  m_pane.noFileView()->innerView()->size()));

    m_pane.loadFileByPath(path("GoneFolder"));
    waitLoaded();
    EXPECT_EQ(m_pane.noFileView()->imageName(), QStringLiteral("dark_notfound1"));

    // Nothing clears the pane.
    m_pane.loadFileByItem(nullptr);
    EXPECT_FALSE(m_pane.isShowingMissingMessage());
    EXPECT_EQ(m_pane.previewView(), nullptr);
    EXPECT_FALSE(m_pane.isLoading());
}

TEST_F(QuickLookVCTest, QuickSecondLoadWins) {
    ASSERT_TRUE(TestSupport::writeFile(path("here.txt"), "here"));
    m_pane.loadFileByPath(path("here.txt"));
    m_pane.loadFileByPath(path("missing.txt"));
    waitLoaded();
    TestSupport::spinFor(100);
    EXPECT_TRUE(m_pane.isShowingMissingMessage());
    EXPECT_EQ(m_pane.previewView(), nullptr);
}

TEST_F(QuickLookVCTest, PreviewCollapsedTo50PointsShowsNothingUntilItGrows) {
    ASSERT_TRUE(TestSupport::writeFile(path("notes.txt"), "notes"));
    struct Case {
        int height;
        bool shown;
    };
    for (const Case& c : {Case{90, false}, Case{91, true}, Case{60, false}, Case{300, true}}) {
        SCOPED_TRACE(c.height);
        m_pane.resize(400, c.height);
        if (!m_pane.previewView()) {
            m_pane.loadFileByPath(path("notes.txt"));
            waitLoaded();
        }
        QLPreviewViewMod* view = m_pane.previewView();
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->cachedPreviewItem(), &m_pane);
        EXPECT_EQ(view->previewItem() == &m_pane, c.shown);
        EXPECT_EQ(view->path().isEmpty(), !c.shown);
    }
}

TEST_F(QuickLookVCTest, DoubleClickOnThePreviewTogglesThePanelOnTheSamePath) {
    ASSERT_TRUE(TestSupport::writeFile(path("notes.md"), "# notes"));
    m_pane.loadFileByPath(path("notes.md"));
    waitLoaded();
    QLPreviewViewMod* view = m_pane.previewView();
    ASSERT_NE(view, nullptr);
    const auto doubleClick = [&] {
        // Each click comes on its own turn of the event loop, as from the window system.
        QApplication::processEvents();
        const QPointF at(50, 50);
        QMouseEvent press(QEvent::MouseButtonPress, at, view->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, view->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QMouseEvent dbl(QEvent::MouseButtonDblClick, at, view->mapToGlobal(at), Qt::LeftButton,
                        Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release2(QEvent::MouseButtonRelease, at, view->mapToGlobal(at), Qt::LeftButton,
                             Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view, &press);
        QApplication::sendEvent(view, &release);
        QApplication::sendEvent(view, &dbl);
        QApplication::sendEvent(view, &release2);
    };
    doubleClick();
    ASSERT_TRUE(PreviewPanel::sharedPreviewPanelExists());
    PreviewPanel* panel = PreviewPanel::sharedPreviewPanel();
    EXPECT_TRUE(panel->isVisible());
    ASSERT_EQ(QuickLookController::sharedQuickLookController().fileItems().size(), 1);
    EXPECT_EQ(QuickLookController::sharedQuickLookController().fileItems().front()->mfilePath(),
              path("notes.md"));
    EXPECT_EQ(panel->previewView()->path(), path("notes.md"));
    doubleClick();
    EXPECT_FALSE(panel->isVisible());
}

} // namespace
