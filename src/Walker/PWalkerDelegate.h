#pragma once

#include <vector>

class FileSystemItem;

// Receives the new file nodes of a walk in batches (hidden files included). Called on the
// walker's tree-building queue, right after the nodes were attached to their parents; a batch
// may be empty. The receiver must return quickly (count, then re-dispatch to its own queue).
// The nodes stay valid while their tree lives (FileSystemItem::tree()).
class PWalkerDelegate {
public:
    virtual ~PWalkerDelegate() = default;
    virtual void onFileItemsScanned(const std::vector<FileSystemItem*>& items) = 0;
};
