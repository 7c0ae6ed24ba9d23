#pragma once

#include <QIcon>

#include <functional>

class AppDelegate;

// The whole run of the application, from the application object to the exit status:
// app/main.cpp is this call and nothing else.
namespace ApplicationMain {

// The freedesktop.org name of the application: its desktop entry, icon and AppStream id.
inline constexpr const char* kDesktopId = "com.velquor.Sorvanta";
// The longest the exit waits for background work (a scan's stage, the copy a removal has
// in hand, a download) to wind down, in milliseconds.
inline constexpr int kExitWaitMs = 1500;

// Runs once the main window is up, inside the event loop's first turn; test drivers use it
// to reach states a user would reach by hand.
using Started = std::function<void(AppDelegate&)>;

// Makes the application object and its look, starts the application, turns SIGTERM, SIGINT
// and SIGHUP into Quit, runs the event loop and answers its exit status. At the end it waits
// for the engine's work at most kExitWaitMs; work still running then would reach statics the
// process tears down, so the process then ends at once (_exit) with the same status. The
// settings are written at every change, so nothing of them is lost that way.
int run(int argc, char** argv, const Started& started = {});

// The application's icon: the icon theme's one of kDesktopId where a theme has it, else the
// drawing the application carries.
QIcon applicationIcon();

} // namespace ApplicationMain
