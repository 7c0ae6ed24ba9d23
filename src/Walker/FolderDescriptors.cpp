#include "FolderDescriptors.h"

#include "FileTree/FolderSystemItem.h"
#include "Platform/PathAt.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

FolderDescriptors::Descriptor::~Descriptor() {
    ::close(m_fd);
}

namespace {

// Sets this large are split; smaller ones keep one exact order of use.
constexpr std::size_t kShardFrom = 256;
constexpr std::size_t kShards = 16;

} // namespace

FolderDescriptors::FolderDescriptors(std::size_t capacity) : m_capacity(capacity) {
    const std::size_t shards = capacity >= kShardFrom ? kShards : 1;
    for (std::size_t i = 0; i < shards; ++i) {
        auto& shard = m_shards.emplace_back(std::make_unique<Shard>());
        shard->capacity = capacity / shards + (i < capacity % shards ? 1 : 0);
    }
}

FolderDescriptors::Shard& FolderDescriptors::shardOf(const FolderSystemItem* folder) {
    if (m_shards.size() == 1)
        return *m_shards.front();
    // Nodes are arena-allocated a few dozen bytes apart: drop the low bits before mixing.
    const auto key = std::uintptr_t(folder) >> 4;
    return *m_shards[(key * 0x9e3779b97f4a7c15ULL >> 40) % m_shards.size()];
}

std::size_t FolderDescriptors::defaultCapacity() {
    constexpr std::size_t kMost = 4096;
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return kMost;
    return std::min<std::size_t>(kMost, std::size_t(limit.rlim_cur / 4));
}

std::shared_ptr<const FolderDescriptors::Descriptor>
FolderDescriptors::descriptorOf(const FolderSystemItem* folder) {
    if (!folder || m_capacity == 0)
        return {};
    Shard& shard = shardOf(folder);
    {
        const std::lock_guard lock(shard.mutex);
        const auto found = shard.byFolder.find(folder);
        if (found != shard.byFolder.end()) {
            shard.entries.splice(shard.entries.begin(), shard.entries, found->second);
            return found->second->second;
        }
    }
    // Opened outside the lock: the other digest threads go on meanwhile. Two threads may
    // open the same folder at once; the second keeps the first one's.
    const QByteArray path = folder->path();
    const PathAt at(path);
    if (!at.isValid())
        return {};
    int fd;
    do {
        fd = ::openat(at.dirFd(), at.name(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return {};
    auto opened = std::make_shared<const Descriptor>(fd);

    std::shared_ptr<const Descriptor> evicted; // closed after the lock is left
    const std::lock_guard lock(shard.mutex);
    const auto found = shard.byFolder.find(folder);
    if (found != shard.byFolder.end())
        return found->second->second;
    if (shard.capacity == 0)
        return opened;
    if (shard.entries.size() >= shard.capacity) {
        evicted = std::move(shard.entries.back().second);
        shard.byFolder.erase(shard.entries.back().first);
        shard.entries.pop_back();
    }
    shard.entries.emplace_front(folder, opened);
    shard.byFolder.emplace(folder, shard.entries.begin());
    return opened;
}

std::size_t FolderDescriptors::openCount() const {
    std::size_t count = 0;
    for (const auto& shard : m_shards) {
        const std::lock_guard lock(shard->mutex);
        count += shard->entries.size();
    }
    return count;
}
