#include "FileTree/FolderSystemItem.h"

#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

FolderSystemItem::FolderSystemItem(Kind kind, std::uint32_t nameLength, FolderSystemItem* parent,
                                   std::int64_t itemsize, bool hidden, std::int64_t logicalFileSize)
    : FileSystemItem(kind, nameLength, parent, itemsize, hidden, logicalFileSize) {}

FolderSystemItem::~FolderSystemItem() {
    std::free(m_children);
}

FolderSystemItem* FolderSystemItem::make(ScanTree& tree, Kind kind, QByteArrayView name,
                                         FolderSystemItem* parent, std::int64_t itemsize,
                                         bool hidden, std::int64_t logicalFileSize) {
    static_assert(sizeof(VolumeSystemItem) == sizeof(FolderSystemItem));
    static_assert(sizeof(FolderSystemItem) == kFolderNodeSize);
    void* memory = allocateWithName(tree, sizeof(FolderSystemItem), name);
    auto* folder = new (memory) FolderSystemItem(kind, std::uint32_t(name.size()), parent, itemsize,
                                                 hidden, logicalFileSize);
    tree.registerFolder(folder);
    return folder;
}

FolderSystemItem* FolderSystemItem::initWithPathSizeNoParent(ScanTree& tree, QByteArrayView name,
                                                             FolderSystemItem* parent,
                                                             std::int64_t itemsize, bool bPack,
                                                             std::uint8_t /*timeCode*/, bool hidden,
                                                             std::int64_t logicalFileSize) {
    FolderSystemItem* folder =
        make(tree, Kind::Folder, name, parent, itemsize, hidden, logicalFileSize);
    if (bPack)
        folder->SetitsLeafPackage();
    return folder;
}

FolderSystemItem* FolderSystemItem::initWithPathSize(ScanTree& tree, QByteArrayView name,
                                                     FolderSystemItem* parent,
                                                     std::int64_t itemsize, bool bPack,
                                                     std::uint8_t timeCode, bool hidden,
                                                     std::int64_t logicalFileSize) {
    FolderSystemItem* folder = initWithPathSizeNoParent(tree, name, parent, itemsize, bPack,
                                                        timeCode, hidden, logicalFileSize);
    if (parent)
        parent->addChild(folder);
    return folder;
}

VolumeSystemItem* VolumeSystemItem::initWithPath(ScanTree& tree, QByteArrayView path,
                                                 std::int64_t /*diskSize*/,
                                                 std::int64_t /*freeSize*/) {
    // Same layout as a folder node (checked in make()); only the kind differs.
    return static_cast<VolumeSystemItem*>(make(tree, Kind::Volume, path, nullptr, 0, false, 0));
}

void FolderSystemItem::addAllChildrenToArray(Nodes& out) const {
    out.insert(out.end(), m_children, m_children + m_childCount);
    for (FileSystemItem* child : childrenArray()) {
        if (const auto* folder = child->asFolder())
            folder->addAllChildrenToArray(out);
    }
}

void FolderSystemItem::addAllSubFoldersToArray(Nodes& out) const {
    for (FileSystemItem* child : childrenArray()) {
        if (const auto* folder = child->asFolder()) {
            out.push_back(child);
            folder->addAllSubFoldersToArray(out);
        }
    }
}

void FolderSystemItem::addAllDuplicatesToArray(Nodes& out) const {
    for (FileSystemItem* child : childrenArray()) {
        if (child->getDuplicateItem())
            out.push_back(child);
        if (const auto* folder = child->asFolder())
            folder->addAllDuplicatesToArray(out);
    }
}

FolderSystemItem::Nodes FolderSystemItem::childrenDeepArray() const {
    Nodes out;
    addAllChildrenToArray(out);
    return out;
}

FolderSystemItem::Nodes FolderSystemItem::duplicatesDeepArray() const {
    Nodes out;
    addAllDuplicatesToArray(out);
    return out;
}

FolderSystemItem::Nodes FolderSystemItem::subFoldersDeepArray() const {
    Nodes out;
    addAllSubFoldersToArray(out);
    return out;
}

