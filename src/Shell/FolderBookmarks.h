#pragma once

#include <QString>

#include <optional>

// What stands for a folder's security-scoped bookmark on this platform: the folder's path
// itself, kept in the user defaults under an encoded key of its own group, so that no path
// can ever overwrite a setting. An entry is written for every folder ever added on the
// welcome screen and never removed.
namespace FolderBookmarks {

// The settings key of |path|'s entry.
QString keyForPath(const QString& path);
// Writes |path|'s entry and syncs the defaults. Answers false for an empty path.
bool saveBookmarkForPath(const QString& path);
// The folder the entry under |path| leads to, when there is one.
std::optional<QString> resolveBookmarkForPath(const QString& path);

} // namespace FolderBookmarks
