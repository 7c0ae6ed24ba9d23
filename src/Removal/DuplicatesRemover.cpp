#include "Removal/DuplicatesRemover.h"

#include "Categories/Settings.h"
#include "FileTree/FileSystemItem.h"
#include "Platform/AuthorizationManager.h"
#include "Platform/PathAtNoFollow.h"
#include "Removal/DuplicatesRootRemover.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Walker/FileManagerUtils.h"

#include <QHash>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

const char* const kFolderLeftovers[] = {".DS_Store", "Thumbs.db", ".localized"};

QByteArray parentOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return {};
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

FileError makeError(int code, const char* text) {
    return FileError{code, QString::fromUtf8(text)};
}

} // namespace

std::shared_ptr<DuplicatesRemover> DuplicatesRemover::create(FileManager& fileManager,
                                                             DuplicatesRootRemover* rootRemover) {
    return std::shared_ptr<DuplicatesRemover>(new DuplicatesRemover(fileManager, rootRemover));
}

DuplicatesRemover::DuplicatesRemover(FileManager& fileManager, DuplicatesRootRemover* rootRemover)
    : m_pFileManager(fileManager), m_pRootRemover(rootRemover), m_clock(&Clock::now),
      m_pWorkingQueue(
          std::make_unique<Dispatch::SerialQueue>("com.velquor.remove.duplicates.work")),
      m_pRemoveQueue1(
          std::make_unique<Dispatch::SerialQueue>("com.velquor.remove.duplicates.remover1")) {}

DuplicatesRemover::~DuplicatesRemover() = default;

void DuplicatesRemover::setClock(std::function<Clock::time_point()> clock) {
    m_clock = std::move(clock);
}

DuplicatesRootRemover& DuplicatesRemover::rootRemover() {
    return m_pRootRemover ? *m_pRootRemover : DuplicatesRootRemover::GetInstance();
}

// ---- Starting ----

namespace {

// Copies looked at in one step of the plan, and removed copies taken out of the result in
// one step: small enough that a step is a fraction of a millisecond.
constexpr std::size_t kPlanStep = 256;
constexpr std::size_t kApplyStep = 256;
// The listener's own work on a batch is mostly one pass over its whole list, so it is told
// of many copies at a time.
constexpr std::size_t kListenerStep = 4096;

} // namespace

// The model may be read on the main thread only, so everything the queues will need is
// taken there first: each copy's path and size, what it looked like when scanned, and the
// copies of its group that stay. First every copy of the run is noted, then each is
// planned; both a step at a time. The model may change between steps: the run's own copies
// are fixed at the start and a copy outside the run is never removed by it, so a plan made
// against a later state only ever has fewer copies to keep, each checked on disk anyway.
class DuplicatesRemover::Planner {
public:
    Planner(const Items& items, bool allowRemovingAllCopies)
        : m_items(items), m_allowRemovingAllCopies(allowRemovingAllCopies) {}

    // False once the plan is complete.
    bool step() {
        const std::size_t end = std::min(m_items.size(), m_next + kPlanStep);
        if (m_next == 0 && !m_noted) {
            // Sized once: growing a table of a hundred thousand entries at once would make
            // one step far longer than the others.
            m_inRun.reserve(qsizetype(m_items.size()));
            m_runPaths.reserve(qsizetype(m_items.size()));
            m_snapshots.reserve(qsizetype(m_items.size()) * 2);
        }
        if (!m_noted) {
            for (; m_next < end; ++m_next)
                note(m_items[m_next]);
            if (m_next == m_items.size()) {
                m_noted = true;
                m_next = 0;
                m_plan.reserve(m_items.size());
            }
            return true;
        }
        for (; m_next < end; ++m_next) {
            // A copy that left the result since the run was asked for (an exclusion between
            // two steps) is no longer the run's to remove, nor to count as removed.
            const auto& item = m_items[m_next];
            if (item && !item->getFileItemPath().isEmpty() && item->getGroup())
                m_plan.push_back(plan(item));
        }
        return m_next < m_items.size();
    }

    std::vector<Planned> takePlan() { return std::move(m_plan); }

private:
    void note(const std::shared_ptr<DuplicateItem>& item) {
        if (!item)
            return;
        m_inRun.insert(item.get());
        const FileSystemItem* node = item->getFileSystemItem();
        if (!item->getFileItemPath().isEmpty()) {
            m_runPaths.insert(item->getFileItemPath());
            // Only a folder of the run can take other copies along with it.
            if (!node || node->isDir())
                m_runFolderPaths.insert(item->getFileItemPath());
        }
    }

