#include "Results/DuplicatesHeaps.h"

#include "FileTree/FileType.h"
#include "FileTree/FolderSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeap.h"
#include "Results/HeapsFolderData.h"
#include "Results/HeapsGroup.h"
#include "Results/HeapsValidateProgressListener.h"
#include "Walker/ExcludeChecker.h"

#include <unordered_set>

namespace {

constexpr auto kNotificationInterval = std::chrono::milliseconds(500);

QString fileKey(const FileSystemItem* node) {
    return QStringLiteral("%1_%2")
        .arg(node->logicalSize())
        .arg(FileType::pathExtension(QString::fromUtf8(node->nameView())));
}

QString folderKey(const FileSystemItem* node) {
    return QStringLiteral("%1_%2").arg(node->logicalSize()).arg(node->getCountOfDeepChildren());
}

// The checked mark keeps a node out of later grouping passes. A node that carries a copy of
// a real group must keep it, or a later pass could put it into a second group.
void clearCheckedMarkUnlessCopy(FileSystemItem* node) {
    if (!node->getDuplicateItem())
        node->setIsCheckedForDuplicates(false);
}

} // namespace

// The participating copies outside duplicate folders, by group. A group all of whose copies
// take part keeps no list: its own colour totals serve.
struct DuplicatesHeaps::Participation {
    struct Group {
        std::shared_ptr<DuplicatesGroup> group;
        std::vector<const DuplicateItem*> copies;
        bool whole = false;
        // A wholly participating group's bar sizes as of its change stamp `seen`: a
        // selection batch then reads again only the groups it changed. The group object
        // must still be visited for its stamp, but its content and selection are not.
        mutable bool cached = false;
        mutable uint64_t seen = 0;
        mutable uint64_t green = 0, blue = 0, red = 0;
    };
    std::vector<Group> groups;
    uint64_t totalSize = 0;
    uint64_t contentGeneration = 0;
};

DuplicatesHeaps::DuplicatesHeaps() = default;
DuplicatesHeaps::~DuplicatesHeaps() = default;

std::vector<QByteArray> DuplicatesHeaps::getAllFoldersOfGroup(const DuplicatesGroup& group) {
    std::vector<QByteArray> paths;
    std::unordered_set<QByteArray> seen;
    for (const auto& copy : group.getItems()) {
        const QByteArray& path = copy->getParentFolderItemPath();
        if (seen.insert(path).second)
            paths.push_back(path);
    }
    return paths;
}

void DuplicatesHeaps::updateDataOfFolders(const std::vector<QByteArray>& paths) {
    for (const QByteArray& path : paths) {
        const auto found = m_arrFoldersData.find(path);
        if (found != m_arrFoldersData.end())
            found->second->updateData();
    }
}

void DuplicatesHeaps::addGroup(const std::shared_ptr<DuplicatesGroup>& group) {
    if (!group)
        return;
    for (const auto& copy : group->getItems()) {
        const QByteArray& path = copy->getParentFolderItemPath();
        std::shared_ptr<HeapsFolderData>& folder = m_arrFoldersData[path];
        if (!folder) {
            FileSystemItem* node = copy->getFileSystemItem();
            folder = std::make_shared<HeapsFolderData>(node ? node->parent() : nullptr);
        }
        OrderedSet<DuplicatesGroup>& groups = m_arrFoldersIntersections[folder->getID()];
        groups.add(group);
        if (groups.size() >= 2)
            m_nPossibleHeapsSize += copy->getFileItemSize();
        // Only this group's copies are new in the folder: take them in directly. Reading
        // every child again for every group that joins would be quadratic in a folder with
        // many files and many groups; every folder is read whole again when validated.
        folder->addDuplicateItem(copy);
    }
    m_bNeedRecalculateTotalHeapsSize = true;
    forgetParticipation();
}

