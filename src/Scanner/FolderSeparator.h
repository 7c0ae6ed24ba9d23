#pragma once

#include "Scanner/FolderSeparatorDelegate.h"
#include "Walker/FileSeparator.h"

#include <atomic>
#include <map>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class FolderDuplicatesInfo;
namespace Dispatch {
class SerialQueue;
}

// Splits a set of candidate folders (equal logical size, equal number of descendants) into
// sets of identical folders. Folders are compared by their signatures (FolderDuplicatesInfo);
// while all signatures agree, the folders' not yet compared direct children are compared
// size by size (files by content digest, subfolders by a nested separator) and the
// signatures taken again; as soon as they part ways, each sub-group goes on in a
// sub-separator of its own.
//
// Every step, end and delegate call runs on the one process-wide serial queue
// "folderseparator.working". The delegate is held weakly; a separator is kept alive by
// whoever started it, by its parent, or by the digest separation it waits for. It reports
// its end exactly once, also when stopped.
class FolderSeparator final : public FolderSeparatorDelegate,
                              public FileSeparatorListener,
                              public std::enable_shared_from_this<FolderSeparator> {
    struct Token {};

public:
    static std::shared_ptr<FolderSeparator> create();
    explicit FolderSeparator(Token);
    ~FolderSeparator() override;
    FolderSeparator(const FolderSeparator&) = delete;
    FolderSeparator& operator=(const FolderSeparator&) = delete;

    static Dispatch::SerialQueue& workingQueue();

    // Starts separating `folders` on the shared queue. Folders that are one folder on disk
    // (reached twice) are kept once; the others are marked checked and left out.
    void separateItemsWithDelegate(std::vector<FolderSystemItem*> folders,
                                   std::weak_ptr<FolderSeparatorDelegate> delegate);
    // Stops the whole tree of separators: the flag is set at once, the running digest and
    // nested separations are stopped on the shared queue. They still report, and each
    // separator then ends with no result, its folders marked checked.
    void stop();
    bool isCanceled() const { return m_bIsCanceled.load(); }

    // FileSeparatorListener: a digest result, moved onto the shared queue.
    void onFinishSeparateItemsByHash(ItemsByContentHash result) override;

    // FolderSeparatorDelegate, from a nested or a sub-separator.
    void onProcessedItemsCount(uint64_t count) override;
    void processIndermediateItemsWithSameHash(const ItemsWithSameHash& items) override;
    void onFinishSeparateFolderItems(const std::optional<FolderSets>& result,
                                     FolderSeparator* separator) override;

private:
    using InfoMap = std::unordered_map<FolderSystemItem*, std::shared_ptr<FolderDuplicatesInfo>>;

    void separateFoldersInfos(InfoMap infos, std::vector<FolderSystemItem*> folders,
                              std::weak_ptr<FolderSeparatorDelegate> delegate);
    void continueFolderSeparation();
    void prepareToCheckGroupedBySizeFileItems();
    // The first index from 1 whose signature differs from the one before; 0 when none.
    size_t getSeparationBeginIndex() const;
    std::vector<std::vector<FolderSystemItem*>>
    getArrayWithFolderInfosSubGroupsWithFirstGroupLen(size_t firstGroupLength) const;
    void separateGroupedFileItems();
    void separateGroupedFolderItems();
    void onDigestResult(ItemsByContentHash result);
    void processItemsGroupedWithHash(const ItemsWithSameHash& items,
                                     const std::vector<FileSystemItem*>& compared);
    void markFoldersAsCheckedForDuplicates();
    void notifyDelegateAboutProgress();
    void notifyDelegateToProcessIntermediateItemsWithSameHash(const ItemsWithSameHash& items);
    void notifyDelegate(std::optional<FolderSets> result);
    void notifyDelegateThatSeparationDoneBecauseSubGroupsAreSeparated();
    void notifyDelegateThatSeparationDoneBecauseOnlyOneLeft();
    void notifyDelegateThatSeparationDoneBecauseFoldersAreDuplicates();
    void notifyDelegateThatSeparationDoneBecauseStopped();

    std::atomic<bool> m_bIsCanceled{false};
    bool m_bIsFinished = false;
    std::weak_ptr<FolderSeparatorDelegate> m_pDelegate;
    std::vector<FolderSystemItem*> m_arrFoldersItems;
    InfoMap m_arrFoldersInfos;
    bool m_bIsPrepared = false;
    std::map<int64_t, std::vector<FileSystemItem*>> m_arrFileItemsGroupedBySize;
    std::map<int64_t, std::vector<FileSystemItem*>> m_arrFolderItemsGroupedBySize;
    std::shared_ptr<FileSeparator> m_pFileSeparator;
    std::vector<FileSystemItem*> m_arrFilesThatWasSeparated;
    std::shared_ptr<FolderSeparator> m_pFolderSeparator;
    std::vector<FileSystemItem*> m_arrFoldersThatWasSeparated;
    std::unordered_map<FolderSeparator*, std::shared_ptr<FolderSeparator>> m_arrSubSeparators;
    FolderSets m_arrSubSeparatorsResult;
    bool m_bHasSubSeparatorsResult = false;
    uint64_t m_nTotalProcessedItems = 0;
    uint64_t m_nCurrentProcessedItemsInFolders = 0;
};