    std::shared_ptr<const ScannedCopy> snapshotOf(const DuplicateItem& item) {
        auto found = m_snapshots.constFind(&item);
        if (found != m_snapshots.constEnd())
            return found.value();
        auto copy = ScannedCopy::snapshot(item);
        m_snapshots.insert(&item, copy);
        return copy;
    }

    // The path itself or one of its folders is removed by this run.
    bool isRemovedByRun(QByteArray path) const {
        if (m_runPaths.contains(path))
            return true;
        while (!m_runFolderPaths.isEmpty() && !path.isEmpty()) {
            if (m_runFolderPaths.contains(path))
                return true;
            const qsizetype slash = path.lastIndexOf('/');
            path.truncate(slash > 0 ? slash : 0);
        }
        return false;
    }

    Planned plan(const std::shared_ptr<DuplicateItem>& item) {
        Planned planned;
        planned.item = item;
        planned.path = item->getFileItemPath();
        planned.parentPath = item->getParentFolderItemPath();
        planned.size = item->getFileItemSize();
        planned.scanned = snapshotOf(*item);
        const auto group = item->getGroup();
        if (!group)
            return planned;
        std::vector<std::shared_ptr<const ScannedCopy>> candidates;
        std::vector<std::shared_ptr<const ScannedCopy>> removed;
        bool anyStays = false;
        for (const auto& other : group->getItems()) {
            if (!other || other->getFileItemPath().isEmpty())
                continue;
            const bool goes = m_inRun.contains(other.get()) || other->isSelected() ||
                              isRemovedByRun(other->getFileItemPath());
            anyStays = anyStays || !goes;
            if (auto copy = snapshotOf(*other))
                (goes ? removed : candidates).push_back(std::move(copy));
        }
        // A copy that is the very file of one the run removes (a hard link, the same item
        // under two names) keeps nothing.
        for (auto& candidate : candidates) {
            if (std::none_of(removed.begin(), removed.end(),
                             [&](const auto& gone) { return candidate->isSameItemAs(*gone); }))
                planned.keepers.push_back(std::move(candidate));
        }
        planned.allCopiesAllowed = m_allowRemovingAllCopies && !anyStays;
        return planned;
    }

    Items m_items;
    bool m_allowRemovingAllCopies;
    std::size_t m_next = 0;
    bool m_noted = false;
    QSet<const DuplicateItem*> m_inRun;
    QSet<QByteArray> m_runPaths;
    QSet<QByteArray> m_runFolderPaths;
    QHash<const DuplicateItem*, std::shared_ptr<const ScannedCopy>> m_snapshots;
    std::vector<Planned> m_plan;
};

void DuplicatesRemover::removeDuplicateItemsFromContainerWithListenerToTrashAndRemoveEmptyFolders(
    const Items& items, std::shared_ptr<DuplicatesContainer> container,
    std::weak_ptr<DuplicatesRemoverListener> listener, bool toTrash, bool removeEmptyFolders) {
    if (!container || m_bStarted)
        return;
    m_bStarted = true;
    AuthorizationManager::GetInstance().setIsNeedAskAuthentication(true);
    m_pContainer = std::move(container);
    m_pListener = std::move(listener);
    m_nTotalRemovedSize = 0;
    m_nCountOfProcessedItems = 0;
    m_nCountOfItems = std::uint64_t(std::count_if(
        items.begin(), items.end(), [](const auto& item) { return item != nullptr; }));

    auto self = shared_from_this();
    // The allowance as it is when the user confirmed the run.
    auto planner = std::make_shared<Planner>(items, Settings::allowRemovingAllDuplicateCopies());
    // A stop while planning leaves the rest unplanned: the run then ends without removing.
    m_mainWork.add([self, planner] { return !self->m_bStopRequested && planner->step(); });
    m_mainWork.addOnce([self, planner, toTrash, removeEmptyFolders] {
        self->beginRemoveWithPlan(planner->takePlan(), toTrash, removeEmptyFolders);
    });
}

