#include "ResultFixture.h"

#include "Categories/Settings.h"
#include "Results/DuplicatesContainer.h"
#include "Selection/AutoSelectManager.h"

#include <gtest/gtest.h>

namespace {

using Files = std::vector<ResultFixture::File>;

// Rules are written with "%R" for the fixture's root folder, so entries may be given with or
// without a final "/" and raw ("/", "") as the user could type them.
struct AutoCase {
    const char* title;
    Files files;
    QStringList always;
    QStringList never;
    bool withFolders; // the scan also looks for identical folders
    QList<QByteArray> proposed;
};

void PrintTo(const AutoCase& c, std::ostream* os) {
    *os << c.title;
}

class AutomaticSelection : public ::testing::TestWithParam<AutoCase> {};

QStringList rooted(const QStringList& rules, const QByteArray& root) {
    QStringList out;
    for (QString rule : rules)
        out.append(rule.replace(QStringLiteral("%R"), QString::fromUtf8(root)));
    return out;
}

TEST_P(AutomaticSelection, ProposesTheCopiesThatLookLikeCopies) {
    const AutoCase& c = GetParam();
    ResultFixture fixture;
    fixture.write(c.files);
    fixture.build(c.withFolders);
    Settings::setAutoAlwaysSelectFolders(rooted(c.always, fixture.root()));
    Settings::setAutoNeverSelectFolders(rooted(c.never, fixture.root()));

    AutoSelectManager manager;
    const auto proposal =
        manager.getDuplicateItemsForAutoSelectFromGroups(fixture.container()->getAllFilesGroups());
    EXPECT_EQ(fixture.relative(proposal), c.proposed);
    // A proposal changes no selection.
    EXPECT_TRUE(fixture.selected().isEmpty());
}

const QByteArray P = "picture bytes";
const QByteArray O = "other bytes";

INSTANTIATE_TEST_SUITE_P(
    Cases, AutomaticSelection,
    ::testing::Values(
        AutoCase{"copy mark",
                 {{"a/photo.jpg", P}, {"b/photo copy.jpg", P}},
                 {},
                 {},
                 {},
                 {"b/photo copy.jpg"}},
        AutoCase{
            "tie in different folders", {{"a/photo.jpg", P}, {"b/photo.jpg", P}}, {}, {}, {}, {}},
        AutoCase{"folder names break a tie",
                 {{"x/photo/a.jpg", P}, {"y/photo 2/a.jpg", P}},
                 {},
                 {},
                 {},
                 {"y/photo 2/a.jpg"}},
        AutoCase{"different names", {{"a/report.doc", P}, {"b/summary.doc", P}}, {}, {}, {}, {}},
        AutoCase{"always folder proposes, the rest is compared alone",
                 {{"Downloads/a.jpg", P}, {"Pictures/a copy.jpg", P}},
                 {"%R/Downloads"},
                 {},
                 {},
                 {"Downloads/a.jpg"}},
        AutoCase{"every copy under an always folder: names decide",
                 {{"Downloads/a.jpg", P}, {"Downloads/old/a copy.jpg", P}},
                 {"%R/Downloads/"},
                 {},
                 {},
                 {"Downloads/old/a copy.jpg"}},
        AutoCase{"never folder nested in an always folder",
                 {{"a/b/x.txt", P}, {"a/c/x.txt", P}, {"ab/x copy.txt", P}},
                 {"%R/a"},
                 {"%R/a/b/"},
                 {},
                 {"a/c/x.txt", "ab/x copy.txt"}},
        AutoCase{"always folder nested in a never folder",
                 {{"n/x.txt", P}, {"n/y/x.txt", P}, {"z/x.txt", P}},
                 {"%R/n/y"},
                 {"%R/n"},
                 {},
                 {"n/y/x.txt"}},
        AutoCase{"never copy with the worse name stays",
                 {{"keep/photo copy.jpg", P}, {"a/photo.jpg", P}},
                 {},
                 {"%R/keep"},
                 {},
                 {}},
        AutoCase{"never copy with the best name lets others go",
                 {{"keep/photo.jpg", P}, {"a/photo copy.jpg", P}},
                 {},
                 {"%R/keep"},
                 {},
                 {"a/photo copy.jpg"}},
        AutoCase{"same folder in both lists counts as always",
                 {{"a/x.txt", P}, {"b/x.txt", P}},
                 {"%R/a"},
                 {"%R/a/"},
                 {},
                 {"a/x.txt"}},
        AutoCase{"root and empty entries are ignored",
                 {{"a/x.txt", P}, {"b/x.txt", P}},
                 {"/", ""},
                 {},
                 {},
                 {}},
        AutoCase{"a folder's own path is not below it",
                 {{"a/x.txt", P}, {"a.txt", P}},
                 {"%R/a.txt"},
                 {},
                 {},
                 {}},
        AutoCase{"copies inside duplicate folders are never proposed",
                 {{"d1/album/pic copy.jpg", P},
                  {"d1/album/other.txt", O},
                  {"d2/album copy/pic copy.jpg", P},
                  {"d2/album copy/other.txt", O},
                  {"d1/own.txt", "only in d1"},
                  {"d2/own.txt", "only in d2"},
                  {"loose/pic.jpg", P}},
                 {},
                 {},
                 true,
                 {"d2/album copy"}},
        AutoCase{"two copies in one folder share its name record",
                 {{"a/photo.jpg", P}, {"a/photo.jpeg", P}},
                 {},
                 {},
                 {},
                 {}}));

TEST(AutoSelectManager, ChoiceForAPath) {
    struct Case {
        QStringList always;
        QStringList never;
        const char* path;
        AutoSelectChoice choice;
    };
    for (const Case& c : {
             Case{{"/a"}, {"/a/b"}, "/a/b/x", kAutoSelectChoiceNever},
             Case{{"/a"}, {"/a/b"}, "/a/c/x", kAutoSelectChoiceAlways},
             Case{{"/a"}, {"/a/b"}, "/ab/x", kAutoSelectChoiceNone},
             Case{{"/a"}, {"/a/b"}, "/a", kAutoSelectChoiceNone},
             Case{{"/a/"}, {"/a"}, "/a/x", kAutoSelectChoiceAlways},
             Case{{"/a", "/a/b/c/"}, {"/a/b"}, "/a/b/c/x", kAutoSelectChoiceAlways},
             Case{{"/a", "/a/b/c/"}, {"/a/b"}, "/a/b/x", kAutoSelectChoiceNever},
             Case{{}, {"/n"}, "/n/x", kAutoSelectChoiceNever},
             Case{{"/", ""}, {"", "/"}, "/x", kAutoSelectChoiceNone},
             Case{{QString::fromUtf8("/fotó")}, {}, "/fot\xc3\xb3/x", kAutoSelectChoiceAlways},
         }) {
        AutoSelectManager manager;
        manager.setRules(c.always, c.never);
        EXPECT_EQ(manager.getChoiceUsingUserAutoSelectPathsForPath(c.path), c.choice)
            << c.path << " always " << c.always.join(',').toStdString() << " never "
            << c.never.join(',').toStdString();
    }
}

TEST(AutoSelectManager, PreparedListsAreLongestFirstAndEndInASlash) {
    const auto prepared =
        AutoSelectManager::preparePathsArrayToUse({"/a", "/", "/abc/def/", "", "/ab"});
    EXPECT_EQ(prepared, (QList<QByteArray>{"/abc/def/", "/ab/", "/a/"}));
    EXPECT_EQ(AutoSelectManager::getMaxPrefixLenOfPathFromPrefixsArrayWithLenBiggerThan(
                  "/abc/def/x", prepared, -1),
              9);
    EXPECT_EQ(AutoSelectManager::getMaxPrefixLenOfPathFromPrefixsArrayWithLenBiggerThan(
                  "/a/x", prepared, 3),
              -1);
}

TEST(AutoSelectManager, RulesAreReloadedForEveryComputation) {
    ResultFixture fixture;
    fixture.write({{"a/x.txt", P}, {"b/x.txt", P}});
    fixture.build();
    AutoSelectManager manager;
    const auto groups = fixture.container()->getAllFilesGroups();

    Settings::setAutoAlwaysSelectFolders({QString::fromUtf8(fixture.abs("a"))});
    Settings::setAutoNeverSelectFolders({});
    EXPECT_EQ(fixture.relative(manager.getDuplicateItemsForAutoSelectFromGroups(groups)),
              QList<QByteArray>{"a/x.txt"});
    Settings::setAutoAlwaysSelectFolders({QString::fromUtf8(fixture.abs("b"))});
    EXPECT_EQ(fixture.relative(manager.getDuplicateItemsForAutoSelectFromGroups(groups)),
              QList<QByteArray>{"b/x.txt"});
}

} // namespace
