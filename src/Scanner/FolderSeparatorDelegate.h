#pragma once

#include "Categories/Separator.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class FileSystemItem;
class FolderSeparator;
class FolderSystemItem;

// Sets of identical folders found by one separation, in no fixed order.
using FolderSets = std::vector<std::vector<FolderSystemItem*>>;
// Key -> items found equal on the way (files of equal digest, or identical subfolders).
using ItemsWithSameHash = Separator::Map<QString, FileSystemItem*>;

// Told by a FolderSeparator, always on the folder separators' queue. Adopted by
// FolderSeparator itself (for its nested and sub-separators) and by
// FolderSeparatorForContainer.
class FolderSeparatorDelegate {
public:
    virtual ~FolderSeparatorDelegate() = default;
    // Processed items so far.
    virtual void onProcessedItemsCount(uint64_t count) = 0;
    virtual void processIndermediateItemsWithSameHash(const ItemsWithSameHash& items) = 0;
    // The end of the separation, once: the sets of identical folders, or none.
    virtual void onFinishSeparateFolderItems(const std::optional<FolderSets>& result,
                                             FolderSeparator* separator) = 0;
};
