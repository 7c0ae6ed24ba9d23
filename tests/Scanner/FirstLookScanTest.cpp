#include "ScanFixture.h"
#include "ScanResultListener.h"
#include "TestSupport.h"

#include "FileTree/FolderSystemItem.h"
#include "Platform/ReadOnlyFile.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeap.h"
#include "Results/DuplicatesHeaps.h"
#include "Results/HeapsFolderData.h"
#include "Results/HeapsGroup.h"
#include "Scanner/FoldersScanner.h"
#include "Walker/ContentHasher.h"
#include "Walker/FileManagerUtils.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <random>

using namespace ScanFixture;

namespace {

// The file system's digests without the first look: every file of a same-size set is keyed
// by its three-piece digest, as before fingerprints were taken. Counts the whole-file and
// the partial digests asked for.
class DigestOnlyHasher final : public ContentHasher {
public:
    std::optional<QString> hashforFile(const QByteArray& path) override {
        ++digests;
        return FileManagerUtils::hashforFile(path);
    }
    std::optional<QString> hashforFilePartly(const QByteArray& path, std::uint64_t size,
                                             std::uint64_t blockLength,
                                             std::uint64_t threshold) override {
        ++digests;
        return FileManagerUtils::hashforFilePartlyWithSizeHashPartBlockLengthForFilesGreatherThan(
            path, size, blockLength, threshold);
    }
    std::atomic<int> digests{0};
};

// A heap's common groups and copies as walking both folders whole gives them: the main
// folder's groups in its order that the partner holds too, then each folder's copies in
// those groups in the folder's order.
void expectSameAsEveryPairWalked(const DuplicatesHeap& heap) {
    const HeapsFolderData& main = *heap.getMainHeapsFolderData();
    const HeapsFolderData& second = *heap.getSecondHeapsFolderData();
    std::vector<const DuplicatesGroup*> groups;
    for (const auto& group : main.getGroups().items())
        if (second.getGroups().contains(group.get()))
            groups.push_back(group.get());
    std::vector<const DuplicatesGroup*> found;
    for (const auto& group : heap.getGroups().items())
        found.push_back(group.get());
    EXPECT_EQ(found, groups);
    std::vector<const DuplicateItem*> copies;
    for (const HeapsFolderData* folder : {&main, &second})
        for (const auto& copy : folder->getItems().items())
            if (std::find(groups.begin(), groups.end(), copy->getGroup().get()) != groups.end())
                copies.push_back(copy.get());
    std::vector<const DuplicateItem*> held;
    for (const auto& copy : heap.getDuplicateItems().items())
        held.push_back(copy.get());
    EXPECT_EQ(held, copies);
}

// Everything a scan found, in a form two scans can be compared by: every group of every
// category (folders included) as sorted paths, and for every folder with heaps its partners
// with their sizes, group counts and copies (in the heap's own order), and the copies taking
// part (sorted, as are the partners: neither has an order of its own).
std::vector<QByteArray> describe(const DuplicatesContainer& container) {
    std::vector<QByteArray> lines;
    for (const auto& group : groupPaths(container, true)) {
        QByteArray line = "group";
        for (const QByteArray& path : group)
            line += ' ' + path;
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    const auto& heaps = container.getHeaps();
    if (!heaps)
        return lines;
    std::vector<QByteArray> folders;
    for (const auto& [path, data] : heaps->getAllFoldersData()) {
        const auto group = heaps->getHeapsGroupForFolderData(*data);
        if (!group)
            continue;
        std::vector<QByteArray> partners;
        auto add = [&](const DuplicatesHeap& heap, const char* kind) {
            QByteArray line = QByteArray(kind) + heap.getSecondFolderItem()->path() + ' ' +
                              QByteArray::number(qulonglong(heap.getHeapSize())) + ' ' +
                              QByteArray::number(qulonglong(heap.getCountOfGroups()));
            for (const auto& copy : heap.getDuplicateItems().items())
                line += ' ' + copy->getFileSystemItem()->path();
            partners.push_back(line);
            expectSameAsEveryPairWalked(heap);
        };
        for (const auto& heap : group->buildAllSubHeapsArray())
            add(*heap, "  heap ");
        for (const auto& heap : group->getAllSubHeapsWithDuplicatesFolder())
            add(*heap, "  dup ");
        std::sort(partners.begin(), partners.end());
        QByteArray block = "heaps " + path;
        for (const QByteArray& partner : partners)
            block += '\n' + partner;
        // The copies taking part gather as the partners come, in no fixed order.
        std::vector<QByteArray> copies;
        for (const auto& copy : group->getItemsInMainFolderThatParticipateInHeaps().items())
            copies.push_back(copy->getFileSystemItem()->path());
        std::sort(copies.begin(), copies.end());
        for (const QByteArray& copy : copies)
            block += "\n  copy " + copy;
        folders.push_back(block);
    }
    std::sort(folders.begin(), folders.end());
    lines.insert(lines.end(), folders.begin(), folders.end());
    return lines;
}

class FirstLookScanTest : public ::testing::Test {
protected:
    void TearDown() override { ContentHasher::setStandard(nullptr); }

    QByteArray root() const { return QFile::encodeName(m_dir.path()); }
    void write(const QByteArray& relative, const QByteArray& bytes) {
        ASSERT_TRUE(TestSupport::writeFile(root() + '/' + relative, bytes));
    }

    // A small home folder: many files sharing few sizes, copies in groups of 2 to 4 spread
    // over folders, a folder copied whole, folders sharing most of their files, empty files,
    // and large files equal in their three pieces but not elsewhere.
    void writeTree() {
        std::mt19937 random(37);
        const int folders = 40;
        auto folderName = [](int f) {
            return QByteArray("d") + QByteArray::number(f % 5) + "/e" + QByteArray::number(f);
        };
        int seed = 1;
        for (int i = 0; i < 600; ++i) {
            const int size = 100 + int(random() % 40) * 10;
            const QByteArray name = "f" + QByteArray::number(i) + (i % 3 ? ".jpg" : ".txt");
            const QByteArray data = content(seed++, size);
            write(folderName(int(random() % folders)) + '/' + name, data);
            if (i % 12 == 0) {
                const int copies = 1 + int(random() % 3);
                for (int k = 0; k < copies; ++k)
                    write(folderName(int(random() % folders)) + "/copy" + QByteArray::number(k) +
                              '_' + name,
                          data);
            }
        }
        for (const char* album : {"album", "album copy"}) {
            for (int n = 0; n < 6; ++n)
                write(QByteArray(album) + "/p" + QByteArray::number(n) + ".jpg",
                      content(5000 + n, 700 + n));
        }
        for (int member = 0; member < 3; ++member) {
            for (int n = 0; n < 9; ++n) {
                const int own = n % 3 == member ? 6000 + 100 * member : 0;
                write("trip" + QByteArray::number(member) + "/t" + QByteArray::number(n) + ".png",
                      content(5500 + n + own, 900 + n));
            }
        }
        for (int n = 0; n < 4; ++n)
            write(folderName(n) + "/empty.txt", QByteArray());
        write("big/a.dat", piecesEqualContent(7, 1));
        write("big/b.dat", piecesEqualContent(7, 2));
        write("big/c.dat", piecesEqualContent(7, 1));
    }

    std::vector<QByteArray> scan() {
        auto listener = std::make_shared<ScanResultListener>();
        auto scanner = FoldersScanner::create({root()}, listener);
        scanner->includeHiddenFiles(true);
        scanner->enableSearchDuplicatesFoldersAndSimilars(true);
        scanner->startScanAndUseMinimalFileSize(0);
        EXPECT_TRUE(TestSupport::waitFor([&] { return listener->told == 1; }, 60000));
        return listener->container ? describe(*listener->container) : std::vector<QByteArray>{};
    }

    QTemporaryDir m_dir;
};

TEST_F(FirstLookScanTest, ScanFindsTheSameGroupsFoldersAndHeapsAsDigestsAlone) {
    writeTree();
    const std::vector<QByteArray> withFirstLook = scan();
    auto digestOnly = std::make_shared<DigestOnlyHasher>();
    ContentHasher::setStandard(digestOnly);
    const std::vector<QByteArray> withDigestsOnly = scan();
    ASSERT_GT(digestOnly->digests.load(), 0);
    ASSERT_EQ(withFirstLook.size(), withDigestsOnly.size());
    for (size_t i = 0; i < withFirstLook.size(); ++i)
        ASSERT_EQ(withFirstLook[i].toStdString(), withDigestsOnly[i].toStdString()) << i;

    // The tree holds what the comparison is about: file groups, the album copied whole, the
    // similar trips, and the large files told apart only by their whole content.
    const auto has = [&](const QByteArray& line) {
        return std::find(withFirstLook.begin(), withFirstLook.end(), line) != withFirstLook.end();
    };
    const QByteArray r = root();
    EXPECT_TRUE(has("group " + r + "/album " + r + "/album copy"));
    EXPECT_TRUE(has("group " + r + "/big/a.dat " + r + "/big/c.dat"));
    EXPECT_TRUE(std::any_of(withFirstLook.begin(), withFirstLook.end(), [&](const QByteArray& l) {
        return l.startsWith("heaps " + r + "/trip0\n  heap " + r + "/trip");
    }));
    EXPECT_GT(std::count_if(withFirstLook.begin(), withFirstLook.end(),
                            [](const QByteArray& l) { return l.startsWith("group "); }),
              40);
}

} // namespace
