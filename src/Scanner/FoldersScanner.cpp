#include "Scanner/FoldersScanner.h"

#include "Categories/Settings.h"
#include "FileTree/FileType.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Platform/Dispatch.h"
#include "Platform/FreeMemory.h"
#include "Platform/OperationQueue.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Scanner/DuplicatesFilter.h"
#include "Scanner/DuplicatesFolderFilter.h"
#include "Scanner/FoldersScannerListener.h"
#include "Scanner/ScanClock.h"
#include "Walker/CSWalkOperation.h"
#include "Walker/FileSeparator.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

constexpr double kAutomaticBudgetSeconds = 30.0;

int64_t nowNanoseconds() {
    return ScanClock::nowNanoseconds();
}

QByteArray resolvedPath(const QByteArray& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.constData(), resolved))
        return QByteArray(resolved);
    // A folder that cannot be resolved (gone, unreadable) keeps its name; its walk finds
    // nothing or what there is.
    return path;
}

void addTo(std::atomic<uint64_t>& counter, uint64_t amount) {
    counter.fetch_add(amount);
}

} // namespace

std::shared_ptr<FoldersScanner>
FoldersScanner::create(const QList<QByteArray>& folders,
                       std::weak_ptr<FoldersScannerListener> listener) {
    return std::make_shared<FoldersScanner>(Token{}, folders, std::move(listener));
}

FoldersScanner::FoldersScanner(Token, const QList<QByteArray>& folders,
                               std::weak_ptr<FoldersScannerListener> listener)
    : m_pListener(std::move(listener)), m_arrFoldersForScan(chooseTopFolders(folders)) {}

FoldersScanner::~FoldersScanner() = default;

QList<QByteArray> FoldersScanner::chooseTopFolders(const QList<QByteArray>& folders) {
    QList<QByteArray> slashed;
    for (const QByteArray& folder : folders) {
        QByteArray path = resolvedPath(folder);
        if (!path.endsWith('/'))
            path.append('/');
        slashed.append(path);
    }
    QList<QByteArray> kept;
    for (qsizetype i = 0; i < slashed.size(); ++i) {
        const QByteArray& path = slashed[i];
        bool keep = true;
        for (qsizetype j = 0; j < slashed.size() && keep; ++j) {
            if (j == i)
                continue;
            const QByteArray& other = slashed[j];
            if (other == path)
                keep = j > i;
            else if (path.startsWith(other))
                keep = false;
        }
        if (!keep)
            continue;
        QByteArray trimmed = path;
        while (trimmed.size() > 1 && trimmed.endsWith('/'))
            trimmed.chop(1);
        kept.append(trimmed);
    }
    return kept;
}

void FoldersScanner::enableSearchDuplicatesFoldersAndSimilars(bool enable) {
    m_bSearchDuplicatesFoldersAndSimilars = enable;
}

void FoldersScanner::includeHiddenFiles(bool include) {
    m_bIncludeHiddenFiles = include;
}

void FoldersScanner::forceFullHashCalculation(bool force) {
    m_bForceFullHashCalculation = force;
}

void FoldersScanner::startScanAndUseAutoDefineMinimalFileSize() {
    startScanAndUseMinimalFileSize(kAutomaticMinimalFileSize);
}

void FoldersScanner::startScanAndUseMinimalFileSize(uint64_t minimalFileSize) {
    if (m_eCurrentState.load() != FoldersScannerStateCreated)
        return;
    FileSeparator::setUseForcedFullHashCalculation(Settings::forceFullHashCalculation() ||
                                                   m_bForceFullHashCalculation);
    m_nDuplicatesMinimalFileSize = minimalFileSize;
    m_pDuplicatesFilterWorkingQueue =
        std::make_shared<Dispatch::SerialQueue>(QStringLiteral("com.velquor.search.duplicates"));
    m_pDuplicatesFilter =
        std::make_shared<DuplicatesFilter>(minimalFileSize, m_bSearchDuplicatesFoldersAndSimilars);
    m_pDuplicatesFilter->setWorkingQueue(m_pDuplicatesFilterWorkingQueue);
    m_pDuplicatesFilter->setListener(shared_from_this());
    startScan();
}

