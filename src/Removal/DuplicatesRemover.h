#pragma once

#include "Platform/Dispatch.h"
#include "Platform/FileManager.h"
#include "Removal/DuplicatesRemoverListener.h"
#include "Removal/PrivilegedRemovalProtocol.h"
#include "Removal/ScannedCopy.h"

#include <QByteArray>
#include <QMap>
#include <QSet>
#include <QString>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_set>
#include <vector>

class DuplicateItem;
class DuplicatesContainer;
class DuplicatesRootRemover;

// A copy that a run did not remove, and the error the removal reported (absent when it
// reported none).
struct NotRemovedInfo {
    std::shared_ptr<DuplicateItem> item;
    std::optional<FileError> error;
};

// Volumes met without a Trash: the mount point followed by "/" -> the volume's name
// ("Unknown disk" when it cannot be read).
using RemoteDisksInfo = QMap<QByteArray, QString>;

// Carries out one removal run: moves the selected copies to the Trash or deletes them,
// hands copies the user may not delete to the privileged tool, collects the copies that the
// Trash refused because their volume has none, records every other failure, removes the
// folders the run left empty, and keeps the result container and the listener up to date.
//
// Before a copy is touched it is checked on disk against what was scanned: it must still
// be the same item (device, inode, change time) of the same kind, a file of the same size
// and modification time, a folder with the same entries, reached without a symbolic link on
// the way; and at least one copy of its group that stays (not selected, not inside anything
// this run removes, not the same file as a copy the run removes) must still be there
// unchanged. Otherwise nothing is deleted and the copy is recorded as not removed with one
// of the two errors below. Only a group whose copies the user all chose, with removing all
// copies allowed, needs no copy to stay.
//
// A copy counts as already gone only when its own path answers ENOENT or ENOTDIR; any other
// failure to read it is a failure with its reason (a permission failure of a permanent
// removal goes to the privileged tool). The disk has the last word on every outcome.
//
// Threads: started, read and told its results on the main thread. Its bookkeeping runs on
// the serial queue "com.velquor.remove.duplicates.work", the file work of the one copy in
// hand on "com.velquor.remove.duplicates.remover1". What it does on the main thread (the
// plan, taking removed copies out of the result, the clean-up at the end) goes a few
// milliseconds at a time, so a run of hundreds of thousands of copies never holds the
// interface up. Made with create(); queued work keeps the remover alive until the run has
// ended.
class DuplicatesRemover final : public std::enable_shared_from_this<DuplicatesRemover> {
public:
    using Clock = std::chrono::steady_clock;
    using Items = std::vector<std::shared_ptr<DuplicateItem>>;

    // The copy was not what was scanned any more.
    static constexpr int FileChangedAfterScanError = -ESTALE;
    // No copy of its group that stays was left unchanged on disk.
    static constexpr int NoOtherCopyLeftError = -ENODATA;

    // `fileManager` must outlive the run; `rootRemover` null means the process-wide one.
    static std::shared_ptr<DuplicatesRemover>
    create(FileManager& fileManager = FileManager::defaultManager(),
           DuplicatesRootRemover* rootRemover = nullptr);
    ~DuplicatesRemover();
    DuplicatesRemover(const DuplicatesRemover&) = delete;
    DuplicatesRemover& operator=(const DuplicatesRemover&) = delete;

    // Replaces the clock that paces the progress calls. Before the start only.
    void setClock(std::function<Clock::time_point()> clock);

    // Starts the run, longest paths first. Ignored without a container, or when this
    // remover has been started before. Main thread; the copies are looked at over the next
    // turns of the event loop, and the files are touched once all have been.
    void removeDuplicateItemsFromContainerWithListenerToTrashAndRemoveEmptyFolders(
        const Items& items, std::shared_ptr<DuplicatesContainer> container,
        std::weak_ptr<DuplicatesRemoverListener> listener, bool toTrash, bool removeEmptyFolders);

    // Leaves the items not yet taken alone; the copy in hand is finished, the empty-folder
    // pass and the end still come. Any thread.
    void stop();

    // Main thread.
    void updateCountOfProcessedItemsAndAddRemovedSize(std::uint64_t processed,
                                                      std::uint64_t removedSize);
    std::uint64_t getTotalRemovedSize() const { return m_nTotalRemovedSize; }
    std::uint64_t getCountOfProcessedItems() const { return m_nCountOfProcessedItems; }
    std::uint64_t getCountOfItems() const { return m_nCountOfItems; }
    bool isRemoveFinished() const { return m_bRemoveFinished; }
    // Nothing until the run has finished.
    std::optional<std::vector<NotRemovedInfo>> getNotRemovedInfo() const;
    // Nothing until the run has finished, and nothing after a stopped run.
    std::optional<Items> getItemsThatNeedToRetryRemovePermanently() const;
    // Nothing until the run has finished, after a stopped run, or when every volume had a
    // Trash.
    std::optional<RemoteDisksInfo> getRemoteDisksInfo() const;

private:
    // One copy of the run, with everything the queues need: they never read the model.
    struct Planned {
        std::shared_ptr<DuplicateItem> item;
        QByteArray path;
        QByteArray parentPath;
        std::uint64_t size = 0;
        std::shared_ptr<const ScannedCopy> scanned;
        std::vector<std::shared_ptr<const ScannedCopy>> keepers;
        // The user chose every copy of the group with removing all copies allowed: no copy
        // has to stay.
        bool allCopiesAllowed = false;
    };
    // Unreadable: the copy's status could not be read (errno given); it is not removed
    // unless the privileged tool may take it.
    enum class Check { Vanished, Changed, NoOtherCopy, Unreadable, Ready };
    class Planner;

