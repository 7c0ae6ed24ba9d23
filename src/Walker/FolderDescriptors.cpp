#include "FolderDescriptors.h"

#include "FileTree/FolderSystemItem.h"
#include "Platform/PathAt.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

FolderDescriptors::Descriptor::~Descriptor() {
    ::close(m_fd);
}

FolderDescriptors::FolderDescriptors(std::size_t capacity) : m_capacity(capacity) {}

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
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_byFolder.find(folder);
        if (found != m_byFolder.end()) {
            m_entries.splice(m_entries.begin(), m_entries, found->second);
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
    const std::lock_guard lock(m_mutex);
    const auto found = m_byFolder.find(folder);
    if (found != m_byFolder.end())
        return found->second->second;
    if (m_entries.size() >= m_capacity) {
        evicted = std::move(m_entries.back().second);
        m_byFolder.erase(m_entries.back().first);
        m_entries.pop_back();
    }
    m_entries.emplace_front(folder, opened);
    m_byFolder.emplace(folder, m_entries.begin());
    return opened;
}

std::size_t FolderDescriptors::openCount() const {
    const std::lock_guard lock(m_mutex);
    return m_entries.size();
}
