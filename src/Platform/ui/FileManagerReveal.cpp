#include "Platform/ui/FileManagerReveal.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>

#include <functional>

#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

namespace FileManagerReveal {

namespace {

QByteArray parentOf(const QByteArray& path) {
    QByteArray trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith('/'))
        trimmed.chop(1);
    const qsizetype slash = trimmed.lastIndexOf('/');
    return slash <= 0 ? QByteArrayLiteral("/") : trimmed.left(slash);
}

// Opens a folder in the desktop's default application for folders, by its bytes.
void openFolder(const QByteArray& path) {
    const QByteArray uri = fileUrlOfPath(path).toLatin1();
    g_app_info_launch_default_for_uri(uri.constData(), nullptr, nullptr);
}

// Calls |method| of the file manager with the item's URL; |fallback| runs when the session
// bus or the file manager is missing or the call fails.
void callFileManager(const QString& method, const QByteArray& path,
                     std::function<void()> fallback) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        fallback();
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.FileManager1"),
                                       QStringLiteral("/org/freedesktop/FileManager1"),
                                       QStringLiteral("org.freedesktop.FileManager1"), method);
    call << QStringList{fileUrlOfPath(path)} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [fallback = std::move(fallback)](QDBusPendingCallWatcher* finished) {
                         if (finished->isError())
                             fallback();
                         finished->deleteLater();
                     });
}

} // namespace

QString fileUrlOfPath(const QByteArray& path) {
    return QStringLiteral("file://") + QString::fromLatin1(path.toPercentEncoding("/"));
}

void revealPath(const QByteArray& path) {
    callFileManager(QStringLiteral("ShowItems"), path,
                    [parent = parentOf(path)] { openFolder(parent); });
}

void showItemProperties(const QByteArray& path) {
    callFileManager(QStringLiteral("ShowItemProperties"), path, [path] { revealPath(path); });
}

} // namespace FileManagerReveal
