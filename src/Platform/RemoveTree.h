#pragma once

#include <sys/types.h>

// Removes the entry `name` inside the open folder `dirFd`; a folder is emptied first,
// descending without following symbolic links and without crossing onto another file system
// than `device` (EXDEV). Answers 0 or the errno value of the first failure; `writing`, when
// given, tells whether that failure was a removal (true) or a listing (false).
// Plain C library code: the privileged tool, which has no Qt, uses it too.
int removeTreeAt(int dirFd, const char* name, dev_t device, bool* writing = nullptr);
