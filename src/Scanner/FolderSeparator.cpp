#include "Scanner/FolderSeparator.h"

#include "FileTree/FolderSystemItem.h"
#include "Platform/Dispatch.h"
#include "Scanner/FolderDuplicatesInfo.h"
#include "Scanner/SameFileFilter.h"

std::shared_ptr<FolderSeparator> FolderSeparator::create() {
    workingQueue();
    return std::make_shared<FolderSeparator>(Token{});
}

FolderSeparator::FolderSeparator(Token) {}

FolderSeparator::~FolderSeparator() = default;

Dispatch::SerialQueue& FolderSeparator::workingQueue() {
    static Dispatch::SerialQueue* queue = new Dispatch::SerialQueue("folderseparator.working");
    return *queue;
}

void FolderSeparator::separateItemsWithDelegate(std::vector<FolderSystemItem*> folders,
                                                std::weak_ptr<FolderSeparatorDelegate> delegate) {
    auto self = shared_from_this();
    workingQueue().async([self, folders = std::move(folders), delegate]() mutable {
        self->m_nTotalProcessedItems = 0;
        self->m_nCurrentProcessedItemsInFolders = 0;
        std::vector<FileSystemItem*> nodes(folders.begin(), folders.end());
        for (FileSystemItem* same : SameFileFilter::removeSameFiles(nodes))
            same->setIsCheckedForDuplicates(true);
        std::vector<FolderSystemItem*> kept;
        InfoMap infos;
        for (FileSystemItem* node : nodes) {
            FolderSystemItem* folder = node->asFolder();
            kept.push_back(folder);
            infos.emplace(folder, std::make_shared<FolderDuplicatesInfo>(folder));
        }
        self->separateFoldersInfos(std::move(infos), std::move(kept), delegate);
    });
}

void FolderSeparator::separateFoldersInfos(InfoMap infos, std::vector<FolderSystemItem*> folders,
                                           std::weak_ptr<FolderSeparatorDelegate> delegate) {
    m_arrFoldersItems = std::move(folders);
    m_arrFoldersInfos = std::move(infos);
    m_pDelegate = std::move(delegate);
    continueFolderSeparation();
}

void FolderSeparator::stop() {
    m_bIsCanceled.store(true);
    auto self = shared_from_this();
    workingQueue().async([self] {
        for (const auto& [raw, sub] : self->m_arrSubSeparators)
            sub->stop();
        if (self->m_pFileSeparator)
            self->m_pFileSeparator->stop();
        if (self->m_pFolderSeparator)
            self->m_pFolderSeparator->stop();
    });
}

void FolderSeparator::continueFolderSeparation() {
    if (m_bIsCanceled.load()) {
        notifyDelegateThatSeparationDoneBecauseStopped();
        return;
    }
    if (m_arrFoldersItems.size() < 2) {
        m_nTotalProcessedItems += 1;
        notifyDelegateAboutProgress();
        notifyDelegateThatSeparationDoneBecauseOnlyOneLeft();
        return;
    }
    if (const size_t begin = getSeparationBeginIndex()) {
        const auto subGroups = getArrayWithFolderInfosSubGroupsWithFirstGroupLen(begin);
        std::vector<std::pair<std::shared_ptr<FolderSeparator>, std::vector<FolderSystemItem*>>>
            started;
        for (const auto& subGroup : subGroups) {
            InfoMap infos;
            for (FolderSystemItem* folder : subGroup)
                infos.emplace(folder, m_arrFoldersInfos[folder]);
            m_nTotalProcessedItems += m_nCurrentProcessedItemsInFolders;
            m_nCurrentProcessedItemsInFolders = 0;
            auto sub = FolderSeparator::create();
            m_arrSubSeparators.emplace(sub.get(), sub);
            sub->separateFoldersInfos(std::move(infos), subGroup, weak_from_this());
        }
        m_arrFoldersItems.clear();
        m_arrFoldersInfos.clear();
        return;
    }
    if (!m_bIsPrepared)
        prepareToCheckGroupedBySizeFileItems();
    if (!m_arrFileItemsGroupedBySize.empty()) {
        separateGroupedFileItems();
        return;
    }
    if (!m_arrFolderItemsGroupedBySize.empty()) {
        separateGroupedFolderItems();
        return;
    }
    m_nTotalProcessedItems += m_arrFoldersItems.size();
    notifyDelegateAboutProgress();
    notifyDelegateThatSeparationDoneBecauseFoldersAreDuplicates();
}

