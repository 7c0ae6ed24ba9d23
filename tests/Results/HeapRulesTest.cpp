// The rules of similar folders that the results screen relies on: which folders never make
// a heap, folders whose only heaps involve a duplicate folder, and the last-copy test the
// similar-folders views ask before selecting a folder's copies.
#include "ResultFixture.h"

#include "Results/DuplicatesHeap.h"
#include "Results/DuplicatesHeaps.h"
#include "Results/HeapsFolderData.h"
#include "Results/HeapsGroup.h"

#include <map>
#include <string>
#include <tuple>

namespace {

struct HeapRulesTest : ResultFixture {
    void SetUp() override {
        ResultFixture::SetUp();
        container = DuplicatesContainer::create(true);
    }

    // `name` with the copies of the shared files a and b (and `extra` more files).
    FolderSystemItem* folderWithAB(FolderSystemItem* parent, QByteArrayView name) {
        FolderSystemItem* node = folder(parent, name);
        file(node, "a.txt", 100, 'a');
        file(node, "b.txt", 200, 'b');
        return node;
    }
    FileSystemItem* child(FolderSystemItem* parent, QByteArrayView name) const {
        for (FileSystemItem* node : parent->childrenArray()) {
            if (node->nameView() == name)
                return node;
        }
        return nullptr;
    }
    static std::shared_ptr<HeapsFolderData> dataOf(FolderSystemItem* node) {
        auto data = std::make_shared<HeapsFolderData>(node);
        data->updateData();
        return data;
    }
    DuplicatesHeaps& heaps() const { return *container->getHeaps(); }
    std::shared_ptr<HeapsGroup> heapsOf(FolderSystemItem* node) const {
        return heaps().buildHeapsGroupForFolderWithPath(node->path());
    }
};

TEST_F(HeapRulesTest, FoldersThatAreCopiesOfEachOtherMakeNoHeap) {
    // X and Y are identical, and so are their sub-folders s and t; every folder holds copies
    // of a and b, so every pair shares two groups. Z holds them too and is no copy.
    FolderSystemItem* xy[2];
    FolderSystemItem* s[2];
    FolderSystemItem* t[2];
    for (int i = 0; i < 2; ++i) {
        xy[i] = folderWithAB(root, i == 0 ? "X" : "Y");
        s[i] = folderWithAB(xy[i], "s");
        t[i] = folderWithAB(xy[i], "t");
        file(t[i], "c.txt", 300, 'c');
    }
    FolderSystemItem* z = folderWithAB(root, "Z");
    file(z, "own.txt", 50, 'z');
    root->calctotalsize();
    // As a scan makes them: file groups, then the folder groups, inner ones first.
    for (const char* name : {"a.txt", "b.txt"}) {
        QList<FileSystemItem*> copies{child(z, name)};
        for (int i = 0; i < 2; ++i)
            copies << child(xy[i], name) << child(s[i], name) << child(t[i], name);
        ASSERT_TRUE(container->addGroupWithItems(copies));
    }
    ASSERT_TRUE(container->addGroupWithItems({child(t[0], "c.txt"), child(t[1], "c.txt")}));
    ASSERT_TRUE(container->addGroupWithItems({s[0], s[1]}));
    ASSERT_TRUE(container->addGroupWithItems({t[0], t[1]}));
    ASSERT_TRUE(container->addGroupWithItems({xy[0], xy[1]}));
    ASSERT_EQ(copyOf(s[0])->getAssociatedDuplicateFolder().get(), copyOf(xy[0]));

    struct Pair {
        FolderSystemItem* main;
        FolderSystemItem* second;
        bool heap;
        const char* why;
    };
    const Pair pairs[] = {
        {xy[0], xy[1], false, "one folder group"},
        {s[0], s[1], false, "one folder group, inside copies"},
        {s[0], xy[1], false, "s's enclosing copy X is in Y's group"},
        {xy[1], s[0], false, "the same, seen from Y"},
        {xy[0], s[0], false, "s lies inside X"},
        {s[0], t[1], false, "the enclosing copies X and Y share a group"},
        {z, xy[0], true, "Z is no copy"},
        {z, s[1], true, "Z is no copy, s is"},
    };
    for (const Pair& pair : pairs) {
        const auto heap =
            DuplicatesHeap::buildHeapWithFolder(dataOf(pair.main), dataOf(pair.second));
        EXPECT_EQ(heap != nullptr, pair.heap) << pair.why;
        if (heap) {
            EXPECT_EQ(heap->getCountOfGroups(), 2u) << pair.why;
            // Either folder being a copy keeps the heap apart from the main folder's heaps.
            EXPECT_TRUE(HeapsGroup::isHeapWithDuplicateFolder(*heap)) << pair.why;
        }
    }
}

TEST_F(HeapRulesTest, AFolderWhoseOnlyHeapsHoldADuplicateFolderIsSetAsideAndRestored) {
    // X and Y are identical; Z shares their two groups. Every heap of Z involves a copy.
    FolderSystemItem* x = folderWithAB(root, "X");
    FolderSystemItem* y = folderWithAB(root, "Y");
    FolderSystemItem* z = folderWithAB(root, "Z");
    file(z, "own.txt", 50, 'z');
    root->calctotalsize();
    for (const char* name : {"a.txt", "b.txt"})
        ASSERT_TRUE(container->addGroupWithItems({child(x, name), child(y, name), child(z, name)}));
    ASSERT_TRUE(container->addGroupWithItems({x, y}));
    container->saveRoots({root});
    container->validateEmptyDataAfterRemoveWithListener(nullptr);

    // Set aside: no heaps to show, nothing counted, but not forgotten.
    EXPECT_EQ(heapsOf(z), nullptr);
    EXPECT_EQ(heaps().getAllFoldersData().count(z->path()), 0u);
    EXPECT_EQ(heaps().getTotalHeapsSize(), 0u);

    // Y goes; X is no copy any more, and the next validation gives the set-aside Z its heap
    // with X back.
    ASSERT_TRUE(copyOf(y)->selectItemForced(false));
    container->removeDuplicateItemsFromLogicalStructure(container->buildRemoveList());
    container->validateEmptyDataAfterRemoveWithListener(nullptr);
    ASSERT_EQ(copyOf(x), nullptr);
    const auto group = heapsOf(z);
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->getCountOfHeapsInGroup(), 1u);
    const auto heap = group->buildAllSubHeapsArray().front();
    EXPECT_EQ(heap->getSecondFolderItem(), x);
    EXPECT_EQ(heap->getHeapSize(), 2u * (100 + 200));
    EXPECT_EQ(heaps().getTotalHeapsSize(), 2u * (100 + 200));
}

