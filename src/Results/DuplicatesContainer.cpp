#include "DuplicatesContainer.h"

#include "DuplicateItem.h"
#include "DuplicatesCategory.h"
#include "DuplicatesGroup.h"
#include "DuplicatesHeaps.h"
#include "HeapsGroup.h"

#include "Categories/AppNotification.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FileType.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "Platform/Dispatch.h"
#include "Walker/ExcludeChecker.h"

#include <algorithm>

namespace {

constexpr int kTypedCategories = 7;
constexpr int kFoldersType = DuplicatesCategoryTypeFolder;

QByteArray withFinalSlash(QByteArray path) {
    if (!path.endsWith('/')) {
        path.append('/');
    }
    return path;
}

} // namespace

std::shared_ptr<DuplicatesContainer> DuplicatesContainer::create(bool withHeaps) {
    auto container = std::make_shared<DuplicatesContainer>(withHeaps);
    // The typed categories listen to the container weakly, so they are made once the
    // container is owned.
    const std::weak_ptr<DuplicatesCategoryListener> listener = container;
    for (int type = 0; type < kTypedCategories; ++type) {
        container->m_arrCategories[std::size_t(type)] = DuplicatesCategory::create(type, listener);
    }
    container->m_arrCategories[kTypedCategories] = container->m_pHiddenCategoryOfDuplicates;
    container->m_pSmallDuplicatesCategory->setSmallDuplicatesCategory(true);
    return container;
}

DuplicatesContainer::DuplicatesContainer(bool withHeaps)
    : m_pHiddenCategoryOfDuplicates(DuplicatesCategory::create(-1)),
      m_pSmallDuplicatesCategory(DuplicatesCategory::create(-1)),
      m_pExcludeChecker(std::make_shared<ExcludeChecker>()), m_bWithHeaps(withHeaps) {
    if (withHeaps) {
        m_pHeaps = std::make_shared<DuplicatesHeaps>();
    }
}

DuplicatesContainer::~DuplicatesContainer() = default;

void DuplicatesContainer::saveRoots(const QList<FileSystemItem*>& roots) {
    std::vector<std::shared_ptr<ScanTree>> trees;
    for (FileSystemItem* root : roots) {
        if (!root) {
            continue;
        }
        auto tree = root->tree();
        if (std::find(trees.begin(), trees.end(), tree) == trees.end()) {
            trees.push_back(std::move(tree));
        }
    }
    m_arrRoots = roots;
    m_arrRoots.removeAll(nullptr);
    m_rootTrees = std::move(trees);
}

QList<FileSystemItem*> DuplicatesContainer::findSystemItemWithPath(const QByteArray& path) const {
    QList<FileSystemItem*> found;
    const QByteArray wanted = withFinalSlash(path);
    for (FileSystemItem* root : m_arrRoots) {
        const QByteArray rootPath = withFinalSlash(root->path());
        if (rootPath.startsWith(wanted)) {
            // The root lies at or under the path.
            found.append(root);
            continue;
        }
        if (wanted.startsWith(rootPath) && wanted.size() >= rootPath.size() + 2) {
            // The path lies inside this root: walk down one component at a time.
            const QByteArray inside =
                wanted.mid(rootPath.size(), wanted.size() - rootPath.size() - 1);
            FileSystemItem* node = root;
            for (const QByteArray& component : inside.split('/')) {
                if (component.isEmpty()) {
                    continue;
                }
                node = node->childWithName(component);
                if (!node) {
                    break;
                }
            }
            if (node) {
                found.append(node);
            }
            return found;
        }
    }
    return found;
}

std::shared_ptr<DuplicatesGroup>
DuplicatesContainer::addGroupWithItems(const QList<FileSystemItem*>& items) {
    if (items.size() < 2 || !items.front()) {
        return nullptr;
    }
    FileSystemItem* first = items.front();
    const int type = first->isDir() && !first->isPackage()
                         ? kFoldersType
                         : int(FileType::typeOfFileAtPath(first->name()));
    const auto category = getCategoryWithType(type);
    return category ? category->addGroupWithItems(items) : nullptr;
}

std::shared_ptr<DuplicatesCategory> DuplicatesContainer::getCategoryWithType(int type) const {
    if (type < 0 || type >= kTypedCategories) {
        return nullptr;
    }
    return m_arrCategories[std::size_t(type)];
}

uint64_t DuplicatesContainer::getAllFilesSize() const {
    uint64_t total = 0;
    for (int type = 0; type < kTypedCategories; ++type) {
        total += m_arrCategories[std::size_t(type)]->getTotalSize();
    }
    return total;
}

std::vector<std::shared_ptr<DuplicateItem>> DuplicatesContainer::buildRemoveList() const {
    std::vector<std::shared_ptr<DuplicateItem>> list;
    list.reserve(getItemsCountInRemoveList());
    for (const auto& category : m_arrCategories) {
        for (const auto& group : category->groupsView()) {
            for (const auto& item : group->selectedItemsView()) {
                // A selected duplicate folder takes the copies inside it along.
                if (!item->hasAssociatedDuplicateFolder()) {
                    list.push_back(item);
                }
            }
        }
    }
    return list;
}