void DuplicatesHeaps::removeGroup(const std::shared_ptr<DuplicatesGroup>& group) {
    if (!group)
        return;
    // The group still holds its copies here: each of its folders lets go of them and of the
    // group now. Reading every child of those folders again instead would make a clean-up
    // that takes out many groups of one large folder quadratic, and would keep the group
    // alive in the folders' intersections until the next validation.
    for (const QByteArray& path : getAllFoldersOfGroup(*group)) {
        if (HeapsFolderData* folder = folderDataWithPath(path)) {
            folder->removeGroup(*group);
            forgetIntersection(*folder, *group);
        }
    }
    m_bNeedRecalculateTotalHeapsSize = true;
    forgetParticipation();
}

void DuplicatesHeaps::copyWillLeaveGroup(const DuplicateItem& copy, const DuplicatesGroup& group) {
    const QByteArray& path = copy.getParentFolderItemPath();
    HeapsFolderData* folder = folderDataWithPath(path);
    if (!folder)
        return;
    const auto& copies = group.itemsView();
    const bool last = std::none_of(copies.begin(), copies.end(), [&](const auto& other) {
        return other && other.get() != &copy && other->parentFolderPathView() == path;
    });
    folder->removeDuplicateItem(copy, group, last);
    if (last)
        forgetIntersection(*folder, group);
    m_bNeedRecalculateTotalHeapsSize = true;
    forgetParticipation();
}

HeapsFolderData* DuplicatesHeaps::folderDataWithPath(const QByteArray& path) const {
    auto found = m_arrFoldersData.find(path);
    if (found != m_arrFoldersData.end())
        return found->second.get();
    found = m_arrHiddenFoldersData.find(path);
    return found != m_arrHiddenFoldersData.end() ? found->second.get() : nullptr;
}

void DuplicatesHeaps::forgetIntersection(const HeapsFolderData& folder,
                                         const DuplicatesGroup& group) {
    const auto groups = m_arrFoldersIntersections.find(folder.getID());
    if (groups != m_arrFoldersIntersections.end())
        groups->second.remove(&group);
}

std::vector<QByteArray>
DuplicatesHeaps::getPossibleHeapsIntersectionPathsForFolder(const HeapsFolderData& folder) const {
    std::vector<QByteArray> paths;
    const auto found = m_arrFoldersIntersections.find(folder.getID());
    if (found == m_arrFoldersIntersections.end())
        return paths;
    std::unordered_set<QByteArray> seen;
    for (const auto& group : found->second.items()) {
        if (!group->getCategory())
            continue;
        for (const auto& copy : group->getItems()) {
            const QByteArray& path = copy->getParentFolderItemPath();
            if (seen.insert(path).second)
                paths.push_back(path);
        }
    }
    return paths;
}

std::shared_ptr<HeapsGroup>
DuplicatesHeaps::createHeapsGroupOfFolder(const std::shared_ptr<HeapsFolderData>& folder) {
    auto heapsGroup = std::make_shared<HeapsGroup>(folder);
    if (m_arrHeapsGroups) {
        const auto earlier = m_arrHeapsGroups->find(folder->getID());
        if (earlier != m_arrHeapsGroups->end() &&
            earlier->second->isCanBeUsedForFastRecalculation()) {
            heapsGroup->fastRecalculateGroup(*earlier->second);
            return heapsGroup;
        }
    }
    for (const QByteArray& path : getPossibleHeapsIntersectionPathsForFolder(*folder)) {
        const auto partner = m_arrFoldersData.find(path);
        if (partner == m_arrFoldersData.end())
            continue;
        heapsGroup->addHeap(DuplicatesHeap::buildHeapWithFolder(folder, partner->second));
    }
    return heapsGroup;
}

std::vector<QByteArray> DuplicatesHeaps::allPaths() const {
    std::vector<QByteArray> paths;
    paths.reserve(m_arrFoldersData.size());
    for (const auto& [path, folder] : m_arrFoldersData)
        paths.push_back(path);
    return paths;
}

void DuplicatesHeaps::removeFolderDataWithPath(const QByteArray& path) {
    const auto found = m_arrFoldersData.find(path);
    if (found == m_arrFoldersData.end())
        return;
    m_arrFoldersIntersections.erase(found->second->getID());
    m_arrFoldersData.erase(found);
}