TEST_F(HeapRulesTest, LastCopyTestOfCopiesFoldersAndHeaps) {
    // Z and W share the groups of a (three copies, one in V) and b (two copies).
    FolderSystemItem* z = folderWithAB(root, "Z");
    FolderSystemItem* w = folderWithAB(root, "W");
    FolderSystemItem* v = folder(root, "V");
    file(v, "a.txt", 100, 'a');
    root->calctotalsize();
    ASSERT_TRUE(
        container->addGroupWithItems({child(z, "a.txt"), child(w, "a.txt"), child(v, "a.txt")}));
    ASSERT_TRUE(container->addGroupWithItems({child(z, "b.txt"), child(w, "b.txt")}));
    container->saveRoots({root});
    container->validateEmptyDataAfterRemoveWithListener(nullptr);
    const auto zHeaps = heapsOf(z);
    ASSERT_NE(zHeaps, nullptr);
    ASSERT_EQ(zHeaps->getCountOfHeapsInGroup(), 1u);
    const auto heap = zHeaps->buildAllSubHeapsArray().front();
    ASSERT_EQ(heap->getSecondFolderItem(), w);

    std::map<std::string, DuplicateItem*> c;
    for (const auto& [key, folderNode, name] : {std::tuple{"za", z, "a.txt"},
                                                {"zb", z, "b.txt"},
                                                {"wa", w, "a.txt"},
                                                {"wb", w, "b.txt"},
                                                {"va", v, "a.txt"}}) {
        c[key] = copyOf(child(folderNode, name));
    }
    struct Case {
        std::vector<const char*> selected;
        std::vector<const char*> items;
        bool last;
    };
    const Case cases[] = {
        {{}, {}, false},
        {{}, {"za"}, false},
        {{}, {"za", "wa"}, false},    // V keeps a copy of a
        {{}, {"zb", "wb"}, true},     // both copies of b
        {{"wa"}, {"za", "va"}, true}, // with W's selected, the rest of a
        {{"wa"}, {"za"}, false},
        {{"wa"}, {"wa", "za"}, false}, // a selected copy in the set adds nothing
    };
    for (const Case& test : cases) {
        for (const auto& [key, copy] : c)
            copy->deselectItem();
        for (const char* key : test.selected)
            ASSERT_TRUE(c[key]->selectItemForced(false));
        OrderedSet<DuplicateItem> items;
        for (const char* key : test.items)
            items.add(c[key]->shared_from_this());
        EXPECT_EQ(HeapsGroup::isHasLastItemsInItems(items), test.last)
            << test.items.size() << " copies, " << test.selected.size() << " selected";
    }

    // The folder forms: with W's b selected, Z's copies in the heap hold the last of b; W's
    // do not hold the last of anything.
    for (const auto& [key, copy] : c)
        copy->deselectItem();
    ASSERT_TRUE(c["wb"]->selectItemForced(false));
    EXPECT_TRUE(heap->isHasLastItemsInMainFolder());
    EXPECT_FALSE(heap->isHasLastItemsInSecondFolder());
    EXPECT_TRUE(heap->isHasLastItemsInHeapsFolderData(*heap->getMainHeapsFolderData()));
    EXPECT_TRUE(zHeaps->isHasLastItems());
    const auto wHeaps = heapsOf(w);
    ASSERT_NE(wHeaps, nullptr);
    EXPECT_FALSE(wHeaps->isHasLastItems());
}

} // namespace
