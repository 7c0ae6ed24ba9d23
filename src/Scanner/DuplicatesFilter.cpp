#include "Scanner/DuplicatesFilter.h"

#include "FileTree/DuplicatesCategoryType.h"
#include "FileTree/FileType.h"
#include "FileTree/FolderSystemItem.h"
#include "Platform/Dispatch.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesHeaps.h"
#include "Scanner/DuplicatesFilterProgressListener.h"
#include "Scanner/PromoPanelGate.h"
#include "Scanner/SameFileFilter.h"
#include "Scanner/SimpleFolderInfo.h"
#include "Walker/ExcludeChecker.h"
#include "Walker/FolderDescriptors.h"

#include <algorithm>
#include <limits>

namespace {

constexpr uint64_t kAllBits = std::numeric_limits<uint64_t>::max();
constexpr uint64_t kPromoCountLimit = 1000;
// The filing slot of the types that are never compared ("folder" and "unknown").
constexpr int kUnknownSlot = 7;

int slotOfType(int type) {
    return type >= DuplicatesCategoryTypeImage && type <= DuplicatesCategoryTypeFolder
               ? type
               : kUnknownSlot;
}

} // namespace

// Carries the number of its set back to the filter, on the filter's working queue.
class DuplicatesFilter::SeparationListener final : public FileSeparatorListener {
public:
    SeparationListener(std::shared_ptr<DuplicatesFilter> filter, size_t index)
        : m_filter(std::move(filter)), m_index(index) {}
    void onFinishSeparateItemsByHash(ItemsByContentHash result) override {
        std::shared_ptr<DuplicatesFilter> filter = std::move(m_filter);
        const size_t index = m_index;
        filter->m_pWorkingQueue->async([filter, index, result = std::move(result)]() mutable {
            filter->onSeparationFinished(index, std::move(result));
        });
    }

private:
    std::shared_ptr<DuplicatesFilter> m_filter;
    size_t m_index;
};

DuplicatesFilter::DuplicatesFilter(uint64_t minimalFileSize, bool withHeaps)
    : m_pDuplicatesContainer(DuplicatesContainer::create(withHeaps)),
      m_bAutoDefineMinimalFileSize(minimalFileSize == kAllBits),
      m_nMinimalDuplicatesFileSize(m_bAutoDefineMinimalFileSize ? 0 : minimalFileSize),
      m_nCurrentMinimalDuplicatesFileSize(kAllBits) {}

DuplicatesFilter::~DuplicatesFilter() = default;

void DuplicatesFilter::setListener(std::shared_ptr<DuplicatesFilterProgressListener> listener) {
    m_pListener = std::move(listener);
}

int DuplicatesFilter::generateFileTypeKeyForFileItem(const FileSystemItem* item) {
    return FileType::typeOfFileAtPath(item->name());
}

uint64_t DuplicatesFilter::generateFileSizeKeyForFileItem(const FileSystemItem* item) {
    return uint64_t(item->logicalSize());
}

bool DuplicatesFilter::isNeedScanFileItem(FileSystemItem* item, bool includeHidden) const {
    if (!item || item->isDir() || item->isCheckedForDuplicates() || item->isInPackage())
        return false;
    if (!includeHidden && item->parent() && item->parent()->isTopHiddenFlag())
        return false;
    if (item->logicalSize() < 0 || uint64_t(item->logicalSize()) < m_nMinimalDuplicatesFileSize)
        return false;
    const auto& excludeChecker = m_pDuplicatesContainer->getExcludeChecker();
    return !(excludeChecker && excludeChecker->isFileItemExcluded(item));
}

uint64_t DuplicatesFilter::addFileItem(FileSystemItem* item, bool markBeforeFilter,
                                       bool includeHidden) {
    uint64_t count = 0;
    if (isNeedScanFileItem(item, includeHidden)) {
        auto& set = m_arrFiling[size_t(slotOfType(generateFileTypeKeyForFileItem(item)))]
                               [generateFileSizeKeyForFileItem(item)];
        set.push_back(item);
        count = set.size();
    }
    if (markBeforeFilter && item)
        item->setIsCheckedForDuplicates(true);
    return count;
}