void FolderSeparator::prepareToCheckGroupedBySizeFileItems() {
    m_bIsPrepared = true;
    for (FolderSystemItem* folder : m_arrFoldersItems) {
        for (FileSystemItem* child : folder->childrenArray()) {
            if (child->isCheckedForDuplicates())
                continue;
            auto& table =
                child->isDir() ? m_arrFolderItemsGroupedBySize : m_arrFileItemsGroupedBySize;
            table[child->logicalSize()].push_back(child);
        }
    }
}

size_t FolderSeparator::getSeparationBeginIndex() const {
    for (size_t i = 1; i < m_arrFoldersItems.size(); ++i) {
        const auto& previous = m_arrFoldersInfos.at(m_arrFoldersItems[i - 1]);
        const auto& current = m_arrFoldersInfos.at(m_arrFoldersItems[i]);
        if (!current->isEqualToFolderInfo(*previous))
            return i;
    }
    return 0;
}

std::vector<std::vector<FolderSystemItem*>>
FolderSeparator::getArrayWithFolderInfosSubGroupsWithFirstGroupLen(size_t firstGroupLength) const {
    std::vector<std::vector<FolderSystemItem*>> groups;
    groups.emplace_back(m_arrFoldersItems.begin(),
                        m_arrFoldersItems.begin() + std::ptrdiff_t(firstGroupLength));
    for (size_t i = firstGroupLength; i < m_arrFoldersItems.size(); ++i) {
        FolderSystemItem* folder = m_arrFoldersItems[i];
        const auto& info = m_arrFoldersInfos.at(folder);
        bool placed = false;
        for (auto& group : groups) {
            if (info->isEqualToFolderInfo(*m_arrFoldersInfos.at(group.front()))) {
                group.push_back(folder);
                placed = true;
                break;
            }
        }
        if (!placed)
            groups.push_back({folder});
    }
    return groups;
}

void FolderSeparator::separateGroupedFileItems() {
    auto first = m_arrFileItemsGroupedBySize.begin();
    m_arrFilesThatWasSeparated = std::move(first->second);
    m_arrFileItemsGroupedBySize.erase(first);
    m_pFileSeparator = FileSeparator::create();
    m_pFileSeparator->separateItemsWithListener(
        QList<FileSystemItem*>(m_arrFilesThatWasSeparated.begin(),
                               m_arrFilesThatWasSeparated.end()),
        shared_from_this());
}

void FolderSeparator::separateGroupedFolderItems() {
    auto first = m_arrFolderItemsGroupedBySize.begin();
    m_arrFoldersThatWasSeparated = std::move(first->second);
    m_arrFolderItemsGroupedBySize.erase(first);
    m_nTotalProcessedItems += m_nCurrentProcessedItemsInFolders;
    m_nCurrentProcessedItemsInFolders = 0;
    std::vector<FolderSystemItem*> folders;
    for (FileSystemItem* node : m_arrFoldersThatWasSeparated)
        folders.push_back(node->asFolder());
    m_pFolderSeparator = FolderSeparator::create();
    m_pFolderSeparator->separateItemsWithDelegate(std::move(folders), weak_from_this());
}

void FolderSeparator::onFinishSeparateItemsByHash(ItemsByContentHash result) {
    auto self = shared_from_this();
    workingQueue().async(
        [self, result = std::move(result)]() mutable { self->onDigestResult(std::move(result)); });
}

void FolderSeparator::onDigestResult(ItemsByContentHash result) {
    m_pFileSeparator.reset();
    // Hard links and a file reached twice read alike but are one file: never copies.
    for (auto it = result.begin(); it != result.end(); ++it)
        SameFileFilter::removeSameFiles(it.value());
    const std::vector<FileSystemItem*> compared = std::move(m_arrFilesThatWasSeparated);
    m_arrFilesThatWasSeparated.clear();
    processItemsGroupedWithHash(result, compared);
}

