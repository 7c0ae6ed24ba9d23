#pragma once

#include "FileTree/FileSystemItem.h"

#include <span>
#include <vector>

// A folder node: holds its children (in the order they were attached), answers whether it is
// a package, sums its subtree and hands out flat lists of it. Package content has nodes like
// any other folder's; only isPackage()/isInPackage() tell it apart.
//
// For a folder, the inherited sizes hold the subtree totals as last computed by
// calctotalsize(); the entry sizes given at creation count for nothing once totals are
// computed. The children list does not exist until the first addChild() (no memory for empty
// folders) and is owned by the folder; the nodes in it are owned by the tree.
class FolderSystemItem : public FileSystemItem {
public:
    // Makes a folder node; `bPack` marks it a package at once. The time code is ignored.
    // Parent linked but not appended:
    static FolderSystemItem* initWithPathSizeNoParent(ScanTree& tree, QByteArrayView name,
                                                      FolderSystemItem* parent,
                                                      std::int64_t itemsize, bool bPack,
                                                      std::uint8_t timeCode, bool hidden,
                                                      std::int64_t logicalFileSize);
    // Parent linked and appended at once:
    static FolderSystemItem* initWithPathSize(ScanTree& tree, QByteArrayView name,
                                              FolderSystemItem* parent, std::int64_t itemsize,
                                              bool bPack, std::uint8_t timeCode, bool hidden,
                                              std::int64_t logicalFileSize);

    using Nodes = std::vector<FileSystemItem*>;

    void addAllChildrenToArray(Nodes& out) const;
    void addAllSubFoldersToArray(Nodes& out) const;
    void addAllDuplicatesToArray(Nodes& out) const;

    // Counts all nodes below the folder and stores the count.
    void recalculateCountOfDeepChildren();
    std::uint64_t getCountOfDeepChildren() const { return m_nCountOfDeepChildren; }
    // File nodes below the folder; without `withHidden`, anything in hidden territory is left
    // out.
    std::uint64_t getCountOfDeepFilesWithHidden(bool withHidden) const;

    // The direct children, then each sub-folder's own list in order.
    Nodes childrenDeepArray() const;
    // Nodes below that have a DuplicateItem, depth first.
    Nodes duplicatesDeepArray() const;
    // Folders below, depth first, each before its own sub-folders.
    Nodes subFoldersDeepArray() const;
    // The direct children themselves; empty before the first child. Valid until the
    // children change.
    std::span<FileSystemItem* const> childrenArray() const { return {m_children, m_childCount}; }
    bool containsObject(const FileSystemItem* node) const;

    // Appends `node` (no test for duplicates; the node's parent link is not touched).
    void addChild(FileSystemItem* node);
    void removeChild(FileSystemItem* node);
    // Gives back the room a children list grew beyond its entries (the list doubles as it
    // grows). Adding a child later grows it again.
    void trimChildren();
    // Removes a direct child and takes its size on disk off this folder and every ancestor
    // (logical totals keep their values). False, changing nothing, when it is not a child.
    bool removeChildAndRecalc(FileSystemItem* node);
    // Lowers the size on disk of this folder and every ancestor, holding each at 0.
    void decreaseTotalSize(std::int64_t amount);

    std::int64_t calctotalsize();
    std::int64_t calctotalsizeex() { return calctotalsize(); }
    FileSystemItem* childWithName(QByteArrayView name) const;

    // Answers the package question in advance with yes.
    void SetitsLeafPackage() { m_folderBits = kPackageChecked | kPackage; }
    // Worked out once: marked by the walker, or the folder's name follows a package naming
    // rule (see isPackagePath), or the path ends in ".framework".
    bool isPackage();

    // The platform's package test for a folder path. On Linux no folder is a package by its
    // flags, only by name: a last component of some text followed by ".app".
    static bool isPackagePath(QByteArrayView path);

protected:
    FolderSystemItem(Kind kind, std::uint32_t nameLength, FolderSystemItem* parent,
                     std::int64_t itemsize, bool hidden, std::int64_t logicalFileSize);
    ~FolderSystemItem();
    static FolderSystemItem* make(ScanTree& tree, Kind kind, QByteArrayView name,
                                  FolderSystemItem* parent, std::int64_t itemsize, bool hidden,
                                  std::int64_t logicalFileSize);

    static constexpr std::uint8_t kPackageChecked = 0x1;
    static constexpr std::uint8_t kPackage = 0x2;

    FileSystemItem** m_children = nullptr;
    std::uint32_t m_childCount = 0;
    std::uint32_t m_childCapacity = 0;
    std::uint64_t m_nCountOfDeepChildren = 0;
    // Next folder made in the same arena chunk; the tree runs the destructors through it.
    FolderSystemItem* m_nextInChunk = nullptr;

    friend class ScanTree;
};