uint64_t DuplicatesFilter::getCurrentMinimalFileSize() const {
    if (!m_bAutoDefineMinimalFileSize)
        return m_nMinimalDuplicatesFileSize;
    if (!m_bIsFilterCanceled.load())
        return 0;
    return m_nCurrentMinimalDuplicatesFileSize.load();
}

void DuplicatesFilter::initDataForPossibleDuplicates() {
    m_arrPossibleDuplicates.clear();
    size_t count = 0;
    for (int type = DuplicatesCategoryTypeImage; type <= DuplicatesCategoryTypeOther; ++type)
        count += m_arrFiling[size_t(type)].size();
    m_arrPossibleDuplicates.reserve(count);
    // A set is known by its place in the order of comparison alone: a key text per set (there
    // is one per size met) would only cost memory.
    std::vector<std::pair<uint64_t, std::vector<FileSystemItem*>*>> sizes;
    for (int type = DuplicatesCategoryTypeImage; type <= DuplicatesCategoryTypeOther; ++type) {
        auto& bySize = m_arrFiling[size_t(type)];
        // Ascending sizes: a fixed order, so a scan is repeatable.
        sizes.clear();
        sizes.reserve(bySize.size());
        for (auto& [size, items] : bySize)
            sizes.emplace_back(size, &items);
        std::sort(sizes.begin(), sizes.end());
        for (const auto& [size, items] : sizes) {
            if (m_bAutoDefineMinimalFileSize && items->size() < 2)
                continue;
            m_arrPossibleDuplicates.push_back({std::move(*items)});
        }
    }
    // Emptied with their bucket arrays, which clear() would keep: the room serves the results.
    for (auto& bySize : m_arrFiling)
        bySize = {};
    if (m_bAutoDefineMinimalFileSize) {
        std::stable_sort(m_arrPossibleDuplicates.begin(), m_arrPossibleDuplicates.end(),
                         [](const SizeSet& a, const SizeSet& b) {
                             return a.items.front()->calctotalsize() >
                                    b.items.front()->calctotalsize();
                         });
    }
    m_bIsFilterCanceled.store(false);
    m_nCurrentFilterIndexInKeys = -1;
}

void DuplicatesFilter::filterDuplicates() {
    auto self = shared_from_this();
    m_pWorkingQueue->async([self] {
        self->initDataForPossibleDuplicates();
        uint64_t candidates = 0;
        for (const SizeSet& set : self->m_arrPossibleDuplicates) {
            if (candidates > kPromoCountLimit)
                break;
            if (set.items.size() >= 2)
                candidates += set.items.size();
        }
        self->filterNextPossibleDuplicates();
        Dispatch::mainQueue().async([candidates] {
            PromoPanelGate::pleaseShowWindowIfNeedAutomaticallyForDuplicatesCount(candidates);
        });
    });
}

void DuplicatesFilter::stopFilterDuplicates() {
    if (m_bIsFinished)
        return;
    m_bIsFilterCanceled.store(true);
    for (const auto& [index, separator] : m_arrRunningSeparators)
        separator->stop();
    // Results that came back early wait behind a set still being compared: saving them would
    // keep smaller sets while a larger one is missing. The result stays what comparing one
    // set after another gives: every group saved before the stop, and nothing after it.
    for (auto& [batch, result] : m_arrFinishedResults)
        discardBatch(batch);
    // (Such results only wait behind a running separation, whose report finishes the filter.)
    m_arrFinishedResults.clear();
}

void DuplicatesFilter::filterNextPossibleDuplicates() {
    while (!m_bIsFilterCanceled.load() && m_arrRunningSeparators.size() < kSeparationsInFlight) {
        std::vector<size_t> batch;
        size_t files = 0;
        while (files < kFilesPerSeparation) {
            size_t next = size_t(m_nCurrentFilterIndexInKeys + 1);
            while (next < m_arrPossibleDuplicates.size() &&
                   m_arrPossibleDuplicates[next].items.size() < 2)
                ++next;
            m_nCurrentFilterIndexInKeys = int64_t(next);
            if (next >= m_arrPossibleDuplicates.size())
                break;
            batch.push_back(next);
            files += m_arrPossibleDuplicates[next].items.size();
        }
        if (batch.empty())
            break;
        filterFiles(std::move(batch));
    }
    if (m_arrRunningSeparators.empty() && m_arrFinishedResults.empty())
        finishFilterDuplicates();
}

