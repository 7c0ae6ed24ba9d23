#pragma once

#include <QString>
#include <QUrl>

// The fixed facts of the promotional feed and the few settings of its transport.
//
// The feed's base address is a setting of the build (SORVANTA_PROMO_FEED_URL), empty by
// default: with no server, nothing is fetched and the "notifications.xml" carried by the
// application serves. Tests point it at a server on the loopback interface.
class PromoSettings final {
public:
    PromoSettings() = delete;

    // Builds the two document addresses from the base address; run by the first
    // PromoManager::GetInstance() and again after setBaseAddress().
    static void LoadSorvantaData();
    // Replaces the base address (a test's loopback server); "" turns the server off.
    static void setBaseAddress(const QString& baseAddress);
    static QString baseAddress();

    // Base + "notifications.xml" / base + "tools.xml"; empty while there is no base.
    static QUrl getNotificationsWebURL();
    static QUrl getZembrookXMLWebURL();

    static QString getNotificationsLocalFileName() { return QStringLiteral("notifications.xml"); }
    static QString getZembrookFileNameOfHTML() { return QStringLiteral("zembrook.html"); }
    static constexpr int getZembrookEmbeddedVersion() { return 0; }
    static constexpr int getZembrookEmbeddedWidth() { return 1120; }
    static constexpr int getZembrookEmbeddedHeight() { return 502; }
    // Seconds between two downloads of one feed document (seven days).
    static constexpr int TIME_BETWEEN_UPDATE_NOTIFICATIONS_AND_ZEMBROOK = 604800;

    // The promotions' own folder: the per-user application data folder
    // (QStandardPaths::AppDataLocation). Empty when the system names none.
    static QString applicationSupportFolder();
    // The folder where the application's own copies of "notifications.xml" and
    // "zembrook.html" live (compiled-in resources).
    static QString embeddedResourceFolder();

    // A feed document is a few kilobytes of text; a larger answer is refused whole (and the
    // saved copy stays in use) before it is parsed.
    static constexpr qint64 kMaxFeedBytes = qint64(1) * 1024 * 1024;

    // A download that transfers nothing for this long is given up (milliseconds).
    static int transferTimeoutMs();
    static void setTransferTimeoutMs(int milliseconds);
    // The panel archive is fetched over https only; tests serving it from a plain loopback
    // server turn this off.
    static bool httpsOnlyArchives();
    static void setHttpsOnlyArchives(bool httpsOnly);
};