OperationQueue& FoldersScanner::getScanOperationQueueForNewSearch(uint64_t& queueID) {
    static OperationQueue* queue = nullptr;
    if (!queue) {
        ++queueID;
        queue = new OperationQueue(QStringLiteral("com.velquor.dubs.scanQueue_%1").arg(queueID));
        queue->setMaxConcurrentOperationCount(1);
    }
    queue->cancelAllOperations();
    return *queue;
}

void FoldersScanner::startScan() {
    // On the scan's clock, like the comparison's start it is measured against.
    m_pStartScanDate = std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::nanoseconds(nowNanoseconds())));
    m_eCurrentState.store(FoldersScannerStateWalking);
    m_pScanOperationsQueue = &getScanOperationQueueForNewSearch(m_nOperationQueueID);
    m_pTree = ScanTree::create();
    const std::weak_ptr<FoldersScanner> self = weak_from_this();
    for (const QByteArray& folder : m_arrFoldersForScan) {
        m_pScanOperationsQueue->addOperation(
            std::make_shared<CSWalkOperation>(self, self, folder, m_pTree));
    }
}

void FoldersScanner::setStateChangeHandler(std::function<void(FoldersScannerState)> handler) {
    m_stateChangeHandler = std::move(handler);
}

void FoldersScanner::enterState(FoldersScannerState state) {
    m_eCurrentState.store(state);
    if (m_stateChangeHandler)
        m_stateChangeHandler(state);
}

void FoldersScanner::stopScan() {
    if (m_pScanOperationsQueue)
        m_pScanOperationsQueue->cancelAllOperations();
}

void FoldersScanner::stop() {
    const int32_t state = m_eCurrentState.load();
    switch (state) {
    case FoldersScannerStateCreated:
        break;
    case FoldersScannerStateWalking: {
        stopScan();
        // The filter holds the scanner until it reports, and it never reports for a scan
        // stopped during the walk: let go of it, or the scanner, the filter, the container
        // and the tree would keep each other alive for ever.
        // The filter is used on its working queue while files are filed; drop it there.
        // Batches of files already queued there still read their nodes, so the tree goes
        // there too, after them; batches queued later find no filter and touch nothing.
        m_arrRoots.clear();
        if (m_pDuplicatesFilterWorkingQueue) {
            m_pDuplicatesFilterWorkingQueue->async(
                [self = shared_from_this(), tree = std::move(m_pTree)]() mutable {
                    if (self->m_pDuplicatesFilter)
                        self->m_pDuplicatesFilter->setListener(nullptr);
                    self->m_pDuplicatesFilter.reset();
                    tree.reset();
                });
        }
        m_pTree.reset();
        break;
    }
    case FoldersScannerStateFilteringFiles:
        stopFilterDuplicatesFiles();
        break;
    case FoldersScannerStateFilteringFolders:
        stopFilterDuplicatesFolders();
        break;
    case FoldersScannerStateValidatingHeaps:
    case FoldersScannerStateCheckingSmallItems:
        stopHeapsAdditionalSmallFilesSearch();
        break;
    default:
        return;
    }
    m_bStopped.store(true);
    m_eCurrentState.store(FoldersScannerStateStopped);
}

uint64_t FoldersScanner::getCountOfCheckedFolders() const {
    return m_nCountOfCheckedFolders.load() + m_nCountOfCheckedFoldersInHeaps.load();
}

uint64_t FoldersScanner::getPossibleDuplicatesSizeOfType(int type) const {
    if (!isTypeInSlots(type))
        return 0;
    return std::max(m_arrPossibleDuplicatesSizes[size_t(type)].load(),
                    m_arrActualDuplicatesSizes[size_t(type)].load());
}

double FoldersScanner::getSearchDuplicatesDuration() const {
    const int64_t start = m_pStartSearchDuplicatesDate.load();
    if (start == 0)
        return 0;
    return double(nowNanoseconds() - start) / 1e9;
}