void FolderSeparator::processItemsGroupedWithHash(const ItemsWithSameHash& items,
                                                  const std::vector<FileSystemItem*>& compared) {
    notifyDelegateToProcessIntermediateItemsWithSameHash(items);
    if (!compared.empty()) {
        for (const auto& [folder, info] : m_arrFoldersInfos)
            info->resetGroupsInfo();
        for (const FileSystemItem* item : compared) {
            const auto info = m_arrFoldersInfos.find(item->parent());
            if (info != m_arrFoldersInfos.end())
                info->second->updateDataAfterProcessedItem(item);
        }
    }
    continueFolderSeparation();
}

void FolderSeparator::onProcessedItemsCount(uint64_t count) {
    m_nCurrentProcessedItemsInFolders = count;
    notifyDelegateAboutProgress();
}

void FolderSeparator::processIndermediateItemsWithSameHash(const ItemsWithSameHash& items) {
    notifyDelegateToProcessIntermediateItemsWithSameHash(items);
}

void FolderSeparator::onFinishSeparateFolderItems(const std::optional<FolderSets>& result,
                                                  FolderSeparator* separator) {
    if (separator && separator == m_pFolderSeparator.get()) {
        m_pFolderSeparator.reset();
        ItemsWithSameHash byIndex;
        if (result) {
            for (size_t i = 0; i < result->size(); ++i) {
                auto& set = byIndex[QString::number(i)];
                for (FolderSystemItem* folder : (*result)[i])
                    set.insert(folder);
            }
        }
        const std::vector<FileSystemItem*> compared = std::move(m_arrFoldersThatWasSeparated);
        m_arrFoldersThatWasSeparated.clear();
        processItemsGroupedWithHash(byIndex, compared);
        return;
    }
    const auto sub = m_arrSubSeparators.find(separator);
    if (sub == m_arrSubSeparators.end())
        return;
    m_arrSubSeparators.erase(sub);
    if (result) {
        m_bHasSubSeparatorsResult = true;
        m_arrSubSeparatorsResult.insert(m_arrSubSeparatorsResult.end(), result->begin(),
                                        result->end());
    }
    if (m_arrSubSeparators.empty())
        notifyDelegateThatSeparationDoneBecauseSubGroupsAreSeparated();
}

void FolderSeparator::markFoldersAsCheckedForDuplicates() {
    for (FolderSystemItem* folder : m_arrFoldersItems)
        folder->setIsCheckedForDuplicates(true);
}

void FolderSeparator::notifyDelegateAboutProgress() {
    if (const auto delegate = m_pDelegate.lock())
        delegate->onProcessedItemsCount(m_nTotalProcessedItems + m_nCurrentProcessedItemsInFolders);
}

void FolderSeparator::notifyDelegateToProcessIntermediateItemsWithSameHash(
    const ItemsWithSameHash& items) {
    if (const auto delegate = m_pDelegate.lock())
        delegate->processIndermediateItemsWithSameHash(items);
}

void FolderSeparator::notifyDelegate(std::optional<FolderSets> result) {
    if (m_bIsFinished)
        return;
    m_bIsFinished = true;
    auto self = shared_from_this();
    workingQueue().async([self, result = std::move(result)] {
        if (const auto delegate = self->m_pDelegate.lock())
            delegate->onFinishSeparateFolderItems(result, self.get());
    });
}

void FolderSeparator::notifyDelegateThatSeparationDoneBecauseSubGroupsAreSeparated() {
    if (m_bIsCanceled.load() || !m_bHasSubSeparatorsResult)
        notifyDelegate(std::nullopt);
    else
        notifyDelegate(std::move(m_arrSubSeparatorsResult));
}

void FolderSeparator::notifyDelegateThatSeparationDoneBecauseOnlyOneLeft() {
    markFoldersAsCheckedForDuplicates();
    notifyDelegate(std::nullopt);
}

void FolderSeparator::notifyDelegateThatSeparationDoneBecauseFoldersAreDuplicates() {
    markFoldersAsCheckedForDuplicates();
    notifyDelegate(FolderSets{m_arrFoldersItems});
}

void FolderSeparator::notifyDelegateThatSeparationDoneBecauseStopped() {
    markFoldersAsCheckedForDuplicates();
    notifyDelegate(std::nullopt);
}
