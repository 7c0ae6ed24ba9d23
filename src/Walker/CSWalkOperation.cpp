#include "Walker/CSWalkOperation.h"

#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Platform/Dispatch.h"
#include "Walker/CSWalkOperationDelegate.h"
#include "Walker/PWalkerDelegate.h"
#include "Walker/TWalker.h"

#include <sys/statvfs.h>

#include <thread>

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(5);

} // namespace

CSWalkOperation::CSWalkOperation(std::weak_ptr<CSWalkOperationDelegate> scanDelegate,
                                 std::weak_ptr<PWalkerDelegate> walkerDelegate, QByteArray path,
                                 std::shared_ptr<ScanTree> tree)
    : m_startPath(std::move(path)), m_tree(tree ? std::move(tree) : ScanTree::create()),
      m_pDelegate(std::move(scanDelegate)), m_pWalkerDelegate(std::move(walkerDelegate)) {}

CSWalkOperation::~CSWalkOperation() = default;

bool CSWalkOperation::cancelled() const {
    return m_mbWasCancelled.load() || isCancelled();
}

void CSWalkOperation::main() {
    struct statvfs fs;
    std::int64_t total = 0;
    std::int64_t free = 0;
    if (::statvfs(m_startPath.constData(), &fs) == 0) {
        total = std::int64_t(fs.f_blocks) * std::int64_t(fs.f_frsize);
        free = std::int64_t(fs.f_bavail) * std::int64_t(fs.f_frsize);
    }
    m_rootItem = VolumeSystemItem::initWithPath(*m_tree, m_startPath, total, free);

    // The notices carry the tree so the root stays alive until they are delivered.
    Dispatch::mainQueue().async([delegate = m_pDelegate, root = m_rootItem, tree = m_tree] {
        if (auto d = delegate.lock())
            d->onOperationStartBuildTree(root);
    });

    scanFolders();

    const bool success = !cancelled();
    Dispatch::mainQueue().async([delegate = m_pDelegate, success] {
        if (auto d = delegate.lock())
            d->onOperationDoneWithSuccess(success);
    });
}

void CSWalkOperation::cancelWalking() {
    m_mbWasCancelled.store(true);
    std::lock_guard lock(m_walkersMutex);
    for (auto& walker : m_wlkrs) {
        if (walker)
            walker->cancelTwalker();
    }
}

void CSWalkOperation::scanFolders() {
    {
        std::lock_guard lock(m_walkersMutex);
        m_shared = std::make_unique<WalkShared>();
        m_shared->tree = m_tree;
        m_shared->delegate = m_pWalkerDelegate;
        m_shared->operationCancelled = [this] { return cancelled(); };
        for (int i = 0; i < WalkShared::kWalkerCount; ++i)
            m_wlkrs[std::size_t(i)] = std::make_unique<TWalker>(i, *m_shared);
        for (auto& walker : m_wlkrs)
            walker->start();
    }
    const auto allFinished = [this] {
        for (auto& walker : m_wlkrs) {
            if (!walker->isMainFinished())
                return false;
        }
        return true;
    };

    // Walker 3 is the sender, so one of walkers 0 to 2 (at start: 0) gets the top folder.
    if (!cancelled())
        m_wlkrs[3]->tryDispacthWork(m_startPath, true, 0, 0, m_rootItem);

    // Until no walker is busy and none is about to start, then until every block of the
    // walk has run.
    while (!cancelled() && m_shared->pendingWork.load() != 0)
        std::this_thread::sleep_for(kPollInterval);
    while (!cancelled() && !allFinished() && !m_shared->group.wait(int(kPollInterval.count()))) {
    }
    if (cancelled()) {
        // Stop the walkers and let them leave before the final flushes, so these come after
        // every node the walkers found.
        cancelWalking();
        for (auto& walker : m_wlkrs)
            walker->join();
    }

    const bool success = !cancelled();
    for (auto& walker : m_wlkrs)
        walker->finalizeWork(success);
    for (auto& walker : m_wlkrs)
        walker->join();
    // Every tree-building-queue block of the walk is in the group: once it is empty, every
    // batch has been delivered.
    m_shared->group.wait();

    std::lock_guard lock(m_walkersMutex);
    for (auto& walker : m_wlkrs)
        walker.reset();
    m_shared.reset();
}
