#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

class FolderSystemItem;

// Open descriptors of the folders of a scanned tree, so that the files inside them are opened
// by name alone: opening every file by its full path walks the whole path in the kernel each
// time. Keeps at most `capacity` folders open, letting go of the one used longest ago. A
// large set is split into shards by folder, each with its own lock and its own share of the
// capacity (the one used longest ago within the shard goes), so the digest threads asking
// for a folder per file do not queue on one lock.
// A descriptor taken stays open while its holder keeps it, even after it leaves the set.
// The folders are nodes of trees the caller keeps alive as long as this object. Safe from
// any thread.
class FolderDescriptors final {
public:
    class Descriptor {
    public:
        explicit Descriptor(int fd) : m_fd(fd) {}
        ~Descriptor();
        Descriptor(const Descriptor&) = delete;
        Descriptor& operator=(const Descriptor&) = delete;
        int fd() const { return m_fd; }

    private:
        const int m_fd;
    };

    explicit FolderDescriptors(std::size_t capacity);
    FolderDescriptors(const FolderDescriptors&) = delete;
    FolderDescriptors& operator=(const FolderDescriptors&) = delete;

    // As many folders as the process may keep open without starving the rest of it: a
    // quarter of its descriptor limit, at most 4096.
    static std::size_t defaultCapacity();

    // The folder open for looking up names inside it (its path is followed as any path to
    // one of its files would be); nothing when it cannot be opened.
    std::shared_ptr<const Descriptor> descriptorOf(const FolderSystemItem* folder);

    std::size_t openCount() const;

private:
    using Entry = std::pair<const FolderSystemItem*, std::shared_ptr<const Descriptor>>;
    struct Shard {
        mutable std::mutex mutex;
        std::size_t capacity = 0;
        // Most recently used first.
        std::list<Entry> entries;
        std::unordered_map<const FolderSystemItem*, std::list<Entry>::iterator> byFolder;
    };
    Shard& shardOf(const FolderSystemItem* folder);

    const std::size_t m_capacity;
    std::vector<std::unique_ptr<Shard>> m_shards;
};
