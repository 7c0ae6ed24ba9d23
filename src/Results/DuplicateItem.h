#pragma once

#include "DuplicateItemSelectionListener.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>

#include <cstdint>
#include <memory>
#include <optional>

class DuplicatesGroup;
class FileSystemItem;
class ScanTree;

// One copy in a duplicate group, linked both ways with its scanned node: the copy holds the
// node (and through it keeps the whole scanned tree alive), the node points back to the copy
// while the copy is a member of its group.
//
// A copy inside a folder that is itself a copy in a folder group has an associated duplicate
// folder: the copy of the topmost such ancestor. It is removed with that folder, follows the
// folder's selection and adds nothing to its group's sizes.
//
// Made only by a group's copies list (two steps: made, put in the list, then initialised).
// Its group and associated folder links are weak. Main thread, or the scan stage that builds
// the result.
class DuplicateItem final : public DuplicateItemSelectionListener,
                            public std::enable_shared_from_this<DuplicateItem> {
public:
    DuplicateItem() = default;
    ~DuplicateItem() override;
    DuplicateItem(const DuplicateItem&) = delete;
    DuplicateItem& operator=(const DuplicateItem&) = delete;

    // initWithFileItem:withGroup:. Links `node` to this copy when `group` holds the copy and
    // the node is free to link; otherwise the copy keeps no node, group or path.
    void initWithFileItemWithGroup(FileSystemItem* node,
                                   const std::shared_ptr<DuplicatesGroup>& group);

    // The type of the group's category; -1 without group or category.
    int getType() const;
    // 6 for a folder that is not a package, otherwise the file type of the node's name;
    // -1 without a node.
    int getTypeUsingFileSystemItem() const;

    FileSystemItem* getFileSystemItem() const { return m_pItem; }
    std::shared_ptr<DuplicatesGroup> getGroup() const { return m_pGroup.lock(); }

    // YES when the copy has no path or nothing exists at its path any more.
    bool isMovedByUserOrDeleted() const;
    bool isSelected() const { return m_bIsSelected; }

    // Hand the request to the group; nothing (NO) without a group.
    bool selectItemForced(bool force);
    void deselectItem();

    // Recomputes the associated duplicate folder from the node's ancestors.
    void updateAssociatedDuplicateFolder() { updateAssociatedDuplicateFolderTo(nullptr); }
    // Takes `folder` as the associated duplicate folder (none when it is this copy), or, with
    // none, looks for the topmost ancestor that carries a copy. The group is told when the
    // copy gains or loses a folder.
    void updateAssociatedDuplicateFolderTo(DuplicateItem* folder);
    std::shared_ptr<DuplicateItem> getAssociatedDuplicateFolder() const {
        return m_pAssociatedDuplicateFolder.lock();
    }
    bool hasAssociatedDuplicateFolder() const { return !m_pAssociatedDuplicateFolder.expired(); }

    // The node's logical size; 0 without a node.
    uint64_t getFileItemSize() const;
    // Raw path bytes, taken when the copy was made; empty after it left its group.
    const QByteArray& getFileItemPath() const { return m_sItemPath; }
    // The folder part of that path: what the parent folder's path was then. Read from the
    // copy's own path rather than kept apart, since every copy of a scan would pay for it.
    QByteArrayView parentFolderPathView() const;
    QByteArray getParentFolderItemPath() const { return parentFolderPathView().toByteArray(); }
    bool isPackage() const { return m_bIsPackage; }
    bool isInited() const { return m_bIsInited; }

    // The file's modification date, read once; the 1970 date when it cannot be read.
    QDateTime getLastModificationDate();
    // What the copy's own path held when this copy was made, that is when its group was
    // formed, taken from one lstat: the remover compares it with the disk to refuse items
    // changed or replaced after the scan. `device` and `inode` are 0 and the times empty
    // when the item could not be read or was not of the node's kind (a file, a folder).
    struct ScannedIdentity {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::optional<std::int64_t> changeTimeNs;       // st_ctim, nanoseconds since 1970
        std::optional<std::int64_t> modificationTimeNs; // st_mtim; files only
        // Folders: the kernel's file clock when the identity was taken. An entry anywhere
        // below whose change time is as late or later may have changed since the group was
        // formed (one tick of that clock is a few milliseconds).
        std::optional<std::int64_t> recordedAtNs;

        bool operator==(const ScannedIdentity&) const = default;
    };
    const ScannedIdentity& getScannedIdentity() const { return m_scannedIdentity; }
    // The modification time (nanoseconds since 1970) the file had when this copy was made;
    // nothing for a folder or a file that could not be read.
    std::optional<std::int64_t> getScannedModificationTimeNs() const {
        return m_scannedIdentity.modificationTimeNs;
    }
    // Replaces the identity with the one an earlier copy of the same node recorded: a group
    // remade by a move keeps what the copy's first grouping saw, or an edit or a replacement
    // made in between would pass the remover's check.
    void keepScannedIdentity(const ScannedIdentity& identity) { m_scannedIdentity = identity; }
    // The number of "/" in the path, counted once.
    int getLevel();

    void onItemSelectionChanged(DuplicateItem* item) override;
    void onItemWillRemovedFromGroup(DuplicateItem* item, DuplicatesGroup* group) override;

private:
    void dropNode();

    FileSystemItem* m_pItem = nullptr;
    // Keeps the node's tree alive for as long as this copy holds the node.
    std::shared_ptr<ScanTree> m_pTree;
    std::weak_ptr<DuplicateItem> m_pAssociatedDuplicateFolder;
    std::weak_ptr<DuplicatesGroup> m_pGroup;
    QByteArray m_sItemPath;
    std::optional<QDateTime> m_lastModificationDate;
    ScannedIdentity m_scannedIdentity;
    // The small members together: a scan holds one copy object per copy found.
    int m_nLevel = 0;
    bool m_bIsInited = false;
    bool m_bIsSelected = false;
    bool m_bIsPackage = false;
};