void DuplicatesRemover::beginRemoveWithPlan(std::vector<Planned> plan, bool toTrash,
                                            bool removeEmptyFolders) {
    m_nCountOfItems = plan.size();
    auto self = shared_from_this();
    m_pWorkingQueue->async([self, plan = std::move(plan), toTrash, removeEmptyFolders]() mutable {
        // A copy inside a folder is handled before anything higher up.
        std::stable_sort(plan.begin(), plan.end(), [](const Planned& a, const Planned& b) {
            return a.path.size() > b.path.size();
        });
        self->m_arrItemsForRemove = std::move(plan);
        self->m_bIsNeedRemoveToTrash = toTrash;
        self->m_bIsNeedRemoveEmptyFolders = removeEmptyFolders;
        self->m_nCurrentRemoveItemIndex = -1;
        self->m_nCountOfRemoveQueuesThatFinishWork = 0;
        self->m_pLastContainerUpdateDate = self->m_clock();
        for (int i = 0; i < self->m_nCountOfRemoveQueues; ++i)
            self->removeNextItem();
    });
}

void DuplicatesRemover::stop() {
    m_bStopRequested = true;
    auto self = shared_from_this();
    m_pWorkingQueue->async([self] { self->m_bRemoveCanceled = true; });
}

// ---- Items, on the working queue ----

Dispatch::SerialQueue& DuplicatesRemover::getCurrentRemoveQueue() {
    // Only the first queue exists; the turn counter keeps its rhythm for that one.
    ++m_nCurrentRemoveQueue;
    if (m_nCurrentRemoveQueue >= m_nCountOfRemoveQueues)
        m_nCurrentRemoveQueue = 0;
    return *m_pRemoveQueue1;
}

void DuplicatesRemover::removeNextItem() {
    ++m_nCurrentRemoveItemIndex;
    const auto count = int(m_arrItemsForRemove.size());
    if (!m_bRemoveCanceled && m_nCurrentRemoveItemIndex < count) {
        const auto index = std::size_t(m_nCurrentRemoveItemIndex);
        if (!isCanPerformRemoveItemToTrash(m_arrItemsForRemove[index], m_bIsNeedRemoveToTrash)) {
            stopMoveDuplicateItemToTrashOnRemoteDisk(index);
            return;
        }
        auto self = shared_from_this();
        const bool toTrash = m_bIsNeedRemoveToTrash;
        getCurrentRemoveQueue().async(
            [self, index, toTrash] { self->removeDuplicateItemToTrash(index, toTrash); });
        return;
    }
    ++m_nCountOfRemoveQueuesThatFinishWork;
    if (m_nCountOfRemoveQueuesThatFinishWork == m_nCountOfRemoveQueues) {
        auto self = shared_from_this();
        m_pWorkingQueue->async([self] { self->beginRemoveEmptyFolders(); });
    }
}

bool DuplicatesRemover::isCanPerformRemoveItemToTrash(const Planned& planned, bool toTrash) const {
    if (!toTrash || !m_arrRemoteDisksThatDoesntHaveTrash || planned.path.isEmpty())
        return true;
    for (auto it = m_arrRemoteDisksThatDoesntHaveTrash->cbegin();
         it != m_arrRemoteDisksThatDoesntHaveTrash->cend(); ++it) {
        if (planned.path.startsWith(it.key()))
            return false;
    }
    return true;
}

void DuplicatesRemover::stopMoveDuplicateItemToTrashOnRemoteDisk(std::size_t index) {
    auto self = shared_from_this();
    m_pWorkingQueue->async([self, index] {
        self->addInfoAboutRetryRemovePermanentlyItemWithURLNeedAddInfoAboutDisk(index, {}, false);
        self->removeNextItem();
    });
}

// ---- One copy, on the file-operation queue ----

DuplicatesRemover::Check DuplicatesRemover::checkBeforeRemove(const Planned& planned,
                                                              int* readError) const {
    if (planned.path.isEmpty() || !planned.scanned)
        return Check::Changed;
    bool unreadable = false;
    switch (planned.scanned->stateOnDisk(m_pFileManager, readError)) {
    case ScannedCopy::DiskState::Gone:
        return Check::Vanished;
    case ScannedCopy::DiskState::Changed:
        return Check::Changed;
    case ScannedCopy::DiskState::Unreadable:
        unreadable = true;
        break;
    case ScannedCopy::DiskState::Unchanged:
        break;
    }
    // Even a copy that cannot be read goes to nobody unless another copy stays.
    if (!planned.allCopiesAllowed &&
        std::none_of(planned.keepers.begin(), planned.keepers.end(),
                     [&](const auto& keeper) { return keeper->isUnchangedOnDisk(m_pFileManager); }))
        return Check::NoOtherCopy;
    return unreadable ? Check::Unreadable : Check::Ready;
}

