#include "Platform/ui/FileManagerReveal.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include <functional>

namespace FileManagerReveal {

namespace {

// Calls |method| of the file manager with the item's URL; |fallback| runs when the session
// bus or the file manager is missing or the call fails.
void callFileManager(const QString& method, const QString& path, std::function<void()> fallback) {
    const QUrl url = QUrl::fromLocalFile(path);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        fallback();
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.FileManager1"),
                                       QStringLiteral("/org/freedesktop/FileManager1"),
                                       QStringLiteral("org.freedesktop.FileManager1"), method);
    call << QStringList{url.toString()} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [fallback = std::move(fallback)](QDBusPendingCallWatcher* finished) {
                         if (finished->isError())
                             fallback();
                         finished->deleteLater();
                     });
}

} // namespace

void revealPath(const QString& path) {
    const QUrl parent = QUrl::fromLocalFile(QFileInfo(path).absolutePath());
    callFileManager(QStringLiteral("ShowItems"), path,
                    [parent] { QDesktopServices::openUrl(parent); });
}

void showItemProperties(const QString& path) {
    callFileManager(QStringLiteral("ShowItemProperties"), path, [path] { revealPath(path); });
}

} // namespace FileManagerReveal
