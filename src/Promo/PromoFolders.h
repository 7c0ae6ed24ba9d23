#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The folders of downloaded panels inside the promotions' own folder, and the one way they
// are removed. A path read back from the user defaults could name anything; only a folder
// (or a stray link or file) named "Zembrook_v<N>" or "Zembrook_v<N>_<k>" directly inside
// PromoSettings::applicationSupportFolder() is ever removed, and its removal follows no
// symbolic link and never leaves that file system. Any thread.
//
// A folder that cannot be removed is never left silently: it is logged and kept on a list
// in the user defaults ("PROMO_MANAGER:folders_to_remove"), and retryPendingRemovals(), run
// at every start, tries it again. A panel folder under construction is on that list until
// its panel is recorded, so a quit or a crash halfway through an unpacking leaves nothing
// behind for good either.
namespace PromoFolders {

// True when `path` names a panel folder this subsystem may remove.
bool isZembrookFolderPath(const QString& path);
// Removes the panel folder at `path` when isZembrookFolderPath(); answers whether nothing
// is left there. A failure is logged and the folder kept for retryPendingRemovals(); a
// success takes it off that list.
bool removeZembrookFolder(const QString& path);
// Removes the tree at `name` inside the open folder `parentFd`, without following symbolic
// links and without leaving the file system `device`, depth first with a loop rather than
// recursion: at most three descriptors are open at any time whatever the depth. Answers 0
// or the errno value of the first failure (it stops there).
int removeTreeIteratively(int parentFd, const char* name, dev_t device);

// The list of folders still to be removed.
void addPendingRemoval(const QString& path);
void forgetPendingRemoval(const QString& path);
QStringList pendingRemovals();
// Tries the folders `paths` (taken from the list earlier) again; those removed (or gone)
// leave the list.
void retryPendingRemovals(const QStringList& paths);

// The first free panel folder path for `version`: ".../Zembrook_v3", then ".../Zembrook_v3_1",
// "_2" and so on. Nothing when the system names no application data folder.
std::optional<QString> buildLocalPathForFutureZembrookFolderWithVersion(qint32 version);

} // namespace PromoFolders
