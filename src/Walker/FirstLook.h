#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

// A quick 64-bit fingerprint of the same bytes the three-piece digest reads (the whole file
// below `threshold` bytes or when shorter than three blocks, else the start, end and middle
// blocks at the digest's offsets). Files whose fingerprints differ differ in content, so a
// file alone under its fingerprint in a same-size set needs no digest at all; files sharing
// one are then told apart by their whole-file digests. A fingerprint is no digest: two
// different files may share one.
//
// The file is opened by `name` inside the folder open as `folderFd` (AT_FDCWD with a path
// for a file looked up by path), never following a symbolic link as the last component, and
// read into one buffer of the calling thread kept from call to call; a file that still has
// the `size` the walk found is taken in one read per piece with no stat. A file found
// longer than that is checked to be a regular file before it is read further (a device
// would never end). Nothing when the file cannot be opened or read. Any thread.
std::optional<std::uint64_t> firstLookOfFile(int folderFd, const char* name, std::uint64_t size,
                                             std::uint64_t blockLength, std::uint64_t threshold);
// The same for a file named by its whole path (of any length).
std::optional<std::uint64_t> firstLookOfFile(const QByteArray& path, std::uint64_t size,
                                             std::uint64_t blockLength, std::uint64_t threshold);
