#include "Scanner/SimpleFolderInfo.h"

#include "FileTree/FolderSystemItem.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

QString SimpleFolderInfo::buildIdentifierForMethod(int method) const {
    if (method == 1)
        return buildSizeAndChildrenCountIdentifier();
    return {};
}

QString SimpleFolderInfo::buildSizeAndChildrenCountIdentifier() const {
    return QStringLiteral("%1_%2")
        .arg(qlonglong(m_pFolderItem->logicalSize()))
        .arg(qulonglong(m_pFolderItem->getCountOfDeepChildren()));
}

namespace {

bool isComparedAndUnique(const FileSystemItem* node) {
    return node->isCheckedForDuplicates() && !node->getDuplicateItem();
}

} // namespace

bool SimpleFolderInfo::isCanBeDuplicate() const {
    if (isComparedAndUnique(m_pFolderItem))
        return false;
    std::vector<const FolderSystemItem*> level{m_pFolderItem};
    while (!level.empty()) {
        std::vector<const FolderSystemItem*> next;
        for (const FolderSystemItem* folder : level) {
            for (const FileSystemItem* child : folder->childrenArray()) {
                if (isComparedAndUnique(child))
                    return false;
                if (const FolderSystemItem* sub = child->asFolder())
                    next.push_back(sub);
            }
        }
        level = std::move(next);
    }
    return true;
}

SimpleFolderInfo::Groups
SimpleFolderInfo::GroupFolders(const std::vector<FolderSystemItem*>& folders, int method) {
    Groups groups;
    std::unordered_map<QString, size_t> indexOfKey;
    for (FolderSystemItem* folder : folders) {
        const QString key = SimpleFolderInfo(folder).buildIdentifierForMethod(method);
        const auto [entry, added] = indexOfKey.try_emplace(key, groups.size());
        if (added)
            groups.emplace_back();
        groups[entry->second].push_back(folder);
    }
    return groups;
}

SimpleFolderInfo::Groups SimpleFolderInfo::PreSortedGroupsBySizeFromBigToSmall(Groups groups) {
    std::stable_sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) {
        return a.front()->logicalSize() > b.front()->logicalSize();
    });
    return groups;
}

SimpleFolderInfo::Groups SimpleFolderInfo::SortedGroupsBySizeFromSmallToBig(Groups groups) {
    std::stable_sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) {
        const FolderSystemItem* x = a.front();
        const FolderSystemItem* y = b.front();
        if (x->logicalSize() != y->logicalSize())
            return x->logicalSize() < y->logicalSize();
        return x->getCountOfDeepChildren() < y->getCountOfDeepChildren();
    });
    return groups;
}

SimpleFolderInfo::Groups SimpleFolderInfo::SortedGroupsBySizeFromBigToSmall(const Groups& groups) {
    const Groups presorted = PreSortedGroupsBySizeFromBigToSmall(groups);
    std::unordered_map<const FileSystemItem*, size_t> groupOfFolder;
    for (size_t i = 0; i < presorted.size(); ++i) {
        for (const FolderSystemItem* folder : presorted[i])
            groupOfFolder.emplace(folder, i);
    }
    std::vector<bool> placed(presorted.size(), false);
    Groups result;
    for (size_t start = 0; start < presorted.size(); ++start) {
        if (placed[start])
            continue;
        placed[start] = true;
        for (const FolderSystemItem* folder : presorted[start])
            groupOfFolder.erase(folder);
        Groups cluster{presorted[start]};
        std::vector<size_t> wave{start};
        while (!wave.empty()) {
            std::vector<size_t> next;
            for (size_t index : wave) {
                for (const FolderSystemItem* folder : presorted[index]) {
                    for (const FileSystemItem* below : folder->subFoldersDeepArray()) {
                        const auto found = groupOfFolder.find(below);
                        if (found == groupOfFolder.end())
                            continue;
                        const size_t group = found->second;
                        groupOfFolder.erase(found);
                        if (placed[group])
                            continue;
                        placed[group] = true;
                        for (const FolderSystemItem* member : presorted[group])
                            groupOfFolder.erase(member);
                        next.push_back(group);
                    }
                }
            }
            for (size_t group : next)
                cluster.push_back(presorted[group]);
            wave = std::move(next);
        }
        for (Group& group : SortedGroupsBySizeFromSmallToBig(std::move(cluster)))
            result.push_back(std::move(group));
    }
    return result;
}
