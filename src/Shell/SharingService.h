#pragma once

#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

// The desktop's sharing services, as far as this system has them. Posting to a social
// network goes through the network's web share page, so those two exist when the desktop has
// a browser for "https:" links; composing an e-mail exists when it has an application for
// "mailto:" links.
//
// Links go out through openURL(), which tests can redirect. Main thread only.
class SharingService final {
public:
    enum class Name { PostOnTwitter, PostOnFacebook, ComposeEmail };

    SharingService() = delete;

    // Whether the service exists on this desktop.
    static bool sharingServiceNamed(Name name);

    // Opens |url| with the desktop's handler (the user's mail application for "mailto:",
    // the browser for web pages). When no handler takes it, the user is told why
    // (OpenFailure).
    static void openURL(const QUrl& url);

    // Tests: answer |available| for every service instead of asking the desktop, and hand
    // every opened link to |opener| instead of the desktop. Empty values restore both.
    static void setServicesForTesting(std::optional<std::function<bool(Name)>> available);
    static void setOpenerForTesting(std::function<void(const QUrl&)> opener);
};
