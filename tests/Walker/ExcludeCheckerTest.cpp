#include "Walker/ExcludeChecker.h"

#include "Categories/Settings.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Platform/UserDefaults.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using Exclusion = ExcludeChecker::Exclusion;

// The verdict for a path whose item name is its last component.
Exclusion verdict(const ExcludeChecker& checker, const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return checker.exclusionForPath(path, slash < 0 ? path : path.mid(slash + 1));
}

struct PathCase {
    QByteArray path;
    Exclusion expected;
};

void expectVerdicts(const ExcludeChecker& checker, const std::vector<PathCase>& cases) {
    for (const PathCase& c : cases) {
        EXPECT_EQ(verdict(checker, c.path), c.expected) << c.path.toStdString();
    }
}

TEST(ExcludeCheckerTest, FolderEntriesExcludeThemselvesAndWhatLiesBelowOnly) {
    const ExcludeChecker checker(false, {}, {}, {"/usr", "/home/u/Library", "/data/keep/"});
    expectVerdicts(checker, {
                                {"/usr", Exclusion::Path},
                                {"/usr/", Exclusion::Path},
                                {"/usr/bin/ls", Exclusion::Path},
                                {"/usrlocal", Exclusion::None},
                                {"/usr.d/file", Exclusion::None},
                                {"/USR/bin", Exclusion::None},
                                {"/home/u/Library", Exclusion::Path},
                                {"/home/u/Library/x/y.txt", Exclusion::Path},
                                {"/home/u/Libraryx", Exclusion::None},
                                {"/home/u/library", Exclusion::None},
                                // Listed with a trailing "/": the folder itself is excluded
                                // as well as its content.
                                {"/data/keep", Exclusion::Path},
                                {"/data/keep/a", Exclusion::Path},
                                {"/data/keeper", Exclusion::None},
                                {"/home/u/notes.txt", Exclusion::None},
                            });
}

TEST(ExcludeCheckerTest, FileEntriesMatchTheExactPathOnly) {
    const ExcludeChecker checker(false, {}, {"/home/u/Pictures/Photo Booth Library", "/tmp/a.bin"},
                                 {});
    expectVerdicts(checker, {
                                {"/home/u/Pictures/Photo Booth Library", Exclusion::Path},
                                {"/home/u/Pictures/Photo Booth Library/a.jpg", Exclusion::None},
                                {"/home/u/Pictures/Photo Booth", Exclusion::None},
                                {"/tmp/a.bin", Exclusion::Path},
                                {"/tmp/a.bin2", Exclusion::None},
                            });
}

TEST(ExcludeCheckerTest, RootFolderAndEmptyEntries) {
    // An empty folder entry names nothing (it must not turn into the prefix "/").
    const ExcludeChecker empty(false, {""}, {""}, {""});
    expectVerdicts(empty, {{"/home/u/a.txt", Exclusion::None}, {"/", Exclusion::None}});
    // "/" itself excludes everything.
    const ExcludeChecker root(false, {}, {}, {"/"});
    expectVerdicts(root, {{"/", Exclusion::Path}, {"/home/u/a.txt", Exclusion::Path}});
}

TEST(ExcludeCheckerTest, ExtensionEntriesLoseTheirFirstCharacterAndIgnoreCase) {
    const QString longEntry = "." + QString(70, u'Q');
    // The Kelvin sign lower-cases to an ASCII "k".
    const ExcludeChecker checker(false,
                                 {".framework", ".PLIST", "abc", ".", "x", "", ".Ünï",
                                  QString::fromUtf8(".\u212A"), longEntry},
                                 {}, {});
    expectVerdicts(checker, {
                                // Applies to folders as well as files.
                                {"/opt/Qt.framework", Exclusion::Extension},
                                {"/opt/Qt.FrameWork", Exclusion::Extension},
                                {"/home/u/Info.plist", Exclusion::Extension},
                                {"/home/u/Info.PList", Exclusion::Extension},
                                // "abc" without a dot excludes "bc", not "abc".
                                {"/home/u/a.bc", Exclusion::Extension},
                                {"/home/u/a.abc", Exclusion::None},
                                // One-character entries are ignored: no "" or "x" rule.
                                {"/home/u/a.x", Exclusion::None},
                                {"/home/u/a.", Exclusion::None},
                                {"/home/u/noext", Exclusion::None},
                                // Only the last extension counts; a leading dot is no
                                // extension.
                                {"/home/u/a.plist.bak", Exclusion::None},
                                {"/home/u/.plist", Exclusion::None},
                                // The extension comes from the name, not the folders.
                                {"/opt/Qt.framework/Headers", Exclusion::None},
                                {"/home/u/song.ÜNÏ", Exclusion::Extension},
                                {"/home/u/a.K", Exclusion::Extension},
                                {"/home/u/a.k", Exclusion::Extension},
                                {"/home/u/a." + QByteArray(70, 'q'), Exclusion::Extension},
                                {"/home/u/a." + QByteArray(69, 'q'), Exclusion::None},
                            });
}

