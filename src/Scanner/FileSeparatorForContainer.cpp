#include "Scanner/FileSeparatorForContainer.h"

#include "FileTree/FileSystemItem.h"
#include "FileTree/FileType.h"
#include "Platform/Dispatch.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Scanner/SameFileFilter.h"

void FileSeparatorForContainer::separateItemsToContainerWithListener(
    QList<FileSystemItem*> items, std::shared_ptr<DuplicatesContainer> container,
    std::shared_ptr<FileSeparatorForContainerListener> listener) {
    auto separator = FileSeparator::create();
    // The separator field is read by stop() on the digest queue: set it there.
    FileSeparator::workingQueue().async([self = shared_from_this(), separator,
                                         container = std::move(container),
                                         listener = std::move(listener)]() mutable {
        self->m_pContainer = std::move(container);
        self->m_pListener = std::move(listener);
        self->m_pSeparator = separator;
    });
    separator->separateItemsWithListener(std::move(items), shared_from_this());
}

void FileSeparatorForContainer::stop() {
    FileSeparator::workingQueue().async([self = shared_from_this()] {
        if (self->m_pSeparator)
            self->m_pSeparator->stop();
    });
}

void FileSeparatorForContainer::onFinishSeparateItemsByHash(ItemsByContentHash result) {
    m_pSeparator.reset();
    for (auto it = result.begin(); it != result.end(); ++it) {
        // Hard links and a file reached twice read alike but are one file: never copies.
        SameFileFilter::removeSameFiles(it.value());
        if (it.value().size() < 2 || !m_pContainer)
            continue;
        FileSystemItem* any = *it.value().cbegin();
        const auto category =
            m_pContainer->getCategoryWithType(FileType::typeOfFileAtPath(any->name()));
        if (category)
            category->addGroupWithItems(
                QList<FileSystemItem*>(it.value().begin(), it.value().end()));
    }
    std::shared_ptr<FileSeparatorForContainerListener> listener = std::move(m_pListener);
    std::shared_ptr<DuplicatesContainer> container = std::move(m_pContainer);
    m_pListener.reset();
    m_pContainer.reset();
    if (listener)
        listener->onFinishFileSeparator(this, result, container);
}
