#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// A regular file opened for reading by its exact path bytes, of any length. The last path component
// is never followed when it is a symbolic link, and opening never blocks on a FIFO or a device:
// anything that is not a regular file is refused (isOpen() is then false). Reads are positional, so
// one object needs no seek state; it is not shared between threads. The descriptor is closed with
// the object.
class ReadOnlyFile final {
public:
    explicit ReadOnlyFile(const QByteArray& path);
    // The file `name` (one component, NUL-terminated) inside the folder open as `folderFd`
    // (which may be an O_PATH descriptor); the same rules apply.
    ReadOnlyFile(int folderFd, const char* name);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    // The size the file had when it was opened.
    std::int64_t size() const { return m_size; }

    // Reads up to `length` bytes at `offset` into `buffer`. Answers the count read, 0 at the
    // end of the file, or -1 on an error (an interrupted read is retried).
    std::int64_t readAt(void* buffer, std::size_t length, std::int64_t offset) const;

    // Read-ahead hints for the kernel; they change no result and their failure is ignored.
    void adviseSequential() const;
    void adviseWillNeed(std::int64_t offset, std::int64_t length) const;
    void adviseRandom() const;

private:
    void openAt(int folderFd, const char* name);

    int m_fd = -1;
    std::int64_t m_size = 0;
};
