#include "SharingService.h"

#include "Platform/ui/OpenFailure.h"

#include <QDesktopServices>

#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

namespace {

std::optional<std::function<bool(SharingService::Name)>>& availability() {
    static std::optional<std::function<bool(SharingService::Name)>> value;
    return value;
}

std::function<void(const QUrl&)>& opener() {
    static std::function<void(const QUrl&)> value;
    return value;
}

bool desktopHasHandlerFor(const char* scheme) {
    GAppInfo* info = g_app_info_get_default_for_uri_scheme(scheme);
    if (!info)
        return false;
    g_object_unref(info);
    return true;
}

} // namespace

bool SharingService::sharingServiceNamed(Name name) {
    if (availability())
        return (*availability())(name);
    switch (name) {
    case Name::PostOnTwitter:
    case Name::PostOnFacebook:
        return desktopHasHandlerFor("https");
    case Name::ComposeEmail:
        return desktopHasHandlerFor("mailto");
    }
    return false;
}

void SharingService::openURL(const QUrl& url) {
    if (opener()) {
        opener()(url);
        return;
    }
    if (QDesktopServices::openUrl(url))
        return;
    if (url.scheme() == QLatin1String("mailto"))
        OpenFailure::report(QStringLiteral("The e-mail could not be written."),
                            QStringLiteral("No e-mail application is set up on this desktop to "
                                           "open e-mail links. Choose one in the desktop\u2019s "
                                           "default applications and try again."));
    else
        OpenFailure::report(
            QStringLiteral("\u201C%1\u201D could not be opened.").arg(url.toDisplayString()),
            QStringLiteral("No web browser is set up on this desktop to open links."));
}

void SharingService::setServicesForTesting(std::optional<std::function<bool(Name)>> available) {
    availability() = std::move(available);
}

void SharingService::setOpenerForTesting(std::function<void(const QUrl&)> open) {
    opener() = std::move(open);
}
