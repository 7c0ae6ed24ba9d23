#include "ResultFixture.h"
#include "TestSupport.h"

#include "Categories/Settings.h"
#include "FileTree/FileSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Selection/OperationsManager.h"

#include <gtest/gtest.h>

namespace {

using Files = std::vector<ResultFixture::File>;
using Paths = QList<QByteArray>;

const QByteArray P = "picture bytes";
const QByteArray Q = "other picture";
const QByteArray R = "third content";

QDateTime year(int y) {
    return QDateTime(QDate(y, 6, 1), QTime(12, 0), Qt::UTC);
}

class SelectionOperations : public ::testing::Test {
protected:
    void SetUp() override {
        Settings::setAutoAlwaysSelectFolders({});
        Settings::setAutoNeverSelectFolders({});
    }

    // Every file the same date, so only the rules under test decide.
    void build(const Files& files, bool withFolders = false) {
        fixture.write(files);
        for (const auto& file : files)
            fixture.touch(file.path, year(2020));
        fixture.build(withFolders);
    }

    ResultFixture fixture;
    OperationsManager operations;
};

// The force rules in the order they apply: names and folder rules, then the oldest, then the
// shallowest, then the first. One notification per command.
struct ForceCase {
    const char* title;
    Files files;
    std::vector<std::pair<const char*, int>> years; // modification years that differ
    QStringList never;                              // relative folders
    Paths selected;
};

void PrintTo(const ForceCase& c, std::ostream* os) {
    *os << c.title;
}

class ForceSelection : public ::testing::TestWithParam<ForceCase> {};

TEST_P(ForceSelection, SelectsAllButOneCopy) {
    const ForceCase& c = GetParam();
    ResultFixture fixture;
    fixture.write(c.files);
    for (const auto& file : c.files)
        fixture.touch(file.path, year(2020));
    for (const auto& [path, y] : c.years)
        fixture.touch(path, year(y));
    fixture.build();
    Settings::setAutoAlwaysSelectFolders({});
    QStringList never;
    for (const QString& folder : c.never)
        never.append(QString::fromUtf8(fixture.root()) + '/' + folder);
    Settings::setAutoNeverSelectFolders(never);

    SelectionNotificationCounter notifications;
    OperationsManager().performForceSelectForGroups(fixture.container()->getAllFilesGroups());
    EXPECT_EQ(fixture.selected(), c.selected);
    EXPECT_EQ(notifications.count(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ForceSelection,
    ::testing::Values(
        ForceCase{"names first",
                  {{"a/photo.jpg", P}, {"b/photo copy.jpg", P}, {"c/photo copy 2.jpg", P}},
                  {{"a/photo.jpg", 2023}},
                  {},
                  {"b/photo copy.jpg", "c/photo copy 2.jpg"}},
        ForceCase{"then the oldest stays",
                  {{"Movies/a.mov", P}, {"Desktop/a.mov", P}},
                  {{"Movies/a.mov", 2019}, {"Desktop/a.mov", 2021}},
                  {},
                  {"Desktop/a.mov"}},
        ForceCase{
            "then the shallowest stays", {{"a/x.txt", P}, {"a/b/x.txt", P}}, {}, {}, {"a/b/x.txt"}},
        ForceCase{"oldest before names of folders",
                  {{"p/x.txt", P}, {"q/x.txt", P}, {"r/x.txt", P}},
                  {{"r/x.txt", 2001}},
                  {},
                  {"p/x.txt", "q/x.txt"}},
        ForceCase{"a never copy stays and lets every other go",
                  {{"keep/x.txt", P}, {"p/x copy.txt", P}, {"q/x.txt", P}},
                  {{"keep/x.txt", 2030}},
                  {"keep"},
                  {"p/x copy.txt", "q/x.txt"}},
        ForceCase{"a never copy stays even when it is the newest",
                  {{"keep/deep/x.txt", P}, {"a/x.txt", P}},
                  {{"a/x.txt", 2030}},
                  {"keep"},
                  {"a/x.txt"}},
        ForceCase{"each group on its own",
                  {{"a/x.txt", P}, {"a/b/x.txt", P}, {"m/y.txt", Q}, {"n/y copy.txt", Q}},
                  {},
                  {},
                  {"a/b/x.txt", "n/y copy.txt"}}));

TEST_F(SelectionOperations, ForceSelectionKeepsTheFirstCopyWhenNothingElseDecides) {
    // Equal names, dates and depths: the first copy in the group's order stays.
    build({{"p/x.txt", P}, {"q/x.txt", P}, {"r/x.txt", P}});
    const auto items = fixture.group("p/x.txt")->getItems();
    ASSERT_EQ(items.size(), 3u);
    operations.performForceSelectForItems(items);
    EXPECT_FALSE(items[0]->isSelected());
    EXPECT_TRUE(items[1]->isSelected());
    EXPECT_TRUE(items[2]->isSelected());
}

TEST_F(SelectionOperations, AutomaticSelectionSelectsTheProposalInOneBatch) {
    build({{"a/photo.jpg", P},
           {"b/photo copy.jpg", P},
           {"c/photo copy 2.jpg", P},
           {"a/song.mp3", Q},
           {"b/song copy.mp3", Q},
           {"a/x.txt", R},
           {"b/x.txt", R}});
    SelectionNotificationCounter notifications;
    operations.performAutoSelectForGroups(fixture.container()->getAllFilesGroups());
    EXPECT_EQ(fixture.selected(),
              (Paths{"b/photo copy.jpg", "b/song copy.mp3", "c/photo copy 2.jpg"}));
    EXPECT_EQ(notifications.count(), 1);

    // An empty proposal selects nothing and still closes its batch with one notification.
    SelectionNotificationCounter again;
    operations.performAutoSelectForGroups({fixture.group("a/x.txt")});
    EXPECT_EQ(fixture.selected().size(), 3);
    EXPECT_EQ(again.count(), 1);
}

TEST_F(SelectionOperations, SelectAllInAFolderStillLeavesOneCopy) {
    build({{"f/x.txt", P}, {"f/x copy.txt", P}, {"f/y.txt", Q}, {"g/y.txt", Q}, {"h/y.txt", Q}});
    SelectionNotificationCounter notifications;
    operations.selectForRemoveAllDuplicatesInFolderWithPath(fixture.abs("f") + '/');
    // Every copy of x lies in f: the force rules keep the one without copy marks. Only one of
    // the three copies of y lies in f: it is selected.
    EXPECT_EQ(fixture.selected(), (Paths{"f/x copy.txt", "f/y.txt"}));
    EXPECT_EQ(notifications.count(), 1);
}

TEST_F(SelectionOperations, KeepAllInAFolderSelectsTheCopiesElsewhere) {
    build({{"f/x.txt", P},
           {"g/x.txt", P},
           {"h/x.txt", P},
           {"f/y.txt", Q},
           {"g/y.txt", Q},
           {"g/z.txt", R},
           {"h/z.txt", R}});
    fixture.item("f/x.txt")->selectItemForced(false);
    SelectionNotificationCounter notifications;
    operations.keepAllDuplicatesInFolderWithPath(fixture.abs("f"));
    EXPECT_EQ(fixture.selected(), (Paths{"g/x.txt", "g/y.txt", "h/x.txt"}));
    EXPECT_EQ(notifications.count(), 1);
}

TEST_F(SelectionOperations, FolderCommandsNeedAFolderOfTheResult) {
    build({{"f/x.txt", P}, {"g/x.txt", P}});
    SelectionNotificationCounter notifications;
    for (const QByteArray& path : {fixture.abs("f/x.txt"), fixture.abs("f//"),
                                   fixture.abs("nowhere"), QByteArray("/elsewhere/f")}) {
        operations.selectForRemoveAllDuplicatesInFolderWithPath(path);
        operations.keepAllDuplicatesInFolderWithPath(path);
    }
    EXPECT_TRUE(fixture.selected().isEmpty());
    EXPECT_EQ(notifications.count(), 0);
}

TEST_F(SelectionOperations, ExcludeAFolder) {
    build({{"d1/album/a.jpg", P},
           {"d1/album/b.jpg", Q},
           {"d2/album/a.jpg", P},
           {"d2/album/b.jpg", Q},
           {"loose/a.jpg", P},
           {"o/x.txt", R},
           {"o/sub/x copy.txt", R},
           {"p/x.txt", R},
           {"d1/own.txt", "only in d1"},
           {"d2/own.txt", "only in d2"},
           {"p/own.txt", "only in p"}},
          true);
    const auto folderGroup = fixture.group("d1/album");
    ASSERT_TRUE(folderGroup);

    // A duplicate folder: its own copy record goes, and every copy below it; its folder
    // group falls below two copies and goes at the clean-up.
    operations.excludeItemsInFolderWithPath(fixture.abs("d2/album"));
    EXPECT_FALSE(fixture.item("d2/album"));
    EXPECT_FALSE(fixture.item("d2/album/a.jpg"));
    EXPECT_FALSE(fixture.item("d1/album"));
    EXPECT_EQ(folderGroup->getCategory(), nullptr);
    // The copy left in d1/album follows no duplicate folder any more.
    const auto kept = fixture.item("d1/album/a.jpg");
    ASSERT_TRUE(kept);
    EXPECT_FALSE(kept->hasAssociatedDuplicateFolder());
    EXPECT_EQ(kept->getGroup()->getTotalCount(), 2u);
    EXPECT_FALSE(fixture.item("d1/album/b.jpg")); // its group fell below two copies

    // An ordinary folder: every copy below it goes.
    operations.excludeItemsInFolderWithPath(fixture.abs("o"));
    EXPECT_FALSE(fixture.item("o/x.txt"));
    EXPECT_FALSE(fixture.item("o/sub/x copy.txt"));
    EXPECT_FALSE(fixture.item("p/x.txt")); // its group fell below two copies
    EXPECT_EQ(fixture.container()->getAllFilesGroups().size(), 1u);
}

TEST_F(SelectionOperations, RemoveAGroupFromTheList) {
    build({{"a/x.txt", P}, {"b/x.txt", P}, {"a/y.txt", Q}, {"b/y.txt", Q}});
    const auto group = fixture.group("a/x.txt");
    operations.removeGroupFromDuplicatesList(group);
    EXPECT_EQ(fixture.container()->getAllFilesGroups().size(), 1u);
    EXPECT_FALSE(fixture.item("b/x.txt"));
    // No file is touched.
    EXPECT_TRUE(QFile::exists(QString::fromUtf8(fixture.abs("a/x.txt"))));
    EXPECT_TRUE(QFile::exists(QString::fromUtf8(fixture.abs("b/x.txt"))));
}

} // namespace
