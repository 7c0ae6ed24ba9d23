#pragma once

#include "Scanner/FolderSeparatorDelegate.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

class DuplicatesContainer;
class FolderSeparatorForContainer;

// Told once by a FolderSeparatorForContainer, on the folder separators' queue. Adopted by
// the identical-folder stage and by the scan controller.
class FolderSeparatorForContainerListener {
public:
    virtual ~FolderSeparatorForContainerListener() = default;
    // The sets of identical folders (empty after a stop), already put into `container`.
    virtual void onFinishFolderSeparator(FolderSeparatorForContainer* separator,
                                         const FolderSets& result,
                                         const std::shared_ptr<DuplicatesContainer>& container) = 0;
    // Seconds between reports of the checked-folder count; none: no timed reports.
    virtual std::optional<double> getUpdateTimeInterval() { return std::nullopt; }
    virtual void updateCountOfCheckedFolders(uint64_t /*count*/) {}
};

// Runs one folder separation for one set of candidate folders and writes what it finds into
// the result container: the sets of identical folders become folder groups, the equal items
// met on the way become groups of the small-duplicates category. Holds its listener and the
// container until it has reported once, then lets them go. Its work runs on the folder
// separators' queue.
class FolderSeparatorForContainer final
    : public FolderSeparatorDelegate,
      public std::enable_shared_from_this<FolderSeparatorForContainer> {
public:
    FolderSeparatorForContainer() = default;
    FolderSeparatorForContainer(const FolderSeparatorForContainer&) = delete;
    FolderSeparatorForContainer& operator=(const FolderSeparatorForContainer&) = delete;

    void separateItemsToContainerWithListener(
        std::vector<FolderSystemItem*> folders, std::shared_ptr<DuplicatesContainer> container,
        std::shared_ptr<FolderSeparatorForContainerListener> listener);
    // Stops the running separation, which still reports (with no sets).
    void stop();

    void onProcessedItemsCount(uint64_t count) override;
    void processIndermediateItemsWithSameHash(const ItemsWithSameHash& items) override;
    void onFinishSeparateFolderItems(const std::optional<FolderSets>& result,
                                     FolderSeparator* separator) override;

private:
    void notifyListenerThatChangedCountOfCheckedFoldersForced(bool forced);

    std::shared_ptr<FolderSeparatorForContainerListener> m_pListener;
    std::shared_ptr<DuplicatesContainer> m_pContainer;
    std::shared_ptr<FolderSeparator> m_pSeparator;
    uint64_t m_nCountOfCheckedItems = 0;
    std::optional<std::chrono::steady_clock::time_point> m_pTimeBeforeUpdate;
    double m_pUpdateTimeInterval = 0;
};
