#pragma once

#include <QByteArrayView>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

class FileSystemItem;
class FolderSystemItem;

// The arena that owns every node of one scan: files, folders and the roots (one root per top
// folder), together with their names. Nodes are never freed one by one; they all go when the
// last std::shared_ptr<ScanTree> goes. Whoever must keep a node alive (the result container, a
// duplicate item, a view remembering a row) keeps the tree alive instead, which makes every
// plain pointer between nodes valid for the tree's life.
//
// Memory comes in aligned chunks. A node lies wholly inside one chunk, and each chunk starts
// with a header naming its tree, so any node finds its tree in O(1) without storing a pointer
// (ScanTree::owning). Each thread carves its nodes out of a chunk of its own, so walker threads
// make nodes in parallel and take the tree's lock only once per chunk, never per node.
class ScanTree final : public std::enable_shared_from_this<ScanTree> {
public:
    static std::shared_ptr<ScanTree> create();
    ~ScanTree();
    ScanTree(const ScanTree&) = delete;
    ScanTree& operator=(const ScanTree&) = delete;

    // The tree that owns `node`. The node must have been made in a tree that is still alive.
    static ScanTree* owning(const FileSystemItem* node);

    // Room for one node: `size` bytes aligned for a pointer, in the calling thread's chunk.
    // Safe from any number of threads at once.
    void* allocateNode(std::size_t size);

    // Makes the tree responsible for deleting `object` with `deleter` when it goes.
    void adopt(void* object, void (*deleter)(void*));
    // The object attached to `node`, or null. The few objects a node owns that are not arena
    // memory (the automatic-selection data of the nodes in groups) live here rather than in a
    // pointer on every node. Safe from any thread.
    void* attachedTo(const void* node) const;
    // Attaches `object` to `node` and adopts it, unless something is attached already: then
    // `object` is deleted at once. Answers what is attached to `node` now. Safe from any
    // thread.
    void* attach(const void* node, void* object, void (*deleter)(void*));

    // Remembers a folder as entered by a walk of this scan. Answers true the first time a
    // (device, inode) pair is given, false when the folder was entered before (a bind mount,
    // or the same folder under two top folders), so each folder is walked once per scan.
    bool markFolderEntered(std::uint64_t device, std::uint64_t inode);
    // Lets go of the folders entered: call it once the scan's walks have all ended (one entry
    // per folder of the scan would otherwise stay for the tree's life).
    void forgetEnteredFolders();

    // Trims every folder's children list to its entries. Call it once a walk has ended and
    // before anything reads the tree from another thread; the lists stay valid, but may move.
    void trimChildrenLists();

    // Bytes of arena memory handed out or used by children lists, for the memory benchmark.
    std::size_t bytesInUse() const;
    // Bytes held by children lists (their capacity), part of bytesInUse().
    std::size_t childrenBytes() const {
        return std::size_t(m_childrenBytes.load(std::memory_order_relaxed));
    }

    static constexpr std::size_t kChunkSize = 256 * 1024;

private:
    ScanTree();
    struct ChunkHeader;
    struct PairHash {
        std::size_t operator()(const std::pair<std::uint64_t, std::uint64_t>& p) const {
            return std::hash<std::uint64_t>()(p.first * 0x9E3779B97F4A7C15ull ^ p.second);
        }
    };
    ChunkHeader* newChunk();
    void* allocate(std::size_t size, std::size_t align);
    // Records a folder so that the tree runs its destructor (it owns a children list).
    void registerFolder(FolderSystemItem* folder);
    void addChildrenBytes(std::ptrdiff_t delta);
    friend class FolderSystemItem;

    const std::uint64_t m_id;
    mutable std::mutex m_mutex;
    std::vector<ChunkHeader*> m_chunks;
    std::vector<std::pair<void*, void (*)(void*)>> m_adopted;
    std::unordered_map<const void*, void*> m_attached;
    std::atomic<std::ptrdiff_t> m_childrenBytes{0};
    std::mutex m_enteredMutex;
    std::unordered_set<std::pair<std::uint64_t, std::uint64_t>, PairHash> m_enteredFolders;
};
