#include "PromoManager.h"

#include "ApplicationFacts.h"
#include "Categories/FileSize.h"
#include "Platform/Dispatch.h"
#include "Promo/PromoDownloads.h"
#include "Promo/PromoFolders.h"
#include "Promo/PromoLog.h"
#include "Promo/PromoManagerDefaults.h"
#include "Promo/PromoSettings.h"
#include "Promo/PromoWorkspace.h"
#include "Promo/PromoXML.h"
#include "Promo/RateDialogDefaults.h"
#include "Promo/SSZipArchive.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QSaveFile>
#include <QScreen>
#include <QWidget>

PromoManager& PromoManager::GetInstance() {
    static PromoManager* instance = [] {
        PromoSettings::LoadSorvantaData();
        return new PromoManager(&UserNotificationCenter::defaultCenter());
    }();
    return *instance;
}

PromoManager::PromoManager(UserNotificationCenter* center, QObject* parent)
    : QObject(parent), m_center(center) {
    if (m_center)
        m_center->setDelegate(this);
    // A quit during a download must not wait for it: every download is aborted then, and
    // an unpacking under way stops and removes its folder.
    if (QCoreApplication* application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &PromoManager::cancelDownloads);
    RateDialogDefaults::notifyRateDialogDataThatAppStarted();
    // Folders an earlier run could not remove, or left halfway through an unpacking: the
    // list is taken now, before this run's own download can add the folder it unpacks into.
    // The panel in force is never among them (a run that ended between recording it and
    // taking it off the list leaves it there).
    QStringList pending = PromoFolders::pendingRemovals();
    if (const std::optional<QString> inForce = PromoManagerDefaults::getZembrookFolderPath();
        inForce && pending.removeAll(*inForce) > 0)
        PromoFolders::forgetPendingRemoval(*inForce);
    if (!pending.isEmpty())
        Dispatch::globalQueue().async([pending] { PromoFolders::retryPendingRemovals(pending); });
    // The next date is written before the download starts, whatever its outcome: a failed
    // download is not tried again before the next due date.
    if (PromoManagerDefaults::isCanLoadServerDataAboutNotifications() &&
        PromoManagerDefaults::isNeedLoadFromServerDataAboutNotifications()) {
        PromoManagerDefaults::notifyPromoManagerDataThatNotificationsWasUpdated();
        loadNotificationsFromServer();
    }
    if (PromoManagerDefaults::isNeedLoadFromServerDataAboutZembrook()) {
        PromoManagerDefaults::notifyPromoManagerDataThatZembrookWasUpdated();
        loadZembrookFromServer();
    }
}

PromoManager::~PromoManager() {
    if (m_center && m_center->delegate() == this)
        m_center->setDelegate(nullptr);
}

QString PromoManager::getAppName() {
    return QString::fromUtf8(ApplicationFacts::kName);
}

QString PromoManager::getAppVersion() {
    return QString::fromUtf8(ApplicationFacts::kVersion);
}

QString PromoManager::getPromoSiteURL() {
    return QString::fromUtf8(ApplicationFacts::kPromoSiteURL);
}

QString PromoManager::getMakerSiteURL() {
    QString site = QString::fromUtf8(ApplicationFacts::kMakerSiteURL);
    while (site.endsWith(QLatin1Char('/')))
        site.chop(1);
    return site;
}

void PromoManager::cancelDownloads() {
    PromoDownloads::cancel();
}

std::optional<QByteArray> PromoManager::fetchDocument(const QUrl& url, qint64 maxBytes) {
    PromoDownloads::Result result = PromoDownloads::fetch(url, maxBytes);
    if (result.outcome == PromoDownloads::Outcome::OverLimit)
        qCWarning(promoLog).noquote() << "download refused:" << url.toDisplayString()
                                      << "is larger than" << maxBytes << "bytes";
    if (result.outcome != PromoDownloads::Outcome::Fetched)
        return std::nullopt;
    return std::move(result.body);
}

std::optional<QByteArray> PromoManager::readLocalFeed(const QString& fileName) {
    const std::optional<QString> path = getLocalPathOfItem(fileName, true);
    if (!path)
        return std::nullopt;
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    if (file.size() > PromoSettings::kMaxFeedBytes) {
        qCWarning(promoLog).noquote() << "saved feed" << *path << "refused: larger than"
                                      << PromoSettings::kMaxFeedBytes << "bytes";
        return std::nullopt;
    }
    return file.read(PromoSettings::kMaxFeedBytes);
}

