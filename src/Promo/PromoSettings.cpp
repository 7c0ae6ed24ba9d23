#include "Promo/PromoSettings.h"

#include "ApplicationFacts.h"

#include <QStandardPaths>

#include <atomic>
#include <mutex>

namespace {

struct FeedAddresses {
    std::mutex mutex;
    bool baseOverridden = false;
    QString base;
    QUrl notifications;
    QUrl tools;
};

FeedAddresses& addresses() {
    static FeedAddresses instance;
    return instance;
}

std::atomic<int> g_transferTimeoutMs{30000};
std::atomic<bool> g_httpsOnlyArchives{true};

QUrl documentURL(const QString& base, const QString& name) {
    if (base.isEmpty())
        return {};
    return QUrl(base + name);
}

} // namespace

void PromoSettings::LoadSorvantaData() {
    FeedAddresses& a = addresses();
    const std::lock_guard lock(a.mutex);
    if (!a.baseOverridden)
        a.base = QString::fromUtf8(ApplicationFacts::kPromoFeedURL);
    a.notifications = documentURL(a.base, getNotificationsLocalFileName());
    a.tools = documentURL(a.base, QStringLiteral("tools.xml"));
}

void PromoSettings::setBaseAddress(const QString& baseAddress) {
    {
        FeedAddresses& a = addresses();
        const std::lock_guard lock(a.mutex);
        a.baseOverridden = true;
        a.base = baseAddress;
    }
    LoadSorvantaData();
}

QString PromoSettings::baseAddress() {
    FeedAddresses& a = addresses();
    const std::lock_guard lock(a.mutex);
    return a.base;
}

QUrl PromoSettings::getNotificationsWebURL() {
    FeedAddresses& a = addresses();
    const std::lock_guard lock(a.mutex);
    return a.notifications;
}

QUrl PromoSettings::getZembrookXMLWebURL() {
    FeedAddresses& a = addresses();
    const std::lock_guard lock(a.mutex);
    return a.tools;
}

// The application's own feed and page are compiled into the interface library, a static
// library, so their registration is pulled in by hand rather than by a static initialiser
// the linker may drop.
static void ensurePromoResourcesRegistered() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(promo);
        return true;
    }();
    (void)registered;
}

QString PromoSettings::embeddedResourceFolder() {
    ensurePromoResourcesRegistered();
    return QStringLiteral(":/promo");
}

QString PromoSettings::applicationSupportFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

int PromoSettings::transferTimeoutMs() {
    return g_transferTimeoutMs.load();
}

void PromoSettings::setTransferTimeoutMs(int milliseconds) {
    g_transferTimeoutMs.store(milliseconds);
}

bool PromoSettings::httpsOnlyArchives() {
    return g_httpsOnlyArchives.load();
}

void PromoSettings::setHttpsOnlyArchives(bool httpsOnly) {
    g_httpsOnlyArchives.store(httpsOnly);
}
