// The links between scanned nodes and the result model: a node's copy in a duplicate group,
// the copies inside duplicate folders tied to the outermost duplicate folder around them,
// and those copies following that folder's selection.
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"

#include "Results/DuplicateItem.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesGroup.h"
#include "Selection/AutoSelectName.h"

#include <vector>

namespace {

// Calls `step` for `root` and then every node of its subtree, parents before children,
// children in order. Iterative, so a deep tree cannot exhaust the stack. The tree's shape
// must not change meanwhile (the steps only touch the result model).
template <typename Step>
void forSubtree(FileSystemItem* root, Step step) {
    std::vector<FileSystemItem*> pending{root};
    while (!pending.empty()) {
        FileSystemItem* node = pending.back();
        pending.pop_back();
        step(node);
        if (const FolderSystemItem* folder = node->asFolder()) {
            const auto children = folder->childrenArray();
            for (auto child = children.rbegin(); child != children.rend(); ++child) {
                pending.push_back(*child);
            }
        }
    }
}

bool isProvisional(const DuplicatesGroup& group) {
    const auto category = group.getCategory();
    return category && category->isSmallDuplicatesCategory();
}

} // namespace

void FileSystemItem::setDuplicateItem(DuplicateItem* item) {
    if (item) {
        const auto group = item->getGroup();
        if (!group || !group->isHasItem(item)) {
            return;
        }
        // A node belongs to at most one group at a time. While its copy is still a member of
        // a group, a copy of another group takes the link over only from a provisional copy
        // (one of a small same-content set met while folders are compared); a provisional
        // copy never takes it from anyone.
        if (m_pDuplicateItem && m_pDuplicateItem != item) {
            if (const auto current = m_pDuplicateItem->getGroup();
                current && !(isProvisional(*current) && !isProvisional(*group))) {
                return;
            }
        }
    }
    m_pDuplicateItem = item;
    if (isDir()) {
        DuplicateItem* target = nullptr;
        if (item) {
            item->updateAssociatedDuplicateFolder();
            const auto folder = item->getAssociatedDuplicateFolder();
            target = folder ? folder.get() : item;
        }
        // Ties every copy below to the outermost duplicate folder around it; with the link
        // cleared, every copy below looks for another enclosing duplicate folder itself.
        updateAssociatedDuplicateFolderTo(target);
    }
    getAutoSelectData();
}

void FileSystemItem::clearDuplicateItemLink(const DuplicateItem* item) {
    if (m_pDuplicateItem == item) {
        m_pDuplicateItem = nullptr;
    }
}

AutoSelectName* FileSystemItem::getAutoSelectData() {
    // Kept by the tree rather than on the node: only the few nodes in groups ever have it.
    if (void* known = scanTree().attachedTo(this))
        return static_cast<AutoSelectName*>(known);
    if (auto built = AutoSelectName::buildAutoSelectNameForFileItem(this))
        return adoptAutoSelectName(std::move(built));
    return nullptr;
}

const AutoSelectName* FileSystemItem::getAutoSelectDataIfBuilt() const {
    return static_cast<const AutoSelectName*>(scanTree().attachedTo(this));
}

void FileSystemItem::updateAssociatedDuplicateFolderTo(DuplicateItem* folder) {
    if (!isDir()) {
        if (m_pDuplicateItem) {
            m_pDuplicateItem->updateAssociatedDuplicateFolderTo(folder);
        }
        return;
    }
    forSubtree(this, [folder](FileSystemItem* node) {
        if (DuplicateItem* item = node->getDuplicateItem()) {
            item->updateAssociatedDuplicateFolderTo(folder);
        }
    });
}

void FileSystemItem::updateDuplicateItemSelection() {
    const auto follow = [](FileSystemItem* node) {
        DuplicateItem* item = node->getDuplicateItem();
        if (!item) {
            return;
        }
        const auto folder = item->getAssociatedDuplicateFolder();
        if (!folder) {
            return;
        }
        if (folder->isSelected()) {
            item->selectItemForced(true);
        } else {
            item->deselectItem();
        }
    };
    if (!isDir()) {
        follow(this);
        return;
    }
    forSubtree(this, follow);
}