void DuplicatesHeaps::moveToHiddenFolderDataWithPath(const QByteArray& path) {
    const auto found = m_arrFoldersData.find(path);
    if (found == m_arrFoldersData.end())
        return;
    m_arrHiddenFoldersData[path] = found->second;
    m_arrFoldersData.erase(found);
}

void DuplicatesHeaps::restoreAllHiddenFolderDatas() {
    for (auto& [path, folder] : m_arrHiddenFoldersData)
        m_arrFoldersData[path] = folder;
    m_arrHiddenFoldersData.clear();
}

void DuplicatesHeaps::removeNotValidPathsWithListener(HeapsValidateProgressListener* listener) {
    for (const QByteArray& path : allPaths()) {
        const std::shared_ptr<HeapsFolderData> folder = m_arrFoldersData[path];
        const auto groups = m_arrFoldersIntersections.find(folder->getID());
        if (groups == m_arrFoldersIntersections.end() || groups->second.size() < 2)
            removeFolderDataWithPath(path);
        if (listener)
            listener->onHeapsCheckedFolders(1);
    }
}

void DuplicatesHeaps::validateEmptyDataAfterRemoveWithListener(
    HeapsValidateProgressListener* listener, std::vector<std::shared_ptr<HeapsGroup>>* retired) {
    removeNotValidPathsWithListener(listener);
    restoreAllHiddenFolderDatas();
    const std::vector<QByteArray> paths = allPaths();
    updateDataOfFolders(paths);
    m_bNeedRecalculateTotalHeapsSize = true;
    forgetParticipation();

    std::unordered_map<uint64_t, std::shared_ptr<HeapsGroup>> heapsGroups;
    const float count = float(paths.size());
    float index = 0;
    uint64_t runningSize = 0;
    for (const QByteArray& path : paths) {
        if (listener && listener->isHeapsValidationCanceled())
            break;
        index += 1;
        const auto found = m_arrFoldersData.find(path);
        if (found != m_arrFoldersData.end()) {
            const std::shared_ptr<HeapsFolderData> folder = found->second;
            const std::shared_ptr<HeapsGroup> heapsGroup = createHeapsGroupOfFolder(folder);
            for (const auto& copy :
                 heapsGroup->getItemsInMainFolderThatParticipateInHeaps().items()) {
                if (!copy->hasAssociatedDuplicateFolder())
                    runningSize += copy->getFileItemSize();
            }
            if (runningSize != 0)
                notifyListener(listener, runningSize, index / count * 0.5f + 0.5f, false);
            if (heapsGroup->isCanBeUsedForFastRecalculation())
                heapsGroups.emplace(folder->getID(), heapsGroup);
        }
        if (listener)
            listener->onHeapsCheckedFolders(1);
    }
    if (retired && m_arrHeapsGroups) {
        for (auto& [id, earlier] : *m_arrHeapsGroups)
            retired->push_back(std::move(earlier));
    }
    m_arrHeapsGroups = std::move(heapsGroups);

    for (const QByteArray& path : allPaths()) {
        const std::shared_ptr<HeapsFolderData> folder = m_arrFoldersData[path];
        const auto heapsGroup = m_arrHeapsGroups->find(folder->getID());
        if (heapsGroup == m_arrHeapsGroups->end())
            removeFolderDataWithPath(path);
        else if (heapsGroup->second->getCountOfHeapsInGroup() == 0)
            moveToHiddenFolderDataWithPath(path);
    }
    m_bNeedRecalculateTotalHeapsSize = true;
    forgetParticipation();
    // Gathered here, on the validating thread, so that the first look at the totals from
    // the interface finds them ready.
    recalculateHeapsInfo();
    notifyListener(listener, runningSize, 1.0f, true);
}

void DuplicatesHeaps::notifyListener(HeapsValidateProgressListener* listener, uint64_t size,
                                     float progress, bool forced) {
    if (!listener)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (!forced && m_pLastNotificationDate &&
        now - *m_pLastNotificationDate <= kNotificationInterval)
        return;
    m_pLastNotificationDate = now;
    listener->onHeapsSizeChanged(size, progress);
}

