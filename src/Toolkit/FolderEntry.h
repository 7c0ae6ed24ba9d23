#pragma once

#include <QImage>
#include <QString>
#include <QVariantMap>

// A folder chosen for a scan as the welcome and interim screens keep it and hand it to the
// cover flow: a map with the folder's icon ("image", a QImage of 128 x 128 points, or the
// bytes of an encoded picture), its display name ("name") and its full path ("path").
// Two entries are the same card when all three values are equal.
namespace FolderEntry {

inline const QString kImage = QStringLiteral("image");
inline const QString kName = QStringLiteral("name");
inline const QString kPath = QStringLiteral("path");

inline QVariantMap make(const QImage& image, const QString& name, const QString& path) {
    return {{kImage, image}, {kName, name}, {kPath, path}};
}

} // namespace FolderEntry