bool DuplicatesRemover::isGoneFromDisk(const QByteArray& path, bool* unreadable) const {
    const FileAttributes attributes = m_pFileManager.attributesOfItemAtPath(path);
    *unreadable = !attributes.exists() && !attributes.isGone() && !attributes.throughLink;
    return attributes.isGone();
}

void DuplicatesRemover::removeDuplicateItemToTrash(std::size_t index, bool toTrash) {
    const Planned& planned = m_arrItemsForRemove[index];
    int readError = 0;
    switch (checkBeforeRemove(planned, &readError)) {
    case Check::Vanished:
        onDuplicateItemRemoveSucceed(index);
        return;
    case Check::Changed:
        onDuplicateItemRemoveFailedWithURLWithError(
            index, {}, makeError(FileChangedAfterScanError, "The file changed after the scan"));
        return;
    case Check::NoOtherCopy:
        onDuplicateItemRemoveFailedWithURLWithError(
            index, {}, makeError(NoOtherCopyLeftError, "No other copy is left"));
        return;
    case Check::Unreadable:
        failUnreadableItem(index, toTrash, readError);
        return;
    case Check::Ready:
        break;
    }
    if (toTrash)
        recycleDuplicateItem(index);
    else
        deleteDuplicateItem(index);
}

// A copy whose status cannot be read is not known to be gone: it fails with its reason.
// A permission failure of a permanent removal is offered to the privileged tool first,
// which checks the item against the scan itself.
void DuplicatesRemover::failUnreadableItem(std::size_t index, bool toTrash, int readError) {
    const QByteArray& path = m_arrItemsForRemove[index].path;
    const FileError error = FileManager::errorForErrno(readError ? readError : EIO, false, path);
    const auto& scanned = m_arrItemsForRemove[index].scanned;
    const bool toolRemoved =
        !toTrash &&
        usingRootRemovePathWithPrevRemoveError(
            path, error,
            scanned ? DuplicatesRootRemover::identityOfScannedCopy(*scanned) : std::nullopt);
    bool unreadable = false;
    const bool gone = isGoneFromDisk(path, &unreadable);
    if (gone || (toolRemoved && unreadable))
        onDuplicateItemRemoveSucceed(index);
    else
        onDuplicateItemRemoveFailedWithURLWithError(index, {}, error);
}

void DuplicatesRemover::recycleDuplicateItem(std::size_t index) {
    const QByteArray& path = m_arrItemsForRemove[index].path;
    FileError error;
    bool unreadable = false;
    // A failed move counts only when the copy is seen gone: one that cannot be read any
    // more is not known to be anywhere but where it was.
    if (!m_pFileManager.trashItemAtPath(path, &error) && !isGoneFromDisk(path, &unreadable)) {
        onDuplicateItemRemoveFailedWithURLWithError(index, path, error);
        return;
    }
    onDuplicateItemRemoveSucceed(index);
}

void DuplicatesRemover::deleteDuplicateItem(std::size_t index) {
    const QByteArray& path = m_arrItemsForRemove[index].path;
    FileError error;
    if (m_pFileManager.removeItemAtPath(path, &error)) {
        onDuplicateItemRemoveSucceed(index);
        return;
    }
    const std::optional<FileError> reported =
        error.isError() ? std::optional<FileError>(error) : std::nullopt;
    const auto& scanned = m_arrItemsForRemove[index].scanned;
    const bool toolRemoved = usingRootRemovePathWithPrevRemoveError(
        path, reported,
        scanned ? DuplicatesRootRemover::identityOfScannedCopy(*scanned) : std::nullopt);
    // Whatever the tool answered, the disk has the last word: a copy seen gone was
    // removed, one still there was not; one that cannot be seen went only if the tool said
    // so.
    bool unreadable = false;
    if (isGoneFromDisk(path, &unreadable) || (toolRemoved && unreadable))
        onDuplicateItemRemoveSucceed(index);
    else
        onDuplicateItemRemoveFailedWithURLWithError(index, {}, reported);
}

