#pragma once

#include <array>
#include <cstdint>
#include <memory>

class DuplicatesContainer;

// Told by the identical-folder stage (adopted by the scan controller).
class DuplicatesFolderFilterListener {
public:
    virtual ~DuplicatesFolderFilterListener() = default;
    // Main queue: the folders category's total size, the progress (0 to 1) and the folders
    // checked so far.
    virtual void onFoundDuplicatesFoldersWithTotalSize(uint64_t totalSize, float progress,
                                                       uint64_t countOfCheckedFolders) = 0;
    // Main queue, right after the previous call: the total sizes of the typed file
    // categories 0 to 5, which the folder groups have changed. The totals are taken on the
    // stage's own queue, so the main thread never reads the container while it changes.
    virtual void onUpdateSizesUsingContainer(const std::array<uint64_t, 6>& totalSizes) = 0;
    // A global concurrent queue, once: the stage is over.
    virtual void onDuplicatedFolderFilteringCompleteWithContainer(
        const std::shared_ptr<DuplicatesContainer>& container) = 0;
};