void DuplicatesFilter::filterFiles(std::vector<size_t> indexes) {
    const size_t batch = indexes.front();
    auto separator = FileSeparator::create();
    if (!m_pFolderDescriptors)
        m_pFolderDescriptors =
            std::make_shared<FolderDescriptors>(FolderDescriptors::defaultCapacity());
    separator->useFolderDescriptors(m_pFolderDescriptors);
    m_arrRunningSeparators.emplace(batch, separator);
    m_arrStartedIndexes.push_back(batch);
    QList<FileSystemItem*> items;
    for (size_t index : indexes) {
        const auto& set = m_arrPossibleDuplicates[index].items;
        items.append(QList<FileSystemItem*>(set.begin(), set.end()));
    }
    m_arrBatchIndexes.emplace(batch, std::move(indexes));
    separator->separateItemsWithListener(
        std::move(items), std::make_shared<SeparationListener>(shared_from_this(), batch));
}

void DuplicatesFilter::onSeparationFinished(size_t batch, ItemsByContentHash result) {
    m_arrRunningSeparators.erase(batch);
    if (m_bIsFilterCanceled.load()) {
        // Stopped or not, a separation that reports after the stop is past the stop.
        discardBatch(batch);
        if (m_arrRunningSeparators.empty())
            finishFilterDuplicates();
        return;
    }
    m_arrFinishedResults.emplace(batch, std::move(result));
    while (!m_arrStartedIndexes.empty()) {
        const auto ready = m_arrFinishedResults.find(m_arrStartedIndexes.front());
        if (ready == m_arrFinishedResults.end())
            break;
        m_arrStartedIndexes.pop_front();
        ItemsByContentHash finished = std::move(ready->second);
        const size_t finishedBatch = ready->first;
        m_arrFinishedResults.erase(ready);
        saveBatch(finishedBatch, finished);
    }
    filterNextPossibleDuplicates();
}

void DuplicatesFilter::saveBatch(size_t batch, ItemsByContentHash& result) {
    const auto found = m_arrBatchIndexes.find(batch);
    const std::vector<size_t> indexes = std::move(found->second);
    m_arrBatchIndexes.erase(found);
    if (indexes.size() == 1) {
        saveHashHeaps(result, indexes.front());
    } else if (!result.isEmpty()) {
        // Split the shared result back by set: equal digests of different sets (an equal
        // content under two types, two empty files named alike in two types) are no group.
        // A sorted flat table: the serial queue makes no allocation per file for it.
        std::vector<std::pair<const FileSystemItem*, size_t>> setOf;
        for (size_t position = 0; position < indexes.size(); ++position) {
            for (const FileSystemItem* item : m_arrPossibleDuplicates[indexes[position]].items)
                setOf.emplace_back(item, position);
        }
        std::sort(setOf.begin(), setOf.end());
        std::vector<ItemsByContentHash> bySet(indexes.size());
        for (auto it = result.cbegin(); it != result.cend(); ++it) {
            if (it.value().size() < 2)
                continue;
            for (FileSystemItem* item : it.value()) {
                const auto found = std::lower_bound(
                    setOf.begin(), setOf.end(), item,
                    [](const auto& entry, const FileSystemItem* key) { return entry.first < key; });
                if (found != setOf.end() && found->first == item)
                    bySet[found->second][it.key()].insert(item);
            }
        }
        for (size_t position = 0; position < indexes.size(); ++position)
            saveHashHeaps(bySet[position], indexes[position]);
    }
    // The sets are compared; their lists are not needed any more.
    for (size_t index : indexes)
        std::vector<FileSystemItem*>().swap(m_arrPossibleDuplicates[index].items);
}

void DuplicatesFilter::discardBatch(size_t batch) {
    const auto found = m_arrBatchIndexes.find(batch);
    if (found == m_arrBatchIndexes.end())
        return;
    // The digests marked these files as compared; unmarked, the folder stage does not take a
    // file that was never saved for one found unique.
    for (size_t index : found->second) {
        for (FileSystemItem* item : m_arrPossibleDuplicates[index].items)
            item->setIsCheckedForDuplicates(false);
    }
    m_arrBatchIndexes.erase(found);
    std::erase(m_arrStartedIndexes, batch);
}

