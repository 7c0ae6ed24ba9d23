#pragma once

#include <cstdint>
#include <memory>

class DuplicatesContainer;

// Told by the size filter (adopted by the scan controller). Every call arrives on the main
// queue.
class DuplicatesFilterProgressListener {
public:
    virtual ~DuplicatesFilterProgressListener() = default;
    // 0 to below 1.
    virtual void onDuplicatesFilesFilterProgressChanged(float progress) = 0;
    virtual void onChangedSizeOfPossibleHeapsAndSizeOfPossibleDuplicateFolders(
        uint64_t possibleHeapsSize, uint64_t possibleDuplicateFoldersSize) = 0;
    // A group of `count` files of `size` bytes each was saved in the category of `type`.
    virtual void onFilteredFilesCountEachHasSizeWithType(int32_t count, uint64_t size,
                                                         int type) = 0;
    // The comparison of `type` is over.
    virtual void onFinishSearchDuplicatesFilesWithType(int type) = 0;
    // Once, at the end, also after a stop.
    virtual void
    onFinishFilterWithResultContainer(const std::shared_ptr<DuplicatesContainer>& container) = 0;
};
