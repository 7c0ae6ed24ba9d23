#include "DuplicatesContainer.h"

#include "DuplicateItem.h"
#include "DuplicatesCategory.h"
#include "DuplicatesGroup.h"
#include "DuplicatesHeaps.h"

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
    for (const auto& category : m_arrCategories) {
        for (const auto& group : category->getGroups()) {
            for (const auto& item : group->getSelectedItems()) {
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

void DuplicatesContainer::validateEmptyDataAfterRemoveWithListener(
    HeapsValidateProgressListener* listener) {
    removeDuplicatesGroupsThatFullyInDuplicatesFoldersOrReturnItBack();
    if (m_pHeaps) {
        m_pHeaps->validateEmptyDataAfterRemoveWithListener(listener);
    }
    Dispatch::mainQueue().async(
        [] { AppNotification::CreateDuplicatesContainerDataChangedNotification(); });
}

int DuplicatesContainer::removeEmptyGroupsFromCategoryWithType(int type) {
    return removeEmptyGroupsFromCategory(getCategoryWithType(type));
}

int DuplicatesContainer::removeEmptyGroupsFromCategory(
    const std::shared_ptr<DuplicatesCategory>& category) {
    return category ? category->removeEmptyGroups() : 0;
}

void DuplicatesContainer::removeEmptyGroupsPasses() {
    // Removing a folder group can leave groups of the folders around it empty, so the folders
    // category is passed over until nothing changes.
    while (removeEmptyGroupsFromCategoryWithType(kFoldersType) > 0) {
    }
    for (int type = 0; type < kFoldersType; ++type) {
        removeEmptyGroupsFromCategoryWithType(type);
    }
    removeEmptyGroupsFromCategory(m_pHiddenCategoryOfDuplicates);
}

void DuplicatesContainer::removeDuplicatesGroupsThatFullyInDuplicatesFoldersOrReturnItBack() {
    const auto keepSelf = shared_from_this();
    removeEmptyGroupsPasses();
    restoreDuplicatesGroupsThatNotFullyInDuplicatesFolders(
        m_pHiddenCategoryOfDuplicates->getGroups());
    removeDuplicatesGroupsThatFullyInDuplicatesFolders(m_arrAllFilesGroups.items());
}

void DuplicatesContainer::restoreDuplicatesGroupsThatNotFullyInDuplicatesFolders(
    const std::vector<std::shared_ptr<DuplicatesGroup>>& groups) {
    for (const auto& group : groups) {
        if (group->isFullyInDuplicatesFolders() || group->getTotalCount() == 0) {
            continue;
        }
        const int type = group->getFirstItem()->getTypeUsingFileSystemItem();
        if (const auto category = getCategoryWithType(type)) {
            group->moveToCategory(category);
        }
    }
}

void DuplicatesContainer::removeDuplicatesGroupsThatFullyInDuplicatesFolders(
    const std::vector<std::shared_ptr<DuplicatesGroup>>& groups) {
    // A snapshot: each move changes the list.
    const std::vector<std::shared_ptr<DuplicatesGroup>> snapshot = groups;
    for (auto group = snapshot.rbegin(); group != snapshot.rend(); ++group) {
        if ((*group)->isFullyInDuplicatesFolders()) {
            (*group)->moveToCategory(m_pHiddenCategoryOfDuplicates);
        }
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