void FolderSystemItem::recalculateCountOfDeepChildren() {
    std::uint64_t count = 0;
    for (FileSystemItem* child : childrenArray()) {
        child->recalculateCountOfDeepChildren();
        count += child->getCountOfDeepChildren() + 1;
    }
    m_nCountOfDeepChildren = count;
}

std::uint64_t FolderSystemItem::getCountOfDeepFilesWithHidden(bool withHidden) const {
    std::uint64_t count = 0;
    for (FileSystemItem* child : childrenArray()) {
        if (!withHidden && child->isTopHiddenFlag())
            continue;
        if (const auto* folder = child->asFolder())
            count += folder->getCountOfDeepFilesWithHidden(withHidden);
        else
            count += 1;
    }
    return count;
}

bool FolderSystemItem::containsObject(const FileSystemItem* node) const {
    const auto children = childrenArray();
    return std::find(children.begin(), children.end(), node) != children.end();
}

void FolderSystemItem::addChild(FileSystemItem* node) {
    if (m_childCount == m_childCapacity) {
        // Starts with room for one: most folders hold few entries, and realloc usually grows
        // the block in place.
        const std::uint32_t capacity = m_childCapacity == 0 ? 1 : m_childCapacity * 2;
        void* grown = std::realloc(m_children, capacity * sizeof(FileSystemItem*));
        if (!grown)
            throw std::bad_alloc();
        scanTree().addChildrenBytes(std::ptrdiff_t(capacity - m_childCapacity) *
                                    std::ptrdiff_t(sizeof(FileSystemItem*)));
        m_children = static_cast<FileSystemItem**>(grown);
        m_childCapacity = capacity;
    }
    m_children[m_childCount++] = node;
}

void FolderSystemItem::trimChildren() {
    if (m_childCount == m_childCapacity || m_childCount == 0)
        return;
    void* trimmed = std::realloc(m_children, m_childCount * sizeof(FileSystemItem*));
    if (!trimmed)
        return; // the larger block stays valid
    scanTree().addChildrenBytes(-std::ptrdiff_t(m_childCapacity - m_childCount) *
                                std::ptrdiff_t(sizeof(FileSystemItem*)));
    m_children = static_cast<FileSystemItem**>(trimmed);
    m_childCapacity = m_childCount;
}

void FolderSystemItem::removeChild(FileSystemItem* node) {
    FileSystemItem** end = m_children + m_childCount;
    FileSystemItem** found = std::find(m_children, end, node);
    if (found == end)
        return;
    std::memmove(found, found + 1, std::size_t(end - found - 1) * sizeof(FileSystemItem*));
    --m_childCount;
}

bool FolderSystemItem::removeChildAndRecalc(FileSystemItem* node) {
    if (!node || !containsObject(node))
        return false;
    decreaseTotalSize(node->gettotalsize());
    removeChild(node);
    return true;
}

void FolderSystemItem::decreaseTotalSize(std::int64_t amount) {
    // Sizes are held at 0 rather than going negative.
    for (FolderSystemItem* folder = this; folder; folder = folder->parent())
        folder->mnselfsize = std::max<std::int64_t>(0, folder->mnselfsize - amount);
}

std::int64_t FolderSystemItem::calctotalsize() {
    mnselfsize = 0;
    mnselfLogicalSize = 0;
    for (FileSystemItem* child : childrenArray()) {
        // The child's totals first, so a sub-folder's logical size is fresh when it is read.
        mnselfsize += child->calctotalsize();
        mnselfLogicalSize += child->logicalSize();
    }
    return mnselfsize;
}

FileSystemItem* FolderSystemItem::childWithName(QByteArrayView name) const {
    for (FileSystemItem* child : childrenArray()) {
        if (child->nameView() == name)
            return child;
    }
    return nullptr;
}

bool FolderSystemItem::isPackage() {
    if (!(m_folderBits & kPackageChecked)) {
        const QByteArray full = path();
        const bool package = isPackagePath(full) || full.endsWith(".framework");
        m_folderBits = kPackageChecked | (package ? kPackage : 0);
    }
    return (m_folderBits & kPackage) != 0;
}

bool FolderSystemItem::isPackagePath(QByteArrayView path) {
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArrayView last = slash >= 0 ? path.sliced(slash + 1) : path;
    return last.size() >= 5 && last.endsWith(".app");
}
