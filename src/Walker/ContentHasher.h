#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

// What the file separator reads files with: the whole-file and the three-piece digest.
// The standard hasher reads the disk; a test hands the separator its own to count reads.
// Called from several digest threads at once.
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

    // The hasher every separation made without one of its own uses: the one over the file
    // system's own reads (FileManagerUtils), unless a test has put another in its place.
    static std::shared_ptr<ContentHasher> standard();
    // Puts `hasher` in place of the standard one for every separation made from now on, in
    // the whole process (digests inside the folder stage included); nullptr restores the
    // file system's own. Change it only while no scan runs.
    static void setStandard(std::shared_ptr<ContentHasher> hasher);
};
