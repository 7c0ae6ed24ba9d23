#pragma once

// The private channel between the application and its privileged removal tool "Tarvique".
// Shared by both sides; plain POSIX so that the tool, which runs as root, needs nothing
// but the C library.
//
// The tool listens on an abstract Unix socket named after the server name it was started
// with ("com.velquor.duplicates.cleaner.<six digits>"). It accepts exactly one client, and
// only when the kernel reports (SO_PEERCRED) that the client is the process that started
// it; every other connection is closed at once. An accepted client first receives the
// greeting below. The application checks the same way that the socket's owner is the
// process it launched, so a squatter on the name cannot answer in the tool's place.
//
// Request:  'R', the path's length as 4 bytes, the identity of the item the caller means
//           (its device and inode as 8 bytes each, its kind as one byte 'F' or 'D', its size
//           as 8 bytes), then the path's bytes. Numbers are big-endian.
// Answer:   'Y' when the path was removed, else 'N'; then the errno value of the refusal or
//           failure (0 with 'Y') as 4 bytes big-endian.
//
// The identity is what the caller saw when it scanned the item. The tool removes the item
// only when what it finds at the path is that very item: same device and inode, same kind,
// and for a file the same size. For a folder the size is the sum of the sizes of the
// regular files in its tree (the names the scan never takes, such as ".DS_Store", aside),
// and the tool refuses a folder holding more: less is what an attempt without rights
// leaves when it removed part of the folder before it was refused.

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace PrivilegedRemovalProtocol {

inline constexpr char kServerNamePrefix[] = "com.velquor.duplicates.cleaner";
inline constexpr char kGreeting[] = "TARVIQUE/2\n";
inline constexpr std::size_t kGreetingLength = sizeof(kGreeting) - 1;
inline constexpr char kRemoveRequest = 'R';
inline constexpr char kAnswerYes = 'Y';
inline constexpr char kAnswerNo = 'N';
inline constexpr std::uint32_t kMaxPathLength = 4096;
// 'R', the path length, device, inode, kind, size.
inline constexpr std::size_t kRequestHeaderLength = 1 + 4 + 8 + 8 + 1 + 8;

// What the item at a path must be for the tool to remove it.
struct ItemIdentity {
    enum Kind : char { File = 'F', Folder = 'D' };

    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    Kind kind = File;
    std::uint64_t size = 0;

    bool operator==(const ItemIdentity&) const = default;
};

// The scan never makes nodes of these names, so they do not count in a folder's size.
inline bool isNeverScannedName(const char* name) {
    return std::strcmp(name, ".DS_Store") == 0 || std::strcmp(name, "Thumbs.db") == 0 ||
           std::strcmp(name, ".localized") == 0;
}

// True for "com.velquor.duplicates.cleaner." followed by exactly six digits.
inline bool isValidServerName(const std::string& name) {
    const std::string prefix = std::string(kServerNamePrefix) + ".";
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return false;
    }
    return true;
}

// The abstract socket address of a server name (a leading NUL byte, then the name).
inline bool makeAddress(const std::string& name, sockaddr_un* address, socklen_t* length) {
    std::memset(address, 0, sizeof(*address));
    address->sun_family = AF_UNIX;
    if (name.empty() || name.size() + 1 > sizeof(address->sun_path))
        return false;
    std::memcpy(address->sun_path + 1, name.data(), name.size());
    *length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return true;
}

// Writes all bytes; never raises SIGPIPE.
inline bool writeFully(int fd, const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::send(fd, bytes, size, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        size -= std::size_t(written);
    }
    return true;
}

// Reads exactly `size` bytes. `timeoutMs` bounds each wait for more bytes (negative: no
// bound). False on end of stream, error or timeout.
inline bool readFully(int fd, void* data, std::size_t size, int timeoutMs) {
    char* bytes = static_cast<char*>(data);
    while (size > 0) {
        pollfd pfd{fd, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, timeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t got = ::recv(fd, bytes, size, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        bytes += got;
        size -= std::size_t(got);
    }
    return true;
}

inline void putUint32(unsigned char* out, std::uint32_t value) {
    out[0] = static_cast<unsigned char>(value >> 24);
    out[1] = static_cast<unsigned char>(value >> 16);
    out[2] = static_cast<unsigned char>(value >> 8);
    out[3] = static_cast<unsigned char>(value);
}

inline std::uint32_t getUint32(const unsigned char* in) {
    return (std::uint32_t(in[0]) << 24) | (std::uint32_t(in[1]) << 16) |
           (std::uint32_t(in[2]) << 8) | std::uint32_t(in[3]);
}

inline void putUint64(unsigned char* out, std::uint64_t value) {
    putUint32(out, std::uint32_t(value >> 32));
    putUint32(out + 4, std::uint32_t(value));
}

inline std::uint64_t getUint64(const unsigned char* in) {
    return (std::uint64_t(getUint32(in)) << 32) | getUint32(in + 4);
}

// The request's header for a path of `pathLength` bytes and its identity.
inline void putRequestHeader(unsigned char* out, std::uint32_t pathLength,
                             const ItemIdentity& identity) {
    out[0] = static_cast<unsigned char>(kRemoveRequest);
    putUint32(out + 1, pathLength);
    putUint64(out + 5, identity.device);
    putUint64(out + 13, identity.inode);
    out[21] = static_cast<unsigned char>(identity.kind);
    putUint64(out + 22, identity.size);
}

// Reads a header written by putRequestHeader. False for another request or an unknown kind.
inline bool getRequestHeader(const unsigned char* in, std::uint32_t* pathLength,
                             ItemIdentity* identity) {
    if (in[0] != static_cast<unsigned char>(kRemoveRequest))
        return false;
    if (in[21] != ItemIdentity::File && in[21] != ItemIdentity::Folder)
        return false;
    *pathLength = getUint32(in + 1);
    identity->device = getUint64(in + 5);
    identity->inode = getUint64(in + 13);
    identity->kind = static_cast<ItemIdentity::Kind>(in[21]);
    identity->size = getUint64(in + 22);
    return true;
}

} // namespace PrivilegedRemovalProtocol