double FoldersScanner::getWalkDuration() const {
    const int64_t start = m_pStartSearchDuplicatesDate.load();
    if (start == 0)
        return 0;
    const int64_t walkStart =
        std::chrono::duration_cast<std::chrono::nanoseconds>(m_pStartScanDate.time_since_epoch())
            .count();
    return double(start - walkStart) / 1e9;
}

bool FoldersScanner::isFinishSearchDuplicatesOfType(int type) const {
    if (type > 6)
        return false;
    const int32_t state = m_eCurrentState.load();
    if (state == FoldersScannerStateWalking || state == FoldersScannerStateFilteringFiles)
        return isTypeInSlots(type) && m_arrSearchDuplicatesStates[size_t(type)].load();
    return true;
}

uint64_t FoldersScanner::getCountOfActualDuplicates() const {
    return m_nCountOfActualDuplicates.load() + m_nCountOfSmallDuplicatesInHeaps.load();
}

uint64_t FoldersScanner::getActualDuplicatesSizeOfType(int type) const {
    return isTypeInSlots(type) ? m_arrActualDuplicatesSizes[size_t(type)].load() : 0;
}

uint64_t FoldersScanner::getPossibleHeapsSize() const {
    return std::max(m_nPossibleHeapsSize.load(), m_nActualHeapsSize.load());
}

float FoldersScanner::getDuplicatesFilesFilterProgress() const {
    if (m_nDuplicatesFolderFilterProgress.load() > 0)
        return 1.0f;
    if (m_nDuplicatesMinimalFileSize == kAutomaticMinimalFileSize)
        return float(std::min(1.0, getSearchDuplicatesDuration() / kAutomaticBudgetSeconds));
    return m_nDuplicatesFilesFilterProgress.load();
}

float FoldersScanner::getDuplicatesFoldersFilterProgress() const {
    if (m_nHeapsFilterProgress.load() > 0)
        return 1.0f;
    return m_nDuplicatesFolderFilterProgress.load();
}

void FoldersScanner::setPossibleDuplicateSizeOfType(uint64_t size, int type) {
    if (isTypeInSlots(type))
        m_arrPossibleDuplicatesSizes[size_t(type)].store(size);
}

void FoldersScanner::setDuplicateSizeOfType(uint64_t size, int type) {
    if (isTypeInSlots(type))
        m_arrActualDuplicatesSizes[size_t(type)].store(size);
}

void FoldersScanner::addPossibleDuplicatesSizeOfType(uint64_t size, int type) {
    if (isTypeInSlots(type))
        setPossibleDuplicateSizeOfType(getPossibleDuplicatesSizeOfType(type) + size, type);
}

void FoldersScanner::addDuplicateSizeOfType(uint64_t size, int type) {
    if (isTypeInSlots(type))
        addTo(m_arrActualDuplicatesSizes[size_t(type)], size);
}

// Stage 1: the walk.

void FoldersScanner::onOperationStartBuildTree(VolumeSystemItem* root) {
    if (m_eCurrentState.load() == FoldersScannerStateWalking && root)
        m_arrRoots.push_back(root);
}

void FoldersScanner::onFileItemsScanned(const std::vector<FileSystemItem*>& items) {
    addTo(m_nCountOfScannedFiles, items.size());
    if (items.empty() || !m_pDuplicatesFilterWorkingQueue)
        return;
    m_pDuplicatesFilterWorkingQueue->async([self = shared_from_this(), items] {
        std::array<uint64_t, 7> sizes{};
        uint64_t count = 0;
        for (FileSystemItem* item : items)
            self->onFileItemScanned(item, sizes, count);
        if (count == 0)
            return;
        // One report per batch: the scan screen reads the sums, never single files.
        const std::weak_ptr<FoldersScanner> weak = self;
        Dispatch::mainQueue().async([weak, sizes, count] {
            const auto scanner = weak.lock();
            if (!scanner)
                return;
            for (int type = 0; type < 7; ++type) {
                if (sizes[size_t(type)])
                    scanner->addPossibleDuplicatesSizeOfType(sizes[size_t(type)], type);
            }
            addTo(scanner->m_nCountOfPossibleDuplicates, count);
        });
    });
}

