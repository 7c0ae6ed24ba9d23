// Test main for interface tests: a QApplication on the offscreen platform, with the
// per-user folders pointed at a temporary folder.
#include "TestSupport.h"

#include "Platform/Dispatch.h"
#include "Toolkit/ApplicationLook.h"
#include "Walker/MD5Hash.h"

#include <QApplication>
#include <QFile>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    const QString root = TestSupport::isolateUserFolders();
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Velquor");
    QApplication::setApplicationName("Sorvanta");
    // Widgets are tested in the look the application gives them.
    ApplicationLook::install();
    MD5HashInitialize();
    ::testing::InitGoogleTest(&argc, argv);
    TestSupport::installEngineIdleCheck();
    const int result = RUN_ALL_TESTS();
    // No engine work may outlive the application object or the temporary folders.
    Dispatch::waitUntilIdle();
    TestSupport::removeTree(QFile::encodeName(root));
    return result;
}
