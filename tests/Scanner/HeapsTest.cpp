#include "ScanFixture.h"
#include "TestSupport.h"

#include "FileTree/FolderSystemItem.h"
#include "FileTree/VolumeSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeap.h"
#include "Results/DuplicatesHeaps.h"
#include "Results/HeapsFolderData.h"
#include "Results/HeapsGroup.h"
#include "Results/HeapsValidateProgressListener.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <string_view>

using namespace ScanFixture;

namespace {

class CancelAfterFirst final : public HeapsValidateProgressListener {
public:
    bool isHeapsValidationCanceled() override { return asked++ >= 1; }
    void onHeapsCheckedFolders(uint64_t) override {}
    void onHeapsSizeChanged(uint64_t size, float progress) override {
        lastSize = size;
        lastProgress = progress;
    }
    int asked = 0;
    uint64_t lastSize = 0;
    float lastProgress = 0;
};

class HeapsTest : public ::testing::Test {
protected:
    QByteArray root() const { return QFile::encodeName(dir.path()); }
    void write(const QByteArray& relative, const QByteArray& bytes) {
        ASSERT_TRUE(TestSupport::writeFile(root() + '/' + relative, bytes));
    }
    void group(const std::vector<QByteArray>& relative) {
        QList<FileSystemItem*> nodes;
        for (const QByteArray& path : relative) {
            nodes.append(built.node(path));
            nodes.back()->setIsCheckedForDuplicates(true);
        }
        ASSERT_TRUE(container->addGroupWithItems(nodes));
    }
    void build() {
        built = buildTree(root());
        container = DuplicatesContainer::create(true);
        container->saveRoots({built.root});
    }

