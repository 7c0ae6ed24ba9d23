#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

// What the file separator reads files with: the whole-file and the three-piece digest.
// The standard hasher reads the disk; a test hands the separator its own to count reads.
// Called from several digest threads at once.
class FileSystemItem;

// A file to digest, opened relative to its folder: `name` (NUL-terminated) inside the folder
// open as `folderFd`, so no full path is looked up for it. `item` is its node, for a hasher
// that wants the path.
struct FileInFolder {
    int folderFd = -1;
    const char* name = nullptr;
    const FileSystemItem* item = nullptr;
};

class ContentHasher {
public:
    virtual ~ContentHasher() = default;

    // The digest of every byte of the file at `path`; nothing when it cannot be read.
    virtual std::optional<QString> hashforFile(const QByteArray& path) = 0;
    // The digest of three pieces of `blockLength` bytes of a file of `size` bytes; files
    // below `threshold` bytes are hashed whole. Nothing when the file cannot be read.
    virtual std::optional<QString> hashforFilePartly(const QByteArray& path, std::uint64_t size,
                                                     std::uint64_t blockLength,
                                                     std::uint64_t threshold) = 0;
    // The same two digests of a file found through its folder. Unless a hasher knows
    // better, they ask the ones above with the file's path.
    virtual std::optional<QString> hashforFileIn(const FileInFolder& file);
    virtual std::optional<QString> hashforFilePartlyIn(const FileInFolder& file, std::uint64_t size,
                                                       std::uint64_t blockLength,
                                                       std::uint64_t threshold);

    // A quick fingerprint of the bytes the three-piece digest reads (see FirstLook.h), for a
    // first look that leaves out every file alone under its fingerprint before any digest.
    // Only asked when hasFirstLook() answers true; the others answer nothing.
    virtual bool hasFirstLook() const { return false; }
    virtual std::optional<std::uint64_t> firstLookIn(const FileInFolder& file, std::uint64_t size,
                                                     std::uint64_t blockLength,
                                                     std::uint64_t threshold);
    virtual std::optional<std::uint64_t> firstLook(const QByteArray& path, std::uint64_t size,
                                                   std::uint64_t blockLength,
                                                   std::uint64_t threshold);

    // The hasher every separation made without one of its own uses: the one over the file
    // system's own reads (FileManagerUtils), unless a test has put another in its place.
    static std::shared_ptr<ContentHasher> standard();
    // Puts `hasher` in place of the standard one for every separation made from now on, in
    // the whole process (digests inside the folder stage included); nullptr restores the
    // file system's own. Change it only while no scan runs.
    static void setStandard(std::shared_ptr<ContentHasher> hasher);
};
