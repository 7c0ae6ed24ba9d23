#include "Shell/ApplicationMain.h"

#include "Platform/Dispatch.h"
#include "Platform/ui/TerminationSignalNotifier.h"
#include "Shell/AppDelegate.h"
#include "Shell/WindowController.h"
#include "Toolkit/ApplicationLook.h"
#include "Walker/MD5Hash.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

// Outside any namespace, as the resource's own initialiser is.
static void initIconResource() {
    Q_INIT_RESOURCE(icon);
}

namespace ApplicationMain {

QIcon applicationIcon() {
    // The icon's resource lies in a static library: only a call keeps it in the program.
    static const bool initialised = [] {
        initIconResource();
        return true;
    }();
    (void)initialised;
    return QIcon::fromTheme(QLatin1String(kDesktopId),
                            QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(kDesktopId))));
}

int run(int argc, char** argv, const Started& started) {
    // Setting up Qt can take seconds on a busy machine; a signal meanwhile waits for it.
    TerminationSignalNotifier::holdUntilCaught();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Velquor"));
    QApplication::setApplicationName(QStringLiteral("Sorvanta"));
    // The window's class (WM_CLASS "Sorvanta") and, on Wayland, its app id tie the window to
    // its desktop entry, so the task bar shows the entry's name and icon.
    QGuiApplication::setDesktopFileName(QLatin1String(kDesktopId));
    QApplication::setWindowIcon(applicationIcon());
    // The main window ends the application itself (its close button, a window manager's
    // close and Quit all ask the same questions first).
    QApplication::setQuitOnLastWindowClosed(false);
    ApplicationLook::install();
    // Before any worker thread: the digest library is set up once, here.
    MD5HashInitialize();

    int result = 0;
    {
        // Caught from before the window exists: a signal is never lost to the default action.
        TerminationSignalNotifier terminationSignals;
        AppDelegate delegate;
        QObject::connect(&terminationSignals, &TerminationSignalNotifier::terminationRequested,
                         &app, [&] {
                             if (WindowController* window = delegate.getMainWindow())
                                 window->quitWithoutAsking();
                             else
                                 QCoreApplication::exit(0);
                         });
        delegate.applicationDidFinishLaunching();
        if (started)
            QTimer::singleShot(0, &app, [&] { started(delegate); });
        result = QApplication::exec();
        // Ending as asked: a second signal (senders often signal the process and then its
        // group) must not kill it while the workers finish.
        TerminationSignalNotifier::ignoreFromNowOn();
    }
    // The engine's workers end before the process tears down the statics they use.
    if (!Dispatch::waitUntilIdle(kExitWaitMs)) {
        std::fflush(nullptr);
        ::_exit(result);
    }
    return result;
}

} // namespace ApplicationMain