    QTemporaryDir dir;
    BuiltTree built;
    std::shared_ptr<DuplicatesContainer> container;
};

TEST_F(HeapsTest, TwoSharedGroupsMakeOneHeapOneSharedGroupNone) {
    write("p/a.bin", content(1, 1001));
    write("q/a.bin", content(1, 1001));
    write("p/b.bin", content(2, 2000));
    write("q/b.bin", content(2, 2000));
    write("r/a.bin", content(1, 1001));
    build();
    group({"p/a.bin", "q/a.bin", "r/a.bin"});
    group({"p/b.bin", "q/b.bin"});
    DuplicatesHeaps& heaps = *container->getHeaps();
    EXPECT_FALSE(heaps.buildHeapsGroupForFolderWithPath(root() + "/p"));
    heaps.validateEmptyDataAfterRemoveWithListener(nullptr);

    const auto p = heaps.buildHeapsGroupForFolderWithPath(root() + "/p");
    ASSERT_TRUE(p);
    ASSERT_EQ(p->getCountOfHeapsInGroup(), 1u);
    const auto heap = p->buildAllSubHeapsArray().front();
    EXPECT_EQ(heap->getSecondFolderItem(), built.folder("q"));
    // (1001 + 2000) * 2 = 6002, an even sum; the half size is exact.
    EXPECT_EQ(heap->getHeapSize(), 6002u);
    EXPECT_EQ(heap->getCountOfGroups(), 2u);
    // r shares one group only: it has no heap and leaves the folder data.
    EXPECT_FALSE(heaps.buildHeapsGroupForFolderWithPath(root() + "/r"));
    EXPECT_EQ(heaps.getAllFoldersData().count(root() + "/r"), 0u);
    EXPECT_EQ(heaps.getTotalHeapsSize(), 6002u);
    EXPECT_GE(heaps.getPossibleHeapsSize(), heaps.getTotalHeapsSize());
}

TEST_F(HeapsTest, RowCountsOfAFolderItsPartnerAndTheHeap) {
    write("p/a.bin", content(1, 1001));
    write("q/a.bin", content(1, 1001));
    write("r/a.bin", content(1, 1001));
    write("p/b.bin", content(2, 2000));
    write("q/b.bin", content(2, 2000));
    build();
    group({"p/a.bin", "q/a.bin", "r/a.bin"});
    group({"p/b.bin", "q/b.bin"});
    container->getHeaps()->validateEmptyDataAfterRemoveWithListener(nullptr);
    ASSERT_TRUE(built.node("q/a.bin")->getDuplicateItem()->selectItemForced(false));

    const auto p = container->getHeaps()->buildHeapsGroupForFolderWithPath(root() + "/p");
    ASSERT_TRUE(p);
    const auto heap = p->buildAllSubHeapsArray().front();
    struct Counts {
        uint64_t items = 0, selected = 0, similar = 0, size = 0;
        bool operator==(const Counts&) const = default;
    };
    Counts group, second, mainData, secondData;
    p->calculateCountOfItems(&group.items, &group.selected, &group.similar, &group.size);
    heap->calculateForSecondFolderCountOfItems(&second.items, &second.selected, &second.similar,
                                               &second.size);
    heap->getMainHeapsFolderData()->calculateCountOfItems(&mainData.items, &mainData.selected,
                                                          &mainData.similar, &mainData.size);
    heap->getSecondHeapsFolderData()->calculateCountOfItems(&secondData.items, &secondData.selected,
                                                            &secondData.similar, &secondData.size);

    // p's copies are unselected; q/a, selected, is a similar copy seen from p.
    EXPECT_EQ(group, (Counts{2, 0, 1, 3001}));
    EXPECT_EQ(mainData, (Counts{2, 0, 1, 3001}));
    // Seen from q, its own selected copy counts as selected, and nothing in p is selected.
    EXPECT_EQ(second, (Counts{2, 1, 0, 3001}));
    EXPECT_EQ(secondData, (Counts{2, 1, 0, 3001}));
    // Every out-parameter is optional.
    p->calculateCountOfItems(nullptr, nullptr, nullptr, nullptr);
}

TEST_F(HeapsTest, AnOddSumLosesOneByte) {
    write("p/a.bin", content(1, 1001));
    write("q/a.bin", content(1, 1001));
    write("p/b.bin", content(2, 2000));
    write("q/b.bin", content(2, 2000));
    write("q/c.bin", content(1, 1001));
    build();
    group({"p/a.bin", "q/a.bin", "q/c.bin"});
    group({"p/b.bin", "q/b.bin"});
    container->getHeaps()->validateEmptyDataAfterRemoveWithListener(nullptr);
    const auto p = container->getHeaps()->buildHeapsGroupForFolderWithPath(root() + "/p");
    ASSERT_TRUE(p);
    // 1001 * 3 + 2000 * 2 = 7003: half size 3501.
    EXPECT_EQ(p->buildAllSubHeapsArray().front()->getHeapSize(), 7002u);
}

TEST_F(HeapsTest, CancelledValidationKeepsHeapsOfTheFoldersItReached) {
    for (const char* folder : {"p", "q", "r"}) {
        write(QByteArray(folder) + "/a.bin", content(1, 1000));
        write(QByteArray(folder) + "/b.bin", content(2, 2000));
    }
    build();
    group({"p/a.bin", "q/a.bin", "r/a.bin"});
    group({"p/b.bin", "q/b.bin", "r/b.bin"});
    CancelAfterFirst listener;
    container->getHeaps()->validateEmptyDataAfterRemoveWithListener(&listener);
    int withHeaps = 0;
    for (const char* folder : {"p", "q", "r"})
        withHeaps +=
            container->getHeaps()->buildHeapsGroupForFolderWithPath(root() + '/' + folder) ? 1 : 0;
    EXPECT_EQ(withHeaps, 1);
    EXPECT_EQ(container->getHeaps()->getAllFoldersData().size(), 1u);
    EXPECT_FLOAT_EQ(listener.lastProgress, 1.0f);
}

TEST_F(HeapsTest, SmallItemsPassWithNothingSmallChangesNothing) {
    write("p/a.bin", content(1, 1000));
    write("q/a.bin", content(1, 1000));
    write("p/b.bin", content(2, 2000));
    write("q/b.bin", content(2, 2000));
    write("p/lonely.txt", content(3, 10));
    build();
    group({"p/a.bin", "q/a.bin"});
    group({"p/b.bin", "q/b.bin"});
    DuplicatesHeaps& heaps = *container->getHeaps();
    heaps.validateEmptyDataAfterRemoveWithListener(nullptr);
    DuplicatesHeaps::ItemsByKey files, folders;
    bool changed = false;
    heaps.getSmallFilesThatNeedToBeCheckedForBetterHeaps(files, folders, *container, true,
                                                         &changed);
    EXPECT_FALSE(changed);
    // One unchecked file alone under its key is not worth a comparison.
    EXPECT_TRUE(files.empty());
    EXPECT_TRUE(folders.empty());
}

TEST_F(HeapsTest, SmallItemsPassUnchecksOnlyNodesWithoutACopy) {
    for (const char* folder : {"p", "q"}) {
        write(QByteArray(folder) + "/a.bin", content(1, 1000));
        write(QByteArray(folder) + "/b.bin", content(2, 2000));
    }
    write("p/s1/t.bin", content(3, 500));
    write("z/t.bin", content(3, 500));
    write("q/s1c/x.bin", content(4, 500));
    write("p/s2/y.bin", content(5, 500));
    build();
    built.root->recalculateCountOfDeepChildren();
    group({"p/a.bin", "q/a.bin"});
    group({"p/b.bin", "q/b.bin"});
    group({"p/s1/t.bin", "z/t.bin"});
    for (const char* folder : {"p/s1", "q/s1c"})
        built.node(folder)->setIsCheckedForDuplicates(true);
    built.node("q/s1c/x.bin")->setIsCheckedForDuplicates(true);
    ASSERT_TRUE(container->getSmallDuplicatesCategory()->addGroupWithItems(
        {built.node("p/s1"), built.node("q/s1c")}));

    DuplicatesHeaps& heaps = *container->getHeaps();
    heaps.validateEmptyDataAfterRemoveWithListener(nullptr);
    DuplicatesHeaps::ItemsByKey files, folders;
    bool changed = false;
    heaps.getSmallFilesThatNeedToBeCheckedForBetterHeaps(files, folders, *container, true,
                                                         &changed);
    EXPECT_TRUE(changed);
    EXPECT_EQ(container->getSmallDuplicatesCategory()->getGroupsCount(), 0u);
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders.begin()->second.size(), 3u);
    EXPECT_FALSE(built.node("q/s1c")->isCheckedForDuplicates());
    EXPECT_FALSE(built.node("q/s1c/x.bin")->isCheckedForDuplicates());
    // A file in a real group keeps its mark, or a later pass could group it twice.
    EXPECT_TRUE(built.node("p/s1/t.bin")->isCheckedForDuplicates());
    EXPECT_TRUE(built.node("p/s1/t.bin")->getDuplicateItem());
}