uint64_t DuplicatesContainer::getItemsCountInRemoveList() const {
    uint64_t count = 0;
    for (int type = 0; type < kTypedCategories; ++type) {
        count += m_arrCategories[std::size_t(type)]->getCountOfActualSelectedItems();
    }
    return count;
}

uint64_t DuplicatesContainer::getRemoveListTotalSize() const {
    uint64_t size = 0;
    for (int type = 0; type < kTypedCategories; ++type) {
        size += m_arrCategories[std::size_t(type)]->getTotalSelectedSize();
    }
    return size;
}

void DuplicatesContainer::removeDuplicateItemsFromLogicalStructure(
    const std::vector<std::shared_ptr<DuplicateItem>>& items) {
    for (const auto& item : items) {
        if (!item) {
            continue;
        }
        // Noted first: leaving the group detaches both from the copy.
        FileSystemItem* node = item->getFileSystemItem();
        const auto tree = node ? node->tree() : nullptr;
        if (const auto group = item->getGroup()) {
            group->removeDuplicateItemFromLogicalStructure(item.get());
        }
        if (node && node->parent()) {
            node->parent()->removeChildAndRecalc(node);
        }
    }
}

// The clean-up walks snapshots of the groups a few hundred at a time. In steps, the model
// may change between two calls (an exclusion, a selection): a group that has left the
// category or list a snapshot was taken from is passed over.
class DuplicatesContainer::Cleanup {
public:
    Cleanup(std::shared_ptr<DuplicatesContainer> container, bool complete,
            HeapsValidateProgressListener* listener)
        : m_container(std::move(container)), m_complete(complete), m_listener(listener) {}

    // False once everything is done.
    bool step() {
        switch (m_phase) {
        case Phase::FolderPasses:
            // Removing a folder group can leave groups of the folders around it empty, so
            // the folders category is passed over until a pass removes nothing.
            if (removeEmptyGroups(m_container->getCategoryWithType(kFoldersType)))
                return true;
            if (m_removedInPass > 0) {
                m_removedInPass = 0;
                return true;
            }
            m_phase = Phase::OtherGroups;
            return true;
        case Phase::OtherGroups: {
            const auto category = m_type < kFoldersType
                                      ? m_container->getCategoryWithType(m_type)
                                      : m_container->m_pHiddenCategoryOfDuplicates;
            if (removeEmptyGroups(category))
                return true;
            if (++m_type > kFoldersType)
                m_phase = Phase::Restore;
            return true;
        }
        case Phase::Restore:
            if (walk([this] { return m_container->m_pHiddenCategoryOfDuplicates->getGroups(); },
                     false,
                     [this](const std::shared_ptr<DuplicatesGroup>& group) {
                         if (m_container->m_pHiddenCategoryOfDuplicates->containsGroup(group.get()))
                             m_container->restoreGroupIfNotFullyInDuplicatesFolders(group);
                     }))
                return true;
            m_phase = Phase::Hide;
            return true;
        case Phase::Hide:
            // Last joined first, as each move changes the list.
            if (walk([this] { return m_container->m_arrAllFilesGroups.items(); }, true,
                     [this](const std::shared_ptr<DuplicatesGroup>& group) {
                         if (m_container->m_arrAllFilesGroups.contains(group.get()))
                             m_container->hideGroupIfFullyInDuplicatesFolders(group);
                     }))
                return true;
            m_phase = m_complete ? Phase::Heaps : Phase::Done;
            return m_complete;
        case Phase::Heaps:
            if (m_container->m_pHeaps)
                m_container->m_pHeaps->validateEmptyDataAfterRemoveWithListener(m_listener,
                                                                                &m_retired);
            Dispatch::mainQueue().async(
                [] { AppNotification::CreateDuplicatesContainerDataChangedNotification(); });
            m_phase = Phase::Retired;
            return !m_retired.empty();
        case Phase::Retired:
            // The replaced heaps, a few at a time, last first.
            for (std::size_t n = 0; n < kRetiredPerStep && !m_retired.empty(); ++n)
                m_retired.pop_back();
            if (!m_retired.empty())
                return true;
            m_phase = Phase::Done;
            return false;
        case Phase::Done:
            return false;
        }
        return false;
    }

private:
    enum class Phase { FolderPasses, OtherGroups, Restore, Hide, Heaps, Retired, Done };
    static constexpr std::size_t kGroupsPerStep = 128;
    static constexpr std::size_t kRetiredPerStep = 4;

    // Walks a snapshot of what `groups` gives at the first call, kGroupsPerStep at a time;
    // answers true while some are left.
    template <typename Groups, typename Visit>
    bool walk(Groups groups, bool backwards, Visit visit) {
        if (!m_walking) {
            m_snapshot = groups();
            if (backwards)
                std::reverse(m_snapshot.begin(), m_snapshot.end());
            m_next = 0;
            m_walking = true;
        }
        const std::size_t end = std::min(m_snapshot.size(), m_next + kGroupsPerStep);
        for (; m_next < end; ++m_next) {
            visit(m_snapshot[m_next]);
            // The snapshot may hold the last hold on a group it took out: let it go within
            // this step, not a hundred thousand at the end of the walk.
            m_snapshot[m_next].reset();
        }
        if (m_next < m_snapshot.size())
            return true;
        m_walking = false;
        m_snapshot.clear();
        return false;
    }

