#include "ResultFixture.h"
#include "TestSupport.h"

#include "Categories/Settings.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeap.h"
#include "Results/DuplicatesManager.h"
#include "Selection/AutoSelectManager.h"
#include "Selection/DuplicatesManagerDelegate.h"
#include "Selection/OperationsManager.h"
#include "Selection/OverviewCalculations.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QThread>

#include <algorithm>
#include <atomic>

namespace {

using Paths = QList<QByteArray>;
using Heaps = std::vector<std::shared_ptr<DuplicatesHeap>>;
using Groups = std::vector<std::shared_ptr<DuplicatesGroup>>;

struct Recorder final : DuplicatesManagerDelegate {
    int calls = 0;
    Heaps tenBiggestHeaps;
    Heaps easyHeaps;
    Groups biggestGroups;
    std::vector<AutoSelectCandidate> candidates;

    void onCalculatedTenBiggestHeaps(const Heaps& heaps) override {
        ++calls;
        tenBiggestHeaps = heaps;
    }
    void onCalculatedBiggestGroups(const Groups& groups) override {
        ++calls;
        biggestGroups = groups;
    }
    void onCalculatedDuplicatesForAutoselect(const std::vector<AutoSelectCandidate>& c) override {
        ++calls;
        candidates = c;
    }
    void onCalculateBiggestEasyForRemoveHeaps(const Heaps& heaps) override {
        ++calls;
        easyHeaps = heaps;
    }
};

// Holds the calculations' workers at their start until released. The state is shared with
// the workers, since one may pass the gate after the test let go of it.
class WorkerGate {
public:
    WorkerGate() {
        OverviewCalculations::setWorkerGateForTesting([state = m_state] {
            state->entered.fetch_add(1);
            while (!state->released.load())
                QThread::msleep(1);
        });
    }
    ~WorkerGate() {
        release();
        OverviewCalculations::setWorkerGateForTesting({});
    }
    int entered() const { return m_state->entered.load(); }
    void release() { m_state->released.store(true); }

private:
    struct State {
        std::atomic<int> entered{0};
        std::atomic<bool> released{false};
    };
    std::shared_ptr<State> m_state = std::make_shared<State>();
};

class OverviewCalculationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Settings::setAutoAlwaysSelectFolders({});
        Settings::setAutoNeverSelectFolders({});
    }
    DuplicatesManager& manager = DuplicatesManager::sharedManager();
};

QByteArray bytes(int size, char fill) {
    return QByteArray(size, fill);
}

TEST_F(OverviewCalculationsTest, WithoutAContainerEveryCalculationAnswersEmpty) {
    ASSERT_EQ(manager.duplicateContainer(), nullptr);
    auto recorder = std::make_shared<Recorder>();
    recorder->biggestGroups.resize(1);
    recorder->candidates.resize(1);
    recorder->tenBiggestHeaps.resize(1);
    recorder->easyHeaps.resize(1);
    manager.calculateTenBiggestHeapsWithDelegate(recorder);
    manager.calculateBiggestEasyForRemoveHeapsWithDelegate(recorder);
    manager.calculateBiggestGroupsWithDelegate(recorder);
    manager.calculateDuplicatesForAutoselectWithDelegate(recorder);
    ASSERT_TRUE(TestSupport::waitFor([&] { return recorder->calls == 4; }));
    EXPECT_TRUE(recorder->biggestGroups.empty());
    EXPECT_TRUE(recorder->candidates.empty());
    EXPECT_TRUE(recorder->tenBiggestHeaps.empty());
    EXPECT_TRUE(recorder->easyHeaps.empty());
    EXPECT_TRUE(manager.pleaseCalculateBiggestHeapsWithMaxResultCount(10).empty());
}

