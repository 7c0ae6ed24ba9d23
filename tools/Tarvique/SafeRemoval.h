#pragma once

#include <string>

// How the privileged tool removes a path. It runs as root for an unprivileged caller, so it
// trusts nothing in the path:
// - the path must be absolute, without empty, "." or ".." components;
// - "/" and everything under the system's top folders (/bin, /boot, /dev, /etc, /lib,
//   /proc, /sys, /usr, /var and their merged-/usr siblings) is refused;
// - no symbolic link is followed anywhere: the parent folder is opened one component at a
//   time with O_NOFOLLOW, and the last component is removed with unlinkat relative to it;
//   a last component that is itself a link is refused;
// - a folder is removed with its whole content, never leaving its file system.
namespace SafeRemoval {

// 0 when the path passes the rules above, else the errno value that refuses it.
int checkPath(const std::string& path);

// Removes the path. Answers 0 on success, else the errno value of the refusal or failure.
int removePath(const std::string& path);

} // namespace SafeRemoval
