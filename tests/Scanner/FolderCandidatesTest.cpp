// Which folders the identical-folder stage takes as candidates, and that a candidate alone
// under its identifier is never compared.
#include "ScanFixture.h"
#include "TestSupport.h"

#include "Categories/Settings.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/VolumeSystemItem.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Scanner/DuplicatesFolderFilter.h"
#include "Scanner/DuplicatesFolderFilterListener.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

using namespace ScanFixture;

namespace {

class CompletionListener final : public DuplicatesFolderFilterListener {
public:
    void onFoundDuplicatesFoldersWithTotalSize(uint64_t, float, uint64_t) override {}
    void onUpdateSizesUsingContainer(const std::array<uint64_t, 6>&) override {}
    void onDuplicatedFolderFilteringCompleteWithContainer(
        const std::shared_ptr<DuplicatesContainer>&) override {
        completed.fetch_add(1);
    }
    std::atomic<int> completed{0};
};

class FolderCandidatesTest : public ::testing::Test {
protected:
    void SetUp() override {
        write("big/a.dat", content(1, 3000));
        write("big/b.dat", content(2, 3000));
        write("small/a.dat", content(3, 100));
        write(".hidden/x.dat", content(4, 6000));
        write("pkg/inner/y.dat", content(5, 6000));
        built = buildTree(QFile::encodeName(dir.path()));
        built.folder("pkg")->SetitsLeafPackage();
        container = DuplicatesContainer::create(false);
    }
    void write(const QByteArray& relative, const QByteArray& bytes) {
        ASSERT_TRUE(TestSupport::writeFile(QFile::encodeName(dir.path()) + '/' + relative, bytes));
    }
    bool isCandidate(const std::vector<FolderSystemItem*>& candidates, const char* name) const {
        return std::find(candidates.begin(), candidates.end(), built.folder(name)) !=
               candidates.end();
    }

    QTemporaryDir dir;
    BuiltTree built;
    std::shared_ptr<DuplicatesContainer> container;
};

TEST_F(FolderCandidatesTest, SizeHiddenAndPackageRulesChooseTheCandidates) {
    struct Case {
        bool includeHidden;
        const char* folder;
        bool candidate;
    };
    const Case cases[] = {
        {false, "big", true},        {false, "small", false},    // below the minimal size
        {false, ".hidden", false},   {true, ".hidden", true},    // hidden only when asked
        {false, "pkg/inner", false}, {true, "pkg/inner", false}, // inside a package
        {false, "pkg", true},
    };
    for (const Case& c : cases) {
        SetUp();
        auto filter = std::make_shared<DuplicatesFolderFilter>(container, 5000);
        const auto candidates =
            filter->setWithFoldersTreeInfoOfFolders({built.root}, c.includeHidden);
        EXPECT_EQ(isCandidate(candidates, c.folder), c.candidate)
            << c.folder << (c.includeHidden ? " with hidden items" : "");
    }
}

TEST_F(FolderCandidatesTest, ACandidateAloneUnderItsIdentifierIsNeverCompared) {
    auto listener = std::make_shared<CompletionListener>();
    auto filter = std::make_shared<DuplicatesFolderFilter>(container, 5000);
    filter->setListener(listener);
    filter->findFoldersDuplicatesInRoots({built.root}, false);
    ASSERT_TRUE(TestSupport::waitFor([&] { return listener->completed.load() == 1; }));
    // Marked done without a comparison: none of its files was ever digested.
    EXPECT_TRUE(built.folder("big")->isCheckedForDuplicates());
    for (FileSystemItem* file : built.folder("big")->childrenArray())
        EXPECT_FALSE(file->isCheckedForDuplicates());
    EXPECT_EQ(container->getCategoryWithType(6)->getGroupsCount(), 0u);
}

TEST_F(FolderCandidatesTest, AnExcludedFolderAndEverythingBelowItAreNoCandidates) {
    write("skip/inner/z.dat", content(6, 6000));
    built = buildTree(QFile::encodeName(dir.path()));
    // The container takes its exclusion rules from the settings when it is made.
    const QStringList before = Settings::excludeFolders();
    Settings::setExcludeFolders({dir.path() + QStringLiteral("/skip")});
    container = DuplicatesContainer::create(false);
    Settings::setExcludeFolders(before);
    auto filter = std::make_shared<DuplicatesFolderFilter>(container, 5000);
    const auto candidates = filter->setWithFoldersTreeInfoOfFolders({built.root}, false);
    EXPECT_FALSE(isCandidate(candidates, "skip"));
    EXPECT_FALSE(isCandidate(candidates, "skip/inner"));
    EXPECT_TRUE(isCandidate(candidates, "big"));
}

} // namespace
