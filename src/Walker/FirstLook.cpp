#include "FirstLook.h"

#include "Platform/PathAt.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::uint64_t kPageSize = 4096;
constexpr std::uint64_t kPageAlignFrom = 3 * kPageSize + 1;
// Whole files are taken in chunks of this length: a file below the usual threshold in one.
constexpr std::size_t kChunk = 64 * 1024;

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

std::vector<char>& threadBuffer(std::size_t length) {
    thread_local std::vector<char> buffer;
    if (buffer.size() < length)
        buffer.resize(length);
    return buffer;
}

// Fills `length` bytes from `offset` as far as the file goes: the count read, or -1. A read
// shorter than asked that has brought at least `knownEnd` bytes is taken as the end of the
// file without a further read to confirm it (a file read whole to the size the walk found).
std::int64_t fill(int fd, char* buffer, std::size_t length, std::uint64_t offset,
                  std::size_t knownEnd = SIZE_MAX) {
    std::size_t taken = 0;
    while (taken < length) {
        if (taken >= knownEnd && taken > 0)
            break;
        const ssize_t n = ::pread(fd, buffer + taken, length - taken, off_t(offset + taken));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        taken += std::size_t(n);
    }
    return std::int64_t(taken);
}

bool isRegular(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

// Mixes the fingerprint of one chunk into the running one. Chunks are fixed by offset, not
// by how the reads came back, so equal contents always give equal fingerprints.
std::uint64_t mix(std::uint64_t running, const char* data, std::size_t length) {
    const std::uint64_t chunk = std::hash<std::string_view>{}(std::string_view(data, length));
    return (running ^ chunk) * 0x9e3779b97f4a7c15ULL + length;
}

std::optional<std::uint64_t> wholeFile(int fd, std::uint64_t size) {
    // One byte more than the walk found, so an unchanged file is known whole in one read.
    const std::size_t length = std::size_t(std::min<std::uint64_t>(size + 1, kChunk));
    std::vector<char>& buffer = threadBuffer(length);
    std::uint64_t running = 0;
    std::uint64_t offset = 0;
    bool checked = false;
    for (;;) {
        const std::size_t ask = offset == 0 ? length : kChunk;
        if (buffer.size() < ask)
            buffer.resize(ask);
        const std::int64_t n =
            fill(fd, buffer.data(), ask, offset, offset == 0 ? std::size_t(size) : SIZE_MAX);
        if (n < 0)
            return std::nullopt;
        offset += std::uint64_t(n);
        if (offset > size && !checked) {
            if (!isRegular(fd))
                return std::nullopt;
            checked = true;
        }
        // The chunks depend only on the walked size and the content, which files of one
        // set share whenever they are equal.
        if (n > 0)
            running = mix(running, buffer.data(), std::size_t(n));
        if (std::size_t(n) < ask)
            return running;
    }
}

std::optional<std::uint64_t> pieces(int fd, std::uint64_t size, std::uint64_t blockLength) {
    std::uint64_t endOffset = size - blockLength;
    std::uint64_t middleOffset = (size - blockLength) / 2;
    if (size >= kPageAlignFrom) {
        endOffset -= endOffset % kPageSize;
        middleOffset -= middleOffset % kPageSize;
    }
    std::vector<char>& buffer = threadBuffer(std::size_t(blockLength));
    std::uint64_t running = 0;
    for (const std::uint64_t offset : {std::uint64_t(0), endOffset, middleOffset}) {
        // A piece that reaches the walked size has all the file holds there.
        const std::size_t toEnd = std::size_t(std::min<std::uint64_t>(size - offset, blockLength));
        const std::int64_t n = fill(fd, buffer.data(), std::size_t(blockLength), offset, toEnd);
        if (n < 0)
            return std::nullopt;
        running = mix(running, buffer.data(), std::size_t(n));
    }
    return running;
}

} // namespace

std::optional<std::uint64_t> firstLookOfFile(int folderFd, const char* name, std::uint64_t size,
                                             std::uint64_t blockLength, std::uint64_t threshold) {
    int raw;
    do {
        // O_NONBLOCK: a FIFO put in the file's place must not wait for a writer.
        raw = ::openat(folderFd, name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    } while (raw < 0 && errno == EINTR);
    if (raw < 0)
        return std::nullopt;
    const Descriptor file(raw);
    // The digest's own rule for when pieces are read; a block too long for one buffer is
    // read whole instead, which still tells differing files apart.
    const bool inPieces = blockLength > 0 && size > 0 && size >= threshold &&
                          blockLength <= size / 3 && blockLength <= kChunk * 16;
    if (!inPieces)
        return wholeFile(file.fd(), size);
    // Pieces are placed by the size the walk found; one that cannot be read whole (the file
    // shrank) just ends early, as the digest's pieces do. Three blocks are all that is read,
    // whatever the file has become.
    return pieces(file.fd(), size, blockLength);
}

std::optional<std::uint64_t> firstLookOfFile(const QByteArray& path, std::uint64_t size,
                                             std::uint64_t blockLength, std::uint64_t threshold) {
    const PathAt at(path);
    if (!at.isValid())
        return std::nullopt;
    return firstLookOfFile(at.dirFd(), at.name(), size, blockLength, threshold);
}
