#include "FileManagerUtils.h"

#include "MD5Hash.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {
constexpr std::uint64_t kReadLength = 8192;
}

namespace FileManagerUtils {

std::optional<QString> hashforFile(const QByteArray& path) {
    return MD5HashOfFile(path, kReadLength);
}

std::optional<QString> hashforFilePartlyWithSizeHashPartBlockLengthForFilesGreatherThan(
    const QByteArray& path, std::uint64_t size, std::uint64_t blockLength,
    std::uint64_t threshold) {
    return MD5HashOfFilePartly(path, kReadLength, size, threshold, blockLength);
}

std::optional<QString> hashforFile(const ReadOnlyFile& file) {
    return MD5HashOfFile(file, kReadLength);
}

std::optional<QString> hashforFilePartlyWithSizeHashPartBlockLengthForFilesGreatherThan(
    const ReadOnlyFile& file, std::uint64_t size, std::uint64_t blockLength,
    std::uint64_t threshold) {
    return MD5HashOfFilePartly(file, kReadLength, size, threshold, blockLength);
}

bool isFileLocked(const QByteArray& path) {
    if (path.isEmpty() || path.contains('\0'))
        return false;
    struct statx info {};
    if (::statx(AT_FDCWD, path.constData(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, 0, &info) != 0)
        return false;
    return (info.stx_attributes_mask & STATX_ATTR_IMMUTABLE) &&
           (info.stx_attributes & STATX_ATTR_IMMUTABLE);
}

} // namespace FileManagerUtils
