#include "CategoryStateManager.h"

#include "Results/DuplicateItem.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesGroup.h"

CategoryStateManager& CategoryStateManager::sharedManager() {
    static CategoryStateManager manager;
    return manager;
}

CategoryStateManager::Items CategoryStateManager::getItemsForType(int type) const {
    Items items;
    auto it = m_allCategories.find(type);
    if (it == m_allCategories.end())
        return items;
    auto group = it->second.group.lock();
    // A group that lost its category or its copies is gone from the result.
    if (group && group->getCategory() && group->getTotalCount() > 0)
        items.group = group;
    auto item = it->second.fileItem.lock();
    if (item) {
        auto itemGroup = item->getGroup();
        if (itemGroup && itemGroup->isHasItem(item.get()))
            items.fileItem = item;
    }
    return items;
}

void CategoryStateManager::setDuplicateGroupForType(const std::shared_ptr<DuplicatesGroup>& group,
                                                    int type) {
    if (!group)
        return;
    Entry& entry = m_allCategories[type];
    if (entry.group.lock() != group)
        entry.fileItem.reset();
    entry.group = group;
}

void CategoryStateManager::setFileItemForType(const std::shared_ptr<DuplicateItem>& item,
                                              int type) {
    if (!item)
        return;
    m_allCategories[type].fileItem = item;
}
