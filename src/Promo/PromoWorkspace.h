#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// What the promotions ask of the desktop: open an address, find and start an application
// of the maker by its identifier (a desktop-entry id such as "com.velquor.Halvenor"), and
// whether this application is the one in front. Tests replace the functions to record what
// would have been opened. Main thread.
namespace PromoWorkspace {

struct Functions {
    std::function<bool(const QUrl&)> openURL;
    std::function<bool(const QString&)> isApplicationInstalled;
    std::function<bool(const QString&)> openApplication;
    std::function<bool()> isApplicationInFront;
};

bool openURL(const QUrl& url);
bool isApplicationInstalled(const QString& bundleIdentifier);
bool openApplication(const QString& bundleIdentifier);
bool isApplicationInFront();

// Replaces the functions that are set in `functions` (empty ones keep the desktop's);
// resetForTesting() restores all of them.
void setForTesting(Functions functions);
void resetForTesting();

} // namespace PromoWorkspace
