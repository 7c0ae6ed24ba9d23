#include "Platform/ui/FileManagerReveal.h"

#include "Platform/ui/OpenFailure.h"

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

// Why neither the file manager nor an application for folders took the request.
QString noFileManagerReason() {
    return QStringLiteral("No file manager answered, and no application is set up to open "
                          "folders on this desktop.");
}

// Opens the folder that holds |path|; tells the user |message| when nothing opens it.
void openParentFolder(const QString& path, const QString& message) {
    const QUrl parent = QUrl::fromLocalFile(QFileInfo(path).absolutePath());
    if (!QDesktopServices::openUrl(parent))
        OpenFailure::report(message, noFileManagerReason());
}

} // namespace

void revealPath(const QString& path) {
    const QString message = QStringLiteral("\u201C%1\u201D could not be shown in the file manager.")
                                .arg(QFileInfo(path).fileName());
    callFileManager(QStringLiteral("ShowItems"), path,
                    [path, message] { openParentFolder(path, message); });
}

void showItemProperties(const QString& path) {
    const QString message = QStringLiteral("The properties of \u201C%1\u201D could not be shown.")
                                .arg(QFileInfo(path).fileName());
    // Where no file manager shows properties, the item is at least shown in its folder.
    callFileManager(QStringLiteral("ShowItemProperties"), path, [path, message] {
        callFileManager(QStringLiteral("ShowItems"), path,
                        [path, message] { openParentFolder(path, message); });
    });
}

} // namespace FileManagerReveal
