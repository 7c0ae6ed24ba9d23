#pragma once

#include "FileTree/FolderSystemItem.h"

// The root node of one walk: a folder node named by the whole start path, with no parent and
// never hidden. Its package question stays open, so isPackage() asks the platform's test
// about the start path. A scan may hold several roots in one ScanTree, one per top folder.
class VolumeSystemItem final : public FolderSystemItem {
public:
    // `diskSize` and `freeSize` (the file system's total and free bytes) are not kept.
    static VolumeSystemItem* initWithPath(ScanTree& tree, QByteArrayView path,
                                          std::int64_t diskSize, std::int64_t freeSize);

private:
    using FolderSystemItem::FolderSystemItem;
};