bool DuplicatesRemover::usingRootRemovePathWithPrevRemoveError(
    const QByteArray& path, const std::optional<FileError>& error,
    const std::optional<PrivilegedRemovalProtocol::ItemIdentity>& identity) {
    if (!error || !identity ||
        (error->code != FileManager::NoWritePermissionError &&
         error->code != FileManager::NoReadPermissionError))
        return false;
    if (FileManagerUtils::isFileLocked(parentOf(path)))
        return false;
    return rootRemover().removeFileAtPath(path, *identity);
}

// ---- Outcomes, on the working queue ----

void DuplicatesRemover::onDuplicateItemRemoveSucceed(std::size_t index) {
    auto self = shared_from_this();
    m_pWorkingQueue->async([self, index] {
        const Planned& planned = self->m_arrItemsForRemove[index];
        if (planned.item) {
            if (self->m_bIsNeedRemoveEmptyFolders) {
                const QByteArray folder = planned.parentPath;
                self->m_pWorkingQueue->async(
                    [self, folder] { self->addToRemoveListFolderWithPath(folder); });
            }
            self->m_arrRemovedItems.push_back(index);
            self->updateContainerForced(false);
        }
        self->removeNextItem();
    });
}

void DuplicatesRemover::onDuplicateItemRemoveFailedWithURLWithError(
    std::size_t index, const QByteArray& url, std::optional<FileError> error) {
    auto self = shared_from_this();
    m_pWorkingQueue->async([self, index, url, error] {
        if (self->m_bIsNeedRemoveToTrash && !url.isEmpty() && error &&
            error->code == FileManager::VolumeHasNoTrashError) {
            self->addInfoAboutRetryRemovePermanentlyItemWithURLNeedAddInfoAboutDisk(index, url,
                                                                                    true);
        } else {
            self->m_arrNotRemovedInfo.push_back({self->m_arrItemsForRemove[index].item, error});
        }
        self->removeNextItem();
    });
}

void DuplicatesRemover::addInfoAboutRetryRemovePermanentlyItemWithURLNeedAddInfoAboutDisk(
    std::size_t index, const QByteArray& url, bool needDiskInfo) {
    // Each copy of the run is taken once, so it is recorded at most once.
    m_arrItemsThatNeedToRetryRemovePermanently.push_back(index);
    if (url.isEmpty() || !needDiskInfo)
        return;
    const QString name = m_pFileManager.localizedNameOfVolumeForPath(url);
    const QByteArray prefix =
        m_pFileManager.volumePathPrefixOfPath(m_arrItemsForRemove[index].path);
    if (prefix.isEmpty())
        return;
    if (!m_arrRemoteDisksThatDoesntHaveTrash)
        m_arrRemoteDisksThatDoesntHaveTrash.emplace();
    m_arrRemoteDisksThatDoesntHaveTrash->insert(prefix, name);
}

// ---- Container updates and progress ----

bool DuplicatesRemover::isNeedUpdateContainer() const {
    return m_clock() - m_pLastContainerUpdateDate > std::chrono::seconds(1);
}

void DuplicatesRemover::updateContainerForced(bool forced) {
    if (!forced && !isNeedUpdateContainer())
        return;
    m_pLastContainerUpdateDate = m_clock();
    Items batch;
    std::uint64_t removedSize = 0;
    for (std::size_t index : m_arrRemovedItems) {
        batch.push_back(m_arrItemsForRemove[index].item);
        removedSize += m_arrItemsForRemove[index].size;
    }
    m_arrRemovedItems.clear();
    const std::uint64_t processed =
        m_nCurrentRemoveItemIndex < 0
            ? 0
            : std::min<std::uint64_t>(std::uint64_t(m_nCurrentRemoveItemIndex),
                                      m_arrItemsForRemove.size());
    auto self = shared_from_this();
    Dispatch::mainQueue().async([self, batch = std::move(batch), processed, removedSize]() mutable {
        self->applyRemovedBatch(std::move(batch), processed, removedSize);
    });
}

