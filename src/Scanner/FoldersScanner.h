#pragma once

#include "Results/DuplicatesHeaps.h"
#include "Results/HeapsValidateProgressListener.h"
#include "Scanner/DuplicatesFilterProgressListener.h"
#include "Scanner/DuplicatesFolderFilterListener.h"
#include "Scanner/FileSeparatorForContainer.h"
#include "Scanner/FolderSeparatorForContainer.h"
#include "Walker/CSWalkOperationDelegate.h"
#include "Walker/PWalkerDelegate.h"

#include <QByteArray>
#include <QList>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class DuplicatesContainer;
class DuplicatesFilter;
class DuplicatesFolderFilter;
class FolderSystemItem;
class FoldersScannerListener;
class OperationQueue;
class ScanTree;
namespace Dispatch {
class SerialQueue;
}

enum FoldersScannerState : int32_t {
    FoldersScannerStateCreated = 0,
    FoldersScannerStateWalking = 1,
    FoldersScannerStateFilteringFiles = 2,
    FoldersScannerStateFilteringFolders = 3,
    FoldersScannerStateValidatingHeaps = 4,
    FoldersScannerStateCheckingSmallItems = 5,
    FoldersScannerStateComplete = 6,
    FoldersScannerStateStopped = 7,
};

// Drives one scan from the folders the user chose to one result container: the walk of
// every top folder (one walk at a time), the size filter, identical-folder detection, the
// validation of the heaps of similar folders and a small-items pass repeated with it until
// nothing changes; then the listener receives the container on the main queue.
//
// Made, configured and started on the main thread, and held (strongly) by its creator; the
// scan screen polls the getters on the main thread while the stages write the counters on
// their own queues, so every counter is atomic. The listener is held weakly. While its size
// filter works, the filter holds the scanner; a stop during the walk lets go of that hold,
// so a stopped scan leaves nothing behind once its creator lets go.
class FoldersScanner final : public CSWalkOperationDelegate,
                             public PWalkerDelegate,
                             public DuplicatesFilterProgressListener,
                             public DuplicatesFolderFilterListener,
                             public HeapsValidateProgressListener,
                             public FileSeparatorForContainerListener,
                             public FolderSeparatorForContainerListener,
                             public std::enable_shared_from_this<FoldersScanner> {
    struct Token {};

public:
    static constexpr uint64_t kAutomaticMinimalFileSize = ~uint64_t(0);

    // initWithFolders:withListener:. The folders are path bytes.
    static std::shared_ptr<FoldersScanner> create(const QList<QByteArray>& folders,
                                                  std::weak_ptr<FoldersScannerListener> listener);
    FoldersScanner(Token, const QList<QByteArray>& folders,
                   std::weak_ptr<FoldersScannerListener> listener);
    ~FoldersScanner() override;
    FoldersScanner(const FoldersScanner&) = delete;
    FoldersScanner& operator=(const FoldersScanner&) = delete;

    // The top folders to walk: each resolved to its real path (so one folder chosen under
    // two names is walked once), repeated ones kept at their first place, and those inside
    // another chosen folder dropped; the order is kept.
    static QList<QByteArray> chooseTopFolders(const QList<QByteArray>& folders);

    void enableSearchDuplicatesFoldersAndSimilars(bool enable);
    void includeHiddenFiles(bool include);
    // Whole-file digests for this scan even when the stored preference does not ask for them
    // (an all-out scan). The scan uses them when either asks. Before the start only.
    void forceFullHashCalculation(bool force);
    void startScanAndUseAutoDefineMinimalFileSize();
    // Starts the scan; only in state 0.
    void startScanAndUseMinimalFileSize(uint64_t minimalFileSize);
    // Stops what the current state runs (see the states above); a stop is never undone.
    void stop();
    // Called on the main thread with each state the scan enters from state 2 on (the scan
    // screen may follow the stages without polling).
    void setStateChangeHandler(std::function<void(FoldersScannerState)> handler);

    FoldersScannerState getCurrentState() const {
        return FoldersScannerState(m_eCurrentState.load());
    }
    // Whether stop() ended the scan early. Stays true once the stopped scan has reported its
    // partial result (the state then reads complete). Any thread.
    bool wasStopped() const { return m_bStopped.load(); }
    const QList<QByteArray>& getFolderArray() const { return m_arrFoldersForScan; }
    uint64_t getCountOfScannedFiles() const { return m_nCountOfScannedFiles.load(); }
    uint64_t getCountOfCheckedFolders() const;
    uint64_t getCountOfPossibleDuplicates() const { return m_nCountOfPossibleDuplicates.load(); }
    uint64_t getPossibleDuplicatesSizeOfType(int type) const;
    double getSearchDuplicatesDuration() const;
    bool isFinishSearchDuplicatesOfType(int type) const;
    uint64_t getCountOfActualDuplicates() const;
    uint64_t getActualDuplicatesSizeOfType(int type) const;
    uint64_t getActualHeapsSize() const { return m_nActualHeapsSize.load(); }
    uint64_t getPossibleHeapsSize() const;
    float getDuplicatesFilesFilterProgress() const;
    float getDuplicatesFoldersFilterProgress() const;
    float getHeapsFilterProgress() const { return m_nHeapsFilterProgress.load(); }
    // Wall time of the walk, from its start to the start of the comparison (0 before).
    double getWalkDuration() const;

    void setPossibleDuplicateSizeOfType(uint64_t size, int type);
    void setDuplicateSizeOfType(uint64_t size, int type);
    void addPossibleDuplicatesSizeOfType(uint64_t size, int type);
    void addDuplicateSizeOfType(uint64_t size, int type);

    // CSWalkOperationDelegate (main queue).
    void onOperationStartBuildTree(VolumeSystemItem* root) override;
    void onOperationDoneWithSuccess(bool success) override;
    // PWalkerDelegate (tree-building queue).
    void onFileItemsScanned(const std::vector<FileSystemItem*>& items) override;

    // DuplicatesFilterProgressListener (main queue).
    void onDuplicatesFilesFilterProgressChanged(float progress) override;
    void onChangedSizeOfPossibleHeapsAndSizeOfPossibleDuplicateFolders(
        uint64_t possibleHeapsSize, uint64_t possibleDuplicateFoldersSize) override;
    void onFilteredFilesCountEachHasSizeWithType(int32_t count, uint64_t size, int type) override;
    void onFinishSearchDuplicatesFilesWithType(int type) override;
    void onFinishFilterWithResultContainer(
        const std::shared_ptr<DuplicatesContainer>& container) override;

    // DuplicatesFolderFilterListener.
    void onFoundDuplicatesFoldersWithTotalSize(uint64_t totalSize, float progress,
                                               uint64_t countOfCheckedFolders) override;
    void onUpdateSizesUsingContainer(const std::array<uint64_t, 6>& totalSizes) override;
    void onDuplicatedFolderFilteringCompleteWithContainer(
        const std::shared_ptr<DuplicatesContainer>& container) override;

    // HeapsValidateProgressListener (the validating thread).
    bool isHeapsValidationCanceled() override;
    void onHeapsCheckedFolders(uint64_t count) override;
    void onHeapsSizeChanged(uint64_t size, float progress) override;

    // The small-items pass.
    void onFinishFileSeparator(FileSeparatorForContainer* separator,
                               const ItemsByContentHash& result,
                               const std::shared_ptr<DuplicatesContainer>& container) override;
    void onFinishFolderSeparator(FolderSeparatorForContainer* separator, const FolderSets& result,
                                 const std::shared_ptr<DuplicatesContainer>& container) override;

private:
    void startScan();
    static OperationQueue& getScanOperationQueueForNewSearch(uint64_t& queueID);
    void stopScan();
    void startFilterDuplicatesFiles();
    void stopFilterDuplicatesFiles();
    void finishFilteringDuplicatesFilesWithResultContainer(
        const std::shared_ptr<DuplicatesContainer>& container);
    void
    startFilterDuplicatesFoldersInContainer(const std::shared_ptr<DuplicatesContainer>& container);
    void stopFilterDuplicatesFolders();
    void separateAdditionalSmallFiles(std::optional<DuplicatesHeaps::ItemsByKey> files,
                                      std::optional<DuplicatesHeaps::ItemsByKey> folders,
                                      const std::shared_ptr<DuplicatesContainer>& container);
    void separateNextAdditionalSmallItemsToContainer(
        const std::shared_ptr<DuplicatesContainer>& container);
    static std::optional<QString>
    getNextKeyForGroups(std::optional<DuplicatesHeaps::ItemsByKey>& groups);
    void separateItemsGroupWithKey(const QString& key, DuplicatesHeaps::ItemsByKey& groups,
                                   bool isFolders,
                                   const std::shared_ptr<DuplicatesContainer>& container);
    void addCountOfDuplicatesToSmallDuplicatsInHeaps(uint64_t count);
    void stopHeapsAdditionalSmallFilesSearch();
    void finishFilteringDuplicatesFoldersWithResultContainer(
        const std::shared_ptr<DuplicatesContainer>& container);
    void onFileItemScanned(FileSystemItem* item, std::array<uint64_t, 7>& sizes, uint64_t& count);
    // Sets `state` on the main queue unless the scan was stopped.
    void setStateOnMainQueueUnlessStopped(FoldersScannerState state);
    // Main thread.
    void enterState(FoldersScannerState state);
    static bool isTypeInSlots(int type) { return type >= 0 && type <= 6; }

    std::weak_ptr<FoldersScannerListener> m_pListener;
    QList<QByteArray> m_arrFoldersForScan;
    uint64_t m_nOperationQueueID = 0;
    OperationQueue* m_pScanOperationsQueue = nullptr;
    std::shared_ptr<ScanTree> m_pTree;
    std::vector<FolderSystemItem*> m_arrRoots;
    std::shared_ptr<Dispatch::SerialQueue> m_pDuplicatesFilterWorkingQueue;
    std::shared_ptr<DuplicatesFilter> m_pDuplicatesFilter;
    std::shared_ptr<DuplicatesFolderFilter> m_pDuplicatesFolderFilter;
    std::atomic<int32_t> m_eCurrentState{FoldersScannerStateCreated};
    bool m_bForceFullHashCalculation = false;
    std::atomic<bool> m_bStopped{false};
    int32_t m_nCurrentScanOperationIndex = 0;
    std::atomic<uint64_t> m_nCountOfScannedFiles{0};
    std::atomic<uint64_t> m_nCountOfPossibleDuplicates{0};
    std::array<std::atomic<uint64_t>, 7> m_arrPossibleDuplicatesSizes{};
    std::atomic<uint64_t> m_nCountOfActualDuplicates{0};
    std::atomic<uint64_t> m_nCountOfSmallDuplicatesInHeaps{0};
    std::array<std::atomic<uint64_t>, 7> m_arrActualDuplicatesSizes{};
    std::array<std::atomic<bool>, 7> m_arrSearchDuplicatesStates{};
    std::atomic<uint64_t> m_nActualHeapsSize{0};
    std::atomic<uint64_t> m_nPossibleHeapsSize{0};
    std::atomic<float> m_nDuplicatesFilesFilterProgress{0};
    std::atomic<float> m_nDuplicatesFolderFilterProgress{0};
    std::atomic<uint64_t> m_nCountOfCheckedFolders{0};
    std::atomic<uint64_t> m_nCountOfCheckedFoldersInHeaps{0};
    std::atomic<float> m_nHeapsFilterProgress{0};
    uint64_t m_nDuplicatesMinimalFileSize = 0;
    bool m_bSearchDuplicatesFoldersAndSimilars = true;
    bool m_bIncludeHiddenFiles = false;
    std::chrono::steady_clock::time_point m_pStartScanDate;
    // Steady-clock nanoseconds of the comparison start; 0 while unset.
    std::atomic<int64_t> m_pStartSearchDuplicatesDate{0};
    std::atomic<bool> m_bListenerTold{false};
    std::function<void(FoldersScannerState)> m_stateChangeHandler;

    // The small-items pass of this scan. The stages run it one step at a time, but stop()
    // reads the current separators from the main thread, hence the lock.
    std::mutex m_smallItemsMutex;
    std::optional<DuplicatesHeaps::ItemsByKey> m_smallFiles;
    std::optional<DuplicatesHeaps::ItemsByKey> m_smallFolders;
    std::shared_ptr<FileSeparatorForContainer> m_pCurrentFileSeparator;
    std::shared_ptr<FolderSeparatorForContainer> m_pCurrentFolderSeparator;
};