TEST(ExcludeCheckerTest, PathsAreComparedAsBytes) {
    const QString umlaut = QString::fromUtf8("/home/u/Müsik");
    const ExcludeChecker checker(false, {}, {}, {umlaut});
    const QByteArray encoded = QFile::encodeName(umlaut);
    // A name that is not valid UTF-8 below an excluded folder is excluded by its bytes.
    expectVerdicts(checker, {
                                {encoded, Exclusion::Path},
                                {encoded + "/\xff\xfe.mp3", Exclusion::Path},
                                {"/home/u/M\xfcsik/a.mp3", Exclusion::None},
                                {"/home/u/\xff\xfe.mp3", Exclusion::None},
                            });
}

class ExcludeCheckerItemTest : public ::testing::Test {
protected:
    std::shared_ptr<ScanTree> tree = ScanTree::create();
    VolumeSystemItem* root = VolumeSystemItem::initWithPath(*tree, "/", 0, 0);

    FolderSystemItem* folder(FolderSystemItem* parent, QByteArrayView name) {
        return FolderSystemItem::initWithPathSize(*tree, name, parent, 0, false, 0, false, 0);
    }
    FileSystemItem* file(FolderSystemItem* parent, QByteArrayView name) {
        return FileSystemItem::initWithPathSize(*tree, name, parent, 4096, 0, false, 10);
    }
};

TEST_F(ExcludeCheckerItemTest, PathExclusionMarksTheItemCheckedExtensionExclusionDoesNot) {
    const ExcludeChecker checker(false, {".framework", ".build"}, {"/home/u/skip.txt"},
                                 {"/home/u/Library"});
    FolderSystemItem* home = folder(folder(root, "home"), "u");
    FolderSystemItem* library = folder(home, "Library");
    FileSystemItem* inLibrary = file(folder(library, "Caches"), "c.db");
    FileSystemItem* skipped = file(home, "skip.txt");
    FolderSystemItem* framework = folder(home, "Qt.framework");
    FileSystemItem* build = file(home, "out.BUILD");
    FileSystemItem* kept = file(home, "keep.txt");
    FolderSystemItem* libraryLike = folder(home, "Library2");

    EXPECT_TRUE(checker.isFileItemExcluded(nullptr));
    for (FileSystemItem* item : {static_cast<FileSystemItem*>(library), inLibrary, skipped}) {
        EXPECT_TRUE(checker.isFileItemExcluded(item)) << item->path().toStdString();
        EXPECT_TRUE(item->isCheckedForDuplicates()) << item->path().toStdString();
    }
    for (FileSystemItem* item : {static_cast<FileSystemItem*>(framework), build}) {
        EXPECT_TRUE(checker.isFileItemExcluded(item)) << item->path().toStdString();
        EXPECT_FALSE(item->isCheckedForDuplicates()) << item->path().toStdString();
    }
    for (FileSystemItem* item : {kept, static_cast<FileSystemItem*>(libraryLike)}) {
        EXPECT_FALSE(checker.isFileItemExcluded(item)) << item->path().toStdString();
        EXPECT_FALSE(item->isCheckedForDuplicates());
    }
    EXPECT_FALSE(checker.isFileItemExcluded(root));
}

TEST_F(ExcludeCheckerItemTest, DefaultSettingsAreSnapshotAtCreation) {
    Settings::setScanInHiddenFolders(false);
    for (const char* key : {Settings::Key::excludeFolders, Settings::Key::excludeFiles,
                            Settings::Key::excludeExtensions}) {
        UserDefaults::standardUserDefaults().removeObject(QString::fromLatin1(key));
    }
    const ExcludeChecker checker;
    EXPECT_FALSE(checker.isScanInHiddenFolders());

    FileSystemItem* proc = folder(root, "proc");
    FileSystemItem* procfs = folder(root, "procfs");
    const QByteArray home = QFile::encodeName(QDir::homePath());
    EXPECT_TRUE(checker.isFileItemExcluded(proc));
    EXPECT_TRUE(proc->isCheckedForDuplicates());
    EXPECT_FALSE(checker.isFileItemExcluded(procfs));
    expectVerdicts(checker, {
                                {"/usr/share/doc/a.txt", Exclusion::Path},
                                {"/sys", Exclusion::Path},
                                {home + "/.cache/thumbnails/x.png", Exclusion::Path},
                                {home + "/.local/share/Trash/files/a.txt", Exclusion::Path},
                                {home + "/Pictures/digikam4.db", Exclusion::Path},
                                {home + "/src/Info.plist", Exclusion::Extension},
                                {home + "/src/Qt.framework", Exclusion::Extension},
                                {home + "/Documents/report.pdf", Exclusion::None},
                            });

    // Later changes reach the next checker only.
    Settings::setScanInHiddenFolders(true);
    Settings::setExcludeFolders({"/home/other"});
    Settings::setExcludeExtensions({});
    EXPECT_FALSE(checker.isScanInHiddenFolders());
    EXPECT_EQ(verdict(checker, "/proc/1/status"), Exclusion::Path);
    EXPECT_EQ(verdict(checker, "/home/other/a.txt"), Exclusion::None);

    const ExcludeChecker next;
    EXPECT_TRUE(next.isScanInHiddenFolders());
    EXPECT_EQ(verdict(next, "/proc/1/status"), Exclusion::None);
    EXPECT_EQ(verdict(next, "/home/other/a.txt"), Exclusion::Path);
    EXPECT_EQ(verdict(next, home + "/src/Info.plist"), Exclusion::None);
}

} // namespace