TEST_F(OverviewCalculationsTest, BiggestGroupsAndAutomaticSelectionCandidates) {
    ResultFixture fixture;
    fixture.write({{"a/small.txt", bytes(100, 's')},
                   {"b/small copy.txt", bytes(100, 's')},
                   {"a/big.bin", bytes(5000, 'b')},
                   {"b/big copy.bin", bytes(5000, 'b')},
                   {"c/big copy 2.bin", bytes(5000, 'b')},
                   {"a/mid.dat", bytes(1000, 'm')},
                   {"b/mid.dat", bytes(1000, 'm')}});
    fixture.build();
    auto recorder = std::make_shared<Recorder>();
    manager.calculateBiggestGroupsWithDelegate(recorder);
    manager.calculateDuplicatesForAutoselectWithDelegate(recorder);
    ASSERT_TRUE(TestSupport::waitFor([&] { return recorder->calls == 2; }));

    // By the size that removing all but one copy frees: 10000, 1000, 100.
    ASSERT_EQ(recorder->biggestGroups.size(), 3u);
    EXPECT_EQ(recorder->biggestGroups[0], fixture.group("a/big.bin"));
    EXPECT_EQ(recorder->biggestGroups[1], fixture.group("a/mid.dat"));
    EXPECT_EQ(recorder->biggestGroups[2], fixture.group("a/small.txt"));

    // One candidate per group with a proposal, biggest first; mid.dat has none.
    ASSERT_EQ(recorder->candidates.size(), 2u);
    EXPECT_EQ(recorder->candidates[0].group, fixture.group("a/big.bin"));
    EXPECT_EQ(fixture.relative(recorder->candidates[0].duplicateArray),
              (Paths{"b/big copy.bin", "c/big copy 2.bin"}));
    EXPECT_EQ(recorder->candidates[0].size, 10000u);
    EXPECT_EQ(recorder->candidates[1].group, fixture.group("a/small.txt"));
    EXPECT_EQ(fixture.relative(recorder->candidates[1].duplicateArray), Paths{"b/small copy.txt"});
    EXPECT_EQ(recorder->candidates[1].size, 100u);
    // Only proposed, never selected.
    EXPECT_TRUE(fixture.selected().isEmpty());
}

TEST_F(OverviewCalculationsTest, AnAnswerForAResultThatChangedIsDropped) {
    ResultFixture fixture;
    fixture.write({{"a/x.txt", "xx"}, {"b/x copy.txt", "xx"}});
    fixture.build();

    // A notification queued before a calculation starts describes the state it sees.
    fixture.container()->validateEmptyDataAfterRemoveWithListener(nullptr);
    auto current = std::make_shared<Recorder>();
    manager.calculateBiggestGroupsWithDelegate(current);
    ASSERT_TRUE(TestSupport::waitFor([&] { return current->calls == 1; }));

    auto stale = std::make_shared<Recorder>();
    {
        // The result changes before the answers can arrive: a clean-up queues its
        // data-changed notification while the workers are held.
        WorkerGate gate;
        manager.calculateBiggestGroupsWithDelegate(stale);
        manager.calculateDuplicatesForAutoselectWithDelegate(stale);
        ASSERT_TRUE(TestSupport::waitFor([&] { return gate.entered() == 2; }));
        fixture.container()->validateEmptyDataAfterRemoveWithListener(nullptr);
    }
    auto fresh = std::make_shared<Recorder>();
    manager.calculateBiggestGroupsWithDelegate(fresh);
    ASSERT_TRUE(TestSupport::waitFor([&] { return fresh->calls == 1; }));
    TestSupport::spinFor(100);
    EXPECT_EQ(stale->calls, 0);
    EXPECT_EQ(fresh->biggestGroups.size(), 1u);

    // The same when the manager takes another container.
    auto replaced = std::make_shared<Recorder>();
    {
        WorkerGate gate;
        manager.calculateBiggestGroupsWithDelegate(replaced);
        manager.setDuplicateContainer(nullptr);
    }
    TestSupport::spinFor(100);
    EXPECT_EQ(replaced->calls, 0);
}