std::optional<QByteArray>
PromoManager::loadDataFromURL(const QUrl& url, const QString& localFileName,
                              PromoLoadSource* source,
                              const std::function<bool(const QByteArray&)>& accept) {
    if (source)
        *source = PromoLoadSourceNothing;
    std::optional<QByteArray> fetched = fetchDocument(url, PromoSettings::kMaxFeedBytes);
    if (fetched && (!accept || accept(*fetched))) {
        if (source)
            *source = PromoLoadSourceServer;
        return fetched;
    }
    if (localFileName.isEmpty())
        return std::nullopt;
    std::optional<QByteArray> local = readLocalFeed(localFileName);
    if (local && source)
        *source = PromoLoadSourceLocal;
    return local;
}

std::optional<QString>
PromoManager::getLocalPathOfItem(const QString& fileName, bool includeEmbedded,
                                 const std::optional<QString>& notEmbeddedPath) {
    if (fileName.isEmpty())
        return std::nullopt;
    QString candidate;
    if (notEmbeddedPath) {
        candidate = *notEmbeddedPath;
    } else {
        const QString support = PromoSettings::applicationSupportFolder();
        if (support.isEmpty())
            return std::nullopt;
        candidate = QDir(support).filePath(fileName);
    }
    if (!includeEmbedded)
        return candidate;
    if (QFileInfo(candidate).isFile())
        return candidate;
    const QString embedded = PromoSettings::embeddedResourceFolder() + QLatin1Char('/') + fileName;
    if (QFileInfo::exists(embedded))
        return embedded;
    return std::nullopt;
}

