#pragma once

#include <memory>

class DuplicatesCategory;
class DuplicatesContainer;
class DuplicatesGroup;

// Told by a category about the groups it adds and removes. The container listens to its
// seven typed categories (to keep its list of all groups); a group hears the same calls
// about itself from the category that holds it.
class DuplicatesCategoryListener {
public:
    virtual ~DuplicatesCategoryListener() = default;

    // The container the listener belongs to; null when there is none.
    virtual std::shared_ptr<DuplicatesContainer> getContainer() const = 0;

    virtual void onGroupAddedToCategory(const std::shared_ptr<DuplicatesGroup>& group,
                                        const std::shared_ptr<DuplicatesCategory>& category) = 0;
    virtual void
    onGroupWillRemovedFromCategory(const std::shared_ptr<DuplicatesGroup>& group,
                                   const std::shared_ptr<DuplicatesCategory>& category) = 0;
    virtual void
    onGroupDidRemovedFromCategory(const std::shared_ptr<DuplicatesGroup>& group,
                                  const std::shared_ptr<DuplicatesCategory>& category) = 0;
};