// The calculation works on what the result was when it started: changes made on the main
// thread while the worker runs neither reach it nor race with it.
TEST_F(OverviewCalculationsTest, CandidatesFollowTheFolderRulesAndDuplicateFolders) {
    // Worked out on the worker from its snapshot, the candidates are what the automatic
    // selection proposes on the main thread: folder rules read the copies' paths, and the
    // copies inside the duplicate folders d1 and d2 follow their folders.
    ResultFixture fixture;
    fixture.write({{"a/x.txt", bytes(300, 'x')},
                   {"b/x copy.txt", bytes(300, 'x')},
                   {"c/x copy 2.txt", bytes(300, 'x')},
                   {"a/y.txt", bytes(200, 'y')},
                   {"b/y.txt", bytes(200, 'y')},
                   {"c/y.txt", bytes(200, 'y')},
                   {"c/w.txt", bytes(150, 'w')},
                   {"c/w copy.txt", bytes(150, 'w')},
                   {"d1/z.txt", bytes(400, 'z')},
                   {"d1/z2.txt", bytes(410, 'v')},
                   {"d2/z.txt", bytes(400, 'z')},
                   {"d2/z2.txt", bytes(410, 'v')}});
    fixture.build(true);
    Settings::setAutoAlwaysSelectFolders({QFile::decodeName(fixture.abs("c"))});
    Settings::setAutoNeverSelectFolders({QFile::decodeName(fixture.abs("b"))});
    const auto expected = AutoSelectManager().getDuplicateItemsForAutoSelectFromGroups(
        fixture.container()->getAllFilesGroups());
    ASSERT_FALSE(expected.empty());

    auto recorder = std::make_shared<Recorder>();
    manager.calculateDuplicatesForAutoselectWithDelegate(recorder);
    ASSERT_TRUE(TestSupport::waitFor([&] { return recorder->calls == 1; }));
    std::vector<std::shared_ptr<DuplicateItem>> proposed;
    for (const AutoSelectCandidate& candidate : recorder->candidates) {
        std::uint64_t size = 0;
        for (const auto& item : candidate.duplicateArray) {
            EXPECT_EQ(item->getGroup(), candidate.group);
            size += item->getFileItemSize();
        }
        EXPECT_EQ(candidate.size, size);
        proposed.insert(proposed.end(), candidate.duplicateArray.begin(),
                        candidate.duplicateArray.end());
    }
    QList<QByteArray> got = fixture.relative(proposed);
    QList<QByteArray> want = fixture.relative(expected);
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want);
    // The rules decided: nothing under b is proposed, everything under c that may go is.
    EXPECT_TRUE(got.contains("c/x copy 2.txt"));
    EXPECT_FALSE(got.contains("b/x copy.txt"));
    for (const QByteArray& path : got)
        EXPECT_FALSE(path.startsWith("d1/") || path.startsWith("d2/")) << path.constData();
}

