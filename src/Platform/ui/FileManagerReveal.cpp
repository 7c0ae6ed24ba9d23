#include "Platform/ui/FileManagerReveal.h"

#include "Platform/ui/OpenFailure.h"

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
bool openFolder(const QByteArray& path) {
    const QByteArray uri = fileUrlOfPath(path).toLatin1();
    return g_app_info_launch_default_for_uri(uri.constData(), nullptr, nullptr) != FALSE;
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

// Why neither the file manager nor an application for folders took the request.
QString noFileManagerReason() {
    return QStringLiteral("No file manager answered, and no application is set up to open "
                          "folders on this desktop.");
}

// The item's last name, decoded for the message only.
QString displayNameOf(const QByteArray& path) {
    QByteArray trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith('/'))
        trimmed.chop(1);
    return QString::fromLocal8Bit(trimmed.mid(trimmed.lastIndexOf('/') + 1));
}

// Opens the folder that holds |path| by its bytes; tells the user |message| when nothing
// opens it.
void openParentFolder(const QByteArray& path, const QString& message) {
    if (!openFolder(parentOf(path)))
        OpenFailure::report(message, noFileManagerReason());
}

} // namespace

QString fileUrlOfPath(const QByteArray& path) {
    return QStringLiteral("file://") + QString::fromLatin1(path.toPercentEncoding("/"));
}

void revealPath(const QByteArray& path) {
    const QString message = QStringLiteral("\u201C%1\u201D could not be shown in the file manager.")
                                .arg(displayNameOf(path));
    callFileManager(QStringLiteral("ShowItems"), path,
                    [path, message] { openParentFolder(path, message); });
}

void showItemProperties(const QByteArray& path) {
    const QString message = QStringLiteral("The properties of \u201C%1\u201D could not be shown.")
                                .arg(displayNameOf(path));
    // Where no file manager shows properties, the item is at least shown in its folder.
    callFileManager(QStringLiteral("ShowItemProperties"), path, [path, message] {
        callFileManager(QStringLiteral("ShowItems"), path,
                        [path, message] { openParentFolder(path, message); });
    });
}

} // namespace FileManagerReveal