void DuplicatesFilter::saveHashHeaps(ItemsByContentHash& result, size_t index) {
    for (auto it = result.begin(); it != result.end(); ++it) {
        QSet<FileSystemItem*>& set = it.value();
        // Hard links and a file reached twice read alike but are one file: never copies.
        SameFileFilter::removeSameFiles(set, m_pFolderDescriptors.get());
        if (set.size() < 2)
            continue;
        FileSystemItem* any = *set.cbegin();
        const uint64_t size = uint64_t(std::max<int64_t>(0, any->logicalSize()));
        if (size < m_nCurrentMinimalDuplicatesFileSize.load())
            m_nCurrentMinimalDuplicatesFileSize.store(size);
        const int type = FileType::typeOfFileAtPath(any->name());
        if (const auto category = m_pDuplicatesContainer->getCategoryWithType(type))
            category->addGroupWithItems(QList<FileSystemItem*>(set.begin(), set.end()));
        for (FileSystemItem* item : set)
            updatePossibleDuplicateFolderInformationByFolder(item->parent());
        notifyListenerAboutFilteredFilesCount(int32_t(set.size()), size, type, index);
    }
}

void DuplicatesFilter::notifyListenerAboutFilteredFilesCount(int32_t count, uint64_t size, int type,
                                                             size_t index) {
    if (!m_pListener)
        return;
    const float progress = m_arrPossibleDuplicates.empty()
                               ? 0.0f
                               : float(index) / float(m_arrPossibleDuplicates.size());
    const auto& heaps = m_pDuplicatesContainer->getHeaps();
    const uint64_t heapsSize = heaps ? heaps->getPossibleHeapsSize() : 0;
    const uint64_t foldersSize = m_nPossibleDuplicateFoldersSize;
    const bool fixedMode = !m_bAutoDefineMinimalFileSize;
    Dispatch::mainQueue().async([listener = m_pListener, progress, heapsSize, foldersSize, count,
                                 size, type, fixedMode] {
        // Sets are compared type by type in fixed mode, so a group of one type closes the
        // type before it.
        if (fixedMode && type >= DuplicatesCategoryTypeVideo && type <= DuplicatesCategoryTypeOther)
            listener->onFinishSearchDuplicatesFilesWithType(type - 1);
        listener->onDuplicatesFilesFilterProgressChanged(progress);
        listener->onChangedSizeOfPossibleHeapsAndSizeOfPossibleDuplicateFolders(heapsSize,
                                                                                foldersSize);
        listener->onFilteredFilesCountEachHasSizeWithType(count, size, type);
    });
}

void DuplicatesFilter::finishFilterDuplicates() {
    if (m_bIsFinished)
        return;
    m_bIsFinished = true;
    m_pFolderDescriptors.reset();
    // Every set is compared or discarded: the table of them (one entry per size met) goes
    // before the folder stages need the room.
    m_arrBatchIndexes.clear();
    m_arrStartedIndexes.clear();
    m_arrFinishedResults.clear();
    std::vector<SizeSet>().swap(m_arrPossibleDuplicates);
    notifyListenerAboutResult();
}

void DuplicatesFilter::notifyListenerAboutResult() {
    if (!m_pListener)
        return;
    std::shared_ptr<DuplicatesFilterProgressListener> listener = std::move(m_pListener);
    m_pListener.reset();
    Dispatch::mainQueue().async([listener, container = m_pDuplicatesContainer] {
        listener->onFinishFilterWithResultContainer(container);
    });
}

void DuplicatesFilter::updatePossibleDuplicateFolderInformationByFolder(FolderSystemItem* folder) {
    if (!folder || !m_arrPossibleDuplicateFoldersContainer.insert(folder).second)
        return;
    const QString identifier = SimpleFolderInfo(folder).buildSimplyHash();
    const auto found = m_arrPossibleDuplicateFolders.find(identifier);
    if (found == m_arrPossibleDuplicateFolders.end()) {
        m_arrPossibleDuplicateFolders.emplace(identifier, 0);
        return;
    }
    if (found->second != 0) {
        m_nPossibleDuplicateFoldersSize += found->second;
        return;
    }
    uint64_t sum = 0;
    for (const FileSystemItem* child : folder->childrenArray()) {
        if (!child->isDir())
            sum += uint64_t(std::max<int64_t>(0, child->logicalSize()));
    }
    found->second = sum;
    m_nPossibleDuplicateFoldersSize += 2 * sum;
}