// Main thread: the progress counts at once, then the listener and after it the result
// learn of the removed copies, a step at a time (an empty batch still tells the listener
// once).
void DuplicatesRemover::applyRemovedBatch(Items batch, std::uint64_t processed,
                                          std::uint64_t removedSize) {
    auto self = shared_from_this();
    auto pending = std::make_shared<Items>(std::move(batch));
    // Each job walks the batch on its own: the next slice of the copies it has not handled.
    auto slicer = [pending](std::size_t& next, std::size_t size) {
        const std::size_t end = std::min(pending->size(), next + size);
        Items slice(pending->begin() + std::ptrdiff_t(next),
                    pending->begin() + std::ptrdiff_t(end));
        next = end;
        return std::pair(std::move(slice), next < pending->size());
    };
    m_mainWork.add([self, slicer, processed, removedSize, next = std::size_t(0)]() mutable {
        if (next == 0)
            self->updateCountOfProcessedItemsAndAddRemovedSize(processed, removedSize);
        auto [slice, more] = slicer(next, kListenerStep);
        if (const auto listener = self->m_pListener.lock())
            listener->onDidRemovedDuplicateItems(slice);
        return more;
    });
    m_mainWork.add([self, slicer, next = std::size_t(0)]() mutable {
        auto [slice, more] = slicer(next, kApplyStep);
        self->m_pContainer->removeDuplicateItemsFromLogicalStructure(slice);
        return more;
    });
}

void DuplicatesRemover::updateCountOfProcessedItemsAndAddRemovedSize(std::uint64_t processed,
                                                                     std::uint64_t removedSize) {
    m_nCountOfProcessedItems = processed;
    m_nTotalRemovedSize += removedSize;
}

// ---- Empty folders, on the working queue ----

void DuplicatesRemover::addToRemoveListFolderWithPath(const QByteArray& path) {
    if (!path.isEmpty())
        m_arrFoldersThatNeedToBeRemoved.insert(path);
}

void DuplicatesRemover::beginRemoveEmptyFolders() {
    m_arrFoldersPreparedForRemove.clear();
    m_bHasPreparedFolders = false;
    m_nCurrentRemovingFolderIndex = 0;
    if (!m_bIsNeedRemoveEmptyFolders || m_arrFoldersThatNeedToBeRemoved.isEmpty()) {
        finishRemoveEmptyFolders();
        return;
    }
    prepareForRemoveEmptyFolders();
    removeNextEmptyFolder();
}

void DuplicatesRemover::prepareForRemoveEmptyFolders() {
    if (m_arrFoldersThatNeedToBeRemoved.isEmpty())
        return;
    m_arrFoldersPreparedForRemove.assign(m_arrFoldersThatNeedToBeRemoved.cbegin(),
                                         m_arrFoldersThatNeedToBeRemoved.cend());
    // A folder is tried before the folders that hold it.
    std::stable_sort(m_arrFoldersPreparedForRemove.begin(), m_arrFoldersPreparedForRemove.end(),
                     [](const QByteArray& a, const QByteArray& b) {
                         return a.size() != b.size() ? a.size() > b.size() : a < b;
                     });
    m_bHasPreparedFolders = true;
    m_nCurrentRemovingFolderIndex = 0;
}

void DuplicatesRemover::removeNextEmptyFolderInWorkQueue() {
    auto self = shared_from_this();
    m_pWorkingQueue->async([self] { self->removeNextEmptyFolder(); });
}

void DuplicatesRemover::removeNextEmptyFolder() {
    if (!m_bHasPreparedFolders ||
        m_nCurrentRemovingFolderIndex >= m_arrFoldersPreparedForRemove.size()) {
        finishRemoveEmptyFolders();
        return;
    }
    const QByteArray path = m_arrFoldersPreparedForRemove[m_nCurrentRemovingFolderIndex++];
    removeIfEmptyFolderWithPathToTrash(path, m_bIsNeedRemoveToTrash);
}

bool DuplicatesRemover::isEmptyFolderCanHaveFiles(const QByteArray& path,
                                                  QList<QByteArray>* leftovers) const {
    QList<QByteArray> names;
    FileError error;
    // Only a real folder, never one reached through a link.
    if (m_pFileManager.attributesOfItemAtPath(path).kind != FileKind::Folder ||
        !m_pFileManager.contentsOfDirectoryAtPath(path, &names, &error))
        return false;
    for (const QByteArray& name : names) {
        if (std::none_of(std::begin(kFolderLeftovers), std::end(kFolderLeftovers),
                         [&](const char* leftover) { return name == leftover; }))
            return false;
    }
    if (leftovers)
        *leftovers = names;
    return true;
}

