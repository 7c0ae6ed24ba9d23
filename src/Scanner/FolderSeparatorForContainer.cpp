#include "Scanner/FolderSeparatorForContainer.h"

#include "FileTree/FolderSystemItem.h"
#include "Platform/Dispatch.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Scanner/FolderSeparator.h"

void FolderSeparatorForContainer::separateItemsToContainerWithListener(
    std::vector<FolderSystemItem*> folders, std::shared_ptr<DuplicatesContainer> container,
    std::shared_ptr<FolderSeparatorForContainerListener> listener) {
    m_pContainer = std::move(container);
    m_pListener = std::move(listener);
    m_nCountOfCheckedItems = 0;
    m_pTimeBeforeUpdate.reset();
    if (m_pListener) {
        if (const std::optional<double> interval = m_pListener->getUpdateTimeInterval()) {
            m_pTimeBeforeUpdate = std::chrono::steady_clock::now();
            m_pUpdateTimeInterval = -*interval;
        }
    }
    m_pSeparator = FolderSeparator::create();
    m_pSeparator->separateItemsWithDelegate(std::move(folders), weak_from_this());
}

void FolderSeparatorForContainer::stop() {
    // The separator field is written on the separators' queue; read it there too.
    auto self = shared_from_this();
    FolderSeparator::workingQueue().async([self] {
        if (self->m_pSeparator)
            self->m_pSeparator->stop();
    });
}

void FolderSeparatorForContainer::onProcessedItemsCount(uint64_t count) {
    m_nCountOfCheckedItems = count;
    notifyListenerThatChangedCountOfCheckedFoldersForced(false);
}

void FolderSeparatorForContainer::notifyListenerThatChangedCountOfCheckedFoldersForced(
    bool forced) {
    if (!m_pListener || !m_pTimeBeforeUpdate)
        return;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - *m_pTimeBeforeUpdate)
            .count();
    if (forced || elapsed > -m_pUpdateTimeInterval)
        m_pListener->updateCountOfCheckedFolders(m_nCountOfCheckedItems);
}

void FolderSeparatorForContainer::processIndermediateItemsWithSameHash(
    const ItemsWithSameHash& items) {
    if (!m_pContainer)
        return;
    const auto& smallCategory = m_pContainer->getSmallDuplicatesCategory();
    if (!smallCategory)
        return;
    for (auto it = items.cbegin(); it != items.cend(); ++it) {
        if (it.value().size() < 2)
            continue;
        smallCategory->addGroupWithItems(
            QList<FileSystemItem*>(it.value().begin(), it.value().end()));
    }
}

void FolderSeparatorForContainer::onFinishSeparateFolderItems(
    const std::optional<FolderSets>& result, FolderSeparator* /*separator*/) {
    notifyListenerThatChangedCountOfCheckedFoldersForced(true);
    m_pSeparator.reset();
    const FolderSets sets = result.value_or(FolderSets{});
    if (m_pContainer) {
        for (const auto& set : sets) {
            if (set.empty())
                continue;
            m_pContainer->addGroupWithItems(QList<FileSystemItem*>(set.begin(), set.end()));
        }
    }
    std::shared_ptr<FolderSeparatorForContainerListener> listener = std::move(m_pListener);
    std::shared_ptr<DuplicatesContainer> container = std::move(m_pContainer);
    m_pListener.reset();
    m_pContainer.reset();
    if (listener)
        listener->onFinishFolderSeparator(this, sets, container);
}