void FoldersScanner::onFileItemScanned(FileSystemItem* item, std::array<uint64_t, 7>& sizes,
                                       uint64_t& count) {
    if (!m_pDuplicatesFilter)
        return;
    const uint64_t inSet = m_pDuplicatesFilter->addFileItem(item, false, m_bIncludeHiddenFiles);
    if (inSet < 2)
        return;
    const uint64_t size = uint64_t(std::max<int64_t>(0, item->logicalSize()));
    const int type = FileType::typeOfFileAtPath(item->name());
    // The first member of a set is counted together with the second.
    const uint64_t members = inSet == 2 ? 2 : 1;
    if (isTypeInSlots(type))
        sizes[size_t(type)] += members * size;
    count += members;
}

void FoldersScanner::onOperationDoneWithSuccess(bool success) {
    ++m_nCurrentScanOperationIndex;
    if (success && m_eCurrentState.load() == FoldersScannerStateWalking &&
        m_nCurrentScanOperationIndex == int32_t(m_arrFoldersForScan.size()))
        startFilterDuplicatesFiles();
}

// Stage 2: the size filter.

void FoldersScanner::startFilterDuplicatesFiles() {
    // The walk has ended: the room its children lists grew into serves the comparison.
    std::vector<ScanTree*> trimmed;
    for (FolderSystemItem* root : m_arrRoots) {
        ScanTree* tree = ScanTree::owning(root);
        if (std::find(trimmed.begin(), trimmed.end(), tree) == trimmed.end()) {
            tree->trimChildrenLists();
            tree->forgetEnteredFolders();
            trimmed.push_back(tree);
        }
    }
    for (FolderSystemItem* root : m_arrRoots)
        root->calctotalsizeex();
    // The walk's threads grew the lists in their own allocator pools; the room the trim left
    // there would otherwise stay resident through the comparison.
    returnFreeMemoryToSystem();
    m_pStartSearchDuplicatesDate.store(nowNanoseconds());
    m_pDuplicatesFilterWorkingQueue->async(
        [filter = m_pDuplicatesFilter] { filter->filterDuplicates(); });
    enterState(FoldersScannerStateFilteringFiles);
}

void FoldersScanner::stopFilterDuplicatesFiles() {
    if (!m_pDuplicatesFilter || !m_pDuplicatesFilterWorkingQueue)
        return;
    m_pDuplicatesFilterWorkingQueue->async(
        [filter = m_pDuplicatesFilter] { filter->stopFilterDuplicates(); });
}

void FoldersScanner::onDuplicatesFilesFilterProgressChanged(float progress) {
    m_nDuplicatesFilesFilterProgress.store(progress);
}

void FoldersScanner::onChangedSizeOfPossibleHeapsAndSizeOfPossibleDuplicateFolders(
    uint64_t possibleHeapsSize, uint64_t possibleDuplicateFoldersSize) {
    if (!m_bSearchDuplicatesFoldersAndSimilars)
        return;
    m_nPossibleHeapsSize.store(possibleHeapsSize);
    setPossibleDuplicateSizeOfType(possibleDuplicateFoldersSize, 6);
}

void FoldersScanner::onFilteredFilesCountEachHasSizeWithType(int32_t count, uint64_t size,
                                                             int type) {
    addDuplicateSizeOfType(uint64_t(std::max(0, count)) * size, type);
    addTo(m_nCountOfActualDuplicates, uint64_t(std::max(0, count)));
    if (m_nDuplicatesMinimalFileSize == kAutomaticMinimalFileSize &&
        getSearchDuplicatesDuration() > kAutomaticBudgetSeconds)
        stopFilterDuplicatesFiles();
}

void FoldersScanner::onFinishSearchDuplicatesFilesWithType(int type) {
    if (isTypeInSlots(type))
        m_arrSearchDuplicatesStates[size_t(type)].store(true);
}