// What a validation and the small-items pass make of the heaps, in their own orders: folders
// by path, each with its heaps (partner, size, groups, copies in order), its heaps with a
// duplicate folder and its participating copies; then the totals and the small-items maps.
std::string describeHeaps(DuplicatesHeaps& heaps) {
    std::vector<std::pair<QByteArray, std::shared_ptr<HeapsFolderData>>> folders(
        heaps.getAllFoldersData().begin(), heaps.getAllFoldersData().end());
    std::sort(folders.begin(), folders.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    const auto pathOf = [](const DuplicateItem& copy) {
        const FileSystemItem* node = copy.getFileSystemItem();
        return node ? node->path().toStdString() : std::string("?");
    };
    const auto heapText = [&](const DuplicatesHeap& heap) {
        std::string text = "  " + heap.getSecondFolderItem()->path().toStdString() + ' ' +
                           std::to_string(heap.getHeapSize()) + ' ' +
                           std::to_string(heap.getCountOfGroups());
        for (const auto& copy : heap.getDuplicateItems().items())
            text += ' ' + pathOf(*copy);
        return text + '\n';
    };
    std::string out;
    for (const auto& [path, data] : folders) {
        const auto group = heaps.getHeapsGroupForFolderData(*data);
        out += "folder " + path.toStdString() + (group ? "\n" : " none\n");
        if (!group)
            continue;
        for (const auto& heap : group->buildAllSubHeapsArray())
            out += heapText(*heap);
        for (const auto& heap : group->getAllSubHeapsWithDuplicatesFolder())
            out += "dup" + heapText(*heap);
        for (const auto& copy : group->getItemsInMainFolderThatParticipateInHeaps().items())
            out += "  copy " + pathOf(*copy) + '\n';
    }
    uint64_t green = 0, blue = 0, red = 0;
    heaps.calculateTotalGreenSize(&green, &blue, &red);
    out += "total " + std::to_string(heaps.getTotalHeapsSize()) + ' ' + std::to_string(green) +
           ' ' + std::to_string(blue) + ' ' + std::to_string(red) + '\n';
    return out;
}

std::string describeItems(const DuplicatesHeaps::ItemsByKey& items) {
    std::string out;
    for (const auto& [key, nodes] : items) {
        out += key.toStdString();
        for (const FileSystemItem* node : nodes)
            out += ' ' + node->path().toStdString();
        out += '\n';
    }
    return out;
}

class CancelAfter final : public HeapsValidateProgressListener {
public:
    explicit CancelAfter(int answers) : m_answers(answers) {}
    bool isHeapsValidationCanceled() override { return m_answers-- <= 0; }
    void onHeapsCheckedFolders(uint64_t) override {}
    void onHeapsSizeChanged(uint64_t, float) override {}

private:
    int m_answers;
};

class CountingListener final : public HeapsValidateProgressListener {
public:
    bool isHeapsValidationCanceled() override { return false; }
    void onHeapsCheckedFolders(uint64_t count) override { checked += count; }
    void onHeapsSizeChanged(uint64_t size, float progress) override {
        lastSize = size;
        lastProgress = progress;
    }
    uint64_t checked = 0;
    uint64_t lastSize = 0;
    float lastProgress = 0;
};

// Validation builds the folders' heaps on the pool in slices and takes them in the order one
// thread would: a generated tree of skewed folders, a folder copied twice and small files
// gives the same heaps, in the same orders, the same reports and the same small-items maps
// with slices of one folder on four threads as on one thread, in a first validation, in the
// fast one after a removal and in one stopped on the way.
TEST(HeapsConcurrencyTest, ValidationOnThePoolGivesWhatOneThreadGives) {
    QTemporaryDir dir;
    const QByteArray root = QFile::encodeName(dir.path());
    // Folders f00 to f29 (every fifth nested in the one before), one folder of many files,
    // and the contents 0 to 179 each in one to four folders chosen by a fixed sequence.
    std::vector<QByteArray> folderNames;
    for (int f = 0; f < 30; ++f) {
        const QByteArray name =
            QByteArray("f") + QByteArray::number(f / 10) + QByteArray::number(f % 10);
        folderNames.push_back(f % 5 == 4 ? folderNames.back() + '/' + name : name);
    }
    folderNames.push_back("big");
    std::map<int, std::vector<QByteArray>> copiesOf;
    uint32_t state = 12345;
    const auto next = [&state](uint32_t below) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % below;
    };
    for (int seed = 0; seed < 180; ++seed) {
        const uint32_t copies = 1 + next(4);
        for (uint32_t c = 0; c < copies; ++c) {
            // Half the copies go into the big folder, the others anywhere.
            const QByteArray& folder =
                next(2) ? folderNames.back() : folderNames[next(uint32_t(folderNames.size()))];
            const QByteArray relative =
                folder + "/c" + QByteArray::number(seed) + '_' + QByteArray::number(c) + ".bin";
            ASSERT_TRUE(TestSupport::writeFile(root + '/' + relative, content(seed, 600 + seed)));
            copiesOf[seed].push_back(relative);
        }
    }
    for (const char* twin : {"twinA", "twinB"}) {
        for (int seed : {3, 4, 5}) {
            const QByteArray relative = QByteArray(twin) + "/t" + QByteArray::number(seed) + ".bin";
            ASSERT_TRUE(TestSupport::writeFile(root + '/' + relative, content(seed, 600 + seed)));
            copiesOf[seed].push_back(relative);
        }
    }
    // Small files nobody compared, alike in size and extension across folders.
    for (int f = 0; f < 30; f += 3)
        ASSERT_TRUE(TestSupport::writeFile(root + '/' + folderNames[f] + "/small.txt",
                                           content(900 + f, 10)));

    const auto run = [&](unsigned threads, std::size_t slice) {
        DuplicatesHeaps::setValidationConcurrency(threads, slice);
        BuiltTree built = buildTree(root);
        built.root->recalculateCountOfDeepChildren();
        auto container = DuplicatesContainer::create(true);
        container->saveRoots({built.root});
        std::map<int, std::shared_ptr<DuplicateItem>> firstCopy;
        for (const auto& [seed, paths] : copiesOf) {
            if (paths.size() < 2)
                continue;
            QList<FileSystemItem*> nodes;
            for (const QByteArray& path : paths) {
                nodes.append(built.node(path));
                nodes.back()->setIsCheckedForDuplicates(true);
            }
            EXPECT_TRUE(container->addGroupWithItems(nodes));
            firstCopy[seed] = nodes.front()->getDuplicateItem()->shared_from_this();
        }
        EXPECT_TRUE(container->addGroupWithItems({built.node("twinA"), built.node("twinB")}));

        DuplicatesHeaps& heaps = *container->getHeaps();
        CountingListener listener;
        heaps.validateEmptyDataAfterRemoveWithListener(&listener);
        std::string out = describeHeaps(heaps);
        out += "reports " + std::to_string(listener.checked) + ' ' +
               std::to_string(listener.lastSize) + ' ' + std::to_string(listener.lastProgress) +
               '\n';
        // A few copies leave; the next validation rebuilds the folders that had heaps from
        // their earlier partners.
        std::vector<std::shared_ptr<DuplicateItem>> leaving;
        for (int seed : {7, 20, 41, 90})
            if (firstCopy.contains(seed))
                leaving.push_back(firstCopy[seed]);
        container->removeDuplicateItemsFromLogicalStructure(leaving);
        heaps.validateEmptyDataAfterRemoveWithListener(&listener);
        out += describeHeaps(heaps);
        DuplicatesHeaps::ItemsByKey files, folders;
        bool changed = false;
        heaps.getSmallFilesThatNeedToBeCheckedForBetterHeaps(files, folders, *container, true,
                                                             &changed);
        out += "small files\n" + describeItems(files) + "small folders\n" + describeItems(folders);
        // Stopped at the ninth folder: the folders before it keep their heaps, in path
        // order, however far the pool had got.
        CancelAfter stopped(9);
        heaps.validateEmptyDataAfterRemoveWithListener(&stopped);
        out += "stopped\n" + describeHeaps(heaps);
        return out;
    };
    const std::string serial = run(1, 16);
    const std::string pooled = run(4, 1);
    const std::string wide = run(8, 3);
    DuplicatesHeaps::setValidationConcurrency(0, 16);

    // The fixture makes what it is meant to: many heaps, some with the copied folder, small
    // files worth comparing, and a stopped validation that kept some folders' heaps only.
    EXPECT_GT(std::count(serial.begin(), serial.end(), '\n'), 200);
    EXPECT_NE(serial.find("dup  "), std::string::npos);
    EXPECT_NE(serial.find("_txt "), std::string::npos);
    const auto folders = [](std::string_view text) {
        std::size_t count = 0;
        for (std::size_t at = text.find("folder "); at != text.npos;
             at = text.find("folder ", at + 1))
            ++count;
        return count;
    };
    const std::string_view whole(serial);
    const std::size_t stop = whole.find("stopped\n");
    ASSERT_NE(stop, whole.npos);
    EXPECT_GT(folders(whole.substr(stop)), 0u);
    EXPECT_LT(folders(whole.substr(stop)), folders(whole.substr(0, whole.find("reports "))));
    EXPECT_EQ(pooled, serial);
    EXPECT_EQ(wide, serial);
}

} // namespace