void DuplicatesHeaps::forEachParticipatingCopy(
    const std::function<void(const std::shared_ptr<DuplicateItem>&)>& visit) const {
    if (!m_arrHeapsGroups)
        return;
    for (const auto& [path, folder] : m_arrFoldersData) {
        const auto heapsGroup = m_arrHeapsGroups->find(folder->getID());
        if (heapsGroup == m_arrHeapsGroups->end())
            continue;
        for (const auto& copy :
             heapsGroup->second->getItemsInMainFolderThatParticipateInHeaps().items()) {
            if (!copy->hasAssociatedDuplicateFolder())
                visit(copy);
        }
    }
}

const DuplicatesHeaps::Participation& DuplicatesHeaps::participation() const {
    // A copy changing its group or its duplicate folder changes the content generation;
    // anything that changes the heaps forgets the participation.
    const uint64_t generation = DuplicatesGroup::contentGeneration();
    if (m_pParticipation && m_pParticipation->contentGeneration == generation)
        return *m_pParticipation;
    m_pParticipation.reset();
    auto built = std::make_unique<Participation>();
    built->contentGeneration = generation;
    std::unordered_map<const DuplicatesGroup*, std::size_t> index;
    // Each copy is met once: it lies in one folder, and each folder has one heaps group whose
    // main-folder copies form a set.
    forEachParticipatingCopy([&](const std::shared_ptr<DuplicateItem>& copy) {
        built->totalSize += copy->getFileItemSize();
        std::shared_ptr<DuplicatesGroup> group = copy->getGroup();
        if (!group)
            return;
        const auto [at, added] = index.try_emplace(group.get(), built->groups.size());
        if (added)
            built->groups.push_back({std::move(group), {}, false});
        built->groups[at->second].copies.push_back(copy.get());
    });
    for (Participation::Group& entry : built->groups) {
        entry.whole = entry.copies.size() == entry.group->getItems().size();
        if (entry.whole) {
            entry.copies.clear();
            entry.copies.shrink_to_fit();
        }
    }
    m_pParticipation = std::move(built);
    return *m_pParticipation;
}

void DuplicatesHeaps::forgetParticipation() {
    m_pParticipation.reset();
}

void DuplicatesHeaps::recalculateHeapsInfo() {
    m_nTotalHeapsSize = participation().totalSize;
    m_bNeedRecalculateTotalHeapsSize = false;
}

uint64_t DuplicatesHeaps::getPossibleHeapsSize() const {
    return std::max(m_nPossibleHeapsSize, m_nTotalHeapsSize);
}

uint64_t DuplicatesHeaps::getTotalHeapsSize() {
    if (m_bNeedRecalculateTotalHeapsSize)
        recalculateHeapsInfo();
    return m_nTotalHeapsSize;
}

void DuplicatesHeaps::calculateTotalGreenSize(uint64_t* green, uint64_t* blue,
                                              uint64_t* red) const {
    uint64_t g = 0, b = 0, r = 0;
    for (const Participation::Group& entry : participation().groups) {
        const DuplicatesGroup& group = *entry.group;
        if (entry.whole) {
            if (!entry.cached || entry.seen != group.changeStamp()) {
                entry.green = group.getGreenSize();
                entry.blue = group.getBlueSize();
                entry.red = group.getRedSize();
                entry.seen = group.changeStamp();
                entry.cached = true;
            }
            g += entry.green;
            b += entry.blue;
            r += entry.red;
            continue;
        }
        const uint64_t t = group.getTotalCount();
        const uint64_t s = group.getSelectedCountWithDuplicatesFolderContent();
        uint64_t selected = 0;
        uint64_t unselected = 0;
        for (const DuplicateItem* copy : entry.copies) {
            if (copy->isSelected())
                selected += copy->getFileItemSize();
            else
                unselected += copy->getFileItemSize();
        }
        if (t != s)
            g += selected;
        else
            r += selected;
        if (t == s + 1)
            b += unselected;
    }
    if (green)
        *green = g;
    if (blue)
        *blue = b;
    if (red)
        *red = r;
}

