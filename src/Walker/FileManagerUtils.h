#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

class ReadOnlyFile;

// File questions that the digest separation and the remover ask by path (exact bytes).
// Safe from any thread.
namespace FileManagerUtils {

// The digest of the whole file, read 8192 bytes at a time; nothing when the file cannot be
// read (not a regular file, no permission, a read error).
std::optional<QString> hashforFile(const QByteArray& path);

// The three-piece digest (MD5HashOfFilePartly with reads of 8192 bytes) for a file of
// `size` bytes: files below `threshold` bytes are hashed whole. Nothing when the file
// cannot be read.
std::optional<QString> hashforFilePartlyWithSizeHashPartBlockLengthForFilesGreatherThan(
    const QByteArray& path, std::uint64_t size, std::uint64_t blockLength, std::uint64_t threshold);

// The same two digests of a file already open.
std::optional<QString> hashforFile(const ReadOnlyFile& file);
std::optional<QString> hashforFilePartlyWithSizeHashPartBlockLengthForFilesGreatherThan(
    const ReadOnlyFile& file, std::uint64_t size, std::uint64_t blockLength,
    std::uint64_t threshold);

// True when the item at `path` itself (a symbolic link is not followed) carries the
// immutable attribute; false when it does not, or when it cannot be looked at.
bool isFileLocked(const QByteArray& path);

} // namespace FileManagerUtils
