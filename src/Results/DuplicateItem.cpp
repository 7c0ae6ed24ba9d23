#include "DuplicateItem.h"

#include "DuplicatesCategory.h"
#include "DuplicatesGroup.h"

#include "FileTree/FileSystemItem.h"
#include "FileTree/FileType.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "Platform/PathAt.h"

#include <ctime>
#include <sys/stat.h>

DuplicateItem::~DuplicateItem() {
    // The node's back link is a plain pointer: clear it if it still names this copy (the tree
    // is still alive, this copy holds it).
    if (m_pItem) {
        m_pItem->clearDuplicateItemLink(this);
    }
}

void DuplicateItem::initWithFileItemWithGroup(FileSystemItem* node,
                                              const std::shared_ptr<DuplicatesGroup>& group) {
    m_nLevel = 0;
    m_bIsSelected = false;
    m_bIsInited = false;
    if (node && group && group->isHasItem(this)) {
        m_pGroup = group;
        m_pItem = node;
        m_pTree = node->tree();
        node->setDuplicateItem(this);
        if (node->getDuplicateItem() == this) {
            m_sItemPath = node->path();
            m_scannedIdentity = {};
            // One lstat gives the whole identity; a link or an item of another kind now at
            // the path records nothing, so the remover refuses it.
            struct stat info {};
            const bool isDir = node->isDir();
            if (PathAt::stat(m_sItemPath, &info) &&
                (isDir ? S_ISDIR(info.st_mode) : S_ISREG(info.st_mode))) {
                m_scannedIdentity.device = std::uint64_t(info.st_dev);
                m_scannedIdentity.inode = std::uint64_t(info.st_ino);
                m_scannedIdentity.changeTimeNs = std::int64_t(info.st_ctim.tv_sec) * 1000000000 +
                                                 std::int64_t(info.st_ctim.tv_nsec);
                if (!isDir) {
                    m_scannedIdentity.modificationTimeNs =
                        std::int64_t(info.st_mtim.tv_sec) * 1000000000 +
                        std::int64_t(info.st_mtim.tv_nsec);
                } else {
                    // The clock the kernel stamps change times with: whatever changes from
                    // now on gets this time or a later one.
                    timespec now{};
                    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
                    m_scannedIdentity.recordedAtNs =
                        std::int64_t(now.tv_sec) * 1000000000 + std::int64_t(now.tv_nsec);
                }
            }
            m_bIsPackage =
                isDir && (node->isPackage() || FolderSystemItem::isPackagePath(m_sItemPath));
            updateAssociatedDuplicateFolder();
        } else {
            // The node belongs to another copy: this one stays unlinked.
            dropNode();
        }
    }
    m_bIsInited = true;
}

int DuplicateItem::getType() const {
    const auto group = getGroup();
    const auto category = group ? group->getCategory() : nullptr;
    return category ? category->getType() : -1;
}

int DuplicateItem::getTypeUsingFileSystemItem() const {
    if (!m_pItem) {
        return -1;
    }
    if (m_pItem->isDir() && !m_bIsPackage) {
        return DuplicatesCategoryTypeFolder;
    }
    return FileType::typeOfFileAtPath(m_pItem->name());
}

bool DuplicateItem::isMovedByUserOrDeleted() const {
    if (m_sItemPath.isEmpty()) {
        return true;
    }
    struct stat info {};
    return !PathAt::stat(m_sItemPath, &info);
}

bool DuplicateItem::selectItemForced(bool force) {
    const auto group = getGroup();
    return group ? group->selectItemForced(this, force) : false;
}

void DuplicateItem::deselectItem() {
    if (const auto group = getGroup()) {
        group->deselectItem(this);
    }
}

void DuplicateItem::updateAssociatedDuplicateFolderTo(DuplicateItem* folder) {
    const bool hadFolder = hasAssociatedDuplicateFolder();
    if (folder == this) {
        folder = nullptr;
    }
    m_pAssociatedDuplicateFolder =
        folder ? folder->weak_from_this() : std::weak_ptr<DuplicateItem>();
    if (m_pItem && !folder) {
        // The topmost ancestor that carries a copy wins.
        for (const FolderSystemItem* ancestor = m_pItem->parent(); ancestor;
             ancestor = ancestor->parent()) {
            if (DuplicateItem* ancestorItem = ancestor->getDuplicateItem()) {
                m_pAssociatedDuplicateFolder = ancestorItem->weak_from_this();
            }
        }
    }
    const bool hasFolder = hasAssociatedDuplicateFolder();
    // A change from one folder to another does not change the group's counts.
    if (hadFolder != hasFolder && m_bIsInited) {
        if (const auto group = getGroup()) {
            group->updateGroupInfoAfterItemMovedToOrFromFolderDuplicates(this);
            group->recalculateIsFullyInDuplicatesFolders();
        }
    }
}

uint64_t DuplicateItem::getFileItemSize() const {
    if (!m_pItem) {
        return 0;
    }
    const int64_t size = m_pItem->logicalSize();
    return size > 0 ? static_cast<uint64_t>(size) : 0;
}

QDateTime DuplicateItem::getLastModificationDate() {
    if (!m_lastModificationDate) {
        struct stat info {};
        if (!m_sItemPath.isEmpty() && PathAt::stat(m_sItemPath, &info)) {
            const qint64 msecs =
                qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
            m_lastModificationDate = QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
        } else {
            m_lastModificationDate = QDateTime::fromSecsSinceEpoch(0, Qt::UTC);
        }
    }
    return *m_lastModificationDate;
}

int DuplicateItem::getLevel() {
    if (m_nLevel == 0) {
        m_nLevel = int(m_sItemPath.count('/'));
    }
    return m_nLevel;
}

void DuplicateItem::onItemSelectionChanged(DuplicateItem* item) {
    if (item != this) {
        return;
    }
    const auto group = getGroup();
    m_bIsSelected = group && group->isInSelection(this);
}

void DuplicateItem::onItemWillRemovedFromGroup(DuplicateItem* item, DuplicatesGroup* /*group*/) {
    if (item != this) {
        return;
    }
    FileSystemItem* node = m_pItem;
    // Only a link that names this copy is cleared: a node may meanwhile carry a copy of
    // another group, which must keep it.
    if (node && node->getDuplicateItem() == this) {
        node->setDuplicateItem(nullptr);
    }
    dropNode();
}

QByteArrayView DuplicateItem::parentFolderPathView() const {
    // Names hold no "/", so the last one ends the parent's path; a parent folder's path ends
    // in "/" only when it is the root "/" itself.
    const qsizetype slash = m_sItemPath.lastIndexOf('/');
    if (slash < 0)
        return {};
    return QByteArrayView(m_sItemPath).first(slash > 0 ? slash : 1);
}

void DuplicateItem::dropNode() {
    if (m_pItem) {
        m_pItem->clearDuplicateItemLink(this);
    }
    m_pItem = nullptr;
    m_pTree.reset();
    m_pGroup.reset();
    // Assigned rather than cleared: clear() lets go of the text inside Qt, where ThreadSanitizer
    // cannot see it synchronise with the workers that may still hold the same path.
    m_sItemPath = QByteArray();
}
