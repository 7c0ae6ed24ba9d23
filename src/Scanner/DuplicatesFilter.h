#pragma once

#include "Walker/FileSeparator.h"

#include <QString>

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class DuplicatesContainer;
class DuplicatesFilterProgressListener;
class FolderDescriptors;
class FolderSystemItem;
namespace Dispatch {
class SerialQueue;
}

// The duplicate-file stage of a scan. While the walk runs it files every scanned file under
// its type and logical size; afterwards it splits every set of two or more same-type,
// same-size files by content digest, and each set of equal content becomes a group in the
// category of its type of the result container it made. It estimates on the way how many
// bytes duplicate folders may hold, and asks the promotional panel once.
//
// Every filing, ordering, saving and estimate runs on the working queue the scan controller
// supplies (serial); digest results are moved onto it. Every listener call goes to the main
// queue. The listener is held strongly until the result has been reported, then let go.
//
// Several same-size sets are digested at once, and small sets share one digest separation
// (the digests of one set are few and small, so one set at a time would leave the digest
// threads idle between sets), but each result is split back by set and saved strictly in the
// order of the sets, so groups, progress and reports come as if the sets were compared one
// after another, and files of different sizes or types are never grouped together.
class DuplicatesFilter final : public std::enable_shared_from_this<DuplicatesFilter> {
public:
    // All 64 bits set: automatic minimal size (every size, largest sets first).
    DuplicatesFilter(uint64_t minimalFileSize, bool withHeaps);
    ~DuplicatesFilter();
    DuplicatesFilter(const DuplicatesFilter&) = delete;
    DuplicatesFilter& operator=(const DuplicatesFilter&) = delete;

    void setWorkingQueue(std::shared_ptr<Dispatch::SerialQueue> queue) {
        m_pWorkingQueue = std::move(queue);
    }
    // Held strongly until the result has been reported. Working queue (or before any work).
    void setListener(std::shared_ptr<DuplicatesFilterProgressListener> listener);

    const std::shared_ptr<DuplicatesContainer>& getContainer() const {
        return m_pDuplicatesContainer;
    }

    static int generateFileTypeKeyForFileItem(const FileSystemItem* item);
    static uint64_t generateFileSizeKeyForFileItem(const FileSystemItem* item);
    bool isNeedScanFileItem(FileSystemItem* item, bool includeHidden) const;
    // Working queue. Files the item when it passes the test and answers the number of files
    // in its size set afterwards (0 when not filed); `markBeforeFilter` marks it checked
    // either way.
    uint64_t addFileItem(FileSystemItem* item, bool markBeforeFilter, bool includeHidden);
    // Fixed mode: the minimal size. Automatic mode: 0 unless stopped, then the smallest size
    // of any saved group (all bits set when none was saved). Any thread.
    uint64_t getCurrentMinimalFileSize() const;

    // Starts the comparison on the working queue.
    void filterDuplicates();
    // Working queue: stops the comparison; the running digests still report, and once they
    // all have, the filter reports the groups saved before the stop (a prefix of the order
    // of comparison: nothing that came back after it is kept). Nothing once the comparison
    // has finished.
    void stopFilterDuplicates();

    // How many digest separations run at once, and how many files at least one takes
    // (whole sets, in order).
    static constexpr size_t kSeparationsInFlight = 32;
    static constexpr size_t kFilesPerSeparation = 256;

private:
    // The files of one type and logical size.
    struct SizeSet {
        std::vector<FileSystemItem*> items;
    };
    class SeparationListener;

    void initDataForPossibleDuplicates();
    void filterNextPossibleDuplicates();
    // Starts one separation of the sets `indexes`; answers its number (its first set).
    void filterFiles(std::vector<size_t> indexes);
    void onSeparationFinished(size_t batch, ItemsByContentHash result);
    void saveBatch(size_t batch, ItemsByContentHash& result);
    // A separation whose result is not kept: its files count as never compared.
    void discardBatch(size_t batch);
    void saveHashHeaps(ItemsByContentHash& result, size_t index);
    void finishFilterDuplicates();
    void notifyListenerAboutFilteredFilesCount(int32_t count, uint64_t size, int type,
                                               size_t index);
    void notifyListenerAboutResult();
    void updatePossibleDuplicateFolderInformationByFolder(FolderSystemItem* folder);

    std::shared_ptr<Dispatch::SerialQueue> m_pWorkingQueue;
    std::atomic<bool> m_bIsFilterCanceled{false};
    bool m_bIsFinished = false;
    // While filing: type (0 to 7, unknown as 7) -> logical size -> files.
    std::array<std::unordered_map<uint64_t, std::vector<FileSystemItem*>>, 8> m_arrFiling;
    std::vector<SizeSet> m_arrPossibleDuplicates;
    int64_t m_nCurrentFilterIndexInKeys = -1;
    std::shared_ptr<DuplicatesContainer> m_pDuplicatesContainer;
    std::shared_ptr<DuplicatesFilterProgressListener> m_pListener;
    bool m_bAutoDefineMinimalFileSize;
    uint64_t m_nMinimalDuplicatesFileSize;
    std::atomic<uint64_t> m_nCurrentMinimalDuplicatesFileSize;
    // Separations (by their first set) running or reported but not yet saved, in set order.
    std::map<size_t, std::shared_ptr<FileSeparator>> m_arrRunningSeparators;
    // The folders the separations open files through; let go (and so closed, once the last
    // separation ends) when the comparison ends, so no folder stays held open after it.
    std::shared_ptr<FolderDescriptors> m_pFolderDescriptors;
    std::map<size_t, std::vector<size_t>> m_arrBatchIndexes;
    std::deque<size_t> m_arrStartedIndexes;
    std::map<size_t, ItemsByContentHash> m_arrFinishedResults;
    uint64_t m_nPossibleDuplicateFoldersSize = 0;
    std::unordered_map<QString, uint64_t> m_arrPossibleDuplicateFolders;
    std::unordered_set<const FolderSystemItem*> m_arrPossibleDuplicateFoldersContainer;
};