void FoldersScanner::onFinishFilterWithResultContainer(
    const std::shared_ptr<DuplicatesContainer>& container) {
    finishFilteringDuplicatesFilesWithResultContainer(container);
}

void FoldersScanner::finishFilteringDuplicatesFilesWithResultContainer(
    const std::shared_ptr<DuplicatesContainer>& container) {
    // The digest threads' reads and keys are freed: their room goes back before the folder
    // stages build theirs.
    returnFreeMemoryToSystem();
    startFilterDuplicatesFoldersInContainer(container);
}

// Stage 3: identical folders.

void FoldersScanner::startFilterDuplicatesFoldersInContainer(
    const std::shared_ptr<DuplicatesContainer>& container) {
    if (m_eCurrentState.load() == FoldersScannerStateStopped ||
        !m_bSearchDuplicatesFoldersAndSimilars) {
        finishFilteringDuplicatesFoldersWithResultContainer(container);
        return;
    }
    const uint64_t minimal = m_pDuplicatesFilter->getCurrentMinimalFileSize();
    m_pDuplicatesFolderFilter = std::make_shared<DuplicatesFolderFilter>(container, minimal);
    m_pDuplicatesFolderFilter->setListener(weak_from_this());
    enterState(FoldersScannerStateFilteringFolders);
    // Grouping reads the whole tree. It stays on the main thread, which the walk's last batch
    // has provably reached; run on the separators' queue, ThreadSanitizer found it racing
    // with the walk's final flush.
    m_pDuplicatesFolderFilter->findFoldersDuplicatesInRoots(m_arrRoots, m_bIncludeHiddenFiles);
}

void FoldersScanner::stopFilterDuplicatesFolders() {
    if (m_pDuplicatesFolderFilter)
        m_pDuplicatesFolderFilter->stop();
}

void FoldersScanner::onFoundDuplicatesFoldersWithTotalSize(uint64_t totalSize, float progress,
                                                           uint64_t countOfCheckedFolders) {
    setDuplicateSizeOfType(totalSize, 6);
    m_nDuplicatesFolderFilterProgress.store(progress);
    m_nCountOfCheckedFolders.store(countOfCheckedFolders);
}

void FoldersScanner::onUpdateSizesUsingContainer(const std::array<uint64_t, 6>& totalSizes) {
    for (int type = 0; type < 6; ++type) {
        setPossibleDuplicateSizeOfType(totalSizes[size_t(type)], type);
        setDuplicateSizeOfType(totalSizes[size_t(type)], type);
    }
}

void FoldersScanner::onDuplicatedFolderFilteringCompleteWithContainer(
    const std::shared_ptr<DuplicatesContainer>& container) {
    // The heaps are validated on the size filter's serial queue, idle by now: the thread
    // that made the groups and the folders' data. What validation makes and lets go of then
    // comes from that thread's own allocator arena, not from a fresh one that would keep its
    // high-water mark for the rest of the run.
    if (m_pDuplicatesFilterWorkingQueue) {
        m_pDuplicatesFilterWorkingQueue->async([self = shared_from_this(), container] {
            self->finishFilteringDuplicatesFoldersWithResultContainer(container);
        });
        return;
    }
    finishFilteringDuplicatesFoldersWithResultContainer(container);
}

// Stages 4 to 6.

void FoldersScanner::setStateOnMainQueueUnlessStopped(FoldersScannerState state) {
    Dispatch::mainQueue().async([self = shared_from_this(), state] {
        int32_t current = self->m_eCurrentState.load();
        while (current != FoldersScannerStateStopped && current != FoldersScannerStateComplete) {
            if (self->m_eCurrentState.compare_exchange_weak(current, state)) {
                if (self->m_stateChangeHandler)
                    self->m_stateChangeHandler(state);
                return;
            }
        }
    });
}

bool FoldersScanner::isHeapsValidationCanceled() {
    return m_eCurrentState.load() == FoldersScannerStateStopped;
}

