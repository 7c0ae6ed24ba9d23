#pragma once

#include <QStringList>

// What the flow screens ask of the main window controller. Each protocol is implemented by
// WindowController; the screens hold it as a plain pointer that the controller outlives.

// The welcome screen's way out: a scan of the listed folders, in list order. |allOut| asks
// this one scan to compare whole files whatever the stored preference says.
class WelcomeScreenProtocolDelegate {
public:
    virtual ~WelcomeScreenProtocolDelegate() = default;
    virtual void startScanFolders(const QStringList& paths, bool allOut) = 0;
    // True while the About or the preferences window is open and visible; the welcome
    // screen opens no folder chooser meanwhile.
    virtual bool isAnyOtherWindowsOpened() const { return false; }
};

// The interim screen's two ways on.
class InterimScreenProtocolDelegate {
public:
    virtual ~InterimScreenProtocolDelegate() = default;
    virtual void backToWelcomeScreenFromInterimScreen() = 0;
    virtual void showResultsFromInterimScreen() = 0;
};

// The scan screen's ways out. Only the first is called by the screen itself; the second is
// scheduled by the controller after a completed scan, and the screen cancels whatever the
// controller has scheduled when the user leaves (cancelPendingRequests).
class ScanScreenProtocolDelegate {
public:
    virtual ~ScanScreenProtocolDelegate() = default;
    virtual void backToWelcomeScreenFromScanScreen() = 0;
    virtual void showResultsFromScanScreen() = 0;
    virtual void cancelPendingRequests() = 0;
};
