#include "Walker/TWalker.h"

#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "Walker/PWalkerDelegate.h"

#include <chrono>

namespace {

std::int64_t steadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::atomic<TWalker::FlushClock> g_flushClock{nullptr};

// State of the flush tick, touched only on the tree-building queue. The tick starts with the
// first batch post of the process; a post flushes when 100 ms have passed since the tick
// started or since the last flush, so at most one walker flushes per tick.
bool g_tickStarted = false;
std::int64_t g_lastTick = 0;

std::int64_t now() {
    const TWalker::FlushClock clock = g_flushClock.load();
    return clock ? clock() : steadyMilliseconds();
}

bool isSkippedFileName(QByteArrayView name) {
    return name == ".DS_Store" || name == "Thumbs.db" || name == ".localized";
}

QByteArray childPath(const QByteArray& folder, QByteArrayView name) {
    QByteArray path;
    path.reserve(folder.size() + name.size() + 1);
    path.append(folder);
    if (!path.endsWith('/'))
        path.append('/');
    path.append(name);
    return path;
}

} // namespace

TWalker::TWalker(int nID, WalkShared& shared) : m_nID(nID), m_shared(shared) {
    m_entries.reserve(kBulkCount);
    treeQueue();
    m_shared.walkerSlots[nID].store(this);
}

TWalker::~TWalker() {
    join();
    m_shared.walkerSlots[m_nID].store(nullptr);
}

void TWalker::start() {
    m_thread = std::thread([this] { main(); });
}

void TWalker::join() {
    if (m_thread.joinable())
        m_thread.join();
}

Dispatch::SerialQueue& TWalker::treeQueue() {
    // Deliberately never destroyed: blocks may still run while the process exits.
    static auto* queue = new Dispatch::SerialQueue(QStringLiteral("com.quilm.diwalker.io"));
    return *queue;
}

void TWalker::setFlushClock(FlushClock clock) {
    g_flushClock.store(clock);
    // The tick restarts with the new clock: a tick started on another clock would make the
    // first flush of the next walk depend on what ran before.
    treeQueue().sync([] {
        g_tickStarted = false;
        g_lastTick = 0;
    });
}

bool TWalker::isCancelled() const {
    return m_BCancelled.load(std::memory_order_relaxed) ||
           (m_shared.operationCancelled && m_shared.operationCancelled());
}

void TWalker::main() {
    ConditionLock& lock = m_shared.locks[m_nID];
    while (!isCancelled()) {
        // A wake-up can be missed: finalizeWork() or cancelTwalker() may find the lock still
        // held in the moment between the end of a walk and the unlock below. So wait in short
        // steps and look at the flags between them.
        if (!lock.lockWhenCondition(1, kIdlePollMs)) {
            if (!m_bWORKing.load())
                break;
            continue;
        }
        if (m_hasWork) {
            m_shared.group.enter();
            IterateFolderStack();
            m_hasWork = false;
            m_shared.pendingWork.fetch_sub(1);
            m_shared.group.leave();
            if (isCancelled()) {
                lock.unlock();
                break;
            }
        } else if (!m_bWORKing.load() || isCancelled()) {
            lock.unlock();
            break;
        }
        lock.unlockWithCondition(0);
    }
    if (isCancelled())
        finalizeCancelWork();
    m_mbMainFinished.store(true);
}

bool TWalker::tryDispacthWork(const QByteArray& path, bool isTop, std::uint64_t device,
                              std::uint64_t inode, FolderSystemItem* parent) {
    if (m_shared.pendingWork.load() >= WalkShared::kWalkerCount)
        return false;
    for (int i = 0; i < WalkShared::kWalkerCount; ++i) {
        if (i == m_nID)
            continue;
        TWalker* receiver = m_shared.walkerSlots[i].load();
        if (!receiver || !m_shared.locks[i].tryLockWhenCondition(0))
            continue;
        if (!receiver->m_bWORKing.load() || receiver->m_mbMainFinished.load()) {
            m_shared.locks[i].unlockWithCondition(0);
            continue;
        }
        m_shared.pendingWork.fetch_add(1);
        receiver->m_handed = StackItem_Folder{parent, path, device, inode};
        receiver->m_handedIsTop = isTop;
        receiver->m_hasWork = true;
        m_shared.locks[i].unlockWithCondition(1);
        return true;
    }
    return false;
}

void TWalker::IterateFolderStack() {
    const bool top = m_handedIsTop;
    m_stackCollection.clearStack();
    m_stackCollection.pushItem(std::move(m_handed));
    m_handed = {};

    std::uint64_t entriesSincePost = 0;
    std::int64_t bytesFound = 0;
    std::int64_t bytesAtLastPost = 0;
    bool first = true;
    StackItem_Folder item;
    while (!isCancelled() && m_stackCollection.popItem(item)) {
        const bool isTopFolder = first && top;
        first = false;
        if (!m_reader.open(item.path, isTopFolder))
            continue; // a folder that cannot be opened is skipped without a trace
        if (isTopFolder) {
            if (m_reader.isOnPseudoFileSystem()) {
                m_reader.close();
                continue;
            }
            m_shared.device.store(std::uint64_t(m_reader.device()));
        } else if (std::uint64_t(m_reader.device()) != item.device ||
                   std::uint64_t(m_reader.inode()) != item.inode) {
            m_reader.close(); // replaced since it was listed
            continue;
        }
        if (isTopFolder && !m_shared.tree->markFolderEntered(m_reader.device(), m_reader.inode())) {
            m_reader.close(); // already walked in this scan
            continue;
        }

        NewNodes found;
        for (;;) {
            const CatalogReader::Status status = m_reader.readBulk(m_entries, kBulkCount);
            for (const CatalogReader::Entry& entry : m_entries) {
                if (isCancelled())
                    break;
                bytesFound += ProcesFileSystemElement(entry, item, found);
                ++entriesSincePost;
            }
            queueNewNodes(found);
            if (isCancelled())
                break;
            if (entriesSincePost >= kBatchEntries &&
                double(bytesFound) * 1.1 > double(bytesAtLastPost)) {
                m_shared.group.async(treeQueue(), [this] { doUpdateProgress(); });
                entriesSincePost = 0;
                bytesAtLastPost = bytesFound;
            }
            // An error ends the folder; the entries read before it stay in the tree.
            if (status != CatalogReader::Status::More)
                break;
        }
        m_reader.close();
    }
    m_stackCollection.clearStack();
}

