#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

// What the promotions ask of the desktop: open an address, find and start an application
// of the maker by its identifier (a desktop-entry id such as "com.velquor.Halvenor"), and
// whether this application is the one in front. Tests replace the functions to record what
// would have been opened. Main thread.
//
// The identifier comes from the network, so it may only name one of the maker's own
// applications: isMakerApplication() checks it against a fixed list before anything else,
// and isApplicationInstalled() and openApplication() answer false for any other identifier
// (logged, never looked up). Only an installed desktop entry of that id is ever started;
// no path or command from the feed is run.
namespace PromoWorkspace {

struct Functions {
    std::function<bool(const QUrl&)> openURL;
    std::function<bool(const QString&)> isApplicationInstalled;
    std::function<bool(const QString&)> openApplication;
    std::function<bool()> isApplicationInFront;
};

// The desktop-entry ids of the maker's own applications.
QStringList makerApplications();
bool isMakerApplication(const QString& bundleIdentifier);

bool openURL(const QUrl& url);
bool isApplicationInstalled(const QString& bundleIdentifier);
bool openApplication(const QString& bundleIdentifier);
bool isApplicationInFront();

// Replaces the functions that are set in `functions` (empty ones keep the desktop's);
// resetForTesting() restores all of them.
void setForTesting(Functions functions);
void resetForTesting();

} // namespace PromoWorkspace
