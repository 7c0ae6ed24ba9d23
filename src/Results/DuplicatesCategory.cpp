#include "DuplicatesCategory.h"

#include "DuplicatesCategoryListener.h"
#include "DuplicatesGroup.h"

#include <limits>

namespace {

// Adds `sign` times `value` to `total`, saturating instead of wrapping, and holds the
// total at 0 from below.
void addClamped(int64_t& total, uint64_t value, int sign) {
    constexpr auto kMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    const auto amount = static_cast<int64_t>(value > kMax ? kMax : value);
    if (sign > 0) {
        total = total > std::numeric_limits<int64_t>::max() - amount
                    ? std::numeric_limits<int64_t>::max()
                    : total + amount;
    } else {
        total = total < amount ? 0 : total - amount;
    }
    if (total < 0) {
        total = 0;
    }
}

} // namespace

std::shared_ptr<DuplicatesCategory>
DuplicatesCategory::create(int type, std::weak_ptr<DuplicatesCategoryListener> listener) {
    return std::make_shared<DuplicatesCategory>(type, std::move(listener));
}

DuplicatesCategory::DuplicatesCategory(int type, std::weak_ptr<DuplicatesCategoryListener> listener)
    : m_eType(type), m_pListener(std::move(listener)) {}

std::shared_ptr<DuplicatesContainer> DuplicatesCategory::getContainer() const {
    const auto listener = m_pListener.lock();
    return listener ? listener->getContainer() : nullptr;
}

std::shared_ptr<DuplicatesGroup>
DuplicatesCategory::addGroupWithItems(const QList<FileSystemItem*>& items) {
    if (items.size() < 2) {
        return nullptr;
    }
    const auto self = shared_from_this();
    auto group = DuplicatesGroup::create(items, self);
    m_arrGroups.add(group);
    // The group builds its copies and reports its totals to this category; it may move on
    // to the hidden category at once.
    group->onGroupAddedToCategory(group, self);
    if (const auto listener = m_pListener.lock(); listener && group->getCategory() == self) {
        listener->onGroupAddedToCategory(group, self);
    }
    return group;
}

void DuplicatesCategory::removeGroup(const std::shared_ptr<DuplicatesGroup>& group) {
    if (!group || !m_arrGroups.contains(group.get())) {
        return;
    }
    const auto self = shared_from_this();
    const auto keepGroup = group;
    const auto listener = m_pListener.lock();
    if (listener) {
        listener->onGroupWillRemovedFromCategory(keepGroup, self);
    }
    keepGroup->onGroupWillRemovedFromCategory(keepGroup, self);
    m_arrGroups.remove(keepGroup.get());
    // The group still reports to this category while it lets its copies go, so the totals
    // lose its share.
    keepGroup->onGroupDidRemovedFromCategory(keepGroup, self);
    if (listener) {
        listener->onGroupDidRemovedFromCategory(keepGroup, self);
    }
}

std::vector<std::shared_ptr<DuplicatesGroup>> DuplicatesCategory::getGroups() const {
    return m_arrGroups.items();
}

int DuplicatesCategory::removeEmptyGroups() {
    int removed = 0;
    for (const auto& group : getGroups()) {
        if (group->getTotalCount() < 2) {
            removeGroup(group);
            ++removed;
        }
    }
    return removed;
}

void DuplicatesCategory::removeAllGroups() {
    for (const auto& group : getGroups()) {
        removeGroup(group);
    }
}

void DuplicatesCategory::onGroupWillChange(DuplicatesGroup* group) {
    if (group) {
        applyGroupValues(*group, -1);
    }
}

void DuplicatesCategory::onGroupDidChanged(DuplicatesGroup* group) {
    if (group) {
        applyGroupValues(*group, +1);
    }
}

void DuplicatesCategory::applyGroupValues(const DuplicatesGroup& group, int sign) {
    addClamped(m_nTotalSize, group.getTotalSize(), sign);
    addClamped(m_nSelectedSize, group.getSelectedSize(), sign);
    addClamped(m_nSizeThatCanBeRemoved, group.getSizeThatCanBeRemoved(), sign);
    addClamped(m_nTotalGreenSize, group.getGreenSize(), sign);
    addClamped(m_nTotalBlueSize, group.getBlueSize(), sign);
    addClamped(m_nTotalRedSize, group.getRedSize(), sign);
    addClamped(m_nTotalCount, group.getTotalCount(), sign);
    addClamped(m_nActualSelectedCount, group.getActualSelectedCount(), sign);
    addClamped(m_nSelectedCountWithDuplicatesFolderContent,
               group.getSelectedCountWithDuplicatesFolderContent(), sign);
}
