// Where the application looks for its privileged tool: the libexec folder of its own prefix
// once installed, beside the executable in the build tree.
#include "Removal/DuplicatesRootRemover.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ToolPlaces {
    const char* name;
    bool installed; // under <prefix>/libexec/sorvanta
    bool beside;    // beside the executable
    bool expectInstalled;
};

class ToolPathTest : public ::testing::TestWithParam<ToolPlaces> {};

TEST_P(ToolPathTest, FindsTheToolWhereItLies) {
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const QString bin = prefix.path() + QStringLiteral("/bin");
    const QString installed =
        QDir::cleanPath(bin + QStringLiteral("/" SORVANTA_TOOL_FROM_BINDIR "/Tarvique"));
    const QString beside = bin + QStringLiteral("/Tarvique");
    ASSERT_TRUE(QDir().mkpath(bin));
    for (const auto& [wanted, path] :
         {std::pair{GetParam().installed, installed}, std::pair{GetParam().beside, beside}}) {
        if (!wanted)
            continue;
        ASSERT_TRUE(TestSupport::writeFile(QFile::encodeName(path), "#!/bin/sh\n"));
        ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner));
    }
    EXPECT_EQ(DuplicatesRootRemover::toolPathForApplicationFolder(bin),
              GetParam().expectInstalled ? installed : beside);
    // The path pkexec is given is clean: the polkit action names it exactly.
    EXPECT_FALSE(DuplicatesRootRemover::toolPathForApplicationFolder(bin).contains(".."));
}

INSTANTIATE_TEST_SUITE_P(Layouts, ToolPathTest,
                         ::testing::Values(ToolPlaces{"installed", true, false, true},
                                           ToolPlaces{"buildTree", false, true, false},
                                           ToolPlaces{"both", true, true, true},
                                           ToolPlaces{"neither", false, false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