void FoldersScanner::onHeapsCheckedFolders(uint64_t count) {
    addTo(m_nCountOfCheckedFoldersInHeaps, count);
}

void FoldersScanner::onHeapsSizeChanged(uint64_t size, float progress) {
    Dispatch::mainQueue().async([weak = weak_from_this(), size, progress] {
        if (const auto self = weak.lock()) {
            self->m_nHeapsFilterProgress.store(progress);
            self->m_nActualHeapsSize.store(size);
        }
    });
}

namespace {

// Drops a map in which no key holds two or more items: nothing in it can be compared.
void dropIfNothingToCompare(std::optional<DuplicatesHeaps::ItemsByKey>& map) {
    if (!map)
        return;
    for (const auto& [key, items] : *map) {
        if (items.size() >= 2)
            return;
    }
    map.reset();
}

} // namespace

void FoldersScanner::finishFilteringDuplicatesFoldersWithResultContainer(
    const std::shared_ptr<DuplicatesContainer>& container) {
    for (;;) {
        if (m_eCurrentState.load() != FoldersScannerStateStopped)
            setStateOnMainQueueUnlessStopped(FoldersScannerStateValidatingHeaps);
        container->saveRoots(QList<FileSystemItem*>(m_arrRoots.begin(), m_arrRoots.end()));
        const auto& heaps = container->getHeaps();
        const auto smallItemsPassRuns = [&] {
            return m_eCurrentState.load() != FoldersScannerStateStopped &&
                   m_bSearchDuplicatesFoldersAndSimilars && heaps;
        };
        // The small same-content sets only serve the heaps' small-items pass, which empties
        // them itself. Without that pass (a stopped scan, a container without heaps) this
        // clean-up is the last one: empty them before it, so that it brings back the file
        // groups that only their folders kept hidden; afterwards nothing would.
        const bool smallItemsPass = smallItemsPassRuns();
        if (!smallItemsPass)
            container->getSmallDuplicatesCategory()->removeAllGroups();
        container->validateEmptyDataAfterRemoveWithListener(this);
        // Stopped during the clean-up: once more, now as the last clean-up.
        if (smallItemsPass && !smallItemsPassRuns())
            continue;

        std::optional<DuplicatesHeaps::ItemsByKey> files;
        std::optional<DuplicatesHeaps::ItemsByKey> folders;
        bool changed = false;
        if (smallItemsPass) {
            files.emplace();
            folders.emplace();
            heaps->getSmallFilesThatNeedToBeCheckedForBetterHeaps(*files, *folders, *container,
                                                                  m_bIncludeHiddenFiles, &changed);
            dropIfNothingToCompare(files);
            dropIfNothingToCompare(folders);
        }
        if (files || folders) {
            setStateOnMainQueueUnlessStopped(FoldersScannerStateCheckingSmallItems);
            separateAdditionalSmallFiles(std::move(files), std::move(folders), container);
            return;
        }
        if (changed)
            continue;
        break;
    }
    // The small-duplicates category is empty here: either the heaps' small-items pass
    // emptied it (and a change sent the loop round once more) or it was emptied before the
    // last clean-up above.
    Dispatch::mainQueue().async([self = shared_from_this(), container] {
        self->enterState(FoldersScannerStateComplete);
        if (self->m_bListenerTold.exchange(true))
            return;
        if (const auto listener = self->m_pListener.lock())
            listener->onScanCompleteWithResult(container);
    });
}

// Stage 5: the small-items pass.

void FoldersScanner::separateAdditionalSmallFiles(
    std::optional<DuplicatesHeaps::ItemsByKey> files,
    std::optional<DuplicatesHeaps::ItemsByKey> folders,
    const std::shared_ptr<DuplicatesContainer>& container) {
    {
        std::lock_guard lock(m_smallItemsMutex);
        m_smallFiles = std::move(files);
        m_smallFolders = std::move(folders);
    }
    separateNextAdditionalSmallItemsToContainer(container);
}

