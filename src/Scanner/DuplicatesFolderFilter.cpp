#include "Scanner/DuplicatesFolderFilter.h"

#include "FileTree/FolderSystemItem.h"
#include "Platform/Dispatch.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Scanner/DuplicatesFolderFilterListener.h"
#include "Scanner/FolderSeparator.h"
#include "Scanner/ScanClock.h"
#include "Walker/ExcludeChecker.h"

#include <algorithm>
#include <limits>

namespace {

constexpr double kAutomaticBudgetSeconds = 30.0;

int64_t nowNanoseconds() {
    return ScanClock::nowNanoseconds();
}

} // namespace

DuplicatesFolderFilter::DuplicatesFolderFilter(std::shared_ptr<DuplicatesContainer> container,
                                               uint64_t minimalFileSize)
    : m_pContainer(std::move(container)),
      m_bAutoDefineMinimalFileSize(minimalFileSize == std::numeric_limits<uint64_t>::max()),
      m_nMinimalFileSize(m_bAutoDefineMinimalFileSize ? 0 : minimalFileSize) {}

void DuplicatesFolderFilter::setListener(std::weak_ptr<DuplicatesFolderFilterListener> listener) {
    m_pListener = std::move(listener);
}

double DuplicatesFolderFilter::getSearchDuplicatesDuration() const {
    const int64_t start = m_pStartDate.load();
    if (start == 0)
        return 0;
    return double(nowNanoseconds() - start) / 1e9;
}

std::vector<FolderSystemItem*>
DuplicatesFolderFilter::setWithFoldersTreeInfoOfFolders(const std::vector<FolderSystemItem*>& roots,
                                                        bool includeHidden) {
    std::vector<FolderSystemItem*> candidates;
    const auto excludeChecker = m_pContainer ? m_pContainer->getExcludeChecker() : nullptr;
    std::vector<FolderSystemItem*> level = roots;
    while (!level.empty()) {
        std::vector<FolderSystemItem*> next;
        for (FolderSystemItem* folder : level) {
            if (folder->isCheckedForDuplicates())
                continue;
            if (!includeHidden && folder->isTopHiddenFlag())
                continue;
            if (folder->isInPackage())
                continue;
            if (folder->logicalSize() < 0 || uint64_t(folder->logicalSize()) < m_nMinimalFileSize)
                continue;
            if (excludeChecker && excludeChecker->isFileItemExcluded(folder))
                continue;
            if (SimpleFolderInfo(folder).isCanBeDuplicate())
                candidates.push_back(folder);
            else
                folder->setIsCheckedForDuplicates(true);
            for (FileSystemItem* child : folder->childrenArray()) {
                if (FolderSystemItem* sub = child->asFolder())
                    next.push_back(sub);
            }
        }
        level = std::move(next);
    }
    return candidates;
}

void DuplicatesFolderFilter::findFoldersDuplicatesInRoots(
    const std::vector<FolderSystemItem*>& roots, bool includeHidden) {
    for (FolderSystemItem* root : roots)
        root->recalculateCountOfDeepChildren();
    SimpleFolderInfo::Groups groups;
    for (auto& group : SimpleFolderInfo::GroupFoldersBySizeAndChildrenCount(
             setWithFoldersTreeInfoOfFolders(roots, includeHidden))) {
        if (group.size() >= 2)
            groups.push_back(std::move(group));
        else
            group.front()->setIsCheckedForDuplicates(true);
    }
    m_arrGroupedSimpleFoldersInfo =
        m_bAutoDefineMinimalFileSize
            ? SimpleFolderInfo::SortedGroupsBySizeFromBigToSmall(groups)
            : SimpleFolderInfo::SortedGroupsBySizeFromSmallToBig(std::move(groups));
    m_pStartDate.store(nowNanoseconds());
    m_nNextProcessedSimpleFolderInfoIndex = 0;
    processNextSimpleGroup();
}

void DuplicatesFolderFilter::stop() {
    m_bIsCanceled.store(true);
    // The current separation is replaced on the separators' queue; stop it there.
    auto self = shared_from_this();
    FolderSeparator::workingQueue().async([self] {
        if (self->m_pFolderSeparatorForContainer)
            self->m_pFolderSeparatorForContainer->stop();
    });
}