std::int64_t TWalker::ProcesFileSystemElement(const CatalogReader::Entry& entry,
                                              const StackItem_Folder& item, NewNodes& found) {
    ScanTree& tree = *m_shared.tree;
    const QByteArrayView name = entry.name;
    const bool hidden =
        name.startsWith('.') || (entry.finderFlags & CatalogReader::kInvisibleFlag) != 0;

    if (entry.isDirectory) {
        const bool package = (entry.finderFlags & (CatalogReader::kHasBundleFlag | 0x0010)) != 0 ||
                             (name.size() >= 5 && name.endsWith(".app"));
        FolderSystemItem* folder = FolderSystemItem::initWithPathSizeNoParent(
            tree, name, item.folderItem, entry.physicalSize, false, 0, hidden, entry.logicalSize);
        if (package) {
            folder->SetitsLeafPackage();
            found.packages.push_back(folder);
        } else {
            found.folders.push_back(folder);
        }
        // Another file system (a mount point) keeps its node but is never entered, and a
        // folder already entered in this scan is not read again.
        if (entry.device != m_shared.device.load() ||
            !tree.markFolderEntered(entry.device, entry.inode))
            return entry.physicalSize;
        QByteArray path = childPath(item.path, name);
        // Keep the first sub-folder met while the own stack is empty; offer the others.
        if (m_stackCollection.nDepth() == 0 ||
            !tryDispacthWork(path, false, entry.device, entry.inode, folder))
            m_stackCollection.pushItem(
                StackItem_Folder{folder, std::move(path), entry.device, entry.inode});
        return entry.physicalSize;
    }
    // Symbolic links (aliases), FIFOs, sockets and devices never become nodes.
    if (entry.kind != CatalogReader::Kind::File ||
        (entry.finderFlags & CatalogReader::kAliasFlag) != 0)
        return entry.physicalSize;
    if (isSkippedFileName(name))
        return entry.physicalSize;
    found.files.push_back(FileSystemItem::initWithPathSizeNoParent(
        tree, name, item.folderItem, entry.physicalSize, 0, hidden, entry.logicalSize));
    return entry.physicalSize;
}

void TWalker::queueNewNodes(NewNodes& found) {
    if (found.empty())
        return;
    // One block per bulk read rather than one per node.
    m_shared.group.async(treeQueue(), [this, nodes = std::move(found)]() mutable {
        m_fileArray.insert(m_fileArray.end(), nodes.files.begin(), nodes.files.end());
        m_folderArray.insert(m_folderArray.end(), nodes.folders.begin(), nodes.folders.end());
        m_packageArray.insert(m_packageArray.end(), nodes.packages.begin(), nodes.packages.end());
    });
    found = NewNodes();
}

void TWalker::doUpdateProgress() {
    const std::int64_t time = now();
    if (!g_tickStarted) {
        g_tickStarted = true;
        g_lastTick = time;
        return;
    }
    if (time - g_lastTick < kFlushIntervalMs)
        return;
    g_lastTick = time;
    doForceUpdateProgress(true);
}

void TWalker::doForceUpdateProgress(bool /*success*/) {
    for (FileSystemItem* file : m_fileArray) {
        if (FolderSystemItem* parent = file->parent())
            parent->addChild(file);
    }
    if (auto delegate = m_shared.delegate.lock())
        delegate->onFileItemsScanned(m_fileArray);
    for (FileSystemItem* folder : m_folderArray) {
        if (FolderSystemItem* parent = folder->parent())
            parent->addChild(folder);
    }
    for (FileSystemItem* package : m_packageArray) {
        m_allPackagesArray.push_back(package->asFolder());
        if (FolderSystemItem* parent = package->parent())
            parent->addChild(package);
    }
    m_folderArray.clear();
    m_packageArray.clear();
    m_fileArray.clear();
    for (FolderSystemItem* package : m_allPackagesArray)
        package->calctotalsize();
}

void TWalker::finalizeWork(bool success) {
    ConditionLock& lock = m_shared.locks[m_nID];
    const bool locked = lock.tryLockWhenCondition(0);
    m_shared.group.async(treeQueue(), [this, success] { doForceUpdateProgress(success); });
    m_bWORKing.store(false);
    if (locked)
        lock.unlockWithCondition(1);
}

void TWalker::cancelTwalker() {
    m_BCancelled.store(true);
    ConditionLock& lock = m_shared.locks[m_nID];
    if (lock.tryLockWhenCondition(0))
        lock.unlockWithCondition(1);
}