void DuplicatesRemover::removeIfEmptyFolderWithPathToTrash(const QByteArray& path, bool toTrash) {
    QList<QByteArray> leftovers;
    if (!isEmptyFolderCanHaveFiles(path, &leftovers)) {
        removeNextEmptyFolder();
        return;
    }
    if (toTrash)
        recycleEmptyFolderWithPath(path);
    else
        deleteEmptyFolderWithPath(path, leftovers);
}

void DuplicatesRemover::recycleEmptyFolderWithPath(const QByteArray& path) {
    FileError ignored;
    m_pFileManager.trashItemAtPath(path, &ignored);
    removeNextEmptyFolderInWorkQueue();
}

// The leftovers go one by one and the folder with rmdir, so whatever appeared in the folder
// since it was listed stays, and so does the folder.
void DuplicatesRemover::deleteEmptyFolderWithPath(const QByteArray& path,
                                                  const QList<QByteArray>& leftovers) {
    FileError error;
    bool removed = true;
    const PathAtNoFollow at(path);
    const int dirFd = at.isValid() ? ::openat(at.dirFd(), at.name(),
                                              O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)
                                   : -1;
    if (dirFd < 0) {
        removed = false;
        error = FileManager::errorForErrno(at.isValid()         ? errno
                                           : at.isThroughLink() ? ELOOP
                                                                : at.error(),
                                           false, path);
    } else {
        for (const QByteArray& name : leftovers) {
            if (::unlinkat(dirFd, name.constData(), 0) != 0 && errno != ENOENT) {
                removed = false;
                error = FileManager::errorForErrno(errno, true, path + '/' + name);
                break;
            }
        }
        ::close(dirFd);
        if (removed && ::unlinkat(at.dirFd(), at.name(), AT_REMOVEDIR) != 0) {
            removed = false;
            error = FileManager::errorForErrno(errno, true, path);
        }
    }
    // A folder still holding something else is not handed to the tool either.
    if (!removed && isEmptyFolderCanHaveFiles(path, nullptr))
        usingRootRemovePathWithPrevRemoveError(
            path, error,
            at.isValid() ? DuplicatesRootRemover::identityOfEmptyFolder(at.dirFd(), at.name())
                         : std::nullopt);
    removeNextEmptyFolder();
}

void DuplicatesRemover::finishRemoveEmptyFolders() {
    updateContainerForced(true);
    onRemoveFinished();
}

void DuplicatesRemover::onRemoveFinished() {
    // The plan is let go here, off the main thread, all but its copies: those belong to the
    // model and go back to the main thread to be released there.
    for (std::size_t index : m_arrItemsThatNeedToRetryRemovePermanently)
        m_arrRetryItems.push_back(m_arrItemsForRemove[index].item);
    auto release = std::make_shared<Items>();
    release->reserve(m_arrItemsForRemove.size());
    for (Planned& planned : m_arrItemsForRemove)
        release->push_back(std::move(planned.item));
    std::vector<Planned>().swap(m_arrItemsForRemove);

    auto self = shared_from_this();
    Dispatch::mainQueue().async([self, release] {
        self->m_mainWork.add([release] {
            release->resize(release->size() - std::min(release->size(), kApplyStep));
            return !release->empty();
        });
        self->m_mainWork.add(self->m_pContainer->validateEmptyDataAfterRemoveInSteps(nullptr));
        self->m_mainWork.addOnce([self] {
            self->m_bRemoveFinished = true;
            if (const auto listener = self->m_pListener.lock())
                listener->onRemoveFinished();
        });
    });
}

// ---- Results, on the main thread once finished ----

std::optional<std::vector<NotRemovedInfo>> DuplicatesRemover::getNotRemovedInfo() const {
    if (!m_bRemoveFinished)
        return std::nullopt;
    return m_arrNotRemovedInfo;
}

std::optional<DuplicatesRemover::Items>
DuplicatesRemover::getItemsThatNeedToRetryRemovePermanently() const {
    if (!m_bRemoveFinished || m_bRemoveCanceled)
        return std::nullopt;
    return m_arrRetryItems;
}

std::optional<RemoteDisksInfo> DuplicatesRemover::getRemoteDisksInfo() const {
    if (!m_bRemoveFinished || m_bRemoveCanceled)
        return std::nullopt;
    return m_arrRemoteDisksThatDoesntHaveTrash;
}
