#include "Shell/AppDelegate.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Velquor"));
    QApplication::setApplicationName(QStringLiteral("Sorvanta"));
    // The main window ends the application itself (its close button and Quit).
    QApplication::setQuitOnLastWindowClosed(false);

    AppDelegate delegate;
    delegate.applicationDidFinishLaunching();
    return QApplication::exec();
}
