// Test main for interface tests: a QApplication on the offscreen platform, with the
// per-user folders pointed at a temporary folder.
#include "TestSupport.h"

#include <QApplication>
#include <QDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    const QString root = TestSupport::isolateUserFolders();
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Velquor");
    QApplication::setApplicationName("Sorvanta");
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    QDir(root).removeRecursively();
    return result;
}
