#include "ScanFixture.h"
#include "ScanResultListener.h"
#include "TestSupport.h"

#include "Categories/Settings.h"
#include "FileTree/FileType.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "Platform/Dispatch.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeap.h"
#include "Results/DuplicatesHeaps.h"
#include "Results/HeapsGroup.h"
#include "Scanner/FoldersScanner.h"
#include "Scanner/FoldersScannerListener.h"
#include "Walker/FileSeparator.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <future>

#include <unistd.h>

using namespace ScanFixture;

namespace {

TEST(ChooseTopFolders, NormalisesAndKeepsOrder) {
    QTemporaryDir dir;
    const QByteArray r = QFile::encodeName(dir.path());
    for (const char* sub : {"/a/b", "/ab", "/c"})
        ASSERT_TRUE(QDir().mkpath(dir.path() + sub));
    ASSERT_EQ(::symlink((r + "/c").constData(), (r + "/c_link").constData()), 0);
    struct Case {
        QList<QByteArray> given;
        QList<QByteArray> chosen;
    };
    const Case cases[] = {
        {{r + "/a", r + "/a/b", r + "/a/"}, {r + "/a"}},
        {{r + "/ab", r + "/a"}, {r + "/ab", r + "/a"}},
        {{r + "/c", r + "/ab", r + "/c"}, {r + "/c", r + "/ab"}},
        {{r + "/c_link", r + "/c///"}, {r + "/c"}},
        {{r + "/a/b", r + "/a/b/../../ab"}, {r + "/a/b", r + "/ab"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FoldersScanner::chooseTopFolders(c.given), c.chosen);
}

class FoldersScannerTest : public ::testing::Test {
protected:
    QByteArray root() const { return QFile::encodeName(dir.path()); }
    void write(const QByteArray& relative, const QByteArray& bytes) {
        ASSERT_TRUE(TestSupport::writeFile(root() + '/' + relative, bytes));
    }

    // One file group of each of the six file types, a folder copied twice, two folders
    // sharing two groups but each holding a file of its own, and small files below the
    // minimal size in those folders.
    void writeFixture() {
        const char* extensions[] = {"jpg", "mp4", "mp3", "pdf", "zip", "qqzz"};
        for (int type = 0; type < 6; ++type) {
            const QByteArray name = QByteArray("typed.") + extensions[type];
            write("typed/one/" + name, content(100 + type, 3000 + type));
            write("typed/two/" + name, content(100 + type, 3000 + type));
        }
        write("typed/one/lonely.txt", content(200, 4000));
        write("typed/two/lonely.txt", content(201, 4000));
        for (const char* copy : {"orig", "copy"}) {
            write(QByteArray(copy) + "/f1.dat", content(1, 5000));
            write(QByteArray(copy) + "/f2.dat", content(2, 6000));
            write(QByteArray(copy) + "/sub/f3.dat", content(3, 7000));
        }
        for (const char* folder : {"h1", "h2"}) {
            write(QByteArray(folder) + "/x.bin", content(10, 8000));
            write(QByteArray(folder) + "/y.bin", content(11, 9000));
            write(QByteArray(folder) + "/tiny.txt", content(12, 10));
        }
        write("h1/own.bin", content(20, 9500));
        write("h2/own.bin", content(21, 9500));
    }

    std::shared_ptr<FoldersScanner> start(uint64_t minimal, const QList<QByteArray>& folders = {}) {
        listener = std::make_shared<ScanResultListener>();
        scanner = FoldersScanner::create(folders.isEmpty() ? QList<QByteArray>{root()} : folders,
                                         listener);
        scanner->includeHiddenFiles(true);
        scanner->startScanAndUseMinimalFileSize(minimal);
        return scanner;
    }
    bool finish() {
        return TestSupport::waitFor([&] { return listener->told == 1; }, 30000);
    }

    QTemporaryDir dir;
    std::shared_ptr<ScanResultListener> listener;
    std::shared_ptr<FoldersScanner> scanner;
};

TEST_F(FoldersScannerTest, WholeScanSortsGroupsFoldersAndHeaps) {
    writeFixture();
    start(100);
    ASSERT_TRUE(finish());
    EXPECT_EQ(scanner->getCurrentState(), FoldersScannerStateComplete);
    const auto& container = listener->container;
    const QByteArray r = root();

    for (int type = 0; type < 6; ++type) {
        const auto groups = container->getCategoryWithType(type)->getGroups();
        std::vector<std::vector<QByteArray>> paths;
        for (const auto& group : groups)
            paths.push_back(pathsOf(*group));
        EXPECT_TRUE(std::any_of(paths.begin(), paths.end(),
                                [&](const auto& p) {
                                    return p.size() == 2 &&
                                           p[0].startsWith(r + "/typed/one/typed.") &&
                                           p[1].startsWith(r + "/typed/two/typed.");
                                }))
            << "type " << type;
    }
    // The folder copied twice is one folder group; its file groups are hidden.
    const auto folderGroups = container->getCategoryWithType(6)->getGroups();
    std::vector<std::vector<QByteArray>> folderPaths;
    for (const auto& group : folderGroups)
        folderPaths.push_back(pathsOf(*group));
    EXPECT_NE(std::find(folderPaths.begin(), folderPaths.end(),
                        std::vector<QByteArray>{r + "/copy", r + "/orig"}),
              folderPaths.end());
    std::vector<std::vector<QByteArray>> hidden;
    for (const auto& group : container->getHiddenCategoryOfDuplicates()->getGroups())
        hidden.push_back(pathsOf(*group));
    EXPECT_NE(std::find(hidden.begin(), hidden.end(),
                        std::vector<QByteArray>{r + "/copy/f1.dat", r + "/orig/f1.dat"}),
              hidden.end());
    // Unique files keep their folders from being identical.
    for (const auto& paths : folderPaths) {
        EXPECT_NE(paths.front(), r + "/h1");
        EXPECT_NE(paths.front(), r + "/typed/one");
    }
    // The two folders sharing two groups make one heap.
    const auto& heaps = container->getHeaps();
    ASSERT_TRUE(heaps);
    const auto heapsGroup = heaps->buildHeapsGroupForFolderWithPath(r + "/h1");
    ASSERT_TRUE(heapsGroup);
    ASSERT_EQ(heapsGroup->getCountOfHeapsInGroup(), 1u);
    const auto heap = heapsGroup->buildAllSubHeapsArray().front();
    EXPECT_EQ(heap->getSecondFolderItem()->path(), r + "/h2");
    EXPECT_GE(heap->getCountOfGroups(), 2u);
    EXPECT_GT(heaps->getTotalHeapsSize(), 0u);
    EXPECT_EQ(container->getSmallDuplicatesCategory()->getGroupsCount(), 0u);
    EXPECT_GT(scanner->getCountOfActualDuplicates(), 0u);
    EXPECT_EQ(scanner->getCountOfScannedFiles(), 28u);
    // Same size and type: six typed pairs, the lonely pair, three copied files, x, y, own.
    EXPECT_EQ(scanner->getCountOfPossibleDuplicates(), 26u);
    EXPECT_EQ(scanner->getPossibleDuplicatesSizeOfType(2), 2u * 3002);
}

TEST_F(FoldersScannerTest, ContentEqualOnlyInPiecesLinksAndOneFolderTwiceMakeNoGroup) {
    write("a/pieces.dat", piecesEqualContent(5, 1));
    write("b/pieces.dat", piecesEqualContent(5, 2));
    write("a/original.mp3", content(3, 6000));
    ASSERT_EQ(
        ::link((root() + "/a/original.mp3").constData(), (root() + "/b/hard.mp3").constData()), 0);
    ASSERT_EQ(::symlink((root() + "/a").constData(), (root() + "/a_again").constData()), 0);
    start(0, {root() + "/a", root() + "/a_again", root() + "/b"});
    EXPECT_EQ(scanner->getFolderArray(), (QList<QByteArray>{root() + "/a", root() + "/b"}));
    ASSERT_TRUE(finish());
    EXPECT_EQ(groupPaths(*listener->container, true), std::vector<std::vector<QByteArray>>{});
}

TEST_F(FoldersScannerTest, StopDuringTheWalkNeverCompletesAndLeavesNothingBehind) {
    for (int i = 0; i < 200; ++i)
        write("w/f" + QByteArray::number(i) + ".txt", content(i % 3, 2000));
    std::weak_ptr<FoldersScanner> weakScanner;
    {
        start(0);
        weakScanner = scanner;
        scanner->stop();
        EXPECT_EQ(scanner->getCurrentState(), FoldersScannerStateStopped);
        scanner->startScanAndUseMinimalFileSize(0);
        EXPECT_EQ(scanner->getCurrentState(), FoldersScannerStateStopped);
        scanner.reset();
    }
    ASSERT_TRUE(TestSupport::waitFor([&] { return weakScanner.expired(); }));
    TestSupport::spinFor(200);
    EXPECT_EQ(listener->told, 0);
}

TEST_F(FoldersScannerTest, WholeFilesAreDigestedWhenThePreferenceOrTheScanAsks) {
    write("a.bin", content(1, 5000));
    write("b.bin", content(1, 5000));
    const struct {
        bool stored;
        bool forced;
    } cases[] = {{false, false}, {false, true}, {true, false}, {true, true}};
    for (const auto& c : cases) {
        Settings::setForceFullHashCalculation(c.stored);
        FileSeparator::setUseForcedFullHashCalculation(!(c.stored || c.forced));
        listener = std::make_shared<ScanResultListener>();
        scanner = FoldersScanner::create({root()}, listener);
        scanner->forceFullHashCalculation(c.forced);
        scanner->startScanAndUseMinimalFileSize(100);
        EXPECT_EQ(FileSeparator::useForcedFullHashCalculation(), c.stored || c.forced)
            << c.stored << c.forced;
        ASSERT_TRUE(finish());
        EXPECT_FALSE(scanner->wasStopped());
        EXPECT_EQ(Settings::forceFullHashCalculation(), c.stored);
        ASSERT_TRUE(listener->container);
        EXPECT_EQ(listener->container->getAllFilesGroups().size(), 1u);
    }
    Settings::setForceFullHashCalculation(false);
    FileSeparator::setUseForcedFullHashCalculation(false);
}

TEST_F(FoldersScannerTest, StopDuringTheWalkWhileFilesAreBeingFiledFreesTheTreeAfterThem) {
    // Batches of files already on their way to the filter when the walk is stopped still
    // read their nodes: the tree must outlive them, even once its scanner is let go of.
    for (int i = 0; i < 3000; ++i)
        write("w/" + QByteArray::number(i % 30) + "/f" + QByteArray::number(i) + ".txt",
              content(i % 7, 100 + i % 50));
    for (int round = 0; round < 10; ++round) {
        listener = std::make_shared<ScanResultListener>();
        scanner = FoldersScanner::create({root()}, listener);
        scanner->startScanAndUseMinimalFileSize(0);
        ASSERT_TRUE(TestSupport::waitFor([&] { return scanner->getCountOfScannedFiles() > 0; }));
        const bool walking = scanner->getCurrentState() == FoldersScannerStateWalking;
        scanner->stop();
        std::weak_ptr<FoldersScanner> weakScanner = scanner;
        scanner.reset();
        ASSERT_TRUE(TestSupport::waitFor([&] { return weakScanner.expired(); }));
        if (walking) {
            EXPECT_EQ(listener->told, 0);
        }
    }
}

TEST_F(FoldersScannerTest, StopInEachLaterStateStillDeliversThePartialResult) {
    writeFixture();
    for (int i = 0; i < 60; ++i)
        write("many/f" + QByteArray::number(i) + ".dat", content(i % 20, 30000));
    for (int stopIn = FoldersScannerStateFilteringFiles;
         stopIn <= FoldersScannerStateCheckingSmallItems; ++stopIn) {
        listener = std::make_shared<ScanResultListener>();
        scanner = FoldersScanner::create({root()}, listener);
        bool stopped = false;
        FoldersScanner* raw = scanner.get();
        scanner->setStateChangeHandler([&, raw](FoldersScannerState state) {
            if (state == stopIn && !stopped) {
                stopped = true;
                raw->stop();
            }
        });
        scanner->startScanAndUseMinimalFileSize(100);
        ASSERT_TRUE(finish()) << "stopped in " << stopIn;
        EXPECT_TRUE(stopped) << "never entered " << stopIn;
        EXPECT_EQ(scanner->getCurrentState(), FoldersScannerStateComplete);
        // It still tells that it was stopped, so nobody takes the result for a whole one.
        EXPECT_TRUE(scanner->wasStopped());
        ASSERT_TRUE(listener->container);
        TestSupport::spinFor(50);
        EXPECT_EQ(listener->told, 1);
        // Every file still in a group is marked: a stop never unchecks grouped files.
        for (const auto& category : listener->container->getCategories()) {
            for (const auto& group : category->getGroups()) {
                for (FileSystemItem* node : group->getFileSystemItems())
                    EXPECT_TRUE(node->isCheckedForDuplicates()) << node->path().constData();
            }
        }
    }
}

// Two folders P and Q, not identical, each holding a folder ("data.skip") that the folder
// stage never takes as a candidate (its name's extension is excluded) but that is the same in
// both; their comparison makes those two a small same-content set, which hides the group of
// the file inside them. Once the scan ends without the heaps' small-items pass (stopped, or a
// container without heaps), that set is dropped and the file group must be back among the
// typed groups. R and S are compared after P and Q; their small files need digests.
TEST_F(FoldersScannerTest, FileGroupsHiddenOnlyBySmallSetsComeBackWhenTheScanEnds) {
    const QStringList savedExtensions = Settings::excludeExtensions();
    Settings::setExcludeExtensions({QStringLiteral(".skip")});
    struct RestoreSettings {
        QStringList saved;
        ~RestoreSettings() { Settings::setExcludeExtensions(saved); }
    } restore{savedExtensions};
    write("P/data.skip/f.dat", content(1, 5000));
    write("Q/data.skip/f.dat", content(1, 5000));
    write("P/other.skip/g.dat", content(2, 5000));
    write("Q/other.skip/g.dat", content(3, 5000));
    write("a1.dat", content(2, 5000));
    write("b1.dat", content(3, 5000));
    write("R/big.dat", content(4, 20000));
    write("S/big.dat", content(4, 20000));
    write("R/t.txt", content(5, 10));
    write("S/t.txt", content(6, 10));
    const std::vector<QByteArray> hiddenOnlyBySmallSet{root() + "/P/data.skip/f.dat",
                                                       root() + "/Q/data.skip/f.dat"};

    for (const bool stopInFolderStage : {true, false}) {
        SCOPED_TRACE(stopInFolderStage ? "stopped after P and Q" : "container without heaps");
        listener = std::make_shared<ScanResultListener>();
        scanner = FoldersScanner::create({root()}, listener);
        // Holds the digests of R and S back (the digest queue is shared), so the stop lands
        // after P and Q were compared and before the folder stage ends.
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        struct Release {
            std::promise<void>& promise;
            bool done = false;
            void operator()() {
                if (!done)
                    promise.set_value();
                done = true;
            }
            ~Release() { (*this)(); }
        } releaseDigests{release};
        if (stopInFolderStage) {
            scanner->setStateChangeHandler([released](FoldersScannerState state) {
                if (state == FoldersScannerStateFilteringFolders)
                    FileSeparator::workingQueue().async([released] { released.wait(); });
            });
        } else {
            // The container is made without heaps when the scan starts; the folder stage
            // still runs when folder search is on by the time the files are compared.
            scanner->enableSearchDuplicatesFoldersAndSimilars(false);
        }
        scanner->startScanAndUseMinimalFileSize(100);
        if (stopInFolderStage) {
            // Progress 0.5: the second of the two folder groups (R and S) has begun.
            ASSERT_TRUE(TestSupport::waitFor(
                [&] { return scanner->getDuplicatesFoldersFilterProgress() >= 0.5f; }, 30000));
            ASSERT_EQ(scanner->getCurrentState(), FoldersScannerStateFilteringFolders);
            scanner->stop();
            releaseDigests();
        } else {
            scanner->enableSearchDuplicatesFoldersAndSimilars(true);
        }
        ASSERT_TRUE(finish());
        EXPECT_EQ(scanner->getCurrentState(), FoldersScannerStateComplete);
        const auto& container = listener->container;
        ASSERT_TRUE(container);
        EXPECT_EQ(container->getSmallDuplicatesCategory()->getGroupsCount(), 0u);
        for (const auto& group : container->getHiddenCategoryOfDuplicates()->getGroups())
            EXPECT_TRUE(group->isFullyInDuplicatesFolders()) << pathsOf(*group).front().constData();
        std::vector<std::vector<QByteArray>> typed;
        const int type = FileType::typeOfFileAtPath(QByteArray("f.dat"));
        for (const auto& group : container->getCategoryWithType(type)->getGroups())
            typed.push_back(pathsOf(*group));
        EXPECT_NE(std::find(typed.begin(), typed.end(), hiddenOnlyBySmallSet), typed.end());
        // P and Q are not copies of each other.
        EXPECT_EQ(container->getCategoryWithType(6)->getGroupsCount(), 0u);
        TestSupport::spinFor(50);
        EXPECT_EQ(listener->told, 1);
    }
}

TEST_F(FoldersScannerTest, WithoutFolderSearchNoFolderStagesRun) {
    writeFixture();
    listener = std::make_shared<ScanResultListener>();
    scanner = FoldersScanner::create({root()}, listener);
    std::vector<FoldersScannerState> states;
    scanner->setStateChangeHandler([&](FoldersScannerState state) { states.push_back(state); });
    scanner->enableSearchDuplicatesFoldersAndSimilars(false);
    scanner->startScanAndUseMinimalFileSize(100);
    ASSERT_TRUE(finish());
    EXPECT_EQ(states, (std::vector<FoldersScannerState>{FoldersScannerStateFilteringFiles,
                                                        FoldersScannerStateValidatingHeaps,
                                                        FoldersScannerStateComplete}));
    EXPECT_EQ(listener->container->getCategoryWithType(6)->getGroupsCount(), 0u);
    for (int type = 0; type <= 6; ++type)
        EXPECT_TRUE(scanner->isFinishSearchDuplicatesOfType(type));
    EXPECT_FALSE(scanner->isFinishSearchDuplicatesOfType(7));
    EXPECT_EQ(scanner->getPossibleDuplicatesSizeOfType(-1), 0u);
    for (int type = 0; type < 6; ++type)
        EXPECT_GE(scanner->getPossibleDuplicatesSizeOfType(type),
                  scanner->getActualDuplicatesSizeOfType(type));
}

} // namespace