std::optional<QString>
FoldersScanner::getNextKeyForGroups(std::optional<DuplicatesHeaps::ItemsByKey>& groups) {
    if (!groups)
        return std::nullopt;
    for (const auto& [key, items] : *groups) {
        if (items.size() >= 2)
            return key;
    }
    groups.reset();
    return std::nullopt;
}

void FoldersScanner::separateItemsGroupWithKey(
    const QString& key, DuplicatesHeaps::ItemsByKey& groups, bool isFolders,
    const std::shared_ptr<DuplicatesContainer>& container) {
    const auto found = groups.find(key);
    std::vector<FileSystemItem*> items = std::move(found->second);
    groups.erase(found);
    const auto self = shared_from_this();
    if (isFolders) {
        std::vector<FolderSystemItem*> foldersToCompare;
        for (FileSystemItem* item : items)
            foldersToCompare.push_back(item->asFolder());
        auto separator = std::make_shared<FolderSeparatorForContainer>();
        m_pCurrentFolderSeparator = separator;
        separator->separateItemsToContainerWithListener(std::move(foldersToCompare), container,
                                                        self);
    } else {
        auto separator = std::make_shared<FileSeparatorForContainer>();
        m_pCurrentFileSeparator = separator;
        separator->separateItemsToContainerWithListener(
            QList<FileSystemItem*>(items.begin(), items.end()), container, self);
    }
}

void FoldersScanner::separateNextAdditionalSmallItemsToContainer(
    const std::shared_ptr<DuplicatesContainer>& container) {
    {
        std::lock_guard lock(m_smallItemsMutex);
        if (m_eCurrentState.load() != FoldersScannerStateStopped) {
            if (const auto key = getNextKeyForGroups(m_smallFiles)) {
                separateItemsGroupWithKey(*key, *m_smallFiles, false, container);
                return;
            }
            if (const auto key = getNextKeyForGroups(m_smallFolders)) {
                separateItemsGroupWithKey(*key, *m_smallFolders, true, container);
                return;
            }
        }
        m_smallFiles.reset();
        m_smallFolders.reset();
    }
    finishFilteringDuplicatesFoldersWithResultContainer(container);
}

void FoldersScanner::addCountOfDuplicatesToSmallDuplicatsInHeaps(uint64_t count) {
    addTo(m_nCountOfSmallDuplicatesInHeaps, count);
}

void FoldersScanner::onFinishFileSeparator(FileSeparatorForContainer* separator,
                                           const ItemsByContentHash& result,
                                           const std::shared_ptr<DuplicatesContainer>& container) {
    {
        std::lock_guard lock(m_smallItemsMutex);
        if (separator != m_pCurrentFileSeparator.get())
            return;
        m_pCurrentFileSeparator.reset();
    }
    for (auto it = result.cbegin(); it != result.cend(); ++it) {
        if (!it.value().isEmpty() && (*it.value().cbegin())->getDuplicateItem())
            addCountOfDuplicatesToSmallDuplicatsInHeaps(uint64_t(it.value().size()));
    }
    separateNextAdditionalSmallItemsToContainer(container);
}

void FoldersScanner::onFinishFolderSeparator(
    FolderSeparatorForContainer* separator, const FolderSets& result,
    const std::shared_ptr<DuplicatesContainer>& container) {
    {
        std::lock_guard lock(m_smallItemsMutex);
        if (separator != m_pCurrentFolderSeparator.get())
            return;
        m_pCurrentFolderSeparator.reset();
    }
    for (const auto& set : result) {
        if (!set.empty() && set.front()->getDuplicateItem())
            addCountOfDuplicatesToSmallDuplicatsInHeaps(set.size());
    }
    separateNextAdditionalSmallItemsToContainer(container);
}

void FoldersScanner::stopHeapsAdditionalSmallFilesSearch() {
    std::lock_guard lock(m_smallItemsMutex);
    if (m_pCurrentFileSeparator)
        m_pCurrentFileSeparator->stop();
    if (m_pCurrentFolderSeparator)
        m_pCurrentFolderSeparator->stop();
}