    bool removeEmptyGroups(const std::shared_ptr<DuplicatesCategory>& category) {
        if (!category)
            return false;
        return walk([&category] { return category->getGroups(); }, false,
                    [this, &category](const std::shared_ptr<DuplicatesGroup>& group) {
                        if (group->getTotalCount() < 2 && category->containsGroup(group.get())) {
                            category->removeGroup(group);
                            ++m_removedInPass;
                        }
                    });
    }

    std::shared_ptr<DuplicatesContainer> m_container;
    bool m_complete;
    HeapsValidateProgressListener* m_listener;
    Phase m_phase = Phase::FolderPasses;
    int m_type = 0;
    int m_removedInPass = 0;
    std::vector<std::shared_ptr<DuplicatesGroup>> m_snapshot;
    std::vector<std::shared_ptr<HeapsGroup>> m_retired;
    std::size_t m_next = 0;
    bool m_walking = false;
};

void DuplicatesContainer::validateEmptyDataAfterRemoveWithListener(
    HeapsValidateProgressListener* listener) {
    Cleanup cleanup(shared_from_this(), true, listener);
    while (cleanup.step()) {
    }
}

std::function<bool()>
DuplicatesContainer::validateEmptyDataAfterRemoveInSteps(HeapsValidateProgressListener* listener) {
    auto cleanup = std::make_shared<Cleanup>(shared_from_this(), true, listener);
    return [cleanup] { return cleanup->step(); };
}

int DuplicatesContainer::removeEmptyGroupsFromCategoryWithType(int type) {
    return removeEmptyGroupsFromCategory(getCategoryWithType(type));
}

int DuplicatesContainer::removeEmptyGroupsFromCategory(
    const std::shared_ptr<DuplicatesCategory>& category) {
    return category ? category->removeEmptyGroups() : 0;
}

void DuplicatesContainer::removeDuplicatesGroupsThatFullyInDuplicatesFoldersOrReturnItBack() {
    Cleanup cleanup(shared_from_this(), false, nullptr);
    while (cleanup.step()) {
    }
}

void DuplicatesContainer::restoreDuplicatesGroupsThatNotFullyInDuplicatesFolders(
    const std::vector<std::shared_ptr<DuplicatesGroup>>& groups) {
    for (const auto& group : groups) {
        restoreGroupIfNotFullyInDuplicatesFolders(group);
    }
}

void DuplicatesContainer::removeDuplicatesGroupsThatFullyInDuplicatesFolders(
    const std::vector<std::shared_ptr<DuplicatesGroup>>& groups) {
    // A snapshot: each move changes the list.
    const std::vector<std::shared_ptr<DuplicatesGroup>> snapshot = groups;
    for (auto group = snapshot.rbegin(); group != snapshot.rend(); ++group) {
        hideGroupIfFullyInDuplicatesFolders(*group);
    }
}

void DuplicatesContainer::restoreGroupIfNotFullyInDuplicatesFolders(
    const std::shared_ptr<DuplicatesGroup>& group) {
    if (group->isFullyInDuplicatesFolders() || group->getTotalCount() == 0) {
        return;
    }
    const int type = group->getFirstItem()->getTypeUsingFileSystemItem();
    if (const auto category = getCategoryWithType(type)) {
        group->moveToCategory(category);
    }
}

void DuplicatesContainer::hideGroupIfFullyInDuplicatesFolders(
    const std::shared_ptr<DuplicatesGroup>& group) {
    if (group->isFullyInDuplicatesFolders()) {
        group->moveToCategory(m_pHiddenCategoryOfDuplicates);
    }
}

std::shared_ptr<DuplicatesContainer> DuplicatesContainer::getContainer() const {
    return std::const_pointer_cast<DuplicatesContainer>(shared_from_this());
}

void DuplicatesContainer::onGroupAddedToCategory(const std::shared_ptr<DuplicatesGroup>& group,
                                                 const std::shared_ptr<DuplicatesCategory>&) {
    m_arrAllFilesGroups.add(group);
    if (m_pHeaps) {
        m_pHeaps->addGroup(group);
    }
}

void DuplicatesContainer::onGroupWillRemovedFromCategory(
    const std::shared_ptr<DuplicatesGroup>& group, const std::shared_ptr<DuplicatesCategory>&) {
    if (m_pHeaps) {
        m_pHeaps->removeGroup(group);
    }
}

void DuplicatesContainer::onGroupDidRemovedFromCategory(
    const std::shared_ptr<DuplicatesGroup>& group, const std::shared_ptr<DuplicatesCategory>&) {
    m_arrAllFilesGroups.remove(group.get());
}
