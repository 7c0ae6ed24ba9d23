#include "FakeApplications.h"
#include "TestSupport.h"

#include "Platform/ui/FileManagerReveal.h"
#include "Platform/ui/OpenWithApplications.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using OpenWithApplications::Application;

// The fixture applications must be on disk before GIO first reads the application folders.
class FakeApplicationsEnvironment final : public ::testing::Environment {
public:
    void SetUp() override { TestSupport::installFakeTextApplications(); }
};
const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new FakeApplicationsEnvironment);

QStringList ids(const std::vector<Application>& apps) {
    QStringList out;
    for (const auto& app : apps)
        out << app.id;
    return out;
}

TEST(OpenWithApplicationsTest, TextFileListsTheDesktopsApplicationsDefaultFirst) {
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.path()) + "/notes.txt";
    ASSERT_TRUE(TestSupport::writeFile(path, "plain words\n"));
    const QString type = OpenWithApplications::contentTypeOfFile(path);
    EXPECT_EQ(type, QStringLiteral("text/plain"));

    QString defaultId;
    const auto apps = OpenWithApplications::applicationsForContentType(type, &defaultId);
    EXPECT_EQ(defaultId, TestSupport::kFixtureEditorId);
    ASSERT_FALSE(apps.empty());
    EXPECT_EQ(apps.front().id, TestSupport::kFixtureEditorId);
    EXPECT_EQ(apps.front().name, QStringLiteral("Fixture Editor"));
    EXPECT_TRUE(ids(apps).contains(TestSupport::kFixtureViewerId));
    EXPECT_EQ(ids(apps).count(TestSupport::kFixtureEditorId), 1);
}

TEST(OpenWithApplicationsTest, OrderIsByNameWithTheDefaultTakenToTheFront) {
    const std::vector<Application> apps{
        {"c", "charlie", {}}, {"a", "Alpha", {}}, {"b", "beta", {}}};
    struct Case {
        QString defaultId;
        QStringList expected;
    };
    for (const Case& c : {Case{{}, {"a", "b", "c"}}, Case{"c", {"c", "a", "b"}},
                          Case{"gone", {"a", "b", "c"}}, Case{"a", {"a", "b", "c"}}}) {
        EXPECT_EQ(ids(OpenWithApplications::orderedWithDefaultFirst(apps, c.defaultId)), c.expected)
            << c.defaultId.toStdString();
    }
}

// Names that are not valid UTF-8 reach the application as the same bytes: text would have
// turned them into other names or none.
TEST(OpenWithApplicationsTest, OpenAndRevealPassThePathsOwnBytes) {
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()) + "/caf\xe9 \xff";
    const QByteArray path = folder + "/notes \xfe.txt";
    ASSERT_TRUE(TestSupport::writeFile(path, "plain words\n"));

    ASSERT_TRUE(OpenWithApplications::openFile(path));
    EXPECT_TRUE(TestSupport::waitFor([&] {
        return TestSupport::pathGivenToFixture("opened") == path;
    })) << TestSupport::pathGivenToFixture("opened").toPercentEncoding("/").constData();

    // No file manager answers on the tests' missing session bus: the parent folder opens.
    FileManagerReveal::revealPath(path);
    EXPECT_TRUE(TestSupport::waitFor([&] {
        return TestSupport::pathGivenToFixture("shown") == folder;
    })) << TestSupport::pathGivenToFixture("shown").toPercentEncoding("/").constData();
}

TEST(OpenWithApplicationsTest, FileUrlsNameThePathsBytes) {
    struct Case {
        QByteArray path;
        QString url;
    };
    for (const Case& c : {Case{"/tmp/a b/\xff\xfe", "file:///tmp/a%20b/%FF%FE"},
                          Case{"/data/caf\xc3\xa9#1?.txt", "file:///data/caf%C3%A9%231%3F.txt"},
                          Case{"/", "file:///"}, Case{"/x/%41", "file:///x/%2541"}})
        EXPECT_EQ(FileManagerReveal::fileUrlOfPath(c.path), c.url) << c.path.constData();
}

} // namespace
