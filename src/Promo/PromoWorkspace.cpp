#include "Promo/PromoWorkspace.h"

// GLib names a structure field "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include "Promo/PromoLog.h"

#include <QDesktopServices>
#include <QGuiApplication>

namespace {

PromoWorkspace::Functions& overrides() {
    static PromoWorkspace::Functions functions;
    return functions;
}

GAppInfo* desktopApplication(const QString& bundleIdentifier) {
    if (bundleIdentifier.isEmpty())
        return nullptr;
    const QByteArray id = (bundleIdentifier + QStringLiteral(".desktop")).toUtf8();
    GAppInfo* found = nullptr;
    GList* all = g_app_info_get_all();
    for (GList* item = all; item && !found; item = item->next) {
        auto* info = static_cast<GAppInfo*>(item->data);
        const char* infoId = g_app_info_get_id(info);
        if (infoId && id == infoId)
            found = G_APP_INFO(g_object_ref(info));
    }
    g_list_free_full(all, g_object_unref);
    return found;
}

} // namespace

namespace PromoWorkspace {

QStringList makerApplications() {
    return {QStringLiteral("com.velquor.Halvenor")};
}

bool isMakerApplication(const QString& bundleIdentifier) {
    return makerApplications().contains(bundleIdentifier);
}

namespace {

bool allowed(const QString& bundleIdentifier) {
    if (bundleIdentifier.isEmpty())
        return false;
    if (isMakerApplication(bundleIdentifier))
        return true;
    qCWarning(promoLog).noquote() << "application identifier from the feed ignored:"
                                  << bundleIdentifier.left(200);
    return false;
}

} // namespace

bool openURL(const QUrl& url) {
    if (overrides().openURL)
        return overrides().openURL(url);
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool isApplicationInstalled(const QString& bundleIdentifier) {
    if (!allowed(bundleIdentifier))
        return false;
    if (overrides().isApplicationInstalled)
        return overrides().isApplicationInstalled(bundleIdentifier);
    GAppInfo* info = desktopApplication(bundleIdentifier);
    if (!info)
        return false;
    g_object_unref(info);
    return true;
}

bool openApplication(const QString& bundleIdentifier) {
    if (!allowed(bundleIdentifier))
        return false;
    if (overrides().openApplication)
        return overrides().openApplication(bundleIdentifier);
    GAppInfo* info = desktopApplication(bundleIdentifier);
    if (!info)
        return false;
    const bool launched = g_app_info_launch(info, nullptr, nullptr, nullptr);
    g_object_unref(info);
    return launched;
}

bool isApplicationInFront() {
    if (overrides().isApplicationInFront)
        return overrides().isApplicationInFront();
    return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

void setForTesting(Functions functions) {
    overrides() = std::move(functions);
}

void resetForTesting() {
    overrides() = Functions{};
}

} // namespace PromoWorkspace
