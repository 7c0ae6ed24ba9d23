#include "AppDelegate.h"

#include "Categories/MacOSVersion.h"
#include "Shell/WindowController.h"

AppDelegate::AppDelegate() = default;

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching() {
    MacOSVersion::GetInstance();
    m_windowController = std::make_unique<WindowController>();
    m_windowController->show();
    m_windowController->windowDidLoad();
}