TEST_F(HeapsTest, BarTotalsFollowSelectionsAndCopiesThatLeave) {
    write("p/a.bin", content(1, 1001));
    write("q/a.bin", content(1, 1001));
    write("r/a.bin", content(1, 1001));
    write("p/b.bin", content(2, 2000));
    write("q/b.bin", content(2, 2000));
    build();
    group({"p/a.bin", "q/a.bin", "r/a.bin"});
    group({"p/b.bin", "q/b.bin"});
    DuplicatesHeaps& heaps = *container->getHeaps();
    heaps.validateEmptyDataAfterRemoveWithListener(nullptr);
    struct Bars {
        uint64_t green = 0, blue = 0, red = 0;
        bool operator==(const Bars&) const = default;
    };
    const auto bars = [&] {
        Bars b;
        heaps.calculateTotalGreenSize(&b.green, &b.blue, &b.red);
        return b;
    };
    const auto copy = [&](const QByteArray& path) { return built.node(path)->getDuplicateItem(); };
    EXPECT_EQ(bars(), (Bars{0, 0, 0}));

    // Group a takes part with p and q only (r holds no heap), group b wholly.
    ASSERT_TRUE(copy("q/a.bin")->selectItemForced(false));
    EXPECT_EQ(bars(), (Bars{1001, 0, 0}));
    ASSERT_TRUE(copy("p/a.bin")->selectItemForced(false));
    ASSERT_TRUE(copy("p/b.bin")->selectItemForced(false));
    // a: both participating copies selected, the kept r/a takes no part; b: one kept copy.
    EXPECT_EQ(bars(), (Bars{2002 + 2000, 2000, 0}));
    ASSERT_TRUE(copy("q/b.bin")->selectItemForced(true));
    EXPECT_EQ(bars(), (Bars{2002, 0, 4000}));

    // A copy that leaves its group no longer counts, although its heap still lists it
    // until the next validation.
    container->removeDuplicateItemsFromLogicalStructure({copy("p/a.bin")->shared_from_this()});
    EXPECT_EQ(bars(), (Bars{1001, 0, 4000}));

    // Totals kept from earlier answers follow deselections of a wholly taking-part group
    // back down, each step equal to summing the groups afresh.
    copy("q/b.bin")->deselectItem();
    EXPECT_EQ(bars(), (Bars{1001 + 2000, 2000, 0}));
    EXPECT_EQ(bars(), (Bars{1001 + 2000, 2000, 0}));
    copy("p/b.bin")->deselectItem();
    EXPECT_EQ(bars(), (Bars{1001, 0, 0}));
    DuplicatesGroup::BeginSelectionGroup();
    ASSERT_TRUE(copy("p/b.bin")->selectItemForced(true));
    ASSERT_TRUE(copy("q/b.bin")->selectItemForced(true));
    DuplicatesGroup::EndSelectionGroup();
    EXPECT_EQ(bars(), (Bars{1001, 0, 4000}));
}

