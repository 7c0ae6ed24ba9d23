#include "Results/DuplicatesHeaps.h"

#include "FileTree/FileType.h"
#include "FileTree/FolderSystemItem.h"
#include "Platform/Dispatch.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeap.h"
#include "Results/HeapsFolderData.h"
#include "Results/HeapsGroup.h"
#include "Results/HeapsValidateProgressListener.h"
#include "Walker/ExcludeChecker.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <unordered_set>

namespace {

constexpr auto kNotificationInterval = std::chrono::milliseconds(500);

std::atomic<std::size_t> s_sliceFolders{16};

// "SIZE_EXTENSION"; the extension is empty for a name without one.
QString fileKey(const FileSystemItem* node) {
    QString key = QString::number(node->logicalSize());
    key += u'_';
    key += FileType::pathExtension(QString::fromUtf8(node->nameView()));
    return key;
}

// "SIZE_DESCENDANTS".
QString folderKey(const FileSystemItem* node) {
    QString key = QString::number(node->logicalSize());
    key += u'_';
    key += QString::number(node->getCountOfDeepChildren());
    return key;
}

// 0: as many threads as the machine has, up to kMostThreads.
std::atomic<unsigned> s_threads{0};
constexpr unsigned kMostThreads = 8;

unsigned validationThreads() {
    const unsigned chosen = s_threads.load();
    if (chosen != 0)
        return chosen;
    return std::clamp(std::thread::hardware_concurrency(), 1u, kMostThreads);
}

// Runs `work` with every index below `count`, in slices of `slice` indexes that the calling
// thread and up to `threads` - 1 pool threads take in turn, and returns when all have run.
void forEachInSlices(std::size_t count, std::size_t slice, unsigned threads,
                     const std::function<void(std::size_t)>& work) {
    const std::size_t slices = (count + slice - 1) / slice;
    if (threads <= 1 || slices <= 1) {
        for (std::size_t i = 0; i < count; ++i)
            work(i);
        return;
    }
    std::atomic<std::size_t> next{0};
    const auto run = [&] {
        for (;;) {
            const std::size_t taken = next.fetch_add(1);
            if (taken >= slices)
                return;
            const std::size_t end = std::min(count, (taken + 1) * slice);
            for (std::size_t i = taken * slice; i < end; ++i)
                work(i);
        }
    };
    Dispatch::DispatchGroup group;
    const std::size_t helpers = std::min<std::size_t>(threads - 1, slices - 1);
    for (std::size_t h = 0; h < helpers; ++h)
        group.async(Dispatch::globalQueue(), run);
    run();
    group.wait();
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

void DuplicatesHeaps::forEachCandidatePartner(
    const HeapsFolderData& folder,
    const std::function<void(const std::shared_ptr<HeapsFolderData>&)>& visit) const {
    const auto found = m_arrFoldersIntersections.find(folder.getID());
    if (found == m_arrFoldersIntersections.end())
        return;
    // Each partner once, the first time one of its paths comes up: the same partners in the
    // same order as the candidate paths that have folder data, without copying a path. A
    // path names one folder data, so a folder data met again is a path met again.
    std::unordered_set<const HeapsFolderData*> seen;
    for (const auto& group : found->second.items()) {
        if (!group->getCategory())
            continue;
        for (const auto& copy : group->itemsView()) {
            if (!copy)
                continue;
            const QByteArrayView path = copy->parentFolderPathView();
            const auto partner =
                m_arrFoldersData.find(QByteArray::fromRawData(path.data(), path.size()));
            if (partner == m_arrFoldersData.end() || !seen.insert(partner->second.get()).second)
                continue;
            visit(partner->second);
        }
    }
}

std::shared_ptr<HeapsGroup>
DuplicatesHeaps::createHeapsGroupOfFolder(const std::shared_ptr<HeapsFolderData>& folder) {
    return buildHeapsGroupOfFolder(folder);
}

std::shared_ptr<HeapsGroup>
DuplicatesHeaps::buildHeapsGroupOfFolder(const std::shared_ptr<HeapsFolderData>& folder) const {
    auto heapsGroup = std::make_shared<HeapsGroup>(folder);
    if (m_arrHeapsGroups) {
        const auto earlier = m_arrHeapsGroups->find(folder->getID());
        if (earlier != m_arrHeapsGroups->end() &&
            earlier->second->isCanBeUsedForFastRecalculation()) {
            heapsGroup->fastRecalculateGroup(*earlier->second);
            return heapsGroup;
        }
    }
    forEachCandidatePartner(*folder, [&](const std::shared_ptr<HeapsFolderData>& partner) {
        // The folder itself is among its candidates; it makes no heap with itself.
        if (partner != folder)
            heapsGroup->addHeap(DuplicatesHeap::buildHeapWithFolder(folder, partner));
    });
    return heapsGroup;
}

void DuplicatesHeaps::setValidationConcurrency(unsigned threads, std::size_t sliceFolders) {
    s_threads = threads;
    s_sliceFolders = std::max<std::size_t>(1, sliceFolders);
}

void DuplicatesHeaps::prepareForSharedReads() {
    for (auto& [path, folder] : m_arrFoldersData)
        folder->prepareForSharedReads();
    for (auto& [id, groups] : m_arrFoldersIntersections)
        groups.items();
    // The fast path reads the partners as the earlier heaps hold them, which may have left
    // the path map since.
    if (m_arrHeapsGroups) {
        for (const auto& [id, heapsGroup] : *m_arrHeapsGroups) {
            for (const auto& heap : heapsGroup->buildAllSubHeapsArray()) {
                if (const auto& partner = heap->getSecondHeapsFolderData())
                    partner->prepareForSharedReads();
            }
            for (const auto& heap : heapsGroup->getAllSubHeapsWithDuplicatesFolder()) {
                if (const auto& partner = heap->getSecondHeapsFolderData())
                    partner->prepareForSharedReads();
            }
        }
    }
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
    // Read again on this thread: the sets it makes are kept, and here they take the room the
    // old ones leave.
    updateDataOfFolders(paths);
    m_bNeedRecalculateTotalHeapsSize = true;
    forgetParticipation();

    // Every folder's heaps depend only on what is read here and nothing changes it until the
    // loop ends: they are built on the pool, a wave of folders at a time, and taken in path
    // order as the serial loop would, so that the reports, a cancellation and the result are
    // the same. The calling thread takes slices too, so the wave ends even on a busy pool.
    prepareForSharedReads();
    const unsigned threads = validationThreads();
    const std::size_t slice = std::max<std::size_t>(1, s_sliceFolders.load());
    const std::size_t wave = slice * threads * 8;
    struct Built {
        // Null when the folder's heaps group would not be kept.
        std::shared_ptr<HeapsGroup> heapsGroup;
        uint64_t participatingSize = 0;
    };
    std::vector<Built> built;

    std::unordered_map<uint64_t, std::shared_ptr<HeapsGroup>> heapsGroups;
    const float count = float(paths.size());
    float index = 0;
    uint64_t runningSize = 0;
    bool canceled = false;
    for (std::size_t begin = 0; begin < paths.size() && !canceled; begin += wave) {
        const std::size_t end = std::min(paths.size(), begin + wave);
        if (listener && listener->isHeapsValidationCanceled())
            break;
        built.assign(end - begin, Built{});
        forEachInSlices(end - begin, slice, threads, [&](std::size_t at) {
            const auto found = m_arrFoldersData.find(paths[begin + at]);
            if (found == m_arrFoldersData.end())
                return;
            std::shared_ptr<HeapsGroup> heapsGroup = buildHeapsGroupOfFolder(found->second);
            Built& result = built[at];
            for (const auto& copy :
                 heapsGroup->getItemsInMainFolderThatParticipateInHeaps().items()) {
                if (!copy->hasAssociatedDuplicateFolder())
                    result.participatingSize += copy->getFileItemSize();
            }
            if (heapsGroup->isCanBeUsedForFastRecalculation())
                result.heapsGroup = std::move(heapsGroup);
        });
        for (std::size_t at = begin; at < end; ++at) {
            // Asked before every folder but the first of a wave, which was asked above.
            if (at != begin && listener && listener->isHeapsValidationCanceled()) {
                canceled = true;
                break;
            }
            index += 1;
            const auto found = m_arrFoldersData.find(paths[at]);
            if (found != m_arrFoldersData.end()) {
                Built& result = built[at - begin];
                runningSize += result.participatingSize;
                if (runningSize != 0)
                    notifyListener(listener, runningSize, index / count * 0.5f + 0.5f, false);
                if (result.heapsGroup)
                    heapsGroups.emplace(found->second->getID(), std::move(result.heapsGroup));
            }
            if (listener)
                listener->onHeapsCheckedFolders(1);
        }
    }
    // The heaps groups not kept are let go of here rather than one by one above.
    built = {};
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

    // Each folder's children are looked at on the pool, which only reads the tree; what
    // that finds is filed, and excluded children are marked, in the folders' order on this
    // thread, so the maps come out as a walk on one thread fills them.
    struct Found {
        enum class Kind : std::uint8_t {
            Excluded,
            SmallCopy,       // a copy of the small-duplicates category, filed by group only
            SmallCopyFile,   // ... and by key among the small duplicate files
            SmallCopyFolder, // ... and by key among the small duplicate folders
            SmallFile,
            SmallFolder,
        };
        FileSystemItem* node;
        Kind kind;
        uint64_t groupID = 0;
    };
    std::vector<FolderSystemItem*> order;
    order.reserve(m_arrFoldersData.size());
    for (const auto& [path, folderData] : m_arrFoldersData) {
        if (FolderSystemItem* folder = folderData->getFolderSystemItem())
            order.push_back(folder);
    }
    const auto look = [&](FolderSystemItem* folder, std::vector<Found>& found) {
        const auto& children = folder->childrenArray();
        if (children.empty())
            return;
        // A child's path is its folder's and its name: the folder's is made once.
        QByteArray childPath = folder->path();
        if (!childPath.endsWith('/'))
            childPath.append('/');
        const qsizetype folderLength = childPath.size();
        for (FileSystemItem* child : children) {
            if (excludeChecker) {
                childPath.truncate(folderLength);
                childPath.append(child->nameView());
                if (excludeChecker->exclusionForPath(childPath, child->nameView()) !=
                    ExcludeChecker::Exclusion::None) {
                    found.push_back({child, Found::Kind::Excluded, 0});
                    continue;
                }
            }
            const bool folderAllowed =
                child->isDir() && (withHiddenFolders || !child->isTopHiddenFlag());
            if (DuplicateItem* copy = child->getDuplicateItem()) {
                const std::shared_ptr<DuplicatesGroup> group = copy->getGroup();
                if (!group || !smallCategory || group->getCategory() != smallCategory)
                    continue;
                if (!child->isDir())
                    found.push_back({child, Found::Kind::SmallCopyFile, group->getGroupID()});
                else if (folderAllowed)
                    found.push_back({child, Found::Kind::SmallCopyFolder, group->getGroupID()});
                else
                    found.push_back({child, Found::Kind::SmallCopy, group->getGroupID()});
                continue;
            }
            if (child->isCheckedForDuplicates())
                continue;
            if (!child->isDir())
                found.push_back({child, Found::Kind::SmallFile, 0});
            else if (folderAllowed)
                found.push_back({child, Found::Kind::SmallFolder, 0});
        }
    };

    std::map<uint64_t, std::vector<FileSystemItem*>> smallGroups;
    ItemsByKey smallDuplicateFiles, smallDuplicateFolders, smallFiles, smallFolders;
    const unsigned threads = validationThreads();
    const std::size_t slice = std::max<std::size_t>(1, s_sliceFolders.load());
    // A wave ends after a number of folders or of children, whichever comes first, so that
    // what it found waits for filing in little memory, however large the folders are.
    const std::size_t waveFolders = slice * threads * 8;
    constexpr std::size_t kWaveChildren = 4096;
    std::vector<std::vector<Found>> found;
    for (std::size_t begin = 0, end = 0; begin < order.size(); begin = end) {
        std::size_t children = 0;
        for (end = begin; end < order.size() && end - begin < waveFolders &&
                          (end == begin || children < kWaveChildren);
             ++end)
            children += order[end]->childrenArray().size();
        found.resize(end - begin);
        forEachInSlices(end - begin, slice, threads,
                        [&](std::size_t at) { look(order[begin + at], found[at]); });
        for (std::vector<Found>& entries : found) {
            for (const Found& entry : entries) {
                switch (entry.kind) {
                case Found::Kind::Excluded:
                    entry.node->setIsCheckedForDuplicates(true);
                    break;
                case Found::Kind::SmallCopy:
                    smallGroups[entry.groupID].push_back(entry.node);
                    break;
                case Found::Kind::SmallCopyFile:
                    smallGroups[entry.groupID].push_back(entry.node);
                    smallDuplicateFiles[fileKey(entry.node)].push_back(entry.node);
                    break;
                case Found::Kind::SmallCopyFolder:
                    smallGroups[entry.groupID].push_back(entry.node);
                    smallDuplicateFolders[folderKey(entry.node)].push_back(entry.node);
                    break;
                case Found::Kind::SmallFile:
                    smallFiles[fileKey(entry.node)].push_back(entry.node);
                    break;
                case Found::Kind::SmallFolder:
                    smallFolders[folderKey(entry.node)].push_back(entry.node);
                    break;
                }
            }
            entries = {};
        }
        found.clear();
    }
    found = {};
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