void PromoManager::saveLocalyData(const QByteArray& data, const QString& path) {
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    const QFileInfo folderInfo(folder);
    if (folderInfo.exists() || folderInfo.isSymLink()) {
        if (!folderInfo.isDir() || folderInfo.isSymLink())
            QFile::remove(folder);
    }
    QDir().mkpath(folder);
    if (info.exists() || info.isSymLink())
        QFile::remove(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(data);
    file.commit();
}

std::optional<QByteArray>
PromoManager::loadNotificationsDataAndSetLoadSource(PromoLoadSource* source) {
    // Only a document with the notifications' own root counts as an answer: an error page or
    // a captive portal's login page never replaces the last good feed.
    return loadDataFromURL(PromoSettings::getNotificationsWebURL(),
                           PromoSettings::getNotificationsLocalFileName(), source,
                           &PromoXML::isNotificationsDocument);
}

void PromoManager::saveLocalyNotificationsData(const QByteArray& data) {
    const std::optional<QString> path =
        getLocalPathOfItem(PromoSettings::getNotificationsLocalFileName(), false);
    if (path)
        saveLocalyData(data, *path);
}

std::optional<QByteArray> PromoManager::loadZembrookDataAndSetLoadSource(PromoLoadSource* source) {
    return loadDataFromURL(PromoSettings::getZembrookXMLWebURL(), QString(), source);
}

std::optional<PromoXML::ChosenNotification> PromoManager::loadNotificationsRecord() {
    // One parse per document, here on the global queue: the server's answer counts only when
    // its root holds the notifications' list (an error page or a captive portal's login page
    // never replaces the last good feed); otherwise the saved copy, else the application's
    // own, is read instead.
    const std::optional<QByteArray> fetched =
        fetchDocument(PromoSettings::getNotificationsWebURL(), PromoSettings::kMaxFeedBytes);
    if (fetched) {
        PromoXML::NotificationsDocument document = PromoXML::readNotificationsDocument(*fetched);
        if (document.isNotificationsDocument) {
            saveLocalyNotificationsData(*fetched);
            return std::move(document.chosen);
        }
    }
    if (PromoDownloads::isCancelled())
        return std::nullopt;
    const std::optional<QByteArray> local =
        readLocalFeed(PromoSettings::getNotificationsLocalFileName());
    if (!local)
        return std::nullopt;
    return PromoXML::chooseNotification(*local);
}

void PromoManager::loadNotificationsFromServer() {
    QPointer<PromoManager> self(this);
    Dispatch::globalQueue().async([self] {
        std::optional<PromoXML::ChosenNotification> chosen = loadNotificationsRecord();
        Dispatch::mainQueue().async([self, chosen = std::move(chosen)] {
            if (self && chosen)
                self->processReceivedFromServerNotification(chosen->data, chosen->notificationID);
        });
    });
}

void PromoManager::loadZembrookFromServer() {
    QPointer<PromoManager> self(this);
    Dispatch::globalQueue().async([self] {
        const std::optional<QByteArray> data =
            fetchDocument(PromoSettings::getZembrookXMLWebURL(), PromoSettings::kMaxFeedBytes);
        if (!data)
            return;
        std::optional<PromoXML::ZembrookDescriptor> descriptor =
            PromoXML::readZembrookDescriptor(*data);
        if (!descriptor)
            return;
        Dispatch::mainQueue().async([self, descriptor = *descriptor] {
            if (self)
                self->updateIfNeededZembrookWithVersion(descriptor.version, descriptor.url,
                                                        descriptor.width, descriptor.height);
        });
    });
}

void PromoManager::parseNotificationsData(const std::optional<QByteArray>& data) {
    if (!data)
        return;
    const std::optional<PromoXML::ChosenNotification> chosen = PromoXML::chooseNotification(*data);
    if (chosen)
        processReceivedFromServerNotification(chosen->data, chosen->notificationID);
}

void PromoManager::parseZembrookData(const QByteArray& data) {
    const std::optional<PromoXML::ZembrookDescriptor> descriptor =
        PromoXML::readZembrookDescriptor(data);
    if (descriptor)
        updateIfNeededZembrookWithVersion(descriptor->version, descriptor->url, descriptor->width,
                                          descriptor->height);
}

void PromoManager::processReceivedFromServerNotification(const QVariantMap& data,
                                                         qint32 notificationID) {
    if (!PromoManagerDefaults::isNeedShowNotificationWithID(notificationID))
        return;
    PromoManagerDefaults::notifyPromoManagerDataThatShowedNotificationWithID(notificationID);
    createNotificationUsingNotificationData(data);
}

void PromoManager::createNotificationUsingNotificationData(const QVariantMap& data) {
    const QString bundleID = data.value(PromoXML::NOTIFICATION_BUNDLE_ID()).toString();
    const bool installed = !bundleID.isEmpty() && PromoWorkspace::isApplicationInstalled(bundleID);
    UserNotification notification;
    notification.title = data.value(PromoXML::NOTIFICATION_TITLE()).toString();
    notification.subtitle = data.value(PromoXML::NOTIFICATION_SUB_TITLE()).toString();
    notification.informativeText = data.value(PromoXML::NOTIFICATION_TEXT()).toString();
    notification.hasActionButton = true;
    notification.otherButtonTitle =
        data.value(PromoXML::NOTIFICATION_CANCEL_BUTTON_NAME()).toString();
    if (installed) {
        notification.actionButtonTitle =
            data.value(PromoXML::NOTIFICATION_OPEN_BUNDLE_BUTTON_NAME()).toString();
        notification.userInfo = {{KEY_NEED_OPEN_BUNDLE(), bundleID}};
    } else {
        notification.actionButtonTitle =
            data.value(PromoXML::NOTIFICATION_OK_BUTTON_NAME()).toString();
        notification.userInfo = {
            {KEY_NEED_OPEN_LINK(), data.value(PromoXML::NOTIFICATION_OK_BUTTON_LINK()).toString()}};
    }
    if (m_center)
        m_center->scheduleNotification(notification, 1000);
}

void PromoManager::processNotification(const UserNotification& notification) {
    if (notification.activationType != 1 && notification.activationType != 2)
        return;
    if (notification.userInfo.isEmpty())
        return;
    if (notification.userInfo.contains(KEY_NEED_OPEN_LINK())) {
        // The link comes from the network: only a web address is opened, never a local file
        // or another program's scheme.
        const QUrl url(notification.userInfo.value(KEY_NEED_OPEN_LINK()).toString(),
                       QUrl::StrictMode);
        const QString scheme = url.scheme().toLower();
        if (url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")))
            PromoWorkspace::openURL(url);
        return;
    }
    if (notification.userInfo.contains(KEY_NEED_OPEN_BUNDLE())) {
        const QString bundleID = notification.userInfo.value(KEY_NEED_OPEN_BUNDLE()).toString();
        if (PromoWorkspace::isApplicationInstalled(bundleID))
            PromoWorkspace::openApplication(bundleID);
    }
}

void PromoManager::showScanCompletedNotificationForSize(quint64 size) {
    if (PromoWorkspace::isApplicationInFront())
        return;
    UserNotification notification;
    notification.title = QStringLiteral("Scan Completed");
    notification.informativeText =
        size == 0 ? QStringLiteral("No duplicates found")
                  : QStringLiteral("%@ duplicates found")
                        .replace(QStringLiteral("%@"), FileSize::formatMemoryStringDot1(size));
    if (m_center)
        m_center->deliverNotification(notification);
}

void PromoManager::userNotificationCenterDidActivateNotification(const UserNotification& n) {
    bringMainWindowToFront();
    processNotification(n);
}

void PromoManager::bringMainWindowToFront() {
    QWidget* window = m_mainWindow;
    if (!window) {
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget* candidate : windows) {
            if (candidate->windowType() == Qt::Window && !candidate->isHidden()) {
                window = candidate;
                break;
            }
        }
    }
    if (!window)
        return;
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

bool PromoManager::userNotificationCenterShouldPresentNotification(const UserNotification& n) {
    return !n.userInfo.isEmpty();
}

qint32 PromoManager::getZembrookVersion() const {
    return PromoManagerDefaults::getZembrookVersion();
}

std::optional<QUrl> PromoManager::getZembrookURL() const {
    std::optional<QString> candidate;
    if (const std::optional<QString> folder = PromoManagerDefaults::getZembrookFolderPath())
        candidate = QDir(*folder).filePath(PromoSettings::getZembrookFileNameOfHTML());
    const std::optional<QString> path =
        getLocalPathOfItem(PromoSettings::getZembrookFileNameOfHTML(), true, candidate);
    if (!path)
        return std::nullopt;
    if (path->startsWith(QLatin1Char(':')))
        return QUrl(QStringLiteral("qrc") + *path);
    return QUrl::fromLocalFile(*path);
}

QSizeF PromoManager::getZembrookWindowSize() const {
    return QSizeF(PromoManagerDefaults::getZembrookWindowWidth(),
                  PromoManagerDefaults::getZembrookWindowHeight());
}

QSize PromoManager::clampedZembrookSize(int width, int height, const QSize& available) {
    if (width <= 0 || height <= 0)
        return {};
    if (available.isValid())
        return {std::min(width, available.width()), std::min(height, available.height())};
    return {width, height};
}

QSize PromoManager::availableScreenSize() {
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    return screen ? screen->availableGeometry().size() : QSize();
}

void PromoManager::updateIfNeededZembrookWithVersion(qint32 version, const QUrl& url, int width,
                                                     int height) {
    if (!PromoManagerDefaults::isNeedLoadFromServerZembrookWithVersion(version))
        return;
    // The page size comes from the network: never larger than the screen can show, and a
    // size of 0 or less is refused (the application's own size serves).
    const QSize size = clampedZembrookSize(width, height, availableScreenSize());
    if (size.isEmpty()) {
        qCWarning(promoLog) << "panel size refused:" << width << "x" << height;
        width = PromoSettings::getZembrookEmbeddedWidth();
        height = PromoSettings::getZembrookEmbeddedHeight();
    } else {
        width = size.width();
        height = size.height();
    }
    Dispatch::globalQueue().async([version, url, width, height] {
        downloadAndSaveZembrookWithVersion(version, url, width, height);
    });
}

bool PromoManager::downloadAndSaveZembrookWithVersion(qint32 version, const QUrl& url, int width,
                                                      int height) {
    if (PromoSettings::httpsOnlyArchives() && url.scheme().toLower() != QLatin1String("https"))
        return false;
    if (PromoDownloads::isCancelled())
        return false;
    const std::optional<QString> folder =
        PromoFolders::buildLocalPathForFutureZembrookFolderWithVersion(version);
    if (!folder)
        return false;
    // On the removal list until the panel is recorded: a quit or a crash before that leaves
    // the folder to the next start's clean-up.
    PromoFolders::addPendingRemoval(*folder);
    PromoFolders::removeZembrookFolder(*folder);
    if (!QDir().mkpath(*folder)) {
        PromoFolders::removeZembrookFolder(*folder);
        return false;
    }
    const std::optional<QByteArray> archive = fetchDocument(url, SSZipArchive::kMaxArchiveBytes);
    if (!archive) {
        PromoFolders::removeZembrookFolder(*folder);
        return false;
    }
    const QString archivePath =
        QDir(*folder).filePath(QStringLiteral("tmp_download_v%1").arg(version));
    QSaveFile file(archivePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(*archive) != archive->size() ||
        !file.commit()) {
        PromoFolders::removeZembrookFolder(*folder);
        return false;
    }
    SSZipArchive::Limits limits;
    limits.cancelled = PromoDownloads::cancelledFlag();
    QString failure;
    bool recorded = SSZipArchive::unzipFileAtPath(archivePath, *folder, limits, &failure);
    QFile::remove(archivePath);
    if (!recorded && !PromoDownloads::isCancelled())
        qCWarning(promoLog).noquote()
            << "panel archive" << url.toDisplayString() << "refused:" << failure;
    if (recorded && !PromoDownloads::isCancelled())
        recorded = PromoManagerDefaults::notifyPromoManagerDataToSaveZembrookFolder(
            *folder, version, width, height);
    else
        recorded = false;
    if (recorded)
        PromoFolders::forgetPendingRemoval(*folder);
    else
        PromoFolders::removeZembrookFolder(*folder);
    return recorded;
}
