#pragma once

#include "Removal/PrivilegedRemovalProtocol.h"

#include <string>

// How the privileged tool removes a path. It runs as root for an unprivileged caller, so it
// trusts nothing in the path and removes only the very item the caller scanned:
// - the path must be absolute, without empty, "." or ".." components;
// - "/", every top-level entry (/home, /root, /opt, /tmp, ...), every entry directly under
//   /home, and everything under the system's top folders (/bin, /boot, /dev, /etc, /lib,
//   /proc, /run, /sys, /usr, /var and their merged-/usr siblings) is refused (EPERM);
// - no symbolic link is followed anywhere: the path is opened one component at a time with
//   O_NOFOLLOW, and the item is removed relative to its parent's descriptor; a last
//   component that is itself a link is refused (ELOOP);
// - what is opened must be the item of the request: same device and inode, same kind, and
//   for a file the same size; for a folder the sizes of its regular files add up to no
//   more than the request's size (ESTALE otherwise);
// - a home folder of the password database, or a folder holding one, is refused (EPERM);
// - a mount point, or a folder with a mount point anywhere inside, is refused (EBUSY);
// - a folder is removed with its whole content, never leaving its file system.
namespace SafeRemoval {

using Identity = PrivilegedRemovalProtocol::ItemIdentity;

// 0 when the path's text passes the rules above, else the errno value that refuses it.
int checkPath(const std::string& path);

// Removes the item at the path when it passes every rule above. Answers 0 on success, else
// the errno value of the refusal or failure.
int removePath(const std::string& path, const Identity& identity);

} // namespace SafeRemoval
