#pragma once

#include "Walker/FileSeparator.h"

#include <memory>

class DuplicatesContainer;
class FileSeparatorForContainer;

// Told once by a FileSeparatorForContainer, on the digest separators' queue (adopted by the
// scan controller for its small-items pass).
class FileSeparatorForContainerListener {
public:
    virtual ~FileSeparatorForContainerListener() = default;
    // The whole digest result (single files included; empty after a stop), whose sets of two
    // or more are already groups of `container`.
    virtual void onFinishFileSeparator(FileSeparatorForContainer* separator,
                                       const ItemsByContentHash& result,
                                       const std::shared_ptr<DuplicatesContainer>& container) = 0;
};

// Splits one set of files by content and puts every set of equal content into the result
// container, in the category of its type. Holds its listener and the container until it has
// reported once. Works on the digest separators' queue.
class FileSeparatorForContainer final
    : public FileSeparatorListener,
      public std::enable_shared_from_this<FileSeparatorForContainer> {
public:
    FileSeparatorForContainer() = default;
    FileSeparatorForContainer(const FileSeparatorForContainer&) = delete;
    FileSeparatorForContainer& operator=(const FileSeparatorForContainer&) = delete;

    void separateItemsToContainerWithListener(
        QList<FileSystemItem*> items, std::shared_ptr<DuplicatesContainer> container,
        std::shared_ptr<FileSeparatorForContainerListener> listener);
    // Stops the running digest separation, which then reports an empty result. Any thread.
    void stop();

    void onFinishSeparateItemsByHash(ItemsByContentHash result) override;

private:
    std::shared_ptr<FileSeparatorForContainerListener> m_pListener;
    std::shared_ptr<DuplicatesContainer> m_pContainer;
    std::shared_ptr<FileSeparator> m_pSeparator;
};
