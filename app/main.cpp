#include "Platform/Dispatch.h"
#include "Shell/AppDelegate.h"
#include "Toolkit/ApplicationLook.h"
#include "Walker/MD5Hash.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Velquor"));
    QApplication::setApplicationName(QStringLiteral("Sorvanta"));
    // The main window ends the application itself (its close button and Quit).
    QApplication::setQuitOnLastWindowClosed(false);
    ApplicationLook::install();
    // Before any worker thread: the digest library is set up once, here.
    MD5HashInitialize();

    int result = 0;
    {
        AppDelegate delegate;
        delegate.applicationDidFinishLaunching();
        result = QApplication::exec();
    }
    // The engine's workers end before the process tears down the statics they use.
    Dispatch::waitUntilIdle();
    return result;
}