TEST_F(OverviewCalculationsTest, MainThreadChangesWhileACalculationRuns) {
    // Sixty groups of three copies; the paths must outlive the write.
    ResultFixture fixture;
    std::vector<QByteArray> paths;
    std::vector<QByteArray> contents;
    for (int i = 0; i < 60; ++i) {
        const QByteArray name = "g" + QByteArray::number(i);
        const QByteArray content = bytes(100 + i, char('a' + i % 26)) + QByteArray::number(i);
        for (const QByteArray& path : {"a/" + name + ".txt", "b/" + name + " copy.txt",
                                       "c/deeper/" + name + " copy 2.txt"}) {
            paths.push_back(path);
            contents.push_back(content);
        }
    }
    std::vector<ResultFixture::File> written;
    for (std::size_t i = 0; i < paths.size(); ++i)
        written.push_back({paths[i].constData(), contents[i]});
    for (const char* own : {"a/own.txt", "b/own.txt", "c/deeper/own.txt"})
        written.push_back({own, own});
    fixture.write(written);
    fixture.build(true);

    // The answer of an undisturbed run.
    auto reference = std::make_shared<Recorder>();
    manager.calculateDuplicatesForAutoselectWithDelegate(reference);
    manager.calculateBiggestGroupsWithDelegate(reference);
    manager.calculateTenBiggestHeapsWithDelegate(reference);
    ASSERT_TRUE(TestSupport::waitFor([&] { return reference->calls == 3; }));
    ASSERT_EQ(reference->candidates.size(), 60u);
    ASSERT_EQ(reference->tenBiggestHeaps.size(), 3u);

    {
        // Selection changes while the workers run: the answers stay the same.
        WorkerGate gate;
        auto during = std::make_shared<Recorder>();
        manager.calculateDuplicatesForAutoselectWithDelegate(during);
        manager.calculateBiggestGroupsWithDelegate(during);
        manager.calculateTenBiggestHeapsWithDelegate(during);
        ASSERT_TRUE(TestSupport::waitFor([&] { return gate.entered() == 3; }));
        OperationsManager& operations = manager.getOperationsManager();
        operations.performForceSelectForGroups(fixture.container()->getAllFilesGroups());
        gate.release();
        for (int round = 0; round < 20; ++round) {
            for (const auto& group : fixture.container()->getAllFilesGroups()) {
                for (const auto& item : group->getItems())
                    item->deselectItem();
            }
            operations.performAutoSelectForGroups(fixture.container()->getAllFilesGroups());
        }
        ASSERT_TRUE(TestSupport::waitFor([&] { return during->calls == 3; }));
        ASSERT_EQ(during->candidates.size(), reference->candidates.size());
        for (std::size_t i = 0; i < during->candidates.size(); ++i) {
            EXPECT_EQ(during->candidates[i].group, reference->candidates[i].group);
            EXPECT_EQ(during->candidates[i].duplicateArray,
                      reference->candidates[i].duplicateArray);
            EXPECT_EQ(during->candidates[i].size, reference->candidates[i].size);
        }
        EXPECT_EQ(during->biggestGroups, reference->biggestGroups);
        EXPECT_EQ(during->tenBiggestHeaps, reference->tenBiggestHeaps);
    }
    {
        // Copies taken out of the result while the worker runs: it still computes from its
        // snapshot, and the answer for the old result is dropped.
        WorkerGate gate;
        auto during = std::make_shared<Recorder>();
        manager.calculateDuplicatesForAutoselectWithDelegate(during);
        manager.calculateTenBiggestHeapsWithDelegate(during);
        manager.calculateBiggestEasyForRemoveHeapsWithDelegate(during);
        ASSERT_TRUE(TestSupport::waitFor([&] { return gate.entered() == 3; }));
        OperationsManager& operations = manager.getOperationsManager();
        operations.excludeItemsInFolderWithPath(fixture.abs("b"));
        gate.release();
        for (const auto& group : Groups(fixture.container()->getAllFilesGroups()))
            operations.removeGroupFromDuplicatesList(group);
        TestSupport::spinFor(200);
        EXPECT_EQ(during->calls, 0);
        EXPECT_TRUE(fixture.container()->getAllFilesGroups().empty());
    }
}

// Pairs of folders p<i>/q<i>, each holding copies of two groups of its own, so each pair forms
// one heap whose half size is the size of one folder's two files.
struct HeapPairs {
    std::vector<QByteArray> paths;
    std::vector<QByteArray> contents;

    std::vector<QByteArray> own;

    void add(int pair, int halfSize) {
        for (const char* folder : {"p", "q"})
            own.push_back(folder + QByteArray::number(pair) + "/own.txt");
        for (int file = 0; file < 2; ++file) {
            const QByteArray content(halfSize / 2, char('A' + pair * 2 + file));
            for (const char* folder : {"p", "q"}) {
                paths.push_back(folder + QByteArray::number(pair) + "/f" +
                                QByteArray::number(file) + ".txt");
                contents.push_back(content);
            }
        }
    }
    std::vector<ResultFixture::File> files() const {
        std::vector<ResultFixture::File> out;
        // A file of its own in each folder, so that no two folders are copies of each other.
        for (std::size_t i = 0; i < own.size(); ++i)
            out.push_back({own[i].constData(), own[i]});
        for (std::size_t i = 0; i < paths.size(); ++i)
            out.push_back({paths[i].constData(), contents[i]});
        return out;
    }
};

std::vector<std::uint64_t> halfSizes(const Heaps& heaps) {
    std::vector<std::uint64_t> sizes;
    for (const auto& heap : heaps)
        sizes.push_back(heap->getHeapHalfSize());
    return sizes;
}

bool eachPairOnce(const Heaps& heaps) {
    for (std::size_t i = 0; i < heaps.size(); ++i) {
        for (std::size_t j = i + 1; j < heaps.size(); ++j) {
            if (heaps[i]->sameAs(*heaps[j]))
                return false;
        }
    }
    return true;
}