std::shared_ptr<HeapsGroup>
DuplicatesHeaps::buildHeapsGroupForFolderWithPath(const QByteArray& path) const {
    const auto found = m_arrFoldersData.find(path);
    if (found == m_arrFoldersData.end())
        return nullptr;
    return getHeapsGroupForFolderData(*found->second);
}

std::shared_ptr<HeapsGroup>
DuplicatesHeaps::getHeapsGroupForFolderData(const HeapsFolderData& folder) const {
    if (!m_arrHeapsGroups)
        return nullptr;
    const auto found = m_arrHeapsGroups->find(folder.getID());
    return found == m_arrHeapsGroups->end() ? nullptr : found->second;
}

void DuplicatesHeaps::getSmallFilesThatNeedToBeCheckedForBetterHeaps(ItemsByKey& files,
                                                                     ItemsByKey& folders,
                                                                     DuplicatesContainer& container,
                                                                     bool withHiddenFolders,
                                                                     bool* isContainerChanged) {
    const std::shared_ptr<DuplicatesCategory> smallCategory =
        container.getSmallDuplicatesCategory();
    const auto excludeChecker = container.getExcludeChecker();
    if (isContainerChanged && smallCategory && smallCategory->getTotalCount() > 0)
        *isContainerChanged = true;

    std::map<uint64_t, std::vector<FileSystemItem*>> smallGroups;
    ItemsByKey smallDuplicateFiles, smallDuplicateFolders, smallFiles, smallFolders;
    for (const auto& [path, folderData] : m_arrFoldersData) {
        FolderSystemItem* folder = folderData->getFolderSystemItem();
        if (!folder)
            continue;
        for (FileSystemItem* child : folder->childrenArray()) {
            if (excludeChecker && excludeChecker->isFileItemExcluded(child)) {
                child->setIsCheckedForDuplicates(true);
                continue;
            }
            const bool folderAllowed =
                child->isDir() && (withHiddenFolders || !child->isTopHiddenFlag());
            if (DuplicateItem* copy = child->getDuplicateItem()) {
                const std::shared_ptr<DuplicatesGroup> group = copy->getGroup();
                if (!group || !smallCategory || group->getCategory() != smallCategory)
                    continue;
                smallGroups[group->getGroupID()].push_back(child);
                if (!child->isDir())
                    smallDuplicateFiles[fileKey(child)].push_back(child);
                else if (folderAllowed)
                    smallDuplicateFolders[folderKey(child)].push_back(child);
                continue;
            }
            if (child->isCheckedForDuplicates())
                continue;
            if (!child->isDir())
                smallFiles[fileKey(child)].push_back(child);
            else if (folderAllowed)
                smallFolders[folderKey(child)].push_back(child);
        }
    }
    if (smallCategory)
        smallCategory->removeAllGroups();

    fillResultDict(files, smallFiles, smallDuplicateFiles);
    fillResultDict(folders, smallFolders, smallDuplicateFolders);

    for (const auto& [id, nodes] : smallGroups) {
        QList<FileSystemItem*> stillChecked;
        for (FileSystemItem* node : nodes) {
            if (node->isCheckedForDuplicates() && !node->getDuplicateItem())
                stillChecked.append(node);
        }
        if (stillChecked.size() >= 2)
            container.addGroupWithItems(stillChecked);
    }
}

void DuplicatesHeaps::fillResultDict(ItemsByKey& result, const ItemsByKey& smallItems,
                                     const ItemsByKey& smallDuplicates) {
    for (const auto& [key, items] : smallItems) {
        if (items.empty())
            continue;
        const auto others = smallDuplicates.find(key);
        const size_t otherCount = others == smallDuplicates.end() ? 0 : others->second.size();
        if (items.size() + otherCount < 2)
            continue;
        std::vector<FileSystemItem*> set = items;
        if (otherCount) {
            for (FileSystemItem* node : others->second) {
                clearCheckedMarkUnlessCopy(node);
                if (FolderSystemItem* folder = node->asFolder()) {
                    for (FileSystemItem* below : folder->childrenDeepArray())
                        clearCheckedMarkUnlessCopy(below);
                }
                set.push_back(node);
            }
        }
        result[key] = std::move(set);
    }
}
