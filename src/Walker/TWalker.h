#pragma once

#include "Platform/CatalogReader.h"
#include "Platform/ConditionLock.h"
#include "Platform/Dispatch.h"
#include "Walker/StackCollection.h"

#include <QByteArray>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class FileSystemItem;
class FolderSystemItem;
class PWalkerDelegate;
class ScanTree;
class TWalker;

// What the four walkers of one walk share: their walkerSlots and condition locks (condition 0 =
// idle, 1 = work handed or stop requested), the pending-work counter, the walk's device, the
// tree, the group spanning the walkers' work and their tree-building-queue blocks, and the
// receiver of the file batches (held weakly).
struct WalkShared {
    static constexpr int kWalkerCount = 4;
    std::array<std::atomic<TWalker*>, kWalkerCount> walkerSlots{};
    std::array<ConditionLock, kWalkerCount> locks;
    // Walkers handed work and not yet done with it.
    std::atomic<int> pendingWork{0};
    // The file system of the top folder; a walk never leaves it.
    std::atomic<std::uint64_t> device{0};
    std::shared_ptr<ScanTree> tree;
    Dispatch::DispatchGroup group;
    std::weak_ptr<PWalkerDelegate> delegate;
    // The owning operation's cancel state.
    std::function<bool()> operationCancelled;
};

// One walker thread of a walk. It waits until it is handed a folder, reads it and every
// folder below it that it keeps on its own stack, and offers sub-folders to idle walkers
// while it has others waiting. New nodes go to its lists on the process-wide tree-building
// queue, which attaches them to their parents and hands the files to the delegate in batches.
class TWalker final {
public:
    static constexpr std::size_t kBulkCount = 110;
    static constexpr std::uint64_t kBatchEntries = 301;
    static constexpr std::int64_t kFlushIntervalMs = 100;
    static constexpr int kIdlePollMs = 20;

    TWalker(int nID, WalkShared& shared);
    // Waits for the thread. The owner first makes it end (finalizeWork or cancelTwalker) and
    // waits for the walk's group, so no tree-building-queue block still refers to it.
    ~TWalker();
    TWalker(const TWalker&) = delete;
    TWalker& operator=(const TWalker&) = delete;

    void start();
    // Hands a folder to an idle walker other than this one. `isTop` marks the top folder (a
    // symbolic link given as top folder is followed; its file system becomes the walk's).
    // `device`/`inode` are the folder's as listed (ignored for the top folder). Answers
    // whether a walker took it. Any thread; never waits for a lock.
    bool tryDispacthWork(const QByteArray& path, bool isTop, std::uint64_t device,
                         std::uint64_t inode, FolderSystemItem* parent);
    // Queues the final flush (in the group) and lets the idle thread end.
    void finalizeWork(bool success);
    // Stops the walker at its next test; wakes it when idle.
    void cancelTwalker();
    bool isMainFinished() const { return m_mbMainFinished.load(); }
    void finalizeCancelWork() { m_stackCollection.clearStack(); }
    void join();

    // The process-wide tree-building queue, "com.quilm.diwalker.io": the only writer of the
    // tree's shape during a walk. Made on first use, kept for the process's life.
    static Dispatch::SerialQueue& treeQueue();

    // The monotonic clock (milliseconds) of the 100 ms flush tick; tests inject their own.
    // Set it only while no walk runs; nullptr restores the steady clock. Either way the tick
    // starts afresh with the next batch post.
    using FlushClock = std::int64_t (*)();
    static void setFlushClock(FlushClock clock);

private:
    struct NewNodes {
        std::vector<FileSystemItem*> files;
        std::vector<FileSystemItem*> folders;
        std::vector<FileSystemItem*> packages;
        bool empty() const { return files.empty() && folders.empty() && packages.empty(); }
    };

    void main();
    bool isCancelled() const;
    void IterateFolderStack();
    std::int64_t ProcesFileSystemElement(const CatalogReader::Entry& entry,
                                         const StackItem_Folder& item, NewNodes& found);
    void queueNewNodes(NewNodes& found);
    // Tree-building queue only:
    void doUpdateProgress();
    void doForceUpdateProgress(bool success);

    const int m_nID;
    WalkShared& m_shared;
    std::thread m_thread;
    std::atomic<bool> m_bWORKing{true};
    std::atomic<bool> m_BCancelled{false};
    std::atomic<bool> m_mbMainFinished{false};

    // Handed work; written by the sender while it holds this walker's lock at condition 0.
    bool m_hasWork = false;
    bool m_handedIsTop = false;
    StackItem_Folder m_handed;

    // Used by the walker's own thread only.
    CatalogReader m_reader;
    std::vector<CatalogReader::Entry> m_entries;
    StackCollection m_stackCollection;

    // Touched only on the tree-building queue.
    std::vector<FileSystemItem*> m_fileArray;
    std::vector<FileSystemItem*> m_folderArray;
    std::vector<FileSystemItem*> m_packageArray;
    std::vector<FolderSystemItem*> m_allPackagesArray;
};