TEST_F(OverviewCalculationsTest, TieAtTheTenthPlaceKeepsEveryTiedHeap) {
    HeapPairs pairs;
    for (int i = 1; i <= 9; ++i)
        pairs.add(i, 2000 - 100 * i);
    pairs.add(10, 600); // tied at the tenth place
    pairs.add(11, 600);
    pairs.add(12, 400);
    ResultFixture fixture;
    fixture.write(pairs.files());
    fixture.build(true);

    auto recorder = std::make_shared<Recorder>();
    manager.calculateTenBiggestHeapsWithDelegate(recorder);
    manager.calculateBiggestEasyForRemoveHeapsWithDelegate(recorder);
    ASSERT_TRUE(TestSupport::waitFor([&] { return recorder->calls == 2; }));

    // Every pair is met from both of its folders and listed once.
    const std::vector<std::uint64_t> expected = {1900, 1800, 1700, 1600, 1500, 1400,
                                                 1300, 1200, 1100, 600,  600};
    EXPECT_EQ(halfSizes(recorder->tenBiggestHeaps), expected);
    EXPECT_TRUE(eachPairOnce(recorder->tenBiggestHeaps));
    EXPECT_EQ(halfSizes(manager.pleaseCalculateBiggestHeapsWithMaxResultCount(10)), expected);

    // Each folder forms exactly one heap, with its partner: one candidate per pair, the ten
    // biggest.
    const auto easy = halfSizes(recorder->easyHeaps);
    EXPECT_EQ(easy, std::vector<std::uint64_t>(expected.begin(), expected.begin() + 10));
    EXPECT_TRUE(eachPairOnce(recorder->easyHeaps));
}

TEST_F(OverviewCalculationsTest, WithoutFoldersOfOneHeapEasyHeapsAreTheBiggest) {
    // Three folders, each pair sharing two groups of its own: every folder forms two heaps.
    ResultFixture fixture;
    fixture.write({{"a/g1.txt", QByteArray(100, '1')},
                   {"b/g1.txt", QByteArray(100, '1')},
                   {"a/g2.txt", QByteArray(100, '2')},
                   {"b/g2.txt", QByteArray(100, '2')},
                   {"b/g3.txt", QByteArray(300, '3')},
                   {"c/g3.txt", QByteArray(300, '3')},
                   {"b/g4.txt", QByteArray(300, '4')},
                   {"c/g4.txt", QByteArray(300, '4')},
                   {"a/g5.txt", QByteArray(200, '5')},
                   {"c/g5.txt", QByteArray(200, '5')},
                   {"a/g6.txt", QByteArray(200, '6')},
                   {"c/g6.txt", QByteArray(200, '6')}});
    fixture.build(true);
    auto recorder = std::make_shared<Recorder>();
    manager.calculateTenBiggestHeapsWithDelegate(recorder);
    manager.calculateBiggestEasyForRemoveHeapsWithDelegate(recorder);
    ASSERT_TRUE(TestSupport::waitFor([&] { return recorder->calls == 2; }));
    EXPECT_EQ(halfSizes(recorder->tenBiggestHeaps), (std::vector<std::uint64_t>{600, 400, 200}));
    EXPECT_EQ(recorder->easyHeaps, recorder->tenBiggestHeaps);
}

TEST_F(OverviewCalculationsTest, AContainerWithoutHeapsHasNoHeapsToList) {
    HeapPairs pairs;
    pairs.add(1, 1000);
    ResultFixture fixture;
    fixture.write(pairs.files());
    fixture.build(false);
    auto recorder = std::make_shared<Recorder>();
    manager.calculateTenBiggestHeapsWithDelegate(recorder);
    manager.calculateBiggestEasyForRemoveHeapsWithDelegate(recorder);
    manager.calculateBiggestGroupsWithDelegate(recorder);
    ASSERT_TRUE(TestSupport::waitFor([&] { return recorder->calls == 3; }));
    EXPECT_TRUE(recorder->tenBiggestHeaps.empty());
    EXPECT_TRUE(recorder->easyHeaps.empty());
    EXPECT_EQ(recorder->biggestGroups.size(), 2u);
}

} // namespace
