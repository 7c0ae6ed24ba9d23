#include "FolderBookmarks.h"

#include "Platform/UserDefaults.h"

#include <QUrl>

namespace FolderBookmarks {

QString keyForPath(const QString& path) {
    // Percent-encoding leaves no "/" in the key, so a path never opens a sub-group.
    return QStringLiteral("FolderBookmarks/") + QString::fromLatin1(QUrl::toPercentEncoding(path));
}

bool saveBookmarkForPath(const QString& path) {
    if (path.isEmpty())
        return false;
    UserDefaults::standardUserDefaults().setObject(keyForPath(path), path);
    return true;
}

std::optional<QString> resolveBookmarkForPath(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    const QVariant value = UserDefaults::standardUserDefaults().objectForKey(keyForPath(path));
    if (!value.isValid() || value.toString().isEmpty())
        return std::nullopt;
    return value.toString();
}

} // namespace FolderBookmarks