// A copy that leaves its group, and a group that leaves its category, leave their folders'
// data and intersections at once; the next validation hands the heaps it replaces to a
// caller that asks for them.
TEST_F(HeapsTest, CopiesAndGroupsThatLeaveAreForgottenByTheirFoldersAtOnce) {
    for (const char* folder : {"p/", "q/"}) {
        write(QByteArray(folder) + "a.bin", content(1, 1001));
        write(QByteArray(folder) + "b.bin", content(2, 2000));
        write(QByteArray(folder) + "c.bin", content(3, 3000));
    }
    write("r/a.bin", content(1, 1001));
    build();
    group({"p/a.bin", "q/a.bin", "r/a.bin"});
    group({"p/b.bin", "q/b.bin"});
    group({"p/c.bin", "q/c.bin"});
    DuplicatesHeaps& heaps = *container->getHeaps();
    heaps.validateEmptyDataAfterRemoveWithListener(nullptr);
    ASSERT_TRUE(heaps.buildHeapsGroupForFolderWithPath(root() + "/p"));
    const auto copy = [&](const QByteArray& path) {
        return built.node(path)->getDuplicateItem()->shared_from_this();
    };
    const auto folderData = [&](const char* name) {
        return heaps.getAllFoldersData().at(root() + '/' + name);
    };
    const auto groupA = copy("p/a.bin")->getGroup();
    const auto groupB = copy("p/b.bin")->getGroup();

    // q/a leaves group A, which stays (p/a, r/a): only q lets go of the copy and the group.
    const auto qa = copy("q/a.bin");
    container->removeDuplicateItemsFromLogicalStructure({qa});
    EXPECT_FALSE(folderData("q")->getItems().contains(qa.get()));
    EXPECT_FALSE(folderData("q")->getGroups().contains(groupA.get()));
    EXPECT_EQ(folderData("q")->getAllDuplicatesSize(), 2000u + 3000u);
    EXPECT_TRUE(folderData("p")->getGroups().contains(groupA.get()));
    EXPECT_EQ(folderData("p")->getAllDuplicatesSize(), 1001u + 2000u + 3000u);

    // Group B leaves its category: both folders let go of it and its copies.
    container->getCategoryWithType(groupB->getCategory()->getType())->removeGroup(groupB);
    for (const char* name : {"p", "q"}) {
        EXPECT_FALSE(folderData(name)->getGroups().contains(groupB.get()));
        EXPECT_EQ(folderData(name)->getItems().size(), name[0] == 'p' ? 2u : 1u);
    }

    // p and q now share group C only: no heap is left, and the heaps replaced are handed over.
    std::vector<std::shared_ptr<HeapsGroup>> retired;
    heaps.validateEmptyDataAfterRemoveWithListener(nullptr, &retired);
    EXPECT_FALSE(heaps.buildHeapsGroupForFolderWithPath(root() + "/p"));
    EXPECT_EQ(heaps.getTotalHeapsSize(), 0u);
    EXPECT_FALSE(retired.empty());
    for (const auto& earlier : retired)
        EXPECT_TRUE(earlier);
}