void DuplicatesFolderFilter::processNextSimpleGroup() {
    if (m_bAutoDefineMinimalFileSize && getSearchDuplicatesDuration() > kAutomaticBudgetSeconds)
        m_bIsCanceled.store(true);
    if (!m_bIsCanceled.load() &&
        m_nNextProcessedSimpleFolderInfoIndex < m_arrGroupedSimpleFoldersInfo.size()) {
        updateDuplicatesFoldersCountAndSendContainerForUpdate(true);
        const SimpleFolderInfo::Group group =
            m_arrGroupedSimpleFoldersInfo[m_nNextProcessedSimpleFolderInfoIndex++];
        m_nTotalCheckedFolders += m_nCurrentCheckedFolders;
        m_nCurrentCheckedFolders = 0;
        m_pFolderSeparatorForContainer = std::make_shared<FolderSeparatorForContainer>();
        m_pFolderSeparatorForContainer->separateItemsToContainerWithListener(group, m_pContainer,
                                                                             shared_from_this());
        return;
    }
    if (m_bIsFinished)
        return;
    m_bIsFinished = true;
    onCompleteFilteringDuplicatesFolders();
}

void DuplicatesFolderFilter::updateCountOfCheckedFolders(uint64_t count) {
    m_nCurrentCheckedFolders = count;
    updateDuplicatesFoldersCountAndSendContainerForUpdate(false);
}

void DuplicatesFolderFilter::onFinishFolderSeparator(
    FolderSeparatorForContainer* separator, const FolderSets& /*result*/,
    const std::shared_ptr<DuplicatesContainer>& /*container*/) {
    if (separator != m_pFolderSeparatorForContainer.get())
        return;
    m_pFolderSeparatorForContainer.reset();
    processNextSimpleGroup();
}

void DuplicatesFolderFilter::onCompleteFilteringDuplicatesFolders() {
    if (m_pContainer)
        m_pContainer->removeDuplicatesGroupsThatFullyInDuplicatesFoldersOrReturnItBack();
    updateDuplicatesFoldersCountAndSendContainerForUpdate(true);
    const auto listener = m_pListener.lock();
    if (!listener || !m_pContainer)
        return;
    std::shared_ptr<DuplicatesContainer> container = std::move(m_pContainer);
    m_pContainer.reset();
    Dispatch::globalQueue().async([listener, container] {
        listener->onDuplicatedFolderFilteringCompleteWithContainer(container);
    });
}

void DuplicatesFolderFilter::updateDuplicatesFoldersCountAndSendContainerForUpdate(
    bool withContainer) {
    const uint64_t checked = m_nTotalCheckedFolders + m_nCurrentCheckedFolders;
    uint64_t totalSize = 0;
    std::array<uint64_t, 6> typedSizes{};
    if (m_pContainer) {
        if (const auto folders = m_pContainer->getCategoryWithType(6))
            totalSize = folders->getTotalSize();
        for (int type = 0; type < 6; ++type) {
            if (const auto category = m_pContainer->getCategoryWithType(type))
                typedSizes[size_t(type)] = category->getTotalSize();
        }
    }
    float progress = 0;
    if (m_bAutoDefineMinimalFileSize)
        progress = float(getSearchDuplicatesDuration() / kAutomaticBudgetSeconds);
    else if (!m_arrGroupedSimpleFoldersInfo.empty())
        progress = float(m_nNextProcessedSimpleFolderInfoIndex) /
                   float(m_arrGroupedSimpleFoldersInfo.size());
    progress = std::min(progress, 1.0f);
    const std::weak_ptr<DuplicatesFolderFilterListener> weak = m_pListener;
    if (weak.expired())
        return;
    Dispatch::mainQueue().async([weak, totalSize, progress, checked, typedSizes, withContainer] {
        const auto listener = weak.lock();
        if (!listener)
            return;
        listener->onFoundDuplicatesFoldersWithTotalSize(totalSize, progress, checked);
        if (withContainer)
            listener->onUpdateSizesUsingContainer(typedSizes);
    });
}
