#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

// Facts about the volume (mounted file system) that holds a path. Paths are raw bytes.
// Safe from any thread: every call reads the current mount table.
namespace VolumeInfo {

// The mount points of this process's mount table, each exactly as the kernel spells it
// (escapes such as "\040" for a space undone).
QSet<QByteArray> mountPoints();

// True when a file system is mounted exactly at `path`.
bool isVolumeAtPath(const QByteArray& path);

// The mount point of the volume that holds `path`, followed by "/", found by dropping path
// components until one is a mount point. "/" itself never counts: a path on the root
// volume answers an empty array, as does an empty or relative path.
QByteArray volumePathPrefixOfPath(const QByteArray& path);

// The name to show for the volume that holds `path`: its label, else the last component
// of its mount point, else "Unknown disk" (also when the volume cannot be read).
QString localizedNameOfVolumeForPath(const QByteArray& path);

} // namespace VolumeInfo
