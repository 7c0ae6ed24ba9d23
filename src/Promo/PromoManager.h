#pragma once

#include "Promo/PromoXML.h"
#include "Promo/UserNotificationCenter.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QUrl>
#include <QVariantMap>
#include <QWidget>

#include <functional>
#include <optional>

// Where a loaded feed document came from.
enum PromoLoadSource {
    PromoLoadSourceNothing = 0,
    PromoLoadSourceLocal = 1,  // the saved copy, or the application's own
    PromoLoadSourceServer = 2, // fetched just now
};

// The promotions: the download schedule of the promotional feed ("notifications.xml" and
// the panel descriptor "tools.xml"), the last good notifications file, the promotional user
// notifications and the scan-completed one, the downloaded promotional panel, and the
// application facts the share texts use.
//
// It keeps no state of its own: the schedule lives in the user defaults
// (PromoManagerDefaults), the files in PromoSettings::applicationSupportFolder(). Downloads
// and their parsing run on the global queue and block only it; the main queue receives the
// parsed records and shows what they ask for. Nothing is shown to the user for any failure;
// a document or archive over one of the limits (PromoSettings::kMaxFeedBytes, SSZipArchive's
// limits) is refused whole, with one line in the log, and what was in force stays.
class PromoManager final : public QObject, public UserNotificationCenterDelegate {
    Q_OBJECT

public:
    // The process-wide object, made (with the addresses of PromoSettings::LoadSorvantaData)
    // by its first call, on the main thread at start-up. Making it runs the start-up.
    static PromoManager& GetInstance();

    // The start-up, on the main thread: becomes the delegate of `center`, updates the rating
    // record, then starts each feed download that is due. Tests make their own instances.
    explicit PromoManager(UserNotificationCenter* center, QObject* parent = nullptr);
    ~PromoManager() override;

    // Application facts: constants of the build, for any thread, without an instance.
    // "Sorvanta".
    static QString getAppName();
    // The short version text, "0.1.0".
    static QString getAppVersion();
    // The product's web page quoted in the share texts; empty when the build sets none.
    static QString getPromoSiteURL();
    // The maker's web site (no trailing "/"), the host of the About window's links.
    static QString getMakerSiteURL();

    // Fetches `url` (blocking; global queue only). Answers the body of an HTTP 200 answer
    // accepted by `accept` (when given), with `source` 2. Otherwise, when `localFileName` is
    // given, the local copy (getLocalPathOfItem with the application's own copy allowed),
    // source 1; otherwise nothing, source 0.
    static std::optional<QByteArray>
    loadDataFromURL(const QUrl& url, const QString& localFileName, PromoLoadSource* source,
                    const std::function<bool(const QByteArray&)>& accept = {});
    // The body of an HTTP 200 answer to a GET of an http or https `url`, within the transfer
    // time-out and at most `maxBytes` long; nothing otherwise. Blocking; never on the main
    // thread.
    static std::optional<QByteArray> fetchDocument(const QUrl& url, qint64 maxBytes);
    // The saved (else the application's own) copy of a feed document; nothing when there is
    // none or it is larger than PromoSettings::kMaxFeedBytes (logged).
    static std::optional<QByteArray> readLocalFeed(const QString& fileName);
    // Global queue: fetches "notifications.xml", saves it when it is a notifications
    // document, else falls back on the saved copy; parses whichever once and answers the
    // notification it offers. Blocking.
    static std::optional<PromoXML::ChosenNotification> loadNotificationsRecord();

    // Ends every promotional download at once (PromoDownloads::cancel()): called when the
    // application quits, so quitting never waits for a slow server. Any thread.
    static void cancelDownloads();
    // `notEmbeddedPath`, else the promotions' folder joined with `fileName`. Without
    // `includeEmbedded` that path whether or not it exists; with it, that path when a file is
    // there, else the application's own copy of `fileName`, else nothing.
    static std::optional<QString>
    getLocalPathOfItem(const QString& fileName, bool includeEmbedded,
                       const std::optional<QString>& notEmbeddedPath = std::nullopt);
    // Writes `data` atomically at `path`, making (or replacing a file standing as) its folder.
    // Failures are ignored.
    static void saveLocalyData(const QByteArray& data, const QString& path);
    static std::optional<QByteArray> loadNotificationsDataAndSetLoadSource(PromoLoadSource* source);
    static void saveLocalyNotificationsData(const QByteArray& data);
    static std::optional<QByteArray> loadZembrookDataAndSetLoadSource(PromoLoadSource* source);

    // Both download and parse on the global queue; the main queue receives the parsed record
    // (the chosen notification, the panel descriptor) only.
    void loadNotificationsFromServer();
    void loadZembrookFromServer();
    // Main queue. Parses on the calling thread (the downloads above do not use it). Chooses the
    // newest complete notification of the document and shows it once.
    void parseNotificationsData(const std::optional<QByteArray>& data);
    // Main queue. Reads a descriptor that came from the server; may start a panel download.
    void parseZembrookData(const QByteArray& data);
    void processReceivedFromServerNotification(const QVariantMap& data, qint32 notificationID);
    // Builds the promotional notification and schedules it one second from now.
    void createNotificationUsingNotificationData(const QVariantMap& data);

    // Carries out a click on a promotional notification (body or action button): opens its
    // http(s) link, or the maker's application it names. Anything else does nothing.
    void processNotification(const UserNotification& notification);
    // Announces a finished scan ("Scan Completed") unless this application is in front.
    void showScanCompletedNotificationForSize(quint64 size);

    // The promotional panel in force.
    qint32 getZembrookVersion() const;
    // The page to show: the downloaded panel's, else the application's own; nothing when
    // neither exists.
    std::optional<QUrl> getZembrookURL() const;
    QSizeF getZembrookWindowSize() const;
    // The page size a descriptor asks for, at most `available` (when valid); an empty size
    // when either side is 0 or less (refused).
    static QSize clampedZembrookSize(int width, int height, const QSize& available);
    // The primary screen's available size; invalid without a screen.
    static QSize availableScreenSize();
    // Main queue: starts the download of a newer panel on the global queue, with the page
    // size clamped (clampedZembrookSize; a refused size gives the application's own size).
    void updateIfNeededZembrookWithVersion(qint32 version, const QUrl& url, int width, int height);
    // Blocking: downloads the archive (https only, see PromoSettings; at most
    // SSZipArchive::kMaxArchiveBytes), unpacks it within SSZipArchive's limits into a new
    // "Zembrook_v<N>" folder and records it. Answers whether the panel was recorded; every
    // failure or refusal (logged once) removes the new folder and leaves the panel in force.
    static bool downloadAndSaveZembrookWithVersion(qint32 version, const QUrl& url, int width,
                                                   int height);

    // A click on any of this application's notifications brings the main window back from
    // the dock and to the front (as far as the desktop lets a program raise itself), then
    // carries out the click.
    void userNotificationCenterDidActivateNotification(const UserNotification& n) override;
    bool userNotificationCenterShouldPresentNotification(const UserNotification& n) override;

    // The window a click on a notification brings back; without one, the first visible
    // top-level window.
    void setMainWindow(QWidget* window) { m_mainWindow = window; }
    // Un-minimises, shows, raises and activates the main window.
    void bringMainWindowToFront();

    // User-info keys of a promotional notification.
    static QString KEY_NEED_OPEN_LINK() { return QStringLiteral("need_open_link"); }
    static QString KEY_NEED_OPEN_BUNDLE() { return QStringLiteral("need_open_bundle"); }

private:
    UserNotificationCenter* m_center;
    QPointer<QWidget> m_mainWindow;
};
