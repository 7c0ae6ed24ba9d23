#pragma once

#include "Scanner/FolderSeparatorForContainer.h"
#include "Scanner/SimpleFolderInfo.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class DuplicatesContainer;
class DuplicatesFolderFilterListener;
class FolderSystemItem;

// The identical-folder stage of a scan: picks candidate folders from the scanned tree,
// groups them by identifier (logical size and descendant count), orders the groups and has
// each split into sets of identical folders, one group at a time. Each set of two or more
// becomes a group of the folders category; at the end, file groups lying wholly inside
// duplicate folders go to the hidden category and the listener is told once.
//
// Starts on the caller's queue (the main queue in a scan); every later step runs on the
// folder separators' queue. Progress goes to the main queue, the end to a global concurrent
// queue. The listener is held weakly; the container until it is handed over.
class DuplicatesFolderFilter final : public FolderSeparatorForContainerListener,
                                     public std::enable_shared_from_this<DuplicatesFolderFilter> {
public:
    // All 64 bits set as the minimal size: automatic mode (a 30-second budget, largest
    // folder families first, minimal size 0).
    DuplicatesFolderFilter(std::shared_ptr<DuplicatesContainer> container,
                           uint64_t minimalFileSize);

    void setListener(std::weak_ptr<DuplicatesFolderFilterListener> listener);
    void findFoldersDuplicatesInRoots(const std::vector<FolderSystemItem*>& roots,
                                      bool includeHidden);
    // Stops the stage; the current separation still reports and the stage then completes
    // with what was found. Any thread.
    void stop();
    // Seconds since the group-by-group separation started; 0 before.
    double getSearchDuplicatesDuration() const;

    std::optional<double> getUpdateTimeInterval() override { return 0.5; }
    void updateCountOfCheckedFolders(uint64_t count) override;
    void onFinishFolderSeparator(FolderSeparatorForContainer* separator, const FolderSets& result,
                                 const std::shared_ptr<DuplicatesContainer>& container) override;

    // The candidates of the level walk (exposed for tests).
    std::vector<FolderSystemItem*>
    setWithFoldersTreeInfoOfFolders(const std::vector<FolderSystemItem*>& roots,
                                    bool includeHidden);

private:
    void processNextSimpleGroup();
    void onCompleteFilteringDuplicatesFolders();
    void updateDuplicatesFoldersCountAndSendContainerForUpdate(bool withContainer);

    bool m_bIsFinished = false;
    std::atomic<bool> m_bIsCanceled{false};
    std::shared_ptr<DuplicatesContainer> m_pContainer;
    std::weak_ptr<DuplicatesFolderFilterListener> m_pListener;
    bool m_bAutoDefineMinimalFileSize;
    uint64_t m_nMinimalFileSize;
    std::shared_ptr<FolderSeparatorForContainer> m_pFolderSeparatorForContainer;
    std::atomic<int64_t> m_pStartDate{0}; // steady-clock nanoseconds; 0 before the start
    uint64_t m_nTotalCheckedFolders = 0;
    uint64_t m_nCurrentCheckedFolders = 0;
    uint64_t m_nNextProcessedSimpleFolderInfoIndex = 0;
    SimpleFolderInfo::Groups m_arrGroupedSimpleFoldersInfo;
};
