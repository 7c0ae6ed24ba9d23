#include "AppDelegate.h"

#include "Categories/MacOSVersion.h"
#include "Promo/PromoManager.h"
#include "Promo/ZembrookDialogWC.h"
#include "Scanner/PromoPanelGate.h"
#include "Shell/WindowController.h"

AppDelegate::AppDelegate() = default;

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching() {
    // The promotions first, so their due downloads start at every launch; from now on the
    // scan's automatic request for the promotional panel can open it.
    PromoManager::GetInstance();
    PromoPanelGate::setPanelOpener([] { ZembrookDialogWC::pleaseShowWindowWhenHelpCloses(); });
    MacOSVersion::GetInstance();
    m_windowController = std::make_unique<WindowController>();
    // A click on a notification brings this window back.
    PromoManager::GetInstance().setMainWindow(m_windowController.get());
    m_windowController->show();
    m_windowController->windowDidLoad();
}
