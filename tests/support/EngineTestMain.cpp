// Test main for engine tests: a QCoreApplication so that main-queue work, timers and
// queued calls run, with the per-user folders pointed at a temporary folder.
#include "TestSupport.h"

#include "Platform/Dispatch.h"
#include "Walker/MD5Hash.h"

#include <QCoreApplication>
#include <QFile>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    const QString root = TestSupport::isolateUserFolders();
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Velquor");
    QCoreApplication::setApplicationName("Sorvanta");
    MD5HashInitialize();
    ::testing::InitGoogleTest(&argc, argv);
    TestSupport::installEngineIdleCheck();
    const int result = RUN_ALL_TESTS();
    // No engine work may outlive the application object or the temporary folders.
    Dispatch::waitUntilIdle();
    TestSupport::removeTree(QFile::encodeName(root));
    return result;
}
