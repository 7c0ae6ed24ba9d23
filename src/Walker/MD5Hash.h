#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

class ReadOnlyFile;

// MD5 digests of a file's content, as 32 lower-case hexadecimal digits. The path is the
// file's exact bytes. Only regular files are read; a symbolic link as the last component is
// never followed. Both functions keep no state between calls and may run on many threads
// at once.

// Initialises the digest library for the process and fetches the MD5 digest. The
// application and the test mains call it on the main thread before any digest thread runs;
// later calls, and digests made without it, are fine.
void MD5HashInitialize();

// The digest of every byte of the file, read `readLength` bytes at a time (0 means 8192).
// Answers nothing when the file cannot be opened, is not a regular file, or a read fails.
std::optional<QString> MD5HashOfFile(const QByteArray& path, std::uint64_t readLength);

// The digest of three pieces of `blockLength` bytes taken in the order start, end, middle:
// at 0, at fileSize - blockLength and at (fileSize - blockLength) / 2, the last two floored
// to 4096-byte boundaries when the file has 12289 bytes or more. `fileSize` is the size the
// caller knows (the pieces are placed by it, not by the size found on disk). Files of size
// 0, below `threshold`, or shorter than three blocks are hashed whole instead, as is every
// file when `blockLength` is 0. The read length (0 means 8192) is never more than a block.
// A piece that meets the end of the file ends early; a read error gives no digest at all,
// so a file that cannot be read wholly is never keyed.
std::optional<QString> MD5HashOfFilePartly(const QByteArray& path, std::uint64_t readLength,
                                           std::uint64_t fileSize, std::uint64_t threshold,
                                           std::uint64_t blockLength);

// The same two digests of a file already open (one that did not open gives no digest).
std::optional<QString> MD5HashOfFile(const ReadOnlyFile& file, std::uint64_t readLength);
std::optional<QString> MD5HashOfFilePartly(const ReadOnlyFile& file, std::uint64_t readLength,
                                           std::uint64_t fileSize, std::uint64_t threshold,
                                           std::uint64_t blockLength);
