#pragma once

#include "Platform/OperationQueue.h"

#include <QByteArray>

#include <array>
#include <memory>
#include <mutex>

class CSWalkOperationDelegate;
class PWalkerDelegate;
class ScanTree;
class TWalker;
class VolumeSystemItem;
struct WalkShared;

// Walks one top folder into a tree of file and folder nodes with four walker threads. Run by
// the scan controller's operation queue (main()), one walk at a time. The root is made in the
// scan's tree (several top folders of one scan share one tree, and a folder reached under two
// of them is walked once); the delegate is told the root on the main queue, the walker
// delegate receives the new files in batches on the tree-building queue, and the delegate is
// told the end on the main queue after every batch was delivered.
//
// Symbolic links, FIFOs, sockets and devices get no node; the walk never leaves the file
// system of the top folder and never enters a pseudo file system. Cancelling (cancel() or
// cancelWalking()) stops the walkers within one entry; what was found is still attached and
// delivered, and the end is reported with false.
class CSWalkOperation final : public Operation {
public:
    // Both delegates are held weakly. `path` is the top folder's path bytes (no trailing
    // "/" needed). Without a tree the operation makes one of its own.
    CSWalkOperation(std::weak_ptr<CSWalkOperationDelegate> scanDelegate,
                    std::weak_ptr<PWalkerDelegate> walkerDelegate, QByteArray path,
                    std::shared_ptr<ScanTree> tree = {});
    ~CSWalkOperation() override;

    void main() override;
    // Stops the walk; the operation still finalises and reports false.
    void cancelWalking();

    QByteArray startPath() const { return m_startPath; }
    std::shared_ptr<ScanTree> tree() const { return m_tree; }
    // The root once main() has made it; nullptr before.
    VolumeSystemItem* rootItem() const { return m_rootItem; }

private:
    void scanFolders();
    bool cancelled() const;

    const QByteArray m_startPath;
    const std::shared_ptr<ScanTree> m_tree;
    std::weak_ptr<CSWalkOperationDelegate> m_pDelegate;
    std::weak_ptr<PWalkerDelegate> m_pWalkerDelegate;
    VolumeSystemItem* m_rootItem = nullptr;
    std::atomic<bool> m_mbWasCancelled{false};
    std::mutex m_walkersMutex;
    std::unique_ptr<WalkShared> m_shared;
    std::array<std::unique_ptr<TWalker>, 4> m_wlkrs;
};
