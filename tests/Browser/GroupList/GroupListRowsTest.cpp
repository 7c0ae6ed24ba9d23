#include "GroupListFixture.h"

#include "Browser/GroupList/GroupListRows.h"

namespace {

using L = QStringList;

TEST(GroupListSections, SizeBandEdges) {
    const struct {
        std::uint64_t key;
        const char* title;
    } cases[] = {
        {0, "Less than 100KB"},
        {99'999, "Less than 100KB"},
        {100'000, "From 100 KB to 1 MB"},
        {999'999, "From 100 KB to 1 MB"},
        {1'000'000, "From 1 MB to 10 MB"},
        {99'999'999, "From 10 MB to 100 MB"},
        {100'000'000, "From 100 MB to 1 GB"},
        {9'999'999'999, "From 1 GB to 10GB"},
        {10'000'000'000, "More than 10 GB"},
        {UINT64_MAX, "More than 10 GB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GroupListRows::sizeSectionTitles().value(GroupListRows::sizeSectionOf(c.key)),
                  QLatin1String(c.title))
            << c.key;
}

struct GroupListRowsTest : GroupListFixture {
    GroupListRows rows;
    QStringList build(int sortType, int direction, const QString& search = {},
                      bool closing = false) {
        rows.build(sortType, direction, search, closing);
        return describe(rows);
    }
};

TEST_F(GroupListRowsTest, SizeSectionsHoldTheirEdgeGroups) {
    group("small", {"a/s1", "b/s1"}, 99'999);
    group("edge", {"a/e1", "b/e1"}, 100'000);
    group("huge", {"a/h1", "b/h1"}, 10'000'000'000LL);
    group("big", {"a/g1", "b/g1"}, 9'999'999'999LL);
    group("trio", {"a/t1", "b/t1", "c/t1"}, 40'000);
    rows.setSource(container->getAllFilesGroups());

    EXPECT_EQ(build(0, 1),
              (L{"[More than 10 GB]", "huge", "[From 1 GB to 10GB]", "big", "[From 100 KB to 1 MB]",
                 "edge", "[Less than 100KB]", "small", "trio"}));
    EXPECT_EQ(build(0, 0), (L{"[Less than 100KB]", "trio", "small", "[From 100 KB to 1 MB]", "edge",
                              "[From 1 GB to 10GB]", "big", "[More than 10 GB]", "huge"}));
    // By total size three copies of 40,000 bytes make 120,000.
    EXPECT_EQ(build(1, 1), (L{"[More than 10 GB]", "huge", "big", "[From 100 KB to 1 MB]", "edge",
                              "small", "trio"}));
}

// Five groups with ties in every key; the source order is G1 to G5.
struct SortFixture : GroupListRowsTest {
    void SetUp() override {
        GroupListRowsTest::SetUp();
        group("G1", {"A/b.txt", "B/b.txt"}, 300);
        group("G2", {"A/a.jpg", "B/a.jpg", "C/a.jpg"}, 300);
        group("G3", {"A/c", "B/c"}, 100, true, 'c');
        group("G4", {"A/B.TXT", "B/B.TXT", "C/B.TXT"}, 50, true, 'd');
        group("G5", {"A/a.JPG", "B/a.JPG"}, 100);
        // One selected copy in G3 and in G4.
        container->getAllFilesGroups()[2]->getItems()[0]->selectItemForced(false);
        container->getAllFilesGroups()[3]->getItems()[0]->selectItemForced(false);
        rows.setSource(container->getAllFilesGroups());
    }
};

TEST_F(SortFixture, EverySortTypeIsStableInBothDirections) {
    ASSERT_EQ(build(99, 1), (L{"G1", "G2", "G3", "G4", "G5"})); // unknown type: source order
    const struct {
        int type;
        L descending;
        L ascending;
    } cases[] = {
        {0,
         {"[Less than 100KB]", "G1", "G2", "G3", "G5", "G4"},
         {"[Less than 100KB]", "G4", "G3", "G5", "G1", "G2"}},
        {1,
         {"[Less than 100KB]", "G2", "G1", "G3", "G5", "G4"},
         {"[Less than 100KB]", "G4", "G3", "G5", "G1", "G2"}},
        // Sections in the reverse of their first occurrence; jpg and JPG share one.
        {2,
         {"[Others]", "G3", "[TXT]", "G1", "G4", "[JPG]", "G2", "G5"},
         {"[JPG]", "G2", "G5", "[TXT]", "G1", "G4", "[Others]", "G3"}},
        {3, {"G2", "G5", "G1", "G4", "G3"}, {"G3", "G1", "G4", "G2", "G5"}},
        {4, {"G2", "G4", "G1", "G3", "G5"}, {"G1", "G3", "G5", "G2", "G4"}},
        {5,
         {"[Selected]", "G3", "G4", "[Not Selected]", "G1", "G2", "G5"},
         {"[Not Selected]", "G1", "G2", "G5", "[Selected]", "G3", "G4"}},
        {6, {"G2", "G5", "G1", "G4", "G3"}, {"G3", "G1", "G4", "G2", "G5"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(build(c.type, 1), c.descending) << "sort type " << c.type;
        EXPECT_EQ(build(c.type, 0), c.ascending) << "sort type " << c.type;
    }
}

TEST_F(GroupListRowsTest, FoldersAndNamesWithoutExtensionHaveTheirOwnSections) {
    auto* a = folderAt("one/pics");
    auto* b = folderAt("two/pics");
    FileSystemItem* fa = FileSystemItem::initWithPathSize(*tree, "p.png", a, 10, 0, false, 10);
    FileSystemItem* fb = FileSystemItem::initWithPathSize(*tree, "p.png", b, 10, 0, false, 10);
    (void)fa;
    (void)fb;
    ASSERT_TRUE(container->addGroupWithItems({a, b}));
    labels.insert(container->getAllFilesGroups().back().get(), QStringLiteral("dir"));
    group("zip", {"x/z.zip", "y/z.zip"}, 10);
    group("bare", {"x/README", "y/README"}, 10);
    group("seven", {"x/a.7z", "y/a.7z"}, 10);
    rows.setSource(container->getAllFilesGroups());
    // "7z" sorts before "aaa", so it follows the folders in the reversed sections.
    EXPECT_EQ(build(2, 1),
              (L{"[Others]", "bare", "[ZIP]", "zip", "[Folders]", "dir", "[7Z]", "seven"}));
}

TEST_F(SortFixture, SearchNarrowsByCopyNamesOnly) {
    // Case is ignored; a folder's name is never searched.
    EXPECT_EQ(build(3, 1, QStringLiteral("JPG")), (L{"G2", "G5"}));
    EXPECT_EQ(build(3, 1, QStringLiteral("b")), (L{"G1", "G4"}));
    EXPECT_EQ(build(3, 1, QStringLiteral("b.t")), (L{"G1", "G4"}));
    EXPECT_EQ(build(3, 1, QStringLiteral("b.tx")), (L{"G1", "G4"}));
    EXPECT_EQ(build(3, 1, QStringLiteral("A/")), L{});
    // A shorter text after a longer one widens again.
    EXPECT_EQ(build(3, 1, QStringLiteral("a")), (L{"G2", "G5"}));
    EXPECT_EQ(build(3, 1, QString()), (L{"G2", "G5", "G1", "G4", "G3"}));
    // Sections are built over what the search kept.
    EXPECT_EQ(build(2, 1, QStringLiteral("t")), (L{"[TXT]", "G1", "G4"}));
    EXPECT_EQ(build(2, 1, QStringLiteral("nothing")), L{});
}

TEST_F(SortFixture, RowsAnswerTheirKindAndNeighbours) {
    build(2, 1, {}, true);
    EXPECT_EQ(describe(rows),
              (L{"[Others]", "G3", "[TXT]", "G1", "G4", "[JPG]", "G2", "G5", "<all>"}));
    EXPECT_TRUE(rows.isHeaderRow(0));
    EXPECT_TRUE(rows.isClosingRow(8));
    EXPECT_EQ(rows.groupRowFrom(0, 1), 1);
    EXPECT_EQ(rows.groupRowFrom(2, 1), 3);
    EXPECT_EQ(rows.groupRowFrom(2, -1), 1);
    EXPECT_EQ(rows.groupRowFrom(8, -1), 7);
    EXPECT_EQ(rows.groupRowFrom(0, -1), -1);
    const auto g2 = container->getAllFilesGroups()[1];
    EXPECT_EQ(rows.rowOfGroup(g2.get()), 6);
    EXPECT_EQ(rows.listedGroups().size(), 5u);
    EXPECT_GT(rows.memoryUsage(), 5 * sizeof(GroupListEntry));
}

// A group of selected empty files has no selected size, yet it is shown with the selected
// ones: the header must agree with the group's badge.
TEST_F(GroupListRowsTest, SelectedEmptyFilesAreListedAsSelected) {
    group("empty", {"a/e", "b/e", "c/e"}, 0, true, 'e');
    group("plain", {"a/p", "b/p"}, 5, true, 'p');
    container->getAllFilesGroups()[0]->getItems()[0]->selectItemForced(false);
    rows.setSource(container->getAllFilesGroups());
    EXPECT_EQ(build(5, 1), (L{"[Selected]", "empty", "[Not Selected]", "plain"}));
}

} // namespace

namespace {

// The list decodes names while the user is idle, a few groups at a time: a search or a name
// order that comes before it finished decodes the rest, and a refresh starts over.
TEST_F(SortFixture, NamesDecodedInStepsServeSearchAndNameOrder) {
    EXPECT_FALSE(rows.searchNamesBuilt());
    EXPECT_FALSE(rows.buildSearchNamesStep(2));
    EXPECT_FALSE(rows.buildNameKeysStep(3));
    EXPECT_FALSE(rows.buildTypeTextsStep(4));
    EXPECT_TRUE(rows.buildTypeTextsStep(1));
    EXPECT_FALSE(rows.allTextsBuilt());
    EXPECT_EQ(build(3, 1, QStringLiteral("jpg")), (L{"G2", "G5"}));
    EXPECT_TRUE(rows.searchNamesBuilt());
    EXPECT_TRUE(rows.nameKeysBuilt());
    EXPECT_EQ(build(6, 0), (L{"G3", "G1", "G4", "G2", "G5"}));

    rows.setSource(container->getAllFilesGroups());
    EXPECT_FALSE(rows.searchNamesBuilt());
    EXPECT_FALSE(rows.nameKeysBuilt());
    EXPECT_TRUE(rows.buildSearchNamesStep(100));
    EXPECT_EQ(build(4, 1, QStringLiteral("c")), L{"G3"});
}

// A search that finds names missing decodes them in slices on several threads: every entry
// gets the same names as in idle steps, also when a few were decoded before.
TEST_F(SortFixture, NamesDecodedInSlicesEqualNamesDecodedInSteps) {
    GroupListRows stepped;
    stepped.setSource(container->getAllFilesGroups());
    ASSERT_TRUE(stepped.buildSearchNamesStep(100));
    for (std::size_t done : {0, 1, 4}) {
        rows.setSource(container->getAllFilesGroups());
        rows.buildSearchNamesStep(done);
        rows.buildSearchNames(1);
        ASSERT_TRUE(rows.searchNamesBuilt());
        ASSERT_EQ(rows.entries().size(), stepped.entries().size());
        for (std::size_t i = 0; i < rows.entries().size(); ++i)
            EXPECT_EQ(rows.entries()[i].searchNames, stepped.entries()[i].searchNames)
                << "entry " << i << " after " << done;
    }
    EXPECT_EQ(build(3, 1, QStringLiteral("b.txt")), (L{"G1", "G4"}));
}

} // namespace