    DuplicatesRemover(FileManager& fileManager, DuplicatesRootRemover* rootRemover);
    void beginRemoveWithPlan(std::vector<Planned> plan, bool toTrash, bool removeEmptyFolders);

    Dispatch::SerialQueue& getCurrentRemoveQueue();
    void removeNextItem();
    bool isCanPerformRemoveItemToTrash(const Planned& planned, bool toTrash) const;
    void stopMoveDuplicateItemToTrashOnRemoteDisk(std::size_t index);
    Check checkBeforeRemove(const Planned& planned, int* readError) const;
    // What the disk shows of a copy after an attempt to remove it.
    bool isGoneFromDisk(const QByteArray& path, bool* unreadable) const;
    void removeDuplicateItemToTrash(std::size_t index, bool toTrash);
    void failUnreadableItem(std::size_t index, bool toTrash, int readError);
    void recycleDuplicateItem(std::size_t index);
    void deleteDuplicateItem(std::size_t index);
    void onDuplicateItemRemoveSucceed(std::size_t index);
    void onDuplicateItemRemoveFailedWithURLWithError(std::size_t index, const QByteArray& url,
                                                     std::optional<FileError> error);
    void addInfoAboutRetryRemovePermanentlyItemWithURLNeedAddInfoAboutDisk(std::size_t index,
                                                                           const QByteArray& url,
                                                                           bool needDiskInfo);
    bool isNeedUpdateContainer() const;
    void updateContainerForced(bool forced);
    void applyRemovedBatch(Items batch, std::uint64_t processed, std::uint64_t removedSize);
    void onRemoveFinished();
    void beginRemoveEmptyFolders();
    void prepareForRemoveEmptyFolders();
    void finishRemoveEmptyFolders();
    void removeNextEmptyFolderInWorkQueue();
    void removeNextEmptyFolder();
    void addToRemoveListFolderWithPath(const QByteArray& path);
    bool isEmptyFolderCanHaveFiles(const QByteArray& path, QList<QByteArray>* leftovers) const;
    void removeIfEmptyFolderWithPathToTrash(const QByteArray& path, bool toTrash);
    void recycleEmptyFolderWithPath(const QByteArray& path);
    void deleteEmptyFolderWithPath(const QByteArray& path, const QList<QByteArray>& leftovers);
    // `identity`: what the tool must find at the path; without one the tool is not asked.
    bool usingRootRemovePathWithPrevRemoveError(
        const QByteArray& path, const std::optional<FileError>& error,
        const std::optional<PrivilegedRemovalProtocol::ItemIdentity>& identity);
    DuplicatesRootRemover& rootRemover();

    FileManager& m_pFileManager;
    DuplicatesRootRemover* m_pRootRemover;
    std::function<Clock::time_point()> m_clock;

    // Main thread.
    std::weak_ptr<DuplicatesRemoverListener> m_pListener;
    std::shared_ptr<DuplicatesContainer> m_pContainer;
    std::uint64_t m_nTotalRemovedSize = 0;
    std::uint64_t m_nCountOfProcessedItems = 0;
    std::uint64_t m_nCountOfItems = 0;
    bool m_bRemoveFinished = false;
    bool m_bStarted = false;
    // Copies a run that ended wants retried permanently (handed over by the working queue).
    Items m_arrRetryItems;
    Dispatch::SlicedMainWork m_mainWork;
    // Ends the plan early; the working queue's own flag then stops the run.
    std::atomic<bool> m_bStopRequested{false};

    // Working queue (read on the main thread only once the run has finished).
    std::vector<Planned> m_arrItemsForRemove;
    int m_nCurrentRemoveItemIndex = 0;
    bool m_bIsNeedRemoveToTrash = false;
    bool m_bIsNeedRemoveEmptyFolders = false;
    int m_nCurrentRemoveQueue = 0;
    int m_nCountOfRemoveQueues = 1;
    int m_nCountOfRemoveQueuesThatFinishWork = 0;
    std::vector<std::size_t> m_arrRemovedItems;
    std::vector<NotRemovedInfo> m_arrNotRemovedInfo;
    std::optional<RemoteDisksInfo> m_arrRemoteDisksThatDoesntHaveTrash;
    std::vector<std::size_t> m_arrItemsThatNeedToRetryRemovePermanently;
    QSet<QByteArray> m_arrFoldersThatNeedToBeRemoved;
    std::vector<QByteArray> m_arrFoldersPreparedForRemove;
    bool m_bHasPreparedFolders = false;
    std::uint64_t m_nCurrentRemovingFolderIndex = 0;
    bool m_bRemoveCanceled = false;
    Clock::time_point m_pLastContainerUpdateDate;

    // Declared last: destroyed first, so queued blocks never outlive the state above.
    std::unique_ptr<Dispatch::SerialQueue> m_pWorkingQueue;
    std::unique_ptr<Dispatch::SerialQueue> m_pRemoveQueue1;
};
