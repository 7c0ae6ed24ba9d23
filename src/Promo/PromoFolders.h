#pragma once

#include <QString>

#include <optional>

// The folders of downloaded panels inside the promotions' own folder, and the one way they
// are removed. A path read back from the user defaults could name anything; only a folder
// (or a stray link or file) named "Zembrook_v<N>" or "Zembrook_v<N>_<k>" directly inside
// PromoSettings::applicationSupportFolder() is ever removed, and its removal follows no
// symbolic link and never leaves that file system. Any thread.
namespace PromoFolders {

// True when `path` names a panel folder this subsystem may remove.
bool isZembrookFolderPath(const QString& path);
// Removes the panel folder at `path` when isZembrookFolderPath(); answers whether nothing
// is left there.
bool removeZembrookFolder(const QString& path);
// The first free panel folder path for `version`: ".../Zembrook_v3", then ".../Zembrook_v3_1",
// "_2" and so on. Nothing when the system names no application data folder.
std::optional<QString> buildLocalPathForFutureZembrookFolderWithVersion(qint32 version);

} // namespace PromoFolders
