#pragma once

#include <memory>

class WindowController;

// The application's start-up: the process-wide services first, then the main window, which
// shows its welcome screen. Lives for the whole run; main thread only.
class AppDelegate final {
public:
    AppDelegate();
    ~AppDelegate();
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    // Start-up in order: the promotions start, the operating-system version is read, the main
    // window is made, shown and started.
    void applicationDidFinishLaunching();
    WindowController* getMainWindow() const { return m_windowController.get(); }

private:
    std::unique_ptr<WindowController> m_windowController;
};
