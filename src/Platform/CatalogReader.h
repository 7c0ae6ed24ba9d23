#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <sys/types.h>

#include <cstdint>
#include <vector>

// Reads the entries of one folder in bulk, with what the folder walker needs per entry: the
// directory bit, the Finder-style flags, the name bytes, the logical size and the size on
// disk. Linux stand-in for the catalog calls: getdents64 on the open folder, then one
// fstatat(AT_SYMLINK_NOFOLLOW) per entry relative to the folder's descriptor.
//
// A folder is referred to by its path bytes, so another thread can open it later; no
// descriptor is kept for a folder waiting to be read. A path of any length opens (see PathAt). One
// reader reads one folder at a time and is used by one thread.
class CatalogReader final {
public:
    // Stand-in Finder flags. Invisible and has-bundle are never set on Linux (hidden means a
    // leading "."); alias marks a symbolic link, so links never become nodes.
    static constexpr std::uint16_t kHasBundleFlag = 0x2000;
    static constexpr std::uint16_t kInvisibleFlag = 0x4000;
    static constexpr std::uint16_t kAliasFlag = 0x8000;

    enum class Kind : std::uint8_t { File, Directory, Link, Other };

    struct Entry {
        QByteArrayView name; // valid until the next readBulk() or close()
        Kind kind = Kind::Other;
        bool isDirectory = false;
        std::uint16_t finderFlags = 0;
        std::int64_t logicalSize = 0;  // st_size
        std::int64_t physicalSize = 0; // st_blocks * 512
        dev_t device = 0;
        ino_t inode = 0;
    };

    enum class Status { More, End, Error };

    CatalogReader();
    ~CatalogReader();
    CatalogReader(const CatalogReader&) = delete;
    CatalogReader& operator=(const CatalogReader&) = delete;

    // Opens the folder at `path` for reading. With `followLink` a symbolic link as the last
    // component is followed (a top folder the user chose); otherwise opening a link fails.
    // Answers false (errno kept) when it is no folder or cannot be opened.
    bool open(const QByteArray& path, bool followLink = false);
    // Reads up to `max` entries ("." and ".." left out) into `out` (cleared first). Answers
    // More while entries may follow, End once the folder is exhausted (`out` may still hold
    // the last entries) and Error when reading failed (entries read before stay valid).
    Status readBulk(std::vector<Entry>& out, std::size_t max);
    void close();
    bool isOpen() const { return m_fd >= 0; }

    // Device and inode of the open folder.
    dev_t device() const { return m_device; }
    ino_t inode() const { return m_inode; }
    // True when the open folder lies on a pseudo file system (proc, sysfs, devtmpfs, devpts,
    // cgroup, debugfs, tracefs, securityfs, pstore, bpf, configfs, fusectl, mqueue,
    // hugetlbfs) that a walk must never enter.
    bool isOnPseudoFileSystem() const;

private:
    int m_fd = -1;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    bool m_eof = false;
    std::vector<char> m_buffer;
    std::size_t m_bufferUsed = 0;
    std::size_t m_bufferPos = 0;
};
