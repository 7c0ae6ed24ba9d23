#include "FileTree/ScanTree.h"

#include "FileTree/FolderSystemItem.h"

#include <sys/mman.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <cassert>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

std::atomic<std::uint64_t> g_nextTreeId{1};

// Chunks are mapped, not allocated, so the leak checker does not look inside them for
// pointers: the folders' children blocks would count as lost while their tree lives.
void watchForLeakCheck([[maybe_unused]] const void* chunk, [[maybe_unused]] std::size_t size) {
#if defined(__SANITIZE_ADDRESS__)
    __lsan_register_root_region(chunk, size);
#endif
}

void unwatchForLeakCheck([[maybe_unused]] const void* chunk, [[maybe_unused]] std::size_t size) {
#if defined(__SANITIZE_ADDRESS__)
    __lsan_unregister_root_region(chunk, size);
#endif
}

// The chunk a thread is carving nodes out of. Trees are told apart by a number that is never
// reused, so a chunk of a tree that has gone is never touched again.
struct LocalChunk {
    std::uint64_t treeId = 0;
    char* cur = nullptr;
    char* end = nullptr;
};
thread_local LocalChunk t_local;

} // namespace

struct ScanTree::ChunkHeader {
    ScanTree* tree;
    // Folders made in this chunk, linked through FolderSystemItem::m_nextInChunk. Written only
    // by the thread that owns the chunk; read when the tree goes.
    FolderSystemItem* folders;
    std::atomic<std::size_t> used;
};

std::shared_ptr<ScanTree> ScanTree::create() {
    return std::shared_ptr<ScanTree>(new ScanTree());
}

ScanTree::ScanTree() : m_id(g_nextTreeId.fetch_add(1)) {}

ScanTree::~ScanTree() {
    for (auto& [object, deleter] : m_adopted)
        deleter(object);
    for (ChunkHeader* chunk : m_chunks) {
        for (FolderSystemItem* folder = chunk->folders; folder;) {
            FolderSystemItem* next = folder->m_nextInChunk;
            folder->~FolderSystemItem();
            folder = next;
        }
        chunk->~ChunkHeader();
        unwatchForLeakCheck(chunk, kChunkSize);
        munmap(chunk, kChunkSize);
    }
}

ScanTree* ScanTree::owning(const FileSystemItem* node) {
    const auto address = reinterpret_cast<std::uintptr_t>(node);
    return reinterpret_cast<ChunkHeader*>(address & ~(std::uintptr_t(kChunkSize) - 1))->tree;
}

ScanTree::ChunkHeader* ScanTree::newChunk() {
    // Map twice the size and cut it down to one aligned chunk. Pages never touched cost no
    // memory, so a thread's half-used chunk at the end of a walk is cheap.
    const std::size_t span = 2 * kChunkSize;
    void* mapped = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kChunkSize - 1) & ~(std::uintptr_t(kChunkSize) - 1);
    if (aligned > start)
        munmap(mapped, aligned - start);
    const std::uintptr_t tail = start + span - (aligned + kChunkSize);
    if (tail > 0)
        munmap(reinterpret_cast<void*>(aligned + kChunkSize), tail);
    auto* chunk = new (reinterpret_cast<void*>(aligned)) ChunkHeader{this, nullptr, {0}};
    watchForLeakCheck(chunk, kChunkSize);
    std::lock_guard lock(m_mutex);
    m_chunks.push_back(chunk);
    return chunk;
}

void* ScanTree::allocate(std::size_t size, std::size_t align) {
    assert(size + sizeof(ChunkHeader) + align <= kChunkSize);
    LocalChunk& local = t_local;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (local.treeId == m_id) {
            const auto cur = reinterpret_cast<std::uintptr_t>(local.cur);
            const std::uintptr_t at = (cur + align - 1) & ~(std::uintptr_t(align) - 1);
            if (at + size <= reinterpret_cast<std::uintptr_t>(local.end)) {
                local.cur = reinterpret_cast<char*>(at + size);
                auto* chunk =
                    reinterpret_cast<ChunkHeader*>(at & ~(std::uintptr_t(kChunkSize) - 1));
                chunk->used.store(at + size - reinterpret_cast<std::uintptr_t>(chunk),
                                  std::memory_order_relaxed);
                return reinterpret_cast<void*>(at);
            }
        }
        ChunkHeader* chunk = newChunk();
        local.treeId = m_id;
        local.cur = reinterpret_cast<char*>(chunk) + sizeof(ChunkHeader);
        local.end = reinterpret_cast<char*>(chunk) + kChunkSize;
    }
    throw std::bad_alloc();
}

void* ScanTree::allocateNode(std::size_t size) {
    return allocate(size, alignof(std::max_align_t) < 8 ? alignof(std::max_align_t) : 8);
}

void ScanTree::registerFolder(FolderSystemItem* folder) {
    auto* chunk = reinterpret_cast<ChunkHeader*>(reinterpret_cast<std::uintptr_t>(folder) &
                                                 ~(std::uintptr_t(kChunkSize) - 1));
    folder->m_nextInChunk = chunk->folders;
    chunk->folders = folder;
}

void ScanTree::adopt(void* object, void (*deleter)(void*)) {
    if (!object)
        return;
    std::lock_guard lock(m_mutex);
    m_adopted.emplace_back(object, deleter);
}

void* ScanTree::attachedTo(const void* node) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_attached.find(node);
    return found == m_attached.end() ? nullptr : found->second;
}

void* ScanTree::attach(const void* node, void* object, void (*deleter)(void*)) {
    if (!object)
        return attachedTo(node);
    void* existing = nullptr;
    {
        std::lock_guard lock(m_mutex);
        const auto [at, added] = m_attached.emplace(node, object);
        if (added) {
            m_adopted.emplace_back(object, deleter);
            return object;
        }
        existing = at->second;
    }
    // Another thread attached first: this one is not needed.
    if (existing != object)
        deleter(object);
    return existing;
}

void ScanTree::trimChildrenLists() {
    const std::lock_guard lock(m_mutex);
    for (ChunkHeader* chunk : m_chunks) {
        for (FolderSystemItem* folder = chunk->folders; folder; folder = folder->m_nextInChunk)
            folder->trimChildren();
    }
}

bool ScanTree::markFolderEntered(std::uint64_t device, std::uint64_t inode) {
    std::lock_guard lock(m_enteredMutex);
    return m_enteredFolders.emplace(device, inode).second;
}

void ScanTree::forgetEnteredFolders() {
    std::lock_guard lock(m_enteredMutex);
    decltype(m_enteredFolders)().swap(m_enteredFolders);
}

void ScanTree::addChildrenBytes(std::ptrdiff_t delta) {
    m_childrenBytes.fetch_add(delta, std::memory_order_relaxed);
}

std::size_t ScanTree::bytesInUse() const {
    std::size_t total = std::size_t(m_childrenBytes.load(std::memory_order_relaxed));
    std::lock_guard lock(m_mutex);
    for (const ChunkHeader* chunk : m_chunks)
        total += chunk->used.load(std::memory_order_relaxed);
    return total;
}
